// Runs the two window programs headless, alternately, several times each:
// bench_window_form (the program's window) and bench_window_bare (a bare Qt
// window of the same size with one line of text, the floor); and, to show
// what the window icon costs, bench_window_form without its icon. Takes the
// CLOCK_MONOTONIC time just before starting each one and hands it over in
// VELLAMIRE_BENCH_T0_NS; reads back their "name value" lines and the peak
// resident memory of the whole process from wait4. Prints the medians, the
// ratios and RESULT lines for scripts/bench.
//
//   window_bench [--runs N] [--presses N] [--warmup N]
//
// Exits 1 when a program fails, hangs, crashes or reports a wrong press.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Figures = std::map<std::string, double>;

std::int64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string OwnFolder() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  buffer[n] = '\0';
  return Folder(buffer);
}

// Starts `program` with the given extra environment, reads its stdout to the
// end and waits for it. Gives false, with a message, when it cannot be
// started, runs longer than `timeout_ms`, is killed by a signal or exits
// non-zero; `figures` holds what it printed plus "rss_peak_kib".
bool RunOnce(const std::string& program, const std::vector<std::string>& extra_env,
             int timeout_ms, Figures& figures) {
  int out[2];
  if (pipe(out) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);

  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "VELLAMIRE_BENCH_T0_NS=", 22) != 0) env_text.emplace_back(*e);
  }
  for (const std::string& e : extra_env) env_text.push_back(e);
  env_text.emplace_back();  // the start time, filled in last
  std::vector<char*> env;
  for (std::string& e : env_text) env.push_back(e.data());
  env.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

  env_text.back() = "VELLAMIRE_BENCH_T0_NS=" + std::to_string(MonotonicNs());
  env[env.size() - 2] = env_text.back().data();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    std::fprintf(stderr, "window_bench: cannot start %s: %s\n", program.c_str(),
                 std::strerror(spawned));
    close(out[0]);
    return false;
  }

  std::string text;
  const std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(timeout_ms) * 1000000;
  bool timed_out = false;
  for (;;) {
    const std::int64_t left_ms = (deadline - MonotonicNs()) / 1000000;
    if (left_ms <= 0) {
      timed_out = true;
      break;
    }
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left_ms)) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  if (timed_out) kill(pid, SIGKILL);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);

  std::istringstream lines(text);
  std::string name;
  double value = 0;
  while (lines >> name >> value) figures[name] = value;
  figures["rss_peak_kib"] = static_cast<double>(usage.ru_maxrss);

  if (timed_out) {
    std::fprintf(stderr, "window_bench: %s ran longer than %d ms\n", program.c_str(), timeout_ms);
    return false;
  }
  if (WIFSIGNALED(status)) {
    std::fprintf(stderr, "window_bench: %s was killed by signal %d\n", program.c_str(),
                 WTERMSIG(status));
    return false;
  }
  if (WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "window_bench: %s exited with status %d\n", program.c_str(),
                 WEXITSTATUS(status));
    return false;
  }
  if (figures.count("shown_ms") == 0) {
    std::fprintf(stderr, "window_bench: %s printed no start-up time\n", program.c_str());
    return false;
  }
  return true;
}

