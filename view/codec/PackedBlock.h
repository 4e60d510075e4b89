#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One block of the packed media data: either stored (first byte 128, the data
// follows unchanged) or coded with a byte-oriented LZ77 coder of the LZRW1-KH
// kind. The packer cuts its source into chunks of kPackedChunk bytes, so no
// block ever unpacks to more than that.
inline constexpr std::size_t kPackedChunk = 32781;
inline constexpr std::uint8_t kStoredBlock = 128;
inline constexpr std::uint8_t kCodedBlock = 64;

// Appends the unpacked block to out. Returns an empty string on success, else
// what is wrong with the block; out then keeps its old size. Never reads or
// writes outside the block and the appended part of out.
std::string UnpackBlock(std::span<const std::uint8_t> block, std::vector<std::uint8_t>& out);

// Appends the block for one chunk of at most kPackedChunk bytes to out.
void PackBlock(std::span<const std::uint8_t> chunk, std::vector<std::uint8_t>& out);
