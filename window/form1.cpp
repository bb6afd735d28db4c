#include "window/form1.h"

#include "publication/create_publication.h"
#include "runtime/page_effect_source.h"
#include "runtime/qt_dialogs.h"
#include "window/page_list_model.h"
#include "window/page_list_view.h"
#include "window/taskbar_hint.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The layout is given in twips; at 96 dpi a pixel is 15 twips, and Qt scales
// logical pixels on denser screens.
QRect fromTwips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

template <typename Widget, typename... Args>
Widget *place(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    return place<QLabel>(parent, name, geometry, QString::fromLatin1(caption));
}

QLineEdit *field(QWidget *parent, const char *name, QRect geometry)
{
    return place<QLineEdit>(parent, name, geometry);
}

QPushButton *button(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *pushButton = place<QPushButton>(parent, name, geometry, QString::fromLatin1(caption));
    pushButton->setAutoDefault(false);
    pushButton->setDefault(false);
    return pushButton;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
    , m_pages(new PageListModel(this))
    , m_ownDialogs(std::make_unique<QtDialogs>(this))
    , m_ownEffects(std::make_unique<ClockEffectSource>())
    , m_dialogs(m_ownDialogs.get())
    , m_effects(m_ownEffects.get())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zantrel - Lumvrex by the Lumvrex team"));
    // A fixed tool window with a close box only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Qt::Tool windows do not end the application when closed; this one must.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(fromTwips(0, 0, 6525, 2865).size());

    // Narrow and small enough for the 17-pixel labels and buttons: the
    // captions were laid out for a smaller system font than today's.
    QFont small(QStringLiteral("DejaVu Sans Condensed"));
    small.setPixelSize(10);
    setFont(small);

    buildControls();
    setTabOrderAndFocus();
    leaveOutOfTaskbar(this);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    Label1 = label(this, "Label1", "E-Book title:", fromTwips(120, 120, 975, 255));
    Text1 = field(this, "Text1", fromTwips(1200, 120, 5175, 285));
    Label2 = label(this, "Label2", "Back color:", fromTwips(120, 480, 975, 255));
    Text2 = field(this, "Text2", fromTwips(1200, 480, 5175, 285));
    Label3 = label(this, "Label3", "Pages:", fromTwips(120, 840, 975, 255));
    List1 = place<PageListView>(this, "List1", fromTwips(1200, 840, 4335, 255), m_pages);
    Command3 = button(this, "Command3", "Clear", fromTwips(5640, 840, 735, 255));
    Label4 = label(this, "Label4", "Init message:", fromTwips(120, 1200, 975, 255));
    Text3 = field(this, "Text3", fromTwips(1200, 1200, 5175, 285));
    Label5 = label(this, "Label5", "Resolution (w,h):", fromTwips(120, 1560, 1335, 255));
    Text4 = field(this, "Text4", fromTwips(1440, 1560, 2295, 285));
    Text5 = field(this, "Text5", fromTwips(3840, 1560, 2535, 285));
    Label6 = label(this, "Label6", "Icon:", fromTwips(120, 1920, 975, 255));
    Text6 = field(this, "Text6", fromTwips(1200, 1920, 5175, 285));
    Command1 = button(this, "Command1", "Create pub", fromTwips(120, 2400, 1335, 375));
    Command2 = button(this, "Command2", "Exit", fromTwips(1560, 2400, 1335, 375));

    connect(Command1, &QPushButton::clicked, this, &Form1::createPublicationClicked);
    connect(Command2, &QPushButton::clicked, qApp, &QCoreApplication::quit);
    connect(Command3, &QPushButton::clicked, m_pages, &PageListModel::clear);
    // Queued: the message waits until the drop itself has been completed.
    connect(List1, &PageListView::dropOverflowed, this, &Form1::reportDropOverflow, Qt::QueuedConnection);
}

void Form1::setTabOrderAndFocus()
{
    QWidget *const order[] = {Command1, Command2, Text1, Text2, Text3, List1, Command3, Text4, Text5, Text6};
    for (std::size_t i = 0; i < std::size(order); ++i)
        setTabOrder(order[i], order[(i + 1) % std::size(order)]);
    Command1->setFocus();
}

void Form1::setDialogs(Dialogs *dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
}

void Form1::setEffectSource(PageEffectSource *effects)
{
    m_effects = effects ? effects : m_ownEffects.get();
}

PublicationInputs Form1::publicationInputs() const
{
    return {Text1->text(), Text2->text(), Text4->text(), Text5->text(), Text6->text(), m_pages->paths()};
}

void Form1::createPublicationClicked()
{
    createPublication(publicationInputs(), *m_dialogs, *m_effects);
}

void Form1::reportDropOverflow(qsizetype notAdded)
{
    m_dialogs->warn(
        QStringLiteral("Lumvrex"),
        QStringLiteral("The page list holds at most %1 pages: %2 of the dropped files were not added.")
            .arg(kMaxPages)
            .arg(notAdded));
}
