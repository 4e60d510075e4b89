#include "store/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

using FileBytes = std::span<const std::uint8_t>;

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

// Where a link leads, also when what it names is not there yet: the file
// create-or-truncate would write.
std::filesystem::path FinalTarget(const std::string& path) {
    std::filesystem::path target(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec));
         ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

void SyncFolder(const std::filesystem::path& folder) {
    const Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems refuse to sync a folder; the file is in place by now either way.
    if (dir.get() >= 0) ::fsync(dir.get());
}

// Extended attributes (ACLs among them) of one file given to another; false
// when one could not be copied.
bool CopyAttributes(int from, int to) {
    const ssize_t length = ::flistxattr(from, nullptr, 0);
    if (length == 0 || (length < 0 && (errno == ENOTSUP || errno == EOPNOTSUPP))) return true;
    if (length < 0) return false;
    std::vector<char> names(static_cast<std::size_t>(length));
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    if (got < 0) return false;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) return false;
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0) != 0)
            return false;
    }
    return true;
}

// Over the old bytes in the file itself, which keeps its links, owner and
// attributes. The room is taken first where the file system can, so that a
// full disk refuses before anything is overwritten.
bool WriteInPlace(Descriptor& file, const FileBytes& bytes) {
    if (!bytes.empty() && ::fallocate(file.get(), 0, 0, static_cast<off_t>(bytes.size())) != 0 &&
        errno != EOPNOTSUPP)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::pwrite(file.get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    const bool written =
        ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(file.get()) == 0;
    return file.Close() && written;
}

enum class Replaced { Done, NotReplaceable, Failed };

// A new file beside the target, flushed to the disk and renamed over it, so a
// full disk or a crash leaves the previous file as it was. old, when given, is
// the target opened, whose mode and attributes the new file takes.
Replaced ReplaceAtomically(const std::filesystem::path& target, const FileBytes& bytes,
                           const Descriptor* old) {
    const std::filesystem::path folder = target.parent_path();
    // Same folder as the target, so the rename cannot cross file systems.
    std::string temporary = (folder / ".aquendo-save-XXXXXX").string();
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) return Replaced::NotReplaceable;

    struct stat info {};
    const bool moded =
        old ? ::fstat(old->get(), &info) == 0 && ::fchmod(file.get(), info.st_mode & 07777) == 0
            : ::fchmod(file.get(), NewFileMode()) == 0;
    // Attributes this user may not set (a security label, say) stay only on the file itself.
    if (moded && old && !CopyAttributes(old->get(), file.get())) {
        ::unlink(temporary.c_str());
        return Replaced::NotReplaceable;
    }
    const bool written =
        moded && WriteAll(file.get(), bytes.data(), bytes.size()) && ::fsync(file.get()) == 0;
    if (!file.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return Replaced::Failed;
    }
    SyncFolder(folder);
    return Replaced::Done;
}

}  // namespace

bool WriteFileAsCreateOrTruncateWould(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) return false;
    const std::filesystem::path target = FinalTarget(path);
    struct stat found {};
    if (::stat(target.c_str(), &found) != 0) {
        if (errno != ENOENT) return false;
        return ReplaceAtomically(target, bytes, nullptr) == Replaced::Done;
    }
    // Only where create-or-truncate would write: a regular file this user may
    // write, on a file system that takes writes. Opening anything else could
    // touch a device or wait on a pipe.
    if (!S_ISREG(found.st_mode)) return false;
    Descriptor old(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat opened {};
    if (old.get() < 0 || ::fstat(old.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return false;
    // A rename would split a hard link and give the file to this user.
    if (opened.st_nlink > 1 || opened.st_uid != ::geteuid()) return WriteInPlace(old, bytes);
    switch (ReplaceAtomically(target, bytes, &old)) {
        case Replaced::Done:
            return true;
        case Replaced::NotReplaceable:
            // A folder this user may not write to, holding a file it may, or attributes only the file can
            // keep.
            return WriteInPlace(old, bytes);
        case Replaced::Failed:
            break;
    }
    return false;
}
