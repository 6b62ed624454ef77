// SPDX-License-Identifier: MIT
// The managed error code an action raises, 0 when it returns normally.
#pragma once

#include "Base/Errors.h"

#include <cstdint>

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

} // namespace zelmo::testing
