// Names typed into the save dialogs.
#pragma once

#include <string>

// name with extension (".grid", ".csv", ...) added when its last path
// component has none, so that a dialog's filter shows the file later. A
// leading dot does not start an extension (".hidden" gets one); a trailing
// dot takes the extension's letters ("run." becomes "run.csv").
std::string withDefaultExtension(const std::string& name, const std::string& extension);
