// lumvrex-cli's arguments, parsed in-process; its list reading and sorting.
#include "cli/command_line.h"
#include "cli/natural_sort.h"
#include "cli/path_list_reader.h"
#include "publication/script_text.h"

#include "support/files.h"

#include <gtest/gtest.h>

namespace lumvrex {
namespace {

using namespace std::string_literals;

std::variant<CliOptions, CliExit> parse(const std::vector<std::string> &arguments)
{
    return parseCommandLine(arguments);
}

TEST(CommandLine, TakesEveryOption)
{
    const auto parsed = parse(
        {"--title", "Mi álbum",       "--back-color",  "255",    "--width",    "800",          "--height",
         "600",     "--icon",         "x.ico",         "-o",     "book.pub",   "--files-from", "-",
         "--null",  "--natural-sort", "--check-files", "--seed", "4294967295", "a.png",        "b c.png"});
    ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
    const auto &options = std::get<CliOptions>(parsed);
    EXPECT_EQ(options.output, "book.pub");
    EXPECT_EQ(options.inputs.title, "Mi álbum");
    EXPECT_EQ(options.inputs.backColor, "255");
    EXPECT_EQ(options.inputs.width, "800");
    EXPECT_EQ(options.inputs.height, "600");
    EXPECT_EQ(options.inputs.icon, "x.ico");
    EXPECT_EQ(options.inputs.pages, (PageList{"a.png", "b c.png"}));
    EXPECT_EQ(options.filesFrom, "-");
    EXPECT_TRUE(options.nullSeparated);
    EXPECT_TRUE(options.naturalSort);
    EXPECT_TRUE(options.checkFiles);
    EXPECT_EQ(options.seed, 4294967295u);
}

TEST(CommandLine, LeavesWhatIsNotGivenEmpty)
{
    const auto parsed = parse({"-o", "-"});
    ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
    const auto &options = std::get<CliOptions>(parsed);
    EXPECT_EQ(options.output, "-");
    EXPECT_TRUE(options.inputs.title.empty());
    EXPECT_TRUE(options.inputs.pages.empty());
    EXPECT_FALSE(options.filesFrom);
    EXPECT_FALSE(options.seed);
}

TEST(CommandLine, HelpNamesTheProgramAndItsExitCodes)
{
    const auto parsed = parse({"--help"});
    ASSERT_TRUE(std::holds_alternative<CliExit>(parsed));
    const auto &exit = std::get<CliExit>(parsed);
    EXPECT_EQ(exit.code, 0);
    EXPECT_TRUE(exit.text.starts_with("Usage: lumvrex-cli ")) << exit.text;
    for (const char *option :
         {"--output", "--title", "--back-color", "--width", "--height", "--icon", "--files-from", "--null",
          "--natural-sort", "--check-files", "--seed", "--version"})
        EXPECT_NE(exit.text.find(option), std::string::npos) << option;
    EXPECT_NE(exit.text.find("2  bad usage or bad input"), std::string::npos);
    EXPECT_EQ(exit.text.find("platform"), std::string::npos); // no toolkit options
    EXPECT_NE(exit.text.find("OUTPUT REQUIRED"), std::string::npos) << exit.text;
    EXPECT_NE(exit.text.find("Needs: --files-from"), std::string::npos) << exit.text;
    // Before what is wrong with the other arguments.
    const auto withErrors = parse({"--bogus", "--null", "--help"});
    ASSERT_TRUE(std::holds_alternative<CliExit>(withErrors));
    EXPECT_EQ(std::get<CliExit>(withErrors).text, exit.text);
}

TEST(CommandLine, Version)
{
    const auto parsed = parse({"--version"});
    ASSERT_TRUE(std::holds_alternative<CliExit>(parsed));
    EXPECT_EQ(std::get<CliExit>(parsed).code, 0);
    EXPECT_EQ(std::get<CliExit>(parsed).text, "lumvrex-cli 1.00\n");
    const auto beforeHelp = parse({"--help", "--null=x", "-v"});
    ASSERT_TRUE(std::holds_alternative<CliExit>(beforeHelp));
    EXPECT_EQ(std::get<CliExit>(beforeHelp).text, "lumvrex-cli 1.00\n");
}

struct UsageCase
{
    const char *name;
    std::vector<std::string> arguments;
    const char *message; // the whole first line, after "lumvrex-cli: "
};

class UsageErrors : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(UsageErrors, AreExitCodeTwoWithAHint)
{
    const auto parsed = parse(GetParam().arguments);
    ASSERT_TRUE(std::holds_alternative<CliExit>(parsed));
    const auto &exit = std::get<CliExit>(parsed);
    EXPECT_EQ(exit.code, 2);
    EXPECT_EQ(exit.text,
              "lumvrex-cli: "s + GetParam().message + "\nTry 'lumvrex-cli --help' for more information.\n");
}

// Where several are wrong, the first of these rows that applies is said.
INSTANTIATE_TEST_SUITE_P(
    Cases, UsageErrors,
    ::testing::Values(
        UsageCase{"value_missing_at_the_end", {"-o", "x", "--title"}, "--title: 1 required T missing"},
        UsageCase{"empty_value_at_the_end", {"-o", "x", "--seed="}, "--seed: 1 required N missing"},
        UsageCase{"value_missing_after_one_given",
                  {"-o", "x", "--title", "a", "--title"},
                  "--title: 1 required T missing"},
        UsageCase{"value_missing_before_help", {"--help", "-o"}, "--output: 1 required OUTPUT missing"},
        // CLI11's own words, in every language.
        UsageCase{"option_given_twice",
                  {"-o", "x", "--title", "a", "--title", "b"},
                  "--title: At Most 1 required but received 2"},
        UsageCase{"flag_value_not_one", {"--null=x", "--bogus"}, "Could not convert: --null = x"},
        UsageCase{"no_output", {"a.png", "--null", "--bogus"}, "an output file is needed: -o OUTPUT"},
        UsageCase{
            "options_after_separator_are_pictures", {"--", "-o", "x"}, "an output file is needed: -o OUTPUT"},
        UsageCase{"null_without_a_list", {"--bogus", "-o", "x", "--null"}, "--null requires --files-from"},
        UsageCase{
            "unknown_option", {"-o", "x", "--colour"}, "The following argument was not expected: --colour"},
        UsageCase{"unknown_options_last_first",
                  {"-o", "x", "--a", "b.png", "-c=d"},
                  "The following arguments were not expected: -c=d --a"},
        UsageCase{"unknown_option_and_separator",
                  {"-o", "x", "--a", "--", "--b"},
                  "The following argument was not expected: -- --a"},
        UsageCase{"empty_output", {"-o", "", "--seed", "x"}, "the output file name is empty"},
        UsageCase{"seed_not_a_number",
                  {"-o", "x", "--seed", "ten"},
                  "--seed takes a whole number from 0 to 4294967295, not \"ten\""},
        UsageCase{"seed_with_a_sign",
                  {"-o", "x", "--seed", "+1"},
                  "--seed takes a whole number from 0 to 4294967295, not \"+1\""},
        UsageCase{"seed_too_large",
                  {"-o", "x", "--seed", "4294967296"},
                  "--seed takes a whole number from 0 to 4294967295, not \"4294967296\""}),
    [](const auto &info) { return testing::caseName(info.param.name); });

struct ListCase
{
    const char *name;
    std::string list;
    ListSeparator separator;
    std::vector<std::string> expected;
    std::vector<std::size_t> lines; // where each was in the list
};

class PathLists : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(PathLists, GiveTheirPathsInOrder)
{
    const ListCase &c = GetParam();
    // Fed in pieces of every size, as reads may deliver them.
    for (const std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(7), c.list.size() + 1}) {
        PageList pages{"/first.png"};
        std::vector<std::size_t> lines;
        PathListParser parser("the list", c.separator, PathListLimits{32767}, pages, &lines);
        for (std::size_t at = 0; at < c.list.size(); at += piece)
            ASSERT_TRUE(parser.feed(std::string_view(c.list).substr(at, piece)));
        ASSERT_TRUE(parser.finish());
        PageList expected{"/first.png"};
        for (const std::string &path : c.expected)
            expected.append(path);
        EXPECT_EQ(pages, expected) << "pieces of " << piece;
        EXPECT_EQ(lines, c.lines) << "pieces of " << piece;
    }
}

const std::vector<std::string> kThree = {"/a b/one.png", "/fotos/niño.jpg", "/three.png"};

INSTANTIATE_TEST_SUITE_P(
    Cases, PathLists,
    ::testing::Values(
        ListCase{
            "lines", "/a b/one.png\n/fotos/niño.jpg\n/three.png\n", ListSeparator::Line, kThree, {1, 2, 3}},
        ListCase{"crlf_empty_lines_no_final_end",
                 "/a b/one.png\r\n\r\n\n/fotos/niño.jpg\r\n/three.png",
                 ListSeparator::Line,
                 kThree,
                 {1, 4, 5}},
        ListCase{"byte_order_mark",
                 "\xEF\xBB\xBF/a b/one.png\n/fotos/niño.jpg\n/three.png\n",
                 ListSeparator::Line,
                 kThree,
                 {1, 2, 3}},
        ListCase{"nul_separated_empty_entries_skipped",
                 "/a b/one.png\0/fotos/niño.jpg\0\0/three.png\0"s,
                 ListSeparator::Nul,
                 kThree,
                 {1, 2, 4}},
        ListCase{
            "nul_separated_keeps_cr_and_newlines", "a\r\nb\0c"s, ListSeparator::Nul, {"a\r\nb", "c"}, {1, 2}},
        ListCase{"not_utf8_is_left_to_the_encoder",
                 "ok\nfoto\xFF"
                 "a.png",
                 ListSeparator::Line,
                 {"ok",
                  "foto\xFF"
                  "a.png"},
                 {1, 2}},
        ListCase{"empty", "", ListSeparator::Line, {}, {}},
        ListCase{"only_separators", "\n\r\n\n", ListSeparator::Line, {}, {}}),
    [](const auto &info) { return testing::caseName(info.param.name); });

// What a list may hold is tested through lumvrex-cli (BadLists in
// test_cli.cpp); these are the parser's own limits.
TEST(PathListLimitsTest, StopsAtTheMostPages)
{
    PageList pages;
    PathListParser parser("the list \"x\"", ListSeparator::Line, PathListLimits{2}, pages);
    Status status = parser.feed("a\nb\nc\n");
    if (status)
        status = parser.finish();
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().kind, Error::Kind::BadInput);
    EXPECT_EQ(status.error().message, "the list \"x\" gives more than 2 pages");
}

