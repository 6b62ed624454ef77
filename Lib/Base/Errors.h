// SPDX-License-Identifier: MIT
// Managed errors: every native and library routine reports a failure the application may catch
// by recording a code and a text in the thread's error record and throwing
// ErrorHandlingException; the machine turns it into a call of the image's own exception builder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

// The managed exception codes. The numbers are part of the contract with images.
enum ErrorCode : int32_t {
    kNullPointer = 1,
    kIndexOutOfBounds = 2,
    kDivisionByZero = 3,
    kDataFormat = 4,
    kRange = 5,
    kInvalidArgument = 6,
    kIO = 7,
    kMath = 8,
    kAssertionFailed = 9,
    kVMException = 10,
    kFatal = 11, // the machine cannot go on; ends the invocation
    kExit = 12,  // the application asked to quit
    kUnsupportedFeature = 13,
};

// Carries nothing: the code and the text are in the thread's error record.
struct ErrorHandlingException {};

// The type name an error text starts with, e.g. "NullPointerException" for code 1.
std::u16string errorName(int32_t code);

// Records code and text ("Name: message", or just "Name" for an empty message) and throws.
[[noreturn]] void throwError(int32_t code, std::u16string_view message = {});
[[noreturn]] void throwError(int32_t code, std::string_view asciiMessage);
[[noreturn]] inline void throwError(int32_t code, const char* asciiMessage)
{
    throwError(code, std::string_view(asciiMessage));
}

// Prints "FATAL: " + message on standard error so that users learn why, then raises the
// fatal managed error (code 11, empty message) that ends the current invocation.
[[noreturn]] void raiseFatal(std::string_view message);

int32_t lastErrorCode();
const std::u16string& lastErrorText();
void clearError();

// UTF-16 to UTF-8 for diagnostics (lone surrogates become U+FFFD).
std::string toUtf8(std::u16string_view text);
std::u16string fromAscii(std::string_view text);

} // namespace zelmo
