// The module's exceptions: the program's own messages, as Python errors.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

// Adds kelvo.BlowUpError to the module.
void registerErrors(pybind11::module_& m);

// Raises kelvo.BlowUpError: the flow blew up; the message is the window's.
[[noreturn]] void raiseBlowUp(const std::string& message);
// Raises OSError for a file that could not be read or written.
[[noreturn]] void raiseFileError(const std::string& message);
// Raises ValueError for a value out of its range or a file that is not valid.
[[noreturn]] void raiseValueError(const std::string& message);
