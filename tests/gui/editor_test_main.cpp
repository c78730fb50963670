// One toolkit application for every test of the editor's windows.
#include "gui/toolkit_translator.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {
FXApp* application = nullptr;
}

// The application every test's windows belong to.
FXApp* testApp()
{
    return application;
}

// One application, created before the first test and kept to the last.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    app.init(argc, argv);
    // The toolkit's own texts in the program's language, as the program has them.
    installToolkitTranslator(&app);
    std::setlocale(LC_NUMERIC, "C");
    app.create();
    application = &app;
    return RUN_ALL_TESTS();
}
