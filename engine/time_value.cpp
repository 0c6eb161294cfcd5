#include "engine/time_value.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace engine {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Values farther from the epoch than this many days are clamped before they
// are turned into integers (about 2.7 million years), so no conversion
// overflows.
constexpr double kMaxDays = 1e9;

// Forces an intermediate result to a 64-bit double on FPUs that keep more
// precision in registers (x87), so rounding does not depend on whether the
// compiler spilled the value.
inline double Narrow(double v) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
  volatile double narrowed = v;
  return narrowed;
#else
  return v;
#endif
}

// x rounded to the nearest whole number, a half away from zero, for |x|
// well inside the int64 range. floor(x + 0.5) would round 0.49999999999999994
// up, so the fraction is compared instead.
std::int64_t RoundHalfAway(double x) {
  const double magnitude = std::fabs(x);
  const double whole = std::floor(magnitude);
  auto r = static_cast<std::int64_t>(whole);
  if (magnitude - whole >= 0.5) ++r;
  return x < 0 ? -r : r;
}

std::int32_t SaturateToInt32(std::int64_t v) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v < lo ? lo : (v > hi ? hi : v));
}

// A time as its whole day and the second of that day, rounded to the nearest
// second (a half up), where 86400 stands for the next day's second 0: the
// carry is left to the caller. Values beyond kMaxDays days are clamped and
// NaN counts as 0, so nothing overflows.
struct SplitTime {
  std::int64_t Day;
  std::int32_t Second;  // 0-86400
};

SplitTime SplitRounded(TimeValue t) {
  if (!(t >= -kMaxDays)) t = std::isnan(t) ? 0.0 : -kMaxDays;
  if (t > kMaxDays) t = kMaxDays;
  // Once clamped, t is far inside the int64 range, so truncation toward
  // zero corrected by one below gives the floor.
  auto day = static_cast<std::int64_t>(t);
  if (static_cast<double>(day) > t) --day;
  const double fraction_seconds =
      Narrow(Narrow(t - static_cast<double>(day)) * static_cast<double>(kSecondsPerDay));
  // Rounding a half up by adding it is exact here: below 86400 a double
  // keeps halves, and a sum that passes a power of two still truncates to
  // the right whole number. The one sum that rounds up wrongly,
  // 0.49999999999999994 + 0.5 giving 1, lies below a half and so is 0.
  const auto second =
      fraction_seconds < 0.5 ? 0 : static_cast<std::int32_t>(fraction_seconds + 0.5);
  return {day, second};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int DigitValue(char c) { return c - '0'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Writes the decimal digits of v, most significant first.
char* WriteDigits(char* out, std::uint64_t v) {
  char reversed[20];
  int n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) *out++ = reversed[--n];
  return out;
}

// "hh:mm AM" for every minute of the day, so a clock text is one lookup.
struct ClockTexts {
  char Text[1440][kClockTextSize];
};

constexpr ClockTexts MakeClockTexts() {
  ClockTexts texts{};
  for (unsigned m = 0; m < 1440; ++m) {
    const unsigned hour = m / 60;
    const unsigned minute = m % 60;
    const unsigned clock_hour = hour % 12 == 0 ? 12 : hour % 12;
    char* text = texts.Text[m];
    text[0] = static_cast<char>('0' + clock_hour / 10);
    text[1] = static_cast<char>('0' + clock_hour % 10);
    text[2] = ':';
    text[3] = static_cast<char>('0' + minute / 10);
    text[4] = static_cast<char>('0' + minute % 10);
    text[5] = ' ';
    text[6] = hour < 12 ? 'A' : 'P';
    text[7] = 'M';
  }
  return texts;
}

constexpr ClockTexts kClockTexts = MakeClockTexts();

char* WritePair(char* out, unsigned v) {
  *out++ = static_cast<char>('0' + v / 10);
  *out++ = static_cast<char>('0' + v % 10);
  return out;
}

}  // namespace

std::optional<TimeValue> ParseTime(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string_view s = text.substr(begin, end - begin);

  std::size_t i = 0;
  auto digit_at = [&s](std::size_t k) { return k < s.size() && IsDigit(s[k]); };

  // Hour: one or two digits.
  if (!digit_at(i)) return std::nullopt;
  int hour = DigitValue(s[i++]);
  if (digit_at(i)) hour = hour * 10 + DigitValue(s[i++]);
  if (i >= s.size() || s[i] != ':') return std::nullopt;
  ++i;

  // Minute, and an optional second: exactly two digits each.
  auto two_digits = [&](int& field) {
    if (!digit_at(i) || !digit_at(i + 1)) return false;
    field = DigitValue(s[i]) * 10 + DigitValue(s[i + 1]);
    i += 2;
    return true;
  };
  int minute = 0;
  int second = 0;
  if (!two_digits(minute) || minute > 59) return std::nullopt;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!two_digits(second) || second > 59) return std::nullopt;
  }

  // Optional AM/PM marker, one blank or none before it.
  if (i < s.size() && s[i] == ' ') ++i;
  if (i < s.size()) {
    if (s.size() - i != 2 || Lower(s[i + 1]) != 'm') return std::nullopt;
    const char marker = Lower(s[i]);
    if (marker != 'a' && marker != 'p') return std::nullopt;
    if (hour < 1 || hour > 12) return std::nullopt;
    hour %= 12;
    if (marker == 'p') hour += 12;
  }
  if (hour > 23) return std::nullopt;

  const int seconds = hour * 3600 + minute * 60 + second;
  return static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
}

