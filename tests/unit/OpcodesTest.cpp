// SPDX-License-Identifier: MIT
#include "VirtualMachine/Opcodes.h"

#include <gtest/gtest.h>

using namespace zelmo;

// The operand lengths the loader's copy loop relies on, listed independently of the table.
TEST(Opcodes, OperandLengthsMatchTheImageFormat)
{
    const std::vector<std::pair<std::vector<int>, int>> groups = {
        {{1, 3, 5, 8, 79, 81, 83, 85, 105, 106, 118, 128, 129, 130, 184}, 1},
        {{10, 12, 78, 97, 131, 132, 133}, 2},
        {{2, 4, 6, 9, 11, 13, 20, 80, 82, 84, 86, 185, 15, 21, 22}, 4},
        {{17}, 5},
        {{146, 147}, 6},
        {{16, 65, 14, 117}, 8},
    };
    for (const auto& [ops, length] : groups)
        for (int op : ops)
            EXPECT_EQ(kOpInfo[op].size(), 1 + length) << op;

    const std::vector<int> invalid = {56,  66,  72,  77,  87,  96,  98,  104, 107, 113, 115, 116,
                                      121, 124, 127, 136, 138, 140, 145, 149, 155, 186, 255};
    for (int op : invalid)
        EXPECT_FALSE(kOpInfo[op].valid()) << op;
    int count = 0;
    for (const auto& info : kOpInfo)
        count += info.valid();
    EXPECT_EQ(count, 130); // 256 byte values minus the 126 that are not opcodes
}
