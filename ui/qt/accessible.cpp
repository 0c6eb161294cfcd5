#include "ui/qt/accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "ui/qt/form1.h"

namespace ui {
namespace {

// Where the window's own events go (InstallAnnouncementHandler); nullptr for
// QAccessible::updateAccessibility.
QAccessible::UpdateHandler g_announcementHandler = nullptr;

// The attributes of a text drawn throughout in `widget`'s font, written as
// Qt's own text interfaces write them: the face drawn, its size in whole
// points and its weight.
QString FontAttributes(const QWidget* widget) {
  const QFontInfo face(widget->font());
  return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;")
      .arg(face.family(), QString::number(face.pointSize()),
           face.bold() ? QStringLiteral("bold") : QStringLiteral("normal"));
}

// A text of `count` characters in `widget`'s one font has one run of
// attributes, over all of it: Orca 43 builds the line it speaks from the runs
// and drops characters a run leaves out. Gives nothing, and -1 as both ends,
// for an offset outside the text.
QString OneRun(const QWidget* widget, int count, int offset, int* start, int* end) {
  if (offset < 0 || offset > count) {
    *start = *end = -1;
    return {};
  }
  *start = 0;
  *end = count;
  return FontAttributes(widget);
}

// The characters of `text` from `start` to `end`, each offset clamped to the
// text; nothing for a range given backwards. Cannot fail.
QString Slice(const QString& text, int start, int end) {
  start = std::clamp(start, 0, static_cast<int>(text.size()));
  end = std::clamp(end, 0, static_cast<int>(text.size()));
  return start < end ? text.mid(start, end - start) : QString();
}

// Qt's own interface for a QPlainTextEdit also offers the editable-text
// interface, whose calls change the text even when the box is read-only. This
// one offers the text interface only; every offset from outside is clamped to
// the text.
class ReadOnlyText : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadOnlyText(QPlainTextEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Box()->toPlainText();
    return QAccessibleWidget::text(kind);
  }

  QString text(int start, int end) const override {
    return Slice(Box()->toPlainText(), start, end);
  }

  int characterCount() const override { return Box()->document()->characterCount() - 1; }

  void selection(int index, int* start, int* end) const override {
    const QTextCursor cursor = Box()->textCursor();
    *start = *end = 0;
    if (index != 0 || !cursor.hasSelection()) return;
    *start = cursor.selectionStart();
    *end = cursor.selectionEnd();
  }

  int selectionCount() const override { return Box()->textCursor().hasSelection() ? 1 : 0; }

  // The box has one selection: adding one replaces it.
  void addSelection(int start, int end) override { setSelection(0, start, end); }

  void removeSelection(int index) override {
    if (index != 0) return;
    QTextCursor cursor = Box()->textCursor();
    cursor.clearSelection();
    Box()->setTextCursor(cursor);
  }

  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    Box()->setTextCursor(Cursor(start, end));
  }

  int cursorPosition() const override { return Box()->textCursor().position(); }

  void setCursorPosition(int position) override {
    Box()->setTextCursor(Cursor(position, position));
  }

  // On the screen, from where the character starts to where the next one on
  // its line starts (a TAB reaches to its stop); a line's end is as narrow as
  // the cursor. Empty for an offset outside the text.
  QRect characterRect(int offset) const override {
    if (offset < 0 || offset >= characterCount()) return {};
    const QPlainTextEdit* box = Box();
    QTextCursor cursor = Cursor(offset, offset);
    const QRect here = box->cursorRect(cursor);
    cursor.movePosition(QTextCursor::NextCharacter);
    const QRect next = box->cursorRect(cursor);
    const int width = next.top() == here.top() && next.left() > here.left()
                          ? next.left() - here.left()
                          : here.width();
    return {box->viewport()->mapToGlobal(here.topLeft()), QSize(width, here.height())};
  }

  // The character under a point on the screen; -1 outside the box's text area.
  int offsetAtPoint(const QPoint& point) const override {
    const QPlainTextEdit* box = Box();
    const QPoint inside = box->viewport()->mapFromGlobal(point);
    if (!box->viewport()->rect().contains(inside)) return -1;
    // The nearest place between two characters: left of it lies the one before.
    const QTextCursor nearest = box->cursorForPosition(inside);
    const bool before = inside.x() < box->cursorRect(nearest).left() && !nearest.atBlockStart();
    return nearest.position() - (before ? 1 : 0);
  }

  // The box scrolls to show its cursor, so the cursor goes to the start of
  // the substring.
  void scrollToSubstring(int start, int /*end*/) override {
    setCursorPosition(start);
    Box()->ensureCursorVisible();
  }

  QString attributes(int offset, int* start, int* end) const override {
    return OneRun(Box(), characterCount(), offset, start, end);
  }

 private:
  QPlainTextEdit* Box() const { return static_cast<QPlainTextEdit*>(widget()); }

  int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

