// The window on a Wayland compositor, through Qt's own Wayland platform (not
// an X server): CTest runs this on a headless weston of the build's own
// (fixture wayland) with QT_QPA_PLATFORM=wayland.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "tests/support.h"
#include "ui/compute_command.h"
#include "ui/qt/form1.h"

namespace {

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

// A left click at the centre of `widget`, delivered to its window as the
// platform delivers the compositor's pointer events.
void ClickOnWindow(QWidget* widget) {
  QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    widget->mapTo(widget->window(), widget->rect().center()));
}

}  // namespace

class Form1WaylandTest : public QObject {
  Q_OBJECT

 private slots:
  void platformIsWayland() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland")); }

  void windowShowsAndComputeGivesTheReport() {
    ui::Form1 form;
    form.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QWindow* window = form.windowHandle();
    QCOMPARE(window->title(), QStringLiteral("Orvandel"));
    QCOMPARE(window->size(), QSize(627, 456));

    ClickOnWindow(form.Command1);
    const std::string report = test_support::EngineReport(1, "05:30", "18:30", "05:30");
    QCOMPARE(form.Text1->toPlainText(),
             ToQString(report).replace(QLatin1String("\r\n"), QLatin1String("\n")));
  }

  // The message box is a window of its own, which the compositor must show.
  void refusedEntryShowsItsMessageBox() {
    ui::Form1 form;
    form.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.txtSunset->setText(QStringLiteral("25:00"));
    // The box runs its own event loop inside the click; the timer waits there
    // until the compositor has shown it, reads it and presses OK.
    bool shown = false;
    QString text;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || box->windowHandle() == nullptr || !box->windowHandle()->isExposed()) {
        return;
      }
      shown = true;
      text = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    watch.start(20);
    // A box that never shows would keep the click from returning.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    guard.start(10000);
    ClickOnWindow(form.Command1);
    watch.stop();
    guard.stop();
    QVERIFY(shown);
    QCOMPARE(text, ToQString(ui::BadEntryMessage(ui::TimeEntry::Sunset)));
    QVERIFY(form.Text1->toPlainText().isEmpty());
  }
};

QTEST_MAIN(Form1WaylandTest)
#include "form1_wayland_test.moc"
