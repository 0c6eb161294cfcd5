// Arbitrary bytes through the Compute path: the first byte picks the weekday,
// the rest is split at '|' into the three entries (sunrise, sunset, next
// sunrise). Every property checked here aborts on failure, so libFuzzer keeps
// the input that broke it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

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

// The minute of the day of an accepted time, counted here rather than by the
// engine: an accepted time is a whole second of day 0.
long MinuteOfDay(double value) { return std::lround(value * 86400) / 60; }

// The report's lines when it is exactly 40 lines, each ending in CR LF, with
// no other CR or LF; otherwise none.
std::vector<std::string_view> FortyLines(std::string_view report) {
  std::vector<std::string_view> lines;
  while (!report.empty()) {
    const std::size_t end = report.find_first_of("\r\n");
    if (end == std::string_view::npos || report.compare(end, 2, "\r\n") != 0) return {};
    lines.push_back(report.substr(0, end));
    report.remove_prefix(end + 2);
  }
  if (lines.size() != 40) return {};
  return lines;
}

// The whole number of minutes that `line` gives after `before`, or -1 when
// the line says something else.
long MinutesIn(std::string_view line, std::string_view before) {
  if (line.substr(0, before.size()) != before) return -1;
  long minutes = 0;
  std::size_t i = before.size();
  for (; i < line.size() && i < before.size() + 6 && line[i] >= '0' && line[i] <= '9'; ++i) {
    minutes = minutes * 10 + (line[i] - '0');
  }
  return i > before.size() && line.substr(i, 8) == " minutes" ? minutes : -1;
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
  const std::vector<std::string_view> lines = FortyLines(decision.Report);
  Check(!lines.empty(), "the report is not 40 CR LF lines");
  Check(lines[0] == "Selected Day : " + std::string(dayName), "the report names another day");
  // The day runs from sunrise to sunset either way round; the night from
  // sunset to the next sunrise a day later, so it is never empty.
  const long rise = MinuteOfDay(*values[0]);
  const long set = MinuteOfDay(*values[1]);
  const long next = MinuteOfDay(*values[2]) + 1440;
  const long dayMinutes = MinutesIn(lines[4], "Length of Day \t = ");
  const long nightMinutes = MinutesIn(lines[5], "Length of Night  = ");
  Check(dayMinutes == std::labs(set - rise), "the day is not the minutes from sunrise to sunset");
  Check(nightMinutes == next - set, "the night is not the minutes from sunset to the next sunrise");
  // The rows step in seconds, which differ from the minutes by less than one.
  Check(std::fabs(state.DayLength - 60.0 * dayMinutes) < 60 &&
            std::fabs(state.NightLength - 60.0 * nightMinutes) < 60,
        "the rows' lengths in seconds disagree with the minutes shown");
  return 0;
}
