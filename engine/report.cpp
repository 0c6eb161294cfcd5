#include "engine/report.h"

#include <algorithm>
#include <cstring>
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

// Writes pieces straight into the report's characters, which were sized once
// to a bound that real reports stay within: each piece checks its own room
// and grows the text when a piece would pass the end, so no bound can be
// overrun. Finish cuts the text to what was written.
class ReportWriter {
 public:
  ReportWriter(std::string& out, std::size_t bound) : out_(out) {
    out_.resize(bound);
    next_ = out_.data();
    end_ = next_ + out_.size();
  }
  ReportWriter& operator<<(std::string_view piece) {
    Room(piece.size());
    std::memcpy(next_, piece.data(), piece.size());
    next_ += piece.size();
    return *this;
  }
  ReportWriter& Clock(TimeValue t) {
    Room(kClockTextSize);
    next_ = WriteClock(next_, t);
    return *this;
  }
  ReportWriter& Number(double x) {
    Room(kMaxNumberTextSize);
    next_ = WriteNumber(next_, x);
    return *this;
  }
  ReportWriter& Hundredths(double x) {
    Room(kMaxNumberTextSize);
    next_ = WriteHundredths(next_, x);
    return *this;
  }
  ReportWriter& TwoDigits(int n) {
    Room(kMaxNumberTextSize);
    next_ = WriteTwoDigits(next_, n);
    return *this;
  }
  void Finish() { out_.resize(static_cast<std::size_t>(next_ - out_.data())); }

 private:
  void Room(std::size_t n) {
    if (static_cast<std::size_t>(end_ - next_) < n) Grow(n);
  }
  void Grow(std::size_t n) {
    const auto used = static_cast<std::size_t>(next_ - out_.data());
    out_.resize(std::max(2 * out_.size(), used + n));
    next_ = out_.data() + used;
    end_ = out_.data() + out_.size();
  }

  std::string& out_;
  char* next_ = nullptr;
  char* end_ = nullptr;
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
  ReportWriter w(report, kFixedTextBound + schedule.DayName.size() + 4 * kMaxNumberTextSize +
                             24 * longest_pair);
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
  w.Finish();
  return report;
}

}  // namespace engine
