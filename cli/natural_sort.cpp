#include "cli/natural_sort.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace lumvrex {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
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

std::string_view digitRun(std::string_view text, std::size_t &at)
{
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    std::string_view run = text.substr(start, at - start);
    while (run.size() > 1 && run.front() == '0')
        run.remove_prefix(1);
    return run;
}

} // namespace

int compareNaturally(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view runA = digitRun(a, i);
            const std::string_view runB = digitRun(b, j);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int byDigits = runA.compare(runB); byDigits != 0)
                return byDigits;
            continue;
        }
        const utf8::Decoded charA = utf8::decode(a, i);
        const utf8::Decoded charB = utf8::decode(b, j);
        const char32_t foldedA = folded(charA.codePoint);
        const char32_t foldedB = folded(charB.codePoint);
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
        i += charA.length;
        j += charB.length;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

std::vector<std::size_t> naturalOrder(const PageList &pages)
{
    std::vector<std::size_t> order(pages.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return compareNaturally(pages[a], pages[b]) < 0; });
    return order;
}

PageList sortedNaturally(const PageList &pages)
{
    const std::vector<std::size_t> order = naturalOrder(pages);
    PageList sorted;
    sorted.reserve(pages.size(), pages.totalBytes());
    for (const std::size_t index : order)
        sorted.append(pages[index]);
    return sorted;
}

} // namespace lumvrex
