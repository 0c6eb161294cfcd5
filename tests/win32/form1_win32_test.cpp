// The Win32 window, made in this process and driven with window messages:
// its styles and controls as the system reports them, the dialog keys, the
// Compute button and the real modal message box, the names screen readers
// read, and the window closed from outside while a message box is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "engine/rulers.h"
#include "tests/support.h"
#include "tests/win32/page_heap.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"
#include "ui/win32/form1.h"

namespace {

using ui::ControlKind;
using ui::kForm1Controls;

std::wstring Widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

std::wstring TextOf(HWND window) {
  wchar_t buffer[8192];
  const int length = GetWindowTextW(window, buffer, 8192);
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[64];
  const int length = GetClassNameW(window, buffer, 64);
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

// The report the engine renders for these entries, CR LF and all.
std::wstring EngineReport(std::uint8_t day, const char* sunrise, const char* sunset,
                          const char* next) {
  return Widen(test_support::EngineReport(day, sunrise, sunset, next));
}

// Handles what has arrived for a moment, as the program's loop would.
void Pump(HWND form, DWORD milliseconds = 30) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) ui::win32::DispatchFormMessage(form, msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
}

// A key pressed and released in the control that has the focus.
void PressKey(HWND form, WPARAM key) {
  HWND target = GetFocus();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  Pump(form);
}

// What the modal message box showed, read from a timer that runs inside its
// modal loop; the timer then presses its OK button.
struct SeenBox {
  bool Seen = false;
  std::wstring Title, Text;
  int VisibleButtons = 0;
  bool HasOk = false;
  bool ShowsIcon = false;
  HWND Owner = nullptr;
  bool OwnerEnabled = true;
};

SeenBox* g_seen = nullptr;
UINT_PTR g_timer = 0;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM) {
  if (!IsWindowVisible(child)) return TRUE;
  const std::wstring cls = ClassOf(child);
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    ++g_seen->VisibleButtons;
    if (GetDlgCtrlID(child) == IDOK && TextOf(child) == L"OK") g_seen->HasOk = true;
  } else if (_wcsicmp(cls.c_str(), L"Static") == 0 && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
             SendMessageW(child, STM_GETICON, 0, 0) != 0) {
    g_seen->ShowsIcon = true;
  }
  return TRUE;
}

