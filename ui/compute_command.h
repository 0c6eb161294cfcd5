// What a press of Compute does, apart from any toolkit: check the three
// entries in order, and either refuse with the first bad one's message and
// focus, or compute and render the report. The frontends only carry it out.
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

// A refused press: the message box's text, and the entry that then gets the
// focus (a plain focus move, which neither selects nor changes its text).
struct Refusal {
  TimeEntry Entry;                // the first entry not accepted
  std::string_view Message;       // BadEntryMessage(Entry)
  std::string_view FocusControl;  // EntryControlName(Entry)
};

struct ComputeDecision {
  std::optional<Refusal> Refused;  // when an entry is not a time
  std::string Report;              // the new report, when all three are accepted
};

// Checks sunrise, sunset and next sunrise in that order. When one is not a
// time, refuses with it and leaves `state` untouched; otherwise computes with
// `state` (its SelectedDay and RulerTable) and renders the report, in which
// `dayName` is the weekday shown. Cannot fail.
ComputeDecision DecideCompute(std::string_view sunrise, std::string_view sunset,
                              std::string_view nextSunrise, std::string_view dayName,
                              engine::ScheduleState& state);

}  // namespace ui

#endif  // VELLAMIRE_UI_COMPUTE_COMMAND_H_
