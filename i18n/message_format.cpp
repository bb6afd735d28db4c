#include "i18n/message_format.h"

namespace lumvrex {

std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string out;
    out.reserve(pattern.size() + 64);
    std::size_t next = 0;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t percent = pattern.find('%', at);
        if (percent == std::string_view::npos) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, percent - at));
        std::size_t cursor = percent + 1;
        if (cursor < pattern.size() && pattern[cursor] == '%') {
            out.push_back('%');
            at = cursor + 1;
            continue;
        }
        // An optional "N$" picks the argument by its number.
        std::size_t position = 0;
        std::size_t digits = cursor;
        while (digits < pattern.size() && pattern[digits] >= '0' && pattern[digits] <= '9'
               && digits - cursor < 3)
            position = position * 10 + static_cast<std::size_t>(pattern[digits++] - '0');
        const bool numbered =
            digits > cursor && digits < pattern.size() && pattern[digits] == '$' && position > 0;
        if (numbered)
            cursor = digits + 1;
        if (cursor < pattern.size() && (pattern[cursor] == 's' || pattern[cursor] == 'd')) {
            const std::size_t index = numbered ? position - 1 : next++;
            if (index < arguments.size()) {
                out.append(arguments.begin()[index]);
                at = cursor + 1;
                continue;
            }
        }
        // Not a placeholder this formatter fills: keep the percent sign.
        out.push_back('%');
        at = percent + 1;
    }
    return out;
}

} // namespace lumvrex
