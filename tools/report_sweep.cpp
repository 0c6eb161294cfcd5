// Prints what Compute shows for a fixed, large sweep of typed entries: each
// report, or the name of the first bad entry. Two builds of the program agree
// when their outputs are byte-identical, so the 32-bit x87 build is checked
// against the 64-bit one on this output.
//
//   report_sweep > reports.txt
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/rulers.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kMinutesPerDay = 1440;

std::string Pair(int n) {
  return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// A clock time of the day in one of the spellings the entries accept;
// `seconds` is written only when non-zero or the spelling asks for it.
std::string Spell(int minuteOfDay, int seconds, int spelling) {
  minuteOfDay = ((minuteOfDay % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
  const int hour = minuteOfDay / 60;
  const int minute = minuteOfDay % 60;
  const std::string tail = seconds != 0 || spelling == 3 ? ":" + Pair(seconds) : "";
  switch (spelling) {
    case 1:  // no leading zero, blanks around
      return " " + std::to_string(hour) + ":" + Pair(minute) + tail + "  ";
    case 2: {  // twelve-hour clock, marker in either case
      const int clock = hour % 12 == 0 ? 12 : hour % 12;
      const char* marker = hour < 12 ? (minute % 2 ? "am" : " AM") : (minute % 2 ? "PM" : " pm");
      return std::to_string(clock) + ":" + Pair(minute) + tail + marker;
    }
    default:
      return Pair(hour) + ":" + Pair(minute) + tail;
  }
}

struct Sweep {
  engine::ScheduleState State;
  long Reports = 0;
  long Refusals = 0;

  Sweep() { engine::FillRulerTable(State.RulerTable); }

  void Press(int day, const std::string& sunrise, const std::string& sunset,
             const std::string& next) {
    State.SelectedDay = static_cast<std::uint8_t>(day);
    const std::string_view dayName = ui::kDayNames[day - 1];
    const ui::ComputeDecision decision = ui::DecideCompute(sunrise, sunset, next, dayName, State);
    if (decision.Refused) {
      ++Refusals;
      const std::string_view name = decision.Refused->FocusControl;
      std::fwrite(name.data(), 1, name.size(), stdout);
      std::fputs("\r\n", stdout);
      return;
    }
    ++Reports;
    std::fwrite(decision.Report.data(), 1, decision.Report.size(), stdout);
  }
};

}  // namespace

int main() {
#ifdef _WIN32
  // The C runtime's text mode would write every LF as CR LF; the reports
  // leave as they are, so they compare byte for byte with other builds'.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  Sweep sweep;

  // Every minute of the day as sunrise, every weekday in turn, against
  // sunsets that make the day empty, a minute, odd lengths, half a day and a
  // swapped (negative) day, and next sunrises that make the night shorter,
  // exactly 24 hours less the day, and longer than 24 hours.
  const int kSunsetOffsets[] = {0, 1, 397, 720, -300};
  const int kNextOffsets[] = {0, -1, 7, -613};
  for (int m = 0; m < kMinutesPerDay; ++m) {
    const int day = m % 7 + 1;
    const int spelling = m % 4;
    for (int s : kSunsetOffsets) {
      for (int n : kNextOffsets) {
        sweep.Press(day, Spell(m, 0, spelling),
                    Spell(m + s, (m * 7 + s + 600) % 60, (spelling + 1) % 4),
                    Spell(m + n, (m * 13) % 60, (spelling + 2) % 4));
      }
    }
  }

  // Every pair of seconds on sunrise and sunset: lengths in whole seconds
  // whose twelfths land on half seconds.
  for (int a = 0; a < 60; ++a) {
    for (int b = 0; b < 60; ++b) {
      sweep.Press((a + b) % 7 + 1, Spell(5 * 60 + 30, a, 3), Spell(18 * 60 + 29, b, 0),
                  Spell(5 * 60 + 31, (a * b) % 60, 2));
    }
  }

  // Entries the press rejects, each in a different place.
  sweep.Press(1, "24:00", "18:30", "05:30");
  sweep.Press(2, "05:30", "13:00 PM", "05:30");
  sweep.Press(3, "05:30", "18:30", "5:60");

  std::fprintf(stderr,
               "report_sweep: %ld reports, and %ld presses refused as the sweep means them to be\n",
               sweep.Reports, sweep.Refusals);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
