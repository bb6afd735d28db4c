#include "publication/single_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace lumvrex {
namespace {

std::size_t copy(char *out, std::string_view text)
{
    std::copy(text.begin(), text.end(), out);
    return text.size();
}

} // namespace

std::size_t formatSingle(float value, char decimalSeparator, char *out)
{
    if (value == 0)
        return copy(out, "0"); // negative zero too
    if (std::isnan(value))
        return copy(out, "NaN");
    if (std::isinf(value))
        return copy(out, value < 0 ? "-Infinity" : "Infinity");
    // to_chars is exact and correctly rounded, and its %g style takes an
    // exponent below 1E-04 and from 1E+07, as wanted.
    const auto result = std::to_chars(out, out + kMaxSingleTextLength, value, std::chars_format::general, 7);
    for (char *at = out; at != result.ptr; ++at) {
        if (*at == 'e')
            *at = 'E';
        else if (*at == '.')
            *at = decimalSeparator;
    }
    return static_cast<std::size_t>(result.ptr - out);
}

float pageEffectValue(float unit)
{
    return unit * 15.0f;
}

std::size_t formatPageEffect(float effect, char decimalSeparator, char *out)
{
    const std::size_t length = formatSingle(effect, decimalSeparator, out);
    if (length != 2 || std::memcmp(out, "15", 2) != 0)
        return length;
    std::memcpy(out, "14.99999", 8);
    out[2] = decimalSeparator;
    return 8;
}

} // namespace lumvrex
