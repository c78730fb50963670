// One toolkit application and one owner window for every window test.
#include "window_test.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    startTestApplication(app, argc, argv);
    return RUN_ALL_TESTS();
}
