// Creates the main window, loads it and runs the event loop.
#include <QApplication>

#include "ui/form1_definition.h"
#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(ui::kProductName.data(), ui::kProductName.size()));
  QApplication::setApplicationVersion(QString::fromLatin1(ui::kProductVersion.data(), ui::kProductVersion.size()));
  ui::Form1 form;
  form.Form_Load();
  return QApplication::exec();
}
