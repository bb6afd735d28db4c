#pragma once

#include <optional>

namespace lumvrex {

// How name order reads a letter of the Latin script: as one or two of the
// letters a-z (or ñ, a letter of its own in Spanish), with the mark that
// tells it from them. "Á" reads as "a" with U+0301, the mark that follows
// "A" in its decomposed form, so that both forms read alike; "Æ" as "ae",
// and "Ø" as "o", with a mark of their own.
struct LatinLetter
{
    char32_t first;  // lower case: a-z or ñ
    char32_t second; // the second letter of a pair such as "ae"; 0 for none
    char32_t mark;   // 0 for none
    bool upper;
};

// Marks a letter may carry that no combining character stands for: past
// every code point.
constexpr char32_t kOwnMark = 0x110000;

// A-Z, a-z, ª, º and the letters of U+00C0..U+017F; nothing for any other
// character.
std::optional<LatinLetter> latinLetter(char32_t c);

} // namespace lumvrex
