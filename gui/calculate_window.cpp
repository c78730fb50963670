#include "gui/calculate_window.h"

#include "core/flow_check.h"
#include "core/inflow_emitters.h"
#include "gui/avi_message_box.h"
#include "gui/calculate_layout.h"
#include "gui/close_running_dialog.h"
#include "gui/compressor_dialog.h"
#include "gui/ending_workers.h"
#include "gui/file_names.h"
#include "gui/icon_set.h"
#include "gui/picture_point.h"
#include "gui/probe_marks.h"
#include "gui/window_growth.h"
#include "gui/window_placement.h"
#include "gui/zoom_keys.h"
#include "gui/ui_text.h"
#include "platform/picture_file.h"
#include "render/colour_bar.h"

#include <fxkeys.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>


namespace {
// Fixed texts of the window: not in the text tables.
constexpr const char* stopText = "Sto&p";
constexpr const char* aviDialogTitle = "Save Avi file As..";
constexpr int aviDialogWidth = 500;
constexpr int aviDialogHeight = 300;
constexpr const char* frameFailureCaption = "Cannot Write Frame";
constexpr const char* frameFailureText = "The frame file\n%s\ncould not be written; the run has been stopped.";
constexpr const char* pictureDialogTitle = "Save Picture As";
constexpr const char* picturePatterns = "PNG Pictures (*.png)\nAll Files (*)";
constexpr const char* pictureFailureCaption = "Cannot Write Picture";
constexpr const char* pictureFailureText = "The picture file\n%s\ncould not be written.";

// Frame and group styles of the window.
constexpr FXuint fixedPosition = LAYOUT_FIX_X | LAYOUT_FIX_Y;
constexpr FXuint groupStyle = GROUPBOX_TITLE_LEFT | FRAME_GROOVE | fixedPosition;
constexpr FXuint spinnerStyle = SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FIX_WIDTH;
constexpr int spinnerColumns = 4;

// The compressor dialog and the AVI messages wait for the user, so they get
// the normal cursor back while they are up, and the wait cursor again once
// the user has answered.
class WaitCursorLifted {
public:
    explicit WaitCursorLifted(bool waiting) : waiting(waiting)
    {
        if (waiting)
            FXApp::instance()->endWaitCursor();
    }
    ~WaitCursorLifted()
    {
        if (waiting)
            FXApp::instance()->beginWaitCursor();
    }
    WaitCursorLifted(const WaitCursorLifted&) = delete;
    WaitCursorLifted& operator=(const WaitCursorLifted&) = delete;

private:
    bool waiting;
};

// The scheme's name as the editor's Convection list shows it.
const char* schemeText(Convection scheme)
{
    switch (scheme) {
    case Convection::RungeKutta:
        return uiText(TXT_METHOD_RK3);
    case Convection::UpwindBlended:
        return uiText(TXT_CONVECTION_BLENDED);
    case Convection::Central:
    case Convection::Designed:
        break;
    }
    return uiText(TXT_CONVECTION_CENTRAL);
}

// The pressure solver's name as the editor's Pressure solver list shows it.
const char* solverText(PressureSolver solver)
{
    return uiText(solver == PressureSolver::Multigrid ? TXT_PRESSURE_MULTIGRID : TXT_PRESSURE_GAUSS_SEIDEL);
}

}  // namespace

// clang-format off
FXDEFMAP(CalculateWindow) CalculateWindowMap[] = {
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_START,       CalculateWindow::onCmdStart),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_STOP,        CalculateWindow::onCmdStop),
    FXMAPFUNC(SEL_IO_READ,   CalculateWindow::ID_WORKER,      CalculateWindow::onWorkerReport),
    FXMAPFUNC(SEL_PAINT,     CalculateWindow::ID_CANVAS,      CalculateWindow::onCanvasPaint),
    FXMAPFUNC(SEL_CONFIGURE, CalculateWindow::ID_CANVAS,      CalculateWindow::onCanvasConfigure),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_RENDER,      CalculateWindow::renderFrame),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_OUTPUT_SIZE, CalculateWindow::onCmdOutputSize),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_VIEW,        CalculateWindow::onCmdView),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_LOCK_RANGE,  CalculateWindow::onCmdLockRange),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_PAUSE,       CalculateWindow::onCmdPause),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_STEP,        CalculateWindow::onCmdStep),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_SAVE_PICTURE, CalculateWindow::onCmdSavePicture),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_MEASURE,     CalculateWindow::onCmdMeasure),
    FXMAPFUNC(SEL_MIDDLEBUTTONPRESS, CalculateWindow::ID_CANVAS, CalculateWindow::onCanvasMiddlePress),
    FXMAPFUNC(SEL_MIDDLEBUTTONRELEASE, CalculateWindow::ID_CANVAS, CalculateWindow::onCanvasMiddleRelease),
    FXMAPFUNC(SEL_MOTION,    CalculateWindow::ID_CANVAS,      CalculateWindow::onCanvasMotion),
    FXMAPFUNC(SEL_TIMEOUT,   CalculateWindow::ID_FOLLOW_DRAG, CalculateWindow::onFollowDrag),
    FXMAPFUNC(SEL_MOUSEWHEEL, CalculateWindow::ID_CANVAS,     CalculateWindow::onCanvasWheel),
    FXMAPFUNCS(SEL_COMMAND,  CalculateWindow::ID_ZOOM_IN, CalculateWindow::ID_ZOOM_ONE, CalculateWindow::onCmdZoom),
    FXMAPFUNC(SEL_LEFTBUTTONPRESS, CalculateWindow::ID_CANVAS, CalculateWindow::onCanvasLeftPress),
    FXMAPFUNC(SEL_LEFTBUTTONRELEASE, CalculateWindow::ID_CANVAS, CalculateWindow::onCanvasLeftRelease),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_EMITTER_TOOL, CalculateWindow::onCmdEmitterTool),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_PAINT_TOOL, CalculateWindow::onCmdPaintTool),
    FXMAPFUNC(SEL_COMMAND,   CalculateWindow::ID_RELEASE_INFLOW, CalculateWindow::onCmdReleaseInflow),
    FXMAPFUNC(SEL_CHANGED,   CalculateWindow::ID_PROBES_CHANGED, CalculateWindow::onProbesChanged),
    FXMAPFUNC(SEL_COMMAND,   FXDialogBox::ID_CANCEL,          CalculateWindow::onCmdCancel),
    FXMAPFUNC(SEL_CLOSE,     0,                               CalculateWindow::onCmdCancel),
};
// clang-format on

FXIMPLEMENT(CalculateWindow, FXDialogBox, CalculateWindowMap, ARRAYNUMBER(CalculateWindowMap))

CalculateWindow::CalculateWindow(FXWindow* owner, const Grid* grid, double reynolds, double timeStep)
    : CalculateWindow(owner, grid, SolverSettings{reynolds, timeStep, Convection::Central, false})
{
}

