// SPDX-License-Identifier: MIT
// The abstract bitmap held by the host. Colours are 0xAARRGGBB words (a QRgb).
#pragma once

#include "Containers/GCObject.h"
#include "graphics/GuestGeometry.h"

#include <QSize>

#include <cstdint>
#include <string_view>
#include <vector>

namespace zelmo::graphics {

class VMBitmap : public GCObject {
public:
    // Mode 10 asks scaleFrom for smooth scaling, any other value for fast.
    static constexpr int32_t kSmoothScaling = 10;

    // Keep this order: it is the order of the operations in the bitmap's interface.
    virtual bool encode(std::vector<uint8_t>& out, std::string_view format) = 0;
    virtual void scaleFrom(VMBitmap* source, int32_t mode) = 0;
    virtual void copyFrom(VMBitmap* source, const GuestRect& rectangle) = 0;
    virtual void fill(uint32_t color) = 0;
    virtual uint32_t getPixel(int32_t x, int32_t y) = 0;
    virtual void setPixel(int32_t x, int32_t y, uint32_t color) = 0;
    virtual QSize size() const = 0;
};

} // namespace zelmo::graphics
