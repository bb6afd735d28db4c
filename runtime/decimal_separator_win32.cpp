#include "runtime/decimal_separator.h"

#include "runtime/windows_text.h"

#include <windows.h>

namespace lumvrex {

std::string userDecimalSeparator()
{
    // LOCALE_USER_DEFAULT rather than a locale name: Windows XP has no
    // GetLocaleInfoEx.
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0)
        return ".";
    return utf8FromWide(separator);
}

} // namespace lumvrex
