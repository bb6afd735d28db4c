#include "window/file_list_clipboard.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace lumvrex {
namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowered(x) == lowered(y); });
}

// The name a format is offered under, which may differ in case.
const std::string *offeredAs(const std::vector<std::string> &formats, std::string_view format)
{
    const auto found = std::find_if(formats.begin(), formats.end(),
                                    [format](const std::string &name) { return equalNoCase(name, format); });
    return found == formats.end() ? nullptr : &*found;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%20" and the like as the bytes they stand for; a broken one stays.
std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
            && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Blanks, CRs and NULs around a line belong to no URI: pcmanfm ends its
// lists with a NUL, others with CR LF or nothing.
std::string_view trimmed(std::string_view line)
{
    constexpr std::string_view kAround(" \t\v\f\r\0", 6);
    const std::size_t first = line.find_first_not_of(kAround);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(kAround) - first + 1);
}

// The path a file: URL names, or nothing when the line is not one.
std::optional<std::string> filePath(std::string_view line)
{
    constexpr std::string_view kScheme = "file:";
    if (line.size() < kScheme.size() || !equalNoCase(line.substr(0, kScheme.size()), kScheme))
        return std::nullopt;
    std::string_view rest = line.substr(kScheme.size());
    std::string_view host;
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        host = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    }
    std::string path = percentDecoded(rest);
    if (!host.empty() && !equalNoCase(host, "localhost"))
        path.insert(0, "//" + std::string(host));
    return path;
}

} // namespace

bool holdsControlCharacter(std::string_view path)
{
    return std::any_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

FileListPaths keptPaths(std::vector<std::string> paths)
{
    FileListPaths kept;
    kept.paths.reserve(paths.size());
    for (std::string &path : paths) {
        if (holdsControlCharacter(path))
            ++kept.notFiles;
        else
            kept.paths.push_back(std::move(path));
    }
    return kept;
}

FileListPaths pathsFromFileList(std::string_view list)
{
    FileListPaths found;
    for (bool first = true; !list.empty(); first = false) {
        const std::size_t newline = list.find('\n');
        const std::string_view line = trimmed(list.substr(0, newline));
        list = newline == std::string_view::npos ? std::string_view() : list.substr(newline + 1);
        if (line.empty() || line.front() == '#' || (first && (line == "copy" || line == "cut")))
            continue;
        std::optional<std::string> path = filePath(line);
        if (!path || path->empty() || holdsControlCharacter(*path))
            ++found.notFiles;
        else
            found.paths.push_back(std::move(*path));
    }
    return found;
}

bool holdsFileList(const std::vector<std::string> &formats)
{
    return std::any_of(std::begin(kFileListFormats), std::end(kFileListFormats),
                       [&formats](std::string_view format) { return offeredAs(formats, format) != nullptr; });
}

FileListPaths filesOffered(const std::vector<std::string> &formats,
                           const std::function<std::string(std::string_view format)> &bytesOf)
{
    for (const std::string_view format : kFileListFormats) {
        const std::string *name = offeredAs(formats, format);
        if (!name)
            continue;
        FileListPaths found = pathsFromFileList(bytesOf(*name));
        if (!found.paths.empty() || found.notFiles > 0)
            return found;
    }
    return {};
}

} // namespace lumvrex
