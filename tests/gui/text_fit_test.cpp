// Every text of every window shows whole at the toolkit's own font: each
// label, button, check box, radio button, tab and group title is given at
// least the room its text needs, on every tab page, in the language this
// program is built with (the test is built once per language).
#include "core/grid.h"
#include "gui/calculate_window.h"
#include "gui/editor_layout.h"
#include "gui/grid_editor_window.h"
#include "gui/airfoil_dialog.h"
#include "gui/import_image_dialog.h"
#include "gui/measure_window.h"
#include "gui/new_grid.h"
#include "gui/save_changes_dialog.h"
#include "gui/ui_text.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Whether the window lies wholly inside its parent, its parent's parent
// and so on up to the top window: a part outside them is cut off.
bool insideAncestors(FXWindow* window)
{
    FXint left = window->getX(), top = window->getY();
    FXint right = left + window->getWidth(), bottom = top + window->getHeight();
    for (FXWindow* parent = window->getParent(); parent && !window->isMemberOf(FXMETACLASS(FXTopWindow));
         window = parent, parent = parent->getParent()) {
        if (left < 0 || top < 0 || right > parent->getWidth() || bottom > parent->getHeight())
            return false;
        left += parent->getX();
        right += parent->getX();
        top += parent->getY();
        bottom += parent->getY();
    }
    return true;
}

// Whether the window overlaps a shown sibling, which would hide part of it
// (tab items are left out: the current one is meant to overlap its page).
bool overlapsSibling(FXWindow* window)
{
    if (dynamic_cast<FXTabItem*>(window))
        return false;
    for (FXWindow* other = window->getParent()->getFirst(); other; other = other->getNext()) {
        if (other == window || !other->shown() || dynamic_cast<FXTabItem*>(other))
            continue;
        if (window->getX() < other->getX() + other->getWidth() && other->getX() < window->getX() + window->getWidth() &&
            window->getY() < other->getY() + other->getHeight() && other->getY() < window->getY() + window->getHeight())
            return true;
    }
    return false;
}

// Why the text of a label (buttons, check and radio buttons and tab items
// among them) or group box is cut off: less room than its default size, a
// part outside its parents, or a sibling over it; "" when it shows whole.
std::string whyCut(FXWindow* window)
{
    if (window->getDefaultWidth() > window->getWidth() || window->getDefaultHeight() > window->getHeight())
        return "needs " + std::to_string(window->getDefaultWidth()) + " x " +
               std::to_string(window->getDefaultHeight()) + ", has " + std::to_string(window->getWidth()) + " x " +
               std::to_string(window->getHeight());
    if (!insideAncestors(window))
        return "reaches out of its parents";
    if (overlapsSibling(window))
        return "overlaps a sibling";
    return "";
}

// The texts under window that are cut off, and why; a status line counts
// when its text is wider than its room. Only shown windows count: a hidden
// tab page is looked at with its tab.
void collectCutTexts(FXWindow* window, std::vector<std::string>& cut)
{
    for (FXWindow* child = window->getFirst(); child; child = child->getNext()) {
        if (!child->shown())
            continue;
        FXString text;
        std::string why;
        if (FXLabel* label = dynamic_cast<FXLabel*>(child)) {
            text = label->getText();
            why = whyCut(label);
        } else if (FXGroupBox* group = dynamic_cast<FXGroupBox*>(child)) {
            text = group->getText();
            why = whyCut(group);
        } else if (FXStatusLine* status = dynamic_cast<FXStatusLine*>(child)) {
            text = status->getNormalText();
            const FXint room = status->getWidth() - status->getPadLeft() - status->getPadRight();
            if (status->getFont()->getTextWidth(text) > room)
                why = "wider than the status line";
        }
        if (!why.empty())
            cut.push_back(std::string(child->getClassName()) + " '" + text.text() + "' " + why);
        collectCutTexts(child, cut);
    }
}

// The cut texts of a shown, laid-out top window; "" when there are none.
std::string cutTexts(FXTopWindow* window)
{
    settle();
    window->layout();
    settle();
    std::vector<std::string> cut;
    collectCutTexts(window, cut);
    std::string all;
    for (const std::string& line : cut)
        all += line + "\n";
    return all;
}

// The window created and shown over the screen.
template <typename Window>
void showWindow(Window& window)
{
    window.create();
    window.show(PLACEMENT_SCREEN);
    settle();
}

// The editor with test access to its tab book.
class OpenEditor : public GridEditorWindow {
public:
    explicit OpenEditor(FXApp* app) : GridEditorWindow(app) {}
    FXTabBook* tabs() const { return tabBook; }
};

}  // namespace

TEST(TextsFit, EditorOnEveryTab)
{
    OpenEditor editor(testApp());
    showWindow(editor);
    const FXint tabCount = editor.tabs()->numChildren() / 2;
    ASSERT_GE(tabCount, 2);
    for (FXint tab = 0; tab < tabCount; ++tab) {
        editor.tabs()->setCurrent(tab);
        EXPECT_EQ(cutTexts(&editor), "") << "tab " << tab;
    }
    // The status line speaks this program's language.
    FXStatusBar* statusBar = nullptr;
    for (FXWindow* child = editor.getFirst(); child; child = child->getNext())
        if (!statusBar)
            statusBar = dynamic_cast<FXStatusBar*>(child);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(statusBar->getStatusLine()->getNormalText(), uiText(TXT_READY));
}

