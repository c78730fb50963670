// The video libraries are found at run time: every function or none, with
// the reason when they cannot be loaded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/av_library.h"

namespace {
struct FailedLoad {
    const char* what;
    std::vector<std::string> objects;
    const char* reasonNames;  // a text the reason must hold
};
}  // namespace

TEST(AvLibrary, LoadsEveryFunctionOrNoneWithTheReason)
{
    const std::vector<std::string> video = avSharedObjects();
    const FailedLoad failures[] = {
        {"missing object", {"libkelvo_no_such_video.so.0"}, "libkelvo_no_such_video.so.0"},
        {"missing after a good one", {video[0], "libkelvo_no_such_video.so.1"},
         "libkelvo_no_such_video.so.1"},
        {"object without the functions", {"libm.so.6"}, "av_frame_alloc"},
        {"only the utilities", {video[0]}, "av_new_packet"},
    };
    for (const FailedLoad& c : failures) {
        const AvLoad load = loadAvLibrary(c.objects);
        EXPECT_EQ(load.functions, nullptr) << c.what;
        EXPECT_NE(load.failure.find(c.reasonNames), std::string::npos) << c.what << ": " << load.failure;
    }

    const AvLoad load = loadAvLibrary(video);
    ASSERT_NE(load.functions, nullptr) << load.failure;
    EXPECT_TRUE(load.failure.empty());
    EXPECT_NE(load.functions->avcodec_find_encoder(AV_CODEC_ID_RAWVIDEO), nullptr);
    ASSERT_NE(avLibrary(), nullptr);
    EXPECT_EQ(avLibrary(), avLibrary());
}
