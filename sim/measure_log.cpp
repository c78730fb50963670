#include "sim/measure_log.h"

namespace {
constexpr size_t copyChunk = 1 << 16;
}

MeasureLog::MeasureLog(const Grid& state, double reynolds, bool wallsOnFaces)
    : reynolds(reynolds), current(std::make_unique<Measurements>(state, reynolds, ReferenceScales{},
                                                                 std::vector<ProbePoint>{})),
      wallsOnFaces(wallsOnFaces)
{
    current->setSampleLimit(samplesKept);
    current->setWallsOnFaces(wallsOnFaces);
    current->sampleForces(state);
    startHistory();
}

MeasureLog::~MeasureLog()
{
    if (scratch) std::fclose(scratch);
}

void MeasureLog::startHistory()
{
    if (scratch) std::fclose(scratch);
    scratch = std::tmpfile();
    lines = 0;
}

void MeasureLog::record(const Grid& state, long long step, double t, double dt, int iterations)
{
    current->record(state, t);
    if (!scratch) return;
    const std::string line = historyLine(*current, step, t, dt, iterations, flowFigures(state));
    if (std::fputs(line.c_str(), scratch) >= 0) ++lines;
}

void MeasureLog::addProbe(const ProbePoint& at, const Grid& state)
{
    std::vector<ProbePoint> probes = current->probes();
    probes.push_back(at);
    current->setProbes(std::move(probes));
    current->sampleProbes(state);
    startHistory();
}

void MeasureLog::removeProbe(size_t index)
{
    std::vector<ProbePoint> probes = current->probes();
    if (index >= probes.size()) return;
    probes.erase(probes.begin() + static_cast<std::ptrdiff_t>(index));
    current->setProbes(std::move(probes));
    startHistory();
}

void MeasureLog::restart(const Grid& state)
{
    const std::vector<ProbePoint> probes = current->probes();
    current = std::make_unique<Measurements>(state, reynolds, ReferenceScales{}, probes);
    current->setSampleLimit(samplesKept);
    current->setWallsOnFaces(wallsOnFaces);
    // The state's forces show at once; the history starts with the next step.
    current->sampleForces(state);
    current->sampleProbes(state);
    startHistory();
}

bool MeasureLog::exportHistory(const std::string& path)
{
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return false;
    bool ok = std::fputs(historyHeader(*current).c_str(), out) >= 0;
    if (scratch) {
        std::fflush(scratch);
        std::rewind(scratch);
        std::vector<char> chunk(copyChunk);
        size_t got;
        while (ok && (got = std::fread(chunk.data(), 1, chunk.size(), scratch)) > 0)
            ok = std::fwrite(chunk.data(), 1, got, out) == got;
        std::fseek(scratch, 0, SEEK_END);
    }
    return std::fclose(out) == 0 && ok;
}
