// Our Windows-1252 table against ICU's converter, over the whole Basic
// Multilingual Plane.
#include "runtime/windows1252.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>

namespace lumvrex {
namespace {

TEST(Windows1252, AgreesWithIcuOverTheWholeBasicPlane)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *icu = ucnv_open("windows-1252", &status);
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    // Report a character without a byte instead of putting in a substitute.
    ucnv_setFromUCallBack(icu, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    int representable = 0;
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue; // not characters on their own
        const auto unit = static_cast<UChar>(code);
        char bytes[8];
        status = U_ZERO_ERROR;
        const int32_t length = ucnv_fromUChars(icu, bytes, sizeof bytes, &unit, 1, &status);
        const int ours = windows1252::byteFor(code);
        // ICU drops default-ignorable characters (U+034F, U+200B...) without a
        // word: no byte for them either.
        if (U_FAILURE(status) || length == 0) {
            EXPECT_LT(ours, 0) << std::hex << static_cast<unsigned>(code);
        } else {
            ASSERT_EQ(length, 1) << std::hex << static_cast<unsigned>(code);
            EXPECT_EQ(ours, static_cast<unsigned char>(bytes[0])) << std::hex << static_cast<unsigned>(code);
            ++representable;
        }
    }
    ucnv_close(icu);
    EXPECT_EQ(representable, 256); // each byte once; the five unassigned ones stand for C1
}

} // namespace
} // namespace lumvrex
