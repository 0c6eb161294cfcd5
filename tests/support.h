// What the test programs need alike: the window's state once loaded, and the
// report the engine gives for typed entries.
#ifndef VELLAMIRE_TESTS_SUPPORT_H_
#define VELLAMIRE_TESTS_SUPPORT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/schedule.h"

namespace test_support {

// The state as the loaded window holds it with weekday `day` chosen (1
// Sunday to 7 Saturday, 0 none): the ruler table filled, nothing computed.
engine::ScheduleState LoadedState(std::uint8_t day);

// The engine's own report for these typed entries on weekday `day`, named as
// the day list names it (no name for 0): what a window must show after
// Compute, not an independent statement of the report's text.
// Every entry must be a time the entries accept.
std::string EngineReport(std::uint8_t day, std::string_view sunrise, std::string_view sunset,
                         std::string_view nextSunrise);

}  // namespace test_support

#endif  // VELLAMIRE_TESTS_SUPPORT_H_
