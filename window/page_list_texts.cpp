#include "window/page_list_texts.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/publication_inputs.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace lumvrex {
namespace {

#if defined(_WIN32)
constexpr std::string_view kSeparators = "/\\";
#else
constexpr std::string_view kSeparators = "/";
#endif

// Letters and digits of any script: bytes of non-ASCII characters count as
// such, so a cut between two of them never splits a character.
bool wordByte(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

std::size_t commonPrefix(std::string_view a, std::string_view b)
{
    const auto end = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(end.first - a.begin());
}

std::size_t commonSuffix(std::string_view a, std::string_view b)
{
    const auto end = std::mismatch(a.rbegin(), a.rend(), b.rbegin(), b.rend());
    return static_cast<std::size_t>(end.first - a.rbegin());
}

// Most names need no change to be shown; utf8::printable is for the rest.
std::string shown(std::string_view text)
{
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    return plain ? std::string(text) : utf8::printable(text, 1000);
}

} // namespace

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t last = path.find_last_not_of(kSeparators);
    if (last == std::string_view::npos)
        return path;
    path = path.substr(0, last + 1);
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

namespace {

// A name as pieces: runs of letters and digits (words) and the single
// characters between them ('.', ' ', '_', '(').
struct Piece
{
    std::size_t begin;
    std::size_t end;
    bool word;
};

// The length of a byte or character shown by its number ("<0xFF>",
// "<U+001B>") at a place, which is part of a word; 0 if none is there.
std::size_t shownByNumber(std::string_view name, std::size_t at)
{
    if (!name.substr(at).starts_with("<0x") && !name.substr(at).starts_with("<U+"))
        return 0;
    const std::size_t close = name.find('>', at);
    return close == std::string_view::npos ? 0 : close + 1 - at;
}

std::vector<Piece> piecesOf(std::string_view name)
{
    std::vector<Piece> pieces;
    for (std::size_t at = 0; at < name.size();) {
        const auto wordAt = [&](std::size_t i) { return wordByte(name[i]) || shownByNumber(name, i) > 0; };
        const auto stepAt = [&](std::size_t i) { return std::max<std::size_t>(1, shownByNumber(name, i)); };
        const bool word = wordAt(at);
        std::size_t end = at + stepAt(at);
        while (word && end < name.size() && wordAt(end))
            end += stepAt(end);
        pieces.push_back({at, end, word});
        at = end;
    }
    return pieces;
}

std::string nameShown(const std::vector<std::string> &paths, std::size_t row)
{
    return shown(fileNameOf(paths[row]));
}

} // namespace

std::string pageLabel(const std::vector<std::string> &paths, std::size_t row,
                      const std::function<bool(std::string_view)> &fits)
{
    std::string name = nameShown(paths, row);
    if (fits(name))
        return name;

    // The start and the end it shares with the neighbour most like it:
    // what lies between tells it from both.
    std::size_t prefix = 0;
    std::size_t suffix = 0;
    for (const std::size_t neighbour : {row - 1, row + 1}) {
        if (neighbour < paths.size()) {
            const std::string other = nameShown(paths, neighbour);
            prefix = std::max(prefix, commonPrefix(name, other));
            suffix = std::max(suffix, commonSuffix(name, other));
        }
    }
    const std::vector<Piece> pieces = piecesOf(name);
    const auto words = [&](std::size_t from, std::size_t to) { return pieces[from].word && pieces[to].word; };
    // The words that tell it apart: from the one its shared start ends in
    // to the one its shared end starts in; all of them for a name its
    // neighbours share.
    std::size_t first = 0;
    std::size_t last = pieces.size() - 1;
    while (first < last && (pieces[first].end <= prefix || !pieces[first].word))
        ++first;
    while (last > first && (pieces[last].begin >= name.size() - suffix || !pieces[last].word))
        --last;
    if (prefix + suffix >= name.size() || !words(first, last)) {
        first = 0;
        last = pieces.size() - 1;
    }
    const auto label = [&](std::size_t from, std::size_t to) {
        return (from > 0 ? "…" : "") + name.substr(pieces[from].begin, pieces[to].end - pieces[from].begin)
            + (to + 1 < pieces.size() ? "…" : "");
    };
    const auto previousWord = [&](std::size_t at) {
        do
            --at;
        while (at > 0 && !pieces[at].word);
        return at;
    };
    const auto nextWord = [&](std::size_t at) {
        do
            ++at;
        while (at + 1 < pieces.size() && !pieces[at].word);
        return at;
    };
    // Too long even so: its first words, as many as fit.
    while (last > first && !fits(label(first, last)))
        last = previousWord(last);
    if (!fits(label(first, last)))
        return label(first, last);
    // Room to spare: the words before it, which start the name, then those
    // after it.
    while (first > 0 && fits(label(previousWord(first), last)))
        first = previousWord(first);
    while (last + 1 < pieces.size() && fits(label(first, nextWord(last))))
        last = nextWord(last);
    return label(first, last);
}

std::string_view folderOf(std::string_view path)
{
    const std::string_view name = fileNameOf(path);
    const auto end = static_cast<std::size_t>(name.data() - path.data());
    if (end == 0)
        return {};
    const std::size_t last = path.find_last_not_of(kSeparators, end - 1);
    return last == std::string_view::npos ? path.substr(0, 1) : path.substr(0, last + 1);
}

std::string pageSpokenName(const std::vector<std::string> &paths, std::size_t row)
{
    const std::string_view path = paths[row];
    const std::string_view folder = folderOf(path);
    const bool apart = (row > 0 && folderOf(paths[row - 1]) != folder)
        || (row + 1 < paths.size() && folderOf(paths[row + 1]) != folder);
    // Digits without grouping: a screen reader says them as one number.
    const std::string page = std::to_string(row + 1);
    const std::string count = std::to_string(paths.size());
    const std::string name = utf8::printable(fileNameOf(path));
    if (!apart || folder.empty())
        return formatMessage(localized("spoken name", "page %1$s of %2$s, %3$s"), {page, count, name});
    return formatMessage(localized("spoken name", "page %1$s of %2$s, %3$s, in %4$s"),
                         {page, count, name, utf8::printable(fileNameOf(folder))});
}

std::string pageTooltipHeading(std::size_t index, std::size_t count)
{
    return formatMessage(localized("tooltip", "page %1$s of %2$s"),
                         {std::to_string(index + 1), std::to_string(count)});
}

std::string shownPath(std::string_view path)
{
    return utf8::printable(path, 100000);
}

std::string pageListName(std::string_view caption, std::size_t count)
{
    return std::string(caption) + " "
        + formatMessage(localizedCount("spoken name", "%s page", "%s pages", count), {std::to_string(count)});
}

std::string notFilesMessage(std::size_t notFiles, PageSource source)
{
    const std::string_view pattern = source == PageSource::Paste
        ? localizedCount("note", "%s pasted item is not a file and was not added.",
                         "%s pasted items are not files and were not added.", notFiles)
        : localizedCount("note", "%s dropped item is not a file and was not added.",
                         "%s dropped items are not files and were not added.", notFiles);
    return formatMessage(pattern, {withThousands(notFiles)});
}

std::string_view noFilesToPasteMessage()
{
    return localized("note", "The clipboard holds no files to paste.");
}

AddPicturesTexts addPicturesTexts()
{
    return {localized("open dialog", "Add pictures"), localized("open dialog", "Pictures"),
            localized("open dialog", "All files")};
}

std::string_view addFolderTitle()
{
    return localized("open dialog", "Add folder");
}

std::string addPicturesFolder(const std::vector<std::string> &paths, const std::string &picturesFolder)
{
    const std::string_view folder = paths.empty() ? std::string_view() : folderOf(paths.back());
    return folder.empty() ? picturesFolder : std::string(folder);
}

} // namespace lumvrex
