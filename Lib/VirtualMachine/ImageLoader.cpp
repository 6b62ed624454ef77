// SPDX-License-Identifier: MIT
// Reads an image and merges it into the machine's tables. The format has no lengths or tags:
// each section is found only by having read everything before it, so every count is checked
// against what remains of the image before anything is allocated for it. The structural checks
// come from the image cursor the disassembler shares; a refused image says why and where.
#include "VirtualMachine/VirtualMachine.h"

#include "IO/Stream.h"
#include "VirtualMachine/ImageCursor.h"
#include "VirtualMachine/NativeSites.h"
#include "VirtualMachine/Opcodes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zelmo {

namespace {

// The loader's view of the image bytes: the shared cursor's checks, with counts and names as
// the machine's tables take them.
class ImageReader {
public:
    ImageReader(const uint8_t* data, size_t size) : m_in(data, size) {}

    ImageCursor& cursor() { return m_in; }
    int64_t remaining() const { return static_cast<int64_t>(m_in.remaining()); }
    [[noreturn]] void fail(const std::string& reason) const { m_in.fail(reason); }
    uint8_t u8() { return m_in.u8(); }
    int32_t i32() { return static_cast<int32_t>(m_in.u32()); }
    // A value of the width a header byte declared (1, 2 or 4), zero-extended.
    int32_t value(int width) { return static_cast<int32_t>(m_in.sized(width)); }
    // A list count: negative means empty; a count whose items cannot fit in what remains is
    // refused before anything is allocated for it.
    int32_t count(int64_t minBytesPerItem)
    {
        const uint32_t n = m_in.u32();
        if (n == 0 || ImageCursor::isEmptyCount(n)) return 0;
        m_in.checkCount(n, std::max<int64_t>(minBytesPerItem, 1));
        return static_cast<int32_t>(n);
    }
    std::u16string name()
    {
        const int32_t length = count(1);
        const uint8_t* bytes = m_in.take(static_cast<uint32_t>(length));
        return std::u16string(bytes, bytes + length); // one character per byte
    }

private:
    ImageCursor m_in;
};

int32_t readI32At(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void writeI32At(uint8_t* p, int64_t v)
{
    const int32_t w = static_cast<int32_t>(static_cast<uint32_t>(v));
    std::memcpy(p, &w, 4);
}

} // namespace

void VirtualMachine::load(TARNEL::InputStream& stream, const std::u16string& moduleName,
                          FrameworkServices* host)
{
    m_host = host;
    int32_t moduleIndex = -1;
    int ok = 0;
    std::string reason;
    try {
        ok = readBytecode(moduleName, stream, moduleIndex, &reason);
    } catch (const ErrorHandlingException&) {
        ok = 0;
    }
    if (!ok)
        fatalError(reason.empty() ? "Error while reading bytecode"
                                  : "Error while reading bytecode: " + reason,
                   -1);
    init(moduleIndex);
}

int VirtualMachine::readBytecode(const std::u16string& moduleName, TARNEL::InputStream& stream,
                                 int32_t& moduleIndex, std::string* reason)
{
    // The whole image at once: the format has no lengths, and the code runs to the end.
    const int64_t size = std::max<int64_t>(0, int64_t{stream.size()} - stream.position());
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !stream.read(bytes.data(), static_cast<uint32_t>(size))) {
        if (reason) *reason = "the image cannot be read";
        return 0;
    }
    ImageReader in(bytes.data(), bytes.size());
    try {
        // 1. Identity.
        std::array<uint8_t, 20> identity{};
        std::memcpy(identity.data(), in.cursor().identity(), identity.size());

        // 2. An image already loaded under this name is not read again.
        for (size_t i = 0; i < modules.size(); ++i) {
            if (modules[i].identity == identity && modules[i].name == moduleName) {
                moduleIndex = static_cast<int32_t>(i);
                return 1;
            }
        }

        // 3. Bases for this image's indices.
        const int32_t classBase = maxClassId + 1;
        const int32_t gcInfoBase = static_cast<int32_t>(gcInfos.size());
        const int32_t codeBase = codeSize;
        const int32_t stringBase = static_cast<int32_t>(stringPool.size());
        BytecodeStruct module;
        module.name = moduleName;
        module.identity = identity;
        module.codeBase = codeBase;
        modules.push_back(module);
        moduleIndex = static_cast<int32_t>(modules.size() - 1);

        // 4. Marker, 5. widths.
        in.cursor().marker();
        const std::array<uint8_t, kImageWidthCount> widths = in.cursor().widths();
        const int codeAddressWidth = widths[0], gcInfoIndexWidth = widths[1],
                  classIdWidth = widths[2], hasSuperWidth = widths[3],
                  skipListCountWidth = widths[4], slotCount1Width = widths[5],
                  slotCount2Width = widths[6], slotCount3Width = widths[7],
                  entryCountWidth = widths[8];

        // 6. Functions.
        in.cursor().setSection("functions");
        const int32_t functionCount = in.count(4 + codeAddressWidth + gcInfoIndexWidth);
        for (int32_t i = 0; i < functionCount; ++i) {
            ExportedMethod method;
            method.moduleIndex = moduleIndex;
            method.name = in.name();
            const int32_t address = in.value(codeAddressWidth);
            const int32_t gcInfo = in.value(gcInfoIndexWidth);
            method.entries.push_back(
                {-1, static_cast<int32_t>(static_cast<uint32_t>(address) + codeBase),
                 static_cast<int32_t>(static_cast<uint32_t>(gcInfo) + gcInfoBase)});
            methods.push_back(std::move(method));
        }

        // 7. Selectors, merged by name with every record already in the table.
        in.cursor().setSection("selectors");
        std::vector<int32_t> selectorMap;
        const int32_t selectorCount = in.count(4 + entryCountWidth);
        for (int32_t i = 0; i < selectorCount; ++i) {
            const std::u16string name = in.name();
            size_t record = methods.size();
            for (size_t m = 0; m < methods.size(); ++m) {
                if (methods[m].name == name) {
                    record = m;
                    break;
                }
            }
            if (record == methods.size()) {
                ExportedMethod method;
                method.moduleIndex = moduleIndex;
                method.name = name;
                method.sharedSelector = 1;
                methods.push_back(std::move(method));
            }
            selectorMap.push_back(static_cast<int32_t>(record));
            const int32_t implementations = in.value(entryCountWidth);
            if (int64_t{implementations} * (classIdWidth + codeAddressWidth + gcInfoIndexWidth) >
                in.remaining())
                in.fail("count " + std::to_string(implementations) + " cannot fit in the " +
                        std::to_string(in.remaining()) + " bytes that remain");
            for (int32_t k = 0; k < implementations; ++k) {
                const int64_t classId =
                    int64_t{static_cast<uint32_t>(in.value(classIdWidth))} + classBase;
                const int32_t address = in.value(codeAddressWidth);
                const int32_t gcInfo = in.value(gcInfoIndexWidth);
                if (classId > 0x7fffffff)
                    in.fail("class id " + std::to_string(classId) + " is too large");
                methods[record].entries.push_back(
                    {static_cast<int32_t>(classId),
                     static_cast<int32_t>(static_cast<uint32_t>(address) + codeBase),
                     static_cast<int32_t>(static_cast<uint32_t>(gcInfo) + gcInfoBase)});
                maxClassId = std::max(maxClassId, static_cast<int32_t>(classId));
            }
        }

        // 8. Globals: one block, a collector root.
        in.cursor().setSection("globals");
        const int32_t words = in.i32();
        if (words >= 1) {
            // Far beyond any real application; a bigger count is a corrupt image.
            if (words > (1 << 20))
                in.fail(std::to_string(words) + " global words, more than " +
                        std::to_string(1 << 20));
            globalWords = words;
            globalsHandle = m_heap.allocate(static_cast<uint32_t>(words) * 4, 0, GC_CODE_NATIVE);
            m_heap.addRoot(globalsHandle);
        }

        // 9. Classes.
        in.cursor().setSection("classes");
        const int32_t classCount = in.count(1 + 4 + 4 + hasSuperWidth + skipListCountWidth);
        if (int64_t{classBase} + classCount > (1 << 24))
            in.fail(std::to_string(classCount) + " classes, more than the machine takes");
        for (int32_t k = 0; k < classCount; ++k) {
            const int32_t id = classBase + k;
            if (static_cast<int32_t>(superClass.size()) <= id) {
                superClass.resize(static_cast<size_t>(id) + 1, -2);
                classRefFields.resize(static_cast<size_t>(id) + 1);
                classArrayFields.resize(static_cast<size_t>(id) + 1);
                classArrayHoldsRefs.resize(static_cast<size_t>(id) + 1);
            }
            const int w = in.cursor().offsetWidth();
            const int32_t refCount = in.count(w);
            for (int32_t i = 0; i < refCount; ++i)
                classRefFields[static_cast<size_t>(id)].push_back(in.value(w));
            const int32_t arrayCount = in.count(1 + w);
            for (int32_t i = 0; i < arrayCount; ++i) {
                classArrayHoldsRefs[static_cast<size_t>(id)].push_back(in.cursor().flag());
                classArrayFields[static_cast<size_t>(id)].push_back(in.value(w));
            }
            const int32_t hasParent = in.value(hasSuperWidth);
            superClass[static_cast<size_t>(id)] =
                hasParent ? static_cast<int32_t>(static_cast<uint32_t>(in.value(classIdWidth)) +
                                                 classBase)
                          : -1;
            const int32_t skipped = in.value(skipListCountWidth);
            if (int64_t{skipped} * classIdWidth > in.remaining())
                in.fail("count " + std::to_string(skipped) + " cannot fit in the " +
                        std::to_string(in.remaining()) + " bytes that remain");
            for (int32_t i = 0; i < skipped; ++i)
                in.value(classIdWidth);
            // Keep later images' class ids clear of these rows.
            maxClassId = std::max(maxClassId, id);
        }

        // 10. Method infos.
        in.cursor().setSection("method infos");
        const int32_t infoCount =
            in.count(1 + slotCount1Width + 4 + 4 + slotCount2Width + slotCount3Width + 4 + 4);
        for (int32_t k = 0; k < infoCount; ++k) {
            MethodGCInfo info;
            const int w = in.cursor().offsetWidth();
            info.slotCount1 = in.value(slotCount1Width);
            for (int32_t i = 0, n = in.count(w); i < n; ++i)
                info.conservativeReferenceSlots.push_back(in.value(w));
            for (int32_t i = 0, n = in.count(1 + w); i < n; ++i) {
                info.arrayPointerElementIsReference.push_back(in.cursor().flag());
                info.arrayPointerSlots.push_back(in.value(w));
            }
            info.slotCount2 = in.value(slotCount2Width);
            info.slotCount3 = in.value(slotCount3Width);
            for (int32_t i = 0, n = in.count(w); i < n; ++i)
                info.exactReferenceSlots.push_back(in.value(w));
            for (int32_t i = 0, n = in.count(1 + w); i < n; ++i) {
                info.inlineArrayElementIsReference.push_back(in.cursor().flag());
                info.inlineArraySlots.push_back(in.value(w));
            }
            frameSizes.append(info.slotCount1, info.slotCount2);
            gcInfos.push_back(std::move(info));
        }

        // 11. Strings.
        in.cursor().setSection("strings");
        const int32_t stringCount = in.count(4);
        for (int32_t k = 0; k < stringCount; ++k) {
            const int32_t length = in.count(1);
            const uint8_t* text = in.cursor().take(static_cast<uint32_t>(length));
            stringPool.push_back(OString::fromUtf8Lenient(
                std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(length))));
        }

