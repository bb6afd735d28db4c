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
    return lines.size() == 69 + 28 * pages && lines.back() == (pages == 0 ? "MasterPage" : "HScrollPos = 1");
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

struct BadList
{
    const char *name;
    bool sparseZeros; // a gigabyte of NUL bytes, or the text below
    std::string text;
    bool null;
    int exitCode;
    const char *message;
};

class BadLists : public ::testing::TestWithParam<BadList>
{
};

TEST_P(BadLists, AreReadInBoundedMemoryAndTimeAndNamedClearly)
{
    const BadList &c = GetParam();
    TemporaryFolder folder;
    const fs::path list = folder / "list";
    if (c.sparseZeros) {
        writeWholeFile(list, "");
        fs::resize_file(list, std::uintmax_t(1) << 30); // reads as zeros, takes no disk
    } else {
        writeWholeFile(list, c.text);
    }
    const fs::path target = folder / "book.pub";
    writeWholeFile(target, kOld);
    std::vector<std::string> arguments = {"-o", target.string(), "--files-from", list.string()};
    if (c.null)
        arguments.emplace_back("--null");
    ProgramOptions options;
    if (!kSanitized)
        options.addressSpaceLimit = std::uint64_t(256)
            << 20; // a regression fails instead of eating the machine
    const auto start = std::chrono::steady_clock::now();
    const auto run = runCli(arguments, options);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_LT(run.err.size(), 1000u) << "a long message";
    for (const char ch : run.err)
        EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 || ch == '\n')
            << "a raw control character: " << run.err;
    if (!kSanitized) {
        EXPECT_LT(run.peakKilobytes, 64L * 1024) << "peak memory";
    }
    std::printf("%s: %.2f s, %ld KB at most\n", c.name, seconds, run.peakKilobytes);
    if (c.exitCode != 0) {
        EXPECT_EQ(readWholeFile(target), kOld);
    } else {
        EXPECT_TRUE(isTheWholeScript(readWholeFile(target), 0)); // an empty list is a script without pages
    }
}

std::string longPath()
{
    return "/fotos/" + std::string(1000, 'a') + "\x1B[31m" + std::string(1000, 'z') + "\xE2\x9C\x93.jpg\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadLists,
    ::testing::Values(BadList{"a_gigabyte_of_NUL_bytes_as_lines", true, "", false, 2,
                              "line 1 of the list \"" /* the path follows */},
                      BadList{"a_gigabyte_of_NUL_bytes_as_entries", true, "", true, 0, ""},
                      BadList{"more_than_32767_paths", false, testing::pathList(40000, '\n'), false, 2,
                              "gives more than 32,767 pages"},
                      BadList{"invalid_utf8_named_by_its_line", false,
                              "a.png\nb.png\nfoto\xFF"
                              "a.png\n",
                              false, 2, "Line 3 of the list"},
                      BadList{"control_characters_shown_as_code_points", false,
                              "a.png\n\xC2\x9B"
                              "2J.png\n",
                              false, 2, "Line 2 of the list"},
                      BadList{"a_long_path_is_cut_in_the_middle", false, longPath(), false, 2,
                              "\xE2\x80\xA6"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

TEST(BadListMessages, SayWhatIsWrong)
{
    TemporaryFolder folder;
    const fs::path list = folder / "list";
    writeWholeFile(list, std::string(40000, '\0'));
    auto run = runCli({"-o", (folder / "x.pub").string(), "--files-from", list.string()});
    EXPECT_NE(
        run.err.find(
            "is longer than 32,767 bytes; it holds NUL bytes: if the list is NUL-separated, use --null"),
        std::string::npos)
        << run.err;
    writeWholeFile(list,
                   "a.png\n\xC2\x9B"
                   "2J.png\n");
    run = runCli({"-o", (folder / "x.pub").string(), "--files-from", list.string()});
    EXPECT_NE(run.err.find("(<U+009B>2J.png) holds characters a publication script cannot hold: U+009B"),
              std::string::npos)
        << run.err;
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
// whatever it is. (These names stand for the program's own pipe here.)
class OwnOutputByName : public ::testing::TestWithParam<const char *>
{
};

TEST_P(OwnOutputByName, IsWrittenStraightTo)
{
    const auto run = runCli({"--seed", "1", "-o", GetParam(), "a.png", "b.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(isTheWholeScript(run.out, 2));
}

INSTANTIATE_TEST_SUITE_P(Names, OwnOutputByName,
                         ::testing::Values("/dev/stdout", "/proc/self/fd/1", "/dev/fd/1"),
                         [](const auto &info) { return testing::caseName(info.param); });

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
