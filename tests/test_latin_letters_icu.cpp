// The table of Latin letters against ICU's decompositions and case: a
// letter that decomposes into a-z and one combining mark reads as that
// letter and mark (n and a tilde as ñ); one that does not has a mark of its
// own or a stroke; capitals and small letters read alike but for the case.
#include "publication/latin_letters.h"

#include <gtest/gtest.h>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace lumvrex {
namespace {

TEST(LatinLetters, AgreeWithIcuFromU00C0ToU017F)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfd = icu::Normalizer2::getNFDInstance(status);
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    int decomposed = 0;
    for (char32_t c = 0xC0; c <= 0x17F; ++c) {
        const std::optional<LatinLetter> letter = latinLetter(c);
        if (!u_isalpha(static_cast<UChar32>(c))) {
            EXPECT_FALSE(letter) << std::hex << static_cast<unsigned>(c);
            continue;
        }
        ASSERT_TRUE(letter) << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(letter->upper, static_cast<bool>(u_isupper(static_cast<UChar32>(c))))
            << std::hex << static_cast<unsigned>(c);
        const auto upper = static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
        if (upper != c && latinLetter(upper)) {
            EXPECT_EQ(latinLetter(upper)->first, letter->first) << std::hex << static_cast<unsigned>(c);
            EXPECT_EQ(latinLetter(upper)->second, letter->second) << std::hex << static_cast<unsigned>(c);
        }

        icu::UnicodeString parts;
        if (nfd->getDecomposition(static_cast<UChar32>(c), parts) && parts.countChar32() == 2) {
            const auto base = static_cast<char32_t>(u_tolower(parts.char32At(0)));
            const auto mark = static_cast<char32_t>(parts.char32At(parts.moveIndex32(0, 1)));
            ASSERT_TRUE(base >= U'a' && base <= U'z') << std::hex << static_cast<unsigned>(c);
            if (base == U'n' && mark == 0x0303) {
                EXPECT_EQ(letter->first, U'ñ');
                EXPECT_EQ(letter->mark, 0u);
            } else {
                EXPECT_EQ(letter->first, base) << std::hex << static_cast<unsigned>(c);
                EXPECT_EQ(letter->mark, mark) << std::hex << static_cast<unsigned>(c);
            }
            EXPECT_EQ(letter->second, 0u) << std::hex << static_cast<unsigned>(c);
            ++decomposed;
        } else {
            EXPECT_TRUE(letter->mark == 0x0338 || letter->mark >= kOwnMark)
                << std::hex << static_cast<unsigned>(c);
        }
    }
    EXPECT_GT(decomposed, 150);
}

} // namespace
} // namespace lumvrex
