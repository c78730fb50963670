// The functions of the video libraries (FFmpeg) this program calls, loaded
// when the first AVI is written. Linked at build time they would bring in
// some 130 shared objects at every start of every program, whether it writes
// an animation or not, and cost a tenth of a second each time.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <memory>
#include <string>
#include <vector>

#define KELVO_AV_FUNCTIONS(X)                                                                     \
    X(av_frame_alloc) X(av_frame_free) X(av_frame_get_buffer) X(av_frame_make_writable)          \
    X(av_log_set_level) X(av_new_packet) X(av_packet_alloc) X(av_packet_free) X(av_packet_unref) \
    X(av_rescale_q) X(av_write_frame) X(av_write_trailer) X(avcodec_alloc_context3)              \
    X(avcodec_find_encoder) X(avcodec_free_context) X(avcodec_open2)                             \
    X(avcodec_parameters_from_context) X(avcodec_receive_packet) X(avcodec_send_frame)           \
    X(avformat_alloc_output_context2) X(avformat_free_context) X(avformat_new_stream)            \
    X(avformat_write_header) X(avio_closep) X(avio_open)

// Each member has the name and type of the library function it points to.
struct AvLibrary {
#define KELVO_AV_MEMBER(name) decltype(&::name) name = nullptr;
    KELVO_AV_FUNCTIONS(KELVO_AV_MEMBER)
#undef KELVO_AV_MEMBER
};

// What loading gave: every function, or none and the reason.
struct AvLoad {
    std::unique_ptr<AvLibrary> functions;
    std::string failure;
};

// The shared objects of the major versions the headers describe.
std::vector<std::string> avSharedObjects();

// Opens the shared objects in order and finds every function among them;
// on any failure no function is kept. The objects stay loaded.
AvLoad loadAvLibrary(const std::vector<std::string>& sharedObjects);

// The functions of avSharedObjects(), loaded once on first call (safe from
// any thread), their log silenced; null when they could not be loaded.
const AvLibrary* avLibrary();

// The loaded functions, for code reached only once avLibrary() gave them
// (every AVI handle exists only then).
inline const AvLibrary& av() { return *avLibrary(); }
