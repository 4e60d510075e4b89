#include <gtest/gtest.h>

#include <filesystem>

#include "store/ProgressFile.h"
#include "tests/support/GameFixture.h"

namespace {

using testlevels::ReadAll;

class PersistenceTest : public GameFixture<> {
protected:
    void SetUp() override { folder.WriteLevels(std::vector<LevelRecord>(20, testlevels::kJoinedRow)); }
    void WriteResults(const std::string& name, std::vector<std::int32_t> entries) {
        std::vector<std::uint8_t> bytes;
        for (std::int32_t e : entries)
            for (int b = 0; b < 4; ++b)
                bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(e) >> (8 * b)));
        testlevels::WriteFile(Path(name), bytes);
    }
};

TEST_F(PersistenceTest, FirstStartWithNothingStored) {
    game.FormCreate(folder.Folder());
    EXPECT_EQ(game.UiLanguage(), -1);
    EXPECT_EQ(game.CurrentLevel(), 1);
    EXPECT_EQ(game.SavePath(), "");
    EXPECT_TRUE(shell.soundOn);
    EXPECT_FALSE(game.AllSolved());
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_TRUE(settings.writes.empty()) << "a start writes nothing";
    const Log expected{"scroll max 20", "place 100,50", "sound button down"};
    EXPECT_EQ(Log(shell.log.begin(), shell.log.begin() + 3), expected);
    EXPECT_EQ(shell.log.back(), "scroll 20");
}

TEST_F(PersistenceTest, StoredValuesAreTakenInTheirPlaces) {
    WriteResults("my game.aqd", {5, 0, 7});
    settings.Set("tongue", "7");
    settings.Set("level", "37");
    settings.Set("save", Path("my game.aqd"));
    settings.Set("sound", "0");
    settings.Set("left", "12");
    settings.Set("top", "x");
    game.FormCreate(folder.Folder());
    EXPECT_EQ(game.UiLanguage(), 7);
    EXPECT_EQ(game.CurrentLevel(), 20) << "a level past the last starts the last";
    EXPECT_EQ(game.Progress()[1], 5);
    EXPECT_EQ(game.Progress()[3], 7);
    EXPECT_FALSE(shell.soundOn);
    EXPECT_NE(std::find(shell.log.begin(), shell.log.end(), "place 12,50"), shell.log.end());
    EXPECT_EQ(shell.log.back(), "scroll 1");
    EXPECT_EQ(game.Caption(), "Aquendo 2.3 - Game my game.aqd");
}

TEST_F(PersistenceTest, StoredLevelBelowOneStartsLevelOne) {
    settings.Set("level", "-4");
    game.FormCreate(folder.Folder());
    EXPECT_EQ(game.CurrentLevel(), 1);
}

TEST_F(PersistenceTest, AFolderAtTheResultsPathIsNoFile) {
    std::filesystem::create_directory(Path("folder.aqd"));
    settings.Set("save", Path("folder.aqd"));
    game.FormCreate(folder.Folder());
    EXPECT_TRUE(shell.errors.empty()) << "a folder of that name is no results file";
    EXPECT_EQ(game.SavePath(), Path("folder.aqd"));
}

TEST_F(PersistenceTest, AllSolvedAtStartCountsOnlyLoadedLevels) {
    std::vector<std::int32_t> entries(20, 3);
    entries[3] = -5;  // a negative entry counts as solved here
    WriteResults("all.aqd", entries);
    settings.Set("save", Path("all.aqd"));
    game.FormCreate(folder.Folder());
    EXPECT_TRUE(game.AllSolved());
    EXPECT_EQ(game.SolvedCount(), 19) << "but not for the gauge";
}

TEST_F(PersistenceTest, CloseSavesAndWritesSettingsInOrder) {
    Create();
    Solve(2);
    game.SetUiLanguage(1);
    shell.SetSoundOn(false);
    shell.fileNames = {Path("results")};
    shell.Clear();
    game.FormClose();
    EXPECT_EQ(shell.log.front(), "timer off");
    EXPECT_EQ(shell.log[1], "help closed");
    EXPECT_EQ(shell.log[2], "save dialog |") << "no file at the empty path: nothing preset";
    EXPECT_EQ(settings.writes, (Log{"sound=0", "level=2", "tongue=1", "save=" + Path("results.aqd")}));
    const auto bytes = ReadAll(Path("results.aqd"));
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_GT(bytes[4], 0);
}

