// Name order against Windows' own StrCmpLogicalW (shlwapi.dll, Windows XP
// and later), where Wine, which the suites run under, does what Windows
// does: a first difference between two numbers of different value, or
// between two characters that are neither digits, dots nor folder
// separators and differ by more than case (letters, accents, ñ, other
// scripts, signs against signs). Elsewhere Wine and Explorer part ways
// (Wine puts digits before signs and knows no dot rule; both are blind to
// leading zeros and case), and name order knowingly follows Explorer or
// its own rule (see the README's "Name order").
#include "publication/page_order.h"

#include "runtime/system.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

namespace lumvrex {
namespace {

struct LogicalPair
{
    const char *before;
    const char *after;
};

constexpr LogicalPair kPairs[] = {
    {"!nota.jpg", "(1) intro.jpg"},
    {"(1) intro.jpg", "(2) mapa.jpg"},
    {"(2) mapa.jpg", "_portada.jpg"},
    {"1.jpg", "2.jpg"},
    {"2.jpg", "10.jpg"},
    {"a b/alba.jpg", "Álvaro.jpg"},
    {"Álvaro.jpg", "barco.jpg"},
    {"barco.jpg", "Beatriz.jpg"},
    {"Beatriz.jpg", "Burgos.jpeg"},
    {"Burgos.jpeg", "Burgos.jpg"},
    {"Burgos.jpg", "Burgos.png"},
    {"Burgos (2).jpg", "Burgos (10).jpg"},
    {"Burgos2.jpg", "cadiz.jpg"},
    {"Cádiz.jpg", "Córdoba.jpg"},
    {"Córdoba.jpg", "cuenca.jpg"},
    {"Cuenca.jpg", "foto.jpg"},
    {"foto (2).jpg", "foto (10).jpg"},
    {"foto 1.jpg", "foto 02.jpg"},
    {"foto 2.jpg", "foto 9.jpg"},
    {"foto 9.jpg", "foto 010.jpg"},
    {"foto1.jpg", "IMG_2.jpg"},
    {"IMG_2.jpg", "IMG_0010.jpg"},
    {"IMG_10.jpg", "nube.jpg"},
    {"nube.jpg", "ñandú.jpg"},
    {"ñandú.jpg", "Ñu.jpg"},
    {"Ñu.jpg", "oso.jpg"},
    {"viaje/1.jpg", "viaje/2.jpg"},
    {"viaje 2/1.jpg", "zeta.jpg"},
    {"zeta.jpg", "Ωmega.jpg"},
    {"Ωmega.jpg", "日本.jpg"},
};

TEST(NameOrderOnWindows, AgreesWithStrCmpLogicalWWhereWineFollowsWindows)
{
    for (const LogicalPair &pair : kPairs) {
        const std::wstring before = wideFromUtf8(pair.before);
        const std::wstring after = wideFromUtf8(pair.after);
        EXPECT_EQ(StrCmpLogicalW(before.c_str(), after.c_str()), -1) << pair.before << " / " << pair.after;
        EXPECT_EQ(StrCmpLogicalW(after.c_str(), before.c_str()), 1) << pair.after << " / " << pair.before;
        EXPECT_LT(compareNames(nameCodePoints(pair.before), nameCodePoints(pair.after)), 0)
            << pair.before << " / " << pair.after;
    }
}

} // namespace
} // namespace lumvrex
