#include "robust_support.h"

#include "test_editor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

// Each check button set, and its command sent as a click would.
void RobustWindow::checkAllElements(bool on)
{
    FXCheckButton* const buttons[] = {showBoundaryCells, showStreamlines, showUField,
                                      showVField,        showPressure,    showVectors};
    for (FXCheckButton* button : buttons) {
        button->setCheck(on ? TRUE : FALSE);
        handle(button, FXSEL(SEL_COMMAND, ID_RENDER), (void*)(FXuval)(on ? 1 : 0));
    }
}

// The spinner's new value, reported as its arrows would.
void RobustWindow::changeOutputSize(int size)
{
    sizeSpinner->setValue(size);
    handle(sizeSpinner, FXSEL(SEL_COMMAND, ID_OUTPUT_SIZE), (void*)(FXival)size);
}

// Start (when idle, once the run is prepared), then the event loop until
// count more cycles ran.
bool RobustWindow::runCycles(int32_t count, double seconds)
{
    if (!waitPrepared(seconds))
        return false;
    if (startButton->isEnabled())
        send(ID_START);
    const int32_t target = cycles() + count;
    return runUntil([&] { return cycles() >= target || !pendingCycle; }, seconds) && cycles() >= target;
}

bool RobustWindow::isIdle()
{
    const auto idleNow = [this] {
        return startButton->isEnabled() && !stopButton->isEnabled() && saveNone->isEnabled() &&
               saveAvi->isEnabled() && savePpm->isEnabled() && sizeSpinner->isEnabled() && !pendingCycle &&
               !testApp()->hasChore(this, ID_CYCLE) && worker->parked();
    };
    return runUntil(idleNow, 20.0);
}

// The second number of /proc/self/statm, in pages.
long residentKiB()
{
    long size = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool residentMemoryIsMeaningful()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

// Header first, then every pixel line parsed and counted.
bool isWellFormedPpm(const std::string& path, int width, int height, std::string& why)
{
    std::ifstream in(path);
    if (!in) {
        why = "cannot open " + path;
        return false;
    }
    std::string magic, sizes, maxValue;
    std::getline(in, magic);
    std::getline(in, sizes);
    std::getline(in, maxValue);
    const std::string expected = std::to_string(width - 1) + " " + std::to_string(height - 1);
    if (magic != "P3" || sizes != expected || maxValue != "255") {
        why = "header '" + magic + "' '" + sizes + "' '" + maxValue + "'";
        return false;
    }
    long lines = 0;
    std::string line;
    while (std::getline(in, line)) {
        int r = -1, g = -1, b = -1;
        char rest = 0;
        if (std::sscanf(line.c_str(), "%d %d %d%c", &r, &g, &b, &rest) != 3 || r < 0 || r > 255 || g < 0 ||
            g > 255 || b < 0 || b > 255) {
            why = "pixel line " + std::to_string(lines + 1) + ": '" + line + "'";
            return false;
        }
        ++lines;
    }
    const long pixels = static_cast<long>(width - 1) * (height - 1);
    if (lines != pixels) {
        why = std::to_string(lines) + " pixel lines instead of " + std::to_string(pixels);
        return false;
    }
    return true;
}

// ffprobe counting the decoded frames of every stream; the video stream's
// count is taken.
int aviVideoFrames(const std::string& path, std::string& probeText)
{
    const std::string command = std::string(KELVO_FFPROBE) +
                                " -v error -count_frames -show_entries stream=codec_type,nb_read_frames"
                                " -of default=nw=1 '" + path + "' 2>&1";
    probeText.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        probeText += buffer;
    const int status = pclose(pipe);
    const size_t video = probeText.find("codec_type=video\nnb_read_frames=");
    if (status != 0 || video == std::string::npos)
        return -1;
    return std::atoi(probeText.c_str() + video + std::strlen("codec_type=video\nnb_read_frames="));
}

ScratchDirectory::ScratchDirectory()
{
    char pattern[] = "/tmp/kelvo_robust_XXXXXX";
    if (mkdtemp(pattern))
        dir = pattern;
    previous = fs::current_path().string();
    fs::current_path(dir);
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(dir, ignored);
}

// tmpfs first; the file-size limit when the mount is refused (no root, or
// a container without the capability).
SmallDisk::SmallDisk(const std::string& path, long kib, long fileKib) : dir(path)
{
    fs::create_directories(dir);
    const std::string options = "size=" + std::to_string(kib) + "k";
    isMounted = mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (isMounted)
        return;
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit = limit.rlim_cur;
    setLimit(static_cast<unsigned long long>(fileKib > 0 ? fileKib : kib) * 1024);
}

SmallDisk::~SmallDisk()
{
    if (isMounted)
        umount2(dir.c_str(), MNT_DETACH);
    lift();
}

void SmallDisk::setLimit(unsigned long long bytes)
{
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    limited = setrlimit(RLIMIT_FSIZE, &limit) == 0 || limited;
}

void SmallDisk::lift()
{
    if (!limited)
        return;
    setLimit(oldLimit);
    limited = false;
}

// Zeros until the file system refuses, the last partial page included.
void SmallDisk::fill()
{
    if (!isMounted) {
        setLimit(0);
        return;
    }
    FILE* filler = std::fopen((dir + "/filler").c_str(), "w");
    if (!filler)
        return;
    static const char zeros[4096] = {};
    while (std::fwrite(zeros, 1, sizeof zeros, filler) == sizeof zeros) {
    }
    std::fclose(filler);
    if ((filler = std::fopen((dir + "/filler2").c_str(), "w"))) {
        while (std::fputc(0, filler) != EOF && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
}

// Load Grid with the file given in; the editor's Calculate It then reads
// its own page.
TestEditor* editorWithGrid(const std::string& file, const char* deltaTime)
{
    TestEditor* editor = openEditor();
    editor->nextFile = file.c_str();
    editor->command(GridEditorWindow::ID_LOAD_GRID);
    if (!editor->messages.empty()) {
        delete editor;
        return nullptr;
    }
    editor->deltaTime()->setText(deltaTime);
    return editor;
}

bool calculateArguments(TestEditor& editor, double& reynolds, double& timeStep)
{
    editor.simulations.clear();
    editor.command(GridEditorWindow::ID_CALCULATE);
    if (editor.simulations.size() != 1)
        return false;
    reynolds = editor.simulations[0].first;
    timeStep = editor.simulations[0].second;
    return true;
}

std::string exampleGrid(const char* name)
{
    return std::string(KELVO_GRIDS_DIR) + "/" + name;
}
