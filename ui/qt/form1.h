// Form1 in Qt Widgets: the widgets built from the window's definition, and
// the three handlers.
#ifndef VELLAMIRE_UI_QT_FORM1_H_
#define VELLAMIRE_UI_QT_FORM1_H_

#include <QWidget>

#include "engine/schedule.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ui {

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
