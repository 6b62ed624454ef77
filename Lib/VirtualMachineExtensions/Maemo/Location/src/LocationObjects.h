// SPDX-License-Identifier: MIT
// The managed objects of extension 27: a location value and a position request. Both live in
// GC_CODE_NATIVE heap entries and are freed by the collector.
#pragma once

#include "Containers/GCObject.h"
#include "VirtualMachine/DateTime.h"

#include <QTimer>
#include <cstdint>
#include <memory>

namespace zelmo {

class CLocationWrapper;

class CLocation : public GCObject {
public:
    int64_t secondCoordinate = 0;
    int64_t firstCoordinate = 0;
    int64_t thirdCoordinate = 0;
    int64_t fourthValue = 0;
    Tarnel::DateTime timestamp; // its own copy
    int32_t status = 0;
};

// A request for position updates for one observer. Started, it asks the wrapper's source for
// deliveries: a fixed source delivers at once and then every interval milliseconds (once when
// the interval is not positive). Stopping it, or the collector freeing it, cancels them.
class CLocationPositionRequestorGCObject : public GCObject {
public:
    CLocationPositionRequestorGCObject(uint32_t observer, int32_t interval, int32_t parameter,
                                       std::weak_ptr<CLocationWrapper> wrapper);
    ~CLocationPositionRequestorGCObject() override;

    void reportReferences(std::vector<uint32_t>& workList) const override;

    void start();
    void stop();
    void restart()
    {
        stop();
        start();
    }
    // Whether a delivery is still due.
    bool active() const { return m_timer.isActive(); }

    uint32_t observer = 0; // the application's observer object
    int32_t interval = 0;  // milliseconds
    int32_t parameter = 0;
    uint32_t handle = 0; // this request's own heap entry, kept alive while it delivers

private:
    void deliver();

    std::weak_ptr<CLocationWrapper> m_wrapper;
    QTimer m_timer;
};

} // namespace zelmo
