#include "publication/publication_inputs.h"
#include "support/fakes.h"
#include "window/form1_actions.h"
#include "window/page_list_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace lumvrex;

namespace {

std::string rowsText(const std::vector<std::size_t> &rows)
{
    std::string text;
    for (const std::size_t row : rows)
        text += (text.empty() ? "" : ",") + std::to_string(row);
    return text;
}

std::vector<std::string> letters(const std::string &text)
{
    std::vector<std::string> entries;
    for (const char c : text)
        entries.emplace_back(1, c);
    return entries;
}

// A window as the controller sees it: a view whose selection follows each
// change, as real views do, and a record of what it was told.
class FakeWindow final : public PageListWindow
{
public:
    PageSelection selection;
    FileListPaths clipboard;
    std::vector<std::string> chosen;
    std::optional<std::string> chosenFolder;
    std::vector<std::string> folders;
    std::string told;
    std::string note;

    PageSelection viewSelection() const override { return selection; }
    FileListPaths clipboardFiles() const override { return clipboard; }
    bool clipboardHoldsFiles() const override { return !clipboard.paths.empty(); }
    std::vector<std::string> choosePictures(const std::string &folder) override
    {
        folders.push_back(folder);
        return chosen;
    }
    std::optional<std::string> chooseFolder(const std::string &folder) override
    {
        folders.push_back(folder);
        return chosenFolder;
    }
    std::string picturesFolder() const override { return "/home/a/Pictures"; }
    // Cells of twelve bytes.
    bool fitsCell(std::string_view text) const override { return text.size() <= 12; }
    void showChange(const PageListChange &change) override
    {
        say("-" + rowsText(change.removed) + " +" + rowsText(change.inserted));
        selection = m_controller->editor().selection();
    }
    void showNote(const std::string &text) override
    {
        if (!text.empty())
            say("note: " + text);
        else if (!note.empty())
            say("note gone");
        note = text;
    }
    void warn(const std::string &text) override { say("warn: " + text); }
    void selectAll() override
    {
        say("all");
        selection.rows.clear();
        for (std::size_t row = 0; row < m_controller->editor().size(); ++row)
            selection.rows.push_back(row);
    }
    void openMenu() override { say("menu"); }

    void watch(const PageListController &controller) { m_controller = &controller; }

private:
    void say(const std::string &what) { told += (told.empty() ? "" : "; ") + what; }
    const PageListController *m_controller = nullptr;
};

std::string listText(const PageListController &pages)
{
    std::string text;
    for (const std::string &entry : pages.editor().entries())
        text += entry;
    return text;
}

std::string selectionText(const PageSelection &selection)
{
    if (selection.rows.empty())
        return "-";
    return rowsText(selection.rows) + "@" + std::to_string(selection.current);
}

// "Ctrl+Shift+Z" as a chord.
KeyChord chordOf(std::string text)
{
    KeyChord chord{ListKey::A};
    for (const auto &[prefix, flag] :
         {std::pair{"Ctrl+", &KeyChord::ctrl}, std::pair{"Shift+", &KeyChord::shift}}) {
        if (text.starts_with(prefix)) {
            chord.*flag = true;
            text.erase(0, std::string_view(prefix).size());
        }
    }
    const std::pair<const char *, ListKey> names[] = {
        {"Ins", ListKey::Insert},  {"Del", ListKey::Delete}, {"Left", ListKey::Left},
        {"Right", ListKey::Right}, {"Home", ListKey::Home},  {"End", ListKey::End},
        {"Menu", ListKey::Menu},   {"F10", ListKey::F10},    {"A", ListKey::A},
        {"N", ListKey::N},         {"O", ListKey::O},        {"R", ListKey::R},
        {"V", ListKey::V},         {"Y", ListKey::Y},        {"Z", ListKey::Z},
    };
    const auto named = std::find_if(std::begin(names), std::end(names),
                                    [&](const auto &pair) { return text == pair.first; });
    if (named == std::end(names))
        ADD_FAILURE() << "no key named " << text;
    else
        chord.key = named->second;
    return chord;
}

struct Step
{
    std::string action;    // "drop ab", "key Ctrl+Left", "select 1@1", "run Clear", ...
    std::string list;      // after it
    std::string selection; // "1,2@2"; "-" for none
    std::string told;      // what the window was told: "-1 +" for a removal of row 1
};

struct Sequence
{
    const char *name;
    std::vector<Step> steps;
};

class Controller : public ::testing::TestWithParam<Sequence>
{
protected:
    void act(const std::string &action)
    {
        const std::size_t space = action.find(' ');
        const std::string verb = action.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : action.substr(space + 1);
        if (verb == "drop") {
            const std::size_t gap = argument.find(' ');
            m_pages.drop({letters(argument.substr(0, gap)),
                          gap == std::string::npos ? 0 : std::stoul(argument.substr(gap + 1))});
        } else if (verb == "clip") {
            m_window.clipboard = {letters(argument), 0};
        } else if (verb == "choose") {
            m_window.chosen = letters(argument);
        } else if (verb == "select") {
            const std::size_t at = argument.find('@');
            m_window.selection = {{}, std::stoul(argument.substr(at + 1))};
            for (std::size_t i = 0; i < at; i += 2)
                m_window.selection.rows.push_back(std::stoul(argument.substr(i, 1)));
        } else if (verb == "key") {
            const bool command = m_pages.runKey(chordOf(argument));
            if (!command)
                m_window.told += "(no command)";
        } else if (verb == "run") {
            for (const PageMenuEntry &entry : m_pages.menu()) {
                std::string caption = entry.caption;
                std::erase(caption, '&');
                if (caption == argument)
                    m_pages.run(entry.command);
            }
        } else {
            ADD_FAILURE() << "unknown action " << action;
        }
    }

