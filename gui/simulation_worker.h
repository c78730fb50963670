// SimulationWorker: the thread on which a simulation window's cycles run,
// so that the window answers at once on any grid. The window and the worker
// meet at one point, a mailbox under one mutex: the window puts in orders
// (run, pause, step, stop), what each cycle draws and saves, cells and dye
// painted into the flow, and jobs to be done between two steps; the worker
// puts back a report of the run and the latest finished screen frame, and
// wakes the window through an FXGUISignal.
//
// The first thing the worker does is to make the run (the solver, a
// fraction of a second on a large grid), take the build step, the one step
// a run takes before its first cycle (on a large grid it takes seconds),
// allocate the frame outputs' picture and draw the screen frame of the
// result; the window shows nothing until that is reported
// (Report::afterBuild), and only then learns where the run is.
//
// The worker owns the run and frees it as the thread ends. Who may touch
// the run, its frame outputs and the screen composer: the worker while it
// builds, and from the order that starts it (run, step, stop, save a
// picture) until it reports itself parked again; the window while it is parked. Orders given
// while it builds are taken after the build; of them only a stop's reset
// uses the frame outputs, so they are the window's from the build's report
// until it orders a stop or a cycle. The measure log and the chart points
// are written by the worker only with the mutex held, and read by the
// windows with it held, at any time.
#pragma once

#include "core/stop_request.h"
#include "gui/chart_history.h"
#include "render/screen_frame.h"
#include "sim/frame_outputs.h"
#include "sim/frame_saving.h"
#include "sim/measure_log.h"
#include "sim/simulation_run.h"

#include <fx.h>

#include <pthread.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class SimulationWorker : public FXThread {
public:
    // What every cycle does; read afresh before each one.
    struct CycleSettings {
        int interval = 1;           // a frame every n cycles
        RenderElements elements;    // drawn on screen and in the frame files
        FrameSaving saving;
        int screenPixelsPerCell = 1;
        double screenShrink = 1.0;  // picture pixels per canvas pixel
        ScreenWindow screenWindow;  // the part shown of a grid larger than the canvas
        bool measuring = false;     // record every step in the measure log
        int pixelsPerCell = 1;      // of the frame files, for the picture a stop makes anew
        long long renderSerial = 0; // the window's count of its redraws, handed back with the build's frame
    };
    // The run as the last cycle or stop left it.
    struct Report {
        int32_t cycles = 0;
        int32_t frames = 0;
        double time = 0.0;
        double dt = 0.0;
        bool unstable = false;
        int32_t unstableCycle = -1;
        FrameSaveResult saved;      // of the last frame cycle
        bool frameCycle = false;    // the last cycle was one
        bool afterStop = false;     // the last thing done was a stop's reset
        bool afterBuild = false;    // the last thing done was the build step
        long long renderSerial = 0; // of the settings the build's frame was drawn with
        long long serial = 0;       // counts the reports
        long long pictures = 0;     // counts the pictures savePicture was asked for
        bool pictureWritten = true; // the last of them
        std::string picturePath;
    };

    // The objects worked on belong to the window; once it has quit, the
    // worker touches none of them. The window is told of every report by
    // selector, SEL_IO_READ. The thread starts at once: it makes the run
    // from a copy of grid, taken here, and settings, then takes the build
    // step.
    SimulationWorker(FXApp* app, FXObject* target, FXSelector selector, const Grid& grid,
                     const SolverSettings& settings, FrameOutputs& outputs, ScreenComposer& screen,
                     std::unique_ptr<MeasureLog>& log, ChartHistory& chart);
    // Ends the thread: quits when the window has not, then waits for the
    // step under way to be given up.
    ~SimulationWorker() override;
    SimulationWorker(const SimulationWorker&) = delete;
    SimulationWorker& operator=(const SimulationWorker&) = delete;

    // The orders, each taken at once; none waits for the worker.
    void setSettings(const CycleSettings& settings);
    void go();        // cycles until pause or stop
    void pause();     // no cycle after the one under way; the state then drawn
    void stepOnce();  // one cycle more, then parked
    // The step under way given up, then the run started again: the AVI file
    // completed, the picture made anew (numbering from 0), the solver rebuilt
    // from the grid and stepped once, the counters and the log restarted.
    void stop();
    // Cells painted into the flow: taken before the next step, or at once
    // when parked (the worker then draws the state again and parks).
    void paint(const std::vector<CellPaint>& cells);
    // Dye painted into the flow, taken at the same point and in the same
    // way, after the cells painted with it.
    void paintDye(const std::vector<DyePaint>& cells);
    // The picture at Output Size of the parked run's state, with the colour
    // bar below it when a colour map is shown, written as a PNG file at path
    // on the worker; Report::pictures then counts it. Ignored unless parked.
    void savePicture(const std::string& path);
    // Whether the worker is parked: the build step done, no cycle under way
    // and none ordered.
    bool parked();
    // Runs job now when parked, else between two steps, before the next, or
    // as the worker parks (the first time after the build step); either way
    // with the mutex held and the run the job's to use.
    void atHandOver(const std::function<void(SimulationRun&)>& job);
    // The run, once the build step has been reported; null before. The
    // window may use it while the worker is parked.
    SimulationRun* builtRun();
    // The latest report; with a screen frame newer than the one in shown,
    // swaps it in and returns true.
    bool collect(Report& report, ScreenFrame& shown);
    // Whether the window has collected every report and frame made so far.
    bool allCollected();
    // The mutex over the mailbox, the log and the chart (recursive).
    FXMutex& sharedLock() { return mutex; }
    // The window closes, without waiting for the step under way: from now on
    // the worker touches nothing of the window's but the run, reports
    // nothing and takes no orders. Waits only while a frame is being drawn
    // or written. Returns whether the thread has ended; if not, the worker
    // frees the run once the step is given up, and the window must keep
    // this until ended() (gui/ending_workers.h).
    bool quit();
    // Whether the thread has ended: it may then be destroyed at once.
    bool ended();

