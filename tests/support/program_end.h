// The end of the program in a test: the test windows end it by throwing
// ProgramEnded, which these helpers catch to hand back the exit code.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "app/program.h"

namespace tav::test {

struct ProgramEnded {
  int exit_code;
};

// The exit code the program ended with while running f; -1 if it did not end.
template <typename F>
int exit_code_of(F&& f) {
  try {
    std::forward<F>(f)();
  } catch (const ProgramEnded& ended) {
    return ended.exit_code;
  }
  return -1;
}

// Runs the whole program in a test window; its exit code.
inline int run_to_end(Window& window, std::vector<Drive> drives,
                      std::string_view program_name = "Tavrelon") {
  return exit_code_of([&] { run_program(window, std::move(drives), program_name); });
}

}  // namespace tav::test
