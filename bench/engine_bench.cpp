// The engine's hot path, piece by piece and as one press of Compute, against
// the floor of copying a finished report's bytes. Every benchmark also counts
// the heap allocations of one iteration ("allocs"). After the usual table the
// program prints the press / floor ratio and RESULT lines for scripts/bench.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench/alloc_counter.h"
#include "engine/report.h"
#include "engine/rulers.h"
#include "engine/schedule.h"
#include "engine/time_value.h"
#include "ui/compute_command.h"

namespace {

// The window's entries as it starts, and the day it chooses.
constexpr std::string_view kSunrise = "05:30";
constexpr std::string_view kSunset = "18:30";
constexpr std::string_view kNextSunrise = "05:30";
constexpr std::string_view kDayName = "Sunday";

engine::ScheduleState LoadedState() {
  engine::ScheduleState state;
  state.SelectedDay = 1;
  engine::FillRulerTable(state.RulerTable);
  return state;
}

std::string FinishedReport() {
  engine::ScheduleState state = LoadedState();
  const engine::Schedule schedule =
      engine::ComputeSchedule(state, kDayName, *engine::ParseTime(kSunrise),
                              *engine::ParseTime(kSunset), *engine::ParseTime(kNextSunrise));
  return engine::RenderReport(schedule, state.RulerTable);
}

// Counts the allocations from construction to Finish and stores them as a
// per-iteration counter.
struct AllocationMeter {
  std::uint64_t start = bench::AllocationCount();
  void Finish(benchmark::State& state) const {
    state.counters["allocs"] = benchmark::Counter(
        static_cast<double>(bench::AllocationCount() - start), benchmark::Counter::kAvgIterations);
  }
};

void BM_ParseTime(benchmark::State& state) {
  // The accepted forms, so no iteration takes the same path twice in a row.
  constexpr std::string_view kTexts[] = {"05:30", "18:30", " 5:30 PM ", "05:30:15", "12:00am"};
  std::size_t i = 0;
  const AllocationMeter meter;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine::ParseTime(kTexts[i]));
    i = i + 1 == std::size(kTexts) ? 0 : i + 1;
  }
  meter.Finish(state);
}
BENCHMARK(BM_ParseTime);

void BM_FormatClock(benchmark::State& state) {
  engine::TimeValue t = *engine::ParseTime(kSunrise);
  const AllocationMeter meter;
  for (auto _ : state) {
    benchmark::DoNotOptimize(t);
    std::string text = engine::FormatClock(t);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  meter.Finish(state);
}
BENCHMARK(BM_FormatClock);

void BM_ComputeSchedule(benchmark::State& state) {
  engine::ScheduleState schedule_state = LoadedState();
  engine::TimeValue rise = *engine::ParseTime(kSunrise);
  engine::TimeValue set = *engine::ParseTime(kSunset);
  engine::TimeValue next = *engine::ParseTime(kNextSunrise);
  const AllocationMeter meter;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rise);
    benchmark::DoNotOptimize(set);
    benchmark::DoNotOptimize(next);
    engine::Schedule schedule = engine::ComputeSchedule(schedule_state, kDayName, rise, set, next);
    benchmark::DoNotOptimize(schedule);
    benchmark::ClobberMemory();
  }
  meter.Finish(state);
}
BENCHMARK(BM_ComputeSchedule);

void BM_RenderReport(benchmark::State& state) {
  engine::ScheduleState schedule_state = LoadedState();
  const engine::Schedule schedule =
      engine::ComputeSchedule(schedule_state, kDayName, *engine::ParseTime(kSunrise),
                              *engine::ParseTime(kSunset), *engine::ParseTime(kNextSunrise));
  const AllocationMeter meter;
  for (auto _ : state) {
    std::string report = engine::RenderReport(schedule, schedule_state.RulerTable);
    benchmark::DoNotOptimize(report.data());
    benchmark::ClobberMemory();
  }
  meter.Finish(state);
}
BENCHMARK(BM_RenderReport);

// One press as Command1_Click runs it, minus the toolkit: the entry and day
// texts arrive as std::string copies, then DecideCompute checks and parses
// each entry once and computes and renders the report.
void Press(engine::ScheduleState& schedule_state) {
  const std::string rise(kSunrise);
  const std::string set(kSunset);
  const std::string next(kNextSunrise);
  const std::string day(kDayName);
  ui::ComputeDecision decision = ui::DecideCompute(rise, set, next, day, schedule_state);
  benchmark::DoNotOptimize(decision.Report.data());
  benchmark::ClobberMemory();
}

void BM_Press(benchmark::State& state) {
  engine::ScheduleState schedule_state = LoadedState();
  const AllocationMeter meter;
  for (auto _ : state) Press(schedule_state);
  meter.Finish(state);
}
BENCHMARK(BM_Press);

// The press as its steps are listed: three IsTimeText checks, then three
// ParseTime calls, ComputeSchedule and RenderReport.
void BM_PressInSteps(benchmark::State& state) {
  engine::ScheduleState schedule_state = LoadedState();
  const AllocationMeter meter;
  for (auto _ : state) {
    std::string_view rise = kSunrise;
    std::string_view set = kSunset;
    std::string_view next = kNextSunrise;
    benchmark::DoNotOptimize(rise);
    benchmark::DoNotOptimize(set);
    benchmark::DoNotOptimize(next);
    if (!engine::IsTimeText(rise) || !engine::IsTimeText(set) || !engine::IsTimeText(next)) {
      state.SkipWithError("a default entry was rejected");
      break;
    }
    const engine::TimeValue r = *engine::ParseTime(rise);
    const engine::TimeValue s = *engine::ParseTime(set);
    const engine::TimeValue n = *engine::ParseTime(next);
    const engine::Schedule schedule = engine::ComputeSchedule(schedule_state, kDayName, r, s, n);
    std::string report = engine::RenderReport(schedule, schedule_state.RulerTable);
    benchmark::DoNotOptimize(report.data());
    benchmark::ClobberMemory();
  }
  meter.Finish(state);
}
BENCHMARK(BM_PressInSteps);

