#pragma once

#include "publication/page_list.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace lumvrex {

// Negative, zero or positive as a sorts before, with or after b: runs of
// digits compare by value ("page2" before "page10"), other characters by
// their case-folded code points. Texts equal that way fall back to a plain
// byte comparison, so the order is total and the same in every locale.
int compareNaturally(std::string_view a, std::string_view b);

// The indexes of the pages in natural order; pages that compare equal keep
// their order.
std::vector<std::size_t> naturalOrder(const PageList &pages);

PageList sortedNaturally(const PageList &pages);

} // namespace lumvrex
