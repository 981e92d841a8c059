// Times the scan and the execution in the real Linux window against the
// same work without a window, over the pair of trees that
// tavrelon_scan_bench makes, interleaved run by run:
//
//   tavrelon_sync_window_bench BASE [RUNS]
//
// The window's scan runs from the click on "→" until the flow waits in
// review; its execution from the second click until the flow waits in the
// completion state. Between runs the drive side is put back as it was made.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "bench_trees.h"
#include "null_core.h"
#include "timing.h"
#include "platform/qt/qt_window.h"
#include "scan/scan_trees.h"
#include "worklist/execution.h"

namespace {

using namespace tav;
using bench::NoProgress;
using bench::Ended;
using bench::NullWindow;
using bench::Clock;
using bench::seconds_since;

struct Sides {
  std::string folder, drive;
  Roots roots() const { return bench::roots_of(folder, drive); }
};

// The core alone: the scan's seconds, and the execution's when asked for.
std::pair<double, double> without_window(const Sides& sides, bool execute) {
  const Roots roots = sides.roots();
  WorkTables tables;
  NoProgress progress;
  auto start = Clock::now();
  scan_trees(roots, tables, progress);
  const double scan = seconds_since(start);
  if (!execute) return {scan, 0};
  NullWindow window;
  start = Clock::now();
  execute_work_lists(window, tables, roots, {state::pair_key("bench", roots.folder_path)});
  return {scan, seconds_since(start)};
}

// The real window with the main flow, played by a timer: the scan's
// seconds, and the execution's when asked for.
std::pair<double, double> in_window(const Sides& sides, bool execute) {
  qt::QtWindow window(main_form(), [](int) { throw Ended{}; });
  const Drive drive{"T: 固定ディスク", sides.drive + "/"};
  int waits = 0;
  Clock::time_point clicked;
  double scan = 0, execution = 0;
  auto* arrow = static_cast<QPushButton*>(window.widget(Control::Button3));
  QTimer player;
  QObject::connect(&player, &QTimer::timeout, [&] {
    if (!window.waiting() || window.pending_events() > 0) return;
    ++waits;
    if (waits == 1) {  // selection
      static_cast<QLineEdit*>(window.widget(Control::Edit1))->setText(QString::fromStdString(sides.folder));
      static_cast<QComboBox*>(window.widget(Control::Combo1))->setEditText(QString::fromStdString(drive.entry));
      clicked = Clock::now();
      arrow->click();
    } else if (waits == 2) {  // review
      scan = seconds_since(clicked);
      if (!execute) return window.widget(Control::MainForm)->close(), void();
      clicked = Clock::now();
      arrow->click();
    } else {  // completion
      execution = seconds_since(clicked);
      window.widget(Control::MainForm)->close();
    }
  });
  player.start(0);
  try {
    run_program(window, {drive}, "tavrelon");
  } catch (const Ended&) {
  }
  return {scan, execution};
}

struct Spread {
  std::vector<double> runs;
  double best() { return *std::min_element(runs.begin(), runs.end()); }
  double median() const { return bench::median(runs); }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavrelon_sync_window_bench BASE [RUNS]\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const Sides sides{std::string(argv[1]) + "/folder", std::string(argv[1]) + "/drive"};
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const int files_per_leaf = 11;

  // Each execution starts from the drive side as made, with nothing of the
  // last run still to be written; the order alternates.
  const auto settled = [&] {
    bench::restore_drive_side(sides.drive, files_per_leaf);
    // What a run kept and recorded would change the next run's work.
    std::filesystem::remove_all(sides.drive + "/.tavrelon");
    ::sync();
  };
  Spread core_scan, window_scan, core_execution, window_execution;
  for (int run = 0; run < runs; ++run) {
    settled();
    core_scan.runs.push_back(without_window(sides, false).first);
    window_scan.runs.push_back(in_window(sides, false).first);
    for (int turn = 0; turn < 2; ++turn) {
      settled();
      if ((run + turn) % 2 == 0) {
        core_execution.runs.push_back(without_window(sides, true).second);
      } else {
        window_execution.runs.push_back(in_window(sides, true).second);
      }
    }
  }
  settled();
  std::printf("platform: %s, %d runs\n", qPrintable(QGuiApplication::platformName()), runs);
  std::printf("scan without a window:      best %.3f s, median %.3f s\n", core_scan.best(),
              core_scan.median());
  std::printf("scan in the window:         best %.3f s, median %.3f s (%.2fx)\n",
              window_scan.best(), window_scan.median(), window_scan.median() / core_scan.median());
  std::printf("execution without a window: best %.3f s, median %.3f s\n", core_execution.best(),
              core_execution.median());
  std::printf("execution in the window:    best %.3f s, median %.3f s (%.2fx)\n",
              window_execution.best(), window_execution.median(),
              window_execution.median() / core_execution.median());
  return 0;
}
