// The dialog in which the user picks the compressor of a new AVI file and
// the quality of the lossy one.
#pragma once

#include <fx.h>

#include "platform/compress_options.h"

class CompressorDialog : public FXDialogBox {
    FXDECLARE(CompressorDialog)
protected:
    CompressorDialog() {}
private:
    CompressorDialog(const CompressorDialog&);
    CompressorDialog& operator=(const CompressorDialog&);

    FXVerticalFrame* contents = nullptr;        // frame filling the dialog
    FXGroupBox* compressorGroup = nullptr;      // one radio button per compressor
    FXHorizontalFrame* qualityRow = nullptr;    // label and quality spinner
    FXSpinner* qualitySpinner = nullptr;        // percent, Motion JPEG only
    FXHorizontalFrame* buttonRow = nullptr;     // OK and Cancel
    CompressOptions chosen;                     // what the controls show

    // The radio buttons, one per compressor in list order.
    void buildCompressorList();
    // The quality label and spinner.
    void buildQualityRow();
    // OK and Cancel.
    void buildButtons();

public:
    enum {
        ID_COMPRESSOR = FXDialogBox::ID_LAST,  // first of compressorCount identifiers
        ID_QUALITY = ID_COMPRESSOR + compressorCount,
        ID_LAST
    };

    // Builds the dialog without an owner window, as the options say.
    CompressorDialog(FXApp* app, const CompressOptions& options);
    // The frames go first, then the dialog.
    virtual ~CompressorDialog();

    // The options the controls show.
    const CompressOptions& options() const { return chosen; }

    // A radio button: choose its compressor.
    long onCmdCompressor(FXObject*, FXSelector, void*);
    // A radio button: checked when its compressor is the chosen one;
    // disabled when the codec library lacks it.
    long onUpdCompressor(FXObject*, FXSelector, void*);
    // The spinner: take its value as the quality.
    long onCmdQuality(FXObject*, FXSelector, void*);
    // The spinner: show the quality, enabled for Motion JPEG only.
    long onUpdQuality(FXObject*, FXSelector, void*);
};

// Asks the user with the modal dialog: true and the options filled in on
// OK, false on Cancel. Needs the created application.
bool chooseCompressorWithDialog(CompressOptions& options);
