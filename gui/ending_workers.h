// The workers of closed simulation windows that are still giving up a step
// (a second or more on a large grid): kept here so that the window closes
// at once, and each joined and freed on the event thread once it has ended.
// Nothing here waits, except at the program's end.
#pragma once

#include "gui/simulation_worker.h"

#include <cstddef>
#include <memory>

// Keeps a worker that has quit until it has ended.
void keepUntilEnded(std::unique_ptr<SimulationWorker> worker);
// Frees the kept workers that have ended; called as simulation windows open
// and close.
void freeEndedWorkers();
// How many are kept.
std::size_t endingWorkerCount();
