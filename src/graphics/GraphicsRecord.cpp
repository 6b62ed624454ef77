// SPDX-License-Identifier: MIT
#include "graphics/GraphicsRecord.h"

#include "Base/Errors.h"
#include "VirtualMachine/VMHeap.h"
#include "graphics/BitmapTextures.h"

namespace zelmo::graphics {

namespace {

constexpr const char* kInvalidGraphicsHandle = "Invalid graphics handle";
constexpr const char* kInvalidFontHandle = "Invalid font handle";

// The live entry behind a guest handle when it has the code and holds at least `bytes`.
HeapEntry* entryIfValid(const VMHeap& heap, uint32_t handle, int32_t code, uint32_t bytes)
{
    if (!heap.isLiveHandle(handle)) return nullptr;
    HeapEntry* entry = heap.entryOf(handle);
    return entry->gcCode == code && entry->size >= bytes ? entry : nullptr;
}

// The host object of type T in a GCObject entry of the given code, or null.
template <class T> T* hostObjectAt(const VMHeap& heap, uint32_t handle, int32_t code)
{
    const HeapEntry* entry = entryIfValid(heap, handle, code, 4);
    if (!entry || entry->isGCObject != -1) return nullptr;
    return dynamic_cast<T*>(heap.objects().find(heap.memory().load32(handle)));
}

template <class T>
T* requireObject(const VMHeap& heap, uint32_t handle, int32_t code, const char* message)
{
    if (handle == 0) return nullptr;
    T* object = hostObjectAt<T>(heap, handle, code);
    if (!object) throwError(kVMException, message);
    return object;
}

} // namespace

uint32_t GraphicsRecord::create(VMHeap& heap, std::unique_ptr<BitmapContainer> bitmap)
{
    const uint32_t record = heap.allocate(RecordLayout::kBytes, 0, GC_CODE_PAIR);
    heap.memory().store32(record + RecordLayout::kKind, kBitmapRecord);
    heap.memory().store32(record + RecordLayout::kContext, 0);
    heap.memory().store32(record + RecordLayout::kBitmap, 0);
    // Allocation never collects, so the record may be made first and filled after.
    if (bitmap)
        heap.memory().store32(record + RecordLayout::kBitmap,
                              heap.createObject(std::move(bitmap), GC_CODE_NATIVE));
    return record;
}

GraphicsRecord::GraphicsRecord(VMHeap& heap, uint32_t record) : m_heap(heap), m_record(record)
{
    const HeapEntry* entry = entryIfValid(heap, record, GC_CODE_PAIR, RecordLayout::kBytes);
    if (!entry || entry->isGCObject == -1) throwError(kVMException, kInvalidGraphicsHandle);
    const uint32_t recordKind = kind();
    if (recordKind != kBareContextRecord && recordKind != kBitmapRecord)
        throwError(kVMException, kInvalidGraphicsHandle);
}

std::optional<GraphicsRecord> GraphicsRecord::ifBitmap(VMHeap& heap, uint32_t handle)
{
    const HeapEntry* entry = entryIfValid(heap, handle, GC_CODE_PAIR, RecordLayout::kBytes);
    if (!entry || entry->isGCObject == -1 ||
        heap.memory().load32(handle + RecordLayout::kKind) != kBitmapRecord)
        return std::nullopt;
    return GraphicsRecord(heap, handle);
}

uint32_t GraphicsRecord::kind() const
{
    return m_heap.memory().load32(m_record + RecordLayout::kKind);
}

BitmapContainer* GraphicsRecord::bitmap() const
{
    if (kind() != kBitmapRecord) return nullptr;
    return requireObject<BitmapContainer>(m_heap,
                                          m_heap.memory().load32(m_record + RecordLayout::kBitmap),
                                          GC_CODE_NATIVE, kInvalidGraphicsHandle);
}

QSize GraphicsRecord::size() const
{
    const BitmapContainer* b = bitmap();
    return b ? b->size() : QSize(0, 0);
}

void GraphicsRecord::setBitmap(std::unique_ptr<BitmapContainer> newBitmap)
{
    if (kind() != kBitmapRecord) throwError(kVMException);
    closeContext();
    if (BitmapContainer* old = bitmap(); old && newBitmap)
        adoptTexture(*newBitmap, std::move(old->texture()));
    const uint32_t object =
        newBitmap ? m_heap.createObject(std::move(newBitmap), GC_CODE_NATIVE) : 0;
    m_heap.memory().store32(m_record + RecordLayout::kBitmap, object);
}

GraphicsContainer* GraphicsRecord::cachedContext() const
{
    return requireObject<GraphicsContainer>(
        m_heap, m_heap.memory().load32(m_record + RecordLayout::kContext), GC_CODE_NATIVE,
        kInvalidGraphicsHandle);
}

void GraphicsRecord::closeContext()
{
    if (GraphicsContainer* context = cachedContext()) context->close();
    m_heap.memory().store32(m_record + RecordLayout::kContext, 0);
}

GraphicsContainer& GraphicsRecord::context()
{
    if (GraphicsContainer* cached = cachedContext()) {
        if (cached->isOpen()) return *cached;
    }
    BitmapContainer* target = bitmap();
    if (!target) {
        // A bare context without its context has nothing to draw into; an empty bitmap has no
        // pixels.
        if (kind() != kBitmapRecord) throwError(kVMException, kInvalidGraphicsHandle);
        throwError(kVMException, "GraphicsContainer: invalid bitmap");
    }
    auto made = std::make_unique<GraphicsContainer>(*target);
    GraphicsContainer& context = *made;
    m_heap.memory().store32(m_record + RecordLayout::kContext,
                            m_heap.createObject(std::move(made), GC_CODE_NATIVE));
    return context;
}

uint32_t createFontBox(VMHeap& heap, std::unique_ptr<CAppsFont> font)
{
    const uint32_t object = heap.createObject(std::move(font), GC_CODE_FONT);
    const uint32_t box = heap.allocate(4, 0, GC_CODE_REFERENCE);
    heap.memory().store32(box, object);
    return box;
}

CAppsFont* fontAt(VMHeap& heap, uint32_t font)
{
    return requireObject<CAppsFont>(heap, font, GC_CODE_FONT, kInvalidFontHandle);
}

} // namespace zelmo::graphics
