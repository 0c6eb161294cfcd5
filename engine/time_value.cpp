#include "engine/time_value.h"

#include <cfloat>
#include <cmath>

namespace engine {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

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

// x rounded to the nearest whole number, a half away from zero. Magnitudes
// beyond 1e17 count as 1e17 and NaN as 0, so the conversion to an integer is
// defined for every double. floor(x + 0.5) would round 0.49999999999999994
// up, so the fraction is compared instead.
std::int64_t RoundHalfAway(double x) {
  constexpr double kLimit = 1e17;
  const double magnitude = std::isnan(x) ? 0.0 : std::fmin(std::fabs(x), kLimit);
  const double whole = std::floor(magnitude);
  auto r = static_cast<std::int64_t>(whole);
  if (magnitude - whole >= 0.5) ++r;
  return x < 0 ? -r : r;
}

// The length in bytes of the blank that starts at `at` in s, or 0. A blank,
// around a time and before its marker, is the ASCII space, TAB, CR or LF, or
// one of the spaces pasted text carries, in UTF-8: no-break (U+00A0, C2 A0),
// narrow no-break (U+202F, E2 80 AF), figure (U+2007, E2 80 87) and thin
// (U+2009, E2 80 89) space.
std::size_t BlankAt(std::string_view s, std::size_t at) {
  const auto byte = [s](std::size_t k) -> unsigned {
    return k < s.size() ? static_cast<unsigned char>(s[k]) : 0;
  };
  const unsigned first = byte(at);
  if (first == ' ' || first == '\t' || first == '\r' || first == '\n') return 1;
  if (first == 0xC2 && byte(at + 1) == 0xA0) return 2;
  const unsigned third = byte(at + 2);
  if (first == 0xE2 && byte(at + 1) == 0x80 && (third == 0xAF || third == 0x87 || third == 0x89)) {
    return 3;
  }
  return 0;
}

// The length in bytes of the blank that ends s, or 0.
std::size_t BlankAtEnd(std::string_view s) {
  for (std::size_t length = 1; length <= 3 && length <= s.size(); ++length) {
    if (BlankAt(s, s.size() - length) == length) return length;
  }
  return 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int DigitValue(char c) { return c - '0'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

char Digit(std::uint64_t d) { return static_cast<char>('0' + d); }

// The decimal digits of v, at least `minDigits` of them, after a "-" when
// `negative`.
std::string Decimal(bool negative, std::uint64_t v, int minDigits) {
  char text[24];
  char* const end = text + sizeof text;
  char* p = end;
  do {
    *--p = Digit(v % 10);
    v /= 10;
  } while (v != 0 || end - p < minDigits);
  if (negative) *--p = '-';
  return std::string(p, end);
}

}  // namespace

std::optional<TimeValue> ParseTime(std::string_view text) {
  std::string_view s = text;
  while (const std::size_t n = BlankAt(s, 0)) s.remove_prefix(n);
  while (const std::size_t n = BlankAtEnd(s)) s.remove_suffix(n);

  std::size_t i = 0;
  auto digitAt = [&s](std::size_t k) { return k < s.size() && IsDigit(s[k]); };

  // Hour: one or two digits.
  if (!digitAt(i)) return std::nullopt;
  int hour = DigitValue(s[i++]);
  if (digitAt(i)) hour = hour * 10 + DigitValue(s[i++]);
  if (i >= s.size() || s[i] != ':') return std::nullopt;
  ++i;

  // Minute, and an optional second: exactly two digits each.
  auto twoDigits = [&](int& field) {
    if (!digitAt(i) || !digitAt(i + 1)) return false;
    field = DigitValue(s[i]) * 10 + DigitValue(s[i + 1]);
    i += 2;
    return true;
  };
  int minute = 0;
  int second = 0;
  if (!twoDigits(minute) || minute > 59) return std::nullopt;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!twoDigits(second) || second > 59) return std::nullopt;
  }

