#include "python/grid_binding.h"

#include "core/cell_types.h"
#include "io/picture_grid.h"
#include "python/array_views.h"
#include "python/grid_arrays.h"
#include "python/grid_setup_binding.h"
#include "python/python_errors.h"
#include "sim/batch_run.h"

#include <pybind11/stl.h>

#include <cctype>
#include <string>

namespace py = pybind11;

namespace {

// The sizes a grid can have: what a grid file and a picture's grid hold.
constexpr int minCells = 3;
constexpr int maxAcross = 1024;
constexpr int maxUp = 512;

void checkSize(int nx, int ny)
{
    if (nx < minCells || nx > maxAcross || ny < minCells || ny > maxUp)
        raiseValueError("a grid needs nx from " + std::to_string(minCells) + " to " + std::to_string(maxAcross) +
                        " and ny from " + std::to_string(minCells) + " to " + std::to_string(maxUp) + ", not " +
                        std::to_string(nx) + " x " + std::to_string(ny));
}

PyGrid newGrid(int nx, int ny)
{
    checkSize(nx, ny);
    PyGrid g;
    makeFluidGrid(g.grid, nx, ny);
    return g;
}

PyGrid loadGrid(const std::string& path)
{
    PyGrid g;
    const GridFileStatus status = readGridFile(path, g.grid, g.settings);
    if (status == GridFileStatus::CannotOpen)
        raiseFileError(gridFileMessage(status, path));
    if (status != GridFileStatus::Ok)
        raiseValueError(gridFileMessage(status, path));
    return g;
}

PyGrid gridFromPicture(const std::string& path, int nx, int ny)
{
    checkSize(nx, ny);
    PyGrid g;
    const std::string error = loadPictureGrid(path, nx, ny, g.grid);
    if (!error.empty())
        raiseFileError(error);
    return g;
}

void checkCell(const Grid& grid, int i, int j)
{
    if (i < 0 || i >= grid.NX || j < 0 || j >= grid.NY)
        throw py::index_error("cell (" + std::to_string(i) + ", " + std::to_string(j) + ") lies outside the " +
                              std::to_string(grid.NX) + " x " + std::to_string(grid.NY) + " grid");
}

// "no-slip wall" -> "NOSLIP_WALL".
std::string constantName(const char* name)
{
    std::string out;
    for (const char* c = name; *c; ++c)
        if (*c == ' ')
            out += '_';
        else if (*c != '-')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    return out;
}

void bindCellTypes(py::module_& m)
{
    py::dict types;
    for (const CellTypeInfo& type : cellTypes()) {
        types[type.name] = type.bits;
        m.attr(constantName(type.name).c_str()) = type.bits;
    }
    m.attr("cell_types") = types;
    m.attr("EAST") = static_cast<int>(DIR_EAST);
    m.attr("WEST") = static_cast<int>(DIR_WEST);
    m.attr("NORTH") = static_cast<int>(DIR_NORTH);
    m.attr("SOUTH") = static_cast<int>(DIR_SOUTH);
    m.attr("TYPE_MASK") = static_cast<int>(CELL_TYPE_MASK);
}

}  // namespace

void bindGrid(py::module_& m)
{
    bindCellTypes(m);
    py::class_<PyGrid> cls(m, "Grid",
                           "A set-up: the cells, their velocities and pressure, and the settings a grid file\n"
                           "carries (Reynolds number, default velocities). Cell (i, j) has i = 0..nx-1 west to\n"
                           "east and j = 0..ny-1 south to north, the border ring included; every array is\n"
                           "indexed [i, j]. The arrays are views of the grid itself: writing them changes it.");
    cls.def(py::init(&newGrid), py::arg("nx"), py::arg("ny"),
            "An all-fluid grid of nx x ny cells (3..1024 x 3..512) with a new grid's settings; the\n"
            "domain is 1 high and max(1, nx // ny) wide.");
    cls.def_static("load", &loadGrid, py::arg("path"),
                   "Reads a grid file (either format). OSError when it cannot be read, ValueError when it\n"
                   "is not a valid grid file.");
    cls.def_static("from_picture", &gridFromPicture, py::arg("path"), py::arg("nx"), py::arg("ny"),
                   "A grid of nx x ny cells sampled from a PNG, BMP, GIF or JPEG picture, each colour\n"
                   "taken as the editor's Import Image takes it; a new grid's settings.");
    cls.def("save", [](const PyGrid& g, const std::string& path) {
        if (!saveGridFile(path, g.grid, g.settings))
            raiseFileError("cannot write the grid to '" + path + "'");
    }, py::arg("path"), "Writes the grid and its settings as a grid file (the classic format when it holds\n"
                        "them without loss, else version 2).");
    cls.def("set_cell", [](PyGrid& g, int i, int j, int word) {
        checkCell(g.grid, i, j);
        g.grid.setCell(i, j, word);
    }, py::arg("i"), py::arg("j"), py::arg("cell_type"),
       "Sets one cell as the editor does: an inflow on the border is pointed into the domain\n"
       "and an outflow out of it (writing cells directly sets no direction).");
    cls.def("copy", [](const PyGrid& g) {
        PyGrid out;
        out.settings = g.settings;
        copyGridArrays(g.grid, out.grid);
        return out;
    }, "A deep copy.");
    cls.def_property_readonly("nx", [](const PyGrid& g) { return g.grid.NX; }, "Cells west to east, border included.");
    cls.def_property_readonly("ny", [](const PyGrid& g) { return g.grid.NY; }, "Cells south to north, border included.");
    cls.def_property_readonly("dx", [](const PyGrid& g) { return g.grid.dx; }, "Cell width, domain units.");
    cls.def_property_readonly("dy", [](const PyGrid& g) { return g.grid.dy; }, "Cell height, domain units.");
    cls.def_property("re", [](const PyGrid& g) { return g.settings.reynolds; },
                     [](PyGrid& g, double re) { g.settings.reynolds = re; },
                     "The Reynolds number the file carries. A Simulation not given re= takes it as the\n"
                     "editor shows it (and kelvo-batch takes it): clamped into 10..2000.");
    cls.def_property("default_u", [](const PyGrid& g) { return g.settings.defaultU; },
                     [](PyGrid& g, double u) { g.settings.defaultU = u; },
                     "The x velocity written into the fluid cells when a run starts. A Simulation not given\n"
                     "default_u= takes it as the editor shows it: rounded to a whole number in 0..100.");
    cls.def_property("default_v", [](const PyGrid& g) { return g.settings.defaultV; },
                     [](PyGrid& g, double v) { g.settings.defaultV = v; },
                     "The y velocity written into the fluid cells when a run starts. A Simulation not given\n"
                     "default_v= takes it as the editor shows it: rounded to a whole number in 0..100.");
    forEachGridArray([&cls](const char* name, const char* doc, auto member) {
        cls.def_property_readonly(name, [member](py::object self) {
            PyGrid& g = self.cast<PyGrid&>();
            return arrayView(g.grid.*member, self, true);
        }, doc);
    });
    bindGridSetUp(cls);
    cls.def("__repr__", [](const PyGrid& g) {
        return "<kelvo.Grid " + std::to_string(g.grid.NX) + " x " + std::to_string(g.grid.NY) + ">";
    });
}
