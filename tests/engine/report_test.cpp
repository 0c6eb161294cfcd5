#include "engine/report.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/support.h"

namespace engine {
namespace {

// The report of the window's default entries on a Sunday.
constexpr std::string_view kSundayReport =
    "Selected Day : Sunday\r\n"
    "\r\n"
    "Sunrise = 05:30 AM\tSunset = 06:30 PM\tNext Sunrise = 05:30 AM\r\n"
    "\r\n"
    "Length of Day \t = 780 minutes\t\tDay Hour Length   = 65.00 minutes\r\n"
    "Length of Night  = 660 minutes\t\tNight Hour Length = 55.00 minutes\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    " Day Hour |     Time     |   Ruling Planet   |   Archangel\r\n"
    "-----------------------------------------------------------\r\n"
    "   01.\t      05:30 AM\t\tSun\t\t  Michael\r\n"
    "   02.\t      06:35 AM\t\tVenus\t\t  Anael\r\n"
    "   03.\t      07:40 AM\t\tMercury\t\t  Raphael\r\n"
    "   04.\t      08:45 AM\t\tMoon\t\t  Gabriel\r\n"
    "   05.\t      09:50 AM\t\tSaturn\t\t  Cassiel\r\n"
    "   06.\t      10:55 AM\t\tJupiter\t\t  Sachiel\r\n"
    "   07.\t      12:00 PM\t\tMars\t\t  Samael\r\n"
    "   08.\t      01:05 PM\t\tSun\t\t  Michael\r\n"
    "   09.\t      02:10 PM\t\tVenus\t\t  Anael\r\n"
    "   10.\t      03:15 PM\t\tMercury\t\t  Raphael\r\n"
    "   11.\t      04:20 PM\t\tMoon\t\t  Gabriel\r\n"
    "   12.\t      05:25 PM\t\tSaturn\t\t  Cassiel\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    " Night Hour |     Time     |   Ruling Planet   |   Archangel\r\n"
    "-------------------------------------------------------------\r\n"
    "    01.\t       06:30 PM\t\tJupiter\t\t  Sachiel\r\n"
    "    02.\t       07:25 PM\t\tMars\t\t  Samael\r\n"
    "    03.\t       08:20 PM\t\tSun\t\t  Michael\r\n"
    "    04.\t       09:15 PM\t\tVenus\t\t  Anael\r\n"
    "    05.\t       10:10 PM\t\tMercury\t\t  Raphael\r\n"
    "    06.\t       11:05 PM\t\tMoon\t\t  Gabriel\r\n"
    "    07.\t       12:00 AM\t\tSaturn\t\t  Cassiel\r\n"
    "    08.\t       12:55 AM\t\tJupiter\t\t  Sachiel\r\n"
    "    09.\t       01:50 AM\t\tMars\t\t  Samael\r\n"
    "    10.\t       02:45 AM\t\tSun\t\t  Michael\r\n"
    "    11.\t       03:40 AM\t\tVenus\t\t  Anael\r\n"
    "    12.\t       04:35 AM\t\tMercury\t\t  Raphael\r\n";

// The engine's report for these entries: the value under test.
std::string Report(std::uint8_t day, const char* sunrise = "05:30", const char* sunset = "18:30",
                   const char* nextSunrise = "05:30") {
  return test_support::EngineReport(day, sunrise, sunset, nextSunrise);
}

std::vector<std::string> Lines(std::string_view report) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (std::size_t end; (end = report.find("\r\n", begin)) != report.npos; begin = end + 2) {
    lines.emplace_back(report.substr(begin, end - begin));
  }
  EXPECT_EQ(begin, report.size()) << "text after the last CR LF";
  return lines;
}

TEST(RenderReport, DefaultSundayReport) { EXPECT_EQ(Report(1), kSundayReport); }

TEST(RenderReport, WeekdaysChangeOnlyTheNameAndTheRulers) {
  // Each weekday's first day-hour and first night-hour rows.
  const struct {
    std::uint8_t Day;
    const char* FirstDayRow;
    const char* FirstNightRow;
  } kCases[] = {
      {1, "   01.\t      05:30 AM\t\tSun\t\t  Michael",
       "    01.\t       06:30 PM\t\tJupiter\t\t  Sachiel"},
      {2, "   01.\t      05:30 AM\t\tMoon\t\t  Gabriel",
       "    01.\t       06:30 PM\t\tVenus\t\t  Anael"},
      {3, "   01.\t      05:30 AM\t\tMars\t\t  Samael",
       "    01.\t       06:30 PM\t\tSaturn\t\t  Cassiel"},
      {4, "   01.\t      05:30 AM\t\tMercury\t\t  Raphael",
       "    01.\t       06:30 PM\t\tSun\t\t  Michael"},
      {5, "   01.\t      05:30 AM\t\tJupiter\t\t  Sachiel",
       "    01.\t       06:30 PM\t\tMoon\t\t  Gabriel"},
      {6, "   01.\t      05:30 AM\t\tVenus\t\t  Anael",
       "    01.\t       06:30 PM\t\tMars\t\t  Samael"},
      {7, "   01.\t      05:30 AM\t\tSaturn\t\t  Cassiel",
       "    01.\t       06:30 PM\t\tMercury\t\t  Raphael"},
  };
  const std::vector<std::string> sunday = Lines(kSundayReport);
  ASSERT_EQ(sunday.size(), 40u);
  for (const auto& c : kCases) {
    const std::vector<std::string> lines = Lines(Report(c.Day));
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[11], c.FirstDayRow) << int{c.Day};
    EXPECT_EQ(lines[28], c.FirstNightRow) << int{c.Day};
    for (std::size_t i = 1; i < 40; ++i) {
      // A row keeps Sunday's number and start time; what follows them is the ruler.
      const std::size_t ruler = sunday[i].find("\t\t");
      const bool isRow = (i >= 11 && i <= 22) || i >= 28;
      EXPECT_EQ(lines[i].substr(0, isRow ? ruler : std::string::npos),
                sunday[i].substr(0, isRow ? ruler : std::string::npos))
          << int{c.Day} << " line " << i;
    }
  }
}

