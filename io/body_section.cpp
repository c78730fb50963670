#include "io/body_section.h"

#include "io/little_endian.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr unsigned circleCode = 0, polygonCode = 1;

// Reads from a payload whose remaining length it tracks.
class PayloadReader {
public:
    PayloadReader(const unsigned char* bytes, std::size_t length) : in(bytes), left(length) {}
    bool has(std::size_t count) const { return left >= count; }
    std::size_t remaining() const { return left; }
    unsigned u8()
    {
        left -= 1;
        return in.u8();
    }
    std::uint32_t u32()
    {
        left -= 4;
        return in.u32();
    }
    double f64()
    {
        left -= 8;
        return in.f64();
    }

private:
    LittleEndianReader in;
    std::size_t left;
};

bool readNumbers(PayloadReader& in, double* values, int count)
{
    if (!in.has(8 * static_cast<std::size_t>(count)))
        return false;
    for (int k = 0; k < count; ++k) {
        values[k] = in.f64();
        if (!std::isfinite(values[k]))
            return false;
    }
    return true;
}

bool readOutline(PayloadReader& in, BodyOutline& outline)
{
    if (!in.has(1))
        return false;
    const unsigned shape = in.u8();
    if (shape == circleCode) {
        double v[3];
        if (!readNumbers(in, v, 3) || !(v[2] > 0.0))
            return false;
        outline = BodyOutline::circle(v[0], v[1], v[2]);
        return true;
    }
    if (shape != polygonCode || !in.has(4))
        return false;
    const std::uint32_t count = in.u32();
    if (count < 3 || count > in.remaining() / 16)
        return false;
    std::vector<OutlinePoint> corners(count);
    for (OutlinePoint& c : corners) {
        double v[2];
        if (!readNumbers(in, v, 2))
            return false;
        c = {v[0], v[1]};
    }
    outline = BodyOutline::polygon(std::move(corners));
    return true;
}

}  // namespace

std::vector<unsigned char> encodeBodySection(const std::vector<BodyOutline>& outlines)
{
    std::vector<unsigned char> bytes;
    LittleEndianWriter out(bytes);
    out.u32(static_cast<std::uint32_t>(outlines.size()));
    for (const BodyOutline& o : outlines) {
        if (o.shape == BodyOutline::Shape::Circle) {
            out.u8(circleCode);
            out.f64(o.centre.x);
            out.f64(o.centre.y);
            out.f64(o.radius);
        } else {
            out.u8(polygonCode);
            out.u32(static_cast<std::uint32_t>(o.corners.size()));
            for (const OutlinePoint& c : o.corners) {
                out.f64(c.x);
                out.f64(c.y);
            }
        }
    }
    return bytes;
}

bool decodeBodySection(const unsigned char* bytes, std::size_t length, std::vector<BodyOutline>& outlines)
{
    PayloadReader in(bytes, length);
    if (!in.has(4))
        return false;
    const std::uint32_t count = in.u32();
    // Each outline takes at least 25 bytes: a hostile count allocates nothing.
    if (count > in.remaining() / 25)
        return false;
    std::vector<BodyOutline> read(count);
    for (BodyOutline& o : read)
        if (!readOutline(in, o))
            return false;
    if (in.remaining() != 0)
        return false;
    outlines = std::move(read);
    return true;
}
