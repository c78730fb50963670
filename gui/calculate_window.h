// CalculateWindow: the dialog in which a simulation runs and is watched. It
// builds its own solver from the edited grid, owns the picture and the frame
// outputs, shows the picture on an OpenGL canvas, and runs the cycles on
// its worker thread (gui/simulation_worker.h) between Start and Stop,
// saving every n-th one and showing the latest picture drawn for the
// screen. A run can be paused with its state kept, stepped one cycle at a
// time, and its picture saved while it stands.
#pragma once

#include "core/grid.h"
#include "gui/canvas_navigation.h"
#include "gui/canvas_picture.h"
#include "gui/chart_history.h"
#include "gui/picture_point.h"
#include "gui/measure_window.h"
#include "gui/redraw_budget.h"
#include "gui/shape_cells.h"
#include "gui/simulation_worker.h"
#include "render/screen_frame.h"
#include "render/compose_frame.h"
#include "sim/frame_outputs.h"
#include "sim/frame_saving.h"
#include "sim/measure_log.h"
#include "sim/simulation_run.h"

#include <fx.h>
#include <fx3d.h>

#include <memory>
#include <optional>
#include <vector>

// The picture fills the canvas when fitted, as it always has; zooming goes
// up to 16 screen pixels a picture pixel.
constexpr ViewLimits pictureViewLimits{1.0, 16.0};

