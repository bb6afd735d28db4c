// Writing scripts on Windows: every way it can fail there, against both
// front ends (lumvrex-cli, and "Create pub" with dialogs answered by the
// test), each time with a message that names the path and the reason, exit
// code 1 or a warning after which the command writes elsewhere at once, and
// the folder exactly as it was. Then what must work: replacing a file keeps
// what ReplaceFileW keeps, long paths, names outside the ANSI code page,
// hard links and devices.
#include "publication/create_publication.h"
#include "runtime/system.h"
#include "runtime/utf8.h"
#include "support/fakes.h"
#include "support/files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <windows.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialogs;
using testing::FixedEffectSource;
using testing::readWholeFile;
using testing::scriptLines;
using testing::TemporaryFolder;
using testing::writeWholeFile;

const std::string kOldBytes = "an earlier script that must survive\r\n";

std::string systemReason(DWORD error)
{
    return systemErrorText(SystemCode::fromWindows(error));
}

struct Fault
{
    const char *name;
    std::string reason; // as the message must show it
    // Prepares the folder and returns the target, as the user types it.
    std::string (*prepare)(const fs::path &dir);
    bool heldWithoutSharing = false; // the target, by this process, while the front end runs
};

std::string oldFile(const fs::path &dir)
{
    writeWholeFile(dir / "book.pub", kOldBytes);
    return utf8FromPath(dir / "book.pub");
}

std::string forbidden(const fs::path &dir, char c)
{
    oldFile(dir);
    return utf8FromPath(dir) + "\\book" + c + ".pub";
}

const std::string kForbidden = " in a file name";

const Fault kFaults[] = {
    {"missing folder", systemReason(ERROR_PATH_NOT_FOUND),
     [](const fs::path &dir) { return utf8FromPath(dir / "no such folder" / "book.pub"); }},
    {"target is a folder", "it is a folder",
     [](const fs::path &dir) {
         fs::create_directory(dir / "book.pub");
         writeWholeFile(dir / "book.pub" / "inside.txt", kOldBytes);
         return utf8FromPath(dir / "book.pub");
     }},
    {"read-only file", systemReason(ERROR_ACCESS_DENIED),
     [](const fs::path &dir) {
         std::string target = oldFile(dir);
         SetFileAttributesW(pathFromUtf8(target).c_str(), FILE_ATTRIBUTE_READONLY);
         return target;
     }},
    {"file held open without sharing", systemReason(ERROR_SHARING_VIOLATION), oldFile, true},
    {"less-than sign", "Windows allows no \"<\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '<'); }},
    {"greater-than sign", "Windows allows no \">\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '>'); }},
    {"colon", "Windows allows no \":\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, ':'); }},
    {"double quote", "Windows allows no '\"'" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '"'); }},
    {"vertical bar", "Windows allows no \"|\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '|'); }},
    {"question mark", "Windows allows no \"?\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '?'); }},
    {"asterisk", "Windows allows no \"*\"" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '*'); }},
    {"tab", "Windows allows no U+0009" + kForbidden,
     [](const fs::path &dir) { return forbidden(dir, '\t'); }},
    {"device name aux.pub", "the name is one Windows keeps for a device",
     [](const fs::path &dir) { return utf8FromPath(dir / "aux.pub"); }},
    {"device name Con.txt", "the name is one Windows keeps for a device",
     [](const fs::path &dir) { return utf8FromPath(dir / "Con.txt"); }},
    {"device name lpt1.pub", "the name is one Windows keeps for a device",
     [](const fs::path &dir) { return utf8FromPath(dir / "lpt1.pub"); }},
    {"name of 256 characters", systemReason(ERROR_FILENAME_EXCED_RANGE),
     [](const fs::path &dir) { return utf8FromPath(dir) + "\\" + std::string(252, 'n') + ".pub"; }},
};

// Every entry under a folder: its attributes and, for a file, its bytes.
std::map<std::wstring, std::string> snapshot(const fs::path &dir)
{
    std::map<std::wstring, std::string> entries;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(dir)) {
        std::string description = std::to_string(GetFileAttributesW(entry.path().c_str()));
        if (entry.is_regular_file())
            description += " " + readWholeFile(entry.path());
        entries[entry.path().native().substr(dir.native().size())] = description;
    }
    return entries;
}

