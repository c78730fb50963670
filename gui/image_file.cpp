#include "gui/image_file.h"

#include "platform/picture_file.h"

#include <utility>

bool readImagePixels(const FXString& path, RgbPixels& pixels)
{
    PictureBytes picture;
    if (!readPictureFile(path.text(), picture))
        return false;
    pixels.width = picture.width;
    pixels.height = picture.height;
    pixels.rgb = std::move(picture.rgb);
    return true;
}