void CALLBACK WatchForBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  KillTimer(nullptr, g_timer);
  g_timer = 0;
  g_seen->Seen = true;
  g_seen->Title = TextOf(box);
  g_seen->Text = TextOf(GetDlgItem(box, 0xFFFF));  // the message's static text
  g_seen->Owner = GetWindow(box, GW_OWNER);
  g_seen->OwnerEnabled = IsWindowEnabled(g_seen->Owner) != FALSE;
  EnumChildWindows(box, ReadBoxChild, 0);
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// Presses Compute with BM_CLICK, reading and closing any message box it opens.
SeenBox ClickCompute(HWND form, HWND button) {
  SeenBox seen;
  g_seen = &seen;
  g_timer = SetTimer(nullptr, 0, 20, WatchForBox);
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump(form);
  if (g_timer != 0) KillTimer(nullptr, g_timer);
  g_timer = 0;
  g_seen = nullptr;
  return seen;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The control's rectangle within its parent's client area.
RECT RectOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The control's rectangle at `dpi` as the definition gives it in twips.
RECT TwipsRectOf(const ui::ControlDef& def, int dpi) {
  const int left = ui::TwipsToPixels(def.Left, dpi);
  const int top = ui::TwipsToPixels(def.Top, dpi);
  return {left, top, left + ui::TwipsToPixels(def.Width, dpi),
          top + ui::TwipsToPixels(def.Height, dpi)};
}

// The character height in pixels of the definition's font sizes at each DPI
// the tests use, as Windows rounds points to pixels (a half up).
// clang-format off
const struct {
  double Points;
  int Dpi;
  LONG Pixels;
} kFontPixels[] = {
    {8.25, 96, 11}, {8.25, 120, 14}, {8.25, 144, 17}, {8.25, 192, 22},
    {9.75, 96, 13}, {9.75, 120, 16}, {9.75, 144, 20}, {9.75, 192, 26},
    {12,   96, 16}, {12,   120, 20}, {12,   144, 24}, {12,   192, 32},
};
// clang-format on

LONG PixelsOf(double points, int dpi) {
  for (const auto& row : kFontPixels) {
    if (row.Points == points && row.Dpi == dpi) return row.Pixels;  // stored doubles
  }
  ADD_FAILURE() << "no height for " << points << " pt at " << dpi << " dpi";
  return 0;
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// What the control's own font measures for `text`: its extent, its cell
// height (tmHeight), its character height (the cell without the internal
// leading), whether it is an outline face, and the face the system chose.
struct Measured {
  SIZE Extent{};
  LONG CellHeight = 0;
  LONG CharHeight = 0;
  bool Outline = false;
  std::wstring Face;
};

Measured Measure(HWND control, const std::wstring& text) {
  Measured m;
  HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, FontOf(control));
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &m.Extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  m.CellHeight = metrics.tmHeight;
  m.CharHeight = metrics.tmHeight - metrics.tmInternalLeading;
  m.Outline = (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  m.Face = face;
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return m;
}

// Whether GDI gives "MS Sans Serif" as a bitmap face (no outline) here.
bool SansSerifIsBitmap() {
  HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                           VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif");
  HDC screen = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0;
}

// Tells the window that its DPI is now `dpi`, as Windows does when it moves
// to a monitor of another scale, with a rectangle a little right of and below
// where it is, the client area's size at that DPI. Gives that rectangle.
RECT SendDpiChanged(HWND window, int dpi) {
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  const int left = frame.left + 8, top = frame.top + 6;
  RECT suggested = {
      left, top, left + (frame.right - frame.left) - client.right + ui::TwipsToPixels(9405, dpi),
      top + (frame.bottom - frame.top) - client.bottom + ui::TwipsToPixels(6840, dpi)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

// Each control where the definition puts it at `dpi`, in its font made for
// that DPI. A label keeps its box's left and top, is as tall as its box or its
// font's cell, whichever is more, and may end short of its box on the right;
// no control overlaps another.
void ExpectLaidOutAt(const ui::win32::Form1& form, int dpi) {
  for (int i = 0; i < ui::kForm1ControlCount; ++i) {
    const ui::ControlDef& def = kForm1Controls[i];
    SCOPED_TRACE(std::string(def.Name) + " at " + std::to_string(dpi) + " dpi");
    HWND control = ui::win32::ControlOf(form, def.Name);
    const RECT rect = RectOf(control);
    const RECT box = TwipsRectOf(def, dpi);
    EXPECT_EQ(rect.left, box.left);
    EXPECT_EQ(rect.top, box.top);
    if (def.Kind == ControlKind::Label) {
      const LONG cell = Measure(control, L"").CellHeight;
      EXPECT_EQ(rect.bottom - rect.top, std::max(box.bottom - box.top, cell));
      EXPECT_LE(rect.right, box.right);
    } else {
      EXPECT_EQ(rect.right, box.right);
      EXPECT_EQ(rect.bottom, box.bottom);
    }
    for (int j = i + 1; j < ui::kForm1ControlCount; ++j) {
      const RECT other = RectOf(ui::win32::ControlOf(form, kForm1Controls[j].Name));
      RECT common;
      EXPECT_FALSE(IntersectRect(&common, &rect, &other)) << "overlaps " << kForm1Controls[j].Name;
    }

    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(FontOf(control), sizeof(font), &font), static_cast<int>(sizeof(font)));
    // Where "MS Sans Serif" is a bitmap face (drawn for 96 dpi in Wine), it
    // is made again as its outline successor at any other DPI.
    const bool successor = def.Font.Family == "MS Sans Serif" && dpi != 96 && SansSerifIsBitmap();
    EXPECT_EQ(std::wstring(font.lfFaceName),
              successor ? L"Microsoft Sans Serif" : Widen(def.Font.Family));
    EXPECT_EQ(font.lfWeight, def.Font.Weight);
    EXPECT_EQ(font.lfHeight, -PixelsOf(def.Font.Points, dpi));
  }
}

// How many days the open list shows without scrolling.
int DaysShownOpen(HWND combo) {
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  int shown = 0;
  if (GetComboBoxInfo(combo, &info)) {
    RECT list;
    GetClientRect(info.hwndList, &list);
    const LRESULT item = SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
    shown = item > 0 ? static_cast<int>(list.bottom / item) : 0;
  }
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  return shown;
}

// The report box's TABs stop every 8 characters of its font. Line 2 measures
// one character.
void ExpectTabStopsEveryEightCharacters(HWND text1) {
  SetWindowTextW(text1, L"a\tb\t\tc\r\nabcdefghi\tj");
  const auto x = [text1](int index) {
    return static_cast<int>(
        static_cast<short>(LOWORD(SendMessageW(text1, EM_POSFROMCHAR, index, 0))));
  };
  const int start = x(0);
  const int width = x(9) - x(8);  // "b" after "a" on line 2
  ASSERT_GT(width, 0);
  EXPECT_EQ(x(2) - start, 8 * width);    // "b" after one TAB
  EXPECT_EQ(x(5) - start, 24 * width);   // "c" after two more
  EXPECT_EQ(x(18) - start, 16 * width);  // "j" after nine characters and a TAB
}

// The window as it is on the screen, written as a 24-bit BMP.
bool WriteScreenshot(HWND window, const std::string& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + size;
  bool written = false;
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
              std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
              std::fwrite(bits, size, 1, out) == 1;
    written = std::fclose(out) == 0 && written;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

// Whether this runs under Wine, whose oleacc names a combo box by the entry
// it shows rather than by its label, and gives it no value.
bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The name (or, with `value`, the value) Microsoft Active Accessibility gives
// a control: what a screen reader announces when the control takes the focus.
std::wstring AccessibleTextOf(HWND control, bool value = false) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return L"(no accessible object)";
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  const HRESULT result =
      value ? object->get_accValue(self, &text) : object->get_accName(self, &text);
  std::wstring read =
      result == S_OK && text != nullptr ? std::wstring(text, SysStringLen(text)) : L"(none)";
  SysFreeString(text);
  object->Release();
  return read;
}

// Puts `text` on the clipboard as Unicode text, as copying it elsewhere does.
bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (void* target = memory != nullptr ? GlobalLock(memory) : nullptr) {
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;  // the clipboard owns it now
  }
  if (!placed && memory != nullptr) GlobalFree(memory);
  CloseClipboard();
  return placed;
}

// The box, once it is up, has its owner closed from outside with WM_CLOSE,
// as taskkill without /f, the Restart Manager and a session end do.
HWND g_closeTarget = nullptr;
bool g_closeSent = false;

void CALLBACK CloseOwnerOfBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr || g_closeSent) return;
  KillTimer(nullptr, g_timer);
  g_timer = 0;
  g_closeSent = GetWindow(box, GW_OWNER) == g_closeTarget &&
                PostMessageW(g_closeTarget, WM_CLOSE, 0, 0) != FALSE;
}

