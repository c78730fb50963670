// StopRequest: a flag another thread raises to have a long solve give up.
// The iterations check it once per sweep or iteration and end early when it
// is up; the state they leave is then unfinished and good only to be
// thrown away (a window stopping or closing its run). Reading it changes
// no arithmetic, so a run that is never stopped keeps its bits.
#pragma once

#include <atomic>

using StopRequest = std::atomic<bool>;

inline bool stopRequested(const StopRequest* request)
{
    return request && request->load(std::memory_order_relaxed);
}
