#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/Board.h"
#include "core/Geometry.h"
#include "core/LevelFile.h"
#include "core/Piece.h"
#include "tools/levels/ExactMeasures.h"
#include "tools/levels/LevelsTool.h"
#include "tools/levels/Moves.h"
#include "tools/levels/SolutionsFile.h"

namespace {

const std::string kLevels = std::string(AQUENDO_SOURCE_DIR) + "/levels/aqnd.dat";
const std::string kSolutions = std::string(AQUENDO_SOURCE_DIR) + "/levels/solutions.txt";
const std::string kHelp = std::string(AQUENDO_SOURCE_DIR) + "/help/aqnd2.html";

TEST(ShippedLevelsTest, FileIsCleanWithFiveHundredLevels) {
    std::ostringstream out, err;
    EXPECT_EQ(RunLevelsTool({"check", kLevels}, out, err), 0) << out.str() << err.str();
    EXPECT_EQ(out.str().rfind("levels: 500\n", 0), 0u);
}

// The texts that describe the package name the range of the shipped levels.
TEST(ShippedLevelsTest, PackageTextsNameTheRangeOfPieces) {
    const LevelFileReport report = ReadLevelFile(kLevels);
    ASSERT_EQ(report.status, LevelFileStatus::Read);
    int fewest = kColumns * kRows, most = 0;
    for (int n = 1; n <= report.catalogue.LevelCount(); ++n) {
        fewest = std::min(fewest, report.catalogue.Level(n).PieceCount());
        most = std::max(most, report.catalogue.Level(n).PieceCount());
    }
    const std::string range = "from " + std::to_string(fewest) + " pieces to " + std::to_string(most);
    for (const char* text : {"/packaging/aquendo.metainfo.xml.in", "/packaging/deb/CMakeLists.txt"}) {
        std::ifstream in(std::string(AQUENDO_SOURCE_DIR) + text);
        const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(content.find(range), std::string::npos) << text << " does not say " << range;
    }
}

// Every line is played through the game itself; the level must end solved on
// its last press, and with a press every 1.5 s a player following it would
// still use at most half of the time the level gives (4 s per piece).
TEST(ShippedLevelsTest, EverySolutionSolvesItsLevelWellInTime) {
    std::string error;
    const auto solutions = ReadSolutions(kSolutions, error);
    ASSERT_TRUE(solutions) << error;
    const LevelFileReport report = ReadLevelFile(kLevels);
    ASSERT_EQ(report.status, LevelFileStatus::Read);
    const LevelCatalogue& levels = report.catalogue;
    ASSERT_EQ(static_cast<int>(solutions->size()), levels.LevelCount());

    HeadlessGame headless(kLevels);
    ASSERT_TRUE(headless.Loaded());
    for (const auto& [n, moves] : *solutions) {
        ASSERT_LE(n, levels.LevelCount());
        const ReplayOutcome replay = headless.Replay(n, moves);
        EXPECT_TRUE(replay.solved) << "level " << n;
        EXPECT_EQ(replay.movesToSolve, static_cast<int>(moves.size())) << "level " << n;
        EXPECT_EQ(replay.timeAllowance, kSecondsPerPiece * levels.Level(n).PieceCount());
        EXPECT_LE(1.5 * static_cast<double>(moves.size()), 0.5 * replay.timeAllowance) << "level " << n;
    }
}

// The first levels teach the rule with a handful of pieces, the last fill
// most of the board; tees and crosses come in gradually.
TEST(ShippedLevelsTest, SetRisesByFifths) {
    std::string error;
    const auto solutions = ReadSolutions(kSolutions, error);
    ASSERT_TRUE(solutions) << error;
    const LevelFileReport report = ReadLevelFile(kLevels);
    ASSERT_EQ(report.catalogue.LevelCount(), 500);
    double lastPieces = 0, lastPresses = 0, outOfPlace = 0, quick = 0, knots = 0;
    for (int fifth = 0; fifth < 5; ++fifth) {
        double pieces = 0, presses = 0;
        for (int n = 100 * fifth + 1; n <= 100 * (fifth + 1); ++n) {
            pieces += report.catalogue.Level(n).PieceCount();
            presses += static_cast<double>(solutions->at(n).size());
            if (fifth < 4) continue;
            outOfPlace += CountOutOfPlace(report.catalogue.Level(n), solutions->at(n));
            quick += QuickPlayerSeconds(solutions->at(n));
            knots += CountKnots(report.catalogue.Level(n), solutions->at(n));
        }
        EXPECT_GT(pieces, lastPieces) << "fifth " << fifth + 1;
        EXPECT_GT(presses, lastPresses) << "fifth " << fifth + 1;
        lastPieces = pieces;
        lastPresses = presses;
    }
    // The last fifth is hard by design more than by size: most of the 80 cells, and a press for nearly
    // every piece.
    EXPECT_GE(lastPieces / 100, 55) << "the last fifth fills most of the 80 cells";
    EXPECT_GE(lastPresses, 0.75 * lastPieces) << "the last fifth asks about a press a piece";
    EXPECT_GE(outOfPlace, 0.6 * lastPieces) << "the last fifth starts with most pieces out of place";
    EXPECT_GE(3 * quick, kSecondsPerPiece * lastPieces) << "a quick player needs a third of the last clocks";
    EXPECT_GE(knots / 100, 1.5) << "the last levels hold knots: a piece turned away and back";
    for (int n = 1; n <= 5; ++n) EXPECT_LE(report.catalogue.Level(n).PieceCount(), 8) << n;

    auto first = [&](int type) {
        for (int n = 1; n <= 500; ++n)
            for (std::uint8_t code : report.catalogue.Level(n).PieceLayer)
                if (code != 0 && PieceTypeOf(code) == type) return n;
        return 0;
    };
    EXPECT_GT(first(Tee), 10);
    EXPECT_GT(first(Cross), first(Tee));
    EXPECT_GT(first(Cross), 50);
}

TEST(ShippedLevelsTest, HelpFileHasBothTopics) {
    std::ifstream in(kHelp, std::ios::binary);
    ASSERT_TRUE(in) << kHelp;
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("id=\"Das_Spiel\""), std::string::npos);
    EXPECT_NE(html.find("id=\"The_game\""), std::string::npos);
    EXPECT_NE(html.find("Stufe"), std::string::npos);
    EXPECT_NE(html.find("\xC3\xBC"), std::string::npos) << "German text with umlauts, in UTF-8";
    // The tool bar hints are the program's own words.
    for (const char* hint : {"Ich fang ein neues Spiel an.", "I want to play a new game.",
                             "Ich probier's nochmal.", "I need a break.", "Worum geht's da eigentlich?",
                             // and shows the buttons and the pieces it speaks of
                             "src=\"glyph:bomb\"", "src=\"glyph:maker\"", "src=\"piece:5\""})
        EXPECT_NE(html.find(hint), std::string::npos) << hint;
}

}  // namespace
