#pragma once

#include "i18n/messages.h"

#include "publication/page_list.h"

#include <cstddef>
#include <string>

namespace lumvrex {

// What a publication script is made from: five texts and the pictures, one
// page each, in order. Adding a field means adding it here and to
// kInputFields below.
struct InputFields
{
    std::string title;
    std::string backColor;
    std::string width;
    std::string height;
    std::string icon;
    PageList pages;
};

// The same fields in two forms that must not be mixed up: as typed (UTF-8,
// written exactly as given) and as the bytes a script holds.
template <typename Form> struct Inputs : InputFields
{
};
struct TypedText;
struct ScriptBytes;
using PublicationInputs = Inputs<TypedText>;
using EncodedInputs = Inputs<ScriptBytes>;

// Each text field and how messages name it (by its label, which stays as
// the window shows it).
struct InputField
{
    std::string InputFields::*text;
    std::string_view (*place)();
};
inline constexpr InputField kInputFields[] = {
    {&InputFields::title, [] { return localized("input field", "The field \"E-Book title:\""); }},
    {&InputFields::backColor, [] { return localized("input field", "The field \"Back color:\""); }},
    {&InputFields::width, [] { return localized("input field", "The field \"Resolution (w,h):\" (width)"); }},
    {&InputFields::height,
     [] { return localized("input field", "The field \"Resolution (w,h):\" (height)"); }},
    {&InputFields::icon, [] { return localized("input field", "The field \"Icon:\""); }},
};

// Page numbers are signed 16-bit in the authoring program.
inline constexpr std::size_t kMaxPages = 32767;

} // namespace lumvrex
