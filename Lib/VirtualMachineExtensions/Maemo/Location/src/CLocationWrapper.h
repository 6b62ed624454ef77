// SPDX-License-Identifier: MIT
// Extension 27: location values, position requests, and the observer that turns position fixes
// and errors into calls of the application's exported observer methods. Fixes come from the
// position source the host configured and reach the machine from the event loop, as every
// event does.
#pragma once

#include "Location/LocationObjects.h"
#include "Location/PositionSource.h"
#include "VirtualMachineExtensions/Extension.h"

#include <memory>
#include <unordered_set>

namespace zelmo {

class MPositionObserver {
public:
    virtual ~MPositionObserver() = default;
    // Makes a location of the values and calls the application's location event method.
    virtual void positionFix(uint32_t observer, int64_t first, int64_t second, int64_t third,
                             int64_t fourth, const Tarnel::DateTime& time, int32_t status) = 0;
    // Passes an error on to error().
    virtual void errorForward(int32_t code, uint32_t observer) = 0;
    // Calls the application's location error method.
    virtual void error(int32_t code, uint32_t observer) = 0;
};

class CLocationWrapper : public Extension,
                         public MPositionObserver,
                         public std::enable_shared_from_this<CLocationWrapper> {
public:
    static constexpr const char16_t* kEventSignature =
        u"<locationobserver>.handle location event<location>";
    static constexpr const char16_t* kErrorSignature =
        u"<locationobserver>.handle location error<locationerror>";

    // Looks up the two observer methods (-1 when the application has none).
    CLocationWrapper(VirtualMachine& machine, PositionSourceSettings source,
                     MachineDelivery delivery);
    ~CLocationWrapper() override;

    void call(int32_t operation, ExtensionStack& stack) override;
    bool hasPendingWork() const override;

    void positionFix(uint32_t observer, int64_t first, int64_t second, int64_t third,
                     int64_t fourth, const Tarnel::DateTime& time, int32_t status) override;
    void errorForward(int32_t code, uint32_t observer) override { error(code, observer); }
    void error(int32_t code, uint32_t observer) override;

    const PositionSourceSettings& source() const { return m_source; }
    // Runs one delivery of the source for `request` on the machine (from its timer).
    void deliverTo(CLocationPositionRequestorGCObject& request);
    void forget(CLocationPositionRequestorGCObject* request) { m_requests.erase(request); }

    int32_t eventHandle() const { return m_eventHandle; }
    int32_t errorHandle() const { return m_errorHandle; }

private:
    CLocation& location(uint32_t handle);
    CLocationPositionRequestorGCObject& request(uint32_t handle);
    // The date-time a date-time reference holds.
    const Tarnel::DateTime& dateTime(uint32_t reference);

    VirtualMachine& m_machine;
    int32_t m_eventHandle = -1;
    int32_t m_errorHandle = -1;
    PositionSourceSettings m_source;
    MachineDelivery m_delivery;
    std::unordered_set<CLocationPositionRequestorGCObject*> m_requests; // alive ones
};

} // namespace zelmo
