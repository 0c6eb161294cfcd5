// The window through the accessibility interface, as an assistive technology
// reaches it: a frame whose entries read whole and can be typed into, whose
// day list tells its label and each new day once, and whose report can be
// read, selected and moved in, and not changed.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>

#include <memory>

#include "tests/support.h"
#include "tests/ui/press_compute.h"
#include "ui/qt/accessible.h"
#include "ui/qt/form1.h"

namespace {

// The texts the window announced of itself, as "object at position: text".
QStringList g_announced;

void RecordAnnouncement(QAccessibleEvent* event) {
  const auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
  g_announced << QStringLiteral("%1 at %2: %3")
                     .arg(event->object()->objectName(),
                          QString::number(inserted->changePosition()), inserted->textInserted());
}

// Whether an entry of the day list's popup list reports the keyboard focus.
bool ListClaimsFocus(QComboBox* dayList) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(dayList->view());
  for (int i = 0; i < list->childCount(); ++i) {
    if (list->child(i)->state().focused) return true;
  }
  return false;
}

// The report the engine renders for the window's entries, as the box shows it.
QString EngineReport() {
  const std::string report = test_support::EngineReport(1, "05:30", "18:30", "05:30");
  return QString::fromLatin1(report.data(), static_cast<int>(report.size()))
      .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Where line `index` (counted from 0) of `text` starts.
int LineStart(const QString& text, int index) {
  int start = 0;
  for (int i = 0; i < index; ++i) start = text.indexOf(QLatin1Char('\n'), start) + 1;
  return start;
}

// The box's selection as text, with its line ends as the report has them.
QString SelectedInBox(const QPlainTextEdit* box) {
  return box->textCursor().selectedText().replace(QChar(QChar::ParagraphSeparator),
                                                  QLatin1Char('\n'));
}

}  // namespace

