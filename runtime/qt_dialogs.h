#pragma once

#include "runtime/dialogs.h"

class QWidget;

// Dialogs shown with Qt's own input dialog and message box.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    std::optional<QString> askText(const QString &title, const QString &prompt) override;
    void inform(const QString &title, const QString &text) override;
    void warn(const QString &title, const QString &text) override;

private:
    QWidget *m_parent;
};