TEST(PathListLimitsTest, AnEntryOfExactlyTheLongestLengthIsTaken)
{
    PageList pages;
    PathListParser parser("the list", ListSeparator::Line, PathListLimits{10}, pages);
    const std::string longest(32767, 'z');
    ASSERT_TRUE(parser.feed("\xEF\xBB\xBF" + longest + "\r\n"));
    ASSERT_TRUE(parser.finish());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], longest);
}

TEST(PathListLimitsTest, StopsAtTheTotalSize)
{
    PageList pages;
    PathListParser parser("the list", ListSeparator::Line, PathListLimits{32767, 32767, std::size_t(1) << 20},
                          pages);
    Status status;
    for (int i = 0; i < 40 && status; ++i)
        status = parser.feed(std::string(30000, 'a') + "\n");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().message, "the list holds more than 1 MiB of paths");
    EXPECT_EQ(pages.size(), 34u);
}

struct SortCase
{
    const char *name;
    std::vector<std::string> given; // UTF-8
    std::vector<std::string> sorted;
};

class NaturalSort : public ::testing::TestWithParam<SortCase>
{
};

PageList scriptBytes(const std::vector<std::string> &texts)
{
    PageList pages;
    for (const std::string &text : texts) {
        std::string bytes;
        TextFlaws flaws;
        EXPECT_TRUE(appendScriptText(bytes, text, flaws)) << text;
        pages.append(bytes);
    }
    return pages;
}

