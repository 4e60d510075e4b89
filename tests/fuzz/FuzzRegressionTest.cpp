#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "tests/support/Levels.h"

// The fuzzers' entries, compiled here under names of their own. Each throws
// the reason when an input breaks one of its checks.
extern "C" int LevelFileFuzzOne(const std::uint8_t* data, std::size_t size);
extern "C" int ProgressFileFuzzOne(const std::uint8_t* data, std::size_t size);
extern "C" int SettingsFuzzOne(const std::uint8_t* data, std::size_t size);
extern "C" int SolutionsFileFuzzOne(const std::uint8_t* data, std::size_t size);

namespace {

using Entry = int (*)(const std::uint8_t*, std::size_t);

// Every input kept for a fuzzer, in a stable order; the count, so that an
// empty or misnamed folder does not pass unnoticed.
int ReplayAll(const char* folder, Entry entry) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& file :
         std::filesystem::directory_iterator(std::filesystem::path(AQUENDO_FUZZ_REGRESSIONS) / folder))
        inputs.push_back(file.path());
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        const std::vector<std::uint8_t> bytes = testlevels::ReadAll(input);
        try {
            EXPECT_EQ(entry(bytes.data(), bytes.size()), 0);
        } catch (const std::runtime_error& broken) {
            ADD_FAILURE() << broken.what();
        }
    }
    return static_cast<int>(inputs.size());
}

TEST(FuzzRegressions, LevelFileInputsPassTheirChecks) {
    EXPECT_GE(ReplayAll("level-file", LevelFileFuzzOne), 2);
}

TEST(FuzzRegressions, ProgressFileInputsPassTheirChecks) {
    EXPECT_GE(ReplayAll("progress-file", ProgressFileFuzzOne), 2);
}

TEST(FuzzRegressions, SettingsInputsPassTheirChecks) {
    EXPECT_GE(ReplayAll("settings", SettingsFuzzOne), 3);
}

TEST(FuzzRegressions, SolutionsFileInputsPassTheirChecks) {
    EXPECT_GE(ReplayAll("solutions-file", SolutionsFileFuzzOne), 2);
}

}  // namespace
