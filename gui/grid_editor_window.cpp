#include "gui/grid_editor_window.h"

#include "gui/about_fox.h"
#include "gui/calculate_window.h"
#include "gui/decimal_spinner.h"
#include "gui/decimal_text.h"
#include "gui/editor_layout.h"
#include "gui/new_grid.h"
#include "gui/ui_text.h"
#include "gui/window_growth.h"
#include "gui/zoom_keys.h"
#include "gui/window_title.h"

#include <fxkeys.h>

#include <cmath>
#include <optional>

namespace {
// Where the Simulation Properties choices are remembered between sessions.
constexpr const char* registrySection = "Simulation";
// New entry names: the lists' first items became the new defaults, so a
// position remembered under the old names meant another choice.
constexpr const char* convectionEntry = "Method";
constexpr const char* automaticDtEntry = "AutomaticDt";
constexpr const char* pressureEntry = "Pressure";

// The methods the list offers, in its order, the default first; the
// designed terms are left to kelvo-batch.
constexpr Convection offeredSchemes[] = {Convection::RungeKutta, Convection::Central, Convection::UpwindBlended};
constexpr int offeredSchemeTexts[] = {TXT_METHOD_RK3, TXT_CONVECTION_CENTRAL, TXT_CONVECTION_BLENDED};

// The pressure solvers the list offers, in its order.
constexpr PressureSolver offeredSolvers[] = {PressureSolver::Multigrid, PressureSolver::GaussSeidel};
constexpr int offeredSolverTexts[] = {TXT_PRESSURE_MULTIGRID, TXT_PRESSURE_GAUSS_SEIDEL};

// The list's item that the registry remembers; the first for a missing or
// foreign entry.
FXint rememberedItem(FXApp* app, const char* entry, FXint items)
{
    const FXint remembered = app->reg().readIntEntry(registrySection, entry, 0);
    return remembered >= 0 && remembered < items ? remembered : 0;
}

// A list of the given texts that sends ID_SIMULATION_CHOICE, set to the
// remembered item.
template <size_t N>
FXListBox* addChoiceList(FXComposite* page, FXObject* target, const int (&texts)[N], const char* entry)
{
    FXListBox* list = new FXListBox(page, target, GridEditorWindow::ID_SIMULATION_CHOICE,
                                    FRAME_SUNKEN | FRAME_THICK | LISTBOX_NORMAL);
    for (int text : texts)
        list->appendItem(uiText(text));
    list->setNumVisible(N);
    list->setCurrentItem(rememberedItem(page->getApp(), entry, N));
    return list;
}

// The offered value of a list's current item; the first for none.
template <typename Value, size_t N>
Value offeredChoice(const FXListBox* list, const Value (&offered)[N])
{
    const FXint item = list->getCurrentItem();
    return offered[item >= 0 && item < FXint(N) ? item : 0];
}

// Makes the list show value; a value it does not offer leaves it as it is.
template <typename Value, size_t N>
void showOffered(FXListBox* list, const Value (&offered)[N], const std::optional<Value>& value)
{
    for (FXint item = 0; value && item < FXint(N); ++item)
        if (offered[item] == *value)
            list->setCurrentItem(item);
}
}  // namespace

// clang-format off
FXDEFMAP(GridEditorWindow) GridEditorWindowMap[] = {
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_NEW_GRID,    GridEditorWindow::onCmdNewGrid),
    FXMAPFUNC(SEL_PAINT,             GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onPaintCanvas),
    FXMAPFUNC(SEL_CONFIGURE,         GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onConfigureCanvas),
    FXMAPFUNC(SEL_MOTION,            GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onMotion),
    FXMAPFUNC(SEL_LEFTBUTTONPRESS,   GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onLeftPress),
    FXMAPFUNC(SEL_LEFTBUTTONRELEASE, GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onLeftRelease),
    FXMAPFUNC(SEL_RIGHTBUTTONPRESS,  GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onRightPress),
    FXMAPFUNC(SEL_RIGHTBUTTONRELEASE,GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onRightRelease),
    FXMAPFUNC(SEL_MOUSEWHEEL,        GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onMouseWheel),
    FXMAPFUNC(SEL_MIDDLEBUTTONPRESS, GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onMiddlePress),
    FXMAPFUNC(SEL_MIDDLEBUTTONRELEASE,GridEditorWindow::ID_GRID_CANVAS, GridEditorWindow::onMiddleRelease),
    FXMAPFUNCS(SEL_COMMAND,          GridEditorWindow::ID_ZOOM_IN, GridEditorWindow::ID_ZOOM_ONE, GridEditorWindow::onCmdZoom),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_CELL_TOOL,   GridEditorWindow::onCmdCellTool),
    FXMAPFUNC(SEL_UPDATE,            GridEditorWindow::ID_CELL_TOOL,   GridEditorWindow::onUpdCellTool),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_CALCULATE,   GridEditorWindow::onCmdCalculate),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_SAVE_GRID,   GridEditorWindow::onCmdSaveGrid),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_LOAD_GRID,   GridEditorWindow::onCmdLoadGrid),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_ABOUT,       GridEditorWindow::onCmdAbout),
    FXMAPFUNC(SEL_CLOSE,             GridEditorWindow::ID_CLOSE_BOX,   GridEditorWindow::onCmdCloseBox),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_QUIT,        GridEditorWindow::onCmdQuit),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_IMPORT_IMAGE, GridEditorWindow::onCmdImportImage),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_UNDO,        GridEditorWindow::onCmdUndo),
    FXMAPFUNC(SEL_UPDATE,            GridEditorWindow::ID_UNDO,        GridEditorWindow::onUpdUndo),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_REDO,        GridEditorWindow::onCmdRedo),
    FXMAPFUNC(SEL_UPDATE,            GridEditorWindow::ID_REDO,        GridEditorWindow::onUpdRedo),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_DRAW_KIND,   GridEditorWindow::onCmdDrawKind),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_SIMULATION_CHOICE, GridEditorWindow::onCmdSimulationChoice),
    FXMAPFUNC(SEL_UPDATE,            GridEditorWindow::ID_DELTA_TIME,  GridEditorWindow::onUpdDeltaTime),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_DELTA_TIME,  GridEditorWindow::onCmdSetting),
    FXMAPFUNC(SEL_COMMAND,           GridEditorWindow::ID_SETTING,     GridEditorWindow::onCmdSetting),
};
// clang-format on

