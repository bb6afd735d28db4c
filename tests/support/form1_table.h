#pragma once

#include <array>
#include <string_view>

namespace lumvrex::testing {

// Form1 as it must be, written out once for every window's tests rather
// than read from window/form1_layout.h: a wrong entry there fails them.
// Places in twips.
struct ExpectedControl
{
    std::string_view name;
    std::string_view caption;
    int left, top, width, height;
    int tabIndex;
};

inline constexpr std::array<ExpectedControl, 16> kExpectedForm1 = {{
    {"Label1", "E-Book title:", 120, 120, 975, 255, 0},
    {"Text1", "", 1200, 120, 5175, 285, 6},
    {"Label2", "Back color:", 120, 480, 975, 255, 1},
    {"Text2", "", 1200, 480, 5175, 285, 7},
    {"Label3", "Pages:", 120, 840, 975, 255, 2},
    {"List1", "", 1200, 840, 4335, 255, 9},
    {"Command3", "Clear", 5640, 840, 735, 255, 10},
    {"Label4", "Init message:", 120, 1200, 975, 255, 3},
    {"Text3", "", 1200, 1200, 5175, 285, 8},
    {"Label5", "Resolution (w,h):", 120, 1560, 1335, 255, 11},
    {"Text4", "", 1440, 1560, 2295, 285, 12},
    {"Text5", "", 3840, 1560, 2535, 285, 13},
    {"Label6", "Icon:", 120, 1920, 975, 255, 14},
    {"Text6", "", 1200, 1920, 5175, 285, 15},
    {"Command1", "Create pub", 120, 2400, 1335, 375, 4},
    {"Command2", "Exit", 1560, 2400, 1335, 375, 5},
}};

// Where Tab takes the focus, from where it starts.
inline constexpr std::array<std::string_view, 10> kExpectedFocusOrder = {
    "Command1", "Command2", "Text1", "Text2", "Text3", "List1", "Command3", "Text4", "Text5", "Text6"};

inline constexpr int kExpectedClientWidth = 6525;
inline constexpr int kExpectedClientHeight = 2865;

} // namespace lumvrex::testing
