#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

// Windows-1252 ("ANSI") encoding with exact knowledge of what it cannot hold.
// The table agrees with ICU's "windows-1252" converter, including the five
// unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which map to the C1
// characters of the same value.
namespace windows1252 {

int byteFromHighTable(char16_t unit);

// True for the code units that are their own byte: ASCII and U+00A0..U+00FF.
inline bool isOwnByte(char16_t unit)
{
    return unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF);
}

// The byte for one UTF-16 code unit, or -1 when it has none.
inline int byteFor(char16_t unit)
{
    return isOwnByte(unit) ? int(unit) : byteFromHighTable(unit);
}

// Code points of text that have no byte. A surrogate pair counts as the one
// code point it encodes; a lone surrogate counts as itself.
QList<char32_t> unrepresentable(QStringView text);

// Writes the text.size() bytes of text to out. Characters without a byte
// become '?'; callers that must not lose anything check unrepresentable()
// first.
void encodeInto(char *out, QStringView text);

void append(QByteArray &out, QStringView text);

} // namespace windows1252
