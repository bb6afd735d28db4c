#pragma once

#include "publication/page_list.h"

namespace lumvrex {

// Puts pages of script bytes (Windows-1252) in name order (page_order.h) of
// the characters they stand for, as the window's "Sort by name" orders the
// same paths; pages the rule finds equal keep their order.
void sortNaturally(PageList &encodedPages);

} // namespace lumvrex
