// The main window Form1 as plain data: caption, client size, fonts and the
// ten controls with their positions, initial content and focus order.
// Every frontend builds its window from this table, so the window looks and
// behaves the same whatever toolkit draws it.
#ifndef VELLAMIRE_UI_FORM1_DEFINITION_H_
#define VELLAMIRE_UI_FORM1_DEFINITION_H_

#include <cstdint>
#include <string_view>

#include "engine/rulers.h"
#include "ui/version.h"  // kProductVersion

namespace ui {

inline constexpr std::string_view kProductName = "Vellamire";  // also the message box title

// Twips are 1/1440 inch; at 96 dots per inch a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

struct FontDef {
  std::string_view Family;
  double Points;
  int Weight;       // 400 regular, 700 bold
  bool FixedPitch;  // the fallback, where the family is missing, must be fixed-pitch too
};

enum class ControlKind {
  Label,      // static text, takes no focus
  TextBox,    // single-line entry
  ComboBox,   // drop-down list, choose only
  Button,     // push button, never the default button
  ReportBox,  // multi-line, read-only, vertical scroll bar
};

struct ControlDef {
  std::string_view Name;
  ControlKind Kind;
  int Left, Top, Width, Height;  // twips, within the client area
  std::string_view Text;         // caption or initial content
  FontDef Font;
  int TabIndex;
  std::string_view LabelOf;         // for a label: the control it names
  std::string_view AccessibleName;  // for a control no label names: what screen readers call it
};

struct FormDef {
  std::string_view Name;
  std::string_view Caption;
  int ClientWidth, ClientHeight;  // twips
  FontDef Font;
};

inline constexpr FontDef kWindowFont = {"Courier New", 12, 400, true};
inline constexpr FontDef kLabelFont = {"MS Sans Serif", 12, 700, false};
inline constexpr FontDef kEntryFont = {"MS Sans Serif", 8.25, 400, false};
inline constexpr FontDef kReportFont = {"Courier New", 9.75, 400, true};

inline constexpr FormDef kForm1 = {"Form1", "Orvandel", 9405, 6840, kWindowFont};

// In tab-index order.
// clang-format off
inline constexpr ControlDef kForm1Controls[] = {
    {"Label1", ControlKind::Label, 810, 135, 1215, 255, "Sunrise :", kLabelFont, 0, "txtSunrise",
     {}},
    {"Label2", ControlKind::Label, 810, 540, 1095, 255, "Sunset  :", kLabelFont, 1, "txtSunset",
     {}},
    {"Label3", ControlKind::Label, 4860, 135, 2445, 255, "Sunrise (next day) :", kLabelFont, 2,
     "txtNextSunrise", {}},
    {"txtSunrise", ControlKind::TextBox, 1980, 135, 1410, 315, "05:30", kEntryFont, 3, {}, {}},
    {"txtSunset", ControlKind::TextBox, 1980, 495, 1410, 315, "18:30", kEntryFont, 4, {}, {}},
    {"txtNextSunrise", ControlKind::TextBox, 7335, 90, 1410, 315, "05:30", kEntryFont, 5, {}, {}},
    {"Label4", ControlKind::Label, 5040, 495, 2265, 255, "Day of the week  :", kLabelFont, 6,
     "Combo1", {}},
    {"Combo1", ControlKind::ComboBox, 7335, 450, 1455, 315, {}, kEntryFont, 7, {}, {}},
    {"Command1", ControlKind::Button, 45, 900, 9330, 465, "Compute", kWindowFont, 8, {}, {}},
    {"Text1", ControlKind::ReportBox, 45, 1395, 9330, 5415, {}, kReportFont, 9, {}, "Report"},
};
// clang-format on
inline constexpr int kForm1ControlCount = sizeof(kForm1Controls) / sizeof(kForm1Controls[0]);

// The entries of Combo1, in this order, unsorted.
inline constexpr std::string_view kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
inline constexpr std::string_view kStartDay = "Sunday";  // chosen by Form_Load

// The control that has the keyboard when the window opens.
inline constexpr std::string_view kFirstFocus = "txtSunrise";

// What every frontend relies on in the table above, checked by the compiler,
// so that a table that breaks it does not build.
namespace form1_checks {

// The controls called `name`. Cannot fail.
constexpr int CountNamed(std::string_view name) {
  int count = 0;
  for (const ControlDef& c : kForm1Controls) count += c.Name == name ? 1 : 0;
  return count;
}

// True when every control lies inside the client area on whole pixels at 96
// dots per inch, so that no frontend has to round. Cannot fail.
constexpr bool FitsOnWholePixels() {
  for (const ControlDef& c : kForm1Controls) {
    if (c.Left < 0 || c.Top < 0 || c.Width <= 0 || c.Height <= 0) return false;
    if (c.Left + c.Width > kForm1.ClientWidth || c.Top + c.Height > kForm1.ClientHeight) {
      return false;
    }
    for (int twips : {c.Left, c.Top, c.Width, c.Height}) {
      if (twips % kTwipsPerPixel != 0) return false;
    }
  }
  return kForm1.ClientWidth % kTwipsPerPixel == 0 && kForm1.ClientHeight % kTwipsPerPixel == 0;
}

// True when the names are unique and the tab indices count 0, 1, 2... in
// table order. Cannot fail.
constexpr bool NamesUniqueInTabOrder() {
  for (int i = 0; i < kForm1ControlCount; ++i) {
    if (CountNamed(kForm1Controls[i].Name) != 1 || kForm1Controls[i].TabIndex != i) return false;
  }
  return true;
}

// True when each label names one other control that starts right of the
// label's left edge and shares rows of pixels with it, and no other kind
// of control names one. Cannot fail.
constexpr bool LabelsNameTheControlBesideThem() {
  for (const ControlDef& label : kForm1Controls) {
    if (label.Kind != ControlKind::Label) {
      if (!label.LabelOf.empty()) return false;
      continue;
    }
    if (CountNamed(label.LabelOf) != 1) return false;
    for (const ControlDef& c : kForm1Controls) {
      if (c.Name != label.LabelOf) continue;
      if (c.Kind == ControlKind::Label || c.Left <= label.Left ||
          c.Top >= label.Top + label.Height || label.Top >= c.Top + c.Height) {
        return false;
      }
    }
  }
  return true;
}

// True when each entry, the day list and the report box get exactly one name
// for screen readers (a label's or their own AccessibleName), and labels and
// the button, which show their own text, get none. Cannot fail.
constexpr bool EachBoxNamedOnce() {
  for (const ControlDef& c : kForm1Controls) {
    int names = c.AccessibleName.empty() ? 0 : 1;
    for (const ControlDef& label : kForm1Controls) {
      names += label.Kind == ControlKind::Label && label.LabelOf == c.Name ? 1 : 0;
    }
    const bool isBox = c.Kind == ControlKind::TextBox || c.Kind == ControlKind::ComboBox ||
                       c.Kind == ControlKind::ReportBox;
    if (names != (isBox ? 1 : 0)) return false;
  }
  return true;
}

// True when `day` is an entry of the day list. Cannot fail.
constexpr bool IsDayName(std::string_view day) {
  for (std::string_view name : kDayNames) {
    if (name == day) return true;
  }
  return false;
}

static_assert(FitsOnWholePixels(), "a control leaves the client area or a whole pixel");
static_assert(NamesUniqueInTabOrder(), "a name repeats, or the table leaves tab-index order");
static_assert(LabelsNameTheControlBesideThem(), "a label names no control beside it");
static_assert(EachBoxNamedOnce(), "a control has no name or two for screen readers");
static_assert(CountNamed(kFirstFocus) == 1 && IsDayName(kStartDay),
              "Form_Load focuses a missing control or chooses a missing day");

}  // namespace form1_checks

// Form_Load's steps, in their order, for a frontend to carry out: `show()`
// shows the window, `focus(name)` gives the named control the keyboard,
// `choose(day)` chooses that entry of Combo1 and so runs Combo1_Click; then
// the ruler table is filled.
template <typename Show, typename Focus, typename Choose>
void LoadForm1(engine::RulerTable& rulerTable, Show show, Focus focus, Choose choose) {
  show();
  focus(kFirstFocus);
  choose(kStartDay);
  engine::FillRulerTable(rulerTable);
}

// The entry of kForm1Controls with that name, from which its place follows
// (PlaceOf). Gives nullptr for a name not in the table.
const ControlDef* FindControl(std::string_view name);

// The place in kForm1Controls of `control`, one of the table's own entries as
// FindControl gives them (0 for the first). Cannot fail for such an entry.
inline int PlaceOf(const ControlDef& control) {
  return static_cast<int>(&control - kForm1Controls);
}

// A label's caption without its trailing colon and blanks, as a screen
// reader should announce the control it names: "Sunset  :" gives "Sunset".
// Cannot fail.
std::string_view AccessibleNameOf(const ControlDef& label);

// The weekday number for a position in the day list (0 Sunday): 1-7, and 0
// for -1, no entry chosen. Kept in 8 bits as the day field is. Cannot fail.
std::uint8_t SelectedDayFor(int position);

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel.
// Cannot fail.
int TwipsToPixels(int twips, int dpi);

}  // namespace ui

#endif  // VELLAMIRE_UI_FORM1_DEFINITION_H_
