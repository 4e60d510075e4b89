#include <gtest/gtest.h>

#include "tests/support/GameFixture.h"

namespace {

using testlevels::kJoinedRow;

// A shell whose message dialog ticks the game's timer while it is open, as
// the event loop does inside a modal dialog.
class TickingShell : public RecordingShell {
public:
    int ShowMessage(int page) override {
        const int answer = RecordingShell::ShowMessage(page);
        for (int i = 0; i < ticksWhileOpen; ++i) game->TimerTimer();
        return answer;
    }
    Game* game = nullptr;
    int ticksWhileOpen = 0;
};

class GameFlowTest : public GameFixture<TickingShell> {
protected:
    GameFlowTest() { shell.game = &game; }
    void Load(int levels) {
        GameFixture::Load(std::vector<LevelRecord>(static_cast<std::size_t>(levels), kJoinedRow));
    }
};

TEST_F(GameFlowTest, TimeOutDuringAConfirmationWaitsForItsEnd) {
    Load(1);
    Ticks(12);
    ASSERT_EQ(game.TimeLeft(), 0);
    shell.ticksWhileOpen = 3;
    shell.answers = {mrNo};
    shell.Clear();
    game.RestartBtnClick();
    EXPECT_EQ(shell.Only("message"), (Log{"message 2"})) << "no second page while the first is open";
    EXPECT_EQ(game.State(), PlayState::Running);
    shell.ticksWhileOpen = 0;
    game.TimerTimer();
    EXPECT_EQ(game.State(), PlayState::TimeUp);
    EXPECT_EQ(shell.Only("message"), (Log{"message 2", "message 5"}));
}

TEST_F(GameFlowTest, CountdownGoesOnDuringAConfirmation) {
    Load(1);
    shell.ticksWhileOpen = 5;
    shell.answers = {mrNo};
    game.NewGameBtnClick();
    EXPECT_EQ(game.TimeLeft(), 7);
}

TEST_F(GameFlowTest, RestartAsksOnlyWhileRunningOrPaused) {
    Load(1);
    struct Case {
        std::function<void()> setUp;
        int answer;
        bool asks;
        bool restarts;
    };
    auto running = [] {};
    auto paused = [this] { game.Pause(); };
    auto solved = [this] { Press(MouseButton::Middle, 4, 4); };
    auto timeUp = [this] { Ticks(13); };
    for (const Case& c : {Case{running, mrNo, true, false}, Case{running, mrYes, true, true},
                          Case{running, mrCancel, true, true}, Case{paused, mrNo, true, false},
                          Case{solved, mrNo, false, true}, Case{timeUp, mrNo, false, true}}) {
        game.StartLevel(1);
        game.TimerTimer();
        c.setUp();
        const PlayState before = game.State();
        shell.Clear();
        shell.answers = {c.answer};
        game.RestartBtnClick();
        EXPECT_EQ(!shell.Only("message 2").empty(), c.asks);
        if (c.restarts) {
            EXPECT_EQ(game.State(), PlayState::Running);
            EXPECT_EQ(game.TimeLeft(), 12);
        } else {
            EXPECT_EQ(game.State(), before) << "No leaves a paused level paused";
        }
        shell.answers.clear();
    }
}

TEST_F(GameFlowTest, NewGameClearsResultsOnAnyAnswerButNo) {
    Load(3);
    Solve(2);
    Solve(3);
    ASSERT_GT(game.Progress()[2], 0);
    shell.answers = {mrNo};
    game.NewGameBtnClick();
    EXPECT_GT(game.Progress()[2], 0);
    EXPECT_EQ(game.CurrentLevel(), 3);

    shell.Clear();
    shell.answers = {mrCancel};  // the title-bar close confirms like Yes
    game.NewGameBtnClick();
    EXPECT_EQ(game.Progress()[2], 0);
    EXPECT_EQ(game.Progress()[3], 0);
    EXPECT_EQ(game.CurrentLevel(), 1);
    EXPECT_EQ(shell.Only("scroll"), (Log{"scroll 3"}));
}

TEST_F(GameFlowTest, NewGameLetsAllSolvedBeAnnouncedAgain) {
    Load(2);
    Solve(1);
    Solve(2);
    ASSERT_TRUE(game.AllSolved());
    game.NewGameBtnClick();
    EXPECT_FALSE(game.AllSolved());
    Solve(1);
    shell.Clear();
    Solve(2);
    EXPECT_EQ(shell.Only("message"), (Log{"message 1", "message 6"}));
}

TEST_F(GameFlowTest, NextAndPreviousUnsolvedWrapAndSkipTheBoard) {
    Load(5);
    Solve(2);
    Solve(4);
    game.StartLevel(5);
    game.sUpBtnClick();
    EXPECT_EQ(game.CurrentLevel(), 1) << "from the highest level on to 1";
    game.sUpBtnClick();
    EXPECT_EQ(game.CurrentLevel(), 3);
    game.sDownBtnClick();
    EXPECT_EQ(game.CurrentLevel(), 1);
    shell.Clear();
    game.sDownBtnClick();
    EXPECT_EQ(game.CurrentLevel(), 5) << "from 1 down to the highest";
    EXPECT_EQ(shell.Only("scroll"), (Log{"scroll 1"}));

    Solve(1);
    Solve(3);
    game.StartLevel(5);  // the only unsolved level is the one on the board
    shell.Clear();
    game.sUpBtnClick();
    game.sDownBtnClick();
    EXPECT_TRUE(shell.log.empty());
}

TEST_F(GameFlowTest, SingleLevelNavigationDoesNothing) {
    Load(1);
    game.sUpBtnClick();
    game.sDownBtnClick();
    EXPECT_TRUE(shell.log.empty());
}

TEST_F(GameFlowTest, ScrollPositionPicksTheLevelFromTheTop) {
    Load(5);
    game.LevelScrollScroll(1);
    EXPECT_EQ(game.CurrentLevel(), 5);
    game.LevelScrollScroll(5);
    EXPECT_EQ(game.CurrentLevel(), 1);
    Ticks(3);
    game.LevelScrollScroll(5);  // the same position starts the level afresh
    EXPECT_EQ(game.TimeLeft(), 12);
}

TEST_F(GameFlowTest, CloseAsksAndOnlyYesCloses) {
    Load(1);
    for (int answer : {mrNo, mrCancel, mrYes}) {
        shell.Clear();
        shell.answers = {answer};
        EXPECT_EQ(game.FormCloseQuery(), answer == mrYes);
        EXPECT_EQ(shell.log, (Log{"timer off", "message 3", "timer on"}));
    }
}

TEST_F(GameFlowTest, StatusTextsFollowTheLanguage) {
    Load(330);
    for (int n = 1; n <= 6; ++n) Solve(n);
    game.StartLevel(1);
    EXPECT_EQ(game.Caption(), "Aquendo 2.3");
    EXPECT_EQ(game.GaugeHint(), "6 of 330 levels solved");
    EXPECT_EQ(game.LevelHint(), "Level 1: solved");
    game.StartLevel(7);
    EXPECT_EQ(game.LevelHint(), "Level 7: unsolved");
    game.SetUiLanguage(1);
    EXPECT_EQ(game.GaugeHint(), "6 von 330 Stufen gelöst");
    EXPECT_EQ(game.LevelHint(), "Stufe 7: ungelöst");
}

TEST_F(GameFlowTest, FullRepaintOrder) {
    Load(1);
    game.boxPaint();
    EXPECT_EQ(shell.log, (Log{"background", "time", "level", "status"}));
    EXPECT_EQ(shell.cellsDrawn, 80);
}

}  // namespace

