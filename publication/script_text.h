#pragma once

#include "publication/page_list.h"
#include "publication/publication_inputs.h"
#include "runtime/result.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// What keeps a text out of a script: characters Windows-1252 lacks, control
// characters (other than tab) that would break its line apart, or bytes that
// are not UTF-8 at all.
struct TextFlaws
{
    std::vector<char32_t> characters;     // each once, in order of appearance
    std::optional<std::size_t> invalidAt; // offset of the first byte that is not UTF-8
    unsigned char invalidByte = 0;

    bool any() const { return !characters.empty() || invalidAt.has_value(); }
};

// Appends UTF-8 text to out as Windows-1252, checked and encoded in one
// pass. When the text cannot go into a script, a BadInput Error whose
// message is describeFlaws(flaws), with what is wrong in flaws (given
// empty), and out as it was.
Status appendScriptText(std::string &out, std::string_view utf8, TextFlaws &flaws);

// How a page is named in messages, from its index and path: "Page 3
// (/fotos/a.png)" unless the caller knows better (the line of a list it came
// from).
using PageNamer = std::function<std::string(std::size_t index, std::string_view path)>;
// The name a page gets when the caller has no better one.
std::string pageName(std::size_t index, std::string_view path);

// Checks and encodes every input, in one pass over each text. A BadInput
// Error names each field (by its label) and page that cannot be written, and
// shows what is wrong with it: at most ten of them, and a count of the rest.
// The pages are encoded where they lie, in the memory they came in.
Result<EncodedInputs> encodeInputs(PublicationInputs inputs, const PageNamer &namePage = {});

// What is wrong, to follow the name of a field or page: "holds characters a
// publication script cannot hold: \"✓\" (U+2713), U+000A", "is not UTF-8:
// byte 0xFF at byte 7" (counted from 1), or both.
std::string describeFlaws(const TextFlaws &flaws);

} // namespace lumvrex