bool IsTimeText(std::string_view text) { return ParseTime(text).has_value(); }

TimeValue AddDays(TimeValue t, int n) { return t + n; }

TimeValue AddSeconds(TimeValue t, double s) {
  return t + s / static_cast<double>(kSecondsPerDay);
}

std::int64_t TotalSeconds(TimeValue t) {
  const SplitTime split = SplitRounded(t);
  return split.Day * kSecondsPerDay + split.Second;
}

TimeValue FromTotalSeconds(std::int64_t seconds) {
  const std::int64_t day = seconds >= 0 ? seconds / kSecondsPerDay
                                        : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  const std::int64_t rest = seconds - day * kSecondsPerDay;
  return static_cast<double>(day) +
         static_cast<double>(rest) / static_cast<double>(kSecondsPerDay);
}

BrokenTime BreakTime(TimeValue t) {
  const std::int64_t total = TotalSeconds(t);
  std::int64_t day = total / kSecondsPerDay;
  std::int64_t second = total % kSecondsPerDay;
  if (second < 0) {
    second += kSecondsPerDay;
    --day;
  }
  return {day, static_cast<std::int32_t>(second)};
}

std::int32_t MinutesBetween(TimeValue a, TimeValue b) {
  const BrokenTime x = BreakTime(a);
  const BrokenTime y = BreakTime(b);
  return SaturateToInt32((y.Day - x.Day) * 1440 + y.Second / 60 - x.Second / 60);
}

std::int32_t SecondsBetween(TimeValue a, TimeValue b) {
  return SaturateToInt32(TotalSeconds(b) - TotalSeconds(a));
}

char* WriteClock(char* out, TimeValue t) {
  // The day's whole multiple of 86400 seconds drops out; a fraction that
  // rounds to 86400 is second 0 of the next day.
  std::int32_t second = SplitRounded(t).Second;
  if (second == kSecondsPerDay) second = 0;
  std::memcpy(out, kClockTexts.Text[second / 60], kClockTextSize);
  return out + kClockTextSize;
}

char* WriteHundredths(char* out, double x) {
  if (std::isnan(x)) x = 0.0;
  constexpr double kLimit = 1e15;
  if (x > kLimit) x = kLimit;
  if (x < -kLimit) x = -kLimit;
  const std::int64_t hundredths = RoundHalfAway(Narrow(x * 100.0));
  const std::uint64_t magnitude =
      static_cast<std::uint64_t>(hundredths < 0 ? -hundredths : hundredths);
  if (hundredths < 0) *out++ = '-';
  if (magnitude >= 100) out = WriteDigits(out, magnitude / 100);
  *out++ = '.';
  return WritePair(out, static_cast<unsigned>(magnitude % 100));
}

char* WriteTwoDigits(char* out, int n) {
  if (n >= 0 && n < 100) return WritePair(out, static_cast<unsigned>(n));
  // The magnitude is taken in unsigned arithmetic, so INT_MIN is fine too.
  const auto as_unsigned = static_cast<unsigned>(n);
  const unsigned magnitude = n < 0 ? 0u - as_unsigned : as_unsigned;
  if (n < 0) *out++ = '-';
  if (magnitude < 10) *out++ = '0';
  return WriteDigits(out, magnitude);
}

char* WriteNumber(char* out, double x) {
  if (std::isnan(x)) x = 0.0;
  constexpr double kLimit = 1e18;
  if (x > kLimit) x = kLimit;
  if (x < -kLimit) x = -kLimit;
  const std::int64_t whole = RoundHalfAway(x);
  if (whole < 0) *out++ = '-';
  return WriteDigits(out, static_cast<std::uint64_t>(whole < 0 ? -whole : whole));
}

std::string FormatClock(TimeValue t) {
  char buffer[kClockTextSize];
  return std::string(buffer, WriteClock(buffer, t));
}

std::string FormatHundredths(double x) {
  char buffer[kMaxNumberTextSize];
  return std::string(buffer, WriteHundredths(buffer, x));
}

std::string FormatTwoDigits(int n) {
  char buffer[kMaxNumberTextSize];
  return std::string(buffer, WriteTwoDigits(buffer, n));
}

std::string NumberText(double x) {
  char buffer[kMaxNumberTextSize];
  return std::string(buffer, WriteNumber(buffer, x));
}

}  // namespace engine
