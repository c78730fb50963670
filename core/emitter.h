// Emitter: where tracer particles enter the flow. A point releases one
// particle, a segment one particle per cell length along it (both ends
// included), every K steps; a timeline is a segment that releases once, at
// the first step a run takes.
//
// Positions are in domain units, as probes take them: origin at the grid's
// south-west corner (border ring included), x east, y north.
#pragma once

#include <cstdint>
#include <vector>

struct Emitter {
    double x1 = 0.0, y1 = 0.0;  // the point, or the segment's first end
    double x2 = 0.0, y2 = 0.0;  // the segment's other end; equal to (x1, y1) for a point
    int32_t every = 5;          // steps between releases; 0 releases once (a timeline)
    int32_t colour = 0;         // index into the particle palette (render/particles.h)

    bool isPoint() const { return x1 == x2 && y1 == y2; }
    bool isTimeline() const { return every == 0; }
    bool operator==(const Emitter& o) const
    {
        return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && every == o.every && colour == o.colour;
    }
};

using Emitters = std::vector<Emitter>;

// Particles a segment of length releases when cells are cellSize long:
// one per cell length, both ends included; a point releases one.
int32_t releaseCount(const Emitter& emitter, double cellSize);
