#include "core/cell_types.h"

namespace {

// Text keys as numbered in both text tables.
enum : int {
    KEY_MOVE_BOUNDARY = 15,
    KEY_SLIP_BOUNDARY = 16,
    KEY_NOSLIP_BOUNDARY = 17,
    KEY_INFLOW = 18,
    KEY_OUTFLOW = 19,
    KEY_MOVE_TIP = 24,
    KEY_SLIP_TIP = 25,
    KEY_NOSLIP_TIP = 26,
    KEY_INFLOW_TIP = 27,
    KEY_OUTFLOW_TIP = 28,
};

constexpr CellPictureColour wallPicture = {90, 90, 90};
constexpr CellPictureColour noPicture = {0, 0, 0};

// The tools' order is the editor's: slip wall first, it starts checked.
const CellTypeInfo table[] = {
    {"fluid", CELL_FLUID, 0x01, {0.85f, 0.86f, 1.0f}, false, noPicture,
     noTextKey, noTextKey, false, CellDirection::None},
    {"slip wall", CELL_SLIP_WALL, 0x04, {0.51f, 0.52f, 0.53f}, true, wallPicture,
     KEY_SLIP_BOUNDARY, KEY_SLIP_TIP, false, CellDirection::None},
    {"no-slip wall", CELL_NOSLIP_WALL, 0x08, {0.31f, 0.32f, 0.33f}, true, wallPicture,
     KEY_NOSLIP_BOUNDARY, KEY_NOSLIP_TIP, false, CellDirection::None},
    {"moving wall", CELL_MOVING_WALL, 0x02, {0.51f, 0.52f, 0.53f}, true, wallPicture,
     KEY_MOVE_BOUNDARY, KEY_MOVE_TIP, true, CellDirection::None},
    {"inflow", CELL_INFLOW, 0x10, {0.31f, 0.82f, 0.33f}, true, {50, 255, 50},
     KEY_INFLOW, KEY_INFLOW_TIP, true, CellDirection::Chosen},
    {"outflow", CELL_OUTFLOW, 0x20, {0.81f, 0.32f, 0.33f}, true, {255, 50, 50},
     KEY_OUTFLOW, KEY_OUTFLOW_TIP, false, CellDirection::FromBorder},
};

// The direction bits that fit the file's flag byte.
constexpr int32_t fileDirectionBits = DIR_EAST | DIR_WEST;

}  // namespace

const CellTypeInfo* cellTypesBegin() { return table; }
const CellTypeInfo* cellTypesEnd() { return table + cellTypeCount(); }
std::size_t cellTypeCount() { return sizeof table / sizeof table[0]; }

const CellTypeInfo* cellTypeByBits(int32_t bits)
{
    for (const CellTypeInfo& type : table)
        if (type.bits == bits)
            return &type;
    return nullptr;
}

const CellTypeInfo* cellTypeOfWord(int32_t word)
{
    return cellTypeByBits(word & CELL_TYPE_MASK);
}

// The lowest type bit among bits decides: the three walls share one colour.
const CellPictureColour& pictureColourOf(int32_t bits)
{
    const CellTypeInfo* type = cellTypeByBits(bits & -bits);
    return type && type->inPicture ? type->pictureColour : noPicture;
}

// A word of one known type keeps its type's byte and its east or west bit;
// anything else (only ever read from a file) goes back as its low 8 bits.
unsigned char fileByteOfWord(int32_t word)
{
    const CellTypeInfo* type = cellTypeOfWord(word);
    if (!type)
        return static_cast<unsigned char>(word & 0xFF);
    return static_cast<unsigned char>(type->fileByte | (word & fileDirectionBits));
}

// The flag byte is taken without any check of its bits: a byte that names
// no single type becomes the word unchanged.
int32_t wordOfFileByte(unsigned char byte)
{
    for (const CellTypeInfo& type : table)
        if (type.fileByte == (byte & CELL_TYPE_MASK))
            return type.bits | (byte & ~CELL_TYPE_MASK);
    return byte;
}
