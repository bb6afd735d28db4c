#include "publication/latin_letters.h"

namespace lumvrex {
namespace {

// A letter as its base letters (their case is the letter's) and a mark:
// ` grave, ' acute, ^ circumflex, ~ tilde, - macron, u breve, . dot above,
// : diaeresis, o ring, " double acute, v caron, , cedilla, ; ogonek,
// / stroke, * a mark of the letter's own, blank none (not a letter).
struct Entry
{
    const char *letters;
    char mark;
};

// clang-format off
// U+00C0..U+00DF; U+00E0..U+00FE are the same in lower case.
constexpr Entry kLatin1[32] = {
    {"A", '`'}, {"A", '\''}, {"A", '^'}, {"A", '~'}, {"A", ':'}, {"A", 'o'}, {"AE", '*'}, {"C", ','},
    {"E", '`'}, {"E", '\''}, {"E", '^'}, {"E", ':'}, {"I", '`'}, {"I", '\''}, {"I", '^'}, {"I", ':'},
    {"D", '/'}, {"N", '~'},  {"O", '`'}, {"O", '\''}, {"O", '^'}, {"O", '~'}, {"O", ':'}, {"", ' '},
    {"O", '/'}, {"U", '`'},  {"U", '\''}, {"U", '^'}, {"U", ':'}, {"Y", '\''}, {"TH", '*'}, {"ss", '*'},
};

// U+0100..U+017F.
constexpr Entry kLatinExtendedA[128] = {
    {"A", '-'}, {"a", '-'}, {"A", 'u'}, {"a", 'u'}, {"A", ';'}, {"a", ';'}, {"C", '\''}, {"c", '\''},
    {"C", '^'}, {"c", '^'}, {"C", '.'}, {"c", '.'}, {"C", 'v'}, {"c", 'v'}, {"D", 'v'}, {"d", 'v'},
    {"D", '/'}, {"d", '/'}, {"E", '-'}, {"e", '-'}, {"E", 'u'}, {"e", 'u'}, {"E", '.'}, {"e", '.'},
    {"E", ';'}, {"e", ';'}, {"E", 'v'}, {"e", 'v'}, {"G", '^'}, {"g", '^'}, {"G", 'u'}, {"g", 'u'},
    {"G", '.'}, {"g", '.'}, {"G", ','}, {"g", ','}, {"H", '^'}, {"h", '^'}, {"H", '/'}, {"h", '/'},
    {"I", '~'}, {"i", '~'}, {"I", '-'}, {"i", '-'}, {"I", 'u'}, {"i", 'u'}, {"I", ';'}, {"i", ';'},
    {"I", '.'}, {"i", '*'}, {"IJ", '*'}, {"ij", '*'}, {"J", '^'}, {"j", '^'}, {"K", ','}, {"k", ','},
    {"k", '*'}, {"L", '\''}, {"l", '\''}, {"L", ','}, {"l", ','}, {"L", 'v'}, {"l", 'v'}, {"L", '*'},
    {"l", '*'}, {"L", '/'}, {"l", '/'}, {"N", '\''}, {"n", '\''}, {"N", ','}, {"n", ','}, {"N", 'v'},
    {"n", 'v'}, {"n", '*'}, {"N", '*'}, {"n", '*'}, {"O", '-'}, {"o", '-'}, {"O", 'u'}, {"o", 'u'},
    {"O", '"'}, {"o", '"'}, {"OE", '*'}, {"oe", '*'}, {"R", '\''}, {"r", '\''}, {"R", ','}, {"r", ','},
    {"R", 'v'}, {"r", 'v'}, {"S", '\''}, {"s", '\''}, {"S", '^'}, {"s", '^'}, {"S", ','}, {"s", ','},
    {"S", 'v'}, {"s", 'v'}, {"T", ','}, {"t", ','}, {"T", 'v'}, {"t", 'v'}, {"T", '/'}, {"t", '/'},
    {"U", '~'}, {"u", '~'}, {"U", '-'}, {"u", '-'}, {"U", 'u'}, {"u", 'u'}, {"U", 'o'}, {"u", 'o'},
    {"U", '"'}, {"u", '"'}, {"U", ';'}, {"u", ';'}, {"W", '^'}, {"w", '^'}, {"Y", '^'}, {"y", '^'},
    {"Y", ':'}, {"Z", '\''}, {"z", '\''}, {"Z", '.'}, {"z", '.'}, {"Z", 'v'}, {"z", 'v'}, {"s", '*'},
};
// clang-format on

char32_t combiningMark(char mark, char32_t letter)
{
    switch (mark) {
    case '`':
        return 0x0300;
    case '\'':
        return 0x0301;
    case '^':
        return 0x0302;
    case '~':
        return 0x0303;
    case '-':
        return 0x0304;
    case 'u':
        return 0x0306;
    case '.':
        return 0x0307;
    case ':':
        return 0x0308;
    case 'o':
        return 0x030A;
    case '"':
        return 0x030B;
    case 'v':
        return 0x030C;
    case ',':
        return 0x0327;
    case ';':
        return 0x0328;
    case '/':
        return 0x0338;
    default:
        return kOwnMark + letter;
    }
}

char32_t lower(char letter)
{
    return static_cast<char32_t>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
}

LatinLetter fromEntry(const Entry &entry, char32_t letter, bool forceLower)
{
    const bool upper = !forceLower && entry.letters[0] >= 'A' && entry.letters[0] <= 'Z';
    LatinLetter read{lower(entry.letters[0]), entry.letters[1] ? lower(entry.letters[1]) : 0,
                     combiningMark(entry.mark, letter), upper};
    // Spanish reads "ñ" as a letter between n and o, not as a marked n.
    if (read.first == U'n' && entry.mark == '~') {
        read.first = U'ñ';
        read.mark = 0;
    }
    return read;
}

} // namespace

std::optional<LatinLetter> latinLetter(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return LatinLetter{c, 0, 0, false};
    if (c >= U'A' && c <= U'Z')
        return LatinLetter{c - U'A' + U'a', 0, 0, true};
    if (c == U'ª' || c == U'º')
        return LatinLetter{c == U'ª' ? U'a' : U'o', 0, kOwnMark + c, false};
    if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) {
        if (c == 0xDF || c == 0xFF) // ß is lower case already; ÿ has its capital in Latin Extended-A
            return c == 0xDF ? fromEntry(kLatin1[0x1F], c, true) : LatinLetter{U'y', 0, 0x0308, false};
        return fromEntry(kLatin1[(c - 0xC0) & 0x1F], c, c >= 0xE0);
    }
    if (c >= 0x0100 && c <= 0x017F)
        return fromEntry(kLatinExtendedA[c - 0x0100], c, false);
    return std::nullopt;
}

} // namespace lumvrex
