#include "publication/page_effect_text.h"

#include <cstring>

namespace lumvrex {

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
