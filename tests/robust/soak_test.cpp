// Long runs of the example channel in the simulation window: thousands of
// frame cycles with PPM files, Stop and Start every 500 cycles and the
// Output Size changed now and then, with the resident memory at the end
// against that after the first 500; and a long AVI run that closes into a
// file ffprobe reads whole. KELVO_SOAK_CYCLES and KELVO_SOAK_AVI_FRAMES set
// the lengths (the defaults are the short runs of the test suite).
#include "robust_support.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int32_t segment = 500;       // cycles between Stop and Start
constexpr int startSize = 4;           // the window's starting Output Size
constexpr double patience = 600.0;     // seconds one segment may take

int lengthFromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

// The Output Size of segment k of count: the start size first and last
// (so the two memory readings see the same picture), others between.
int sizeOfSegment(int k, int count)
{
    static const int others[] = {2, 6, 3, 5, 1};
    if (k == 0 || k == count - 1)
        return startSize;
    return others[k % 5];
}

class SoakTest : public testing::Test {
protected:
    void SetUp() override
    {
        editor.reset(editorWithGrid(exampleGrid("channel.grid"), "0.003"));
        ASSERT_TRUE(editor);
        double reynolds = 0;
        double timeStep = 0.0;
        ASSERT_TRUE(calculateArguments(*editor, reynolds, timeStep));
        window = std::make_unique<RobustWindow>(editor.get(), &editor->editedGrid(), reynolds, timeStep);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.05);
    }
    void TearDown() override
    {
        window.reset();
        editor.reset();
    }

    ScratchDirectory scratch;
    std::unique_ptr<TestEditor> editor;
    std::unique_ptr<RobustWindow> window;
};

TEST_F(SoakTest, PpmFramesWithStopStartAndSizeChangesKeepMemoryFlat)
{
    const int total = lengthFromEnvironment("KELVO_SOAK_CYCLES", 2000);
    const int segments = (total + segment - 1) / segment;
    window->choose(window->savePpm);
    const auto began = std::chrono::steady_clock::now();
    long afterFirst = 0;
    for (int k = 0; k < segments; ++k) {
        const int size = sizeOfSegment(k, segments);
        if (size != window->pixelsPerCell)
            window->changeOutputSize(size);
        ASSERT_TRUE(window->runCycles(segment, patience)) << "segment " << k << ", " << window->cycles();
        ASSERT_GE(window->cycles(), segment);  // the worker may be a cycle ahead
        window->send(CalculateWindow::ID_STOP);
        ASSERT_TRUE(window->isIdle());
        ASSERT_TRUE(window->failures.empty()) << window->failures[0];
        if (k == 0)
            afterFirst = residentKiB();
    }
    const long atEnd = residentKiB();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("soak: %d cycles in %.1f s; resident %ld KiB after %d, %ld KiB at the end\n", segments * segment,
                seconds, afterFirst, segment, atEnd);
    if (residentMemoryIsMeaningful()) {
        EXPECT_LE(atEnd, afterFirst + afterFirst / 20) << afterFirst << " KiB, then " << atEnd << " KiB";
    }

    // The last segment's files: all 500 of the start size, whole.
    std::string why;
    EXPECT_EQ(window->picture().width(), startSize * 40);
    EXPECT_TRUE(isWellFormedPpm("frames/frame_00499.ppm", window->picture().width(), window->picture().height(), why)) << why;
}

TEST_F(SoakTest, LongAviRunClosesIntoAWholeFile)
{
    const int frames = lengthFromEnvironment("KELVO_SOAK_AVI_FRAMES", 300);
    window->choose(window->saveAvi);
    window->aviAnswer = "soak.avi";
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(window->runCycles(frames, patience * (1 + frames / 2000)));
    // The worker may finish a cycle or two beyond the one the window last
    // took; paused first, the count is exact before Stop closes the file.
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t written = window->cycles();
    ASSERT_GE(written, frames);
    window->send(CalculateWindow::ID_STOP);
    EXPECT_TRUE(window->isIdle());
    EXPECT_TRUE(window->aviMessages.empty());
    std::string probe;
    const int read = aviVideoFrames("soak.avi", probe);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("soak: %d AVI frames written and probed in %.1f s\n", written, seconds);
    EXPECT_EQ(read, 77 + written) << probe;
}

}  // namespace
