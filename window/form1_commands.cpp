#include "window/form1_commands.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/script_decimal_separator.h"
#include "runtime/system.h"
#include "runtime/utf8.h"
#include "window/page_list_editor.h"

#include <algorithm>
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

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Most names need no change to be shown; utf8::printable is for the rest.
std::string shown(std::string_view text)
{
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    return plain ? std::string(text) : utf8::printable(text, 1000);
}

} // namespace

PublicationInputs form1Inputs(const std::function<std::string(std::string_view control)> &fieldText,
                              PageList pages)
{
    PublicationInputs inputs;
    for (const FieldInput &field : kForm1FieldInputs)
        inputs.*field.input = fieldText(field.control);
    inputs.pages = std::move(pages);
    return inputs;
}

std::optional<ButtonAction> buttonAction(std::string_view control)
{
    if (control == "Command1")
        return ButtonAction::CreatePublication;
    if (control == "Command2")
        return ButtonAction::Exit;
    if (control == "Command3")
        return ButtonAction::ClearPages;
    return std::nullopt;
}

char form1DecimalSeparator()
{
    return scriptDecimalSeparator(userDecimalSeparator());
}

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t last = path.find_last_not_of(kSeparators);
    if (last == std::string_view::npos)
        return path;
    path = path.substr(0, last + 1);
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::vector<std::string> pageLabels(const std::vector<std::string> &paths)
{
    std::vector<std::string> names;
    names.reserve(paths.size());
    for (const std::string &path : paths)
        names.push_back(shown(fileNameOf(path)));
    if (names.size() < 2)
        return names;

    std::vector<std::string> labels;
    labels.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = names[i];
        std::size_t prefix = name.size();
        std::size_t suffix = name.size();
        for (const std::size_t neighbour : {i - 1, i + 1}) {
            if (neighbour < names.size()) {
                prefix = std::min(prefix, commonPrefix(name, names[neighbour]));
                suffix = std::min(suffix, commonSuffix(name, names[neighbour]));
            }
        }
        std::size_t start = prefix;
        while (start > 0 && start < name.size() && wordByte(name[start - 1]) && wordByte(name[start]))
            --start;
        std::size_t end = name.size() - suffix;
        while (end > 0 && end < name.size() && wordByte(name[end - 1]) && wordByte(name[end]))
            ++end;
        // Cutting off fewer than two bytes saves no room; nothing left to
        // show means the neighbours are the same name, shown whole.
        if (start < 2)
            start = 0;
        if (name.size() - end < 2)
            end = name.size();
        if (start >= end) {
            labels.emplace_back(name);
            continue;
        }
        std::string label;
        if (start > 0)
            label += "…";
        label += name.substr(start, end - start);
        if (end < name.size())
            label += "…";
        labels.push_back(std::move(label));
    }
    return labels;
}

std::string pageSpokenName(std::size_t index, std::size_t count, std::string_view path)
{
    // Digits without grouping: a screen reader says them as one number.
    return formatMessage(
        localized("spoken name", "page %1$s of %2$s, %3$s"),
        {std::to_string(index + 1), std::to_string(count), utf8::printable(fileNameOf(path))});
}

std::string fieldAccessibleName(const ControlSpec &field)
{
    const ControlSpec *resolution = form1Control("Label5");
    if (field.name == "Text4")
        return std::string(resolution->caption) + " " + std::string(localized("spoken name", "width"));
    if (field.name == "Text5")
        return std::string(resolution->caption) + " " + std::string(localized("spoken name", "height"));
    return std::string(field.accessibleName);
}

std::string pageTooltipHeading(std::size_t index, std::size_t count)
{
    return formatMessage(localized("tooltip", "page %1$s of %2$s"),
                         {std::to_string(index + 1), std::to_string(count)});
}

std::string pageDescription(std::string_view path)
{
    return utf8::printable(path, 100000);
}

std::string pageListName(std::string_view caption, std::size_t count)
{
    return std::string(caption) + " "
        + formatMessage(localizedCount("spoken name", "%s page", "%s pages", count), {std::to_string(count)});
}

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

