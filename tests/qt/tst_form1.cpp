#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "support/catalogue_text.h"
#include "support/fakes.h"
#include "support/files.h"
#include "support/form1_table.h"
#include "window/form1_layout.h"
#include "window/qt/form1.h"
#include "window/qt/page_list_model.h"
#include "window/qt/page_list_view.h"
#include "window/qt/qt_text.h"
#include "window/qt/qt_translation.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>
#include <QUrl>

#include <cerrno>
#include <clocale>
#include <cstring>

using namespace lumvrex;
using lumvrex::testing::FakeDialogs;
using lumvrex::testing::FixedEffectSource;

namespace {

QString q(const std::string &text)
{
    return qString(text);
}

// What the window says in the language of the run: the suite runs once in
// English and once with Spanish messages (tests/qt/CMakeLists.txt), and
// takes each text it expects from the catalogue.
const lumvrex::testing::CatalogueText &catalogue()
{
    static const lumvrex::testing::CatalogueText text(
        std::string_view(std::setlocale(LC_MESSAGES, nullptr)).starts_with("es"), LUMVREX_SPANISH_CATALOGUE,
        [](const std::string &miss) { QTest::qFail(miss.c_str(), __FILE__, __LINE__); });
    return text;
}

QString said(const char *context, const char *english)
{
    return q(catalogue().text(context, english));
}

QString tooltipOf(int page, int count, const QString &path)
{
    return q(formatMessage(catalogue().text("tooltip", "page %1$s of %2$s"),
                           {std::to_string(page), std::to_string(count)}))
        + QLatin1Char('\n') + path;
}

QString listNameOf(unsigned long count)
{
    return QStringLiteral("Pages: ")
        + q(formatMessage(catalogue().count("spoken name", "%s page", "%s pages", count),
                          {std::to_string(count)}));
}

QString overflowOf(const char *what, unsigned long notAdded)
{
    const std::string one =
        std::string("The page list holds at most %1$s pages: %2$s of the ") + what + " files was not added.";
    const std::string many =
        std::string("The page list holds at most %1$s pages: %2$s of the ") + what + " files were not added.";
    return q(formatMessage(catalogue().count("note", one.c_str(), many.c_str(), notAdded),
                           {catalogue().thousands(32767), std::to_string(notAdded)}));
}

QString menuCaption(const char *english)
{
    return said("page menu", english);
}

QString addPicturesCaption()
{
    return menuCaption("&Add pictures") + QString::fromUtf8("…");
}

QStringList qStrings(const PageList &pages)
{
    QStringList list;
    for (const std::string_view page : pages)
        list.append(qString(page));
    return list;
}

QList<QUrl> fileUrls(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    return urls;
}

struct DropResult
{
    bool enterAccepted = false;
    bool dropAccepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Delivers a whole drag-and-drop to the list's viewport, as the desktop does.
// Qt derives the proposed action from the modifiers: Shift proposes a move.
DropResult dropOn(QAbstractItemView *list, QMimeData *mime, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = list->viewport();
    const QPoint at(10, 5);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    DropResult result;
    QDragEnterEvent enter(at, offered, mime, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    result.enterAccepted = enter.isAccepted();
    QDragMoveEvent move(at, offered, mime, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, offered, mime, Qt::LeftButton, modifiers);
    drop.setDropAction(Qt::IgnoreAction);
    QApplication::sendEvent(target, &drop);
    result.dropAccepted = drop.isAccepted();
    result.action = drop.dropAction();
    return result;
}

DropResult dropFiles(QAbstractItemView *list, const QStringList &paths)
{
    QMimeData mime;
    mime.setUrls(fileUrls(paths));
    return dropOn(list, &mime);
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void windowFrame();
    void captionsFitInTheWindowsFont_data();
    void captionsFitInTheWindowsFont();
    void startsEmptyWithoutDefaultButtons();
    void tabWalksTheControls();
    void returnAndEnterClickTheFocusedButton_data();
    void returnAndEnterClickTheFocusedButton();
    void drops_data();
    void drops();
    void dropPastTheLimitKeepsTheList();
    void clearEmptiesTheList();
    void listShowsSixColumnsInOneRow();
    void listShowsFileNamesAndTellsThePathInTooltips_data();
    void listShowsFileNamesAndTellsThePathInTooltips();
    void cellsDifferWhereTheNamesDo_data();
    void cellsDifferWhereTheNamesDo();
    void tooltipsShowWhileTheWindowIsInactive();
    void keysEditTheList_data();
    void keysEditTheList();
    void paste_data();
    void paste();
    void pasteOfNothingSaysSoWithoutABox();
    void namesThatAreNotUtf8KeepTheirBytes();
    void addPicturesAppendsWhatTheDialogGives();
    void contextMenuKeysOpenIt_data();
    void contextMenuKeysOpenIt();
    void contextMenuItems_data();
    void contextMenuItems();
    void dropOfLinksSaysHowManyWereNotFiles();
    void screenReaderHearsEachEntryAsItsPage();
    void listNameCountsThePages();
    void qtsOwnButtonsSpeakTheMessagesLanguage();
    void createPubWritesTheWindowsInputs();
    void createPubLeavesTheWindowAsItWas();
    void exitEndsTheApplication_data();
    void exitEndsTheApplication();
    void closingTheWindowEndsTheApplication();

private:
    std::unique_ptr<Form1> m_form;
    FakeDialogs m_dialogs;
    FixedEffectSource m_effects{{0.5f}};
    template <typename T> T *child(const char *name) const
    {
        T *found = m_form->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }
    PageListView *list() const { return child<PageListView>("List1"); }
    // Letters for "/p/a.png", "/p/b.png", ...: "ab".
    QString letters() const
    {
        QString text;
        for (const QString &entry : entries())
            text += entry.mid(3, 1);
        return text;
    }
    void dropLetters(const QString &text)
    {
        QStringList paths;
        for (const QChar c : text)
            paths.append(QStringLiteral("/p/%1.png").arg(c));
        dropFiles(list(), paths);
    }
    void selectRow(int row)
    {
        list()->setFocus();
        list()->selectionModel()->setCurrentIndex(list()->model()->index(row, 0),
                                                  QItemSelectionModel::ClearAndSelect);
    }
    void keys(const QString &sequence)
    {
        for (const QString &each : sequence.split(u' ', Qt::SkipEmptyParts)) {
            const QKeyCombination combination = QKeySequence(each)[0];
            QTest::keyClick(list(), combination.key(), combination.keyboardModifiers());
        }
    }
    // Runs what with the context menu open; returns its items' captions,
    // "-" before a disabled one.
    QStringList withMenu(const std::function<void()> &open, const QString &trigger = QString())
    {
        QStringList items;
        QTimer::singleShot(0, this, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu) {
                items.append(QStringLiteral("(no menu)"));
                return;
            }
            QAction *chosen = nullptr;
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                items.append((action->isEnabled() ? QString() : QStringLiteral("-")) + action->text());
                if (action->text() == trigger)
                    chosen = action;
            }
            if (chosen)
                chosen->trigger();
            menu->close();
        });
        open();
        QApplication::processEvents();
        return items;
    }
    QStringList entries() const { return qStrings(m_form->pageList()->pages().editor().pages()); }
};

