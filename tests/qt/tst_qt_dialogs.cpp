// Qt's dialogs as "Create pub" shows them, used from the keyboard: the
// question for the output path and the messages.
#include "window/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

using namespace lumvrex;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// Calls show(), which opens a modal dialog, and runs act on that dialog once
// it is up; act closes it. A dialog left open is closed after a while, so
// that a failing test ends.
template <typename Show> auto whileShown(Show show, const std::function<void(QWidget *)> &act)
{
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, [&act] { act(QApplication::activeModalWidget()); });
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [] {
        if (QWidget *open = QApplication::activeModalWidget())
            open->close();
    });
    start.start(0);
    rescue.start(30000);
    return show();
}

std::optional<QString> qAnswer(const std::optional<std::string> &answer)
{
    if (!answer)
        return std::nullopt;
    return QString::fromStdString(*answer);
}

} // namespace

class TestQtDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void askTextIsOneEmptyLineWideEnoughForAPath();
    void askTextAnswers_data();
    void askTextAnswers();
    void askTextCompletesFileAndFolderNames_data();
    void askTextCompletesFileAndFolderNames();
    void messagesAreWideEnoughForTheirTitle_data();
    void messagesAreWideEnoughForTheirTitle();
    void returnAnswersUnlessANameIsHighlighted();
    void tildeIsTheHomeFolder();
    void dialogsHaveNoMinimiseOrMaximiseBox();
    void confirmAsksYesOrNo_data();
    void confirmAsksYesOrNo();

private:
    std::optional<std::string> ask(const std::function<void(QInputDialog *, QLineEdit *)> &act)
    {
        QtDialogs dialogs(m_window.get());
        return whileShown([&dialogs] { return dialogs.askText("C:\\MyEBook.pub", "Output file:"); },
                          [&act](QWidget *shown) {
                              auto *dialog = qobject_cast<QInputDialog *>(shown);
                              auto *field = dialog ? dialog->findChild<QLineEdit *>() : nullptr;
                              if (!field) {
                                  QTest::qFail("the question is not an input dialog with a line", __FILE__,
                                               __LINE__);
                                  if (shown)
                                      shown->close();
                                  return;
                              }
                              // Typing goes to the answer once the dialog is active.
                              if (!QTest::qWaitFor([field] { return field->hasFocus(); }, 5000))
                                  qWarning("the answer field never got the focus");
                              act(dialog, field);
                          });
    }

    std::unique_ptr<QWidget> m_window;
    QTemporaryDir m_dir;
    QString m_startFolder;
};

void TestQtDialogs::init()
{
    QVERIFY(m_dir.isValid());
    m_startFolder = QDir::currentPath();
    m_window = std::make_unique<QWidget>();
    m_window->resize(435, 191);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestQtDialogs::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_startFolder);
}

void TestQtDialogs::askTextIsOneEmptyLineWideEnoughForAPath()
{
    QString title, prompt, startText;
    int answerWidth = 0;
    bool severalLines = true;
    bool typedIntoAnswer = false;
    ask([&](QInputDialog *dialog, QLineEdit *field) {
        title = dialog->windowTitle();
        prompt = dialog->labelText();
        startText = field->text();
        answerWidth = field->width();
        const auto *plain = dialog->findChild<QPlainTextEdit *>();
        severalLines = plain && plain->isVisible();
        typedIntoAnswer = field->hasFocus();
        dialog->reject();
    });
    QCOMPARE(title, QStringLiteral("C:\\MyEBook.pub"));
    QCOMPARE(prompt, QStringLiteral("Output file:"));
    QCOMPARE(startText, QString());
    QVERIFY(!severalLines);
    QVERIFY(typedIntoAnswer);
    QVERIFY2(answerWidth >= 400, qPrintable(QString::number(answerWidth)));
}

void TestQtDialogs::askTextAnswers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<std::optional<QString>>("answer");

    const QString path = m_dir.filePath(QStringLiteral("Viaje a Cadiz.pub"));
    QTest::newRow("path, then Return") << path << int(Qt::Key_Return) << std::optional<QString>(path);
    QTest::newRow("blanks kept") << QStringLiteral(" libro .pub ") << int(Qt::Key_Return)
                                 << std::optional<QString>(QStringLiteral(" libro .pub "));
    QTest::newRow("Return on the empty answer")
        << QString() << int(Qt::Key_Return) << std::optional<QString>(QString());
    QTest::newRow("Escape") << path << int(Qt::Key_Escape) << std::optional<QString>();
}

void TestQtDialogs::askTextAnswers()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(std::optional<QString>, answer);

    const auto given = ask([&](QInputDialog *, QLineEdit *field) {
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key(key));
    });
    QCOMPARE(qAnswer(given), answer);
}

