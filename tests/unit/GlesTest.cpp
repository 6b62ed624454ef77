// SPDX-License-Identifier: MIT
// The OpenGL bindings up to the point where GL would be called: the extent rules, and every
// check that decides from the arguments alone. The surface here has no context, so an
// operation that gets as far as GL raises the fatal error; each refused call must fail with
// its own error before that, with GL untouched. Drawing is tested by the images in
// tests/images/opengl.
#include "ErrorCodeOf.h"

#include "OpenGLES/GlesEnums.h"
#include "OpenGLES/GlesExtension.h"
#include "OpenGLES/GlesExtent.h"
#include "OpenGLES/GlesSurface.h"
#include "OpenGLES/GuestArguments.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/VirtualMachine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace zelmo;
using namespace zelmo::gles;

TEST(GlesExtent, PixelRowAndVertexSizes)
{
    // (Types and formats without a size, refused by the calls: opengl/guards.)
    EXPECT_FALSE(pixelBytes(GLES_RGBA, GLES_FLOAT));
    EXPECT_FALSE(pixelBytes(0x1902 /* DEPTH_COMPONENT */, GLES_UNSIGNED_BYTE));
    EXPECT_FALSE(indexTypeBytes(GLES_BYTE));

    // A 3-pixel RGB row is 9 bytes: padded to 9, 10, 12 and 16; the last row is not padded.
    EXPECT_EQ(imageBytes(3, 2, 3, 1), 18u);
    EXPECT_EQ(imageBytes(3, 2, 3, 2), 19u);
    EXPECT_EQ(imageBytes(3, 2, 3, 8), 25u);
    EXPECT_EQ(imageBytes(3, 1, 3, 8), 9u);
    EXPECT_EQ(imageBytes(0, 5, 4, 4), 0u);
    EXPECT_EQ(imageBytes(5, -1, 4, 4), 0u);
    // The largest sizes GL can be given do not wrap.
    EXPECT_EQ(imageBytes(INT32_MAX, INT32_MAX, 4, 8),
              uint64_t(INT32_MAX - 1) * (uint64_t(INT32_MAX) * 4 + 4) + uint64_t(INT32_MAX) * 4);

    // Vertex 3 of packed 2 x FLOAT is bytes 24..31; with a stride of 20 it is bytes 60..67.
    EXPECT_EQ(vertexArrayBytes(3, 2, 4, 0), 32u);
    EXPECT_EQ(vertexArrayBytes(3, 2, 4, 20), 68u);
    EXPECT_EQ(vertexArrayBytes(0, 4, 1, 100), 4u);
    EXPECT_EQ(vertexArrayBytes(UINT32_MAX, 4, 4, INT32_MAX), uint64_t(UINT32_MAX) * INT32_MAX + 16);
    EXPECT_EQ(countBytes(-5, 4), 0u);
    EXPECT_EQ(countBytes(INT32_MAX, 64), uint64_t(INT32_MAX) * 64);
}

TEST(GlesInfoLog, LengthCountsTheTerminator)
{
    // Mesa reports an empty log as length 0; a driver may say 1 (the terminator alone).
    int reads = 0;
    const auto log = [&reads](const char* text) {
        return [&reads, text](int32_t size, char* out) {
            ++reads;
            std::strncpy(out, text, static_cast<size_t>(size));
        };
    };
    EXPECT_EQ(infoLogText(0, log("x")), u"");
    EXPECT_EQ(infoLogText(1, log("x")), u"");
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(infoLogText(3, log("ab")), u"ab");
    EXPECT_EQ(infoLogText(2, log("\xE9")), u"\u00E9"); // bytes become code units
    EXPECT_EQ(infoLogText(3, log("abcdef")),
              u"abc"); // no terminator within the length
}

namespace {

// A surface without a context, which counts the calls that got as far as GL.
class NoContext : public GlesSurface {
public:
    bool makeCurrent(std::string& reason) override
    {
        ++calls;
        reason = "none in this test";
        return false;
    }
    int calls = 0;
};

class GlesCalls : public ::testing::Test {
protected:
    GlesCalls() : extension(vm, surface, nullptr), stack(vm) { vm.setSp(-1); }

    // A new array of `count` elements of `size` bytes (zeroed); its box is the array word.
    int32_t array(uint32_t size, int32_t count)
    {
        return static_cast<int32_t>(vm.newArrayObject(size, count, false));
    }
    // Calls `operation` with `words` pushed; "none", or the error code and text it raised.
    std::string call(int32_t operation, const std::vector<int32_t>& words)
    {
        for (const int32_t word : words)
            stack.pushWord(word);
        return zelmo::testing::failureOf([&] { extension.call(operation, stack); });
    }

