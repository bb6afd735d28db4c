// lumvrex-cli.exe's side of Windows: wide arguments, wide paths, standard
// handles that are files, pipes or missing, and bytes that no text mode
// touches.
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <windows.h>

namespace lumvrex {
namespace {

using testing::linesStartingWith;
using testing::readWholeFile;
using testing::runCli;
using testing::TemporaryFolder;

TEST(CliOnWindows, StandardOutputIsBinaryWhateverItIs)
{
    TemporaryFolder folder;
    const std::vector<std::string> common = {"--title", "Álbum", "--seed", "5", "a.png", "b.png"};
    auto toFile = common;
    toFile.insert(toFile.end(), {"-o", utf8FromPath(folder / "file.pub")});
    ASSERT_EQ(runCli(toFile).exitCode, 0);
    const std::string script = readWholeFile(folder / "file.pub");
    ASSERT_EQ(testing::scriptLines(script).size(), testing::scriptLineCount(2));

    auto toOutput = common;
    toOutput.insert(toOutput.end(), {"-o", "-"});
    const auto piped = runCli(toOutput);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, script);

    testing::writeWholeFile(folder / "redirected.pub", "");
    const auto redirected = runCli(toOutput, {.outputFile = folder / "redirected.pub"});
    EXPECT_EQ(redirected.exitCode, 0) << redirected.err;
    EXPECT_EQ(readWholeFile(folder / "redirected.pub"), script);
}

TEST(CliOnWindows, AMissingStandardOutputIsAWriteFailure)
{
    const auto run = runCli({"-o", "-", "a.png"}, {.closedOutput = true});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Could not write standard output: standard output is closed."), std::string::npos)
        << run.err;
}

TEST(CliOnWindows, AMissingStandardInputIsBadInput)
{
    TemporaryFolder folder;
    const auto run =
        runCli({"-o", utf8FromPath(folder / "book.pub"), "--files-from", "-"}, {.closedInput = true});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read the list on standard input: standard input is closed"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(folder.entries().empty());
}

// Characters outside every ANSI code page reach the program unchanged: in
// its arguments, in the name of a list it reads, and back in its messages.
TEST(CliOnWindows, ArgumentsAndPathsKeepEveryCharacter)
{
    TemporaryFolder folder;
    const std::string list = utf8FromPath(folder / "lista ✓ 日本.txt");
    testing::writeWholeFile(pathFromUtf8(list), "C:\\Fotos\\niño.png\r\nC:\\Fotos\\Ωmega.png\r\n");
    const auto refused =
        runCli({"-o", "-", "--title", "Álbum ✓", "C:\\Fotos\\años.png", "--files-from", list});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("\"E-Book title:\" holds characters a publication script cannot hold: \"✓\""),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("Line 2 of the list \"" + list + "\" (C:\\Fotos\\Ωmega.png)"),
              std::string::npos)
        << refused.err;

    testing::writeWholeFile(pathFromUtf8(list), "C:\\Fotos\\niño.png\r\n");
    const auto written = runCli({"-o", "-", "--title", "Álbum", "C:\\Fotos\\años.png", "--files-from", list});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(linesStartingWith(written.out, "FileName="),
              (std::vector<std::string>{"C:\\Fotos\\a\xF1os.png", "C:\\Fotos\\ni\xF1o.png"}));
    EXPECT_EQ(linesStartingWith(written.out, "Title = "), std::vector<std::string>{"\xC1lbum"});
}

