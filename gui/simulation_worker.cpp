#include "gui/simulation_worker.h"

#include "gui/measure_window.h"
#include "platform/picture_file.h"
#include "render/colour_bar.h"

#include <algorithm>

SimulationWorker::SimulationWorker(FXApp* app, FXObject* target, FXSelector selector, const Grid& grid,
                                   const SolverSettings& settings, FrameOutputs& outputs, ScreenComposer& screen,
                                   std::unique_ptr<MeasureLog>& log, ChartHistory& chart)
    : signal(std::make_unique<FXGUISignal>(app, target, selector)), solverSettings(settings), outputs(outputs),
      screen(screen), log(log), chart(chart)
{
    copyGridArrays(grid, editedGrid);
    outputs.watchStopRequest(&stopRequest);
    screen.watchStopRequest(&stopRequest);
    start();
    handle = static_cast<pthread_t>(id());
}

// The toolkit's thread forgets its id when run() returns, after which its
// join() neither waits nor frees the thread: the end is awaited here, under
// the mutex, and the thread joined by the handle kept at the start.
SimulationWorker::~SimulationWorker()
{
    quit();
    {
        FXMutexLock lock(mutex);
        while (!finished)
            released.wait(mutex);
    }
    pthread_join(handle, nullptr);
}

// A frame file being written is finished first, so none is left
// half-written, and a screen frame being drawn gives up at its next
// streamline; the step under way gives up at its next sweep, but nothing
// waits for that. The signal goes now, on the event thread, where it was
// made: the worker reports nothing more.
bool SimulationWorker::quit()
{
    FXMutexLock lock(mutex);
    if (!quitting) {
        quitting = true;
        stopRequest = true;
        wake.signal();
        while (holdingWindowParts)
            released.wait(mutex);
        signal.reset();
        outputs.watchStopRequest(nullptr);
        screen.watchStopRequest(nullptr);
    }
    return finished;
}

bool SimulationWorker::ended()
{
    FXMutexLock lock(mutex);
    return finished;
}

bool SimulationWorker::takeWindowParts()
{
    FXMutexLock lock(mutex);
    if (quitting)
        return false;
    holdingWindowParts = true;
    return true;
}

void SimulationWorker::releaseWindowParts()
{
    FXMutexLock lock(mutex);
    holdingWindowParts = false;
    released.broadcast();
}

void SimulationWorker::tellWindow()
{
    FXMutexLock lock(mutex);
    if (!quitting)
        signal->signal();
}