protected:
    FXint run() override;

private:
    enum class Mode { Parked, Running, Pausing, Stepping, Stopping, Painting, Picturing };

    // One cycle as the run loop takes it; false when it was given up.
    void cycle(const CycleSettings& settings);
    // The run made, the build step, the frame outputs' picture and the
    // screen frame of the result, then reported.
    void build();
    // Whether the worker is parked (mutex held).
    bool isParked() const { return mode == Mode::Parked && !building; }
    // Parked, the jobs that came while it worked done first (mutex held).
    void park();
    // The mode after a pause's or a painting's screen frame, a saved
    // picture, or a step: painting again while paints wait, else the steps
    // wanted, else parked (mutex held).
    void settleAfterFrame();
    bool paintsWaiting() const { return !paintsWanted.empty() || !dyeWanted.empty(); }
    // savePicture's work, then parked.
    void writePicture(const CycleSettings& settings, const std::string& path);
    // A stop's reset, then parked.
    void reset(const CycleSettings& settings);
    // The screen frame of the current state into the mailbox; a pause or a
    // painting parks with it.
    void composeScreen(const CycleSettings& settings);
    // The screen frame of the current state as settings ask, into composing
    // (the window's parts held).
    void composeShown(const CycleSettings& settings);
    // After a step: recorded, and on a frame cycle charted (mutex held).
    void measureStep(bool frameCycle);
    // Whether the worker may use the frame outputs and the screen composer
    // now, outside the mutex: not once the window is closing. While it
    // does, a closing window waits; release when done.
    bool takeWindowParts();
    void releaseWindowParts();
    // The window woken for a report, unless it is closing.
    void tellWindow();
    // The end of the thread: the run freed, then ended.
    void endRun();
    // The run's counters into the mailbox's report (mutex held).
    void fillReport(bool frameCycle, const FrameSaveResult& saved, bool afterStop);
    // The mode after a cycle, with the mutex held.
    void settleAfterCycle(bool failed);
    void runJobs();
    // The painted cells into the run, the log's bodies found again.
    void applyPaints(const std::vector<CellPaint>& cells, const std::vector<DyePaint>& dye);

    pthread_t handle{};           // the thread, joined by its own handle
    FXMutex mutex{TRUE};
    FXCondition wake;
    FXCondition released;                    // the thread's end, or the window's parts let go
    std::unique_ptr<FXGUISignal> signal;     // made and deleted on the event thread
    StopRequest stopRequest{false};

    // The mailbox, under mutex.
    Mode mode = Mode::Parked;
    bool quitting = false;
    bool finished = false;        // run() has returned its last access to this
    bool building = true;         // the build step is not yet reported
    bool holdingWindowParts = false;  // the outputs or the screen composer in use
    int stepsWanted = 0;
    CycleSettings wanted;
    std::vector<std::function<void(SimulationRun&)>> jobs;
    std::vector<CellPaint> paintsWanted;
    std::vector<DyePaint> dyeWanted;
    std::string pictureWanted;    // the PNG file's path
    Report latest;
    ScreenFrame latestFrame;
    bool frameFresh = false;      // latestFrame not yet collected
    long long collectedSerial = 0;
    bool screenWanted = true;     // the window has taken the last frame

    // What the run is made from, read by the build step only: the editor
    // may change its grid as soon as the window has closed, which may come
    // before the build step is done.
    Grid editedGrid;
    const SolverSettings solverSettings;
    // Made by the build step; the worker's while it works, the window's
    // while parked.
    std::unique_ptr<SimulationRun> simulation;
    FrameOutputs& outputs;
    ScreenComposer& screen;
    std::unique_ptr<MeasureLog>& log;
    ChartHistory& chart;
    ScreenFrame composing;         // the frame being drawn
};