TEST(TextsFit, Dialogs)
{
    FXMainWindow owner(testApp(), "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 200, 100);
    showWindow(owner);
    NewGrid newGrid(&owner);
    showWindow(newGrid);
    EXPECT_EQ(cutTexts(&newGrid), "") << "New Grid";
    ImportImageDialog import(&owner, 60, 24);
    showWindow(import);
    EXPECT_EQ(cutTexts(&import), "") << "Import Image";
    SaveChangesDialog saveChanges(&owner);
    showWindow(saveChanges);
    EXPECT_EQ(cutTexts(&saveChanges), "") << "Save Changes";
    AirfoilDialog airfoil(&owner, AirfoilChoice{});
    showWindow(airfoil);
    EXPECT_EQ(cutTexts(&airfoil), "") << "Airfoil";
}

TEST(TextsFit, SimulationWindow)
{
    FXMainWindow owner(testApp(), "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 200, 100);
    showWindow(owner);
    Grid grid;
    makeFluidGrid(grid, 40, 20);
    // The line above the canvas names the scheme and the pressure solver:
    // every pair of names must fit.
    for (Convection scheme : {Convection::Central, Convection::UpwindBlended})
        for (PressureSolver solver : {PressureSolver::GaussSeidel, PressureSolver::Multigrid}) {
            SolverSettings settings;
            settings.convection = scheme;
            settings.pressure = solver;
            CalculateWindow window(&owner, &grid, settings);
            showWindow(window);
            EXPECT_EQ(cutTexts(&window), "") << static_cast<int>(scheme) << " " << static_cast<int>(solver);
        }
}

TEST(TextsFit, MeasureWindowWithAProbe)
{
    FXMainWindow owner(testApp(), "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 200, 100);
    showWindow(owner);
    Grid grid;
    makeFluidGrid(grid, 40, 20);
    for (int32_t i = 0; i < grid.NX; ++i) {
        grid.setCell(i, 0, CELL_NOSLIP_WALL);
        grid.setCell(i, grid.NY - 1, CELL_NOSLIP_WALL);
    }
    grid.setCell(10, 10, CELL_NOSLIP_WALL);
    MeasureLog log(grid, 100);
    log.addProbe({1.25, 0.5}, grid);
    ChartHistory chart(16);
    MeasureWindow window(&owner, &log, &chart);
    showWindow(window);
    EXPECT_EQ(cutTexts(&window), "");
}


namespace {
// Every label's text (buttons and check boxes are labels too), every
// tooltip, and the file list's column headers under window.
void collectTexts(FXWindow* window, std::vector<std::string>& texts)
{
    for (FXWindow* child = window->getFirst(); child; child = child->getNext()) {
        if (FXLabel* label = dynamic_cast<FXLabel*>(child)) {
            texts.push_back(label->getText().text());
            texts.push_back(label->getTipText().text());
        }
        if (FXFileList* list = dynamic_cast<FXFileList*>(child))
            for (FXint k = 0; k < list->getNumHeaders(); ++k)
                texts.push_back(list->getHeaderText(k).text());
        collectTexts(child, texts);
    }
}

bool shows(const std::vector<std::string>& texts, const char* text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}
}  // namespace

// The toolkit's file dialog at the size the program opens it: its labels,
// buttons, tooltips and column headers in the program's language, whole.
TEST(TextsFit, FileDialogInTheProgramsLanguage)
{
    FXMainWindow owner(testApp(), "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 200, 100);
    showWindow(owner);
    FXFileDialog dialog(&owner, EditorTexts::loadTitle, 0, 0, 0, EditorLayout::fileDialogWidth,
                        EditorLayout::fileDialogHeight);
    showWindow(dialog);
    std::vector<std::string> texts;
    collectTexts(&dialog, texts);
#ifdef KELVO_UI_POLISH
    const char* const expected[] = {"Katalog:", "Nazwa pliku:", "Filtr plików:", "OK", "Anuluj", "Katalog wyżej",
                                    "Nazwa", "Rozmiar"};
    const char* const foreign[] = {"Directory:", "File Name:", "File Filter:", "Cancel", "Go up one directory",
                                   "Name", "Size"};
#else
    const char* const expected[] = {"Directory:", "File Name:", "File Filter:", "OK", "Cancel",
                                    "Go up one directory", "Name", "Size"};
    const char* const foreign[] = {"Katalog:", "Nazwa pliku:", "Anuluj"};
#endif
    for (const char* text : expected)
        EXPECT_TRUE(shows(texts, text)) << text;
    for (const char* text : foreign)
        EXPECT_FALSE(shows(texts, text)) << text;
    EXPECT_EQ(cutTexts(&dialog), "");
}
