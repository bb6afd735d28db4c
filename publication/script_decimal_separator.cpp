#include "publication/script_decimal_separator.h"

#include "runtime/utf8.h"
#include "runtime/windows1252.h"

namespace lumvrex {

char scriptDecimalSeparator(std::string_view separator)
{
    if (separator.empty())
        return '.';
    const utf8::Decoded read = utf8::decode(separator, 0);
    if (!read.valid || read.length != separator.size())
        return '.';
    const int byte = windows1252::byteFor(read.codePoint);
    if (byte <= 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xA0))
        return '.';
    return static_cast<char>(byte);
}

} // namespace lumvrex
