// Undoing a pair's last run from its journal and what it kept. The plan is
// made once from the journal, shown, and carried out step by step: kept
// files put back, files the run placed removed while they are exactly as it
// placed them, folders it made removed while they hold nothing else,
// folders it removed made again, entries it moved moved back to their
// former paths, and the pair's record put back as it was.
// At each step the only decision left is whether the entry is still as
// planned; one that is not is left and named. Whatever the undo removes it
// keeps in a kept folder of its own, so that the undo itself loses nothing.
// A run that ended early is undone as far as its journal and its kept
// folder go. Every path is reached beneath its side's root (state_access.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "volume_state/kept_runs.h"
#include "volume_state/left_entry.h"
#include "volume_state/pair.h"

namespace tav {

struct UndoStep {
  enum class Kind {
    PutBack,       // a kept file, or a removed folder whole, back at its place
    PutBackOver,   // a replaced file's old version back over the version placed
    MakeFolder,    // a removed folder made again (nothing of it was kept)
    RemovePlaced,  // a file the run placed, moved into the undo's kept folder
    RemoveFolder,  // a folder the run made
    Discard,       // a copy's temporary file the run left (not shown)
    Respell,       // a renamed entry given its former spelling again
    MoveBack,      // a moved entry renamed back to its former path
  } kind;
  state::StatePath path;  // relative to the root of the side the run changed
  FileVersion placed;     // PutBackOver, RemovePlaced: the version the run placed
  // Respell: the entry's former spelling; MoveBack: its former path.
  std::optional<state::StatePath> back_to;
  // PutBackOver, RemovePlaced: the other side still holds the version
  // placed, so it goes without being kept (it can be copied again at any
  // time): undoing a run gives back the room the run took.
  bool copy_elsewhere = false;
  bool shown() const { return kind != Kind::Discard; }
  bool puts_back() const {
    return kind == Kind::PutBack || kind == Kind::PutBackOver || kind == Kind::MakeFolder ||
           kind == Kind::Respell || kind == Kind::MoveBack;
  }
};

struct UndoPlan {
  std::string other_root;  // of the side the run read, with its separator
  state::KeptRunFolder run;
  state::Journal journal;
  std::vector<UndoStep> steps;  // in the order they are carried out
  std::vector<LeftEntry> left;  // what changed since the run and stays

  const std::string& root() const { return run.root; }
  std::string shown_path(const UndoStep& step) const;
};

// The pair's last run (on either side, by the time its journal records)
// with what undoing it would do; none when there is none, the last one was
// undone, or its journal cannot be read whole.
std::optional<UndoPlan> plan_undo(const Roots& roots, const state::PairKey& pair);

// Carries the plan out; what it left as it is, with why.
std::vector<LeftEntry> undo_run(const UndoPlan& plan, const Roots& roots,
                                const state::PairKey& pair);

}  // namespace tav
