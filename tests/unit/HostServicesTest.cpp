// SPDX-License-Identifier: MIT
// The window-less host's clocks. (Its screen and orientation are images/drawing/screen's.)
#include "host/HostServices.h"

#include <gtest/gtest.h>

using namespace zelmo;

TEST(HostServices, Clocks)
{
    HostServices host(u"/srv/app");
    host.markStarted();
    // Wall clock in milliseconds, truncated to 32 bits: between two reads of the system clock,
    // however long the machine takes between them.
    const uint32_t before = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    const uint32_t reported = static_cast<uint32_t>(host.getCurrentTimeMillis());
    const uint32_t after = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    EXPECT_LE(reported - before, after - before);
    EXPECT_GE(host.getElapsedMillis(), 0);
}