FXIMPLEMENT(GridEditorWindow, FXMainWindow, GridEditorWindowMap, ARRAYNUMBER(GridEditorWindowMap))

// Main window, bars, canvas, tab book and the start-up grid.
GridEditorWindow::GridEditorWindow(FXApp* app)
    : FXMainWindow(app, uiText(TXT_APP_NAME), nullptr, nullptr, DECOR_ALL & ~DECOR_SHRINKABLE, 0, 0,
                   EditorLayout::windowWidth, EditorLayout::windowHeight)
{
    icons.build(app);
    setMiniIcon(icons.application);
    // The close box ends the program the way Quit does.
    setTarget(this);
    setSelector(ID_CLOSE_BOX);

    buildMenus();
    buildToolBar();
    FXStatusBar* statusBar = new FXStatusBar(this, LAYOUT_SIDE_BOTTOM | LAYOUT_FILL_X);
    // The toolkit's own idle text is English.
    statusBar->getStatusLine()->setNormalText(uiText(TXT_READY));
    statusBar->getStatusLine()->setText(uiText(TXT_READY));
    buildCanvas();
    buildTabBook();
    calcButton = new FXButton(this, uiText(TXT_CALCULATE), nullptr, this, ID_CALCULATE,
                              BUTTON_NORMAL | FRAME_RAISED | FRAME_THICK | LAYOUT_FIX_X |
                                  LAYOUT_FIX_Y | LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                              EditorLayout::calcButtonX, EditorLayout::calcButtonY,
                              EditorLayout::calcButtonWidth, EditorLayout::calcButtonHeight,
                              EditorLayout::buttonPadX, EditorLayout::buttonPadX,
                              EditorLayout::buttonPadY, EditorLayout::buttonPadY);

    // The start-up grid is no step: there is nothing before it.
    model.apply(GridChange::newFluidGrid(model.grid(), EditorRanges::startNX,
                                         EditorRanges::startNY));
    model.apply(GridChange::settingsChange(pageSettings()));
    history.clear(true);
    markSaved();
    paintWord = CELL_SLIP_WALL;
    new FXToolTip(app);
}

// The menu panes and the non-window resources go first.
GridEditorWindow::~GridEditorWindow()
{
    delete fileMenu;
    delete editMenu;
    delete viewMenu;
    delete helpMenu;
    delete glVisual;
    icons.release();
}

// Creates the window and its children, then shows it centred.
void GridEditorWindow::create()
{
    FXMainWindow::create();
    show(PLACEMENT_SCREEN);
}

// Menu bar with a double grip; File menu, and Help at the right end.
void GridEditorWindow::buildMenus()
{
    menuBar = new FXMenuBar(this, LAYOUT_SIDE_TOP | LAYOUT_FILL_X | FRAME_RAISED);
    new FXToolBarGrip(menuBar, nullptr, 0, TOOLBARGRIP_DOUBLE);

    fileMenu = new FXMenuPane(this);
    new FXMenuCommand(fileMenu, uiText(TXT_NEW_GRID), icons.newGrid, this, ID_NEW_GRID);
    new FXMenuSeparator(fileMenu);
    loadCommand = new FXMenuCommand(fileMenu, uiText(TXT_LOAD_GRID), icons.loadGrid, this, ID_LOAD_GRID);
    saveCommand = new FXMenuCommand(fileMenu, uiText(TXT_SAVE_GRID), icons.saveGrid, this, ID_SAVE_GRID);
    new FXMenuCommand(fileMenu, uiText(TXT_IMPORT_IMAGE), nullptr, this, ID_IMPORT_IMAGE);
    new FXMenuSeparator(fileMenu);
    calcCommand = new FXMenuCommand(fileMenu, uiText(TXT_CALCULATE), icons.calculate, this, ID_CALCULATE);
    new FXMenuSeparator(fileMenu);
    new FXMenuCommand(fileMenu, uiText(TXT_ABOUT), icons.about, this, ID_ABOUT);
    new FXMenuCommand(fileMenu, uiText(TXT_QUIT), nullptr, this, ID_QUIT);
    new FXMenuTitle(menuBar, uiText(TXT_FILE_MENU), nullptr, fileMenu);

    editMenu = new FXMenuPane(this);
    undoCommand = new FXMenuCommand(editMenu, uiText(TXT_UNDO), icons.undo, this, ID_UNDO);
    redoCommand = new FXMenuCommand(editMenu, uiText(TXT_REDO), icons.redo, this, ID_REDO);
    new FXMenuTitle(menuBar, uiText(TXT_EDIT_MENU), nullptr, editMenu);
    // Ctrl+Shift+Z redoes too; the menu entries bring Ctrl+Z and Ctrl+Y.
    for (FXuint key : {KEY_z, KEY_Z})
        getAccelTable()->addAccel(MKUINT(key, CONTROLMASK | SHIFTMASK), this,
                                  FXSEL(SEL_COMMAND, ID_REDO));

    buildViewMenu();

    helpMenu = new FXMenuPane(this);
    new FXMenuCommand(helpMenu, uiText(TXT_ABOUT), icons.about, this, ID_ABOUT);
    new FXMenuTitle(menuBar, uiText(TXT_HELP_MENU), nullptr, helpMenu, LAYOUT_RIGHT);
}

