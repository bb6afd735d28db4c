#include "window/form1_layout.h"

#include <algorithm>

namespace lumvrex {

std::vector<const ControlSpec *> form1FocusOrder()
{
    std::vector<const ControlSpec *> order;
    for (const ControlSpec &control : kForm1Controls) {
        if (control.kind != ControlKind::Label)
            order.push_back(&control);
    }
    std::sort(order.begin(), order.end(),
              [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const ControlSpec *form1Control(std::string_view name)
{
    for (const ControlSpec &control : kForm1Controls) {
        if (control.name == name)
            return &control;
    }
    return nullptr;
}

} // namespace lumvrex
