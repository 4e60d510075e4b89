#include "store/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

namespace {

using FileBytes = std::span<const std::uint8_t>;

constexpr std::string_view kTemporaryPrefix = ".aquendo-save-";
constexpr std::string_view kTemporaryLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A save holds its temporary file locked; one younger than this may not have
// taken the lock yet, and one on a network disk may carry another clock.
constexpr std::time_t kLeftoverAge = 10;

bool WriteAllAt(int fd, const std::uint8_t* data, std::size_t size, off_t at) {
    while (size > 0) {
        const ssize_t put = ::pwrite(fd, data, size, at);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data += put;
        size -= static_cast<std::size_t>(put);
        at += put;
    }
    return true;
}

// The names of a file's extended attributes; nothing when they cannot be listed.
std::optional<std::vector<std::string>> AttributeNames(int fd) {
    std::vector<std::string> names;
    const ssize_t length = ::flistxattr(fd, nullptr, 0);
    if (length == 0 || (length < 0 && (errno == ENOTSUP || errno == EOPNOTSUPP))) return names;
    if (length < 0) return std::nullopt;
    std::vector<char> list(static_cast<std::size_t>(length));
    const ssize_t got = ::flistxattr(fd, list.data(), list.size());
    if (got < 0) return std::nullopt;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got); at += names.back().size() + 1)
        names.emplace_back(list.data() + at);
    return names;
}

// The extended attributes (ACLs among them) of one file given to another,
// and those the other got from its folder (a default ACL) but the first has
// not taken away; false when one could not be copied.
bool CopyAttributes(int from, int to) {
    const auto names = AttributeNames(from);
    const auto inherited = AttributeNames(to);
    if (!names || !inherited) return false;
    for (const std::string& name : *inherited) {
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            ::fremovexattr(to, name.c_str()) != 0)
            return false;
    }
    for (const std::string& entry : *names) {
        const char* name = entry.c_str();
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) return false;
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0) != 0)
            return false;
    }
    return true;
}

// Takes the room first where the file system can, without changing the
// file's size, so that a full disk refuses before anything is overwritten.
bool Reserve(int fd, std::uint64_t size) {
    return size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0 ||
           errno == EOPNOTSUPP;
}

// Over the old bytes in the file itself, which keeps its links, owner and
// attributes. With a journal, that goes after the old content first, so that
// every state a kill leaves reads as the old or the new content.
bool WriteInPlace(Descriptor& file, const FileBytes& bytes, const InPlaceJournal& journal) {
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return false;
    const auto oldSize = static_cast<std::uint64_t>(info.st_size);
    const std::string after = journal ? journal(oldSize) : std::string();
    if (!after.empty()) {
        if (!Reserve(file.get(), std::max<std::uint64_t>(oldSize + after.size(), bytes.size())) ||
            !WriteAllAt(file.get(), reinterpret_cast<const std::uint8_t*>(after.data()), after.size(),
                        static_cast<off_t>(oldSize)) ||
            ::fdatasync(file.get()) != 0)
            return false;
    } else if (!Reserve(file.get(), bytes.size())) {
        return false;
    }
    const bool written = WriteAllAt(file.get(), bytes.data(), bytes.size(), 0) &&
                         ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0 &&
                         ::fsync(file.get()) == 0;
    return file.Close() && written;
}

