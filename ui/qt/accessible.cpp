#include "ui/qt/accessible.h"

#include <QAccessibleWidget>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace ui {
namespace {

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
    start = Clamped(start);
    end = Clamped(end);
    return start < end ? Box()->toPlainText().mid(start, end - start) : QString();
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

  // One font and one colour throughout: no attributes, over the whole text.
  QString attributes(int /*offset*/, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
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

}  // namespace

QAccessibleInterface* ReadOnlyTextFactory(const QString& /*className*/, QObject* object) {
  if (auto* box = qobject_cast<QPlainTextEdit*>(object)) return new ReadOnlyText(box);
  return nullptr;
}

}  // namespace ui