  // The box's cursor with its anchor at `anchor` and its position at `position`.
  QTextCursor Cursor(int anchor, int position) const {
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(Clamped(anchor));
    cursor.setPosition(Clamped(position), QTextCursor::KeepAnchor);
    return cursor;
  }
};

// Where QLineEdit draws its line of text, in the entry's own coordinates: the
// contents the style gives it (asked with the options QLineEdit paints
// with), less the text margins and Qt's margin of 2 pixels at each side, a
// line of the font high and centred in height, as the entries align it.
QRect TextLineOf(const QLineEdit& entry) {
  QStyleOptionFrame option;
  option.initFrom(&entry);
  option.rect = entry.contentsRect();
  option.lineWidth = entry.hasFrame()
                         ? entry.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &entry)
                         : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  if (entry.isReadOnly()) option.state |= QStyle::State_ReadOnly;
  option.features = QStyleOptionFrame::None;
  const QRect contents = entry.style()
                             ->subElementRect(QStyle::SE_LineEditContents, &option, &entry)
                             .marginsRemoved(entry.textMargins());
  const QFontMetrics metrics(entry.font());
  const int height = std::max(metrics.boundingRect(entry.text()).height(), metrics.height());
  constexpr int kMargin = 2;
  return {contents.left() + kMargin, contents.top() + (contents.height() - height + 1) / 2,
          contents.width() - 2 * kMargin, height};
}

// An entry as Qt's own interface gives it, with its attributes as one run over
// the whole text (Qt's own gives an empty run at every offset). Assistive
// technologies that type edit it as a user would: through the entry's
// selection and typing, so its undo and its length limit hold. The entry
// itself sends the usual events of changed text and moved cursor.
class Entry : public QAccessibleWidget,
              public QAccessibleTextInterface,
              public QAccessibleEditableTextInterface {
 public:
  explicit Entry(QLineEdit* entry) : QAccessibleWidget(entry, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = Edit()->isReadOnly();
    state.editable = !Edit()->isReadOnly();
    state.selectableText = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Edit()->text();
    return QAccessibleWidget::text(kind);
  }

  QString text(int start, int end) const override { return Slice(Edit()->text(), start, end); }

  int characterCount() const override { return Edit()->text().size(); }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Edit()->hasSelectedText()) return;
    *start = Edit()->selectionStart();
    *end = Edit()->selectionEnd();
  }

  int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }

  // The entry has one selection: adding one replaces it.
  void addSelection(int start, int end) override { setSelection(0, start, end); }

  void removeSelection(int index) override {
    if (index == 0) Edit()->deselect();
  }

  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    start = Clamped(start);
    Edit()->setSelection(start, Clamped(end) - start);
  }

  int cursorPosition() const override { return Edit()->cursorPosition(); }

  void setCursorPosition(int position) override { Edit()->setCursorPosition(Clamped(position)); }

  // On the screen, from where the character starts to where the next one
  // starts, as high as the line. Empty for an offset outside the text, and
  // while the text is wider than the entry: then the entry scrolls it by an
  // amount it keeps to itself.
  QRect characterRect(int offset) const override {
    if (offset < 0 || offset >= characterCount()) return {};
    const QLineEdit* entry = Edit();
    const QRect line = TextLineOf(*entry);
    QTextLayout layout(entry->text(), entry->font());
    layout.beginLayout();
    const QTextLine laid = layout.createLine();
    layout.endLayout();
    if (qRound(laid.naturalTextWidth()) + 1 > line.width()) return {};
    const int left = qRound(laid.cursorToX(offset));
    const int right = qRound(laid.cursorToX(offset + 1));
    return {entry->mapToGlobal(QPoint(line.left() + left, line.top())),
            QSize(right - left, line.height())};
  }

  // The character whose rectangle holds the point; -1 where none does.
  int offsetAtPoint(const QPoint& point) const override {
    if (characterRect(0).isEmpty()) return -1;  // no text, or too wide to place
    for (int offset = 0; offset < characterCount(); ++offset) {
      if (characterRect(offset).contains(point)) return offset;
    }
    return -1;
  }

  // The entry scrolls to show its cursor, so the cursor goes to the start of
  // the substring.
  void scrollToSubstring(int start, int /*end*/) override { setCursorPosition(start); }

  QString attributes(int offset, int* start, int* end) const override {
    return OneRun(Edit(), characterCount(), offset, start, end);
  }

  void deleteText(int start, int end) override { replaceText(start, end, QString()); }

  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }

  // Selects the range and types the text over it. Nothing happens in a
  // read-only entry.
  void replaceText(int start, int end, const QString& text) override {
    if (Edit()->isReadOnly()) return;
    start = Clamped(start);
    end = Clamped(end);
    Edit()->setSelection(std::min(start, end), std::abs(end - start));
    Edit()->insert(text);
  }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }

  int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
};

