#pragma once

class QWidget;

// Asks the window manager to leave `window` out of the task bar, where the window system lets a
// normal window ask that: on X11 through the EWMH state _NET_WM_STATE_SKIP_TASKBAR, set before the
// window is first shown, unless the window manager would then leave it out of Alt+Tab too
// (Openbox, Metacity, xfwm4). Wayland has no such request, and elsewhere only tool windows stay
// out of the task bar; there this does nothing. On X11 `window` also asks for the focus whenever
// it is shown and whenever a modal window closes.
void keepOutOfTaskBar(QWidget *window);
