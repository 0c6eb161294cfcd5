// The window's controls as assistive technologies (screen readers, dictation,
// on-screen keyboards) reach them through Qt's accessibility interfaces.
#ifndef VELLAMIRE_UI_QT_ACCESSIBLE_H_
#define VELLAMIRE_UI_QT_ACCESSIBLE_H_

#include <QAccessible>

class QAccessibleInterface;
class QComboBox;
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
// editable text whose attributes are one run over the whole text. The day
// list (QComboBox) is a combo box named by its label whose value and
// read-only text are the entry shown, reported selected, with its popup list
// as its child. The report box (QPlainTextEdit) is text that can be read,
// selected and moved through, and not changed. Gives nothing for any other
// object.
QAccessibleInterface* Form1AccessibleFactory(const QString& className, QObject* object);

// Tells assistive technologies of each entry `dayList` comes to show by a key
// (Up, Down, Home, End, a letter), once, as text inserted into it: a screen
// reader speaks that where it drops Qt's own notice of a combo box's change.
// A choice in the popup list sends nothing: the focus coming back to the day
// list as the list closes speaks the new entry. No entry of the closed list
// claims the keyboard focus. Call once per day list. Cannot fail.
void AnnounceDayChanges(QComboBox* dayList);

// Like QAccessible::installUpdateHandler, for the events the window sends of
// itself (AnnounceDayChanges): `handler` receives them, even while Qt's
// accessibility is off (always so on its headless platform), and nullptr
// gives them back to QAccessible::updateAccessibility. Gives the handler
// installed before, nullptr for Qt's. Cannot fail.
QAccessible::UpdateHandler InstallAnnouncementHandler(QAccessible::UpdateHandler handler);

}  // namespace ui

#endif  // VELLAMIRE_UI_QT_ACCESSIBLE_H_
