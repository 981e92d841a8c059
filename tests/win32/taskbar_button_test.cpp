// What the taskbar is told of each progress.
#include "platform/win32/window/taskbar_button.h"

#include <gtest/gtest.h>

namespace tav::win32 {
namespace {

using P = Progress;

TEST(TaskbarButton, EachStateIsToldWithItsValueWhereTheBarStandsStill) {
  struct Case {
    ShownProgress progress;
    TaskbarCall call;
  };
  for (const auto& [progress, call] : {
           Case{{P::None, 0.0}, {TBPF_NOPROGRESS, false, 0}},
           Case{{P::Normal, 0.25}, {TBPF_NORMAL, true, 2500}},
           Case{{P::Normal, 1.5}, {TBPF_NORMAL, true, kTaskbarTotal}},
           Case{{P::Normal, -0.1}, {TBPF_NORMAL, true, 0}},
           Case{{P::Indeterminate, 0.4}, {TBPF_INDETERMINATE, false, 0}},
           Case{{P::Error, 1.0 / 3}, {TBPF_ERROR, true, 3333}},
           Case{ShownProgress{P::Normal, 0.7}.as_error(), {TBPF_ERROR, true, 7000}},
           Case{ShownProgress{}.as_error(), {TBPF_ERROR, true, kTaskbarTotal}},
       }) {
    SCOPED_TRACE(static_cast<int>(progress.state));
    EXPECT_EQ(taskbar_call(progress), call);
  }
}

}  // namespace
}  // namespace tav::win32