// Zoom In, Zoom Out, Fit and 1:1, with the keys of gui/zoom_keys.h.
void GridEditorWindow::buildViewMenu()
{
    viewMenu = new FXMenuPane(this);
    new FXMenuCommand(viewMenu, uiText(TXT_ZOOM_IN), nullptr, this, ID_ZOOM_IN);
    new FXMenuCommand(viewMenu, uiText(TXT_ZOOM_OUT), nullptr, this, ID_ZOOM_OUT);
    new FXMenuSeparator(viewMenu);
    new FXMenuCommand(viewMenu, uiText(TXT_ZOOM_FIT), nullptr, this, ID_ZOOM_FIT);
    new FXMenuCommand(viewMenu, uiText(TXT_ZOOM_ONE), nullptr, this, ID_ZOOM_ONE);
    new FXMenuTitle(menuBar, uiText(TXT_VIEW_MENU), nullptr, viewMenu);
    addZoomKeys(getAccelTable(), this, ID_ZOOM_IN);
}

// The canvas takes the room beyond the designed size; the tab book stays
// at its right, Calculate It centred under it.
void GridEditorWindow::layout()
{
    FXMainWindow::layout();
    using namespace EditorLayout;
    const int dx = getWidth() - windowWidth;
    const int dy = getHeight() - windowHeight;
    placeGrown(canvasFrame, {canvasX, canvasY, canvasWidth, canvasHeight}, Growth::Fill, dx, dy);
    placeGrown(tabBook, {tabBookX, tabBookY, tabBookWidth, 0}, Growth::Right, dx, dy);
    placeGrown(calcButton, {calcButtonX, calcButtonY, calcButtonWidth, calcButtonHeight}, Growth::DownCentred, dx,
               dy);
    syncView();
}

FXint GridEditorWindow::getDefaultWidth()
{
    return FXMAX(FXMainWindow::getDefaultWidth(), EditorLayout::windowWidth);
}

FXint GridEditorWindow::getDefaultHeight()
{
    return FXMAX(FXMainWindow::getDefaultHeight(), EditorLayout::windowHeight);
}

// A flat tool-bar button whose help text also serves as its tooltip.
static FXButton* addToolButton(FXToolBar* bar, int key, FXIcon* icon, FXObject* target,
                               FXSelector id)
{
    FXButton* button = new FXButton(bar, uiText(key), icon, target, id,
                                    BUTTON_TOOLBAR | FRAME_RAISED | ICON_ABOVE_TEXT);
    button->setTipText(button->getHelpText());
    return button;
}

// New, Load, Save; a grip; Calculate; a grip; About.
void GridEditorWindow::buildToolBar()
{
    toolBar = new FXToolBar(this, LAYOUT_SIDE_TOP | LAYOUT_FILL_X | FRAME_RAISED);
    new FXToolBarGrip(toolBar, nullptr, 0, TOOLBARGRIP_SINGLE);
    addToolButton(toolBar, TXT_NEW_TOOL, icons.newGrid, this, ID_NEW_GRID);
    addToolButton(toolBar, TXT_LOAD_TOOL, icons.loadGrid, this, ID_LOAD_GRID);
    saveTool = addToolButton(toolBar, TXT_SAVE_TOOL, icons.saveGrid, this, ID_SAVE_GRID);
    new FXToolBarGrip(toolBar, nullptr, 0, TOOLBARGRIP_SINGLE);
    undoTool = addToolButton(toolBar, TXT_UNDO_TOOL, icons.undo, this, ID_UNDO);
    redoTool = addToolButton(toolBar, TXT_REDO_TOOL, icons.redo, this, ID_REDO);
    new FXToolBarGrip(toolBar, nullptr, 0, TOOLBARGRIP_SINGLE);
    calcTool = addToolButton(toolBar, TXT_CALCULATE_TOOL, icons.calculate, this, ID_CALCULATE);
    new FXToolBarGrip(toolBar, nullptr, 0, TOOLBARGRIP_SINGLE);
    new FXButton(toolBar, FXString::null, icons.about, this, ID_ABOUT,
                 BUTTON_TOOLBAR | FRAME_RAISED);
}

// The canvas in its grooved frame at (2, 55), 600 x 400.
void GridEditorWindow::buildCanvas()
{
    using namespace EditorLayout;
    canvasFrame = new FXVerticalFrame(this,
                                      FRAME_GROOVE | FRAME_THICK | LAYOUT_FIX_X | LAYOUT_FIX_Y |
                                          LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                                      canvasX, canvasY, canvasWidth, canvasHeight,
                                      canvasPadding, canvasPadding, canvasPadding, canvasPadding,
                                      canvasPadding, canvasPadding);
    glVisual = new FXGLVisual(getApp(), VISUAL_DOUBLEBUFFER);
    glCanvas = new FXGLCanvas(canvasFrame, glVisual, this, ID_GRID_CANVAS,
                              LAYOUT_FILL_X | LAYOUT_FILL_Y);
}

