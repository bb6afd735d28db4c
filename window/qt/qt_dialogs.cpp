#include "window/qt/qt_dialogs.h"

#include "window/form1_layout.h"
#include "window/qt/qt_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>

namespace lumvrex {
namespace {

// The least width of the answer field, in pixels: room for a real path.
constexpr int kAnswerWidth = 400;

// A dialog's frame: a title and a close box, no minimise or maximise box.
constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// "~/Book.pub" as the desktop's own file dialogs read it.
QString withHome(const QString &path)
{
    return qString(expandHome(utf8(path), utf8(QDir::homePath())));
}

// Completes the names of files and folders in a typed path. A relative path
// is completed from the folder Lumvrex was started in, where it is written;
// one starting with "~/" from the home folder.
class PathCompleter final : public QCompleter
{
public:
    explicit PathCompleter(QObject *parent)
        : QCompleter(parent)
        , m_files(new QFileSystemModel(this))
    {
        m_files->setRootPath(QString());
        setModel(m_files);
        // Qt offers the names of a folder that was read late only when the
        // typed path starts with that folder, which a relative one never does.
        connect(m_files, &QFileSystemModel::directoryLoaded, this, [this] {
            const auto *field = qobject_cast<const QLineEdit *>(widget());
            if (field && field->hasFocus() && QDir::isRelativePath(field->text()) && !popup()->isVisible()
                && completionCount() > 0)
                complete();
        });
    }

    QStringList splitPath(const QString &path) const override
    {
        const QString home = withHome(path);
        const QString full = QDir::isRelativePath(home) ? QDir::current().filePath(home) : home;
        // Qt reads one folder further per keystroke; a path typed fast or
        // pasted would never be completed. Looking up the typed folder
        // makes the model read it at once; the offers follow when it is.
        const qsizetype slash = full.lastIndexOf(u'/');
        if (slash >= 0)
            m_files->index(full.left(slash + 1));
        return QCompleter::splitPath(full);
    }

    QString pathFromIndex(const QModelIndex &index) const override
    {
        QString completed = QCompleter::pathFromIndex(index);
        const auto *field = qobject_cast<const QLineEdit *>(widget());
        if (field && field->text().startsWith(QStringLiteral("~/")))
            return QStringLiteral("~/") + QDir::home().relativeFilePath(completed);
        if (field && QDir::isRelativePath(field->text()))
            return QDir::current().relativeFilePath(completed);
        return completed;
    }

private:
    QFileSystemModel *m_files;
};

// Return (or Enter) in the answer field answers, unless the user has
// highlighted an offered name: that Return takes the name into the field,
// as the completer does. Watches the popup too, which Qt may leave holding
// the keyboard after it closed.
class ReturnAnswers final : public QObject
{
public:
    ReturnAnswers(QDialog *dialog, QCompleter *completer)
        : QObject(dialog)
        , m_dialog(dialog)
        , m_completer(completer)
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        QAbstractItemView *popup = m_completer->popup();
        const QModelIndex highlighted = popup->currentIndex();
        if (popup->isVisible() && highlighted.isValid() && popup->selectionModel()->isSelected(highlighted))
            return QObject::eventFilter(watched, event);
        popup->hide();
        m_dialog->accept();
        return true;
    }

private:
    QDialog *m_dialog;
    QCompleter *m_completer;
};

// The question, which tells its answer without closing: it closes when the
// message that follows it has been read.
class AnsweredQuestion final : public QInputDialog
{
public:
    using QInputDialog::QInputDialog;

    // Shows the question and waits for OK (true) or Cancel.
    bool ask()
    {
        setModal(true);
        show();
        m_answer.exec();
        return m_accepted;
    }

protected:
    void done(int result) override
    {
        m_accepted = result == QDialog::Accepted;
        if (m_accepted) {
            // Answered: nothing more is offered, or its popup would take the
            // keyboard from the message above.
            for (auto *field : findChildren<QLineEdit *>())
                field->setCompleter(nullptr);
        } else {
            QInputDialog::done(result);
        }
        m_answer.quit();
    }
    void closeEvent(QCloseEvent *event) override
    {
        QInputDialog::closeEvent(event);
        m_answer.quit();
    }

private:
    QEventLoop m_answer;
    bool m_accepted = false;
};

// Window managers show a title in the frame, beside an icon and up to three
// buttons; Qt sizes a message box for the title with less room than that.
int widthForTitle(const QString &title)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    return metrics.horizontalAdvance(title) + 6 * metrics.height();
}

} // namespace

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{ }

QtDialogs::~QtDialogs()
{
    delete m_answered.data();
}

std::optional<std::string> QtDialogs::askText(std::string_view title, std::string_view prompt)
{
    closeAnswered();
    auto *dialog = new AnsweredQuestion(m_parent, kDialogFlags);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(qString(title));
    dialog->setLabelText(qString(prompt));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setTextEchoMode(QLineEdit::Normal);
    dialog->setTextValue(QString());
    if (auto *field = dialog->findChild<QLineEdit *>()) {
        field->setMinimumWidth(kAnswerWidth);
        auto *completer = new PathCompleter(field);
        field->setCompleter(completer);
        auto *returnAnswers = new ReturnAnswers(dialog, completer);
        // After the completer's own filter is in place, so this one sees
        // the keys first.
        completer->popup()->installEventFilter(returnAnswers);
        field->installEventFilter(returnAnswers);
    }
    // Of fixed size, so that no window manager lets it be maximised or
    // stretched: the dialog builds its layout when first sized, and that
    // layout would set its minimum and maximum anew each time.
    dialog->sizeHint();
    dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (!dialog->ask()) {
        dialog->close();
        returnFocus();
        return std::nullopt;
    }
    m_answered = dialog;
    QTimer::singleShot(0, dialog, [this] {
        if (!m_messageShown)
            closeAnswered();
    });
    return utf8(withHome(dialog->textValue()));
}

void QtDialogs::inform(std::string_view title, std::string_view text)
{
    showMessage(QMessageBox::NoIcon, title, text);
}

void QtDialogs::warn(std::string_view title, std::string_view text)
{
    showMessage(QMessageBox::Warning, title, text);
}

bool QtDialogs::confirm(std::string_view title, std::string_view question)
{
    return showMessage(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

QMessageBox::StandardButton QtDialogs::showMessage(QMessageBox::Icon icon, std::string_view title,
                                                   std::string_view text,
                                                   QMessageBox::StandardButtons buttons)
{
    // On top of the question just answered, if there is one: the focus
    // goes from one to the other.
    QMessageBox box(icon, qString(title), qString(text), buttons,
                    m_answered ? static_cast<QWidget *>(m_answered.data()) : m_parent);
    // Return on a question keeps things as they are.
    if (buttons & QMessageBox::No)
        box.setDefaultButton(QMessageBox::No);
    box.setWindowFlags(kDialogFlags);
    // A message box takes the width of its layout: a spacer across it is
    // the one way to make it wider.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(widthForTitle(box.windowTitle()), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    m_messageShown = true;
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    m_messageShown = false;
    closeAnswered();
    returnFocus();
    return chosen;
}

void QtDialogs::closeAnswered()
{
    if (m_answered)
        m_answered->close();
    m_answered = nullptr;
}

void QtDialogs::returnFocus()
{
    // The window manager may hand the focus to another application when a
    // dialog closes (openbox does for windows left out of the task bar).
    if (m_parent)
        m_parent->activateWindow();
}

} // namespace lumvrex
