// The table of interface texts: one table per language, chosen by which
// table the program is linked with. Code names an entry by its key and never
// builds these texts from pieces.
#pragma once

#include <cstddef>
#include <vector>

// Keys of the entries, numbered as in both tables.
enum UiTextKey : int {
    TXT_APP_NAME          = 0,
    TXT_QUIT              = 1,
    TXT_FILE_MENU         = 2,
    TXT_NEW_GRID          = 4,
    TXT_GRID_PROPERTIES   = 5,
    TXT_GRID_SIZE         = 6,
    TXT_NX                = 8,
    TXT_NY                = 9,
    TXT_WIDTH             = 10,
    TXT_HEIGHT            = 11,
    TXT_CREATE_GRID       = 12,
    TXT_CELL_TYPE         = 13,
    TXT_MOVE_BOUNDARY     = 15,
    TXT_SLIP_BOUNDARY     = 16,
    TXT_NOSLIP_BOUNDARY   = 17,
    TXT_INFLOW            = 18,
    TXT_OUTFLOW           = 19,
    TXT_CELL_PROPERTIES   = 20,
    TXT_U_FIELD_TIP       = 21,
    TXT_V_FIELD_TIP       = 22,
    TXT_MOVE_TIP          = 24,
    TXT_SLIP_TIP          = 25,
    TXT_NOSLIP_TIP        = 26,
    TXT_INFLOW_TIP        = 27,
    TXT_OUTFLOW_TIP       = 28,
    TXT_CELL_INFO         = 29,
    TXT_INFO_I            = 30,
    TXT_INFO_J            = 31,
    TXT_INFO_U            = 33,
    TXT_INFO_V            = 34,
    TXT_CALCULATE         = 35,
    TXT_CALCULATE_TOOL    = 36,
    TXT_START             = 37,
    TXT_EAST              = 38,
    TXT_WEST              = 39,
    TXT_NORTH             = 40,
    TXT_SOUTH             = 41,
    TXT_LOAD_GRID         = 42,
    TXT_SAVE_GRID         = 43,
    TXT_LOAD_TOOL         = 44,
    TXT_SAVE_TOOL         = 45,
    TXT_NEW_TOOL          = 46,
    TXT_CANNOT_ACCESS     = 47,
    TXT_NOT_VALID         = 48,
    TXT_HELP_MENU         = 49,
    TXT_ABOUT             = 50,
    TXT_BOUNDARY_CELLS    = 52,
    TXT_STREAMLINES       = 53,
    TXT_X_VELOCITY_FIELD  = 54,
    TXT_Y_VELOCITY_FIELD  = 55,
    TXT_PRESSURE_FIELD    = 56,
    TXT_VELOCITY_VECTORS  = 57,
    TXT_RENDERED_ELEMENTS = 58,
    TXT_CALCULATE_FLOW    = 59,
    TXT_CELLS_TAB         = 60,
    TXT_SIMULATION_TAB    = 61,
    TXT_REYNOLDS          = 62,
    TXT_DELTA_TIME        = 63,
    TXT_SAVE_METHOD       = 64,
    TXT_SAVE_NONE         = 65,
    TXT_SAVE_AVI          = 66,
    TXT_SAVE_PPM          = 67,
    TXT_OUTPUT_SIZE       = 68,
    TXT_FRAME_INTERVAL    = 69,
    TXT_DEFAULT_U         = 70,
    TXT_DEFAULT_V         = 71,
    TXT_EDIT_MENU         = 72,
    TXT_UNDO              = 73,
    TXT_REDO              = 74,
    TXT_UNDO_TOOL         = 75,
    TXT_REDO_TOOL         = 76,
    TXT_UNSAVED_TITLE     = 77,
    TXT_SAVE_CHANGES      = 78,
    TXT_SAVE_BUTTON       = 79,
    TXT_DISCARD_BUTTON    = 80,
    TXT_CANCEL_BUTTON     = 81,
    TXT_DRAW              = 82,
    TXT_DRAW_CELLS        = 83,
    TXT_DRAW_LINE         = 84,
    TXT_DRAW_RECTANGLE    = 85,
    TXT_DRAW_FILLED_RECTANGLE = 86,
    TXT_DRAW_FILLED_ELLIPSE = 87,
    TXT_DRAW_FILL         = 88,
    TXT_IMPORT_IMAGE      = 89,
    TXT_IMPORT_TITLE      = 90,
    TXT_CELLS_ACROSS      = 91,
    TXT_CELLS_UP          = 92,
    TXT_KEEP_ASPECT       = 93,
    TXT_NOT_IMAGE         = 94,
    TXT_IMPORT_BUTTON     = 95,
    TXT_PAUSE             = 96,
    TXT_RESUME            = 97,
    TXT_STEP              = 98,
    TXT_SAVE_PICTURE      = 99,
    TXT_READY             = 100,
    // The simulation window's View group.
    TXT_VIEW              = 110,
    TXT_VIEW_DESIGNED     = 111,
    TXT_VIEW_SPEED        = 112,
    TXT_VIEW_VORTICITY    = 113,
    TXT_VIEW_PRESSURE     = 114,
    TXT_VIEW_U            = 115,
    TXT_VIEW_V            = 116,
    TXT_LOCK_RANGE        = 117,
    TXT_RANGE_MIN         = 118,
    TXT_RANGE_MAX         = 119,
    TXT_AUTOMATIC_DT      = 120,
    TXT_CONVECTION        = 121,
    TXT_CONVECTION_CENTRAL = 122,
    TXT_CONVECTION_BLENDED = 123,
    TXT_SIMULATED_TIME    = 124,
    TXT_TIME_STEP_USED    = 125,
    TXT_UNSTABLE_CAPTION  = 126,
    TXT_UNSTABLE_TEXT     = 127,
    TXT_PRESSURE_SOLVER   = 135,
    TXT_PRESSURE_GAUSS_SEIDEL = 136,
    TXT_PRESSURE_MULTIGRID = 137,
    TXT_INITIAL_FIELD     = 138,
    // The simulation window's field export.
    TXT_SAVE_VTK          = 140,
    // The Measurements window.
    TXT_MEASURE           = 150,
    TXT_MEASUREMENTS      = 151,
    TXT_BODY_NAME         = 152,
    TXT_WALLS             = 153,
    TXT_MEAN              = 154,
    TXT_AMPLITUDE         = 155,
    TXT_NOT_PERIODIC      = 156,
    TXT_PROBES            = 157,
    TXT_REMOVE_PROBE      = 158,
    TXT_PROBE_NAME        = 159,
    TXT_CHART_PROBE       = 160,
    TXT_CHART_NO_PROBE    = 161,
    TXT_EXPORT_HISTORY    = 162,
    TXT_EXPORT_TITLE      = 163,
    TXT_EXPORT_FAILED     = 164,
    TXT_CHART_TIME        = 165,
    TXT_NO_BODIES         = 166,
    // Settings the editor refuses before a run.
    TXT_BAD_DELTA_TIME    = 170,
    // The simulation window's line above the picture.
    TXT_STEP_COUNT        = 171,
    TXT_PREPARING         = 182,
    // The question before a running simulation window closes.
    TXT_CLOSE_RUNNING_TITLE = 172,
    TXT_CLOSE_RUNNING     = 173,
    TXT_YES_BUTTON        = 174,
    TXT_NO_BUTTON         = 175,
    // The default method of the Method list.
    TXT_METHOD_RK3        = 176,
    // Painting into a running flow, and copying it back into the editor.
    TXT_PAINT_GROUP       = 190,
    TXT_PAINT_OFF         = 191,
    TXT_PAINT_FLUID       = 192,
    TXT_COPY_PAINTED_TITLE = 193,
    TXT_COPY_PAINTED      = 194,
    TXT_PAINT_NOSLIP      = 195,
    TXT_PAINT_SLIP        = 196,
    TXT_PAINT_INFLOW      = 197,
    TXT_PAINT_DYE         = 198,
    TXT_PAINT_DYE_TIP     = 199,
    TXT_COPY_DYE_TITLE    = 200,
    TXT_COPY_DYE          = 201,
    // The editor's View menu: zoom and pan of the canvas.
    TXT_VIEW_MENU         = 177,
    TXT_ZOOM_IN           = 178,
    TXT_ZOOM_OUT          = 179,
    TXT_ZOOM_FIT          = 180,
    TXT_ZOOM_ONE          = 181,
    // Tracer particles in the simulation window.
    TXT_PARTICLES         = 240,
    TXT_PARTICLE_STREAKS  = 241,
    TXT_EMITTER_TOOL      = 242,
    TXT_EMITTER_TIP       = 243,
    TXT_RELEASE_INFLOW    = 244,
    // Heat and dye.
    TXT_TEMPERATURE_TIP = 301,
    TXT_DYE_BRUSH = 302,
    TXT_DYE_BRUSH_TIP = 303,
    TXT_PRANDTL = 304,
    TXT_RAYLEIGH = 305,
    TXT_GRAVITY = 306,
    TXT_GRAVITY_DOWN = 307,
    TXT_GRAVITY_UP = 308,
    TXT_GRAVITY_WEST = 309,
    TXT_GRAVITY_EAST = 310,
    TXT_SCHMIDT = 311,
    TXT_DYE_BANDS = 312,
    TXT_VIEW_TEMPERATURE = 313,
    TXT_VIEW_DYE = 314,
    TXT_HEATED_WALL = 315,
    // Bodies with exact outlines: the editor's tools, the airfoil dialog and
    // the simulation window's choice of how to show them.
    TXT_DRAW_POLYGON = 320,
    TXT_DRAW_AIRFOIL = 321,
    TXT_ELLIPSE_TIP = 322,
    TXT_POLYGON_TIP = 323,
    TXT_AIRFOIL_TIP = 324,
    TXT_AIRFOIL_TITLE = 325,
    TXT_NACA_DIGITS = 326,
    TXT_CHORD = 327,
    TXT_ANGLE_OF_ATTACK = 328,
    TXT_AIRFOIL_HINT = 329,
    TXT_BAD_NACA = 330,
    TXT_OK_BUTTON = 331,
    TXT_BODIES_AS_CELLS = 332,
    TXT_BODIES_AS_CELLS_TIP = 333,
};

// One entry of a language's table.
struct UiTextEntry {
    int key;
    const char* text;
};

// The text of key in a language's table, or nullptr when it has none.
template <size_t N>
const char* findUiText(const UiTextEntry (&table)[N], int key)
{
    for (const UiTextEntry& entry : table)
        if (entry.key == key)
            return entry.text;
    return nullptr;
}

// The text of an entry in this build's language, or nullptr for a key that
// the table does not hold.
const char* uiText(int key);

// The two tables themselves; each program shows one of them through uiText.
const char* uiTextEnglish(int key);
const char* uiTextPolish(int key);

// Every key that some window of the program shows.
const std::vector<int>& uiTextKeysInUse();
