#include "runtime/decimal_separator.h"

#include "runtime/windows_text.h"

#include <windows.h>

namespace lumvrex {

std::string userDecimalSeparator()
{
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0)
        return ".";
    return utf8FromWide(separator);
}

} // namespace lumvrex