class CalculateWindow : public FXDialogBox {
    FXDECLARE(CalculateWindow)
protected:
    CalculateWindow() {}
private:
    CalculateWindow(const CalculateWindow&);
    CalculateWindow& operator=(const CalculateWindow&);

protected:
    FXButton* startButton = nullptr;          // Start
    FXButton* stopButton = nullptr;           // Stop
    FXButton* pauseButton = nullptr;          // Pause, reading Resume while paused
    FXButton* stepButton = nullptr;           // Step, while paused
    FXButton* savePictureButton = nullptr;    // Save Picture..., while paused
    FXButton* measureButton = nullptr;        // opens the Measurements window
    bool paused = false;                      // a started run stands with its state kept
    FXLabel* timeLabel = nullptr;             // step count, simulated time, dt in use
    FXLabel* solverLabel = nullptr;           // the scheme over the pressure solver
    bool pendingCycle = false;                // cycles are ordered from the worker
    FXVerticalFrame* canvasFrame = nullptr;   // holds the canvas
    FXGLVisual* glVisual = nullptr;           // double-buffered; owned
    FXGLCanvas* glCanvas = nullptr;           // shows the picture
    FXGroupBox* renderGroup = nullptr;        // "Rendered Elements"
    FXVerticalFrame* renderButtons = nullptr; // the frame of its six buttons
    FXCheckButton* showBoundaryCells = nullptr;
    FXCheckButton* showStreamlines = nullptr;
    FXCheckButton* showUField = nullptr;
    FXCheckButton* showVField = nullptr;
    FXCheckButton* showPressure = nullptr;
    FXCheckButton* showVectors = nullptr;
    FXCheckButton* showBodiesAsCells = nullptr;  // outlined bodies as their wall cells
    FXVerticalFrame* particleFrame = nullptr; // the particles' elements and tools
    FXCheckButton* showParticles = nullptr;
    FXCheckButton* showStreaks = nullptr;
    FXCheckButton* emitterTool = nullptr;     // left clicks and drags on the picture place emitters
    FXButton* releaseInflowButton = nullptr;  // an emitter along every inflow run
    // Emitters placed in this window, added to the grid's own at every
    // rebuild of the run; where the last left press fell.
    Emitters placedEmitters;
    std::optional<DomainPoint> emitterStart;
    FXint emitterStartX = 0, emitterStartY = 0;
    FXGroupBox* saveGroup = nullptr;          // "Save Method"
    FXRadioButton* savePpm = nullptr;
    FXRadioButton* saveAvi = nullptr;
    FXRadioButton* saveNone = nullptr;
    FXRadioButton* saveVtk = nullptr;
    FXint saveMethod = 0;                     // which radio is checked (SaveMethod)
    FXDataTarget saveTarget;                  // keeps the radios exclusive
    FXGroupBox* intervalGroup = nullptr;      // "Save Frame Interval"
    FXSpinner* intervalSpinner = nullptr;     // frame every n cycles, read every cycle
    FXGroupBox* sizeGroup = nullptr;          // "Output Size"
    FXSpinner* sizeSpinner = nullptr;         // pixels per cell edge
    FXLabel* widthLabel = nullptr;            // "Width: " and W
    FXLabel* heightLabel = nullptr;           // "Height: " and H
    FXint pixelsPerCell = 0;                  // pixels per cell edge, 1..15, picture <= 4096
    FXGroupBox* paintGroup = nullptr;         // "Paint into the Flow"
    FXint paintTool = 0;                      // which of its radios is checked (PaintTool)
    FXDataTarget paintTarget;                 // keeps those radios exclusive
    CellPaint inflowPaint{0, 0, CELL_INFLOW | DIR_EAST, 1.0, 0.0};  // what an inflow cell gets
    bool leftPainting = false;                // a stroke of the left button goes on
    int32_t strokeI = -1, strokeJ = -1;       // the cell the stroke reached last
    std::vector<CellPaint> paintedLog;        // every cell painted, in order
    std::vector<DyePaint> paintedDyeLog;      // every cell dye was painted into, in order
    FXRadioButton* dyeChoice = nullptr;       // the Dye radio, disabled when the method carries none
    FXGroupBox* viewGroup = nullptr;          // "View"
    FXListBox* viewList = nullptr;            // designed colours or a colour map
    FXCheckButton* lockRange = nullptr;       // keeps the colour map's range
    FXTextField* rangeMin = nullptr;          // the locked range, editable
    FXTextField* rangeMax = nullptr;
    SimulationRun* run = nullptr;             // solver and the counters; the worker's, known once built
    const Grid* grid = nullptr;               // the editor's grid; not owned
    bool aviOpening = false;                  // the AVI file is being opened under the wait cursor
    // The picture, the PPM files and the AVI file; the AVI output asks and
    // tells the user through this window.
    FrameOutputs outputs{"frames", [this](CompressOptions& options) { return chooseCompression(options); },
                         [this](const char* caption, const char* text) { showAviMessage(caption, text); }};
    CanvasNavigation navigation{pictureViewLimits}; // zoom and pan of the picture's pixels
    CanvasPicture canvasPicture;              // the picture where the view puts it
    FXIcon* windowIcon = nullptr;             // owned
    FXToolTip* toolTip = nullptr;             // owned
    // The picture on the canvas, drawn for the screen at the canvas's size
    // (or the grid's), by the worker while it works, by the window while
    // the worker is parked.
    ScreenComposer screenComposer;
    ScreenFrame shownFrame;
    // The run as the worker last reported it: what the window shows.
    SimulationWorker::Report report;
    long long picturesTold = 0;  // Report::pictures whose outcome was taken
    // Measurements: made when the Measurements window first opens or the
    // first probe is placed, recorded every step while that window is shown
    // or a probe exists; the chart takes a point every frame cycle.
    std::unique_ptr<MeasureLog> measureLog;
    ChartHistory chartHistory{chartPoints};
    MeasureWindow* measureWindow = nullptr;   // owned
    // The window's redraw on frame cycles takes at most this share of the run.
    RedrawBudget measureRedraws{measureRedrawShare};
    // The thread of the cycles; made last, ended first.
    std::unique_ptr<SimulationWorker> worker;

