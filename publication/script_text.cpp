#include "publication/script_text.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"

#include "runtime/utf8.h"
#include "runtime/windows1252.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace lumvrex {
namespace {

constexpr std::size_t kMaxProblemsShown = 10;

std::string describeCharacter(char32_t codePoint)
{
    std::string name = utf8::codePointName(codePoint);
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F))
        return name;
    std::string shown = "\"";
    utf8::append(shown, codePoint);
    return shown + "\" (" + name + ")";
}

struct Problem
{
    std::string place;
    TextFlaws flaws;
};

std::string describeProblems(const std::vector<Problem> &problems)
{
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < kMaxProblemsShown; ++i) {
        if (i > 0)
            text += '\n';
        text += formatMessage(localized("input check", "%1$s %2$s"),
                              {problems[i].place, describeFlaws(problems[i].flaws)});
    }
    if (problems.size() > kMaxProblemsShown)
        text += '\n'
            + formatMessage(localized("input check", "... and %s more."),
                            {std::to_string(problems.size() - kMaxProblemsShown)});
    return text;
}

// How many of the eight bytes at from are printable ASCII (0x20..0x7F)
// before the first that is not; all eight are copied to `to`. Paths are
// mostly ASCII: taking eight bytes at once saves about a tenth of the time
// the largest script takes to write.
std::size_t printableAsciiPrefix(const char *from, char *to)
{
    std::memcpy(to, from, 8);
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t word = 0;
        std::memcpy(&word, from, sizeof word);
        // A byte below 0x20 borrows and sets its own high bit; borrows only
        // start at such bytes, so the lowest flagged byte is a real one.
        constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
        constexpr std::uint64_t kSpaces = 0x2020202020202020ULL;
        const std::uint64_t flagged = (word & kHighBits) | ((word - kSpaces) & ~word & kHighBits);
        return flagged == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(flagged) / 8);
    } else {
        std::size_t run = 0;
        while (run < 8 && static_cast<unsigned char>(from[run]) >= 0x20
               && static_cast<unsigned char>(from[run]) < 0x80)
            ++run;
        return run;
    }
}

// The one pass of appendScriptText(); what keeps the text out of a script
// is what it adds to flaws. The page loop below checks that directly: a
// Result for each of 32,767 pages is measurable in the time to write.
std::size_t encodeText(std::string_view utf8, char *to, TextFlaws &flaws)
{
    // Every character becomes one byte, never more than its UTF-8 takes.
    char *const start = to;
    const char *from = utf8.data();
    const std::size_t size = utf8.size();
    for (std::size_t at = 0; at < size;) {
        // Printable ASCII eight bytes at a time; the bytes copied past the
        // run are written over next.
        if (at + 8 <= size) {
            const std::size_t run = printableAsciiPrefix(from + at, to);
            to += run;
            at += run;
            if (run == 8)
                continue;
        } else if (const auto byte = static_cast<unsigned char>(from[at]); byte >= 0x20 && byte < 0x80) {
            *to++ = from[at++];
            continue;
        }
        // U+00A0..U+00FF, two bytes in UTF-8, are their own byte.
        const auto lead = static_cast<unsigned char>(from[at]);
        if ((lead == 0xC2 || lead == 0xC3) && at + 1 < size) {
            const auto next = static_cast<unsigned char>(from[at + 1]);
            const unsigned codePoint = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
            if ((next & 0xC0) == 0x80 && codePoint >= 0xA0) {
                *to++ = static_cast<char>(codePoint);
                at += 2;
                continue;
            }
        }
        const utf8::Decoded read = utf8::decode(utf8, at);
        if (!read.valid) {
            if (!flaws.invalidAt) {
                flaws.invalidAt = at;
                flaws.invalidByte = lead;
            }
            at += 1;
            continue;
        }
        const int byte =
            read.codePoint < 0x20 && read.codePoint != U'\t' ? -1 : windows1252::byteFor(read.codePoint);
        if (byte >= 0)
            *to++ = static_cast<char>(byte);
        else if (std::ranges::find(flaws.characters, read.codePoint) == flaws.characters.end())
            flaws.characters.push_back(read.codePoint);
        at += read.length;
    }
    return static_cast<std::size_t>(to - start);
}

} // namespace

Status appendScriptText(std::string &out, std::string_view utf8, TextFlaws &flaws)
{
    const std::size_t start = out.size();
    out.resize(start + utf8.size());
    const std::size_t length = encodeText(utf8, out.data() + start, flaws);
    if (flaws.any()) {
        out.resize(start);
        return badInput(describeFlaws(flaws));
    }
    out.resize(start + length);
    return {};
}

std::string describeFlaws(const TextFlaws &flaws)
{
    std::string text;
    if (!flaws.characters.empty()) {
        std::string characters;
        for (std::size_t i = 0; i < flaws.characters.size(); ++i)
            characters += (i > 0 ? ", " : "") + describeCharacter(flaws.characters[i]);
        text = formatMessage(
            localized("input check", "holds characters a publication script cannot hold: %s"), {characters});
    }
    if (flaws.invalidAt) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "%02X", flaws.invalidByte);
        const std::string where =
            formatMessage(localized("input check", "is not UTF-8: byte 0x%1$s at byte %2$s"),
                          {byte, std::to_string(*flaws.invalidAt + 1)});
        text = text.empty() ? where : formatMessage(localized("input check", "%1$s and %2$s"), {text, where});
    }
    return text;
}

std::string pageName(std::size_t index, std::string_view path)
{
    return formatMessage(localized("page", "Page %1$s (%2$s)"),
                         {std::to_string(index + 1), utf8::printable(path)});
}

Result<EncodedInputs> encodeInputs(PublicationInputs inputs, const PageNamer &namePage)
{
    if (inputs.pages.size() > kMaxPages) {
        return badInput(formatMessage(
            localized("input check", "A publication holds at most %1$s pages; %2$s were given."),
            {std::to_string(kMaxPages), std::to_string(inputs.pages.size())}));
    }
    EncodedInputs encoded;
    std::vector<Problem> problems;
    for (const InputField &field : kInputFields) {
        TextFlaws flaws;
        if (!appendScriptText(encoded.*field.text, inputs.*field.text, flaws))
            problems.push_back({std::string(field.place()), std::move(flaws)});
    }

    // Each page goes through a small buffer of its own and back into its
    // place, so that its old text stays whole for a message about it.
    std::unique_ptr<char[]> buffer;
    std::size_t bufferSize = 0;
    encoded.pages = std::move(inputs.pages);
    encoded.pages.rewriteEach([&](std::size_t i, std::string_view page, char *to) -> std::size_t {
        if (page.size() > bufferSize) {
            bufferSize = std::max(page.size(), std::size_t(4096));
            buffer = std::make_unique_for_overwrite<char[]>(bufferSize);
        }
        TextFlaws flaws;
        const std::size_t length = encodeText(page, buffer.get(), flaws);
        if (flaws.any()) {
            problems.push_back({namePage ? namePage(i, page) : pageName(i, page), std::move(flaws)});
            return 0; // the inputs are refused: the page's bytes no longer matter
        }
        if (length > 0)
            std::memmove(to, buffer.get(), length);
        return length;
    });
    if (!problems.empty())
        return badInput(describeProblems(problems));
    return encoded;
}

} // namespace lumvrex
