// The zoom keys of both windows: Ctrl with "+" (typed with or without
// Shift, or "=" on the same key, or the keypad's plus) zooms in, Ctrl with
// "-" or the keypad's minus zooms out, Ctrl+0 fits, Ctrl+1 shows 1:1.
#pragma once

#include <fx.h>

// Sends SEL_COMMAND with zoomIn, zoomIn + 1 (out), zoomIn + 2 (fit) and
// zoomIn + 3 (1:1) to target; nothing without a table.
void addZoomKeys(FXAccelTable* keys, FXObject* target, FXSelector zoomIn);
