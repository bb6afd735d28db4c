// The wildcards lumvrex-cli.exe expands, matched as Windows users know them
// (names already in capitals, as the expansion compares them).
#include "cli/wildcard_match.h"

#include "support/files.h"

#include <gtest/gtest.h>

namespace lumvrex {
namespace {

struct MatchCase
{
    const char32_t *pattern;
    const char32_t *name;
    bool matches;
};

class WildcardMatch : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(WildcardMatch, AsWindowsHasIt)
{
    EXPECT_EQ(wildcardMatches(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardMatch,
    ::testing::Values(MatchCase{U"*.JPG", U"FOTO.JPG", true}, MatchCase{U"*.JPG", U"FOTO.JPG_OLD", false},
                      MatchCase{U"*.JPG", U"PLAYA EN CÁDIZ.JPG", true},
                      MatchCase{U"FOTO?.JPG", U"FOTO1.JPG", true},
                      MatchCase{U"FOTO?.JPG", U"FOTOÑ.JPG", true},
                      MatchCase{U"FOTO?.JPG", U"FOTO10.JPG", false},
                      MatchCase{U"FOTO?.JPG", U"FOTO.JPG", false}, MatchCase{U"*", U"LEEME", true},
                      MatchCase{U"*.*", U"LEEME", true}, MatchCase{U"*.*", U"A.B.C", true},
                      MatchCase{U"FOTO.*", U"FOTO", true}, MatchCase{U"FOTO.*", U"FOTOS", false},
                      MatchCase{U"A*B*C", U"AXXBYYC", true}, MatchCase{U"A*B*C", U"AXXBYY", false},
                      MatchCase{U"*AB", U"AAAB", true}, MatchCase{U"**?", U"X", true},
                      MatchCase{U"*?*?", U"X", false}, MatchCase{U"IMG_*.PNG", U"IMG_.PNG", true}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(WildcardPaths, OnlyTheLastPartIsAPattern)
{
    EXPECT_TRUE(holdsWildcard("C:\\Fotos\\*.jpg"));
    EXPECT_TRUE(holdsWildcard("foto?.jpg"));
    EXPECT_FALSE(holdsWildcard("C:\\Fotos\\a.jpg"));
    // The prefix of a long path is no wildcard; what follows it may be.
    EXPECT_FALSE(holdsWildcard("\\\\?\\C:\\Fotos\\a.jpg"));
    EXPECT_TRUE(holdsWildcard("\\\\?\\C:\\Fotos\\*.jpg"));

    EXPECT_EQ(lastPartAt("C:\\Fotos\\*.jpg"), 9u);
    EXPECT_EQ(lastPartAt("fotos/viaje\\*.jpg"), 12u);
    EXPECT_EQ(lastPartAt("C:*.jpg"), 2u);
    EXPECT_EQ(lastPartAt("*.jpg"), 0u);
}

} // namespace
} // namespace lumvrex
