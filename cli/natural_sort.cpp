#include "cli/natural_sort.h"

#include "runtime/windows1252.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace lumvrex {
namespace {

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// Lower case for the letters a script can hold: ASCII, Latin-1 and the few
// pairs of Windows-1252's 0x80..0x9F.
char32_t folded(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    switch (c) {
    case 0x0152: // Œ
    case 0x0160: // Š
    case 0x017D: // Ž
        return c + 1;
    case 0x0178: // Ÿ
        return 0xFF;
    default:
        return c;
    }
}

std::u32string_view digitRun(std::u32string_view text, std::size_t &at)
{
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    std::u32string_view run = text.substr(start, at - start);
    while (run.size() > 1 && run.front() == U'0')
        run.remove_prefix(1);
    return run;
}

std::u32string_view codePointsOf(std::string_view scriptBytes, std::u32string &codePoints)
{
    codePoints.resize(scriptBytes.size());
    std::ranges::transform(scriptBytes, codePoints.begin(), [](char byte) {
        return windows1252::codePointFor(static_cast<unsigned char>(byte));
    });
    return codePoints;
}

} // namespace

int compareNaturally(std::u32string_view a, std::u32string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::u32string_view runA = digitRun(a, i);
            const std::u32string_view runB = digitRun(b, j);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int byDigits = runA.compare(runB); byDigits != 0)
                return byDigits;
            continue;
        }
        const char32_t foldedA = folded(a[i++]);
        const char32_t foldedB = folded(b[j++]);
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

void sortNaturally(PageList &encodedPages)
{
    std::vector<std::size_t> order(encodedPages.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::u32string a;
    std::u32string b;
    std::ranges::stable_sort(order, [&](std::size_t x, std::size_t y) {
        return compareNaturally(codePointsOf(encodedPages[x], a), codePointsOf(encodedPages[y], b)) < 0;
    });
    PageList sorted;
    sorted.reserve(encodedPages.size(), encodedPages.totalBytes());
    for (const std::size_t index : order)
        sorted.append(encodedPages[index]);
    encodedPages = std::move(sorted);
}

} // namespace lumvrex
