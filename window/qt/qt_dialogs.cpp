#include "window/qt/qt_dialogs.h"

#include "window/qt/qt_text.h"

#include <QInputDialog>
#include <QMessageBox>

namespace lumvrex {

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{ }

std::optional<std::string> QtDialogs::askText(std::string_view title, std::string_view prompt)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(m_parent, qString(title), qString(prompt), QLineEdit::Normal,
                                                 QString(), &accepted);
    returnFocus();
    if (!accepted)
        return std::nullopt;
    return utf8(answer);
}

void QtDialogs::inform(std::string_view title, std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, qString(title), qString(text), QMessageBox::Ok, m_parent);
    box.exec();
    returnFocus();
}

void QtDialogs::warn(std::string_view title, std::string_view text)
{
    QMessageBox box(QMessageBox::Warning, qString(title), qString(text), QMessageBox::Ok, m_parent);
    box.exec();
    returnFocus();
}

void QtDialogs::returnFocus()
{
    // The window manager may hand the focus to another application when a
    // dialog closes (openbox does for windows left out of the task bar).
    if (m_parent)
        m_parent->activateWindow();
}

} // namespace lumvrex
