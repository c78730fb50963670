// cursor_probe: samples the cursor the X server shows at the pointer and
// prints one fingerprint per sample (size, hot spot and a hash of the
// pixels), so a script can tell the busy cursor from the normal one.
// Usage: cursor_probe [SAMPLES] [INTERVAL_MS]   (default 1 sample)
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// FNV-1a over the cursor's ARGB pixels (held in longs by Xlib).
uint64_t pixelHash(const XFixesCursorImage& image)
{
    uint64_t hash = 1469598103934665603ull;
    const long count = static_cast<long>(image.width) * image.height;
    for (long k = 0; k < count; ++k) {
        hash ^= static_cast<uint32_t>(image.pixels[k]);
        hash *= 1099511628211ull;
    }
    return hash;
}

// One line for the cursor shown now; false when the server gives none.
bool printSample(Display* display)
{
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image)
        return false;
    std::printf("%dx%d+%d+%d:%016llx\n", image->width, image->height, image->xhot, image->yhot,
                static_cast<unsigned long long>(pixelHash(*image)));
    std::fflush(stdout);
    XFree(image);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? std::atoi(argv[1]) : 1;
    const int intervalMs = argc > 2 ? std::atoi(argv[2]) : 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cursor_probe: no display\n");
        return 1;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "cursor_probe: the server has no XFIXES\n");
        XCloseDisplay(display);
        return 1;
    }
    for (int k = 0; k < samples; ++k) {
        if (k > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
        if (!printSample(display)) {
            XCloseDisplay(display);
            return 1;
        }
    }
    XCloseDisplay(display);
    return 0;
}
