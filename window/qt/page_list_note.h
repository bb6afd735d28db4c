#pragma once

#include <QLabel>
#include <QTimer>

namespace lumvrex {

// A brief note beside the page list, in a tooltip's frame, that a screen
// reader says once as it appears (as a notification) and that goes after a
// few seconds or when hidden. Qt's own tooltip tells a screen reader
// nothing when it appears, and a description would be read on every later
// visit to the list.
class PageListNote final : public QLabel
{
    Q_OBJECT
public:
    explicit PageListNote(QWidget *owner);

    // Shows text below the bottom left corner of owner; empty hides it.
    void setNote(const QString &text);

private:
    QWidget *m_owner;
    QTimer m_timer;
};

} // namespace lumvrex
