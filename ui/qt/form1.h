// Form1 in Qt Widgets: the widgets built from the window's definition, and
// the three handlers.
#ifndef VELLAMIRE_UI_QT_FORM1_H_
#define VELLAMIRE_UI_QT_FORM1_H_

#include <QFont>
#include <QWidget>

#include "engine/schedule.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ui {

// A pixel counts as ink of a text when it has moved at least this fraction of
// the way from its background to the text's colour: when a glyph covers at
// least half of it, as a renderer without anti-aliasing would draw it. A
// fainter row or column only places a glyph's edge within a pixel; losing it
// moves that edge by under half a pixel, which nobody sees (the outermost
// rows that 12 pt captions in Noto Sans lose at 144 dpi reach 19 to 33 per
// cent), while rows inside a glyph reach 86 per cent and more.
inline constexpr double kInkContrast = 0.5;

// `font` when every character a report can hold (printable ASCII) has the
// same advance in it; otherwise, in its size and weight, the system's fixed
// face or else the first fixed-pitch family whose characters do. Gives `font`
// itself when no installed face does.
QFont WithOneAdvance(const QFont& font);

// Makes Qt 5 scale the window by the screen's logical DPI over 96, unrounded
// (1.25 at 120 dpi, 1.5 at 144), as Qt 6 does by default; without it Qt 5
// grows the fonts but not the window. Nothing to do under Qt 6. Call before
// the application object is made.
void PrepareHighDpiScaling();

class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);

  // Shows the window, chooses Sunday (which runs Combo1_Click) and fills the
  // ruler table. Run once, before the event loop.
  void Form_Load();

  // The weekday chosen in Combo1 becomes the selected day.
  void Combo1_Click();

  // Checks the entries; reports the first bad one and puts the focus on it,
  // or replaces Text1 with the new report.
  void Command1_Click();

  const engine::ScheduleState& State() const { return state_; }

  // The widget of the control of that name; nullptr for a name not in the
  // definition.
  QWidget* Control(std::string_view name) const;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* txtSunrise = nullptr;
  QLineEdit* txtSunset = nullptr;
  QLineEdit* txtNextSunrise = nullptr;
  QComboBox* Combo1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPlainTextEdit* Text1 = nullptr;

 private:
  void ShowMessage(const QString& text);

  engine::ScheduleState state_;
};

}  // namespace ui

#endif  // VELLAMIRE_UI_QT_FORM1_H_