// Picture paths in Windows' own spellings are pictures, not options.
TEST(CliOnWindows, PathsThatLookLikeSwitchesArePictures)
{
    const auto run = runCli({"-o", "-", "/fotos/a.png", R"(\\servidor\fotos\b.png)", "/h"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(linesStartingWith(run.out, "FileName="),
              (std::vector<std::string>{"/fotos/a.png", R"(\\servidor\fotos\b.png)", "/h"}));
}

// cmd.exe leaves * and ? to the program: each pattern becomes its files in
// name order, whatever order the folder lists them in; a name beside them
// stays as it is.
TEST(CliOnWindows, ExpandsWildcardsInPictures)
{
    TemporaryFolder folder;
    for (const char *name :
         {"foto 10.jpg", "ñu.jpg", "Foto 1.JPG", "foto 2.jpg", "leeme.txt", "foto 3.jpg_old"})
        testing::writeWholeFile(folder / name, "");
    std::filesystem::create_directory(folder / "carpeta.jpg");
    testing::writeWholeFile(folder / "oculta.jpg", "");
    testing::writeWholeFile(folder / "desktop.jpg", "");
    SetFileAttributesW((folder / "oculta.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((folder / "desktop.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM);
    const std::string at = utf8FromPath(folder.path()) + "\\";

    const auto run =
        runCli({"-o", "-", at + "*.jpg", "C:\\Libros\\portada.png", at + "FOTO ?.jpg", at + "*.*"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // An ASCII path is the same in a script.
    ASSERT_TRUE(std::ranges::all_of(at, [](char c) { return c > 0 && c < 0x7F; })) << at;
    const std::string &in = at;
    EXPECT_EQ(
        linesStartingWith(run.out, "FileName="),
        (std::vector<std::string>{in + "Foto 1.JPG", in + "foto 2.jpg", in + "foto 10.jpg", in + "\xF1u.jpg",
                                  "C:\\Libros\\portada.png", in + "Foto 1.JPG", in + "foto 2.jpg",
                                  in + "Foto 1.JPG", in + "foto 2.jpg", in + "foto 3.jpg_old",
                                  in + "foto 10.jpg", in + "leeme.txt", in + "\xF1u.jpg"}));
}

struct WildcardRefusal
{
    const char *name;
    std::vector<std::string> arguments; // FOLDER stands for the test's folder
    std::string list;                   // for --files-from, when not empty
    const char *message;
};

class WildcardRefusals : public ::testing::TestWithParam<WildcardRefusal>
{
};

TEST_P(WildcardRefusals, WriteNothingAndExitWithTwo)
{
    TemporaryFolder folder;
    testing::writeWholeFile(folder / "a.jpg", "");
    const std::string at = utf8FromPath(folder.path());
    std::vector<std::string> arguments = {"-o", utf8FromPath(folder / "book.pub")};
    for (std::string argument : GetParam().arguments) {
        if (const std::size_t place = argument.find("FOLDER"); place != std::string::npos)
            argument.replace(place, 6, at);
        arguments.push_back(argument);
    }
    if (!GetParam().list.empty())
        arguments.insert(arguments.end(), {"--files-from", "-"});
    const auto run = runCli(arguments, {.input = GetParam().list});
    EXPECT_EQ(run.exitCode, 2);
    std::string message = GetParam().message;
    if (const std::size_t place = message.find("FOLDER"); place != std::string::npos)
        message.replace(place, 6, at);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.jpg"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardRefusals,
    ::testing::Values(
        WildcardRefusal{"a_pattern_without_matches",
                        {"FOLDER\\a.jpg", "FOLDER\\*.png"},
                        "",
                        "lumvrex-cli: no file matches \"FOLDER\\*.png\"\nTry 'lumvrex-cli --help'"},
        WildcardRefusal{"a_pattern_in_a_missing_folder",
                        {"FOLDER\\no\\*.jpg"},
                        "",
                        "no file matches \"FOLDER\\no\\*.jpg\""},
        WildcardRefusal{"a_wildcard_before_the_last_part",
                        {"FOLDER\\*\\a.jpg"},
                        "",
                        "only the last part of a path may hold * or ?: \"FOLDER\\*\\a.jpg\""},
        WildcardRefusal{
            "a_wildcard_in_a_list",
            {"FOLDER\\*.jpg"},
            "C:\\a.jpg\r\n\\\\?\\C:\\b.jpg\r\nC:\\Fotos\\*.jpg\r\n",
            "Line 3 of the list on standard input (C:\\Fotos\\*.jpg): a Windows file name cannot hold * "
            "or ?"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

} // namespace
} // namespace lumvrex
