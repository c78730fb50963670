// The simulation window with its dialogs answered by the test: the AVI file
// name and the compressor are handed in, and the AVI messages and a failed
// frame's message are recorded instead of shown. Shared by every test that
// drives the real window.
#pragma once

#include "gui/calculate_window.h"
#include "window_test.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class ProbedWindow : public CalculateWindow {
public:
    ProbedWindow(FXWindow* owner, const Grid* grid, double reynolds, double timeStep)
        : CalculateWindow(owner, grid, reynolds, timeStep)
    {
    }
    ProbedWindow(FXWindow* owner, const Grid* grid, const SolverSettings& settings)
        : CalculateWindow(owner, grid, settings)
    {
    }

    using CalculateWindow::timeLabel;
    using CalculateWindow::solverLabel;
    using CalculateWindow::heightLabel;
    using CalculateWindow::intervalSpinner;
    using CalculateWindow::pauseButton;
    using CalculateWindow::paused;
    using CalculateWindow::pixelsPerCell;
    using CalculateWindow::pendingCycle;
    using CalculateWindow::run;
    using CalculateWindow::saveAvi;
    using CalculateWindow::saveMethod;
    using CalculateWindow::saveNone;
    using CalculateWindow::savePpm;
    using CalculateWindow::saveVtk;
    using CalculateWindow::showBoundaryCells;
    using CalculateWindow::showPressure;
    using CalculateWindow::showStreamlines;
    using CalculateWindow::showUField;
    using CalculateWindow::showVectors;
    using CalculateWindow::showBodiesAsCells;
    using CalculateWindow::checkedElements;
    using CalculateWindow::showVField;
    using CalculateWindow::sizeSpinner;
    using CalculateWindow::savePictureButton;
    using CalculateWindow::startButton;
    using CalculateWindow::stepButton;
    using CalculateWindow::stopButton;
    using CalculateWindow::widthLabel;
    using CalculateWindow::outputs;
    using CalculateWindow::viewList;
    using CalculateWindow::lockRange;
    using CalculateWindow::rangeMin;
    using CalculateWindow::rangeMax;
    using CalculateWindow::measureButton;
    using CalculateWindow::measureWindow;
    using CalculateWindow::measureLog;
    using CalculateWindow::canvasLayout;
    using CalculateWindow::navigation;
    using CalculateWindow::canvasPicture;
    using CalculateWindow::chartHistory;
    using CalculateWindow::glCanvas;
    using CalculateWindow::drawCanvas;
    using CalculateWindow::renderFrame;
    using CalculateWindow::shownFrame;
    using CalculateWindow::screenWindow;
    using CalculateWindow::worker;
    using CalculateWindow::probeCount;
    using CalculateWindow::paintTool;
    using CalculateWindow::emitterTool;
    using CalculateWindow::showParticles;
    using CalculateWindow::placedEmitters;
    using CalculateWindow::dyeChoice;
    using CalculateWindow::preparing;

    // A mouse event of the given type at canvas pixel (x, y), as the canvas
    // passes it on.
    void canvasEvent(FXSelector type, int x, int y)
    {
        FXEvent event;
        event.type = type;
        event.code = LEFTBUTTON;
        event.state = type == SEL_MOTION ? LEFTBUTTONMASK : 0;
        event.win_x = x;
        event.win_y = y;
        glCanvas->handle(glCanvas, FXSEL(type, 0), &event);
    }

    FXString aviAnswer;                  // what the file dialog returns
    int aviQuestions = 0;                // how often it was asked
    std::vector<std::string> failures;   // files named in failure messages
    bool compressorAnswer = true;        // what the compressor dialog returns
    int compressorQuestions = 0;         // how often it was asked
    std::vector<std::pair<std::string, std::string>> aviMessages;  // (caption, text) as shown
    bool closeAnswer = false;            // the answer to "Stop it and close the window?"
    int closeQuestions = 0;              // how often it was asked
    FXString pictureAnswer;              // what the Save Picture dialog returns
    std::vector<std::string> pictureFailures;  // files named in picture failure messages

    FXString chooseAviFileName() override
    {
        ++aviQuestions;
        return aviAnswer;
    }
    void showFrameWriteFailure(const FXString& path) override { failures.push_back(path.text()); }
    std::vector<std::string> instabilities;  // blow-up messages as shown
    void showInstability(const FXString& text) override { instabilities.push_back(text.text()); }
    FXString choosePictureFileName() override { return pictureAnswer; }
    bool askCloseRunning() override
    {
        ++closeQuestions;
        return closeAnswer;
    }
    void showPictureWriteFailure(const FXString& path) override { pictureFailures.push_back(path.text()); }
    // Full frames, or a cancel.
    bool chooseCompression(CompressOptions& options) override
    {
        ++compressorQuestions;
        options = CompressOptions();
        return compressorAnswer;
    }
    void showAviMessage(const char* caption, const char* text) override { aviMessages.emplace_back(caption, text); }

    // The window's picture and AVI output.
    const FrameImage& picture() const { return outputs.picture(); }
    const AviOutput::State& avi() { return outputs.avi().state(); }
    PpmFrameOutput& ppm() { return outputs.ppm(); }

    // The canvas as drawCanvas draws it, read back: RGB rows from the
    // bottom up.
    std::vector<uint8_t> canvasPixels() { return readCanvas([this] { drawCanvas(); }); }
    // The shown picture alone, where the view puts it, read back.
    std::vector<uint8_t> pictureOnlyPixels()
    {
        return readCanvas([this] { canvasPicture.draw(shownFrame, navigation.view); });
    }
    std::vector<uint8_t> readCanvas(const std::function<void()>& draw)
    {
        const int width = glCanvas->getWidth();
        const int height = glCanvas->getHeight();
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
        if (!glCanvas->makeCurrent())
            return {};
        draw();
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glCanvas->makeNonCurrent();
        return pixels;
    }

    // A command to the window itself, as its buttons send it.
    void send(FXSelector id) { handle(this, FXSEL(SEL_COMMAND, id), nullptr); }
    // A click on a save-method radio button: the radio checks itself and
    // reports to the data target, then the update pass a click starts runs.
    void choose(FXRadioButton* radio, double settleSeconds = 0.2)
    {
        radio->setCheck(TRUE);
        radio->getTarget()->handle(radio, FXSEL(SEL_COMMAND, radio->getSelector()), (void*)(FXuval)1);
        testApp()->refresh();
        settle(settleSeconds);
    }
    // The counts as the window last took them from the worker.
    int32_t cycles() const { return report.cycles; }
    // Runs events until the worker is parked and the window has taken all
    // it reported; false when that took longer than seconds.
    bool waitParked(double seconds = 20.0)
    {
        return runUntil([&] { return worker->parked() && worker->allCollected(); }, seconds);
    }
    // Runs events until the window has taken the build step's report.
    bool waitPrepared(double seconds = 20.0)
    {
        return runUntil([&] { return !preparing; }, seconds);
    }
    // N, T and D of the line "Step N   Time T   dt D" above the picture;
    // N is -1 when the line has another form.
    struct RunLine {
        long long step = -1;
        double time = 0.0, dt = 0.0;
    };
    RunLine shownLine() const
    {
        RunLine line;
        if (std::sscanf(timeLabel->getText().text(), "Step %lld   Time %lf   dt %lf", &line.step, &line.time,
                        &line.dt) != 3)
            line.step = -1;
        return line;
    }
    long long shownStep() const { return shownLine().step; }
    int32_t frames() const { return report.frames; }
};
