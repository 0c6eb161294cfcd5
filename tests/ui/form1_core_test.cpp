#include <gtest/gtest.h>

#include <string>

#include "tests/support.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"

namespace ui {
namespace {

using test_support::LoadedState;

TEST(AccessibleNameOf, DropsTheTrailingColonAndBlanks) {
  const struct {
    const char* Label;
    std::string_view Accessible;
  } kCases[] = {
      {"Label1", "Sunrise"},
      {"Label2", "Sunset"},
      {"Label3", "Sunrise (next day)"},
      {"Label4", "Day of the week"},
  };
  for (const auto& c : kCases) EXPECT_EQ(AccessibleNameOf(*FindControl(c.Label)), c.Accessible);
}

TEST(FindControl, GivesTheTablesOwnEntryAtItsPlace) {
  for (int i = 0; i < kForm1ControlCount; ++i) {
    const ControlDef* found = FindControl(kForm1Controls[i].Name);
    ASSERT_EQ(found, &kForm1Controls[i]) << kForm1Controls[i].Name;
    EXPECT_EQ(PlaceOf(*found), i) << kForm1Controls[i].Name;
  }
}

TEST(FindControl, NamesNotInTheTableGiveNothing) {
  const char* kCases[] = {
      "Label5",      // a number past the labels
      "",            // no name
      "txtsunrise",  // a control's name in another case
      "Text1 ",      // a control's name with a blank after it
      "Form1",       // the window, which is no control
  };
  for (const char* name : kCases) EXPECT_EQ(FindControl(name), nullptr) << '"' << name << '"';
}

TEST(SelectedDayFor, ListPositionsToWeekdays) {
  const struct {
    int Position;
    int Day;
  } kCases[] = {{-1, 0}, {0, 1}, {1, 2}, {5, 6}, {6, 7}};
  for (const auto& c : kCases) EXPECT_EQ(SelectedDayFor(c.Position), c.Day) << c.Position;
}

TEST(TwipsToPixels, ScalesWithTheScreen) {
  const struct {
    int Twips, Dpi, Pixels;
  } kCases[] = {{9405, 96, 627}, {6840, 96, 456}, {9405, 144, 941}, {15, 192, 2}, {0, 96, 0}};
  for (const auto& c : kCases) EXPECT_EQ(TwipsToPixels(c.Twips, c.Dpi), c.Pixels) << c.Twips;
}

TEST(DecideCompute, GoodEntriesGiveTheReport) {
  // Entries in three spellings on a Tuesday: each shows in its own place,
  // and the rulers follow the state's weekday, not the name shown.
  engine::ScheduleState state = LoadedState(3);
  const ComputeDecision decision = DecideCompute(" 6:12 am", "5:48PM", "06:13:00", "Tues", state);
  EXPECT_FALSE(decision.Refused.has_value());
  const std::string_view kStart =
      "Selected Day : Tues\r\n"
      "\r\n"
      "Sunrise = 06:12 AM\tSunset = 05:48 PM\tNext Sunrise = 06:13 AM\r\n"
      "\r\n"
      "Length of Day \t = 696 minutes\t\tDay Hour Length   = 58.00 minutes\r\n"
      "Length of Night  = 745 minutes\t\tNight Hour Length = 62.08 minutes\r\n";
  EXPECT_EQ(decision.Report.substr(0, kStart.size()), kStart);
  EXPECT_NE(decision.Report.find("\r\n   01.\t      06:12 AM\t\tMars\t\t  Samael\r\n"),
            std::string::npos);
  EXPECT_NE(decision.Report.find("\r\n    12.\t       05:10 AM\t\tVenus\t\t  Anael\r\n"),
            std::string::npos);
  EXPECT_EQ(state.DayLength, 696 * 60);  // whole seconds
}

TEST(DecideCompute, NamesTheFirstBadEntryAndChangesNothing) {
  const struct {
    const char* Sunrise;
    const char* Sunset;
    const char* Next;
    TimeEntry Bad;
    const char* Control;
    const char* Message;
  } kCases[] = {
      {"x", "y", "z", TimeEntry::Sunrise, "txtSunrise",
       "Please make sure the Sunrise entry is a Time value in the Hour:Minute format"},
      {"", "05:30", "05:30", TimeEntry::Sunrise, "txtSunrise",
       "Please make sure the Sunrise entry is a Time value in the Hour:Minute format"},
      {"05:30", "24:00", "", TimeEntry::Sunset, "txtSunset",
       "Please make sure the Sunset entry is a Time value in the Hour:Minute format"},
      {"05:30", "18:30", "12:60", TimeEntry::NextSunrise, "txtNextSunrise",
       "Please make sure the Next Sunrise entry is a Time value in the Hour:Minute format"},
  };
  for (const auto& c : kCases) {
    engine::ScheduleState state = LoadedState(3);
    state.DayLength = 123;  // a working value from an earlier press
    const ComputeDecision decision = DecideCompute(c.Sunrise, c.Sunset, c.Next, "Tuesday", state);
    ASSERT_TRUE(decision.Refused.has_value()) << c.Sunrise;
    EXPECT_EQ(decision.Refused->Entry, c.Bad);
    EXPECT_EQ(decision.Refused->FocusControl, c.Control);
    EXPECT_EQ(decision.Refused->Message, c.Message);
    EXPECT_TRUE(decision.Report.empty());
    EXPECT_EQ(state.DayLength, 123);
    EXPECT_EQ(state.SunriseTime, 0);
  }
}

}  // namespace
}  // namespace ui