// The widgets, the solver one step past the grid, the picture all zero.
CalculateWindow::CalculateWindow(FXWindow* owner, const Grid* grid, const SolverSettings& settings)
    : FXDialogBox(owner, uiText(TXT_CALCULATE_FLOW),
                  DECOR_TITLE | DECOR_MENU | DECOR_CLOSE | DECOR_BORDER | DECOR_MAXIMIZE | DECOR_STRETCHABLE,
                  CalculateLayout::windowX, CalculateLayout::windowY, CalculateLayout::windowWidth,
                  CalculateLayout::windowHeight, CalculateLayout::padLeft, CalculateLayout::padRight,
                  CalculateLayout::padTop, CalculateLayout::padBottom, CalculateLayout::hSpacing,
                  CalculateLayout::vSpacing),
      saveTarget(saveMethod),
      paintTarget(paintTool, this, ID_PAINT_TOOL),
      grid(grid)
{
    freeEndedWorkers();
    windowIcon = makeApplicationIcon(getApp());
    setIcon(windowIcon);
    setMiniIcon(windowIcon);

    buildCanvasAndButtons();
    buildRenderGroup();
    buildSaveGroup();
    buildIntervalGroup();
    buildSizeGroup();
    buildViewGroup();
    buildPaintGroup();
    buildParticleControls();

    solverLabel->setText(FXStringFormat("%s\n%s", schemeText(settings.convection), solverText(settings.pressure)));
    if (!SimulationRun::carriesDye(settings))
        dyeChoice->disable();
    showFrameSize();
    timeLabel->setText(uiText(TXT_PREPARING));
    // The solver and the picture are made by the worker: on a large grid
    // they take a good part of a second, and the window answers meanwhile.
    worker = std::make_unique<SimulationWorker>(getApp(), this, ID_WORKER, *grid, settings, outputs, screenComposer,
                                                measureLog, chartHistory);
    orderSettings();

    toolTip = new FXToolTip(getApp());
    if (getApp()->isInitialized() && getApp()->getRootWindow()->id())
        toolTip->create();
    // Space pauses and resumes from anywhere in the window.
    if (getAccelTable())
        getAccelTable()->addAccel(MKUINT(KEY_space, 0), this, FXSEL(SEL_COMMAND, ID_PAUSE));
    addZoomKeys(getAccelTable(), this, ID_ZOOM_IN);
    enterIdleControls();
    startButton->disable();  // until the run is prepared
}

// The worker lets go of the window's parts at once, or after the frame it
// is drawing or writing; the step under way is left to it, and so is the
// run, which it frees once the step is given up. Then the Measurements
// window, image, AVI file, pending cycle; then the canvas before its visual.
CalculateWindow::~CalculateWindow()
{
    const bool ended = worker->quit();
    run = nullptr;  // the worker's, freed as its thread ends
    delete measureWindow;  // it reads the log and the chart points, under the worker's mutex
    if (ended)
        worker.reset();
    else
        keepUntilEnded(std::move(worker));
    outputs.release();
    outputs.closeAvi();
    freeEndedWorkers();
    cancelCycle();
    getApp()->removeTimeout(this, ID_FOLLOW_DRAG);
    delete toolTip;
    delete glCanvas;
    delete glVisual;
    delete windowIcon;
}

