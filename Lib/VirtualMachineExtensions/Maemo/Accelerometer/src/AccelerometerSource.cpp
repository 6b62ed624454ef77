// SPDX-License-Identifier: MIT
#include "Accelerometer/AccelerometerSource.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace zelmo {

namespace {

// Milli-g of a value in g, saturated to 32 bits.
int32_t milliG(double g)
{
    const double milli = std::round(g * 1000.0);
    if (!(milli > -2147483648.0)) return INT32_MIN;
    if (!(milli < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(milli);
}

} // namespace

std::optional<RawAcceleration> CoordFileSource::parse(const char* text)
{
    RawAcceleration raw{};
    for (int32_t& value : raw) {
        char* end = nullptr;
        errno = 0;
        const long long number = std::strtoll(text, &end, 0); // the base rules of "%i"
        if (end == text || errno == ERANGE || number < INT32_MIN || number > INT32_MAX)
            return std::nullopt;
        value = static_cast<int32_t>(number);
        text = end;
    }
    return raw;
}

std::optional<RawAcceleration> CoordFileSource::read()
{
    QFile file(QString::fromLocal8Bit(m_path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // The three numbers fit in a few dozen bytes; a bounded read keeps a wrong path (a device
    // or a huge file) harmless.
    QByteArray bytes = file.read(256);
    return parse(bytes.constData()); // QByteArray keeps a terminating zero
}

FixedAccelerationSource::FixedAccelerationSource(double x, double y, double z)
    : m_raw{milliG(y), milliG(x), milliG(z)} // the device's order: Y, X, Z
{
}

VirtualPose::VirtualPose(Vector neutral, double stepDegrees)
    : m_neutral(neutral), m_step(stepDegrees * std::numbers::pi / 180.0)
{
    const double length =
        std::sqrt(neutral.x * neutral.x + neutral.y * neutral.y + neutral.z * neutral.z);
    if (length > 0.0 && std::isfinite(length))
        m_neutral = {neutral.x / length, neutral.y / length, neutral.z / length};
    else
        m_neutral = kFlat;
}

void VirtualPose::tilt(int dx, int dy)
{
    const std::lock_guard lock(m_mutex);
    auto turn = [](double angle) { return std::remainder(angle, 2.0 * std::numbers::pi); };
    m_roll = turn(m_roll + dx * m_step);
    m_pitch = turn(m_pitch + dy * m_step);
}

void VirtualPose::reset()
{
    const std::lock_guard lock(m_mutex);
    m_roll = m_pitch = 0.0;
}

VirtualPose::Vector VirtualPose::vector() const
{
    const std::lock_guard lock(m_mutex);
    // Roll turns the neutral vector about the Y axis, then pitch about the X axis; rotations
    // keep its length.
    const double cr = std::cos(m_roll), sr = std::sin(m_roll);
    const double cp = std::cos(m_pitch), sp = std::sin(m_pitch);
    const Vector n = m_neutral;
    const Vector r{cr * n.x - sr * n.z, n.y, sr * n.x + cr * n.z};
    return {r.x, cp * r.y - sp * r.z, sp * r.y + cp * r.z};
}

std::optional<RawAcceleration> VirtualPose::read()
{
    const Vector v = vector();
    return RawAcceleration{milliG(v.y), milliG(v.x), milliG(v.z)};
}

std::optional<std::array<double, 3>> parseTriple(const std::string& text)
{
    const QStringList parts = QString::fromStdString(text).split(u',');
    if (parts.size() != 3) return std::nullopt;
    std::array<double, 3> values{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[static_cast<size_t>(i)] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(values[static_cast<size_t>(i)])) return std::nullopt;
    }
    return values;
}

std::shared_ptr<AccelerometerSource> makeAccelerometerSource(const std::string& value,
                                                             std::shared_ptr<VirtualPose> pose,
                                                             std::string& error)
{
    if (value == "device") return std::make_shared<CoordFileSource>(CoordFileSource::kDevicePath);
    if (value == "virtual") return pose ? pose : std::make_shared<VirtualPose>();
    if (value.empty()) {
        error = "--accelerometer needs a source";
        return nullptr;
    }
    if (const auto g = parseTriple(value))
        return std::make_shared<FixedAccelerationSource>((*g)[0], (*g)[1], (*g)[2]);
    if (value.find(',') != std::string::npos && !QFile::exists(QString::fromStdString(value))) {
        error = "--accelerometer: \"" + value + "\" is neither three numbers nor a file";
        return nullptr;
    }
    return std::make_shared<CoordFileSource>(value); // a file that may appear later
}

} // namespace zelmo
