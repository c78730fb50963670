// The real main window with its dialogs' outcomes made observable: the file
// name is given by the test, messages are recorded instead of shown, and the
// simulation run records what it was handed.
#pragma once

#include "gui/grid_editor_window.h"

#include <fx.h>

#include <string>
#include <utility>
#include <vector>

// The one application object of the test program.
FXApp* testApp();

// Runs the event loop until nothing is pending (layout, repaint, updates).
void settle();

class TestEditor : public GridEditorWindow {
public:
    explicit TestEditor(FXApp* app) : GridEditorWindow(app) {}

    FXString nextFile;                                    // "" means cancelled
    std::vector<FileChoice> fileDialogs;                  // every dialog asked for
    std::vector<std::pair<std::string, std::string>> messages;  // caption, text
    std::vector<std::pair<double, double>> simulations;   // Reynolds, time step
    SolverSettings lastSettings;                          // of the last simulation
    SaveAnswer saveAnswer = SaveAnswer::Discard;          // the answer to "Save changes?"
    int saveQuestions = 0;                                // how often it was asked
    FXString nextImage;                                   // "" means cancelled
    int importAcross = 0, importUp = 0;                   // 0: the dialog's own proposal
    int proposedAcross = 0, proposedUp = 0;               // what the dialog proposed

    FXString chooseGridFile(FileChoice choice) override
    {
        fileDialogs.push_back(choice);
        return nextFile;
    }
    void showFileMessage(const FXString& caption, const FXString& text) override
    {
        messages.emplace_back(caption.text(), text.text());
    }
    void showSettingMessage(const FXString& caption, const FXString& text) override
    {
        messages.emplace_back(caption.text(), text.text());
    }
    void runSimulation(const SolverSettings& settings) override
    {
        simulations.emplace_back(settings.reynolds, settings.dt);
        lastSettings = settings;
    }
    SaveAnswer askSaveChanges() override
    {
        ++saveQuestions;
        return saveAnswer;
    }
    FXString chooseImageFile() override { return nextImage; }
    bool copyAnswer = true;                               // the answer to "Copy the painted cells?"
    int copyQuestions = 0;
    bool askCopyPainted() override
    {
        ++copyQuestions;
        return copyAnswer;
    }
    using GridEditorWindow::copyPaintedCells;
    bool copyDyeAnswer = true;                            // the answer to "Copy the painted dye?"
    int copyDyeQuestions = 0;
    bool askCopyDye() override
    {
        ++copyDyeQuestions;
        return copyDyeAnswer;
    }
    using GridEditorWindow::copyPaintedDye;
    bool chooseImportSize(int width, int height, int& across, int& up) override;
    // The airfoil dialog is built and the test's texts typed into it (none:
    // accepted as shown); cancelled when airfoilCancel is set.
    const char* airfoilDigits = nullptr;
    const char* airfoilChord = nullptr;
    const char* airfoilAngle = nullptr;
    bool airfoilCancel = false;
    int airfoilDialogs = 0;                               // how often it was asked
    bool runAirfoilDialog(const AirfoilChoice& shown, AirfoilChoice& typed) override;
    const AirfoilChoice& airfoilChoice() const { return airfoil; }

    // State the tests look at.
    const Grid& editedGrid() const { return model.grid(); }
    const GridSettings& gridSettings() const { return model.settings(); }
    GridSettings shownSettings() const { return pageSettings(); }
    FXint word() const { return paintWord; }
    bool draggingLeft() const { return leftDragging; }
    bool draggingRight() const { return rightDragging; }
    const GridView& gridView() const { return view; }
    FXGLCanvas* canvas() const { return glCanvas; }
    FXVerticalFrame* canvasBox() const { return canvasFrame; }
    const CanvasView& canvasView() const { return navigation.view; }