void TestForm1::initTestCase()
{
    // The messages' language from the environment, as the program takes it;
    // the catalogue from the build tree.
    startMessages();
    useMessageFolder(LUMVREX_LOCALE_FOLDER);
    QVERIFY(catalogue().valid());
    QCOMPARE(installQtTranslation(*qApp), catalogue().spanish());
    qInfo("messages in %s", catalogue().spanish() ? "Spanish" : "English");
}

void TestForm1::init()
{
    m_form = std::make_unique<Form1>();
    m_dialogs = FakeDialogs{};
    m_form->setDialogs(&m_dialogs);
    m_form->setEffectSource(&m_effects);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestForm1::cleanup()
{
    m_form.reset();
}

void TestForm1::controlsSitWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");

    QTest::addColumn<int>("tabIndex");
    for (const lumvrex::testing::ExpectedControl &row : lumvrex::testing::kExpectedForm1) {
        QTest::newRow(row.name.data()) << qString(row.name) << qString(row.caption)
                                       << QRect(row.left, row.top, row.width, row.height) << row.tabIndex;
    }
}

void TestForm1::controlsSitWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(int, tabIndex);

    const auto control = std::find_if(kForm1Controls.begin(), kForm1Controls.end(),
                                      [&](const Form1Control &entry) { return qString(entry.name) == name; });
    QVERIFY(control != kForm1Controls.end());
    QCOMPARE(control->tabIndex, tabIndex);
    auto *widget = child<QWidget>(qPrintable(name));
    QCOMPARE(widget->parentWidget(), m_form.get());
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());

    QString shown;
    if (auto *label = qobject_cast<QLabel *>(widget))
        shown = label->text();
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        shown = button->text();
    QCOMPARE(shown, caption);
}

void TestForm1::windowFrame()
{
    QVERIFY(m_form->windowTitle().startsWith(QStringLiteral("Zantrel - Lumvrex ")));
    QCOMPARE(m_form->size(), QSize(435, 191));
    QCOMPARE(
        m_form->size(),
        QSize(lumvrex::testing::kExpectedClientWidth / 15, lumvrex::testing::kExpectedClientHeight / 15));
    QCOMPARE(m_form->minimumSize(), QSize(435, 191));
    QCOMPARE(m_form->maximumSize(), QSize(435, 191));
    const Qt::WindowFlags flags = m_form->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_form->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(m_form->objectName(), QStringLiteral("Form1"));
}

void TestForm1::captionsFitInTheWindowsFont_data()
{
    QTest::addColumn<QString>("name");
    for (const Form1Control &control : kForm1Controls) {
        if (!control.caption.empty())
            QTest::newRow(control.name.data()) << qString(control.name);
    }
}

