#pragma once

class QWidget;

namespace lumvrex {

// Asks the window system to leave an unshown top-level window out of the
// task bar. Qt::Tool gives a tool-window frame, which keeps it out on
// Windows; X11 window managers need _NET_WM_STATE_SKIP_TASKBAR as well.
void leaveOutOfTaskbar(QWidget *window);

} // namespace lumvrex