class Form1Win32 : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = std::make_unique<ui::win32::Form1>();
    form_ = record_.get();
    ASSERT_TRUE(ui::win32::CreateForm1(*form_, GetModuleHandleW(nullptr)));
    window_ = form_->Window;
    ui::win32::Form_Load(*form_, SW_SHOWNORMAL);
    Pump(window_, 100);
  }
  void TearDown() override {
    // The window goes before the record, then the quit message its closing posts.
    if (IsWindow(window_)) DestroyWindow(window_);
    Pump(nullptr);
  }
  void SetEntries(const wchar_t* sunrise, const wchar_t* sunset, const wchar_t* next) {
    SetWindowTextW(form_->txtSunrise, sunrise);
    SetWindowTextW(form_->txtSunset, sunset);
    SetWindowTextW(form_->txtNextSunrise, next);
  }

  std::unique_ptr<ui::win32::Form1> record_;
  ui::win32::Form1* form_ = nullptr;
  HWND window_ = nullptr;
};

TEST_F(Form1Win32, WindowClassCaptionStylesAndClientSize) {
  EXPECT_EQ(ClassOf(window_), L"Orvandel");
  EXPECT_EQ(TextOf(window_), L"Orvandel");
  const LONG_PTR style = StyleOf(window_);
  for (LONG_PTR bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_VISIBLE}) {
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  }
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0);

  const int dpi = ScreenDpi();
  EXPECT_EQ(form_->Dpi, dpi);
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(9405, dpi));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(6840, dpi));
  if (dpi == 96) {
    EXPECT_EQ(client.right, 627);
    EXPECT_EQ(client.bottom, 456);
  }
}

TEST_F(Form1Win32, ResizingMovesNoControl) {
  RECT before[ui::kForm1ControlCount];
  for (int i = 0; i < ui::kForm1ControlCount; ++i) {
    GetWindowRect(ui::win32::ControlOf(*form_, kForm1Controls[i].Name), &before[i]);
  }
  RECT frame;
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, 0, 0, (frame.right - frame.left) * 3 / 2,
               (frame.bottom - frame.top) * 3 / 2, SWP_NOMOVE | SWP_NOZORDER);
  Pump(window_);
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_GT(client.right, ui::TwipsToPixels(9405, form_->Dpi));
  for (int i = 0; i < ui::kForm1ControlCount; ++i) {
    RECT after;
    GetWindowRect(ui::win32::ControlOf(*form_, kForm1Controls[i].Name), &after);
    EXPECT_TRUE(EqualRect(&after, &before[i])) << kForm1Controls[i].Name.data();
  }
}

TEST_F(Form1Win32, ProgramDeclaresPerMonitorDpiAwarenessAndCarriesItsVersion) {
  // The test program carries the same resources as the program. Its manifest
  // asks for per-monitor DPI awareness (version 2, which Wine takes as the
  // first version; both are per-monitor awareness).
  EXPECT_TRUE(IsProcessDPIAware());
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
            DPI_AWARENESS_PER_MONITOR_AWARE);
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window_)),
            DPI_AWARENESS_PER_MONITOR_AWARE);
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(path, &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS,
            static_cast<DWORD>(ui::kVersionMajor << 16 | ui::kVersionMinor));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);  // .0.0
  const struct {
    const wchar_t* Key;
    std::wstring Value;
  } kStrings[] = {
      {L"ProductName", L"Vellamire"},
      {L"ProductVersion", Widen(ui::kProductVersion)},  // "1.00"
      {L"FileVersion", Widen(ui::kFileVersion)},        // "1.0.0.0"
      {L"CompanyName", L"The Vellamire authors"},
  };
  for (const auto& c : kStrings) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + c.Key;
    ASSERT_TRUE(VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        << c.Key;
    EXPECT_EQ(std::wstring(value), c.Value);
  }
  wchar_t* description = nullptr;
  EXPECT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\FileDescription",
                             reinterpret_cast<void**>(&description), &length));
  EXPECT_GT(length, 1u);
  // The copyright line of the license, whatever its years.
  wchar_t* copyright = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright",
                             reinterpret_cast<void**>(&copyright), &length));
  const std::wstring line = copyright;
  const std::wstring holder = L" The Vellamire authors";
  EXPECT_EQ(line.rfind(L"Copyright (c) 2", 0), 0u) << line;
  ASSERT_GT(line.size(), holder.size());
  EXPECT_EQ(line.substr(line.size() - holder.size()), holder);
}

