// lumvrex-cli as a user runs it: a separate process, its output, its exit code.
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace lumvrex {
namespace {

using namespace std::string_literals;

using testing::expectedScript;
using testing::linesStartingWith;
using testing::pathList;
using testing::ProgramOptions;
using testing::readWholeFile;
using testing::runCli;
using testing::scriptLines;
using testing::TemporaryFolder;

std::string withoutEffects(const std::string &script)
{
    std::string kept;
    for (const std::string &line : scriptLines(script)) {
        if (!line.starts_with("PageEffect = "))
            kept += line + "\n";
    }
    return kept;
}

const std::vector<std::string> kAlbumFields = {
    "--title", "Mi álbum de fotos", "--back-color", "16777215", "--width",
    "800",     "--height",          "600",          "--icon",   "C:\\Iconos\\libro.ico",
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Cli, WritesTheExpectedScriptSilently)
{
    TemporaryFolder folder;
    const std::string target = utf8FromPath(folder / "album.pub");
    const auto run =
        runCli(kAlbumFields
               + std::vector<std::string>{"-o", target, "--seed", "7", "C:\\Fotos\\playa en Cádiz.jpg",
                                          "C:\\Fotos\\montaña 2.bmp"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.empty());
    EXPECT_EQ(withoutEffects(readWholeFile(target)), withoutEffects(expectedScript("two-pages.pub.txt")));
}

TEST(Cli, StandardOutputAndAFileGetTheSameBytes)
{
    TemporaryFolder folder;
    const std::string target = utf8FromPath(folder / "album.pub");
    const std::vector<std::string> common =
        kAlbumFields + std::vector<std::string>{"--seed", "42", "a.png", "b.png"};
    const auto toFile = runCli(common + std::vector<std::string>{"-o", target});
    const auto toOut = runCli(common + std::vector<std::string>{"-o", "-"});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(toOut.exitCode, 0);
    EXPECT_EQ(toOut.out, readWholeFile(target));
    EXPECT_EQ(scriptLines(toOut.out).size(), testing::scriptLineCount(2));
}

TEST(Cli, ASeedGivesTheSameBytesEveryTime)
{
    const std::string pages = pathList(200, '\n');
    const auto run = [&](const std::string &seed) {
        return runCli({"-o", "-", "--files-from", "-", "--seed", seed}, {.input = pages}).out;
    };
    const std::string first = run("1234");
    EXPECT_EQ(scriptLines(first).size(), testing::scriptLineCount(200));
    EXPECT_EQ(run("1234"), first);
    const std::string other = run("1235");
    EXPECT_NE(other, first);
    EXPECT_EQ(withoutEffects(other), withoutEffects(first));
    // The standard generator: seed 1 gives mt19937's first output 1791095845,
    // so the first effect is (1791095845 >> 8) / 2^24 * 15.
    EXPECT_EQ(linesStartingWith(run("1"), "PageEffect = ").front(), "6.25533");
}

TEST(Cli, ListsComeAfterThePicturesFromAFileOrStandardInput)
{
    TemporaryFolder folder;
    const std::string list = "/a b/one.png\r\n/fotos/niño.jpg\n\n/three.png";
    testing::writeWholeFile(folder / "list", list);
    const std::vector<std::string> expected = {"/first.png", "/a b/one.png", "/fotos/ni\xF1o.jpg",
                                               "/three.png"};
    const auto fromFile = runCli({"-o", "-", "/first.png", "--files-from", utf8FromPath(folder / "list")});
    EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err;
    EXPECT_EQ(linesStartingWith(fromFile.out, "FileName="), expected);
    const auto fromInput = runCli({"-o", "-", "/first.png", "--files-from", "-"}, {.input = list});
    EXPECT_EQ(linesStartingWith(fromInput.out, "FileName="), expected);
}

TEST(Cli, NaturalSortOnlyWhenAsked)
{
    const auto sorted = runCli({"-o", "-", "--natural-sort", "page10.png", "page2.png", "page1.png"});
    EXPECT_EQ(linesStartingWith(sorted.out, "FileName="),
              (std::vector<std::string>{"page1.png", "page2.png", "page10.png"}));
    const auto unsorted = runCli({"-o", "-", "page10.png", "page2.png"});
    EXPECT_EQ(linesStartingWith(unsorted.out, "FileName="),
              (std::vector<std::string>{"page10.png", "page2.png"}));
}

// Pictures are looked for by the names they were given, whatever bytes the
// script gives them.
TEST(Cli, CheckFilesFindsPicturesOutsideLatin1)
{
    TemporaryFolder folder;
    testing::writeWholeFile(folder / "fotó €.png", "");
    const auto run = runCli({"-o", "-", "--check-files", "--natural-sort",
                             utf8FromPath(folder / "fotó €.png"), utf8FromPath(folder / "fotó Ÿ.png")});
    EXPECT_EQ(run.exitCode, 2);
    // "€" is a sign, before any letter.
    EXPECT_EQ(run.err,
              "lumvrex-cli: these pictures do not exist:\n  page 2: " + utf8FromPath(folder / "fotó Ÿ.png")
                  + "\n");
}

struct RefusalCase
{
    const char *name;
    std::vector<std::string> arguments;
    const char *message;
};

class Refusals : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(Refusals, WriteNothingAndExitWithTwo)
{
    TemporaryFolder folder;
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string &argument : arguments) {
        if (argument == "TARGET")
            argument = utf8FromPath(folder / "book.pub");
    }
    const auto run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusals,
    ::testing::Values(
        RefusalCase{"no_output", {"a.png"}, "-o OUTPUT"},
        RefusalCase{"missing_list", {"-o", "TARGET", "--files-from", "/no/such/list"}, "/no/such/list"},
        RefusalCase{"title_with_a_line_break",
                    {"-o", "TARGET", "--title", "a\nb"},
                    "\"E-Book title:\" holds characters a publication script cannot hold: U+000A"},
        RefusalCase{"page_outside_windows_1252", {"-o", "TARGET", "ok.png", "日本.png"}, "Page 2 ("},
        RefusalCase{"missing_pictures_are_all_listed",
                    {"-o", "TARGET", "--check-files", ".", "/no/one.png", "/no/two.png"},
                    "page 2: /no/one.png\n  page 3: /no/two.png"},
        RefusalCase{"missing_pictures_named_by_their_page_once_sorted",
                    {"-o", "TARGET", "--check-files", "--natural-sort", "/no/b10.png", ".", "/no/b9.png"},
                    "page 1: /no/b9.png\n  page 2: /no/b10.png"},
        RefusalCase{"a_page_is_named_by_its_place_as_given",
                    {"-o", "TARGET", "--natural-sort", "z.png", "日.png", "a.png"},
                    "Page 2 (日.png)"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // its shadow memory makes address-space limits and sizes meaningless
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Every list --files-from refuses, and the one that reads as no pages.
struct BadList
{
    const char *name;
    bool sparseZeros; // a gigabyte of NUL bytes, or the text below
    std::string text;
    std::vector<std::string> arguments; // besides -o and --files-from
    int exitCode;
    const char *message; // "LIST" stands for the list's path
};

class BadLists : public ::testing::TestWithParam<BadList>
{
};

TEST_P(BadLists, AreReadInBoundedMemoryAndTimeAndNamedClearly)
{
    const BadList &c = GetParam();
    TemporaryFolder folder;
    const std::filesystem::path list = folder / "list";
    if (c.sparseZeros) {
        testing::writeWholeFile(list, "");
        std::filesystem::resize_file(list, std::uintmax_t(1) << 30); // reads as zeros, takes no disk
    } else {
        testing::writeWholeFile(list, c.text);
    }
    const std::filesystem::path target = folder / "book.pub";
    const std::string old = "an earlier script that must survive\r\n";
    testing::writeWholeFile(target, old);
    std::vector<std::string> arguments = {"-o", utf8FromPath(target), "--files-from", utf8FromPath(list)};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    std::string message = c.message;
    if (const std::size_t at = message.find("LIST"); at != std::string::npos)
        message.replace(at, 4, utf8FromPath(list));
    ProgramOptions options;
    if (!kSanitized)
        options.addressSpaceLimit = std::uint64_t(256)
            << 20; // a regression fails instead of eating the machine
    const auto start = std::chrono::steady_clock::now();
    const auto run = runCli(arguments, options);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_LT(run.err.size(), 1000u) << "a long message";
    for (const char ch : run.err)
        EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 || ch == '\n')
            << "a raw control character: " << run.err;
#if !defined(_WIN32) // the peak is measured on POSIX systems only
    if (!kSanitized) {
        EXPECT_LT(run.peakKilobytes, 64L * 1024) << "peak memory";
    }
#endif
    std::printf("%s: %.2f s, %ld KB at most\n", c.name, seconds, run.peakKilobytes);
    if (c.exitCode != 0) {
        EXPECT_EQ(readWholeFile(target), old);
    } else {
        // An empty list is a script without pages.
        EXPECT_EQ(scriptLines(readWholeFile(target)).size(), testing::scriptLineCount(0));
    }
}

std::string longPath()
{
    return "/fotos/" + std::string(1000, 'a') + "\x1B[31m" + std::string(1000, 'z') + "\xE2\x9C\x93.jpg\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadLists,
    ::testing::Values(
        BadList{"a_gigabyte_of_NUL_bytes_as_lines",
                true,
                "",
                {},
                2,
                "line 1 of the list \"LIST\" is longer than 32,767 bytes; it holds NUL bytes: if the list is "
                "NUL-separated, use --null"},
        BadList{"a_gigabyte_of_NUL_bytes_as_entries", true, "", {"--null"}, 0, ""},
        BadList{"a_line_longer_than_a_path_of_NUL_bytes",
                false,
                std::string(40000, '\0'),
                {},
                2,
                "line 1 of the list \"LIST\" is longer than 32,767 bytes; it holds NUL bytes: if the list is "
                "NUL-separated, use --null"},
        BadList{"a_NUL_in_a_line",
                false,
                "a.png\nb\0c.png\n"s,
                {},
                2,
                "line 2 of the list \"LIST\" holds a NUL byte: if the list is NUL-separated, use --null"},
        BadList{"a_line_too_long",
                false,
                "ok\n" + std::string(40000, 'x') + "\n",
                {},
                2,
                "line 2 of the list \"LIST\" is longer than 32,767 bytes"},
        BadList{"an_entry_too_long",
                false,
                "a\0"s + std::string(32768, 'y'),
                {"--null"},
                2,
                "entry 2 of the list \"LIST\" is longer than 32,767 bytes"},
        BadList{"more_than_32767_paths",
                false,
                testing::pathList(40000, '\n'),
                {},
                2,
                "the list \"LIST\" gives more than 32,767 pages"},
        BadList{"invalid_utf8_named_by_its_line",
                false,
                "ok.png\nb.png\nfoto\xFF"
                "a.png\n",
                {"a.png"},
                2,
                "Line 3 of the list \"LIST\" (foto<0xFF>a.png) is not UTF-8: byte 0xFF at byte 5"},
        BadList{"a_line_a_script_cannot_hold_named_after_sorting",
                false,
                "ok.png\nb\u2713.png\n",
                {"--natural-sort", "z.png"},
                2,
                "Line 2 of the list \"LIST\" (b\u2713.png) holds characters"},
        BadList{
            "control_characters_shown_as_code_points",
            false,
            "a.png\n\xC2\x9B"
            "2J.png\n",
            {},
            2,
            "Line 2 of the list \"LIST\" (<U+009B>2J.png) holds characters a publication script cannot hold: "
            "U+009B"},
        BadList{"a_long_path_is_cut_in_the_middle", false, longPath(), {}, 2, "\xE2\x80\xA6"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

TEST(Cli, HoldsAt32767Pages)
{
    TemporaryFolder folder;
    const std::string target = utf8FromPath(folder / "big.pub");
    const auto tooMany = runCli({"-o", target, "--files-from", "-"}, {.input = pathList(32768, '\n')});
    EXPECT_EQ(tooMany.exitCode, 2);
    EXPECT_NE(tooMany.err.find("more than 32,767 pages"), std::string::npos) << tooMany.err;
    EXPECT_TRUE(folder.entries().empty());

    const auto most = runCli({"-o", target, "--null", "--files-from", "-"}, {.input = pathList(32767, '\0')});
    EXPECT_EQ(most.exitCode, 0) << most.err;
    const std::vector<std::string> lines = scriptLines(readWholeFile(target));
    ASSERT_EQ(lines.size(), testing::scriptLineCount(32767));
    EXPECT_EQ(lines[testing::pageLine(32766, 0)], "NewPage=page32766");
}

TEST(Cli, SpanishSettingsWriteCommas)
{
    const auto run = runCli({"-o", "-", "--seed", "1", "a.png"}, {.environment = {"LC_ALL=es_ES.UTF-8"}});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(linesStartingWith(run.out, "PageEffect = ").front(), "6,25533");
}

} // namespace
} // namespace lumvrex
