// SPDX-License-Identifier: MIT
#include "Base/Errors.h"

#include <cstdio>

namespace zelmo {

namespace {

struct ErrorRecord {
    int32_t code = 0;
    std::u16string text;
};

thread_local ErrorRecord t_record;

} // namespace

std::u16string fromAscii(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

std::u16string errorName(int32_t code)
{
    switch (code) {
    case kNullPointer:
        return u"NullPointerException";
    case kIndexOutOfBounds:
        return u"IndexOutOfBoundsException";
    case kDivisionByZero:
        return u"DivisionByZeroException";
    case kDataFormat:
        return u"DataFormatException: ";
    case kRange:
        return u"RangeException";
    case kInvalidArgument:
        return u"InvalidArgumentException";
    case kIO:
        return u"IOException";
    case kMath:
        return u"MathException";
    case kAssertionFailed:
        return u"AssertionFailedException";
    case kVMException:
        return u"VMException";
    case kUnsupportedFeature:
        return u"UnsupportedFeatureException";
    default:
        return u"UnknownException (CODE:" + fromAscii(std::to_string(code)) + u")";
    }
}

void throwError(int32_t code, std::u16string_view message)
{
    std::u16string text = errorName(code);
    if (!message.empty()) {
        text += u": ";
        text += message;
    }
    t_record.code = code;
    t_record.text = std::move(text);
    throw ErrorHandlingException{};
}

void throwError(int32_t code, std::string_view asciiMessage)
{
    throwError(code, std::u16string_view(fromAscii(asciiMessage)));
}

void raiseFatal(std::string_view message)
{
    std::fprintf(stderr, "FATAL: %.*s\n", static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    throwError(kFatal);
}

int32_t lastErrorCode()
{
    return t_record.code;
}
const std::u16string& lastErrorText()
{
    return t_record.text;
}

void clearError()
{
    t_record.code = 0;
    t_record.text.clear();
}

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

} // namespace zelmo