TEST_F(Form1Win32, EachControlHasItsClassStyleTextPlaceAndFont) {
  const struct {
    ControlKind Kind;
    const wchar_t* Class;
    LONG_PTR Set;    // style bits that must be there
    LONG_PTR Clear;  // and bits that must not
  } kKinds[] = {
      {ControlKind::Label, L"Static", WS_VISIBLE, WS_TABSTOP},
      {ControlKind::TextBox, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY},
      {ControlKind::ComboBox, L"ComboBox", WS_TABSTOP | CBS_DROPDOWNLIST, CBS_SORT},
      {ControlKind::Button, L"Button", WS_TABSTOP, BS_DEFPUSHBUTTON},
      {ControlKind::ReportBox, L"Edit", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0},
  };
  const int dpi = ScreenDpi();
  for (int i = 0; i < ui::kForm1ControlCount; ++i) {
    const ui::ControlDef& def = kForm1Controls[i];
    SCOPED_TRACE(std::string(def.Name));
    HWND control = ui::win32::ControlOf(*form_, def.Name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), window_);
    EXPECT_NE(GetDlgCtrlID(control), IDOK);
    EXPECT_NE(GetDlgCtrlID(control), IDCANCEL);

    for (const auto& kind : kKinds) {
      if (kind.Kind != def.Kind) continue;
      EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), kind.Class), 0) << ClassOf(control).c_str();
      const LONG_PTR style = StyleOf(control);
      EXPECT_EQ(style & kind.Set, kind.Set);
      EXPECT_EQ(style & kind.Clear, 0);
      if (def.Kind == ControlKind::Button) {
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
      }
      if (def.Kind == ControlKind::Label) {
        EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);  // a caption never wraps
      }
      if (def.Kind == ControlKind::ComboBox) {
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
      }
    }

    const std::wstring text = def.Kind == ControlKind::ComboBox ? L"Sunday" : Widen(def.Text);
    EXPECT_EQ(TextOf(control), text);
  }
  ExpectLaidOutAt(*form_, dpi);
}

TEST_F(Form1Win32, FocusStartsInSunriseAndTabVisitsTheControlsInOrder) {
  EXPECT_EQ(GetFocus(), form_->txtSunrise);
  const HWND order[] = {form_->txtSunrise, form_->txtSunset, form_->txtNextSunrise,
                        form_->Combo1,     form_->Command1,  form_->Text1};
  constexpr int kCount = sizeof(order) / sizeof(order[0]);
  for (int i = 0; i < kCount; ++i) {
    EXPECT_EQ(GetNextDlgTabItem(window_, order[i], FALSE), order[(i + 1) % kCount]) << i;
    EXPECT_EQ(GetNextDlgTabItem(window_, order[(i + 1) % kCount], TRUE), order[i]) << i;
  }
  // The Tab key itself, through the read-only report box and round again.
  for (int i = 1; i <= kCount; ++i) {
    PressKey(window_, VK_TAB);
    EXPECT_EQ(GetFocus(), order[i % kCount]) << i;
    // As in any dialog, the button looks like the default one only while it
    // has the focus; the window itself never has a default button.
    if (GetFocus() != form_->Command1) {
      EXPECT_EQ(StyleOf(form_->Command1) & BS_TYPEMASK, BS_PUSHBUTTON) << i;
    }
    EXPECT_NE(HIWORD(SendMessageW(window_, DM_GETDEFID, 0, 0)), DC_HASDEFID) << i;
  }
  // Back in the first entry after passing the button, Enter still computes nothing.
  PressKey(window_, VK_RETURN);
  EXPECT_EQ(TextOf(form_->Text1), L"");
}

