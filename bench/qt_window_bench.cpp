// Times the Linux window: from process start to the first paint of the
// form, filling LIST1 and LIST2 with 100,000 lines and rebuilding LIST1
// after a withdrawal (each until the list has been painted again), adding
// 100,000 lines one at a time as the execution does, and the processor time
// an idle wait costs.
//
//   tavrelon_qt_bench [LINES]
//
// Runs on the display in DISPLAY (xcb), or offscreen without one. The lines
// are list lines as the scan makes them: 134 to 264 bytes, each ending in
// its index field, in the order of a folder walk.
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "platform/qt/line_list_box.h"
#include "platform/qt/qt_window.h"
#include "worklist/list_lines.h"

namespace {

using namespace tav;
using Clock = std::chrono::steady_clock;

struct Ended {};

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds since this process started (the kernel counts in ticks).
double ms_since_process_start() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  // Field 22 (start time in ticks), counted after the command's ")".
  std::size_t pos = text.rfind(')') + 2;
  for (int field = 3; field < 22; ++field) pos = text.find(' ', pos) + 1;
  const double start_ticks = std::stod(text.substr(pos));
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  const double now_ms = static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  return now_ms - start_ticks * 1e3 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double cpu_ms() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Copy lines and creation lines of a walk: folders in order, files in the
// order a directory lists them.
std::vector<std::string> scan_lines(int count) {
  std::vector<std::string> lines;
  std::mt19937 random(42);
  for (int i = 0; i < count; ++i) {
    const int folder = i / 100;
    std::string path = "/media/kim/ＵＳＢメモリ/仕事/案件" + std::to_string(folder % 37) + "/資料" +
                       std::to_string(folder) + "/";
    path += std::string(random() % 90, 'x') + "_" + std::to_string(random() % 100000) + ".txt";
    const bool update = i % 3 == 0;
    const std::string text = (update ? "(更新) " : "(作成) ") + path +
                             (update ? "  (2024/05/01)→(2024/04/30)" : "  (2024/05/01)→()");
    lines.push_back(format_line(text, kCopyTextWidth, i + 1));
  }
  return lines;
}

// Milliseconds until the list has been painted after a change.
class PaintClock : public QObject {
 public:
  explicit PaintClock(QWidget& viewport) : viewport_(viewport) { viewport.installEventFilter(this); }
  double until_painted(Clock::time_point start) {
    painted_ = false;
    viewport_.update();
    while (!painted_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return ms_since(start);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ = true;
    return false;
  }

 private:
  QWidget& viewport_;
  bool painted_ = false;
};

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && at < 0) at = ms_since_process_start();
    return false;
  }
  double at = -1;
};

// The best and the median of a few runs: the machine may be busy.
struct Spread {
  std::vector<double> runs;
  void add(double ms) { runs.push_back(ms); }
  std::string text() {
    std::sort(runs.begin(), runs.end());
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "best %6.1f ms, median %6.1f ms", runs.front(),
                  runs[runs.size() / 2]);
    return buffer;
  }
};

constexpr int kRuns = 5;

void measure_lists(qt::QtWindow& window, int count) {
  const std::vector<std::string> lines = scan_lines(count);
  std::vector<std::string> rest = lines;
  rest.erase(rest.begin() + count / 2);
  PaintClock painted(*static_cast<qt::LineListBox*>(window.widget(Control::List1))->viewport());
  PaintClock painted2(*static_cast<qt::LineListBox*>(window.widget(Control::List2))->viewport());

  // Each until the list has been painted again.
  Spread fill, rebuild, fill2;
  for (int run = 0; run < kRuns; ++run) {
    window.list_clear(Control::List1);
    window.list_clear(Control::List2);
    auto start = Clock::now();
    window.list_fill(Control::List1, lines);
    fill.add(painted.until_painted(start));
    start = Clock::now();
    window.list_fill(Control::List1, rest);
    rebuild.add(painted.until_painted(start));
    start = Clock::now();
    window.list_fill(Control::List2, lines);
    fill2.add(painted2.until_painted(start));
  }
  std::printf("LIST1 fill, %d lines:     %s\n", count, fill.text().c_str());
  std::printf("LIST1 rebuild, %d lines:  %s\n", count - 1, rebuild.text().c_str());
  std::printf("LIST2 fill, %d lines:     %s\n", count, fill2.text().c_str());

  // The execution adds its lines one by one, with the between-steps
  // processing after each.
  window.list_clear(Control::List1);
  std::vector<std::string> shuffled = lines;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  const auto start = Clock::now();
  for (const auto& line : shuffled) {
    window.list_add(Control::List1, line);
    window.process_pending_events();
  }
  std::printf("LIST1 %d single adds in random order, with processing: %.0f ms\n", count,
              ms_since(start));
}

void measure_idle_wait(qt::QtWindow& window) {
  QTimer::singleShot(1000, [&window] { window.widget(Control::MainForm)->close(); });
  const double cpu_before = cpu_ms();
  const auto start = Clock::now();
  try {
    window.wait_for_event();
  } catch (const Ended&) {
  }
  std::printf("Idle wait of %.0f ms: %.1f ms of processor time\n", ms_since(start),
              cpu_ms() - cpu_before);
}

}  // namespace

int main(int argc, char* argv[]) {
  const double at_main = ms_since_process_start();
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const qt::ProcessExit exit_process = [](int) { throw Ended{}; };

  // The program's start-up up to its first wait; then "中　止" ends it.
  double at_first_paint = -1, at_ready = -1;
  {
    qt::QtWindow window(main_form(), exit_process);
    FirstPaint first_paint;
    window.widget(Control::MainForm)->installEventFilter(&first_paint);
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (!window.waiting() || first_paint.at < 0) return;
      at_first_paint = first_paint.at;
      at_ready = ms_since_process_start();
      probe.stop();
      static_cast<QPushButton*>(window.widget(Control::Button4))->click();
    });
    probe.start(0);
    try {
      run_program(window, {}, "tavrelon");
    } catch (const Ended&) {
    }
  }
  std::printf("Platform: %s\n", qPrintable(QGuiApplication::platformName()));
  std::printf("Process start to main():           %7.1f ms\n", at_main);
  std::printf("Process start to first paint:      %7.1f ms\n", at_first_paint);
  std::printf("Process start to the first wait:   %7.1f ms\n", at_ready);

  // The lists and the idle wait in a window of their own, shown.
  qt::QtWindow window(main_form(), exit_process);
  window.set_size(Control::MainForm, 940, 724);
  window.set_visible(Control::MainForm, true);
  PaintClock(*window.widget(Control::MainForm)).until_painted(Clock::now());
  measure_lists(window, count);
  measure_idle_wait(window);
  return 0;
}
