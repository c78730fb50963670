#include "gui/simulation_worker.h"

#include "gui/measure_window.h"

SimulationWorker::SimulationWorker(FXApp* app, FXObject* target, FXSelector selector, SimulationRun& run,
                                   FrameOutputs& outputs, ScreenComposer& screen, std::unique_ptr<MeasureLog>& log,
                                   ChartHistory& chart)
    : signal(app, target, selector), simulation(run), outputs(outputs), screen(screen), log(log), chart(chart)
{
    simulation.watchStopRequest(&stopRequest);
    outputs.watchStopRequest(&stopRequest);
    screen.watchStopRequest(&stopRequest);
    start();
    handle = static_cast<pthread_t>(id());
}

// The step under way ends at its next sweep; a frame file being written is
// finished first, so none is left half-written. The toolkit's thread
// forgets its id when run() returns, after which its join() neither waits
// nor frees the thread: the end is awaited here, under the mutex, and the
// thread joined by the handle kept at the start.
SimulationWorker::~SimulationWorker()
{
    {
        FXMutexLock lock(mutex);
        quitting = true;
        stopRequest = true;
        wake.signal();
        while (!finished)
            ended.wait(mutex);
    }
    pthread_join(handle, nullptr);
    simulation.watchStopRequest(nullptr);
    outputs.watchStopRequest(nullptr);
    screen.watchStopRequest(nullptr);
}

void SimulationWorker::setSettings(const CycleSettings& settings)
{
    FXMutexLock lock(mutex);
    wanted = settings;
}

void SimulationWorker::go()
{
    FXMutexLock lock(mutex);
    if (mode == Mode::Stopping)
        return;
    mode = Mode::Running;
    wake.signal();
}

void SimulationWorker::pause()
{
    FXMutexLock lock(mutex);
    stepsWanted = 0;
    if (mode == Mode::Running || mode == Mode::Stepping)
        mode = Mode::Pausing;
}

void SimulationWorker::stepOnce()
{
    FXMutexLock lock(mutex);
    if (mode == Mode::Parked) {
        mode = Mode::Stepping;
        wake.signal();
    } else if (mode == Mode::Pausing || mode == Mode::Stepping || mode == Mode::Painting) {
        ++stepsWanted;
    }
}

void SimulationWorker::stop()
{
    FXMutexLock lock(mutex);
    stepsWanted = 0;
    mode = Mode::Stopping;
    stopRequest = true;
    jobs.clear();
    wake.signal();
}

void SimulationWorker::paint(const std::vector<CellPaint>& cells)
{
    FXMutexLock lock(mutex);
    paintsWanted.insert(paintsWanted.end(), cells.begin(), cells.end());
    if (mode == Mode::Parked) {
        mode = Mode::Painting;
        wake.signal();
    }
}

bool SimulationWorker::parked()
{
    FXMutexLock lock(mutex);
    return mode == Mode::Parked;
}

void SimulationWorker::atHandOver(const std::function<void()>& job)
{
    FXMutexLock lock(mutex);
    if (mode == Mode::Parked)
        job();
    else
        jobs.push_back(job);
}

bool SimulationWorker::collect(Report& report, ScreenFrame& shown)
{
    FXMutexLock lock(mutex);
    report = latest;
    collectedSerial = latest.serial;
    screenWanted = true;
    if (!frameFresh)
        return false;
    std::swap(shown, latestFrame);
    frameFresh = false;
    return true;
}

bool SimulationWorker::allCollected()
{
    FXMutexLock lock(mutex);
    return !frameFresh && collectedSerial == latest.serial;
}

void SimulationWorker::runJobs()
{
    for (const std::function<void()>& job : jobs)
        job();
    jobs.clear();
}

// Waits while parked; otherwise takes the orders and the settings at the
// hand-over point, then works without the mutex.
FXint SimulationWorker::run()
{
    for (;;) {
        CycleSettings settings;
        Mode order;
        std::vector<CellPaint> paints;
        {
            FXMutexLock lock(mutex);
            while (mode == Mode::Parked && !quitting)
                wake.wait(mutex);
            if (quitting) {
                finished = true;
                ended.signal();
                return 0;
            }
            runJobs();
            settings = wanted;
            order = mode;
            paints.swap(paintsWanted);
            if (order == Mode::Stopping && !quitting)
                stopRequest = false;  // the reset's own build step must run
        }
        applyPaints(paints);
        switch (order) {
        case Mode::Stopping:
            reset(settings);
            break;
        case Mode::Painting:
        case Mode::Pausing:
            composeScreen(settings);
            break;
        default:
            cycle(settings);
            break;
        }
        signal.signal();
    }
}