TEST_F(Form1Win32, DayListHoldsTheSevenDaysWithSundayChosen) {
  ASSERT_EQ(SendMessageW(form_->Combo1, CB_GETCOUNT, 0, 0), 7);
  for (int i = 0; i < 7; ++i) {
    wchar_t day[32] = {};
    SendMessageW(form_->Combo1, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(day));
    EXPECT_EQ(std::wstring(day), Widen(ui::kDayNames[i]));
  }
  EXPECT_EQ(SendMessageW(form_->Combo1, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(form_->State.SelectedDay, 1);
  engine::RulerTable filled{};
  engine::FillRulerTable(filled);
  EXPECT_EQ(form_->State.RulerTable, filled);

  // Open, the list shows all seven without scrolling.
  EXPECT_GE(DaysShownOpen(form_->Combo1), 7);
}

TEST_F(Form1Win32, ComputeWithTheDefaultsShowsTheEngineReport) {
  // The picture for the docs, taken before Compute: Wine's edit box drops
  // the blanks after a TAB, so the report would stand in the wrong columns.
  if (const char* dir = std::getenv("VELLAMIRE_SCREENSHOT_DIR")) {
    Pump(window_, 300);
    EXPECT_TRUE(WriteScreenshot(window_, std::string(dir) + "/form1-win32.bmp"));
  }
  SetWindowTextW(form_->Text1, L"an earlier text");
  const SeenBox seen = ClickCompute(window_, form_->Command1);
  EXPECT_FALSE(seen.Seen);
  const std::wstring expected = EngineReport(1, "05:30", "18:30", "05:30");
  EXPECT_EQ(TextOf(form_->Text1), expected);
  EXPECT_NE(expected.find(L"\r\n"), std::wstring::npos);
  EXPECT_EQ(GetFocus(), form_->Command1);  // where the click put it

  // The Space key on the focused button is a press too, with the same result.
  SetWindowTextW(form_->Text1, L"");
  PressKey(window_, VK_SPACE);
  EXPECT_EQ(TextOf(form_->Text1), expected);
}

TEST_F(Form1Win32, EnterInAnEntryComputesNothing) {
  for (HWND entry : {form_->txtSunrise, form_->txtSunset, form_->txtNextSunrise}) {
    SetFocus(entry);
    SeenBox seen;
    g_seen = &seen;
    g_timer = SetTimer(nullptr, 0, 20, WatchForBox);
    PressKey(window_, VK_RETURN);
    KillTimer(nullptr, g_timer);
    g_seen = nullptr;
    EXPECT_FALSE(seen.Seen);
    EXPECT_EQ(TextOf(form_->Text1), L"");
    EXPECT_EQ(GetFocus(), entry);
    EXPECT_TRUE(IsWindow(window_));
  }
}

TEST_F(Form1Win32, EscapeInTheReportBoxLeavesTheWindowOpen) {
  SetFocus(form_->Text1);
  PressKey(window_, VK_ESCAPE);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(GetFocus(), form_->Text1);
}

TEST_F(Form1Win32, EachBadEntryOpensItsMessageAndGetsTheFocusBack) {
  const struct {
    const wchar_t* Sunrise;
    const wchar_t* Sunset;
    const wchar_t* Next;
    ui::TimeEntry Bad;
  } kCases[] = {
      {L"25:00", L"18:30", L"05:30", ui::TimeEntry::Sunrise},
      {L"abc", L"xyz", L"05:30", ui::TimeEntry::Sunrise},                // only the first is told
      {L"\xFF10\xFF15:30", L"18:30", L"05:30", ui::TimeEntry::Sunrise},  // full-width digits
      {L"\u300005:30", L"18:30", L"05:30", ui::TimeEntry::Sunrise},      // an ideographic space
      {L"05:30", L"18:30\xD800", L"05:30", ui::TimeEntry::Sunset},       // a lone surrogate
      {L"05:30", L"18:61", L"05:30", ui::TimeEntry::Sunset},
      {L"05:30", L"18:30", L"", ui::TimeEntry::NextSunrise},  // nothing to select here
      {L"05:30", L"18:30", L"5.30", ui::TimeEntry::NextSunrise},
  };
  ClickCompute(window_, form_->Command1);
  const std::wstring report = TextOf(form_->Text1);
  ASSERT_FALSE(report.empty());
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(ui::EntryControlName(c.Bad)));
    SetEntries(c.Sunrise, c.Sunset, c.Next);
    HWND entry = ui::win32::ControlOf(*form_, ui::EntryControlName(c.Bad));
    SendMessageW(entry, EM_SETSEL, 1, 2);
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const engine::ScheduleState before = form_->State;

    const SeenBox seen = ClickCompute(window_, form_->Command1);
    ASSERT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Title, L"Vellamire");
    EXPECT_EQ(seen.Text, Widen(ui::BadEntryMessage(c.Bad)));
    EXPECT_EQ(seen.VisibleButtons, 1);
    EXPECT_TRUE(seen.HasOk);
    EXPECT_FALSE(seen.ShowsIcon);
    EXPECT_EQ(seen.Owner, window_);
    EXPECT_FALSE(seen.OwnerEnabled);  // modal: the window takes no input meanwhile

    EXPECT_EQ(GetFocus(), entry);
    DWORD start = 0, end = 0;
    SendMessageW(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, selStart);
    EXPECT_EQ(end, selEnd);
    EXPECT_EQ(TextOf(form_->Text1), report);
    EXPECT_EQ(TextOf(form_->txtSunrise), c.Sunrise);
    EXPECT_EQ(TextOf(form_->txtSunset), c.Sunset);
    EXPECT_EQ(TextOf(form_->txtNextSunrise), c.Next);
    EXPECT_EQ(form_->State.SunriseTime, before.SunriseTime);
    EXPECT_EQ(form_->State.DayLength, before.DayLength);
    EXPECT_EQ(form_->State.HourStart, before.HourStart);
  }
}

