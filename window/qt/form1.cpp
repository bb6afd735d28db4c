#include "window/qt/form1.h"

#include "publication/page_effect_source.h"
#include "window/form1_actions.h"
#include "window/qt/page_list_view.h"
#include "window/qt/qt_dialogs.h"
#include "window/qt/qt_text.h"
#include "window/qt/taskbar_hint.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumvrex {
namespace {

// At 96 dpi a pixel is 15 twips; Qt scales logical pixels on denser screens.
QRect pixels(const TwipsRect &twips)
{
    return {pixelsFromTwips(twips.left), pixelsFromTwips(twips.top), pixelsFromTwips(twips.width),
            pixelsFromTwips(twips.height)};
}

// Return and Enter click the focused button, as Space does. Qt does that
// only for a dialog's default buttons, and this window has none.
class PushButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            QPushButton::keyPressEvent(event);
            return;
        }
        // A held key clicks once: the Return that closes "Finished!" must
        // not run "Create pub" again when the focus comes back here.
        if (!event->isAutoRepeat())
            click();
        event->accept();
    }
};

// A plain QWidget is announced as a "filler". The window has a fixed dialog
// frame and is announced as a dialog (Qt's Window role reaches AT-SPI as a
// "frame").
QAccessibleInterface *accessibleForm1(const QString &className, QObject *object)
{
    if (object && object->isWidgetType() && className == QLatin1String(Form1::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
    return nullptr;
}

QWidget *makeControl(const Form1Control &control, QWidget *parent)
{
    QWidget *widget = nullptr;
    switch (control.kind) {
    case ControlKind::Label:
        widget = new QLabel(qString(control.caption), parent);
        break;
    case ControlKind::TextField: {
        auto *field = new QLineEdit(parent);
        // A line edit first tells its caret to a screen reader when it first
        // gets the focus, just before the focus itself, and Orca then says
        // nothing of it; told now, while nobody listens, it is said.
        field->setText(QString());
        widget = field;
        widget->setAccessibleName(qString(spokenName(control)));
        break;
    }
    case ControlKind::PageList:
        widget = new PageListView(parent);
        break;
    case ControlKind::PushButton: {
        auto *button = new PushButton(qString(control.caption), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qString(control.name));
    widget->setGeometry(pixels(control.place));
    return widget;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
    , m_ownDialogs(std::make_unique<QtDialogs>(this))
    , m_ownEffects(std::make_unique<ClockEffectSource>())
    , m_dialogs(m_ownDialogs.get())
    , m_effects(m_ownEffects.get())
{
    QAccessible::installFactory(accessibleForm1);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qString(kForm1Caption));
    // A normal window of fixed size with a close box only. A tool window
    // would be transient for Qt's hidden group leader, and window managers
    // would neither focus it nor give the focus back to it after a dialog.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The path of a page is in its tooltip; the user may be looking at it
    // while working in the file manager the pictures come from.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFixedSize(pixels(kForm1ClientArea).size());

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

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Window managers keep windows that skip the task bar from taking the
    // focus on their own (openbox does), so the window asks for it.
    activateWindow();
}

void Form1::buildControls()
{
    for (const Form1Control &control : kForm1Controls) {
        QWidget *widget = makeControl(control, this);
        m_controls[form1Index(control)] = widget;
        if (auto *button = qobject_cast<QPushButton *>(widget))
            connect(button, &QPushButton::clicked, this, [this, &control] { clicked(control.action); });
        if (auto *list = qobject_cast<PageListView *>(widget))
            m_list = list;
    }
    // Queued: the message waits until the drop itself has been completed.
    connect(
        m_list, &PageListView::warning, this,
        [this](const QString &text) { m_dialogs->warn(kApplicationTitle, utf8(text)); },
        Qt::QueuedConnection);
}

void Form1::clicked(ButtonAction action)
{
    switch (action) {
    case ButtonAction::CreatePublication:
        createPublicationClicked();
        break;
    case ButtonAction::Exit:
        QCoreApplication::quit();
        break;
    case ButtonAction::ClearPages:
        m_list->pages().run(PageCommand::Clear);
        break;
    case ButtonAction::None:
        break;
    }
}

void Form1::setTabOrderAndFocus()
{
    QList<QWidget *> order;
    for (const Form1Control *control : form1FocusOrder())
        order.append(m_controls[form1Index(*control)]);
    for (qsizetype i = 0; i < order.size(); ++i)
        setTabOrder(order[i], order[(i + 1) % order.size()]);
    order.front()->setFocus();
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
    const auto fieldText = [this](const Form1Control &field) {
        return utf8(static_cast<QLineEdit *>(m_controls[form1Index(field)])->text());
    };
    return form1Inputs(fieldText, m_list->pages().editor().pages());
}

void Form1::createPublicationClicked()
{
    createPublicationFromForm1(publicationInputs(), m_list->pages(), *m_dialogs, *m_effects);
}

} // namespace lumvrex
