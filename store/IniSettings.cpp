#include "store/IniSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <QVariant>

#include "store/IniText.h"
#include "store/StoreTexts.h"

namespace {

// Larger than any settings file the game writes by far; not worth parsing to check.
constexpr qint64 kLargestPlainFile = 1 << 20;

QString Key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + u'/' + QString::fromStdString(name);
}

// Qt writes back only what it could parse: the rest would be gone. Qt parses
// a file only when a value is first asked for, and keeps a file it has parsed:
// its damage shows once, on that first parse, and the game reads before it
// writes. So a copy under a new name is asked.
bool QtReadsInFull(const QByteArray& bytes) {
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/aquendo-settings-XXXXXX.ini"));
    // When no copy can be made, the text check decides alone.
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush()) return true;
    const QSettings check(copy.fileName(), QSettings::IniFormat);
    check.allKeys();
    return check.status() != QSettings::FormatError;
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
    const QSettings ini(QString::fromStdString(m_path), QSettings::IniFormat);
    const QString key = Key(section, name);
    if (!ini.contains(key)) return std::nullopt;
    const QVariant value = ini.value(key);
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString().toStdString();
        case QMetaType::QStringList:
            // An unquoted text with commas, as a player types it by hand: still one text.
            return value.toStringList().join(u',').toStdString();
        case QMetaType::QByteArray:
            return value.toByteArray().toStdString();
        default:
            // Qt's own notations for rectangles, sizes and the like are no text of ours.
            return std::nullopt;
    }
}

std::optional<std::string> IniSettings::WriteValue(const std::string& section, const std::string& name,
                                                   const std::string& text) {
    const QString path = QString::fromStdString(m_path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return SectionNotCreatedMessage(section);
    if (!SetAsideIfDamaged()) return ValueNotSetMessage(name);

    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(Key(section, name), QString::fromStdString(text));
    // Only a flush shows whether the file could be written.
    ini.sync();
    if (ini.status() != QSettings::NoError) return ValueNotSetMessage(name);
    return std::nullopt;
}

bool IniSettings::SetAsideIfDamaged() {
    const QString path = QString::fromStdString(m_path);
    const QFileInfo info(path);
    if (!info.isFile()) return true;

    bool damaged = info.size() > kLargestPlainFile;
    if (!damaged) {
        QFile file(path);
        // An unreadable file is left alone; the write then fails on it.
        if (!file.open(QIODevice::ReadOnly)) return true;
        const QByteArray bytes = file.readAll();
        damaged = !IsPlainIniText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) ||
                  !QtReadsInFull(bytes);
    }
    if (!damaged) return true;

    for (int n = 1; n < 1000; ++n) {
        const QString aside =
            path + QStringLiteral(".damaged") + (n == 1 ? QString() : u'-' + QString::number(n));
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink()) continue;
        return QFile::rename(path, aside);
    }
    return false;
}
