#include "gui/airfoil_dialog.h"

#include "core/body_outline.h"
#include "gui/decimal_text.h"
#include "gui/ui_text.h"

#include <cmath>

FXIMPLEMENT(AirfoilDialog, FXDialogBox, nullptr, 0)

namespace {

constexpr int labelWidth = 190;
constexpr int fieldColumns = 8;

FXTextField* addRow(FXComposite* parent, int key, const FXString& text)
{
    FXHorizontalFrame* row = new FXHorizontalFrame(parent, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXLabel(row, uiText(key), nullptr, LABEL_NORMAL | JUSTIFY_LEFT | LAYOUT_FIX_WIDTH, 0, 0, labelWidth, 0);
    FXTextField* field = new FXTextField(row, fieldColumns, nullptr, 0, TEXTFIELD_NORMAL | LAYOUT_RIGHT);
    field->setText(text);
    return field;
}

}  // namespace

bool airfoilChoiceValid(const AirfoilChoice& choice)
{
    BodyOutline probe;
    return std::isfinite(choice.angle) && std::isfinite(choice.chord)
           && nacaOutline(choice.digits, {0.0, 0.0}, choice.chord, choice.angle, 4, probe);
}

AirfoilDialog::AirfoilDialog(FXWindow* owner, const AirfoilChoice& choice)
    : FXDialogBox(owner, uiText(TXT_AIRFOIL_TITLE), DECOR_TITLE | DECOR_BORDER | DECOR_CLOSE)
{
    FXVerticalFrame* contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    digitsField = addRow(contents, TXT_NACA_DIGITS, choice.digits.c_str());
    chordField = addRow(contents, TXT_CHORD, FXStringFormat("%g", choice.chord));
    angleField = addRow(contents, TXT_ANGLE_OF_ATTACK, FXStringFormat("%g", choice.angle));
    new FXLabel(contents, uiText(TXT_AIRFOIL_HINT), nullptr, LABEL_NORMAL | JUSTIFY_LEFT);
    new FXHorizontalSeparator(contents, SEPARATOR_GROOVE | LAYOUT_FILL_X);
    FXHorizontalFrame* buttons = new FXHorizontalFrame(contents, LAYOUT_RIGHT | PACK_UNIFORM_WIDTH);
    new FXButton(buttons, uiText(TXT_OK_BUTTON), nullptr, this, ID_ACCEPT,
                 BUTTON_NORMAL | BUTTON_INITIAL | BUTTON_DEFAULT, 0, 0, 0, 0, 12, 12, 4, 4);
    new FXButton(buttons, uiText(TXT_CANCEL_BUTTON), nullptr, this, ID_CANCEL, BUTTON_NORMAL, 0, 0, 0, 0, 12, 12,
                 4, 4);
}

AirfoilChoice AirfoilDialog::choice() const
{
    AirfoilChoice typed;
    typed.digits = digitsField->getText().trim().text();
    typed.chord = readDecimal(chordField->getText().text());
    typed.angle = readDecimal(angleField->getText().text());
    return typed;
}