int ArgValue(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(1, ArgValue(argc, argv, "--runs", 7));
  const int presses = std::max(1, ArgValue(argc, argv, "--presses", 200));
  const int warmup = std::max(0, ArgValue(argc, argv, "--warmup", 1));
  const std::string folder = OwnFolder();
  const std::string form = folder + "/bench_window_form";
  const std::string bare = folder + "/bench_window_bare";

  // A private runtime folder, as a desktop session would provide.
  char runtime[] = "/tmp/vellamire-bench-XXXXXX";
  if (mkdtemp(runtime) == nullptr) {
    std::perror("window_bench: mkdtemp");
    return 1;
  }
  const std::vector<std::string> env = {
      "QT_QPA_PLATFORM=offscreen", std::string("XDG_RUNTIME_DIR=") + runtime,
      "VELLAMIRE_BENCH_PRESSES=" + std::to_string(presses)};
  constexpr int kTimeoutMs = 120000;

  std::vector<std::string> no_icon_env = env;
  no_icon_env.push_back("VELLAMIRE_BENCH_NO_ICON=1");

  std::map<std::string, std::vector<double>> form_runs;
  std::map<std::string, std::vector<double>> bare_runs;
  std::map<std::string, std::vector<double>> no_icon_runs;
  bool ok = true;
  // Warm-up runs fill the file and font caches and are not counted; then the
  // programs take turns, the order turning round every round.
  for (int round = 0; ok && round < warmup + runs; ++round) {
    Figures f;
    Figures b;
    Figures n;
    const auto run_form = [&] { return RunOnce(form, env, kTimeoutMs, f); };
    const auto run_bare = [&] { return RunOnce(bare, env, kTimeoutMs, b); };
    const auto run_no_icon = [&] { return RunOnce(form, no_icon_env, kTimeoutMs, n); };
    switch (round % 3) {
      case 0: ok = run_form() && run_bare() && run_no_icon(); break;
      case 1: ok = run_bare() && run_no_icon() && run_form(); break;
      default: ok = run_no_icon() && run_form() && run_bare(); break;
    }
    if (!ok || round < warmup) continue;
    for (const auto& [name, value] : f) form_runs[name].push_back(value);
    for (const auto& [name, value] : b) bare_runs[name].push_back(value);
    for (const auto& [name, value] : n) no_icon_runs[name].push_back(value);
    std::printf("run %d: shown (and after QApplication) form %.1f (%.1f) ms, %.0f KiB; "
                "bare %.1f (%.1f) ms, %.0f KiB; form without icon %.1f (%.1f) ms, %.0f KiB; "
                "press %.3f ms\n",
                round - warmup + 1, f["shown_ms"], f["shown_ms"] - f["app_ms"], f["rss_peak_kib"],
                b["shown_ms"], b["shown_ms"] - b["app_ms"], b["rss_peak_kib"], n["shown_ms"],
                n["shown_ms"] - n["app_ms"], n["rss_peak_kib"], f["press_text_ms"]);
  }
  rmdir(runtime);
  if (!ok) return 1;

  const double form_shown = Median(form_runs["shown_ms"]);
  const double bare_shown = Median(bare_runs["shown_ms"]);
  const double form_rss = Median(form_runs["rss_peak_kib"]);
  const double bare_rss = Median(bare_runs["rss_peak_kib"]);
  std::printf("RESULT window_runs %d\n", runs);
  std::printf("RESULT window_presses %d\n", presses);
  std::printf("RESULT form_shown_ms %.2f\n", form_shown);
  std::printf("RESULT bare_shown_ms %.2f\n", bare_shown);
  std::printf("RESULT shown_over_bare %.3f\n", form_shown / bare_shown);
  for (const char* phase : {"main_ms", "app_ms", "built_ms", "loaded_ms"}) {
    std::printf("RESULT form_%s %.2f\n", phase, Median(form_runs[phase]));
    std::printf("RESULT bare_%s %.2f\n", phase, Median(bare_runs[phase]));
  }
  // From QApplication built to shown, run by run: the window's own share,
  // without the loading of the libraries that comes before main.
  const auto own_share = [](std::map<std::string, std::vector<double>>& runs) {
    std::vector<double> share;
    for (std::size_t i = 0; i < runs["shown_ms"].size() && i < runs["app_ms"].size(); ++i) {
      share.push_back(runs["shown_ms"][i] - runs["app_ms"][i]);
    }
    return Median(share);
  };
  std::printf("RESULT form_window_ms %.2f\n", own_share(form_runs));
  std::printf("RESULT bare_window_ms %.2f\n", own_share(bare_runs));
  std::printf("RESULT noicon_window_ms %.2f\n", own_share(no_icon_runs));
  std::printf("RESULT form_rss_kib %.0f\n", form_rss);
  std::printf("RESULT bare_rss_kib %.0f\n", bare_rss);
  std::printf("RESULT rss_over_bare %.3f\n", form_rss / bare_rss);
  const double no_icon_shown = Median(no_icon_runs["shown_ms"]);
  const double no_icon_rss = Median(no_icon_runs["rss_peak_kib"]);
  std::printf("RESULT noicon_shown_ms %.2f\n", no_icon_shown);
  std::printf("RESULT noicon_shown_over_bare %.3f\n", no_icon_shown / bare_shown);
  std::printf("RESULT noicon_rss_kib %.0f\n", no_icon_rss);
  std::printf("RESULT noicon_rss_over_bare %.3f\n", no_icon_rss / bare_rss);
  std::printf("RESULT form_rss_shown_kib %.0f\n", Median(form_runs["rss_shown_kib"]));
  std::printf("RESULT bare_rss_shown_kib %.0f\n", Median(bare_runs["rss_shown_kib"]));
  std::printf("RESULT press_text_ms %.4f\n", Median(form_runs["press_text_ms"]));
  std::printf("RESULT press_paint_ms %.4f\n", Median(form_runs["press_paint_ms"]));
  std::printf("RESULT press_first_ms %.4f\n", Median(form_runs["press_first_ms"]));
  std::printf("RESULT press_window_allocs %.0f\n", Median(form_runs["press_allocs"]));
  return 0;
}
