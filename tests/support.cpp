#include "tests/support.h"

#include "engine/report.h"
#include "ui/form1_definition.h"

namespace test_support {

engine::ScheduleState LoadedState(std::uint8_t day) {
  engine::ScheduleState state;
  state.SelectedDay = day;
  engine::FillRulerTable(state.RulerTable);
  return state;
}

std::string EngineReport(std::uint8_t day, std::string_view sunrise, std::string_view sunset,
                         std::string_view nextSunrise) {
  engine::ScheduleState state = LoadedState(day);
  const std::string_view name = day >= 1 && day <= 7 ? ui::kDayNames[day - 1] : std::string_view();
  const engine::Schedule schedule =
      engine::ComputeSchedule(state, name, *engine::ParseTime(sunrise), *engine::ParseTime(sunset),
                              *engine::ParseTime(nextSunrise));
  return engine::RenderReport(schedule, state.RulerTable);
}

}  // namespace test_support
