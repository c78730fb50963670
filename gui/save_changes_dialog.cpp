#include "gui/save_changes_dialog.h"

#include "gui/ui_text.h"

FXDEFMAP(SaveChangesDialog) SaveChangesDialogMap[] = {
    FXMAPFUNC(SEL_COMMAND, SaveChangesDialog::ID_SAVE, SaveChangesDialog::onCmdAnswer),
    FXMAPFUNC(SEL_COMMAND, SaveChangesDialog::ID_DISCARD, SaveChangesDialog::onCmdAnswer),
};
FXIMPLEMENT(SaveChangesDialog, FXDialogBox, SaveChangesDialogMap, ARRAYNUMBER(SaveChangesDialogMap))

// The question above three buttons; Save is the default.
SaveChangesDialog::SaveChangesDialog(FXWindow* owner)
    : FXDialogBox(owner, uiText(TXT_UNSAVED_TITLE), DECOR_TITLE | DECOR_BORDER | DECOR_CLOSE)
{
    FXVerticalFrame* contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y,
                                                    0, 0, 0, 0, 16, 16, 16, 10);
    new FXLabel(contents, uiText(TXT_SAVE_CHANGES), nullptr, LABEL_NORMAL);
    new FXHorizontalSeparator(contents, SEPARATOR_GROOVE | LAYOUT_FILL_X);
    FXHorizontalFrame* buttons = new FXHorizontalFrame(contents, LAYOUT_CENTER_X | PACK_UNIFORM_WIDTH);
    const FXuint options = BUTTON_NORMAL | LAYOUT_CENTER_Y;
    FXButton* save = new FXButton(buttons, uiText(TXT_SAVE_BUTTON), nullptr, this, ID_SAVE,
                                  options | BUTTON_INITIAL | BUTTON_DEFAULT, 0, 0, 0, 0, 12, 12, 4, 4);
    new FXButton(buttons, uiText(TXT_DISCARD_BUTTON), nullptr, this, ID_DISCARD, options,
                 0, 0, 0, 0, 12, 12, 4, 4);
    new FXButton(buttons, uiText(TXT_CANCEL_BUTTON), nullptr, this, ID_CANCEL, options,
                 0, 0, 0, 0, 12, 12, 4, 4);
    save->setFocus();
}

long SaveChangesDialog::onCmdAnswer(FXObject*, FXSelector sel, void*)
{
    const SaveAnswer answer = FXSELID(sel) == ID_SAVE ? SaveAnswer::Save : SaveAnswer::Discard;
    getApp()->stopModal(this, static_cast<FXint>(answer));
    hide();
    return 1;
}

SaveAnswer SaveChangesDialog::ask()
{
    const FXuint code = execute(PLACEMENT_OWNER);
    if (code == static_cast<FXuint>(SaveAnswer::Save))
        return SaveAnswer::Save;
    if (code == static_cast<FXuint>(SaveAnswer::Discard))
        return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}
