#include "window/page_list_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace lumvrex;

namespace {

struct LabelCase
{
    const char *name;
    std::size_t room; // characters a cell holds
    std::vector<std::string> paths;
    std::vector<std::string> labels;
};

class PageLabels : public ::testing::TestWithParam<LabelCase>
{
};

std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TEST_P(PageLabels, ShowTheWholeNameOrWhatTellsNeighboursApart)
{
    const std::vector<std::string> &paths = GetParam().paths;
    std::vector<std::string> labels;
    for (std::size_t row = 0; row < paths.size(); ++row) {
        labels.push_back(pageLabel(
            paths, row, [&](std::string_view text) { return characters(text) <= GetParam().room; }));
    }
    EXPECT_EQ(labels, GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    PageList, PageLabels,
    ::testing::Values(LabelCase{"wholeNamesWhereTheyFit",
                                12,
                                {"/f/a.png", "/f/b.png", "/f/Sevilla 10.jpg"},
                                {"a.png", "b.png", "Sevilla 10…"}},
                      LabelCase{"spanishNamesByTheirFirstWords",
                                10,
                                {"/f/playa en Cádiz.jpg", "/f/Año nuevo en Málaga.jpg", "/f/Sevilla 10.jpg"},
                                {"playa en…", "Año nuevo…", "Sevilla…"}},
                      LabelCase{"narrowerStill",
                                8,
                                {"/f/playa en Cádiz.jpg", "/f/Año nuevo en Málaga.jpg", "/f/Sevilla 10.jpg"},
                                {"playa…", "Año…", "Sevilla…"}},
                      LabelCase{"numberedHolidayPictures",
                                9,
                                {"/f/Vacaciones 2024 0034.jpg", "/f/Vacaciones 2024 0035.jpg",
                                 "/f/Vacaciones 2024 0036.jpg"},
                                {"…0034.jpg", "…0035.jpg", "…0036.jpg"}},
                      LabelCase{"theWordsBeforeComeFirst",
                                12,
                                {"/f/Vacaciones 2024 0034.jpg", "/f/Vacaciones 2024 0035.jpg"},
                                {"…2024 0034…", "…2024 0035…"}},
                      LabelCase{"anEndThatTellsThemApart",
                                8,
                                {"/f/playa_de_la_caleta.jpg", "/f/playa_de_la_caleta.png"},
                                {"…jpg", "…png"}},
                      LabelCase{"sameNameTwiceIsCutFromItsStart",
                                7,
                                {"/2023/playa bonita.jpg", "/2024/playa bonita.jpg"},
                                {"playa…", "playa…"}},
                      LabelCase{"eachAgainstItsOwnNeighbours",
                                9,
                                {"/f/IMG_0001.jpg", "/f/IMG_0002.jpg", "/f/casa de campo.jpg"},
                                {"IMG_0001…", "IMG_0002…", "casa de…"}},
                      LabelCase{"accentsAreNeverSplit",
                                10,
                                {"/f/foto cañón1.jpg", "/f/foto cañón2.jpg"},
                                {"…cañón1…", "…cañón2…"}},
                      LabelCase{
                          "bytesThatAreNotUtf8", 9, {"/f/a\xFF.jpg", "/f/b.jpg"}, {"a<0xFF>…", "b.jpg"}},
                      LabelCase{"aWordTooLongStaysWhole", 4, {"/f/Constantinopla.jpg"}, {"Constantinopla…"}},
                      LabelCase{"folders", 9, {"/fotos/", "/"}, {"fotos", "/"}}),
    [](const ::testing::TestParamInfo<LabelCase> &info) { return std::string(info.param.name); });

struct SpokenCase
{
    const char *name;
    std::vector<std::string> paths;
    std::vector<std::string> spoken;
};

class SpokenNames : public ::testing::TestWithParam<SpokenCase>
{
};

// The folder is said only where it tells an entry from one beside it.
TEST_P(SpokenNames, SayTheFolderWhereItChanges)
{
    std::vector<std::string> spoken;
    for (std::size_t row = 0; row < GetParam().paths.size(); ++row)
        spoken.push_back(pageSpokenName(GetParam().paths, row));
    EXPECT_EQ(spoken, GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(
    PageList, SpokenNames,
    ::testing::Values(
        SpokenCase{"oneFolder",
                   {"/fotos/playa en Cádiz.jpg", "/fotos/a\xFF.jpg"},
                   {"page 1 of 2, playa en Cádiz.jpg", "page 2 of 2, a<0xFF>.jpg"}},
        SpokenCase{"twoChapters",
                   {"/viaje/Cádiz/a.jpg", "/viaje/Cádiz/b.jpg", "/viaje/Málaga/a.jpg", "/viaje/Málaga/c.jpg"},
                   {"page 1 of 4, a.jpg", "page 2 of 4, b.jpg, in Cádiz", "page 3 of 4, a.jpg, in Málaga",
                    "page 4 of 4, c.jpg"}},
        SpokenCase{
            "sameNameElsewhere",
            {"/2023/playa.jpg", "/2024/playa.jpg", "playa.jpg"},
            {"page 1 of 3, playa.jpg, in 2023", "page 2 of 3, playa.jpg, in 2024", "page 3 of 3, playa.jpg"}},
        SpokenCase{"rootAndFolders", {"/a.png", "/fotos/"}, {"page 1 of 2, a.png", "page 2 of 2, fotos"}}),
    [](const ::testing::TestParamInfo<SpokenCase> &info) { return std::string(info.param.name); });

TEST(PageList, SpokenTexts)
{
    EXPECT_EQ(shownPath("/f/a\xFF.jpg"), "/f/a<0xFF>.jpg");
    EXPECT_EQ(pageListName("Pages:", 0), "Pages: 0 pages");
    EXPECT_EQ(pageListName("Pages:", 1), "Pages: 1 page");
    EXPECT_EQ(pageListName("Pages:", 32767), "Pages: 32767 pages");
}

TEST(PageList, NotesWithoutABox)
{
    EXPECT_EQ(notFilesMessage(1, PageSource::Drop), "1 dropped item is not a file and was not added.");
    EXPECT_EQ(notFilesMessage(3, PageSource::Paste), "3 pasted items are not files and were not added.");
}

TEST(PageList, OpenDialogStartsWhereTheLastEntryIs)
{
    EXPECT_EQ(addPicturesFolder({}, "/home/a/Pictures"), "/home/a/Pictures");
    EXPECT_EQ(addPicturesFolder({"/x/1.png", "/fotos/2024/b.png"}, "/p"), "/fotos/2024");
    EXPECT_EQ(addPicturesFolder({"/b.png"}, "/p"), "/");
    EXPECT_EQ(addPicturesFolder({"b.png"}, "/p"), "/p");
}

} // namespace