TEST_F(PersistenceTest, CloseOnTheFallbackLevelKeepsTheStoredLevel) {
    // No level file, and one with no complete record.
    for (const std::size_t size : {std::size_t{0}, std::size_t{100}}) {
        SCOPED_TRACE(size);
        settings.Set("level", "3");
        settings.writes.clear();
        std::filesystem::remove(folder.path() / "aqnd.dat");
        if (size > 0) testlevels::WriteFile(folder.path() / "aqnd.dat", std::vector<std::uint8_t>(size, 5));
        Create();
        ASSERT_EQ(game.LevelCount(), 1);
        game.FormClose();
        EXPECT_EQ(settings.writes, (Log{"sound=1", "tongue=-1", "save="}));
        EXPECT_EQ(settings.Read(settings::level), 3);
    }
}

// Another level file on trial: the player's place, results and settings stay
// out of it, and the results of the trial can still be saved.
TEST_F(PersistenceTest, PlayTestingAnotherFileLeavesThePlayersThingsAlone) {
    WriteResults("mine.aqd", {5, 6, 7});
    settings.Set("level", "3");
    settings.Set("save", Path("mine.aqd"));
    settings.Set("tongue", "1");
    testlevels::WriteFile(Path("trial.dat"),
                          testlevels::Bytes({testlevels::kBrokenRow, testlevels::kJoinedRow}));
    game.PlayTest(Path("trial.dat"));
    Create();
    EXPECT_EQ(game.LevelCount(), 2) << "the trial file, not the 20 beside the program";
    EXPECT_EQ(game.CurrentLevel(), 1);
    EXPECT_EQ(game.Progress()[1], 0) << "no results of the player's";
    EXPECT_EQ(game.SolvedCount(), 0);
    EXPECT_EQ(game.UiLanguage(), 1) << "the player's language is still read";
    Solve(2);
    EXPECT_GT(game.Progress()[2], 0);
    shell.fileNames = {Path("trial results")};
    shell.Clear();
    game.FormClose();
    game.FormDestroy("200,0,1,0,0,10,10");
    EXPECT_EQ(shell.log[2], "save dialog |") << "the save is offered, with nothing preset";
    EXPECT_EQ(ReadAll(Path("trial results.aqd")).size(), 2000u);
    EXPECT_TRUE(settings.writes.empty());
    EXPECT_EQ(ReadAll(Path("mine.aqd")).size(), 12u);

    // A trial file that cannot be read is named as given.
    Game other{shell, settings};
    shell.Clear();
    other.PlayTest(Path("missing.dat"));
    other.FormCreate(folder.Folder());
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_NE(shell.errors[0].find(Path("missing.dat")), std::string::npos) << shell.errors[0];
}

TEST_F(PersistenceTest, FailedSettingsWriteIsShownAndTheCloseGoesOn) {
    Create();
    settings.fault = MemorySettings::Fault::ValueNotSet;
    game.FormClose();
    EXPECT_EQ(shell.errors, (Log{"Konnte Daten für 'sound' nicht setzen"}));
    EXPECT_TRUE(settings.writes.empty()) << "the later values are not tried";
    game.FormDestroy("200,0,1,1,2,3,4");
    EXPECT_EQ(shell.errors.size(), 1u) << "one failure, one box";
}

TEST_F(PersistenceTest, SaveAsksBeforeReplacingAndGoesBackOnNo) {
    Create();
    Solve(1);
    testlevels::WriteFile(Path("old.aqd"), {1, 2, 3});
    shell.fileNames = {Path("old.txt"), Path("new")};
    shell.yesNo = {false};
    shell.Clear();
    game.SaveBtnClick();
    EXPECT_EQ(shell.Only("question"), (Log{"question Game old.aqd already existing. Overwrite?"}));
    EXPECT_EQ(shell.Only("save dialog").size(), 2u);
    EXPECT_EQ(ReadAll(Path("old.aqd")).size(), 3u) << "No keeps the file";
    EXPECT_EQ(game.SavePath(), Path("new.aqd"));
    EXPECT_EQ(ReadAll(Path("new.aqd")).size(), 2000u);
    EXPECT_EQ(shell.log.front(), "timer off");
    EXPECT_EQ(shell.log.back(), "timer on");

    shell.Clear();
    shell.fileNames = {Path("old.aqd")};
    shell.yesNo = {true};
    game.SaveGame();
    EXPECT_EQ(shell.Only("save dialog"), (Log{"save dialog " + folder.path().string() + "|new.aqd"}));
    EXPECT_EQ(ReadAll(Path("old.aqd")).size(), 2000u) << "Yes replaces it with exactly 2000 bytes";
}

