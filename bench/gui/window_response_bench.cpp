// How the simulation window answers while it runs, driven through its own
// messages as the buttons send them:
//   cavity  - a 1024 x 512 lid-driven cavity (multigrid, automatic dt,
//             every element on, Output Size 4): for some seconds a timer
//             due every 50 ms stands for a click, and its lateness is how
//             long a click waits; then a Stop, timed from when it was due
//             until its handler has returned.
//   cavity-open - the same cavity's window opened: from the start of its
//             making until it is shown and a click (a timer due at once)
//             has been answered, and until its first picture is drawn.
//   channel - the channel example (Grids/channel.grid) with a frame every
//             cycle: cycles per second the window takes, from its step line.
// Uses only the window's messages and widgets, so the same file measures an
// older build beside this one. Needs an X display: run it under xvfb-run.
#include "gui/calculate_window.h"
#include "io/grid_file.h"
#include "support/scenario_grids.h"

#include <fx.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class TimedWindow : public CalculateWindow {
    FXDECLARE(TimedWindow)
protected:
    TimedWindow() {}

public:
    enum { ID_CLICK = CalculateWindow::ID_LAST, ID_TIMED_STOP, ID_ANSWER, ID_LAST };

    TimedWindow(FXWindow* owner, const Grid* grid, const SolverSettings& settings)
        : CalculateWindow(owner, grid, settings)
    {
    }
    void checkAll()
    {
        for (FXCheckButton* button :
             {showBoundaryCells, showStreamlines, showUField, showVField, showPressure, showVectors})
            button->setCheck(TRUE);
        handle(this, FXSEL(SEL_COMMAND, ID_RENDER), nullptr);
    }
    void interval(int n) { intervalSpinner->setValue(n); }
    long long shownStep() const
    {
        long long step = -1;
        std::sscanf(timeLabel->getText().text(), "Step %lld", &step);
        return step;
    }
    // A timer due every 50 ms; each records how late it fired.
    void startClicks()
    {
        due = Clock::now() + std::chrono::milliseconds(clickMs);
        getApp()->addTimeout(this, ID_CLICK, clickMs);
    }
    long onClick(FXObject*, FXSelector, void*)
    {
        lateness.push_back(std::max(0.0, -std::chrono::duration<double>(due - Clock::now()).count()));
        due = Clock::now() + std::chrono::milliseconds(clickMs);
        getApp()->addTimeout(this, ID_CLICK, clickMs);
        return 1;
    }
    // Stop sent by a timer: its time from due to done.
    void stopIn(int ms)
    {
        stopDue = Clock::now() + std::chrono::milliseconds(ms);
        getApp()->addTimeout(this, ID_TIMED_STOP, ms);
    }
    long onTimedStop(FXObject*, FXSelector, void*)
    {
        getApp()->removeTimeout(this, ID_CLICK);
        handle(this, FXSEL(SEL_COMMAND, ID_STOP), nullptr);
        stopSeconds = std::chrono::duration<double>(Clock::now() - stopDue).count();
        return 1;
    }

    // A click due now: answered when the event loop gets to it.
    void clickNow()
    {
        getApp()->addTimeout(this, ID_ANSWER, 0);
    }
    long onAnswer(FXObject*, FXSelector, void*)
    {
        answered = true;
        return 1;
    }
    bool pictureShown() const { return shownFrame.width > 0; }

    static constexpr int clickMs = 50;
    bool answered = false;
    Clock::time_point due, stopDue;
    std::vector<double> lateness;
    double stopSeconds = -1.0;
};

FXDEFMAP(TimedWindow) TimedWindowMap[] = {
    FXMAPFUNC(SEL_TIMEOUT, TimedWindow::ID_CLICK, TimedWindow::onClick),
    FXMAPFUNC(SEL_TIMEOUT, TimedWindow::ID_TIMED_STOP, TimedWindow::onTimedStop),
    FXMAPFUNC(SEL_TIMEOUT, TimedWindow::ID_ANSWER, TimedWindow::onAnswer),
};
FXIMPLEMENT(TimedWindow, CalculateWindow, TimedWindowMap, ARRAYNUMBER(TimedWindowMap))

void runFor(FXApp& app, double seconds, const std::function<bool()>& done = nullptr)
{
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds && !(done && done())) {
        app.addTimeout(nullptr, 0, 10);  // wakes the loop when nothing else does
        app.runOneEvent(true);
    }
}

