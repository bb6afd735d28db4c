// The message catalogue's reader, its plural rules and the placeholders,
// against catalogues that GNU msgfmt compiled (tests/data/catalogue-test.po
// in both byte orders) and, on Linux, against the C library's own gettext.
#include "i18n/message_format.h"
#include "i18n/mo_catalog.h"
#include "i18n/plural_rule.h"

#include "support/files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <clocale>
#include <cstdlib>
#include <libintl.h>
#endif

#include <optional>
#include <string>
#include <vector>

namespace lumvrex {
namespace {

std::vector<unsigned char> bytesOf(const std::string &text)
{
    return {text.begin(), text.end()};
}

std::vector<unsigned char> testCatalogue(const char *byteOrder)
{
    return bytesOf(testing::readWholeFile(std::string(LUMVREX_TEST_CATALOGUES) + "/catalogue-test-"
                                          + byteOrder + ".mo"));
}

struct PluralCase
{
    const char *name;
    const char *expression;
    std::vector<std::pair<unsigned long, unsigned long>> formsForN;
};

class PluralRules : public ::testing::TestWithParam<PluralCase>
{
};

TEST_P(PluralRules, PickTheFormGettextDocumentsForEachN)
{
    const auto rule = PluralRule::parse(GetParam().expression);
    ASSERT_TRUE(rule.has_value());
    for (const auto &[n, form] : GetParam().formsForN)
        EXPECT_EQ(rule->formFor(n), form) << "n = " << n;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, PluralRules,
    ::testing::Values(
        PluralCase{"English_Spanish", "(n != 1)", {{0, 1}, {1, 0}, {2, 1}, {32767, 1}}},
        PluralCase{"French", "(n > 1)", {{0, 0}, {1, 0}, {2, 1}}},
        PluralCase{"Japanese", "0", {{0, 0}, {1, 0}, {5, 0}}},
        PluralCase{"Polish",
                   "(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)",
                   {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {12, 2}, {14, 2}, {22, 1}, {25, 2}, {112, 2}, {122, 1}}},
        PluralCase{"Russian",
                   "(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)",
                   {{1, 0}, {11, 2}, {21, 0}, {3, 1}, {13, 2}, {100, 2}}},
        PluralCase{"Arabic",
                   "(n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5)",
                   {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {10, 3}, {11, 4}, {99, 4}, {100, 5}, {102, 5}}},
        PluralCase{"NegationAndArithmetic", "!(n - 1) + n / 2 * 0", {{1, 1}, {2, 0}}},
        PluralCase{"DivisionByZeroIsZero", "n / 0 + n % 0", {{7, 0}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PluralRules, RefuseWhatIsNotAnExpression)
{
    for (const char *broken : {"", "(", "n !=", "n ? 1", "n ? 1 :", "(n != 1", "n != 1)", "x", "n = 1",
                               "n <> 1", "1 2", "n && && n"})
        EXPECT_FALSE(PluralRule::parse(broken).has_value()) << broken;
    // Nesting deep enough to exhaust a careless parser's stack.
    EXPECT_FALSE(PluralRule::parse(std::string(100000, '(') + "n" + std::string(100000, ')')).has_value());
    EXPECT_FALSE(PluralRule::parse(std::string(100000, '!') + "n").has_value());
}

TEST(PluralRules, DefaultIsEnglish)
{
    const PluralRule english;
    EXPECT_EQ(english.formFor(1), 0u);
    EXPECT_EQ(english.formFor(0), 1u);
    EXPECT_EQ(english.formFor(2), 1u);
}

struct FormatCase
{
    const char *name;
    const char *pattern;
    std::vector<std::string_view> arguments;
    const char *expected;
};

class FormatMessage : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatMessage, FillsPlaceholders)
{
    const auto &c = GetParam();
    std::string out;
    switch (c.arguments.size()) {
    case 0:
        out = formatMessage(c.pattern, {});
        break;
    case 1:
        out = formatMessage(c.pattern, {c.arguments[0]});
        break;
    default:
        out = formatMessage(c.pattern, {c.arguments[0], c.arguments[1]});
        break;
    }
    EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatMessage,
    ::testing::Values(FormatCase{"InOrder",
                                 "Could not write \"%s\": %s.",
                                 {"a.pub", "Disk full"},
                                 "Could not write \"a.pub\": Disk full."},
                      FormatCase{"Numbered", "%2$s (%1$s)", {"first", "second"}, "second (first)"},
                      FormatCase{"Number", "%d pages", {"40"}, "40 pages"},
                      FormatCase{"Percent", "100%% sure, %s", {"yes"}, "100% sure, yes"},
                      FormatCase{"ArgumentHoldsPercent", "%s and %s", {"%s", "%d"}, "%s and %d"},
                      FormatCase{"MissingArgumentStays", "%s then %s", {"one"}, "one then %s"},
                      FormatCase{"NumberPastTheEnd", "%3$s", {"a", "b"}, "%3$s"},
                      FormatCase{"UnknownDirectiveStays", "%x %", {}, "%x %"},
                      FormatCase{"ZeroPositionIsNoPlaceholder", "%0$s", {"a"}, "%0$s"},
                      FormatCase{"TrailingPercent", "50%", {}, "50%"},
                      FormatCase{"Utf8Untouched", "«%s»", {"Cádiz"}, "«Cádiz»"}),
    [](const auto &info) { return std::string(info.param.name); });

class Catalogue : public ::testing::TestWithParam<const char *>
{
};

TEST_P(Catalogue, FindsContextsPluralsAndNothingElse)
{
    const auto bytes = testCatalogue(GetParam());
    const auto catalogue = MoCatalog::parse(bytes);
    ASSERT_TRUE(catalogue.has_value());

    EXPECT_EQ(catalogue->find("", "plain"), "bez kontekstu");
    EXPECT_EQ(catalogue->find("button", "Open"), "Otwórz");
    EXPECT_EQ(catalogue->find("menu", "Open"), "Otwórz…");
    EXPECT_EQ(catalogue->find("", "Open"), std::nullopt);
    EXPECT_EQ(catalogue->find("dialog", "Open"), std::nullopt);
    EXPECT_EQ(catalogue->find("button", "Ope"), std::nullopt);
    EXPECT_EQ(catalogue->find("list", "untranslated"), std::nullopt);
    EXPECT_EQ(catalogue->find("list", "fuzzy"), std::nullopt);
    EXPECT_EQ(catalogue->find("message", "Could not write \"%1$s\": %2$s."),
              "Nie można zapisać: %2$s (\"%1$s\").");

    const std::vector<std::pair<unsigned long, const char *>> pages = {
        {1, "%d strona"}, {3, "%d strony"}, {5, "%d stron"}, {22, "%d strony"}, {32767, "%d stron"}};
    for (const auto &[n, form] : pages)
        EXPECT_EQ(catalogue->findPlural("list", "%d page", n), form) << n;
    EXPECT_EQ(catalogue->findPlural("list", "%d pages", 3), std::nullopt);
    EXPECT_EQ(catalogue->findPlural("", "%d page", 3), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Catalogue, ::testing::Values("little", "big"),
                         [](const auto &info) { return std::string(info.param); });

TEST(Catalogue, RefusesEveryCutAndDamageWithoutReadingPastIt)
{
    const auto whole = testCatalogue("little");
    ASSERT_TRUE(MoCatalog::parse(whole).has_value());
    // The last string's NUL is the file's last byte: every cut loses it.
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(MoCatalog::parse(std::span(whole.data(), size)).has_value()) << size;

    auto damaged = whole;
    damaged[0] ^= 0x01; // magic
    EXPECT_FALSE(MoCatalog::parse(damaged).has_value());
    damaged = whole;
    damaged[6] = 0x01; // major revision 1
    EXPECT_FALSE(MoCatalog::parse(damaged).has_value());
    damaged = whole;
    damaged[11] = 0x40; // a count whose tables would pass the end
    EXPECT_FALSE(MoCatalog::parse(damaged).has_value());
    // Every single byte of the tables set to 0xFF: refused, or still a
    // catalogue whose lookups stay inside it (the sanitizers watch).
    const std::uint32_t tablesEnd = 28 + 2 * 8 * 8;
    for (std::uint32_t at = 8; at < tablesEnd && at < whole.size(); ++at) {
        damaged = whole;
        damaged[at] = 0xFF;
        if (const auto catalogue = MoCatalog::parse(damaged)) {
            (void)catalogue->find("button", "Open");
            (void)catalogue->findPlural("list", "%d page", 3);
        }
    }
}

TEST(Catalogue, LosesPluralsToABrokenRule)
{
    std::string text =
        testing::readWholeFile(std::string(LUMVREX_TEST_CATALOGUES) + "/catalogue-test-little.mo");
    const std::size_t rule = text.find("plural=(n==1");
    ASSERT_NE(rule, std::string::npos);
    text[rule + 8] = '#'; // "plural=(#==1 ..."
    EXPECT_FALSE(MoCatalog::parse(bytesOf(text)).has_value());
}

#ifndef _WIN32
// Every entry as glibc's gettext reads the same file.
TEST(Catalogue, AgreesWithTheCLibrary)
{
    const auto bytes = testCatalogue("little");
    const auto catalogue = MoCatalog::parse(bytes);
    ASSERT_TRUE(catalogue.has_value());
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
    // LANGUAGE is honoured for any locale but C itself.
    setenv("LANGUAGE", "pl", 1);
    bindtextdomain("catalogue-test", LUMVREX_TEST_CATALOGUES "/locale");
    bind_textdomain_codeset("catalogue-test", "UTF-8");
    int checked = 0;
    for (std::uint32_t i = 0; i < catalogue->size(); ++i) {
        const std::string key(catalogue->original(i));
        if (key.empty())
            continue; // the header
        const std::string_view translation = catalogue->translation(i);
        if (translation.find('\0') == std::string_view::npos) {
            EXPECT_STREQ(dgettext("catalogue-test", key.c_str()), std::string(translation).c_str()) << key;
        } else {
            for (unsigned long n : {1ul, 3ul, 5ul, 22ul}) {
                const auto ours = catalogue->findPlural("list", "%d page", n);
                ASSERT_TRUE(ours.has_value());
                EXPECT_EQ(dngettext("catalogue-test", key.c_str(), "%d pages", n), *ours) << n;
            }
        }
        ++checked;
    }
    EXPECT_EQ(checked, 5);
    unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, "C");
}
#endif

} // namespace
} // namespace lumvrex
