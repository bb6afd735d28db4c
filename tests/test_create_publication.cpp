// "Create pub" with dialogs answered by the test: the question, the answer,
// and what the user is told.
#include "publication/create_publication.h"
#include "support/fakes.h"
#include "support/files.h"

#include <gtest/gtest.h>

namespace lumvrex {
namespace {

using testing::FakeDialogs;
using testing::FixedEffectSource;
using testing::scriptLines;
using testing::TemporaryFolder;

// Runs the command with the current folder set to folder.
CreateOutcome createIn(const std::filesystem::path &folder, const PublicationInputs &inputs,
                       FakeDialogs &dialogs, PageEffectSource &effects)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const CreateOutcome outcome = createPublication(inputs, dialogs, effects, '.');
    std::filesystem::current_path(before);
    return outcome;
}

TEST(CreatePublication, AsksForThePathThenSaysFinished)
{
    TemporaryFolder folder;
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = "My book"; // no ".pub" added, taken from the current folder
    PublicationInputs in;
    in.pages = {"a.png", "a.png"};

    EXPECT_EQ(createIn(folder.path(), in, dialogs, effects), CreateOutcome::Finished);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, "ask");
    EXPECT_EQ(dialogs.shown[0].title, "C:\\MyEBook.pub");
    EXPECT_EQ(dialogs.shown[0].text, "Output file:");
    EXPECT_EQ(dialogs.shown[1].kind, "inform");
    EXPECT_EQ(dialogs.shown[1].title, "Lumvrex");
    EXPECT_EQ(dialogs.shown[1].text, "Finished!");
    EXPECT_EQ(scriptLines(testing::readWholeFile(folder / "My book")).size(), testing::scriptLineCount(2));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"My book"});
}

class NoAnswer : public ::testing::TestWithParam<std::optional<std::string>>
{
};

TEST_P(NoAnswer, DoesNothing)
{
    TemporaryFolder folder;
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = GetParam();
    EXPECT_EQ(createIn(folder.path(), PublicationInputs{}, dialogs, effects), CreateOutcome::Cancelled);
    EXPECT_EQ(dialogs.shown.size(), 1u); // the question only: no message
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_TRUE(effects.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, NoAnswer, ::testing::Values(std::nullopt, std::string()),
                         [](const auto &info) { return info.param ? "ok_with_nothing_typed" : "cancel"; });

TEST(CreatePublication, AFailureIsReportedAndTheNextRunWorks)
{
    TemporaryFolder folder;
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = utf8FromPath(folder / "not here" / "book.pub");
    PublicationInputs in;
    in.pages = {"a.png"};

    EXPECT_EQ(createPublication(in, dialogs, effects, '.'), CreateOutcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].kind, "warn");
    EXPECT_EQ(dialogs.shown[1].title, "Lumvrex");
    EXPECT_NE(dialogs.shown[1].text.find(*dialogs.answer), std::string::npos) << dialogs.shown[1].text;

    dialogs.shown.clear();
    dialogs.answer = utf8FromPath(folder / "book.pub");
    EXPECT_EQ(createPublication(in, dialogs, effects, '.'), CreateOutcome::Finished);
    EXPECT_EQ(dialogs.shown.back().text, "Finished!");
}

TEST(CreatePublication, InputsAScriptCannotHoldAreNamedBeforeAnyQuestion)
{
    TemporaryFolder folder;
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = utf8FromPath(folder / "book.pub");
    PublicationInputs in;
    in.title = "Mi libro ✓";

    EXPECT_EQ(createPublication(in, dialogs, effects, '.'), CreateOutcome::Refused);
    ASSERT_EQ(dialogs.shown.size(), 1u); // no path was asked for
    EXPECT_EQ(dialogs.shown.back().kind, "warn");
    EXPECT_TRUE(dialogs.shown.back().text.starts_with(
        "The publication was not written.\n\nThe field \"E-Book title:\""))
        << dialogs.shown.back().text;
    EXPECT_NE(dialogs.shown.back().text.find("U+2713"), std::string::npos);
    EXPECT_TRUE(folder.entries().empty());
}

TEST(CreatePublication, AnUnicodePathIsWrittenAsTyped)
{
    TemporaryFolder folder;
    FakeDialogs dialogs;
    FixedEffectSource effects;
    dialogs.answer = "Año nuevo ✓.pub";
    EXPECT_EQ(createIn(folder.path(), PublicationInputs{}, dialogs, effects), CreateOutcome::Finished);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"Año nuevo ✓.pub"});
}

} // namespace
} // namespace lumvrex