void cavity(FXApp& app, FXMainWindow* owner, double seconds)
{
    Grid grid;
    makeCavityScenario(grid, 1024, 512);
    SolverSettings settings;
    settings.automaticDt = true;
    settings.pressure = PressureSolver::Multigrid;
    const Clock::time_point opening = Clock::now();
    auto window = std::make_unique<TimedWindow>(owner, &grid, settings);
    window->create();
    window->show(PLACEMENT_SCREEN);
    window->checkAll();
    runFor(app, 0.5);
    std::printf("cavity 1024x512: window open in %.2f s\n", secondsSince(opening));
    window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_START), nullptr);
    window->startClicks();
    window->stopIn(static_cast<int>(seconds * 1000));
    const Clock::time_point started = Clock::now();
    runFor(app, seconds + 60.0, [&] { return window->stopSeconds >= 0.0; });
    const std::vector<double>& late = window->lateness;
    const double worst = late.empty() ? -1.0 : *std::max_element(late.begin(), late.end());
    double sum = 0.0;
    for (double value : late)
        sum += value;
    std::printf("cavity 1024x512: %zu clicks in %.1f s, lateness mean %.3f s, worst %.3f s; step %lld reached\n",
                late.size(), secondsSince(started), late.empty() ? 0.0 : sum / late.size(), worst,
                window->shownStep());
    std::printf("cavity 1024x512: Stop acted %.3f s after it was due\n", window->stopSeconds);
    if (const char* shot = std::getenv("KELVO_RESPONSE_SHOT")) {
        runFor(app, 0.5);
        if (std::system((std::string("import -window root ") + shot).c_str()) != 0)
            std::printf("no screenshot\n");
    }
    const Clock::time_point closing = Clock::now();
    window.reset();
    std::printf("cavity 1024x512: window closed in %.3f s\n", secondsSince(closing));
}

// Opening the cavity's window as the editor does, every element checked
// at once: shown and answering a click, then its first picture.
void cavityOpen(FXApp& app, FXMainWindow* owner)
{
    Grid grid;
    makeCavityScenario(grid, 1024, 512);
    SolverSettings settings;
    settings.automaticDt = true;
    settings.pressure = PressureSolver::Multigrid;
    const Clock::time_point opening = Clock::now();
    auto window = std::make_unique<TimedWindow>(owner, &grid, settings);
    const double made = secondsSince(opening);
    window->create();
    window->show(PLACEMENT_SCREEN);
    window->checkAll();
    window->clickNow();
    runFor(app, 60.0, [&] { return window->answered; });
    const double answering = secondsSince(opening);
    runFor(app, 60.0, [&] { return window->pictureShown() && window->shownStep() == 0; });
    std::printf("cavity 1024x512: window made in %.2f s, shown and answering a click after %.2f s, "
                "first picture after %.2f s\n",
                made, answering, secondsSince(opening));
    if (const char* shot = std::getenv("KELVO_RESPONSE_SHOT")) {
        runFor(app, 0.5);
        if (std::system((std::string("import -window root ") + shot).c_str()) != 0)
            std::printf("no screenshot\n");
    }
}

// Closing the running cavity's window: from the close until the window and
// its worker are gone, a step under way being given up.
void cavityClose(FXApp& app, FXMainWindow* owner, double seconds)
{
    Grid grid;
    makeCavityScenario(grid, 1024, 512);
    SolverSettings settings;
    settings.automaticDt = true;
    auto window = std::make_unique<TimedWindow>(owner, &grid, settings);
    window->create();
    window->show(PLACEMENT_SCREEN);
    window->checkAll();
    runFor(app, 0.5);
    window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_START), nullptr);
    runFor(app, seconds);
    const Clock::time_point closing = Clock::now();
    window.reset();
    std::printf("cavity 1024x512: running window closed in %.3f s\n", secondsSince(closing));
}

void channel(FXApp& app, FXMainWindow* owner, const char* gridFile, double seconds)
{
    Grid grid;
    GridFileSettings raw;
    if (readGridFile(gridFile, grid, raw) != GridFileStatus::Ok) {
        std::printf("cannot read %s\n", gridFile);
        return;
    }
    const GridFileSettings file = editorSettings(raw);
    writeDefaultVelocities(grid, file.defaultU, file.defaultV);
    SolverSettings settings;
    settings.reynolds = file.reynolds;
    auto window = std::make_unique<TimedWindow>(owner, &grid, settings);
    window->create();
    window->show(PLACEMENT_SCREEN);
    window->interval(1);
    runFor(app, 0.5);
    window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_START), nullptr);
    runFor(app, 1.0);  // warm up
    const long long first = window->shownStep();
    const Clock::time_point start = Clock::now();
    runFor(app, seconds);
    const long long last = window->shownStep();
    const double elapsed = secondsSince(start);
    std::printf("channel %dx%d, a frame every cycle: %.1f cycles/s (%lld cycles in %.1f s)\n", grid.NX, grid.NY,
                (last - first) / elapsed, last - first, elapsed);
    window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_STOP), nullptr);
    runFor(app, 0.5);
}

}  // namespace

int main(int argc, char** argv)
{
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    app.init(argc, argv);
    FXMainWindow* owner = new FXMainWindow(&app, "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 400, 300);
    app.create();
    owner->show(PLACEMENT_SCREEN);
    const std::string what = argc > 1 ? argv[1] : "";
    const double seconds = argc > 3 ? std::atof(argv[3]) : 10.0;
    if (what == "cavity")
        cavity(app, owner, seconds);
    else if (what == "cavity-open")
        cavityOpen(app, owner);
    else if (what == "cavity-close")
        cavityClose(app, owner, seconds);
    else if (what == "channel" && argc > 2)
        channel(app, owner, argv[2], seconds);
    else
        std::printf("usage: bench_window_response cavity|cavity-open|cavity-close - [SECONDS] | channel GRIDFILE [SECONDS]\n");
    return 0;
}
