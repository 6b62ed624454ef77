// SPDX-License-Identifier: MIT
// Where accelerometer readings come from. Every source gives the raw triple the device's sysfs
// file holds: three numbers in milli-g, in the device's order (the extension maps them to axes).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace zelmo {

using RawAcceleration = std::array<int32_t, 3>;

class AccelerometerSource {
public:
    virtual ~AccelerometerSource() = default;
    // The current triple, or nothing when the source cannot give three numbers.
    virtual std::optional<RawAcceleration> read() = 0;
};

// The device's coord file, or any file in its format ("%i %i %i"), read afresh on every call.
class CoordFileSource : public AccelerometerSource {
public:
    static constexpr const char* kDevicePath = "/sys/class/i2c-adapter/i2c-3/3-001d/coord";

    explicit CoordFileSource(std::string path) : m_path(std::move(path)) {}
    std::optional<RawAcceleration> read() override;

    // Three integers as "%i" reads them (decimal, 0x hex or 0 octal, optional sign) separated by
    // white space; nothing when fewer than three are there or one does not fit in 32 bits.
    static std::optional<RawAcceleration> parse(const char* text);

private:
    std::string m_path;
};

// Fixed values, given per axis in g.
class FixedAccelerationSource : public AccelerometerSource {
public:
    FixedAccelerationSource(double x, double y, double z);
    std::optional<RawAcceleration> read() override { return m_raw; }

private:
    RawAcceleration m_raw;
};

// A virtual sensor for desktops: a pose that starts neutral (by default lying flat, screen up)
// and that the window tilts in steps. The vector keeps the neutral pose's length of 1 g.
// The window thread tilts it; the machine's thread reads it.
class VirtualPose : public AccelerometerSource {
public:
    struct Vector {
        double x, y, z; // in g, per axis as the application sees them
    };
    static constexpr Vector kFlat{0.0, 0.0, -1.0};
    static constexpr double kDefaultStepDegrees = 5.0;

    explicit VirtualPose(Vector neutral = kFlat, double stepDegrees = kDefaultStepDegrees);

    // Tilts by whole steps: dx about the device's long axis (right side down for dx > 0), dy
    // about its short axis (top edge down for dy > 0). Angles are kept within a half turn.
    void tilt(int dx, int dy);
    // Back to the neutral pose.
    void reset();
    // The acceleration the application reads now, in g.
    Vector vector() const;

    std::optional<RawAcceleration> read() override;

private:
    mutable std::mutex m_mutex;
    Vector m_neutral;
    double m_step;
    double m_roll = 0.0;  // radians about the long axis
    double m_pitch = 0.0; // radians about the short axis
};

// The source a command-line value names: "device", "virtual", "X,Y,Z" in g, or a file path.
// Null with `error` set when the value cannot be used.
std::shared_ptr<AccelerometerSource> makeAccelerometerSource(const std::string& value,
                                                             std::shared_ptr<VirtualPose> pose,
                                                             std::string& error);

// Three comma-separated finite numbers, e.g. "0,0,-1"; nothing otherwise.
std::optional<std::array<double, 3>> parseTriple(const std::string& text);

} // namespace zelmo
