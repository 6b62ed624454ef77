// SPDX-License-Identifier: MIT
// The managed error an action raises: its code (0 when it returns normally), or its code and text.
#pragma once

#include "Base/Errors.h"

#include <cstdint>
#include <string>

namespace zelmo::testing {

template <class F> int32_t errorCodeOf(F&& action)
{
    clearError();
    try {
        action();
    } catch (const ErrorHandlingException&) {
        return lastErrorCode();
    }
    return 0;
}

// "CODE TEXT" of the managed error the action raises, "none" when it returns.
template <class F> std::string failureOf(F&& action)
{
    const int32_t code = errorCodeOf(action);
    return code ? std::to_string(code) + " " + toUtf8(lastErrorText()) : "none";
}

} // namespace zelmo::testing
