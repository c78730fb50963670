// The program's main window: the edited grid on an OpenGL canvas, the cell
// tools and simulation properties in a tab book, the commands New Grid,
// Load Grid, Save Grid As, Import Image, Calculate It, About and Quit, and
// Undo and Redo of every change to the grid.
#pragma once

#include "core/cell_types.h"
#include "core/flow_solver.h"
#include "core/grid.h"
#include "gui/airfoil_dialog.h"
#include "gui/cell_texture.h"
#include "gui/decimal_spinner.h"
#include "gui/canvas_navigation.h"
#include "gui/edit_history.h"
#include "gui/grid_edit_model.h"
#include "gui/grid_view.h"
#include "sim/simulation_run.h"
#include "gui/icon_set.h"
#include "gui/save_changes_dialog.h"
#include "gui/shape_cells.h"
#include "io/grid_file.h"

#include <fx.h>
#include <fx3d.h>

#include <initializer_list>
#include <memory>
#include <vector>

// The editor's grid fills 95% of the canvas when fitted, as it always has;
// zooming goes up to 64 pixels a cell.
constexpr ViewLimits editorViewLimits{0.95, 64.0};

class GridEditorWindow : public FXMainWindow {
    FXDECLARE(GridEditorWindow)
protected:
    GridEditorWindow() {}
private:
    GridEditorWindow(const GridEditorWindow&);
    GridEditorWindow& operator=(const GridEditorWindow&);

protected:
    FXTabBook* tabBook = nullptr;              // the tab book on the right
    FXTabItem* cellsTab = nullptr;             // "Cells"
    FXVerticalFrame* cellsPage = nullptr;
    FXTabItem* simTab = nullptr;               // "Simulation Properties"
    FXVerticalFrame* simPage = nullptr;
    FXMenuBar* menuBar = nullptr;
    FXToolBar* toolBar = nullptr;
    FXMenuPane* fileMenu = nullptr;            // owned, deleted by the destructor
    FXMenuPane* helpMenu = nullptr;            // owned, deleted by the destructor
    FXMenuPane* editMenu = nullptr;            // owned, deleted by the destructor
    FXMenuPane* viewMenu = nullptr;            // owned, deleted by the destructor
    FXMenuCommand* undoCommand = nullptr;      // Edit menu entries that onUpd enables
    FXMenuCommand* redoCommand = nullptr;
    FXButton* undoTool = nullptr;              // tool bar Undo and Redo
    FXButton* redoTool = nullptr;
    FXListBox* drawChoice = nullptr;           // "Draw": cells, shapes or fill
    FXVerticalFrame* infoFrame = nullptr;      // frames of the three groups
    FXVerticalFrame* typeFrame = nullptr;
    FXVerticalFrame* propFrame = nullptr;
    FXHorizontalFrame* uRow = nullptr;         // uField and its label
    FXHorizontalFrame* vRow = nullptr;         // vField and its label
    FXGroupBox* infoGroup = nullptr;           // "Cell Info"
    FXGroupBox* typeGroup = nullptr;           // "Cell Type"
    FXGroupBox* propGroup = nullptr;           // "Cell Properties"
    FXTextField* uField = nullptr;             // x velocity the left button paints
    FXTextField* vField = nullptr;             // y velocity the left button paints
    FXLabel* infoI = nullptr;                  // the four lines of "Cell Info"
    FXLabel* infoJ = nullptr;
    FXLabel* infoU = nullptr;
    FXLabel* infoV = nullptr;
    FXButton* calcButton = nullptr;            // the large "Calculate It"
    FXButton* calcTool = nullptr;              // tool bar Calculate
    FXButton* saveTool = nullptr;              // tool bar Save
    FXVerticalFrame* canvasFrame = nullptr;    // holds the canvas
    FXGLVisual* glVisual = nullptr;            // double-buffered, owned
    FXGLCanvas* glCanvas = nullptr;            // the editing canvas
    CanvasNavigation navigation{editorViewLimits}; // zoom and pan of the grid's cells
    GridView view;                             // the grid's place on the canvas, from navigation
    CellTexture cellTexture;                   // the cells as the canvas shows them
    std::vector<FXRadioButton*> typeRadios;    // the cell-type tools, one per row of
                                               // the cell-type table, null for a type
                                               // without a tool
    FXRadioButton* eastRadio = nullptr;        // direction tools
    FXRadioButton* westRadio = nullptr;
    FXRadioButton* northRadio = nullptr;
    FXRadioButton* southRadio = nullptr;
    FXMenuCommand* calcCommand = nullptr;      // File menu entries that onUpd enables
    FXMenuCommand* loadCommand = nullptr;
    FXMenuCommand* saveCommand = nullptr;
    FXint paintWord = CELL_SLIP_WALL;          // what the left button paints
    GridEditModel model;                       // the edited grid and its changes
    EditHistory history;                       // undo and redo of the model's changes
    FXString gridFilePath;                     // the file the grid was loaded from or
                                               // saved to; empty when it has none
    ShapeKind drawKind = ShapeKind::Cells;     // what the mouse draws
    bool shapeDragging = false;                // a shape is being dragged out
    bool shapeErases = false;                  // ...with the right button
    CellIndex shapeStart{0, 0};                // the shape's corners, as dragged
    CellIndex shapeEnd{0, 0};
    bool leftDragging = false;                 // a left-button drag is painting
    bool rightDragging = false;                // a right-button drag is painting
    CellIndex strokeLast{0, 0};                // the pointer's cell at the stroke's last
                                               // event, on the grid or past its edge
    DecimalSpinner* reynoldsSpinner = nullptr; // "Dimensionless Reynolds Number", decimals allowed
    FXTextField* deltaTimeField = nullptr;     // "Delta Time"
    FXSpinner* defaultUSpinner = nullptr;      // "Default U velocity"
    FXSpinner* defaultVSpinner = nullptr;      // "Default V velocity"
    FXCheckButton* automaticDtCheck = nullptr; // "Automatic" beside Delta Time
    FXListBox* convectionList = nullptr;       // "Convection": Central, Upwind-blended
    FXListBox* pressureList = nullptr;         // "Pressure solver": Gauss-Seidel, Multigrid
    FXCheckButton* storedFieldCheck = nullptr; // "Initial field from the file": keep the grid's u, v
    // Heat and dye (gui/grid_editor_scalars.cpp).
    FXTextField* temperatureField = nullptr;   // painted walls hold it, inflow brings it; empty: insulated
    FXCheckButton* dyeBrushCheck = nullptr;    // the left button paints dye, the right one clears it
    FXTextField* prandtlField = nullptr;
    FXTextField* rayleighField = nullptr;
    FXListBox* gravityList = nullptr;          // down, up, west, east
    FXTextField* schmidtField = nullptr;
    FXSpinner* dyeBandSpinner = nullptr;       // inflow dye bands, cells; 0 none
    IconSet icons;                             // owned
    // Bodies with exact outlines (gui/grid_editor_bodies.cpp).
    std::vector<OutlinePoint> polygonCorners;  // the Polygon tool's corners so far, domain units
    AirfoilChoice airfoil;                     // the Airfoil tool's section
    bool airfoilDragging = false;              // a chord is being dragged
    OutlinePoint airfoilLeading;               // ...from this leading edge

