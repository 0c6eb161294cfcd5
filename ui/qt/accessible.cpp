#include "ui/qt/accessible.h"

#include <QAccessibleWidget>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

#include "ui/qt/form1.h"

namespace ui {
namespace {

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

}  // namespace

void PrepareAccessibilityBus() { qputenv("NO_AT_BRIDGE", "1"); }

QAccessibleInterface* Form1AccessibleFactory(const QString& /*className*/, QObject* object) {
  if (auto* form = qobject_cast<Form1*>(object))
    return new QAccessibleWidget(form, QAccessible::Window);
  if (auto* box = qobject_cast<QPlainTextEdit*>(object)) return new ReadOnlyText(box);
  return nullptr;
}

}  // namespace ui
