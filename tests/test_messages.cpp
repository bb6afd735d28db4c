// The message catalogue's reader, its plural forms and the placeholders,
// against catalogues that GNU msgfmt compiled (tests/data/catalogue-test.po
// in both byte orders) and, on Linux, against the C library's own gettext.
#include "i18n/message_format.h"
#include "i18n/mo_catalog.h"

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

    EXPECT_EQ(catalogue->find("", "plain"), "sin contexto");
    EXPECT_EQ(catalogue->find("button", "Open"), "Abrir");
    EXPECT_EQ(catalogue->find("menu", "Open"), "Abrir…");
    EXPECT_EQ(catalogue->find("", "Open"), std::nullopt);
    EXPECT_EQ(catalogue->find("dialog", "Open"), std::nullopt);
    EXPECT_EQ(catalogue->find("button", "Ope"), std::nullopt);
    EXPECT_EQ(catalogue->find("list", "untranslated"), std::nullopt);
    EXPECT_EQ(catalogue->find("list", "fuzzy"), std::nullopt);
    EXPECT_EQ(catalogue->find("message", "Could not write \"%1$s\": %2$s."),
              "No se pudo escribir: %2$s («%1$s»).");

    for (const unsigned long n : {0ul, 1ul, 2ul, 32767ul})
        EXPECT_EQ(catalogue->findPlural("list", "%d page", n), n == 1 ? "%d página" : "%d páginas") << n;
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

// The header's Plural-Forms, rewritten in place to others of the same length.
struct PluralFormsCase
{
    const char *name;
    const char *header;
    bool taken; // with English's forms, or refused
};

class PluralForms : public ::testing::TestWithParam<PluralFormsCase>
{
};

TEST_P(PluralForms, AreTheReadersOwnOrRefused)
{
    const std::string given = "Plural-Forms: nplurals=2; plural=(n != 1);";
    std::string text =
        testing::readWholeFile(std::string(LUMVREX_TEST_CATALOGUES) + "/catalogue-test-little.mo");
    const std::size_t at = text.find(given);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::string_view(GetParam().header).size(), given.size());
    text.replace(at, given.size(), GetParam().header);
    const auto bytes = bytesOf(text);
    const auto catalogue = MoCatalog::parse(bytes);
    ASSERT_EQ(catalogue.has_value(), GetParam().taken);
    if (catalogue) {
        for (const unsigned long n : {0ul, 1ul, 2ul, 32767ul})
            EXPECT_EQ(catalogue->findPlural("list", "%d page", n), n == 1 ? "%d página" : "%d páginas") << n;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PluralForms,
    ::testing::Values(PluralFormsCase{"Spanish", "Plural-Forms: nplurals=2; plural=(n != 1);", true},
                      PluralFormsCase{"BlanksAround", "Plural-Forms:nplurals=2; plural=(n != 1); ", true},
                      PluralFormsCase{"None", "Plural-Formz: nplurals=2; plural=(n != 1);", true},
                      PluralFormsCase{"French", "Plural-Forms: nplurals=2; plural=(n >  1);", false},
                      PluralFormsCase{"Japanese", "Plural-Forms: nplurals=1; plural=0;       ", false},
                      PluralFormsCase{"Empty", "Plural-Forms:                             ", true}),
    [](const auto &info) { return std::string(info.param.name); });

#ifndef _WIN32
// Every entry as glibc's gettext reads the same file.
TEST(Catalogue, AgreesWithTheCLibrary)
{
    const auto bytes = testCatalogue("little");
    const auto catalogue = MoCatalog::parse(bytes);
    ASSERT_TRUE(catalogue.has_value());
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
    // LANGUAGE is honoured for any locale but C itself.
    setenv("LANGUAGE", "es", 1);
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
            for (unsigned long n : {0ul, 1ul, 2ul, 22ul}) {
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
