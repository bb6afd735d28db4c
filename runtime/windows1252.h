#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

// Windows-1252 ("ANSI") encoding with exact knowledge of what it cannot hold.
// The table agrees with ICU's "windows-1252" converter, including the five
// unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which map to the C1
// characters of the same value.
namespace windows1252 {

// The byte for one UTF-16 code unit, or -1 when it has none.
int byteFor(char16_t unit);

// Code points of text that have no byte. A surrogate pair counts as the one
// code point it encodes; a lone surrogate counts as itself.
QList<char32_t> unrepresentable(QStringView text);

// Appends the bytes of text. Characters without a byte become '?'; callers
// that must not lose anything check unrepresentable() first.
void append(QByteArray &out, QStringView text);

QByteArray encode(QStringView text);

} // namespace windows1252
