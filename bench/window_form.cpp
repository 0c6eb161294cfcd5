// The program's window as app/main.cpp starts it, measured: start to shown,
// then many presses of Compute, each from the mouse press on Command1 to the
// report in Text1 and on to Text1's next paint. Prints "name value" lines for
// the runner; the exit status is 1 when a press left a wrong report.
#include <QComboBox>
#include <QIcon>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bench/alloc_counter.h"
#include "bench/window_probe.h"
#include "ui/compute_command.h"
#include "ui/form1_definition.h"
#include "ui/qt/form1.h"

namespace {

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The report Text1 must hold after a press with the default entries.
QString ExpectedReport(int position) {
  engine::ScheduleState state;
  state.SelectedDay = ui::SelectedDayFor(position);
  engine::FillRulerTable(state.RulerTable);
  const std::string_view day = ui::kDayNames[position];
  const ui::ComputeDecision decision = ui::DecideCompute("05:30", "18:30", "05:30", day, state);
  return QString::fromLatin1(decision.Report.data(), static_cast<int>(decision.Report.size()))
      .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Presses Compute `presses` times, choosing the next weekday before each
// press (untimed) so that every report differs from the one before.
int MeasurePresses(bench::ProbeApplication& app, ui::Form1& form, int presses) {
  std::vector<QString> expected;
  for (int d = 0; d < 7; ++d) expected.push_back(ExpectedReport(d));
  app.WatchPaints(form.Text1->viewport());

  std::vector<double> to_text;
  std::vector<double> to_paint;
  std::vector<double> allocations;
  int wrong = 0;
  double first_ms = -1;
  const QPointF local = QRectF(form.Command1->rect()).center();
  const QPointF global = form.Command1->mapToGlobal(local);
  for (int i = 0; i < presses; ++i) {
    const int day = (i + 1) % 7;  // Sunday is chosen already; start on Monday
    form.Combo1->setCurrentIndex(day);
    QCoreApplication::processEvents();
    const int paints = app.PaintCount();

    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    const std::uint64_t allocs0 = bench::AllocationCount();
    const std::int64_t t0 = bench::MonotonicNs();
    QCoreApplication::sendEvent(form.Command1, &press);
    QCoreApplication::sendEvent(form.Command1, &release);
    const std::int64_t t1 = bench::MonotonicNs();
    const std::uint64_t allocs1 = bench::AllocationCount();
    while (app.PaintCount() == paints && bench::MonotonicNs() - t1 < 1000000000LL) {
      QCoreApplication::processEvents();
    }
    const std::int64_t t2 = bench::MonotonicNs();

    if (form.Text1->toPlainText() != expected[static_cast<std::size_t>(day)]) ++wrong;
    if (app.PaintCount() == paints) ++wrong;  // never painted within a second
    to_text.push_back(static_cast<double>(t1 - t0) / 1e6);
    to_paint.push_back(static_cast<double>(t2 - t0) / 1e6);
    allocations.push_back(static_cast<double>(allocs1 - allocs0));
    if (i == 0) first_ms = to_text.back();
  }
  bench::PrintFigure("presses", presses);
  bench::PrintFigure("press_first_ms", first_ms);
  bench::PrintFigure("press_text_ms", Median(to_text));
  bench::PrintFigure("press_paint_ms", Median(to_paint));
  bench::PrintFigure("press_allocs", Median(allocations));
  bench::PrintFigure("press_wrong", wrong);
  bench::PrintFigure("rss_end_kib", static_cast<double>(bench::PeakRssKiB()));
  return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  bench::PrintFigure("main_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  const char* presses_env = std::getenv("VELLAMIRE_BENCH_PRESSES");
  const int presses = presses_env != nullptr ? std::atoi(presses_env) : 200;
  ui::Form1* form = nullptr;
  int status = 0;
  bench::ProbeApplication* app_ptr = nullptr;
  bench::ProbeApplication app(argc, argv, [&] {
    status = MeasurePresses(*app_ptr, *form, presses);
    QCoreApplication::exit(status);
  });
  app_ptr = &app;
  bench::PrintFigure("app_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));

  // From here on as in app/main.cpp.
  QApplication::setApplicationName(QString::fromLatin1(ui::kProductName.data(), ui::kProductName.size()));
  QApplication::setApplicationVersion(QString::fromLatin1(ui::kProductVersion.data(), ui::kProductVersion.size()));
  // VELLAMIRE_BENCH_NO_ICON leaves the icon out, to show what it costs.
  if (std::getenv("VELLAMIRE_BENCH_NO_ICON") == nullptr) {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icons/vellamire-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
  }
  QGuiApplication::setDesktopFileName(QStringLiteral("vellamire"));
  ui::Form1 window;
  form = &window;
  bench::PrintFigure("built_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  window.Form_Load();
  bench::PrintFigure("loaded_ms", bench::MillisecondsSinceStart(bench::MonotonicNs()));
  return QApplication::exec();
}
