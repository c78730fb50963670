// CalculateWindow: the dialog in which a simulation runs and is watched. It
// builds its own solver from the edited grid, shows the FrameImage on an
// OpenGL canvas, and runs cycles as idle-time chores between Start and Stop,
// rendering and saving every n-th one.
#pragma once

#include "render/compose_frame.h"
#include "sim/frame_saving.h"
#include "core/grid.h"
#include "sim/simulation_run.h"

#include <fx.h>
#include <fx3d.h>

#include <memory>

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
    FXLabel* cycleLabel = nullptr;            // cycleCount after each cycle
    bool pendingCycle = false;                // a cycle chore is scheduled
    FXVerticalFrame* canvasFrame = nullptr;   // holds the canvas
    FXGLVisual* glVisual = nullptr;           // double-buffered; owned
    FXGLCanvas* glCanvas = nullptr;           // shows the FrameImage
    FXGroupBox* renderGroup = nullptr;        // "Rendered Elements"
    FXVerticalFrame* renderButtons = nullptr; // the frame of its six buttons
    FXCheckButton* showBoundaryCells = nullptr;
    FXCheckButton* showStreamlines = nullptr;
    FXCheckButton* showUField = nullptr;
    FXCheckButton* showVField = nullptr;
    FXCheckButton* showPressure = nullptr;
    FXCheckButton* showVectors = nullptr;
    FXGroupBox* saveGroup = nullptr;          // "Save Method"
    FXRadioButton* savePpm = nullptr;
    FXRadioButton* saveAvi = nullptr;
    FXRadioButton* saveNone = nullptr;
    FXint saveMethod = 0;                     // which radio is checked (SaveMethod)
    FXDataTarget saveTarget;                  // keeps the radios exclusive
    FXGroupBox* intervalGroup = nullptr;      // "Save Frame Interval"
    FXSpinner* intervalSpinner = nullptr;     // frame every n cycles, read every cycle
    FXGroupBox* sizeGroup = nullptr;          // "Output Size"
    FXSpinner* sizeSpinner = nullptr;         // pixels per cell edge
    FXLabel* widthLabel = nullptr;            // "Width: " and W
    FXLabel* heightLabel = nullptr;           // "Height: " and H
    FXint outputSize = 0;                     // pixels per cell edge, 1..15
    std::unique_ptr<SimulationRun> run;       // solver and the two counters; owned
    double Re = 0.0;                          // kept for rebuilding the solver
    double dt = 0.0;
    const Grid* grid = nullptr;               // the editor's grid; not owned
    FXIcon* windowIcon = nullptr;             // owned
    FXToolTip* toolTip = nullptr;             // owned

    // The AVI file name the user chooses; empty when cancelled.
    virtual FXString chooseAviFileName();
    // Tells the user that a frame file could not be written.
    virtual void showFrameWriteFailure(const FXString& path);

    // Construction, one part of the window each.
    void buildCanvasAndButtons();
    void buildRenderGroup();
    void buildSaveGroup();
    void buildIntervalGroup();
    void buildSizeGroup();

    // Schedules the next cycle, replacing a pending one.
    void scheduleCycle();
    // Removes the pending cycle, if any.
    void cancelCycle();
    // Enables the controls that Start disables, Start itself, and disables
    // Stop: the Idle state.
    void enterIdleControls();
    // The six check buttons as the render pass reads them.
    RenderElements checkedElements() const;
    // What the current save method writes.
    FrameSaving frameSaving() const;
    // Renders, presents and saves one frame; false when saving failed.
    bool renderAndSaveFrame(int32_t index);
    // Ends the run as Stop does after a frame could not be saved, then tells
    // the user once.
    void stopAfterSaveFailure(const FrameSaveResult& result);
    // "Width: W" and "Height: H".
    void showFrameSize();
    // Allocates the FrameImage at outputSize x NX by outputSize x NY.
    void allocateImage();

public:
    // The save methods, in the order of the data target's options.
    enum SaveMethod { SAVE_NONE = 0, SAVE_AVI = 1, SAVE_PPM = 2 };

    enum {
        ID_START = FXDialogBox::ID_LAST,
        ID_CANVAS,
        ID_STOP,
        ID_CYCLE,
        ID_RENDER,
        ID_OUTPUT_SIZE,
        ID_LAST
    };

    // Builds every widget, the solver (one step past grid) and the image.
    CalculateWindow(FXWindow* owner, const Grid* grid, FXint reynolds, double timeStep);
    // Image, AVI file, solver and the pending cycle go, then the dialog.
    virtual ~CalculateWindow();

    // Run loop
    long onCmdStart(FXObject*, FXSelector, void*);
    long onCmdStop(FXObject*, FXSelector, void*);
    long onChoreCycle(FXObject*, FXSelector, void*);

    // Canvas
    long onCanvasPaint(FXObject*, FXSelector, void*);
    long onCanvasConfigure(FXObject*, FXSelector, void*);

    // Rendered elements and output size
    long renderFrame(FXObject* = nullptr, FXSelector = 0, void* = nullptr);
    long onCmdOutputSize(FXObject*, FXSelector, void*);

    // Draws the FrameImage on the canvas.
    void presentFrame();
};

// Shows the AVI messages in message boxes and asks for the compressor with
// the dialog: what the windowed program installs before a simulation window
// opens.
void installWindowedAviHooks();
