// What a press of Compute does, apart from any toolkit: check the three
// entries in order, and either name the first bad one with its message or
// compute and render the report.
#ifndef VELLAMIRE_UI_COMPUTE_COMMAND_H_
#define VELLAMIRE_UI_COMPUTE_COMMAND_H_

#include <optional>
#include <string>
#include <string_view>

#include "engine/schedule.h"

namespace ui {

enum class TimeEntry { Sunrise, Sunset, NextSunrise };

// The control name of each entry: "txtSunrise", "txtSunset", "txtNextSunrise".
std::string_view EntryControlName(TimeEntry entry);

// The message for a bad entry, exactly as the user sees it.
std::string_view BadEntryMessage(TimeEntry entry);

struct ComputeDecision {
  std::optional<TimeEntry> BadEntry;  // the first entry not accepted, if any
  std::string Report;                 // the new report, when all three are accepted
};

// Checks sunrise, sunset and next sunrise in that order. When one is not a
// time, names it and leaves `state` untouched; otherwise computes with
// `state` (its SelectedDay and RulerTable) and renders the report, in which
// `dayName` is the weekday shown. Cannot fail.
ComputeDecision DecideCompute(std::string_view sunrise, std::string_view sunset,
                              std::string_view nextSunrise, std::string_view dayName,
                              engine::ScheduleState& state);

}  // namespace ui

#endif  // VELLAMIRE_UI_COMPUTE_COMMAND_H_