// The tab book at (610, 40), 180 wide, with its two pages.
void GridEditorWindow::buildTabBook()
{
    using namespace EditorLayout;
    tabBook = new FXTabBook(this, nullptr, 0,
                            TABBOOK_NORMAL | LAYOUT_FIX_X | LAYOUT_FIX_Y | LAYOUT_FIX_WIDTH,
                            tabBookX, tabBookY, tabBookWidth, 0);
    cellsTab = new FXTabItem(tabBook, FXString::null);
    cellsPage = new FXVerticalFrame(tabBook, FRAME_RAISED | LAYOUT_FILL_X | LAYOUT_FILL_Y);
    cellsTab->setText(uiText(TXT_CELLS_TAB));
    buildCellsPage();
    simTab = new FXTabItem(tabBook, uiText(TXT_SIMULATION_TAB));
    simPage = new FXVerticalFrame(tabBook, FRAME_RAISED | LAYOUT_FILL_X | LAYOUT_FILL_Y);
    buildSimulationPage();
}

// A sunken 60-pixel spinner without a target.
static FXSpinner* addSpinner(FXComposite* parent, int lo, int hi, int value)
{
    FXSpinner* spinner = new FXSpinner(parent, 4, parent->getShell(), GridEditorWindow::ID_SETTING,
                                       SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FIX_WIDTH,
                                       0, 0, EditorLayout::spinnerWidth, 0);
    spinner->setRange(lo, hi);
    spinner->setValue(value);
    return spinner;
}

// The same for a number with decimals: a whole number shows without a
// decimal point, and the value given is kept exactly, whatever fits.
static DecimalSpinner* addDecimalSpinner(FXComposite* parent, double lo, double hi, double value)
{
    DecimalSpinner* spinner =
        new DecimalSpinner(parent, EditorLayout::spinnerWidth, EditorLayout::decimalSpinnerCharacters);
    spinner->setTarget(parent->getShell());
    spinner->setSelector(GridEditorWindow::ID_SETTING);
    spinner->setRange(lo, hi);
    spinner->setValue(value);
    return spinner;
}

// A sunken right-justified text field that sends ID_CELL_TOOL on Enter.
static FXTextField* addToolField(FXComposite* parent, FXObject* target, const char* text)
{
    FXTextField* field = new FXTextField(parent, EditorLayout::fieldColumns, target,
                                         GridEditorWindow::ID_CELL_TOOL,
                                         TEXTFIELD_ENTER_ONLY | FRAME_SUNKEN | FRAME_THICK |
                                             JUSTIFY_RIGHT | LAYOUT_FIX_WIDTH,
                                         0, 0, EditorLayout::fieldWidth, 0);
    field->setText(text);
    return field;
}

// Reynolds number, time step, the two default velocities, the convection
// terms and pressure solver, and last (so that the others keep their places)
// whether the run starts from the grid's own velocities.
void GridEditorWindow::buildSimulationPage()
{
    using namespace EditorRanges;
    new FXLabel(simPage, uiText(TXT_REYNOLDS));
    reynoldsSpinner = addDecimalSpinner(simPage, reynoldsMin, reynoldsMax, reynoldsStart);
    new FXLabel(simPage, uiText(TXT_DELTA_TIME));
    deltaTimeField = addToolField(simPage, this, EditorTexts::deltaTimeStart);
    deltaTimeField->setSelector(ID_DELTA_TIME);
    automaticDtCheck = new FXCheckButton(simPage, uiText(TXT_AUTOMATIC_DT), this, ID_SIMULATION_CHOICE);
    automaticDtCheck->setCheck(getApp()->reg().readIntEntry(registrySection, automaticDtEntry, 0) != 0);
    new FXLabel(simPage, uiText(TXT_DEFAULT_U));
    defaultUSpinner = addSpinner(simPage, defaultVelocityMin, defaultVelocityMax, 0);
    new FXLabel(simPage, uiText(TXT_DEFAULT_V));
    defaultVSpinner = addSpinner(simPage, defaultVelocityMin, defaultVelocityMax, 0);
    new FXLabel(simPage, uiText(TXT_CONVECTION));
    convectionList = addChoiceList(simPage, this, offeredSchemeTexts, convectionEntry);
    new FXLabel(simPage, uiText(TXT_PRESSURE_SOLVER));
    pressureList = addChoiceList(simPage, this, offeredSolverTexts, pressureEntry);
    storedFieldCheck = new FXCheckButton(simPage, uiText(TXT_INITIAL_FIELD), this, ID_SETTING);
    buildScalarSettings();
}

// Every choice is written to the registry as soon as it changes.
long GridEditorWindow::onCmdSimulationChoice(FXObject*, FXSelector, void*)
{
    rememberChoices();
    recordSettings();
    return 1;
}

void GridEditorWindow::rememberChoices()
{
    getApp()->reg().writeIntEntry(registrySection, convectionEntry, convectionList->getCurrentItem());
    getApp()->reg().writeIntEntry(registrySection, automaticDtEntry, automaticDtCheck->getCheck() ? 1 : 0);
    getApp()->reg().writeIntEntry(registrySection, pressureEntry, pressureList->getCurrentItem());
}

