// UTF-8 in, Windows-1252 out: what a script can hold, and how what it cannot
// hold is reported.
#include "publication/script_text.h"
#include "runtime/utf8.h"
#include "runtime/windows1252.h"

#include "support/files.h"

#include <gtest/gtest.h>

namespace lumvrex {
namespace {

TEST(Windows1252, EveryByteStandsForOneCodePointAndBack)
{
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t codePoint = windows1252::codePointFor(static_cast<unsigned char>(byte));
        EXPECT_EQ(windows1252::byteFor(codePoint), byte) << byte;
    }
    // A few that are easy to get wrong.
    EXPECT_EQ(windows1252::byteFor(U'€'), 0x80);
    EXPECT_EQ(windows1252::byteFor(U'Ÿ'), 0x9F);
    EXPECT_EQ(windows1252::byteFor(0x81), 0x81); // unassigned: the C1 character
    EXPECT_EQ(windows1252::byteFor(0x80), -1);   // its byte is the euro sign's
    EXPECT_EQ(windows1252::byteFor(U'✓'), -1);
    EXPECT_EQ(windows1252::byteFor(0x1F600), -1);
}

struct DecodeCase
{
    const char *name;
    std::string_view text;
    char32_t codePoint;
    std::size_t length;
    bool valid;
};

class Utf8Decode : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(Utf8Decode, ReadsOneCharacter)
{
    const DecodeCase &c = GetParam();
    const utf8::Decoded read = utf8::decode(c.text, 0);
    EXPECT_EQ(read.valid, c.valid);
    EXPECT_EQ(read.length, c.length);
    EXPECT_EQ(read.codePoint, c.codePoint);
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8Decode,
                         ::testing::Values(DecodeCase{"ascii", "a", U'a', 1, true},
                                           DecodeCase{"two_bytes", "\xC3\xB1", U'ñ', 2, true},
                                           DecodeCase{"three_bytes", "\xE2\x9C\x93", U'✓', 3, true},
                                           DecodeCase{"four_bytes", "\xF0\x9F\x98\x80", 0x1F600, 4, true},
                                           DecodeCase{"overlong_two", "\xC0\xAF", 0xC0, 1, false},
                                           DecodeCase{"overlong_three", "\xE0\x80\xAF", 0xE0, 1, false},
                                           DecodeCase{"surrogate", "\xED\xA0\x80", 0xED, 1, false},
                                           DecodeCase{"past_U10FFFF", "\xF4\x90\x80\x80", 0xF4, 1, false},
                                           DecodeCase{"lone_continuation", "\x80", 0x80, 1, false},
                                           DecodeCase{"cut_short", "\xE2\x9C", 0xE2, 1, false},
                                           DecodeCase{"bad_continuation", "\xC3\x28", 0xC3, 1, false}),
                         [](const auto &info) { return testing::caseName(info.param.name); });

TEST(Utf8, PrintableShowsControlsAndBadBytesAndCutsTheMiddle)
{
    EXPECT_EQ(utf8::printable("a\nb\x1B[0m"), "a<U+000A>b<U+001B>[0m");
    EXPECT_EQ(utf8::printable("x\xC2\x9B"
                              "y"),
              "x<U+009B>y"); // C1 control: a terminal would act on it
    EXPECT_EQ(utf8::printable("caf\xFF"), "caf<0xFF>");
    EXPECT_EQ(utf8::printable("niño"), "niño");
    const std::string longPath = "/start/" + std::string(500, 'x') + "/end.jpg";
    const std::string shown = utf8::printable(longPath, 21);
    EXPECT_EQ(shown, "/start/xxx…xx/end.jpg");
}

struct ScriptTextCase
{
    const char *name;
    std::string_view utf8;
    std::string_view bytes; // what a clean text becomes
    std::vector<char32_t> refused;
    std::optional<std::size_t> invalidAt;
};

class ScriptText : public ::testing::TestWithParam<ScriptTextCase>
{
};

TEST_P(ScriptText, EncodesOrNamesWhatItCannotHold)
{
    const ScriptTextCase &c = GetParam();
    std::string out = "prefix:";
    TextFlaws flaws;
    const Status clean = appendScriptText(out, c.utf8, flaws);
    EXPECT_EQ(clean.ok(), c.refused.empty() && !c.invalidAt);
    EXPECT_EQ(flaws.characters, c.refused);
    EXPECT_EQ(flaws.invalidAt, c.invalidAt);
    if (clean) {
        EXPECT_EQ(out, "prefix:" + std::string(c.bytes));
    } else {
        EXPECT_EQ(clean.error().kind, Error::Kind::BadInput);
        EXPECT_EQ(clean.error().message, describeFlaws(flaws));
        EXPECT_EQ(out, "prefix:"); // nothing of a refused text is kept
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptText,
    ::testing::Values(
        ScriptTextCase{"plain_ascii_past_eight_bytes", "C:\\Fotos\\a b.jpg", "C:\\Fotos\\a b.jpg", {}, {}},
        ScriptTextCase{
            "latin1_and_the_0x80_range", "¿Sí? ñáü€…œŸ", "\xBFS\xED? \xF1\xE1\xFC\x80\x85\x9C\x9F", {}, {}},
        ScriptTextCase{"tab_is_fine_inside_a_fast_run", "abc\tdefghijkl", "abc\tdefghijkl", {}, {}},
        ScriptTextCase{"delete_is_kept",
                       "a\x7F"
                       "b",
                       "a\x7F"
                       "b",
                       {},
                       {}},
        ScriptTextCase{"line_breaks_would_split_the_line", "1\n2\r3", "", {U'\n', U'\r'}, {}},
        ScriptTextCase{"escape_after_a_fast_run", "12345678\x1B[0m", "", {0x1B}, {}},
        ScriptTextCase{"greek_and_check_mark_each_once", "αx✓α", "", {U'α', U'✓'}, {}},
        ScriptTextCase{"emoji_is_one_code_point", "a😀b", "", {0x1F600}, {}},
        ScriptTextCase{"C1_without_a_glyph", "\xC2\x80", "", {0x80}, {}},
        ScriptTextCase{"not_utf8", "ok\xFFok", "", {}, 2}, ScriptTextCase{"both", "\xFF✓", "", {U'✓'}, 0}),
    [](const auto &info) { return testing::caseName(info.param.name); });

struct RefusalCase
{
    const char *name;
    int field; // 0..4 the fields, 5 the second page
    std::string text;
    std::string named;
    std::string shown;
};

class EncodeInputs : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(EncodeInputs, NamesTheFieldOrPageAndWhatIsWrong)
{
    const RefusalCase &c = GetParam();
    PublicationInputs in;
    std::string *fields[] = {&in.title, &in.backColor, &in.width, &in.height, &in.icon};
    std::string second = "/pictures/two.png";
    if (c.field < 5)
        *fields[c.field] = c.text;
    else
        second = c.text;
    in.pages = {"/pictures/one.png", second, "/pictures/three.png"};

    const Result<EncodedInputs> encoded = encodeInputs(in);
    ASSERT_FALSE(encoded);
    EXPECT_EQ(encoded.error().kind, Error::Kind::BadInput);
    EXPECT_NE(encoded.error().message.find(c.named), std::string::npos) << encoded.error().message;
    EXPECT_NE(encoded.error().message.find(c.shown), std::string::npos) << encoded.error().message;
    // Never raw control characters in a message.
    for (const char ch : encoded.error().message)
        EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 || ch == '\n') << encoded.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeInputs,
    ::testing::Values(
        RefusalCase{"title", 0, "ok ✓", "The field \"E-Book title:\" holds characters", "\"✓\" (U+2713)"},
        RefusalCase{"back_colour", 1, "1\n2", "The field \"Back color:\"", "U+000A"},
        RefusalCase{"width", 2, "80\r0", "The field \"Resolution (w,h):\" (width)", "U+000D"},
        RefusalCase{"height", 3, "6€0😀", "The field \"Resolution (w,h):\" (height)", "\"😀\" (U+1F600)"},
        RefusalCase{"icon", 4, "\x1B[0m", "The field \"Icon:\"", "U+001B"},
        RefusalCase{"page", 5, "/fotos/Ελλάδα.jpg", "Page 2 (/fotos/Ελλάδα.jpg)", "\"Ε\" (U+0395)"},
        RefusalCase{"page_with_a_line_break", 5, "/a\nb.png", "Page 2 (/a<U+000A>b.png)", "U+000A"},
        RefusalCase{"page_not_utf8", 5, "/caf\xE9.png", "Page 2 (/caf<0xE9>.png) is not UTF-8",
                    "byte 0xE9 at byte 5"}),
    [](const auto &info) { return testing::caseName(info.param.name); });

TEST(EncodeInputsLimits, ShowsTenProblemsAndCountsTheRest)
{
    PublicationInputs in;
    for (int i = 0; i < 14; ++i)
        in.pages.append("/fotos/✓" + std::to_string(i) + ".png");
    const Result<EncodedInputs> encoded = encodeInputs(in);
    ASSERT_FALSE(encoded);
    EXPECT_NE(encoded.error().message.find("Page 10 ("), std::string::npos);
    EXPECT_EQ(encoded.error().message.find("Page 11 ("), std::string::npos);
    EXPECT_NE(encoded.error().message.find("... and 4 more."), std::string::npos);
}

TEST(EncodeInputsLimits, RefusesMoreThan32767Pages)
{
    PublicationInputs in;
    for (int i = 0; i < 32767; ++i)
        in.pages.append("p.png");
    EXPECT_TRUE(encodeInputs(in));
    in.pages.append("p.png");
    const Result<EncodedInputs> encoded = encodeInputs(in);
    ASSERT_FALSE(encoded);
    EXPECT_EQ(encoded.error().message, "A publication holds at most 32767 pages; 32768 were given.");
}

TEST(EncodeInputsLimits, EncodesFieldsAndPages)
{
    PublicationInputs in{"Mi álbum", "255",       "800",
                         "600",      "libro.ico", {"C:\\playa en Cádiz.jpg", "a\tb.png"}};
    const Result<EncodedInputs> encoded = encodeInputs(in);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(encoded->title, "Mi \xE1lbum");
    EXPECT_EQ(encoded->pages[0],
              "C:\\playa en C\xE1"
              "diz.jpg");
    EXPECT_EQ(encoded->pages[1], "a\tb.png");
    EXPECT_EQ(encoded->pages.size(), 2u);
}

TEST(EncodeInputsLimits, EmptyPagesStayEmpty)
{
    // A page may be empty (a drop cannot make one, a caller can): it
    // encodes to nothing, before, between and after others.
    for (const PageList &pages : {PageList{"", ""}, PageList{"", "a\xC3\xB1", ""}}) {
        PublicationInputs in;
        in.pages = pages;
        const Result<EncodedInputs> encoded = encodeInputs(in);
        ASSERT_TRUE(encoded);
        ASSERT_EQ(encoded->pages.size(), pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i)
            EXPECT_EQ(encoded->pages[i], pages[i] == "" ? "" : "a\xF1");
    }
}

} // namespace
} // namespace lumvrex
