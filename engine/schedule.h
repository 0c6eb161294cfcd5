// The day and night lengths and the 24 planetary hours of one day.
#ifndef VELLAMIRE_ENGINE_SCHEDULE_H_
#define VELLAMIRE_ENGINE_SCHEDULE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/rulers.h"
#include "engine/time_value.h"

namespace engine {

// The window-owned fields of the schedule. SelectedDay and RulerTable carry
// over between computations; the rest are working values of the last one.
// Lengths hold minutes after the first pass and seconds after the second.
struct ScheduleState {
  std::uint8_t SelectedDay = 0;  // 1 Sunday to 7 Saturday; 0 while none is chosen
  TimeValue SunriseTime = 0;
  TimeValue SunsetTime = 0;
  TimeValue NextSunriseTime = 0;  // already moved one day on
  double DayLength = 0;
  double DayHourLength = 0;
  double NightLength = 0;
  double NightHourLength = 0;
  TimeValue HourStart = 0;
  engine::RulerTable RulerTable{};
  RulerNumber FirstRuler = 0;
  RulerNumber CurrentRuler = 0;
};

// One planetary hour: its number (1-12 in its table), start and ruler.
struct ScheduleRow {
  int Number = 0;
  TimeValue Start = 0;
  RulerNumber Ruler = 0;
};

// One computation's result, as the report shows it.
struct Schedule {
  std::string DayName;
  TimeValue SunriseTime = 0;
  TimeValue SunsetTime = 0;
  TimeValue NextSunriseTime = 0;
  double DayMinutes = 0;
  double DayHourMinutes = 0;
  double NightMinutes = 0;
  double NightHourMinutes = 0;
  std::array<ScheduleRow, 12> DayRows{};
  std::array<ScheduleRow, 12> NightRows{};
};

// Computes the schedule for the weekday in state.SelectedDay and writes the
// working values into `state`. The next sunrise is always taken one day
// after its entry; lengths are absolute, so swapped entries still count
// forward. Each row starts at the exact multiple of the hour length from
// the sunrise, rounded to the nearest second (a half up). Cannot fail; a
// SelectedDay outside 1-7 gives rows whose ruler names no planet.
Schedule ComputeSchedule(ScheduleState& state, std::string_view dayName, TimeValue sunrise,
                         TimeValue sunset, TimeValue nextSunrise);

}  // namespace engine

#endif  // VELLAMIRE_ENGINE_SCHEDULE_H_
