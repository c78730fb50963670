#include "gui/compressor_dialog.h"

#include "platform/platform_constants.h"

namespace {
// The dialog's own texts: it stands in for the system's compressor dialog.
constexpr const char* dialogTitle = "Video Compression";
constexpr const char* compressorGroupText = "Compressor";
constexpr const char* qualityText = "Quality (%):";
constexpr const char* okText = "&OK";
constexpr const char* cancelText = "&Cancel";
constexpr FXint spinnerColumns = 4;
}  // namespace

FXDEFMAP(CompressorDialog) CompressorDialogMap[] = {
    FXMAPFUNCS(SEL_COMMAND, CompressorDialog::ID_COMPRESSOR, CompressorDialog::ID_QUALITY - 1, CompressorDialog::onCmdCompressor),
    FXMAPFUNCS(SEL_UPDATE,  CompressorDialog::ID_COMPRESSOR, CompressorDialog::ID_QUALITY - 1, CompressorDialog::onUpdCompressor),
    FXMAPFUNC(SEL_COMMAND,  CompressorDialog::ID_QUALITY,                                      CompressorDialog::onCmdQuality),
    FXMAPFUNC(SEL_UPDATE,   CompressorDialog::ID_QUALITY,                                      CompressorDialog::onUpdQuality),
};

FXIMPLEMENT(CompressorDialog, FXDialogBox, CompressorDialogMap, ARRAYNUMBER(CompressorDialogMap))

// Title, border and close box; the list, the quality and the buttons.
CompressorDialog::CompressorDialog(FXApp* app, const CompressOptions& options)
    : FXDialogBox(app, dialogTitle, DECOR_TITLE | DECOR_BORDER | DECOR_CLOSE), chosen(options)
{
    contents = new FXVerticalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    buildCompressorList();
    buildQualityRow();
    buildButtons();
}

// Children of the dialog first.
CompressorDialog::~CompressorDialog()
{
    delete buttonRow;
    delete qualityRow;
    delete compressorGroup;
    delete contents;
}

// One radio button per compressor; the SEL_UPDATE handler keeps one checked.
void CompressorDialog::buildCompressorList()
{
    compressorGroup = new FXGroupBox(contents, compressorGroupText,
                                     GROUPBOX_NORMAL | FRAME_GROOVE | LAYOUT_FILL_X | LAYOUT_FILL_Y);
    for (int i = 0; i < compressorCount; ++i)
        new FXRadioButton(compressorGroup, compressorName(compressorAt(i)), this, ID_COMPRESSOR + i);
}

// A sunken spinner over 0..100 percent.
void CompressorDialog::buildQualityRow()
{
    qualityRow = new FXHorizontalFrame(contents, LAYOUT_FILL_X);
    new FXLabel(qualityRow, qualityText, nullptr, JUSTIFY_LEFT | LAYOUT_CENTER_Y);
    qualitySpinner = new FXSpinner(qualityRow, spinnerColumns, this, ID_QUALITY,
                                   SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y);
    qualitySpinner->setRange(platform_constants::minQuality, platform_constants::maxQuality);
    qualitySpinner->setValue(chosen.quality);
}

// OK is the default button.
void CompressorDialog::buildButtons()
{
    buttonRow = new FXHorizontalFrame(contents, LAYOUT_FILL_X | PACK_UNIFORM_WIDTH);
    new FXButton(buttonRow, okText, nullptr, this, ID_ACCEPT,
                 BUTTON_INITIAL | BUTTON_DEFAULT | FRAME_RAISED | FRAME_THICK | LAYOUT_RIGHT);
    new FXButton(buttonRow, cancelText, nullptr, this, ID_CANCEL,
                 BUTTON_DEFAULT | FRAME_RAISED | FRAME_THICK | LAYOUT_RIGHT);
}

// Choose a compressor
long CompressorDialog::onCmdCompressor(FXObject*, FXSelector sel, void*)
{
    const Compressor compressor = compressorAt(FXSELID(sel) - ID_COMPRESSOR);
    if (compressorAvailable(compressor))
        chosen.compressor = compressor;
    return 1;
}

// Check the chosen compressor's button, disable missing ones
long CompressorDialog::onUpdCompressor(FXObject* sender, FXSelector sel, void*)
{
    const Compressor compressor = compressorAt(FXSELID(sel) - ID_COMPRESSOR);
    sender->handle(this, FXSEL(SEL_COMMAND, compressor == chosen.compressor ? ID_CHECK : ID_UNCHECK), nullptr);
    sender->handle(this, FXSEL(SEL_COMMAND, compressorAvailable(compressor) ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

// Take the quality
long CompressorDialog::onCmdQuality(FXObject*, FXSelector, void* ptr)
{
    chosen.quality = static_cast<int32_t>(reinterpret_cast<FXival>(ptr));
    return 1;
}

// Show the quality, for Motion JPEG only
long CompressorDialog::onUpdQuality(FXObject* sender, FXSelector, void*)
{
    FXint quality = chosen.quality;
    sender->handle(this, FXSEL(SEL_COMMAND, ID_SETINTVALUE), &quality);
    const bool lossy = chosen.compressor == Compressor::MotionJpeg;
    sender->handle(this, FXSEL(SEL_COMMAND, lossy ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

// Full frames preselected, the quality at its default.
bool chooseCompressorWithDialog(CompressOptions& options)
{
    FXApp* app = FXApp::instance();
    if (!app)
        return false;
    CompressOptions start;
    start.quality = platform_constants::defaultQuality;
    CompressorDialog dialog(app, start);
    if (!dialog.execute(PLACEMENT_SCREEN))
        return false;
    options = dialog.options();
    return true;
}
