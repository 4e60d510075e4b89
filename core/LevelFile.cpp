#include "core/LevelFile.h"

#include <array>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <memory>

const LevelRecord& LevelCatalogue::Level(int n) const {
    assert(n >= 1 && n <= LevelCount());
    return m_levels[static_cast<std::size_t>(n - 1)];
}

void LevelCatalogue::Add(const LevelRecord& record) {
    if (LevelCount() < kMaxLevels) m_levels.push_back(record);
}

LevelFileReport ReadLevelFile(const std::string& path) {
    LevelFileReport report;
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        report.error = errno != 0 ? errno : ENOENT;
        return report;
    }

    std::array<std::uint8_t, LevelRecord::kSize> bytes;
    while (report.catalogue.LevelCount() < LevelCatalogue::kMaxLevels) {
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
        if (got < bytes.size()) {
            report.trailingBytes = got;
            break;
        }
        LevelRecord record = LevelRecord::FromBytes(bytes);
        report.repairs.push_back(RepairRecord(record));
        report.catalogue.Add(record);
    }
    if (report.catalogue.LevelCount() == LevelCatalogue::kMaxLevels)
        report.recordsBeyondMax = std::fgetc(file.get()) != EOF;

    if (std::ferror(file.get()) && report.catalogue.LevelCount() == 0) {
        // A folder opens but cannot be read; to the player that is a file not found.
        report.error = errno != 0 ? errno : EIO;
        return report;
    }
    report.status = report.catalogue.LevelCount() > 0 ? LevelFileStatus::Read : LevelFileStatus::NoLevel;
    return report;
}
