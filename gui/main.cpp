// The editor program: the toolkit application and the main window.
#include "gui/editor_layout.h"
#include "gui/grid_editor_window.h"
#include "gui/toolkit_translator.h"
#include "gui/ui_text.h"

#include <X11/Xlib.h>

#include <clocale>
#include <cstdio>
#include <cstring>

// Whether the display the toolkit would use can be opened; tried first so
// that a missing display gets one plain line instead of the toolkit's error.
static bool displayAvailable(int argc, char** argv)
{
    const char* name = nullptr;
    for (int k = 1; k + 1 < argc; ++k)
        if (std::strcmp(argv[k], "-display") == 0)
            name = argv[k + 1];
    Display* display = XOpenDisplay(name);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

// Start-up: application, main window, the file named on the command line
// if any, event loop until Quit.
int main(int argc, char** argv)
{
    if (!displayAvailable(argc, argv)) {
        std::fprintf(stderr, "%s\n", EditorTexts::noDisplay);
        return 1;
    }
    FXApp app(uiText(TXT_APP_NAME), uiText(TXT_APP_NAME));
    app.init(argc, argv);
    installToolkitTranslator(&app);
    // The toolkit takes the user's locale; numbers keep the point as their
    // separator, in the fields, in "Cell Info" and in every file written.
    std::setlocale(LC_NUMERIC, "C");
    GridEditorWindow* editor = new GridEditorWindow(&app);
    app.create();
    // init has taken the toolkit's own options out; what is left is the
    // file to open, as a file manager or the desktop entry passes it.
    if (argc > 1)
        editor->openFile(argv[1]);
    return app.run();
}
