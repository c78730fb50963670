// What the robustness tests share: the simulation window with its dialogs
// answered by the test, the process's memory, checks of the files a run
// writes, and a small disk that fills up.
#pragma once

#include "gui/calculate_window.h"
#include "probed_window.h"
#include "window_test.h"
#include "core/grid.h"

#include <fx.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>


// The probed window with the steps the robustness runs repeat.
class RobustWindow : public ProbedWindow {
public:
    RobustWindow(FXWindow* owner, const Grid* grid, double reynolds, double timeStep)
        : ProbedWindow(owner, grid, reynolds, timeStep)
    {
    }
    RobustWindow(FXWindow* owner, const Grid* grid, const SolverSettings& settings)
        : ProbedWindow(owner, grid, settings)
    {
    }

    // A click on a save-method radio button, with a short settle.
    void choose(FXRadioButton* radio) { ProbedWindow::choose(radio, 0.05); }
    // Every rendering check button set to on.
    void checkAllElements(bool on);
    // The Output Size spinner changed by the user.
    void changeOutputSize(int size);
    // Start, then cycles until count more have run; false on timeout.
    bool runCycles(int32_t count, double seconds);
    // Whether the window reaches its Idle state with nothing scheduled
    // within a few seconds: a stop or a blow-up leaves the reset to the
    // worker, and Start comes back once it is done.
    bool isIdle();
};

// Resident set size of this process in KiB.
long residentKiB();
// Whether resident memory says anything about leaks: not under
// AddressSanitizer, whose quarantine holds freed blocks back (LeakSanitizer
// checks that build instead).
bool residentMemoryIsMeaningful();

// Whether path is a plain PPM of a width x height picture: the header
// "P3\n(w-1) (h-1)\n255\n" and one line of three samples 0..255 per pixel.
// why tells what is wrong.
bool isWellFormedPpm(const std::string& path, int width, int height, std::string& why);

// Video frames that ffprobe decodes in the AVI file; -1 when it cannot read
// the file. probeText gets ffprobe's whole answer.
int aviVideoFrames(const std::string& path, std::string& probeText);

// A fresh working directory for one test, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string previous;
};

// A directory whose file system holds about kib KiB: a tmpfs of that size
// when mounting works, otherwise a plain directory under a file-size limit
// (fileKib, or kib when not given) for the whole process while the object
// lives.
class SmallDisk {
public:
    SmallDisk(const std::string& path, long kib, long fileKib = 0);
    ~SmallDisk();
    bool mounted() const { return isMounted; }
    // Fills the remaining room, so the next write fails: a filler file on
    // the tmpfs, a file-size limit of zero otherwise.
    void fill();
    // Lifts the file-size limit (the tmpfs keeps its size).
    void lift();

private:
    void setLimit(unsigned long long bytes);

    std::string dir;
    bool isMounted = false;
    bool limited = false;
    unsigned long long oldLimit = 0;
};

class TestEditor;

// A fresh editor that has loaded the grid file through its Load command,
// with the given "Delta Time" text; null when the load was refused.
TestEditor* editorWithGrid(const std::string& file, const char* deltaTime);
// Calculate It on the editor: the Reynolds number and time step it hands
// over, read from its page as the real command reads them.
bool calculateArguments(TestEditor& editor, double& reynolds, double& timeStep);

// Where the example grids are.
std::string exampleGrid(const char* name);
