#pragma once

// The search for a result's period: how long it takes alone and in the window, the memory it
// takes, and whether the window's digits keep their pace while it works beside them.
int period();
