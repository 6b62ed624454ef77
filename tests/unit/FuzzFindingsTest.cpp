// SPDX-License-Identifier: MIT
// Inputs the fuzz targets of tests/fuzz found, kept so that the fault stays fixed.
#include "IO/ApplicationPaths.h"

#include <gtest/gtest.h>

using namespace zelmo;

namespace {

// A unit that looks like a byte-order mark must reach the system as itself: read as a mark it
// was dropped or swapped the rest of the name (U+2F00 became a separator).
TEST(FuzzFindings, ByteOrderMarksInAPathAreOrdinaryCharacters)
{
    const ApplicationPaths paths(u"/tmp/app");
    const struct {
        std::u16string path;
        std::string name;
    } cases[] = {
        {u"\uFFFEa\u2F00b", "/tmp/app/\xEF\xBF\xBE"
                            "a\xE2\xBC\x80"
                            "b"},
        {u"\uFEFFx", "/tmp/app/\xEF\xBB\xBFx"},
    };
    for (const auto& c : cases) {
        const auto mapped = paths.map(c.path);
        ASSERT_TRUE(mapped.has_value());
        EXPECT_EQ(mapped->name, c.name);
        EXPECT_EQ(mapped->path, u"/tmp/app/" + c.path);
    }
}

} // namespace
