#pragma once

#include "runtime/dialogs.h"

#include <QMessageBox>
#include <QPointer>

class QInputDialog;
class QWidget;

namespace lumvrex {

// Dialogs shown with Qt's own input dialog and message box, modal to the
// parent window, which gets the focus back when each one closes.
//
// An answered question stays up until the message that follows it opens on
// top of it, or until the command returns to the event loop: had it closed
// at once, the window manager would activate the window for a moment, and
// a screen reader might present the window instead of "Finished!".
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    ~QtDialogs() override;

    std::optional<std::string> askText(std::string_view title, std::string_view prompt) override;
    void inform(std::string_view title, std::string_view text) override;
    void warn(std::string_view title, std::string_view text) override;
    bool confirm(std::string_view title, std::string_view question) override;

private:
    QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, std::string_view title,
                                            std::string_view text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    void closeAnswered();
    void returnFocus();

    QWidget *m_parent;
    QPointer<QInputDialog> m_answered;
    bool m_messageShown = false;
};

} // namespace lumvrex
