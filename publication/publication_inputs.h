#pragma once

#include "publication/page_list.h"

#include <cstddef>
#include <string>

namespace lumvrex {

// What a publication script is made from: five texts written exactly as
// typed, and the pictures, one page each, in order. All UTF-8.
struct PublicationInputs
{
    std::string title;
    std::string backColor;
    std::string width;
    std::string height;
    std::string icon;
    PageList pages;
};

// Page numbers are signed 16-bit in the authoring program.
inline constexpr std::size_t kMaxPages = 32767;

} // namespace lumvrex
