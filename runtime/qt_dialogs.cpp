#include "runtime/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{ }

std::optional<QString> QtDialogs::askText(const QString &title, const QString &prompt)
{
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return answer;
}

void QtDialogs::inform(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

void QtDialogs::warn(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}
