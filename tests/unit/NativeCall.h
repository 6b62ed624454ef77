// SPDX-License-Identifier: MIT
// A machine whose native operations a test calls directly: operands pushed on a fresh stack
// (the last on top), then the operation dispatched by group and number. Operands are a braced
// list or any container of words.
#pragma once

#include "ErrorCodeOf.h"
#include "VirtualMachine/VirtualMachine.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace zelmo::testing {

class NativeCall : public ::testing::Test {
protected:
    template <class Words = std::initializer_list<int64_t>>
    void call(int group, int op, const Words& operands)
    {
        vm.setSp(-1);
        for (const auto word : operands)
            vm.pushWord(static_cast<int32_t>(word));
        vm.dispatchNative(group, op);
    }
    // The managed error code the call raises, 0 when it returns normally.
    template <class Words = std::initializer_list<int64_t>>
    int32_t failure(int group, int op, const Words& operands)
    {
        return errorCodeOf([&] { call(group, op, operands); });
    }
    std::string errorText() { return toUtf8(lastErrorText()); }
    // The text of the managed error the call raises, "no error" when it returns.
    template <class Words = std::initializer_list<int64_t>>
    std::string failureText(int group, int op, const Words& operands)
    {
        return failure(group, op, operands) ? errorText() : "no error";
    }
    std::vector<int32_t> stack()
    {
        std::vector<int32_t> words;
        for (int32_t i = 0; i <= vm.sp(); ++i)
            words.push_back(vm.stackWord(i));
        return words;
    }
    uint32_t str(std::u16string_view text) { return vm.newString(OString(text)); }
    std::string text(uint32_t stringValue) { return toUtf8(vm.stringOf(stringValue).view()); }
    // Operands that point at guest values: consecutive words (by default one empty field), an
    // 8-byte cell (a long or a fixed value), a new byte array.
    uint32_t block(const std::vector<int32_t>& values = {0})
    {
        const uint32_t b = vm.heap().allocate(4 * uint32_t(values.size()), 0, GC_CODE_NATIVE);
        for (size_t i = 0; i < values.size(); ++i)
            vm.storeWord(b + 4 * uint32_t(i), uint32_t(values[i]));
        return b;
    }
    uint32_t cell(int64_t value)
    {
        const uint32_t address = vm.heap().allocate(8, 0, GC_CODE_NATIVE);
        vm.memory().store64(address, value);
        return address;
    }
    uint32_t bytes(const std::vector<uint8_t>& data)
    {
        return vm.newByteArray(data.data(), data.size());
    }

    VirtualMachine vm;
};

} // namespace zelmo::testing
