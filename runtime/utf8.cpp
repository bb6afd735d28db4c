#include "runtime/utf8.h"

#include <cstddef>
#include <cstdio>
#include <vector>

namespace lumvrex::utf8 {
namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Characters a terminal would act on instead of showing: C0, DEL, C1, and the
// two Unicode line breaks.
bool isControl(char32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F) || codePoint == 0x2028
        || codePoint == 0x2029;
}

std::string invalidByteName(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "<0x%02X>", byte);
    return text;
}

} // namespace

Decoded decode(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const Decoded invalid{lead, 1, false};
    if (lead < 0x80)
        return {lead, 1, true};

    std::size_t length = 0;
    char32_t codePoint = 0;
    // The second byte's range depends on the lead so that overlong forms,
    // surrogates and values past U+10FFFF are refused.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return invalid;
    }
    if (at + length > text.size())
        return invalid;
    if (byte(1) < low || byte(1) > high)
        return invalid;
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(byte(i)))
            return invalid;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    return {codePoint, length, true};
}

void append(std::string &out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string codePointName(char32_t codePoint)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

std::string printable(std::string_view text, std::size_t maxCharacters)
{
    std::vector<std::string> shown;
    for (std::size_t at = 0; at < text.size();) {
        const Decoded read = decode(text, at);
        if (!read.valid)
            shown.push_back(invalidByteName(static_cast<unsigned char>(text[at])));
        else if (isControl(read.codePoint))
            shown.push_back('<' + codePointName(read.codePoint) + '>');
        else
            shown.emplace_back(text.substr(at, read.length));
        at += read.length;
    }
    if (shown.size() > maxCharacters && maxCharacters >= 3) {
        const auto head = static_cast<std::ptrdiff_t>((maxCharacters - 1) / 2);
        const auto tail = static_cast<std::ptrdiff_t>(maxCharacters - 1) - head;
        shown.erase(shown.begin() + head, shown.end() - tail);
        shown.insert(shown.begin() + head, "\xE2\x80\xA6"); // …
    }
    std::string result;
    for (const std::string &piece : shown)
        result += piece;
    return result;
}

} // namespace lumvrex::utf8