// Canvas frame, visual, canvas, cycle label, Start and Stop.
void CalculateWindow::buildCanvasAndButtons()
{
    using namespace CalculateLayout;
    canvasFrame = new FXVerticalFrame(this, FRAME_GROOVE | fixedPosition | LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                                      canvasFrameX, canvasFrameY, canvasFrameWidth, canvasFrameHeight,
                                      framePad, framePad, framePad, framePad, framePad, framePad);
    glVisual = new FXGLVisual(getApp(), VISUAL_DOUBLEBUFFER);
    glCanvas = new FXGLCanvas(canvasFrame, glVisual, this, ID_CANVAS, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    timeLabel = new FXLabel(this, FXString::null, nullptr, JUSTIFY_LEFT | fixedPosition | LAYOUT_FIX_WIDTH,
                            timeLabelX, timeLabelY, timeLabelWidth, 0, labelPad, labelPad, cycleLabelPadY,
                            cycleLabelPadY);
    const FXuint buttonStyle = BUTTON_NORMAL | FRAME_RAISED | FRAME_THICK | fixedPosition;
    startButton = new FXButton(this, uiText(TXT_START), nullptr, this, ID_START, buttonStyle, startX, buttonsY,
                               0, 0, buttonPadX, buttonPadX, buttonPadY, buttonPadY);
    stopButton = new FXButton(this, stopText, nullptr, this, ID_STOP, buttonStyle, stopX, buttonsY, 0, 0,
                              buttonPadX, buttonPadX, buttonPadY, buttonPadY);
    pauseButton = new FXButton(this, uiText(TXT_PAUSE), nullptr, this, ID_PAUSE, buttonStyle, pauseX, pauseRowY,
                               0, 0, buttonPadX, buttonPadX, buttonPadY, buttonPadY);
    stepButton = new FXButton(this, uiText(TXT_STEP), nullptr, this, ID_STEP, buttonStyle, stepX, pauseRowY, 0, 0,
                              buttonPadX, buttonPadX, buttonPadY, buttonPadY);
    savePictureButton = new FXButton(this, uiText(TXT_SAVE_PICTURE), nullptr, this, ID_SAVE_PICTURE, buttonStyle,
                                     savePictureX, savePictureY, 0, 0, buttonPadX, buttonPadX, buttonPadY,
                                     buttonPadY);
    measureButton = new FXButton(this, uiText(TXT_MEASURE), nullptr, this, ID_MEASURE, buttonStyle, measureX,
                                 measureY, 0, 0, buttonPadX, buttonPadX, buttonPadY, buttonPadY);
}

// "Rendered Elements": Boundary Cells and Streamlines start checked.
void CalculateWindow::buildRenderGroup()
{
    using namespace CalculateLayout;
    renderGroup = new FXGroupBox(this, uiText(TXT_RENDERED_ELEMENTS), groupStyle, renderGroupX, renderGroupY,
                                 0, 0, framePad, framePad, framePad, framePad, framePad, framePad);
    renderButtons = new FXVerticalFrame(renderGroup, LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT, 0, 0,
                                        renderButtonsWidth, renderButtonsHeight, framePad, framePad, framePad,
                                        framePad, framePad, framePad);
    showBoundaryCells = new FXCheckButton(renderButtons, uiText(TXT_BOUNDARY_CELLS), this, ID_RENDER);
    showStreamlines = new FXCheckButton(renderButtons, uiText(TXT_STREAMLINES), this, ID_RENDER);
    showUField = new FXCheckButton(renderButtons, uiText(TXT_X_VELOCITY_FIELD), this, ID_RENDER);
    showVField = new FXCheckButton(renderButtons, uiText(TXT_Y_VELOCITY_FIELD), this, ID_RENDER);
    showPressure = new FXCheckButton(renderButtons, uiText(TXT_PRESSURE_FIELD), this, ID_RENDER);
    showVectors = new FXCheckButton(renderButtons, uiText(TXT_VELOCITY_VECTORS), this, ID_RENDER);
    showBodiesAsCells = new FXCheckButton(renderButtons, uiText(TXT_BODIES_AS_CELLS), this, ID_RENDER);
    showBodiesAsCells->setTipText(uiText(TXT_BODIES_AS_CELLS_TIP));
    showBodiesAsCells->setHelpText(uiText(TXT_BODIES_AS_CELLS_TIP));
    if (grid->outlines.empty())
        showBodiesAsCells->disable();
    showBoundaryCells->setCheck(TRUE);
    showStreamlines->setCheck(TRUE);
}

// The particles' elements and tools, in a frame of their own.
void CalculateWindow::buildParticleControls()
{
    using namespace CalculateLayout;
    particleFrame = new FXVerticalFrame(this, LAYOUT_FIX_X | LAYOUT_FIX_Y | LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                                        particleFrameX, particleFrameY, particleFrameWidth, particleFrameHeight, 0, 0,
                                        0, 0, 0, framePad);
    FXVerticalFrame* frame = particleFrame;
    showParticles = new FXCheckButton(frame, uiText(TXT_PARTICLES), this, ID_RENDER);
    showStreaks = new FXCheckButton(frame, uiText(TXT_PARTICLE_STREAKS), this, ID_RENDER);
    emitterTool = new FXCheckButton(frame, uiText(TXT_EMITTER_TOOL), this, ID_EMITTER_TOOL);
    emitterTool->setTipText(uiText(TXT_EMITTER_TIP));
    releaseInflowButton = new FXButton(frame, uiText(TXT_RELEASE_INFLOW), nullptr, this, ID_RELEASE_INFLOW);
    // A grid that brings emitters shows its particles from the start.
    showParticles->setCheck(grid->emitters.empty() ? FALSE : TRUE);
}

// "Save Method": none, AVI, PPM, VTK; the data target keeps one checked.
void CalculateWindow::buildSaveGroup()
{
    using namespace CalculateLayout;
    saveGroup = new FXGroupBox(this, uiText(TXT_SAVE_METHOD), groupStyle, saveGroupX, saveGroupY);
    saveNone = new FXRadioButton(saveGroup, uiText(TXT_SAVE_NONE), &saveTarget,
                                 FXDataTarget::ID_OPTION + SAVE_NONE);
    saveAvi = new FXRadioButton(saveGroup, uiText(TXT_SAVE_AVI), &saveTarget,
                                FXDataTarget::ID_OPTION + SAVE_AVI);
    savePpm = new FXRadioButton(saveGroup, uiText(TXT_SAVE_PPM), &saveTarget,
                                FXDataTarget::ID_OPTION + SAVE_PPM);
    saveVtk = new FXRadioButton(saveGroup, uiText(TXT_SAVE_VTK), &saveTarget,
                                FXDataTarget::ID_OPTION + SAVE_VTK);
    saveMethod = SAVE_NONE;
    saveNone->setCheck(TRUE);
}

// "Save Frame Interval": 1..1110, starting at 1.
void CalculateWindow::buildIntervalGroup()
{
    using namespace CalculateLayout;
    intervalGroup = new FXGroupBox(this, uiText(TXT_FRAME_INTERVAL), groupStyle, intervalGroupX, intervalGroupY);
    intervalSpinner = new FXSpinner(intervalGroup, spinnerColumns, nullptr, 0, spinnerStyle, 0, 0, spinnerWidth);
    intervalSpinner->setRange(CalculateRanges::minInterval, CalculateRanges::maxInterval);
    intervalSpinner->setValue(CalculateRanges::startInterval);
}

// "Output Size": the spinner and the two size labels; the picture starts
// at the spinner's value. The spinner stops where the picture would pass
// 4096 pixels either way.
void CalculateWindow::buildSizeGroup()
{
    using namespace CalculateLayout;
    sizeGroup = new FXGroupBox(this, uiText(TXT_OUTPUT_SIZE), groupStyle, sizeGroupX, sizeGroupY);
    sizeSpinner = new FXSpinner(sizeGroup, spinnerColumns, this, ID_OUTPUT_SIZE, spinnerStyle, 0, 0, spinnerWidth);
    sizeSpinner->setRange(CalculateRanges::minPixelsPerCell, CalculateRanges::maxPixelsPerCellFor(grid->NX, grid->NY));
    sizeSpinner->setValue(CalculateRanges::startPixelsPerCell);
    widthLabel = new FXLabel(sizeGroup, FXString::null, nullptr, JUSTIFY_LEFT, 0, 0, 0, 0, labelPad, labelPad,
                             labelPad, labelPad);
    heightLabel = new FXLabel(sizeGroup, FXString::null, nullptr, JUSTIFY_LEFT, 0, 0, 0, 0, labelPad, labelPad,
                              labelPad, labelPad);
    pixelsPerCell = sizeSpinner->getValue();
}

// A modal file dialog at the cursor, any name, existing or not; empty when
// cancelled. No patterns: the dialog's own.
static FXString chooseFileToWrite(FXWindow* owner, const char* title, const char* patterns)
{
    FXFileDialog dialog(owner, title, 0, 0, 0, aviDialogWidth, aviDialogHeight);
    dialog.setSelectMode(SELECTFILE_ANY);
    if (patterns)
        dialog.setPatternList(patterns);
    if (!dialog.execute(PLACEMENT_CURSOR))
        return FXString::null;
    return dialog.getFilename();
}

FXString CalculateWindow::chooseAviFileName()
{
    return chooseFileToWrite(this, aviDialogTitle, nullptr);
}

// An error box over this window that names the file.
void CalculateWindow::showFrameWriteFailure(const FXString& path)
{
    FXMessageBox::error(this, MBOX_OK, frameFailureCaption, frameFailureText, path.text());
}

void CalculateWindow::showInstability(const FXString& text)
{
    FXMessageBox::warning(this, MBOX_OK, uiText(TXT_UNSTABLE_CAPTION), "%s", text.text());
}

void CalculateWindow::showRunTime()
{
    timeLabel->setText(FXStringFormat("%s %d   %s %.4g   %s %.3g", uiText(TXT_STEP_COUNT), report.cycles,
                                      uiText(TXT_SIMULATED_TIME), report.time, uiText(TXT_TIME_STEP_USED), report.dt));
}

// The dialog without the wait cursor.
bool CalculateWindow::chooseCompression(CompressOptions& options)
{
    const WaitCursorLifted lifted(aviOpening);
    return chooseCompressorWithDialog(options);
}

// A message box without the wait cursor.
void CalculateWindow::showAviMessage(const char* caption, const char* text)
{
    const WaitCursorLifted lifted(aviOpening);
    showAviMessageBox(caption, text);
}

FXString CalculateWindow::choosePictureFileName()
{
    return chooseFileToWrite(this, pictureDialogTitle, picturePatterns);
}

void CalculateWindow::showPictureWriteFailure(const FXString& path)
{
    FXMessageBox::error(this, MBOX_OK, pictureFailureCaption, pictureFailureText, path.text());
}

bool CalculateWindow::openAviWaiting(const std::string& fileName)
{
    getApp()->beginWaitCursor();
    aviOpening = true;
    const bool opened = outputs.openAvi(fileName);
    aviOpening = false;
    getApp()->endWaitCursor();
    return opened;
}

void CalculateWindow::scheduleCycle()
{
    orderSettings();
    worker->go();
    pendingCycle = true;
}

void CalculateWindow::cancelCycle()
{
    if (pendingCycle && worker)
        worker->pause();
    pendingCycle = false;
}

SimulationWorker::CycleSettings CalculateWindow::cycleSettings() const
{
    SimulationWorker::CycleSettings settings;
    settings.interval = intervalSpinner->getValue();
    settings.elements = checkedElements();
    settings.saving = frameSaving();
    settings.screenPixelsPerCell = screenPixelsPerCell();
    settings.screenShrink = screenShrink(glCanvas->getWidth(), glCanvas->getHeight(), grid->NX, grid->NY);
    settings.screenWindow = screenWindow();
    settings.measuring = measuring();
    settings.pixelsPerCell = pixelsPerCell;
    settings.renderSerial = renderSerial;
    return settings;
}

void CalculateWindow::orderSettings()
{
    worker->setSettings(cycleSettings());
}

int CalculateWindow::screenPixelsPerCell() const
{
    return ::screenPixelsPerCell(glCanvas->getWidth(), glCanvas->getHeight(), grid->NX, grid->NY);
}

// The view as drawn last, over the whole picture the checked elements make.
ScreenWindow CalculateWindow::screenWindow() const
{
    const int width = glCanvas->getWidth();
    const int height = glCanvas->getHeight();
    const int k = screenPixelsPerCell();
    const bool colourMap = chosenView().quantity != ColourQuantity::None;
    const int contentHeight = screenContentHeight(grid->NY, k, colourMap);
    CanvasView current = navigation.view;
    current.setCanvas(width, height);
    current.setContent(k * grid->NX, contentHeight);
    return screenWindowFor(CanvasPlace{width, height, current.originX(), current.originY(), current.scale()},
                           grid->NX, grid->NY, contentHeight);
}

// A grid larger than the canvas has only the part shown composed: a view
// moved or zoomed is composed again, at once while the worker is parked,
// else by the worker's next frame.
void CalculateWindow::followView()
{
    if (!worker || screenWindow() == shownFrame.window)
        return;
    if (runInHand())
        renderFrame();
    else
        orderSettings();
}

void CalculateWindow::enterIdleControls()
{
    startButton->enable();
    stopButton->disable();
    saveAvi->enable();
    saveNone->enable();
    savePpm->enable();
    saveVtk->enable();
    sizeSpinner->enable();
    viewList->enable();
    pauseButton->disable();
    paused = false;
    showPausedControls();
}

void CalculateWindow::enterRunningControls()
{
    stopButton->enable();
    pauseButton->enable();
    scheduleCycle();
    startButton->disable();
}

void CalculateWindow::showPausedControls()
{
    pauseButton->setText(uiText(paused ? TXT_RESUME : TXT_PAUSE));
    if (paused) {
        stepButton->enable();
        // The picture is drawn from the state, which is the window's only
        // while the worker is parked.
        if (runInHand())
            savePictureButton->enable();
        else
            savePictureButton->disable();
    } else {
        stepButton->disable();
        savePictureButton->disable();
    }
}

RenderElements CalculateWindow::checkedElements() const
{
    RenderElements elements;
    elements.boundaryCells = showBoundaryCells->getCheck() == TRUE;
    elements.streamlines = showStreamlines->getCheck() == TRUE;
    elements.uField = showUField->getCheck() == TRUE;
    elements.vField = showVField->getCheck() == TRUE;
    elements.pressure = showPressure->getCheck() == TRUE;
    elements.vectors = showVectors->getCheck() == TRUE;
    elements.outlineCells = showBodiesAsCells->getCheck() == TRUE;
    elements.particleStreaks = showStreaks->getCheck() == TRUE;
    elements.particles = showParticles->getCheck() == TRUE || elements.particleStreaks;
    elements.colourMap = chosenView();
    return elements;
}

FrameSaving CalculateWindow::frameSaving() const
{
    FrameSaving saving;
    saving.avi = saveMethod == SAVE_AVI;
    saving.ppm = saveMethod == SAVE_PPM;
    saving.vtk = saveMethod == SAVE_VTK;
    return saving;
}

void CalculateWindow::allocateImage()
{
    outputs.allocateLater(grid->NX, grid->NY, pixelsPerCell, chosenView().quantity != ColourQuantity::None);
}

// "%s: %d" with "Width" and W, "Height" and H: the size the picture has,
// or will have once the worker has allocated it.
void CalculateWindow::showFrameSize()
{
    widthLabel->setText(FXStringFormat("%s: %d", uiText(TXT_WIDTH), pixelsPerCell * grid->NX));
    heightLabel->setText(FXStringFormat("%s: %d", uiText(TXT_HEIGHT), pixelsPerCell * grid->NY));
}

// Start: the save-method controls locked, then the run as the method says.
long CalculateWindow::onCmdStart(FXObject*, FXSelector, void*)
{
    if (preparing) {
        startWanted = true;
        return 1;
    }
    if (!runInHand())
        return 1;  // the last stop's reset is not done yet
    saveAvi->disable();
    saveNone->disable();
    savePpm->disable();
    saveVtk->disable();
    sizeSpinner->disable();
    if (saveMethod == SAVE_AVI)
        viewList->disable();  // an animation keeps one frame size
    if (saveMethod == SAVE_AVI) {
        const FXString name = chooseAviFileName();
        if (name.empty()) {
            outputs.closeAvi();
            enterIdleControls();
            return 1;
        }
        if (!openAviWaiting(aviFileNameFor(name.text()))) {
            enterIdleControls();  // the AVI output has told the user
            return 1;
        }
        enterRunningControls();
        return 1;
    }
    enterRunningControls();
    return 1;
}

long CalculateWindow::onWorkerReport(FXObject*, FXSelector, void*)
{
    takeReport();
    return 1;
}

// Several cycles may have passed since the last report: the line, the
// picture and the measurements show the latest.
void CalculateWindow::takeReport()
{
    const long long before = report.serial;
    if (stopping) {
        // Cycles that ended after Stop change nothing shown: the picture and
        // the line stay as Stop found them until the reset is done.
        ScreenFrame discarded;
        SimulationWorker::Report late;
        worker->collect(late, discarded);
        if (!late.afterStop)
            return;
        stopping = false;
        report = late;
    } else if (worker->collect(report, shownFrame)) {
        presentFrame();
        followView();  // the view may have moved after the worker read it
    }
    if (report.pictures != picturesTold) {
        picturesTold = report.pictures;
        if (!report.pictureWritten)
            showPictureWriteFailure(report.picturePath.c_str());
    }
    if (measureWindowWanted && !probeLogMissing())
        showMeasureWindow();
    if (probeCount() != probesMarked)
        showProbesAdded();
    orderSettings();  // the interval spinner is read every cycle
    if (report.serial != before && report.afterBuild) {
        takeBuildReport();
        return;
    }
    if (report.serial != before && report.afterStop) {
        if (!pauseButton->isEnabled())
            startButton->enable();
        if (measureWindow)
            measureWindow->showProbes();
        refreshMeasureWindow();
        return;  // the line keeps the final state's numbers
    }
    if (report.serial != before) {
        showRunTime();
        if (report.unstable) {
            stopAfterBlowUp();
            return;
        }
        if (!report.saved.ok) {
            stopAfterSaveFailure(report.saved);
            return;
        }
        showMeasuredFrame();
    }
    if (paused && runInHand())
        refreshMeasureWindow();  // a redraw the budget skipped
    showPausedControls();
}

// The build step's blow-up, if any, is told after the first cycle, as
// before the run was prepared on the worker. The frame came with the
// report; it is drawn again only when the elements or the canvas changed
// after the worker read them.
void CalculateWindow::takeBuildReport()
{
    preparing = false;
    run = worker->builtRun();
    if (outputs.pixelsPerCell() != pixelsPerCell)
        allocateImage();  // the size changed after the worker read it
    showRunTime();
    if (report.renderSerial != renderSerial)
        renderFrame();
    followView();
    startButton->enable();
    if (startWanted) {
        startWanted = false;
        onCmdStart(nullptr, 0, nullptr);
        return;
    }
    showPausedControls();
}

// Pause: no more cycles, the current state drawn (it may lie between frame
// cycles), Step and Save Picture open. Resume: the cycles go on from the
// kept state. Nothing while no run is going.
long CalculateWindow::onCmdPause(FXObject*, FXSelector, void*)
{
    if (!pauseButton->isEnabled())
        return 1;
    paused = !paused;
    if (paused)
        cancelCycle();  // the worker draws the state it stops at
    else
        scheduleCycle();
    showPausedControls();
    return 1;
}

// Step: one cycle more of the paused run, counted, drawn and saved as the
// run loop takes it.
long CalculateWindow::onCmdStep(FXObject*, FXSelector, void*)
{
    if (paused) {
        orderSettings();
        worker->stepOnce();
    }
    return 1;
}

bool CalculateWindow::askCloseRunning()
{
    CloseRunningDialog dialog(this);
    return dialog.ask();
}

// No cycle starts while the question is up, so the run stands as the user
// saw it when answering (the one under way finishes).
long CalculateWindow::onCmdCancel(FXObject* sender, FXSelector, void* ptr)
{
    const bool running = pauseButton->isEnabled() && !paused;
    if (running) {
        cancelCycle();
        const bool close = askCloseRunning();
        if (!close) {
            scheduleCycle();
            return 1;
        }
    }
    return FXDialogBox::onCmdCancel(sender, FXSEL(SEL_COMMAND, ID_CANCEL), ptr);
}

// Save Picture: the picture as it stands, as a PNG file of its size; with
// a colour map shown, its colour bar below it, so that the colours can be
// read off the file alone. The worker draws and writes it; a failure comes
// back with its report.
long CalculateWindow::onCmdSavePicture(FXObject*, FXSelector, void*)
{
    if (!paused || !runInHand())
        return 1;
    const FXString name = choosePictureFileName();
    if (name.empty())
        return 1;
    orderSettings();
    worker->savePicture(withDefaultExtension(name.text(), ".png"));
    showPausedControls();  // off until the worker has written it
    return 1;
}

// The worker parks itself after such a cycle, so the files are the
// window's: the AVI file is completed before the message says so; the
// reset follows as after Stop.
void CalculateWindow::stopAfterSaveFailure(const FrameSaveResult& result)
{
    outputs.closeAvi();
    onCmdStop(nullptr, 0, nullptr);
    if (result.aviFailed)
        outputs.avi().reportIncomplete();
    else
        showFrameWriteFailure(
            (result.ppmFailedPath.empty() ? result.vtkFailedPath : result.ppmFailedPath).c_str());
}

// The broken state is never composed: the picture of the last frame cycle
// stays, and the numbering of the files starts again as after Stop.
void CalculateWindow::stopAfterBlowUp()
{
    const FXString text = FXStringFormat(uiText(TXT_UNSTABLE_TEXT), static_cast<long long>(report.unstableCycle),
                                         report.time, suggestedTimeStep(*grid, run->solverSettings()));
    onCmdStop(nullptr, 0, nullptr);
    showInstability(text);
}

// Stop: Idle controls at once, the line and the picture of the last
// finished step kept; the worker gives up the step under way, completes
// the files, rebuilds the solver from the grid and steps it once, and
// resets the counters. Start waits for that.
long CalculateWindow::onCmdStop(FXObject*, FXSelector, void*)
{
    if (preparing) {
        startWanted = false;  // nothing runs yet
        return 1;
    }
    enterIdleControls();
    pendingCycle = false;
    orderSettings();
    worker->stop();
    stopping = true;
    startButton->disable();
    return 1;
}

long CalculateWindow::onCanvasPaint(FXObject*, FXSelector, void*)
{
    presentFrame();
    return 1;
}

// The viewport follows the canvas's new size; the picture is drawn again
// for it.
long CalculateWindow::onCanvasConfigure(FXObject*, FXSelector, void*)
{
    if (glCanvas->makeCurrent()) {
        glViewport(0, 0, glCanvas->getWidth(), glCanvas->getHeight());
        glCanvas->makeNonCurrent();
        renderFrame();
    }
    return 1;
}

// The checked elements from the current state, drawn for the screen and
// shown now while the worker is parked; the worker's next frame takes them
// otherwise.
long CalculateWindow::renderFrame(FXObject*, FXSelector, void*)
{
    if (!worker)
        return 1;
    ++renderSerial;
    orderSettings();
    if (!runInHand())
        return 1;
    screenComposer.compose(run->state(), grid->NX, grid->NY, screenPixelsPerCell(), checkedElements(), shownFrame,
                           screenShrink(glCanvas->getWidth(), glCanvas->getHeight(), grid->NX, grid->NY),
                           &run->particles().particles(), screenWindow());
    presentFrame();
    return 1;
}

// A new picture at the spinner's size, drawn, and its size shown.
long CalculateWindow::onCmdOutputSize(FXObject*, FXSelector, void*)
{
    if (!preparing && !runInHand())
        return 1;  // the outputs are the worker's
    pixelsPerCell = sizeSpinner->getValue();
    if (!preparing) {
        allocateImage();
    }  // else the build step allocates at the size ordered, or the report finds it changed
    showFrameSize();
    orderSettings();
    return 1;
}

// The screen picture over the whole canvas; nothing when the canvas has
// no area or no context yet.
void CalculateWindow::presentFrame()
{
    const FXint width = glCanvas->getWidth();
    const FXint height = glCanvas->getHeight();
    if (width <= 0 || height <= 0 || !glCanvas->makeCurrent())
        return;
    drawCanvas();
    if (glVisual->isDoubleBuffer())
        glCanvas->swapBuffers();
    glCanvas->makeNonCurrent();
}

// The marks go on the canvas only: the saved frames are the picture alone.
void CalculateWindow::drawCanvas()
{
    syncView();
    canvasPicture.draw(shownFrame, navigation.view);
    std::vector<ProbePoint> probes;
    {
        FXMutexLock lock(worker->sharedLock());
        if (measureLog)
            probes = measureLog->measurements().probes();
    }
    if (!probes.empty())
        drawProbeMarks(probes, canvasLayout());
}

PictureLayout CalculateWindow::canvasLayout() const
{
    const CanvasView& view = navigation.view;
    PictureLayout layout{glCanvas->getWidth(), glCanvas->getHeight(), shownFrame.contentWidth, shownFrame.contentHeight,
                         shownFrame.pixelsPerCell, grid->NX, grid->NY, grid->dx, grid->dy};
    // The view as drawn last; before any drawing the fitted view of now.
    CanvasView current = view;
    current.setCanvas(layout.canvasWidth, layout.canvasHeight);
    current.setContent(layout.pictureWidth, layout.pictureHeight);
    layout.shownX = current.originX();
    layout.shownY = current.originY();
    layout.shownWidth = current.contentWidth() * current.scale();
    layout.shownHeight = current.contentHeight() * current.scale();
    return layout;
}

void CalculateWindow::syncView()
{
    CanvasView& view = navigation.view;
    if (glCanvas->getWidth() != view.canvasWidth() || glCanvas->getHeight() != view.canvasHeight())
        view.setCanvas(glCanvas->getWidth(), glCanvas->getHeight());
    if (shownFrame.contentWidth > 0 && shownFrame.contentHeight > 0 &&
        (shownFrame.contentWidth != view.contentWidth() || shownFrame.contentHeight != view.contentHeight()))
        view.setContent(shownFrame.contentWidth, shownFrame.contentHeight);
}

FXint CalculateWindow::getDefaultWidth()
{
    return FXMAX(FXDialogBox::getDefaultWidth(), CalculateLayout::windowWidth);
}

FXint CalculateWindow::getDefaultHeight()
{
    return FXMAX(FXDialogBox::getDefaultHeight(), CalculateLayout::windowHeight);
}

void CalculateWindow::layout()
{
    FXDialogBox::layout();
    using namespace CalculateLayout;
    const int dx = getWidth() - windowWidth;
    const int dy = getHeight() - windowHeight;
    placeGrown(canvasFrame, {canvasFrameX, canvasFrameY, canvasFrameWidth, canvasFrameHeight}, Growth::Fill, dx, dy);
    const std::pair<FXWindow*, PlaceRect> right[] = {{renderGroup, {renderGroupX, renderGroupY}},
                                                     {saveGroup, {saveGroupX, saveGroupY}},
                                                     {intervalGroup, {intervalGroupX, intervalGroupY}},
                                                     {sizeGroup, {sizeGroupX, sizeGroupY}}};
    for (const auto& [child, place] : right)
        placeGrown(child, place, Growth::Right, dx, dy);
    const std::pair<FXWindow*, PlaceRect> down[] = {
        {startButton, {startX, buttonsY}},         {stopButton, {stopX, buttonsY}},
        {pauseButton, {pauseX, pauseRowY}},        {stepButton, {stepX, pauseRowY}},
        {savePictureButton, {savePictureX, savePictureY}}, {measureButton, {measureX, measureY}},
        {viewGroup, {viewGroupX, viewGroupY}},     {solverLabel, {solverLabelX, solverLabelY, solverLabelWidth, 0}},
        {particleFrame, {particleFrameX, particleFrameY, particleFrameWidth, particleFrameHeight}},
        {paintGroup, {paintGroupX, paintGroupY}}};
    for (const auto& [child, place] : down)
        placeGrown(child, place, Growth::Down, dx, dy);
}

namespace {
// The View list's entries in order, with the quantity each shows.
struct ViewEntry {
    int text;
    ColourQuantity quantity;
};
constexpr ViewEntry viewEntries[] = {
    {TXT_VIEW_DESIGNED, ColourQuantity::None},      {TXT_VIEW_SPEED, ColourQuantity::Speed},
    {TXT_VIEW_VORTICITY, ColourQuantity::Vorticity}, {TXT_VIEW_PRESSURE, ColourQuantity::Pressure},
    {TXT_VIEW_U, ColourQuantity::U},                {TXT_VIEW_V, ColourQuantity::V},
    {TXT_VIEW_TEMPERATURE, ColourQuantity::Temperature}, {TXT_VIEW_DYE, ColourQuantity::Dye},
};
}  // namespace

// "View": the list (Designed colours first), Lock range and the range
// fields, which only a locked range enables.
void CalculateWindow::buildViewGroup()
{
    using namespace CalculateLayout;
    viewGroup = new FXGroupBox(this, uiText(TXT_VIEW), groupStyle, viewGroupX, viewGroupY, 0, 0, framePad,
                               framePad, framePad, framePad, framePad, framePad);
    viewList = new FXListBox(viewGroup, this, ID_VIEW, LISTBOX_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FIX_WIDTH,
                             0, 0, viewListWidth);
    for (const ViewEntry& entry : viewEntries)
        viewList->appendItem(uiText(entry.text));
    viewList->setNumVisible(viewListRows);
    lockRange = new FXCheckButton(viewGroup, uiText(TXT_LOCK_RANGE), this, ID_LOCK_RANGE);
    FXHorizontalFrame* rangeRow = new FXHorizontalFrame(viewGroup, 0, 0, 0, 0, 0, 0, 0, 0, 0, framePad, 0);
    new FXLabel(rangeRow, uiText(TXT_RANGE_MIN));
    rangeMin = new FXTextField(rangeRow, rangeColumns, this, ID_VIEW, TEXTFIELD_REAL | FRAME_SUNKEN | FRAME_THICK);
    new FXLabel(rangeRow, uiText(TXT_RANGE_MAX));
    rangeMax = new FXTextField(rangeRow, rangeColumns, this, ID_VIEW, TEXTFIELD_REAL | FRAME_SUNKEN | FRAME_THICK);
    rangeMin->disable();
    rangeMax->disable();
    solverLabel = new FXLabel(this, FXString::null, nullptr, JUSTIFY_LEFT | fixedPosition | LAYOUT_FIX_WIDTH,
                              solverLabelX, solverLabelY, solverLabelWidth, 0, labelPad, labelPad, labelPad, labelPad);
}

// A locked range is used only while its minimum lies below its maximum.
ColourMapView CalculateWindow::chosenView() const
{
    ColourMapView view;
    const FXint item = viewList->getCurrentItem();
    if (item >= 0 && item < static_cast<FXint>(ARRAYNUMBER(viewEntries)))
        view.quantity = viewEntries[item].quantity;
    view.range = ColourRange{FXDoubleVal(rangeMin->getText()), FXDoubleVal(rangeMax->getText())};
    view.locked = lockRange->getCheck() == TRUE && view.range.low < view.range.high;
    return view;
}

// A new view or range is drawn at once.
long CalculateWindow::onCmdView(FXObject*, FXSelector, void*)
{
    return renderFrame();
}

// Locking keeps the range now shown and lets it be edited.
long CalculateWindow::onCmdLockRange(FXObject*, FXSelector, void*)
{
    if (lockRange->getCheck() == TRUE) {
        const ColourRange shown = shownFrame.range;
        rangeMin->setText(FXStringFormat("%.4g", shown.low));
        rangeMax->setText(FXStringFormat("%.4g", shown.high));
        rangeMin->enable();
        rangeMax->enable();
    } else {
        rangeMin->disable();
        rangeMax->disable();
    }
    return renderFrame();
}

bool CalculateWindow::measuring() const
{
    FXMutexLock lock(worker->sharedLock());
    return measureLog && ((measureWindow && measureWindow->shown()) || !measureLog->measurements().probes().empty());
}

// A log that stood still while nothing was measured starts again, so the
// history and the chart have no gap; the state is read at the hand-over
// point. The first log is made there too, before the Measurements window
// that shows it: it waits for a step under way.
void CalculateWindow::prepareMeasuring()
{
    const bool measuredBefore = measuring();
    worker->atHandOver([this, measuredBefore](SimulationRun& inHand) {
        if (!measureLog) {
            measureLog = std::make_unique<MeasureLog>(inHand.state(), inHand.solverSettings().reynolds,
                                                      wallsOnFaces(inHand.solverSettings().convection));
        } else if (!measuredBefore) {
            measureLog->restart(inHand.state());
            chartHistory.clear();
        }
    });
}

// On a slow display a redraw every frame cycle would hold the run back:
// the points are all kept, the window shows them when its share allows.
void CalculateWindow::showMeasuredFrame()
{
    if (!measureWindow || !measureWindow->shown())
        return;
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point at) {
        return std::chrono::duration<double>(at.time_since_epoch()).count();
    };
    const Clock::time_point start = Clock::now();
    if (!measureRedraws.due(seconds(start)))
        return;
    refreshMeasureWindow();
    // What the toolkit sends to the display counts too.
    getApp()->flush(TRUE);
    measureRedraws.record(seconds(start), seconds(Clock::now()));
}

