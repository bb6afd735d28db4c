#include "runtime/windows1252.h"

#include <array>

namespace windows1252 {
namespace {

// Unicode for bytes 0x80..0x9F; the unassigned bytes keep their C1 value.
// A row per eight bytes.
// clang-format off
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

int byteFromHighTable(char16_t unit)
{
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == unit)
            return int(0x80 + i);
    }
    return -1;
}

QList<char32_t> unrepresentable(QStringView text)
{
    QList<char32_t> found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (byteFor(unit) >= 0)
            continue;
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1].unicode())) {
            found.append(QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else {
            found.append(unit);
        }
    }
    return found;
}

void encodeInto(char *out, QStringView text)
{
    for (const QChar ch : text) {
        const int byte = byteFor(ch.unicode());
        *out++ = char(byte >= 0 ? byte : '?');
    }
}

void append(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    encodeInto(out.data() + start, text);
}

} // namespace windows1252
