#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// Name order: pages in the order a Spanish- or English-speaking author's file
// manager shows the same names, the same on every system and in every
// locale (the README's "Name order" says it in full). Paths go folder by
// folder; within a name, numbers go by their value and letters by the
// alphabet, with ñ after n; accents, then case, then leading zeros count
// only between names otherwise equal.

// Negative, zero or positive as a comes before, with or after b. Zero for
// texts the rule finds equal, such as "a//b" and "a/b", or "é" written as
// one character and as "e" with a combining accent.
int compareNames(std::u32string_view a, std::u32string_view b);

// UTF-8 as compareNames takes it: a byte that is not part of valid UTF-8
// becomes U+DC80..U+DCFF, which no valid text holds, and goes after every
// character.
std::u32string nameCodePoints(std::string_view utf8);

// The indexes of count texts in name order; texts the rule finds equal keep
// the order they had. textAt(i) gives text i's code points, and may be
// asked again for a text that ties with another.
std::vector<std::size_t> nameOrder(std::size_t count,
                                   const std::function<std::u32string(std::size_t)> &textAt);

// The same for paths as UTF-8 bytes, such as the page list's entries.
std::vector<std::size_t> nameOrder(const std::vector<std::string> &utf8Paths);

} // namespace lumvrex