TEST_F(Form1Win32, PastedTimeComputes) {
  const struct {
    const wchar_t* Pasted;
    const char* Typed;  // the same time as typed by hand
  } kCases[] = {
      {L"6:40\u202FAM", "6:40 AM"},        // narrow no-break space
      {L"5:12\u00A0AM", "5:12 AM"},        // no-break space
      {L"\u20094:58\u2007PM", "4:58 PM"},  // thin and figure spaces
      {L"\t04:58", "04:58"},               // a table cell
      {L"04:58\r\n", "04:58"},             // a line of text
  };
  for (const auto& c : kCases) {
    const std::wstring pasted = c.Pasted;
    SCOPED_TRACE(c.Typed);
    ASSERT_TRUE(PutOnClipboard(window_, pasted));
    SetFocus(form_->txtSunrise);
    SendMessageW(form_->txtSunrise, EM_SETSEL, 0, -1);
    SendMessageW(form_->txtSunrise, WM_PASTE, 0, 0);
    // A single-line box may drop a line end and what follows it; the rest
    // arrives as it was pasted.
    const std::wstring entry = TextOf(form_->txtSunrise);
    EXPECT_TRUE(entry == pasted || entry == pasted.substr(0, pasted.find_first_of(L"\r\n")))
        << entry.size();

    SetWindowTextW(form_->Text1, L"");
    const SeenBox seen = ClickCompute(window_, form_->Command1);
    EXPECT_FALSE(seen.Seen);
    EXPECT_EQ(TextOf(form_->Text1), EngineReport(1, c.Typed, "18:30", "05:30"));
  }
}

TEST_F(Form1Win32, ChoosingSaturdayGivesSevenAndItsReport) {
  SetFocus(form_->Combo1);
  PressKey(window_, VK_END);
  EXPECT_EQ(SendMessageW(form_->Combo1, CB_GETCURSEL, 0, 0), 6);
  EXPECT_EQ(form_->State.SelectedDay, 7);
  ClickCompute(window_, form_->Command1);
  EXPECT_EQ(TextOf(form_->Text1), EngineReport(7, "05:30", "18:30", "05:30"));

  SetFocus(form_->Combo1);
  PressKey(window_, VK_HOME);
  EXPECT_EQ(form_->State.SelectedDay, 1);
}

TEST_F(Form1Win32, ScreenReadersNameEachEntryAfterTheLabelBeforeIt) {
  const struct {
    const char* Control;
    const wchar_t* Name;
  } kCases[] = {
      {"txtSunrise", L"Sunrise"},
      {"txtSunset", L"Sunset"},
      {"txtNextSunrise", L"Sunrise (next day)"},
      {"Combo1", L"Day of the week"},
      {"Text1", L"Report"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Control);
    HWND control = ui::win32::ControlOf(*form_, c.Control);
    ASSERT_NE(control, nullptr);
    // Windows takes the static text that comes right before the control in
    // the window order: a hidden one that holds the name.
    HWND label = GetWindow(control, GW_HWNDPREV);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(label).c_str(), L"Static"), 0) << ClassOf(label).c_str();
    EXPECT_EQ(TextOf(label), c.Name);
    EXPECT_FALSE(IsWindowVisible(label));
    EXPECT_EQ(StyleOf(label) & WS_TABSTOP, 0);
    if (ClassOf(control) != L"ComboBox" || !UnderWine()) {
      EXPECT_EQ(AccessibleTextOf(control), c.Name);
    }
  }
}

// The day list's value is the day it shows: Sunday, then Monday after the
// Down key. Wine's oleacc has no value for it and names it by that day.
TEST_F(Form1Win32, ScreenReadersReadTheDayShownAsTheListsValue) {
  const auto shown = [this] { return AccessibleTextOf(form_->Combo1, !UnderWine()); };
  EXPECT_EQ(shown(), L"Sunday");
  SetFocus(form_->Combo1);
  PressKey(window_, VK_DOWN);
  EXPECT_EQ(shown(), L"Monday");
}

TEST_F(Form1Win32, ReportBoxHasTabStopsEveryEightCharacters) {
  ExpectTabStopsEveryEightCharacters(form_->Text1);
}

