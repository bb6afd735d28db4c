#include "publication/single_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lumvrex {
namespace {

#if defined(__SIZEOF_INT128__) && !defined(LUMVREX_NO_INT128)
__extension__ using Wide = unsigned __int128;
#else
// 128 bits in two halves, where the compiler has no unsigned __int128 (32-bit
// x86): only what sevenDigitsIn() does with it, a product of at most 64 by
// 64 bits among it.
class Wide
{
public:
    constexpr Wide(std::uint64_t low = 0)
        : m_low(low)
    { }

    explicit constexpr operator std::uint64_t() const { return m_low; }

    friend constexpr Wide operator*(Wide a, std::uint64_t b)
    {
        constexpr std::uint64_t kLow32 = 0xFFFFFFFF;
        const std::uint64_t a0 = a.m_low & kLow32, a1 = a.m_low >> 32;
        const std::uint64_t b0 = b & kLow32, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);
        Wide product;
        product.m_low = (middle << 32) | (p00 & kLow32);
        product.m_high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32) + a.m_high * b;
        return product;
    }
    friend constexpr Wide operator<<(Wide a, int count)
    {
        if (count >= 64) {
            a.m_high = a.m_low << (count - 64);
            a.m_low = 0;
        } else if (count > 0) {
            a.m_high = (a.m_high << count) | (a.m_low >> (64 - count));
            a.m_low <<= count;
        }
        return a;
    }
    friend constexpr Wide operator>>(Wide a, int count)
    {
        if (count >= 64) {
            a.m_low = a.m_high >> (count - 64);
            a.m_high = 0;
        } else if (count > 0) {
            a.m_low = (a.m_low >> count) | (a.m_high << (64 - count));
            a.m_high >>= count;
        }
        return a;
    }
    friend constexpr Wide operator&(Wide a, Wide b)
    {
        a.m_high &= b.m_high;
        a.m_low &= b.m_low;
        return a;
    }
    friend constexpr Wide operator-(Wide a, Wide b)
    {
        Wide difference;
        difference.m_low = a.m_low - b.m_low;
        difference.m_high = a.m_high - b.m_high - (a.m_low < b.m_low ? 1 : 0);
        return difference;
    }
    friend constexpr bool operator<(const Wide &a, const Wide &b)
    {
        return a.m_high != b.m_high ? a.m_high < b.m_high : a.m_low < b.m_low;
    }
    friend constexpr bool operator>(const Wide &a, const Wide &b) { return b < a; }
    friend constexpr bool operator>=(const Wide &a, const Wide &b) { return !(a < b); }
    friend constexpr bool operator==(const Wide &a, const Wide &b)
    {
        return a.m_high == b.m_high && a.m_low == b.m_low;
    }

private:
    std::uint64_t m_high = 0;
    std::uint64_t m_low;
};
#endif

constexpr int kDigits = 7;
constexpr std::uint64_t kLowestSevenDigits = 1'000'000;
constexpr std::uint64_t kPastSevenDigits = 10'000'000;

constexpr auto kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

std::size_t copy(char *out, std::string_view text)
{
    std::copy(text.begin(), text.end(), out);
    return text.size();
}

// Any value: to_chars is exact and correctly rounded, and its %g style takes
// an exponent below 1E-04 and from 1E+07, as wanted.
std::size_t formatGeneral(float value, char decimalSeparator, char *out)
{
    if (std::isnan(value))
        return copy(out, "NaN");
    if (std::isinf(value))
        return copy(out, value < 0 ? "-Infinity" : "Infinity");
    const auto result =
        std::to_chars(out, out + kMaxSingleTextLength, value, std::chars_format::general, kDigits);
    for (char *at = out; at != result.ptr; ++at) {
        if (*at == 'e')
            *at = 'E';
        else if (*at == '.')
            *at = decimalSeparator;
    }
    return static_cast<std::size_t>(result.ptr - out);
}

// The seven digits of a positive value and its decimal exponent, from exact
// integer arithmetic: value = mantissa * 2^-shift, and the digits are
// mantissa * 10^(6 - exponent) / 2^shift rounded half to even. Page effects
// all lie in the range this covers, where it is several times faster than
// the general route.
struct SevenDigits
{
    std::uint64_t digits; // 1000000..9999999
    int exponent;         // of the first digit
};

