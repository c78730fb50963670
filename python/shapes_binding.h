// kelvo.Body and kelvo.Emitter: a body's exact outline and a tracer-particle
// emitter, made from kelvo-batch's --body and --emitter texts or from
// numbers, and checked by the same parsers.
#pragma once

#include "core/body_outline.h"
#include "core/emitter.h"

#include <pybind11/pybind11.h>

#include <vector>

void bindShapes(pybind11::module_& m);

// A kelvo.Body, or a --body text; ValueError with kelvo-batch's message.
BodyOutline bodyFrom(pybind11::handle body);
// Each item of a list (or any iterable but a string) through bodyFrom.
std::vector<BodyOutline> bodiesFrom(pybind11::handle bodies);
// A kelvo.Emitter, or an --emitter text (a --timeline text with timeline).
Emitter emitterFrom(pybind11::handle emitter, bool timeline);
std::vector<Emitter> emittersFrom(pybind11::handle emitters, bool timeline);
