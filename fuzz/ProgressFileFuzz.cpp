// Any bytes as the results file (which is also a saved game): the reader
// checked against a plain decoding of the bytes, the written file read back,
// the game started on it and loading it, with its captions, hints and
// navigation over whatever results the file claims, and its results saved
// again through the game's save flow.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/LevelFile.h"
#include "fuzz/FuzzScratch.h"
#include "game/Game.h"
#include "game/NullShell.h"
#include "store/MemorySettings.h"
#include "store/ProgressFile.h"

namespace {

void Require(bool holds, const char* what) {
    fuzz::Require(holds, "results file", what);
}

// The entry of level n as the bytes give it: little-endian, missing bytes 0.
std::int32_t Decoded(const std::uint8_t* data, std::size_t size, int level) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        const std::size_t at = 4 * static_cast<std::size_t>(level - 1) + static_cast<std::size_t>(i);
        value = value << 8 | (at < size ? data[at] : 0u);
    }
    return static_cast<std::int32_t>(value);
}

// The open dialog picks the fuzzed file, the save dialog each name of
// saveNames in turn (then cancels), the overwrite question says Yes; errors
// are counted. Everything else as NullShell.
class LoadingShell : public NullShell {
public:
    std::string chosen;
    std::vector<std::string> saveNames;
    std::size_t saveDialogs = 0;
    int errors = 0;
    std::optional<std::string> AskOpenFileName(const std::string&) override { return chosen; }
    std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override {
        if (saveDialogs == saveNames.size()) return std::nullopt;
        return saveNames[saveDialogs++];
    }
    bool AskYesNo(const std::string&) override { return true; }
    void ShowError(const std::string&) override { ++errors; }
};

}  // namespace

extern "C" int AQUENDO_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch scratch("results");
    const std::filesystem::path& folder = scratch.folder();
    const std::filesystem::path path = folder / "results.aqd";
    const std::filesystem::path copy = folder / "copy.aqd";
    fuzz::WriteFile(path, data, size);

    ProgressTable table;
    Require(ReadProgressFile(path.string(), table), "a readable file was refused");
    for (int n = 1; n <= ProgressTable::kEntries; ++n)
        Require(table[n] == Decoded(data, size, n), "an entry differs from the file's bytes");

    // Writes take a dozen system calls and a flush: one input in eight
    // saves, the rest runs the readers alone.
    const bool saving = size % 8 == 0;
    ProgressTable again;
    if (saving) {
        // Saved and read back, the table is the same; the file is exactly 2000 bytes.
        Require(WriteProgressFile(copy.string(), table), "the table could not be saved");
        Require(std::filesystem::file_size(copy) == kProgressFileSize, "a saved file is not 2000 bytes");
        Require(ReadProgressFile(copy.string(), again), "a saved file could not be read");
        for (int n = 1; n <= ProgressTable::kEntries; ++n)
            Require(again[n] == table[n], "round trip changed an entry");
    }

    // The game with some levels: the level count comes from the first byte so
    // that the entries beyond it are held but not counted.
    const int levels = 1 + (size > 0 ? data[0] : 0) % 40;
    static std::string programFolder;
    static int levelsOnDisk = 0;
    if (levelsOnDisk != levels) {
        programFolder = folder.string() + "/";
        std::vector<std::uint8_t> file(LevelRecord::kSize * static_cast<std::size_t>(levels));
        for (int n = 0; n < levels; ++n) {
            LevelRecord record = FallbackLevel();
            record.PieceLayer[0] = 3;  // a straight at the source: one piece, already wet
            record.ToBytes(std::span<std::uint8_t, LevelRecord::kSize>(
                file.data() + static_cast<std::size_t>(n) * LevelRecord::kSize, LevelRecord::kSize));
        }
        fuzz::WriteFile(folder / kLevelFileName, file.data(), file.size());
        levelsOnDisk = levels;
    }

    LoadingShell shell;
    shell.chosen = path.string();
    MemorySettings settings;
    settings.Set("save", path.string());
    settings.Set("level", std::to_string(size > 1 ? data[1] : 1));
    Game game(shell, settings);
    game.FormCreate(programFolder);
    Require(game.LevelCount() == levels, "the level file was not read");
    Require(game.CurrentLevel() >= 1 && game.CurrentLevel() <= levels, "current level out of range");
    Require(game.AllSolved() == table.AllSolved(levels), "AllSolved at start");
    const int solved = game.SolvedCount();
    Require(solved >= 0 && solved <= levels, "solved count out of range");
    Require(!game.Caption().empty() && !game.LevelHint().empty() && !game.GaugeHint().empty(),
            "empty status text");

    // Navigation over the results: the level reached is always one of ours.
    for (int step = 0; step < 4; ++step) {
        if (step % 2 == 0)
            game.sUpBtnClick();
        else
            game.sDownBtnClick();
        Require(game.CurrentLevel() >= 1 && game.CurrentLevel() <= levels, "navigation left the levels");
    }
    game.LoadGame();
    Require(game.SavePath() == path.string(), "a loaded file did not become the save path");
    for (int n = 1; n <= ProgressTable::kEntries; ++n)
        Require(game.Progress()[n] == table[n], "loading changed an entry");
    game.GaugeHint();
    game.LevelHint();
    if (!saving) return 0;

    // Saved through the game's own flow: a place that cannot be written is
    // told and offers the dialog again, SavePath unchanged; the next place
    // takes the table, byte for byte.
    const std::filesystem::path saved = folder / "saved.aqd";
    shell.saveNames = {(path / "inside").string(), (folder / "saved").string()};
    shell.errors = 0;
    game.SaveBtnClick();
    Require(shell.errors == 1 && shell.saveDialogs == 2, "a failed save was not told or ended the flow");
    Require(game.SavePath() == saved.string(), "a save did not become the save path");
    Require(ReadProgressFile(saved.string(), again), "a saved game could not be read");
    for (int n = 1; n <= ProgressTable::kEntries; ++n)
        Require(again[n] == table[n], "a saved game changed an entry");
    shell.saveNames = {(path / "inside").string()};
    shell.saveDialogs = 0;
    game.SaveBtnClick();
    Require(game.SavePath() == saved.string(), "a failed save changed the save path");
    return 0;
}
