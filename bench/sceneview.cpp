// Frames a second of the match scene at 640 x 480 (run from the runtime data
// tree): the full scene (pitch, four stands with roofs, nets, flags, dugouts,
// sky, 22 running players and the ball), and the same scene with parts left
// out, so that the differences show where the time goes. Counters give the
// milliseconds a frame spent animating the players and drawing (skinning,
// draw calls and reading the frame back).
#include "tools/sceneview/SceneView.h"

#include <benchmark/benchmark.h>

namespace {

void DrawScene(benchmark::State& state, int players, bool stands, bool sky)
{
    tools::SceneOptions options;
    options.players = players;
    options.stands = stands;
    options.sky = sky;
    tools::SceneView view;
    if (!view.Setup(options)) {
        state.SkipWithError(view.GetError().c_str());
        return;
    }
    view.Frame(42);
    const tools::SceneTimes before = view.GetTimes();
    for (auto _ : state)
        view.Frame(42);
    const tools::SceneTimes& after = view.GetTimes();
    const double frames = after.frames - before.frames;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["animate_ms"] = (after.animate - before.animate) / frames;
    state.counters["draw_ms"] = (after.draw - before.draw) / frames;
}

void FullScene(benchmark::State& state)
{
    DrawScene(state, 22, true, true);
}
void PitchOnly(benchmark::State& state)
{
    DrawScene(state, 0, false, false);
}
void PitchAndSky(benchmark::State& state)
{
    DrawScene(state, 0, false, true);
}
void PitchAndStands(benchmark::State& state)
{
    DrawScene(state, 0, true, false);
}
void PitchAndPlayers(benchmark::State& state)
{
    DrawScene(state, 22, false, false);
}

BENCHMARK(FullScene)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PitchOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PitchAndSky)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PitchAndStands)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PitchAndPlayers)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