// The day list as a screen reader should hear it: a combo box named by its
// label, whose value is the entry shown. Qt 6.4's bridge maps no selection
// from a combo box, so the entry shown is also read-only text, all of it
// selected as a choose-only combo box's entry is; a screen reader then takes
// the text inserted on a change (AnnounceDayChanges) for the new value.
class DayList : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit DayList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Shown();
    return QAccessibleWidget::text(kind);
  }

  // Its one child is the popup list, whose own interface names the day list
  // as its parent.
  int childCount() const override { return 1; }

  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == List()->view() ? 0 : -1;
  }

  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  // Opening and closing the popup list, as Qt's own interface offers it.
  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) {
      QAccessibleWidget::doAction(action);
    } else if (List()->view()->isVisible()) {
      List()->hidePopup();
    } else {
      List()->showPopup();
    }
  }

  QString text(int start, int end) const override { return Slice(Shown(), start, end); }

  int characterCount() const override { return Shown().size(); }

  // The one selection is the whole entry.
  void selection(int index, int* start, int* end) const override {
    *start = 0;
    *end = index == 0 ? characterCount() : 0;
  }

  int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }

  // The text is the entry shown: nothing selects in it or moves through it.
  void addSelection(int /*start*/, int /*end*/) override {}
  void removeSelection(int /*index*/) override {}
  void setSelection(int /*index*/, int /*start*/, int /*end*/) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int /*position*/) override {}
  void scrollToSubstring(int /*start*/, int /*end*/) override {}

  // Its characters are not placed on the screen one by one.
  QRect characterRect(int /*offset*/) const override { return {}; }
  int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }

  QString attributes(int offset, int* start, int* end) const override {
    return OneRun(List(), characterCount(), offset, start, end);
  }

 private:
  QComboBox* List() const { return static_cast<QComboBox*>(widget()); }

  QString Shown() const { return List()->currentText(); }
};

// Sends the day list's changes as text inserted, each once; keeps the closed
// list's current entry, which its interface reports focused, empty.
class DayListAnnouncer : public QObject {
 public:
  explicit DayListAnnouncer(QComboBox* dayList)
      : QObject(dayList), dayList_(dayList), popup_(dayList->view()->window()) {
    dayList->installEventFilter(this);
    popup_->installEventFilter(this);
    connect(dayList, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
      // A choice in the popup list is spoken as the list closes and the
      // focus comes back to the day list with its new value.
      if (popup_->isVisible() || closing_) return;
      QAccessibleTextInsertEvent event(dayList_, 0, dayList_->currentText());
      if (g_announcementHandler != nullptr) {
        g_announcementHandler(&event);
      } else {
        QAccessible::updateAccessibility(&event);
      }
      ForgetCurrentLater();
    });
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == popup_ && event->type() == QEvent::Hide) {
      closing_ = true;
      ForgetCurrentLater();
    }
    // For a typed letter the day list has its closed list's view search for
    // the entry, and the view announces every move of its current entry as
    // the list taking the focus ("List with 7 items"). The day list handles
    // the letter with the view's selection model silent, which then forgets
    // the entry found.
    if (watched == dayList_ && event->type() == QEvent::KeyPress && !typing_ &&
        !popup_->isVisible()) {
      const QString text = static_cast<QKeyEvent*>(event)->text();
      if (!text.isEmpty() && text.at(0).isLetterOrNumber()) {
        QItemSelectionModel* selection = dayList_->view()->selectionModel();
        const QSignalBlocker silent(selection);
        typing_ = true;
        QCoreApplication::sendEvent(dayList_, event);
        typing_ = false;
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return true;
      }
    }
    return false;
  }

 private:
  // Once Qt has read it: on closing with Enter it takes the choice from the
  // current entry after the list is hidden.
  void ForgetCurrentLater() {
    QTimer::singleShot(0, this, [this] {
      closing_ = false;
      if (popup_->isVisible()) return;
      dayList_->view()->selectionModel()->setCurrentIndex(QModelIndex(),
                                                          QItemSelectionModel::NoUpdate);
    });
  }

  QComboBox* dayList_;
  QWidget* popup_;
  bool closing_ = false;  // the popup list has just closed
  bool typing_ = false;   // a typed letter is on its way to the day list
};

}  // namespace

void PrepareAccessibilityBus() { qputenv("NO_AT_BRIDGE", "1"); }

QAccessibleInterface* Form1AccessibleFactory(const QString& /*className*/, QObject* object) {
  if (auto* form = qobject_cast<Form1*>(object))
    return new QAccessibleWidget(form, QAccessible::Window);
  if (auto* entry = qobject_cast<QLineEdit*>(object)) return new Entry(entry);
  if (auto* list = qobject_cast<QComboBox*>(object)) return new DayList(list);
  if (auto* box = qobject_cast<QPlainTextEdit*>(object)) return new ReadOnlyText(box);
  return nullptr;
}

void AnnounceDayChanges(QComboBox* dayList) { new DayListAnnouncer(dayList); }

QAccessible::UpdateHandler InstallAnnouncementHandler(QAccessible::UpdateHandler handler) {
  return std::exchange(g_announcementHandler, handler);
}

}  // namespace ui