        // 12. Code: the rest of the stream, copied instruction by instruction with relocation.
        in.cursor().setSection("code");
        const size_t codeStart = in.cursor().position();
        const int64_t size = in.remaining();
        if (int64_t{codeSize} + size > 0x7fff0000) in.fail("more code than the machine takes");
        const uint8_t* codeBytes = in.cursor().take(static_cast<uint64_t>(size));
        std::vector<uint8_t> image(codeBytes, codeBytes + size);
        // A fault in an instruction is reported at the instruction's own offset.
        auto failAt = [&](size_t pos, const std::string& reason) {
            throw ImageFormatError(codeStart + pos, "code", reason);
        };
        // Each NATIVE site is bound here, once, to what answers it (NativeSites.h).
        std::vector<uint8_t> sites(image.size() + kCodePadding, uint8_t(NativeSite::Call));
        for (size_t pos = 0; pos < image.size();) {
            const OpInfo& info = kOpInfo[image[pos]];
            const size_t length = static_cast<size_t>(info.size());
            if (pos + length > image.size()) failAt(pos, "the image ends inside an instruction");
            uint8_t* operand = image.data() + pos + 1;
            switch (info.reloc) {
            case Reloc::None:
                if (image[pos] == uint8_t(Op::NATIVE)) {
                    sites[pos] =
                        uint8_t(nativeSiteFor(operand[0], static_cast<int8_t>(operand[1])));
                    const uint8_t* next = operand + length; // the next instruction's operands
                    if (pos + 2 * length <= image.size() && next[-1] == uint8_t(Op::NATIVE) &&
                        isFromIntThenAppend(operand[0], static_cast<int8_t>(operand[1]), next[0],
                                            static_cast<int8_t>(next[1])))
                        sites[pos] = uint8_t(NativeSite::StringFromIntAppend);
                    nativeOperationsUsed.push_back(uint16_t(operand[0] << 8 | operand[1]));
                } else if (image[pos] == uint8_t(Op::EXTCALL)) {
                    extensionsUsed.set(operand[0]);
                }
                break;
            case Reloc::Call: {
                writeI32At(operand, int64_t{readI32At(operand)} + codeBase);
                const int32_t gcInfo = readI32At(operand + 4);
                if (gcInfo >= 0) writeI32At(operand + 4, int64_t{gcInfo} + gcInfoBase);
                break;
            }
            case Reloc::Selector: {
                const int32_t selector = readI32At(operand);
                if (selector < 0 || selector >= static_cast<int32_t>(selectorMap.size()))
                    failAt(pos, "selector " + std::to_string(selector) + " is not in the image");
                writeI32At(operand, selectorMap[static_cast<size_t>(selector)]);
                break;
            }
            case Reloc::String:
                writeI32At(operand, int64_t{readI32At(operand)} + stringBase);
                break;
            case Reloc::Class: {
                const int64_t classId = int64_t{readI32At(operand)} + classBase;
                writeI32At(operand, classId);
                if (classId <= 0x7fffffff)
                    maxClassId = std::max(maxClassId, static_cast<int32_t>(classId));
                break;
            }
            case Reloc::Try: {
                // Only the class id moves; the handler distance is relative to the TRY itself.
                const int32_t classId = readI32At(operand);
                if (classId >= 0) writeI32At(operand, int64_t{classId} + classBase);
                break;
            }
            }
            pos += length;
        }
        std::sort(nativeOperationsUsed.begin(), nativeOperationsUsed.end());
        nativeOperationsUsed.erase(
            std::unique(nativeOperationsUsed.begin(), nativeOperationsUsed.end()),
            nativeOperationsUsed.end());
        code.resize(static_cast<size_t>(codeSize));
        code.insert(code.end(), image.begin(), image.end());
        code.insert(code.end(), kCodePadding, 0xFF);
        nativeSites.resize(static_cast<size_t>(codeSize));
        nativeSites.insert(nativeSites.end(), sites.begin(), sites.end());
        modules.back().codeSize = static_cast<int32_t>(size);
        codeSize += static_cast<int32_t>(size);
        return 1;
    } catch (const ImageFormatError& e) {
        if (reason) *reason = e.reason() + " at byte " + std::to_string(e.offset());
        return 0;
    }
}

} // namespace zelmo
