// The Qt window, driven as a user would: keys, clicks and the real modal box.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

#include "tests/support.h"
#include "tests/ui/press_compute.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"
#include "ui/qt/form1.h"

using test_support::PressCompute;

namespace {

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

// The report the engine renders for these entries, as the box shows it.
QString EngineReport(std::uint8_t day, const char* sunrise, const char* sunset, const char* next) {
  return ToQString(test_support::EngineReport(day, sunrise, sunset, next))
      .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

struct Snapshot {
  QString Sunrise, Sunset, Next, Report;
  engine::ScheduleState State;
};

Snapshot Take(const ui::Form1& form) {
  return {form.txtSunrise->text(), form.txtSunset->text(), form.txtNextSunrise->text(),
          form.Text1->toPlainText(), form.State()};
}

// After the message box: the window's focus is on `entry`, and it has the
// keyboard once the window is active again (the offscreen platform does not
// reactivate it by itself, as a window manager does).
void ExpectFocusBackOn(ui::Form1& form, QWidget* entry) {
  QTRY_COMPARE(form.focusWidget(), entry);
  form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QTRY_COMPARE(QApplication::focusWidget(), entry);
}

bool SameState(const engine::ScheduleState& a, const engine::ScheduleState& b) {
  return a.SelectedDay == b.SelectedDay && a.SunriseTime == b.SunriseTime &&
         a.SunsetTime == b.SunsetTime && a.NextSunriseTime == b.NextSunriseTime &&
         a.DayLength == b.DayLength && a.DayHourLength == b.DayHourLength &&
         a.NightLength == b.NightLength && a.NightHourLength == b.NightHourLength &&
         a.HourStart == b.HourStart && a.RulerTable == b.RulerTable &&
         a.FirstRuler == b.FirstRuler && a.CurrentRuler == b.CurrentRuler;
}

// The message the entry of that control name gets when it is refused.
QString MessageFor(const QString& entry) {
  for (ui::TimeEntry e :
       {ui::TimeEntry::Sunrise, ui::TimeEntry::Sunset, ui::TimeEntry::NextSunrise}) {
    if (ToQString(ui::EntryControlName(e)) == entry) return ToQString(ui::BadEntryMessage(e));
  }
  return {};
}

// Compute with the entry of that control name holding a bad text: the real
// modal box shows its message (title "Vellamire", one OK, no icon), the
// focus goes back to the entry without selecting it, and nothing else
// changes.
void ExpectRefused(ui::Form1& form, const QString& entry) {
  auto* faulty = form.findChild<QLineEdit*>(entry);
  QVERIFY(faulty != nullptr);
  const Snapshot before = Take(form);
  const test_support::SeenBox seen = PressCompute(form);
  QVERIFY(seen.Seen);
  QCOMPARE(seen.Title, QStringLiteral("Vellamire"));
  QCOMPARE(seen.Text, MessageFor(entry));
  QCOMPARE(seen.Buttons, 1);
  QVERIFY(seen.IsOk);
  QCOMPARE(seen.Icon, QMessageBox::NoIcon);

  ExpectFocusBackOn(form, faulty);
  QVERIFY(!faulty->hasSelectedText());
  const Snapshot after = Take(form);
  QCOMPARE(after.Sunrise, before.Sunrise);
  QCOMPARE(after.Sunset, before.Sunset);
  QCOMPARE(after.Next, before.Next);
  QCOMPARE(after.Report, before.Report);
  QVERIFY(SameState(after.State, before.State));
}

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ui::Form1> form_;

  // A loaded, active window, as the program starts it.
  ui::Form1& Load() {
    form_ = std::make_unique<ui::Form1>();
    form_->Form_Load();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_.get())) qWarning("window did not become active");
    return *form_;
  }

 private slots:
  void cleanup() {
    form_.reset();
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  }

  void startsWithCaptionSizeAndFrame() {
    ui::Form1& form = Load();
    QCOMPARE(form.windowTitle(), QStringLiteral("Orvandel"));
    QCOMPARE(form.size(), QSize(627, 456));  // the client area, in device-independent pixels
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.minimumSize() != form.maximumSize());  // sizable
    QCOMPARE(form.font().family(), QStringLiteral("Courier New"));
    QCOMPARE(form.font().pointSizeF(), 12.0);
  }

  void controlsFollowTheDefinition_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    // Pixels are twips / 15, written out here as the layout shows them.
    // clang-format off
    QTest::newRow("Label1") << "Label1" << QRect(54, 9, 81, 17) << "Sunrise :" << "MS Sans Serif" << 12.0 << true;
    QTest::newRow("Label2") << "Label2" << QRect(54, 36, 73, 17) << "Sunset  :" << "MS Sans Serif" << 12.0 << true;
    QTest::newRow("Label3") << "Label3" << QRect(324, 9, 163, 17) << "Sunrise (next day) :" << "MS Sans Serif" << 12.0 << true;
    QTest::newRow("txtSunrise") << "txtSunrise" << QRect(132, 9, 94, 21) << "05:30" << "MS Sans Serif" << 8.25 << false;
    QTest::newRow("txtSunset") << "txtSunset" << QRect(132, 33, 94, 21) << "18:30" << "MS Sans Serif" << 8.25 << false;
    QTest::newRow("txtNextSunrise") << "txtNextSunrise" << QRect(489, 6, 94, 21) << "05:30" << "MS Sans Serif" << 8.25 << false;
    QTest::newRow("Label4") << "Label4" << QRect(336, 33, 151, 17) << "Day of the week  :" << "MS Sans Serif" << 12.0 << true;
    QTest::newRow("Combo1") << "Combo1" << QRect(489, 30, 97, 21) << "Sunday" << "MS Sans Serif" << 8.25 << false;
    QTest::newRow("Command1") << "Command1" << QRect(3, 60, 622, 31) << "Compute" << "Courier New" << 12.0 << false;
    QTest::newRow("Text1") << "Text1" << QRect(3, 93, 622, 361) << "" << "Courier New" << 9.75 << false;
    // clang-format on
  }

  void controlsFollowTheDefinition() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    ui::Form1& form = Load();
    auto* widget = form.findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget(), static_cast<QWidget*>(&form));
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->font().family(), family);
    QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) shown = combo->currentText();
    if (auto* button = qobject_cast<QPushButton*>(widget)) shown = button->text();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) shown = box->toPlainText();
    QCOMPARE(shown, text);
  }

  void controlsAreOfTheirKind() {
    ui::Form1& form = Load();
    QStringList days;
    for (int i = 0; i < form.Combo1->count(); ++i) days << form.Combo1->itemText(i);
    QCOMPARE(days, (QStringList{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                "Saturday"}));
    QVERIFY(!form.Combo1->isEditable());
    QVERIFY(!form.Command1->isDefault());
    QVERIFY(!form.Command1->autoDefault());
    QVERIFY(form.Text1->isReadOnly());
    QVERIFY(form.Text1->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(form.Text1->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(form.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(QFontInfo(form.Text1->font()).fixedPitch());
    for (QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4}) {
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(form.Control("Label5"), static_cast<QWidget*>(nullptr));  // not in the definition
  }

  void labelsNameTheirControls() {
    ui::Form1& form = Load();
    QCOMPARE(form.Label1->buddy(), static_cast<QWidget*>(form.txtSunrise));
    QCOMPARE(form.Label4->buddy(), static_cast<QWidget*>(form.Combo1));
    QCOMPARE(form.txtSunrise->accessibleName(), QStringLiteral("Sunrise"));
    QCOMPARE(form.txtSunset->accessibleName(), QStringLiteral("Sunset"));
    QCOMPARE(form.txtNextSunrise->accessibleName(), QStringLiteral("Sunrise (next day)"));
    QCOMPARE(form.Combo1->accessibleName(), QStringLiteral("Day of the week"));
    QCOMPARE(form.Text1->accessibleName(), QStringLiteral("Report"));  // it has no label
  }

  void focusStartsOnSunriseAndTabsInOrder() {
    ui::Form1& form = Load();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.txtSunrise));
    const QWidget* order[] = {form.txtSunset, form.txtNextSunrise, form.Combo1,
                              form.Command1,  form.Text1,          form.txtSunrise};
    for (const QWidget* next : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTRY_COMPARE(QApplication::focusWidget(), next);
    }
    // Tabbing into an entry selects it, as a Tab does; the text stays.
    QCOMPARE(form.txtSunrise->text(), QStringLiteral("05:30"));
  }

  void loadChoosesSundayWithoutUserAction() {
    ui::Form1 form;
    QCOMPARE(form.Combo1->currentIndex(), -1);  // nothing chosen before the load
    QCOMPARE(int{form.State().SelectedDay}, 0);
    QVERIFY(form.State().RulerTable[0].empty());
    form.Form_Load();
    QVERIFY(form.isVisible());
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("Sunday"));
    QCOMPARE(int{form.State().SelectedDay}, 1);
    QCOMPARE(form.State().RulerTable[0], std::string("Sun"));
    QCOMPARE(form.State().RulerTable[13], std::string("Samael"));
  }

  void daySelectionFollowsTheList() {
    ui::Form1& form = Load();
    form.Combo1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Combo1));
    QTest::keyClick(form.Combo1, Qt::Key_End);  // chosen by the user: Saturday
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("Saturday"));
    QCOMPARE(int{form.State().SelectedDay}, 7);
    QCOMPARE(PressCompute(form).Text, QString());
    QCOMPARE(form.Text1->toPlainText(), EngineReport(7, "05:30", "18:30", "05:30"));
    QTest::keyClick(form.Combo1, Qt::Key_Home);
    QCOMPARE(int{form.State().SelectedDay}, 1);
    QCOMPARE(PressCompute(form).Text, QString());
    QCOMPARE(form.Text1->toPlainText(), EngineReport(1, "05:30", "18:30", "05:30"));
    QTest::keyClick(form.Combo1, Qt::Key_Down);
    QCOMPARE(int{form.State().SelectedDay}, 2);
  }

  void computeWithDefaultsShowsTheReport() {
    ui::Form1& form = Load();
    form.Text1->setPlainText(QStringLiteral("old text"));
    QCOMPARE(PressCompute(form).Text, QString());
    const QString expected = EngineReport(1, "05:30", "18:30", "05:30");
    QCOMPARE(form.Text1->toPlainText(), expected);
    // 40 lines and the empty one after the last.
    QCOMPARE(form.Text1->document()->blockCount(), 41);
    QVERIFY(expected.startsWith(QStringLiteral("Selected Day : Sunday\n\nSunrise = 05:30 AM\t")));
    // Pressing again gives the same text, not a second copy.
    QCOMPARE(PressCompute(form).Text, QString());
    QCOMPARE(form.Text1->toPlainText(), expected);

    const QString dir = qEnvironmentVariable("VELLAMIRE_SCREENSHOT_DIR", QDir::tempPath());
    QVERIFY(form.grab().save(dir + QStringLiteral("/form1-after-compute.png")));
  }

  void changingTheDayChangesOnlyNameAndRulers() {
    ui::Form1& form = Load();
    QCOMPARE(PressCompute(form).Text, QString());
    const QStringList sunday = form.Text1->toPlainText().split(QLatin1Char('\n'));
    form.Combo1->setCurrentIndex(3);
    QCOMPARE(PressCompute(form).Text, QString());
    const QStringList wednesday = form.Text1->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(wednesday.size(), sunday.size());
    QCOMPARE(wednesday[0], QStringLiteral("Selected Day : Wednesday"));
    QCOMPARE(wednesday[2], sunday[2]);
    QCOMPARE(wednesday[4], sunday[4]);
    QVERIFY(wednesday[11] != sunday[11]);
    QCOMPARE(wednesday[11].left(16), sunday[11].left(16));  // same start time
  }

  void badEntryShowsItsMessage_data() {
    QTest::addColumn<QString>("sunrise");
    QTest::addColumn<QString>("sunset");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("entry");  // the one refused
    // clang-format off
    QTest::newRow("sunrise letters") << "dawn" << "18:30" << "05:30" << "txtSunrise";
    QTest::newRow("sunrise and sunset bad") << "" << "25:00" << "05:30" << "txtSunrise";
    QTest::newRow("sunset bad") << "05:30" << "12:60" << "xx" << "txtSunset";
    QTest::newRow("next sunrise bad") << "05:30" << "18:30" << "24:00" << "txtNextSunrise";
    // clang-format on
  }

  void badEntryShowsItsMessage() {
    QFETCH(QString, sunrise);
    QFETCH(QString, sunset);
    QFETCH(QString, next);
    QFETCH(QString, entry);
    ui::Form1& form = Load();
    QCOMPARE(PressCompute(form).Text, QString());  // an earlier report to keep
    form.txtSunrise->setText(sunrise);
    form.txtSunset->setText(sunset);
    form.txtNextSunrise->setText(next);
    for (QLineEdit* e : {form.txtSunrise, form.txtSunset, form.txtNextSunrise}) e->deselect();
    ExpectRefused(form, entry);
  }

  void hostileTextGetsItsEntrysMessage_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    // clang-format off
    // As long as an entry holds: 32,767 digits.
    QTest::newRow("longest digits") << "txtSunrise" << QString(32767, QLatin1Char('0')) << false;
    // A good time drowned in letters up to the same length.
    QTest::newRow("longest tail") << "txtSunset" << QStringLiteral("18:30") + QString(32762, QLatin1Char('x')) << false;
    // Blanks only.
    QTest::newRow("blanks") << "txtNextSunrise" << QStringLiteral("     ") << false;
    // Control characters around and inside a time.
    QTest::newRow("controls") << "txtSunrise" << QChar(0x01) + QStringLiteral("05:30") + QChar(0x7f) << false;
    QTest::newRow("vertical tab") << "txtSunset" << QStringLiteral("\v18:30") << false;
    QTest::newRow("nul") << "txtSunset" << QString::fromLatin1("18\0:30", 6) << false;
    // Digits of other scripts: Arabic-Indic and full-width.
    QTest::newRow("arabic-indic") << "txtSunrise" << QString::fromUtf8("\u0660\u0665:\u0663\u0660") << false;
    QTest::newRow("full-width") << "txtNextSunrise" << QString::fromUtf8("\uff10\uff15\uff1a\uff13\uff10") << false;
    QTest::newRow("accented letters") << "txtSunset" << QString::fromUtf8("\u00e9t\u00e9") << false;
    // An emoji after a good time.
    QTest::newRow("emoji") << "txtSunrise" << QString::fromUtf8("05:30 \U0001F305") << false;
    // A lone colon.
    QTest::newRow("colon") << "txtNextSunrise" << QStringLiteral(":") << false;
    // Several lines pasted from elsewhere.
    QTest::newRow("pasted lines") << "txtSunrise" << QStringLiteral("05:30\n18:30\n05:31") << true;
    // clang-format on
  }

  void hostileTextGetsItsEntrysMessage() {
    QFETCH(QString, entry);
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    ui::Form1& form = Load();
    QCOMPARE(PressCompute(form).Text, QString());  // an earlier report to keep
    auto* faulty = form.findChild<QLineEdit*>(entry);
    if (pasted) {
      QApplication::clipboard()->setText(text);
      faulty->setFocus();
      faulty->selectAll();
      QTest::keyClick(faulty, Qt::Key_V, Qt::ControlModifier);
      QVERIFY(!faulty->text().isEmpty());
    } else {
      faulty->setText(text);
    }
    faulty->deselect();
    ExpectRefused(form, entry);
  }

  void pastedTimeComputes_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("typed");  // the same time as typed by hand
    QTest::newRow("narrow no-break space") << QString::fromUtf8("6:40\u202FAM") << "6:40 AM";
    QTest::newRow("no-break space") << QString::fromUtf8("5:12\u00A0AM") << "5:12 AM";
    QTest::newRow("thin and figure spaces") << QString::fromUtf8("\u20094:58\u2007PM") << "4:58 PM";
    QTest::newRow("table cell") << QStringLiteral("\t04:58") << "04:58";
    QTest::newRow("line of text") << QStringLiteral("04:58\r\n") << "04:58";
  }

  void pastedTimeComputes() {
    QFETCH(QString, pasted);
    QFETCH(QString, typed);
    ui::Form1& form = Load();
    QApplication::clipboard()->setText(pasted);
    form.txtSunrise->setFocus();
    form.txtSunrise->selectAll();
    form.txtSunrise->paste();
    QCOMPARE(form.txtSunrise->text(), pasted);
    QCOMPARE(PressCompute(form).Text, QString());
    QCOMPARE(form.Text1->toPlainText(),
             EngineReport(1, typed.toLatin1().constData(), "18:30", "05:30"));
  }

  void enterInAnEntryDoesNotCompute() {
    ui::Form1& form = Load();
    for (QLineEdit* e : {form.txtSunrise, form.txtSunset, form.txtNextSunrise}) {
      e->setFocus();
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e));
      QTest::keyClick(e, Qt::Key_Return);
      QTest::keyClick(e, Qt::Key_Enter);
    }
    QVERIFY(form.Text1->toPlainText().isEmpty());
    QCOMPARE(form.State().DayLength, 0.0);
  }

  void spaceOnTheButtonComputes() {
    ui::Form1& form = Load();
    form.Command1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Command1));
    QCOMPARE(PressCompute(form, Qt::Key_Space).Text, QString());
    QCOMPARE(form.Text1->toPlainText(), EngineReport(1, "05:30", "18:30", "05:30"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Command1));  // stays
  }

  void reportBoxTakesNoTyping() {
    ui::Form1& form = Load();
    QCOMPARE(PressCompute(form).Text, QString());
    const QString report = form.Text1->toPlainText();
    form.Text1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Text1));
    QTest::keyClicks(form.Text1, QStringLiteral("abc"));
    QTest::keyClick(form.Text1, Qt::Key_Backspace);
    QCOMPARE(form.Text1->toPlainText(), report);
    QTest::keyClick(form.Text1, Qt::Key_A, Qt::ControlModifier);  // select all
    QCOMPARE(form.Text1->textCursor().selectedText().size(), report.size());
    QVERIFY(form.Text1->verticalScrollBar()->maximum() > 0);  // 40 lines do not fit: it scrolls
  }

  void resizingMovesNoControl() {
    ui::Form1& form = Load();
    const QRect text1 = form.Text1->geometry();
    const QRect command1 = form.Command1->geometry();
    form.resize(900, 700);
    QCOMPARE(form.Text1->geometry(), text1);
    QCOMPARE(form.Command1->geometry(), command1);
  }
};

QTEST_MAIN(Form1Test)
#include "form1_qt_test.moc"
