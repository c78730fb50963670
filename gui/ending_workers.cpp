#include "gui/ending_workers.h"

#include <algorithm>
#include <vector>

namespace {

// Only the event thread touches the list. Whatever is left at the program's
// end is waited for as the list goes: a quit worker holds nothing of the
// toolkit's.
std::vector<std::unique_ptr<SimulationWorker>>& endingWorkers()
{
    static std::vector<std::unique_ptr<SimulationWorker>> workers;
    return workers;
}

}  // namespace

void keepUntilEnded(std::unique_ptr<SimulationWorker> worker)
{
    endingWorkers().push_back(std::move(worker));
}

void freeEndedWorkers()
{
    std::vector<std::unique_ptr<SimulationWorker>>& workers = endingWorkers();
    workers.erase(std::remove_if(workers.begin(), workers.end(),
                                 [](const std::unique_ptr<SimulationWorker>& worker) { return worker->ended(); }),
                  workers.end());
}

std::size_t endingWorkerCount()
{
    return endingWorkers().size();
}
