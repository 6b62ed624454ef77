// SPDX-License-Identifier: MIT
#include "Accelerometer/AccelerometerExtension.h"

#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

AccelerometerExtension::AccelerometerExtension(VirtualMachine& machine,
                                               std::shared_ptr<AccelerometerSource> source)
    : m_machine(machine), m_source(std::move(source))
{
}

int64_t AccelerometerExtension::acceleration(const std::optional<RawAcceleration>& raw,
                                             int32_t operation)
{
    if (!raw) return 0;
    const int32_t milli = operation == EGetAccelerometerXData   ? (*raw)[1]
                          : operation == EGetAccelerometerYData ? (*raw)[0]
                                                                : (*raw)[2];
    // Single precision, as the device computes it; the Fixed value follows from that float.
    return ORaw::toFixed(static_cast<float>(milli) / 1000.0f);
}

void AccelerometerExtension::call(int32_t operation, ExtensionStack& stack)
{
    if (operation < EGetAccelerometerXData || operation > EGetAccelerometerZData)
        m_machine.VirtualMachine::fatalError("SensorDLL: Unknown opcode!", m_machine.pc());
    if (!m_lookedUp) {
        m_lookedUp = true;
        m_observerHandle = m_machine.registerMethod(
            u"<accelerometerobserver>.handle accelerometer event<fixed><fixed><fixed>", 0);
    }
    stack.pushFixed(acceleration(m_source ? m_source->read() : std::nullopt, operation));
}

} // namespace zelmo
