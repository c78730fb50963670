#include "python/shapes_binding.h"

#include "python/option_text.h"
#include "python/python_errors.h"
#include "sim/body_options.h"
#include "sim/particle_options.h"

#include <pybind11/stl.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace py = pybind11;

namespace {

BodyOutline parseBody(const std::string& text)
{
    BodyOutline outline;
    std::string error;
    if (!parseBodyOption(text, outline, error))
        raiseValueError(error);
    return outline;
}

// The numbers as the option's text, so one parser checks both forms.
std::string numberList(std::initializer_list<double> values, char separator = ',')
{
    std::string text;
    for (double v : values)
        text += (text.empty() ? "" : std::string(1, separator)) + exactText(v);
    return text;
}

BodyOutline circleBody(double x, double y, double r) { return parseBody("circle:" + numberList({x, y, r})); }

BodyOutline polygonBody(const std::vector<std::pair<double, double>>& corners)
{
    std::string text;
    for (const auto& [x, y] : corners)
        text += (text.empty() ? "" : ";") + numberList({x, y});
    return parseBody("polygon:" + text);
}

BodyOutline nacaBody(const std::string& digits, double x, double y, double chord, double angle)
{
    return parseBody("naca:" + digits + "," + numberList({x, y, chord, angle}));
}

Emitter parseEmitter(const std::string& text, bool timeline)
{
    ParticleOptions options;
    std::string error;
    if (!applyParticleOption(timeline ? "--timeline" : "--emitter", text, options, error))
        raiseValueError(error);
    return options.emitters.front();
}

Emitter numberEmitter(double x1, double y1, std::optional<double> x2, std::optional<double> y2, long long every)
{
    if (x2.has_value() != y2.has_value())
        raiseValueError("an emitter needs both x2 and y2, or neither");
    std::string text = x2 ? numberList({x1, y1, *x2, *y2}) : numberList({x1, y1});
    return parseEmitter(text + ":" + std::to_string(every), false);
}

const char* shapeName(const BodyOutline& b) { return b.shape == BodyOutline::Shape::Circle ? "circle" : "polygon"; }

void bindBody(py::module_& m)
{
    py::class_<BodyOutline> cls(m, "Body",
                                "A body's exact outline, drawn over a grid's cells (Grid.add_body or the bodies=\n"
                                "keyword of Simulation). Domain units: origin at the south-west corner of cell\n"
                                "(0, 0), the domain 1 high. Made from kelvo-batch's --body text or by Circle,\n"
                                "Polygon and Naca; a NACA section is kept as the polygon of its outline.");
    cls.def(py::init(&parseBody), py::arg("text"),
            "A body from kelvo-batch's --body text: 'circle:X,Y,R', 'polygon:X1,Y1;X2,Y2;X3,Y3[;...]'\n"
            "or 'naca:DIGITS,X,Y,CHORD,ANGLE'. ValueError with kelvo-batch's message when malformed.");
    cls.def_property_readonly("shape", &shapeName, "'circle' or 'polygon'.");
    cls.def_property_readonly("centre", [](const BodyOutline& b) { return std::make_pair(b.centre.x, b.centre.y); },
                              "A circle's centre (x, y); (0, 0) for a polygon.");
    cls.def_property_readonly("radius", [](const BodyOutline& b) { return b.radius; },
                              "A circle's radius; 0 for a polygon.");
    cls.def_property_readonly("corners", [](const BodyOutline& b) {
        std::vector<std::pair<double, double>> out;
        for (const OutlinePoint& p : b.corners)
            out.emplace_back(p.x, p.y);
        return out;
    }, "A polygon's corners [(x, y), ...] in order, closed implicitly; empty for a circle.");
    cls.def("distance", [](const BodyOutline& b, double x, double y) { return signedDistance(b, x, y); },
            py::arg("x"), py::arg("y"), "The distance from (x, y) to the outline, negative inside it.");
    cls.def("__repr__", [](const BodyOutline& b) {
        return b.shape == BodyOutline::Shape::Circle
                   ? "<kelvo.Body circle at (" + exactText(b.centre.x) + ", " + exactText(b.centre.y) + "), r " +
                         exactText(b.radius) + ">"
                   : "<kelvo.Body polygon of " + std::to_string(b.corners.size()) + " corners>";
    });
    m.def("Circle", &circleBody, py::arg("x"), py::arg("y"), py::arg("r"),
          "A circular Body of radius r (above 0) centred at (x, y): --body circle:X,Y,R.");
    m.def("Polygon", &polygonBody, py::arg("corners"),
          "A polygonal Body of three or more corners [(x, y), ...] enclosing an area: --body polygon.");
    m.def("Naca", &nacaBody, py::arg("digits"), py::arg("x"), py::arg("y"), py::arg("chord"), py::arg("angle"),
          "A NACA four-digit section as a Body: digits such as '0012', (x, y) its leading edge,\n"
          "chord above 0, angle of attack in degrees, nose up for a positive angle (--body naca).");
}

void bindEmitter(py::module_& m)
{
    py::class_<Emitter> cls(m, "Emitter",
                            "Where tracer particles enter the flow: a point releasing one particle, or a\n"
                            "segment releasing one per cell length, every `every` steps (0: once, at the first\n"
                            "step). Domain units, as probes.");
    cls.def(py::init([](const std::string& text) { return parseEmitter(text, false); }), py::arg("text"),
            "An emitter from kelvo-batch's --emitter text 'X1,Y1[,X2,Y2][:EVERY]' (EVERY 5 unless\n"
            "given). ValueError with kelvo-batch's message when malformed.");
    cls.def(py::init(&numberEmitter), py::arg("x1"), py::arg("y1"), py::arg("x2") = py::none(),
            py::arg("y2") = py::none(), py::arg("every") = 5,
            "A point (x1, y1), or the segment to (x2, y2), releasing every `every` steps\n"
            "(0..1000000; 0 releases once).");
    cls.def_static("timeline", [](double x1, double y1, double x2, double y2) {
        return parseEmitter(numberList({x1, y1, x2, y2}), true);
    }, py::arg("x1"), py::arg("y1"), py::arg("x2"), py::arg("y2"),
       "A line of particles released once, at the first step: --timeline X1,Y1,X2,Y2.");
    cls.def_readonly("x1", &Emitter::x1, "The point, or the segment's first end: x.");
    cls.def_readonly("y1", &Emitter::y1, "The point, or the segment's first end: y.");
    cls.def_readonly("x2", &Emitter::x2, "The segment's other end: x (x1 for a point).");
    cls.def_readonly("y2", &Emitter::y2, "The segment's other end: y (y1 for a point).");
    cls.def_readonly("every", &Emitter::every, "Steps between releases; 0 releases once.");
    cls.def_readonly("colour", &Emitter::colour,
                     "Its colour in the particle palette: its place in the grid's list once added.");
    cls.def("__eq__", [](const Emitter& a, const Emitter& b) { return a == b; }, py::is_operator(),
            "Equal ends, schedule and colour.");
    cls.def("__repr__", [](const Emitter& e) {
        return "<kelvo.Emitter (" + exactText(e.x1) + ", " + exactText(e.y1) + ")" +
               (e.isPoint() ? "" : "-(" + exactText(e.x2) + ", " + exactText(e.y2) + ")") + " every " +
               std::to_string(e.every) + ">";
    });
}

}  // namespace

