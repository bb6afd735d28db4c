#include "window/file_list_clipboard.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace lumvrex;
using namespace std::literals;

namespace {

// What a window reads: the offered formats, and the bytes of those asked for.
struct Clipboard
{
    std::vector<std::string> formats;
    std::map<std::string, std::string, std::less<>> bytes;
    std::vector<std::string> read;

    FileListPaths files()
    {
        return filesOffered(formats, [this](std::string_view format) {
            read.emplace_back(format);
            const auto found = bytes.find(format);
            return found == bytes.end() ? std::string() : found->second;
        });
    }
};

// tests/data/clipboard/PROGRAM/CASE, as capture.sh saved it from the real
// program: TARGETS, and a file of bytes for each target ('/' as %2F).
Clipboard captured(const std::string &capture)
{
    const std::filesystem::path folder = std::filesystem::path(LUMVREX_TEST_DATA) / "clipboard" / capture;
    Clipboard clipboard;
    std::istringstream targets(lumvrex::testing::readWholeFile(folder / "TARGETS"));
    for (std::string target; std::getline(targets, target);) {
        clipboard.formats.push_back(target);
        std::string file = target;
        for (std::size_t at = 0; (at = file.find('/', at)) != std::string::npos;)
            file.replace(at, 1, "%2F");
        if (std::filesystem::exists(folder / file))
            clipboard.bytes[target] = lumvrex::testing::readWholeFile(folder / file);
    }
    return clipboard;
}

const std::string kFolder = "/tmp/clipboard-capture/Fotos de España/";

std::vector<std::string> inFolder(const std::vector<std::string> &names)
{
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string &name : names)
        paths.push_back(kFolder + name);
    return paths;
}

// The two orders the programs list the folder in: by bytes (GTK's in the C
// locale) and as people sort.
const std::vector<std::string> kByBytes =
    inFolder({"50% rebajas.jpg", "Año nuevo en Málaga.jpg", "Córdoba #3.jpg", "Guía de Ávila & Segovia.jpg",
              "Pingüino + ñandú.jpg", "Sevilla 10.jpg", "foto (2).jpg", "niño y señora.jpg",
              "playa en Cádiz.jpg", "¿Qué es esto?.jpg"});
const std::vector<std::string> kNatural =
    inFolder({"50% rebajas.jpg", "Año nuevo en Málaga.jpg", "Córdoba #3.jpg", "foto (2).jpg",
              "Guía de Ávila & Segovia.jpg", "niño y señora.jpg", "Pingüino + ñandú.jpg",
              "playa en Cádiz.jpg", "Sevilla 10.jpg", "¿Qué es esto?.jpg"});
const std::vector<std::string> kOne = inFolder({"50% rebajas.jpg"});

struct CaptureCase
{
    std::string capture;
    std::vector<std::string> paths;
};

void PrintTo(const CaptureCase &row, std::ostream *out)
{
    *out << row.capture;
}

class Captured : public ::testing::TestWithParam<CaptureCase>
{
};

TEST_P(Captured, GivesEveryFileFromTheUriListAndTheSameFromTheOtherLists)
{
    Clipboard clipboard = captured(GetParam().capture);
    EXPECT_TRUE(holdsFileList(clipboard.formats));
    const FileListPaths got = clipboard.files();
    EXPECT_EQ(got.paths, GetParam().paths);
    EXPECT_EQ(got.notFiles, 0u);
    EXPECT_EQ(clipboard.read, std::vector<std::string>{"text/uri-list"});
    // Each list alone, as a program that offers only that one would leave it.
    for (const auto &[format, bytes] : clipboard.bytes) {
        Clipboard alone{{format}, {{format, bytes}}, {}};
        if (holdsFileList(alone.formats)) {
            EXPECT_EQ(alone.files().paths, GetParam().paths) << format;
        }
    }
}

