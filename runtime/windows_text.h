#pragma once

#include <string>
#include <string_view>

namespace lumvrex {

// UTF-8 and the UTF-16 of Windows' wide functions. A lone surrogate, which
// Windows allows in names, becomes U+FFFD.
std::string utf8FromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);

} // namespace lumvrex