void SimulationWorker::applyPaints(const std::vector<CellPaint>& cells)
{
    if (cells.empty())
        return;
    simulation.repaint(cells);
    FXMutexLock lock(mutex);
    if (log)
        log->restart(simulation.state());
}

void SimulationWorker::cycle(const CycleSettings& settings)
{
    FrameSaveResult saved;
    const bool frameCycle = simulation.isFrameCycle(settings.interval);
    bool composed = false;
    simulation.cycle(settings.interval, [&](int32_t index) {
        if (stopRequested(&stopRequest))
            return true;  // a stop is coming: no frame from a step given up
        saved = outputs.frame(simulation.state(), simulation.simulatedTime(), settings.elements, settings.saving,
                              index, nullptr, &simulation.particles().particles());
        bool wantedNow;
        {
            FXMutexLock lock(mutex);
            wantedNow = screenWanted;
        }
        if (wantedNow) {
            screen.compose(simulation.state(), simulation.editedGrid().NX, simulation.editedGrid().NY,
                           settings.screenPixelsPerCell, settings.elements, composing, settings.screenShrink,
                           &simulation.particles().particles());
            composed = true;
        }
        return saved.ok;
    });
    FXMutexLock lock(mutex);
    if (mode == Mode::Stopping || quitting)
        return;  // the step may have been given up: nothing of it is shown
    if (composed) {
        std::swap(composing, latestFrame);
        frameFresh = true;
        screenWanted = false;
    }
    if (settings.measuring)
        measureStep(frameCycle);
    fillReport(frameCycle, saved, false);
    settleAfterCycle(simulation.unstable() || !saved.ok);
}

void SimulationWorker::settleAfterCycle(bool failed)
{
    if (failed) {
        mode = Mode::Parked;
        stepsWanted = 0;
    } else if (mode == Mode::Stepping) {
        mode = !paintsWanted.empty() ? Mode::Painting
               : stepsWanted > 0     ? (--stepsWanted, Mode::Stepping)
                                     : Mode::Parked;
    }
}

// A blown-up step is not measured: its numbers are not finite.
void SimulationWorker::measureStep(bool frameCycle)
{
    if (!log || simulation.unstable())
        return;
    const StepReport& report = simulation.lastStepReport();
    log->record(simulation.state(), simulation.cycles(), simulation.simulatedTime(), report.dt,
                report.sweeps + report.cycles);
    if (frameCycle)
        chart.append(simulation.simulatedTime(), MeasureWindow::chartRow(*log));
}

void SimulationWorker::fillReport(bool frameCycle, const FrameSaveResult& saved, bool afterStop)
{
    latest.cycles = simulation.cycles();
    latest.frames = simulation.frames();
    latest.time = simulation.simulatedTime();
    latest.dt = simulation.lastStepReport().dt;
    latest.unstable = simulation.unstable();
    latest.unstableCycle = simulation.unstableCycle();
    latest.saved = saved;
    latest.frameCycle = frameCycle;
    latest.afterStop = afterStop;
    ++latest.serial;
}

void SimulationWorker::composeScreen(const CycleSettings& settings)
{
    screen.compose(simulation.state(), simulation.editedGrid().NX, simulation.editedGrid().NY,
                   settings.screenPixelsPerCell, settings.elements, composing, settings.screenShrink,
                           &simulation.particles().particles());
    FXMutexLock lock(mutex);
    if (stopRequested(&stopRequest))
        return;
    std::swap(composing, latestFrame);
    frameFresh = true;
    screenWanted = false;
    // Parked in the same breath as the frame is handed over, so that the
    // window never takes the frame of a pause and finds the worker busy.
    if (mode == Mode::Pausing || mode == Mode::Painting)
        mode = !paintsWanted.empty() ? Mode::Painting
               : stepsWanted > 0     ? (--stepsWanted, Mode::Stepping)
                                     : Mode::Parked;
}

// The picture shown stays the last one finished: the state the stop found
// may be a step given up half way.
void SimulationWorker::reset(const CycleSettings& settings)
{
    outputs.closeAvi();
    outputs.release();
    outputs.allocate(simulation.editedGrid().NX, simulation.editedGrid().NY, settings.pixelsPerCell,
                     settings.elements.colourMap.quantity != ColourQuantity::None);
    if (stopRequested(&stopRequest))
        return;  // the window closes: no solver to build
    simulation.rebuild();
    simulation.step();
    simulation.resetCounters();
    FXMutexLock lock(mutex);
    if (stopRequested(&stopRequest))
        return;  // another stop came, or the window closes: the reset starts again or ends
    chart.clear();
    if (log)
        log->restart(simulation.state());
    fillReport(false, FrameSaveResult(), true);
    if (mode == Mode::Stopping)
        mode = Mode::Parked;
}
