// SPDX-License-Identifier: MIT
#include "IO/InternalAssert.h"

#include <cstdio>
#include <cstdlib>

namespace zelmo::TARNEL {

void internalAssertionFailed(const char* file, const char* condition, const char* function)
{
    std::fprintf(stderr, "ASSERT: %s: %s (in %s)\n", file, condition, function);
    std::fflush(stderr);
    std::abort();
}

} // namespace zelmo::TARNEL
