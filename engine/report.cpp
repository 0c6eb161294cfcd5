#include "engine/report.h"

#include <algorithm>
#include <string_view>

namespace engine {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kDayHeader =
    " Day Hour |     Time     |   Ruling Planet   |   Archangel";
constexpr std::string_view kNightHeader =
    " Night Hour |     Time     |   Ruling Planet   |   Archangel";
constexpr std::string_view kHyphens =
    "-------------------------------------------------------------";  // 61

// Characters of one report apart from the day name, the numbers and the
// ruler names, rounded up; checked against real reports by the tests.
constexpr std::size_t kFixedTextBound = 1536;

// Appends pieces to a report whose capacity was reserved once.
class ReportWriter {
 public:
  explicit ReportWriter(std::string& out) : out_(out) {}
  ReportWriter& operator<<(std::string_view piece) {
    out_.append(piece);
    return *this;
  }
  ReportWriter& Clock(TimeValue t) {
    char buffer[kClockTextSize];
    out_.append(buffer, WriteClock(buffer, t));
    return *this;
  }
  ReportWriter& Number(double x) {
    char buffer[kMaxNumberTextSize];
    out_.append(buffer, WriteNumber(buffer, x));
    return *this;
  }
  ReportWriter& Hundredths(double x) {
    char buffer[kMaxNumberTextSize];
    out_.append(buffer, WriteHundredths(buffer, x));
    return *this;
  }
  ReportWriter& TwoDigits(int n) {
    char buffer[kMaxNumberTextSize];
    out_.append(buffer, WriteTwoDigits(buffer, n));
    return *this;
  }

 private:
  std::string& out_;
};

void WriteRows(ReportWriter& w, const std::array<ScheduleRow, 12>& rows,
               std::string_view lead, std::string_view time_lead, const RulerTable& table) {
  for (const ScheduleRow& row : rows) {
    w << lead;
    w.TwoDigits(row.Number) << ".\t" << time_lead;
    w.Clock(row.Start) << "\t\t" << PlanetOf(table, row.Ruler) << "\t\t  "
                       << ArchangelOf(table, row.Ruler) << kEol;
  }
}

}  // namespace

std::string RenderReport(const Schedule& schedule, const RulerTable& table) {
  std::size_t longest_pair = 0;
  for (RulerNumber r = 1; r <= 7; ++r) {
    longest_pair = std::max(longest_pair, PlanetOf(table, r).size() + ArchangelOf(table, r).size());
  }
  std::string report;
  report.reserve(kFixedTextBound + schedule.DayName.size() + 4 * kMaxNumberTextSize +
                 24 * longest_pair);

  ReportWriter w(report);
  w << "Selected Day : " << schedule.DayName << kEol << kEol;
  w << "Sunrise = ";
  w.Clock(schedule.SunriseTime) << "\tSunset = ";
  w.Clock(schedule.SunsetTime) << "\tNext Sunrise = ";
  w.Clock(schedule.NextSunriseTime) << kEol << kEol;
  w << "Length of Day \t = ";
  w.Number(schedule.DayMinutes) << " minutes\t\tDay Hour Length   = ";
  w.Hundredths(schedule.DayHourMinutes) << " minutes" << kEol;
  w << "Length of Night  = ";
  w.Number(schedule.NightMinutes) << " minutes\t\tNight Hour Length = ";
  w.Hundredths(schedule.NightHourMinutes) << " minutes" << kEol;
  w << kEol << kEol << kEol;

  w << kDayHeader << kEol << kHyphens.substr(0, 59) << kEol;
  WriteRows(w, schedule.DayRows, "   ", "      ", table);
  w << kEol << kEol << kEol;

  w << kNightHeader << kEol << kHyphens << kEol;
  WriteRows(w, schedule.NightRows, "    ", "       ", table);
  return report;
}

}  // namespace engine
