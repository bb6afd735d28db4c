#include "publication/page_order.h"

#include "publication/latin_letters.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>

namespace lumvrex {
namespace {

// What decides first, for each piece of a text, from lesser to greater: a
// folder separator, a dot, symbols and blanks (by code point), numbers (by
// how many digits, then the digits), Latin letters (a-z with ñ after n),
// letters of other scripts (by code point, capitals as small letters), and
// bytes that are not UTF-8.
constexpr char32_t kSeparator = 1;
constexpr char32_t kDot = 2;
constexpr char32_t kSymbol = 0x0100'0000;
constexpr char32_t kNumber = 0x0200'0000;
constexpr char32_t kLatin = 0x0300'0000;
constexpr char32_t kOtherLetter = 0x0400'0000;
constexpr char32_t kNotText = 0x0500'0000;

bool isSeparator(char32_t c)
{
#if defined(_WIN32)
    return c == U'/' || c == U'\\';
#else
    return c == U'/';
#endif
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isCombiningMark(char32_t c)
{
    return c >= 0x0300 && c <= 0x036F;
}

bool isNotText(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// Punctuation, blanks, signs, arrows, shapes and pictographs: the blocks
// that hold no letters.
bool isSymbol(char32_t c)
{
    if (c < 0x80)
        return !(c >= U'a' && c <= U'z') && !(c >= U'A' && c <= U'Z');
    return c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x02B0 && c <= 0x02FF) || (c >= 0x2000 && c <= 0x2BFF)
        || (c >= 0x2E00 && c <= 0x2E7F) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFE10 && c <= 0xFE6F)
        || (c >= 0xFF01 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40)
        || (c >= 0xFF5B && c <= 0xFF65) || (c >= 0xFFF0 && c <= 0xFFFF) || (c >= 0x1F000 && c <= 0x1FBFF);
}

// Greek and Cyrillic capitals as their small letters.
char32_t smallLetter(char32_t c)
{
    if ((c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) || (c >= 0x0410 && c <= 0x042F))
        return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F)
        return c + 0x50;
    return c;
}

char32_t latinWeight(char32_t letter)
{
    // a-z two apart, so that ñ fits between n and o.
    return kLatin + (letter == U'ñ' ? (U'n' - U'a') * 2 + 1 : (letter - U'a') * 2);
}

// A text's weights at each level, one after another for its pieces. Only
// names equal at one level go on to the next: the primary one, then the
// marks (each piece's, then 0), the case of each piece (small first), and
// the leading zeros of each number (more zeros first).
struct NameKey
{
    std::u32string primary;
    std::u32string marks;
    std::u32string cases;
    std::u32string zeros;
};

class KeyBuilder
{
public:
    explicit KeyBuilder(bool allLevels)
        : m_allLevels(allLevels)
    { }

    NameKey build(std::u32string_view text)
    {
        for (std::size_t at = 0; at < text.size();) {
            const char32_t c = text[at];
            if (isDigit(c)) {
                at = number(text, at);
                continue;
            }
            ++at;
            if (isSeparator(c)) {
                // "a//b" is "a/b".
                if (!m_afterSeparator)
                    piece(kSeparator, false);
                m_afterSeparator = true;
            } else if (isCombiningMark(c) && !m_key.primary.empty()) {
                mark(c);
            } else if (const std::optional<LatinLetter> letter = latinLetter(c)) {
                piece(latinWeight(letter->first), letter->upper);
                if (letter->mark != 0)
                    mark(letter->mark);
                if (letter->second != 0)
                    piece(latinWeight(letter->second), letter->upper);
            } else if (c == U'.') {
                piece(kDot, false);
            } else if (isNotText(c)) {
                piece(kNotText + c, false);
            } else if (isSymbol(c) || isCombiningMark(c)) {
                piece(kSymbol + c, false);
            } else {
                piece(kOtherLetter + smallLetter(c), smallLetter(c) != c);
            }
        }
        if (m_allLevels && !m_key.primary.empty())
            m_key.marks.push_back(0);
        return std::move(m_key);
    }

private:
    void piece(char32_t weight, bool upper)
    {
        if (m_allLevels) {
            if (!m_key.primary.empty())
                m_key.marks.push_back(0);
            m_key.cases.push_back(upper ? 1 : 0);
        }
        m_key.primary.push_back(weight);
        m_marked = false;
        m_afterSeparator = false;
    }

    void mark(char32_t mark)
    {
        // "n" and a combining tilde are "ñ", as the one character is.
        if (mark == 0x0303 && !m_marked && m_key.primary.back() == latinWeight(U'n')) {
            m_key.primary.back() = latinWeight(U'ñ');
            return;
        }
        m_marked = true;
        if (m_allLevels)
            m_key.marks.push_back(mark);
    }

    std::size_t number(std::u32string_view text, std::size_t at)
    {
        std::size_t zeros = 0;
        while (at + 1 < text.size() && text[at] == U'0' && isDigit(text[at + 1])) {
            ++zeros;
            ++at;
        }
        const std::size_t start = at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        piece(kNumber + static_cast<char32_t>(at - start), false);
        for (std::size_t i = start; i < at; ++i)
            m_key.primary.push_back(text[i] - U'0');
        if (m_allLevels)
            m_key.zeros.push_back(~static_cast<char32_t>(zeros));
        return at;
    }

    bool m_allLevels;
    bool m_marked = false;
    bool m_afterSeparator = false;
    NameKey m_key;
};

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

int compareNames(std::u32string_view a, std::u32string_view b)
{
    const NameKey keyA = KeyBuilder(true).build(a);
    const NameKey keyB = KeyBuilder(true).build(b);
    if (const int primary = keyA.primary.compare(keyB.primary); primary != 0)
        return sign(primary);
    if (const int marks = keyA.marks.compare(keyB.marks); marks != 0)
        return sign(marks);
    if (const int cases = keyA.cases.compare(keyB.cases); cases != 0)
        return sign(cases);
    return sign(keyA.zeros.compare(keyB.zeros));
}

std::u32string nameCodePoints(std::string_view utf8)
{
    std::u32string codePoints;
    codePoints.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const utf8::Decoded decoded = utf8::decode(utf8, at);
        codePoints.push_back(decoded.valid ? decoded.codePoint : 0xDC00 + decoded.codePoint);
        at += decoded.length;
    }
    return codePoints;
}

std::vector<std::size_t> nameOrder(std::size_t count,
                                   const std::function<std::u32string(std::size_t)> &textAt)
{
    // The primary weights decide nearly every comparison: they are worked
    // out once per text, the rest only for the texts that tie.
    std::vector<std::u32string> keys(count);
    for (std::size_t i = 0; i < count; ++i)
        keys[i] = KeyBuilder(false).build(textAt(i)).primary;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        if (const int primary = keys[a].compare(keys[b]); primary != 0)
            return primary < 0;
        return compareNames(textAt(a), textAt(b)) < 0;
    });
    return order;
}

std::vector<std::size_t> nameOrder(const std::vector<std::string> &utf8Paths)
{
    return nameOrder(utf8Paths.size(), [&](std::size_t i) { return nameCodePoints(utf8Paths[i]); });
}

} // namespace lumvrex
