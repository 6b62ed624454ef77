// SPDX-License-Identifier: MIT
#include "window/Presentation.h"

#include <algorithm>
#include <cmath>

namespace zelmo {

ScaleMode scaleModeFromName(const QString& name)
{
    if (name == QLatin1String("fit")) return ScaleMode::Fit;
    if (name == QLatin1String("stretch")) return ScaleMode::Stretch;
    return ScaleMode::Integer;
}

namespace {
QRect centred(QSize target, int width, int height)
{
    return QRect((target.width() - width) / 2, (target.height() - height) / 2, width, height);
}
} // namespace

Presentation presentation(QSize target, QSize logical, ScaleMode mode)
{
    if (target.isEmpty() || logical.isEmpty()) return {QRect(), false};
    if (mode == ScaleMode::Stretch) return {QRect(QPoint(0, 0), target), true};
    if (mode == ScaleMode::Integer) {
        const int factor =
            std::min(target.width() / logical.width(), target.height() / logical.height());
        if (factor >= 1)
            return {centred(target, logical.width() * factor, logical.height() * factor), false};
    }
    // Fit: the side that limits the scale fills the target; the other follows the aspect.
    // 64-bit products: window sizes times logical sizes.
    const int64_t tw = target.width(), th = target.height();
    const int64_t lw = logical.width(), lh = logical.height();
    if (tw * lh <= th * lw)
        return {centred(target, int(tw), int(std::max<int64_t>(1, (tw * lh + lw / 2) / lw))), true};
    return {centred(target, int(std::max<int64_t>(1, (th * lw + lh / 2) / lh)), int(th)), true};
}

std::optional<QPoint> toLogical(QPointF position, const QRect& shown, QSize logical, bool clamp)
{
    if (shown.isEmpty() || logical.isEmpty()) return std::nullopt;
    const double fx = (position.x() - shown.x()) * logical.width() / shown.width();
    const double fy = (position.y() - shown.y()) * logical.height() / shown.height();
    const bool inside = fx >= 0 && fy >= 0 && fx < logical.width() && fy < logical.height();
    if (!inside && !clamp) return std::nullopt;
    const double x = std::clamp(std::floor(fx), 0.0, double(logical.width() - 1));
    const double y = std::clamp(std::floor(fy), 0.0, double(logical.height() - 1));
    return QPoint(int(x), int(y));
}

} // namespace zelmo
