#include "publication/publication_inputs.h"
#include "window/page_list_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lumvrex;

namespace {

// Entries are one letter each: a list reads "abc". A selection reads
// "0,2@2" (rows, then the current one), "-" when none.
std::string listText(const PageListEditor &editor)
{
    std::string text;
    for (const std::string &entry : editor.entries())
        text += entry;
    return text;
}

std::string selectionText(const PageSelection &selection)
{
    if (selection.rows.empty() && selection.current == PageSelection::npos)
        return "-";
    std::string text;
    for (const std::size_t row : selection.rows)
        text += (text.empty() ? "" : ",") + std::to_string(row);
    return text + "@" + (selection.current == PageSelection::npos ? "-" : std::to_string(selection.current));
}

PageSelection parseSelection(const std::string &text)
{
    PageSelection selection;
    const std::size_t at = text.find('@');
    std::string rows = text.substr(0, at);
    std::size_t start = 0;
    while (start < rows.size()) {
        const std::size_t comma = rows.find(',', start);
        selection.rows.push_back(std::stoul(rows.substr(start, comma - start)));
        start = comma == std::string::npos ? rows.size() : comma + 1;
    }
    selection.current = std::stoul(text.substr(at + 1));
    return selection;
}

std::vector<std::string> letters(const std::string &text)
{
    std::vector<std::string> entries;
    for (const char c : text)
        entries.emplace_back(1, c);
    return entries;
}

struct Step
{
    std::string command; // "append abc", "insert 1 xy", "select 0,2@2", "remove", ...
    std::string list;    // after the command
    std::string selection;
    bool changed = true;
};

struct Sequence
{
    const char *name;
    std::vector<Step> steps;
};

bool run(PageListEditor &editor, const std::string &command)
{
    const std::size_t space = command.find(' ');
    const std::string verb = command.substr(0, space);
    const std::string argument = space == std::string::npos ? "" : command.substr(space + 1);
    if (verb == "append")
        return editor.append(letters(argument), PageSource::Paste).changed;
    if (verb == "insert") {
        const std::size_t gap = argument.find(' ');
        return editor
            .insert(std::stoul(argument.substr(0, gap)), letters(argument.substr(gap + 1)),
                    PageSource::OpenDialog)
            .changed;
    }
    if (verb == "select") {
        editor.select(parseSelection(argument));
        return false;
    }
    if (verb == "remove")
        return editor.removeSelected().changed;
    if (verb == "left")
        return editor.moveSelected(PageListEditor::Move::Left).changed;
    if (verb == "right")
        return editor.moveSelected(PageListEditor::Move::Right).changed;
    if (verb == "first")
        return editor.moveSelected(PageListEditor::Move::First).changed;
    if (verb == "last")
        return editor.moveSelected(PageListEditor::Move::Last).changed;
    if (verb == "clear")
        return editor.clear().changed;
    if (verb == "undo")
        return editor.undo().changed;
    if (verb == "redo")
        return editor.redo().changed;
    ADD_FAILURE() << "unknown command " << command;
    return false;
}

class EditSequences : public ::testing::TestWithParam<Sequence>
{
};

TEST_P(EditSequences, ListAndSelectionAfterEachCommand)
{
    PageListEditor editor;
    for (const Step &step : GetParam().steps) {
        SCOPED_TRACE(step.command);
        const bool changed = run(editor, step.command);
        EXPECT_EQ(listText(editor), step.list);
        EXPECT_EQ(selectionText(editor.selection()), step.selection);
        if (!step.command.starts_with("select")) {
            EXPECT_EQ(changed, step.changed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    PageListEditor, EditSequences,
    ::testing::Values(Sequence{"appendSelectsWhatWasAdded",
                               {{"append abc", "abc", "0@0"},
                                {"append ad", "abcad", "3@3"},
                                {"append ", "abcad", "3@3", false}}},
                      Sequence{"insertAtAPlace",
                               {{"append abc", "abc", "0@0"},
                                {"insert 1 xy", "axybc", "1@1"},
                                {"insert 9 z", "axybcz", "5@5"}}},
                      Sequence{"removeSelectsTheNextEntry",
                               {{"append abcde", "abcde", "0@0"},
                                {"select 1@1", "abcde", "1@1"},
                                {"remove", "acde", "1@1"},
                                {"select 3@3", "acde", "3@3"},
                                {"remove", "acd", "2@2"}, // the last one: the new last is selected
                                {"select 0,2@0", "acd", "0,2@0"},
                                {"remove", "c", "0@0"},
                                {"select 0@0", "c", "0@0"},
                                {"remove", "", "-"},
                                {"remove", "", "-", false}}},
                      Sequence{"removeWithGaps",
                               {{"append abcdef", "abcdef", "0@0"},
                                {"select 1,3@3", "abcdef", "1,3@3"},
                                {"remove", "acef", "2@2"}}},
                      Sequence{"moveOnePlace",
                               {{"append abcd", "abcd", "0@0"},
                                {"select 2@2", "abcd", "2@2"},
                                {"left", "acbd", "1@1"},
                                {"left", "cabd", "0@0"},
                                {"left", "cabd", "0@0", false},
                                {"right", "acbd", "1@1"},
                                {"select 3@3", "acbd", "3@3"},
                                {"right", "acbd", "3@3", false}}},
                      Sequence{"moveABlockKeepsItsOrder",
                               {{"append abcdef", "abcdef", "0@0"},
                                {"select 2,4@4", "abcdef", "2,4@4"},
                                {"left", "acbedf", "1,3@3"},
                                {"right", "abcdef", "2,4@4"},
                                {"first", "ceabdf", "0,1@1"},
                                {"first", "ceabdf", "0,1@1", false},
                                {"last", "abdfce", "4,5@5"},
                                {"last", "abdfce", "4,5@5", false}}},
                      Sequence{"undoAndRedoEveryKind",
                               {{"append abc", "abc", "0@0"},
                                {"select 0@0", "abc", "0@0"},
                                {"right", "bac", "1@1"},
                                {"remove", "bc", "1@1"},
                                {"insert 0 x", "xbc", "0@0"},
                                {"clear", "", "-"},
                                {"undo", "xbc", "0@0"},
                                {"undo", "bc", "1@1"},
                                {"undo", "bac", "1@1"},
                                {"undo", "abc", "0@0"},
                                {"undo", "", "-"},
                                {"undo", "", "-", false},
                                {"redo", "abc", "0@0"},
                                {"redo", "bac", "1@1"},
                                {"redo", "bc", "1@1"},
                                {"redo", "xbc", "0@0"},
                                {"redo", "", "-"},
                                {"redo", "", "-", false}}},
                      Sequence{"aNewChangeDropsTheRedos",
                               {{"append ab", "ab", "0@0"},
                                {"append c", "abc", "2@2"},
                                {"undo", "ab", "0@0"},
                                {"append d", "abd", "2@2"},
                                {"redo", "abd", "2@2", false},
                                {"undo", "ab", "0@0"},
                                {"undo", "", "-"}}},
                      Sequence{"clearOnEmptyIsNoStep", {{"clear", "", "-", false}, {"undo", "", "-", false}}},
                      Sequence{"duplicatesStay",
                               {{"append aba", "aba", "0@0"},
                                {"select 2@2", "aba", "2@2"},
                                {"remove", "ab", "1@1"},
                                {"undo", "aba", "2@2"}}}),
    [](const ::testing::TestParamInfo<Sequence> &info) { return std::string(info.param.name); });

TEST(PageListEditor, SelectDropsRowsPastTheEnd)
{
    PageListEditor editor;
    editor.append(letters("ab"), PageSource::Drop);
    editor.select({{5, 1, 1, 0}, 9});
    EXPECT_EQ(selectionText(editor.selection()), "0,1@0");
}

// What a view selects in one go: each run of neighbouring rows.
TEST(PageListEditor, SelectionRunsJoinNeighboursOnly)
{
    using Runs = std::vector<std::pair<std::size_t, std::size_t>>;
    EXPECT_EQ((PageSelection{{}, PageSelection::npos}.runs()), Runs{});
    EXPECT_EQ((PageSelection{{4}, 4}.runs()), (Runs{{4, 4}}));
    EXPECT_EQ((PageSelection{{0, 1, 2, 5, 7, 8}, 0}.runs()), (Runs{{0, 2}, {5, 5}, {7, 8}}));
}

TEST(PageListEditor, HistoryIsKeptToItsDepth)
{
    PageListEditor editor;
    for (std::size_t i = 0; i < PageListEditor::kHistoryDepth + 5; ++i)
        editor.append({"p" + std::to_string(i)}, PageSource::Drop);
    EXPECT_EQ(editor.undoDepth(), PageListEditor::kHistoryDepth);
    std::size_t undone = 0;
    while (editor.undo().changed)
        ++undone;
    EXPECT_EQ(undone, PageListEditor::kHistoryDepth);
    EXPECT_EQ(editor.size(), 5u); // the oldest five steps were let go
    EXPECT_EQ(editor.entries().back(), "p4");
}

TEST(PageListEditor, OneUndoBringsBackAClearedFullList)
{
    PageListEditor editor;
    std::vector<std::string> many;
    for (std::size_t i = 0; i < kMaxPages; ++i)
        many.push_back("/pictures/" + std::to_string(i) + ".png");
    ASSERT_TRUE(editor.append(many, PageSource::Drop).message.empty());
    ASSERT_TRUE(editor.clear().changed);
    EXPECT_EQ(editor.size(), 0u);
    ASSERT_TRUE(editor.undo().changed);
    EXPECT_EQ(editor.entries(), many);
    EXPECT_EQ(editor.pages().size(), kMaxPages);
    EXPECT_EQ(editor.pages()[kMaxPages - 1], many.back());
}

struct LimitCase
{
    const char *name;
    PageSource source;
    const char *noun;
};

class Limit : public ::testing::TestWithParam<LimitCase>
{
};

// Paste, the open dialog and drops fill the list up to the limit and say
// how many did not fit; nothing is lost from what was there.
TEST_P(Limit, AddsWhatFitsAndSaysHowManyDidNot)
{
    PageListEditor editor;
    std::vector<std::string> many(kMaxPages - 3, "/a.png");
    editor.append(many, PageSource::Drop);
    const EditOutcome outcome = editor.append(letters("vwxyz"), GetParam().source);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(outcome.message,
              "The page list holds at most 32,767 pages: 2 of the " + std::string(GetParam().noun)
                  + " files were not added.");
    EXPECT_EQ(editor.size(), kMaxPages);
    EXPECT_EQ(editor.entries()[kMaxPages - 1], "x");

    const EditOutcome full = editor.insert(0, letters("q"), GetParam().source);
    EXPECT_FALSE(full.changed);
    EXPECT_EQ(full.message,
              "The page list holds at most 32,767 pages: 1 of the " + std::string(GetParam().noun)
                  + " files was not added.");
    EXPECT_EQ(editor.entries().front(), "/a.png");

    // Back through the history and forward again, never past the limit.
    ASSERT_TRUE(editor.undo().changed);
    EXPECT_EQ(editor.size(), kMaxPages - 3);
    ASSERT_TRUE(editor.redo().changed);
    EXPECT_EQ(editor.size(), kMaxPages);
    ASSERT_TRUE(editor.clear().changed);
    EXPECT_TRUE(editor.append(letters("ab"), GetParam().source).message.empty());
    ASSERT_TRUE(editor.undo().changed);
    ASSERT_TRUE(editor.undo().changed); // the Clear
    EXPECT_EQ(editor.size(), kMaxPages);
    EXPECT_TRUE(editor.append(letters("c"), GetParam().source).message.size() > 0);
}

INSTANTIATE_TEST_SUITE_P(PageListEditor, Limit,
                         ::testing::Values(LimitCase{"drop", PageSource::Drop, "dropped"},
                                           LimitCase{"paste", PageSource::Paste, "pasted"},
                                           LimitCase{"openDialog", PageSource::OpenDialog, "chosen"}),
                         [](const ::testing::TestParamInfo<LimitCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(PageListEditor, EntriesKeepTheirBytes)
{
    PageListEditor editor;
    const std::string latin1("/fotos/C\xE1"
                             "diz\xFF.jpg");
    editor.append({latin1}, PageSource::Drop);
    EXPECT_EQ(editor.entries().front(), latin1);
    EXPECT_EQ(editor.pages()[0], latin1);
}

} // namespace
