#pragma once

// The program's last step once its event loop has ended: the status for main() to return. Under
// Wayland, Qt 6.4 may wait for ever in the teardown of its connection to the compositor, for
// events that never come, and a program that was told to quit would go on without a window; there
// the program ends at once, its own work being done.
int endProgram(int status);
