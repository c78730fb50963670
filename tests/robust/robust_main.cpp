// One toolkit application for every robustness test: an owner window for
// the simulation windows, and bounded ways of running the event loop.
#include "avi_messages.h"
#include "robust_support.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <csignal>

namespace {
FXApp* application = nullptr;
FXMainWindow* owner = nullptr;
}  // namespace

FXApp* testApp()
{
    return application;
}

FXMainWindow* testOwner()
{
    return owner;
}

// Events, chores and updates for the given time.
void settle(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
        application->runOneEvent(false);
}

// Events, chores and updates until done() holds or the time is up.
bool runUntil(const std::function<bool()>& done, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        application->runOneEvent(false);
    }
    return true;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // A file-size limit makes writes fail instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    app.init(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    FXMainWindow* main = new FXMainWindow(&app, "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 800, 600);
    app.create();
    main->show(PLACEMENT_SCREEN);
    setAviMessageHook(recordAviMessage);
    application = &app;
    owner = main;
    return RUN_ALL_TESTS();
}