    // The tool radio of a type bit; nullptr for a type without a tool.
    FXRadioButton* typeRadio(int32_t bits) const;

    // Which file dialog to run.
    enum class FileChoice { Save, Load };

    // The file the user chose in the Save or Load dialog; empty if cancelled.
    virtual FXString chooseGridFile(FileChoice choice);
    // Shows a grid-file failure in a modal message box.
    virtual void showFileMessage(const FXString& caption, const FXString& text);
    // Shows a setting that cannot be run in a modal message box.
    virtual void showSettingMessage(const FXString& caption, const FXString& text);
    // Whether Delta Time can be run (or is not used); if not, says so with
    // the field shown and focused.
    bool deltaTimeAccepted();
    // The solver settings the Simulation Properties page shows.
    SolverSettings chosenSolverSettings() const;
    // Heat and dye: the Temperature field and the dye brush under the cell
    // properties, the numbers on the Simulation page, a paint edit with
    // what they add, and the numbers into and out of the grid.
    void buildScalarFields();
    void buildScalarSettings();
    CellEdit withScalars(CellEdit edit, bool erases) const;
    void storeScalarSettings();
    void readScalarSettings(GridSettings& page) const;
    void showScalarSettings(const HeatSettings& heat, const DyeSettings& dye);

    // The settings as the page shows them. A field whose text does not read
    // as a number its setting takes, or reads as the model's number written
    // out, holds the model's number, so that neither rounding in the field
    // nor a half-typed text counts as a change.
    GridSettings pageSettings() const;
    // The page shows the settings.
    void showPageSettings(const GridSettings& settings);
    // A change on the page as one undo step; nothing when the page shows
    // the model's settings.
    void recordSettings();
    // Writes the Simulation page's choices to the registry for the next start.
    void rememberChoices();
    // Shows a loaded file's settings; those it does not store stay as they are.
    void showFileSettings(const GridFileSettings& settings);
    // The simulation window's modal run over this window.
    virtual void runSimulation(const SolverSettings& settings);
    // Whether the cells painted into the flow go into the grid.
    virtual bool askCopyPainted();
    // The painted cells into the grid as one undo step, when the user says so.
    void copyPaintedCells(const std::vector<CellPaint>& cells);
    // Whether the dye painted into the flow goes into the grid.
    virtual bool askCopyDye();
    // Dye painted into the flow into the grid's starting dye (c = 1, the
    // cells' types kept, as the dye brush paints) as one undo step, when
    // the user says so.
    void copyPaintedDye(const std::vector<DyePaint>& cells);
    // What an inflow cell painted into the flow gets: the inflow word with
    // the checked direction, and the velocity fields while the inflow tool is
    // chosen, else the direction's unit velocity.
    CellPaint inflowPaint() const;
    // "Save changes to the grid?", asked when the grid differs from its file.
    virtual SaveAnswer askSaveChanges();
    // The picture file to import; empty if cancelled.
    virtual FXString chooseImageFile();
    // The grid size for a picture of width x height pixels; false if cancelled.
    virtual bool chooseImportSize(int width, int height, int& across, int& up);