void clearReadOnly(const fs::path &dir)
{
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(dir))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

PublicationInputs somePictures()
{
    PublicationInputs inputs;
    inputs.title = "Álbum";
    for (int i = 0; i < 300; ++i)
        inputs.pages.append("C:\\Fotos\\p" + std::to_string(i) + ".png");
    return inputs;
}

enum class Front { Cli, Window };

struct Outcome
{
    std::string message;
    bool failedAsItShould = false;
};

Outcome runCliFront(const std::string &target)
{
    const auto run = testing::runCli({"--title", "Álbum", "-o", target, "--files-from", "-"},
                                     {.input = testing::pathList(300, '\n')});
    return {run.err, run.exitCode == 1 && run.out.empty()};
}

Outcome runWindowFront(const std::string &target, const fs::path &retryTarget)
{
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = target;
    Outcome result;
    if (createPublication(somePictures(), dialogs, effects, '.') == CreateOutcome::Failed
        && dialogs.shown.size() == 2 && dialogs.shown[1].kind == "warn"
        && dialogs.shown[1].title == "Lumvrex")
        result.message = dialogs.shown[1].text;

    // Nothing stops the next attempt: the same command writes elsewhere.
    dialogs.shown.clear();
    dialogs.answer = utf8FromPath(retryTarget);
    const bool usable = createPublication(somePictures(), dialogs, effects, '.') == CreateOutcome::Finished
        && scriptLines(readWholeFile(retryTarget)).size() == testing::scriptLineCount(300);
    fs::remove(retryTarget);
    result.failedAsItShould = !result.message.empty() && usable;
    return result;
}

class WindowsFaults : public ::testing::TestWithParam<std::tuple<int, Front>>
{
};

TEST_P(WindowsFaults, FailCleanly)
{
    const auto [index, front] = GetParam();
    const Fault &fault = kFaults[index];
    TemporaryFolder base;
    const fs::path dir = base / "target";
    fs::create_directory(dir);
    fs::create_directory(base / "retry");

    const std::string target = fault.prepare(dir);
    const auto before = snapshot(base.path());
    HANDLE held = INVALID_HANDLE_VALUE;
    if (fault.heldWithoutSharing) {
        held = CreateFileW(pathFromUtf8(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << systemReason(GetLastError());
    }
    const Outcome outcome =
        front == Front::Cli ? runCliFront(target) : runWindowFront(target, base / "retry" / "ok.pub");
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);

    EXPECT_TRUE(outcome.failedAsItShould) << outcome.message;
    // Messages show a path on one line and at most 200 characters long.
    EXPECT_NE(outcome.message.find('"' + utf8::printable(target) + '"'), std::string::npos)
        << outcome.message;
    EXPECT_NE(outcome.message.find(": " + fault.reason + "."), std::string::npos) << outcome.message;
    EXPECT_EQ(snapshot(base.path()), before);
    clearReadOnly(base.path());
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsFaults,
                         ::testing::Combine(::testing::Range(0, int(std::size(kFaults))),
                                            ::testing::Values(Front::Cli, Front::Window)),
                         [](const auto &info) {
                             return testing::caseName(kFaults[std::get<0>(info.param)].name)
                                 + (std::get<1>(info.param) == Front::Cli ? "_cli" : "_window");
                         });

// Writes a two-page script to target with lumvrex-cli.
void writeWithCli(const std::string &target)
{
    const auto run = testing::runCli({"--seed", "3", "-o", target, "a.png", "b.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
}

// The same two pages through the window's command, which must finish.
void writeWithWindow(const std::string &target)
{
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = target;
    PublicationInputs inputs;
    inputs.pages = {"a.png", "b.png"};
    EXPECT_EQ(createPublication(inputs, dialogs, effects, '.'), CreateOutcome::Finished);
}

TEST(WindowsWriter, ReplacingAFileKeepsItsAttributes)
{
    TemporaryFolder folder;
    const fs::path target = folder / "book.pub";
    writeWholeFile(target, kOldBytes);
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), kept));
    ASSERT_EQ(GetFileAttributesW(target.c_str()) & kept, kept);
    writeWithCli(utf8FromPath(target));
    EXPECT_EQ(scriptLines(readWholeFile(target)).size(), testing::scriptLineCount(2));
    EXPECT_EQ(GetFileAttributesW(target.c_str()) & kept, kept);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"book.pub"});
}

