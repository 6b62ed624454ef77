// SPDX-License-Identifier: MIT
// Symbolic names the assembler accepts and the disassembler prints: extensions,
// heap GC codes, and the entry-point signatures the runtime looks up by text, together with
// the '*' spelling of parameter depths inside method names. Native groups and operations come
// from the machine's catalog (VirtualMachine/NativeCatalog.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::image {

struct NamedNumber {
    const char* name;
    int number;
};

// Device extensions (the first operand of EXTCALL).
const std::vector<NamedNumber>& extensions();
// GC codes of NEW, NEWOBJ and NEWOBJK.
const std::vector<NamedNumber>& gcCodes();

std::optional<int> numberForName(const std::vector<NamedNumber>& table, std::string_view name);
const char* nameForNumber(const std::vector<NamedNumber>& table, int number); // null: unknown

// A signature the runtime registers by text, with the depths its sender passes.
struct FixedSignature {
    const char* alias;     // spelled @alias in assembler source
    const char* signature; // without depth stars
    std::vector<int> defaultDepths;
};
const std::vector<FixedSignature>& fixedSignatures();
const FixedSignature* fixedSignature(std::string_view alias);

// Where a signature declares a depth: after each '<', and after a '(' that starts it.
int depthPositions(std::string_view signature);

// The method name for a signature: depths[i] '*' characters after the i-th depth position
// (missing depths are 0).
std::string applyDepths(std::string_view signature, const std::vector<int>& depths);

// The reverse: the signature and the depths spelled in a method name.
void splitDepths(std::string_view name, std::string& signature, std::vector<int>& depths);

} // namespace zelmo::image
