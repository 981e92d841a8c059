// Undoing a pair's last run from its journal and what it kept: kept files
// put back, files the run placed removed while they are still exactly as it
// placed them, folders it made removed while empty, folders it removed
// made again, and the pair's record put back as it was before the run.
// Whatever the undo removes, it keeps in a kept folder of its own, so that
// the undo itself loses nothing. A run that ended early is undone as far as
// its journal and its kept folder go.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "volume_state/kept_runs.h"
#include "volume_state/state_folder.h"
#include "worklist/execution.h"
#include "worklist/roots.h"

namespace tav {

struct UndoStep {
  enum class Kind { PutBack, Remove } kind;
  std::string path;  // on the side the run changed
};

struct UndoPlan {
  state::KeptRunFolder run;
  state::Journal journal;
  std::string root;  // of the side the run changed, with its separator
  std::vector<UndoStep> steps;  // as the confirmation names them
};

// The pair's most recent run (on either side) with what undoing it would
// do; none when there is no run, or the most recent one was undone.
std::optional<UndoPlan> plan_undo(const Roots& roots, const state::PairKey& pair);

// Carries the plan out; what it left as it is, with why.
std::vector<LeftEntry> undo_run(const UndoPlan& plan, const Roots& roots,
                                const state::PairKey& pair);

}  // namespace tav
