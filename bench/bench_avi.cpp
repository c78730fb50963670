// Cost of one AVI frame of a run: making the bitmap from the FrameImage and
// compressing and writing it, for each compressor, at the start-up grid
// (40 x 20 cells, 4 pixels each: 160 x 80) and at a large one (120 x 80
// cells, 15 pixels each: 1800 x 1200). The file goes to /dev/null, so the
// figures leave out the disk.
#include <benchmark/benchmark.h>

#include "io/avi_writer.h"
#include "render/frame_image.h"

namespace {
struct FrameSize {
    int nx;
    int ny;
    int k;
};

constexpr FrameSize sizes[] = {{40, 20, 4}, {120, 80, 15}};
Compressor benchCompressor = Compressor::FullFrames;

// The compressor under test, at a typical quality.
bool chooseBenchCompressor(CompressOptions& options)
{
    options.compressor = benchCompressor;
    options.quality = 85;
    return true;
}

// A smooth field with some structure, like a rendered flow.
void paintFlowLikePicture()
{
    const int width = frameWidth();
    const int height = frameHeight();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            fillFrameRect(x, y, x, y, (x * 255) / width, (y * 255) / height, ((x + y) / 7) % 2 ? 200 : 40);
}

// Opens an AVI at the size for the compressor; false if that fails.
bool openBenchFile(const benchmark::State& state)
{
    const FrameSize size = sizes[state.range(1)];
    allocateFrameImage(size.nx * size.k, size.ny * size.k);
    paintFlowLikePicture();
    benchCompressor = static_cast<Compressor>(state.range(0));
    setAviCompressorChooser(chooseBenchCompressor);
    setAviFileName("/dev/null");
    return aviOpen();
}

// makeFrameDib and the write, per frame.
void BM_AviFrame(benchmark::State& state)
{
    if (!openBenchFile(state)) {
        state.SkipWithError("aviOpen failed");
        releaseFrameImage();
        return;
    }
    int32_t n = 0;
    for (auto _ : state)
        if (!aviWriteFrame(n++))
            state.SkipWithError("aviWriteFrame failed");
    aviClose();
    releaseFrameImage();
}

// makeFrameDib alone: the conversion from float planes to the bitmap.
void BM_MakeFrameDib(benchmark::State& state)
{
    if (!openBenchFile(state)) {
        state.SkipWithError("aviOpen failed");
        releaseFrameImage();
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(makeFrameDib());
    aviClose();
    releaseFrameImage();
}
}  // namespace

// Arguments: compressor (0 full frames, 1 Motion JPEG, 2 FFV1, 3 Ut Video),
// size (0 = 160 x 80, 1 = 1800 x 1200).
BENCHMARK(BM_AviFrame)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeFrameDib)->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
