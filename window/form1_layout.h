#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace lumvrex {

// Form1 as every toolkit builds it: its caption, its client area and its 16
// controls with their captions, places and tab indexes. Places are in twips
// (1/1440 inch; 15 twips are one pixel at 96 dpi), from the top left corner
// of the client area.

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

enum class ControlKind { Label, TextField, PageList, PushButton };

struct ControlSpec
{
    std::string_view name; // the object name: "Text1", "Command2"
    ControlKind kind;
    std::string_view caption;        // labels and buttons; empty otherwise
    std::string_view accessibleName; // what a screen reader calls a field or the list
    TwipsRect place;
    int tabIndex;
};

inline constexpr std::string_view kForm1Caption = "Zantrel - Lumvrex by the Lumvrex team";
inline constexpr std::string_view kApplicationTitle = "Lumvrex";
inline constexpr TwipsRect kForm1ClientArea{0, 0, 6525, 2865};

// In creation order, row by row.
inline constexpr std::array<ControlSpec, 16> kForm1Controls = {{
    {"Label1", ControlKind::Label, "E-Book title:", "", {120, 120, 975, 255}, 0},
    {"Text1", ControlKind::TextField, "", "E-Book title:", {1200, 120, 5175, 285}, 6},
    {"Label2", ControlKind::Label, "Back color:", "", {120, 480, 975, 255}, 1},
    {"Text2", ControlKind::TextField, "", "Back color:", {1200, 480, 5175, 285}, 7},
    {"Label3", ControlKind::Label, "Pages:", "", {120, 840, 975, 255}, 2},
    {"List1", ControlKind::PageList, "", "Pages:", {1200, 840, 4335, 255}, 9},
    {"Command3", ControlKind::PushButton, "Clear", "", {5640, 840, 735, 255}, 10},
    {"Label4", ControlKind::Label, "Init message:", "", {120, 1200, 975, 255}, 3},
    {"Text3", ControlKind::TextField, "", "Init message:", {1200, 1200, 5175, 285}, 8},
    {"Label5", ControlKind::Label, "Resolution (w,h):", "", {120, 1560, 1335, 255}, 11},
    {"Text4", ControlKind::TextField, "", "Resolution (w,h): width", {1440, 1560, 2295, 285}, 12},
    {"Text5", ControlKind::TextField, "", "Resolution (w,h): height", {3840, 1560, 2535, 285}, 13},
    {"Label6", ControlKind::Label, "Icon:", "", {120, 1920, 975, 255}, 14},
    {"Text6", ControlKind::TextField, "", "Icon:", {1200, 1920, 5175, 285}, 15},
    {"Command1", ControlKind::PushButton, "Create pub", "", {120, 2400, 1335, 375}, 4},
    {"Command2", ControlKind::PushButton, "Exit", "", {1560, 2400, 1335, 375}, 5},
}};

// The controls that take the keyboard focus, in the order Tab walks them;
// the first one has the focus at start. Labels take none.
std::vector<const ControlSpec *> form1FocusOrder();

// The control of that name, or nullptr.
const ControlSpec *form1Control(std::string_view name);

// Twips to pixels at a given dots per inch, rounded down as 96 dpi does.
constexpr int pixelsFromTwips(int twips, int dotsPerInch = 96)
{
    return twips * dotsPerInch / 1440;
}

} // namespace lumvrex
