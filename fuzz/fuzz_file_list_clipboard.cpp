// Arbitrary bytes as a clipboard: records of a format (a number into the
// table below), a length (two bytes, low first) and that many bytes; the
// last record takes what is left. Whatever the clipboard holds, no path
// comes back with a control character, only offered formats are read, each
// once and best first, and the paths and the items not added together are
// the items of the list that was read.
#include "window/file_list_clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace lumvrex;

[[noreturn]] void broken(const char *what, const std::string &detail = {})
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

bool holdsControl(std::string_view path)
{
    return std::any_of(path.begin(), path.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// What the file managers offer; tests/data/clipboard/capture.sh numbers the
// seeds' records by this table.
constexpr std::string_view kFormats[] = {
    "text/uri-list",
    "x-special/gnome-copied-files",
    "x-special/mate-copied-files",
    "application/x-kde4-urilist",
    "application/x-kde-urilist",
    "application/x-kde-cutselection",
    "UTF8_STRING",
    "text/plain",
    "text/plain;charset=utf-8",
    "text/x-moz-url",
    "STRING",
    "TEXT/URI-LIST",
};

// The items of a list, told apart from what the reader passes over as the
// lists' own description has it: lines empty but for blanks, CRs and NULs,
// '#' comments, and a first line "copy" or "cut".
std::size_t itemsOf(std::string_view list)
{
    std::size_t items = 0;
    std::size_t number = 0;
    for (std::size_t start = 0; start < list.size(); ++number) {
        const std::size_t end = std::min(list.find('\n', start), list.size());
        std::string line(list.substr(start, end - start));
        start = end + 1;
        while (!line.empty()
               && std::string_view(" \t\v\f\r\0", 6).find(line.back()) != std::string_view::npos)
            line.pop_back();
        while (!line.empty()
               && std::string_view(" \t\v\f\r\0", 6).find(line.front()) != std::string_view::npos)
            line.erase(0, 1);
        if (!line.empty() && line[0] != '#' && !(number == 0 && (line == "copy" || line == "cut")))
            ++items;
    }
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> formats;
    std::map<std::string, std::string, std::less<>> bytes;
    for (std::size_t at = 0; at < input.size();) {
        const std::string name(kFormats[static_cast<unsigned char>(input[at]) % std::size(kFormats)]);
        std::size_t length = input.size() - at - 1;
        if (length >= 2) {
            length = std::min<std::size_t>(static_cast<unsigned char>(input[at + 1])
                                               | static_cast<unsigned char>(input[at + 2]) << 8,
                                           length - 2);
            at += 2;
        }
        if (!bytes.contains(name))
            formats.push_back(name);
        bytes[name] = std::string(input.substr(at + 1, length));
        at += 1 + length;
    }

    std::vector<std::string> read;
    const FileListPaths found = filesOffered(formats, [&](std::string_view format) {
        if (std::find(formats.begin(), formats.end(), format) == formats.end())
            broken("read a format not offered:", std::string(format));
        if (std::find(read.begin(), read.end(), format) != read.end())
            broken("read a format twice:", std::string(format));
        read.emplace_back(format);
        return bytes.find(format)->second;
    });

    for (const std::string &path : found.paths) {
        if (holdsControl(path))
            broken("a control character in a path:", path);
    }
    if (read.empty() != !holdsFileList(formats))
        broken("holdsFileList disagrees with what was read");
    if (read.empty()) {
        if (!found.paths.empty() || found.notFiles != 0)
            broken("files from no list");
        return 0;
    }
    const std::string &list = bytes.find(read.back())->second;
    if (found.paths.size() + found.notFiles != itemsOf(list))
        broken("paths and items not added do not add up to the list's items");
    for (std::size_t i = 0; i + 1 < read.size(); ++i) {
        if (itemsOf(bytes.find(read[i])->second) != 0)
            broken("a list with items was passed over:", read[i]);
    }

    // The rule for paths that come in a form of their own: NUL-separated
    // pieces of the same bytes.
    std::vector<std::string> pieces;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        pieces.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    const std::size_t count = pieces.size();
    const FileListPaths kept = keptPaths(std::move(pieces));
    if (kept.paths.size() + kept.notFiles != count)
        broken("kept and refused paths do not add up");
    for (const std::string &path : kept.paths) {
        if (holdsControl(path))
            broken("a kept path with a control character:", path);
    }
    return 0;
}
