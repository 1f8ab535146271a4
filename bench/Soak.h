#pragma once

// A thousand runs of 1 / 7 each stopped after its first digits, a thousand runs started inside the
// yield of the run that Esc stops, and a hundred About windows, all in the real main window. Prints
// the open file descriptors and the resident set after a warm-up and after the rounds.
int soak();
