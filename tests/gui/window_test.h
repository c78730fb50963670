// Shared pieces of the window tests: the application, an owner window, and
// bounded event loops.
#pragma once

#include <fx.h>

#include <functional>

// Creates the application and its shown owner window, which every later
// call uses; main keeps the returned application alive.
FXApp& startTestApplication(FXApp& app, int& argc, char** argv);

FXApp* testApp();
FXMainWindow* testOwner();

// Runs events, chores and updates until done() holds; false when seconds
// passed first.
bool runUntil(const std::function<bool()>& done, double seconds);
// Runs whatever is waiting for the given time.
void settle(double seconds);
