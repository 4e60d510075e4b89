#pragma once

#include <cstdint>

// Numbers in the media formats and the results file are little-endian whatever the machine.
inline std::uint32_t ReadUint32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline std::int32_t ReadInt32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadUint32(p));
}

inline std::uint16_t ReadUint16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void WriteInt32(std::uint8_t* p, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
