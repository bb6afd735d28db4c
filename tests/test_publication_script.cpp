// Every line of the script, in order, as bytes.
#include "publication/publication_script.h"
#include "publication/script_text.h"
#include "support/fakes.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <set>

namespace lumvrex {
namespace {

using testing::expectedScript;
using testing::FixedEffectSource;
using testing::scriptLines;

PublicationInputs albumInputs()
{
    return {"Mi álbum de fotos",
            "16777215",
            "800",
            "600",
            "C:\\Iconos\\libro.ico",
            {"C:\\Fotos\\playa en Cádiz.jpg", "C:\\Fotos\\montaña 2.bmp"}};
}

std::string script(const PublicationInputs &inputs, PageEffectSource &effects, char separator = '.')
{
    const Result<EncodedInputs> encoded = encodeInputs(inputs);
    EXPECT_TRUE(encoded);
    return publicationScript(*encoded, effects, separator);
}

std::string script(const PublicationInputs &inputs)
{
    FixedEffectSource effects({0.5f});
    return script(inputs, effects);
}

TEST(PublicationScript, EmptyListIsTheMasterBlockAlone)
{
    const std::string bytes = script(PublicationInputs{});
    EXPECT_EQ(bytes, expectedScript("empty-list.pub.txt"));
    EXPECT_TRUE(bytes.ends_with("MasterPage\r\n"));
}

TEST(PublicationScript, TwoPagesMatchTheExpectedBytes)
{
    FixedEffectSource effects({0.5f, 0.25f});
    EXPECT_EQ(script(albumInputs(), effects), expectedScript("two-pages.pub.txt"));
}

class LineCounts : public ::testing::TestWithParam<int>
{
};

TEST_P(LineCounts, AreTheMasterBlockAnd28PerPage)
{
    const int pages = GetParam();
    PublicationInputs in = albumInputs();
    in.pages.clear();
    for (int i = 0; i < pages; ++i)
        in.pages.append("page " + std::to_string(i) + ".png");
    const std::vector<std::string> lines = scriptLines(script(in));
    ASSERT_EQ(lines.size(), testing::scriptLineCount(std::size_t(pages)));
    // Width and height: once in the master block and once per page.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ScreenWidth = 800")
                  + std::count(lines.begin(), lines.end(), "X2 = 800"),
              1 + pages);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ScreenHeight = 600")
                  + std::count(lines.begin(), lines.end(), "Y2 = 600"),
              1 + pages);
    for (int i = 0; i < pages; ++i) {
        EXPECT_EQ(lines[testing::pageLine(std::size_t(i), 0)], "NewPage=page" + std::to_string(i));
        EXPECT_EQ(lines[testing::pageLine(std::size_t(i), 24)],
                  "FileName=page " + std::to_string(i) + ".png");
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, LineCounts, ::testing::Values(0, 1, 2, 11, 101, 1001, 10001));

class FieldPlaces : public ::testing::TestWithParam<std::string>
{
};

TEST_P(FieldPlaces, FieldsAppearWhereTheyBelong)
{
    const std::string &v = GetParam(); // every field holds this text
    const PublicationInputs in{v, v, v, v, v, {"C:\\My Pictures\\one two.jpg"}};
    const std::vector<std::string> lines = scriptLines(script(in));
    const std::pair<std::size_t, std::string> expected[] = {
        {2, "Title = " + v},
        {7, "ScreenWidth = " + v},
        {8, "ScreenHeight = " + v},
        {20, "Icon=" + v},
        {testing::pageLine(0, 12), "X2 = " + v},
        {testing::pageLine(0, 13), "Y2 = " + v},
        {testing::pageLine(0, 18), "FillColor = " + v},
        {testing::pageLine(0, 24), "FileName=C:\\My Pictures\\one two.jpg"},
    };
    for (const auto &[index, line] : expected)
        EXPECT_EQ(lines[index], line);
}

INSTANTIATE_TEST_SUITE_P(Values, FieldPlaces, ::testing::Values("v 1", ""),
                         [](const auto &info) { return info.param.empty() ? "empty" : "filled"; });

TEST(PublicationScript, TextIsWindows1252)
{
    const std::string bytes = script(albumInputs());
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    const std::vector<std::string> lines = scriptLines(bytes);
    EXPECT_EQ(lines[2], "Title = Mi \xE1lbum de fotos");
    EXPECT_EQ(lines[39], "L_CANCEL = cancelar");
    EXPECT_EQ(lines[40], "L_YES = S\xED");
    EXPECT_EQ(lines[52],
              "L_PWORDERROR=\xA1"
              "Esa no es la contrase\xF1"
              "a correcta!");
    EXPECT_EQ(lines[56],
              "L_ABORTFUNCTION=\xBF"
              "Desea cancelar esta funci\xF3n?");
    EXPECT_EQ(lines[58].size(), 167u);
    EXPECT_EQ(lines[testing::pageLine(0, 24)],
              "FileName=C:\\Fotos\\playa en C\xE1"
              "diz.jpg");
}

TEST(PublicationScript, ReseedsBeforeEachPageAndDrawsOnce)
{
    FixedEffectSource effects({0.1f});
    PublicationInputs in = albumInputs();
    in.pages.append("third.png");
    script(in, effects);
    EXPECT_EQ(effects.calls, "RNRNRN");
}

TEST(PublicationScript, EffectsUseTheGivenSeparator)
{
    FixedEffectSource effects({0.5f, 0.25f});
    const std::vector<std::string> lines = scriptLines(script(albumInputs(), effects, ','));
    EXPECT_EQ(lines[testing::pageLine(0, 5)], "PageEffect = 7,5");
    EXPECT_EQ(lines[testing::pageLine(1, 5)], "PageEffect = 3,75");
}

TEST(PublicationScript, RunsDifferOnlyInPageEffectLines)
{
    ClockEffectSource first;
    ClockEffectSource second;
    PublicationInputs in = albumInputs();
    for (int i = 0; i < 40; ++i)
        in.pages.append("p" + std::to_string(i) + ".png");
    const std::vector<std::string> a = scriptLines(script(in, first));
    const std::vector<std::string> b = scriptLines(script(in, second));
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    std::set<std::string> effectsSeen;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].starts_with("PageEffect = "))
            effectsSeen.insert(a[i]);
        if (a[i] == b[i])
            continue;
        EXPECT_TRUE(a[i].starts_with("PageEffect = ") && b[i].starts_with("PageEffect = ")) << a[i];
        ++differing;
    }
    EXPECT_GT(differing, 0);
    // Reseeding from the clock between pages must not repeat one number.
    EXPECT_GT(effectsSeen.size(), 30u);
}

} // namespace
} // namespace lumvrex
