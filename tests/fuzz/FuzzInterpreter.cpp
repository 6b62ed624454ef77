// SPDX-License-Identifier: MIT
// libFuzzer target: well-formed programs built from the input, run on a fresh machine. They
// allocate, release (FREE, FREEBOX), keep handles after releasing them and write and read
// through them at any word around the object, header and trailer included, link objects for
// the collector and collect between entry calls. Whatever they do to their own heap must end
// in order: a managed error or a fatal line, never a crash, a sanitizer report or a hang.
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "image/Assembler.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_at >= m_size; }
    uint32_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint32_t below(uint32_t n) { return byte() % n; }
    uint32_t word()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | byte();
        return v;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

constexpr int kGlobals = 8;

std::string global(uint32_t i)
{
    return "    PUSHGLOBALS\n    FLDADDR8 " + std::to_string(i) + "\n";
}

// One statement; leaves the stack as it found it. Returns false at a function boundary.
bool statement(Input& in, std::string& code)
{
    const auto g = [&] { return in.below(kGlobals); };
    static uint32_t loops = 0; // label numbers
    const std::string loop = "l" + std::to_string(++loops), done = "d" + std::to_string(loops);
    switch (in.below(13)) {
    case 0: { // a new object into a global
        static const char* codes[] = {"CLASS_OBJECT", "NATIVE", "REFERENCE"};
        code += global(g()) + "    NEW " + codes[in.below(3)] + ", " +
                std::to_string(1 + in.below(16)) + "\n    STORE\n";
        break;
    }
    case 1: // release what a global holds, and keep the handle
        code += global(g()) + "    LOAD\n    FREE\n";
        break;
    case 2: { // a word written around what a global holds
        static const uint32_t values[] = {0, 1, 4, 8, 12, 28, 36, 0xffffffff};
        code +=
            global(g()) + "    LOAD\n    FLDADDR8 " + std::to_string(int(in.below(25)) - 7) + "\n";
        const uint32_t kind = in.below(4);
        if (kind == 0)
            code += "    PUSH32 " + std::to_string(in.word()) + "\n";
        else if (kind == 1)
            code += global(g()) + "    LOAD\n";
        else
            code += "    PUSH32 " + std::to_string(values[in.below(8)]) + "\n";
        code += "    STORE\n";
        break;
    }
    case 3: // a word read around what a global holds
        code += global(g()) + "    LOAD\n    FLDADDR8 " + std::to_string(int(in.below(25)) - 7) +
                "\n    LOAD\n    FRAME8 -1\n";
        break;
    case 4: // one global copied to another
        code += global(g()) + global(g()) + "    LOAD\n    STORE\n";
        break;
    case 5: // a string, then its length through whatever the global holds by then
        code += global(g()) + "    PUSHSTR \"fuzz\"\n    STORE\n" + global(g()) +
                "    LOAD\n    NATIVE String.length\n    FRAME8 -1\n";
        break;
    case 6: // a reference box around what a global holds
        code += global(g()) + global(g()) + "    LOAD\n    BOXR\n    STORE\n";
        break;
    case 7: // release a box and what it holds
        code += global(g()) + "    LOAD\n    FREEBOX\n";
        break;
    case 8: // a word-sized value boxed
        code += global(g()) + "    PUSH32 " + std::to_string(in.word()) + "\n    BOXW\n    STORE\n";
        break;
    case 9: // globals 0 and 1 made an int array value, with a few elements
        code += "    PUSHGLOBALS\n    NEWARRAY 4\n";
        for (uint32_t n = in.below(8); n > 0; --n)
            code += "    PUSHGLOBALS\n    PUSH32 " + std::to_string(in.word()) +
                    "\n    NATIVE IntArray.append\n";
        break;
    case 10: { // counting loops over whatever globals 0 and 1 hold: set elements, or sum them
        const std::string count = std::to_string(in.below(12));
        code += "    PUSH0\n    PUSH0\n" + loop + ":\n    LDLOC8 -2\n    PUSH32 " + count +
                "\n    LT\n    JZ16 " + done + "\n";
        code += in.below(2) ? "    PUSHGLOBALS\n    LDLOC8 -3\n    NATIVE IntArray.elementRef\n"
                              "    LDLOC8 -3\n    STORE\n"
                            : "    LOCADDR8 -1\n    PUSHGLOBALS\n    LDLOC8 -4\n"
                              "    NATIVE IntArray.elementRef\n    LOAD\n    ADDSET\n";
        code += "    LOCADDR8 -2\n    INC\n    JMP16 " + loop + "\n" + done + ":\n    FRAME8 -2\n";
        break;
    }
    case 11: { // a counting-down loop adding to a local
        const std::string count = std::to_string(1 + in.below(8));
        const std::string mask = std::to_string(in.word());
        code += "    PUSH32 " + count + "\n    PUSH0\n" + loop +
                ":\n    LOCADDR8 -1\n    LDLOC8 -3\n    PUSH32 " + mask +
                "\n    AND\n    ADDSET\n    LOCADDR8 -2\n    DEC\n    LDLOC8 -2\n    JZ16 " + done +
                "\n    JMP16 " + loop + "\n" + done + ":\n    FRAME8 -2\n";
        break;
    }
    default:
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) return -1;
    Input in(data, size);
    std::string header =
        ".globals " + std::to_string(kGlobals) + "\n.class Node refs=1,2,3\n.function @main f0\n";
    std::string code = "f0:\n";
    for (int i = 0; i < kGlobals; ++i)
        code += global(i) + "    NEW CLASS_OBJECT, 4\n    STORE\n";
    int functions = 1;
    while (!in.empty() && functions < 16) {
        if (!statement(in, code)) {
            code += "    RET 0, 0\nf" + std::to_string(functions) + ":\n";
            header += ".function \"f" + std::to_string(functions) + "\" f" +
                      std::to_string(functions) + "\n";
            ++functions;
        }
    }
    code += "    RET 0, 0\n";
    const std::vector<uint8_t> bytes = image::assembleToBytes(header + code, "fuzz.asm");

    VirtualMachine vm;
    TARNEL::MemoryInputStream stream(bytes);
    int32_t module = -1;
    try {
        if (vm.readBytecode(u"index.mcb", stream, module) != 1) __builtin_trap();
        // Each entry call ends with a collection, as between an application's events.
        vm.invoke(vm.registerMethod(u"main", module), {}, {}, -1);
        for (int f = 1; f < functions; ++f) {
            vm.invoke(vm.registerMethod(fromAscii("f" + std::to_string(f)), module), {}, {}, -1);
            vm.collectGarbage();
        }
    } catch (const ErrorHandlingException&) {
    } catch (const InvocationOutcome&) {
    }
    clearError();
    return 0;
}
