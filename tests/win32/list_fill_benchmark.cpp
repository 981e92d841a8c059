// Measures filling LIST1 with 100,000 lines of 134 to 264 bytes, shaped
// like the work list's lines, in a random order: through list_fill, and for
// comparison, on fewer lines, one list_add per line with redrawing on, and
// with redrawing off but in random order (what list_fill would cost without
// sorting first).
//   tavrelon_list_fill_benchmark [LINES [ADD_LINES]]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/win32/window/list_control.h"
#include "platform/win32/window/window_win32.h"
#include "window/window.h"
#include "support/win32/window/form_windows.h"

namespace {

std::vector<std::string> work_lines(int count) {
  std::mt19937 random(42);
  const char* const words[] = {"資料", "Data", "ソフト表", "report", "画像", "backup", "議事録"};
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) {
    std::string path = "\\";
    const auto target = 110 + random() % 120;  // bytes of the path part
    while (path.size() < target) {
      path += words[random() % 7];
      path += random() % 3 == 0 ? "\\" : "_";
    }
    std::string line = (random() % 2 ? "(更新) " : "(作成) ") + path + ".txt";
    line.resize(std::max<std::size_t>(line.size(), 126), ' ');
    char index[16];
    std::snprintf(index, sizeof index, "%8d", i);
    lines.push_back(line + index);
  }
  return lines;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int add_count = argc > 2 ? std::atoi(argv[2]) : 10000;
  const auto window = tav::win32::open_main_window(tav::main_form());
  window->set_visible(tav::Control::MainForm, true);

  const std::vector<std::string> lines = work_lines(count);
  auto start = std::chrono::steady_clock::now();
  window->list_fill(tav::Control::List1, lines);
  std::printf("list_fill, %d lines: %.2f s\n", count, seconds_since(start));

  const std::vector<std::string> some(lines.begin(), lines.begin() + add_count);
  window->list_clear(tav::Control::List1);
  start = std::chrono::steady_clock::now();
  for (const std::string& line : some) window->list_add(tav::Control::List1, line);
  std::printf("list_add one by one, %d lines: %.2f s\n", add_count, seconds_since(start));

  const HWND list = tav::test::find_control_window(tav::test::find_form_window(L"Tavrelon"),
                                                   tav::main_form().control(tav::Control::List1));
  window->list_clear(tav::Control::List1);
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  start = std::chrono::steady_clock::now();
  for (const std::string& line : lines) window->list_add(tav::Control::List1, line);
  std::printf("list_add, redrawing off, random order, %d lines: %.2f s\n", count,
              seconds_since(start));
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);

  std::vector<std::wstring> wide;
  for (const std::string& line : lines) wide.emplace_back(line.begin(), line.end());
  start = std::chrono::steady_clock::now();
  tav::win32::sort_like_list_box(list, wide);
  std::printf("sorting %d lines alone: %.2f s\n", count, seconds_since(start));
  std::fflush(stdout);
  window->end_program(0);
}
