#include "window/page_list_commands.h"

#include "i18n/messages.h"

#include <algorithm>

namespace lumvrex {
namespace {

using Key = ListKey;
using Menu = MenuPlace;
constexpr bool Ctrl = true;
constexpr bool Shift = true;

std::string_view keyName(ListKey key)
{
    switch (key) {
    case Key::Insert:
        // TRANSLATORS: the keys as the language's keyboards and menus name
        // them (Windows menus show these).
        return localized("key name", "Insert");
    case Key::Delete:
        return localized("key name", "Delete");
    case Key::Left:
        return localized("key name", "Left");
    case Key::Right:
        return localized("key name", "Right");
    case Key::Home:
        return localized("key name", "Home");
    case Key::End:
        return localized("key name", "End");
    case Key::Menu:
        return "Menu";
    case Key::F10:
        return "F10";
    case Key::A:
        return "A";
    case Key::N:
        return "N";
    case Key::O:
        return "O";
    case Key::R:
        return "R";
    case Key::V:
        return "V";
    case Key::Y:
        return "Y";
    case Key::Z:
        return "Z";
    }
    return {};
}

} // namespace

// clang-format off
const std::array<PageCommandDefinition, 15> kPageCommands = {{
    {PageCommand::AddPictures, {KeyChord{Key::O, Ctrl}, KeyChord{Key::Insert}},             Menu::Item,      [] { return localized("page menu", "&Add pictures"); }, true},
    {PageCommand::AddFolder,   {KeyChord{Key::O, Ctrl, Shift}},                             Menu::Item,      [] { return localized("page menu", "Add &folder"); }, true},
    {PageCommand::Paste,       {KeyChord{Key::V, Ctrl}, KeyChord{Key::Insert, !Ctrl, Shift}}, Menu::Item,      [] { return localized("page menu", "&Paste"); }},
    {PageCommand::Remove,      {KeyChord{Key::Delete}},                                     Menu::Item,      [] { return localized("page menu", "&Remove"); }},
    {PageCommand::MoveLeft,    {KeyChord{Key::Left, Ctrl}},                                 Menu::Item,      [] { return localized("page menu", "Move &left"); }},
    {PageCommand::MoveRight,   {KeyChord{Key::Right, Ctrl}},                                Menu::Item,      [] { return localized("page menu", "Move r&ight"); }},
    {PageCommand::MoveFirst,   {KeyChord{Key::Home, Ctrl}},                                 Menu::None,      nullptr},
    {PageCommand::MoveLast,    {KeyChord{Key::End, Ctrl}},                                  Menu::None,      nullptr},
    {PageCommand::SortByName,  {KeyChord{Key::N, Ctrl, Shift}},                             Menu::AfterLine, [] { return localized("page menu", "&Sort by name"); }},
    {PageCommand::Reverse,     {KeyChord{Key::R, Ctrl, Shift}},                             Menu::Item,      [] { return localized("page menu", "Re&verse order"); }},
    {PageCommand::Undo,        {KeyChord{Key::Z, Ctrl}},                                    Menu::AfterLine, [] { return localized("page menu", "&Undo"); }},
    {PageCommand::Redo,        {KeyChord{Key::Y, Ctrl}, KeyChord{Key::Z, Ctrl, Shift}},     Menu::Item,      [] { return localized("page menu", "Re&do"); }},
    {PageCommand::Clear,       {KeyChord{Key::Delete, Ctrl, Shift}},                        Menu::AfterLine, [] { return localized("page menu", "&Clear"); }},
    {PageCommand::SelectAll,   {KeyChord{Key::A, Ctrl}},                                    Menu::None,      nullptr},
    {PageCommand::OpenMenu,    {KeyChord{Key::Menu}, KeyChord{Key::F10, !Ctrl, Shift}},     Menu::None,      nullptr},
}};
// clang-format on

const PageCommandDefinition &pageCommandDefinition(PageCommand command)
{
    return *std::find_if(
        kPageCommands.begin(), kPageCommands.end(),
        [command](const PageCommandDefinition &definition) { return definition.command == command; });
}

std::optional<PageCommand> commandForKey(KeyChord chord)
{
    for (const PageCommandDefinition &definition : kPageCommands) {
        if (std::find(definition.keys.begin(), definition.keys.end(), chord) != definition.keys.end())
            return definition.command;
    }
    return std::nullopt;
}

std::string pageMenuCaption(PageCommand command)
{
    const PageCommandDefinition &definition = pageCommandDefinition(command);
    if (!definition.caption)
        return {};
    // The ellipsis is the same in every language, and the catalogue's
    // messages stay ASCII.
    return std::string(definition.caption()) + (definition.asksFirst ? "…" : "");
}

std::string pageMenuShortcutLabel(PageCommand command)
{
    const std::optional<KeyChord> &first = pageCommandDefinition(command).keys.front();
    if (!first)
        return {};
    std::string label;
    if (first->ctrl)
        label += std::string(localized("key name", "Ctrl")) + "+";
    if (first->shift)
        label += std::string(localized("key name", "Shift")) + "+";
    return label + std::string(keyName(first->key));
}

} // namespace lumvrex
