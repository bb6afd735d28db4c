#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lumvrex {

// The page list's commands, their keys and their place in its context menu,
// the same in every window. A window turns its key events into ListKeys and
// builds its menu from kPageCommands; adding a command is a row here and a
// function of PageListController.

enum class PageCommand {
    AddPictures,
    AddFolder,
    Paste,
    Remove,
    MoveLeft,
    MoveRight,
    MoveFirst,
    MoveLast,
    SortByName,
    Reverse,
    Undo,
    Redo,
    Clear,
    SelectAll,
    OpenMenu,
};

// The keys the list's commands are on; every window can name them.
enum class ListKey { Insert, Delete, Left, Right, Home, End, Menu, F10, A, N, O, R, V, Y, Z };

struct KeyChord
{
    ListKey key;
    bool ctrl = false;
    bool shift = false;
    bool operator==(const KeyChord &) const = default;
};

// In the menu, and where: a line above it when it starts a group.
enum class MenuPlace { None, Item, AfterLine };

struct PageCommandDefinition
{
    PageCommand command;
    // The first is the one a menu shows.
    std::array<std::optional<KeyChord>, 2> keys;
    MenuPlace menu;
    // "&Paste", in the user's language; only for commands in the menu.
    std::string_view (*caption)();
    // Followed by a dialog, so shown with an ellipsis.
    bool asksFirst = false;
};

// In the menu's order.
extern const std::array<PageCommandDefinition, 15> kPageCommands;

const PageCommandDefinition &pageCommandDefinition(PageCommand command);

// The command on a key, if any; the rest the list handles as every list
// does (arrows, Home, End, with Shift).
std::optional<PageCommand> commandForKey(KeyChord chord);

// A command's caption in the user's language, '&' before its access key;
// the access keys of one language are all different.
std::string pageMenuCaption(PageCommand command);

// Its first key as a menu shows it in the user's language ("Ctrl+Izquierda");
// empty for none.
std::string pageMenuShortcutLabel(PageCommand command);

} // namespace lumvrex