UriListPaths pathsFromUriList(std::string_view uriList)
{
    UriListPaths result;
    bool first = true;
    while (!uriList.empty()) {
        const std::size_t newline = uriList.find('\n');
        std::string_view line = uriList.substr(0, newline);
        uriList = newline == std::string_view::npos ? std::string_view() : uriList.substr(newline + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const bool wasFirst = std::exchange(first, false);
        if (line.empty() || line.front() == '#')
            continue;
        if (wasFirst && (line == "copy" || line == "cut"))
            continue;
        if (!startsWithNoCase(line, "file:")) {
            ++result.notFiles;
            continue;
        }
        std::string_view rest = line.substr(5);
        std::string host;
        if (rest.starts_with("//")) {
            rest.remove_prefix(2);
            const std::size_t slash = rest.find('/');
            host = std::string(rest.substr(0, slash));
            rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
        }
        std::string path = percentDecoded(rest);
        if (!host.empty() && host != "localhost")
            path.insert(0, "//" + host);
        result.paths.push_back(std::move(path));
    }
    return result;
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

std::string pageMenuCaption(PageCommand command)
{
    switch (command) {
    case PageCommand::AddPictures:
        // The ellipsis (a dialog follows) is the same in every language,
        // and the catalogue's messages stay ASCII.
        return std::string(localized("page menu", "&Add pictures")) + "…";
    case PageCommand::Paste:
        return std::string(localized("page menu", "&Paste"));
    case PageCommand::Remove:
        return std::string(localized("page menu", "&Remove"));
    case PageCommand::MoveLeft:
        return std::string(localized("page menu", "Move &left"));
    case PageCommand::MoveRight:
        return std::string(localized("page menu", "Move r&ight"));
    case PageCommand::Undo:
        return std::string(localized("page menu", "&Undo"));
    case PageCommand::Redo:
        return std::string(localized("page menu", "Re&do"));
    case PageCommand::Clear:
        return std::string(localized("page menu", "&Clear"));
    }
    return {};
}

std::string_view pageMenuShortcutLabel(PageCommand command)
{
    switch (command) {
    case PageCommand::AddPictures:
        // TRANSLATORS: the keys as the language's keyboards and menus name
        // them (Windows menus show these).
        return localized("key name", "Insert");
    case PageCommand::Paste:
        return localized("key name", "Ctrl+V");
    case PageCommand::Remove:
        return localized("key name", "Delete");
    case PageCommand::MoveLeft:
        return localized("key name", "Ctrl+Left");
    case PageCommand::MoveRight:
        return localized("key name", "Ctrl+Right");
    case PageCommand::Undo:
        return localized("key name", "Ctrl+Z");
    case PageCommand::Redo:
        return localized("key name", "Ctrl+Y");
    case PageCommand::Clear:
        break;
    }
    return {};
}

bool pageCommandEnabled(const PageListEditor &editor, PageCommand command, bool clipboardHasFiles)
{
    const bool room = editor.size() < kMaxPages;
    switch (command) {
    case PageCommand::AddPictures:
        return room;
    case PageCommand::Paste:
        return room && clipboardHasFiles;
    case PageCommand::Remove:
        return editor.canRemove();
    case PageCommand::MoveLeft:
        return editor.canMove(PageListEditor::Move::Left);
    case PageCommand::MoveRight:
        return editor.canMove(PageListEditor::Move::Right);
    case PageCommand::Undo:
        return editor.canUndo();
    case PageCommand::Redo:
        return editor.canRedo();
    case PageCommand::Clear:
        return editor.canClear();
    }
    return false;
}

EditOutcome applyListEdit(PageListEditor &editor, PageCommand command)
{
    using Move = PageListEditor::Move;
    switch (command) {
    case PageCommand::Remove:
        return editor.removeSelected();
    case PageCommand::MoveLeft:
        return editor.moveSelected(Move::Left);
    case PageCommand::MoveRight:
        return editor.moveSelected(Move::Right);
    case PageCommand::Undo:
        return editor.undo();
    case PageCommand::Redo:
        return editor.redo();
    case PageCommand::Clear:
        return editor.clear();
    case PageCommand::AddPictures:
    case PageCommand::Paste:
        break;
    }
    return {};
}

std::string addPicturesFolder(const std::vector<std::string> &paths, const std::string &picturesFolder)
{
    if (paths.empty())
        return picturesFolder;
    const std::string &last = paths.back();
    const std::size_t separator = last.find_last_of(kSeparators);
    if (separator == std::string::npos)
        return picturesFolder;
    return separator == 0 ? last.substr(0, 1) : last.substr(0, separator);
}

std::string expandHome(std::string_view path, std::string_view home)
{
    if (home.empty() || path.empty() || path.front() != '~' || (path.size() > 1 && path[1] != '/'))
        return std::string(path);
    return std::string(home) + std::string(path.substr(1));
}

} // namespace lumvrex
