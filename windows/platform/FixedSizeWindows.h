#pragma once

// Under Wayland, keeps every window whose least and greatest sizes are the same out of the
// maximised and full-screen states; elsewhere it does nothing. There Qt 6.4 draws the title bars
// itself, with a maximise box whatever the window's flags, and a compositor such as Weston
// maximises on that box or on a key even a window that cannot grow. Such a window keeps its size,
// which breaks the protocol, and the compositor ends the program's connection: the program ends.
void keepFixedSizeWindowsNormal();
