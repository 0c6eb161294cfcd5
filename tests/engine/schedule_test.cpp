#include "engine/schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support.h"

namespace engine {
namespace {

struct Entries {
  const char* Sunrise;
  const char* Sunset;
  const char* NextSunrise;
};

Schedule Compute(ScheduleState& state, const Entries& e) {
  return ComputeSchedule(state, "Sunday", *ParseTime(e.Sunrise), *ParseTime(e.Sunset),
                         *ParseTime(e.NextSunrise));
}

std::vector<std::string> Clocks(const std::array<ScheduleRow, 12>& rows) {
  std::vector<std::string> out;
  for (const ScheduleRow& row : rows) out.push_back(FormatClock(row.Start));
  return out;
}

std::vector<int> Rulers(const std::array<ScheduleRow, 12>& rows) {
  std::vector<int> out;
  for (const ScheduleRow& row : rows) out.push_back(row.Ruler);
  return out;
}

TEST(ComputeSchedule, Defaults) {
  ScheduleState state = test_support::LoadedState(1);
  const Schedule s = Compute(state, {"05:30", "18:30", "05:30"});

  EXPECT_EQ(s.DayName, "Sunday");
  EXPECT_EQ(s.DayMinutes, 780);
  EXPECT_EQ(s.DayHourMinutes, 65);
  EXPECT_EQ(s.NightMinutes, 660);
  EXPECT_EQ(s.NightHourMinutes, 55);
  EXPECT_EQ(TotalSeconds(s.NextSunriseTime), 86400 + 5 * 3600 + 30 * 60);
  // The working lengths end in seconds.
  EXPECT_EQ(state.DayLength, 780 * 60);
  EXPECT_EQ(state.DayHourLength, 65 * 60);
  EXPECT_EQ(state.NightLength, 660 * 60);
  EXPECT_EQ(state.NightHourLength, 55 * 60);
  EXPECT_EQ(state.NextSunriseTime, s.NextSunriseTime);
  EXPECT_EQ(state.FirstRuler, 1);
  EXPECT_EQ(state.CurrentRuler, 4);  // the 25th ruler from the Sun
  EXPECT_EQ(FormatClock(state.HourStart), "05:30 AM");
  EXPECT_EQ(BreakTime(state.HourStart).Day, 1);

  const std::vector<std::string> kDayClocks = {"05:30 AM", "06:35 AM", "07:40 AM", "08:45 AM",
                                               "09:50 AM", "10:55 AM", "12:00 PM", "01:05 PM",
                                               "02:10 PM", "03:15 PM", "04:20 PM", "05:25 PM"};
  const std::vector<std::string> kNightClocks = {"06:30 PM", "07:25 PM", "08:20 PM", "09:15 PM",
                                                 "10:10 PM", "11:05 PM", "12:00 AM", "12:55 AM",
                                                 "01:50 AM", "02:45 AM", "03:40 AM", "04:35 AM"};
  EXPECT_EQ(Clocks(s.DayRows), kDayClocks);
  EXPECT_EQ(Clocks(s.NightRows), kNightClocks);
  EXPECT_EQ(Rulers(s.DayRows), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Rulers(s.NightRows), (std::vector<int>{6, 7, 1, 2, 3, 4, 5, 6, 7, 1, 2, 3}));
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(s.DayRows[n - 1].Number, n);
    EXPECT_EQ(s.NightRows[n - 1].Number, n);
  }
}

TEST(ComputeSchedule, EqualSunriseAndSunset) {
  ScheduleState state = test_support::LoadedState(1);
  const Schedule s = Compute(state, {"06:00", "06:00", "06:00"});
  EXPECT_EQ(s.DayMinutes, 0);
  EXPECT_EQ(s.NightMinutes, 1440);
  for (const ScheduleRow& row : s.DayRows) EXPECT_EQ(FormatClock(row.Start), "06:00 AM");
  EXPECT_EQ(FormatClock(s.NightRows[0].Start), "06:00 AM");
  EXPECT_EQ(FormatClock(s.NightRows[1].Start), "08:00 AM");
}

TEST(ComputeSchedule, SwappedEntriesCountForward) {
  ScheduleState state = test_support::LoadedState(1);
  // Sunset typed before sunrise: the day is still 780 minutes and runs
  // forward from the sunrise; the night starts at sunrise + 780 minutes.
  const Schedule s = Compute(state, {"18:30", "05:30", "05:30"});
  EXPECT_EQ(s.DayMinutes, 780);
  EXPECT_EQ(s.NightMinutes, 1440);  // from 05:30 to 05:30 of the next day
  EXPECT_EQ(FormatClock(s.DayRows[0].Start), "06:30 PM");
  EXPECT_EQ(FormatClock(s.DayRows[1].Start), "07:35 PM");
  EXPECT_EQ(FormatClock(s.NightRows[0].Start), "07:30 AM");
  EXPECT_EQ(BreakTime(s.NightRows[0].Start).Day, 1);
  EXPECT_EQ(state.DayLength, 780 * 60);
}

TEST(ComputeSchedule, NightLongerThanADay) {
  ScheduleState state = test_support::LoadedState(1);
  // The next sunrise is later in the day than the sunset, and moves a day on.
  const Schedule s = Compute(state, {"05:30", "18:30", "20:00"});
  EXPECT_EQ(s.NightMinutes, 1440 + 90);
  EXPECT_EQ(FormatHundredths(s.NightHourMinutes), "127.50");
  EXPECT_EQ(FormatClock(s.NightRows[1].Start), "08:37 PM");  // 18:30 + 127.5 min, rounded up
  EXPECT_EQ(FormatClock(s.NightRows[11].Start), "05:52 PM");
}

TEST(ComputeSchedule, FractionalStepsDoNotDrift) {
  ScheduleState state = test_support::LoadedState(1);
  // 781 minutes of day: a day hour is 65 min 5 s; the twelfth row starts
  // 11 hours on, exactly 715 min 55 s after sunrise.
  const Schedule s = Compute(state, {"05:30", "18:31", "05:30"});
  EXPECT_EQ(TotalSeconds(s.DayRows[11].Start) - TotalSeconds(s.DayRows[0].Start), 715 * 60 + 55);
  // Entries with seconds make twelfths land on half seconds: 6 s of day
  // give 0.5 s per hour, and each half rounds up.
  const Schedule h = Compute(state, {"05:30:00", "05:30:06", "05:30:00"});
  const int kOffsets[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6};  // round(k / 2), halves up
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(TotalSeconds(h.DayRows[k].Start) - TotalSeconds(h.DayRows[0].Start), kOffsets[k])
        << k;
  }
}

