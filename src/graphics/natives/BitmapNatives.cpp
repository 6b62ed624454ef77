// SPDX-License-Identifier: MIT
// Group 19, Bitmap: making bitmaps (blank, cut from another, from a file or bytes, copied),
// pixel access, resizing and encoding. A bitmap value is a reference to a cell holding its
// graphics record; new records are stored through the "out" address. The record's drawing
// context is closed before the bitmap is read or replaced, so no painter stays open on pixels
// that change under it. Bounds are compared in 64 bits, so no guest value can wrap past them.
#include "VirtualMachine/natives/ArrayRanges.h"
#include "graphics/BitmapContainer.h"
#include "graphics/GraphicsFileLoader.h"
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

#include <memory>
#include <string>

namespace zelmo::graphics {

namespace {

constexpr const char* kCouldNotLoad = "Could not load image";

std::string quadruple(const GuestRect& r)
{
    return std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.width) +
           ", " + std::to_string(r.height);
}

std::string pair(int64_t a, int64_t b)
{
    return std::to_string(a) + ", " + std::to_string(b);
}

// Stores a new record holding the bitmap (null: the empty bitmap) through `out`; pops all.
void storeNewRecord(DrawingOperands& op, GuestWords out, std::unique_ptr<BitmapContainer> bitmap)
{
    out.set(0, static_cast<int32_t>(GraphicsRecord::create(op.vm().heap(), std::move(bitmap))));
    op.finish();
}

std::unique_ptr<BitmapContainer> decoded(const uint8_t* data, size_t size)
{
    std::unique_ptr<BitmapContainer> bitmap = BitmapContainer::decode(data, size);
    if (!bitmap) throwError(kInvalidArgument, kCouldNotLoad);
    return bitmap;
}

bool isEmpty(const GraphicsRecord& record)
{
    return record.size().isEmpty();
}

// The bitmap whose pixel at p is read or written, looked up once: null for the empty bitmap;
// a position outside it raises the bounds message with its size.
BitmapContainer* pixelTarget(const GraphicsRecord& record, GuestPoint p)
{
    BitmapContainer* bitmap = record.bitmap();
    const QSize size = bitmap ? bitmap->size() : QSize(0, 0);
    if (size.isEmpty()) return nullptr;
    if (p.x < 0 || p.y < 0 || p.x >= size.width() || p.y >= size.height())
        throwError(kInvalidArgument, "Position (" + pair(p.x, p.y) +
                                         ") is outside the bounds of the bitmap: (" +
                                         pair(size.width(), size.height()) + ")");
    return bitmap;
}

// create(out, Size, Color)
void create(VirtualMachine& vm)
{
    DrawingOperands op(vm, 4);
    const GuestWords out = op.variable(0);
    const GuestSize size = op.size(1);
    if (size.width < 0) throwError(kInvalidArgument, "Width should be non-negative");
    if (size.height < 0) throwError(kInvalidArgument, "Height should be non-negative");
    std::unique_ptr<BitmapContainer> bitmap;
    if (size.width != 0 && size.height != 0) {
        bitmap = BitmapContainer::create(size.width, size.height);
        bitmap->fill(op.color(3));
    }
    storeNewRecord(op, out, std::move(bitmap));
}

// createSub(out, bmp, Rectangle)
void createSub(VirtualMachine& vm)
{
    DrawingOperands op(vm, 6);
    const GuestWords out = op.variable(0);
    GraphicsRecord source = op.requiredRecord(1);
    const GuestRect r = op.rectangle(2);
    source.closeContext();
    const std::string prefix = "Source rectangle (" + quadruple(r) + ")";
    if (isEmpty(source)) {
        if (r.x != 0 || r.y != 0 || r.width != 0 || r.height != 0)
            throwError(
                kInvalidArgument,
                prefix + " should be inside the bounds of the source bitmap, the bitmap is empty");
        return storeNewRecord(op, out, nullptr);
    }
    const QSize size = source.size();
    if (r.x < 0 || r.y < 0 || r.width < 0 || r.height < 0 ||
        int64_t{r.x} + r.width > size.width() || int64_t{r.y} + r.height > size.height())
        throwError(kInvalidArgument, prefix +
                                         " should be inside the bounds of the source bitmap: (" +
                                         pair(size.width(), size.height()) + ")");
    if (r.width == 0 || r.height == 0) return storeNewRecord(op, out, nullptr);
    std::unique_ptr<BitmapContainer> bitmap = BitmapContainer::create(r.width, r.height);
    bitmap->copyFrom(source.bitmap(), r);
    storeNewRecord(op, out, std::move(bitmap));
}

// load(out, str)
void load(VirtualMachine& vm)
{
    DrawingOperands op(vm, 2);
    const GuestWords out = op.variable(0);
    const std::u16string path = op.string(1).toU16();
    std::unique_ptr<BitmapContainer> bitmap = loadPicture(vm.requireHost(), path);
    if (!bitmap) throwError(kInvalidArgument, kCouldNotLoad);
    storeNewRecord(op, out, std::move(bitmap));
}

// decode(out, bytes)
void decode(VirtualMachine& vm)
{
    DrawingOperands op(vm, 2);
    const GuestWords out = op.variable(0);
    const std::vector<uint8_t> bytes = op.bytes(1);
    if (bytes.empty()) throwError(kInvalidArgument, "byte[] is empty");
    storeNewRecord(op, out, decoded(bytes.data(), bytes.size()));
}

// decodeRange(out, bytes, Range): a negative count runs to the end, as every range does.
void decodeRange(VirtualMachine& vm)
{
    DrawingOperands op(vm, 4);
    const GuestWords out = op.variable(0);
    const std::vector<uint8_t> bytes = op.bytes(1);
    const ElementSpan span = resolveRange(op.integer(2), op.integer(3), int64_t(bytes.size()));
    if (span.count == 0) throwError(kInvalidArgument, "size is zero");
    storeNewRecord(op, out, decoded(bytes.data() + span.first, size_t(span.count)));
}

// copy(out, bmp)
void copy(VirtualMachine& vm)
{
    DrawingOperands op(vm, 2);
    const GuestWords out = op.variable(0);
    GraphicsRecord source = op.requiredRecord(1);
    source.closeContext();
    const BitmapContainer* bitmap = source.bitmap();
    storeNewRecord(op, out, bitmap ? BitmapContainer::copy(*bitmap) : nullptr);
}

// pixel(bmp, Position) -> Color
void pixel(VirtualMachine& vm)
{
    DrawingOperands op(vm, 3);
    GraphicsRecord record = op.requiredRecord(0);
    const GuestPoint p = op.position(1);
    record.closeContext();
    BitmapContainer* bitmap = pixelTarget(record, p);
    if (!bitmap)
        throwError(kInvalidArgument,
                   "Position (" + pair(p.x, p.y) +
                       ") is outside the bounds of the bitmap, the bitmap is empty");
    op.returnInt(static_cast<int32_t>(bitmap->getPixel(p.x, p.y)));
}

// size(bmp) -> Size
void size(VirtualMachine& vm)
{
    DrawingOperands op(vm, 1);
    const QSize size = op.requiredRecord(0).size();
    op.returnPair(size.width(), size.height());
}

// setPixel(bmp, Position, Color)
void setPixel(VirtualMachine& vm)
{
    DrawingOperands op(vm, 4);
    GraphicsRecord record = op.requiredRecord(0);
    const GuestPoint p = op.position(1);
    record.closeContext();
    BitmapContainer* bitmap = pixelTarget(record, p);
    if (!bitmap)
        throwError(kInvalidArgument,
                   "Position is outside the bounds of the bitmap: the bitmap is empty");
    bitmap->setPixel(p.x, p.y, op.color(3));
    op.finish();
}

// resizeFast / resizeSmooth(bmp, Size)
void resize(VirtualMachine& vm, int32_t mode)
{
    DrawingOperands op(vm, 3);
    GraphicsRecord record = op.requiredRecord(0);
    const GuestSize to = op.size(1);
    record.closeContext();
    BitmapContainer* current = record.bitmap();
    const bool hasArea = to.width != 0 && to.height != 0;
    if (!current) {
        if (hasArea) {
            std::unique_ptr<BitmapContainer> bitmap = BitmapContainer::create(to.width, to.height);
            bitmap->fill(0xFF000000);
            record.setBitmap(std::move(bitmap));
        }
    } else if (!hasArea) {
        record.setBitmap(nullptr);
    } else if (current->size() != QSize(to.width, to.height)) {
        std::unique_ptr<BitmapContainer> bitmap = BitmapContainer::create(to.width, to.height);
        bitmap->scaleFrom(current, mode);
        record.setBitmap(std::move(bitmap));
    }
    op.finish();
}

// The host is told it is busy while a picture is encoded, however the encoding ends.
class BusyHost {
public:
    explicit BusyHost(FrameworkServices& host) : m_host(host) { m_host.setIdle(false); }
    ~BusyHost() { m_host.setIdle(true); }
    BusyHost(const BusyHost&) = delete;
    BusyHost& operator=(const BusyHost&) = delete;

private:
    FrameworkServices& m_host;
};

// encode(bmp, format) -> new byte array; empty when the bitmap is empty or encoding fails
void encode(VirtualMachine& vm)
{
    DrawingOperands op(vm, 2);
    GraphicsRecord record = op.requiredRecord(0);
    static constexpr const char* kFormats[] = {"jpg", "png", "gif", "bmp"};
    const int32_t format = op.integer(1);
    const char* name = format >= 1 && format <= 4 ? kFormats[format - 1] : "";
    record.closeContext();
    std::vector<uint8_t> bytes;
    {
        BusyHost busy(vm.requireHost());
        BitmapContainer* bitmap = record.bitmap();
        if (!bitmap || !bitmap->encode(bytes, name)) bytes.clear();
    }
    op.returnInt(static_cast<int32_t>(vm.newByteArray(bytes.data(), bytes.size())));
}

} // namespace

void bitmapNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 1:
        return create(vm);
    case 2:
        return createSub(vm);
    case 3:
        return load(vm);
    case 4:
        return decode(vm);
    case 5:
        return decodeRange(vm);
    case 6:
        return copy(vm);
    case 7:
        return pixel(vm);
    case 8:
        return size(vm);
    case 9:
        return setPixel(vm);
    case 10: // resizeFast
    case 11: // resizeFast2
        return resize(vm, 0);
    case 12: // resizeSmooth
        return resize(vm, VMBitmap::kSmoothScaling);
    case 13:
        return encode(vm);
    default:
        vm.unknownOperation("Bitmap:");
    }
}

} // namespace zelmo::graphics