void CalculateWindow::refreshMeasureWindow()
{
    if (measureWindow && measureWindow->shown())
        measureWindow->refresh(report.time, report.dt);
}

void CalculateWindow::showMeasureWindow()
{
    prepareMeasuring();
    if (probeLogMissing()) {
        measureWindowWanted = true;  // opens once the worker has made the log
        return;
    }
    measureWindowWanted = false;
    if (!measureWindow) {
        {
            // Its first lines read the log, which the worker may be writing.
            FXMutexLock lock(worker->sharedLock());
            measureWindow = newMeasureWindow(measureLog.get(), &chartHistory);
        }
        measureWindow->shareLock(&worker->sharedLock());
        measureWindow->setTarget(this);
        measureWindow->setSelector(ID_PROBES_CHANGED);
        measureWindow->create();
    }
    measureWindow->showProbes();
    placeMeasureWindow();
    measureWindow->show(PLACEMENT_DEFAULT);
    orderSettings();  // the steps are measured from now on
    refreshMeasureWindow();
}

// Beside this window and inside the screen: narrowed, and this window moved
// toward the far edge, when the screen has no room for both at full width.
void CalculateWindow::placeMeasureWindow()
{
    using namespace CalculateLayout;
    const SidePlacement placed =
        placeBeside(getRoot()->getWidth(), getRoot()->getHeight(), ScreenRect{getX(), getY(), getWidth(), getHeight()},
                    MeasureWindow::openingWidth, MeasureWindow::openingHeight, measureWindowGap,
                    measureWindowMinWidth);
    if (placed.main.x != getX())
        move(placed.main.x, placed.main.y);
    measureWindow->position(placed.side.x, placed.side.y, placed.side.width, placed.side.height);
}

