#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "tests/support/Levels.h"
#include "tools/levels/LevelsTool.h"

namespace {

using testlevels::Make;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun Tool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunLevelsTool(args, out, err);
    return {status, out.str(), err.str()};
}

class LevelsToolTest : public ::testing::Test {
protected:
    std::string File(const std::vector<LevelRecord>& levels, std::size_t extraBytes = 0) {
        auto bytes = testlevels::Bytes(levels);
        bytes.resize(bytes.size() + extraBytes, 1);
        const auto path = folder.path() / "levels.dat";
        testlevels::WriteFile(path, bytes);
        return path.string();
    }
    testlevels::TempFolder folder;
};

TEST_F(LevelsToolTest, CheckReportsEveryKindOfProblem) {
    LevelRecord outOfRange = Make({{1, 1, 3}, {2, 1, 7}}, 1, 1);
    outOfRange.FloorLayer[5] = 99;
    const std::string file = File({
        Make({{4, 4, 3}, {5, 4, 1}}, 4, 4),   // clean: the End faces away
        Make({{4, 4, 3}, {5, 4, 17}}, 4, 4),  // joined from the start
        Make({{4, 4, 3}, {5, 4, 1}}, 6, 6),   // source on an empty cell
        Make({{4, 4, 3}}, 11, 0),             // source off the board
        outOfRange, Make({}, 1, 1),           // nothing to play
    });
    const ToolRun run = Tool({"check", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "levels: 6\n"
              "level 1: pieces 2, source (4,4), ok\n"
              "level 2: pieces 2, source (4,4), already solved at start\n"
              "level 3: pieces 2, source (6,6), source on an empty cell\n"
              "level 4: pieces 1, source (11,0), source outside the board\n"
              "level 5: pieces 1, source (1,1), piece codes out of range: 1, floor codes out of range: 1, "
              "already solved at start\n"
              "level 6: pieces 0, source (1,1), no pieces\n");
}

TEST_F(LevelsToolTest, CheckExitStatus) {
    EXPECT_EQ(Tool({"check", File({Make({{4, 4, 3}, {5, 4, 1}}, 4, 4)})}).status, 0);
    const ToolRun trailing = Tool({"check", File({Make({{4, 4, 3}, {5, 4, 1}}, 4, 4)}, 10)});
    EXPECT_EQ(trailing.status, 1);
    EXPECT_NE(trailing.out.find("file: 10 trailing bytes ignored"), std::string::npos);
    const ToolRun empty = Tool({"check", File({}, 50)});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out.rfind("levels: 0\n", 0), 0u);
    const std::string fifo = (folder.path() / "fifo.dat").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& unusable :
         {(folder.path() / "none.dat").string(), fifo, folder.path().string()}) {
        const ToolRun missing = Tool({"check", unusable});
        EXPECT_EQ(missing.status, 2) << unusable;
        EXPECT_NE(missing.err.find(unusable), std::string::npos) << missing.err;
    }
    EXPECT_EQ(Tool({"check"}).status, 2);
    EXPECT_EQ(Tool({"frobnicate", "x"}).status, 2);
}

TEST_F(LevelsToolTest, ReplayPrintsEachMoveAndTheShownWater) {
    // Straight (4,4) source, End (5,4) facing away, End (3,4) facing it.
    const std::string file = File({testlevels::kBrokenRow});
    auto wet = [](std::initializer_list<std::pair<int, int>> cells) {
        std::string text(80, '0');
        for (auto [c, r] : cells) text[8 * (c - 1) + (r - 1)] = '1';
        return text;
    };
    const ToolRun run = Tool({"replay", file, "1", "L5,4", "L9,9", "M6,4", "L4,4", "R4,4", "M4,4", "L3,4"});
    ASSERT_EQ(run.status, 2) << "L9,9 is off the board";
    const ToolRun good = Tool({"replay", file, "1", "L5,4", "M6,4", "L4,4", "R4,4", "R5,4"});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out, "start time 12 wet " + wet({{3, 4}, {4, 4}}) + "\n" + "L5,4 refused wet " +
                            wet({{3, 4}, {4, 4}}) + "\n" + "M6,4 ignored wet " + wet({{3, 4}, {4, 4}}) +
                            "\n" + "L4,4 moved wet " + wet({{4, 4}}) + "\n" + "R4,4 moved wet " +
                            wet({{3, 4}, {4, 4}}) + "\n" + "R5,4 refused wet " + wet({{3, 4}, {4, 4}}) +
                            "\n");
}

TEST_F(LevelsToolTest, ReplayEndsInTheSolvedState) {
    const std::string joined = File({testlevels::kJoinedRow});
    const ToolRun solved = Tool({"replay", joined, "1", "M5,4", "L5,4"});
    EXPECT_NE(solved.out.find("M5,4 solved"), std::string::npos);
    EXPECT_NE(solved.out.find("L5,4 ignored"), std::string::npos);
}