TEST_F(PersistenceTest, SaveThatFailsIsReportedKeepsThePathAndOffersTheDialogAgain) {
    Create();
    WriteResults("last.aqd", {5});
    shell.fileNames = {Path("last.aqd")};
    shell.yesNo = {true};
    game.SaveGame();
    testlevels::WriteFile(Path("blocker"), {9});
    shell.Clear();
    shell.fileNames = {Path("blocker") + "/inside.aqd", Path("other")};
    game.SaveBtnClick();
    EXPECT_EQ(shell.errors, (Log{"Cannot save game inside.aqd. Drive full or not writable."}));
    EXPECT_EQ(shell.Only("save dialog").size(), 2u) << "the dialog comes again after the error";
    EXPECT_EQ(game.SavePath(), Path("other.aqd"));
    EXPECT_EQ(ReadAll(Path("other.aqd")).size(), 2000u);
    EXPECT_EQ(ReadAll(Path("blocker")).size(), 1u);

    shell.Clear();
    shell.fileNames = {Path("blocker") + "/inside.aqd", ""};
    game.SaveGame();
    EXPECT_EQ(game.SavePath(), Path("other.aqd")) << "a failed save keeps the file that holds the results";
    EXPECT_TRUE(shell.Only("status").empty());
}

TEST_F(PersistenceTest, FailedSaveAtCloseOffersTheDialogAgainAndKeepsTheStoredPath) {
    settings.Set("save", Path("kept.aqd"));
    WriteResults("kept.aqd", {7});
    Create();
    Solve(3);
    testlevels::WriteFile(Path("blocker"), {9});
    shell.fileNames = {Path("blocker") + "/x.aqd", ""};
    game.FormClose();
    EXPECT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.Only("save dialog"),
              (Log{"save dialog " + folder.path().string() + "|kept.aqd", "save dialog |"}));
    EXPECT_EQ(settings.writes.back(), "save=" + Path("kept.aqd"))
        << "the next start reads the last saved results";

    shell.Clear();
    shell.fileNames = {Path("blocker") + "/x.aqd", Path("moved")};
    game.FormClose();
    EXPECT_EQ(settings.writes.back(), "save=" + Path("moved.aqd"));
    EXPECT_GT(ReadAll(Path("moved.aqd")).at(8), 0) << "the results of the run are kept";
}

TEST_F(PersistenceTest, CancelledSaveChangesNothing) {
    Create();
    shell.fileNames = {""};
    game.SaveGame();
    EXPECT_EQ(game.SavePath(), "");
    EXPECT_TRUE(shell.Only("status").empty());
}

TEST_F(PersistenceTest, LoadReplacesResultsAndPath) {
    Create();
    Solve(5);
    std::vector<std::int32_t> entries(250, 9);
    WriteResults("thousand.aqd", entries);
    game.StartLevel(7);
    game.TimerTimer();
    shell.fileNames = {Path("thousand.aqd")};
    game.LoadBtnClick();
    EXPECT_EQ(game.SavePath(), Path("thousand.aqd"));
    EXPECT_EQ(game.Progress()[250], 9);
    EXPECT_EQ(game.Progress()[251], 0);
    EXPECT_TRUE(game.AllSolved()) << "recomputed from the loaded results";
    EXPECT_EQ(game.CurrentLevel(), 7) << "the board in play stays";
    EXPECT_EQ(game.TimeLeft(), 11);
}

TEST_F(PersistenceTest, LoadOfAMissingOrUnreadableFileKeepsTheResults) {
    Create();
    Solve(5);
    const auto before = game.Progress()[5];
    shell.fileNames = {Path("none.aqd")};
    game.LoadGame();
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(game.Progress()[5], before);

    std::filesystem::create_directory(Path("dir.aqd"));
    shell.fileNames = {Path("dir.aqd")};
    game.LoadGame();
    EXPECT_EQ(game.Progress()[5], before);
    EXPECT_EQ(game.SavePath(), "");
}

TEST_F(PersistenceTest, PlacementIsStoredAtDestroy) {
    Create();
    game.FormDestroy("200,0,1,1,2,3,4");
    EXPECT_EQ(settings.writes, (Log{"MainForm=200,0,1,1,2,3,4"}));
    settings.fault = MemorySettings::Fault::ValueNotSet;
    game.FormDestroy("200,0,1,1,2,3,4");
    EXPECT_EQ(shell.errors, (Log{"Konnte Daten für 'MainForm' nicht setzen"}))
        << "a failure of its own is shown";
}

}  // namespace
