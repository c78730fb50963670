// Picture files as plain RGB bytes: PNG, BMP, GIF and JPEG read, PNG
// written, with the toolkit library's own codecs so that the editor and
// kelvo-batch decode a picture the same way. Needs no display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels in rows, the top row first, three bytes (red, green, blue) each.
struct PictureBytes {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// The file dialog's pattern list for the pictures readPictureFile takes.
extern const char* const picturePatternList;

// Decodes the file by its extension (png, bmp, gif, jpg, jpeg; any case).
// False when it cannot be opened, has another extension or does not decode.
bool readPictureFile(const std::string& path, PictureBytes& picture);

// Writes the picture as PNG; false when the file cannot be written or the
// picture is empty or its bytes do not match its size.
bool writePngFile(const std::string& path, const PictureBytes& picture);

// Whether the name ends in an extension readPictureFile takes.
bool isPictureFileName(const std::string& path);
