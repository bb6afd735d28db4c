#pragma once

#include <span>

namespace lumvrex {

// po/es.po compiled by msgfmt, as the build turned it into a byte table.
std::span<const unsigned char> embeddedSpanishCatalogue();

} // namespace lumvrex
