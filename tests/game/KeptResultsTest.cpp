// Results of a run that ended without the player's close: kept beside the
// results file, never in it, and offered once at the next start.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "game/KeptResults.h"
#include "store/ProgressFile.h"
#include "tests/support/GameFixture.h"

namespace {

using testlevels::ReadAll;
namespace fs = std::filesystem;

TEST(KeptResultsPath, FollowsTheStateFolderRule) {
    struct Case {
        const char* stateHome;
        const char* home;
        const char* path;
    };
    const Case cases[] = {
        {"/s", "/h", "/s/aquendo/unsaved.aqd"},
        {"/s/", "/h", "/s/aquendo/unsaved.aqd"},
        {nullptr, "/h", "/h/.local/state/aquendo/unsaved.aqd"},
        {"", "/h", "/h/.local/state/aquendo/unsaved.aqd"},
        {"state", "/h", "/h/.local/state/aquendo/unsaved.aqd"},  // a relative one is ignored
        {"state", nullptr, ""},
        {nullptr, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeptResultsPath(c.stateHome, c.home), c.path)
            << (c.stateHome ? c.stateHome : "unset") << " " << (c.home ? c.home : "unset");
}

class KeptResultsTest : public GameFixture<> {
protected:
    void SetUp() override {
        folder.WriteLevels(std::vector<LevelRecord>(20, testlevels::kJoinedRow));
        game.SetKeptResultsPath(Kept());
    }
    std::string Kept() const { return Path("state/aquendo/unsaved.aqd"); }
    ProgressTable With(std::initializer_list<int> solved) const {
        ProgressTable table;
        for (int level : solved) table[level] = 9;
        return table;
    }
    void WriteTable(const std::string& path, const ProgressTable& table) {
        fs::create_directories(fs::path(path).parent_path());
        ASSERT_TRUE(WriteProgressFile(path, table));
    }
    ProgressTable ReadTable(const std::string& path) {
        ProgressTable table;
        EXPECT_TRUE(ReadProgressFile(path, table)) << path;
        return table;
    }
};

// What an end without the close keeps, by what the results file holds then.
TEST_F(KeptResultsTest, AnUnattendedEndKeepsOnlyResultsTheFileLacks) {
    struct Case {
        const char* what;
        bool resultsFile;  // the start finds a results file with level 1 solved
        std::function<void(Game&)> play;
        bool kept;  // a kept file with the results in play
    };
    const auto solveTwo = [](Game& g) {
        g.StartLevel(2);
        g.boxMouseDown(MouseButton::Middle, cellpoints::BoardX(4), cellpoints::BoardY(4));
    };
    const Case cases[] = {
        {"nothing played, no results file", false, [](Game&) {}, false},
        {"nothing new since the last save", true, [](Game&) {}, false},
        {"a level solved, never saved", false, solveTwo, true},
        {"a level solved after the last save", true, solveTwo, true},
        {"the results cleared by a new game", true, [](Game& g) { g.NewGameBtnClick(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Path("state"));
        fs::remove(Path("results.aqd"));
        settings.values.clear();
        if (c.resultsFile) {
            WriteTable(Path("results.aqd"), With({1}));
            settings.Set("save", Path("results.aqd"));
        }
        const auto before = ReadAll(Path("results.aqd"));
        Game run(shell, settings);
        run.SetKeptResultsPath(Kept());
        run.FormCreate(folder.Folder());
        shell.Clear();
        c.play(run);
        EXPECT_TRUE(run.KeepUnattended("200,0,1,1,2,3,4").empty());
        EXPECT_TRUE(shell.errors.empty());
        EXPECT_TRUE(shell.Only("save dialog").empty()) << "nobody is asked";
        ASSERT_EQ(FileExistsAt(Kept()), c.kept);
        if (c.kept) {
            EXPECT_EQ(ReadTable(Kept()) == run.Progress(), true);
        }
        EXPECT_EQ(ReadAll(Path("results.aqd")), before) << "the results file is the player's";
    }
}

TEST_F(KeptResultsTest, AnUnattendedEndWritesTheSettingsAsTheCloseDoes) {
    Create();
    Solve(3);
    game.SetUiLanguage(1);
    shell.SetSoundOn(false);
    EXPECT_TRUE(game.KeepUnattended("200,0,1,1,2,3,4").empty());
    EXPECT_EQ(settings.writes, (Log{"sound=0", "level=3", "tongue=1", "save=", "MainForm=200,0,1,1,2,3,4"}));

    // A store that refuses everything is told once, and the results are kept all the same.
    settings.fault = MemorySettings::Fault::SectionNotCreated;
    EXPECT_EQ(game.KeepUnattended("200,0,1,1,2,3,4"), (Log{"Erzeugung von Schlüssel common misslungen"}));
    EXPECT_TRUE(shell.errors.empty()) << "nothing is shown";
    EXPECT_TRUE(FileExistsAt(Kept()));
}

// What this run kept goes once the results are the player's business again:
// saved since, or the player's own close.
TEST_F(KeptResultsTest, WhatThisRunKeptGoesWhenNoLongerWanted) {
    Create();
    Solve(2);
    ASSERT_TRUE(game.KeepUnattended("").empty());  // the session manager's first call
    ASSERT_TRUE(FileExistsAt(Kept()));
    shell.fileNames = {Path("results.aqd")};
    game.SaveBtnClick();
    EXPECT_TRUE(game.KeepUnattended("").empty());
    EXPECT_FALSE(FileExistsAt(Kept())) << "saved since: nothing left to keep";

    Solve(3);
    ASSERT_TRUE(game.KeepUnattended("").empty());
    ASSERT_TRUE(FileExistsAt(Kept()));
    shell.fileNames = {""};  // the player cancels the save at the close
    game.FormClose();
    EXPECT_FALSE(FileExistsAt(Kept())) << "the player let them go";
    settings.writes.clear();
    EXPECT_TRUE(game.KeepUnattended("").empty());
    EXPECT_TRUE(settings.writes.empty()) << "after the player's close there is nothing to do";
    EXPECT_FALSE(FileExistsAt(Kept()));
}

// A session that ends while the close's save dialog is open has not let the
// results go.
TEST_F(KeptResultsTest, ASessionEndingInTheCloseStillKeeps) {
    Create();
    Solve(2);
    game.SessionEnds();
    shell.fileNames = {""};  // the dialog taken away
    game.FormClose();
    EXPECT_TRUE(settings.writes.empty()) << "the end writes them";
    EXPECT_TRUE(game.KeepUnattended("").empty());
    EXPECT_TRUE(FileExistsAt(Kept()));
    EXPECT_EQ(settings.writes.front(), "sound=1");
}

// A shell whose question is taken away by the end of the session.
class EndingShell : public RecordingShell {
public:
    bool AskYesNo(const std::string& text) override {
        if (game) game->SessionEnds();
        return RecordingShell::AskYesNo(text);
    }
    Game* game = nullptr;
};

// The next start's question, by what it finds and what the player answers.
TEST_F(KeptResultsTest, TheNextStartOffersThemOnce) {
    struct Case {
        const char* what;
        std::initializer_list<int> kept;  // the file kept (the results file: level 1)
        bool answer;
        bool asked;
        std::initializer_list<int> after;  // the results in play afterwards
    };
    const Case cases[] = {
        {"Yes loads them", {1, 2, 3}, true, true, {1, 2, 3}},
        {"No drops them", {1, 2, 3}, false, true, {1}},
        {"fewer than the file: still the player's choice", {}, true, true, {}},
        {"the same as the file: nothing to ask", {1}, true, false, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTable(Path("results.aqd"), With({1}));
        settings.Set("save", Path("results.aqd"));
        settings.Set("tongue", "0");
        WriteTable(Kept(), With(c.kept));
        Game next(shell, settings);
        next.SetKeptResultsPath(Kept());
        next.FormCreate(folder.Folder());
        shell.Clear();
        shell.yesNo = {c.answer};
        next.FormActivate();
        const auto question = std::find_if(shell.log.begin(), shell.log.end(),
                                           [](const std::string& e) { return e.rfind("question", 0) == 0; });
        ASSERT_EQ(question != shell.log.end(), c.asked);
        if (c.asked) {
            EXPECT_EQ(question->rfind("question Last time Aquendo was ended without saving your results (" +
                                          std::to_string(c.kept.size()) + " of 20 levels solved).",
                                      0),
                      0u)
                << *question;
            EXPECT_EQ(*(question - 1), "timer off") << "the clock waits for the answer";
            EXPECT_EQ(*(question + 1), "timer on");
        }
        EXPECT_EQ(next.Progress() == With(c.after), true);
        EXPECT_EQ(next.SavePath(), Path("results.aqd")) << "the results file in use stays";
        EXPECT_EQ(ReadTable(Path("results.aqd")) == With({1}), true) << "and is not written";
        EXPECT_FALSE(FileExistsAt(Kept())) << "offered once";
    }
}

TEST(KeptResultsOffer, InGermanAndNotLostToTheEndOfTheSession) {
    testlevels::TempFolder folder;
    folder.WriteLevels({testlevels::kJoinedRow, testlevels::kJoinedRow});
    const std::string kept = (folder.path() / "unsaved.aqd").string();
    ProgressTable table;
    table[2] = 4;
    ASSERT_TRUE(WriteProgressFile(kept, table));
    EndingShell shell;
    MemorySettings settings;
    settings.Set("tongue", "1");
    Game game(shell, settings);
    shell.game = &game;
    game.SetKeptResultsPath(kept);
    game.FormCreate(folder.Folder());
    shell.yesNo = {false};
    game.FormActivate();
    ASSERT_EQ(shell.Only("question").size(), 1u);
    EXPECT_EQ(shell.Only("question")[0].rfind("question Beim letzten Mal wurde Aquendo beendet", 0), 0u);
    EXPECT_EQ(shell.Only("question")[0].find("(1 von 2 Stufen gelöst)") == std::string::npos, false);
    EXPECT_TRUE(FileExistsAt(kept)) << "a question taken away is asked again next time";
    EXPECT_EQ(game.Progress()[2], 0);
    EXPECT_TRUE(game.KeepUnattended("").empty());
    EXPECT_EQ(ReadAll(kept).size(), 2000u) << "and the end leaves it as it was";
}

// The state folder cannot be made: the end says so instead of keeping quiet.
TEST_F(KeptResultsTest, AFolderThatCannotBeMadeIsReported) {
    testlevels::WriteFile(Path("state"), {1});
    Create();
    Solve(2);
    EXPECT_EQ(game.KeepUnattended(""), (Log{"Could not keep the unsaved results in " + Kept() + "."}));
}

}  // namespace