// Windows sends WM_DPICHANGED when the window moves to a monitor of another
// scale. The window then makes its fonts anew for that DPI and frees the old
// ones, puts its controls where their twips fall at that DPI, fits the list
// again, keeps the report's tab stops, and takes the rectangle suggested.
TEST_F(Form1Win32, DpiChangeRemakesTheFontsAndLaysTheControlsOutAgain) {
  for (int dpi : {120, 144, 192, 96}) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    std::vector<HFONT> before;
    for (const ui::ControlDef& def : kForm1Controls) {
      before.push_back(FontOf(ui::win32::ControlOf(*form_, def.Name)));
    }

    const RECT suggested = SendDpiChanged(window_, dpi);
    Pump(window_);
    EXPECT_EQ(form_->Dpi, dpi);
    RECT frame, client;
    GetWindowRect(window_, &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(9405, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(6840, dpi));

    ExpectLaidOutAt(*form_, dpi);
    for (HFONT old : before)
      EXPECT_EQ(GetObjectType(old), 0u) << "a font of before the change is left";
    EXPECT_GE(DaysShownOpen(form_->Combo1), 7);
    ExpectTabStopsEveryEightCharacters(form_->Text1);
  }
}

// Every caption whole in its label at each DPI: the caption as wide as its
// label's own font draws it fits the label, and so does the font's cell
// (ascent and descent), so no descender is cut. The faces are whatever the
// system gives for the definition's, so this holds for whichever it is;
// that the labels, grown to hold it, overlap nothing is checked with the
// layout above.
TEST_F(Form1Win32, CaptionsAreWholeInTheirLabelsAtEveryDpi) {
  for (int dpi : {96, 120, 144, 192}) {
    SendDpiChanged(window_, dpi);
    Pump(window_);
    for (int i = 0; i < ui::kForm1ControlCount; ++i) {
      const ui::ControlDef& def = kForm1Controls[i];
      if (def.Kind != ControlKind::Label) continue;
      HWND label = ui::win32::ControlOf(*form_, def.Name);
      const Measured caption = Measure(label, Widen(def.Text));
      SCOPED_TRACE(std::string(def.Name) + " at " + std::to_string(dpi) + " dpi in " +
                   std::string(caption.Face.begin(), caption.Face.end()));
      RECT client;
      GetClientRect(label, &client);
      EXPECT_LE(caption.Extent.cx, client.right);
      EXPECT_LE(caption.Extent.cy, client.bottom);
      EXPECT_LE(caption.CellHeight, client.bottom);
    }
  }
}

// "MS Sans Serif" is a bitmap face on Windows and in a Wine prefix that holds
// Wine's .fon faces; elsewhere Wine maps the name to an outline face. Its
// bitmap face is kept at 96 dpi, the DPI it is drawn for, where its sizes are
// those asked; at every other DPI each control of that family gets an outline
// face. At every DPI the character height is within 1 px of the asked one.
// The run in a prefix with the .fon faces sets VELLAMIRE_BITMAP_FACES, and
// fails where GDI gives no bitmap face, so it cannot pass without meeting one.
TEST_F(Form1Win32, SansSerifIsKeptAsABitmapFaceOnlyWhereItIsTheAskedSize) {
  const bool bitmap = SansSerifIsBitmap();
  if (std::getenv("VELLAMIRE_BITMAP_FACES") != nullptr) {
    ASSERT_TRUE(bitmap) << "GDI gives no bitmap face for \"MS Sans Serif\" here: the .fon "
                           "faces did not reach this Wine prefix";
  }
  for (int dpi : {96, 120, 144, 192}) {
    SendDpiChanged(window_, dpi);
    Pump(window_);
    for (const ui::ControlDef& def : kForm1Controls) {
      if (def.Font.Family != "MS Sans Serif") continue;
      const Measured font = Measure(ui::win32::ControlOf(*form_, def.Name), L"");
      SCOPED_TRACE(std::string(def.Name) + " at " + std::to_string(dpi) + " dpi in " +
                   std::string(font.Face.begin(), font.Face.end()));
      const LONG asked = PixelsOf(def.Font.Points, dpi);
      EXPECT_GE(font.CharHeight, asked - 1);
      EXPECT_LE(font.CharHeight, asked + 1);
      if (bitmap && dpi == 96) {
        EXPECT_FALSE(font.Outline);
        EXPECT_EQ(font.CharHeight, asked);
      } else {
        EXPECT_TRUE(font.Outline);
      }
    }
  }
}

