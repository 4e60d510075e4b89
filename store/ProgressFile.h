#pragma once

#include <cstddef>
#include <string>

#include "store/ProgressTable.h"

// The results file, which is also the saved game: the 500 entries of the
// table as signed 32-bit little-endian numbers, entry 1 first, 2000 bytes, no
// header.
inline constexpr std::size_t kProgressFileSize = 4 * ProgressTable::kEntries;

// A regular file (or a link to one) is at path. A folder, a device or a pipe
// of that name does not count, and an empty path never matches.
bool FileExistsAt(const std::string& path);

// Clears the whole table, then fills it from the first 2000 bytes of the
// file. A shorter file fills only the leading bytes; an entry it covers in
// part gets those bytes as its low-order bytes. False when the file cannot be
// opened or read (anything but a regular file included); the table then holds
// what was read before the failure.
[[nodiscard]] bool ReadProgressFile(const std::string& path, ProgressTable& table);

// Writes the 2000 bytes of the table as WriteFileAsCreateOrTruncateWould
// (store/SafeFile.h) does: atomically where it can, never where
// create-or-truncate could not. False when the file could not be written in
// full.
[[nodiscard]] bool WriteProgressFile(const std::string& path, const ProgressTable& table);
