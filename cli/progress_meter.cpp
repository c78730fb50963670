// The progress meter and its text.
#include "cli/progress_meter.h"

#include "cli/batch_constants.h"

#include <algorithm>
#include <cmath>

namespace {

// steps per second so far; 0 before any time has passed.
double rateOf(long long done, double elapsedSeconds)
{
    return elapsedSeconds > 0.0 ? static_cast<double>(done) / elapsedSeconds : 0.0;
}

// The expected remaining time as text, "?" while the rate is unknown.
std::string timeLeft(long long done, long long total, double elapsedSeconds)
{
    const double rate = rateOf(done, elapsedSeconds);
    if (rate <= 0.0)
        return "?";
    return formatDuration(static_cast<double>(total - done) / rate);
}

}  // namespace

ProgressMeter::ProgressMeter(std::FILE* stream, long long totalSteps, bool isTerminal)
    : out(stream), total(totalSteps), terminal(isTerminal)
{
}

void ProgressMeter::update(long long done, double elapsedSeconds)
{
    const double interval =
        terminal ? batch_constants::barRedrawSeconds : batch_constants::lineIntervalSeconds;
    if (elapsedSeconds - lastPrint < interval)
        return;
    lastPrint = elapsedSeconds;
    if (terminal) {
        std::fprintf(out, "\r%s",
                     progressBar(done, total, elapsedSeconds, batch_constants::barWidth).c_str());
        drawn = true;
    } else {
        std::fprintf(out, "%s\n", progressLine(done, total, elapsedSeconds).c_str());
    }
    std::fflush(out);
}

void ProgressMeter::finish()
{
    if (drawn)
        std::fputc('\n', out);
    drawn = false;
    std::fflush(out);
}

// filled = floor(width * done / total), the percentage likewise.
std::string progressBar(long long done, long long total, double elapsedSeconds, int width)
{
    const double share =
        total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0)
                  : 1.0;
    const int filled = static_cast<int>(std::floor(share * width));
    std::string bar = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]";
    char text[160];
    std::snprintf(text, sizeof text, " %3d%%  %lld/%lld steps  %.1f steps/s  %s left",
                  static_cast<int>(std::floor(share * 100.0)), done, total,
                  rateOf(done, elapsedSeconds), timeLeft(done, total, elapsedSeconds).c_str());
    return bar + text;
}

std::string progressLine(long long done, long long total, double elapsedSeconds)
{
    char text[160];
    std::snprintf(text, sizeof text, "kelvo-batch: %lld/%lld steps, %.1f steps/s, %s left", done,
                  total, rateOf(done, elapsedSeconds),
                  timeLeft(done, total, elapsedSeconds).c_str());
    return text;
}

std::string formatDuration(double seconds)
{
    // Capped so a near-zero rate cannot overflow the conversion.
    const double capped = std::min(seconds, 1e9);
    const long long whole = capped > 0.0 ? static_cast<long long>(std::ceil(capped)) : 0;
    char text[64];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}
