// Reading a picture file for Import Image: PNG, BMP, GIF and JPEG, chosen by
// the file's name, decoded as kelvo-batch decodes them.
#pragma once

#include "core/image_cells.h"

#include <fx.h>

// False when the file cannot be opened, has no known extension or does not
// decode.
bool readImagePixels(const FXString& path, RgbPixels& pixels);
