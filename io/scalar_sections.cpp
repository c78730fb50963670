#include "io/scalar_sections.h"

#include "io/little_endian.h"

#include <cmath>

namespace {

constexpr std::size_t heatHeaderLength = 17;
constexpr std::size_t heatRecordLength = 9;
constexpr std::size_t dyeHeaderLength = 12;
constexpr std::size_t dyeRecordLength = 8;

std::size_t cellsOf(int32_t NX, int32_t NY) { return static_cast<std::size_t>(NX) * static_cast<std::size_t>(NY); }

}  // namespace

std::vector<unsigned char> encodeHeatSection(const GridScalars& s, int32_t NX, int32_t NY)
{
    std::vector<unsigned char> bytes;
    LittleEndianWriter out(bytes);
    out.f64(s.heatSettings.prandtl);
    out.f64(s.heatSettings.rayleigh);
    out.u8(static_cast<unsigned>(s.heatSettings.gravity));
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            out.u8(s.fixedTemperature[i][j] ? 1 : 0);
            out.f64(s.T[i][j]);
        }
    return bytes;
}

std::vector<unsigned char> encodeDyeSection(const GridScalars& s, int32_t NX, int32_t NY)
{
    std::vector<unsigned char> bytes;
    LittleEndianWriter out(bytes);
    out.f64(s.dyeSettings.schmidt);
    out.u32(static_cast<std::uint32_t>(s.dyeSettings.bandWidth));
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            out.f64(s.c[i][j]);
    return bytes;
}

bool decodeHeatSection(const unsigned char* bytes, std::size_t length, int32_t NX, int32_t NY, GridScalars& s)
{
    if (length != heatHeaderLength + heatRecordLength * cellsOf(NX, NY))
        return false;
    LittleEndianReader in(bytes);
    HeatSettings settings;
    settings.prandtl = in.f64();
    settings.rayleigh = in.f64();
    const unsigned gravity = in.u8();
    if (!(settings.prandtl > 0.0) || !std::isfinite(settings.prandtl) || !std::isfinite(settings.rayleigh) ||
        gravity > 3)
        return false;
    settings.gravity = static_cast<Gravity>(gravity);
    Array2D<unsigned char> fixed(NX, NY);
    Array2D<double> T(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            fixed[i][j] = in.u8();
            T[i][j] = in.f64();
            if (fixed[i][j] > 1 || !std::isfinite(T[i][j]))
                return false;
        }
    s.heat = true;
    s.heatSettings = settings;
    s.fixedTemperature = std::move(fixed);
    s.T = std::move(T);
    return true;
}

bool decodeDyeSection(const unsigned char* bytes, std::size_t length, int32_t NX, int32_t NY, GridScalars& s)
{
    if (length != dyeHeaderLength + dyeRecordLength * cellsOf(NX, NY))
        return false;
    LittleEndianReader in(bytes);
    DyeSettings settings;
    settings.schmidt = in.f64();
    const std::uint32_t band = in.u32();
    if (!(settings.schmidt > 0.0) || !std::isfinite(settings.schmidt) || band > 1u << 20)
        return false;
    settings.bandWidth = static_cast<int32_t>(band);
    Array2D<double> c(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            c[i][j] = in.f64();
            if (!(c[i][j] >= 0.0 && c[i][j] <= 1.0))
                return false;
        }
    s.dye = true;
    s.dyeSettings = settings;
    s.c = std::move(c);
    return true;
}
