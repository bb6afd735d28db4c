// lumvrex-cli against what only POSIX systems can do to it: stopped by a
// signal mid-write, given lists that would eat the machine, started with
// standard streams closed, told to write to its own standard output by name.
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <array>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::ProgramOptions;
using testing::readWholeFile;
using testing::runCli;
using testing::scriptLines;
using testing::TemporaryFolder;
using testing::writeWholeFile;

const std::string kOld = "an earlier script that must survive\r\n";

// A list of the largest script: 32,767 long paths, about 20 MB of script.
fs::path largestList(const TemporaryFolder &folder)
{
    fs::path list = folder / "list";
    std::ofstream out(list, std::ios::binary);
    for (int i = 0; i < 32767; ++i) {
        out << "/home/autora/Im\xC3\xA1genes/Viaje a C\xC3\xA1"
               "diz y M\xC3\xA1laga/una carpeta con un nombre largo/foto-"
            << i << ".jpg\n";
    }
    return list;
}

bool isTheWholeScript(const std::string &bytes, std::size_t pages)
{
    const std::vector<std::string> lines = scriptLines(bytes);
    return lines.size() == testing::scriptLineCount(pages)
        && lines.back() == (pages == 0 ? "MasterPage" : "HScrollPos = 1");
}

struct Interruption
{
    int signal;
    int afterMilliseconds;
    bool oldFile; // a file to replace, or a new one
};

class Interrupted : public ::testing::TestWithParam<Interruption>
{
};

TEST_P(Interrupted, LeavesTheOldFileOrTheWholeNewOneAndNothingElse)
{
    const Interruption &c = GetParam();
    TemporaryFolder lists;
    const fs::path list = largestList(lists);
    TemporaryFolder folder;
    const fs::path target = folder / "book.pub";
    if (c.oldFile)
        writeWholeFile(target, kOld);

    ProgramOptions options;
    options.signal = c.signal;
    options.signalAfter = std::chrono::milliseconds(c.afterMilliseconds);
    const auto run = runCli({"--seed", "1", "--files-from", list.string(), "-o", target.string()}, options);
    EXPECT_TRUE(run.exitCode == 0 || run.endedBySignal == c.signal) << run.exitCode << " " << run.err;

    const std::vector<std::string> entries = folder.entries();
    if (entries.empty()) {
        EXPECT_FALSE(c.oldFile) << "the old file is gone";
        return;
    }
    ASSERT_EQ(entries, std::vector<std::string>{"book.pub"});
    const std::string bytes = readWholeFile(target);
    EXPECT_TRUE((c.oldFile && bytes == kOld) || isTheWholeScript(bytes, 32767))
        << "a script of " << bytes.size() << " bytes";
}

std::vector<Interruption> interruptions()
{
    std::vector<Interruption> cases;
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        for (const int after : {0, 3, 8, 15, 30, 60}) {
            for (const bool oldFile : {true, false})
                cases.push_back({signal, after, oldFile});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, ::testing::ValuesIn(interruptions()), [](const auto &info) {
    const Interruption &c = info.param;
    const char *name = c.signal == SIGINT ? "SIGINT" : c.signal == SIGTERM ? "SIGTERM" : "SIGKILL";
    return std::string(name) + "_after_" + std::to_string(c.afterMilliseconds) + "ms"
        + (c.oldFile ? "_replacing" : "_new");
});

// Where the filesystem has no unnamed temporary files (here a FUSE one,
// bindfs), the writer names one; a stop by SIGINT, SIGTERM or SIGHUP must
// still leave nothing behind.
TEST(InterruptedWithoutUnnamedFiles, LeavesNoTemporaryFile)
{
    TemporaryFolder lists;
    const fs::path list = largestList(lists);
    TemporaryFolder folder;
    const fs::path source = folder / "source";
    const fs::path disk = folder / "disk";
    fs::create_directory(source);
    fs::create_directory(disk);
    if (::geteuid() != 0
        || std::system(("bindfs '" + source.string() + "' '" + disk.string() + "' >/dev/null 2>&1").c_str())
            != 0)
        GTEST_SKIP() << "mounting a FUSE filesystem needs root, bindfs and /dev/fuse";
    struct Unmount
    {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};

    int written = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const int after : {5, 20, 60, 150, 400}) {
            ProgramOptions options;
            options.signal = signal;
            options.signalAfter = std::chrono::milliseconds(after);
            const fs::path target = disk / "book.pub";
            const auto run =
                runCli({"--seed", "1", "--files-from", list.string(), "-o", target.string()}, options);
            std::vector<std::string> entries;
            for (const fs::directory_entry &entry : fs::directory_iterator(disk))
                entries.push_back(entry.path().filename().string());
            if (entries.empty())
                continue;
            ASSERT_EQ(entries, std::vector<std::string>{"book.pub"})
                << "signal " << signal << " after " << after;
            EXPECT_TRUE(isTheWholeScript(readWholeFile(target), 32767));
            ++written;
            fs::remove(target);
        }
    }
    std::printf("without unnamed files: %d of 15 runs ended with the whole script, the others with nothing\n",
                written);
}

