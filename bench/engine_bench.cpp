// The engine's part of a press of Compute, and its steps, timed with Google
// Benchmark. Each benchmark also reports the heap allocations of one
// iteration ("allocs").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <string>

#include "engine/report.h"
#include "engine/time_value.h"
#include "ui/compute_command.h"

// Every allocation of the program is counted, so a benchmark can tell its own.
// Kept out of line: GCC would otherwise see malloc's pointer reach delete.
static std::size_t g_allocations = 0;

[[gnu::noinline]] void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Runs `step` once per iteration and reports its allocations per iteration.
template <typename Step>
void Time(benchmark::State& state, Step step) {
  const std::size_t before = g_allocations;
  for (auto _ : state) step();
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocations - before),
                                                benchmark::Counter::kAvgIterations);
}

// The window once loaded, with Sunday chosen.
engine::ScheduleState LoadedState() {
  engine::ScheduleState state;
  state.SelectedDay = 1;
  engine::FillRulerTable(state.RulerTable);
  return state;
}

const engine::TimeValue kSunrise = *engine::ParseTime("05:30");
const engine::TimeValue kSunset = *engine::ParseTime("18:30");

void BM_ParseTime(benchmark::State& state) {
  Time(state, [] { benchmark::DoNotOptimize(engine::ParseTime(" 5:30 PM ")); });
}
BENCHMARK(BM_ParseTime);

void BM_FormatClock(benchmark::State& state) {
  Time(state, [] { benchmark::DoNotOptimize(engine::FormatClock(kSunset)); });
}
BENCHMARK(BM_FormatClock);

void BM_ComputeSchedule(benchmark::State& state) {
  engine::ScheduleState loaded = LoadedState();
  Time(state, [&] {
    benchmark::DoNotOptimize(
        engine::ComputeSchedule(loaded, "Sunday", kSunrise, kSunset, kSunrise));
  });
}
BENCHMARK(BM_ComputeSchedule);

void BM_RenderReport(benchmark::State& state) {
  engine::ScheduleState loaded = LoadedState();
  const engine::Schedule schedule =
      engine::ComputeSchedule(loaded, "Sunday", kSunrise, kSunset, kSunrise);
  Time(state, [&] { benchmark::DoNotOptimize(engine::RenderReport(schedule, loaded.RulerTable)); });
}
BENCHMARK(BM_RenderReport);

// A whole press as Command1_Click makes it without the window: the entries'
// texts copied out, then the decision, which parses, computes and renders.
void BM_Press(benchmark::State& state) {
  engine::ScheduleState loaded = LoadedState();
  const std::string kEntries[] = {"05:30", "18:30", "05:30", "Sunday"};
  Time(state, [&] {
    const std::string sunrise = kEntries[0], sunset = kEntries[1];
    const std::string next = kEntries[2], day = kEntries[3];
    benchmark::DoNotOptimize(ui::DecideCompute(sunrise, sunset, next, day, loaded));
  });
}
BENCHMARK(BM_Press);

}  // namespace