long GridEditorWindow::onCmdSetting(FXObject*, FXSelector, void*)
{
    recordSettings();
    return 1;
}

void GridEditorWindow::recordSettings()
{
    const GridSettings page = pageSettings();
    if (sameSettings(page, model.settings()))
        return;
    history.endGroup();
    applyChange(GridChange::settingsChange(page));
}

// Delta Time as showFileSettings writes it.
static FXString deltaTimeText(double dt)
{
    return FXStringFormat("%g", dt);
}

GridSettings GridEditorWindow::pageSettings() const
{
    const GridSettings& model = this->model.settings();
    GridSettings page = model;
    page.file.reynolds = reynoldsSpinner->getValue();
    page.file.defaultU = defaultUSpinner->getValue();
    page.file.defaultV = defaultVSpinner->getValue();
    const FXString dtText = deltaTimeField->getText();
    const std::optional<double> typedDt = readPositiveDecimal(dtText.text());
    if (typedDt && !(model.file.dt && dtText == deltaTimeText(*model.file.dt)))
        page.file.dt = typedDt;
    page.file.convection = offeredChoice(convectionList, offeredSchemes);
    page.file.pressure = offeredChoice(pressureList, offeredSolvers);
    page.file.startsFromStoredField = storedFieldCheck->getCheck() == TRUE;
    readScalarSettings(page);
    return page;
}

void GridEditorWindow::showPageSettings(const GridSettings& settings)
{
    showFileSettings(settings.file);
    showScalarSettings(settings.heat, settings.dye);
}

// Delta Time is not read while the time step is automatic.
long GridEditorWindow::onUpdDeltaTime(FXObject* sender, FXSelector, void*)
{
    const FXSelector command = automaticDtCheck->getCheck() ? ID_DISABLE : ID_ENABLE;
    sender->handle(this, FXSEL(SEL_COMMAND, command), nullptr);
    return 1;
}

SolverSettings GridEditorWindow::chosenSolverSettings() const
{
    SolverSettings settings;
    settings.reynolds = reynoldsSpinner->getValue();
    settings.dt = readDecimal(deltaTimeField->getText().text());
    settings.automaticDt = automaticDtCheck->getCheck() == TRUE;
    settings.convection = offeredChoice(convectionList, offeredSchemes);
    settings.pressure = offeredChoice(pressureList, offeredSolvers);
    return settings;
}

// The spinners clamp (and the whole-number ones round) through their
// setters; a scheme the list does not offer leaves the list as it is.
void GridEditorWindow::showFileSettings(const GridFileSettings& settings)
{
    const GridFileSettings shown = editorSettings(settings);
    reynoldsSpinner->setValue(shown.reynolds);
    defaultUSpinner->setValue(static_cast<FXint>(shown.defaultU));
    defaultVSpinner->setValue(static_cast<FXint>(shown.defaultV));
    if (settings.dt && readPositiveDecimal(deltaTimeField->getText().text()) != settings.dt)
        deltaTimeField->setText(deltaTimeText(*settings.dt));
    showOffered(convectionList, offeredSchemes, settings.convection);
    showOffered(pressureList, offeredSolvers, settings.pressure);
    // A choice of the grid's, not of the window's: a file without it starts
    // from the default velocities.
    storedFieldCheck->setCheck(settings.startsFromStoredField);
}

// "Draw", "Cell Type", "Cell Properties" and "Cell Info", one below the
// other.
void GridEditorWindow::buildCellsPage()
{
    FXHorizontalFrame* drawRow = new FXHorizontalFrame(cellsPage, LAYOUT_FILL_X);
    new FXLabel(drawRow, uiText(TXT_DRAW), nullptr, LABEL_NORMAL | LAYOUT_CENTER_Y);
    drawChoice = new FXListBox(drawRow, this, ID_DRAW_KIND,
                               LISTBOX_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X);
    // In ShapeKind's order.
    for (int key : {TXT_DRAW_CELLS, TXT_DRAW_LINE, TXT_DRAW_RECTANGLE, TXT_DRAW_FILLED_RECTANGLE,
                    TXT_DRAW_FILLED_ELLIPSE, TXT_DRAW_FILL, TXT_DRAW_POLYGON, TXT_DRAW_AIRFOIL})
        drawChoice->appendItem(uiText(key));
    drawChoice->setNumVisible(8);
    typeFrame = new FXVerticalFrame(cellsPage, LAYOUT_FILL_X);
    propFrame = new FXVerticalFrame(cellsPage, LAYOUT_FILL_X);
    infoFrame = new FXVerticalFrame(cellsPage, LAYOUT_FILL_X);
    buildTypeGroup();
    buildPropertiesGroup();
    buildScalarFields();
    buildInfoGroup();
}

// A radio button that sends ID_CELL_TOOL.
static FXRadioButton* addToolRadio(FXComposite* parent, int key, FXObject* target)
{
    return new FXRadioButton(parent, uiText(key), target, GridEditorWindow::ID_CELL_TOOL,
                             RADIOBUTTON_NORMAL);
}

// One tool per type of the cell-type table that has a label, in the table's
// order; "Slip Boundary" checked.
void GridEditorWindow::buildTypeGroup()
{
    typeGroup = new FXGroupBox(typeFrame, uiText(TXT_CELL_TYPE),
                               GROUPBOX_NORMAL | FRAME_GROOVE | LAYOUT_FILL_X);
    typeRadios.clear();
    for (const CellTypeInfo& type : cellTypes()) {
        FXRadioButton* radio = nullptr;
        if (type.toolTextKey != noTextKey) {
            radio = addToolRadio(typeGroup, type.toolTextKey, this);
            radio->setTipText(uiText(type.toolTipKey));
        }
        typeRadios.push_back(radio);
    }
    typeRadio(CELL_SLIP_WALL)->setCheck(TRUE);
}