TEST(ComputeSchedule, WeekdaysSetTheFirstRuler) {
  // The night goes on with the cycle, 12 rulers after the day's first.
  const struct {
    std::uint8_t Day;
    int FirstDayRuler, FirstNightRuler;
  } kCases[] = {{1, 1, 6}, {2, 4, 2}, {3, 7, 5}, {4, 3, 1}, {5, 6, 4}, {6, 2, 7}, {7, 5, 3}};
  for (const auto& c : kCases) {
    ScheduleState state = test_support::LoadedState(c.Day);
    const Schedule s = Compute(state, {"05:30", "18:30", "05:30"});
    EXPECT_EQ(s.DayRows[0].Ruler, c.FirstDayRuler) << int{c.Day};
    EXPECT_EQ(s.NightRows[0].Ruler, c.FirstNightRuler) << int{c.Day};
  }
}

TEST(ComputeSchedule, NoDayChosenGivesNoRulers) {
  ScheduleState state = test_support::LoadedState(0);  // no weekday chosen
  const Schedule s = Compute(state, {"05:30", "18:30", "05:30"});
  for (const ScheduleRow& row : s.DayRows) EXPECT_EQ(row.Ruler, 0);
  for (const ScheduleRow& row : s.NightRows) EXPECT_EQ(row.Ruler, 0);
}

TEST(ComputeSchedule, KeepsOnlyTheTableAndDayAcrossRuns) {
  ScheduleState state = test_support::LoadedState(7);
  const RulerTable before = state.RulerTable;
  Compute(state, {"04:00", "22:00", "04:00"});
  const Schedule again = Compute(state, {"05:30", "18:30", "05:30"});
  EXPECT_EQ(state.SelectedDay, 7);
  EXPECT_EQ(state.RulerTable, before);
  EXPECT_EQ(again.DayMinutes, 780);
  EXPECT_EQ(state.SunriseTime, *ParseTime("05:30"));
}

}  // namespace
}  // namespace engine
