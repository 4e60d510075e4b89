#include "store/ProgressFile.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>

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
    for (int level = 1; level <= ProgressTable::kEntries; ++level) {
        const std::uint8_t* b = bytes.data() + 4 * (level - 1);
        const std::uint32_t value = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                                    std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
        table[level] = static_cast<std::int32_t>(value);
    }
    return ok;
}

bool WriteProgressFile(const std::string& path, const ProgressTable& table) {
    FileBytes bytes{};
    for (int level = 1; level <= ProgressTable::kEntries; ++level) {
        const auto value = static_cast<std::uint32_t>(table[level]);
        std::uint8_t* b = bytes.data() + 4 * (level - 1);
        for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    return WriteFileAsCreateOrTruncateWould(path, bytes);
}
