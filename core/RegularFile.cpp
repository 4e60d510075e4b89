#include "core/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int OpenRegularFileDescriptor(const std::string& path, int& error) {
    // Without O_NONBLOCK the open itself waits for a FIFO's writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = errno != 0 ? errno : ENOENT;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FilePtr OpenRegularFile(const std::string& path, int& error) {
    FilePtr none(nullptr, &std::fclose);
    const int fd = OpenRegularFileDescriptor(path, error);
    if (fd < 0) return none;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        error = errno != 0 ? errno : EIO;
        ::close(fd);
        return none;
    }
    return FilePtr(file, &std::fclose);
}
