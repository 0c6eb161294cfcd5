// Starts a window headless and ends right after its first paint, then prints
// the process's peak memory in KiB. `window_start form` starts the program's
// window as app/main.cpp does; `window_start bare`, the floor, a bare Qt
// window of the same size holding one line of text. scripts/bench times
// whole runs of both in turns.
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/qt/form1.h"

namespace {

// Ends the event loop once the window has painted.
struct QuitAfterPaint : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
  QApplication app(argc, argv);
  QuitAfterPaint quit;
  std::unique_ptr<QWidget> window;
  if (bare) {
    window = std::make_unique<QLabel>(QStringLiteral("Vellamire"));
    window->resize(627, 456);
    window->installEventFilter(&quit);
    window->show();
  } else {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
      icon.addFile(QStringLiteral(":/icons/vellamire-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    auto form = std::make_unique<ui::Form1>();
    form->installEventFilter(&quit);
    form->Form_Load();
    window = std::move(form);
  }
  QApplication::exec();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}
