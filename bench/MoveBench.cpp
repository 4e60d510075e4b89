// What a move costs beyond its waits: the real main window, offscreen, its
// Delay timed and taken out. Reported next to a move of the bare game logic.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>

#include "game/NullShell.h"
#include "store/MemorySettings.h"
#include "tests/support/CellPoints.h"
#include "tests/support/Levels.h"
#include "tests/support/NoiseSheets.h"
#include "windows/MainForm.h"

namespace {

using Clock = std::chrono::steady_clock;

// The main window with its waits measured, so they can be subtracted.
class TimedForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    void Delay(int ms) override {
        const auto start = Clock::now();
        TMainForm::Delay(ms);
        waited += Clock::now() - start;
    }
    Clock::duration waited{};
};

// A straight between two ends that it joins in one orientation and leaves in
// the other, so every press turns it and the water fills or drains.
const LevelRecord kLevel = testlevels::Make({{3, 4, 1}, {4, 4, 3}, {5, 4, 17}, {9, 7, 5}}, 4, 4);
constexpr int kX = cellpoints::BoardX(4);
constexpr int kY = cellpoints::BoardY(4);

void MoveBeyondWaits(benchmark::State& state) {
    testlevels::TempFolder folder;
    folder.WriteLevels({kLevel});
    MemorySettings settings;
    settings.Set("tongue", "0");
    TimedForm form(folder.Folder(), NoiseSheets(), settings);
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        form.waited = {};
        const auto start = Clock::now();
        form.game().boxMouseDown(MouseButton::Left, kX, kY);
        const auto beyond = Clock::now() - start - form.waited;
        state.SetIterationTime(std::chrono::duration<double>(beyond).count());
    }
}
BENCHMARK(MoveBeyondWaits)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(40);

// The rules alone: no drawing, no waits.
void MoveRulesOnly(benchmark::State& state) {
    testlevels::TempFolder folder;
    folder.WriteLevels({kLevel});
    NullShell shell;
    MemorySettings settings;
    Game game(shell, settings);
    game.FormCreate(folder.Folder());
    for (auto _ : state) benchmark::DoNotOptimize(game.boxMouseDown(MouseButton::Left, kX, kY));
}
BENCHMARK(MoveRulesOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
