// Time values, their arithmetic and their fixed text forms.
//
// A TimeValue counts days from midnight of 30 December 1899 (the OLE
// Automation date): the integer part is the day, the fraction the time of
// day. A bare clock time lies in [0, 1). Every text form here is built from
// digits by hand, so no locale can change a point into a comma.
#ifndef VELLAMIRE_ENGINE_TIME_VALUE_H_
#define VELLAMIRE_ENGINE_TIME_VALUE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

using TimeValue = double;  // OLE Automation date

// Reads a clock time in UTF-8: H:MM or HH:MM (hour 0-23), optionally :SS,
// optionally followed by AM or PM in any case, with one blank or none before
// it (hour 1-12 then; 12 AM is midnight, 12 PM noon); blanks around the text
// are ignored. A blank is a space, TAB, CR, LF, or a no-break (U+00A0),
// narrow no-break (U+202F), figure (U+2007) or thin (U+2009) space, as
// pasted text carries them. The value lies on day 0, in [0, 1).
// Gives nothing for any other text, including dates, signs, a second line
// and any other non-ASCII.
std::optional<TimeValue> ParseTime(std::string_view text);

// True exactly when ParseTime gives a value for `text`. Cannot fail.
bool IsTimeText(std::string_view text);

// t moved by n whole days. Cannot fail.
TimeValue AddDays(TimeValue t, int n);

// t moved by s seconds (t + s / 86400). Cannot fail.
TimeValue AddSeconds(TimeValue t, double s);

// A TimeValue broken into its day and the second of that day, rounded to the
// nearest whole second (a half up); a fraction that rounds to 86400 carries
// into the next day. Values beyond a billion days either way break as that
// limit, and NaN as 0, so no double gives an undefined result. Cannot fail.
struct BrokenTime {
  std::int64_t Day = 0;
  std::int32_t Second = 0;  // 0-86399
};
BrokenTime BreakTime(TimeValue t);

// Whole seconds from the epoch to t, rounded as BreakTime rounds. Cannot fail.
std::int64_t TotalSeconds(TimeValue t);

// The TimeValue of a whole number of seconds from the epoch. Cannot fail.
TimeValue FromTotalSeconds(std::int64_t seconds);

// Minute boundaries from a to b (seconds ignored after rounding); negative
// when b is earlier. Exact for values less than 4,000 years apart. Cannot fail.
std::int32_t MinutesBetween(TimeValue a, TimeValue b);

// Whole seconds from a to b; negative when b is earlier. Exact for values
// less than 68 years apart. Cannot fail.
std::int32_t SecondsBetween(TimeValue a, TimeValue b);

// "hh:mm AM" on the 12-hour clock; seconds and day not shown. Cannot fail.
std::string FormatClock(TimeValue t);

// x rounded to hundredths (a half away from zero) as "##.00": no leading
// zero, so 0.5 gives ".50" and 0 gives ".00". A negative x gets a leading
// "-"; magnitudes beyond 1e15 are written as 1e15, and NaN as 0. Cannot fail.
std::string FormatHundredths(double x);

// n with at least two digits: 1 gives "01"; a negative n gets a leading "-".
// Cannot fail.
std::string FormatTwoDigits(int n);

// The decimal digits of x rounded to a whole number (a half away from
// zero): 780 gives "780". A negative number gets a leading "-"; magnitudes
// beyond 1e17 are written as 1e17, and NaN as 0. Cannot fail.
std::string NumberText(double x);

}  // namespace engine

#endif  // VELLAMIRE_ENGINE_TIME_VALUE_H_
