#include "bench/window_probe.h"

#include <QTimer>
#include <QWindow>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {
namespace {

// Start time of this process from /proc/self/stat, in CLOCK_BOOTTIME
// nanoseconds (field 22 counts clock ticks since boot), or -1.
std::int64_t StartFromProcStat() {
  std::ifstream in("/proc/self/stat");
  std::string line;
  if (!std::getline(in, line)) return -1;
  // The command name may hold blanks; the fields after it follow the ')'.
  const auto close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  // Field 3 (state) comes first; the start time is field 22.
  for (int n = 3; n < 22 && fields >> field; ++n) {
  }
  unsigned long long ticks = 0;
  if (!(fields >> ticks)) return -1;
  const long hz = sysconf(_SC_CLK_TCK);
  if (hz <= 0) return -1;
  return static_cast<std::int64_t>(ticks) * (1000000000LL / hz);
}

std::int64_t ClockNs(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

}  // namespace

std::int64_t MonotonicNs() { return ClockNs(CLOCK_MONOTONIC); }

double MillisecondsSinceStart(std::int64_t now_ns) {
  if (const char* t0 = std::getenv("VELLAMIRE_BENCH_T0_NS")) {
    return static_cast<double>(now_ns - std::strtoll(t0, nullptr, 10)) / 1e6;
  }
  const std::int64_t start = StartFromProcStat();
  if (start < 0) return -1;
  // Both clocks tick alike while the machine is awake; their offset is the
  // time spent suspended, read now.
  const std::int64_t boot_now = ClockNs(CLOCK_BOOTTIME) - MonotonicNs() + now_ns;
  return static_cast<double>(boot_now - start) / 1e6;
}

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void PrintFigure(const char* name, double value) {
  std::printf("%s %.4f\n", name, value);
  std::fflush(stdout);
}

ProbeApplication::ProbeApplication(int& argc, char** argv, std::function<void()> on_shown)
    : QApplication(argc, argv), on_shown_(std::move(on_shown)) {}

bool ProbeApplication::notify(QObject* receiver, QEvent* event) {
  const bool expose = !shown_ && event->type() == QEvent::Expose;
  const bool paint = receiver == watched_ && event->type() == QEvent::Paint;
  const bool handled = QApplication::notify(receiver, event);
  if (paint) ++paints_;
  if (expose) {
    auto* window = qobject_cast<QWindow*>(receiver);
    if (window != nullptr && window->isTopLevel() && window->isExposed()) {
      const std::int64_t now = MonotonicNs();
      shown_ = true;
      PrintFigure("shown_ms", MillisecondsSinceStart(now));
      PrintFigure("rss_shown_kib", static_cast<double>(PeakRssKiB()));
      QTimer::singleShot(0, this, on_shown_);
    }
  }
  return handled;
}

}  // namespace bench