    // The AVI file name the user chooses; empty when cancelled.
    virtual FXString chooseAviFileName();
    // Tells the user that a frame file could not be written.
    virtual void showFrameWriteFailure(const FXString& path);
    // Tells the user that the flow blew up and what to try instead.
    virtual void showInstability(const FXString& text);
    // The compressor of a new AVI file, from the dialog; false when cancelled.
    virtual bool chooseCompression(CompressOptions& options);
    // One message of the AVI output, in a message box.
    virtual void showAviMessage(const char* caption, const char* text);
    // The PNG file name for Save Picture; empty when cancelled.
    virtual FXString choosePictureFileName();
    // Tells the user that the picture could not be written.
    virtual void showPictureWriteFailure(const FXString& path);
    // Whether the user lets a running simulation close; asked on Esc and
    // the close box.
    virtual bool askCloseRunning();
    // Opens the AVI file under the wait cursor: the title and fade-in take
    // seconds at the larger output sizes.
    bool openAviWaiting(const std::string& fileName);

    // Construction, one part of the window each.
    void buildCanvasAndButtons();
    void buildRenderGroup();
    void buildSaveGroup();
    void buildIntervalGroup();
    void buildSizeGroup();
    void buildViewGroup();
    void buildPaintGroup();
    // The cell under a canvas point, when the picture shows one there.
    std::optional<CellIndex> cellAtCanvas(int x, int y) const;
    // The chosen tool's word into the cells from the stroke's last cell to
    // (i, j), each cell the path crosses.
    void paintStrokeTo(int32_t i, int32_t j);
    void buildParticleControls();
    // The emitter tool and the paint tools share the left button: choosing
    // one turns the other off.
    void emitterToolChosen();
    void paintToolChosen();
    // The view the View group chooses.
    ColourMapView chosenView() const;

