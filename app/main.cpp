// Creates the main window, loads it and runs the event loop.
#ifdef _WIN32
#include "ui/win32/form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return ui::win32::RunForm1(instance, showCommand);
}
#else
#include <QApplication>
#include <QIcon>

#include "ui/form1_definition.h"
#include "ui/qt/accessible.h"
#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  ui::PrepareHighDpiScaling();
  ui::PrepareAccessibilityBus();
  QApplication app(argc, argv);
  QApplication::setApplicationName(
      QString::fromLatin1(ui::kProductName.data(), ui::kProductName.size()));
  QApplication::setApplicationVersion(
      QString::fromLatin1(ui::kProductVersion.data(), ui::kProductVersion.size()));
  // The icon of the menu entry, from the resources built into the program.
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/vellamire-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("vellamire"));
  ui::Form1 form;
  form.Form_Load();
  return QApplication::exec();
}
#endif  // _WIN32
