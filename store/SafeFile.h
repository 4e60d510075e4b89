#pragma once

#include <unistd.h>

#include <cstdint>
#include <span>
#include <string>

// A file descriptor closed when it goes.
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

// Puts bytes into the file at path where create-or-truncate would, and only
// there: never over a file this user may not write, nor over anything but a
// regular file. The bytes go to a new file in the same folder, which is
// flushed to the disk and renamed over the old one, so a full disk, a missing
// folder or a crash leaves the previous file as it was; it takes the old
// file's permission bits and extended attributes, or 0666 less the umask. A
// file with more than one name, of another owner, or in a folder this user
// may not write to is written in place instead, keeping its links and owner.
// A link is followed: the file it names is written. False when the file could
// not be written in full.
[[nodiscard]] bool WriteFileAsCreateOrTruncateWould(const std::string& path,
                                                    std::span<const std::uint8_t> bytes);
