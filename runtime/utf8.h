#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumvrex::utf8 {

// One character read from UTF-8 text. An invalid sequence (overlong forms,
// surrogates and values past U+10FFFF included) reads as its first byte alone
// with valid false.
struct Decoded
{
    char32_t codePoint; // the byte itself when !valid
    std::size_t length; // 1 to 4
    bool valid;
};

Decoded decode(std::string_view text, std::size_t at);

void append(std::string &out, char32_t codePoint);

// Text as it can be shown in a message on one line: control characters and
// invalid bytes as U+XXXX or <0xFF>, and at most maxCharacters characters,
// cut in the middle with "…" so that both ends stay visible.
std::string printable(std::string_view text, std::size_t maxCharacters = 200);

// "U+00E1", at least four hex digits.
std::string codePointName(char32_t codePoint);

} // namespace lumvrex::utf8
