// Arbitrary bytes as the five fields and a list of pages. For every input the
// writer either refuses it, naming a field or a page, or writes exactly the
// lines of the script's layout, each ended by CR LF, with every input found
// again in its line when the output is read back from Windows-1252.
#include "publication/page_effect_source.h"
#include "publication/publication_script.h"
#include "publication/script_text.h"
#include "runtime/utf8.h"
#include "runtime/windows1252.h"
#include "support/script_layout.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace lumvrex;

[[noreturn]] void broken(const char *what, const std::string &detail = {})
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

// Whether a script can hold the text, decided character by character
// without the encoder.
bool holdable(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const utf8::Decoded read = utf8::decode(text, at);
        if (!read.valid || (read.codePoint < 0x20 && read.codePoint != U'\t')
            || windows1252::byteFor(read.codePoint) < 0)
            return false;
        at += read.length;
    }
    return true;
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes)
        utf8::append(text, windows1252::codePointFor(static_cast<unsigned char>(byte)));
    return text;
}

void expectLine(const std::vector<std::string> &lines, std::size_t index, const std::string &expected)
{
    if (index >= lines.size() || lines[index] != expected)
        broken("a line does not hold its input:", expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the decimal separator; the rest are NUL-separated
    // pieces: five fields, then up to 64 pages.
    const char separator = (data[0] & 1) ? ',' : '.';
    const std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = rest.find('\0', start);
        pieces.emplace_back(rest.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    while (pieces.size() < 5)
        pieces.emplace_back();
    PublicationInputs in{pieces[0], pieces[1], pieces[2], pieces[3], pieces[4], {}};
    for (std::size_t i = 5; i < pieces.size() && i < 5 + 64; ++i)
        in.pages.append(pieces[i]);

    bool allHoldable = true;
    for (const std::string *text : {&in.title, &in.backColor, &in.width, &in.height, &in.icon})
        allHoldable = allHoldable && holdable(*text);
    for (const std::string_view page : in.pages)
        allHoldable = allHoldable && holdable(page);

    const Result<EncodedInputs> encoded = encodeInputs(in);
    if (!encoded) {
        const std::string &message = encoded.error().message;
        if (allHoldable)
            broken("a refusal of inputs that a script can hold:", message);
        if (!message.starts_with("The field \"") && !message.starts_with("Page "))
            broken("a refusal names no field or page:", message);
        for (const char c : message) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n')
                broken("a raw control character in a message:", message);
        }
        return 0;
    }
    if (!allHoldable)
        broken("inputs a script cannot hold were taken");

    SeededEffectSource effects(1);
    const std::string bytes = publicationScript(*encoded, effects, separator);
    if (!bytes.ends_with("\r\n"))
        broken("the script does not end with CR LF");
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        const std::string_view line(bytes.data() + start, end - start);
        if (line.find('\n') != std::string_view::npos || line.find('\r') != std::string_view::npos)
            broken("a line break inside a line");
        lines.push_back(fromWindows1252(line));
        start = end + 2;
    }
    if (lines.size() != testing::scriptLineCount(in.pages.size()))
        broken("wrong number of lines");
    expectLine(lines, 2, "Title = " + in.title);
    expectLine(lines, 7, "ScreenWidth = " + in.width);
    expectLine(lines, 8, "ScreenHeight = " + in.height);
    expectLine(lines, 20, "Icon=" + in.icon);
    for (std::size_t i = 0; i < in.pages.size(); ++i) {
        expectLine(lines, testing::pageLine(i, 0), "NewPage=page" + std::to_string(i));
        expectLine(lines, testing::pageLine(i, 12), "X2 = " + in.width);
        expectLine(lines, testing::pageLine(i, 13), "Y2 = " + in.height);
        expectLine(lines, testing::pageLine(i, 18), "FillColor = " + in.backColor);
        expectLine(lines, testing::pageLine(i, 24), "FileName=" + std::string(in.pages[i]));
    }
    return 0;
}
