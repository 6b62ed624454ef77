// SPDX-License-Identifier: MIT
// Extension 20: the accelerometer. Operations 11, 12 and 13 push the X, Y and Z acceleration in
// g as Fixed values. The source gives the device's raw triple in milli-g; X is its second
// number, Y the first and Z the third, as the sensor is mounted.
#pragma once

#include "Accelerometer/AccelerometerSource.h"
#include "VirtualMachineExtensions/Extension.h"

#include <memory>

namespace zelmo {

class AccelerometerExtension : public Extension {
public:
    enum Operation : int32_t {
        EGetAccelerometerXData = 11,
        EGetAccelerometerYData = 12,
        EGetAccelerometerZData = 13,
    };

    AccelerometerExtension(VirtualMachine& machine, std::shared_ptr<AccelerometerSource> source);
    void call(int32_t operation, ExtensionStack& stack) override;

    // The application's observer method; looked up on the first call and never called.
    int32_t observerHandle() const { return m_observerHandle; }

    // The Fixed value of one axis of a raw triple (0 when there is none).
    static int64_t acceleration(const std::optional<RawAcceleration>& raw, int32_t operation);

private:
    VirtualMachine& m_machine;
    std::shared_ptr<AccelerometerSource> m_source;
    int32_t m_observerHandle = -1;
    bool m_lookedUp = false;
};

} // namespace zelmo
