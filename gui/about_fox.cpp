#include "gui/about_fox.h"

#include "gui/editor_layout.h"
#include "gui/icon_set.h"
#include "gui/ui_text.h"

FXIMPLEMENT(AboutFox, FXDialogBox, nullptr, 0)

// Border and close box only, no title bar; 300 x 305; no padding.
AboutFox::AboutFox(FXWindow* owner)
    : FXDialogBox(owner, uiText(TXT_GRID_PROPERTIES), DECOR_BORDER | DECOR_CLOSE,
                  0, 0, EditorLayout::aboutWidth, EditorLayout::aboutHeight,
                  0, 0, 0, 0, 0, 4)
{
    picture = makeAboutPicture(getApp());
    contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y,
                                   0, 0, 0, 0, 4, 4, 4, 4, 4, 4);
    new FXLabel(contents, FXString::null, picture,
                FRAME_SUNKEN | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXHorizontalSeparator(contents, SEPARATOR_GROOVE | LAYOUT_FILL_X, 0, 0, 0, 0, 1, 1, 0, 0);
    okButton = new FXButton(contents, EditorTexts::okButton, nullptr, this, ID_ACCEPT,
                            BUTTON_NORMAL | FRAME_RAISED | FRAME_THICK | LAYOUT_CENTER_X,
                            0, 0, 0, 0, EditorLayout::buttonPadX, EditorLayout::buttonPadX,
                            EditorLayout::buttonPadY, EditorLayout::buttonPadY);
    // Tips show through the main window's tooltip, which serves every window.
}

// The picture is not a child window: it goes with the box.
AboutFox::~AboutFox()
{
    delete picture;
}
