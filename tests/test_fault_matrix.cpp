// Every way writing a script can fail, against both front ends: lumvrex-cli,
// and "Create pub" as the windows run it (with dialogs answered by the test).
// Each time: a message that names the path and the reason; exit code 1, or a
// warning after which the same command writes elsewhere at once; and the
// folder exactly as it was: old files with their bytes, mode and owner, no
// partial or temporary file. Prints the matrix at the end.
#include "publication/create_publication.h"
#include "support/fakes.h"
#include "support/files.h"
#include "support/posix_limits.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialogs;
using testing::FixedEffectSource;
using testing::ProgramOptions;
using testing::TemporaryFolder;

enum class Front { Cli, Window };
enum class Run { AsCaller, AsNobody, WithFileSizeLimit };

struct Fault
{
    const char *name;
    Run run;
    const char *reason;                          // part of the system's text, as the message must show it
    bool smallDisk;                              // the folder is a small tmpfs
    std::string (*prepare)(const fs::path &dir); // returns the target path
};

const std::string kOldBytes = "an earlier script that must survive\r\n";

std::string existingFile(const fs::path &path, mode_t mode)
{
    testing::writeWholeFile(path, kOldBytes);
    ::chmod(path.c_str(), mode);
    return path.string();
}

const Fault kFaults[] = {
    {"missing folder", Run::AsCaller, "No such file or directory", false,
     [](const fs::path &dir) { return (dir / "no such folder" / "book.pub").string(); }},
    {"target is a folder", Run::AsCaller, "Is a directory", false,
     [](const fs::path &dir) {
         fs::create_directory(dir / "book.pub");
         return (dir / "book.pub").string();
     }},
    {"new file in a read-only folder", Run::AsNobody, "Permission denied", false,
     [](const fs::path &dir) {
         ::chmod(dir.c_str(), 0555);
         return (dir / "book.pub").string();
     }},
    {"read-only existing file", Run::AsNobody, "Permission denied", false,
     [](const fs::path &dir) { return existingFile(dir / "book.pub", 0444); }},
    {"name over 255 bytes", Run::AsCaller, "File name too long", false,
     [](const fs::path &dir) {
         std::string name;
         for (int i = 0; i < 130; ++i)
             name += "ñ"; // 260 bytes
         return (dir / name).string();
     }},
    {"symlink loop in the path", Run::AsCaller, "Too many levels of symbolic links", false,
     [](const fs::path &dir) {
         fs::create_symlink("loop", dir / "loop");
         return (dir / "loop" / "book.pub").string();
     }},
    {"target is a looping symlink", Run::AsCaller, "Too many levels of symbolic links", false,
     [](const fs::path &dir) {
         fs::create_symlink("book.pub", dir / "book.pub");
         return (dir / "book.pub").string();
     }},
    {"disk full", Run::AsCaller, "No space left on device", true,
     [](const fs::path &dir) { return existingFile(dir / "book.pub", 0644); }},
    {"file-size limit", Run::WithFileSizeLimit, "File too large", false,
     [](const fs::path &dir) { return existingFile(dir / "book.pub", 0644); }},
};

// Everything in a folder tree: kind, mode, owner, links, bytes, link targets.
std::map<std::string, std::string> snapshot(const fs::path &dir)
{
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(dir)) {
        struct stat info = {};
        ::lstat(entry.path().c_str(), &info);
        std::string description = std::to_string(info.st_mode) + " " + std::to_string(info.st_uid) + ":"
            + std::to_string(info.st_gid) + " x" + std::to_string(info.st_nlink);
        if (S_ISLNK(info.st_mode))
            description += " link " + fs::read_symlink(entry.path()).string();
        else if (S_ISREG(info.st_mode))
            description += " file " + testing::readWholeFile(entry.path());
        entries[entry.path().string().substr(dir.string().size())] = description;
    }
    return entries;
}

PublicationInputs manyPictures()
{
    PublicationInputs inputs;
    inputs.title = "Album";
    for (int i = 0; i < 3000; ++i)
        inputs.pages.append("/pictures/p" + std::to_string(i) + ".png");
    return inputs;
}

struct Outcome
{
    std::string message;
    bool failedAsItShould = false;
};

Outcome runCliFront(const std::string &target, Run run)
{
    ProgramOptions options{.input = testing::pathList(3000, '\n')};
    options.as = run == Run::AsNobody   ? ProgramOptions::As::Nobody
        : run == Run::WithFileSizeLimit ? ProgramOptions::As::SmallFileLimit
                                        : ProgramOptions::As::Caller;
    const auto result = testing::runCli({"--title", "Album", "-o", target, "--files-from", "-"}, options);
    return {result.err, result.exitCode == 1 && result.out.empty()};
}