// The four directions ("East" checked) and the two velocity rows.
void GridEditorWindow::buildPropertiesGroup()
{
    propGroup = new FXGroupBox(propFrame, uiText(TXT_CELL_PROPERTIES),
                               GROUPBOX_NORMAL | FRAME_GROOVE | LAYOUT_FILL_X);
    eastRadio = addToolRadio(propGroup, TXT_EAST, this);
    westRadio = addToolRadio(propGroup, TXT_WEST, this);
    northRadio = addToolRadio(propGroup, TXT_NORTH, this);
    southRadio = addToolRadio(propGroup, TXT_SOUTH, this);
    eastRadio->setCheck(TRUE);

    uRow = new FXHorizontalFrame(propGroup, LAYOUT_FILL_X);
    uField = addToolField(uRow, this, EditorTexts::zeroVelocity);
    uField->setTipText(uiText(TXT_U_FIELD_TIP));
    new FXLabel(uRow, EditorTexts::uRowLabel, nullptr, LABEL_NORMAL | LAYOUT_FIX_WIDTH,
                0, 0, EditorLayout::rowLabelWidth, 0);
    vRow = new FXHorizontalFrame(propGroup, LAYOUT_FILL_X);
    vField = addToolField(vRow, this, EditorTexts::zeroVelocity);
    vField->setTipText(uiText(TXT_V_FIELD_TIP));
    new FXLabel(vRow, EditorTexts::vRowLabel, nullptr, LABEL_NORMAL | LAYOUT_FIX_WIDTH,
                0, 0, EditorLayout::rowLabelWidth, 0);
}

// Four left-justified lines, a blank each until the pointer first moves.
void GridEditorWindow::buildInfoGroup()
{
    infoGroup = new FXGroupBox(infoFrame, uiText(TXT_CELL_INFO),
                               GROUPBOX_NORMAL | FRAME_GROOVE | LAYOUT_FILL_X);
    for (FXLabel** line : {&infoI, &infoJ, &infoU, &infoV})
        *line = new FXLabel(infoGroup, " ", nullptr, LABEL_NORMAL | JUSTIFY_LEFT | LAYOUT_FILL_X);
}

// The tool radio of a type bit; nullptr for a type without a tool.
FXRadioButton* GridEditorWindow::typeRadio(int32_t bits) const
{
    const CellTypeInfo* type = cellTypeByBits(bits);
    return type ? typeRadios[type - cellTypesBegin()] : nullptr;
}

std::vector<FXRadioButton*> GridEditorWindow::toolRadios() const
{
    std::vector<FXRadioButton*> radios;
    for (FXRadioButton* radio : typeRadios)
        if (radio)
            radios.push_back(radio);
    return radios;
}

// The types whose tools are checked: one, as the tools exclude each other.
std::vector<const CellTypeInfo*> GridEditorWindow::checkedTypes() const
{
    std::vector<const CellTypeInfo*> checked;
    for (const CellTypeInfo& type : cellTypes()) {
        FXRadioButton* radio = typeRadios[&type - cellTypesBegin()];
        if (radio && radio->getCheck())
            checked.push_back(&type);
    }
    return checked;
}

// Whether some checked tool's type takes the velocity fields.
bool GridEditorWindow::checkedToolTakesVelocity() const
{
    for (const CellTypeInfo* type : checkedTypes())
        if (type->takesVelocity)
            return true;
    return false;
}

// Whether some checked tool's type has its direction chosen by the
// direction tools.
bool GridEditorWindow::checkedToolChoosesDirection() const
{
    for (const CellTypeInfo* type : checkedTypes())
        if (type->direction == CellDirection::Chosen)
            return true;
    return false;
}

// Checks the chosen radio of a group and unchecks the others.
void GridEditorWindow::selectInGroup(FXObject* chosen, FXRadioButton* const* group, int count)
{
    bool member = false;
    for (int k = 0; k < count; ++k)
        member = member || group[k] == chosen;
    if (!member)
        return;
    for (int k = 0; k < count; ++k)
        group[k]->setCheck(group[k] == chosen);
}

// The direction bit of the checked direction button.
FXint GridEditorWindow::checkedDirection() const
{
    if (westRadio->getCheck()) return DIR_WEST;
    if (northRadio->getCheck()) return DIR_NORTH;
    if (southRadio->getCheck()) return DIR_SOUTH;
    return DIR_EAST;
}

// A tool was chosen, or Enter pressed in a text field: the painted word and
// the velocity fields follow the tools. The painted word holds the type bit
// of every checked tool (one, as the tools exclude each other). A type whose
// direction the tools choose gets the direction's unit velocity; one that
// takes no velocity gets zero; otherwise the fields keep what was typed.
long GridEditorWindow::onCmdCellTool(FXObject* sender, FXSelector, void*)
{
    const std::vector<FXRadioButton*> types = toolRadios();
    FXRadioButton* const directions[] = {eastRadio, westRadio, northRadio, southRadio};
    selectInGroup(sender, types.data(), static_cast<int>(types.size()));
    selectInGroup(sender, directions, 4);

    paintWord = 0;
    for (const CellTypeInfo* type : checkedTypes())
        paintWord |= type->bits;

    using namespace EditorTexts;
    if (checkedToolChoosesDirection()) {
        switch (checkedDirection()) {
        case DIR_WEST:  uField->setText(minusOne);     vField->setText(zeroVelocity); break;
        case DIR_NORTH: uField->setText(zeroVelocity); vField->setText(plusOne);      break;
        case DIR_SOUTH: uField->setText(zeroVelocity); vField->setText(minusOne);     break;
        default:        uField->setText(plusOne);      vField->setText(zeroVelocity); break;
        }
    } else if (!checkedToolTakesVelocity()) {
        uField->setText(zeroVelocity);
        vField->setText(zeroVelocity);
    }
    return 1;
}

