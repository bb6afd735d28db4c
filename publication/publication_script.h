#pragma once

#include "publication/script_text.h"

#include <string>

namespace lumvrex {

class PageEffectSource;

// The whole publication script: the 69 lines of the master block, then 28
// lines for each page, in Windows-1252 with CR LF line ends. The effects
// source is reseeded before each page and drawn once for its effect.
std::string publicationScript(const EncodedInputs &inputs, PageEffectSource &effects, char decimalSeparator);

} // namespace lumvrex