TEST(RenderReport, ShortDayHourHasNoLeadingZero) {
  const std::vector<std::string> lines = Lines(Report(1, "05:30", "05:35", "05:30"));
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines[4], "Length of Day \t = 5 minutes\t\tDay Hour Length   = .42 minutes");
  EXPECT_EQ(lines[5], "Length of Night  = 1435 minutes\t\tNight Hour Length = 119.58 minutes");
}

TEST(RenderReport, EqualEntriesGiveAnEmptyDay) {
  const std::vector<std::string> lines = Lines(Report(1, "06:00", "06:00", "06:00"));
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines[4], "Length of Day \t = 0 minutes\t\tDay Hour Length   = .00 minutes");
  EXPECT_EQ(lines[22], "   12.\t      06:00 AM\t\tSaturn\t\t  Cassiel");
  EXPECT_EQ(lines[28], "    01.\t       06:00 AM\t\tJupiter\t\t  Sachiel");
}

TEST(RenderReport, ScheduleKeepsItsTextAfterLaterComputations) {
  // Two computations through one state: each schedule renders its own
  // entries, not those of the computation the state saw last.
  ScheduleState state = test_support::LoadedState(3);
  const Schedule first = ComputeSchedule(state, "Tuesday", *ParseTime("06:12"), *ParseTime("17:48"),
                                         *ParseTime("06:13"));
  const Schedule second = ComputeSchedule(state, "Tuesday", *ParseTime("05:30"),
                                          *ParseTime("18:30"), *ParseTime("05:30"));
  const struct {
    const Schedule& Rendered;
    const char* Times;
    const char* Day;
    const char* Night;
    const char* FirstNightRow;
  } kCases[] = {
      {first, "Sunrise = 06:12 AM\tSunset = 05:48 PM\tNext Sunrise = 06:13 AM",
       "Length of Day \t = 696 minutes\t\tDay Hour Length   = 58.00 minutes",
       "Length of Night  = 745 minutes\t\tNight Hour Length = 62.08 minutes",
       "    01.\t       05:48 PM\t\tSaturn\t\t  Cassiel"},
      {second, "Sunrise = 05:30 AM\tSunset = 06:30 PM\tNext Sunrise = 05:30 AM",
       "Length of Day \t = 780 minutes\t\tDay Hour Length   = 65.00 minutes",
       "Length of Night  = 660 minutes\t\tNight Hour Length = 55.00 minutes",
       "    01.\t       06:30 PM\t\tSaturn\t\t  Cassiel"},
  };
  for (const auto& c : kCases) {
    const std::vector<std::string> lines = Lines(RenderReport(c.Rendered, state.RulerTable));
    ASSERT_EQ(lines.size(), 40u) << c.Times;
    EXPECT_EQ(lines[2], c.Times);
    EXPECT_EQ(lines[4], c.Day);
    EXPECT_EQ(lines[5], c.Night);
    EXPECT_EQ(lines[28], c.FirstNightRow);
  }
}

}  // namespace
}  // namespace engine
