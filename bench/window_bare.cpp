// The floor for the window benchmarks: a bare Qt window of Form1's size
// holding one line of text, measured the same way (start to shown).
#include <QLabel>
#include <QWidget>

#include "bench/window_probe.h"

int main(int argc, char* argv[]) {
  bench::PrintFigure("main_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  bench::ProbeApplication app(argc, argv, [] {
    bench::PrintFigure("rss_end_kib", static_cast<double>(bench::PeakRssKiB()));
    QCoreApplication::exit(0);
  });
  bench::PrintFigure("app_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  QWidget window;
  window.resize(627, 456);
  QLabel line(QStringLiteral("Selected Day : Sunday"), &window);
  line.move(10, 10);
  bench::PrintFigure("built_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  window.show();
  bench::PrintFigure("loaded_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  return QApplication::exec();
}