void TestQtDialogs::askTextCompletesFileAndFolderNames_data()
{
    QTest::addColumn<bool>("relative");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("chosen"); // the answer after choosing the first offer

    const QString dir = m_dir.path();
    QTest::newRow("files and folders")
        << false << dir + "/Bo" << QStringList{"Boceto.pub", "Bocetos", "Book.pub"} << QString();
    QTest::newRow("in a folder") << false << dir + "/Bocetos/" << QStringList{"uno.pub"}
                                 << dir + "/Bocetos/uno.pub";
    QTest::newRow("one file") << false << dir + "/Boo" << QStringList{"Book.pub"} << dir + "/Book.pub";
    QTest::newRow("relative to the folder Lumvrex started in")
        << true << "Bo" << QStringList{"Boceto.pub", "Bocetos", "Book.pub"} << QString();
    QTest::newRow("relative, one file") << true << "Boo" << QStringList{"Book.pub"} << "Book.pub";
    QTest::newRow("relative, in a folder")
        << true << "Bocetos/u" << QStringList{"uno.pub"} << "Bocetos/uno.pub";
}

void TestQtDialogs::askTextCompletesFileAndFolderNames()
{
    QFETCH(bool, relative);
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    QFETCH(QString, chosen);

    QDir dir(m_dir.path());
    if (!dir.exists(QStringLiteral("Bocetos"))) {
        QVERIFY(dir.mkdir(QStringLiteral("Bocetos")));
        for (const char *name : {"Book.pub", "Boceto.pub", "Bocetos/uno.pub", "Otro.txt"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    if (relative)
        QVERIFY(QDir::setCurrent(dir.path()));

    QStringList shown;
    QString answer;
    bool stillAsking = false;
    ask([&](QInputDialog *dialog, QLineEdit *field) {
        QCompleter *completer = field->completer();
        if (!completer) {
            dialog->reject();
            return;
        }
        QTest::keyClicks(field, typed);
        // The names are read from the disk in the background.
        const bool offeredAll = QTest::qWaitFor(
            [&] { return completer->popup()->isVisible() && completer->completionCount() == offered.size(); },
            10000);
        if (!offeredAll)
            qWarning("offered %d names", completer->completionCount());
        const QAbstractItemModel *names = completer->completionModel();
        for (int row = 0; row < names->rowCount(); ++row)
            shown.append(names->index(row, 0).data().toString());
        if (!chosen.isEmpty() && completer->popup()->isVisible()) {
            QTest::keyClick(completer->popup(), Qt::Key_Down);
            QTest::keyClick(completer->popup(), Qt::Key_Return);
            QApplication::processEvents();
        }
        answer = field->text();
        stillAsking = dialog->isVisible(); // the Return that picks a name does not answer
        dialog->reject();
    });
    shown.sort();
    QCOMPARE(shown, offered);
    QVERIFY(stillAsking);
    if (!chosen.isEmpty())
        QCOMPARE(answer, chosen);
}

void TestQtDialogs::messagesAreWideEnoughForTheirTitle_data()
{
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("Finished!") << false << "Lumvrex"
                               << "Finished!";
    QTest::newRow("warning with a long title") << true << "A title much longer than its message"
                                               << "Short.";
}

// A frame shows the title in bold beside the window's icon and up to three
// buttons, each about as wide as the title bar is high.
void TestQtDialogs::messagesAreWideEnoughForTheirTitle()
{
    QFETCH(bool, warning);
    QFETCH(QString, title);
    QFETCH(QString, text);

    QtDialogs dialogs(m_window.get());
    int width = 0;
    QString shownTitle;
    const auto act = [&](QWidget *shown) {
        auto *box = qobject_cast<QMessageBox *>(shown);
        if (!box) {
            if (shown)
                shown->close();
            return;
        }
        width = box->width();
        shownTitle = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return); // OK
    };
    whileShown(
        [&] {
            if (warning)
                dialogs.warn(title.toStdString(), text.toStdString());
            else
                dialogs.inform(title.toStdString(), text.toStdString());
            return 0;
        },
        act);
    QCOMPARE(shownTitle, title);

    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int barHeight = metrics.height() + 4;
    const int needed = metrics.horizontalAdvance(title) + 4 * barHeight;
    QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 px wide, %2 px needed").arg(width).arg(needed)));
}

// Typed or pasted, an existing file (the completer offers it) or a new one:
// one Return answers, every time.
void TestQtDialogs::returnAnswersUnlessANameIsHighlighted()
{
    QDir dir(m_dir.path());
    QFile existing(dir.filePath(QStringLiteral("Existe.pub")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    int offeredTimes = 0;
    for (int i = 0; i < 52; ++i) {
        const bool pasted = i % 2 == 1;
        const QString path =
            i % 4 < 2 ? existing.fileName() : dir.filePath(QStringLiteral("Nuevo %1.pub").arg(i));
        bool offered = false;
        const auto given = ask([&](QInputDialog *, QLineEdit *field) {
            if (pasted) {
                QApplication::clipboard()->setText(path);
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClicks(field, path);
            }
            if (path == existing.fileName())
                offered = QTest::qWaitFor([field] { return field->completer()->popup()->isVisible(); }, 3000);
            // On a display the open popup has the keyboard, so the key goes there.
            QAbstractItemView *popup = field->completer()->popup();
            QTest::keyClick(popup->isVisible() ? static_cast<QWidget *>(popup) : field, Qt::Key_Return);
        });
        offeredTimes += offered ? 1 : 0;
        QVERIFY2(given.has_value(),
                 qPrintable(QStringLiteral("try %1 (%2) was not answered").arg(i).arg(path)));
        QCOMPARE(QString::fromStdString(*given), path);
    }
    // The popup was really up for the existing file, not just skipped.
    QVERIFY2(offeredTimes > 0, "the completer never offered the existing file");

    // A highlighted name is taken into the field and does not answer.
    QString answer;
    bool stillAsking = false;
    ask([&](QInputDialog *dialog, QLineEdit *field) {
        QTest::keyClicks(field, dir.filePath(QStringLiteral("Exi")));
        if (QTest::qWaitFor([field] { return field->completer()->popup()->isVisible(); }, 5000)) {
            QTest::keyClick(field->completer()->popup(), Qt::Key_Down);
            QTest::keyClick(field->completer()->popup(), Qt::Key_Return);
        }
        QApplication::processEvents();
        answer = field->text();
        stillAsking = dialog->isVisible();
        dialog->reject();
    });
    QCOMPARE(answer, existing.fileName());
    QVERIFY(stillAsking);
}

void TestQtDialogs::tildeIsTheHomeFolder()
{
    const auto given = ask([&](QInputDialog *, QLineEdit *field) {
        QTest::keyClicks(field, QStringLiteral("~/Libro.pub"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    QVERIFY(given.has_value());
    QCOMPARE(QString::fromStdString(*given), QDir::homePath() + QStringLiteral("/Libro.pub"));
}

// Of fixed size too: window managers offer to maximise or stretch any
// window whose least and greatest sizes differ.
void TestQtDialogs::dialogsHaveNoMinimiseOrMaximiseBox()
{
    Qt::WindowFlags asked;
    QSize askedLeast, askedMost;
    ask([&](QInputDialog *dialog, QLineEdit *) {
        asked = dialog->windowFlags();
        askedLeast = dialog->minimumSize();
        askedMost = dialog->maximumSize();
        dialog->reject();
    });
    Qt::WindowFlags told;
    QSize toldLeast, toldMost;
    QtDialogs dialogs(m_window.get());
    whileShown([&dialogs] { dialogs.warn("Lumvrex", "Aviso"); },
               [&](QWidget *shown) {
                   told = shown->windowFlags();
                   toldLeast = shown->minimumSize();
                   toldMost = shown->maximumSize();
                   shown->close();
               });
    for (const Qt::WindowFlags flags : {asked, told}) {
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
    QCOMPARE(askedLeast, askedMost);
    QVERIFY(askedLeast.width() >= 400);
    QCOMPARE(toldLeast, toldMost);
}

void TestQtDialogs::confirmAsksYesOrNo_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Return keeps things as they are") << int(Qt::Key_Return) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Yes") << -1 << true;
}

void TestQtDialogs::confirmAsksYesOrNo()
{
    QFETCH(int, key);
    QFETCH(bool, yes);
    QtDialogs dialogs(m_window.get());
    QStringList buttons;
    const bool answered = whileShown([&dialogs] { return dialogs.confirm("Lumvrex", "¿Crear?"); },
                                     [&](QWidget *shown) {
                                         auto *box = qobject_cast<QMessageBox *>(shown);
                                         QVERIFY(box);
                                         for (QAbstractButton *button : box->buttons())
                                             buttons.append(box->buttonRole(button) == QMessageBox::YesRole
                                                                ? QStringLiteral("yes")
                                                                : QStringLiteral("no"));
                                         QVERIFY(box->defaultButton() == box->button(QMessageBox::No));
                                         if (key < 0)
                                             box->button(QMessageBox::Yes)->click();
                                         else
                                             QTest::keyClick(box, Qt::Key(key));
                                     });
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"no", "yes"}));
    QCOMPARE(answered, yes);
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qt_dialogs.moc"