    FakeWindow m_window;
    PageListController m_pages{m_window};
};

TEST_P(Controller, ListSelectionAndWhatTheWindowIsTold)
{
    m_window.watch(m_pages);
    for (const Step &step : GetParam().steps) {
        SCOPED_TRACE(step.action);
        m_window.told.clear();
        act(step.action);
        EXPECT_EQ(listText(m_pages), step.list);
        EXPECT_EQ(selectionText(m_window.selection), step.selection);
        EXPECT_EQ(m_window.told, step.told);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Controller,
    ::testing::Values(Sequence{"deleteSelectsTheNext",
                               {{"drop abcd", "abcd", "0@0", "- +0,1,2,3"},
                                {"select 1@1", "abcd", "1@1", ""},
                                {"key Del", "acd", "1@1", "-1 +"},
                                {"select 2@2", "acd", "2@2", ""},
                                {"key Del", "ac", "1@1", "-2 +"}}},
                      Sequence{"movesAreRemovalsAndInsertions",
                               {{"drop abcd", "abcd", "0@0", "- +0,1,2,3"},
                                {"select 2@2", "abcd", "2@2", ""},
                                {"key Ctrl+Left", "acbd", "1@1", "-2 +1"},
                                {"key Ctrl+Right", "abcd", "2@2", "-1 +2"},
                                {"key Ctrl+Home", "cabd", "0@0", "-2 +0"},
                                {"key Ctrl+Home", "cabd", "0@0", ""},
                                {"key Ctrl+End", "abdc", "3@3", "-0 +3"},
                                {"key Ctrl+Right", "abdc", "3@3", ""}}},
                      Sequence{"undoAndBothRedoKeys",
                               {{"drop abc", "abc", "0@0", "- +0,1,2"},
                                {"select 1@1", "abc", "1@1", ""},
                                {"key Del", "ac", "1@1", "-1 +"},
                                {"key Ctrl+Z", "abc", "1@1", "- +1"},
                                {"key Ctrl+Y", "ac", "1@1", "-1 +"},
                                {"key Ctrl+Z", "abc", "1@1", "- +1"},
                                {"key Ctrl+Shift+Z", "ac", "1@1", "-1 +"},
                                {"key Ctrl+Z", "abc", "1@1", "- +1"},
                                {"key Ctrl+Z", "", "-", "-0,1,2 +; note: Pages: 0 pages"},
                                {"key Ctrl+Z", "", "-", ""}}},
                      Sequence{"keysOfTheViewAreNoCommands",
                               {{"drop abc", "abc", "0@0", "- +0,1,2"},
                                {"key Right", "abc", "0@0", "(no command)"},
                                {"key Shift+Right", "abc", "0@0", "(no command)"},
                                {"key Ctrl+Shift+Left", "abc", "0@0", "(no command)"},
                                {"key Shift+Del", "abc", "0@0", "(no command)"},
                                {"key Ctrl+A", "abc", "0,1,2@0", "all"},
                                {"key Del", "", "-", "-0,1,2 +; note: Pages: 0 pages"},
                                {"key Ctrl+A", "", "-", ""}}},
                      Sequence{"menuKeysOpenTheMenu",
                               {{"key Menu", "", "-", "menu"},
                                {"key Shift+F10", "", "-", "menu"},
                                {"key F10", "", "-", "(no command)"}}},
                      Sequence{"pasteAppendsWhatTheClipboardHolds",
                               {{"drop a", "a", "0@0", "- +0"},
                                {"key V", "a", "0@0", "(no command)"},
                                {"key Ctrl+V", "a", "0@0", "note: The clipboard holds no files to paste."},
                                {"clip xy", "a", "0@0", ""},
                                {"key Ctrl+V", "axy", "1@1", "note gone; - +1,2"},
                                {"key Shift+Ins", "axyxy", "3@3", "- +3,4"},
                                {"key Ctrl+Z", "axy", "1@1", "-3,4 +"}}},
                      Sequence{"addPicturesAppendsWhatTheDialogGives",
                               {{"choose ba", "", "-", ""},
                                {"key Ins", "ba", "0@0", "- +0,1"},
                                {"choose ", "ba", "0@0", ""},
                                {"key Ins", "ba", "0@0", ""}}},
                      Sequence{"dropSaysHowManyWereNotFiles",
                               {{"drop ab 2", "ab", "0@0",
                                 "- +0,1; note: 2 dropped items are not files and were not added."},
                                {"drop  3", "ab", "0@0", ""}}},
                      Sequence{"clearIsOneStepAndSaysTheCount",
                               {{"drop abc", "abc", "0@0", "- +0,1,2"},
                                {"run Clear", "", "-", "-0,1,2 +; note: Pages: 0 pages"},
                                {"run Clear", "", "-", ""},
                                {"run Undo", "abc", "0@0", "note gone; - +0,1,2"},
                                {"key Ctrl+Shift+Del", "", "-", "-0,1,2 +; note: Pages: 0 pages"},
                                {"run Undo", "abc", "0@0", "note gone; - +0,1,2"},
                                {"run Redo", "", "-", "-0,1,2 +; note: Pages: 0 pages"}}},
                      Sequence{"sortByNameKeepsTheSelectedEntries",
                               {{"drop cAba", "cAba", "0@0", "- +0,1,2,3"},
                                {"select 0,2@2", "cAba", "0,2@2", ""},
                                {"key Ctrl+Shift+N", "aAbc", "2,3@2", "-0,1,2,3 +0,1,2,3"},
                                {"key Ctrl+Shift+N", "aAbc", "2,3@2", ""},
                                {"key Ctrl+Z", "cAba", "0,2@2", "-0,1,2,3 +0,1,2,3"},
                                {"run Sort by name", "aAbc", "2,3@2", "-0,1,2,3 +0,1,2,3"}}},
                      Sequence{"reverseKeepsTheSelectedEntries",
                               {{"drop a", "a", "0@0", "- +0"},
                                {"key Ctrl+Shift+R", "a", "0@0", ""},
                                {"drop bcd", "abcd", "1@1", "- +1,2,3"},
                                {"select 1,2@2", "abcd", "1,2@2", ""},
                                {"key Ctrl+Shift+R", "dcba", "1,2@1", "-0,1,2,3 +0,1,2,3"},
                                {"run Reverse order", "abcd", "1,2@2", "-0,1,2,3 +0,1,2,3"},
                                {"key Ctrl+Z", "dcba", "1,2@1", "-0,1,2,3 +0,1,2,3"},
                                {"key Ctrl+Z", "abcd", "1,2@2", "-0,1,2,3 +0,1,2,3"}}},
                      Sequence{"menuItemsActAsTheirKeys",
                               {{"clip z", "", "-", ""},
                                {"drop abc", "abc", "0@0", "- +0,1,2"},
                                {"select 1@1", "abc", "1@1", ""},
                                {"run Move left", "bac", "0@0", "-1 +0"},
                                {"run Move right", "abc", "1@1", "-0 +1"},
                                {"run Remove", "ac", "1@1", "-1 +"},
                                {"run Paste", "acz", "2@2", "- +2"}}}),
    [](const ::testing::TestParamInfo<Sequence> &info) { return std::string(info.param.name); });

TEST(PageListController, OpenDialogStartsWhereTheLastEntryIs)
{
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    window.chosen = {"/fotos/2024/b.png", "/fotos/2024/a.png"};
    pages.run(PageCommand::AddPictures);
    window.chosen = {};
    pages.run(PageCommand::AddPictures);
    EXPECT_EQ(window.folders, (std::vector<std::string>{"/home/a/Pictures", "/fotos/2024"}));
}

// "10110101": each menu item in order, enabled or not.
std::string enabledItems(const PageListController &pages)
{
    std::string flags;
    for (const PageMenuEntry &entry : pages.menu())
        flags += entry.enabled ? '1' : '0';
    return flags;
}

TEST(PageListController, MenuItemsAreEnabledWhereTheyCanAct)
{
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    // Add, Add folder, Paste, Remove, Left, Right, Sort, Reverse, Undo, Redo, Clear
    EXPECT_EQ(enabledItems(pages), "11000000000");
    window.clipboard = {{"/x.png"}, 0};
    EXPECT_EQ(enabledItems(pages), "11100000000");
    window.clipboard = {};
    pages.drop({{"a"}, 0});
    EXPECT_EQ(enabledItems(pages), "11010000101");
    pages.drop({{"b"}, 0});
    pages.run(PageCommand::Undo);
    pages.run(PageCommand::Redo);
    EXPECT_EQ(enabledItems(pages), "11011011101");
    pages.run(PageCommand::MoveLeft);
    EXPECT_EQ(enabledItems(pages), "11010111101");
    window.selection = {}; // the user unselected all
    EXPECT_EQ(enabledItems(pages), "11000011101");
    pages.run(PageCommand::Undo);
    EXPECT_EQ(enabledItems(pages), "11011011111");
    pages.drop({std::vector<std::string>(kMaxPages, "x"), 0});
    window.clipboard = {{"/x.png"}, 0};
    EXPECT_EQ(enabledItems(pages), "00011111101");
}

// A folder of chapters as an author keeps it; the note's wording is the
// folder reader's.
TEST(PageListController, AddFolderAppendsItsPicturesAndSaysWhatWasLeftOut)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "lumvrex-add-folder-test";
    std::filesystem::remove_all(root);
    for (const char *file : {"viaje/10.jpg", "viaje/2.png", "viaje/notas.txt", "viaje/1 Cádiz/b.JPG",
                             "viaje/1 Cádiz/a.gif", "viaje/vacía/.keep", "vacía/léeme.txt"}) {
        const std::filesystem::path path = root / std::filesystem::u8path(file);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    const auto utf8 = [](const std::filesystem::path &path) {
        const std::u8string text = path.generic_u8string();
        return std::string(text.begin(), text.end());
    };
    const auto relative = [&] {
        std::vector<std::string> names;
        for (const std::string &entry : pages.editor().entries())
            names.push_back(utf8(std::filesystem::u8path(entry).lexically_relative(root)));
        return names;
    };

    window.chosenFolder = utf8(root / "viaje");
    pages.run(PageCommand::AddFolder);
    EXPECT_EQ(relative(),
              (std::vector<std::string>{"viaje/2.png", "viaje/10.jpg", "viaje/1 Cádiz/a.gif",
                                        "viaje/1 Cádiz/b.JPG"}));
    EXPECT_EQ(window.note, "1 file that is not a picture was left out.");

    window.told.clear();
    window.chosenFolder = utf8(root / "vacía");
    pages.run(PageCommand::AddFolder);
    EXPECT_EQ(pages.editor().size(), 4u);
    EXPECT_EQ(window.told.rfind("note: ", 0), 0u) << window.told;

    window.told.clear();
    window.chosenFolder.reset(); // cancelled
    pages.run(PageCommand::AddFolder);
    EXPECT_EQ(window.told, "");
    EXPECT_EQ(std::filesystem::u8path(window.folders.back()).lexically_normal(),
              (root / std::filesystem::u8path("viaje/1 Cádiz")).lexically_normal());
    std::filesystem::remove_all(root);
}

struct MissingCase
{
    const char *name;
    std::vector<std::string> pages; // under a temporary folder; "*" ones exist
    bool yes;
    const char *dialogs;  // kinds shown, in order
    const char *selected; // rows afterwards
    bool written;
};

class MissingPictures : public ::testing::TestWithParam<MissingCase>
{
};

// Pages that name no picture are asked about before the path; No selects
// them, so that Delete removes them.
TEST_P(MissingPictures, AreAskedAboutBeforeThePath)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "lumvrex-missing-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "carpeta");
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    std::vector<std::string> paths;
    for (std::string page : GetParam().pages) {
        const bool exists = page.front() == '*';
        if (exists)
            page.erase(0, 1);
        const std::filesystem::path path = root / page;
        if (exists)
            std::ofstream(path) << "x";
        const std::u8string text = path.u8string();
        paths.emplace_back(text.begin(), text.end());
    }
    pages.drop({paths, 0});
    lumvrex::testing::FakeDialogs dialogs;
    dialogs.yes = GetParam().yes;
    const std::u8string book = (root / "libro.pub").u8string();
    dialogs.answer = std::string(book.begin(), book.end());
    lumvrex::testing::FixedEffectSource effects;

    createPublicationFromForm1(PublicationInputs{}, pages, dialogs, effects);
    std::string kinds;
    for (const auto &shown : dialogs.shown)
        kinds += (kinds.empty() ? "" : " ") + shown.kind;
    EXPECT_EQ(kinds, GetParam().dialogs);
    EXPECT_EQ(selectionText(window.selection), GetParam().selected);
    EXPECT_EQ(std::filesystem::exists(root / "libro.pub"), GetParam().written);
    std::filesystem::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, MissingPictures,
    ::testing::Values(
        MissingCase{"allThere", {"*a.jpg", "*b.jpg"}, true, "ask inform", "0@0", true},
        MissingCase{
            "yesWritesAnyway", {"*a.jpg", "b.jpg", "carpeta"}, true, "confirm ask inform", "0@0", true},
        MissingCase{
            "noSelectsThem", {"a.jpg", "*b.jpg", "carpeta", "*c.jpg"}, false, "confirm", "0,2@0", false}),
    [](const ::testing::TestParamInfo<MissingCase> &info) { return std::string(info.param.name); });

TEST(PageListController, FullListWarnsOnceTheAdditionIsDone)
{
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    pages.drop({std::vector<std::string>(kMaxPages - 1, "x"), 0});
    window.told.clear();
    window.clipboard = {{"/y.png", "/z.png"}, 0};
    pages.run(PageCommand::Paste);
    EXPECT_EQ(
        window.told,
        "- +32766; warn: The page list holds at most 32,767 pages: 1 of the pasted files was not added.");
    EXPECT_EQ(pages.editor().entries().back(), "/y.png");
}

TEST(PageListController, MenuShowsCaptionsWithTheirFirstKey)
{
    FakeWindow window;
    PageListController pages(window);
    std::vector<std::string> items;
    for (const PageMenuEntry &entry : pages.menu())
        items.push_back((entry.lineBefore ? "| " : "") + entry.caption + "\t" + entry.shortcut);
    EXPECT_EQ(
        items,
        (std::vector<std::string>{"&Add pictures…\tCtrl+O", "Add &folder…\tCtrl+Shift+O", "&Paste\tCtrl+V",
                                  "&Remove\tDelete", "Move &left\tCtrl+Left", "Move r&ight\tCtrl+Right",
                                  "| &Sort by name\tCtrl+Shift+N", "Re&verse order\tCtrl+Shift+R",
                                  "| &Undo\tCtrl+Z", "Re&do\tCtrl+Y", "| &Clear\tCtrl+Shift+Delete"}));
}

TEST(PageListController, LabelsFollowTheChanges)
{
    FakeWindow window;
    PageListController pages(window);
    window.watch(pages);
    pages.drop({{"/f/IMG_0001.jpg"}, 0});
    EXPECT_EQ(pages.label(0), "IMG_0001.jpg");
    pages.drop({{"/f/IMG_20240001.jpg"}, 0});
    EXPECT_EQ(pages.label(0), "IMG_0001.jpg");
    EXPECT_EQ(pages.label(1), "…20240001…");
}

} // namespace