bool IsLeftover(int folder, const char* name, std::time_t now) {
    const Descriptor file(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || info.st_nlink != 1)
        return false;
    if (now - info.st_mtime < kLeftoverAge) return false;
    // A save still running holds the lock.
    return ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

// The temporary files of saves that never ended (killed between creating and
// renaming one): this user's own, plain files of that exact name, old enough
// and not held by a running save.
void RemoveLeftovers(int folder) {
    DIR* dir = ::fdopendir(::dup(folder));
    if (!dir) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (IsSaveTemporaryName(entry->d_name) && IsLeftover(folder, entry->d_name, now))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

enum class Replaced { Done, NotReplaceable, Failed };

// A new file of its own name in folder, created as create-or-truncate would
// create one with mode, and locked while this save runs.
int NewTemporary(int folder, mode_t mode, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6] = {};
        if (::getrandom(random, sizeof random, 0) != sizeof random) break;
        name = kTemporaryPrefix;
        for (const unsigned char r : random) name += kTemporaryLetters[r % kTemporaryLetters.size()];
        const int fd =
            ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    return -1;
}

// A new file beside the target, flushed to the disk and renamed over it, so a
// full disk or a crash leaves the previous file as it was. old, when given, is
// the target opened, whose group, mode and attributes the new file takes.
// Names are taken relative to the folder, so a target near the longest path
// the system takes still gets a temporary file.
Replaced ReplaceAtomically(int folder, const std::string& name, const FileBytes& bytes,
                           const Descriptor* old) {
    std::string temporary;
    Descriptor file(NewTemporary(folder, old ? 0600 : 0666, temporary));
    if (file.get() < 0) return Replaced::NotReplaceable;

    struct stat was {};
    struct stat made {};
    bool kept = !old;
    if (old && ::fstat(old->get(), &was) == 0 && ::fstat(file.get(), &made) == 0) {
        // The group first: a change of group clears the set-group-ID bit.
        // Attributes this user may not set (a security label, say) stay only on the file itself.
        kept = (made.st_gid == was.st_gid || ::fchown(file.get(), static_cast<uid_t>(-1), was.st_gid) == 0) &&
               ::fchmod(file.get(), was.st_mode & 07777) == 0 && CopyAttributes(old->get(), file.get());
    }
    if (!kept) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return Replaced::NotReplaceable;
    }
    const bool written = WriteAllAt(file.get(), bytes.data(), bytes.size(), 0) && ::fsync(file.get()) == 0;
    if (!file.Close() || !written || ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return Replaced::Failed;
    }
    // Some file systems refuse to sync a folder; the file is in place by now either way.
    ::fsync(folder);
    return Replaced::Done;
}

}  // namespace

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

bool IsSaveTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + 6 || !name.starts_with(kTemporaryPrefix)) return false;
    name.remove_prefix(kTemporaryPrefix.size());
    return name.find_first_not_of(kTemporaryLetters) == std::string_view::npos;
}

bool WriteFileAsCreateOrTruncateWould(const std::string& path, std::span<const std::uint8_t> bytes,
                                      const InPlaceJournal& journal) {
    if (path.empty()) return false;
    const std::filesystem::path target = FinalTarget(path);
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..") return false;
    const std::filesystem::path parent = target.parent_path();
    const Descriptor folder(
        ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY));
    if (folder.get() < 0) return false;
    RemoveLeftovers(folder.get());

    struct stat found {};
    if (::fstatat(folder.get(), name.c_str(), &found, 0) != 0) {
        if (errno != ENOENT) return false;
        return ReplaceAtomically(folder.get(), name, bytes, nullptr) == Replaced::Done;
    }
    // Only where create-or-truncate would write: a regular file this user may
    // write, on a file system that takes writes. Opening anything else could
    // touch a device or wait on a pipe.
    if (!S_ISREG(found.st_mode)) return false;
    Descriptor old(::openat(folder.get(), name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat opened {};
    if (old.get() < 0 || ::fstat(old.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return false;
    // A rename would split a hard link and give the file to this user.
    if (opened.st_nlink > 1 || opened.st_uid != ::geteuid()) return WriteInPlace(old, bytes, journal);
    switch (ReplaceAtomically(folder.get(), name, bytes, &old)) {
        case Replaced::Done:
            return true;
        case Replaced::NotReplaceable:
            // A folder this user may not write to, holding a file it may, or a group or attributes only
            // the file can keep.
            return WriteInPlace(old, bytes, journal);
        case Replaced::Failed:
            break;
    }
    return false;
}