BodyOutline bodyFrom(py::handle body)
{
    if (py::isinstance<py::str>(body))
        return parseBody(body.cast<std::string>());
    if (!py::isinstance<BodyOutline>(body))
        throw py::type_error("a body needs a kelvo.Body or its --body text");
    return body.cast<BodyOutline>();
}

namespace {

// The items of a list, refusing a lone string, which would read as its letters.
template <typename Item, typename From>
std::vector<Item> itemsOf(py::handle list, const char* what, From from)
{
    if (py::isinstance<py::str>(list))
        throw py::type_error(std::string(what) + " needs a list, not one string");
    std::vector<Item> out;
    for (py::handle item : py::iter(list))
        out.push_back(from(item));
    return out;
}

}  // namespace

std::vector<BodyOutline> bodiesFrom(py::handle bodies) { return itemsOf<BodyOutline>(bodies, "bodies", bodyFrom); }

Emitter emitterFrom(py::handle emitter, bool timeline)
{
    if (py::isinstance<py::str>(emitter))
        return parseEmitter(emitter.cast<std::string>(), timeline);
    if (!py::isinstance<Emitter>(emitter))
        throw py::type_error(timeline ? "a timeline needs a kelvo.Emitter or its --timeline text"
                                      : "an emitter needs a kelvo.Emitter or its --emitter text");
    return emitter.cast<Emitter>();
}

std::vector<Emitter> emittersFrom(py::handle emitters, bool timeline)
{
    return itemsOf<Emitter>(emitters, timeline ? "timelines" : "emitters",
                            [timeline](py::handle e) { return emitterFrom(e, timeline); });
}

void bindShapes(py::module_& m)
{
    bindBody(m);
    bindEmitter(m);
}
