#include "gui/icon_set.h"

#include "editor_icons.h"

#include <initializer_list>

// One GIF icon with light grey transparent. Every GIF marks its grey as the
// transparent index, so the icon takes its mask from the image's alpha; a
// forced alpha colour would compare against opaque grey and match nothing.
static FXIcon* gifIcon(FXApp* app, const unsigned char* pixels)
{
    return new FXGIFIcon(app, pixels, ICON_TRANSPARENT, 0);
}

// Builds them all.
void IconSet::build(FXApp* app)
{
    application = gifIcon(app, app_gif);
    newGrid = gifIcon(app, new_gif);
    loadGrid = gifIcon(app, load_gif);
    saveGrid = gifIcon(app, save_gif);
    calculate = gifIcon(app, calculate_gif);
    about = gifIcon(app, about_gif);
    undo = gifIcon(app, undo_gif);
    redo = gifIcon(app, redo_gif);
}

// Deletes them all.
void IconSet::release()
{
    for (FXIcon** icon : {&application, &newGrid, &loadGrid, &saveGrid, &calculate, &about, &undo, &redo}) {
        delete *icon;
        *icon = nullptr;
    }
}

// A new application icon.
FXIcon* makeApplicationIcon(FXApp* app)
{
    return gifIcon(app, app_gif);
}

// A new copy of the about picture.
FXIcon* makeAboutPicture(FXApp* app)
{
    return gifIcon(app, about_picture_gif);
}
