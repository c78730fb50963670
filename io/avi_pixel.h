// Conversion of picture plane values to the bytes of an AVI frame.
#pragma once

#include <cmath>
#include <cstdint>

// Truncation toward zero that is defined for every double: a value that is
// not finite gives 0, one beyond the 32-bit range the nearest end of it.
inline int32_t truncateToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The lowest 8 bits of an integer (two's complement).
inline uint8_t lowestByte(int32_t value)
{
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
}

// Frame byte of a plane value: trunc(value), lowest 8 bits. Composed
// pictures hold 0..255, which take the short way.
inline uint8_t frameChannel(float value)
{
    if (value >= 0.0f && value < 256.0f)
        return static_cast<uint8_t>(static_cast<int32_t>(value));
    return lowestByte(truncateToInt(value));
}

// Fade byte: v = trunc(value), then trunc(v * f), lowest 8 bits.
inline uint8_t fadeChannel(float value, float f)
{
    const int32_t v = truncateToInt(value);
    return lowestByte(truncateToInt(static_cast<double>(v) * static_cast<double>(f)));
}
