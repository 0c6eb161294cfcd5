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

// A report is written at a plain cursor into its text, which was sized once
// to a bound real reports stay within. Before each line the writer makes room
// for the longest that line can be, growing the text if needed, so no bound
// can be overrun; the cursor stays a local value, never stored between
// pieces.
char* GrowFor(std::string& text, char* at, std::size_t n) {
  const auto used = static_cast<std::size_t>(at - text.data());
  text.resize(std::max(2 * text.size(), used + n));
  return text.data() + used;
}

// The cursor `at`, or where it moved to, with room for n more characters.
inline char* Room(std::string& text, char* at, std::size_t n) {
  if (static_cast<std::size_t>(text.data() + text.size() - at) >= n) return at;
  return GrowFor(text, at, n);
}

inline char* Put(char* at, std::string_view piece) {
  std::memcpy(at, piece.data(), piece.size());
  return at + piece.size();
}

constexpr std::string_view kNumberEnd = ".\t";
constexpr std::string_view kAfterClock = "\t\t";
constexpr std::string_view kAfterPlanet = "\t\t  ";

// A table row is "<lead><nn>.\t<time lead><clock>\t\t<planet>\t\t  <archangel>"
// and a line end. Rows are the bulk of a report, and within a table every
// row starts alike and every row of one ruler ends alike, so those two parts
// are laid out once in blocks and each row copies them whole: a copy of a
// fixed kBlock characters is a few moves, and what follows a part is written
// over the rest of the block. A block that cannot hold its part, or a row
// number that is not two digits, sends the row down the piece-by-piece path.
constexpr std::size_t kBlock = 64;

struct Block {
  char Text[kBlock];
  std::size_t Size;
  bool Fits;
};

// Lays out the row start, with "00" in place of the number, in `b`. Blocks
// are filled where they stay: a block built elsewhere and copied would be
// read whole right after its bytes were written one piece at a time.
void FillRowStart(Block& b, std::string_view lead, std::string_view time_lead) {
  b.Fits = lead.size() + 2 + kNumberEnd.size() + time_lead.size() <= kBlock;
  b.Size = 0;
  if (!b.Fits) return;
  char* at = Put(Put(Put(Put(b.Text, lead), "00"), kNumberEnd), time_lead);
  b.Size = static_cast<std::size_t>(at - b.Text);
}

// Lays out the row end of ruler r in `b`.
void FillRowEnd(Block& b, const RulerTable& table, RulerNumber r) {
  const std::string& planet = PlanetOf(table, r);
  const std::string& archangel = ArchangelOf(table, r);
  b.Fits = kAfterClock.size() + planet.size() + kAfterPlanet.size() + archangel.size() +
               kEol.size() <= kBlock;
  b.Size = 0;
  if (!b.Fits) return;
  char* at = Put(Put(Put(Put(Put(b.Text, kAfterClock), planet), kAfterPlanet), archangel), kEol);
  b.Size = static_cast<std::size_t>(at - b.Text);
}

// Row ends by ruler; entry 0 stands for every number that names no ruler.
using RowEnds = std::array<Block, 8>;

char* WriteRowInPieces(std::string& text, char* at, const ScheduleRow& row,
                       std::string_view lead, std::string_view time_lead,
                       const RulerTable& table) {
  const std::string& planet = PlanetOf(table, row.Ruler);
  const std::string& archangel = ArchangelOf(table, row.Ruler);
  at = Room(text, at,
            lead.size() + kMaxNumberTextSize + kNumberEnd.size() + time_lead.size() +
                kClockTextSize + kAfterClock.size() + planet.size() + kAfterPlanet.size() +
                archangel.size() + kEol.size());
  at = Put(at, lead);
  at = WriteTwoDigits(at, row.Number);
  at = Put(at, kNumberEnd);
  at = Put(at, time_lead);
  at = WriteClock(at, row.Start);
  at = Put(at, kAfterClock);
  at = Put(at, planet);
  at = Put(at, kAfterPlanet);
  at = Put(at, archangel);
  return Put(at, kEol);
}

