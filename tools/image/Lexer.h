// SPDX-License-Identifier: MIT
// Splits one line of assembler source into tokens. String literals are decoded into the bytes
// they stand for; a ';' outside a string starts a comment.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::image {

struct Token {
    enum Kind { Identifier, Number, String, Punct, Directive, Alias, End };
    Kind kind = End;
    std::string text;  // identifier/directive/alias name (without '.'/'@'), punct, string bytes
    int64_t value = 0; // numbers
    bool signedLiteral = false; // a number written with a leading '+' or '-'
};

class LexError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<Token> tokenizeLine(std::string_view line);

// The line without its comment (for directives that read raw text).
std::string_view stripComment(std::string_view line);

} // namespace zelmo::image
