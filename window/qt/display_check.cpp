#include "window/qt/display_check.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"

#include <cstdlib>
#include <string_view>

#if defined(LUMVREX_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace lumvrex {
namespace {

// The value of a Qt option given as "-name value" or "--name value".
std::string_view optionValue(int argc, const char *const *argv, std::string_view name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.starts_with("--"))
            arg.remove_prefix(1);
        if (arg.starts_with('-') && arg.substr(1) == name)
            return argv[i + 1];
    }
    return {};
}

std::string_view environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

bool xDisplayAnswers(const std::string &name)
{
#if defined(LUMVREX_HAVE_XCB)
    xcb_connection_t *connection = xcb_connect(name.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
#else
    return !name.empty();
#endif
}

} // namespace

std::string missingDisplay(int argc, const char *const *argv)
{
    std::string_view platform = optionValue(argc, argv, "platform");
    if (platform.empty())
        platform = environment("QT_QPA_PLATFORM");
    if (!platform.empty() && !platform.starts_with("xcb"))
        return {};

    std::string_view display = optionValue(argc, argv, "display");
    if (display.empty())
        display = environment("DISPLAY");
    if (!display.empty() && xDisplayAnswers(std::string(display)))
        return {};
    // Qt tries Wayland first where a compositor says it is there.
    if (platform.empty() && !environment("WAYLAND_DISPLAY").empty())
        return {};
    if (display.empty())
        return std::string(localized("no display", "DISPLAY is not set"));
    return formatMessage(localized("no display", "cannot open the X display \"%s\""), {display});
}

} // namespace lumvrex
