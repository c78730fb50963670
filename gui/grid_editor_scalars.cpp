// The editor's heat and dye: the Temperature field and the dye brush under
// the cell properties, and the numbers of heat and dye on the Simulation
// page, which are settings of the grid like the Reynolds number.
#include "gui/decimal_text.h"
#include "gui/editor_layout.h"
#include "gui/grid_editor_window.h"
#include "gui/ui_text.h"

#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr int gravityTexts[] = {TXT_GRAVITY_DOWN, TXT_GRAVITY_UP, TXT_GRAVITY_WEST, TXT_GRAVITY_EAST};

// Enter in the field accepts its number as a setting.
FXTextField* addNumberField(FXComposite* parent, const std::string& text)
{
    FXTextField* field = new FXTextField(parent, EditorLayout::fieldColumns, parent->getShell(),
                                         GridEditorWindow::ID_SETTING,
                                         FRAME_SUNKEN | FRAME_THICK | JUSTIFY_RIGHT | LAYOUT_FIX_WIDTH, 0, 0,
                                         EditorLayout::fieldWidth + 20, 0);
    field->setText(text.c_str());
    return field;
}

std::string fieldText(double value)
{
    return fittedDecimal(value, EditorLayout::fieldColumns + 2);
}

// A field's number: the model's while the field shows it as fieldText
// writes it or holds no number that reads (positive ones only, when
// positive is set); else the typed one.
double typedOr(const FXTextField* field, double model, bool positive)
{
    const FXString text = field->getText();
    if (text == fieldText(model).c_str())
        return model;
    const std::optional<double> value =
        positive ? readPositiveDecimal(text.text()) : std::optional<double>(readDecimal(text.text()));
    return value && std::isfinite(*value) ? *value : model;
}

}  // namespace

// The temperature field (empty: insulated walls; its tip names it) and the
// dye brush.
void GridEditorWindow::buildScalarFields()
{
    // Beside the velocity rows, so that Cell Info below keeps its place in
    // the window: the temperature right of U, the dye brush right of V.
    temperatureField = new FXTextField(uRow, EditorLayout::fieldColumns, nullptr, 0,
                                       FRAME_SUNKEN | FRAME_THICK | JUSTIFY_RIGHT | LAYOUT_FIX_WIDTH, 0, 0,
                                       EditorLayout::fieldWidth, 0);
    temperatureField->setTipText(uiText(TXT_TEMPERATURE_TIP));
    new FXLabel(uRow, "T", nullptr, LABEL_NORMAL | LAYOUT_FIX_WIDTH, 0, 0, EditorLayout::rowLabelWidth, 0);
    dyeBrushCheck = new FXCheckButton(vRow, uiText(TXT_DYE_BRUSH));
    dyeBrushCheck->setTipText(uiText(TXT_DYE_BRUSH_TIP));
}

// Two columns, label and field, after the solver's settings.
void GridEditorWindow::buildScalarSettings()
{
    FXMatrix* matrix = new FXMatrix(simPage, 2, MATRIX_BY_COLUMNS | LAYOUT_FILL_X);
    const HeatSettings heat;
    const DyeSettings dye;
    new FXLabel(matrix, uiText(TXT_PRANDTL));
    prandtlField = addNumberField(matrix, fieldText(heat.prandtl));
    new FXLabel(matrix, uiText(TXT_RAYLEIGH));
    rayleighField = addNumberField(matrix, fieldText(heat.rayleigh));
    new FXLabel(matrix, uiText(TXT_GRAVITY));
    gravityList = new FXListBox(matrix, this, ID_SETTING, FRAME_SUNKEN | FRAME_THICK | LISTBOX_NORMAL);
    for (int text : gravityTexts)
        gravityList->appendItem(uiText(text));
    gravityList->setNumVisible(4);
    new FXLabel(matrix, uiText(TXT_SCHMIDT));
    schmidtField = addNumberField(matrix, fieldText(dye.schmidt));
    new FXLabel(matrix, uiText(TXT_DYE_BANDS));
    dyeBandSpinner = new FXSpinner(matrix, 4, this, ID_SETTING, SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_FIX_WIDTH,
                                   0, 0, EditorLayout::spinnerWidth, 0);
    dyeBandSpinner->setRange(0, 999);
    dyeBandSpinner->setValue(0);
}

// The dye brush paints dye alone (1 with the left button, 0 with the
// right) and leaves the cell's type; otherwise a typed temperature goes
// with the painted cell: a wall holds it, any other cell starts from it.
// An empty field makes a painted wall insulated once the grid carries heat.
CellEdit GridEditorWindow::withScalars(CellEdit edit, bool erases) const
{
    if (dyeBrushCheck->getCheck()) {
        CellEdit dyeOnly{edit.i, edit.j, false, 0, false, 0.0, 0.0};
        dyeOnly.scalars.setsDye = true;
        dyeOnly.scalars.c = erases ? 0.0 : 1.0;
        return dyeOnly;
    }
    FXString text = temperatureField->getText();
    const bool typed = !text.trim().empty();
    if (!edit.paintsWord || (!typed && !model.grid().scalars.heat))
        return edit;
    const double T = typed ? readDecimal(text.text()) : 0.0;
    edit.scalars.setsTemperature = true;
    edit.scalars.holdsTemperature = typed && !erases && isWall(edit.word);
    edit.scalars.T = std::isfinite(T) ? T : 0.0;
    return edit;
}

// The grid takes the page's heat and dye numbers before it is saved or
// run; no undo step, as the settings' own steps have set them already (the
// dye a band width needs included).
void GridEditorWindow::storeScalarSettings()
{
    const GridSettings& settings = model.settings();
    model.apply(GridChange::scalarSettings(settings.heat, settings.dye));
}

void GridEditorWindow::readScalarSettings(GridSettings& page) const
{
    page.heat.prandtl = typedOr(prandtlField, page.heat.prandtl, true);
    page.heat.rayleigh = typedOr(rayleighField, page.heat.rayleigh, false);
    page.heat.gravity = static_cast<Gravity>(gravityList->getCurrentItem());
    page.dye.schmidt = typedOr(schmidtField, page.dye.schmidt, true);
    page.dye.bandWidth = dyeBandSpinner->getValue();
}

// A field keeps its text while it reads as the number already.
void GridEditorWindow::showScalarSettings(const HeatSettings& heat, const DyeSettings& dye)
{
    const std::pair<FXTextField*, double> fields[] = {
        {prandtlField, heat.prandtl}, {rayleighField, heat.rayleigh}, {schmidtField, dye.schmidt}};
    for (const auto& [field, value] : fields)
        if (readDecimal(field->getText().text()) != value)
            field->setText(fieldText(value).c_str());
    gravityList->setCurrentItem(static_cast<FXint>(heat.gravity));
    dyeBandSpinner->setValue(dye.bandWidth);
}
