// A numbered PPM frame that cannot be written whole leaves no cut-off file
// behind that would pass for a frame.
#include "io/ppm_writer.h"

#include "test_planes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A file-size limit on the whole process while the object lives; writes
// beyond it fail with EFBIG instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }

private:
    rlimit old{};
};

class PpmFrameFailure : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_ppm_failure_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        frames.setDirectory(dir.string());
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    TestPlanes picture{160, 80};  // about 60 KB as text, all zero
    PpmFrameOutput frames;
};

TEST_F(PpmFrameFailure, ACutOffFrameIsRemovedAndReported)
{
    PpmWriteResult result;
    {
        FileSizeLimit limit(4096);
        result = frames.writeFrame(picture.view());
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, (dir / "frame_00000.ppm").string());
    EXPECT_FALSE(fs::exists(dir / "frame_00000.ppm"));
    EXPECT_EQ(frames.nextNumber(), 1);

    // With room again the next frame is written whole.
    result = frames.writeFrame(picture.view());
    EXPECT_TRUE(result.ok);
    EXPECT_GT(fs::file_size(dir / "frame_00001.ppm"), 4096u);
}

TEST_F(PpmFrameFailure, AFrameThatFitsIsKept)
{
    FileSizeLimit limit(1 << 20);
    EXPECT_TRUE(frames.writeFrame(picture.view()).ok);
    EXPECT_TRUE(fs::exists(dir / "frame_00000.ppm"));
}

}  // namespace
