// SPDX-License-Identifier: MIT
#include "host/BasicHostServices.h"

#include "Base/Errors.h"

#include <cstdio>
#include <sys/time.h>

namespace zelmo {

BasicHostServices::BasicHostServices(std::u16string baseDirectory)
    : m_baseDirectory(std::move(baseDirectory))
{
}

int64_t BasicHostServices::nowMicroseconds()
{
    timeval tv{};
    gettimeofday(&tv, nullptr);
    return int64_t{tv.tv_sec} * 1000000 + tv.tv_usec;
}

void BasicHostServices::markStarted()
{
    m_startMicros = nowMicroseconds();
}

int32_t BasicHostServices::getCurrentTimeMillis()
{
    return static_cast<int32_t>(static_cast<uint32_t>(nowMicroseconds() / 1000));
}

int32_t BasicHostServices::getElapsedMillis()
{
    return static_cast<int32_t>(static_cast<uint32_t>((nowMicroseconds() - m_startMicros) / 1000));
}

void BasicHostServices::log(const std::u16string& text)
{
    // UTF-8 on standard error: today's terminals would garble the low bytes of UTF-16 units.
    const std::string line = "LOG: " + toUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void BasicHostServices::setOrientation(int32_t orientation)
{
    if (orientation == m_orientation) return;
    m_orientation = orientation;
    orientationChanged();
}

void BasicHostServices::getScreenSize(int32_t& width, int32_t& height)
{
    if (m_orientation == 2) {
        width = 800;
        height = 480;
    } else {
        width = 480;
        height = 800;
    }
}

} // namespace zelmo
