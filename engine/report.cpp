#include "engine/report.h"

#include <string_view>

namespace engine {
namespace {

// Appends the pieces and a line end.
template <typename... Pieces>
void Line(std::string& report, const Pieces&... pieces) {
  (report.append(pieces), ...);
  report.append("\r\n");
}

constexpr std::string_view kHyphens =
    "-------------------------------------------------------------";  // 61

}  // namespace

std::string RenderReport(const Schedule& schedule, const RulerTable& table) {
  std::string report;
  report.reserve(2048);  // a report of the window's days and rulers is about 1,500 characters

  Line(report, "Selected Day : ", schedule.DayName);
  Line(report);
  Line(report, "Sunrise = ", FormatClock(schedule.SunriseTime),
       "\tSunset = ", FormatClock(schedule.SunsetTime),
       "\tNext Sunrise = ", FormatClock(schedule.NextSunriseTime));
  Line(report);
  Line(report, "Length of Day \t = ", NumberText(schedule.DayMinutes),
       " minutes\t\tDay Hour Length   = ", FormatHundredths(schedule.DayHourMinutes), " minutes");
  Line(report, "Length of Night  = ", NumberText(schedule.NightMinutes),
       " minutes\t\tNight Hour Length = ", FormatHundredths(schedule.NightHourMinutes), " minutes");

  // The two tables: a row's number and its start time are indented so that
  // they sit under the header's columns, one blank further in the night table.
  const struct {
    std::string_view Header;
    std::size_t Rule;               // hyphens under the header
    std::string_view NumberIndent;  // before the hour's number
    std::string_view TimeIndent;    // after the TAB, before the start time
    const std::array<ScheduleRow, 12>& Rows;
  } kTables[] = {
      {" Day Hour |     Time     |   Ruling Planet   |   Archangel", 59, "   ", "      ",
       schedule.DayRows},
      {" Night Hour |     Time     |   Ruling Planet   |   Archangel", 61, "    ", "       ",
       schedule.NightRows},
  };
  for (const auto& t : kTables) {
    Line(report);
    Line(report);
    Line(report);
    Line(report, t.Header);
    Line(report, kHyphens.substr(0, t.Rule));
    for (const ScheduleRow& row : t.Rows) {
      Line(report, t.NumberIndent, FormatTwoDigits(row.Number), ".\t", t.TimeIndent,
           FormatClock(row.Start), "\t\t", PlanetOf(table, row.Ruler), "\t\t  ",
           ArchangelOf(table, row.Ruler));
    }
  }
  return report;
}

}  // namespace engine