// The run of a closed window is freed here, on the worker's thread, rather
// than on the event thread.
void SimulationWorker::endRun()
{
    simulation.reset();
    FXMutexLock lock(mutex);
    finished = true;
    released.broadcast();
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
    } else if (mode == Mode::Pausing || mode == Mode::Stepping || mode == Mode::Painting ||
               mode == Mode::Picturing) {
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

void SimulationWorker::paintDye(const std::vector<DyePaint>& cells)
{
    FXMutexLock lock(mutex);
    dyeWanted.insert(dyeWanted.end(), cells.begin(), cells.end());
    if (mode == Mode::Parked) {
        mode = Mode::Painting;
        wake.signal();
    }
}

void SimulationWorker::savePicture(const std::string& path)
{
    FXMutexLock lock(mutex);
    if (!isParked())
        return;
    pictureWanted = path;
    mode = Mode::Picturing;
    wake.signal();
}

bool SimulationWorker::parked()
{
    FXMutexLock lock(mutex);
    return isParked();
}

void SimulationWorker::atHandOver(const std::function<void(SimulationRun&)>& job)
{
    FXMutexLock lock(mutex);
    if (isParked())
        job(*simulation);
    else
        jobs.push_back(job);
}

SimulationRun* SimulationWorker::builtRun()
{
    FXMutexLock lock(mutex);
    return building ? nullptr : simulation.get();
}

void SimulationWorker::park()
{
    runJobs();
    mode = Mode::Parked;
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
    for (const std::function<void(SimulationRun&)>& job : jobs)
        job(*simulation);
    jobs.clear();
}

// Waits while parked; otherwise takes the orders and the settings at the
// hand-over point, then works without the mutex.
FXint SimulationWorker::run()
{
    build();
    for (;;) {
        CycleSettings settings;
        Mode order;
        std::vector<CellPaint> paints;
        std::vector<DyePaint> dye;
        std::string picturePath;
        {
            FXMutexLock lock(mutex);
            while (mode == Mode::Parked && !quitting)
                wake.wait(mutex);
            if (quitting)
                break;
            runJobs();
            settings = wanted;
            order = mode;
            paints.swap(paintsWanted);
            dye.swap(dyeWanted);
            picturePath.swap(pictureWanted);
            if (order == Mode::Stopping && !quitting)
                stopRequest = false;  // the reset's own build step must run
        }
        applyPaints(paints, dye);
        switch (order) {
        case Mode::Stopping:
            reset(settings);
            break;
        case Mode::Painting:
        case Mode::Pausing:
            composeScreen(settings);
            break;
        case Mode::Picturing:
            writePicture(settings, picturePath);
            break;
        default:
            cycle(settings);
            break;
        }
        tellWindow();
    }
    endRun();
    return 0;
}

// The cells first, so that no dye goes into a wall painted over it. New
// cells mean the log's bodies are found again; dye changes nothing the log
// holds.
void SimulationWorker::applyPaints(const std::vector<CellPaint>& cells, const std::vector<DyePaint>& dye)
{
    if (!cells.empty()) {
        simulation->repaint(cells);
        FXMutexLock lock(mutex);
        if (log && !quitting)
            log->restart(simulation->state());
    }
    simulation->paintDye(dye);
}

// The run reads the worker's copy of the grid, which outlives it. The
// settings are read after the step:
// the canvas has usually been laid out, and elements and the output size
// chosen, while it ran. The window closing during the step leaves it
// unfinished, and nothing of it is shown.
void SimulationWorker::build()
{
    {
        FXMutexLock lock(mutex);
        if (quitting)
            return;  // closed before the run was made: nothing to build
    }
    simulation = std::make_unique<SimulationRun>(editedGrid, solverSettings);
    simulation->watchStopRequest(&stopRequest);
    simulation->step();
    CycleSettings settings;
    {
        FXMutexLock lock(mutex);
        settings = wanted;
    }
    if (!stopRequested(&stopRequest) && takeWindowParts()) {
        outputs.allocate(simulation->editedGrid().NX, simulation->editedGrid().NY, settings.pixelsPerCell,
                         settings.elements.colourMap.quantity != ColourQuantity::None);
        composeShown(settings);
        releaseWindowParts();
    }
    {
        FXMutexLock lock(mutex);
        building = false;
        if (stopRequested(&stopRequest))
            return;
        std::swap(composing, latestFrame);
        frameFresh = true;
        screenWanted = false;
        fillReport(false, FrameSaveResult(), false);
        latest.afterBuild = true;
        latest.renderSerial = settings.renderSerial;
        runJobs();
    }
    tellWindow();
}

void SimulationWorker::cycle(const CycleSettings& settings)
{
    FrameSaveResult saved;
    const bool frameCycle = simulation->isFrameCycle(settings.interval);
    bool composed = false;
    simulation->cycle(settings.interval, [&](int32_t index) {
        if (stopRequested(&stopRequest) || !takeWindowParts())
            return true;  // a stop is coming: no frame from a step given up
        saved = outputs.frame(simulation->state(), simulation->simulatedTime(), settings.elements, settings.saving,
                              index, nullptr, &simulation->particles().particles());
        bool wantedNow;
        {
            FXMutexLock lock(mutex);
            wantedNow = screenWanted;
        }
        if (wantedNow) {
            composeShown(settings);
            composed = true;
        }
        releaseWindowParts();
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
    settleAfterCycle(simulation->unstable() || !saved.ok);
}

void SimulationWorker::settleAfterCycle(bool failed)
{
    if (failed) {
        stepsWanted = 0;
        park();
    } else if (mode == Mode::Stepping) {
        settleAfterFrame();
    }
}

void SimulationWorker::settleAfterFrame()
{
    if (paintsWaiting()) {
        mode = Mode::Painting;
    } else if (stepsWanted > 0) {
        --stepsWanted;
        mode = Mode::Stepping;
    } else {
        park();
    }
}

// A blown-up step is not measured: its numbers are not finite.
void SimulationWorker::measureStep(bool frameCycle)
{
    if (!log || simulation->unstable())
        return;
    const StepReport& report = simulation->lastStepReport();
    log->record(simulation->state(), simulation->cycles(), simulation->simulatedTime(), report.dt,
                report.sweeps + report.cycles);
    if (frameCycle)
        chart.append(simulation->simulatedTime(), MeasureWindow::chartRow(*log));
}

void SimulationWorker::fillReport(bool frameCycle, const FrameSaveResult& saved, bool afterStop)
{
    latest.cycles = simulation->cycles();
    latest.frames = simulation->frames();
    latest.time = simulation->simulatedTime();
    latest.dt = simulation->lastStepReport().dt;
    latest.unstable = simulation->unstable();
    latest.unstableCycle = simulation->unstableCycle();
    latest.saved = saved;
    latest.frameCycle = frameCycle;
    latest.afterStop = afterStop;
    latest.afterBuild = false;
    ++latest.serial;
}

void SimulationWorker::composeShown(const CycleSettings& settings)
{
    screen.compose(simulation->state(), simulation->editedGrid().NX, simulation->editedGrid().NY,
                   settings.screenPixelsPerCell, settings.elements, composing, settings.screenShrink,
                   &simulation->particles().particles(), settings.screenWindow);
}

void SimulationWorker::composeScreen(const CycleSettings& settings)
{
    if (!takeWindowParts())
        return;
    composeShown(settings);
    releaseWindowParts();
    FXMutexLock lock(mutex);
    if (stopRequested(&stopRequest))
        return;
    std::swap(composing, latestFrame);
    frameFresh = true;
    screenWanted = false;
    // Parked in the same breath as the frame is handed over, so that the
    // window never takes the frame of a pause and finds the worker busy.
    if (mode == Mode::Pausing || mode == Mode::Painting)
        settleAfterFrame();
}

namespace {

// The picture as bytes: each plane value truncated toward zero as in the
// PPM frames, then held to 0..255, which a PNG sample can hold.
PictureBytes pictureBytes(const FrameImage& picture)
{
    PictureBytes bytes;
    bytes.width = picture.width();
    bytes.height = picture.height();
    bytes.rgb.reserve(3 * static_cast<size_t>(bytes.width) * bytes.height);
    const auto byteOf = [](int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
    for (int row = 0; row < bytes.height; ++row)
        for (int column = 0; column < bytes.width; ++column) {
            bytes.rgb.push_back(byteOf(picture.pixelRed(column, row)));
            bytes.rgb.push_back(byteOf(picture.pixelGreen(column, row)));
            bytes.rgb.push_back(byteOf(picture.pixelBlue(column, row)));
        }
    return bytes;
}

}  // namespace

// The frame files' picture, drawn now (the cycles draw it only for the
// files), the colour bar below it so that the colours can be read off the
// file alone.
void SimulationWorker::writePicture(const CycleSettings& settings, const std::string& path)
{
    bool written = false;
    if (takeWindowParts()) {
        const RenderElements& elements = settings.elements;
        outputs.compose(simulation->state(), elements,
                        elements.particles ? &simulation->particles().particles() : nullptr);
        const ColourQuantity quantity = elements.colourMap.quantity;
        FrameImage barred;
        if (quantity != ColourQuantity::None)
            pictureWithColourBar(outputs.picture(), quantity, outputs.colourRange(), barred);
        written = writePngFile(path, pictureBytes(quantity != ColourQuantity::None ? barred : outputs.picture()));
        releaseWindowParts();
    }
    FXMutexLock lock(mutex);
    ++latest.pictures;
    latest.pictureWritten = written;
    latest.picturePath = path;
    latest.afterStop = latest.afterBuild = false;
    ++latest.serial;
    if (mode == Mode::Picturing)
        settleAfterFrame();  // steps and paints ordered meanwhile go on
}

// The picture shown stays the last one finished: the state the stop found
// may be a step given up half way.
void SimulationWorker::reset(const CycleSettings& settings)
{
    if (!takeWindowParts())
        return;
    outputs.closeAvi();
    outputs.release();
    outputs.allocate(simulation->editedGrid().NX, simulation->editedGrid().NY, settings.pixelsPerCell,
                     settings.elements.colourMap.quantity != ColourQuantity::None);
    releaseWindowParts();
    if (stopRequested(&stopRequest))
        return;  // the window closes: no solver to build
    simulation->rebuild();
    simulation->step();
    simulation->resetCounters();
    FXMutexLock lock(mutex);
    if (stopRequested(&stopRequest))
        return;  // another stop came, or the window closes: the reset starts again or ends
    chart.clear();
    if (log)
        log->restart(simulation->state());
    fillReport(false, FrameSaveResult(), true);
    if (mode == Mode::Stopping)
        park();
}
