// Cost of one AVI frame of a run: making the bitmap from the picture and
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
// A smooth field with some structure, like a rendered flow.
void paintFlowLikePicture(FrameImage& picture)
{
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.fillRect(x, y, x, y, (x * 255) / width, (y * 255) / height, ((x + y) / 7) % 2 ? 200 : 40);
}

// A picture at the size of the benchmark and an AVI output with the
// compressor under test at a typical quality, writing to /dev/null.
struct BenchFile {
    FrameImage picture;
    AviOutput avi;

    explicit BenchFile(const benchmark::State& state)
        : avi([compressor = static_cast<Compressor>(state.range(0))](CompressOptions& options) {
              options.compressor = compressor;
              options.quality = 85;
              return true;
          })
    {
        const FrameSize size = sizes[state.range(1)];
        picture.allocate(size.nx * size.k, size.ny * size.k);
        paintFlowLikePicture(picture);
        avi.setFileName("/dev/null");
    }
    // Opens the file; false if that fails.
    bool open() { return avi.open(picture.rgbPlanes()); }
};

// makeFrameDib and the write, per frame.
void BM_AviFrame(benchmark::State& state)
{
    BenchFile file(state);
    if (!file.open()) {
        state.SkipWithError("aviOpen failed");
        return;
    }
    int32_t n = 0;
    for (auto _ : state)
        if (!file.avi.writeFrame(file.picture.rgbPlanes(), n++))
            state.SkipWithError("aviWriteFrame failed");
    file.avi.close();
}

// makeFrameDib alone: the conversion from float planes to the bitmap.
void BM_MakeFrameDib(benchmark::State& state)
{
    BenchFile file(state);
    if (!file.open()) {
        state.SkipWithError("aviOpen failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(file.avi.makeFrameDib(file.picture.rgbPlanes()));
    file.avi.close();
}
}  // namespace

// Arguments: compressor (0 full frames, 1 Motion JPEG, 2 FFV1, 3 Ut Video),
// size (0 = 160 x 80, 1 = 1800 x 1200).
BENCHMARK(BM_AviFrame)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeFrameDib)->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
