// lumvrex-cli in English and in Spanish: each message as the catalogue that
// the build compiled from po/es.po has it, and the same script in both.
// Under Wine a program started by another takes its language from the Wine
// session, not from LC_ALL: there the English cases run in an English
// session and the Spanish ones in a Spanish session (scripts/test-windows).
#include "i18n/message_format.h"
#include "support/catalogue_text.h"
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <functional>

#ifndef _WIN32
#include <cerrno>
#include <clocale>
#include <cstring>
#endif

namespace lumvrex {
namespace {

using testing::readWholeFile;
using testing::runCli;
using testing::TemporaryFolder;

// What a user of each language reads, and how lumvrex-cli is started to
// speak it.
class Language
{
public:
    explicit Language(bool spanish)
        : m_text(spanish, LUMVREX_SPANISH_CATALOGUE, [](const std::string &miss) { ADD_FAILURE() << miss; })
    { }

    bool valid() const { return m_text.valid(); }
    // The C locale speaks English even to a user whose LANGUAGE is Spanish,
    // so that scripts reading the messages keep working.
    std::vector<std::string> environment() const
    {
        if (m_text.spanish())
            return {"LC_ALL=es_ES.UTF-8"};
        return {"LC_ALL=C.UTF-8", "LANGUAGE=es"};
    }