    VirtualMachine vm;
    NoContext surface;
    GlesExtension extension;
    ExtensionStack stack;
};

const std::string kReachedGl = "11 UnknownException (CODE:11)";

} // namespace

TEST_F(GlesCalls, OperationNumbersAndUnboundSlots)
{
    stack.pushWord(77);
    EXPECT_EQ(call(10, {1, 2}), "none"); // pops two, calls nothing
    EXPECT_EQ(call(256 + 10, {1, 2}), "none");
    EXPECT_EQ(stack.top(), 0);
    for (const int32_t unbound : {0, 3, 5, 93, 154, 255, -1}) {
        EXPECT_EQ(call(unbound, {}),
                  "10 VMException: Invalid opcode in OpenGL: " + std::to_string(unbound & 0xFF));
        EXPECT_EQ(stack.top(), 0); // nothing popped
    }
    EXPECT_EQ(surface.calls, 0);
    EXPECT_EQ(call(256 + 16, {0x4000}), kReachedGl); // glClear, in no context
    EXPECT_EQ(call(141 - 256, {0, 2, GLES_FLOAT, 0, 0, array(4, 8)}), kReachedGl);
    EXPECT_EQ(surface.calls, 2);
}

TEST_F(GlesCalls, ArgumentsAreCheckedBeforeGl)
{
    const int32_t bytes32 = array(1, 32), ints2 = array(4, 2), floats15 = array(4, 15),
                  floats3 = array(4, 3), empty = array(4, 0);
    const auto needs = [](const std::string& name, int bytes, int has) {
        return "2 IndexOutOfBoundsException: " + name + ": needs " + std::to_string(bytes) +
               " bytes, array has " + std::to_string(has);
    };
    const std::string nullPointer = "1 NullPointerException: NULL pointer";
    const std::pair<std::string, std::string> refused[] = {
        {call(13, {0x8892, 33, bytes32, 0x88E4}), needs("glBufferData", 33, 32)},
        {call(14, {0x8892, 0, 40, ints2}), needs("glBufferSubData", 40, 8)},
        {call(22, {0x0DE1, 0, 0x8D64, 4, 4, 0, 33, bytes32}),
         needs("glCompressedTexImage2D", 33, 32)},
        {call(23, {0x0DE1, 0, 0, 0, 4, 4, 0x8D64, 64, bytes32}),
         needs("glCompressedTexSubImage2D", 64, 32)},
        {call(34, {3, ints2}), needs("glDeleteTextures", 12, 8)},
        {call(130, {0, 1, 0, floats15}), needs("glUniformMatrix4fv", 64, 60)},
        {call(127, {0, 1, floats3}), needs("glUniform4iv", 16, 12)},
        {call(140, {0, floats3}), needs("glVertexAttrib4fv", 16, 12)},
        {call(108, {0x0DE1, 0x1004, empty}), needs("glTexParameterfv", 4, 0)},
        {call(149, {1, 0x8B81, empty}), needs("glGetShaderiv", 4, 0)},
        {call(144, {-1}), "6 InvalidArgumentException: glGenBuffers: negative count"},
        {call(91, {0x0CF2, 4}), "6 InvalidArgumentException: glPixelStorei: "
                                "unsupported parameter 0xCF2"},
        {call(4, {0x88EC /* PIXEL_UNPACK_BUFFER */, 1}),
         "6 InvalidArgumentException: glBindBuffer: unsupported target 0x88EC"},
        {call(13, {0x8892, 0, 0, 0x88E4}), nullPointer},
        {call(151, {1, 0}), nullPointer},
        {call(153, {0}), nullPointer},
        // A word that leads to no vector (here: a string value) is not an array.
        {call(140, {0, static_cast<int32_t>(vm.newString(OString(u"abcd")))}),
         "10 VMException: glVertexAttrib4fv: not an array"},
        // Without the bitmap library every reference is no bitmap.
        {call(153, {bytes32}), "10 VMException: Invalid typeid on bitmap"},
    };
    for (const auto& [actual, expected] : refused)
        EXPECT_EQ(actual, expected);
    EXPECT_EQ(surface.calls, 0);

    // Exactly enough passes the checks (and reaches GL); negative counts are GL's to refuse.
    EXPECT_EQ(call(13, {0x8892, 32, bytes32, 0x88E4}), kReachedGl);
    EXPECT_EQ(call(130, {0, -1, 0, empty}), kReachedGl);
    EXPECT_EQ(call(29, {-4, empty}), kReachedGl);
    EXPECT_EQ(call(149, {1, 0x8B81, ints2}), kReachedGl);
    EXPECT_EQ(surface.calls, 4);
}
