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