    // Widgets the tests drive.
    FXRadioButton* move() const { return typeRadio(CELL_MOVING_WALL); }
    FXRadioButton* slip() const { return typeRadio(CELL_SLIP_WALL); }
    FXRadioButton* noSlip() const { return typeRadio(CELL_NOSLIP_WALL); }
    FXRadioButton* inflow() const { return typeRadio(CELL_INFLOW); }
    FXRadioButton* outflow() const { return typeRadio(CELL_OUTFLOW); }
    FXRadioButton* east() const { return eastRadio; }
    FXRadioButton* west() const { return westRadio; }
    FXRadioButton* north() const { return northRadio; }
    FXRadioButton* south() const { return southRadio; }
    FXTextField* uText() const { return uField; }
    FXTextField* vText() const { return vField; }
    FXTextField* deltaTime() const { return deltaTimeField; }
    FXTabBook* tabs() const { return tabBook; }
    DecimalSpinner* reynolds() const { return reynoldsSpinner; }
    FXSpinner* defaultU() const { return defaultUSpinner; }
    FXSpinner* defaultV() const { return defaultVSpinner; }
    FXCheckButton* automaticDt() const { return automaticDtCheck; }
    FXCheckButton* storedField() const { return storedFieldCheck; }
    FXTextField* prandtl() const { return prandtlField; }
    FXTextField* rayleigh() const { return rayleighField; }
    FXListBox* gravity() const { return gravityList; }
    FXTextField* schmidt() const { return schmidtField; }
    FXSpinner* dyeBands() const { return dyeBandSpinner; }
    bool hasUnsavedChanges() const { return unsaved(); }
    FXListBox* convection() const { return convectionList; }
    SolverSettings solverSettings() const { return chosenSolverSettings(); }
    FXListBox* pressure() const { return pressureList; }
    FXLabel* info(int line) const
    {
        FXLabel* const lines[] = {infoI, infoJ, infoU, infoV};
        return lines[line];
    }
    FXButton* calculateButton() const { return calcButton; }
    FXButton* calculateTool() const { return calcTool; }
    FXButton* saveButton() const { return saveTool; }
    FXMenuCommand* calculateCommand() const { return calcCommand; }
    FXMenuCommand* saveGridCommand() const { return saveCommand; }
    FXButton* undoButton() const { return undoTool; }
    FXButton* redoButton() const { return redoTool; }
    FXMenuCommand* undoMenuCommand() const { return undoCommand; }
    FXMenuCommand* redoMenuCommand() const { return redoCommand; }
    // Chooses an entry of "Draw" as the user would.
    void chooseDraw(ShapeKind kind);
    // A key pressed on the window with modifier state (CONTROLMASK...).
    void key(FXuint code, FXuint state);

    // A click on a radio button, as the button itself reports it.
    void choose(FXRadioButton* radio);
    // Enter pressed in a text field holding the given text.
    void enter(FXTextField* field, const char* text);
    // Enter in a field of the Simulation page holding the given text: the
    // field tells its own target, as it does for the user.
    void accept(FXTextField* field, const char* text);
    // A window command such as ID_NEW_GRID.
    void command(FXSelector id);

    // Mouse events on the canvas at pixel (x, y).
    void leftPress(int x, int y);
    void leftRelease(int x, int y, FXuint state = 0);
    void rightPress(int x, int y);
    void rightRelease(int x, int y);
    void motion(int x, int y);
    // The wheel turned by amount (120 a notch, positive away from the user).
    void wheel(int x, int y, int amount);
    void middlePress(int x, int y);
    void middleRelease(int x, int y);
    // A left click: press and release.
    void leftClick(int x, int y);
    // A drag from cell a to cell b, past the cell between, with the left
    // button (released with state) or the right one.
    void drag(int ai, int aj, int bi, int bj, bool right = false, FXuint state = 0);
    // Save Grid As into path, and the grid read back from it.
    Grid savedGrid(const std::string& path);
    // The second click of a double click: a press the display counts as
    // the second, and its release.
    void doubleClick(int x, int y);

    // The canvas pixel at the centre of cell (i, j) as the grid is drawn.
    void cellPixel(int i, int j, int& x, int& y) const;
    // Draws the canvas and reads one pixel back (y downward), 0..255 each.
    void readPixel(int x, int y, int rgb[3]);
};

// Creates, shows and settles a fresh editor window.
TestEditor* openEditor();

// What a dialog showed when the test drove it.
struct DialogOutcome {
    bool seen = false;     // the expected dialog was running modally
    int shownNX = 0;       // NewGrid only: the values it opened with
    int shownNY = 0;
};

// Runs New Grid; while the dialog is open, sets NX and NY and accepts it
// (or cancels it).
DialogOutcome runNewGrid(TestEditor& editor, int nx, int ny, bool accept);

// Runs About and closes the box with its Ok button.
DialogOutcome runAbout(TestEditor& editor);

// Runs the application's event loop while a timeout closes the editor with
// its close box; returns the loop's exit code (7 when the loop had to be
// stopped because the close did not end it). closed tells whether the
// toolkit closed and deleted the window.
int runLoopAndCloseBox(TestEditor& editor, bool& closed);
