// One toolkit application for every test of the editor's windows.
#include "test_editor.h"

#include <gtest/gtest.h>

namespace {
FXApp* application = nullptr;
}

FXApp* testApp()
{
    return application;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    app.init(argc, argv);
    app.create();
    application = &app;
    return RUN_ALL_TESTS();
}
