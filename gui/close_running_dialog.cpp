#include "gui/close_running_dialog.h"

#include "gui/ui_text.h"

FXIMPLEMENT(CloseRunningDialog, FXDialogBox, nullptr, 0)

// The question above Yes (the default) and No.
CloseRunningDialog::CloseRunningDialog(FXWindow* owner)
    : FXDialogBox(owner, uiText(TXT_CLOSE_RUNNING_TITLE), DECOR_TITLE | DECOR_BORDER | DECOR_CLOSE)
{
    FXVerticalFrame* contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 16, 16, 16, 10);
    new FXLabel(contents, uiText(TXT_CLOSE_RUNNING), nullptr, LABEL_NORMAL);
    new FXHorizontalSeparator(contents, SEPARATOR_GROOVE | LAYOUT_FILL_X);
    FXHorizontalFrame* buttons = new FXHorizontalFrame(contents, LAYOUT_CENTER_X | PACK_UNIFORM_WIDTH);
    const FXuint options = BUTTON_NORMAL | LAYOUT_CENTER_Y;
    FXButton* yes = new FXButton(buttons, uiText(TXT_YES_BUTTON), nullptr, this, ID_ACCEPT,
                                 options | BUTTON_INITIAL | BUTTON_DEFAULT, 0, 0, 0, 0, 12, 12, 4, 4);
    new FXButton(buttons, uiText(TXT_NO_BUTTON), nullptr, this, ID_CANCEL, options, 0, 0, 0, 0, 12, 12, 4, 4);
    yes->setFocus();
}

bool CloseRunningDialog::ask()
{
    return execute(PLACEMENT_OWNER) != 0;
}
