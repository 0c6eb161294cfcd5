// The window's controls as assistive technologies (screen readers, dictation,
// on-screen keyboards) reach them through Qt's accessibility interfaces.
#ifndef VELLAMIRE_UI_QT_ACCESSIBLE_H_
#define VELLAMIRE_UI_QT_ACCESSIBLE_H_

class QAccessibleInterface;
class QObject;
class QString;

namespace ui {

// Keeps a GTK platform theme, when Qt loads one, from registering the program
// on the accessibility bus a second time beside Qt's own registration (GTK's
// bridge stays away when NO_AT_BRIDGE is 1). Call before the application
// object is made. Cannot fail.
void PrepareAccessibilityBus();

// An accessibility factory (QAccessible::installFactory) for the window's
// widgets. Form1 is a frame named by its title. An entry (QLineEdit) is
// editable text whose attributes are one run over the whole text. The report
// box (QPlainTextEdit) is text that can be read, selected and moved through,
// and not changed. Gives nothing for any other object.
QAccessibleInterface* Form1AccessibleFactory(const QString& className, QObject* object);

}  // namespace ui

#endif  // VELLAMIRE_UI_QT_ACCESSIBLE_H_
