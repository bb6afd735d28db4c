#include "window/qt/page_list_note.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace lumvrex {
namespace {

constexpr int kShownMilliseconds = 4000;

// Orca says a notification whenever one becomes visible, wherever the focus
// is, and files it among its notifications.
class NoteAccessible final : public QAccessibleWidget
{
public:
    explicit NoteAccessible(QWidget *note)
        : QAccessibleWidget(note, QAccessible::Notification)
    { }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const QLabel *>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *accessibleNote(const QString &className, QObject *object)
{
    if (className == QLatin1String(PageListNote::staticMetaObject.className()) && object->isWidgetType())
        return new NoteAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

PageListNote::PageListNote(QWidget *owner)
    : QLabel(owner, Qt::ToolTip)
    , m_owner(owner)
{
    QAccessible::installFactory(accessibleNote);
    setObjectName(QStringLiteral("PageListNote"));
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setMargin(2);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kShownMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void PageListNote::setNote(const QString &text)
{
    hide();
    m_timer.stop();
    if (text.isEmpty())
        return;
    setText(text);
    adjustSize();
    move(m_owner->mapToGlobal(QPoint(0, m_owner->height())));
    QLabel::show();
    m_timer.start();
    // Qt tells nothing of a tooltip-like window's showing.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace lumvrex
