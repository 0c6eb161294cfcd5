// Compute pressed in the Qt test programs: a message box it opens is read and
// closed at once, so a test that expects a report fails instead of waiting on
// the modal box until CTest's time limit.
#ifndef VELLAMIRE_TESTS_UI_PRESS_COMPUTE_H_
#define VELLAMIRE_TESTS_UI_PRESS_COMPUTE_H_

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/qt/form1.h"

namespace test_support {

// What the modal message box showed; Seen false when none opened.
struct SeenBox {
  bool Seen = false;
  QString Title;
  QString Text;
  int Buttons = 0;
  bool IsOk = false;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Presses Compute with a mouse click, or with `key` when one is given (the
// button must have the keyboard), and gives the message box the press
// opened. The box is read and closed (with OK where it has one) from inside
// its own event loop by a timer that ends with the press, so the press
// returns within milliseconds either way. Where a report is expected, the
// box's Text must be empty. Cannot fail.
inline SeenBox PressCompute(ui::Form1& form, Qt::Key key = Qt::Key_unknown) {
  SeenBox seen;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || seen.Seen) return;
    seen = {true,
            box->windowTitle(),
            box->text(),
            static_cast<int>(box->buttons().size()),
            box->button(QMessageBox::Ok) != nullptr,
            box->icon()};
    if (seen.IsOk) {
      box->button(QMessageBox::Ok)->click();
    } else {
      box->reject();
    }
  });
  watch.start(20);
  if (key == Qt::Key_unknown) {
    QTest::mouseClick(form.Command1, Qt::LeftButton);
  } else {
    QTest::keyClick(form.Command1, key);
  }
  watch.stop();
  return seen;
}

}  // namespace test_support

#endif  // VELLAMIRE_TESTS_UI_PRESS_COMPUTE_H_
