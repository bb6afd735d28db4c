#pragma once

#include "publication/publication_inputs.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

// Form1 as every toolkit builds it: its caption, its client area and its 16
// controls with their captions, places, tab indexes and roles. Places are in
// twips (1/1440 inch; 15 twips are one pixel at 96 dpi), from the top left
// corner of the client area.

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

enum class ControlKind { Label, TextField, PageList, PushButton };

// What a button does when clicked.
enum class ButtonAction { None, CreatePublication, Exit, ClearPages };

struct Form1Control
{
    std::string_view name; // the object name: "Text1", "Command2"
    ControlKind kind;
    std::string_view caption = {}; // labels and buttons; empty otherwise
    TwipsRect place;
    int tabIndex;
    // A field's input; nullptr for the init message, which feeds nothing.
    std::string InputFields::*input = nullptr;
    ButtonAction action = ButtonAction::None;
    // What a screen reader calls a field or the list: the caption of the
    // label beside it, with a word of the user's language after it where
    // one label names two fields.
    std::string_view spokenCaption = {};
    std::string_view (*spokenWord)() = nullptr;
};

inline constexpr std::string_view kForm1Caption = "Zantrel - Lumvrex by the Lumvrex team";
inline constexpr std::string_view kApplicationTitle = "Lumvrex";
inline constexpr TwipsRect kForm1ClientArea{0, 0, 6525, 2865};

// In creation order, row by row.
extern const std::array<Form1Control, 16> kForm1Controls;

// The controls that take the keyboard focus, in the order Tab walks them;
// the first one has the focus at start. Labels take none.
std::vector<const Form1Control *> form1FocusOrder();

// A control's place in kForm1Controls.
std::size_t form1Index(const Form1Control &control);

// The inputs from the fields' texts (UTF-8, asked for by control) and the
// pages.
PublicationInputs form1Inputs(const std::function<std::string(const Form1Control &field)> &fieldText,
                              PageList pages);

// What a screen reader calls a field or the list: "Resolution (w,h): width".
std::string spokenName(const Form1Control &control);

// The byte a script gets as its decimal separator: the user's settings as
// the system keeps them, the same source lumvrex-cli reads.
char form1DecimalSeparator();

// A leading "~/" (or a lone "~") is the home folder, as in the desktop's
// own file dialogs; home empty leaves the path as it is.
std::string expandHome(std::string_view path, std::string_view home);

// Twips to pixels at a given dots per inch, rounded down as 96 dpi does.
constexpr int pixelsFromTwips(int twips, int dotsPerInch = 96)
{
    return twips * dotsPerInch / 1440;
}

} // namespace lumvrex
