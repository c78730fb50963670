// Shared pieces of the window tests: the application, an owner window, and
// bounded event loops.
#pragma once

#include <fx.h>

#include <functional>

FXApp* testApp();
FXMainWindow* testOwner();

// Runs events, chores and updates until done() holds; false when seconds
// passed first.
bool runUntil(const std::function<bool()>& done, double seconds);
// Runs whatever is waiting for the given time.
void settle(double seconds);
