#include "gui/image_file.h"

#include <FXJPGImage.h>
#include <FXPNGImage.h>

#include <memory>

const char* const imagePatternList =
    "Pictures (*.png,*.bmp,*.gif,*.jpg,*.jpeg)\nAll Files (*)";

namespace {

// The image class for a file name, or nullptr for an unknown extension.
std::unique_ptr<FXImage> imageForName(FXApp* app, const FXString& path)
{
    const FXString ext = FXPath::extension(path).lower();
    if (ext == "png") return std::make_unique<FXPNGImage>(app);
    if (ext == "bmp") return std::make_unique<FXBMPImage>(app);
    if (ext == "gif") return std::make_unique<FXGIFImage>(app);
    if (ext == "jpg" || ext == "jpeg") return std::make_unique<FXJPGImage>(app);
    return nullptr;
}

}  // namespace

// Only the client-side pixels are needed, so the image is never created on
// the display.
bool readImagePixels(FXApp* app, const FXString& path, RgbPixels& pixels)
{
    std::unique_ptr<FXImage> image = imageForName(app, path);
    if (!image)
        return false;
    FXFileStream stream;
    if (!stream.open(path, FXStreamLoad))
        return false;
    const bool loaded = image->loadPixels(stream);
    stream.close();
    if (!loaded || !image->getData() || image->getWidth() <= 0 || image->getHeight() <= 0)
        return false;
    pixels.width = image->getWidth();
    pixels.height = image->getHeight();
    pixels.rgb.clear();
    pixels.rgb.reserve(3 * static_cast<size_t>(pixels.width) * pixels.height);
    const FXColor* data = image->getData();
    for (FXint k = 0; k < pixels.width * pixels.height; ++k) {
        pixels.rgb.push_back(static_cast<uint8_t>(FXREDVAL(data[k])));
        pixels.rgb.push_back(static_cast<uint8_t>(FXGREENVAL(data[k])));
        pixels.rgb.push_back(static_cast<uint8_t>(FXBLUEVAL(data[k])));
    }
    return true;
}
