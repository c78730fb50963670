// The AVI messages in the toolkit's error box, for the windowed program.
#pragma once

// An error box without an owner window: the caption, the text, OK.
void showAviMessageBox(const char* caption, const char* text);
