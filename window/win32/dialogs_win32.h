#pragma once

#include "runtime/dialogs.h"

#include <windows.h>

namespace lumvrex {

// The dialogs of Windows itself: a small text-entry dialog (OK, Cancel and an
// empty answer field wide enough for a path) and message boxes, all modal
// to the owner window.
class Win32Dialogs final : public Dialogs
{
public:
    explicit Win32Dialogs(HWND owner);

    std::optional<std::string> askText(std::string_view title, std::string_view prompt) override;
    void inform(std::string_view title, std::string_view text) override;
    void warn(std::string_view title, std::string_view text) override;
    bool confirm(std::string_view title, std::string_view question) override;

private:
    HWND m_owner;
};

} // namespace lumvrex
