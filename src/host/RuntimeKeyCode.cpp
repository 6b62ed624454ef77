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

std::u16string unmodifiedKeyText(int qtKey)
{
    if (qtKey >= u'A' && qtKey <= u'Z') return std::u16string(1, char16_t(qtKey + (u'a' - u'A')));
    if (qtKey >= 32 && qtKey < 127) return std::u16string(1, char16_t(qtKey));
    switch (qtKey) {
    case Qt::Key_Escape:
        return u"\x1b";
    case Qt::Key_Tab:
        return u"\t";
    case Qt::Key_Backspace:
        return u"\b";
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return u"\r";
    case Qt::Key_Delete:
        return u"\x7f";
    default:
        return {};
    }
}

} // namespace zelmo