// In the font the window really got from the system, each caption is drawn
// whole inside its control and ends clear of the control beside it.
void TestForm1::captionsFitInTheWindowsFont()
{
    QFETCH(QString, name);
    auto *widget = child<QWidget>(qPrintable(name));

    // A substitute font is wider: "Init message:" loses its colon in it.
    const QFontInfo used(widget->font());
    QCOMPARE(used.family(), QStringLiteral("DejaVu Sans Condensed"));
    QCOMPARE(used.pixelSize(), 10);

    const QFontMetrics metrics = widget->fontMetrics();
    QString caption;
    QRect textArea;
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        caption = label->text();
        textArea = label->contentsRect();
    } else {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        caption = button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = caption;
        textArea = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    const int textWidth = metrics.horizontalAdvance(caption);
    QVERIFY2(textWidth <= textArea.width(),
             qPrintable(QStringLiteral("%1 px of text in %2 px").arg(textWidth).arg(textArea.width())));
    QVERIFY(metrics.height() <= textArea.height());

    // A label's text starts at its left edge; it must stop short of the
    // next control on its row, which may overlap the label's own box.
    if (qobject_cast<QLabel *>(widget)) {
        const int textEnd = widget->x() + textArea.left() + textWidth;
        for (QWidget *other : m_form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            const bool sameRow =
                other->y() < widget->geometry().bottom() && widget->y() < other->geometry().bottom();
            if (other != widget && sameRow && other->x() > widget->x())
                QVERIFY2(textEnd + 4 <= other->x(), qPrintable(other->objectName()));
        }
    }
}

void TestForm1::startsEmptyWithoutDefaultButtons()
{
    for (QLineEdit *field : m_form->findChildren<QLineEdit *>())
        QVERIFY(field->text().isEmpty());
    QCOMPARE(m_form->findChildren<QLineEdit *>().size(), 6);
    QVERIFY(entries().isEmpty());
    for (QPushButton *button : m_form->findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->text().contains(u'&'));
    }
    for (QLabel *label : m_form->findChildren<QLabel *>()) {
        QVERIFY(!label->text().contains(u'&'));
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
}

void TestForm1::tabWalksTheControls()
{
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("Command1"));

    QStringList expected;
    for (std::size_t i = 1; i <= lumvrex::testing::kExpectedFocusOrder.size() + 1; ++i)
        expected.append(
            qString(lumvrex::testing::kExpectedFocusOrder[i % lumvrex::testing::kExpectedFocusOrder.size()]));
    QStringList walked;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        walked.append(focused->objectName());
    }
    QCOMPARE(walked, expected);
}

void TestForm1::returnAndEnterClickTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("clicks");

    QTest::newRow("Return on Create pub")
        << "Command1" << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false << 1;
    QTest::newRow("keypad Enter on Create pub")
        << "Command1" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << false << 1;
    QTest::newRow("Return on Clear") << "Command3" << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false
                                     << 1;
    QTest::newRow("Space on Clear, as before")
        << "Command3" << int(Qt::Key_Space) << Qt::KeyboardModifiers() << false << 1;
    QTest::newRow("a held Return does not click again")
        << "Command1" << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << 0;
    QTest::newRow("Ctrl+Return is not a click")
        << "Command1" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << false << 0;
}

void TestForm1::returnAndEnterClickTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(int, clicks);

    auto *target = child<QPushButton>(qPrintable(button));
    target->setFocus();
    QSignalSpy clicked(target, &QAbstractButton::clicked);
    if (autoRepeat) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), true);
        QApplication::sendEvent(target, &release);
    } else {
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    QCOMPARE(clicked.count(), clicks);
    for (QPushButton *each : m_form->findChildren<QPushButton *>())
        QVERIFY(!each->isDefault());
}

void TestForm1::drops_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QStringList three = {QStringLiteral("/fotos/uno.jpg"), QStringLiteral("/fotos/dos.png"),
                               QStringLiteral("/fotos/tres.bmp")};
    QTest::newRow("three files in drop order") << fileUrls(three) << QString() << three;
    QTest::newRow("duplicates kept") << fileUrls(
        {QStringLiteral("/a.png"), QStringLiteral("/b.png"), QStringLiteral("/a.png")})
                                     << QString()
                                     << QStringList{QStringLiteral("/a.png"), QStringLiteral("/b.png"),
                                                    QStringLiteral("/a.png")};
    QTest::newRow("folders and any kind of file")
        << fileUrls({QStringLiteral("/home/autora/Imágenes"), QStringLiteral("/notas.txt")}) << QString()
        << QStringList{QStringLiteral("/home/autora/Imágenes"), QStringLiteral("/notas.txt")};
    QTest::newRow("percent-encoded names decoded")
        << QList<QUrl>{QUrl(QStringLiteral("file:///fotos/playa%20en%20C%C3%A1diz%2523.jpg"))} << QString()
        << QStringList{QString::fromUtf8("/fotos/playa en Cádiz%23.jpg")};
    QTest::newRow("web links skipped") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.png")),
                                                      QUrl::fromLocalFile(QStringLiteral("/b.png"))}
                                       << QString() << QStringList{QStringLiteral("/b.png")};
    QTest::newRow("only text") << QList<QUrl>{} << QStringLiteral("/not/a/file.png") << QStringList{};
    QTest::newRow("only a web link") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.png"))}
                                     << QString() << QStringList{};
}

