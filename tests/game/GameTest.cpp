#include <gtest/gtest.h>

#include <functional>

#include "tests/support/GameFixture.h"

namespace {

using testlevels::kBrokenRow;
using testlevels::kJoinedRow;
using testlevels::Make;

class GameTest : public GameFixture<> {};

TEST_F(GameTest, StartLevelOrderAndTimeAllowance) {
    std::initializer_list<testlevels::Placed> none{};
    LevelRecord many = Make(none, 1, 1);
    for (int i = 0; i < 23; ++i) many.PieceLayer[CellIndex(1 + i % 10, 1 + i / 10)] = 5;
    Load({many});
    game.StartLevel(1);
    EXPECT_EQ(game.TimeLeft(), 92);
    EXPECT_EQ(shell.cellsDrawn, 80);
    const Log expectedStart{"background", "sound 1"};
    EXPECT_EQ(Log(shell.log.begin(), shell.log.begin() + 2), expectedStart);
    EXPECT_EQ(shell.Only("delay").size(), 6u);
    // After the water: the state, the status, then the timer.
    EXPECT_EQ(Log(shell.log.end() - 6, shell.log.end()),
              (Log{"state", "texts", "time", "status", "status", "timer on"}));
    EXPECT_EQ(game.board().ShownWet, game.board().WetMap);
    EXPECT_EQ(game.State(), PlayState::Running);
}

TEST_F(GameTest, StartWithOnlyTheSourceWetIsSilent) {
    Load({Make({{4, 4, 11}, {5, 4, 17}}, 4, 4), Make({{5, 5, 5}}, 2, 2)});
    for (int level : {1, 2}) {
        shell.Clear();
        game.StartLevel(level);
        EXPECT_TRUE(shell.Only("sound").empty()) << level;
        EXPECT_TRUE(shell.Only("water").empty()) << level;
    }
    // Source on an empty cell: every piece is dry and refused.
    shell.Clear();
    EXPECT_EQ(Press(MouseButton::Left, 5, 5), MoveResult::Refused);
    EXPECT_EQ(shell.log, (Log{"sound 3"}));
    EXPECT_EQ(game.board().Piece(5, 5), 5);
}

TEST_F(GameTest, PressPositionsMapToCells) {
    std::initializer_list<testlevels::Placed> none{};
    LevelRecord full = Make(none, 1, 1);
    full.PieceLayer.fill(5);  // crosses everywhere: every cell wet, every press solves
    Load({full});
    struct Case {
        int x, y;
        int c, r;  // 0: ignored
    };
    for (const Case& t : {Case{22, 22, 1, 1}, Case{57, 57, 1, 1}, Case{58, 22, 2, 1}, Case{381, 309, 10, 8},
                          Case{382, 100, 0, 0}, Case{100, 310, 0, 0}, Case{21, 100, 0, 0},
                          Case{100, 21, 0, 0}, Case{-5, -5, 0, 0}, Case{499, 332, 0, 0}}) {
        SCOPED_TRACE(std::to_string(t.x) + "," + std::to_string(t.y));
        game.StartLevel(1);
        const MoveResult result = game.boxMouseDown(MouseButton::Middle, t.x, t.y);
        if (t.c == 0) {
            EXPECT_EQ(result, MoveResult::Ignored);
            EXPECT_EQ(game.board().SourceColumn, 1);
            EXPECT_EQ(game.board().SourceRow, 1);
        } else {
            EXPECT_EQ(result, MoveResult::Solved);
            EXPECT_EQ(game.board().SourceColumn, t.c);
            EXPECT_EQ(game.board().SourceRow, t.r);
        }
    }
}

TEST_F(GameTest, DryPiecesAreRefusedAndEmptyCellsIgnored) {
    Load({kBrokenRow});
    EXPECT_EQ(Press(MouseButton::Left, 5, 4), MoveResult::Refused);
    EXPECT_EQ(Press(MouseButton::Left, 6, 4), MoveResult::Ignored);
    EXPECT_EQ(shell.log, (Log{"sound 3"}));
    EXPECT_EQ(game.board().Piece(5, 4), 1);
    EXPECT_EQ(game.board().SourceColumn, 4);
}

TEST_F(GameTest, EveryPressIsAMoveOfItsOwn) {
    Load({kBrokenRow});
    EXPECT_EQ(Press(MouseButton::Left, 4, 4), MoveResult::Moved);
    EXPECT_EQ(Press(MouseButton::Left, 4, 4), MoveResult::Moved);
    EXPECT_EQ(game.board().Piece(4, 4), 19);
    EXPECT_EQ(Press(MouseButton::Right, 4, 4), MoveResult::Moved);
    EXPECT_EQ(game.board().Piece(4, 4), 11);
}

TEST_F(GameTest, TurnFramesAndWaitsOfBothDirections) {
    Load({Make({{2, 2, 25}, {8, 8, 5}}, 2, 2)});  // End pointing down: orientation 3
    Press(MouseButton::Left, 2, 2);
    EXPECT_EQ(shell.log, (Log{"turn 2,2 10", "delay 50", "turn 2,2 11", "delay 50", "turn 2,2 0"}));
    EXPECT_EQ(game.board().Piece(2, 2), 1);
    shell.Clear();
    Press(MouseButton::Right, 2, 2);  // from orientation 0
    EXPECT_EQ(shell.Only("turn"), (Log{"turn 2,2 11", "turn 2,2 10", "turn 2,2 9"}));
    shell.Clear();
    Press(MouseButton::Right, 2, 2);  // from orientation 3
    EXPECT_EQ(shell.Only("turn"), (Log{"turn 2,2 8", "turn 2,2 7", "turn 2,2 6"}));
    shell.Clear();
    Press(MouseButton::Middle, 2, 2);
    EXPECT_TRUE(shell.Only("turn").empty());
}

TEST_F(GameTest, TurningAwayDrainsTheNetworkInSixFrames) {
    Load({kJoinedRow});
    Press(MouseButton::Left, 4, 4);  // the straight now runs up and down
    EXPECT_EQ(shell.Only("sound"), (Log{"sound 1"}));
    EXPECT_EQ(shell.Only("water"), (Log{"water 3,4 5", "water 5,4 5", "water 3,4 4", "water 5,4 4",
                                        "water 3,4 3", "water 5,4 3", "water 3,4 2", "water 5,4 2",
                                        "water 3,4 1", "water 5,4 1", "water 3,4 0", "water 5,4 0"}));
    EXPECT_FALSE(game.board().IsShownWet(3, 4));
    EXPECT_TRUE(game.board().IsShownWet(4, 4));
    EXPECT_EQ(Press(MouseButton::Left, 3, 4), MoveResult::Refused);
}

TEST_F(GameTest, MiddlePressSolvesAJoinedLevelWithoutWater) {
    Load({kJoinedRow});
    EXPECT_EQ(Press(MouseButton::Middle, 3, 4), MoveResult::Solved);
    EXPECT_EQ(shell.log, (Log{"timer off", "sound 2", "state", "texts", "time", "status", "message 1",
                              "level", "status", "message 6"}));
    EXPECT_EQ(game.State(), PlayState::Solved);
    EXPECT_EQ(Press(MouseButton::Left, 3, 4), MoveResult::Ignored);
}

TEST_F(GameTest, FirstResultIsKept) {
    Load({kJoinedRow, kJoinedRow});
    Ticks(5);
    ASSERT_EQ(game.TimeLeft(), 7);
    Press(MouseButton::Middle, 4, 4);
    EXPECT_EQ(game.Progress()[1], 7);
    game.StartLevel(1);
    Ticks(1);
    Press(MouseButton::Middle, 4, 4);
    EXPECT_EQ(game.Progress()[1], 7);
}

TEST_F(GameTest, SolvedInTheLastSecondStaysUnsolved) {
    Load({kJoinedRow});
    Ticks(12);
    ASSERT_EQ(game.TimeLeft(), 0);
    EXPECT_EQ(Press(MouseButton::Middle, 4, 4), MoveResult::Solved);
    EXPECT_EQ(game.Progress()[1], 0);
    EXPECT_EQ(shell.Only("message"), (Log{"message 1"}));
    EXPECT_FALSE(game.AllSolved());
}

TEST_F(GameTest, AllSolvedIsAnnouncedOnce) {
    Load({kJoinedRow, kJoinedRow});
    Press(MouseButton::Middle, 4, 4);
    EXPECT_EQ(shell.Only("message"), (Log{"message 1"}));
    shell.Clear();
    game.StartLevel(2);
    Press(MouseButton::Middle, 4, 4);
    EXPECT_EQ(shell.Only("message"), (Log{"message 1", "message 6"}));
    EXPECT_TRUE(game.AllSolved());
    shell.Clear();
    game.StartLevel(2);
    Press(MouseButton::Middle, 4, 4);
    EXPECT_EQ(shell.Only("message"), (Log{"message 1"}));
}

TEST_F(GameTest, PauseHoldsPressesAndTicks) {
    Load({kJoinedRow});
    game.Pause();
    EXPECT_EQ(game.State(), PlayState::Paused);
    shell.Clear();
    EXPECT_EQ(Press(MouseButton::Left, 4, 4), MoveResult::Ignored);
    Ticks(3);
    EXPECT_TRUE(shell.log.empty());
    EXPECT_EQ(game.TimeLeft(), 12);
    game.boxClick();
    EXPECT_EQ(game.State(), PlayState::Running);
    EXPECT_EQ(game.board().Piece(4, 4), 3) << "the click that resumes turns nothing";
    game.boxClick();  // a click while running changes nothing
    EXPECT_EQ(game.State(), PlayState::Running);
}

TEST_F(GameTest, TimeRunsOutOneTickAfterZero) {
    Load({kJoinedRow});
    Ticks(12);
    EXPECT_EQ(game.TimeLeft(), 0);
    EXPECT_EQ(game.State(), PlayState::Running);
    shell.Clear();
    game.TimerTimer();
    EXPECT_EQ(shell.log,
              (Log{"timer off", "state", "texts", "time", "status", "sound 4", "message 5", "time"}));
    EXPECT_EQ(game.State(), PlayState::TimeUp);
    shell.Clear();
    Ticks(2);
    EXPECT_TRUE(shell.log.empty());
    EXPECT_EQ(Press(MouseButton::Left, 4, 4), MoveResult::Ignored);
    game.StartLevel(1);
    EXPECT_EQ(game.State(), PlayState::Running);
    EXPECT_TRUE(shell.timerOn);
    EXPECT_EQ(game.TimeLeft(), 12);
}

TEST_F(GameTest, RestartBringsBackTheFilesPieces) {
    Load({kJoinedRow});
    Press(MouseButton::Left, 4, 4);
    Press(MouseButton::Right, 4, 4);
    Press(MouseButton::Right, 4, 4);
    Ticks(4);
    game.StartLevel(1);
    EXPECT_EQ(game.board().PieceLayer, kJoinedRow.PieceLayer);
    EXPECT_EQ(game.TimeLeft(), 12);
    EXPECT_EQ(game.Catalogue().Level(1), kJoinedRow);
}

TEST_F(GameTest, MissingLevelFileFallsBackWithAMessage) {
    struct Case {
        int language;
        std::string message;
    };
    for (const Case& c :
         {Case{0, "Can't find file " + folder.Folder() + "aqnd.dat. (2)"},
          Case{-1, "Can't find file " + folder.Folder() + "aqnd.dat. (2)"},
          Case{1, "Datei " + folder.Folder() + "aqnd.dat konnte nicht gefunden werden. (2)"}}) {
        RecordingShell quiet;
        MemorySettings stored;
        stored.Set("tongue", std::to_string(c.language));
        Game fresh(quiet, stored);
        fresh.FormCreate(folder.Folder());
        EXPECT_EQ(quiet.errors, (Log{c.message}));
        EXPECT_EQ(fresh.LevelCount(), 1);
        EXPECT_EQ(fresh.CurrentLevel(), 1);
        EXPECT_EQ(fresh.Catalogue().Level(1), FallbackLevel());
        EXPECT_EQ(fresh.TimeLeft(), 0);
        fresh.TimerTimer();
        EXPECT_EQ(fresh.State(), PlayState::TimeUp) << "the empty level ends at the first tick";
    }
}

TEST_F(GameTest, LevelFileWithoutACompleteRecordFallsBackWithAMessage) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        std::string message;
    };
    for (const Case& c : {
             Case{"a part of a record",
                  [](const std::filesystem::path& file) {
                      testlevels::WriteFile(file, std::vector<std::uint8_t>(100, 5));
                  },
                  "File " + folder.Folder() + "aqnd.dat holds no complete level."},
             Case{"a file whose reading fails",
                  [](const std::filesystem::path& file) {
                      std::filesystem::create_symlink("/proc/self/mem", file);
                  },
                  "Can't find file " + folder.Folder() + "aqnd.dat. (5)"},
         }) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder.path() / "aqnd.dat");
        c.make(folder.path() / "aqnd.dat");
        RecordingShell quiet;
        MemorySettings stored;
        Game fresh(quiet, stored);
        fresh.FormCreate(folder.Folder());
        EXPECT_EQ(quiet.errors, (Log{c.message}));
        EXPECT_EQ(fresh.LevelCount(), 1);
        EXPECT_EQ(fresh.Catalogue().Level(1), FallbackLevel());
    }
}

}  // namespace
