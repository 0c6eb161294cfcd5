#include "engine/schedule.h"

#include <cstdlib>

namespace engine {
namespace {

constexpr int kHours = 12;

// a / b rounded toward minus infinity, for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Twelfths of a second to whole seconds, a half rounding up.
std::int64_t RoundTwelfths(std::int64_t twelfths) {
  return FloorDiv(twelfths + kHours / 2, kHours);
}

// Fills one table of rows. Starts are tracked exactly in twelfths of a
// second from `start12`, so a twelfth of a length in whole seconds never
// accumulates floating-point error, and each row is rounded to the second
// once (a half up), the same way on every FPU.
std::int64_t FillRows(std::array<ScheduleRow, kHours>& rows, std::int64_t start12,
                      std::int64_t lengthSeconds, RulerNumber& ruler) {
  for (int n = 1; n <= kHours; ++n) {
    rows[static_cast<std::size_t>(n - 1)] = {n, FromTotalSeconds(RoundTwelfths(start12)), ruler};
    start12 += lengthSeconds;
    ruler = NextRuler(ruler);
  }
  return start12;
}

}  // namespace

Schedule ComputeSchedule(ScheduleState& state, std::string_view dayName, TimeValue sunrise,
                         TimeValue sunset, TimeValue nextSunrise) {
  state.SunriseTime = sunrise;
  state.SunsetTime = sunset;
  state.NextSunriseTime = AddDays(nextSunrise, 1);

  Schedule schedule;
  schedule.DayName = dayName;
  schedule.SunriseTime = state.SunriseTime;
  schedule.SunsetTime = state.SunsetTime;
  schedule.NextSunriseTime = state.NextSunriseTime;

  // First pass in minutes, for the summary lines. Absolute values are taken
  // in 64 bits so that the int32 minimum stays defined.
  state.DayLength = static_cast<double>(
      std::llabs(static_cast<std::int64_t>(MinutesBetween(state.SunriseTime, state.SunsetTime))));
  state.DayHourLength = state.DayLength / kHours;
  state.NightLength = static_cast<double>(std::llabs(
      static_cast<std::int64_t>(MinutesBetween(state.SunsetTime, state.NextSunriseTime))));
  state.NightHourLength = state.NightLength / kHours;
  schedule.DayMinutes = state.DayLength;
  schedule.DayHourMinutes = state.DayHourLength;
  schedule.NightMinutes = state.NightLength;
  schedule.NightHourMinutes = state.NightHourLength;

  // Second pass in seconds, for stepping the rows.
  const std::int64_t daySeconds =
      std::llabs(static_cast<std::int64_t>(SecondsBetween(state.SunriseTime, state.SunsetTime)));
  const std::int64_t nightSeconds = std::llabs(
      static_cast<std::int64_t>(SecondsBetween(state.SunsetTime, state.NextSunriseTime)));
  state.DayLength = static_cast<double>(daySeconds);
  state.DayHourLength = state.DayLength / kHours;
  state.NightLength = static_cast<double>(nightSeconds);
  state.NightHourLength = state.NightLength / kHours;

  state.FirstRuler = FirstRulerOf(state.SelectedDay);
  state.CurrentRuler = state.FirstRuler;

  std::int64_t start12 = TotalSeconds(state.SunriseTime) * kHours;
  start12 = FillRows(schedule.DayRows, start12, daySeconds, state.CurrentRuler);
  start12 = FillRows(schedule.NightRows, start12, nightSeconds, state.CurrentRuler);
  state.HourStart = FromTotalSeconds(RoundTwelfths(start12));
  return schedule;
}

}  // namespace engine
