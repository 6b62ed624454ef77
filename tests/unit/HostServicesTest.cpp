// SPDX-License-Identifier: MIT
// The window-less host services: orientation and screen size, clocks, fixed answers.
#include "host/HostServices.h"

#include <gtest/gtest.h>

using namespace zelmo;

namespace {

class CountingHost : public HostServices {
public:
    CountingHost() : HostServices(u"/srv/app") {}
    int changes = 0;

protected:
    void orientationChanged() override { ++changes; }
};

} // namespace

TEST(HostServices, ScreenSizeFollowsTheOrientation)
{
    CountingHost host;
    const auto size = [&] {
        int32_t width = 0, height = 0;
        host.getScreenSize(width, height);
        return std::pair{width, height};
    };
    EXPECT_EQ(host.getOrientation(), 2); // landscape at start
    EXPECT_EQ(size(), std::pair(800, 480));
    // The same orientation again sends nothing; anything but 2 is portrait.
    const struct {
        int32_t orientation, width, height;
        int changes;
    } steps[] = {{1, 480, 800, 1}, {1, 480, 800, 1}, {7, 480, 800, 2}, {2, 800, 480, 3}};
    for (const auto& step : steps) {
        host.setOrientation(step.orientation);
        EXPECT_EQ(size(), std::pair(step.width, step.height)) << step.orientation;
        EXPECT_EQ(host.changes, step.changes) << step.orientation;
    }
}

TEST(HostServices, Clocks)
{
    CountingHost host;
    host.markStarted();
    // Wall clock in milliseconds, truncated to 32 bits: between two reads of the system clock,
    // however long the machine takes between them.
    const uint32_t before = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    const uint32_t reported = static_cast<uint32_t>(host.getCurrentTimeMillis());
    const uint32_t after = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    EXPECT_LE(reported - before, after - before);
    EXPECT_GE(host.getElapsedMillis(), 0);
}