void TestForm1::drops()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);

    QMimeData mime;
    if (!urls.isEmpty())
        mime.setUrls(urls);
    if (!text.isEmpty())
        mime.setText(text);
    const DropResult result = dropOn(list(), &mime, Qt::ShiftModifier);
    QCOMPARE(entries(), expected);
    QCOMPARE(list()->model()->rowCount(), expected.size());
    QCOMPARE(result.enterAccepted, !expected.isEmpty());
    if (!expected.isEmpty()) {
        QVERIFY(result.dropAccepted);
        QCOMPARE(result.action, Qt::MoveAction); // the proposed action, as it came
    }
    QVERIFY(m_dialogs.shown.empty());
}

// What did not fit is told in a box once the drop has finished.
void TestForm1::dropPastTheLimitKeepsTheList()
{
    m_form->pageList()->pages().drop({std::vector<std::string>(32760, "/pictures/a.png"), 0});
    QStringList dropped;
    for (int i = 0; i < 10; ++i)
        dropped.append(QStringLiteral("/dropped/%1.png").arg(i));
    dropFiles(list(), dropped);
    QCOMPARE(entries().size(), 32767);
    QCOMPARE(entries().mid(32760), dropped.mid(0, 7));
    QVERIFY(m_dialogs.shown.empty());
    QTRY_COMPARE(m_dialogs.shown.size(), std::size_t(1));
    QCOMPARE(q(m_dialogs.shown[0].kind), QStringLiteral("warn"));
    QCOMPARE(q(m_dialogs.shown[0].title), QStringLiteral("Lumvrex"));
    QCOMPARE(q(m_dialogs.shown[0].text), overflowOf("dropped", 3));
}

void TestForm1::clearEmptiesTheList()
{
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    dropFiles(list(), {QStringLiteral("/1.png"), QStringLiteral("/2.png")});
    QCOMPARE(list()->model()->rowCount(), 2);
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    QCOMPARE(list()->model()->rowCount(), 0);
    dropFiles(list(), {QStringLiteral("/3.png")});
    QCOMPARE(entries(), QStringList{QStringLiteral("/3.png")});
}

void TestForm1::listShowsSixColumnsInOneRow()
{
    QStringList seven;
    for (int i = 0; i < 7; ++i)
        seven.append(QStringLiteral("/p%1.png").arg(i));
    dropFiles(list(), seven);
    QApplication::processEvents();

    const int viewportWidth = list()->viewport()->width();
    const int column = viewportWidth / 6;
    for (int i = 0; i < 7; ++i) {
        const QRect cell = list()->visualRect(list()->model()->index(i, 0));
        QCOMPARE(cell.left(), i * column);
        QCOMPARE(cell.top(), 0);
        QVERIFY(cell.bottom() < list()->viewport()->height());
    }
    // The seventh lies past the right edge and is reached by scrolling sideways.
    QVERIFY(list()->horizontalScrollBar()->maximum() > 0);
    list()->scrollTo(list()->model()->index(6, 0));
    QVERIFY(list()->horizontalScrollBar()->value() > 0);
}

void TestForm1::listShowsFileNamesAndTellsThePathInTooltips_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");

    // Cells of the window's font: a short name whole, a long one by its
    // first words.
    QTest::newRow("short name") << QStringLiteral("/home/autora/Fotos/a.jpg") << QStringLiteral("a.jpg");
    QTest::newRow("long name") << QStringLiteral("/home/autora/Fotos/foto_0001.jpg")
                               << QString::fromUtf8("foto…");
    QTest::newRow("blanks and accents")
        << QString::fromUtf8("/home/autora/Imágenes/la caleta.jpg") << QString::fromUtf8("la…");
    QTest::newRow("folder") << QString::fromUtf8("/home/autora/Imágenes/") << QString::fromUtf8("Imágenes");
    QTest::newRow("root folder") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("name that looks like markup")
        << QStringLiteral("/fotos/<b>playa</b>.jpg") << QString::fromUtf8("b>.jpg");
    QTest::newRow("name with a backslash")
        << QStringLiteral("/fotos/a\\b.jpg") << QString::fromUtf8("a\\b.jpg");
}

void TestForm1::listShowsFileNamesAndTellsThePathInTooltips()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);

    dropFiles(list(), {QStringLiteral("/fotos/primera.jpg"), path, QStringLiteral("/fotos/tercera.jpg")});
    const QModelIndex cell = list()->model()->index(1, 0);
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), shown);
    const QString tooltip = cell.data(Qt::ToolTipRole).toString();
    QCOMPARE(tooltip, tooltipOf(2, 3, path));
    QVERIFY(!Qt::mightBeRichText(tooltip)); // shown as the plain text it is
    QCOMPARE(entries().at(1), path);        // the script still gets the whole path
}

