#include "io/particle_section.h"

#include "io/little_endian.h"

#include <cmath>
#include <cstdint>

std::vector<unsigned char> encodeParticleSection(const ParticleState& state)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(particle_section::headerLength + particle_section::recordLength * state.particles.size());
    LittleEndianWriter out(bytes);
    out.i64(state.steps);
    out.u64(state.nextSerial);
    out.u32(static_cast<std::uint32_t>(state.particles.size()));
    for (const Particle& p : state.particles) {
        out.f64(p.x);
        out.f64(p.y);
        out.u64(p.serial);
        out.i32(p.emitter);
        out.i32(p.colour);
    }
    return bytes;
}

bool decodeParticleSection(const unsigned char* bytes, std::size_t length, ParticleState& state)
{
    using namespace particle_section;
    if (length < headerLength)
        return false;
    LittleEndianReader in(bytes);
    ParticleState read;
    read.steps = in.i64();
    read.nextSerial = in.u64();
    const std::uint32_t count = in.u32();
    if (read.steps < 0 || (length - headerLength) / recordLength != count || (length - headerLength) % recordLength)
        return false;
    read.particles.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        Particle& p = read.particles[k];
        p.x = in.f64();
        p.y = in.f64();
        p.serial = in.u64();
        p.emitter = in.i32();
        p.colour = in.i32();
        const bool rising = k == 0 || p.serial > read.particles[k - 1].serial;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !rising || p.serial >= read.nextSerial)
            return false;
    }
    state = std::move(read);
    return true;
}
