// Prints what Compute shows for a fixed, large sweep of typed entries: each
// report, or the name of the first bad entry. Two builds of the program agree
// when their outputs are byte-identical, so the 32-bit x87 build is checked
// against the 64-bit one on this output. The sweep comes in named blocks
// (ForEachPress), so that a change can be found block by block.
//
//   report_sweep > reports.txt        every block's reports
//   report_sweep --cut DIR < reports.txt
//       cuts the output of this or another build into DIR/NAME.txt, one file
//       per block, and prints each block's name and number of cases
#include <cstdio>
#include <cstring>
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

// One press of Compute: the weekday (1 Sunday) and the entries as typed.
struct Press {
  int Day;
  std::string Sunrise, Sunset, NextSunrise;
};

// Calls visit(block, press) for every press of the sweep, in order. The
// blocks: "sunrise-HH", every minute of hour HH as sunrise (1,200 cases);
// "seconds", the pairs of sunrise and sunset seconds (3,600); "refused", the
// bad entries (3). Cannot fail.
template <typename Visit>
void ForEachPress(Visit visit) {
  // Every minute of the day as sunrise, every weekday in turn, against
  // sunsets that make the day empty, a minute, odd lengths, half a day and a
  // swapped (negative) day, and next sunrises that make the night shorter,
  // exactly 24 hours less the day, and longer than 24 hours.
  const int kSunsetOffsets[] = {0, 1, 397, 720, -300};
  const int kNextOffsets[] = {0, -1, 7, -613};
  for (int m = 0; m < kMinutesPerDay; ++m) {
    const std::string block = "sunrise-" + Pair(m / 60);
    const int spelling = m % 4;
    for (int s : kSunsetOffsets) {
      for (int n : kNextOffsets) {
        visit(block, Press{m % 7 + 1, Spell(m, 0, spelling),
                           Spell(m + s, (m * 7 + s + 600) % 60, (spelling + 1) % 4),
                           Spell(m + n, (m * 13) % 60, (spelling + 2) % 4)});
      }
    }
  }

  // Every pair of seconds on sunrise and sunset: lengths in whole seconds
  // whose twelfths land on half seconds.
  for (int a = 0; a < 60; ++a) {
    for (int b = 0; b < 60; ++b) {
      visit("seconds", Press{(a + b) % 7 + 1, Spell(5 * 60 + 30, a, 3), Spell(18 * 60 + 29, b, 0),
                             Spell(5 * 60 + 31, (a * b) % 60, 2)});
    }
  }

  // Entries the press rejects, each in a different place.
  visit("refused", Press{1, "24:00", "18:30", "05:30"});
  visit("refused", Press{2, "05:30", "13:00 PM", "05:30"});
  visit("refused", Press{3, "05:30", "18:30", "5:60"});
}

// What Compute shows for `press` through `state`, which carries over from
// press to press as in the window: the report, or the name of the first bad
// entry and CR LF. Sets `refused` to say which. Cannot fail.
std::string Shown(const Press& press, engine::ScheduleState& state, bool& refused) {
  state.SelectedDay = static_cast<std::uint8_t>(press.Day);
  const ui::ComputeDecision decision = ui::DecideCompute(
      press.Sunrise, press.Sunset, press.NextSunrise, ui::kDayNames[press.Day - 1], state);
  refused = decision.Refused.has_value();
  return refused ? std::string(decision.Refused->FocusControl) + "\r\n" : decision.Report;
}

// Whether `line` (without its CR LF) starts a case: a report's first line,
// or the control name of a refused entry ("txt...", which no report line
// starts with, in any build). Cannot fail.
bool StartsCase(std::string_view line) {
  return line.substr(0, 15) == "Selected Day : " || line.substr(0, 3) == "txt";
}

// The next case of a sweep's output from `at` on, every line with its CR LF;
// empty at the end. Moves `at` past it. Cannot fail.
std::string_view NextCase(std::string_view text, std::size_t& at) {
  const std::size_t begin = at;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 2;
    if (at > begin && StartsCase(text.substr(at, next - at - 2))) break;
    at = next;
  }
  return text.substr(begin, at - begin);
}

// Cuts a sweep's output, read from `in`, into one file per block in `dir`
// and prints each block's name and number of cases. Gives 1 when a file
// cannot be written or the output does not hold as many cases as the sweep.
int Cut(std::FILE* in, const std::string& dir) {
  std::string text;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  std::size_t at = 0;
  std::string block;
  std::FILE* out = nullptr;
  long cases = 0;
  bool ok = true;
  bool fewer = false;
  const auto close = [&] {
    if (out == nullptr) return;
    ok = std::fclose(out) == 0 && ok;
    std::printf("%s %ld\n", block.c_str(), cases);
  };
  ForEachPress([&](std::string_view name, const Press&) {
    if (name != block) {
      close();
      block = name;
      cases = 0;
      out = std::fopen((dir + "/" + block + ".txt").c_str(), "wb");
      ok = ok && out != nullptr;
    }
    const std::string_view shown = NextCase(text, at);
    fewer = fewer || shown.empty();
    ++cases;
    if (out != nullptr) std::fwrite(shown.data(), 1, shown.size(), out);
  });
  close();
  if (fewer || at < text.size()) {
    std::fprintf(stderr, "report_sweep: the output holds %s cases than the sweep\n",
                 fewer ? "fewer" : "more");
    return 1;
  }
  if (!ok) std::fprintf(stderr, "report_sweep: could not write the blocks into %s\n", dir.c_str());
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The C runtime's text mode would write every LF as CR LF, and read CR LF
  // as LF; the reports pass as they are, so they compare byte for byte with
  // other builds'.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  if (argc == 3 && std::strcmp(argv[1], "--cut") == 0) return Cut(stdin, argv[2]);
  if (argc != 1) {
    std::fputs("usage: report_sweep [--cut DIR < reports.txt]\n", stderr);
    return 2;
  }
  engine::ScheduleState state;
  engine::FillRulerTable(state.RulerTable);
  long reports = 0;
  long refusals = 0;
  ForEachPress([&](std::string_view, const Press& press) {
    bool refused = false;
    const std::string shown = Shown(press, state, refused);
    ++(refused ? refusals : reports);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
  });
  std::fprintf(stderr,
               "report_sweep: %ld reports, and %ld presses refused as the sweep means them to be\n",
               reports, refusals);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