// The floor: the finished report's bytes copied into a new string.
void CopyReport(const std::string& report) {
  const char* bytes = report.data();
  benchmark::DoNotOptimize(bytes);
  std::string copy(bytes, report.size());
  benchmark::DoNotOptimize(copy.data());
  benchmark::ClobberMemory();
}

void BM_Floor(benchmark::State& state) {
  const std::string report = FinishedReport();
  const AllocationMeter meter;
  for (auto _ : state) CopyReport(report);
  meter.Finish(state);
  state.counters["bytes"] = static_cast<double>(report.size());
}
BENCHMARK(BM_Floor);

// Press and floor taken in turns, a batch of each per iteration, so both
// meet the same machine: on a shared machine the two separate benchmarks
// can run minutes apart under different loads. Gives the ratio of the two
// batches' times ("ratio") and each one's time per call.
void BM_PressOverFloor(benchmark::State& state) {
  constexpr int kBatch = 64;
  engine::ScheduleState schedule_state = LoadedState();
  const std::string report = FinishedReport();
  std::chrono::steady_clock::duration press{};
  std::chrono::steady_clock::duration floor{};
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kBatch; ++i) Press(schedule_state);
    const auto t1 = std::chrono::steady_clock::now();
    for (int i = 0; i < kBatch; ++i) CopyReport(report);
    const auto t2 = std::chrono::steady_clock::now();
    press += t1 - t0;
    floor += t2 - t1;
  }
  const double calls = static_cast<double>(state.iterations()) * kBatch;
  state.counters["press_ns"] = std::chrono::duration<double, std::nano>(press).count() / calls;
  state.counters["floor_ns"] = std::chrono::duration<double, std::nano>(floor).count() / calls;
  state.counters["ratio"] = floor.count() > 0 ? static_cast<double>(press.count()) /
                                                    static_cast<double>(floor.count())
                                              : 0.0;
}
BENCHMARK(BM_PressOverFloor);

// The console table as usual, keeping each benchmark's CPU time per
// iteration and its counters: the median when repetitions were asked for,
// the single run otherwise.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text, so the output reads the same in a log as on a terminal.
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}

  struct Figures {
    double Nanoseconds = 0;
    std::map<std::string, double> Counters;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (!median && !single) continue;
      Figures& f = figures_[run.run_name.function_name];
      f.Nanoseconds = run.GetAdjustedCPUTime() *
                      (1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit));
      for (const auto& [name, counter] : run.counters) f.Counters[name] = counter.value;
    }
  }

  const Figures* Find(const std::string& name) const {
    const auto it = figures_.find(name);
    return it == figures_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, Figures> figures_;
};

void PrintSummary(const SummaryReporter& reporter) {
  const char* const kNames[][2] = {
      {"BM_ParseTime", "parse"},   {"BM_FormatClock", "format"}, {"BM_ComputeSchedule", "compute"},
      {"BM_RenderReport", "render"}, {"BM_Press", "press"},      {"BM_PressInSteps", "press_steps"},
      {"BM_Floor", "floor"}};
  for (const auto& [function, key] : kNames) {
    const SummaryReporter::Figures* f = reporter.Find(function);
    if (f == nullptr) continue;
    std::printf("RESULT %s_ns %.1f\n", key, f->Nanoseconds);
    const auto allocs = f->Counters.find("allocs");
    if (allocs != f->Counters.end()) std::printf("RESULT %s_allocs %.2f\n", key, allocs->second);
  }
  if (const SummaryReporter::Figures* paired = reporter.Find("BM_PressOverFloor")) {
    const auto& c = paired->Counters;
    if (c.count("ratio") != 0 && c.count("press_ns") != 0 && c.count("floor_ns") != 0) {
      std::printf("RESULT paired_press_ns %.1f\n", c.at("press_ns"));
      std::printf("RESULT paired_floor_ns %.1f\n", c.at("floor_ns"));
      std::printf("RESULT paired_ratio %.2f\n", c.at("ratio"));
      std::printf("press / floor, taken in turns = %.1f (%.0f ns / %.0f ns)\n", c.at("ratio"),
                  c.at("press_ns"), c.at("floor_ns"));
    }
  }
  const SummaryReporter::Figures* floor = reporter.Find("BM_Floor");
  if (floor == nullptr || floor->Nanoseconds <= 0) return;
  const auto bytes = floor->Counters.find("bytes");
  if (bytes != floor->Counters.end()) std::printf("RESULT report_bytes %.0f\n", bytes->second);
  for (const auto& [function, key] : {std::pair{"BM_Press", "press"},
                                      std::pair{"BM_PressInSteps", "press_steps"}}) {
    const SummaryReporter::Figures* press = reporter.Find(function);
    if (press == nullptr) continue;
    const double ratio = press->Nanoseconds / floor->Nanoseconds;
    std::printf("RESULT %s_over_floor %.2f\n", key, ratio);
    std::printf("%s / floor = %.1f (%.0f ns / %.0f ns)\n", function, ratio, press->Nanoseconds,
                floor->Nanoseconds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::fflush(stdout);
  PrintSummary(reporter);
  return 0;
}
