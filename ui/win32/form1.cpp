#include "ui/win32/form1.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ui/compute_command.h"

namespace ui::win32 {
namespace {

constexpr DWORD kFormStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;  // no minimize or maximize box
constexpr int kDayCount = sizeof(kDayNames) / sizeof(kDayNames[0]);

// An ASCII text as a terminated wide text, in a plain buffer: std::wstring's
// library code would be linked in whole for these few copies.
std::unique_ptr<wchar_t[]> Widen(std::string_view text) {
  auto wide = std::make_unique<wchar_t[]>(text.size() + 1);  // zeroed, so terminated
  for (std::size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
  return wide;
}

// The text of a control in UTF-8, as the engine reads it, so the engine alone
// decides which characters an entry takes. A lone surrogate comes out as
// U+FFFD, which no entry accepts.
std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  auto wide = std::make_unique<wchar_t[]>(static_cast<std::size_t>(length) + 1);
  const int read = GetWindowTextW(control, wide.get(), length + 1);
  const int size =
      read > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide.get(), read, nullptr, 0, nullptr, nullptr)
               : 0;
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.get(), read, &text[0], size, nullptr, nullptr);
  return text;
}

// The member of the record that holds each control's handle, in the
// definition's order: the one link from a definition entry to its handle.
struct HandleMember {
  std::string_view Name;
  HWND Form1::*Handle;
};
constexpr HandleMember kHandleMembers[] = {
    {"Label1", &Form1::Label1},       {"Label2", &Form1::Label2},
    {"Label3", &Form1::Label3},       {"txtSunrise", &Form1::txtSunrise},
    {"txtSunset", &Form1::txtSunset}, {"txtNextSunrise", &Form1::txtNextSunrise},
    {"Label4", &Form1::Label4},       {"Combo1", &Form1::Combo1},
    {"Command1", &Form1::Command1},   {"Text1", &Form1::Text1},
};

constexpr bool FollowsTheDefinition() {
  if (sizeof(kHandleMembers) / sizeof(kHandleMembers[0]) != kForm1ControlCount) return false;
  for (int i = 0; i < kForm1ControlCount; ++i) {
    if (kHandleMembers[i].Name != kForm1Controls[i].Name) return false;
  }
  return true;
}
static_assert(FollowsTheDefinition(), "one member for each control, in the definition's order");

// The handle of the control at `place` in the definition.
HWND& HandleAt(Form1& form, int place) { return form.*kHandleMembers[place].Handle; }

bool SameFont(const FontDef& a, const FontDef& b) {
  return a.Family == b.Family && a.Points == b.Points && a.Weight == b.Weight &&
         a.FixedPitch == b.FixedPitch;
}

// "MS Sans Serif" is a bitmap face on Windows, drawn for one DPI in a few
// sizes, which GDI gives for its name at any size; "Microsoft Sans Serif" is
// its outline successor, with the same widths, on every Windows since 2000.
constexpr std::string_view kBitmapSansSerif = "MS Sans Serif";
constexpr wchar_t kOutlineSansSerif[] = L"Microsoft Sans Serif";

// A font of `family` in the definition's weight and pitch whose character
// height (its cell without the internal leading, what points measure) is
// `height` pixels. Where `family` is missing, GDI's mapper takes a face of
// the same pitch and family. Gives nullptr when GDI cannot make it.
HFONT MakeFace(const FontDef& def, const wchar_t* family, int height) {
  const DWORD pitch = def.FixedPitch ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);
  return CreateFontW(-height, 0, 0, 0, def.Weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, family);
}

