// The editor's icons, built from GIF images compiled into the program.
#pragma once

#include <fx.h>

// Light grey, the transparent colour of every icon.
constexpr FXColor ICON_TRANSPARENT = FXRGB(192, 192, 192);

// The 16 x 16 icons of the main window. The owner deletes them.
struct IconSet {
    FXIcon* application = nullptr;
    FXIcon* newGrid = nullptr;    // a blank page
    FXIcon* loadGrid = nullptr;   // an open folder
    FXIcon* saveGrid = nullptr;   // a floppy disk
    FXIcon* calculate = nullptr;  // a red exclamation mark
    FXIcon* about = nullptr;      // a yellow question mark
    FXIcon* undo = nullptr;       // a blue arrow turning back to the left
    FXIcon* redo = nullptr;       // the same, turning to the right

    // Builds them all.
    void build(FXApp* app);
    // Deletes them all.
    void release();
};

// A new application icon, for windows that carry their own copy.
FXIcon* makeApplicationIcon(FXApp* app);

// A new copy of the about box picture, 296 x 273.
FXIcon* makeAboutPicture(FXApp* app);
