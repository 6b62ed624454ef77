// SPDX-License-Identifier: MIT
// Where the logical screen (800 x 480, or 480 x 800 in portrait) appears in the window, and how
// window pixels map back to logical coordinates. All sizes and positions are device pixels.
#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace zelmo {

enum class ScaleMode {
    Integer, // the largest whole factor, nearest-neighbour, black borders; below 1x as Fit
    Fit,     // as large as fits with the aspect kept, filtered
    Stretch, // the whole window, filtered
};

ScaleMode scaleModeFromName(const QString& name); // "integer", "fit", "stretch"

struct Presentation {
    QRect rect;  // where the frame is drawn inside the target
    bool smooth; // linear filtering (false: nearest)
};

// How a logical screen of `logical` size is shown in a target of `target` size.
Presentation presentation(QSize target, QSize logical, ScaleMode mode);

// The logical pixel under `position` (device pixels of the target). Outside the shown frame:
// nothing, or with `clamp` the nearest pixel of the frame.
std::optional<QPoint> toLogical(QPointF position, const QRect& shown, QSize logical, bool clamp);

} // namespace zelmo
