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
// What UnpackBlock needs behind the end of out while it works: a chunk and a
// little more, so that it can move whole words.
inline constexpr std::size_t kUnpackRoom = kPackedChunk + 32;

// Appends the unpacked block to out. Returns an empty string on success, else
// what is wrong with the block; out then keeps its old size. Never reads or
// writes outside the block and the appended part of out.
std::string UnpackBlock(std::span<const std::uint8_t> block, std::vector<std::uint8_t>& out);

// The most bytes the block can unpack to: a stored block its own, a coded one
// no more than a chunk and than its run items can give, the longest run for
// every four bytes.
std::size_t MostUnpacked(std::span<const std::uint8_t> block);
// The room behind the end of out that UnpackBlock takes while it unpacks the
// block.
std::size_t UnpackRoom(std::span<const std::uint8_t> block);

// Appends the block for one chunk of at most kPackedChunk bytes to out.
void PackBlock(std::span<const std::uint8_t> chunk, std::vector<std::uint8_t>& out);
