// A request to stop a run after its current step, made by SIGINT or SIGTERM
// once catchStopSignals has been called, so the run can still save its
// state. A second signal ends the process as it would without the catch.
#pragma once

void catchStopSignals();
bool stopRequested();