// The script's bytes sort by the characters they stand for, in name order
// (test_page_order has the rule): Windows-1252's 0x80..0x9F are not
// Latin-1 ("€" is 0x80 but U+20AC, "Š" 0x8A but U+0160).
TEST_P(NaturalSort, PutsScriptBytesInTheOrderOfTheirCharacters)
{
    PageList pages = scriptBytes(GetParam().given);
    sortNaturally(pages);
    EXPECT_EQ(pages, scriptBytes(GetParam().sorted));
}

INSTANTIATE_TEST_SUITE_P(Cases, NaturalSort,
                         ::testing::Values(SortCase{"numbers_by_value",
                                                    {"page10.png", "page2.png", "page1.png"},
                                                    {"page1.png", "page2.png", "page10.png"}},
                                           SortCase{"windows_1252_letters_and_signs",
                                                    {"Ž.png", "ƒ.png", "oso.png", "€.png", "Œuvre.png",
                                                     "10.png", "Šimon.png", "ñu.png", "2.png"},
                                                    {"€.png", "2.png", "10.png", "ñu.png", "Œuvre.png",
                                                     "oso.png", "Šimon.png", "Ž.png", "ƒ.png"}},
                                           SortCase{"equal_keep_their_order",
                                                    {"b", "a//x", "a/x", "a"},
                                                    {"a", "a//x", "a/x", "b"}}),
                         [](const auto &info) { return testing::caseName(info.param.name); });

} // namespace
} // namespace lumvrex
