// The toolkit application and owner window of the window tests, and their
// bounded event loops.
#include "window_test.h"

#include <chrono>

namespace {
FXApp* application = nullptr;
FXMainWindow* owner = nullptr;
}  // namespace

FXApp& startTestApplication(FXApp& app, int& argc, char** argv)
{
    app.init(argc, argv);
    FXMainWindow* main = new FXMainWindow(&app, "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 800, 600);
    app.create();
    main->show(PLACEMENT_SCREEN);
    application = &app;
    owner = main;
    return app;
}

FXApp* testApp()
{
    return application;
}

FXMainWindow* testOwner()
{
    return owner;
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

// Whatever is waiting, for at most the given time.
void settle(double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
        application->runOneEvent(false);
}