// Enables the widgets the checked tools call for, the whole window at once.
long GridEditorWindow::onUpdCellTool(FXObject*, FXSelector, void*)
{
    for (FXRadioButton* radio : toolRadios())
        radio->enable();
    FXWindow* const alwaysOn[] = {uField, vField, calcButton, calcCommand, saveCommand,
                                  calcTool, saveTool, propGroup, typeGroup, infoGroup};
    for (FXWindow* w : alwaysOn)
        w->enable();

    const bool directionsOn = checkedToolChoosesDirection();
    for (FXWindow* w : std::initializer_list<FXWindow*>{eastRadio, westRadio, northRadio, southRadio})
        directionsOn ? w->enable() : w->disable();
    const bool fieldsOn = checkedToolTakesVelocity();
    fieldsOn ? uField->enable() : uField->disable();
    fieldsOn ? vField->enable() : vField->disable();
    return 1;
}

// New Grid: a NewGrid dialog set to the current size; on acceptance an
// all-fluid grid of the chosen size replaces the edited one.
long GridEditorWindow::onCmdNewGrid(FXObject*, FXSelector, void*)
{
    if (!settleUnsavedChanges())
        return 1;
    NewGrid dialog(this);
    const Grid& current = model.grid();
    if (current.NX != 0) {
        dialog.setNX(current.NX);
        dialog.setNY(current.NY);
    }
    if (dialog.execute(PLACEMENT_OWNER)) {
        applyChange(GridChange::newFluidGrid(current, dialog.getNX(), dialog.getNY()));
        // An empty grid has nothing to lose, and no file yet.
        markSaved();
        gridFilePath = FXString::null;
    }
    onCmdCellTool(nullptr, 0, nullptr);
    endDrags();
    return 1;
}

// Calculate It: the default velocities go into the grid, unless it starts
// from its own, then the simulation runs with the settings of the page.
long GridEditorWindow::onCmdCalculate(FXObject*, FXSelector, void*)
{
    endDrags();
    if (!deltaTimeAccepted())
        return 1;
    recordSettings();
    if (!storedFieldCheck->getCheck())
        applyChange(GridChange::defaultVelocities(model.grid(), defaultUSpinner->getValue(),
                                                  defaultVSpinner->getValue()));
    storeScalarSettings();
    runSimulation(chosenSolverSettings());
    endDrags();
    return 1;
}

// A time step of 0 or below would run for ever at time 0, so the run does
// not start; the grid stays as it is.
bool GridEditorWindow::deltaTimeAccepted()
{
    if (automaticDtCheck->getCheck() || readPositiveDecimal(deltaTimeField->getText().text()))
        return true;
    tabBook->setCurrent(1);
    deltaTimeField->setFocus();
    deltaTimeField->selectAll();
    showSettingMessage(uiText(TXT_DELTA_TIME), uiText(TXT_BAD_DELTA_TIME));
    return false;
}

void GridEditorWindow::showSettingMessage(const FXString& caption, const FXString& text)
{
    FXMessageBox::error(this, MBOX_OK, caption.text(), "%s", text.text());
}

// The simulation window, modal over this window, destroyed when closed.
void GridEditorWindow::runSimulation(const SolverSettings& settings)
{
    std::vector<CellPaint> painted;
    std::vector<DyePaint> dye;
    Emitters placed;
    {
        CalculateWindow window(this, &model.grid(), settings);
        const CellPaint inflow = inflowPaint();
        window.setInflowPaint(inflow.word, inflow.u, inflow.v);
        window.execute(PLACEMENT_OWNER);
        painted = window.paintedCells();
        dye = window.paintedDye();
        placed = window.placedEmitterList();
    }
    // Emitters placed while it ran belong to the grid from now on (one
    // undoable change; Save writes them).
    if (!placed.empty()) {
        applyChange(GridChange::addedEmitters(model.grid(), placed));
        endDrags();
    }
    copyPaintedCells(painted);
    copyPaintedDye(dye);
}

CellPaint GridEditorWindow::inflowPaint() const
{
    const int32_t direction = checkedDirection();
    CellPaint inflow{0, 0, CELL_INFLOW | direction};
    if (paintWord & CELL_INFLOW) {
        inflow.u = readDecimal(uField->getText().text());
        inflow.v = readDecimal(vField->getText().text());
        return inflow;
    }
    switch (direction) {
    case DIR_WEST:  inflow.u = -1.0; break;
    case DIR_NORTH: inflow.v = 1.0;  break;
    case DIR_SOUTH: inflow.v = -1.0; break;
    default:        inflow.u = 1.0;  break;
    }
    return inflow;
}

bool GridEditorWindow::askCopyPainted()
{
    return FXMessageBox::question(this, MBOX_YES_NO, uiText(TXT_COPY_PAINTED_TITLE), "%s",
                                  uiText(TXT_COPY_PAINTED)) == MBOX_CLICKED_YES;
}

