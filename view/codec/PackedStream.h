#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A packed stream: a signed 4-byte total T (little-endian) of the bytes that
// follow, then blocks, each a signed 4-byte size and the PackedBlock itself.

// Unpacks the stream at the start of bytes and appends its data to out. On
// success returns an empty string and sets consumed to the stream's length;
// else returns what is wrong, and out keeps its old size.
std::string UnpackStream(std::span<const std::uint8_t> bytes, std::size_t& consumed,
                         std::vector<std::uint8_t>& out);

// Appends the packed stream of data to out, one block per chunk.
void PackStream(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);

// The blocks of a stream, for inspection; empty when the stream is damaged.
std::vector<std::span<const std::uint8_t>> StreamBlocks(std::span<const std::uint8_t> bytes);
