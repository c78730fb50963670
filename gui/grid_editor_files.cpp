// Grid files in the editor: Save Grid As, Load Grid and Import Image.
#include "gui/grid_editor_window.h"

#include "gui/editor_layout.h"
#include "gui/file_names.h"
#include "gui/grid_directory.h"
#include "gui/image_file.h"
#include "gui/import_image_dialog.h"
#include "io/grid_file.h"
#include "platform/picture_file.h"
#include "gui/ui_text.h"

// Folder of the example grids of an installed program, seen from the
// folder of the program itself.
#ifndef KELVO_INSTALLED_GRIDS
#define KELVO_INSTALLED_GRIDS "../share/kelvo/Grids"
#endif

// The Save or Load file dialog: 500 x 300, "*.grid", starting in ./Grids
// (or, without one, in the installed examples or the working directory),
// modal at the cursor.
FXString GridEditorWindow::chooseGridFile(FileChoice choice)
{
    const bool saving = choice == FileChoice::Save;
    FXFileDialog dialog(this, saving ? EditorTexts::saveTitle : EditorTexts::loadTitle,
                        0, 0, 0, EditorLayout::fileDialogWidth, EditorLayout::fileDialogHeight);
    dialog.setSelectMode(saving ? SELECTFILE_ANY : SELECTFILE_EXISTING);
    dialog.setPatternList(EditorTexts::gridPattern);
    const std::string start = gridDialogDirectory(
        saving ? GridDirectoryUse::Save : GridDirectoryUse::Load, EditorTexts::gridDirectory,
        installedGridsFolder(KELVO_INSTALLED_GRIDS));
    dialog.setDirectory(FXPath::absolute(start.c_str()));
    if (!dialog.execute(PLACEMENT_CURSOR))
        return FXString::null;
    return dialog.getFilename();
}

// A modal error box with one OK button, owned by this window.
void GridEditorWindow::showFileMessage(const FXString& caption, const FXString& text)
{
    FXMessageBox::error(this, MBOX_OK, caption.text(), "%s", text.text());
}

// Save Grid As: the grid and its settings into the chosen file; a
// file that cannot be written is reported and any old file stays as it was.
long GridEditorWindow::onCmdSaveGrid(FXObject*, FXSelector, void*)
{
    endDrags();
    const FXString path = chooseGridFile(FileChoice::Save);
    if (!path.empty())
        saveGridTo(path);
    return 1;
}

// A saved grid is the state the title's "*" compares with. A name typed
// without an extension gets ".grid", so that Load's filter shows the file.
bool GridEditorWindow::saveGridTo(const FXString& typed)
{
    const FXString path = withDefaultExtension(typed.text(), EditorTexts::gridExtension).c_str();
    recordSettings();
    storeScalarSettings();
    if (!saveGridFile(path.text(), model.grid(), model.settings().file)) {
        const char* phrase = uiText(TXT_CANNOT_ACCESS);
        showFileMessage(phrase, FXStringFormat(EditorTexts::cannotAccessFormat, phrase,
                                               path.text()));
        return false;
    }
    markSaved();
    gridFilePath = path;
    return true;
}

// Load Grid: the chosen file's grid and settings replace the window's; a
// file that cannot be read or is not a grid file is reported and changes
// nothing.
long GridEditorWindow::onCmdLoadGrid(FXObject*, FXSelector, void*)
{
    if (!settleUnsavedChanges())
        return 1;
    const FXString path = chooseGridFile(FileChoice::Load);
    if (!path.empty())
        loadGridFrom(path);
    return 1;
}

void GridEditorWindow::loadGridFrom(const FXString& path)
{
    auto loaded = std::make_unique<Grid>();
    GridFileSettings settings;
    const GridFileStatus status = readGridFile(path.text(), *loaded, settings);
    if (status == GridFileStatus::CannotOpen) {
        const char* phrase = uiText(TXT_CANNOT_ACCESS);
        showFileMessage(phrase, FXStringFormat(EditorTexts::cannotAccessFormat, phrase, path.text()));
    } else if (status == GridFileStatus::NotValid) {
        const char* phrase = uiText(TXT_NOT_VALID);
        showFileMessage(phrase, FXStringFormat(EditorTexts::notValidFormat, phrase, path.text()));
    } else {
        adoptLoadedGrid(std::move(loaded), settings);
        gridFilePath = path;
    }
}

// The window shows the file's settings; the grid replaces the edited one,
// and the settings the page shows now come with it in the same step. The
// file's own numbers stay exact, however the fields round them.
void GridEditorWindow::adoptLoadedGrid(std::unique_ptr<Grid> loaded, const GridFileSettings& settings)
{
    showFileSettings(settings);
    showScalarSettings(loaded->scalars.heatSettings, loaded->scalars.dyeSettings);
    GridSettings adopted = pageSettings();
    if (settings.dt)
        adopted.file.dt = settings.dt;
    adopted.heat = loaded->scalars.heatSettings;
    adopted.dye = loaded->scalars.dyeSettings;
    GridChange change = GridChange::loadedGrid(std::move(loaded));
    change.settings = adopted;
    applyChange(std::move(change));
    markSaved();
}

// The Import dialog, in the folder of the grid files as Load's is.
FXString GridEditorWindow::chooseImageFile()
{
    FXFileDialog dialog(this, uiText(TXT_IMPORT_TITLE), 0, 0, 0, EditorLayout::fileDialogWidth,
                        EditorLayout::fileDialogHeight);
    dialog.setSelectMode(SELECTFILE_EXISTING);
    dialog.setPatternList(picturePatternList);
    const std::string start = gridDialogDirectory(GridDirectoryUse::Load, EditorTexts::gridDirectory,
                                                  installedGridsFolder(KELVO_INSTALLED_GRIDS));
    dialog.setDirectory(FXPath::absolute(start.c_str()));
    if (!dialog.execute(PLACEMENT_CURSOR))
        return FXString::null;
    return dialog.getFilename();
}

bool GridEditorWindow::chooseImportSize(int width, int height, int& across, int& up)
{
    ImportImageDialog dialog(this, width, height);
    if (!dialog.execute(PLACEMENT_OWNER))
        return false;
    across = dialog.across();
    up = dialog.up();
    return true;
}

// Import Image: the picture becomes a new grid of the chosen size, one step
// of the history; the grid has no file yet, so it counts as unsaved.
long GridEditorWindow::onCmdImportImage(FXObject*, FXSelector, void*)
{
    if (!settleUnsavedChanges())
        return 1;
    const FXString path = chooseImageFile();
    if (!path.empty())
        importImageFrom(path);
    return 1;
}

void GridEditorWindow::importImageFrom(const FXString& path)
{
    RgbPixels pixels;
    if (!readImagePixels(path, pixels)) {
        const char* phrase = uiText(TXT_NOT_IMAGE);
        showFileMessage(phrase, FXStringFormat(EditorTexts::notValidFormat, phrase, path.text()));
        return;
    }
    int across = 0, up = 0;
    if (!chooseImportSize(pixels.width, pixels.height, across, up))
        return;
    auto imported = std::make_unique<Grid>();
    gridFromImage(*imported, pixels, across, up);
    imported->aux1 = model.grid().aux1;
    imported->aux2 = model.grid().aux2;
    applyChange(GridChange::loadedGrid(std::move(imported)));
    gridFilePath = FXString::null;
    glCanvas->update();
}

// The grid starts out unchanged, so nothing can be lost here.
void GridEditorWindow::openFile(const FXString& path)
{
    if (isPictureFileName(path.text()))
        importImageFrom(path);
    else
        loadGridFrom(path);
    glCanvas->update();
}
