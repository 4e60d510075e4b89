#include "windows/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <climits>

namespace {

// The one entry of folder whose name shows as shown; nothing when there is no
// such entry or more than one.
std::string EntryShownAs(const std::string& folder, const QString& shown) {
    std::string found;
    int count = 0;
    if (DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (QFile::decodeName(entry->d_name) == shown && ++count == 1) found = entry->d_name;
        }
        ::closedir(dir);
    }
    return count == 1 ? found : std::string();
}

}  // namespace

QString ShownFileName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ChosenFileName(const QString& chosen) {
    std::string path = QFile::encodeName(chosen).toStdString();
    if (!chosen.contains(QChar::ReplacementCharacter) || !chosen.startsWith(u'/')) return path;
    path.clear();
    for (const QString& part : chosen.split(u'/', Qt::SkipEmptyParts)) {
        const std::size_t folderEnd = path.size();
        path += '/';
        path += QFile::encodeName(part).toStdString();
        struct stat info {};
        if (part.contains(QChar::ReplacementCharacter) && ::lstat(path.c_str(), &info) != 0) {
            if (const std::string entry = EntryShownAs(path.substr(0, folderEnd), part); !entry.empty()) {
                path.resize(folderEnd + 1);
                path += entry;
            }
        }
    }
    return path;
}

std::string ProgramFolderOfExecutable() {
    // The kernel's own link gives the bytes of the name, whatever their encoding.
    char exe[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof exe) {
        const std::string path(exe, static_cast<std::size_t>(length));
        return path.substr(0, path.rfind('/') + 1);
    }
    const QFileInfo file(QCoreApplication::applicationFilePath());
    const QString canonical = file.canonicalFilePath();
    return (QFileInfo(canonical.isEmpty() ? file.filePath() : canonical).absolutePath() + '/').toStdString();
}
