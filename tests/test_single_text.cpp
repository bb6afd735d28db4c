// Number text: a table of chosen values, every page effect the effect source
// can produce against a slow, plainly right reference, and random numbers
// across the whole range against the standard library's own rounding.
#include "publication/page_effect_source.h"
#include "publication/page_effect_text.h"
#include "publication/script_decimal_separator.h"
#include "publication/single_text.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>

namespace lumvrex {
namespace {

struct TextCase
{
    const char *name;
    float value;
    char separator;
    const char *expected;
};

class SingleText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(SingleText, HasSevenDigitsAtMost)
{
    EXPECT_EQ(singleToText(GetParam().value, GetParam().separator), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleText,
    ::testing::Values(TextCase{"zero", 0.0f, '.', "0"}, TextCase{"negative_zero", -0.0f, '.', "0"},
                      TextCase{"whole", 7.0f, '.', "7"}, TextCase{"half_with_leading_zero", 0.5f, '.', "0.5"},
                      TextCase{"seven_digits_kept", 7.234567f, '.', "7.234567"},
                      TextCase{"eighth_digit_rounded", 1.2345678f, '.', "1.234568"},
                      TextCase{"tie_to_even_down", 1.0078125f, '.', "1.007812"},
                      TextCase{"tie_to_even_up", 1.0234375f, '.', "1.023438"},
                      TextCase{"just_below_15_rounds_up", std::nextafter(15.0f, 0.0f), '.', "15"},
                      TextCase{"rounding_carries_through_nines", std::nextafter(2.0f, 0.0f), '.', "2"},
                      TextCase{"0.0001_is_still_plain", 0.0001f, '.', "0.0001"},
                      TextCase{"below_0.0001_takes_an_exponent", 0x1p-24f * 15.0f, '.', "8.940697E-07"},
                      TextCase{"large_takes_an_exponent", 12345678.0f, '.', "1.234568E+07"},
                      TextCase{"seven_digit_whole_number", 1234567.0f, '.', "1234567"},
                      TextCase{"rounds_up_to_an_exponent", 9999999.5f, '.', "1E+07"},
                      TextCase{"negative", -2.25f, '.', "-2.25"},
                      TextCase{"tiny_denormal", 1e-45f, '.', "1.401298E-45"},
                      TextCase{"largest", 3.4028235e38f, '.', "3.402823E+38"},
                      TextCase{"infinity", INFINITY, '.', "Infinity"}, TextCase{"nan", NAN, '.', "NaN"},
                      TextCase{"comma", 1.5f, ',', "1,5"},
                      TextCase{"comma_with_exponent", 0x1p-24f * 15.0f, ',', "8,940697E-07"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

// The text of n / 2^24 by long division, exact to the last digit, then cut
// to seven significant digits by rounding the decimal string half to even.
std::string referenceEffectText(std::uint32_t numerator)
{
    if (numerator == 0)
        return "0";
    std::string digits = std::to_string(numerator >> 24);
    std::uint64_t rest = numerator & 0xFFFFFF;
    const std::size_t wholeDigits = digits == "0" ? 0 : digits.size();
    if (digits == "0")
        digits.clear();
    while (rest != 0) {
        rest *= 10;
        digits += static_cast<char>('0' + (rest >> 24));
        rest &= 0xFFFFFF;
    }
    // Position of the first significant digit; the decimal exponent follows.
    const std::size_t first = digits.find_first_not_of('0');
    int exponent = static_cast<int>(wholeDigits) - 1 - static_cast<int>(first);
    std::string significant = digits.substr(first);
    if (significant.size() > 7) {
        const bool up = significant[7] > '5'
            || (significant[7] == '5'
                && (significant.find_first_not_of('0', 8) != std::string::npos
                    || (significant[6] - '0') % 2 == 1));
        significant.resize(7);
        if (up) {
            std::size_t at = 7;
            while (at > 0 && significant[at - 1] == '9')
                significant[--at] = '0';
            if (at == 0) {
                significant.insert(significant.begin(), '1');
                significant.pop_back();
                ++exponent;
            } else {
                ++significant[at - 1];
            }
        }
    }
    while (significant.size() > 1 && significant.back() == '0')
        significant.pop_back();
    if (exponent < -4) {
        std::string text = significant.substr(0, 1);
        if (significant.size() > 1)
            text += "." + significant.substr(1);
        return text + "E-0" + std::to_string(-exponent);
    }
    if (exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + significant;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (significant.size() <= whole)
        return significant + std::string(whole - significant.size(), '0');
    return significant.substr(0, whole) + "." + significant.substr(whole);
}

TEST(PageEffectText, EveryPossibleEffectMatchesTheReference)
{
    // Effects are r * 15 in single precision with r = k / 2^24: always a whole
    // number of 2^-24, so the reference works on that numerator.
    int mismatches = 0;
    for (std::uint32_t k = 0; k < (1u << 24); ++k) {
        const float effect = pageEffectValue(static_cast<float>(k) * 0x1p-24f);
        const auto numerator = static_cast<std::uint32_t>(std::ldexp(static_cast<double>(effect), 24));
        ASSERT_EQ(static_cast<double>(numerator), std::ldexp(static_cast<double>(effect), 24)) << k;
        char text[kMaxPageEffectLength];
        const std::string ours(text, formatSingle(effect, '.', text));
        const std::string expected = referenceEffectText(numerator);
        if (ours != expected && ++mismatches <= 5)
            ADD_FAILURE() << "k=" << k << ": " << ours << " instead of " << expected;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(PageEffectText, AgreesWithTheStandardLibraryOnRandomNumbers)
{
    std::mt19937 random(2026);
    for (int i = 0; i < 2'000'000; ++i) {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        char expected[32];
        char *end =
            std::to_chars(expected, expected + sizeof expected, value, std::chars_format::general, 7).ptr;
        std::string text(expected, end);
        for (char &c : text)
            c = c == 'e' ? 'E' : c;
        if (text == "-0")
            text = "0";
        ASSERT_EQ(singleToText(value), text) << std::bit_cast<std::uint32_t>(value);
    }
}

struct EffectCase
{
    const char *name;
    float effect;
    char separator;
    const char *expected;
};

class EffectText : public ::testing::TestWithParam<EffectCase>
{
};

TEST_P(EffectText, NeverSaysFifteen)
{
    char text[kMaxPageEffectLength];
    EXPECT_EQ(std::string(text, formatPageEffect(GetParam().effect, GetParam().separator, text)),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectText,
    ::testing::Values(EffectCase{"zero", 0.0f, '.', "0"}, EffectCase{"plain", 7.234567f, '.', "7.234567"},
                      EffectCase{"14.99999_stays", 14.99999f, '.', "14.99999"},
                      EffectCase{"largest_below_15", std::nextafter(15.0f, 0.0f), '.', "14.99999"},
                      EffectCase{"largest_below_15_with_a_comma", std::nextafter(15.0f, 0.0f), ',',
                                 "14,99999"},
                      EffectCase{"tiny", 8.940697e-07f, '.', "8.940697E-07"},
                      EffectCase{"comma", 7.234567f, ',', "7,234567"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

TEST(PageEffectValue, StaysBelowFifteen)
{
    EXPECT_EQ(pageEffectValue(unitFromBits(0)), 0.0f);
    EXPECT_LT(pageEffectValue(unitFromBits(0xFFFFFFFFu)), 15.0f);
    EXPECT_EQ(pageEffectValue(unitFromBits(0x80000000u)), 7.5f);
}

TEST(SeededEffectSource, IsTheStandardMersenneTwister)
{
    // Seed 1 gives mt19937's first output 1791095845 on every platform.
    SeededEffectSource effects(1);
    effects.reseed();
    EXPECT_EQ(effects.next(), unitFromBits(1791095845u));
}

struct SeparatorCase
{
    const char *name;
    const char *separator;
    char expected;
};

class ScriptDecimalSeparator : public ::testing::TestWithParam<SeparatorCase>
{
};

TEST_P(ScriptDecimalSeparator, IsOnePrintableByte)
{
    EXPECT_EQ(scriptDecimalSeparator(GetParam().separator), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptDecimalSeparator,
                         ::testing::Values(SeparatorCase{"point", ".", '.'}, SeparatorCase{"comma", ",", ','},
                                           SeparatorCase{"middle_dot", "·", '\xB7'},
                                           SeparatorCase{"arabic_not_8_bit", "٫", '.'},
                                           SeparatorCase{"two_characters", ",,", '.'},
                                           SeparatorCase{"empty", "", '.'}, SeparatorCase{"space", " ", '.'},
                                           SeparatorCase{"not_utf8", "\xFF", '.'}),
                         [](const auto &info) { return testing::caseName(info.param.name); });

} // namespace
} // namespace lumvrex
