#include "core/LevelFile.h"

#include <array>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/RegularFile.h"

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
    FilePtr file = OpenRegularFile(path, report.error);
    if (!file) return report;

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
        report.error = errno != 0 ? errno : EIO;
        return report;
    }
    report.status = report.catalogue.LevelCount() > 0 ? LevelFileStatus::Read : LevelFileStatus::NoLevel;
    return report;
}
