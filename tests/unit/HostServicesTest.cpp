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
    int32_t width = 0, height = 0;
    EXPECT_EQ(host.getOrientation(), 2); // landscape at start
    host.getScreenSize(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 480);

    host.setOrientation(1);
    host.getScreenSize(width, height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 800);
    host.setOrientation(1); // unchanged: nothing is sent again
    EXPECT_EQ(host.changes, 1);

    host.setOrientation(7); // anything but 2 is portrait
    host.getScreenSize(width, height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(host.changes, 2);
    host.setOrientation(2);
    host.getScreenSize(width, height);
    EXPECT_EQ(width, 800);
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
