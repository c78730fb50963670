#include "cli/stop_request.h"

#include <csignal>
#include <signal.h>

namespace {

// A signal handler can only hand over a flag: the one piece of process-wide
// state of the batch runner.
volatile std::sig_atomic_t stopSignalled = 0;

extern "C" void noteStopSignal(int)
{
    stopSignalled = 1;
}

}  // namespace

void catchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    // The handler is put back to the default after the first signal.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested()
{
    return stopSignalled != 0;
}
