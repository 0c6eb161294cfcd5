#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/support.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"

namespace ui {
namespace {

using test_support::LoadedState;

TEST(Form1Definition, ControlNamesAreUnique) {
  std::set<std::string_view> names;
  for (const ControlDef& c : kForm1Controls) EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
}

TEST(Form1Definition, ControlsLieInsideTheClientArea) {
  for (const ControlDef& c : kForm1Controls) {
    EXPECT_GE(c.Left, 0) << c.Name;
    EXPECT_GE(c.Top, 0) << c.Name;
    EXPECT_LE(c.Left + c.Width, kForm1.ClientWidth) << c.Name;
    EXPECT_LE(c.Top + c.Height, kForm1.ClientHeight) << c.Name;
    // Whole pixels at 96 DPI, so no frontend has to round.
    for (int twips : {c.Left, c.Top, c.Width, c.Height})
      EXPECT_EQ(twips % kTwipsPerPixel, 0) << c.Name;
  }
}

TEST(Form1Definition, LabelsNameTheControlBesideThem) {
  const struct {
    const char* Label;
    const char* Named;
    const char* Accessible;
  } kCases[] = {
      {"Label1", "txtSunrise", "Sunrise"},
      {"Label2", "txtSunset", "Sunset"},
      {"Label3", "txtNextSunrise", "Sunrise (next day)"},
      {"Label4", "Combo1", "Day of the week"},
  };
  for (const auto& c : kCases) {
    const ControlDef* label = FindControl(c.Label);
    ASSERT_NE(label, nullptr) << c.Label;
    EXPECT_EQ(label->LabelOf, c.Named);
    EXPECT_NE(FindControl(label->LabelOf), nullptr) << c.Label;
    EXPECT_EQ(AccessibleNameOf(*label), c.Accessible);
  }
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

TEST(Form1Definition, EachEntryListAndReportBoxHasExactlyOneName) {
  // Buttons and labels show their own names; the other controls get one
  // from a label or, failing that, from their own AccessibleName.
  for (const ControlDef& c : kForm1Controls) {
    int names = c.AccessibleName.empty() ? 0 : 1;
    for (const ControlDef& label : kForm1Controls) {
      if (label.Kind == ControlKind::Label && label.LabelOf == c.Name) ++names;
    }
    const bool needsName = c.Kind == ControlKind::TextBox || c.Kind == ControlKind::ComboBox ||
                           c.Kind == ControlKind::ReportBox;
    EXPECT_EQ(names, needsName ? 1 : 0) << c.Name;
  }
  EXPECT_EQ(FindControl("Text1")->AccessibleName, "Report");
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
  engine::ScheduleState state = LoadedState(1);
  const ComputeDecision decision = DecideCompute("05:30", "18:30", "05:30", "Sunday", state);
  EXPECT_FALSE(decision.Refused.has_value());
  EXPECT_EQ(decision.Report, test_support::EngineReport(1, "05:30", "18:30", "05:30"));
  EXPECT_EQ(decision.Report.substr(0, 23), "Selected Day : Sunday\r\n");
  EXPECT_EQ(state.DayLength, 780 * 60);
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