TEST_F(LevelsToolTest, ReplayRejectsBadArguments) {
    const std::string file = File({Make({{4, 4, 3}}, 4, 4)});
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"replay", file, "0"},
                                               {"replay", file, "2"},
                                               {"replay", file, "x"},
                                               {"replay", file, "1", "X4,4"},
                                               {"replay", file, "1", "L4"},
                                               {"replay", file, "1", "L4,4x"},
                                               {"replay", file, "1", "L0,1"},
                                               {"replay", (folder.path() / "none").string(), "1"}}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args[2] << " " << (args.size() > 3 ? args[3] : "");
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace

namespace {

class LevelsToolCommandsTest : public LevelsToolTest {};

TEST_F(LevelsToolCommandsTest, SolvePrintsASolutionOrWhyThereIsNone) {
    const std::string file = File({
        testlevels::Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4),  // two presses
        testlevels::Make({{4, 4, 11}, {5, 4, 1}}, 4, 4),                        // the End never gets water
    });
    const ToolRun solved = Tool({"solve", file, "1"});
    EXPECT_EQ(solved.status, 0) << solved.err;
    EXPECT_EQ(solved.out, "solution 2 moves: R3,4 L5,4\nminimum 2, proved; least turns 2\n");
    const ToolRun replayed = Tool({"replay", file, "1", "R3,4", "L5,4"});
    EXPECT_NE(replayed.out.find("L5,4 solved"), std::string::npos);

    const ToolRun impossible = Tool({"solve", file, "2"});
    EXPECT_EQ(impossible.status, 1);
    EXPECT_EQ(impossible.out.rfind("no solution exists: the piece at (5,4) can never get water", 0), 0u);

    const ToolRun bounded = Tool({"solve", file, "1", "--positions", "1"});
    EXPECT_EQ(bounded.status, 1);
    EXPECT_EQ(bounded.out, "none found: no solution found within 1 positions\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"solve", file, "3"},
                                               {"solve", file, "1", "--positions"},
                                               {"solve", file, "1", "--positions", "0"},
                                               {"solve", file, "1", "--depth", "5"}})
        EXPECT_EQ(Tool(args).status, 2) << args.back();
}

TEST_F(LevelsToolCommandsTest, GenerateIsRepeatableAndStatsSummarisesByFifths) {
    const std::string a = (folder.path() / "a.dat").string();
    const std::string b = (folder.path() / "b.dat").string();
    const std::string c = (folder.path() / "c.dat").string();
    const std::string solutions = (folder.path() / "a.txt").string();
    const std::vector<std::string> common = {"--count", "10", "--last-pieces", "20", "--candidates", "2"};
    auto generate = [&](const std::string& seed, const std::string& out, bool withSolutions) {
        std::vector<std::string> args = {"generate", "--seed", seed, "-o", out};
        args.insert(args.end(), common.begin(), common.end());
        if (withSolutions) args.insert(args.end(), {"--solutions", solutions});
        return Tool(args);
    };
    const ToolRun first = generate("7", a, true);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.rfind("seed 7\n", 0), 0u);
    EXPECT_NE(first.out.find("wrote 10 levels"), std::string::npos);
    ASSERT_EQ(generate("7", b, false).status, 0);
    ASSERT_EQ(generate("8", c, false).status, 0);
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(bytes(a).size(), 10 * LevelRecord::kSize);
    EXPECT_EQ(bytes(a), bytes(b));
    EXPECT_NE(bytes(a), bytes(c));
    EXPECT_EQ(Tool({"check", a}).status, 0);

    const ToolRun stats = Tool({"stats", a, "--solutions", solutions});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_EQ(stats.out.rfind("level 1: pieces ", 0), 0u) << stats.out;
    EXPECT_NE(stats.out.find("\nlevel 10: pieces "), std::string::npos);
    EXPECT_NE(stats.out.find("\nlevels 1-2: pieces "), std::string::npos);
    EXPECT_NE(stats.out.find("\nlevels 9-10: pieces "), std::string::npos);

    // A folder or a bad level number as the solutions: refused, not read as none.
    std::ofstream(c) << "1x: L5,4\n";
    for (const std::string& bad : {folder.path().string(), c}) {
        const ToolRun refused = Tool({"stats", a, "--solutions", bad});
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find(bad), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty());
    }

    EXPECT_EQ(Tool({"generate", "-o", a}).status, 2) << "the seed is required";
    EXPECT_EQ(Tool({"generate", "--seed", "x", "-o", a}).status, 2);
    EXPECT_EQ(Tool({"generate", "--seed", "1", "--count", "501", "-o", a}).status, 2);
}

}  // namespace
