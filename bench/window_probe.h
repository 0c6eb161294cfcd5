// Measurement for the window benchmarks: a QApplication that notes when its
// first window has been shown, and the figures each window program prints.
//
// "Shown" is the moment the first Expose event of an exposed top-level window
// has been handled: Qt paints the whole window while handling it, so by then
// every widget has drawn its first frame with its fonts.
//
// Time is counted from process start: from VELLAMIRE_BENCH_T0_NS, the
// CLOCK_MONOTONIC nanoseconds the runner read just before it started this
// process, or, when the program is run by hand without it, from the start
// time in /proc/self/stat (10 ms steps).
#ifndef VELLAMIRE_BENCH_WINDOW_PROBE_H_
#define VELLAMIRE_BENCH_WINDOW_PROBE_H_

#include <QApplication>

#include <cstdint>
#include <functional>

namespace bench {

// CLOCK_MONOTONIC in nanoseconds. Cannot fail.
std::int64_t MonotonicNs();

// Milliseconds from the start of this process to `now_ns` (CLOCK_MONOTONIC).
// Gives -1 when neither source of the start time can be read.
double MillisecondsSinceStart(std::int64_t now_ns);

// Peak resident memory of this process so far, in KiB (getrusage).
long PeakRssKiB();

// Prints "name value" on stdout, the form the runner reads. Cannot fail.
void PrintFigure(const char* name, double value);

// Runs `on_shown` from the event loop once the first window has been shown,
// after printing shown_ms (start to shown) and rss_shown_kib.
class ProbeApplication : public QApplication {
 public:
  ProbeApplication(int& argc, char** argv, std::function<void()> on_shown);
  bool notify(QObject* receiver, QEvent* event) override;

  // Counts the paint events `watched` has finished handling from now on.
  void WatchPaints(const QObject* watched) { watched_ = watched; }
  int PaintCount() const { return paints_; }

 private:
  std::function<void()> on_shown_;
  bool shown_ = false;
  const QObject* watched_ = nullptr;
  int paints_ = 0;
};

}  // namespace bench

#endif  // VELLAMIRE_BENCH_WINDOW_PROBE_H_
