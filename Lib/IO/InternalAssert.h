// SPDX-License-Identifier: MIT
// Internal invariants of the I/O library. A failed check is a programming error, not bad input:
// it names the file, the condition and the function and ends the process, in every build type.
#pragma once

namespace zelmo::TARNEL {

[[noreturn]] void internalAssertionFailed(const char* file, const char* condition,
                                          const char* function);

} // namespace zelmo::TARNEL

#define ZELMO_IO_ASSERT(condition)                                                                 \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::zelmo::TARNEL::internalAssertionFailed(__FILE__, #condition, __func__))
