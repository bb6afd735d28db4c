#include "i18n/messages.h"

namespace lumvrex {

std::string withThousands(unsigned long long number)
{
    const std::string digits = std::to_string(number);
    // TRANSLATORS: what groups the thousands of a number, as in 32,767.
    const std::string_view separator = localized("number", ",");
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

} // namespace lumvrex
