#include "io/emitter_section.h"

#include "io/little_endian.h"

#include <cmath>
#include <cstdint>

std::vector<unsigned char> encodeEmitterSection(const Emitters& emitters)
{
    std::vector<unsigned char> bytes;
    LittleEndianWriter out(bytes);
    out.u32(static_cast<std::uint32_t>(emitters.size()));
    for (const Emitter& e : emitters) {
        for (double value : {e.x1, e.y1, e.x2, e.y2})
            out.f64(value);
        out.i32(e.every);
        out.i32(e.colour);
    }
    return bytes;
}

bool decodeEmitterSection(const unsigned char* bytes, std::size_t length, Emitters& emitters)
{
    if (length < 4)
        return false;
    LittleEndianReader in(bytes);
    const std::uint32_t count = in.u32();
    if (count > emitter_section::maxEmitters || length != 4 + emitter_section::recordLength * count)
        return false;
    Emitters read(count);
    for (Emitter& e : read) {
        for (double* value : {&e.x1, &e.y1, &e.x2, &e.y2}) {
            *value = in.f64();
            if (!std::isfinite(*value))
                return false;
        }
        e.every = in.i32();
        e.colour = in.i32();
        if (e.every < 0 || e.colour < 0)
            return false;
    }
    emitters = std::move(read);
    return true;
}