Outcome runWindowFront(const std::string &target, Run run, const fs::path &retryTarget)
{
    FakeDialogs dialogs;
    FixedEffectSource effects;
    const PublicationInputs inputs = manyPictures();
    dialogs.answer = target;
    CreateOutcome outcome;
    {
        std::optional<testing::Unprivileged> unprivileged;
        std::optional<testing::FileSizeLimit> limit;
        if (run == Run::AsNobody)
            unprivileged.emplace();
        if (run == Run::WithFileSizeLimit)
            limit.emplace(64 * 1024);
        outcome = createPublication(inputs, dialogs, effects, '.');
    }
    Outcome result;
    if (outcome == CreateOutcome::Failed && dialogs.shown.size() == 2 && dialogs.shown[1].kind == "warn"
        && dialogs.shown[1].title == "Lumvrex")
        result.message = dialogs.shown[1].text;

    // Nothing stops the next attempt: the same command writes elsewhere.
    dialogs.shown.clear();
    dialogs.answer = retryTarget.string();
    const bool usable = createPublication(inputs, dialogs, effects, '.') == CreateOutcome::Finished
        && testing::scriptLines(testing::readWholeFile(retryTarget)).size() == testing::scriptLineCount(3000);
    fs::remove(retryTarget);
    result.failedAsItShould = !result.message.empty() && usable;
    return result;
}

std::map<std::string, std::map<std::string, std::string>> &matrix()
{
    static std::map<std::string, std::map<std::string, std::string>> outcomes;
    return outcomes;
}

class FaultMatrix : public ::testing::TestWithParam<std::tuple<int, Front>>
{
public:
    static void TearDownTestSuite()
    {
        std::printf("\n%-32s | %-42s | %s\n", "failure", "lumvrex-cli", "Create pub");
        std::printf("%s|%s|%s\n", std::string(33, '-').c_str(), std::string(44, '-').c_str(),
                    std::string(44, '-').c_str());
        for (const auto &row : matrix()) {
            const std::string &failure = row.first;
            const auto &fronts = row.second;
            const auto cell = [&](const char *front) {
                const auto found = fronts.find(front);
                return found == fronts.end() ? std::string("(not run)") : found->second;
            };
            std::printf("%-32s | %-42s | %s\n", failure.c_str(), cell("cli").c_str(), cell("window").c_str());
        }
        std::fflush(stdout);
    }
};

TEST_P(FaultMatrix, FailsCleanly)
{
    const auto [index, front] = GetParam();
    const Fault &fault = kFaults[index];
    const std::string frontName = front == Front::Cli ? "cli" : "window";

    TemporaryFolder base;
    ::chmod(base.path().c_str(), 0777);
    const fs::path dir = base / "target";
    fs::create_directory(dir);
    fs::create_directory(base / "retry");
    ::chmod(dir.c_str(), 0777);
    ::chmod((base / "retry").c_str(), 0777);

    if (fault.smallDisk && ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0) {
        matrix()[fault.name][frontName] = "skipped (mount refused)";
        GTEST_SKIP() << "mounting a small tmpfs was refused: " << std::strerror(errno);
    }
    struct Unmount
    {
        bool mounted;
        fs::path dir;
        ~Unmount()
        {
            if (mounted)
                ::umount(dir.c_str());
        }
    } unmount{fault.smallDisk, dir};

    const std::string target = fault.prepare(dir);
    const auto before = snapshot(base.path());
    const Outcome outcome = front == Front::Cli
        ? runCliFront(target, fault.run)
        : runWindowFront(target, fault.run, base / "retry" / "ok.pub");
    ::chmod(dir.c_str(), 0777); // so that the folder can be cleaned up

    std::string cell = outcome.message.substr(
        outcome.message.rfind(": ") == std::string::npos ? 0 : outcome.message.rfind(": ") + 2);
    while (!cell.empty() && (cell.back() == '\n' || cell.back() == '.'))
        cell.pop_back();
    matrix()[fault.name][frontName] = (front == Front::Cli ? "exit 1: " : "warned: ") + cell;

    EXPECT_TRUE(outcome.failedAsItShould) << outcome.message;
    EXPECT_NE(outcome.message.find(target), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find(fault.reason), std::string::npos) << outcome.message;
    auto after = snapshot(base.path());
    auto expected = before;
    // The target folder's own mode was changed back above.
    after.erase("/target");
    expected.erase("/target");
    EXPECT_EQ(after, expected);
}

INSTANTIATE_TEST_SUITE_P(AllFaults, FaultMatrix,
                         ::testing::Combine(::testing::Range(0, int(std::size(kFaults))),
                                            ::testing::Values(Front::Cli, Front::Window)),
                         [](const auto &info) {
                             std::string name = kFaults[std::get<0>(info.param)].name;
                             for (char &c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name + (std::get<1>(info.param) == Front::Cli ? "_cli" : "_window");
                         });

} // namespace
} // namespace lumvrex
