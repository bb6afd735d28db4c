#pragma once

#include "runtime/dialogs.h"

class QMessageBox;
class QWidget;

namespace lumvrex {

// Dialogs shown with Qt's own input dialog and message box, modal to the
// parent window, which gets the focus back when each one closes.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    std::optional<std::string> askText(std::string_view title, std::string_view prompt) override;
    void inform(std::string_view title, std::string_view text) override;
    void warn(std::string_view title, std::string_view text) override;

private:
    void showMessage(QMessageBox &box);
    void returnFocus();

    QWidget *m_parent;
};

} // namespace lumvrex
