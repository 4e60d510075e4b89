#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/LevelFile.h"
#include "tests/support/Levels.h"

namespace {

using testlevels::TempFolder;

// Records whose first piece byte tells them apart: record i has code (i % 20) mapped into the codes in use.
std::vector<LevelRecord> Numbered(int count) {
    static constexpr std::uint8_t kCodes[] = {1,  2,  3,  4,  5,  9,  10, 11, 12, 13,
                                              17, 18, 19, 20, 21, 25, 26, 27, 28, 29};
    std::vector<LevelRecord> records;
    for (int i = 0; i < count; ++i) {
        LevelRecord record = testlevels::Make({{1 + i % 10, 1 + (i / 10) % 8, kCodes[i % 20]}}, 1, 1);
        record.FloorLayer[0] = static_cast<std::uint8_t>(i % 64);
        records.push_back(record);
    }
    return records;
}

LevelFileReport ReadBytes(const TempFolder& folder, const std::vector<std::uint8_t>& bytes) {
    const auto path = folder.path() / "aqnd.dat";
    testlevels::WriteFile(path, bytes);
    return ReadLevelFile(path.string());
}

TEST(LevelFile, CountsCompleteRecordsUpTo500) {
    TempFolder folder;
    struct Case {
        int records;
        std::size_t extraBytes;
        int expected;
        bool beyond;
    };
    for (const Case& c : {Case{37, 0, 37, false}, Case{37, 100, 37, false}, Case{1, 161, 1, false},
                          Case{500, 0, 500, false}, Case{600, 0, 500, true}}) {
        SCOPED_TRACE(c.records);
        const auto records = Numbered(c.records);
        auto bytes = testlevels::Bytes(records);
        bytes.resize(bytes.size() + c.extraBytes, 0xEE);
        const LevelFileReport report = ReadBytes(folder, bytes);
        ASSERT_EQ(report.status, LevelFileStatus::Read);
        ASSERT_EQ(report.catalogue.LevelCount(), c.expected);
        EXPECT_EQ(report.trailingBytes, c.beyond ? 0 : c.extraBytes);
        EXPECT_EQ(report.recordsBeyondMax, c.beyond);
        EXPECT_EQ(report.catalogue.Level(c.expected), records[c.expected - 1]);
        EXPECT_EQ(report.catalogue.Level(1), records[0]);
    }
}

TEST(LevelFile, RecordLayoutIsColumnMajor) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes(LevelRecord::kSize, 0);
    bytes[1] = 3;     // cell (1, 2)
    bytes[8] = 9;     // cell (2, 1)
    bytes[79] = 29;   // cell (10, 8)
    bytes[159] = 63;  // floor of cell (10, 8)
    bytes[160] = 10;
    bytes[161] = 8;
    const LevelFileReport report = ReadBytes(folder, bytes);
    ASSERT_EQ(report.catalogue.LevelCount(), 1);
    const LevelRecord& level = report.catalogue.Level(1);
    EXPECT_EQ(level.PieceLayer[CellIndex(1, 2)], 3);
    EXPECT_EQ(level.PieceLayer[CellIndex(2, 1)], 9);
    EXPECT_EQ(level.PieceLayer[CellIndex(10, 8)], 29);
    EXPECT_EQ(level.FloorLayer[CellIndex(10, 8)], 63);
    EXPECT_EQ(level.SourceColumn, 10);
    EXPECT_EQ(level.SourceRow, 8);
    EXPECT_FALSE(report.repairs[0].Any());
}

TEST(LevelFile, FilesThatGiveNoLevel) {
    TempFolder folder;
    EXPECT_EQ(ReadBytes(folder, {}).status, LevelFileStatus::NoLevel);
    EXPECT_EQ(ReadBytes(folder, std::vector<std::uint8_t>(161, 1)).status, LevelFileStatus::NoLevel);

    const LevelFileReport missing = ReadLevelFile((folder.path() / "nothing.dat").string());
    EXPECT_EQ(missing.status, LevelFileStatus::CannotOpen);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(missing.catalogue.LevelCount(), 0);

    // Refused at once: a FIFO would block the open, a device read forever.
    const std::string fifo = (folder.path() / "fifo.dat").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [path, error] : std::vector<std::pair<std::string, int>>{
             {folder.path().string(), EISDIR}, {fifo, EINVAL}, {"/dev/zero", EINVAL}}) {
        const LevelFileReport refused = ReadLevelFile(path);
        EXPECT_EQ(refused.status, LevelFileStatus::CannotOpen) << path;
        EXPECT_EQ(refused.error, error) << path;
        EXPECT_EQ(refused.catalogue.LevelCount(), 0) << path;
    }
}

TEST(LevelFile, OutOfRangeBytesAreMendedNeverKept) {
    TempFolder folder;
    LevelRecord bad =
        testlevels::Make({{1, 1, 3}, {2, 1, 6}, {3, 1, 8}, {4, 1, 30}, {5, 1, 200}, {6, 1, 29}}, 0, 9);
    bad.FloorLayer[CellIndex(7, 7)] = 64;
    bad.FloorLayer[CellIndex(7, 8)] = 255;
    bad.FloorLayer[CellIndex(8, 8)] = 63;
    LevelRecord sourceFar = testlevels::Make({{10, 8, 1}}, 200, 0);
    const LevelFileReport report = ReadBytes(folder, testlevels::Bytes({bad, sourceFar}));
    ASSERT_EQ(report.catalogue.LevelCount(), 2) << "damaged records keep their place, so numbering holds";

    const LevelRecord& level = report.catalogue.Level(1);
    EXPECT_EQ(report.repairs[0].pieceCodes, 4);
    EXPECT_EQ(report.repairs[0].floorCodes, 2);
    EXPECT_TRUE(report.repairs[0].source);
    EXPECT_EQ(report.repairs[0].fileSourceColumn, 0);
    EXPECT_EQ(report.repairs[0].fileSourceRow, 9);
    for (int c = 2; c <= 5; ++c) EXPECT_EQ(level.PieceLayer[CellIndex(c, 1)], 0) << c;
    EXPECT_EQ(level.PieceLayer[CellIndex(1, 1)], 3);
    EXPECT_EQ(level.PieceLayer[CellIndex(6, 1)], 29);
    EXPECT_EQ(level.FloorLayer[CellIndex(7, 7)], kBareFloor);
    EXPECT_EQ(level.FloorLayer[CellIndex(7, 8)], kBareFloor);
    EXPECT_EQ(level.FloorLayer[CellIndex(8, 8)], 63);
    EXPECT_EQ(level.SourceColumn, 1);
    EXPECT_EQ(level.SourceRow, 8);

    EXPECT_EQ(report.catalogue.Level(2).SourceColumn, 10);
    EXPECT_EQ(report.catalogue.Level(2).SourceRow, 1);
}

TEST(LevelFile, FallbackLevelIsAnEmptyBoardOnTile29) {
    const LevelRecord level = FallbackLevel();
    EXPECT_EQ(level.PieceCount(), 0);
    for (auto floor : level.FloorLayer) EXPECT_EQ(floor, 29);
    EXPECT_EQ(level.SourceColumn, 1);
    EXPECT_EQ(level.SourceRow, 1);
}

TEST(LevelRecord, BytesRoundTrip) {
    std::array<std::uint8_t, LevelRecord::kSize> bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::array<std::uint8_t, LevelRecord::kSize> back{};
    LevelRecord::FromBytes(bytes).ToBytes(back);
    EXPECT_EQ(back, bytes);
}

}  // namespace
