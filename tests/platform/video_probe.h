// Reads AVI files back with the command-line tools ffprobe and ffmpeg, so
// the tests check what other programs see in our files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One stream as ffprobe describes it.
struct ProbedStream {
    std::string codecType;
    std::string codecName;
    int width = 0;
    int height = 0;
    std::string frameRate;
};

// Every stream of the file; empty when ffprobe cannot read it.
std::vector<ProbedStream> probeStreams(const std::string& path);

// Positions (in 1/50 s) of the non-empty samples of the first video stream.
std::vector<int64_t> samplePositions(const std::string& path);

// The decoded pictures, one per non-empty sample, as top-down RGB bytes.
struct DecodedVideo {
    int width = 0;
    int height = 0;
    std::vector<int64_t> positions;
    std::vector<std::vector<uint8_t>> pictures;

    // The picture on screen at position: the last one written at or before
    // it; null before the first.
    const std::vector<uint8_t>* pictureAt(int64_t position) const;
};

// Decodes every sample of the first video stream without inventing or
// dropping any.
DecodedVideo decodeVideo(const std::string& path);

// Output of a shell command.
std::string commandOutput(const std::string& command);