TEST(ClosedStreams, AreNamedAsSuch)
{
    ProgramOptions closedInput;
    closedInput.closedInput = true;
    auto run = runCli({"-o", "-", "--files-from", "-"}, closedInput);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("the list on standard input: standard input is closed"), std::string::npos)
        << run.err;

    ProgramOptions closedOutput;
    closedOutput.closedOutput = true;
    run = runCli({"-o", "-", "a.png"}, closedOutput);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Could not write standard output: standard output is closed."), std::string::npos)
        << run.err;
}

// The program's own standard output named as a file: written straight to,
// whatever it is, never replaced. The name is the descriptor's own, or links
// made here that lead to it, as the system's name for standard output does.
// Standard output is a file here, which a writer that did not know the name
// would replace with a new one.
class OwnOutputByName : public ::testing::TestWithParam<int>
{
};

TEST_P(OwnOutputByName, IsWrittenStraightTo)
{
    TemporaryFolder folder;
    const fs::path output = folder / "output";
    writeWholeFile(output, "");
    struct stat before = {};
    ASSERT_EQ(::stat(output.c_str(), &before), 0);
    fs::path name = "/proc/self/fd/1";
    for (int link = 0; link < GetParam(); ++link) {
        const fs::path next = folder / ("link" + std::to_string(link));
        fs::create_symlink(name, next);
        name = next;
    }
    ProgramOptions toFile;
    toFile.outputFile = output;
    const auto run = runCli({"--seed", "1", "-o", name.native(), "a.png", "b.png"}, toFile);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(isTheWholeScript(readWholeFile(output), 2));
    struct stat after = {};
    ASSERT_EQ(::stat(output.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "standard output's file was replaced";
}

INSTANTIATE_TEST_SUITE_P(Links, OwnOutputByName, ::testing::Values(0, 1, 2));

TEST(OwnOutput, ANonBlockingPipeIsWaitedFor)
{
    // A parent may hand over its pipe non-blocking; the script must still
    // arrive whole however slowly the other end reads.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    TemporaryFolder folder;
    const fs::path list = largestList(folder);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::close(pipeEnds[0]);
        ::execl(LUMVREX_CLI, LUMVREX_CLI, "--seed", "1", "--files-from", list.c_str(), "-o", "-", nullptr);
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string received;
    std::array<char, 4096> buffer{};
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer.data(), buffer.size())) > 0;) {
        received.append(buffer.data(), static_cast<std::size_t>(got));
        if (received.size() % 65536 < 4096)
            ::usleep(200); // a slow reader keeps the pipe full
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(isTheWholeScript(received, 32767));
}

TEST(WriteFailureMessages, ShowControlCharactersOfThePathAsCodePoints)
{
    TemporaryFolder folder;
    const std::string target = (folder / "no\x1B[2Jsuch" / "book.pub").string();
    const auto run = runCli({"-o", target, "a.png"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no<U+001B>[2Jsuch"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos);
}

} // namespace
} // namespace lumvrex
