#include "gui/decimal_spinner.h"

#include "gui/decimal_text.h"

// clang-format off
FXDEFMAP(DecimalSpinner) DecimalSpinnerMap[] = {
    FXMAPFUNC(SEL_COMMAND, FXRealSpinner::ID_ENTRY, DecimalSpinner::onCmdEntry),
};
// clang-format on

FXIMPLEMENT(DecimalSpinner, FXRealSpinner, DecimalSpinnerMap, ARRAYNUMBER(DecimalSpinnerMap))

namespace {
// No room left of the text: numbers stand right-justified, so a whole one
// sits where an integer spinner's would, and a digit more fits.
constexpr FXint textPadLeft = 0;
}  // namespace

DecimalSpinner::DecimalSpinner(FXComposite* parent, FXint width, FXint characters)
    : FXRealSpinner(parent, characters, nullptr, 0,
                    REALSPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FIX_WIDTH, 0, 0, width, 0,
                    textPadLeft),
      shownCharacters(characters)
{
}

// The toolkit writes six significant digits, which may not fit.
void DecimalSpinner::setValue(FXdouble value, FXbool notify)
{
    FXRealSpinner::setValue(value, notify);
    showFitted();
}

long DecimalSpinner::onCmdEntry(FXObject* sender, FXSelector sel, void* ptr)
{
    FXRealSpinner::onCmdEntry(sender, sel, ptr);
    showFitted();
    return 1;
}

// Measured in pixels once the field has its size and font, else counted in
// characters.
void DecimalSpinner::showFitted()
{
    const FXint room = textField->getWidth() - textField->getPadLeft() - textField->getPadRight() -
                       2 * textField->getBorderWidth();
    const FXFont* font = textField->getFont();
    const bool measured = textField->id() != 0 && font && font->id() != 0 && room > 0;
    const std::string text =
        measured ? fittedDecimal(getValue(),
                                 [font, room](const std::string& t) {
                                     return font->getTextWidth(t.c_str(), FXuint(t.size())) <= room;
                                 })
                 : fittedDecimal(getValue(), shownCharacters);
    textField->setText(FXString(text.c_str()));
    // Every digit, for when the field has rounded them.
    const std::string exact = fittedDecimal(getValue(), [](const std::string&) { return true; });
    setTipText(FXString(exact.c_str()));
}
