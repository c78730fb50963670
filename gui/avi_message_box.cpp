#include "gui/avi_message_box.h"

#include <fx.h>

// Falls back to nothing when no application exists to show it.
void showAviMessageBox(const char* caption, const char* text)
{
    FXApp* app = FXApp::instance();
    if (app)
        FXMessageBox::error(app, MBOX_OK, caption, "%s", text);
}
