// What a window layer last showed of a run's progress on its taskbar button
// or launcher: kept so that it can be shown again (a taskbar that came
// back) and turned into the error state while an error report is shown.
#pragma once

#include "window/window.h"

namespace tav {

struct ShownProgress {
  Progress state = Progress::None;
  double fraction = 0.0;  // 0..1

  // The state with its fraction held to 0..1 (not a number counts as 0).
  static ShownProgress of(Progress state, double fraction) {
    const double held = fraction > 1.0 ? 1.0 : (fraction >= 0.0 ? fraction : 0.0);
    return {state, held};
  }
  // The error state where the bar stands; a full bar when none was shown,
  // so that the error shows.
  ShownProgress as_error() const {
    return {Progress::Error, state == Progress::None ? 1.0 : fraction};
  }
  bool operator==(const ShownProgress&) const = default;
};

}  // namespace tav
