#include "platform/picture_file.h"

// Only the toolkit library's file streams and image codecs are used here,
// never a window: they run without a display.
#include <fx.h>
#include <FXJPGImage.h>
#include <FXPNGImage.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

const char* const picturePatternList = "Pictures (*.png,*.bmp,*.gif,*.jpg,*.jpeg)\nAll Files (*)";

namespace {

std::string lowerExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// The codec for the extension; false for an unknown one or a failed decode.
bool decode(const std::string& ext, FXStream& stream, FXColor*& data, FXint& width, FXint& height)
{
    if (ext == "png")
        return fxloadPNG(stream, data, width, height);
    if (ext == "bmp")
        return fxloadBMP(stream, data, width, height);
    if (ext == "gif")
        return fxloadGIF(stream, data, width, height);
    if (ext == "jpg" || ext == "jpeg") {
        FXint quality = 0;
        return fxloadJPG(stream, data, width, height, quality);
    }
    return false;
}

}  // namespace

bool readPictureFile(const std::string& path, PictureBytes& picture)
{
    FXFileStream stream;
    if (!stream.open(path.c_str(), FXStreamLoad))
        return false;
    FXColor* data = nullptr;
    FXint width = 0;
    FXint height = 0;
    const bool decoded = decode(lowerExtension(path), stream, data, width, height);
    stream.close();
    if (!decoded || !data || width <= 0 || height <= 0) {
        FXFREE(&data);
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(3 * static_cast<size_t>(width) * height);
    for (size_t k = 0; k < static_cast<size_t>(width) * height; ++k) {
        picture.rgb[3 * k] = static_cast<uint8_t>(FXREDVAL(data[k]));
        picture.rgb[3 * k + 1] = static_cast<uint8_t>(FXGREENVAL(data[k]));
        picture.rgb[3 * k + 2] = static_cast<uint8_t>(FXBLUEVAL(data[k]));
    }
    FXFREE(&data);
    return true;
}

bool writePngFile(const std::string& path, const PictureBytes& picture)
{
    const size_t count = static_cast<size_t>(std::max(picture.width, 0)) * std::max(picture.height, 0);
    if (count == 0 || picture.rgb.size() != 3 * count)
        return false;
    std::vector<FXColor> data(count);
    for (size_t k = 0; k < count; ++k)
        data[k] = FXRGB(picture.rgb[3 * k], picture.rgb[3 * k + 1], picture.rgb[3 * k + 2]);
    FXFileStream stream;
    if (!stream.open(path.c_str(), FXStreamSave))
        return false;
    const bool saved = fxsavePNG(stream, data.data(), picture.width, picture.height);
    return stream.close() && saved;
}

bool isPictureFileName(const std::string& path)
{
    const std::string ext = lowerExtension(path);
    return ext == "png" || ext == "bmp" || ext == "gif" || ext == "jpg" || ext == "jpeg";
}
