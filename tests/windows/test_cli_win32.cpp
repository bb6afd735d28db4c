// lumvrex-cli.exe's side of Windows: wide arguments, wide paths, standard
// handles that are files, pipes or missing, and bytes that no text mode
// touches.
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

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
    const auto run = runCli({"-o", "-", "/fotos/a.png", R"(\\servidor\fotos\b.png)", "/?"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(linesStartingWith(run.out, "FileName="),
              (std::vector<std::string>{"/fotos/a.png", R"(\\servidor\fotos\b.png)", "/?"}));
}

} // namespace
} // namespace lumvrex