MeasureWindow* CalculateWindow::newMeasureWindow(MeasureLog* log, ChartHistory* chart)
{
    return new MeasureWindow(this, log, chart);
}

long CalculateWindow::onCmdMeasure(FXObject*, FXSelector, void*)
{
    showMeasureWindow();
    return 1;
}

long CalculateWindow::onCanvasWheel(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    syncView();
    navigation.wheel(event->win_x, event->win_y, event->code);
    presentFrame();
    followView();
    return 1;
}

long CalculateWindow::onCanvasMiddlePress(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    syncView();
    navigation.pressMiddle(event->win_x, event->win_y);
    glCanvas->grab();
    return 1;
}

// A middle drag pans; with the left button down under a paint tool every
// cell under the path between two motion events is painted.
long CalculateWindow::onCanvasMotion(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    if (navigation.dragMiddle(event->win_x, event->win_y)) {
        presentFrame();
        if (!getApp()->hasTimeout(this, ID_FOLLOW_DRAG))
            getApp()->addTimeout(this, ID_FOLLOW_DRAG, dragFollowMilliseconds);
    }
    if (!leftPainting)
        return 1;
    const std::optional<CellIndex> cell = cellAtCanvas(event->win_x, event->win_y);
    if (cell && (cell->i != strokeI || cell->j != strokeJ))
        paintStrokeTo(cell->i, cell->j);
    return 1;
}