    // The Airfoil tool's dialog showing shown; false if cancelled, else
    // typed holds its fields.
    virtual bool runAirfoilDialog(const AirfoilChoice& shown, AirfoilChoice& typed);
    // Asks for the section; one the digits do not give is reported and
    // changes nothing.
    void chooseAirfoil();
    // The point of the domain under the pointer, pulled onto the grid.
    OutlinePoint domainPointUnderPointer(const FXEvent* event) const;
    // A press or release with Polygon or Airfoil chosen; false for the
    // other tools.
    bool pressBody(const FXEvent* event, bool erases);
    bool releaseBody(const FXEvent* event, bool erases);
    // The polygon so far or the dragged section, over the grid.
    void drawBodyPreview(const FXEvent* event);
    // A Filled Ellipse let go with the No Slip Boundary keeps its outline.
    bool ellipseKeepsOutline(bool erases) const;
    BodyOutline ellipseBody(CellIndex a, CellIndex b) const;
    // The section dragged from leading to trailing (or clicked, when the two
    // lie closer than half a cell: the dialog's chord and angle).
    bool airfoilBody(OutlinePoint leading, OutlinePoint trailing, BodyOutline& outline, AirfoilChoice& used) const;
    // A body with its outline and cells as one undo step; the body under
    // a point taken away again.
    void addBody(const BodyOutline& outline);
    void removeBodyAt(OutlinePoint at);
    // The polygon closed into a body (when it encloses an area) and ended.
    void closePolygon();
    // The Draw list's tip: what the chosen tool does.
    void showDrawTip();

    // Applies a change to the grid and records it for undo.
    void applyChange(GridChange change);
    // True when the grid may be replaced or the program end: nothing is
    // unsaved, or the user saved it or chose to discard it.
    bool settleUnsavedChanges();
    // Writes the grid and its settings to path; reports a failure.
    bool saveGridTo(const FXString& path);
    // The grid and its settings are what the file holds now.
    void markSaved();
    // The grid or one of its settings differs from the file.
    bool unsaved() const;
    // The file's name and the program's in the title, with "*" while the
    // grid differs from its file.
    void showModifiedInTitle();
    // Load Grid and Import Image once the file is chosen.
    void loadGridFrom(const FXString& path);
    void importImageFrom(const FXString& path);
    // The pointer's cell for a shape: on the grid, clamped to its edge.
    CellIndex shapeCellUnderPointer(const FXEvent* event) const;
    // The far corner of the dragged shape, square or at 45° with Shift.
    CellIndex shapeCorner(const FXEvent* event) const;
    // Paints (or erases to fluid) the listed cells as one change.
    void paintCells(const std::vector<CellIndex>& cells, bool erases);
    // A button press or release with a shape or Fill chosen; false when
    // the cell tool handles it.
    bool pressShape(const PickedCell& cell, bool erases, FXObject* sender, FXSelector sel, void* ptr);
    bool releaseShape(bool erases, void* ptr);
    // Ends a stroke or a shape in progress.
    void endDrags();

    // The canvas view follows the canvas's size and the grid's (a grid of
    // another size is fitted), and view follows the canvas view.
    void syncView();
    // Places the growing children: the canvas takes the room beyond the
    // designed size, the tab book moves right, Calculate It down.
    virtual void layout();

private:
    // Construction, one part of the window each.
    void buildMenus();
    void buildViewMenu();
    void buildToolBar();
    void buildCanvas();
    void buildTabBook();
    void buildSimulationPage();
    void buildCellsPage();
    void buildTypeGroup();
    void buildPropertiesGroup();
    void buildInfoGroup();

