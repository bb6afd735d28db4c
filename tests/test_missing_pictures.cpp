// The pages that name no picture, and the question "Create pub" asks about
// them before the path.
#include "window/missing_pictures.h"

#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumvrex {
namespace {

using testing::TemporaryFolder;

struct MissingCase
{
    const char *name;
    std::vector<std::string> entries; // names in a folder holding a.jpg, b.png and the folder Viaje
    std::vector<std::size_t> missingRows;
    const char *question;
};

class MissingPictures : public ::testing::TestWithParam<MissingCase>
{
};

TEST_P(MissingPictures, AreFoundAndNamedByPage)
{
    TemporaryFolder folder;
    testing::writeWholeFile(folder / "a.jpg", "");
    testing::writeWholeFile(folder / "b.png", "");
    std::filesystem::create_directory(folder / "Viaje");
    std::vector<std::string> entries;
    for (const std::string &name : GetParam().entries)
        entries.push_back(utf8FromPath(folder / name));

    const std::vector<MissingPicture> missing = missingPictures(entries);
    std::vector<std::size_t> rows;
    for (const MissingPicture &page : missing) {
        rows.push_back(page.row);
        EXPECT_EQ(page.folder, GetParam().entries[page.row] == "Viaje") << page.row;
    }
    EXPECT_EQ(rows, GetParam().missingRows);
    if (!missing.empty()) {
        EXPECT_EQ(missingPicturesQuestion(entries, missing), GetParam().question);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingPictures,
    ::testing::Values(
        MissingCase{"all_there", {"a.jpg", "b.png", "a.jpg"}, {}, ""},
        MissingCase{"one_missing",
                    {"a.jpg", "c.jpg", "b.png"},
                    {1},
                    "1 page names no picture:\npage 2: c.jpg (not found)\n\nCreate the script anyway?"},
        MissingCase{"a_folder_and_a_missing_file",
                    {"Viaje", "a.jpg", "playa en Cádiz.jpg"},
                    {0, 2},
                    "2 pages name no picture:\npage 1: Viaje (a folder)\npage 3: playa en Cádiz.jpg (not "
                    "found)\n\nCreate the script anyway?"},
        MissingCase{"the_first_five_and_how_many_more",
                    {"1.jpg", "a.jpg", "2.jpg", "3.jpg", "Viaje", "5.jpg", "6.jpg", "7.jpg", "b.png"},
                    {0, 2, 3, 4, 5, 6, 7},
                    "7 pages name no picture:\npage 1: 1.jpg (not found)\npage 3: 2.jpg (not found)\npage 4: "
                    "3.jpg (not found)\npage 5: Viaje (a folder)\npage 6: 5.jpg (not found)\nand 2 more\n\n"
                    "Create the script anyway?"},
        MissingCase{"under_a_file",
                    {"a.jpg/x.jpg"},
                    {0},
                    "1 page names no picture:\npage 1: x.jpg (not "
                    "found)\n\nCreate the script anyway?"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

// Names that are not UTF-8 are shown by their bytes, and a path that is
// empty names nothing.
TEST(MissingPicturesQuestion, ShowsEveryNamePrintable)
{
    const std::vector<std::string> entries = {"/no/such/Vac\xFF.jpg", "", "/no/such/a\x1B[2Jb.jpg"};
    const std::vector<MissingPicture> missing = missingPictures(entries);
    ASSERT_EQ(missing.size(), 3u);
    EXPECT_EQ(missingPicturesQuestion(entries, missing),
              "3 pages name no picture:\npage 1: Vac<0xFF>.jpg (not found)\npage 2:  (not found)\npage 3: "
              "a<U+001B>[2Jb.jpg (not found)\n\nCreate the script anyway?");
}

} // namespace
} // namespace lumvrex