TEST(WindowsWriter, BothNamesOfAHardLinkedFileSeeTheNewScript)
{
    TemporaryFolder folder;
    writeWholeFile(folder / "book.pub", kOldBytes);
    ASSERT_TRUE(CreateHardLinkW((folder / "other name.pub").c_str(), (folder / "book.pub").c_str(), nullptr));
    writeWithCli(utf8FromPath(folder / "book.pub"));
    const std::string script = readWholeFile(folder / "book.pub");
    EXPECT_EQ(scriptLines(script).size(), testing::scriptLineCount(2));
    EXPECT_EQ(readWholeFile(folder / "other name.pub"), script);
}

// The form of an absolute path that no length limit stops, for preparing
// and reading back what the front ends are given in the ordinary form.
fs::path unlimited(const std::string &path)
{
    std::wstring wide = pathFromUtf8(path).native();
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return L"\\\\?\\" + wide;
}

enum class LongTarget { DeepFolders, UnicodeName };

// Paths past the 260 characters older Windows calls take, and names no ANSI
// code page holds, written through both front ends over an older file.
class WindowsTargets : public ::testing::TestWithParam<std::tuple<LongTarget, Front>>
{
};

TEST_P(WindowsTargets, AreWrittenAsGiven)
{
    TemporaryFolder folder;
    std::string target = utf8FromPath(folder.path());
    if (std::get<0>(GetParam()) == LongTarget::DeepFolders) {
        for (int i = 0; i < 14; ++i) {
            target += "\\carpeta número " + std::to_string(i);
            fs::create_directory(unlimited(target));
        }
        target += "\\libro.pub";
    } else {
        target += "\\Año nuevo ✓ 日本 Ωmega " + std::string(200, 'a') + ".pub";
    }
    ASSERT_GT(pathFromUtf8(target).native().size(), std::size_t(MAX_PATH));
    writeWholeFile(unlimited(target), kOldBytes);
    if (std::get<1>(GetParam()) == Front::Cli)
        writeWithCli(target);
    else
        writeWithWindow(target);
    EXPECT_EQ(scriptLines(readWholeFile(unlimited(target))).size(), testing::scriptLineCount(2));
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsTargets,
                         ::testing::Combine(::testing::Values(LongTarget::DeepFolders,
                                                              LongTarget::UnicodeName),
                                            ::testing::Values(Front::Cli, Front::Window)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param) == LongTarget::DeepFolders
                                                    ? "deep_folders"
                                                    : "unicode_name")
                                 + (std::get<1>(info.param) == Front::Cli ? "_cli" : "_window");
                         });

// A name ending in dots or blanks is written as Windows writes it for any
// program: without them, in a short path and in one long enough to need
// the "\\?\" prefix alike. Only a "\\?\" the user wrote keeps them.
struct TrailingCase
{
    const char *name;
    const char *given;   // after the folder
    const char *written; // what the folder holds afterwards
    bool deep = false;   // behind enough folders to pass 260 characters
    bool prefixed = false;
};

