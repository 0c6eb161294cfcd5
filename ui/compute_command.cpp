#include "ui/compute_command.h"

#include "engine/report.h"
#include "engine/time_value.h"

namespace ui {

std::string_view EntryControlName(TimeEntry entry) {
  switch (entry) {
    case TimeEntry::Sunrise:
      return "txtSunrise";
    case TimeEntry::Sunset:
      return "txtSunset";
    case TimeEntry::NextSunrise:
      return "txtNextSunrise";
  }
  return {};
}

std::string_view BadEntryMessage(TimeEntry entry) {
  switch (entry) {
    case TimeEntry::Sunrise:
      return "Please make sure the Sunrise entry is a Time value in the Hour:Minute format";
    case TimeEntry::Sunset:
      return "Please make sure the Sunset entry is a Time value in the Hour:Minute format";
    case TimeEntry::NextSunrise:
      return "Please make sure the Next Sunrise entry is a Time value in the Hour:Minute format";
  }
  return {};
}

namespace {

ComputeDecision Refuse(TimeEntry entry) {
  return {Refusal{entry, BadEntryMessage(entry), EntryControlName(entry)}, {}};
}

}  // namespace

ComputeDecision DecideCompute(std::string_view sunrise, std::string_view sunset,
                              std::string_view nextSunrise, std::string_view dayName,
                              engine::ScheduleState& state) {
  const std::optional<engine::TimeValue> rise = engine::ParseTime(sunrise);
  if (!rise) return Refuse(TimeEntry::Sunrise);
  const std::optional<engine::TimeValue> set = engine::ParseTime(sunset);
  if (!set) return Refuse(TimeEntry::Sunset);
  const std::optional<engine::TimeValue> next = engine::ParseTime(nextSunrise);
  if (!next) return Refuse(TimeEntry::NextSunrise);

  const engine::Schedule schedule = engine::ComputeSchedule(state, dayName, *rise, *set, *next);
  return {std::nullopt, engine::RenderReport(schedule, state.RulerTable)};
}

}  // namespace ui
