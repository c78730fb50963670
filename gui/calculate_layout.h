// Positions, sizes, ranges and defaults of the simulation window. Positions
// and sizes are in pixels inside the dialog.
#pragma once

namespace CalculateLayout {
// The dialog: position, size, padding and spacing.
constexpr int windowX = 0;
constexpr int windowY = 0;
constexpr int windowWidth = 650;  // the groups at their widths
constexpr int windowHeight = 560;  // Paint into the Flow under the particles' controls
constexpr int padLeft = 10;
constexpr int padRight = 2;
constexpr int padTop = 10;
constexpr int padBottom = 0;
constexpr int hSpacing = 0;
constexpr int vSpacing = 4;

// The frame around the canvas.
constexpr int canvasFrameX = 2;
constexpr int canvasFrameY = 26;
constexpr int canvasFrameWidth = 400;
constexpr int canvasFrameHeight = 200;
constexpr int framePad = 4;      // padding and spacing of frames and groups

constexpr int labelPad = 2;      // the step line and size labels
constexpr int cycleLabelPadY = 0;  // the step line clear of the canvas frame

// Step count, simulated time and time step, above the canvas.
constexpr int timeLabelX = 10;
constexpr int timeLabelY = 10;
constexpr int timeLabelWidth = 390;

// Start and Stop.
constexpr int startX = 10;
constexpr int stopX = 80;
constexpr int buttonsY = 240;
constexpr int buttonPadX = 10;
constexpr int buttonPadY = 5;
// Pause and Step beside them, Save Picture in the row under them.
constexpr int pauseX = 150;
constexpr int stepX = 240;
constexpr int pauseRowY = 240;
constexpr int savePictureX = 10;
constexpr int savePictureY = 276;
// Measure beside Save Picture, under Step; its window opens this far right
// of the simulation window.
constexpr int measureX = 240;
constexpr int measureY = 276;
constexpr int measureWindowGap = 8;
// The Measurements window is narrowed down to this width to stay beside.
constexpr int measureWindowMinWidth = 360;

// The four groups.
constexpr int renderGroupX = 410;
constexpr int renderGroupY = 20;
constexpr int renderButtonsWidth = 210;  // the longest Polish check box whole
constexpr int renderButtonsHeight = 175;  // seven check boxes
constexpr int saveGroupX = 410;
constexpr int saveGroupY = 255;
constexpr int intervalGroupX = 410;
constexpr int intervalGroupY = 388;
constexpr int sizeGroupX = 410;  // under Save Frame Interval: its Polish title is long
constexpr int sizeGroupY = 448;
constexpr int spinnerWidth = 60;

// The View group under the buttons.
constexpr int viewGroupX = 2;
constexpr int viewGroupY = 310;
constexpr int viewListWidth = 190;
constexpr int viewListRows = 6;
constexpr int rangeColumns = 7;

// "Paint into the Flow" under the View group and the particles' controls:
// its choices in three columns.
constexpr int paintGroupX = 2;
constexpr int paintGroupY = 478;
constexpr int paintColumns = 3;

// The convection scheme over the pressure solver, right of the View group:
// the line above the canvas has no room for them beside the time.
constexpr int solverLabelX = 255;
constexpr int solverLabelY = 318;
constexpr int solverLabelWidth = 145;

// The particles' controls under it: the two elements, the emitter tool and
// Release from Inflow.
constexpr int particleFrameX = 250;
constexpr int particleFrameY = 356;
constexpr int particleFrameWidth = 155;
constexpr int particleFrameHeight = 118;
}  // namespace CalculateLayout

namespace CalculateRanges {
// Cycles per frame.
constexpr int minInterval = 1;
constexpr int maxInterval = 1110;
constexpr int startInterval = 1;
// Pixels per cell edge; the spinner and the picture both start at 4.
constexpr int minPixelsPerCell = 1;
constexpr int maxPixelsPerCell = 15;
constexpr int startPixelsPerCell = 4;
// The picture's width and height at most, in pixels.
constexpr int maxPictureSide = 4096;

// The most pixels per cell edge that keep an NX x NY picture within
// maxPictureSide both ways; never below minPixelsPerCell.
constexpr int maxPixelsPerCellFor(int NX, int NY)
{
    const int side = NX > NY ? NX : NY;
    const int fitting = side > 0 ? maxPictureSide / side : maxPixelsPerCell;
    return fitting < minPixelsPerCell ? minPixelsPerCell
                                      : (fitting > maxPixelsPerCell ? maxPixelsPerCell : fitting);
}
}  // namespace CalculateRanges