char* WriteRows(std::string& text, char* at, const std::array<ScheduleRow, 12>& rows,
                std::string_view lead, std::string_view time_lead, const RulerTable& table,
                const RowEnds& ends) {
  Block start;
  FillRowStart(start, lead, time_lead);
  for (const ScheduleRow& row : rows) {
    const Block& end = ends[row.Ruler < ends.size() ? row.Ruler : 0];
    if (!start.Fits || !end.Fits || row.Number < 0 || row.Number > 99) {
      at = WriteRowInPieces(text, at, row, lead, time_lead, table);
      continue;
    }
    // Each block copy writes kBlock characters, however few it keeps.
    at = Room(text, at, kBlock + kClockTextSize + kBlock);
    std::memcpy(at, start.Text, kBlock);
    at[lead.size()] = static_cast<char>('0' + row.Number / 10);
    at[lead.size() + 1] = static_cast<char>('0' + row.Number % 10);
    at = WriteClock(at + start.Size, row.Start);
    std::memcpy(at, end.Text, kBlock);
    at += end.Size;
  }
  return at;
}

}  // namespace

std::string RenderReport(const Schedule& schedule, const RulerTable& table) {
  std::size_t longest_pair = 0;
  for (RulerNumber r = 1; r <= 7; ++r) {
    longest_pair = std::max(longest_pair, PlanetOf(table, r).size() + ArchangelOf(table, r).size());
  }
  std::string report;
  report.resize(kFixedTextBound + schedule.DayName.size() + 4 * kMaxNumberTextSize +
                24 * longest_pair);
  char* at = report.data();

  constexpr std::string_view kDayLead = "Selected Day : ";
  at = Room(report, at, kDayLead.size() + schedule.DayName.size() + 2 * kEol.size());
  at = Put(at, kDayLead);
  at = Put(at, schedule.DayName);
  at = Put(at, kEol);
  at = Put(at, kEol);

  constexpr std::string_view kSunrise = "Sunrise = ";
  constexpr std::string_view kSunset = "\tSunset = ";
  constexpr std::string_view kNextSunrise = "\tNext Sunrise = ";
  at = Room(report, at,
            kSunrise.size() + kSunset.size() + kNextSunrise.size() + 3 * kClockTextSize +
                2 * kEol.size());
  at = Put(at, kSunrise);
  at = WriteClock(at, schedule.SunriseTime);
  at = Put(at, kSunset);
  at = WriteClock(at, schedule.SunsetTime);
  at = Put(at, kNextSunrise);
  at = WriteClock(at, schedule.NextSunriseTime);
  at = Put(at, kEol);
  at = Put(at, kEol);

  // The two length lines, each with a whole number and one in hundredths.
  constexpr std::string_view kMinutes = " minutes";
  const struct {
    std::string_view Lead;
    double Length;
    std::string_view HourLead;
    double HourLength;
  } kLengths[] = {
      {"Length of Day \t = ", schedule.DayMinutes, " minutes\t\tDay Hour Length   = ",
       schedule.DayHourMinutes},
      {"Length of Night  = ", schedule.NightMinutes, " minutes\t\tNight Hour Length = ",
       schedule.NightHourMinutes},
  };
  for (const auto& line : kLengths) {
    at = Room(report, at,
              line.Lead.size() + line.HourLead.size() + kMinutes.size() + kEol.size() +
                  2 * kMaxNumberTextSize);
    at = Put(at, line.Lead);
    at = WriteNumber(at, line.Length);
    at = Put(at, line.HourLead);
    at = WriteHundredths(at, line.HourLength);
    at = Put(at, kMinutes);
    at = Put(at, kEol);
  }

  // Three blank lines, a table's header and its rule.
  const auto put_table_head = [&report](char* to, std::string_view header, std::string_view rule) {
    to = Room(report, to, 5 * kEol.size() + header.size() + rule.size());
    for (int blank = 0; blank < 3; ++blank) to = Put(to, kEol);
    to = Put(to, header);
    to = Put(to, kEol);
    to = Put(to, rule);
    return Put(to, kEol);
  };

  at = put_table_head(at, kDayHeader, kHyphens.substr(0, 59));
  RowEnds ends;
  for (RulerNumber r = 0; r < ends.size(); ++r) FillRowEnd(ends[r], table, r);
  at = WriteRows(report, at, schedule.DayRows, "   ", "      ", table, ends);

  at = put_table_head(at, kNightHeader, kHyphens);
  at = WriteRows(report, at, schedule.NightRows, "    ", "       ", table, ends);

  report.resize(static_cast<std::size_t>(at - report.data()));
  return report;
}

}  // namespace engine
