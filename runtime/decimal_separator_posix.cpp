#include "runtime/decimal_separator.h"

#include <clocale>

namespace lumvrex {

std::string userDecimalSeparator()
{
    // setlocale changes the whole process; the numeric locale is put back so
    // that nothing else (number parsing among it) sees the user's settings.
    const char *current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = current ? current : "C";
    std::string separator = ".";
    if (std::setlocale(LC_NUMERIC, "")) {
        if (const std::lconv *conventions = std::localeconv(); conventions && conventions->decimal_point)
            separator = conventions->decimal_point;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
    return separator;
}

} // namespace lumvrex