    // Checks the chosen radio of a group and unchecks the others.
    void selectInGroup(FXObject* chosen, FXRadioButton* const* group, int count);
    // The tool radios that exist, in the table's order.
    std::vector<FXRadioButton*> toolRadios() const;
    // The table rows of the checked tools, and whether one of them takes the
    // velocity fields or has its direction chosen by the direction tools.
    std::vector<const CellTypeInfo*> checkedTypes() const;
    bool checkedToolTakesVelocity() const;
    bool checkedToolChoosesDirection() const;
    // The direction bit of the checked direction button.
    FXint checkedDirection() const;
    // Paints the current tool into cell (i, j), with the fields' velocity.
    void paintToolCell(FXint i, FXint j);
    // A drag's stroke on to the pointer's cell: every grid cell on the way
    // from the last one painted (or erased to rest), the pointer's included.
    void continueStroke(CellIndex to);
    // The pointer's cell of an event, also past the grid's edges.
    CellIndex strokeCellUnderPointer(const FXEvent* event) const;
    // The cell under the pointer of a canvas event; not on the grid when the
    // canvas has no area.
    PickedCell cellUnderPointer(const FXEvent* event) const;
    // Fills the "Cell Info" lines for cell (i, j).
    void showCellInfo(FXint i, FXint j);
    // One line of "Cell Info" with a velocity, red when not zero.
    void showVelocityLine(FXLabel* label, int key, double value);
    // Takes a loaded grid and its settings into the window.
    void adoptLoadedGrid(std::unique_ptr<Grid> loaded, const GridFileSettings& settings);

public:
    enum {
        ID_NEW_GRID = FXMainWindow::ID_LAST,
        ID_GRID_CANVAS,
        ID_CELL_TOOL,
        ID_CALCULATE,
        ID_LOAD_GRID,
        ID_SAVE_GRID,
        ID_ABOUT,
        ID_CLOSE_BOX,
        ID_UNDO,
        ID_REDO,
        ID_QUIT,
        ID_IMPORT_IMAGE,
        ID_DRAW_KIND,
        ID_SIMULATION_CHOICE,
        ID_DELTA_TIME,
        ID_ZOOM_IN,
        ID_ZOOM_OUT,
        ID_ZOOM_FIT,
        ID_ZOOM_ONE,
        ID_SETTING,
        ID_LAST
    };

    // Builds every widget and the 40 x 20 start-up grid.
    explicit GridEditorWindow(FXApp* app);
    // Deletes the menu panes, the visual and the icons, then the window.
    virtual ~GridEditorWindow();
    // Never below the designed size: the window manager is given this as
    // the smallest the window may become.
    virtual FXint getDefaultWidth();
    virtual FXint getDefaultHeight();
    // Creates the window and shows it centred on the screen.
    virtual void create();
    // A file named on the command line: a picture is imported as Import
    // Image does, anything else loaded as a grid file; a failure is
    // reported as Load reports it and leaves the grid as it is.
    void openFile(const FXString& path);

    // File menu
    long onCmdNewGrid(FXObject*, FXSelector, void*);
    long onCmdLoadGrid(FXObject*, FXSelector, void*);
    long onCmdSaveGrid(FXObject*, FXSelector, void*);
    long onCmdCalculate(FXObject*, FXSelector, void*);
    long onCmdAbout(FXObject*, FXSelector, void*);
    long onCmdCloseBox(FXObject*, FXSelector, void*);
    long onCmdQuit(FXObject*, FXSelector, void*);
    long onCmdImportImage(FXObject*, FXSelector, void*);

    // Edit menu
    long onCmdUndo(FXObject*, FXSelector, void*);
    long onCmdRedo(FXObject*, FXSelector, void*);
    long onUpdUndo(FXObject*, FXSelector, void*);
    long onUpdRedo(FXObject*, FXSelector, void*);
    long onCmdDrawKind(FXObject*, FXSelector, void*);
    long onCmdSimulationChoice(FXObject*, FXSelector, void*);
    long onUpdDeltaTime(FXObject*, FXSelector, void*);
    // A setting accepted on the Simulation page (Enter, an arrow, a choice).
    long onCmdSetting(FXObject*, FXSelector, void*);

    // Cell tools
    long onCmdCellTool(FXObject*, FXSelector, void*);
    long onUpdCellTool(FXObject*, FXSelector, void*);

    // Canvas
    long onPaintCanvas(FXObject*, FXSelector, void*);
    long onConfigureCanvas(FXObject*, FXSelector, void*);
    long onLeftPress(FXObject*, FXSelector, void*);
    long onLeftRelease(FXObject*, FXSelector, void*);
    long onRightPress(FXObject*, FXSelector, void*);
    long onRightRelease(FXObject*, FXSelector, void*);
    long onMotion(FXObject*, FXSelector, void*);
    // The wheel zooms about the pointer; a middle-button drag pans.
    long onMouseWheel(FXObject*, FXSelector, void*);
    long onMiddlePress(FXObject*, FXSelector, void*);
    long onMiddleRelease(FXObject*, FXSelector, void*);

    // View menu: zoom in and out about the canvas's centre, Fit, 1:1.
    long onCmdZoom(FXObject*, FXSelector, void*);
};
