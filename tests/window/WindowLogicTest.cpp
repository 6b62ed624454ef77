// SPDX-License-Identifier: MIT
// The window's logic that the X server tests cannot reach: key repeats on a server without
// detectable auto-repeat, and presentation geometry for tall windows, small screens and
// stretched frames.
#include "window/KeyInput.h"
#include "window/Presentation.h"

#include <QPoint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

struct Recorder {
    std::vector<std::string> keys;
    KeyRepeat::Sink sink()
    {
        return [this](const RuntimeKey& key) {
            keys.push_back((key.pressed ? "press " : "release ") + std::to_string(key.scanCode));
        };
    }
};

RuntimeKey key(uint32_t scan, bool pressed)
{
    return {65, scan, u"a", pressed};
}

} // namespace

TEST(KeyRepeat, ReleasePressPairsOfOneTimestampAreRepeatsWithoutDetectableAutoRepeat)
{
    Recorder out;
    KeyRepeat keys(false, out.sink());
    keys.press(key(38, true), 100);
    keys.release(key(38, false), 760, false); // the server's pair: same key, same time
    keys.press(key(38, true), 760);
    keys.release(key(38, false), 800, false);
    keys.press(key(38, true), 800);
    EXPECT_FALSE(keys.flush());               // nothing waits after a pair
    keys.release(key(38, false), 900, false); // the real release, nothing follows
    EXPECT_TRUE(keys.flush());
    EXPECT_EQ(out.keys,
              (std::vector<std::string>{"press 38", "press 38", "press 38", "release 38"}));

    // A release followed by another key, or by the same key later, is a real release and
    // arrives before that press.
    out.keys.clear();
    keys.press(key(38, true), 1000);
    keys.release(key(38, false), 1100, false);
    keys.press(key(39, true), 1100);
    keys.release(key(39, false), 1200, false);
    keys.press(key(39, true), 1201);
    keys.flush();
    EXPECT_EQ(out.keys, (std::vector<std::string>{"press 38", "release 38", "press 39",
                                                  "release 39", "press 39"}));
}

TEST(KeyRepeat, OnlyPressedKeysAreReleasedAndOnlyOnce)
{
    for (const bool detectable : {true, false}) {
        Recorder out;
        KeyRepeat keys(detectable, out.sink());
        keys.release(key(40, false), 1, false); // held before the window had the focus
        keys.press(key(38, true), 2);
        keys.release(key(38, false), 3, true); // marked as a repeat by the platform
        keys.flush();
        keys.release(key(38, false), 4, false);
        keys.flush();
        keys.release(key(38, false), 5, false);
        keys.flush();
        EXPECT_EQ(out.keys, (std::vector<std::string>{"press 38", "release 38"})) << detectable;
    }
}

TEST(Presentation, TallAndStretchedFrames)
{
    // Height-limited fit: a tall window keeps the aspect with borders above and below.
    const Presentation tall = presentation({1000, 1000}, {800, 480}, ScaleMode::Fit);
    EXPECT_EQ(tall.rect, QRect(0, 200, 1000, 600));
    EXPECT_TRUE(tall.smooth);
    const Presentation wide = presentation({1000, 300}, {800, 480}, ScaleMode::Fit);
    EXPECT_EQ(wide.rect, QRect(250, 0, 500, 300));
    EXPECT_EQ(presentation({0, 300}, {800, 480}, ScaleMode::Fit).rect, QRect());
    // A screen smaller than the logical one cannot take a whole factor: fitted instead.
    EXPECT_EQ(presentation({640, 400}, {800, 480}, ScaleMode::Integer).rect, QRect(0, 8, 640, 384));

    // Stretched twice as wide: pointer x halves, y stays; the last pixel column is 799.
    const QRect stretched = presentation({1600, 480}, {800, 480}, ScaleMode::Stretch).rect;
    EXPECT_EQ(toLogical({1599.0, 479.0}, stretched, {800, 480}, false), QPoint(799, 479));
    EXPECT_EQ(toLogical({1600.0, 10.0}, stretched, {800, 480}, false), std::nullopt);
    EXPECT_EQ(toLogical({-0.5, 10.0}, stretched, {800, 480}, false), std::nullopt);
    EXPECT_EQ(toLogical({-30.0, 900.0}, stretched, {800, 480}, true), QPoint(0, 479));
}
