#pragma once

namespace lumvrex::windows1252 {

// Windows-1252 ("ANSI"), the code page scripts are written in. The table
// agrees with ICU's "windows-1252" converter, including the five unassigned
// bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which stand for the C1 characters
// of the same value.

// The byte for a code point, or -1 when the code page has none.
int byteFor(char32_t codePoint);

// The code point a byte stands for.
char32_t codePointFor(unsigned char byte);

} // namespace lumvrex::windows1252
