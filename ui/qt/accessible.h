// The report box as assistive technologies see it: text that can be read,
// selected and moved through, and not changed.
#ifndef VELLAMIRE_UI_QT_ACCESSIBLE_H_
#define VELLAMIRE_UI_QT_ACCESSIBLE_H_

class QAccessibleInterface;
class QObject;
class QString;

namespace ui {

// An accessibility factory (QAccessible::installFactory) for the window's
// multi-line boxes, all of which are read-only: for a QPlainTextEdit it gives
// an interface with the text interface and no editable-text interface, so no
// other program can write into the box. Gives nothing for any other object.
QAccessibleInterface* ReadOnlyTextFactory(const QString& className, QObject* object);

}  // namespace ui

#endif  // VELLAMIRE_UI_QT_ACCESSIBLE_H_