TEST_F(Form1Win32, ControlsAreTheCommonControlsOfVersion6) {
  // The test program carries the program's manifest. With its dependency on
  // the common controls of version 6, the system's control classes are those
  // of comctl32.dll, which draw the current look, instead of user32.dll's.
  for (int i = 0; i < ui::kForm1ControlCount; ++i) {
    SCOPED_TRACE(std::string(kForm1Controls[i].Name));
    const auto procedure =
        GetWindowLongPtrW(ui::win32::ControlOf(*form_, kForm1Controls[i].Name), GWLP_WNDPROC);
    HMODULE module = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(procedure), &module));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    const wchar_t* file = std::wcsrchr(path, L'\\');
    EXPECT_EQ(_wcsicmp(file != nullptr ? file + 1 : path, L"comctl32.dll"), 0) << path;
  }
  // Only the version 6 button measures itself.
  SIZE ideal{};
  EXPECT_TRUE(SendMessageW(form_->Command1, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  EXPECT_GT(ideal.cx, 0);
}

// The icon's group in the resources has a frame of each size the shell asks
// for, so none is drawn scaled from another (loading an icon at a size scales
// the nearest frame, so a load alone cannot tell), and each frame makes an
// icon.
TEST_F(Form1Win32, IconHasAFrameOfEverySizeTheShellAsksFor) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(ui::win32::kIconResourceId), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(directory, nullptr);
  // A WORD count at byte 4, then an entry of 14 bytes for each frame: width and
  // height (0 for 256) at bytes 0 and 1, the frame's length at byte 8 and its
  // icon resource's id at byte 12.
  const auto word = [](const BYTE* at) { return static_cast<unsigned>(at[0] | at[1] << 8); };
  const unsigned count = word(directory + 4);
  ASSERT_LE(6 + count * 14, SizeofResource(module, group));
  std::vector<int> sizes;
  for (unsigned i = 0; i < count; ++i) {
    const BYTE* entry = directory + 6 + i * 14;
    const int width = entry[0] == 0 ? 256 : entry[0];
    const int height = entry[1] == 0 ? 256 : entry[1];
    SCOPED_TRACE(width);
    EXPECT_EQ(height, width);
    HRSRC frame = FindResourceW(module, MAKEINTRESOURCEW(word(entry + 12)), RT_ICON);
    ASSERT_NE(frame, nullptr);
    const DWORD length = SizeofResource(module, frame);
    EXPECT_EQ(length, word(entry + 8) | word(entry + 10) << 16);
    // The frame makes an icon at its own size.
    auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module, frame)));
    HICON icon =
        CreateIconFromResourceEx(bits, length, TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
    sizes.push_back(width);
  }
  for (int size : {16, 24, 32, 48, 64, 256}) {
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), size), 1) << "frames of " << size << " pixels";
  }
}

UINT WINAPI MonitorAt144(HWND) { return 144; }

// The window is drawn for its monitor's DPI, which GetDpiForWindow gives, not
// the screen's: with a stand-in that says 144 while the screen is at another,
// the labels' 12 pt font is asked at 24 px and every control sits where its
// twips fall at 144 dpi.
TEST(Form1Win32Dpi, WindowTakesItsMonitorsDpiRatherThanTheScreens) {
  ASSERT_NE(ScreenDpi(), 144) << "the stand-in must give another DPI than the screen's";
  ui::win32::Form1 form;
  form.DpiForWindow = MonitorAt144;
  ASSERT_TRUE(ui::win32::CreateForm1(form, GetModuleHandleW(nullptr)));
  EXPECT_EQ(form.Dpi, 144);
  RECT client;
  GetClientRect(form.Window, &client);
  EXPECT_EQ(client.right, 941);
  EXPECT_EQ(client.bottom, 684);
  LOGFONTW font{};
  GetObjectW(FontOf(form.Label1), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -24);
  ExpectLaidOutAt(form, 144);
  DestroyWindow(form.Window);
  Pump(nullptr);  // and the quit message the closing posts
}

// The window closed from outside while the bad-entry box is open: the box's
// own message loop destroys the window, and the press of Compute then ends
// without touching anything freed. Every object made meanwhile, the record
// first, sits on pages of its own that are unmapped when it is freed, so a
// use after free ends the program with an access violation.
TEST(Form1Win32Lifetime, ClosingTheWindowWhileTheBadEntryBoxIsOpenTouchesNothingFreed) {
  page_heap::DieOnAccessViolation();
  page_heap::Use(true);
  auto* form = new ui::win32::Form1;
  ASSERT_TRUE(page_heap::OnPages(form));
  ASSERT_TRUE(ui::win32::CreateForm1(*form, GetModuleHandleW(nullptr)));
  HWND window = form->Window;
  ui::win32::Form_Load(*form, SW_SHOWNORMAL);
  Pump(window, 100);
  SetWindowTextW(form->txtSunrise, L"bad");

  g_closeTarget = window;
  g_closeSent = false;
  g_timer = SetTimer(nullptr, 0, 20, CloseOwnerOfBox);
  SendMessageW(form->Command1, BM_CLICK, 0, 0);  // returns once the box is gone
  if (g_timer != 0) KillTimer(nullptr, g_timer);
  g_timer = 0;

  EXPECT_TRUE(g_closeSent);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form->Window, nullptr);  // the record was told, and is still there
  for (const ui::ControlDef& def : kForm1Controls) {
    EXPECT_EQ(ui::win32::ControlOf(*form, def.Name), nullptr) << def.Name;
  }
  // The closing asked the message loop to end.
  bool quit = false;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);

  delete form;  // its pages go now; nothing may read them after this
  Pump(nullptr, 100);
  page_heap::Use(false);
}

}  // namespace