// A release ends a pan, or places a probe after a click.
long CalculateWindow::onCanvasMiddleRelease(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    glCanvas->ungrab();
    getApp()->removeTimeout(this, ID_FOLLOW_DRAG);
    if (navigation.releaseMiddle(event->win_x, event->win_y)) {
        placeProbeAt(event->win_x, event->win_y);
    } else {
        presentFrame();
        followView();
    }
    return 1;
}

long CalculateWindow::onFollowDrag(FXObject*, FXSelector, void*)
{
    if (navigation.panning())
        followView();
    return 1;
}

// The commands' ids follow ZoomCommand's order.
long CalculateWindow::onCmdZoom(FXObject*, FXSelector sel, void*)
{
    syncView();
    navigation.command(static_cast<ZoomCommand>(FXSELID(sel) - ID_ZOOM_IN));
    presentFrame();
    followView();
    return 1;
}

// The probe goes where the picture shows the clicked point; clicks on the
// colour bar or outside the grid place none. Its first values are read
// from the state at the hand-over point.
void CalculateWindow::placeProbeAt(FXint x, FXint y)
{
    const std::optional<DomainPoint> at = domainPointAt(canvasLayout(), x, y);
    if (!at)
        return;
    prepareMeasuring();
    const ProbePoint probe{at->x, at->y};
    worker->atHandOver([this, probe](SimulationRun& inHand) { measureLog->addProbe(probe, inHand.state()); });
    orderSettings();
    if (runInHand())
        showProbesAdded();
}