void GridEditorWindow::copyPaintedCells(const std::vector<CellPaint>& cells)
{
    if (cells.empty() || !askCopyPainted())
        return;
    history.beginGroup();
    for (const CellPaint& cell : cells)
        applyChange(GridChange::paint(cell.i, cell.j, cell.word, cell.u, cell.v));
    history.endGroup();
    glCanvas->update();
}

bool GridEditorWindow::askCopyDye()
{
    return FXMessageBox::question(this, MBOX_YES_NO, uiText(TXT_COPY_DYE_TITLE), "%s", uiText(TXT_COPY_DYE)) ==
           MBOX_CLICKED_YES;
}

void GridEditorWindow::copyPaintedDye(const std::vector<DyePaint>& cells)
{
    if (cells.empty() || !askCopyDye())
        return;
    GridChange change;
    for (const DyePaint& cell : cells) {
        CellEdit dyed{cell.i, cell.j, false, 0, false, 0.0, 0.0};
        dyed.scalars.setsDye = true;
        dyed.scalars.c = 1.0;
        change.cells.push_back(dyed);
    }
    applyChange(std::move(change));
    glCanvas->update();
}

// About: the about box, modal over this window.
long GridEditorWindow::onCmdAbout(FXObject*, FXSelector, void*)
{
    AboutFox about(this);
    about.execute(PLACEMENT_OWNER);
    endDrags();
    return 1;
}

// The close box: the application quits, as with "Quit".
long GridEditorWindow::onCmdCloseBox(FXObject* sender, FXSelector, void* ptr)
{
    return onCmdQuit(sender, FXSEL(SEL_COMMAND, ID_QUIT), ptr);
}

// Quit: unless the user cancels keeping unsaved changes, the application
// quits.
long GridEditorWindow::onCmdQuit(FXObject*, FXSelector, void*)
{
    if (settleUnsavedChanges())
        getApp()->handle(this, FXSEL(SEL_COMMAND, FXApp::ID_QUIT), nullptr);
    return 1;
}

void GridEditorWindow::applyChange(GridChange change)
{
    // A polygon under way belongs to the grid it was begun on.
    if (change.replacement) {
        polygonCorners.clear();
        airfoilDragging = false;
    }
    history.record(model.apply(std::move(change)));
    syncView();
}

void GridEditorWindow::endDrags()
{
    leftDragging = false;
    rightDragging = false;
    shapeDragging = false;
    history.endGroup();
}

SaveAnswer GridEditorWindow::askSaveChanges()
{
    SaveChangesDialog dialog(this);
    return dialog.ask();
}

bool GridEditorWindow::settleUnsavedChanges()
{
    endDrags();
    recordSettings();
    if (!unsaved())
        return true;
    switch (askSaveChanges()) {
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Save: {
        const FXString path = chooseGridFile(FileChoice::Save);
        return !path.empty() && saveGridTo(path);
    }
    default:
        return false;
    }
}

// Edit > Undo and Redo: the canvas and the Simulation page show the grid
// and its settings as they are again. A setting typed but not yet accepted
// is a step first, so that Undo takes it back.
long GridEditorWindow::onCmdUndo(FXObject*, FXSelector, void*)
{
    endDrags();
    recordSettings();
    if (history.undo(model)) {
        showPageSettings(model.settings());
        rememberChoices();  // a choice undone is the one remembered
        syncView();
        glCanvas->update();
    }
    return 1;
}

long GridEditorWindow::onCmdRedo(FXObject*, FXSelector, void*)
{
    endDrags();
    recordSettings();
    if (history.redo(model)) {
        showPageSettings(model.settings());
        rememberChoices();  // a choice undone is the one remembered
        syncView();
        glCanvas->update();
    }
    return 1;
}

// Greys Undo out when there is nothing to undo; the title follows the
// history here too, as this runs whenever the window updates.
long GridEditorWindow::onUpdUndo(FXObject* sender, FXSelector, void*)
{
    sender->handle(this, FXSEL(SEL_COMMAND, history.canUndo() ? ID_ENABLE : ID_DISABLE), nullptr);
    showModifiedInTitle();
    return 1;
}

long GridEditorWindow::onUpdRedo(FXObject* sender, FXSelector, void*)
{
    sender->handle(this, FXSEL(SEL_COMMAND, history.canRedo() ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

void GridEditorWindow::markSaved()
{
    history.markSaved();
}

// A setting typed but not yet accepted counts too.
bool GridEditorWindow::unsaved() const
{
    return history.modified() || !sameSettings(pageSettings(), model.settings());
}

void GridEditorWindow::showModifiedInTitle()
{
    const FXString title = editorWindowTitle(uiText(TXT_APP_NAME), gridFilePath.text(), unsaved()).c_str();
    if (getTitle() != title)
        setTitle(title);
}

// Draw: the list's items are in ShapeKind's order.
long GridEditorWindow::onCmdDrawKind(FXObject*, FXSelector, void*)
{
    endDrags();
    polygonCorners.clear();
    airfoilDragging = false;
    drawKind = static_cast<ShapeKind>(drawChoice->getCurrentItem());
    // The section is asked for as the tool is chosen; cancelled, the last
    // one stays.
    if (drawKind == ShapeKind::Airfoil)
        chooseAirfoil();
    showDrawTip();
    glCanvas->update();
    return 1;
}
