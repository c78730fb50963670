// Reading a picture file into plain RGB pixels with the toolkit's own image
// classes: PNG, BMP, GIF and JPEG, chosen by the file's name.
#pragma once

#include "core/image_cells.h"

#include <fx.h>

// False when the file cannot be opened, has no known extension or does not
// decode.
bool readImagePixels(FXApp* app, const FXString& path, RgbPixels& pixels);

// The file dialog's pattern list for those pictures.
extern const char* const imagePatternList;