// Whether GDI gives `font` as a bitmap face that misses: drawn for another
// DPI than `dpi` (so only stretched, by whole multiples, if at all) or with a
// character height more than 1 px from `height`. False for an outline face
// and for a font that cannot be measured.
bool IsMissingBitmapFace(HFONT font, int height, int dpi) {
  HDC screen = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  const bool measured = GetTextMetricsW(screen, &metrics) != FALSE;
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  if (!measured || (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0) return false;
  const int charHeight = static_cast<int>(metrics.tmHeight - metrics.tmInternalLeading);
  return metrics.tmDigitizedAspectY != dpi || charHeight < height - 1 || charHeight > height + 1;
}

// The definition's font at `dpi`: points * dpi / 72 pixels, a half up, in
// whole quarter points. Where "MS Sans Serif" comes as a bitmap face that
// misses, the font is made again as its outline successor. Gives nullptr
// when GDI cannot make it.
HFONT MakeFont(const FontDef& def, int dpi) {
  const int quarterPoints = static_cast<int>(def.Points * 4);
  const int height = (quarterPoints * dpi + 144) / 288;
  HFONT font = MakeFace(def, Widen(def.Family).get(), height);
  if (font != nullptr && def.Family == kBitmapSansSerif && IsMissingBitmapFace(font, height, dpi)) {
    DeleteObject(font);
    font = MakeFace(def, kOutlineSansSerif, height);
  }
  return font;
}

// The DPI the window is drawn for: its monitor's where Windows can tell
// (GetDpiForWindow, from Windows 10 1607 on; looked up at run time, so the
// program still starts on earlier versions, unless `getDpi` stands in for
// it), otherwise the screen's.
int DpiOf(HWND window, UINT(WINAPI* getDpi)(HWND)) {
  if (getDpi == nullptr) {
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
      // Through void (*)(), the one function type GCC lets any other become.
      getDpi = reinterpret_cast<UINT(WINAPI*)(HWND)>(
          reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
    }
  }
  if (getDpi != nullptr) {
    if (const UINT dpi = getDpi(window); dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

struct ControlClass {
  const wchar_t* Name;
  DWORD Style;
  DWORD ExStyle;
};

ControlClass ClassOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::Label:
      // On one line: SS_LEFT would move a word that misses the box by a
      // pixel to a second line the box hides; this clips it at the box.
      return {L"STATIC", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
      return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
      return {L"COMBOBOX", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Button:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ReportBox:
      return {
          L"EDIT",
          kChild | WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", kChild, 0};
}

// A drop-down list sizes its closed field from its font. The field is set to
// the height the definition gives, and the window's height, which for this
// kind of combo box is that of the open list, to show all seven days.
void FitComboBox(HWND combo, int width, int fieldHeight) {
  // The field's height follows its item height with a border the control
  // adds. Each round corrects the height asked for by what the field missed;
  // it is kept here since some systems read it back with the border added.
  int asked = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  int closed = 0;
  for (int round = 0; round < 4; ++round) {
    RECT rect;
    GetWindowRect(combo, &rect);
    closed = static_cast<int>(rect.bottom - rect.top);
    if (closed == fieldHeight || asked + fieldHeight - closed <= 0) break;
    asked += fieldHeight - closed;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
  }
  const int item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  const int border = 2 * GetSystemMetrics(SM_CYBORDER);
  SetWindowPos(combo, nullptr, 0, 0, width, closed + kDayCount * item + border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Makes control i of the definition with its text and, for the list, its
// days; its font and place come from ApplyDpi.
bool MakeControl(Form1& form, int i, HINSTANCE instance) {
  const ControlDef& def = kForm1Controls[i];
  const ControlClass cls = ClassOf(def.Kind);
  HWND control = CreateWindowExW(
      cls.ExStyle, cls.Name, Widen(def.Text).get(), cls.Style, 0, 0, 0, 0, form.Window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance, nullptr);
  if (control == nullptr) return false;
  HandleAt(form, i) = control;
  if (def.Kind == ControlKind::ComboBox) {
    for (std::string_view day : kDayNames) {
      SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(day).get()));
    }
  }
  return true;
}

// Screen readers name an edit box or a list after the static text that
// precedes it in the window order. So each control a label names gets, right
// before it, a hidden label that holds the caption as a name ("Sunset  :"
// gives "Sunset"), with the visible label made before that; a control with a
// name of its own gets a hidden label that holds it. The other controls are
// made in tab-index order, so the window order is the tab order; labels take
// no focus.
bool MakeControls(Form1& form, HINSTANCE instance) {
  for (int i = 0; i < kForm1ControlCount; ++i) {
    const ControlDef& def = kForm1Controls[i];
    // A label that names a control is made right before that control, below.
    if (def.Kind == ControlKind::Label && FindControl(def.LabelOf) != nullptr) continue;
    std::string_view name = def.AccessibleName;
    for (int j = 0; j < kForm1ControlCount; ++j) {
      const ControlDef& label = kForm1Controls[j];
      if (label.Kind != ControlKind::Label || label.LabelOf != def.Name) continue;
      if (!MakeControl(form, j, instance)) return false;
      name = AccessibleNameOf(label);
    }
    if (!name.empty() &&
        CreateWindowExW(0, L"STATIC", Widen(name).get(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                        form.Window, nullptr, instance, nullptr) == nullptr) {
      return false;
    }
    if (!MakeControl(form, i, instance)) return false;
  }
  form.FocusWhenInactive = form.txtSunrise;
  return true;
}

// Frees each of the fonts once, as controls share them.
void FreeFonts(std::array<HFONT, kForm1ControlCount>& fonts) {
  for (int i = 0; i < kForm1ControlCount; ++i) {
    if (fonts[i] == nullptr) continue;
    bool shared = false;
    for (int j = 0; j < i; ++j) shared = shared || fonts[j] == fonts[i];
    if (!shared) DeleteObject(fonts[i]);
  }
  fonts.fill(nullptr);
}

// The control's rectangle within the client area at `dpi`, from its twips.
RECT TwipsRect(const ControlDef& def, int dpi) {
  const int left = TwipsToPixels(def.Left, dpi);
  const int top = TwipsToPixels(def.Top, dpi);
  return {left, top, left + TwipsToPixels(def.Width, dpi), top + TwipsToPixels(def.Height, dpi)};
}

// The height of the cell of the control's font: ascent and descent, what a
// line of its text needs so that no accent or descender is cut.
int CellHeight(HWND control) {
  HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return static_cast<int>(metrics.tmHeight);
}

// Where label i goes: at its box's left and top, as tall as its box or its
// font's cell, whichever is more (in some faces and at some DPIs the box is
// shorter than the cell, which would cut the descenders off), and ending on
// the right where a control it would overlap begins.
RECT LabelRect(int i, int dpi, int cellHeight) {
  RECT rect = TwipsRect(kForm1Controls[i], dpi);
  rect.bottom = std::max(rect.bottom, rect.top + cellHeight);
  for (int j = 0; j < kForm1ControlCount; ++j) {
    const RECT other = TwipsRect(kForm1Controls[j], dpi);
    RECT common;
    if (j != i && other.left > rect.left && IntersectRect(&common, &rect, &other)) {
      rect.right = other.left;
    }
  }
  return rect;
}

// Gives every control its font made for form.Dpi (one font for each
// definition, shared by the controls that use it) and frees the ones they
// had, then puts each control where the definition puts it at that DPI.
void ApplyDpi(Form1& form) {
  std::array<HFONT, kForm1ControlCount> fonts{};
  for (int i = 0; i < kForm1ControlCount; ++i) {
    for (int j = 0; j < i && fonts[i] == nullptr; ++j) {
      if (SameFont(kForm1Controls[j].Font, kForm1Controls[i].Font)) fonts[i] = fonts[j];
    }
    if (fonts[i] == nullptr) fonts[i] = MakeFont(kForm1Controls[i].Font, form.Dpi);
    SendMessageW(HandleAt(form, i), WM_SETFONT, reinterpret_cast<WPARAM>(fonts[i]), TRUE);
  }
  FreeFonts(form.Fonts);  // no control holds these any more
  form.Fonts = fonts;

  for (int i = 0; i < kForm1ControlCount; ++i) {
    const ControlDef& def = kForm1Controls[i];
    HWND control = HandleAt(form, i);
    const RECT rect = def.Kind == ControlKind::Label ? LabelRect(i, form.Dpi, CellHeight(control))
                                                     : TwipsRect(def, form.Dpi);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(control, nullptr, rect.left, rect.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (def.Kind == ControlKind::ComboBox) FitComboBox(control, width, height);
    if (def.Kind == ControlKind::ReportBox) {
      // Tab stops every 8 characters, as the report's columns expect: the
      // box counts them in quarters of its font's average character width.
      const int kTabStop = 8 * 4;
      SendMessageW(control, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&kTabStop));
    }
  }
}

// Sizes the window so that its client area is `width` by `height` pixels,
// with the frame it has at its DPI.
void FitFrameToClient(HWND window, int width, int height) {
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  SetWindowPos(window, nullptr, 0, 0, (frame.right - frame.left) - client.right + width,
               (frame.bottom - frame.top) - client.bottom + height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Frees the fonts and clears every handle, once the window is gone.
void ForgetWindow(Form1& form) {
  FreeFonts(form.Fonts);
  form.Window = nullptr;
  for (int i = 0; i < kForm1ControlCount; ++i) HandleAt(form, i) = nullptr;
  form.FocusWhenInactive = nullptr;
}

Form1* FormOf(HWND window) {
  return reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  Form1* form = FormOf(window);
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_COMMAND: {
      // IDOK and IDCANCEL, from Enter and Escape, come from no control and do
      // nothing. Nothing here reads the record after a handler has run.
      const auto from = reinterpret_cast<HWND>(lParam);
      const int code = HIWORD(wParam);
      if (from == nullptr) return 0;
      if (from == form->Command1 && code == BN_CLICKED) {
        Command1_Click(*form);
      } else if (from == form->Combo1 && code == CBN_SELCHANGE) {
        Combo1_Click(*form);
      }
      return 0;
    }
    case WM_NEXTDLGCTL: {
      // A multi-line edit box asks for the next control itself on Tab.
      HWND next = LOWORD(lParam) != 0
                      ? reinterpret_cast<HWND>(wParam)
                      : GetNextDlgTabItem(window, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (next != nullptr) {
        if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
          SendMessageW(next, EM_SETSEL, 0, -1);
        }
        SetFocus(next);
      }
      return 0;
    }
    case WM_ACTIVATE:
      // A plain window, unlike a dialog, would take the focus itself on
      // activation; the control that had it gets it back instead.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) form->FocusWhenInactive = focus;
      } else if (form->FocusWhenInactive != nullptr) {
        SetFocus(form->FocusWhenInactive);
      }
      return 0;
    case WM_SETFOCUS:
      if (form->FocusWhenInactive != nullptr) SetFocus(form->FocusWhenInactive);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale (or its scale changed): fonts and
      // places for the new DPI, and the rectangle Windows suggests for it.
      form->Dpi = HIWORD(wParam);
      ApplyDpi(*form);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      // The record stays with its owner; only what belonged to the window goes.
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      ForgetWindow(*form);
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool CreateForm1(Form1& form, HINSTANCE instance) {
  // The controls take the current look of the system (the manifest asks for
  // the common controls of version 6, which draw them).
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  const auto className = Widen(kForm1.Caption);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = FormProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResourceId));
  if (cls.hIcon == nullptr)
    cls.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  cls.lpszClassName = className.get();
  if (RegisterClassExW(&cls) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  // Made at the default size, then sized for the DPI of the monitor it is
  // on. The window keeps a pointer to the record from its first message on.
  HWND window =
      CreateWindowExW(0, className.get(), className.get(), kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &form);
  if (window == nullptr) return false;
  form.Window = window;
  form.Dpi = DpiOf(window, form.DpiForWindow);
  FitFrameToClient(window, TwipsToPixels(kForm1.ClientWidth, form.Dpi),
                   TwipsToPixels(kForm1.ClientHeight, form.Dpi));
  if (!MakeControls(form, instance)) {
    DestroyWindow(window);
    return false;
  }
  ApplyDpi(form);
  return true;
}

void Form_Load(Form1& form, int showCommand) {
  LoadForm1(
      form.State.RulerTable,
      [&] {
        ShowWindow(form.Window, showCommand);
        UpdateWindow(form.Window);
      },
      [&](std::string_view name) { SetFocus(ControlOf(form, name)); },
      [&](std::string_view day) {
        const LRESULT at = SendMessageW(form.Combo1, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(Widen(day).get()));
        SendMessageW(form.Combo1, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        Combo1_Click(form);  // a choice made by the program sends no notification
      });
}

void Combo1_Click(Form1& form) {
  form.State.SelectedDay =
      SelectedDayFor(static_cast<int>(SendMessageW(form.Combo1, CB_GETCURSEL, 0, 0)));
}

void Command1_Click(Form1& form) {
  const ComputeDecision decision =
      DecideCompute(TextOf(form.txtSunrise), TextOf(form.txtSunset), TextOf(form.txtNextSunrise),
                    TextOf(form.Combo1), form.State);
  if (decision.Refused) {
    MessageBoxW(form.Window, Widen(decision.Refused->Message).get(), Widen(kProductName).get(),
                MB_OK);
    // The box's own message loop may have destroyed the window (WM_CLOSE
    // from outside); then there is no entry left to focus.
    if (form.Window == nullptr) return;
    SetFocus(ControlOf(form, decision.Refused->FocusControl));
    return;
  }
  // The edit box shows the report's CR LF line ends and TABs as they are.
  SetWindowTextW(form.Text1, Widen(decision.Report).get());
}

HWND ControlOf(const Form1& form, std::string_view name) {
  const ControlDef* control = FindControl(name);
  return control == nullptr ? nullptr : form.*kHandleMembers[PlaceOf(*control)].Handle;
}

void DispatchFormMessage(HWND window, MSG& msg) {
  // Inside a dialog a multi-line edit box closes the window on Escape; the
  // report box is only read, so Escape there does nothing.
  const Form1* form = FormOf(window);
  if (form != nullptr && msg.hwnd == form->Text1 && msg.message == WM_KEYDOWN &&
      msg.wParam == VK_ESCAPE) {
    return;
  }
  if (IsDialogMessageW(window, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunForm1(HINSTANCE instance, int showCommand) {
  // The record lives here, around the loop, so it outlives the window and
  // every handler the window runs.
  Form1 form;
  if (!CreateForm1(form, instance)) return 1;
  Form_Load(form, showCommand);
  HWND window = form.Window;
  MSG msg{};
  int got = 0;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) DispatchFormMessage(window, msg);
  // A failed GetMessageW ends the loop with the window still there; it goes
  // before the record does.
  if (form.Window != nullptr) DestroyWindow(form.Window);
  return got < 0 ? 1 : static_cast<int>(msg.wParam);
}

}  // namespace ui::win32
