#include "python/python_errors.h"

#include <stdexcept>

namespace py = pybind11;

namespace {
// The error types the module defines; kept as its attributes, so nothing
// here holds them.
struct BlowUp : std::runtime_error {
    using std::runtime_error::runtime_error;
};
}  // namespace

void registerErrors(py::module_& m)
{
    py::exception<BlowUp> type(m, "BlowUpError", PyExc_RuntimeError);
    type.doc() = "The flow blew up: a field became non-finite or a speed grew far beyond the set-up's.\n"
                 "The message says where, and a time step to try, as the simulation window does.";
}

void raiseBlowUp(const std::string& message)
{
    const py::object type = py::module_::import("kelvo").attr("BlowUpError");
    PyErr_SetString(type.ptr(), message.c_str());
    throw py::error_already_set();
}

void raiseFileError(const std::string& message)
{
    PyErr_SetString(PyExc_OSError, message.c_str());
    throw py::error_already_set();
}

void raiseValueError(const std::string& message) { throw py::value_error(message); }
