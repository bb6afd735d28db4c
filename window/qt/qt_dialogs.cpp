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
    if (!accepted)
        return std::nullopt;
    return utf8(answer);
}

void QtDialogs::inform(std::string_view title, std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, qString(title), qString(text), QMessageBox::Ok, m_parent);
    box.exec();
}

void QtDialogs::warn(std::string_view title, std::string_view text)
{
    QMessageBox box(QMessageBox::Warning, qString(title), qString(text), QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace lumvrex