std::vector<CaptureCase> captureCases()
{
    std::vector<CaptureCase> cases;
    for (const char *program : {"pcmanfm", "pcmanfm-qt", "thunar", "caja", "nemo", "nautilus", "dolphin"}) {
        const bool byBytes = program == "caja"sv || program == "nemo"sv || program == "nautilus"sv;
        cases.push_back({program + "/copy-all"s, byBytes ? kByBytes : kNatural});
        cases.push_back({program + "/cut-all"s, byBytes ? kByBytes : kNatural});
        cases.push_back({program + "/copy-one"s, kOne});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FileManagers, Captured, ::testing::ValuesIn(captureCases()),
                         [](const auto &info) { return lumvrex::testing::caseName(info.param.capture); });

struct EdgeCase
{
    const char *name;
    std::vector<std::pair<std::string, std::string>> offered; // in the order offered
    std::vector<std::string> paths;
    std::size_t notFiles;
    bool holds = true;
};

void PrintTo(const EdgeCase &row, std::ostream *out)
{
    *out << row.name;
}

class Edges : public ::testing::TestWithParam<EdgeCase>
{
};

TEST_P(Edges, NoControlCharacterReachesAPath)
{
    Clipboard clipboard;
    for (const auto &[format, bytes] : GetParam().offered) {
        clipboard.formats.push_back(format);
        clipboard.bytes[format] = bytes;
    }
    EXPECT_EQ(holdsFileList(clipboard.formats), GetParam().holds);
    const FileListPaths got = clipboard.files();
    EXPECT_EQ(got.paths, GetParam().paths);
    EXPECT_EQ(got.notFiles, GetParam().notFiles);
}

const std::string kUris = "text/uri-list";
const std::string kGnome = "x-special/gnome-copied-files";

INSTANTIATE_TEST_SUITE_P(
    FileList, Edges,
    ::testing::Values(
        EdgeCase{"inOrderWithDuplicates",
                 {{kUris, "file:///b.png\r\nfile:///a.png\r\nfile:///b.png\r\n"}},
                 {"/b.png", "/a.png", "/b.png"},
                 0},
        EdgeCase{"oneFileEndedByNul", {{kUris, "file:///f/Sevilla%2010.jpg\0"s}}, {"/f/Sevilla 10.jpg"}, 0},
        EdgeCase{
            "nulsAndCrsEndingLines", {{kUris, "file:///a\0\r\nfile:///b\r\0\r\n\0\0"s}}, {"/a", "/b"}, 0},
        EdgeCase{"nulInsideALine", {{kUris, "file:///a\0b.jpg\r\nfile:///c.jpg"s}}, {"/c.jpg"}, 1},
        EdgeCase{"rawControls", {{kUris, "file:///a\tb\nfile:///c\rd\nfile:///e\x7F\nfile:///f"}}, {"/f"}, 3},
        EdgeCase{
            "escapedControls",
            {{kUris, "file:///a%00\nfile:///b%0A.jpg\nfile:///c%1f\nfile:///d%7F\nfile:///e%20%C3%B1%FF"}},
            {"/e \xC3\xB1\xFF"},
            4},
        EdgeCase{"utf16IsNoList", {{kUris, "f\0i\0l\0e\0:\0/\0/\0/\0a\0\r\0\n\0"s}}, {}, 1},
        EdgeCase{"lfAndCrLfCommentsBlanks",
                 {{kUris, "# from here\r\n\nfile:///a\n  FILE:///b  \r\n"}},
                 {"/a", "/b"},
                 0},
        EdgeCase{"copyOrCutOnlyFirst", {{kGnome, "cut\nfile:///a\ncopy\n"}}, {"/a"}, 1},
        EdgeCase{"hosts",
                 {{kUris, "file://localhost/a\nfile://Server/b%20c\nfile:/d\nfile://e"}},
                 {"/a", "//Server/b c", "/d", "//e/"},
                 0},
        EdgeCase{
            "aBrokenEscapeStays", {{kUris, "file:///a%2.png\nfile:///b%zz%"}}, {"/a%2.png", "/b%zz%"}, 0},
        EdgeCase{"webLinksAndEmptyUrlsCounted",
                 {{kUris, "https://example.org/a.png\nfile:///b.png\nmailto:x\nfile:"}},
                 {"/b.png"},
                 3},
        EdgeCase{"uriListFirst", {{kGnome, "copy\nfile:///gnome"}, {kUris, "file:///uri"}}, {"/uri"}, 0},
        EdgeCase{"anEmptyFormatGivesWay", {{kUris, "\0"s}, {kGnome, "copy\nfile:///gnome"}}, {"/gnome"}, 0},
        EdgeCase{
            "mate", {{"x-special/mate-copied-files", "copy\nfile:///m"}, {"UTF8_STRING", "/t"}}, {"/m"}, 0},
        EdgeCase{"kde",
                 {{"application/x-kde4-urilist", "file:///k\r\n"}, {"application/x-kde-cutselection", "1"}},
                 {"/k"},
                 0},
        EdgeCase{"namesInAnyCase", {{"Text/URI-List", "file:///a"}}, {"/a"}, 0},
        EdgeCase{
            "textIsNoFileList", {{"UTF8_STRING", "/a.jpg"}, {"text/plain", "file:///a.jpg"}}, {}, 0, false},
        EdgeCase{"nothingOffered", {}, {}, 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FileList, KeptPathsRefuseControlCharacters)
{
    const FileListPaths kept = keptPaths({"C:\\fotos\\a.jpg", "C:\\b\x01.jpg", "\x7F", "C:\\ñ.jpg", "\t"});
    EXPECT_EQ(kept.paths, (std::vector<std::string>{"C:\\fotos\\a.jpg", "C:\\ñ.jpg"}));
    EXPECT_EQ(kept.notFiles, 3u);
}

} // namespace