namespace {

class ActivationTest : public GameFlowTest {};

TEST_F(ActivationTest, FirstActivationAsksForTheLanguageOnlyWhenNoneIsChosen) {
    struct Case {
        const char* stored;  // nullptr: nothing stored
        std::optional<int> answer;
        bool asks;
        int language;
    };
    for (const Case& c : {Case{nullptr, 1, true, 1}, Case{nullptr, std::nullopt, true, -1},
                          Case{"0", 1, false, 0}, Case{"1", 0, false, 1}, Case{"2", 0, false, 2}}) {
        TickingShell quiet;
        MemorySettings stored;
        if (c.stored) stored.Set("tongue", c.stored);
        folder.WriteLevels({kJoinedRow});
        Game fresh(quiet, stored);
        fresh.FormCreate(folder.Folder());
        quiet.Clear();
        quiet.language = c.answer;
        fresh.FormActivate();
        const Log expected = c.asks ? Log{"splash", "language dialog", "texts", "time", "status"}
                                    : Log{"splash", "texts", "time", "status"};
        EXPECT_EQ(quiet.log, expected) << (c.stored ? c.stored : "none");
        EXPECT_EQ(fresh.UiLanguage(), c.language);
        quiet.Clear();
        fresh.FormActivate();
        EXPECT_TRUE(quiet.log.empty()) << "later activations do nothing";
    }
}

TEST_F(ActivationTest, LanguageButtonLeavesTheLanguageWhenTheDialogIsClosed) {
    Load(1);
    game.SetUiLanguage(2);
    shell.language = std::nullopt;
    game.TongueBtnClick();
    EXPECT_EQ(game.UiLanguage(), 2);
    EXPECT_TRUE(shell.Only("timer").empty()) << "the countdown goes on";
    shell.language = 1;
    game.Pause();
    game.TongueBtnClick();
    EXPECT_EQ(game.UiLanguage(), 1);
    EXPECT_EQ(game.State(), PlayState::Paused);
}

TEST_F(ActivationTest, RulesOpenTheTopicOfTheLanguage) {
    Load(1);
    for (int language : {-1, 0, 1, 2, 7}) {
        game.SetUiLanguage(language);
        shell.Clear();
        game.rules();
        const std::string topic = language == 1 ? "Das_Spiel" : "The_game";
        EXPECT_EQ(shell.log,
                  (Log{"timer off", "help " + folder.Folder() + "aqnd2.html#" + topic, "timer on"}))
            << language;
    }
}

TEST_F(ActivationTest, AboutBoxStopsTheTimer) {
    Load(1);
    game.info();
    EXPECT_EQ(shell.log, (Log{"timer off", "about", "timer on"}));
}

TEST_F(ActivationTest, MakerLinkSwitchesItselfOffAfterAFailure) {
    Load(1);
    game.MoxelBtnClick();
    game.MoxelBtnClick();
    EXPECT_EQ(shell.Only("url").size(), 2u);
    shell.urlOpens = false;
    game.MoxelBtnClick();
    game.MoxelBtnClick();
    game.MoxelBtnClick();
    EXPECT_EQ(shell.Only("url").size(), 3u) << "after the failure the button does nothing";
    EXPECT_TRUE(shell.Only("timer").empty());
}

}  // namespace
