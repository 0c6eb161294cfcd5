// Arbitrary bytes through the Compute path: the first byte picks the weekday,
// the rest is split at '|' into the three entries (sunrise, sunset, next
// sunrise). Every property checked here aborts on failure, so libFuzzer keeps
// the input that broke it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/report.h"
#include "engine/schedule.h"
#include "engine/time_value.h"
#include "tests/support.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "compute_fuzzer: %s\n", what);
  std::abort();
}

bool IsWholeNonNegative(double x) {
  return x >= 0 && x == static_cast<double>(static_cast<std::int64_t>(x));
}

// Exactly 40 lines, each ending in CR LF, with no other CR or LF.
bool HasFortyLines(std::string_view report) {
  int lines = 0;
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\n') return false;
    if (report[i] != '\r') continue;
    if (i + 1 >= report.size() || report[i + 1] != '\n') return false;
    ++lines;
    ++i;
  }
  return lines == 40 && report.size() >= 2 && report.substr(report.size() - 2) == "\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // '1'-'7' name a weekday as typed in a seed; any other byte gives 0-7, where
  // 0 is the "none chosen" of an empty list.
  const std::uint8_t day = (data[0] >= '1' && data[0] <= '7') ? data[0] - '0' : data[0] % 8;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view entries[3];
  std::size_t from = 0;
  for (int k = 0; k < 3; ++k) {
    const std::size_t bar = k < 2 ? rest.find('|', from) : std::string_view::npos;
    const std::size_t to = bar == std::string_view::npos ? rest.size() : bar;
    entries[k] = rest.substr(from, to - from);
    from = to == rest.size() ? to : to + 1;
  }

  // Parse, as the press does.
  std::optional<engine::TimeValue> values[3];
  int firstBad = -1;
  for (int k = 0; k < 3; ++k) {
    values[k] = engine::ParseTime(entries[k]);
    if (values[k])
      Check(*values[k] >= 0.0 && *values[k] < 1.0, "an accepted time lies outside [0, 1)");
    if (!values[k] && firstBad < 0) firstBad = k;
  }

  engine::ScheduleState state = test_support::LoadedState(day);
  const std::string_view dayName =
      day >= 1 && day <= 7 ? ui::kDayNames[day - 1] : std::string_view();
  const engine::ScheduleState before = state;
  const ui::ComputeDecision decision =
      ui::DecideCompute(entries[0], entries[1], entries[2], dayName, state);

  if (firstBad >= 0) {
    Check(decision.Refused.has_value() && static_cast<int>(decision.Refused->Entry) == firstBad,
          "the decision names another entry than the first bad one");
    Check(decision.Report.empty(), "a bad entry came with a report");
    Check(state.DayLength == before.DayLength && state.SunriseTime == before.SunriseTime &&
              state.HourStart == before.HourStart && state.CurrentRuler == before.CurrentRuler,
          "a bad entry changed the state");
    return 0;
  }

  Check(!decision.Refused.has_value(), "good entries were refused");
  engine::ScheduleState direct = test_support::LoadedState(day);
  const engine::Schedule schedule =
      engine::ComputeSchedule(direct, dayName, *values[0], *values[1], *values[2]);
  const std::string report = engine::RenderReport(schedule, direct.RulerTable);
  Check(report == decision.Report, "the decision's report differs from the engine's");
  Check(HasFortyLines(report), "the report is not 40 CR LF lines");
  Check(IsWholeNonNegative(schedule.DayMinutes) && IsWholeNonNegative(schedule.NightMinutes),
        "a length is not a whole, non-negative number of minutes");
  Check(schedule.DayMinutes <= 1440 && schedule.NightMinutes <= 2 * 1440,
        "a length exceeds what times within a day allow");
  return 0;
}