void TestForm1::cellsDifferWhereTheNamesDo_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("lookAlike");

    QTest::newRow("names that differ at the start")
        << "/fotos/aaaa_de_la_playa_de_la_caleta_al_atardecer.jpg"
        << "/fotos/zzzz_de_la_playa_de_la_caleta_al_atardecer.jpg" << false;
    QTest::newRow("names that differ in the extension")
        << "/fotos/playa_de_la_caleta_al_atardecer.jpg"
        << "/fotos/playa_de_la_caleta_al_atardecer.png" << false;
    QTest::newRow("same name in other folders") << "/fotos/2023/playa.jpg"
                                                << "/fotos/2024/playa.jpg" << true;
}

// Two long names side by side: their cells differ where the names do.
void TestForm1::cellsDifferWhereTheNamesDo()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, lookAlike);

    dropFiles(list(), {first, second});
    QApplication::processEvents();
    const auto cellImage = [this](int row) {
        return list()->viewport()->grab(list()->visualRect(list()->model()->index(row, 0))).toImage();
    };
    list()->selectionModel()->clear();
    list()->setCurrentIndex(QModelIndex());
    QApplication::processEvents();
    const QImage a = cellImage(0);
    const QImage b = cellImage(1);
    QVERIFY(!a.isNull());
    QCOMPARE(a == b, lookAlike);
}

void TestForm1::tooltipsShowWhileTheWindowIsInactive()
{
    dropFiles(list(),
              {QStringLiteral("/fotos/uno.jpg"), QStringLiteral("/fotos/dos.jpg"),
               QStringLiteral("/fotos/tres.jpg")});
    QApplication::processEvents();
    QWidget fileManager;
    fileManager.resize(200, 100);
    fileManager.show();
    fileManager.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fileManager));
    QVERIFY(!m_form->isActiveWindow());

    const QRect cell = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseMove(m_form->windowHandle(), list()->viewport()->mapTo(m_form.get(), cell.center()));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tooltipOf(2, 3, QStringLiteral("/fotos/dos.jpg")));
    QToolTip::hideText();
}

void TestForm1::keysEditTheList_data()
{
    QTest::addColumn<int>("row"); // selected first; -1: none
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("current");

    QTest::newRow("Delete selects the next") << 1 << "Del"
                                             << "acd" << 1;
    QTest::newRow("Delete of the last selects the new last") << 3 << "Del"
                                                             << "abc" << 2;
    QTest::newRow("Ctrl+Left") << 2 << "Ctrl+Left"
                               << "acbd" << 1;
    QTest::newRow("Ctrl+Left at the start") << 0 << "Ctrl+Left"
                                            << "abcd" << 0;
    QTest::newRow("Ctrl+Right") << 1 << "Ctrl+Right"
                                << "acbd" << 2;
    QTest::newRow("Ctrl+Home") << 2 << "Ctrl+Home"
                               << "cabd" << 0;
    QTest::newRow("Ctrl+End") << 1 << "Ctrl+End"
                              << "acdb" << 3;
    QTest::newRow("Ctrl+Z takes back a Delete") << 1 << "Del Ctrl+Z"
                                                << "abcd" << 1;
    QTest::newRow("Ctrl+Z takes back a move") << 2 << "Ctrl+Home Ctrl+Z"
                                              << "abcd" << 2;
    QTest::newRow("Ctrl+Y redoes") << 1 << "Del Ctrl+Z Ctrl+Y"
                                   << "acd" << 1;
    QTest::newRow("Ctrl+Shift+Z redoes") << 1 << "Del Ctrl+Z Ctrl+Shift+Z"
                                         << "acd" << 1;
    QTest::newRow("Ctrl+Z takes back the drop") << -1 << "Ctrl+Z"
                                                << "" << -1;
    QTest::newRow("Shift+Right extends the selection") << 0 << "Shift+Right Del"
                                                       << "cd" << 0;
    QTest::newRow("Ctrl+A selects all") << 1 << "Ctrl+A Del"
                                        << "" << -1;
    QTest::newRow("Right moves the selection") << 0 << "Right Right Del"
                                               << "abd" << 2;
    QTest::newRow("Home") << 2 << "Home Del"
                          << "bcd" << 0;
    QTest::newRow("End") << 0 << "End Del"
                         << "abc" << 2;
    QTest::newRow("Delete with nothing selected") << -1 << "Del"
                                                  << "abcd" << -1;
}

void TestForm1::keysEditTheList()
{
    QFETCH(int, row);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QFETCH(int, current);

    dropLetters(QStringLiteral("abcd"));
    list()->setFocus();
    list()->selectionModel()->clear();
    if (row >= 0)
        selectRow(row);
    this->keys(keys);
    QCOMPARE(letters(), expected);
    QCOMPARE(list()->currentIndex().row(), current);
    if (current >= 0)
        QVERIFY(list()->selectionModel()->isSelected(list()->currentIndex()));
    QCOMPARE(list()->selectionModel()->selectedIndexes().size(), current >= 0 ? 1 : 0);
    QVERIFY(m_dialogs.shown.empty());
}

