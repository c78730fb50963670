#include "io/picture_grid.h"

#include "core/image_cells.h"
#include "platform/picture_file.h"

#include <utility>

std::string loadPictureGrid(const std::string& path, int NX, int NY, Grid& grid)
{
    PictureBytes picture;
    if (!readPictureFile(path, picture))
        return "'" + path + "' is not a readable PNG, BMP, GIF or JPEG picture";
    RgbPixels pixels;
    pixels.width = picture.width;
    pixels.height = picture.height;
    pixels.rgb = std::move(picture.rgb);
    gridFromImage(grid, pixels, NX, NY);
    return "";
}
