#include "video_probe.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {
// Splits "key=value" lines into the streams they describe; a new stream
// starts at each codec_name.
std::vector<ProbedStream> parseStreams(const std::string& text)
{
    std::vector<ProbedStream> streams;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "index")
            streams.emplace_back();
        if (streams.empty())
            continue;
        ProbedStream& stream = streams.back();
        if (key == "codec_type")
            stream.codecType = value;
        else if (key == "codec_name")
            stream.codecName = value;
        else if (key == "width")
            stream.width = std::atoi(value.c_str());
        else if (key == "height")
            stream.height = std::atoi(value.c_str());
        else if (key == "r_frame_rate")
            stream.frameRate = value;
    }
    return streams;
}
}  // namespace

// Runs through the shell and collects standard output.
std::string commandOutput(const std::string& command)
{
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}

// ffprobe's stream entries.
std::vector<ProbedStream> probeStreams(const std::string& path)
{
    return parseStreams(commandOutput(std::string(KELVO_FFPROBE) +
                                      " -v error -show_entries stream=index,codec_type,codec_name,width,height,"
                                      "r_frame_rate -of default=nw=1 '" + path + "'"));
}

// ffprobe's packets of stream 0 with a size above 0.
std::vector<int64_t> samplePositions(const std::string& path)
{
    std::vector<int64_t> positions;
    std::istringstream lines(commandOutput(std::string(KELVO_FFPROBE) +
                                           " -v error -select_streams v:0 -show_entries packet=pts,size"
                                           " -of csv=p=0 '" + path + "'"));
    std::string line;
    while (std::getline(lines, line)) {
        long long pts = 0;
        long long size = 0;
        if (std::sscanf(line.c_str(), "%lld,%lld", &pts, &size) == 2 && size > 0)
            positions.push_back(pts);
    }
    return positions;
}

// The last picture written at or before position.
const std::vector<uint8_t>* DecodedVideo::pictureAt(int64_t position) const
{
    const std::vector<uint8_t>* found = nullptr;
    for (size_t i = 0; i < positions.size() && i < pictures.size(); ++i)
        if (positions[i] <= position)
            found = &pictures[i];
    return found;
}

// Passthrough timing keeps one output picture per decoded sample.
DecodedVideo decodeVideo(const std::string& path)
{
    DecodedVideo video;
    const std::vector<ProbedStream> streams = probeStreams(path);
    if (streams.empty())
        return video;
    video.width = streams[0].width;
    video.height = streams[0].height;
    video.positions = samplePositions(path);
    const std::string bytes = commandOutput(std::string(KELVO_FFMPEG) + " -v error -i '" + path +
                                            "' -map 0:v:0 -vsync passthrough -f rawvideo -pix_fmt rgb24 -");
    const size_t pictureBytes = static_cast<size_t>(video.width) * video.height * 3;
    for (size_t at = 0; pictureBytes > 0 && at + pictureBytes <= bytes.size(); at += pictureBytes)
        video.pictures.emplace_back(bytes.begin() + at, bytes.begin() + at + pictureBytes);
    return video;
}