void TestForm1::paste_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("expected");

    const QByteArray uris = "file:///p/x.png\r\nfile:///p/y%20z.png\r\nfile:///p/x.png\r\n";
    const QStringList three = {"/p/a.png", "/p/x.png", "/p/y z.png", "/p/x.png"};
    QTest::newRow("uri-list, Ctrl+V") << "text/uri-list" << uris << "Ctrl+V" << three;
    QTest::newRow("uri-list, Shift+Insert") << "text/uri-list" << uris << "Shift+Ins" << three;
    QTest::newRow("GNOME's copied files")
        << "x-special/gnome-copied-files"
        << QByteArray("copy\nfile:///p/x.png\nfile:///p/y%20z.png\nfile:///p/x.png") << "Ctrl+V" << three;
    QTest::newRow("a folder") << "text/uri-list" << QByteArray("file:///p/fotos/\r\n") << "Ctrl+V"
                              << QStringList{"/p/a.png", "/p/fotos/"};
}

void TestForm1::paste()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, data);
    QFETCH(QString, key);
    QFETCH(QStringList, expected);

    dropLetters(QStringLiteral("a"));
    auto *mime = new QMimeData;
    mime->setData(format, data);
    QApplication::clipboard()->setMimeData(mime);
    list()->setFocus();
    keys(key);
    QCOMPARE(entries(), expected);
    // The first pasted entry is selected.
    QCOMPARE(list()->currentIndex().row(), 1);
    QCOMPARE(list()->selectionModel()->selectedIndexes().size(), 1);
    QVERIFY(m_dialogs.shown.empty());
}

void TestForm1::pasteOfNothingSaysSoWithoutABox()
{
    dropLetters(QStringLiteral("ab"));
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral("/p/c.png"));
    QApplication::clipboard()->setMimeData(mime);
    list()->setFocus();
    keys(QStringLiteral("Ctrl+V"));
    QCOMPARE(letters(), QStringLiteral("ab"));
    QCOMPARE(list()->note(), said("note", "The clipboard holds no files to paste."));
    QVERIFY(m_dialogs.shown.empty());
    // A notification, which a screen reader says as it appears, and nothing
    // left for later visits.
    auto *note = m_form->findChild<QLabel *>(QStringLiteral("PageListNote"));
    QVERIFY(note && note->isVisible());
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(note);
    QCOMPARE(accessible->role(), QAccessible::Notification);
    QCOMPARE(accessible->text(QAccessible::Name), list()->note());
    QVERIFY(list()->accessibleDescription().isEmpty());
    // The next change of the list ends it.
    dropLetters(QStringLiteral("c"));
    QVERIFY(list()->note().isEmpty());
    QVERIFY(!note->isVisible());
}

void TestForm1::namesThatAreNotUtf8KeepTheirBytes()
{
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"), "file:///fotos/uno.jpg\r\nfile:///fotos/Vac%FF.jpg\r\n");
    dropOn(list(), &mime);
    const PageList pages = m_form->pageList()->pages().editor().pages();
    QCOMPARE(pages.size(), std::size_t(2));
    QCOMPARE(std::string(pages[1]), std::string("/fotos/Vac\xFF.jpg"));
    const QModelIndex cell = list()->model()->index(1, 0);
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), QString::fromUtf8("Vac<0xFF>…"));
    QCOMPARE(cell.data(Qt::ToolTipRole).toString(), tooltipOf(2, 2, QStringLiteral("/fotos/Vac<0xFF>.jpg")));

    // The create command names the page, so that just that one can go
    // (after the question about pictures that are not there: Yes).
    m_dialogs.answer = "/never/asked.pub";
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), std::size_t(2));
    QCOMPARE(q(m_dialogs.shown[0].kind), QStringLiteral("confirm"));
    QCOMPARE(q(m_dialogs.shown[1].kind), QStringLiteral("warn"));
    QVERIFY2(q(m_dialogs.shown[1].text)
                 .contains(q(formatMessage(catalogue().text("page", "Page %1$s (%2$s)"),
                                           {"2", "/fotos/Vac<0xFF>.jpg"}))),
             m_dialogs.shown[1].text.c_str());
}

