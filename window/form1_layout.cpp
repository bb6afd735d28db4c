#include "window/form1_layout.h"

#include "publication/script_decimal_separator.h"
#include "runtime/system.h"

#include <algorithm>

namespace lumvrex {
namespace {

using Does = ButtonAction;
constexpr ControlKind Label = ControlKind::Label;
constexpr ControlKind Field = ControlKind::TextField;
constexpr ControlKind List = ControlKind::PageList;
constexpr ControlKind Button = ControlKind::PushButton;

std::string_view width()
{
    return localized("spoken name", "width");
}

std::string_view height()
{
    return localized("spoken name", "height");
}

} // namespace

// clang-format off
const std::array<Form1Control, 16> kForm1Controls = {{
    // name      kind   caption              left  top   width height tab  feeds                    does                 spoken as
    {"Label1",   Label,  "E-Book title:",     {120,  120,  975,  255}, 0},
    {"Text1",    Field,  "",                  {1200, 120,  5175, 285}, 6,  &InputFields::title,     Does::None,          "E-Book title:"},
    {"Label2",   Label,  "Back color:",       {120,  480,  975,  255}, 1},
    {"Text2",    Field,  "",                  {1200, 480,  5175, 285}, 7,  &InputFields::backColor, Does::None,          "Back color:"},
    {"Label3",   Label,  "Pages:",            {120,  840,  975,  255}, 2},
    {"List1",    List,   "",                  {1200, 840,  4335, 255}, 9,  nullptr,                 Does::None,          "Pages:"},
    {"Command3", Button, "Clear",             {5640, 840,  735,  255}, 10, nullptr,                 Does::ClearPages},
    {"Label4",   Label,  "Init message:",     {120,  1200, 975,  255}, 3},
    {"Text3",    Field,  "",                  {1200, 1200, 5175, 285}, 8,  nullptr,                 Does::None,          "Init message:"},
    {"Label5",   Label,  "Resolution (w,h):", {120,  1560, 1335, 255}, 11},
    {"Text4",    Field,  "",                  {1440, 1560, 2295, 285}, 12, &InputFields::width,     Does::None,          "Resolution (w,h):", width},
    {"Text5",    Field,  "",                  {3840, 1560, 2535, 285}, 13, &InputFields::height,    Does::None,          "Resolution (w,h):", height},
    {"Label6",   Label,  "Icon:",             {120,  1920, 975,  255}, 14},
    {"Text6",    Field,  "",                  {1200, 1920, 5175, 285}, 15, &InputFields::icon,      Does::None,          "Icon:"},
    {"Command1", Button, "Create pub",        {120,  2400, 1335, 375}, 4,  nullptr,                 Does::CreatePublication},
    {"Command2", Button, "Exit",              {1560, 2400, 1335, 375}, 5,  nullptr,                 Does::Exit},
}};
// clang-format on

std::vector<const Form1Control *> form1FocusOrder()
{
    std::vector<const Form1Control *> order;
    for (const Form1Control &control : kForm1Controls) {
        if (control.kind != ControlKind::Label)
            order.push_back(&control);
    }
    std::sort(order.begin(), order.end(),
              [](const Form1Control *a, const Form1Control *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

std::size_t form1Index(const Form1Control &control)
{
    return static_cast<std::size_t>(&control - kForm1Controls.data());
}

PublicationInputs form1Inputs(const std::function<std::string(const Form1Control &field)> &fieldText,
                              PageList pages)
{
    PublicationInputs inputs;
    for (const Form1Control &control : kForm1Controls) {
        if (control.input)
            inputs.*control.input = fieldText(control);
    }
    inputs.pages = std::move(pages);
    return inputs;
}

std::string spokenName(const Form1Control &control)
{
    std::string name(control.spokenCaption);
    if (control.spokenWord)
        name += " " + std::string(control.spokenWord());
    return name;
}

char form1DecimalSeparator()
{
    return scriptDecimalSeparator(userDecimalSeparator());
}

std::string expandHome(std::string_view path, std::string_view home)
{
    if (home.empty() || path.empty() || path.front() != '~' || (path.size() > 1 && path[1] != '/'))
        return std::string(path);
    return std::string(home) + std::string(path.substr(1));
}

} // namespace lumvrex
