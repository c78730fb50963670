// Fixed numbers of the editor's windows: places and sizes in pixels, value
// ranges, and the texts that are the same in every language.
#pragma once

namespace EditorLayout {
// Main window, pixels.
constexpr int windowWidth = 870;  // room for the tab book at its width
constexpr int windowHeight = 600;
constexpr int tabBookX = 610;
constexpr int tabBookY = 40;
constexpr int tabBookWidth = 250;  // the longest Polish label and both tabs whole
constexpr int canvasX = 2;
constexpr int canvasY = 55;
constexpr int canvasWidth = 600;
constexpr int canvasHeight = 400;
constexpr int canvasPadding = 4;
constexpr int calcButtonX = 200;
constexpr int calcButtonY = 465;
constexpr int calcButtonWidth = 200;
constexpr int calcButtonHeight = 60;
constexpr int spinnerWidth = 60;
// Characters a spinner of that width shows whole; a number with decimals is
// rounded to fit ("816.67", "1234.6").
constexpr int decimalSpinnerCharacters = 6;
constexpr int fieldWidth = 50;
constexpr int fieldColumns = 6;
constexpr int rowLabelWidth = 16;
// Button padding left, right, top, bottom, pixels.
constexpr int buttonPadX = 10;
constexpr int buttonPadY = 5;

// New-grid dialog, pixels.
constexpr int newGridWidth = 220;
constexpr int newGridHeight = 150;  // both size rows whole inside their group
constexpr int newGridLabelWidth = 100;

// About box, pixels.
constexpr int aboutWidth = 300;
constexpr int aboutHeight = 305;

// File dialogs, pixels.
constexpr int fileDialogWidth = 500;
constexpr int fileDialogHeight = 300;
}  // namespace EditorLayout

namespace EditorRanges {
constexpr int reynoldsMin = 10;
constexpr int reynoldsMax = 2000;
constexpr int reynoldsStart = 200;
constexpr int defaultVelocityMin = 0;
constexpr int defaultVelocityMax = 100;
constexpr int nxMin = 20;
constexpr int nxMax = 1024;
constexpr int nyMin = 20;
constexpr int nyMax = 512;
constexpr int startNX = 40;
constexpr int startNY = 20;
}  // namespace EditorRanges

// Texts shown the same in both languages.
namespace EditorTexts {
constexpr const char* deltaTimeStart = "0.003";
constexpr const char* zeroVelocity = "0.0";
constexpr const char* plusOne = "1.0";
constexpr const char* minusOne = "-1.0";
constexpr const char* uRowLabel = "U";
constexpr const char* vRowLabel = "V";
constexpr const char* saveTitle = "Save As..";
constexpr const char* loadTitle = "Load...";
constexpr const char* gridPattern = "*.grid";
constexpr const char* gridExtension = ".grid";
constexpr const char* gridDirectory = "./Grids";
constexpr const char* okButton = "&Ok";
constexpr const char* intFormat = "%s: %d";
constexpr const char* velocityFormat = "%s: %4.4f";
constexpr const char* cannotAccessFormat = "%s \n %s";
constexpr const char* notValidFormat = "%s \n\n %s";
constexpr const char* noDisplay =
    "kelvo: cannot open an X display (is DISPLAY set?); to run simulations "
    "without a window use kelvo-batch.";
}  // namespace EditorTexts
