// Form1 in plain Win32 API: the window and its standard controls built from
// the window's definition, the three handlers and the message loop.
#ifndef VELLAMIRE_UI_WIN32_FORM1_H_
#define VELLAMIRE_UI_WIN32_FORM1_H_

#include <windows.h>

#include <array>
#include <string_view>

#include "engine/schedule.h"
#include "ui/form1_definition.h"

namespace ui::win32 {

// Control ids are 100 + the control's place in the definition, so none is
// IDOK or IDCANCEL: Enter and Escape, which the dialog keys turn into those
// commands, reach no control.
inline constexpr int kFirstControlId = 100;

// The icon resource the program carries, shown in the caption.
inline constexpr int kIconResourceId = 1;

// The window's record. Whoever makes the window owns the record and frees it
// only after the window is gone (RunForm1 keeps it on its stack around the
// message loop), so a handler whose message box saw the window closed still
// finds it. The window's destruction frees the fonts and clears the handles.
struct Form1 {
  HWND Window = nullptr;  // nullptr once the window is destroyed
  // Each control's handle, under the control's name; ControlOf finds one by name.
  HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr;
  HWND txtSunrise = nullptr, txtSunset = nullptr, txtNextSunrise = nullptr;
  HWND Combo1 = nullptr, Command1 = nullptr, Text1 = nullptr;
  std::array<HFONT, kForm1ControlCount> Fonts{};  // in the definition's order; equal ones shared
  int Dpi = 96;  // the window's: its monitor's when made, then each WM_DPICHANGED's
  // Where CreateForm1 asks the monitor's DPI: nullptr for user32's
  // GetDpiForWindow, looked up at run time; a test may put a stand-in here.
  UINT(WINAPI* DpiForWindow)(HWND) = nullptr;
  HWND FocusWhenInactive = nullptr;  // given back when the window is activated again
  engine::ScheduleState State;
};

// Registers the window class and makes the hidden window with its controls
// for `form`, sized for the DPI of its monitor; on WM_DPICHANGED it makes its
// fonts and places anew for the new DPI. The window uses `form` until it is
// destroyed. Gives false when the window cannot be made.
bool CreateForm1(Form1& form, HINSTANCE instance);

// Shows the window with `showCommand`, puts the focus on txtSunrise, chooses
// Sunday (running Combo1_Click, which a programmatic choice does not
// notify) and fills the ruler table. Run once, before the message loop.
void Form_Load(Form1& form, int showCommand);

// The weekday chosen in Combo1 becomes the selected day.
void Combo1_Click(Form1& form);

// Checks the entries; reports the first bad one in a message box and puts
// the focus on it, or replaces Text1 with the new report. When the window is
// closed while the box is open, it ends as the box closes.
void Command1_Click(Form1& form);

// The handle of the control of that name, the member that holds it for the
// definition's entry; nullptr for a name not in the definition, and before
// the window is made or after it is gone.
HWND ControlOf(const Form1& form, std::string_view name);

// Hands one message to the window: the dialog keys (Tab, Shift+Tab, Enter,
// Escape) first, the rest translated and dispatched.
void DispatchFormMessage(HWND window, MSG& msg);

// The program: makes and loads Form1 and runs the message loop until the
// window is closed. Gives the exit code; 1 when the window cannot be made.
int RunForm1(HINSTANCE instance, int showCommand);

}  // namespace ui::win32

#endif  // VELLAMIRE_UI_WIN32_FORM1_H_
