#pragma once

#include <QString>

#include <optional>

// The two modal dialogs a command may show. Behind an interface so commands
// can run in tests without a person.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A one-line text entry with OK and Cancel and an empty answer field.
    // nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &title, const QString &prompt) = 0;

    // A message with an OK button only, without an icon.
    virtual void inform(const QString &title, const QString &text) = 0;

    // A message with an OK button only, marked as a warning.
    virtual void warn(const QString &title, const QString &text) = 0;
};
