// Numbers in the little-endian byte order of the program's binary files,
// whatever the machine's own order.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// Appends numbers to a byte vector.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::vector<unsigned char>& out) : out(out) {}
    void u8(unsigned value) { out.push_back(static_cast<unsigned char>(value)); }
    void u32(std::uint32_t value) { put(value, 4); }
    void u64(std::uint64_t value) { put(value, 8); }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void i64(std::int64_t value) { u64(static_cast<std::uint64_t>(value)); }
    void f64(double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        u64(bits);
    }

private:
    void put(std::uint64_t value, int count)
    {
        for (int k = 0; k < count; ++k)
            out.push_back(static_cast<unsigned char>(value >> (8 * k)));
    }
    std::vector<unsigned char>& out;
};

// Reads numbers from bytes the caller has checked to be long enough.
class LittleEndianReader {
public:
    explicit LittleEndianReader(const unsigned char* bytes) : at(bytes) {}
    unsigned char u8() { return *at++; }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    std::uint64_t u64() { return take(8); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    double f64()
    {
        const std::uint64_t bits = u64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    std::uint64_t take(int count)
    {
        std::uint64_t value = 0;
        for (int k = 0; k < count; ++k)
            value |= static_cast<std::uint64_t>(*at++) << (8 * k);
        return value;
    }
    const unsigned char* at;
};