// The open dialog starts in the desktop's Pictures folder.
void TestForm1::addPicturesAppendsWhatTheDialogGives()
{
    std::vector<std::string> folders;
    list()->setPictureChooser([&](const std::string &folder) {
        folders.push_back(folder);
        return std::vector<std::string>{"/fotos/2024/b.png", "/fotos/2024/a.png"};
    });
    list()->setFocus();
    keys(QStringLiteral("Ins"));
    QCOMPARE(entries(), (QStringList{"/fotos/2024/b.png", "/fotos/2024/a.png"}));
    QCOMPARE(folders.size(), std::size_t(1));
    QCOMPARE(q(folders[0]), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

void TestForm1::contextMenuKeysOpenIt_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Menu key") << "Menu";
    QTest::newRow("Shift+F10") << "Shift+F10";
    QTest::newRow("right click") << "";
}

void TestForm1::contextMenuKeysOpenIt()
{
    QFETCH(QString, key);
    dropLetters(QStringLiteral("abc"));
    selectRow(0);
    QApplication::clipboard()->setMimeData(new QMimeData);
    const QStringList items = withMenu([&] {
        if (key.isEmpty()) {
            const QPoint at = list()->visualRect(list()->model()->index(1, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, list()->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list()->viewport(), &event);
        } else {
            keys(key);
        }
    });
    // A right click on an entry selects it first: Move left can act.
    const QString left = (key.isEmpty() ? QString() : QStringLiteral("-")) + menuCaption("Move &left");
    QCOMPARE(
        items,
        (QStringList{addPicturesCaption(), menuCaption("Add &folder") + QString::fromUtf8("…"),
                     "-" + menuCaption("&Paste"), menuCaption("&Remove"), left, menuCaption("Move r&ight"),
                     menuCaption("&Sort by name"), menuCaption("Re&verse order"), menuCaption("&Undo"),
                     "-" + menuCaption("Re&do"), menuCaption("&Clear")}));
}

void TestForm1::contextMenuItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("before"); // keys first
    QTest::addColumn<QString>("expected");

    QTest::newRow("Add pictures") << addPicturesCaption() << ""
                                  << "abcz";
    QTest::newRow("Paste") << menuCaption("&Paste") << ""
                           << "abcy";
    QTest::newRow("Remove") << menuCaption("&Remove") << ""
                            << "acz";
    QTest::newRow("Redo") << menuCaption("Re&do") << "Del Ctrl+Z"
                          << "ac";
    QTest::newRow("Clear") << menuCaption("&Clear") << ""
                           << "";
}

void TestForm1::contextMenuItems()
{
    QFETCH(QString, item);
    QFETCH(QString, before);
    QFETCH(QString, expected);

    dropLetters(QStringLiteral("abc"));
    // "Remove" leaves c selected; a later add must not depend on it.
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/uri-list"), "file:///p/y.png\r\n");
    QApplication::clipboard()->setMimeData(mime);
    list()->setPictureChooser([](const std::string &) { return std::vector<std::string>{"/p/z.png"}; });
    selectRow(1);
    keys(before);
    const QStringList items = withMenu([this] { keys(QStringLiteral("Menu")); }, item);
    QVERIFY(items.contains(item));
    if (item == menuCaption("&Remove"))
        withMenu([this] { keys(QStringLiteral("Menu")); }, addPicturesCaption());
    QCOMPARE(letters(), expected);
}

void TestForm1::dropOfLinksSaysHowManyWereNotFiles()
{
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 "https://example.org/a.png\r\nfile:///p/b.png\r\nhttp://x.org/\r\n");
    dropOn(list(), &mime);
    QCOMPARE(letters(), QStringLiteral("b"));
    QCOMPARE(list()->note(),
             q(formatMessage(catalogue().count("note", "%s dropped item is not a file and was not added.",
                                               "%s dropped items are not files and were not added.", 2),
                             {"2"})));
    QVERIFY(m_dialogs.shown.empty());
}

void TestForm1::screenReaderHearsEachEntryAsItsPage()
{
    dropFiles(list(),
              {QStringLiteral("/fotos/uno.jpg"), QString::fromUtf8("/fotos/playa en Cádiz.jpg"),
               QStringLiteral("/fotos/tres.jpg")});
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), listNameOf(3));
    const QString spoken = q(formatMessage(catalogue().text("spoken name", "page %1$s of %2$s, %3$s"),
                                           {"2", "3", "playa en Cádiz.jpg"}));
    QAccessibleInterface *second = nullptr;
    for (int i = 0; i < accessible->childCount(); ++i) {
        QAccessibleInterface *child = accessible->child(i);
        if (child && child->text(QAccessible::Name) == spoken)
            second = child;
    }
    QVERIFY2(second, qPrintable(spoken));
    QVERIFY(second->text(QAccessible::Description).isEmpty());
}

void TestForm1::listNameCountsThePages()
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), listNameOf(0));
    dropFiles(list(), {QStringLiteral("/1.png")});
    QCOMPARE(accessible->text(QAccessible::Name), listNameOf(1));
    dropFiles(list(), {QStringLiteral("/2.png"), QStringLiteral("/3.png")});
    QCOMPARE(accessible->text(QAccessible::Name), listNameOf(3));
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(accessible->text(QAccessible::Name), listNameOf(0));
}

// The warning's button beside its Spanish text: Qt's, from Qt's own Spanish.
void TestForm1::qtsOwnButtonsSpeakTheMessagesLanguage()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lumvrex"), QStringLiteral("-"), QMessageBox::Ok);
    QInputDialog question;
    question.show(); // its buttons are made when it is first shown
    const QList<QPushButton *> questionButtons = question.findChildren<QPushButton *>();
    question.hide();
    QString expectedOk = QStringLiteral("OK");
    QString expectedCancel = QStringLiteral("Cancel");
    if (catalogue().spanish()) {
        QTranslator qtSpanish;
        QVERIFY(
            qtSpanish.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        expectedOk = qtSpanish.translate("QPlatformTheme", "OK");
        expectedCancel = qtSpanish.translate("QPlatformTheme", "Cancel");
        QVERIFY(!expectedOk.isEmpty() && expectedOk != QStringLiteral("OK"));
    }
    QCOMPARE(box.button(QMessageBox::Ok)->text(), expectedOk);
    QStringList questionTexts;
    for (const QPushButton *button : questionButtons)
        questionTexts.append(button->text());
    questionTexts.sort();
    QStringList expected{expectedOk, expectedCancel};
    expected.sort();
    QCOMPARE(questionTexts, expected);
}

