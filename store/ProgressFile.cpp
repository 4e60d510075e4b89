#include "store/ProgressFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>

namespace {

using FileBytes = std::array<std::uint8_t, kProgressFileSize>;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now, for the result: on some file systems a late write error only shows here.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// The mode a new file gets from the default 0666 and the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::filesystem::path FinalTarget(const std::string& path) {
    std::filesystem::path target(path);
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        auto resolved = std::filesystem::canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

void SyncFolder(const std::filesystem::path& folder) {
    const Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems refuse to sync a folder; the file is in place by now either way.
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

bool FileExistsAt(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool ReadProgressFile(const std::string& path, ProgressTable& table) {
    table.Clear();
    // Not blocking, so a pipe of that name cannot hang the game before it is refused below.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

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
    if (path.empty()) return false;
    FileBytes bytes{};
    for (int level = 1; level <= ProgressTable::kEntries; ++level) {
        const auto value = static_cast<std::uint32_t>(table[level]);
        std::uint8_t* b = bytes.data() + 4 * (level - 1);
        for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    const std::filesystem::path target = FinalTarget(path);
    const std::filesystem::path folder = target.parent_path();
    // Same folder as the target, so the rename cannot cross file systems.
    std::string temporary = (folder / ".aquendo-save-XXXXXX").string();
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) return false;

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    ::fchmod(file.get(), replacing ? (old.st_mode & 07777) : NewFileMode());

    const bool written = WriteAll(file.get(), bytes.data(), bytes.size()) && ::fsync(file.get()) == 0;
    if (!file.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}
