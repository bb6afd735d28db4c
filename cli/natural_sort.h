#pragma once

#include "publication/page_list.h"

#include <string_view>

namespace lumvrex {

// Negative, zero or positive as a sorts before, with or after b: runs of
// digits compare by value ("page2" before "page10"), other characters by
// their case-folded code points. Texts equal that way fall back to their
// plain code points, so the order is total and the same in every locale.
int compareNaturally(std::u32string_view a, std::u32string_view b);

// Puts pages of script bytes (Windows-1252) in that order of the characters
// they stand for; pages that compare equal keep their order.
void sortNaturally(PageList &encodedPages);

} // namespace lumvrex
