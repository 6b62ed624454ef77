// SPDX-License-Identifier: MIT
#include "host/RuntimeKeyCode.h"

#include <Qt>

namespace zelmo {

int32_t runtimeKeyCode(int qtKey)
{
    if (qtKey >= 32 && qtKey <= 96) return qtKey;
    switch (qtKey) {
    case Qt::Key_Return:
        return 0x01000001;
    case Qt::Key_Backspace:
        return 0x01000002;
    case Qt::Key_Left:
        return 0x01000003;
    case Qt::Key_Right:
        return 0x01000004;
    case Qt::Key_Up:
        return 0x01000005;
    case Qt::Key_Down:
        return 0x01000006;
    default:
        return 0x01000000;
    }
}

} // namespace zelmo