class Form1AccessibleTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ui::Form1> form_;
  QString report_;

  // The window as loaded, with nothing announced yet.
  void Load() {
    form_ = std::make_unique<ui::Form1>();
    form_->Form_Load();
    if (!QTest::qWaitForWindowExposed(form_.get())) qWarning("window was not exposed");
    g_announced.clear();
  }

  // The report box's interface after Compute, with the report the box shows.
  // A message box instead of the report ends the program at once.
  QAccessibleInterface* ReportBoxAfterCompute() {
    Load();
    const test_support::SeenBox seen = test_support::PressCompute(*form_);
    if (seen.Seen) qFatal("Compute refused the entries: %s", qPrintable(seen.Text));
    report_ = form_->Text1->toPlainText();
    return QAccessible::queryAccessibleInterface(form_->Text1);
  }

 private slots:
  void initTestCase() { ui::InstallAnnouncementHandler(RecordAnnouncement); }

  void cleanup() {
    form_.reset();
    g_announced.clear();
  }

  void windowIsAFrameOnTheBusOnce() {
    Load();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form_.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Orvandel"));
    qunsetenv("NO_AT_BRIDGE");
    ui::PrepareAccessibilityBus();
    QCOMPARE(qgetenv("NO_AT_BRIDGE"), QByteArray("1"));
  }

  // Orca speaks a text as far as its runs of attributes reach.
  void textIsOneRunInTheControlsFont_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");  // over the whole entry, when not empty
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("size");  // the definition's, in whole points
    // clang-format off
    QTest::newRow("an entry as loaded") << "txtSunrise" << "" << "05:30" << "8pt";
    QTest::newRow("an entry typed into") << "txtNextSunrise" << "ab" << "ab" << "8pt";
    QTest::newRow("the day list") << "Combo1" << "" << "Sunday" << "8pt";
    QTest::newRow("the report") << "Text1" << "" << EngineReport() << "10pt";
    // clang-format on
  }

  void textIsOneRunInTheControlsFont() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, size);
    ReportBoxAfterCompute();
    QWidget* control = form_->Control(name.toStdString());
    if (!typed.isEmpty()) static_cast<QLineEdit*>(control)->selectAll();
    QTest::keyClicks(control, typed);
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(control)->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), shown);
    const QString font = QStringLiteral("font-family:\"%1\";font-size:%2;font-weight:normal;")
                             .arg(QFontInfo(control->font()).family(), size);
    // Orca asks at the cursor too, which may stand after the last character.
    for (const int offset : {0, static_cast<int>(shown.size())}) {
      int start = -1;
      int end = -1;
      QCOMPARE(text->attributes(offset, &start, &end), font);
      QCOMPARE(start, 0);
      QCOMPARE(end, shown.size());
    }
  }

  // As a user would edit: the entry's undo takes the change back.
  void entriesAreEditedAsByTyping_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    // clang-format off
    QTest::newRow("insert") << 2 << 2 << "X" << "05X:30";
    QTest::newRow("delete") << 0 << 3 << "" << "30";
    QTest::newRow("replace backwards") << 5 << 3 << "00" << "05:00";
    // clang-format on
  }

  void entriesAreEditedAsByTyping() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, text);
    QFETCH(QString, result);
    Load();
    QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(form_->txtSunrise);
    QVERIFY(entry->state().editable && !entry->state().readOnly);
    QAccessibleEditableTextInterface* editable = entry->editableTextInterface();
    if (from == to) editable->insertText(from, text);
    if (text.isEmpty()) editable->deleteText(from, to);
    if (from != to && !text.isEmpty()) editable->replaceText(from, to, text);
    QCOMPARE(form_->txtSunrise->text(), result);
    form_->txtSunrise->undo();
    QCOMPARE(form_->txtSunrise->text(), QStringLiteral("05:30"));
  }

  // Checked against where QLineEdit itself puts the cursor for a point.
  void entryCharactersLieWhereTheyAreDrawn() {
    Load();
    QLineEdit* entry = form_->txtSunrise;
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(entry)->textInterface();
    const QRect onScreen(entry->mapToGlobal(QPoint(0, 0)), entry->size());
    for (int offset = 0; offset < 5; ++offset) {
      const QRect rect = text->characterRect(offset);
      QVERIFY(onScreen.contains(rect) && qAbs(rect.center().y() - onScreen.center().y()) <= 1);
      const int middle = entry->mapFromGlobal(rect.center()).y();
      QCOMPARE(entry->cursorPositionAt({entry->mapFromGlobal(rect.topLeft()).x() + 1, middle}),
               offset);
      QCOMPARE(entry->cursorPositionAt({entry->mapFromGlobal(rect.topRight()).x(), middle}),
               offset + 1);
      QCOMPARE(text->offsetAtPoint(rect.center()), offset);
    }
  }

  // Places an assistive technology may ask about where no character lies.
  void entryPlacesNoCharacterOutsideItsText() {
    Load();
    QLineEdit* entry = form_->txtSunrise;
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(entry)->textInterface();
    // Before the start and at the end.
    QVERIFY(text->characterRect(-1).isEmpty() && text->characterRect(5).isEmpty());
    // Beside the text, inside the entry.
    QCOMPARE(text->offsetAtPoint(entry->mapToGlobal(QPoint(entry->width() - 3, 5))), -1);
    // A text wider than the entry, which scrolls it by an amount of its own.
    entry->setText(QString(60, QLatin1Char('0')));
    QVERIFY(text->characterRect(0).isEmpty());
    QCOMPARE(text->offsetAtPoint(entry->mapToGlobal(entry->rect().center())), -1);
  }

  void dayListReadsAsItsLabelAndValue() {
    Load();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form_->Combo1);
    QCOMPARE(list->role(), QAccessible::ComboBox);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Day of the week"));
    QCOMPARE(list->text(QAccessible::Value), QStringLiteral("Sunday"));
    QVERIFY(list->editableTextInterface() == nullptr);
    // All of it selected, Orca takes an inserted text for the new value.
    int start = -1;
    int end = -1;
    list->textInterface()->selection(0, &start, &end);
    QCOMPARE(QPoint(start, end), QPoint(0, 6));
    QCOMPARE(list->textInterface()->selectionCount(), 1);
    QCOMPARE(list->child(0)->object(), form_->Combo1->view());
    QCOMPARE(list->child(0)->parent()->object(), form_->Combo1);
  }

  void dayListAnnouncesEachKeyOnce_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("days");  // announced, in order
    // clang-format off
    QTest::newRow("Down twice") << QList<int>{Qt::Key_Down, Qt::Key_Down}
                                << QStringList{"Monday", "Tuesday"};
    QTest::newRow("End, Home") << QList<int>{Qt::Key_End, Qt::Key_Home}
                               << QStringList{"Saturday", "Sunday"};
    QTest::newRow("Up on the first day") << QList<int>{Qt::Key_Up} << QStringList{};
    QTest::newRow("first letters") << QList<int>{Qt::Key_W, Qt::Key_T, Qt::Key_T}
                                   << QStringList{"Wednesday", "Thursday", "Tuesday"};
    QTest::newRow("a letter no day starts with") << QList<int>{Qt::Key_X} << QStringList{};
    // clang-format on
  }

  void dayListAnnouncesEachKeyOnce() {
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, days);
    Load();
    QComboBox* list = form_->Combo1;
    // Qt announces each move of the closed list's current entry as its focus.
    QSignalSpy moves(list->view()->selectionModel(), &QItemSelectionModel::currentChanged);
    for (const int key : keys) {  // a letter after the search for one before has ended
      const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
      QTest::keyClick(list, Qt::Key(key), {},
                      letter ? QApplication::keyboardInputInterval() + 50 : -1);
    }
    QCOMPARE(g_announced, days.replaceInStrings(QRegularExpression("^"), "Combo1 at 0: "));
    QCoreApplication::processEvents();
    for (const QList<QVariant>& move : moves) QVERIFY(!move.at(0).toModelIndex().isValid());
    QVERIFY(!ListClaimsFocus(list));
  }

  // The focus coming back to the day list as its popup closes speaks the day.
  void dayListPopupAnnouncesNothing_data() {
    QTest::addColumn<QList<int>>("keys");  // in the open list; none: Wednesday is chosen
    QTest::addColumn<QString>("day");
    // clang-format off
    QTest::newRow("Down, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Return} << "Monday";
    QTest::newRow("Down, Escape") << QList<int>{Qt::Key_Down, Qt::Key_Escape} << "Sunday";
    QTest::newRow("chosen while open") << QList<int>{} << "Wednesday";
    // clang-format on
  }

  void dayListPopupAnnouncesNothing() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, day);
    Load();
    QComboBox* list = form_->Combo1;
    list->setFocus();
    QAccessible::queryAccessibleInterface(list)->actionInterface()->doAction(
        QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(list->view()->isVisible());
    for (const int key : keys) QTest::keyClick(list->view(), static_cast<Qt::Key>(key));
    if (keys.isEmpty()) {
      list->setCurrentIndex(3);
      list->hidePopup();
    }
    QTRY_VERIFY(!list->view()->isVisible());
    QCOMPARE(list->currentText(), day);
    QCOMPARE(g_announced, QStringList());
    QTRY_COMPARE(QApplication::focusWidget(), list);
    QTRY_VERIFY(!ListClaimsFocus(list));
  }

  void reportReadsAsReadOnlyText() {
    QAccessibleInterface* box = ReportBoxAfterCompute();
    QVERIFY(box != nullptr);
    QCOMPARE(report_, EngineReport());
    QCOMPARE(box->role(), QAccessible::EditableText);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Report"));
    QCOMPARE(box->text(QAccessible::Value), report_);
    const QAccessible::State state = box->state();
    QVERIFY(state.readOnly);
    QVERIFY(!state.editable);
    QVERIFY(state.multiLine);
    QVERIFY(state.selectableText);
    QVERIFY(state.focusable);

    QAccessibleTextInterface* text = box->textInterface();
    QVERIFY(text != nullptr);
    QCOMPARE(text->characterCount(), report_.size());
    QCOMPARE(text->text(0, text->characterCount()), report_);
    QCOMPARE(text->text(5, 40), report_.mid(5, 35));
  }

  void nothingOffersToChangeTheReport() {
    QAccessibleInterface* box = ReportBoxAfterCompute();
    QVERIFY(box != nullptr);
    QVERIFY(box->editableTextInterface() == nullptr);
    QVERIFY(box->interface_cast(QAccessible::EditableTextInterface) == nullptr);
    // A client setting the value directly is ignored too.
    box->setText(QAccessible::Value, QStringLiteral("HACKED"));
    QCOMPARE(form_->Text1->toPlainText(), report_);
    // Its actions only move the focus.
    QAccessibleActionInterface* actions = box->actionInterface();
    QVERIFY(actions != nullptr);
    for (const QString& action : actions->actionNames()) actions->doAction(action);
    QCOMPARE(form_->Text1->toPlainText(), report_);
    QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), report_);
  }

  void linesReadOneByOne_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");  // where in the line the offset lies
    QTest::newRow("empty second line") << 1 << 0;
    QTest::newRow("sunrise line, past a TAB") << 2 << 20;
    QTest::newRow("the last night hour") << 39 << 1;
  }

  void linesReadOneByOne() {
    QFETCH(int, line);
    QFETCH(int, column);
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    const int start = LineStart(report_, line);
    const int end = report_.indexOf(QLatin1Char('\n'), start) + 1;
    QVERIFY(start + column < end);
    int gotStart = -1;
    int gotEnd = -1;
    const QString got =
        text->textAtOffset(start + column, QAccessible::LineBoundary, &gotStart, &gotEnd);
    QCOMPARE(got, report_.mid(start, end - start));
    QCOMPARE(gotStart, start);
    QCOMPARE(gotEnd, end);
  }

  void selectionIsSetAndCleared_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("start");  // the selection as it then is
    QTest::addColumn<int>("end");
    QTest::newRow("a few characters") << 2 << 9 << 2 << 9;
    QTest::newRow("across lines") << 10 << 200 << 10 << 200;
    QTest::newRow("backwards") << 200 << 10 << 10 << 200;
  }

  void selectionIsSetAndCleared() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, start);
    QFETCH(int, end);
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    QCOMPARE(text->selectionCount(), 0);

    text->setSelection(0, from, to);
    QCOMPARE(text->selectionCount(), 1);
    int gotStart = -1;
    int gotEnd = -1;
    text->selection(0, &gotStart, &gotEnd);
    QCOMPARE(gotStart, start);
    QCOMPARE(gotEnd, end);
    QCOMPARE(SelectedInBox(form_->Text1), report_.mid(start, end - start));
    QCOMPARE(text->cursorPosition(), to);  // the cursor sits where the selection was drawn to

    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    QVERIFY(!form_->Text1->textCursor().hasSelection());

    // Adding a selection to a box that holds one replaces it.
    text->addSelection(from, to);
    text->addSelection(0, 3);
    QCOMPARE(text->selectionCount(), 1);
    QCOMPARE(SelectedInBox(form_->Text1), report_.left(3));
    QCOMPARE(form_->Text1->toPlainText(), report_);
  }

  void cursorMoves_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("inside the day's length") << 4 << 7;
    QTest::newRow("the last night hour") << 39 << 0;
  }

  void cursorMoves() {
    QFETCH(int, line);
    QFETCH(int, column);
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    const int offset = LineStart(report_, line) + column;
    text->setSelection(0, 0, 5);
    text->setCursorPosition(offset);
    QCOMPARE(text->cursorPosition(), offset);
    QCOMPARE(form_->Text1->textCursor().position(), offset);
    QCOMPARE(text->selectionCount(), 0);
    QCOMPARE(form_->Text1->toPlainText(), report_);
  }

  void charactersMapToTheScreenAndBack_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("first character") << 0 << 0;
    QTest::newRow("a TAB") << 2 << SunriseLineTab();
    QTest::newRow("after a TAB") << 2 << SunriseLineTab() + 1;
    QTest::newRow("the day's length") << 4 << 2;
  }

  void charactersMapToTheScreenAndBack() {
    QFETCH(int, line);
    QFETCH(int, column);
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    const int offset = LineStart(report_, line) + column;
    const QRect rect = text->characterRect(offset);
    QVERIFY(!rect.isEmpty());
    const QWidget* viewport = form_->Text1->viewport();
    const QRect shown(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    QVERIFY(shown.contains(rect));
    QCOMPARE(text->offsetAtPoint(rect.center()), offset);
    QCOMPARE(text->offsetAtPoint(rect.topLeft()), offset);
    QCOMPARE(text->offsetAtPoint(rect.bottomRight()), offset);
    // Characters on a line touch: each ends where the next begins, so a TAB
    // spans the gap up to its stop, wider than the letter before it.
    QCOMPARE(text->characterRect(offset + 1).left(), rect.right() + 1);
    if (report_.at(offset) == QLatin1Char('\t')) {
      QVERIFY(rect.width() > text->characterRect(offset - 1).width());
    }
  }

  void scrollingShowsTheLastLine() {
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    const int last = LineStart(report_, 39);
    const QWidget* viewport = form_->Text1->viewport();
    const QRect shown(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    QVERIFY(!shown.contains(text->characterRect(last)));  // 40 lines do not fit
    text->scrollToSubstring(last, last + 5);
    QVERIFY(form_->Text1->verticalScrollBar()->value() > 0);
    QVERIFY(shown.contains(text->characterRect(last)));
    QCOMPARE(text->offsetAtPoint(text->characterRect(last).center()), last);
    QCOMPARE(form_->Text1->toPlainText(), report_);
  }

  // Offsets and indexes an assistive technology may send that lie outside
  // the report: nothing breaks, and the report stays.
  void offsetsOutsideTheTextAreRefused() {
    QAccessibleTextInterface* text = ReportBoxAfterCompute()->textInterface();
    QVERIFY(text != nullptr);
    const int count = text->characterCount();
    // A range running past the end ends at the end.
    QCOMPARE(text->text(count - 3, count + 50), report_.right(3));
    // A range starting before the start starts at the start.
    QCOMPARE(text->text(-10, 4), report_.left(4));
    // A range given backwards is empty.
    QCOMPARE(text->text(20, 10), QString());
    // A cursor set past the end goes to the end.
    text->setCursorPosition(count + 7);
    QCOMPARE(text->cursorPosition(), count);
    // A cursor set before the start goes to the start.
    text->setCursorPosition(-3);
    QCOMPARE(text->cursorPosition(), 0);
    // A selection other than the first does not exist: setting it changes nothing.
    text->setSelection(1, 0, 10);
    QCOMPARE(text->selectionCount(), 0);
    // Asking for it gives an empty range.
    int start = -1;
    int end = -1;
    text->selection(1, &start, &end);
    QCOMPARE(start, 0);
    QCOMPARE(end, 0);
    // With no selection, the first is empty too.
    start = end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 0);
    QCOMPARE(end, 0);
    // A selection past the end stops at the end.
    text->setSelection(0, count - 2, count + 9);
    QCOMPARE(SelectedInBox(form_->Text1), report_.right(2));
    // Removing a selection other than the first keeps the one there is.
    text->removeSelection(1);
    QCOMPARE(text->selectionCount(), 1);
    // A selection other than the first stays empty while the first exists.
    start = end = -1;
    text->selection(1, &start, &end);
    QCOMPARE(end, 0);
    // Attributes before the start and past the end: none, and no run.
    QCOMPARE(text->attributes(-1, &start, &end), QString());
    QCOMPARE(start, -1);
    QCOMPARE(text->attributes(count + 1, &start, &end), QString());
    QCOMPARE(end, -1);
    // No character lies before the start or at the end.
    QVERIFY(text->characterRect(-1).isEmpty());
    QVERIFY(text->characterRect(count).isEmpty());
    // A point outside the box lies on no character.
    const QWidget* viewport = form_->Text1->viewport();
    QCOMPARE(text->offsetAtPoint(viewport->mapToGlobal(QPoint(-5, 10))), -1);
    QCOMPARE(text->offsetAtPoint(viewport->mapToGlobal(QPoint(10, viewport->height() + 5))), -1);
    QCOMPARE(form_->Text1->toPlainText(), report_);
  }

 private:
  // The column of the first TAB of the sunrise line (line 2) in the engine's report.
  static int SunriseLineTab() {
    const QString report = EngineReport();
    const int start = LineStart(report, 2);
    return report.indexOf(QLatin1Char('\t'), start) - start;
  }
};

QTEST_MAIN(Form1AccessibleTest)
#include "form1_qt_accessible_test.moc"
