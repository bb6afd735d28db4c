// Name order against the order in which Explorer shows the same names to a
// Spanish user (Windows Vista and later: a dot before anything else, so
// "foto.jpg" before "foto (2).jpg"), with paths compared folder by folder.
#include "publication/page_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace lumvrex {
namespace {

// Each row holds names the rule finds equal (most rows just one), in name
// order.
const std::vector<std::vector<std::string>> kNameOrder = {
    {"!nota.jpg"},
    {"(1) intro.jpg"},
    {"(2) mapa.jpg"},
    {"_portada.jpg"},
    {"1.jpg"},
    {"2.jpg"},
    {"10.jpg"},
    // Folder "a" before folder "a b", each folder's pictures together.
    {"a/zeta.jpg"},
    {"a b/alba.jpg"},
    {"Álvaro.jpg"},
    {"barco.jpg"},
    {"Beatriz.jpg"},
    {"Burgos.jpeg"},
    {"Burgos.jpg"},
    {"Burgos.png"},
    {"Burgos (2).jpg"},
    {"Burgos (10).jpg"},
    {"Burgos 2.jpg"},
    {"Burgos2.jpg"},
    // Case, then accents, only where all else is equal; "á" in one
    // character or as "a" and a combining accent is the same name.
    {"cadiz.jpg"},
    {"Cadiz.jpg"},
    {"Cádiz.jpg", "Ca\u0301diz.jpg"},
    {"Córdoba.jpg"},
    {"cuenca.jpg"},
    {"Cuenca.jpg"},
    {"foto.jpg"},
    {"foto (2).jpg"},
    {"foto (10).jpg"},
    // Leading zeros: the number's value first; more zeros first only where
    // all else is equal.
    {"foto 001.jpg"},
    {"foto 01.jpg"},
    {"foto 1.jpg"},
    {"foto 02.jpg"},
    {"foto 2.jpg"},
    {"foto 9.jpg"},
    {"foto 010.jpg"},
    {"foto1.jpg"},
    {"IMG_2.jpg"},
    {"IMG_0010.jpg"},
    {"IMG_10.jpg"},
    {"nube.jpg"},
    {"ñandú.jpg", "n\u0303andu\u0301.jpg"},
    {"Ñu.jpg"},
    {"oso.jpg"},
#if defined(_WIN32)
    {"viaje/1.jpg", "viaje//1.jpg", "viaje\\1.jpg"},
#else
    {"viaje/1.jpg", "viaje//1.jpg"},
#endif
    {"viaje/2.jpg"},
    {"viaje.jpg"},
    {"viaje 2/1.jpg"},
    {"zeta.jpg"},
    // Other scripts after the Latin letters, bytes that are not UTF-8 last.
    {"Ωmega.jpg"},
    {"日本.jpg"},
    {"\xFF.jpg"},
};

std::vector<std::string> sortedByName(const std::vector<std::string> &names)
{
    std::vector<std::string> sorted;
    for (const std::size_t index : nameOrder(names))
        sorted.push_back(names[index]);
    return sorted;
}

// The table's names as given: equal names in the order they came in.
std::vector<std::string> expectedOrder(const std::vector<std::string> &given)
{
    std::vector<std::string> expected;
    for (const std::vector<std::string> &equal : kNameOrder) {
        for (const std::string &name : given) {
            if (std::ranges::find(equal, name) != equal.end())
                expected.push_back(name);
        }
    }
    return expected;
}

std::vector<std::string> allNames()
{
    std::vector<std::string> names;
    for (const std::vector<std::string> &equal : kNameOrder)
        names.insert(names.end(), equal.begin(), equal.end());
    return names;
}

TEST(NameOrder, PutsTheTableInOrderFromAnyOrder)
{
    std::vector<std::string> names = allNames();
    std::reverse(names.begin(), names.end());
    EXPECT_EQ(sortedByName(names), expectedOrder(names));
    std::mt19937 shuffler(7);
    for (int run = 0; run < 20; ++run) {
        std::shuffle(names.begin(), names.end(), shuffler);
        ASSERT_EQ(sortedByName(names), expectedOrder(names)) << "shuffle " << run;
    }
}

// Every pair both ways, so that a rule that sorts the table by luck but is
// not an order (not transitive, or not antisymmetric) still fails.
TEST(NameOrder, ComparesEveryPairOfTheTableBothWays)
{
    for (std::size_t i = 0; i < kNameOrder.size(); ++i) {
        for (std::size_t j = 0; j < kNameOrder.size(); ++j) {
            for (const std::string &a : kNameOrder[i]) {
                for (const std::string &b : kNameOrder[j]) {
                    const int expected = (i > j) - (i < j);
                    ASSERT_EQ(compareNames(nameCodePoints(a), nameCodePoints(b)), expected)
                        << "\"" << a << "\" against \"" << b << "\"";
                }
            }
        }
    }
}

TEST(NameOrder, KeepsTheOrderOfTheSameNameGivenTwice)
{
    const std::vector<std::string> names = {"b.jpg", "a.jpg", "b.jpg", "a.jpg"};
    EXPECT_EQ(nameOrder(names), (std::vector<std::size_t>{1, 3, 0, 2}));
}

} // namespace
} // namespace lumvrex
