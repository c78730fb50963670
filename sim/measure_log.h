// The measurements of a run watched in the simulation window: recorded
// after every step, with the history lines (the columns kelvo-batch
// --history writes) kept in a scratch file until they are exported, so a
// long run costs disk, not memory.
#pragma once

#include "core/grid.h"
#include "sim/measurements.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class MeasureLog {
public:
    // Coefficient samples each body keeps for its means, amplitudes and St.
    static constexpr size_t samplesKept = 20000;

    // Finds the bodies of state; no probes yet.
    // wallsOnFaces: where the method that makes the states holds the walls'
    // no-slip values (core/body_forces.h).
    MeasureLog(const Grid& state, double reynolds, bool wallsOnFaces = false);
    ~MeasureLog();
    MeasureLog(const MeasureLog&) = delete;
    MeasureLog& operator=(const MeasureLog&) = delete;

    // After step number step, which ended at time t.
    void record(const Grid& state, long long step, double t, double dt, int iterations);
    // A probe more, read from state at once, or one fewer: the history
    // starts again, since its columns change.
    void addProbe(const ProbePoint& at, const Grid& state);
    void removeProbe(size_t index);
    // After the run was rebuilt: the bodies found again in state, the
    // samples and the history emptied, the probes kept.
    void restart(const Grid& state);

    const Measurements& measurements() const { return *current; }
    long long historyLines() const { return lines; }
    // The header and every line since the history last started; false when
    // the file cannot be written.
    bool exportHistory(const std::string& path);

private:
    void startHistory();

    double reynolds;
    std::unique_ptr<Measurements> current;
    bool wallsOnFaces = false;
    std::FILE* scratch = nullptr;  // the lines without the header; owned
    long long lines = 0;
};