    // Orders cycles from the worker with the settings as they stand.
    void scheduleCycle();
    // Orders the worker to pause after the cycle under way.
    void cancelCycle();
    // What each cycle of the worker does, from the controls as they stand.
    SimulationWorker::CycleSettings cycleSettings() const;
    // Hands the settings to the worker.
    void orderSettings();
    // Pixels per cell of the screen picture on the canvas as it is now.
    int screenPixelsPerCell() const;
    // The part of the screen picture the view shows now, for a grid larger
    // than the canvas; the whole picture otherwise.
    ScreenWindow screenWindow() const;
    // The picture composed again for a view that moved, when it is one of
    // a part.
    void followView();
    // Whether the window may use the run now: the worker is parked.
    bool runInHand() const { return run && worker->parked(); }
    // Enables the controls that Start disables, Start itself, and disables
    // Stop and the pause controls: the Idle state.
    void enterIdleControls();
    // Start disabled, Stop and Pause enabled, the scheduled cycles going.
    void enterRunningControls();
    // Pause reads Pause or Resume; Step and Save Picture only while paused.
    void showPausedControls();
    // What a report of the worker changes: the line, the picture, the
    // Measurements window, the controls; a blow-up or a failed frame stops
    // the run.
    void takeReport();
    // The six check buttons as the render pass reads them.
    // Adds an emitter placed in this window to the run, now and after every
    // rebuild (through the worker, between two steps).
    void placeEmitter(Emitter emitter);
    // The check buttons as the render pass reads them.
    RenderElements checkedElements() const;
    // What the current save method writes.
    FrameSaving frameSaving() const;
    // Renders, presents and saves one frame; false when saving failed.
    bool renderAndSaveFrame(int32_t index);
    // Ends the run as Stop does after a frame could not be saved, then tells
    // the user once.
    void stopAfterSaveFailure(const FrameSaveResult& result);
    // Ends the run after a step blew the flow up: the frames saved so far are
    // completed, the last good picture stays, then the user is told.
    void stopAfterBlowUp();
    // "Step N   Time T   dt D" after the last step: N cycles after the
    // build step, T their time with the build step's, as kelvo-batch's
    // summary and history count them.
    void showRunTime();
    // "Width: W" and "Height: H".
    void showFrameSize();
    // Allocates the picture at pixelsPerCell x NX by pixelsPerCell x NY.
    void allocateImage();
    // Whether each step is measured now.
    bool measuring() const;
    // The log ready to record: made from the current state, or started
    // again when it stood still.
    void prepareMeasuring();
    // After a frame cycle: the Measurements window redrawn when its share
    // of the time allows.
    void showMeasuredFrame();
    // The Measurements window shows the run as it stands.
    void refreshMeasureWindow();
    // A probe placed: its mark, its line in the Measurements window.
    void showProbesAdded();
    // The probes the log holds now.
    size_t probeCount() const;
    size_t probesMarked = 0;  // the probes marked on the picture
    // Whether the measure log is still to be made at the hand-over point.
    bool probeLogMissing() const;
    bool measureWindowWanted = false;  // Measure was pressed before the log existed
    bool stopping = false;    // Stop was pressed; the worker has not reset the run yet
    // The worker's build step is not yet reported: the picture is empty, the
    // line says so, and Start waits for it.
    bool preparing = true;
    bool startWanted = false;  // Start came while preparing
    // Counts the redraws asked for, so that the window knows whether the
    // build's frame was drawn with the elements and canvas of now.
    long long renderSerial = 1;
    // The run is ready: its line, Start, and whatever was asked meanwhile.
    void takeBuildReport();
    // The View list shows the dye, when it may change now.
    void showDyeView();
    // Opens the Measurements window beside this one, or brings it back.
    void showMeasureWindow();
    // Puts the Measurements window beside this one (gui/window_placement.h).
    void placeMeasureWindow();
    // The Measurements window over log and chart, made on first opening.
    virtual MeasureWindow* newMeasureWindow(MeasureLog* log, ChartHistory* chart);
    // How the shown picture lies on the canvas, for probes and their marks.
    PictureLayout canvasLayout() const;
    // The picture and the probes' marks into the canvas's current context,
    // without the swap.
    void drawCanvas();
    // The view follows the canvas's size and the shown picture's.
    void syncView();
    // The canvas takes the room beyond the designed size; the groups on
    // the right move right, the buttons and the View group down.
    virtual void layout();
    // A probe where the picture shows canvas pixel (x, y), if it shows
    // the grid there.
    void placeProbeAt(FXint x, FXint y);

public:
    // The choices of "Paint into the Flow", in the order of its radios.
    enum PaintTool { PAINT_OFF = 0, PAINT_NOSLIP, PAINT_SLIP, PAINT_FLUID, PAINT_INFLOW, PAINT_DYE };
    // The cells painted into the flow since the window opened, in order.
    const std::vector<CellPaint>& paintedCells() const { return paintedLog; }
    // The cells dye was painted into since the window opened, in order.
    const std::vector<DyePaint>& paintedDye() const { return paintedDyeLog; }
    // What an inflow cell painted into the flow gets: its word (direction
    // bits included) and velocity, the editor's.
    void setInflowPaint(int32_t word, double u, double v) { inflowPaint = CellPaint{0, 0, word, u, v}; }
    // The save methods, in the order of the data target's options.
    enum SaveMethod { SAVE_NONE = 0, SAVE_AVI = 1, SAVE_PPM = 2, SAVE_VTK = 3 };
    // Points the chart holds at most before it thins them out.
    static constexpr size_t chartPoints = 2048;
    static constexpr double measureRedrawShare = 0.03;
    static constexpr FXuint dragFollowMilliseconds = 40;

    enum {
        ID_START = FXDialogBox::ID_LAST,
        ID_CANVAS,
        ID_STOP,
        ID_CYCLE,
        ID_RENDER,
        ID_OUTPUT_SIZE,
        ID_VIEW,
        ID_LOCK_RANGE,
        ID_PAUSE,
        ID_STEP,
        ID_SAVE_PICTURE,
        ID_MEASURE,
        ID_PROBES_CHANGED,
        ID_WORKER,
        ID_ZOOM_IN,
        ID_ZOOM_OUT,
        ID_ZOOM_FIT,
        ID_ZOOM_ONE,
        ID_RELEASE_INFLOW,
        ID_EMITTER_TOOL,
        ID_PAINT_TOOL,
        ID_FOLLOW_DRAG,
        ID_LAST
    };

