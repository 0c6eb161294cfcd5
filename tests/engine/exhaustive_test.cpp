// Whole domains, not samples: every minute of the day in every accepted
// spelling, and every second of the day through the break and back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/time_value.h"
#include "tests/stored_double.h"

namespace {

std::string Printed(const char* format, int a, int b, int c = 0) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

TEST(EveryMinute, ParsesTheSameInEverySpellingAndFormats) {
  for (int m = 0; m < 1440; ++m) {
    const int hour = m / 60;
    const int minute = m % 60;
    const int clock = hour % 12 == 0 ? 12 : hour % 12;
    const char* marker = hour < 12 ? "AM" : "PM";
    const char* lower = hour < 12 ? "am" : "pm";
    const std::string spellings[] = {
        Printed("%d:%02d", hour, minute),
        Printed("%02d:%02d", hour, minute),
        Printed("  %02d:%02d ", hour, minute),
        Printed("%02d:%02d:00", hour, minute),
        Printed("%d:%02d ", clock, minute) + marker,
        Printed("%02d:%02d", clock, minute) + lower,
        Printed(" %d:%02d:00 ", clock, minute) + marker + " ",
        // As pasted from a page, a table cell or a line of text.
        Printed("\t%d:%02d\u202F", clock, minute) + marker + "\r\n",
        Printed("\u00A0%02d:%02d\u2009", hour, minute) + "\n",
    };
    const double expectedValue = Stored(m / 1440.0);
    const std::string expectedClock = Printed("%02d:%02d ", clock, minute) + marker;
    for (const std::string& text : spellings) {
      const std::optional<engine::TimeValue> value = engine::ParseTime(text);
      ASSERT_TRUE(value.has_value()) << '"' << text << '"';
      EXPECT_EQ(*value, expectedValue) << '"' << text << '"';
      EXPECT_TRUE(engine::IsTimeText(text)) << '"' << text << '"';
      EXPECT_EQ(engine::TotalSeconds(*value), m * 60) << '"' << text << '"';
      EXPECT_EQ(engine::FormatClock(*value), expectedClock) << '"' << text << '"';
    }
  }
}

TEST(EverySecond, RoundTripsThroughTheBreak) {
  for (int s = 0; s < 86400; ++s) {
    const int hour = s / 3600;
    const int minute = s % 3600 / 60;
    const int second = s % 60;
    const engine::TimeValue value = engine::FromTotalSeconds(s);
    const engine::BrokenTime broken = engine::BreakTime(value);
    ASSERT_EQ(broken.Day, 0) << s;
    ASSERT_EQ(broken.Second, s) << s;
    // The same second a day later breaks into the next day, same second.
    const engine::BrokenTime nextDay = engine::BreakTime(engine::AddDays(value, 1));
    ASSERT_EQ(nextDay.Day, 1) << s;
    ASSERT_EQ(nextDay.Second, s) << s;
    // Typed with its seconds, it parses to the same second.
    const std::string text = Printed("%02d:%02d:%02d", hour, minute, second);
    const std::optional<engine::TimeValue> parsed = engine::ParseTime(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    ASSERT_EQ(engine::TotalSeconds(*parsed), s) << text;
    ASSERT_EQ(engine::SecondsBetween(0.0, *parsed), s) << text;
    ASSERT_EQ(engine::MinutesBetween(0.0, *parsed), s / 60) << text;
  }
}

}  // namespace
