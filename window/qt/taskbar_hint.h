#pragma once

class QByteArray;
class QWidget;

namespace lumvrex {

// Asks the window system to leave an unshown top-level window out of the
// task bar where that keeps it in the Alt+Tab switcher: on X11 only under
// KWin, which has a hint of its own for the switcher. Openbox, xfwm4 and
// Mutter leave windows that skip the task bar out of Alt+Tab too, and a
// keyboard user could not come back to the window there.
void leaveOutOfTaskbar(QWidget *window);

// The running X11 window manager's name ("Openbox", "KWin"), or empty.
QByteArray windowManagerName();

} // namespace lumvrex
