#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumvrex {

// The modal dialogs a command may show, behind an interface so that commands
// run in tests without a person. Texts are UTF-8.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A one-line text entry with OK and Cancel and an empty answer field.
    // nullopt when cancelled.
    virtual std::optional<std::string> askText(std::string_view title, std::string_view prompt) = 0;

    // A message with an OK button only, without an icon.
    virtual void inform(std::string_view title, std::string_view text) = 0;

    // A message with an OK button only, marked as a warning.
    virtual void warn(std::string_view title, std::string_view text) = 0;

    // A question with Yes and No, No the default: true for Yes.
    virtual bool confirm(std::string_view title, std::string_view question) = 0;
};

} // namespace lumvrex
