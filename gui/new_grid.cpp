#include "gui/new_grid.h"

#include "gui/editor_layout.h"
#include "gui/ui_text.h"

FXIMPLEMENT(NewGrid, FXDialogBox, nullptr, 0)

// Title bar, close box, border, resizable, window menu; 220 x 150.
NewGrid::NewGrid(FXWindow* owner)
    : FXDialogBox(owner, uiText(TXT_GRID_PROPERTIES),
                  DECOR_TITLE | DECOR_CLOSE | DECOR_BORDER | DECOR_RESIZE | DECOR_MENU,
                  0, 0, EditorLayout::newGridWidth, EditorLayout::newGridHeight,
                  10, 2, 10, 0, 0, 4)
{
    using namespace EditorRanges;
    contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y,
                                   0, 0, 0, 0, 4, 4, 4, 4, 4, 4);
    gridSizeGroup = new FXGroupBox(contents, uiText(TXT_GRID_SIZE),
                                   GROUPBOX_NORMAL | FRAME_GROOVE | LAYOUT_FILL_X | LAYOUT_FILL_Y,
                                   0, 0, 0, 0, 4, 4, 4, 4, 4, 4);
    nxSpinner = addSizeRow(nxRow, TXT_NX, nxMin, nxMax, startNX);
    nySpinner = addSizeRow(nyRow, TXT_NY, nyMin, nyMax, startNY);
    createButton = new FXButton(contents, uiText(TXT_CREATE_GRID), nullptr, this, ID_ACCEPT,
                                BUTTON_NORMAL | FRAME_RAISED | FRAME_THICK | LAYOUT_FILL_X,
                                0, 0, 0, 0, EditorLayout::buttonPadX, EditorLayout::buttonPadX,
                                EditorLayout::buttonPadY, EditorLayout::buttonPadY);
    createButton->setTipText(uiText(TXT_CREATE_GRID));
    // Tips show through the main window's tooltip, which serves every window.
}

// A row: the right-justified label, 100 wide, then a sunken 60-pixel spinner.
FXSpinner* NewGrid::addSizeRow(FXHorizontalFrame*& row, int labelKey, int lo, int hi, int value)
{
    row = new FXHorizontalFrame(gridSizeGroup, LAYOUT_FILL_X);
    new FXLabel(row, uiText(labelKey), nullptr,
                JUSTIFY_RIGHT | LAYOUT_CENTER_Y | LAYOUT_FIX_WIDTH,
                0, 0, EditorLayout::newGridLabelWidth, 0);
    FXSpinner* spinner = new FXSpinner(row, 4, nullptr, 0,
                                       SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK |
                                           LAYOUT_CENTER_Y | LAYOUT_FIX_WIDTH,
                                       0, 0, EditorLayout::spinnerWidth, 0);
    spinner->setRange(lo, hi);
    spinner->setValue(value);
    return spinner;
}

// The rows, the group and the frame go first, then the dialog.
NewGrid::~NewGrid()
{
    delete nxRow;
    delete nyRow;
    delete gridSizeGroup;
    delete contents;
}

// Sets the NX spinner (clamped).
void NewGrid::setNX(int nx)
{
    nxSpinner->setValue(nx);
}

// Sets the NY spinner (clamped).
void NewGrid::setNY(int ny)
{
    nySpinner->setValue(ny);
}

// The NX spinner's value.
int NewGrid::getNX() const
{
    return nxSpinner->getValue();
}

// The NY spinner's value.
int NewGrid::getNY() const
{
    return nySpinner->getValue();
}