void TestForm1::createPubWritesTheWindowsInputs()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("book.pub"));

    QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("My Book"));
    QTest::keyClicks(child<QLineEdit>("Text2"), QStringLiteral("255"));
    QTest::keyClicks(child<QLineEdit>("Text3"), QStringLiteral("INIT-MESSAGE-TEXT"));
    QTest::keyClicks(child<QLineEdit>("Text4"), QStringLiteral("640"));
    QTest::keyClicks(child<QLineEdit>("Text5"), QStringLiteral("480"));
    QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("book.ico"));
    // Pictures that are there: nothing is asked about them.
    const auto picture = [&dir](const char *name) {
        QString path = dir.filePath(QLatin1String(name));
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    };
    dropFiles(list(), {picture("b/second.png"), picture("a/first.png")});
    dropFiles(list(), {picture("c/third.png")});

    m_dialogs.answer = utf8(target);
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(m_dialogs.shown.size(), std::size_t(2));
    QCOMPARE(q(m_dialogs.shown[0].title), QStringLiteral("C:\\MyEBook.pub"));
    QCOMPARE(q(m_dialogs.shown[1].text), QStringLiteral("Finished!"));
    const std::string bytes = lumvrex::testing::readWholeFile(utf8(target));
    const std::vector<std::string> lines = lumvrex::testing::scriptLines(bytes);
    QCOMPARE(lines.size(), std::size_t(69 + 3 * 28));
    const std::pair<std::size_t, const char *> expected[] = {
        {2, "Title = My Book"},
        {7, "ScreenWidth = 640"},
        {8, "ScreenHeight = 480"},
        {20, "Icon=book.ico"},
        {69 + 18, "FillColor = 255"},
        {69 + 24, "FileName=DIR/b/second.png"},
        {69 + 28 + 24, "FileName=DIR/a/first.png"},
        {69 + 56 + 24, "FileName=DIR/c/third.png"},
    };
    for (const auto &[index, line] : expected)
        QCOMPARE(q(lines[index]), QString::fromLatin1(line).replace(QStringLiteral("DIR"), dir.path()));
    QVERIFY(bytes.find("INIT-MESSAGE") == std::string::npos);
}

void TestForm1::createPubLeavesTheWindowAsItWas()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("Title"));
    QFile picture(dir.filePath(QStringLiteral("1.png")));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    dropFiles(list(), {picture.fileName()});
    const PublicationInputs before = m_form->publicationInputs();

    const std::optional<std::string> answers[] = {
        std::nullopt,                                           // cancelled
        utf8(dir.filePath(QStringLiteral("missing/book.pub"))), // cannot be written
        utf8(dir.filePath(QStringLiteral("book.pub"))),         // written
    };
    for (const std::optional<std::string> &answer : answers) {
        m_dialogs.answer = answer;
        QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
        const PublicationInputs after = m_form->publicationInputs();
        QVERIFY(after.title == before.title);
        QVERIFY(after.pages == before.pages);
        QVERIFY(m_form->isVisible());
    }
    QCOMPARE(m_dialogs.shown.size(), std::size_t(1 + 2 + 2));
    QCOMPARE(q(m_dialogs.shown[2].kind), QStringLiteral("warn"));
    // The failure in the user's language from start to end: our sentence,
    // the system's reason.
    const std::string missing = utf8(dir.filePath(QStringLiteral("missing")));
    const locale_t messages = ::newlocale(LC_MESSAGES_MASK, std::setlocale(LC_MESSAGES, nullptr), nullptr);
    QVERIFY(messages != locale_t{});
    const std::string reason = ::strerror_l(ENOENT, messages);
    ::freelocale(messages);
    QCOMPARE(q(m_dialogs.shown[2].text),
             q(formatMessage(catalogue().text("write", "Could not create %1$s in the folder %2$s: %3$s."),
                             {"\"" + missing + "/book.pub\"", "\"" + missing + "\"", reason})));
    QCOMPARE(q(m_dialogs.shown[4].text), QStringLiteral("Finished!"));
}

void TestForm1::exitEndsTheApplication_data()
{
    QTest::addColumn<int>("key"); // 0: a mouse click
    QTest::newRow("click") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
}

void TestForm1::exitEndsTheApplication()
{
    QFETCH(int, key);
    QTimer::singleShot(0, this, [this, key] {
        auto *exit = child<QPushButton>("Command2");
        if (key == 0)
            QTest::mouseClick(exit, Qt::LeftButton);
        else
            QTest::keyClick(exit, Qt::Key(key));
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // would mean it did not end
    QCOMPARE(QApplication::exec(), 0);
}

void TestForm1::closingTheWindowEndsTheApplication()
{
    QTimer::singleShot(0, this, [this] { m_form->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
