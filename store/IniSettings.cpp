#include "store/IniSettings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/RegularFile.h"
#include "store/IniText.h"
#include "store/SafeFile.h"
#include "store/StoreTexts.h"

namespace {

// An in-place write a kill interrupted leaves its journal in the file: up to
// three times the text (store/IniText.h).
constexpr std::uint64_t kLargestIniFileWithJournal = 3 * std::uint64_t{kLargestIniFile} + 4096;

struct FileText {
    enum class State { Absent, Unreadable, TooLarge, Read } state = State::Absent;
    std::string bytes;
    std::string decoded;
    std::string_view text;  // what the file reads as: bytes, or the new text of its journal
};

// Only a plain file, so that a pipe of that name cannot hang the game.
FileText ReadSettingsFile(const std::string& path) {
    FileText file;
    int error = 0;
    const Descriptor fd(OpenRegularFileDescriptor(path, error));
    struct stat info {};
    if (fd.get() < 0) {
        file.state =
            error == ENOENT || error == ENOTDIR ? FileText::State::Absent : FileText::State::Unreadable;
        return file;
    }
    file.state = FileText::State::Unreadable;
    if (::fstat(fd.get(), &info) != 0) return file;
    if (static_cast<std::uint64_t>(info.st_size) > kLargestIniFileWithJournal) {
        file.state = FileText::State::TooLarge;
        return file;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return file;
        if (n == 0) break;
        file.bytes.append(chunk, static_cast<std::size_t>(n));
        if (file.bytes.size() > kLargestIniFileWithJournal) {
            file.state = FileText::State::TooLarge;
            return file;
        }
    }
    file.text = SettledIniText(file.bytes, file.decoded);
    file.state = file.text.size() > kLargestIniFile ? FileText::State::TooLarge : FileText::State::Read;
    return file;
}

}  // namespace

IniSettings::IniSettings() : m_path(DefaultPath()) {}

IniSettings::IniSettings(std::string filePath) : m_path(std::move(filePath)) {}

std::string IniSettings::DefaultPath() {
    // As bytes, whatever the encoding of the folder names.
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        const passwd* user = home && home[0] ? nullptr : ::getpwuid(::geteuid());
        folder = std::string(home && home[0] ? home : user && user->pw_dir ? user->pw_dir : "") + "/.config";
    }
    return folder + "/MoxelGames/Aquendo/V2.ini";
}

std::optional<std::string> IniSettings::ReadValue(const std::string& section, const std::string& name) {
    // Through a small buffer: a file of the largest size is read at the speed
    // of the disk, without taking memory of its size for each value. A page:
    // the start reads a few values of a file of a few lines, each filling
    // and moving the whole buffer.
    int error = 0;
    const Descriptor fd(OpenRegularFileDescriptor(m_path, error));
    if (fd.get() < 0) return std::nullopt;
    IniValueScan scan(section, name);
    std::string buffer(std::size_t{1} << 12, '\0');
    std::size_t held = 0;
    std::uint64_t total = 0;
    for (bool last = false; !last && !scan.SawJournal();) {
        if (held == buffer.size()) buffer.resize(2 * buffer.size());
        const ssize_t n = ::read(fd.get(), buffer.data() + held, buffer.size() - held);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        held += static_cast<std::size_t>(n);
        total += static_cast<std::uint64_t>(n);
        if (total > kLargestIniFileWithJournal) return std::nullopt;
        last = n == 0;
        const std::size_t used = scan.Take(std::string_view(buffer.data(), held), last);
        buffer.erase(0, used);
        buffer.resize(buffer.size() + used);
        held -= used;
    }
    if (scan.SawJournal()) {
        // An in-place write a kill interrupted: the whole file tells which text holds.
        const FileText file = ReadSettingsFile(m_path);
        if (file.state != FileText::State::Read) return std::nullopt;
        return IniValue(file.text, section, name);
    }
    if (total > kLargestIniFile) return std::nullopt;
    return scan.Value();
}

std::optional<std::string> IniSettings::WriteValue(const std::string& section, const std::string& name,
                                                   const std::string& text) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(m_path, ec).parent_path();
    if (ec ||
        (!std::filesystem::create_directories(folder, ec) && !std::filesystem::is_directory(folder, ec)))
        return SectionNotCreatedMessage(section);
    // A value the game could not read back is not written.
    if (EscapedIniValue(text).size() > kLongestIniValue) return ValueNotSetMessage(name);

    FileText file = ReadSettingsFile(m_path);
    // An unreadable file is left alone: the values in it would be lost.
    if (file.state == FileText::State::Unreadable) return ValueNotSetMessage(name);
    bool damaged = file.state == FileText::State::TooLarge;
    std::optional<IniDocument> document;
    if (!damaged) {
        document.emplace(file.text);
        damaged =
            file.state == FileText::State::Read && (!IsPlainIniText(file.text) || !document->ReadsAsMeant());
    }
    if (damaged) {
        if (!SetAside()) return ValueNotSetMessage(name);
        document.emplace(std::string_view());
    }
    const std::string written = document->WithValue(section, name, text);
    // A file the next start would not read.
    if (written.size() > kLargestIniFile) return ValueNotSetMessage(name);
    if (!WriteFileAsCreateOrTruncateWould(
            m_path, std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()),
            [&written](std::uint64_t oldSize) { return IniInPlaceJournal(written, oldSize); }))
        return ValueNotSetMessage(name);
    return std::nullopt;
}

bool IniSettings::SetAside() {
    // The file a link names goes aside, so that the link stays and the new file is written where it points.
    const std::filesystem::path target = FinalTarget(m_path);
    for (int n = 1; n < 1000; ++n) {
        const std::string aside =
            target.string() + ".damaged" + (n == 1 ? std::string() : '-' + std::to_string(n));
        struct stat info {};
        if (::lstat(aside.c_str(), &info) == 0 || errno != ENOENT) continue;
        return ::rename(target.c_str(), aside.c_str()) == 0;
    }
    return false;
}
