#include "sim/frame_saving.h"

#include "io/avi_writer.h"
#include "io/ppm_writer.h"

FrameSaveResult saveFrame(const FrameSaving& saving, int32_t index)
{
    FrameSaveResult result;
    if (saving.avi && !aviWriteFrame(index)) {
        result.ok = false;
        result.aviFailed = true;
    }
    if (saving.ppm) {
        const PpmWriteResult written = writePpmFrame(saving.ppmDirectory);
        if (!written.ok) {
            result.ok = false;
            result.ppmFailedPath = written.path;
        }
    }
    return result;
}

std::string aviFileNameFor(const std::string& chosen)
{
    static const std::string extension = ".avi";
    const bool hasExtension = chosen.size() >= extension.size() &&
                              chosen.compare(chosen.size() - extension.size(), extension.size(), extension) == 0;
    return hasExtension ? chosen : chosen + extension;
}
