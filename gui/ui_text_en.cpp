// The English interface texts.
#include "gui/ui_text.h"

namespace {

// Trailing blanks and spellings are part of the texts.
const UiTextEntry table[] = {
    {0, "Kelvo -Fluxeria v1.0"},
    {1, "&Quit\tAlt-F4\tQuit the application."},
    {2, "File"},
    {4, "&New Grid\tCtl-N\tCreate New Grid. "},
    {5, "Grid Properties"},
    {6, "Size of The Grid"},
    {8, "NX"},
    {9, "NY"},
    {10, "Width"},
    {11, "Height"},
    {12, "&Create Grid\tCtl-C\tCreate New Grid."},
    {13, "Cell Type"},
    {15, "&Move Boundary\tM\tBoundary Cell moving with set velocity."},
    {16, "&Slip Boundary\tS\tBoundary Cell with SLIP condition."},
    {17, "&No Slip Boundary\tN\tBoundary Cell with NO SLIP condition"},
    {18, "&Inflow\tI\tInflow Cell with specified velocity"},
    {19, "&Outflow\tO\tOutflow Cell"},
    {20, "Cell Properties"},
    {21, "Horizontal Velocity Component in The Cell"},
    {22, "Vertical Velocity Component in The Cell"},
    {24, "Boundary Cell moving with set velocity"},
    {25, "Boundary Cell with SLIP condition"},
    {26, "Boundary Cell with NO SLIP condition"},
    {27, "Inflow Cell with specified velocity"},
    {28, "Outflow Cell"},
    {29, "Cell Info"},
    {30, "i"},
    {31, "j"},
    {33, "u"},
    {34, "v"},
    {35, "&Calculate It\tCtl-C\tCalculate, Render and Save Simulation."},
    {36, "\t\tCalculate, Render and Save Simulation."},
    {37, "&Start\tCtl-S\tStart Calculation and Rendering."},
    {38, "&East\tE\tEast Cell."},
    {39, "&West\tW\tWest Cell."},
    {40, "&North\tN\tNorth Cell."},
    {41, "&South\tS\tSouth Cell."},
    {42, "&Load Grid..\tCtl-L\tLoad Grid from file."},
    {43, "&Save Grid As..\tCtl-S\tSave Grid to file."},
    {44, "\t\tLoad Grid from file."},
    {45, "\t\tSave Grid to file."},
    {46, "\t\tCreate New Grid. "},
    {47, "Cannot Access File!"},
    {48, "Not valid *.grid file!"},
    {49, "&Help\tCtl-H\tHelp Information"},
    {50, "&About\tCtl-A\tAbout the Program"},
    {52, "Boundary Cells"},
    {53, "Streamlines"},
    {54, "X Velocity Field (red)"},
    {55, "Y Velocity Field (green)"},
    {56, "Pressure Field (blue)"},
    {57, "Velocity Vectors"},
    {58, "Rendered Elements"},
    {59, "Calculate Flow"},
    {60, "Cells"},
    {61, "Simulation Properties"},
    {62, "Dimensionless Reynolds Number"},
    {63, "Delta Time"},
    {64, "Save Method"},
    {65, "none"},
    {66, "An .avi Animation"},
    {67, "A .ppm frames"},
    {68, "Output Size"},
    {69, "Save Frame Interval"},
    {70, "Default U velocity"},
    {71, "Default V velocity"},
};

}  // namespace

// The text of an entry, or nullptr for a key the table does not hold.
const char* uiTextEnglish(int key)
{
    return findUiText(table, key);
}
