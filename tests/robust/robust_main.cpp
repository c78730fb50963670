// One toolkit application for every robustness test, with writes that fail
// instead of killing the process (the windows record their AVI messages).
#include "robust_support.h"
#include "window_test.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // A file-size limit makes writes fail instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    startTestApplication(app, argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