  // Optional AM/PM marker, one blank or none before it.
  i += BlankAt(s, i);
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

TimeValue AddSeconds(TimeValue t, double s) { return t + s / static_cast<double>(kSecondsPerDay); }

std::int64_t TotalSeconds(TimeValue t) {
  const BrokenTime broken = BreakTime(t);
  return broken.Day * kSecondsPerDay + broken.Second;
}

TimeValue FromTotalSeconds(std::int64_t seconds) {
  const std::int64_t day =
      seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  const std::int64_t rest = seconds - day * kSecondsPerDay;
  return static_cast<double>(day) + static_cast<double>(rest) / static_cast<double>(kSecondsPerDay);
}

BrokenTime BreakTime(TimeValue t) {
  // Beyond a billion days either way a value counts as that limit, and NaN
  // as 0, so the conversions below are defined for every double.
  constexpr double kMaxDays = 1e9;
  t = std::isnan(t) ? 0.0 : std::fmax(-kMaxDays, std::fmin(t, kMaxDays));
  const double day = std::floor(t);
  const double fractionSeconds = Narrow(Narrow(t - day) * static_cast<double>(kSecondsPerDay));
  // Rounding a half up by adding it is exact here: below 86400 a double
  // keeps halves, and a sum that passes a power of two still truncates to
  // the right whole number. The one sum that rounds up wrongly,
  // 0.49999999999999994 + 0.5 giving 1, lies below a half and so is 0.
  const auto second = fractionSeconds < 0.5 ? 0 : static_cast<std::int32_t>(fractionSeconds + 0.5);
  // A fraction that rounds to a whole day is the next day's first second.
  if (second == kSecondsPerDay) return {static_cast<std::int64_t>(day) + 1, 0};
  return {static_cast<std::int64_t>(day), second};
}

std::int32_t MinutesBetween(TimeValue a, TimeValue b) {
  const BrokenTime x = BreakTime(a);
  const BrokenTime y = BreakTime(b);
  return static_cast<std::int32_t>((y.Day - x.Day) * 1440 + y.Second / 60 - x.Second / 60);
}

std::int32_t SecondsBetween(TimeValue a, TimeValue b) {
  return static_cast<std::int32_t>(TotalSeconds(b) - TotalSeconds(a));
}

std::string FormatClock(TimeValue t) {
  const int minuteOfDay = BreakTime(t).Second / 60;
  const int hour = minuteOfDay / 60;
  const int minute = minuteOfDay % 60;
  const int clockHour = hour % 12 == 0 ? 12 : hour % 12;
  const char text[] = {Digit(clockHour / 10),
                       Digit(clockHour % 10),
                       ':',
                       Digit(minute / 10),
                       Digit(minute % 10),
                       ' ',
                       hour < 12 ? 'A' : 'P',
                       'M'};
  return std::string(text, sizeof text);
}

std::string FormatHundredths(double x) {
  const std::int64_t hundredths = RoundHalfAway(Narrow(x * 100.0));
  const auto magnitude = static_cast<std::uint64_t>(hundredths < 0 ? -hundredths : hundredths);
  // The whole part without leading zeros, and no digit at all when it is 0.
  std::string text = magnitude >= 100 ? Decimal(hundredths < 0, magnitude / 100, 1)
                                      : std::string(hundredths < 0 ? "-" : "");
  text += '.';
  text += Digit(magnitude / 10 % 10);
  text += Digit(magnitude % 10);
  return text;
}

std::string FormatTwoDigits(int n) {
  // The magnitude is taken in unsigned arithmetic, so INT_MIN is fine too.
  const auto asUnsigned = static_cast<unsigned>(n);
  return Decimal(n < 0, n < 0 ? 0u - asUnsigned : asUnsigned, 2);
}

std::string NumberText(double x) {
  const std::int64_t whole = RoundHalfAway(x);
  return Decimal(whole < 0, static_cast<std::uint64_t>(whole < 0 ? -whole : whole), 1);
}

}  // namespace engine
