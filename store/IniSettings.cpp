#include "store/IniSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "core/RegularFile.h"
#include "store/IniText.h"
#include "store/SafeFile.h"
#include "store/StoreTexts.h"

namespace {

struct FileText {
    enum class State { Absent, Unreadable, TooLarge, Read } state = State::Absent;
    std::string bytes;
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
    if (static_cast<std::uint64_t>(info.st_size) > kLargestIniFile) {
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
        if (file.bytes.size() > kLargestIniFile) {
            file.state = FileText::State::TooLarge;
            return file;
        }
    }
    file.state = FileText::State::Read;
    return file;
}

}  // namespace

IniSettings::IniSettings() : m_path(DefaultPath()) {}

IniSettings::IniSettings(std::string filePath) : m_path(std::move(filePath)) {}

std::string IniSettings::DefaultPath() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/MoxelGames/Aquendo/V2.ini"))
        .toStdString();
}

std::optional<std::string> IniSettings::ReadValue(const std::string& section, const std::string& name) {
    const FileText file = ReadSettingsFile(m_path);
    if (file.state != FileText::State::Read) return std::nullopt;
    return IniDocument(file.bytes).Value(section, name);
}

std::optional<std::string> IniSettings::WriteValue(const std::string& section, const std::string& name,
                                                   const std::string& text) {
    const QString path = QString::fromStdString(m_path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return SectionNotCreatedMessage(section);
    // A value the game could not read back is not written.
    if (EscapedIniValue(text).size() > kLongestIniValue) return ValueNotSetMessage(name);

    FileText file = ReadSettingsFile(m_path);
    // An unreadable file is left alone: the values in it would be lost.
    if (file.state == FileText::State::Unreadable) return ValueNotSetMessage(name);
    bool damaged = file.state == FileText::State::TooLarge;
    std::optional<IniDocument> document;
    if (!damaged) {
        document.emplace(file.bytes);
        damaged =
            file.state == FileText::State::Read && (!IsPlainIniText(file.bytes) || !document->ReadsAsMeant());
    }
    if (damaged) {
        if (!SetAside()) return ValueNotSetMessage(name);
        document.emplace(std::string_view());
    }
    const std::string written = document->WithValue(section, name, text);
    if (!WriteFileAsCreateOrTruncateWould(
            m_path, std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size())))
        return ValueNotSetMessage(name);
    return std::nullopt;
}

bool IniSettings::SetAside() {
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = m_path + ".damaged" + (n == 1 ? std::string() : '-' + std::to_string(n));
        struct stat info {};
        if (::lstat(aside.c_str(), &info) == 0 || errno != ENOENT) continue;
        return ::rename(m_path.c_str(), aside.c_str()) == 0;
    }
    return false;
}
