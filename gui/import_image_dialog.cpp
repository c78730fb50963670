#include "gui/import_image_dialog.h"

#include "core/image_cells.h"
#include "gui/ui_text.h"

#include <algorithm>

FXDEFMAP(ImportImageDialog) ImportImageDialogMap[] = {
    FXMAPFUNC(SEL_COMMAND, ImportImageDialog::ID_ACROSS, ImportImageDialog::onCmdAcross),
    FXMAPFUNC(SEL_CHANGED, ImportImageDialog::ID_ACROSS, ImportImageDialog::onCmdAcross),
    FXMAPFUNC(SEL_COMMAND, ImportImageDialog::ID_UP, ImportImageDialog::onCmdUp),
    FXMAPFUNC(SEL_CHANGED, ImportImageDialog::ID_UP, ImportImageDialog::onCmdUp),
};
FXIMPLEMENT(ImportImageDialog, FXDialogBox, ImportImageDialogMap, ARRAYNUMBER(ImportImageDialogMap))

namespace {
constexpr int startAcross = 120;

FXSpinner* addCellsRow(FXComposite* parent, int key, FXObject* target, FXSelector id, int maxCells)
{
    FXHorizontalFrame* row = new FXHorizontalFrame(parent, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXLabel(row, uiText(key), nullptr, LABEL_NORMAL | JUSTIFY_LEFT | LAYOUT_FIX_WIDTH, 0, 0, 140, 0);
    FXSpinner* spinner = new FXSpinner(row, 4, target, id,
                                       SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_RIGHT);
    spinner->setRange(ImportImageDialog::minCells, maxCells);
    return spinner;
}
}  // namespace

ImportImageDialog::ImportImageDialog(FXWindow* owner, FXint width, FXint height)
    : FXDialogBox(owner, uiText(TXT_IMPORT_TITLE), DECOR_TITLE | DECOR_BORDER | DECOR_CLOSE),
      imageWidth(width), imageHeight(height)
{
    FXVerticalFrame* contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    acrossSpinner = addCellsRow(contents, TXT_CELLS_ACROSS, this, ID_ACROSS, maxAcross);
    upSpinner = addCellsRow(contents, TXT_CELLS_UP, this, ID_UP, maxUp);
    keepAspect = new FXCheckButton(contents, uiText(TXT_KEEP_ASPECT));
    keepAspect->setCheck(TRUE);
    new FXHorizontalSeparator(contents, SEPARATOR_GROOVE | LAYOUT_FILL_X);
    FXHorizontalFrame* buttons = new FXHorizontalFrame(contents, LAYOUT_RIGHT | PACK_UNIFORM_WIDTH);
    new FXButton(buttons, uiText(TXT_IMPORT_BUTTON), nullptr, this, ID_ACCEPT,
                 BUTTON_NORMAL | BUTTON_INITIAL | BUTTON_DEFAULT, 0, 0, 0, 0, 12, 12, 4, 4);
    new FXButton(buttons, uiText(TXT_CANCEL_BUTTON), nullptr, this, ID_CANCEL, BUTTON_NORMAL,
                 0, 0, 0, 0, 12, 12, 4, 4);
    setAcross(std::clamp<int>(std::min<int>(width, startAcross), minCells, maxAcross));
}

void ImportImageDialog::setAcross(int cells)
{
    acrossSpinner->setValue(cells);
    onCmdAcross(nullptr, 0, nullptr);
}

void ImportImageDialog::setUp(int cells)
{
    upSpinner->setValue(cells);
    onCmdUp(nullptr, 0, nullptr);
}

long ImportImageDialog::onCmdAcross(FXObject*, FXSelector, void*)
{
    if (keepAspect->getCheck())
        upSpinner->setValue(std::max(minCells, static_cast<int>(cellsUpForAspect(
                                                   across(), imageWidth, imageHeight, maxUp))));
    return 1;
}

long ImportImageDialog::onCmdUp(FXObject*, FXSelector, void*)
{
    if (keepAspect->getCheck())
        acrossSpinner->setValue(std::max(minCells, static_cast<int>(cellsUpForAspect(
                                                       up(), imageHeight, imageWidth, maxAcross))));
    return 1;
}
