#include "engine/time_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/stored_double.h"

namespace engine {
namespace {

constexpr double kDay = 86400.0;

// `text` is a time, and gives that second of day 0.
void ExpectAccepted(const char* text, int seconds) {
  const auto value = ParseTime(text);
  ASSERT_TRUE(value.has_value()) << text;
  EXPECT_EQ(TotalSeconds(*value), seconds) << text;
  EXPECT_EQ(*value, Stored(seconds / kDay)) << text;
  EXPECT_TRUE(IsTimeText(text)) << text;
}

TEST(ParseTime, AcceptsClockTimes) {
  // clang-format off
  const struct {
    const char* Text;
    int Seconds;  // of day 0
  } kCases[] = {
      // 24-hour clock, one or two hour digits, blanks around.
      {"05:30", 19800}, {"5:30", 19800}, {"18:30", 66600}, {"00:00", 0}, {"0:00", 0},
      {"23:59", 86340}, {"  05:30", 19800}, {"05:30   ", 19800}, {" 05:30 ", 19800},
      // Seconds.
      {"05:30:15", 19815}, {"23:59:59", 86399},
      // AM and PM in any case, with one blank or none; 12 AM is midnight.
      {"5:30 PM", 63000}, {"5:30pm", 63000}, {"5:30 am", 19800}, {"5:30Am", 19800},
      {"05:30:15 pM", 63015}, {"12:00 AM", 0}, {"12:59 am", 3540}, {"12:00 PM", 43200},
      {"12:59pm", 46740}, {"1:00 AM", 3600}, {"11:59 PM", 86340}, {" 7:05 pm ", 68700},
  };
  // clang-format on
  for (const auto& c : kCases) ExpectAccepted(c.Text, c.Seconds);
}

TEST(ParseTime, AcceptsTheBlanksOfPastedText) {
  // clang-format off
  const struct {
    const char* Text;
    int Seconds;  // of day 0
  } kCases[] = {
      // Before the marker: narrow no-break, no-break, thin, figure space, TAB, LF.
      {"6:40\u202FAM", 24000}, {"5:12\u00A0AM", 18720}, {"6:40\u2009PM", 67200},
      {"6:40\u2007pm", 67200}, {"6:40\tPM", 67200}, {"6:40\nAM", 24000},
      {"05:30:15\u00A0PM", 63015}, {"12:00\u202FAM", 0},
      // Around the time: a table cell's TAB, a line's end, and runs of mixed blanks.
      {"\t04:58", 17880}, {"04:58\r\n", 17880}, {"04:58\n", 17880}, {"\r\n04:58\r\n", 17880},
      {"\u00A005:30\u202F", 19800}, {" \t\u2009 18:30 \u2007\r\n", 66600},
      {"\t6:40\u202FAM\r\n", 24000}, {"\u202F\u202F12:59\u00A0pm\u00A0\u00A0", 46740},
  };
  // clang-format on
  for (const auto& c : kCases) ExpectAccepted(c.Text, c.Seconds);
}

TEST(ParseTime, RejectsLookAlikesOfPastedTimes) {
  // clang-format off
  const std::string kCases[] = {
      "6:40\u202FXM",           // another letter for the marker
      "6:40\u202FA\u202FM",     // a blank inside the marker
      "04:58\n05:00",           // a second time on a new line
      "04:58\r\n05:00\r\n",     // the same, with CR LF
      "04:58\t05:00",           // a second time in the next cell
      "\u0664:\u0665\u0668",     // Arabic-Indic digits
      "\u06F4:58",              // an Extended Arabic-Indic (Persian) digit
      "\uFF10\uFF14:58",        // full-width digits
      "04:\u0665\u0668",        // Arabic-Indic minute digits
      "\u0966\u096A:58",        // Devanagari digits
      "04:58\xE2\x80",          // a narrow no-break space cut short at the end
      "\xE2\x80" "04:58",        // the same at the start
      "\xC2" "04:58",            // a lone lead byte
      "\xA0" "04:58",            // a no-break space in Latin-1, not UTF-8
      "6:40\xA0" "AM",           // the same before the marker
      "\xC0\xA0" "04:58",        // an overlong two-byte space
      "\xE0\x80\xA0" "04:58",    // an overlong three-byte space
      "\xE2\x80\xAF\xAF" "04:58",  // a stray continuation byte after a blank
      "\u3000" "04:58",          // an ideographic space
      "\u200B" "04:58",          // a zero-width space
      "\uFEFF" "04:58",          // a byte order mark
      "\u2002" "04:58",          // an en space
      "04:58\u2028",            // a line separator
      "\v04:58",                // a vertical tab
      "\f04:58",                // a form feed
      "6:40\u202F\u202FAM",     // two blanks before the marker
      "6:40 \tAM",              // two blanks of different kinds before the marker
      "6:40\r\nAM",             // a line end of two characters before the marker
      "04\u202F:58",            // a blank inside the time
      "04:\u00A058",            // a blank after the colon
      "\u202F",                 // a blank alone
      "\t\r\n\u00A0",           // blanks alone
  };
  // clang-format on
  for (const auto& text : kCases) {
    EXPECT_FALSE(ParseTime(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(IsTimeText(text)) << '"' << text << '"';
  }
}

TEST(ParseTime, DefaultsGiveTheirFractionOfADay) {
  EXPECT_EQ(*ParseTime("05:30"), Stored(5.5 / 24));
  EXPECT_EQ(*ParseTime("18:30"), Stored(18.5 / 24));
  EXPECT_EQ(*ParseTime("05:30"), *ParseTime("5:30"));
}

TEST(ParseTime, RejectsOtherTexts) {
  const std::string kCases[] = {
      "",                         // empty
      "   ",                      // blanks only
      "abc",                      // letters
      "Sunrise",                  // a word
      "24:00",                    // hour past the day
      "99:00",                    // hour far past the day
      "12:60",                    // minute past the hour
      "05:30:60",                 // second past the minute
      "05:3",                     // one minute digit
      "05:300",                   // three minute digits
      "005:30",                   // three hour digits
      "123:45",                   // three hour digits
      ":30",                      // no hour
      "05:",                      // no minute
      "05",                       // no colon
      ":",                        // a lone colon
      "05:30:",                   // empty seconds
      "05:30:1",                  // one second digit
      "-5:30",                    // sign
      "+5:30",                    // sign
      "05:-3",                    // sign in the minute
      "5.30",                     // point instead of colon
      "05 :30",                   // blank inside
      "05: 30",                   // blank inside
      "05:30  PM",                // two blanks before the marker
      "13:00 PM",                 // hour over 12 with a marker
      "0:30 AM",                  // hour 0 with a marker
      "5:30 P",                   // half a marker
      "5:30 PMX",                 // marker with a tail
      "5:30 XM",                  // not a marker
      "5:30 a.m.",                // dotted marker
      "PM 5:30",                  // marker first
      "05:30x",                   // trailing letter
      "05:30\r\n18:30",           // two lines
      "2024-01-01 05:30",         // a date
      "1/1/2024 05:30",           // a date
      std::string("05:30\0", 6),  // embedded NUL
      std::string("05\0:30", 6),  // embedded NUL inside
      "\xD9\xA5:30",              // Arabic-Indic digit five
      "\xEF\xBC\x95:30",          // full-width digit five
      "05\xEF\xBC\x9A"
      "30",  // full-width colon
  };
  for (const auto& text : kCases) {
    EXPECT_FALSE(ParseTime(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(IsTimeText(text)) << '"' << text << '"';
  }
}

TEST(ParseTime, NeverReadsPastTheView) {
  // The view ends inside a longer buffer: the digits after it must not count.
  const char buffer[] = "05:3012";
  EXPECT_FALSE(ParseTime(std::string_view(buffer, 4)).has_value());
  EXPECT_EQ(*ParseTime(std::string_view(buffer, 5)), *ParseTime("05:30"));
  EXPECT_FALSE(ParseTime(std::string_view(buffer, 0)).has_value());
}

TEST(FormatClock, EndsOfTheClock) {
  const struct {
    const char* Entry;
    const char* Clock;
  } kCases[] = {
      {"00:00", "12:00 AM"}, {"00:59", "12:59 AM"}, {"01:00", "01:00 AM"},    {"05:30", "05:30 AM"},
      {"11:59", "11:59 AM"}, {"12:00", "12:00 PM"}, {"12:59", "12:59 PM"},    {"13:00", "01:00 PM"},
      {"18:30", "06:30 PM"}, {"23:59", "11:59 PM"}, {"23:59:59", "11:59 PM"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatClock(*ParseTime(c.Entry)), c.Clock) << c.Entry;
}

TEST(FormatClock, IgnoresTheDay) {
  EXPECT_EQ(FormatClock(0.0), "12:00 AM");
  EXPECT_EQ(FormatClock(0.5), "12:00 PM");
  EXPECT_EQ(FormatClock(1 + 5.5 / 24), "05:30 AM");
  EXPECT_EQ(FormatClock(AddDays(*ParseTime("18:30"), 3)), "06:30 PM");
}

TEST(FormatClock, RoundsToTheSecondFirst) {
  const TimeValue before = *ParseTime("05:29");
  EXPECT_EQ(FormatClock(AddSeconds(before, 59.6)), "05:30 AM");
  EXPECT_EQ(FormatClock(AddSeconds(before, 59.4)), "05:29 AM");
  EXPECT_EQ(FormatClock(AddSeconds(before, 59.5)), "05:30 AM");  // a half rounds up
  // A fraction that rounds to 86400 seconds is midnight of the next day.
  EXPECT_EQ(FormatClock(AddSeconds(*ParseTime("23:59:59"), 0.6)), "12:00 AM");
  EXPECT_EQ(BreakTime(AddSeconds(*ParseTime("23:59:59"), 0.6)).Day, 1);
}

TEST(FormatClock, RoundsAtTheEdgesOfTheDayAndOfTheRange) {
  const double kMax = std::numeric_limits<double>::max();
  const double kInf = std::numeric_limits<double>::infinity();
  const struct {
    double Value;
    const char* Clock;
  } kCases[] = {
      {0.0, "12:00 AM"},
      {-0.0, "12:00 AM"},
      {59.49 / kDay, "12:00 AM"},          // 59 s
      {(kDay - 60.5) / kDay, "11:59 PM"},  // 86339.5 s: a half rounds up into 23:59
      {(kDay - 0.50000001) / kDay, "11:59 PM"},
      {(kDay - 0.5) / kDay, "12:00 AM"},  // rounds into the next day
      {0.99999999999999989, "12:00 AM"},  // the last double below 1
      {-0.25, "06:00 PM"},                // the evening of day -1
      {-1.75, "06:00 AM"},
      {45000.0 + 43199.5 / kDay, "12:00 PM"},
      {1e9 + 0.75, "12:00 AM"},  // beyond the range: its limit, a whole day
      {-1e9 - 0.75, "12:00 AM"},
      {kMax, "12:00 AM"},
      {kInf, "12:00 AM"},
      {-kInf, "12:00 AM"},
      {std::nan(""), "12:00 AM"},
      {std::numeric_limits<double>::denorm_min(), "12:00 AM"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatClock(c.Value), c.Clock) << c.Value;
}

TEST(BreakTime, OutOfRangeValuesAreClamped) {
  EXPECT_EQ(BreakTime(std::nan("")).Day, 0);
  EXPECT_EQ(BreakTime(std::nan("")).Second, 0);
  EXPECT_EQ(BreakTime(std::numeric_limits<double>::infinity()).Day, 1000000000);
  EXPECT_EQ(BreakTime(-std::numeric_limits<double>::infinity()).Day, -1000000000);
  EXPECT_EQ(BreakTime(-0.25).Day, -1);
  EXPECT_EQ(BreakTime(-0.25).Second, 64800);
  EXPECT_EQ(FormatClock(std::numeric_limits<double>::max()), "12:00 AM");
}

TEST(MinutesBetween, CountsMinuteBoundaries) {
  const TimeValue sunrise = *ParseTime("05:30");
  const TimeValue sunset = *ParseTime("18:30");
  const TimeValue next = AddDays(*ParseTime("05:30"), 1);
  EXPECT_EQ(MinutesBetween(sunrise, sunset), 780);
  EXPECT_EQ(MinutesBetween(sunset, next), 660);
  EXPECT_EQ(MinutesBetween(sunset, sunrise), -780);
  EXPECT_EQ(MinutesBetween(sunrise, sunrise), 0);
  // Seconds do not count, only the boundaries crossed.
  EXPECT_EQ(MinutesBetween(*ParseTime("05:30:59"), *ParseTime("05:31:00")), 1);
  EXPECT_EQ(MinutesBetween(*ParseTime("05:30:00"), *ParseTime("05:30:59")), 0);
  EXPECT_EQ(SecondsBetween(sunrise, sunset), 780 * 60);
  EXPECT_EQ(SecondsBetween(sunset, sunrise), -780 * 60);
  EXPECT_EQ(SecondsBetween(sunset, next), 660 * 60);
  EXPECT_EQ(SecondsBetween(*ParseTime("05:30:59"), *ParseTime("05:31:00")), 1);
}

TEST(FormatHundredths, RoundsToTwoDecimals) {
  const struct {
    double Value;
    const char* Text;
  } kCases[] = {
      {65, "65.00"},     {55, "55.00"},      {54.916666666666664, "54.92"},
      {0.5, ".50"},      {0, ".00"},         {123.456, "123.46"},
      {5.0 / 12, ".42"}, {1.0 / 12, ".08"},  {0.125, ".13"},  // a half away from zero
      {0.995, "1.00"},   {99.999, "100.00"}, {1439.0 / 12, "119.92"},
      {-0.5, "-.50"},    {-0.001, ".00"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatHundredths(c.Value), c.Text) << c.Value;
}

TEST(FormatHundredths, WithstandsExtremeValues) {
  EXPECT_EQ(FormatHundredths(std::nan("")), ".00");
  EXPECT_EQ(FormatHundredths(std::numeric_limits<double>::infinity()), "1000000000000000.00");
}

TEST(NumberText, WritesWholeNumbers) {
  const struct {
    double Value;
    const char* Text;
  } kCases[] = {
      {780, "780"}, {660, "660"}, {0, "0"}, {7, "7"}, {1440, "1440"}, {4294967296.0, "4294967296"},
      {-12, "-12"},
  };
  for (const auto& c : kCases) EXPECT_EQ(NumberText(c.Value), c.Text) << c.Value;
  EXPECT_EQ(NumberText(std::nan("")), "0");
}

TEST(FormatTwoDigits, PadsToTwoDigits) {
  const struct {
    int Number;
    const char* Text;
  } kCases[] = {{0, "00"},  {1, "01"},  {9, "09"},    {10, "10"},
                {12, "12"}, {99, "99"}, {100, "100"}, {-3, "-03"}};
  for (const auto& c : kCases) EXPECT_EQ(FormatTwoDigits(c.Number), c.Text) << c.Number;
  EXPECT_EQ(FormatTwoDigits(std::numeric_limits<int>::min()), "-2147483648");
}

}  // namespace
}  // namespace engine
