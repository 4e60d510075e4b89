#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

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

// For a file that has to be written in place: given the old file's size, the
// bytes to put after its old content before any of it is overwritten. From
// the moment they are complete, whatever a kill leaves of the overwrite must
// read as the new content (the reader knows them); before, the old content
// must still read as it was. Empty: the bytes are simply written over the old.
using InPlaceJournal = std::function<std::string(std::uint64_t oldSize)>;

// Where a link leads (through links to links), also when what it names is
// not there yet: the file create-or-truncate would write. path itself when it
// is no link.
std::filesystem::path FinalTarget(const std::string& path);

// The temporary files of a save: ".aquendo-save-" and six letters or digits.
bool IsSaveTemporaryName(std::string_view name);

// Puts bytes into the file at path where create-or-truncate would, and only
// there: never over a file this user may not write, nor over anything but a
// regular file. The bytes go to a new file in the same folder, which is
// flushed to the disk and renamed over the old one, so a full disk, a missing
// folder or a crash leaves the previous file as it was; it takes the old
// file's group, permission bits and extended attributes (ACLs among them), or
// what create-or-truncate would give a new file. A file with more than one
// name, of another owner, whose group or attributes a new file could not take,
// or in a folder this user may not write to is written in place instead,
// keeping all of that, through journal when one is given. A link is followed:
// the file it names is written. Temporary files that earlier saves of this
// user left in that folder are removed. False when the file could not be
// written in full.
[[nodiscard]] bool WriteFileAsCreateOrTruncateWould(const std::string& path,
                                                    std::span<const std::uint8_t> bytes,
                                                    const InPlaceJournal& journal = {});