    // Builds every widget and starts the worker, which makes the solver
    // and the image and takes the solver one step past grid.
    CalculateWindow(FXWindow* owner, const Grid* grid, const SolverSettings& settings);
    // The same with forward Euler, the central terms and a fixed time step.
    CalculateWindow(FXWindow* owner, const Grid* grid, double reynolds, double timeStep);
    // Never below the designed size: the window manager is given this as
    // the smallest the window may become.
    virtual FXint getDefaultWidth();
    virtual FXint getDefaultHeight();
    // Image, AVI file, solver and the pending cycle go, then the dialog.
    virtual ~CalculateWindow();

    // Run loop
    long onCmdStart(FXObject*, FXSelector, void*);
    long onCmdStop(FXObject*, FXSelector, void*);
    // The worker has reported.
    long onWorkerReport(FXObject*, FXSelector, void*);
    long onCmdPause(FXObject*, FXSelector, void*);
    long onCmdStep(FXObject*, FXSelector, void*);
    long onCmdSavePicture(FXObject*, FXSelector, void*);
    // Esc and the close box: a running simulation closes only when the user
    // says so; a paused or stopped one at once.
    long onCmdCancel(FXObject*, FXSelector, void*);

    // Canvas
    long onCanvasPaint(FXObject*, FXSelector, void*);
    long onCanvasConfigure(FXObject*, FXSelector, void*);
    // The wheel zooms about the pointer; a middle drag pans, a middle
    // click (press and release without a drag) places a probe there.
    long onCanvasWheel(FXObject*, FXSelector, void*);
    long onCanvasMiddlePress(FXObject*, FXSelector, void*);
    long onCanvasMiddleRelease(FXObject*, FXSelector, void*);
    // During a pan the view is composed again at most every
    // dragFollowMilliseconds, so newly exposed parts fill in while the
    // button is held and the pointer's moves stay cheap.
    long onFollowDrag(FXObject*, FXSelector, void*);
    // Ctrl with +, -, 0 and 1: zoom in and out, Fit, 1:1.
    long onCmdZoom(FXObject*, FXSelector, void*);
    // The left button: with the emitter tool a click places a point
    // emitter, a drag a line emitter, a drag with Shift a timeline released
    // at once; with a paint tool it paints that cell type, pressed and dragged.
    long onCanvasLeftPress(FXObject*, FXSelector, void*);
    long onCanvasMotion(FXObject*, FXSelector, void*);
    long onCanvasLeftRelease(FXObject*, FXSelector, void*);
    long onCmdReleaseInflow(FXObject*, FXSelector, void*);
    long onCmdEmitterTool(FXObject*, FXSelector, void*);
    long onCmdPaintTool(FXObject*, FXSelector, void*);
    // Measure
    long onCmdMeasure(FXObject*, FXSelector, void*);
    // A probe removed in the Measurements window: its mark goes.
    long onProbesChanged(FXObject*, FXSelector, void*);

    // Rendered elements and output size
    long renderFrame(FXObject* = nullptr, FXSelector = 0, void* = nullptr);
    long onCmdOutputSize(FXObject*, FXSelector, void*);
    // View: the list, Lock range and the two range fields
    long onCmdView(FXObject*, FXSelector, void*);
    long onCmdLockRange(FXObject*, FXSelector, void*);

    // Draws the picture on the canvas.
    void presentFrame();
    // The emitters placed in this window, for the editor to keep with the
    // grid once the window has closed.
    const Emitters& placedEmitterList() const { return placedEmitters; }
};
