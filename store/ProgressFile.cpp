#include "store/ProgressFile.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "core/LittleEndian.h"
#include "core/RegularFile.h"
#include "store/SafeFile.h"

namespace {

using FileBytes = std::array<std::uint8_t, kProgressFileSize>;

}  // namespace

bool FileExistsAt(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool ReadProgressFile(const std::string& path, ProgressTable& table) {
    table.Clear();
    int error = 0;
    const Descriptor file(OpenRegularFileDescriptor(path, error));
    if (file.get() < 0) return false;

    FileBytes bytes{};
    std::size_t got = 0;
    bool ok = true;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    // Bytes not read are 0, which gives a partly covered entry its low-order bytes only.
    for (int level = 1; level <= ProgressTable::kEntries; ++level)
        table[level] = ReadInt32(bytes.data() + 4 * (level - 1));
    return ok;
}

bool WriteProgressFile(const std::string& path, const ProgressTable& table) {
    FileBytes bytes{};
    for (int level = 1; level <= ProgressTable::kEntries; ++level)
        WriteInt32(bytes.data() + 4 * (level - 1), table[level]);

    return WriteFileAsCreateOrTruncateWould(path, bytes);
}
