// SPDX-License-Identifier: MIT
// The operations of extension 27. Stack notation: the last argument is on top; Fixed values take
// two words; "loc" is a location handle, "req" a request handle, "out" the address a new
// object's handle is stored at, a time the reference of a date-time.
#include "Location/CLocationWrapper.h"

#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachineExtensions/ExtensionObjects.h"

#include <algorithm>

namespace zelmo {

namespace {

// Keeps a handle a root while it is in use outside any reachable object.
class RootedHandle {
public:
    RootedHandle(VMHeap& heap, uint32_t handle) : m_heap(heap), m_handle(handle)
    {
        if (m_handle != 0) m_heap.addRoot(m_handle);
    }
    ~RootedHandle()
    {
        if (m_handle != 0) m_heap.removeRoot(m_handle);
    }
    RootedHandle(const RootedHandle&) = delete;
    RootedHandle& operator=(const RootedHandle&) = delete;

private:
    VMHeap& m_heap;
    uint32_t m_handle;
};

} // namespace

CLocationWrapper::CLocationWrapper(VirtualMachine& machine, PositionSourceSettings source,
                                   MachineDelivery delivery)
    : m_machine(machine), m_source(source), m_delivery(std::move(delivery))
{
    m_eventHandle = m_machine.registerMethod(kEventSignature, 0);
    m_errorHandle = m_machine.registerMethod(kErrorSignature, 0);
}

CLocationWrapper::~CLocationWrapper() = default;

bool CLocationWrapper::hasPendingWork() const
{
    return std::any_of(m_requests.begin(), m_requests.end(),
                       [](const CLocationPositionRequestorGCObject* r) { return r->active(); });
}

CLocation& CLocationWrapper::location(uint32_t handle)
{
    return extensionObject<CLocation>(m_machine, handle, "CLocation");
}

CLocationPositionRequestorGCObject& CLocationWrapper::request(uint32_t handle)
{
    return extensionObject<CLocationPositionRequestorGCObject>(
        m_machine, handle, "CLocationPositionRequestorGCObject");
}

const Tarnel::DateTime& CLocationWrapper::dateTime(uint32_t reference)
{
    if (reference == 0) throwError(kNullPointer, "NULL pointer");
    return extensionObject<Tarnel::DateTime>(m_machine, m_machine.loadWord(reference), "DateTime");
}

void CLocationWrapper::positionFix(uint32_t observer, int64_t first, int64_t second, int64_t third,
                                   int64_t fourth, const Tarnel::DateTime& time, int32_t status)
{
    if (m_eventHandle == -1 || observer == 0) return; // nothing the fix could be given to
    auto location = std::make_unique<CLocation>();
    location->firstCoordinate = first;
    location->secondCoordinate = second;
    location->thirdCoordinate = third;
    location->fourthValue = fourth;
    location->timestamp = time;
    location->status = status;
    const uint32_t handle = m_machine.heap().createObject(std::move(location), GC_CODE_NATIVE);
    // Only the call's arguments will hold it: keep it until the call has run.
    const RootedHandle rooted(m_machine.heap(), handle);
    m_machine.callMethod(m_eventHandle,
                         {static_cast<int32_t>(observer), static_cast<int32_t>(handle)}, {1, 0}, 0);
}

void CLocationWrapper::error(int32_t code, uint32_t observer)
{
    if (m_errorHandle == -1 || observer == 0) return;
    m_machine.callMethod(m_errorHandle, {static_cast<int32_t>(observer), code}, {1, 0}, 0);
}

void CLocationWrapper::deliverTo(CLocationPositionRequestorGCObject& request)
{
    if (!m_delivery) return;
    const auto self = shared_from_this(); // the host may drop the extension meanwhile
    m_delivery([this, &request](VirtualMachine&) {
        // The request and, through it, its observer stay alive while the call runs, even when
        // the application drops or stops it from the observer.
        const RootedHandle rooted(m_machine.heap(), request.handle);
        const uint32_t observer = request.observer;
        if (m_source.mode == PositionSourceSettings::Mode::Error) {
            errorForward(m_source.errorCode, observer);
            return;
        }
        const auto& v = m_source.values;
        positionFix(observer, v[0], v[1], v[2], v[3], Tarnel::DateTime::now(Tarnel::DateTime::kUtc),
                    0);
    });
}

void CLocationWrapper::call(int32_t operation, ExtensionStack& stack)
{
    VMHeap& heap = m_machine.heap();
    switch (operation) {
    case 1: { // out, observer, parameter, interval in seconds
        const uint32_t out = static_cast<uint32_t>(stack.peekWord(3));
        const uint32_t observer = static_cast<uint32_t>(stack.peekWord(2));
        const int32_t parameter = stack.peekWord(1);
        // Seconds to milliseconds; wraps like the device's 32-bit arithmetic.
        const int32_t interval =
            static_cast<int32_t>(static_cast<uint32_t>(stack.peekWord(0)) * 1000u);
        if (out == 0) throwError(kNullPointer, "NULL pointer");
        auto object = std::make_unique<CLocationPositionRequestorGCObject>(
            observer, interval, parameter, weak_from_this());
        CLocationPositionRequestorGCObject* made = object.get();
        const uint32_t handle = heap.createObject(std::move(object), GC_CODE_NATIVE);
        made->handle = handle;
        m_requests.insert(made);
        storeOut(m_machine, out, handle);
        for (int i = 0; i < 4; ++i)
            stack.popWord();
        return;
    }
    case 2: { // req, value: the interval, not scaled
        CLocationPositionRequestorGCObject& r = request(static_cast<uint32_t>(stack.peekWord(1)));
        r.interval = stack.peekWord(0);
        stack.popWord();
        stack.popWord();
        r.restart();
        return;
    }
    case 3: // req
        request(static_cast<uint32_t>(stack.peekWord(0))).stop();
        stack.popWord();
        return;
    case 4: // req
        request(static_cast<uint32_t>(stack.peekWord(0))).start();
        stack.popWord();
        return;
    case 5: { // out, Fixed first, Fixed second, Fixed third, time
        const uint32_t out = static_cast<uint32_t>(stack.peekWord(7));
        auto made = std::make_unique<CLocation>();
        made->firstCoordinate = stack.peekFixed(5);
        made->secondCoordinate = stack.peekFixed(3);
        made->thirdCoordinate = stack.peekFixed(1);
        made->timestamp = dateTime(static_cast<uint32_t>(stack.peekWord(0)));
        if (out == 0) throwError(kNullPointer, "NULL pointer");
        storeOut(m_machine, out, heap.createObject(std::move(made), GC_CODE_NATIVE));
        for (int i = 0; i < 8; ++i)
            stack.popWord();
        return;
    }
    case 6: { // loc, time: the location keeps its own copy
        CLocation& loc = location(static_cast<uint32_t>(stack.peekWord(1)));
        loc.timestamp = dateTime(static_cast<uint32_t>(stack.peekWord(0)));
        stack.popWord();
        stack.popWord();
        return;
    }
    case 7: { // loc, Fixed first, Fixed second, Fixed third
        CLocation& loc = location(static_cast<uint32_t>(stack.peekWord(6)));
        loc.firstCoordinate = stack.peekFixed(4);
        loc.secondCoordinate = stack.peekFixed(2);
        loc.thirdCoordinate = stack.peekFixed(0);
        for (int i = 0; i < 7; ++i)
            stack.popWord();
        return;
    }
    case 8: // loc, Fixed, Fixed: nothing
        for (int i = 0; i < 5; ++i)
            stack.popWord();
        return;
    case 9: { // loc -> status
        const int32_t status = location(static_cast<uint32_t>(stack.peekWord(0))).status;
        stack.popWord();
        stack.pushWord(status);
        return;
    }
    case 10: { // loc -> a new date-time: a copy in a reference box
        const Tarnel::DateTime copy = location(static_cast<uint32_t>(stack.peekWord(0))).timestamp;
        const uint32_t object =
            heap.createObject(std::make_unique<Tarnel::DateTime>(copy), GC_CODE_DATE_TIME, 32);
        const uint32_t box = heap.allocate(4, 0, GC_CODE_REFERENCE);
        m_machine.storeWord(box, object);
        stack.popWord();
        stack.pushWord(static_cast<int32_t>(box));
        return;
    }
    case 11:   // loc -> third coordinate
    case 12:   // loc -> first coordinate
    case 13: { // loc -> second coordinate
        const CLocation& loc = location(static_cast<uint32_t>(stack.peekWord(0)));
        const int64_t value = operation == 11   ? loc.thirdCoordinate
                              : operation == 12 ? loc.firstCoordinate
                                                : loc.secondCoordinate;
        stack.popWord();
        stack.pushFixed(value);
        return;
    }
    case 14: // loc, loc -> 0, whatever they are
    case 15:
        stack.popWord();
        stack.popWord();
        stack.pushFixed(0);
        return;
    case 16: { // loc, loc -> the fourth value of the second
        const int64_t value = location(static_cast<uint32_t>(stack.peekWord(0))).fourthValue;
        stack.popWord();
        stack.popWord();
        stack.pushFixed(value);
        return;
    }
    case 17: { // req, value: the parameter
        CLocationPositionRequestorGCObject& r = request(static_cast<uint32_t>(stack.peekWord(1)));
        r.parameter = stack.peekWord(0);
        stack.popWord();
        stack.popWord();
        r.restart();
        return;
    }
    default:
        m_machine.VirtualMachine::fatalError("Location: Unknown opcode!", m_machine.pc());
    }
}

} // namespace zelmo