    std::string text(const char *context, const char *english) const { return m_text.text(context, english); }
    std::string count(const char *context, const char *one, const char *many, unsigned long n) const
    {
        return m_text.count(context, one, many, n);
    }
#ifndef _WIN32
    // The system's own reason, in the language the program runs in.
    std::string systemReason(int error) const
    {
        const locale_t locale =
            ::newlocale(LC_MESSAGES_MASK, m_text.spanish() ? "es_ES.UTF-8" : "C.UTF-8", nullptr);
        EXPECT_NE(locale, locale_t{});
        std::string reason = locale ? ::strerror_l(error, locale) : std::strerror(error);
        if (locale)
            ::freelocale(locale);
        return reason;
    }
#endif
    std::string thousands(unsigned long n) const
    {
        return m_text.thousands(n);
    }
    std::string usageError(const std::string &message) const
    {
        return "lumvrex-cli: " + message + "\n"
            + formatMessage(text("usage error", "Try '%s --help' for more information."), {"lumvrex-cli"})
            + "\n";
    }

private:
    testing::CatalogueText m_text;
};

struct MessageCase
{
    const char *name;
    // Writes what the case needs into the folder and gives the arguments.
    std::function<std::vector<std::string>(const TemporaryFolder &)> arguments;
    int exitCode;
    std::function<std::string(const Language &, const TemporaryFolder &)> expectedError;
};

void PrintTo(const MessageCase &c, std::ostream *out)
{
    *out << c.name;
}

std::string listName(const Language &language, const TemporaryFolder &folder)
{
    return formatMessage(language.text("list", "the list \"%s\""), {utf8FromPath(folder / "list.txt")});
}

std::vector<std::string> withList(const TemporaryFolder &folder, const std::string &list)
{
    testing::writeWholeFile(folder / "list.txt", list);
    return {"-o", utf8FromPath(folder / "out.pub"), "--files-from", utf8FromPath(folder / "list.txt")};
}

const MessageCase kMessageCases[] = {
    {"UnknownOption",
     [](const TemporaryFolder &) {
         return std::vector<std::string>{"-o", "x.pub", "--bogus"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(
             formatMessage(l.count("usage error", "The following argument was not expected: %s",
                                   "The following arguments were not expected: %s", 1),
                           {"--bogus"}));
     }},
    {"UnknownOptions",
     [](const TemporaryFolder &) {
         return std::vector<std::string>{"-o", "x.pub", "--bogus", "--other"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(
             formatMessage(l.count("usage error", "The following argument was not expected: %s",
                                   "The following arguments were not expected: %s", 2),
                           {"--other --bogus"}));
     }},
    {"ValueMissing",
     [](const TemporaryFolder &) {
         return std::vector<std::string>{"--help", "-o", "x.pub", "--title"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(
             formatMessage(l.text("usage error", "%1$s: 1 required %2$s missing"), {"--title", "T"}));
     }},
    {"NoOutput", [](const TemporaryFolder &) { return std::vector<std::string>{"a.png"}; }, 2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(l.text("usage error", "an output file is needed: -o OUTPUT"));
     }},
    {"NullWithoutList",
     [](const TemporaryFolder &) {
         return std::vector<std::string>{"-o", "x.pub", "--null"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(
             formatMessage(l.text("usage error", "%1$s requires %2$s"), {"--null", "--files-from"}));
     }},
    {"BadSeed",
     [](const TemporaryFolder &) {
         return std::vector<std::string>{"-o", "x.pub", "--seed", "-1"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         return l.usageError(formatMessage(
             l.text("usage error", "--seed takes a whole number from 0 to 4294967295, not \"%s\""), {"-1"}));
     }},
    {"NulOnALine", [](const TemporaryFolder &f) { return withList(f, std::string("a.png\nb\0c.png\n", 14)); },
     2,
     [](const Language &l, const TemporaryFolder &f) {
         const std::string where = formatMessage(l.text("list", "line %1$s of %2$s"), {"2", listName(l, f)});
         return "lumvrex-cli: "
             + formatMessage(l.text("list", "%s holds a NUL byte: if the list is NUL-separated, use --null"),
                             {where})
             + "\n";
     }},
    {"OnePageTooMany", [](const TemporaryFolder &f) { return withList(f, testing::pathList(32768, '\n')); },
     2,
     [](const Language &l, const TemporaryFolder &f) {
         return "lumvrex-cli: "
             + formatMessage(l.text("list", "%1$s gives more than %2$s pages"),
                             {listName(l, f), l.thousands(32767)})
             + "\n";
     }},
    {"NotUtf8ListLine",
     [](const TemporaryFolder &f) {
         return withList(f,
                         "a.png\nb\xFF"
                         "c.png\n");
     },
     2,
     [](const Language &l, const TemporaryFolder &f) {
         const std::string line =
             formatMessage(l.text("page", "Line %1$s of %2$s (%3$s)"), {"2", listName(l, f), "b<0xFF>c.png"});
         const std::string flaw =
             formatMessage(l.text("input check", "is not UTF-8: byte 0x%1$s at byte %2$s"), {"FF", "2"});
         return "lumvrex-cli: " + formatMessage(l.text("input check", "%1$s %2$s"), {line, flaw}) + "\n";
     }},
    {"BadCharacterInTitle",
     [](const TemporaryFolder &f) {
         return std::vector<std::string>{"-o", utf8FromPath(f / "out.pub"), "--title",
                                         std::string("a") + '\x01' + "b", "a.png"};
     },
     2,
     [](const Language &l, const TemporaryFolder &) {
         const std::string flaw = formatMessage(
             l.text("input check", "holds characters a publication script cannot hold: %s"), {"U+0001"});
         return "lumvrex-cli: "
             + formatMessage(l.text("input check", "%1$s %2$s"),
                             {l.text("input field", "The field \"E-Book title:\""), flaw})
             + "\n";
     }},
#ifndef _WIN32
    {"MissingFolder",
     [](const TemporaryFolder &f) {
         return std::vector<std::string>{"-o", utf8FromPath(f / "none" / "out.pub"), "a.png"};
     },
     1,
     [](const Language &l, const TemporaryFolder &f) {
         const std::string path = '"' + utf8FromPath(f / "none" / "out.pub") + '"';
         const std::string folder = '"' + utf8FromPath(f / "none") + '"';
         return "lumvrex-cli: "
             + formatMessage(l.text("write", "Could not create %1$s in the folder %2$s: %3$s."),
                             {path, folder, l.systemReason(ENOENT)})
             + "\n";
     }},
#endif
    {"MissingPicture",
     [](const TemporaryFolder &f) {
         return std::vector<std::string>{"-o", utf8FromPath(f / "out.pub"), "--check-files",
                                         utf8FromPath(f / "missing.png")};
     },
     2,
     [](const Language &l, const TemporaryFolder &f) {
         return "lumvrex-cli: " + l.text("check files", "these pictures do not exist:") + "\n  "
             + formatMessage(l.text("check files", "page %1$s: %2$s"), {"1", utf8FromPath(f / "missing.png")})
             + "\n";
     }},
};

class CliLanguages : public ::testing::TestWithParam<std::tuple<MessageCase, bool>>
{
};

TEST_P(CliLanguages, SaysEachMessageInTheUsersLanguage)
{
    const auto &[c, spanish] = GetParam();
    const Language language(spanish);
    ASSERT_TRUE(language.valid());
    TemporaryFolder folder;
    const auto run = runCli(c.arguments(folder), {.environment = language.environment()});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.expectedError(language, folder));
    EXPECT_TRUE(run.out.empty());
}

INSTANTIATE_TEST_SUITE_P(Messages, CliLanguages,
                         ::testing::Combine(::testing::ValuesIn(kMessageCases), ::testing::Bool()),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name)
                                 + (std::get<1>(info.param) ? "_Spanish" : "_English");
                         });

class CliHelpLanguages : public ::testing::TestWithParam<bool>
{
};

TEST_P(CliHelpLanguages, SpeakTheUsersLanguageButNameTheSameOptions)
{
    const Language language(GetParam());
    ASSERT_TRUE(language.valid());
    const auto run = runCli({"--help"}, {.environment = language.environment()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(language.text("help", "Usage") + ": lumvrex-cli ["
                                    + language.text("help", "OPTIONS") + "] [PICTURE...]\n"))
        << run.out;
    for (const char *option : {"-o,--output OUTPUT", "--title T", "--files-from LIST", "--seed N"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    EXPECT_NE(run.out.find(language.text("help", "Show this help and exit.")), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Help, CliHelpLanguages, ::testing::Bool(),
                         [](const auto &info) { return std::string(info.param ? "Spanish" : "English"); });

#ifndef _WIN32
// Only the messages' language changes: with Spanish messages but the C
// library's numbers, the script is the English run's, byte for byte.
TEST(CliLanguages, MessagesLanguageLeavesTheScriptAlone)
{
    const std::vector<std::string> arguments = {
        "-o", "-", "--seed", "99", "--title", "Viaje a Cádiz", "--width", "800", "a.png", "b b.jpg"};
    const auto english = runCli(arguments, {.environment = {"LC_ALL=C.UTF-8"}});
    const auto spanish =
        runCli(arguments,
               {.environment = {"LC_ALL=", "LC_NUMERIC=C.UTF-8", "LC_MESSAGES=es_ES.UTF-8", "LANGUAGE=es"}});
    ASSERT_EQ(english.exitCode, 0);
    ASSERT_EQ(spanish.exitCode, 0);
    EXPECT_EQ(spanish.out, english.out);
}
#endif

} // namespace
} // namespace lumvrex
