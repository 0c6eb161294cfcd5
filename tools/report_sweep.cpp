// Prints what Compute shows for a fixed, large sweep of typed entries: each
// report, or the name of the first bad entry. Two builds of the program agree
// when their outputs are byte-identical, so the 32-bit x87 build is checked
// against the 64-bit one on this output. The sweep is cut into named blocks
// (see ForEachPress), so that a change can be found block by block.
//
//   report_sweep > reports.txt            every block's reports
//   report_sweep --block NAME             one block's reports, the same bytes
//   report_sweep --blocks > reports.txt   every block's reports, and on the
//       error output a line per block, "block NAME CASES SHA256", and one
//       for them all, "all CASES SHA256"
//   report_sweep --diff [--block NAME] < other.txt
//       compares another build's whole output with this build's, case by
//       case, and prints the first differing cases of each block and the
//       blocks that differ; ends with 1 when any case differs.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rulers.h"
#include "tools/sha256.h"
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

// One block's cases as they go by.
struct Block {
  std::string Name;
  long Cases = 0;
  long Differing = 0;
  tools::Sha256 Hash;
};

// The text of the next case in another build's output, from `at` on: 40
// lines when it starts as a report does, otherwise one; every line ends in
// CR LF. Gives what is left when the text ends sooner. Moves `at` past it.
std::string_view NextShown(std::string_view other, std::size_t& at) {
  const std::size_t begin = at;
  const int lines = other.compare(at, 15, "Selected Day : ") == 0 ? 40 : 1;
  for (int i = 0; i < lines && at < other.size(); ++i) {
    const std::size_t end = other.find("\r\n", at);
    at = end == std::string_view::npos ? other.size() : end + 2;
  }
  return other.substr(begin, at - begin);
}

// Line `n` (0 for the first) of a case's text without its CR LF, with each
// TAB written as \t so that it shows; "(none)" past the last line.
std::string LineOf(std::string_view text, int n) {
  for (; n > 0 && !text.empty(); --n) {
    const std::size_t end = text.find("\r\n");
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  }
  if (text.empty()) return "(none)";
  std::string line;
  for (char c : text.substr(0, text.find("\r\n"))) line += c == '\t' ? "\\t" : std::string(1, c);
  return line;
}

// Prints a differing case: its entries, and each line that differs.
void PrintDifference(const Block& block, const Press& press, std::string_view other,
                     std::string_view mine) {
  std::printf("%s, case %ld: %s, entries \"%s\" \"%s\" \"%s\"\n", block.Name.c_str(), block.Cases,
              std::string(ui::kDayNames[press.Day - 1]).c_str(), press.Sunrise.c_str(),
              press.Sunset.c_str(), press.NextSunrise.c_str());
  for (int n = 0; n < 40; ++n) {
    const std::string was = LineOf(other, n);
    const std::string now = LineOf(mine, n);
    if (was == now) continue;
    std::printf("  line %2d  other: %s\n           this:  %s\n", n + 1, was.c_str(), now.c_str());
  }
}

// All that `in` gives. Gives what came before an error, if one ends it.
std::string ReadAll(std::FILE* in) {
  std::string text;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  return text;
}

// Says how the program is called. Gives the exit status of a wrong call.
int Usage() {
  std::fputs("usage: report_sweep [--block NAME | --blocks | --diff [--block NAME] < other]\n",
             stderr);
  return 2;
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
  bool listBlocks = false;
  bool diff = false;
  std::string only;  // the one block to print or compare; empty for all
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--blocks") == 0) {
      listBlocks = true;
    } else if (std::strcmp(argv[i], "--diff") == 0) {
      diff = true;
    } else if (std::strcmp(argv[i], "--block") == 0 && i + 1 < argc) {
      only = argv[++i];
    } else {
      return Usage();
    }
  }
  if (listBlocks && (diff || !only.empty())) return Usage();

  const std::string other = diff ? ReadAll(stdin) : std::string();
  std::size_t otherAt = 0;
  const int kShownPerBlock = 3;

  engine::ScheduleState state;
  engine::FillRulerTable(state.RulerTable);
  std::vector<Block> blocks;
  Block all;  // every block together
  long reports = 0;
  long refusals = 0;
  // Every press is computed, printed or not, so that a block's reports are
  // the same bytes alone as within the whole sweep.
  ForEachPress([&](std::string_view name, const Press& press) {
    if (blocks.empty() || blocks.back().Name != name) {
      blocks.emplace_back();
      blocks.back().Name = name;
    }
    Block& block = blocks.back();
    bool refused = false;
    const std::string shown = Shown(press, state, refused);
    ++block.Cases;
    if (listBlocks) {
      tools::AddBytes(block.Hash, shown);
      tools::AddBytes(all.Hash, shown);
    }
    if (!only.empty() && name != only) {
      if (diff) NextShown(other, otherAt);
      return;
    }
    if (diff) {
      const std::string_view was = NextShown(other, otherAt);
      if (was != shown && ++block.Differing <= kShownPerBlock) {
        PrintDifference(block, press, was, shown);
      }
      return;
    }
    ++(refused ? refusals : reports);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
  });

  long differing = 0;
  int blocksDiffering = 0;
  bool found = only.empty();
  for (const Block& block : blocks) {
    found = found || block.Name == only;
    all.Cases += block.Cases;
    if (listBlocks) {
      std::fprintf(stderr, "block %s %ld %s\n", block.Name.c_str(), block.Cases,
                   tools::HexDigest(block.Hash).c_str());
    }
    if (block.Differing > 0) {
      std::printf("%s: %ld of %ld cases differ\n", block.Name.c_str(), block.Differing,
                  block.Cases);
      differing += block.Differing;
      ++blocksDiffering;
    }
  }
  if (!found) {
    std::fprintf(stderr, "report_sweep: no block %s; the blocks are", only.c_str());
    for (const Block& block : blocks) std::fprintf(stderr, " %s", block.Name.c_str());
    std::fputs("\n", stderr);
    return 2;
  }
  if (listBlocks) {
    std::fprintf(stderr, "all %ld %s\n", all.Cases, tools::HexDigest(all.Hash).c_str());
  }
  if (diff) {
    const bool longer = only.empty() && otherAt < other.size();
    if (longer) std::printf("the other output goes on after the last case\n");
    std::printf("%d of %d blocks differ, %ld cases in all\n", blocksDiffering,
                static_cast<int>(blocks.size()), differing);
    return differing > 0 || longer ? 1 : 0;
  }
  std::fprintf(stderr,
               "report_sweep: %ld reports, and %ld presses refused as the sweep means them to be\n",
               reports, refusals);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
