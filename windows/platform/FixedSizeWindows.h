#pragma once

// Under Wayland, keeps every window of the program out of the minimised state, and every window
// whose least and greatest sizes are the same in the normal state; elsewhere it does nothing. There
// Qt 6.4 draws the title bars itself, with minimise and maximise boxes whatever the window's flags.
// A compositor such as Weston maximises on that box or on a key even a window that cannot grow;
// such a window keeps its size, which breaks the protocol, and the compositor ends the program's
// connection: the program ends. A minimised window has no way back in the protocol, and a modal
// one (About, Save As, the prompt) would stay hidden with the main window blocked behind it: a
// minimised window is shown again at once, on a new surface that the compositor may place
// elsewhere.
void keepFixedSizeWindowsNormal();