bool CalculateWindow::probeLogMissing() const
{
    FXMutexLock lock(worker->sharedLock());
    return !measureLog;
}

size_t CalculateWindow::probeCount() const
{
    FXMutexLock lock(worker->sharedLock());
    return measureLog ? measureLog->measurements().probes().size() : 0;
}

void CalculateWindow::showProbesAdded()
{
    probesMarked = probeCount();
    if (measureWindow)
        measureWindow->showProbes();
    refreshMeasureWindow();
    presentFrame();
}

long CalculateWindow::onProbesChanged(FXObject*, FXSelector, void*)
{
    orderSettings();
    presentFrame();
    return 1;
}

// "Paint into the Flow": Off first and checked, so that a stray click paints
// nothing; then the cell types a flow can take while it runs.
void CalculateWindow::buildPaintGroup()
{
    using namespace CalculateLayout;
    paintGroup = new FXGroupBox(this, uiText(TXT_PAINT_GROUP), groupStyle, paintGroupX, paintGroupY, 0, 0, framePad,
                                framePad, framePad, framePad, framePad, framePad);
    FXMatrix* choices = new FXMatrix(paintGroup, paintColumns, MATRIX_BY_COLUMNS, 0, 0, 0, 0, 0, 0, 0, 0, framePad, 0);
    const int texts[] = {TXT_PAINT_OFF, TXT_PAINT_NOSLIP, TXT_PAINT_SLIP, TXT_PAINT_FLUID, TXT_PAINT_INFLOW,
                         TXT_PAINT_DYE};
    for (int k = 0; k < static_cast<int>(ARRAYNUMBER(texts)); ++k)
        dyeChoice = new FXRadioButton(choices, uiText(texts[k]), &paintTarget, FXDataTarget::ID_OPTION + k);
    dyeChoice->setTipText(uiText(TXT_PAINT_DYE_TIP));
    paintTool = PAINT_OFF;
}