template <typename Integer> SevenDigits sevenDigitsIn(std::uint32_t mantissa, int shift, int exponent)
{
    Integer scaled = 0;
    for (;;) {
        scaled = Integer(mantissa) * kPowersOfTen[static_cast<std::size_t>(kDigits - 1 - exponent)];
        if (scaled < Integer(kLowestSevenDigits) << shift)
            --exponent;
        else if (scaled >= Integer(kPastSevenDigits) << shift)
            ++exponent;
        else
            break;
    }
    auto digits = static_cast<std::uint64_t>(scaled >> shift);
    if (shift > 0) {
        const Integer rest = scaled & ((Integer(1) << shift) - 1);
        const Integer half = Integer(1) << (shift - 1);
        if (rest > half || (rest == half && (digits & 1) != 0))
            ++digits;
    }
    if (digits == kPastSevenDigits) {
        digits = kLowestSevenDigits;
        ++exponent;
    }
    return {digits, exponent};
}

SevenDigits sevenDigits(std::uint32_t mantissa, int shift)
{
    const int binaryExponent = 23 - shift; // of the mantissa's top bit
    // floor(log10(2^binaryExponent)), at most one off; the loop mends it.
    const int exponent = (binaryExponent * 1233) >> 12;
    // From about 7.6E-06 up, the products and bounds fit in 64 bits.
    if (shift <= 40 && exponent >= -5)
        return sevenDigitsIn<std::uint64_t>(mantissa, shift, exponent);
    return sevenDigitsIn<Wide>(mantissa, shift, exponent);
}

// "00".."99", for two digits at a time.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Copies count (at most 8) bytes: all eight are written, a fixed-size copy
// being cheaper than a loop; out has room for them.
void copyBytes(char *&to, const char *from, int count)
{
    std::memcpy(to, from, 8);
    to += count;
}

std::size_t formatDigits(bool negative, SevenDigits value, char decimalSeparator, char *out)
{
    // Seven digits: one, then three pairs; room behind them for copyBytes().
    char digits[16] = {};
    const auto high = static_cast<std::uint32_t>(value.digits / 1'000'000);
    auto low = static_cast<std::uint32_t>(value.digits % 1'000'000);
    digits[0] = static_cast<char>('0' + high);
    for (int pair = 2; pair >= 0; --pair) {
        const std::size_t two = low % 100;
        low /= 100;
        digits[1 + 2 * pair] = kDigitPairs[2 * two];
        digits[2 + 2 * pair] = kDigitPairs[2 * two + 1];
    }
    int significant = kDigits;
    while (significant > 1 && digits[significant - 1] == '0')
        --significant;

    char *at = out;
    if (negative)
        *at++ = '-';
    const int exponent = value.exponent;
    if (exponent < -4 || exponent >= kDigits) {
        *at++ = digits[0];
        if (significant > 1) {
            *at++ = decimalSeparator;
            copyBytes(at, digits + 1, significant - 1);
        }
        *at++ = 'E';
        *at++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        *at++ = static_cast<char>('0' + magnitude / 10);
        *at++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent >= 0) {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i)
            *at++ = i < significant ? digits[i] : '0';
        if (significant > whole) {
            *at++ = decimalSeparator;
            copyBytes(at, digits + whole, significant - whole);
        }
    } else {
        *at++ = '0';
        *at++ = decimalSeparator;
        for (int i = -1; i > exponent; --i)
            *at++ = '0';
        copyBytes(at, digits, significant);
    }
    return static_cast<std::size_t>(at - out);
}

} // namespace

std::size_t formatSingle(float value, char decimalSeparator, char *out)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const bool negative = (bits >> 31) != 0;
    const int biasedExponent = static_cast<int>((bits >> 23) & 0xFF);
    if (biasedExponent == 0 && (bits & 0x7FFFFF) == 0) {
        *out = '0'; // negative zero too
        return 1;
    }
    // Normal numbers from 2^-40 (about 9.1E-13) up to below 2^23: the integer
    // arithmetic stays within 128 bits there.
    const int shift = 150 - biasedExponent;
    if (shift < 1 || shift > 63)
        return formatGeneral(value, decimalSeparator, out);
    const std::uint32_t mantissa = (bits & 0x7FFFFF) | 0x800000;
    return formatDigits(negative, sevenDigits(mantissa, shift), decimalSeparator, out);
}

std::string singleToText(float value, char decimalSeparator)
{
    char text[kMaxSingleTextLength];
    return {text, formatSingle(value, decimalSeparator, text)};
}

} // namespace lumvrex
