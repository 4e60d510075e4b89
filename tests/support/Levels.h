#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "core/LevelRecord.h"

namespace testlevels {

struct Placed {
    int c;
    int r;
    std::uint8_t code;
};

// A level with the given pieces on floor tile 7 and its source at (sc, sr).
inline LevelRecord Make(std::initializer_list<Placed> pieces, int sc, int sr) {
    LevelRecord record;
    record.FloorLayer.fill(kBareFloor);
    for (const Placed& p : pieces) record.PieceLayer[CellIndex(p.c, p.r)] = p.code;
    record.SourceColumn = static_cast<std::uint8_t>(sc);
    record.SourceRow = static_cast<std::uint8_t>(sr);
    return record;
}

// Three pieces in a row, joined: End (3,4) -> Straight (4,4) -> End (5,4),
// the source in the middle. A middle press on any of them solves it.
inline const LevelRecord kJoinedRow = Make({{3, 4, 1}, {4, 4, 3}, {5, 4, 17}}, 4, 4);
// The same row with the source's right neighbour facing away.
inline const LevelRecord kBrokenRow = Make({{3, 4, 1}, {4, 4, 3}, {5, 4, 1}}, 4, 4);

inline std::vector<std::uint8_t> Bytes(const std::vector<LevelRecord>& records) {
    std::vector<std::uint8_t> bytes(records.size() * LevelRecord::kSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].ToBytes(std::span<std::uint8_t, LevelRecord::kSize>(bytes.data() + i * LevelRecord::kSize,
                                                                       LevelRecord::kSize));
    return bytes;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The whole file; empty when there is none.
inline std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh empty folder under the system's temporary folder (or under base),
// removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path(),
                        const std::string& prefix = "aquendo-test-") {
        std::string pattern = (base / (prefix + "XXXXXX")).string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string Folder() const { return m_path.string() + "/"; }
    // The levels as the game's level file in this folder.
    void WriteLevels(const std::vector<LevelRecord>& levels) const {
        WriteFile(m_path / "aqnd.dat", Bytes(levels));
    }

private:
    std::filesystem::path m_path;
};

}  // namespace testlevels
