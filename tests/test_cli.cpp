// lumvrex-cli as a user runs it: a separate process, its output, its exit code.
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

namespace lumvrex {
namespace {

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
    EXPECT_EQ(scriptLines(toOut.out).size(), 69u + 2 * 28);
}

TEST(Cli, ASeedGivesTheSameBytesEveryTime)
{
    const std::string pages = pathList(200, '\n');
    const auto run = [&](const std::string &seed) {
        return runCli({"-o", "-", "--files-from", "-", "--seed", seed}, {.input = pages}).out;
    };
    const std::string first = run("1234");
    EXPECT_EQ(scriptLines(first).size(), 69u + 200 * 28);
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
    TemporaryFolder listFolder;
    const std::string list = utf8FromPath(listFolder / "list.txt");
    testing::writeWholeFile(list,
                            "ok.png\nb\u2713.png\nfoto\xFF"
                            "a.png\n");
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string &argument : arguments) {
        if (argument == "TARGET")
            argument = utf8FromPath(folder / "book.pub");
        if (argument == "LIST")
            argument = list;
    }
    std::string message = GetParam().message;
    if (const std::size_t at = message.find("LIST"); at != std::string::npos)
        message.replace(at, 4, list);
    const auto run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
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
        RefusalCase{"list_line_not_utf8",
                    {"-o", "TARGET", "a.png", "--files-from", "LIST"},
                    "Line 3 of the list \"LIST\" (foto<0xFF>a.png) is not UTF-8: byte 0xFF at byte 5"},
        RefusalCase{"list_line_a_script_cannot_hold_named_after_sorting",
                    {"-o", "TARGET", "--natural-sort", "z.png", "--files-from", "LIST"},
                    "Line 2 of the list \"LIST\" (b\u2713.png) holds characters"},
        RefusalCase{"missing_pictures_are_all_listed",
                    {"-o", "TARGET", "--check-files", ".", "/no/one.png", "/no/two.png"},
                    "page 2: /no/one.png\n  page 3: /no/two.png"}),
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
    ASSERT_EQ(lines.size(), 69u + 28 * 32767);
    EXPECT_EQ(lines[69 + 28 * 32766], "NewPage=page32766");
}

TEST(Cli, SpanishSettingsWriteCommas)
{
    const auto run = runCli({"-o", "-", "--seed", "1", "a.png"}, {.environment = {"LC_ALL=es_ES.UTF-8"}});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(linesStartingWith(run.out, "PageEffect = ").front(), "6,25533");
}

} // namespace
} // namespace lumvrex
