// The table of cell types: everything the editor, the grid drawing, the
// boundary picture and the grid file need to know about each type, so that
// a new type is one row here plus its conditions in the solver.
#pragma once

#include "core/cell_flags.h"

#include <cstddef>
#include <cstdint>

// A colour as the editor's GL canvas takes it, 0..1 per channel.
struct CellCanvasColour {
    float r, g, b;
};

// A colour of the rendered picture, 0..255 per channel.
struct CellPictureColour {
    int r, g, b;
};

// How a type's direction bit is chosen.
enum class CellDirection {
    None,        // the type has no direction
    Chosen,      // the editor's direction tools choose it; setCell fixes it on the border
    FromBorder,  // setCell alone gives it, from the border the cell lies on
};

// A text-table key that names no text.
constexpr int noTextKey = -1;

struct CellTypeInfo {
    const char* name;               // short English name, for messages and tests
    int32_t bits;                   // the type bit of the flag word
    unsigned char fileByte;         // the flag byte this type has in grid files (no direction)
    CellCanvasColour canvasColour;  // its cells on the editor canvas
    bool inPicture;                 // drawn by the boundary element of the picture
    CellPictureColour pictureColour;
    int toolTextKey;                // the editor tool's label, a key of the text tables
    int toolTipKey;                 // the editor tool's tooltip, a key of the text tables
    bool takesVelocity;             // the editor paints it with the velocity fields
    CellDirection direction;
};

// Every cell type, in the order the editor lists its tools; fluid, painted
// by the right mouse button, has no tool.
const CellTypeInfo* cellTypesBegin();
const CellTypeInfo* cellTypesEnd();
std::size_t cellTypeCount();

// The row of a type bit; nullptr when bits is not exactly one type's bit.
const CellTypeInfo* cellTypeByBits(int32_t bits);

// The row of a flag word with exactly one type bit, its direction and any
// higher bits ignored; nullptr for a word with no type bit or several.
const CellTypeInfo* cellTypeOfWord(int32_t word);

// The boundary picture's colour of a type bit; the type must be in the
// picture.
const CellPictureColour& pictureColourOf(int32_t bits);

// The flag byte a grid file stores for a flag word: its low 8 bits, so the
// type bits and the east and west directions survive and north and south
// are lost.
unsigned char fileByteOfWord(int32_t word);
// The flag word a grid file's flag byte stands for.
int32_t wordOfFileByte(unsigned char byte);

// Range-for over the table: for (const CellTypeInfo& type : cellTypes()).
struct CellTypeRange {
    const CellTypeInfo* begin() const { return cellTypesBegin(); }
    const CellTypeInfo* end() const { return cellTypesEnd(); }
};
inline CellTypeRange cellTypes() { return {}; }