std::optional<CellIndex> CalculateWindow::cellAtCanvas(int x, int y) const
{
    const std::optional<DomainPoint> at = domainPointAt(canvasLayout(), x, y);
    if (!at)
        return std::nullopt;
    const int32_t i = std::clamp(static_cast<int32_t>(at->x / grid->dx), 0, grid->NX - 1);
    const int32_t j = std::clamp(static_cast<int32_t>(at->y / grid->dy), 0, grid->NY - 1);
    return CellIndex{i, j};
}

void CalculateWindow::paintStrokeTo(int32_t i, int32_t j)
{
    const CellIndex from = strokeI < 0 ? CellIndex{i, j} : CellIndex{strokeI, strokeJ};
    std::vector<CellIndex> cells = clipToGrid(strokeCells(from, CellIndex{i, j}), grid->NX, grid->NY);
    if (strokeI >= 0 && !cells.empty())
        cells.erase(cells.begin());  // painted by the last move
    strokeI = i;
    strokeJ = j;
    if (paintTool == PAINT_DYE) {
        std::vector<DyePaint> dye;
        for (const CellIndex& cell : cells)
            dye.push_back(DyePaint{cell.i, cell.j});
        paintedDyeLog.insert(paintedDyeLog.end(), dye.begin(), dye.end());
        worker->paintDye(dye);
        return;
    }
    std::vector<CellPaint> painted;
    for (const CellIndex& cell : cells) {
        switch (paintTool) {
        case PAINT_NOSLIP:
            painted.push_back(CellPaint{cell.i, cell.j, CELL_NOSLIP_WALL});
            break;
        case PAINT_SLIP:
            painted.push_back(CellPaint{cell.i, cell.j, CELL_SLIP_WALL});
            break;
        case PAINT_FLUID:
            painted.push_back(CellPaint{cell.i, cell.j, CELL_FLUID});
            break;
        case PAINT_INFLOW:
            painted.push_back(CellPaint{cell.i, cell.j, inflowPaint.word, inflowPaint.u, inflowPaint.v});
            break;
        default:
            return;
        }
    }
    paintedLog.insert(paintedLog.end(), painted.begin(), painted.end());
    worker->paint(painted);
}

namespace {
// Steps between the releases of an emitter placed in the window.
constexpr int32_t defaultEmitterEvery = 5;
}  // namespace

// The left button: with the emitter tool a press remembers where an
// emitter starts; with a paint tool a press starts a stroke where the
// picture shows a cell, the canvas keeping the pointer until the release.
long CalculateWindow::onCanvasLeftPress(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    emitterStart.reset();
    if (emitterTool->getCheck() == TRUE) {
        emitterStart = domainPointAt(canvasLayout(), event->win_x, event->win_y);
        emitterStartX = event->win_x;
        emitterStartY = event->win_y;
        return 1;
    }
    if (paintTool == PAINT_OFF)
        return 0;
    const std::optional<CellIndex> cell = cellAtCanvas(event->win_x, event->win_y);
    if (!cell)
        return 1;
    glCanvas->grab();
    leftPainting = true;
    strokeI = strokeJ = -1;
    paintStrokeTo(cell->i, cell->j);
    return 1;
}

// A release ends a stroke, or places an emitter. A release within a few
// pixels of the press is a click, and so is a drag that ends off the
// picture: a point at the press. Of a line across walls only the points in
// open cells ever release particles.
long CalculateWindow::onCanvasLeftRelease(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    if (leftPainting) {
        glCanvas->ungrab();
        leftPainting = false;
        return 1;
    }
    if (!emitterStart)
        return 0;
    const DomainPoint from = *emitterStart;
    emitterStart.reset();
    constexpr int clickPixels = 4;
    const bool click = std::abs(event->win_x - emitterStartX) <= clickPixels &&
                       std::abs(event->win_y - emitterStartY) <= clickPixels;
    const std::optional<DomainPoint> end = domainPointAt(canvasLayout(), event->win_x, event->win_y);
    const DomainPoint to = click || !end ? from : *end;
    const int32_t colour = static_cast<int32_t>(grid->emitters.size() + placedEmitters.size());
    if ((event->state & SHIFTMASK) && !click) {
        worker->atHandOver([from, to, colour](SimulationRun& inHand) {
            inHand.particles().releaseLine(from.x, from.y, to.x, to.y, colour);
        });
        showParticles->setCheck(TRUE);
        renderFrame();
        return 1;
    }
    placeEmitter(Emitter{from.x, from.y, to.x, to.y, defaultEmitterEvery, colour});
    return 1;
}

long CalculateWindow::onCmdReleaseInflow(FXObject*, FXSelector, void*)
{
    const int32_t first = static_cast<int32_t>(grid->emitters.size() + placedEmitters.size());
    for (const Emitter& e : inflowEmitters(*grid, defaultEmitterEvery, first))
        placeEmitter(e);
    return 1;
}

// The run takes the emitter between two steps, and keeps it over rebuilds.
void CalculateWindow::placeEmitter(Emitter emitter)
{
    placedEmitters.push_back(emitter);
    worker->atHandOver([emitter](SimulationRun& inHand) { inHand.placeEmitter(emitter); });
    showParticles->setCheck(TRUE);
    renderFrame();
}

// The left button does one thing at a time: the emitter tool turns the
// paint tools off, a paint tool the emitter tool.
long CalculateWindow::onCmdEmitterTool(FXObject*, FXSelector, void*)
{
    if (emitterTool->getCheck() == TRUE)
        paintTool = PAINT_OFF;
    return 1;
}

long CalculateWindow::onCmdPaintTool(FXObject*, FXSelector, void*)
{
    if (paintTool != PAINT_OFF)
        emitterTool->setCheck(FALSE);
    if (paintTool == PAINT_DYE)
        showDyeView();
    return 1;
}

// Dye shows only on its colour map: the brush brings it up, unless another
// colour map is chosen or an AVI file keeps its frames as they are.
void CalculateWindow::showDyeView()
{
    const FXint shown = viewList->getCurrentItem();
    if (!viewList->isEnabled() || shown < 0 || viewEntries[shown].quantity != ColourQuantity::None)
        return;
    for (FXint item = 0; item < static_cast<FXint>(ARRAYNUMBER(viewEntries)); ++item)
        if (viewEntries[item].quantity == ColourQuantity::Dye)
            viewList->setCurrentItem(item);
    renderFrame();
}
