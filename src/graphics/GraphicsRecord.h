// SPDX-License-Identifier: MIT
// The graphics handle record through which managed Bitmap and Graphics values reach the host:
// three words in a GC_CODE_PAIR entry, so that the collector follows the cached context and,
// for a bitmap, the bitmap.
//
//   word 0  kind: 2 = bitmap, 1 = bare drawing context (accepted, never made here)
//   word 1  cached drawing context (GC_CODE_NATIVE entry of a GraphicsContainer), 0 when closed
//   word 2  the bitmap (GC_CODE_NATIVE entry of a BitmapContainer); 0 = the empty bitmap
//
// Every handle read from guest memory is checked to be a live entry of the expected code and
// size whose host object has the expected type; anything else raises VMException
// "Invalid graphics handle" (or "Invalid font handle") before host memory is touched.
#pragma once

#include "graphics/BitmapContainer.h"
#include "graphics/CAppsFont.h"
#include "graphics/GraphicsContainer.h"

#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>

namespace zelmo {
class VMHeap;
}

namespace zelmo::graphics {

namespace RecordLayout {
constexpr uint32_t kKind = 0;
constexpr uint32_t kContext = 4;
constexpr uint32_t kBitmap = 8;
constexpr uint32_t kBytes = 12;
} // namespace RecordLayout

enum RecordKind : uint32_t { kBareContextRecord = 1, kBitmapRecord = 2 };

class GraphicsRecord {
public:
    // A new bitmap record holding the bitmap (null: the empty bitmap).
    static uint32_t create(VMHeap& heap, std::unique_ptr<BitmapContainer> bitmap);

    // Checks the record handle (not null) and its kind.
    GraphicsRecord(VMHeap& heap, uint32_t record);
    // The record when the handle is one of a bitmap (empty or not); none for anything else.
    static std::optional<GraphicsRecord> ifBitmap(VMHeap& heap, uint32_t handle);

    uint32_t handle() const { return m_record; }
    uint32_t kind() const;
    // The bitmap, or null for the empty bitmap and for a bare context.
    BitmapContainer* bitmap() const;
    // (0, 0) for the empty bitmap.
    QSize size() const;
    // Replaces the bitmap (null: the record becomes the empty bitmap), closing the context
    // first; a texture made of the old bitmap passes to the new one, stale, so that it is
    // reused. A record of another kind raises VMException.
    void setBitmap(std::unique_ptr<BitmapContainer> bitmap);

    // Closes the cached context and clears the cache: done before the bitmap is read or changed
    // directly, so that no painter stays open on a pixmap about to be replaced.
    void closeContext();
    // The cached context, made on first use. A bitmap without pixels raises VMException
    // "GraphicsContainer: invalid bitmap".
    GraphicsContainer& context();

private:
    GraphicsContainer* cachedContext() const;

    VMHeap& m_heap;
    uint32_t m_record;
};

// A font value: a one-word GC_CODE_REFERENCE box holding the font's GC_CODE_FONT entry.
uint32_t createFontBox(VMHeap& heap, std::unique_ptr<CAppsFont> font);
// The font behind a font entry handle (as read from a box); null for 0. A handle that is not a
// live font raises VMException "Invalid font handle".
CAppsFont* fontAt(VMHeap& heap, uint32_t font);

} // namespace zelmo::graphics