const TrailingCase kTrailingCases[] = {
    {"blank", "book.pub ", "book.pub"},
    {"dot", "book.pub.", "book.pub"},
    {"dots_and_blanks", "book.pub. . ", "book.pub"},
    {"dot_after_a_folder", "sub.\\book.pub", "sub\\book.pub"},
    {"long_path_dot", "book.pub.", "book.pub", true},
    {"long_path_blank", "book.pub  ", "book.pub", true},
    {"prefixed_dot_kept", "book.pub.", "book.pub.", false, true},
};

class TrailingDotsAndBlanks : public ::testing::TestWithParam<std::tuple<int, Front>>
{
};

// The names in a folder, read through "\\?\" so that none is bent (and
// with FindFirstFileW: MinGW's directory listing stops at 260 characters).
std::vector<std::wstring> namesIn(const fs::path &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((unlimited(utf8FromPath(folder)) / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_P(TrailingDotsAndBlanks, AreHandledAsWindowsDoes)
{
    const auto [index, front] = GetParam();
    const TrailingCase &trailing = kTrailingCases[index];
    TemporaryFolder base;
    std::string folder = utf8FromPath(base.path());
    if (trailing.deep) {
        for (int i = 0; i < 14; ++i) {
            folder += "\\carpeta número " + std::to_string(i);
            fs::create_directory(unlimited(folder));
        }
    }
    fs::create_directory(unlimited(folder + "\\sub"));
    std::string target = folder + "\\" + trailing.given;
    if (trailing.prefixed)
        target = utf8FromPath(unlimited(target));
    if (trailing.deep) {
        ASSERT_GT(pathFromUtf8(target).native().size(), std::size_t(MAX_PATH));
    }

    if (front == Front::Cli)
        writeWithCli(target);
    else
        writeWithWindow(target);

    const fs::path written = pathFromUtf8(folder + "\\" + trailing.written);
    EXPECT_EQ(scriptLines(readWholeFile(unlimited(utf8FromPath(written)))).size(), 69u + 2 * 28);
    std::vector<std::wstring> expected = {written.filename().native()};
    if (written.parent_path() == pathFromUtf8(folder))
        expected.emplace_back(L"sub");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(written.parent_path()), expected);
    if (trailing.prefixed)
        DeleteFileW(unlimited(utf8FromPath(written)).c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, TrailingDotsAndBlanks,
                         ::testing::Combine(::testing::Range(0, int(std::size(kTrailingCases))),
                                            ::testing::Values(Front::Cli, Front::Window)),
                         [](const auto &info) {
                             return std::string(kTrailingCases[std::get<0>(info.param)].name)
                                 + (std::get<1>(info.param) == Front::Cli ? "_cli" : "_window");
                         });

// The system's reason comes in the language asked for where Windows has
// it, else in another: Wine, like many a Windows, has no texts in Zulu.
TEST(SystemErrorText, FallsBackToALanguageWindowsHas)
{
    const auto zulu = static_cast<unsigned short>(MAKELANGID(LANG_ZULU, SUBLANG_DEFAULT));
    for (const DWORD error :
         {ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND, ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}) {
        wchar_t text[512];
        EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                 zulu, text, 512, nullptr),
                  0u)
            << "Zulu has a text for " << error << ": the case tests nothing";
        const std::string fallback = systemErrorText(SystemCode::fromWindows(error), zulu);
        EXPECT_FALSE(fallback.starts_with("system error")) << fallback;
        EXPECT_EQ(fallback, systemReason(error));
    }
    // Only a number Windows has no text for shows as one.
    EXPECT_EQ(systemErrorText(SystemCode::fromWindows(0x2000'0001), zulu), "system error 536870913");
}

TEST(WindowsWriter, TheNullDeviceIsWrittenStraight)
{
    for (const char *device : {"NUL", "nul", R"(\\.\NUL)"}) {
        const auto run = testing::runCli({"-o", device, "a.png"});
        EXPECT_EQ(run.exitCode, 0) << device << ": " << run.err;
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
}

} // namespace
} // namespace lumvrex
