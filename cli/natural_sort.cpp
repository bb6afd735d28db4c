#include "cli/natural_sort.h"

#include "publication/page_order.h"
#include "runtime/windows1252.h"

#include <string>
#include <vector>

namespace lumvrex {

void sortNaturally(PageList &encodedPages)
{
    const std::vector<std::size_t> order = nameOrder(encodedPages.size(), [&](std::size_t index) {
        const std::string_view bytes = encodedPages[index];
        std::u32string codePoints(bytes.size(), U'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            codePoints[i] = windows1252::codePointFor(static_cast<unsigned char>(bytes[i]));
        return codePoints;
    });
    PageList sorted;
    sorted.reserve(encodedPages.size(), encodedPages.totalBytes());
    for (const std::size_t index : order)
        sorted.append(encodedPages[index]);
    encodedPages = std::move(sorted);
}

} // namespace lumvrex
