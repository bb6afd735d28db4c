#pragma once

#include "publication/script_text.h"
#include "runtime/result.h"

#include <filesystem>

namespace lumvrex {

class PageEffectSource;

// Writes the script of checked inputs to path (see writeFile() for what
// happens to each kind of target). A failed write gives a WriteFailed Error
// that names the path and the reason.
Status publishToFile(const std::filesystem::path &path, const EncodedInputs &inputs,
                     PageEffectSource &effects, char decimalSeparator);

// The same, written to standard output.
Status publishToStandardOutput(const EncodedInputs &inputs, PageEffectSource &effects, char decimalSeparator);

} // namespace lumvrex
