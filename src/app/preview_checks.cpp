#include "app/preview_checks.h"

#include <algorithm>
#include <ctime>

#include "app/check_texts.h"
#include "app/listed_message.h"
#include "platform/volume_facts.h"
#include "scan/both_trees.h"
#include "scan/move_finding.h"
#include "volume_state/kept_runs.h"
#include "worklist/record_withdrawal.h"
#include "worklist/destination_check.h"
#include "worklist/list_lines.h"
#include "worklist/space_needed.h"

namespace tav {

namespace {

using namespace check_text;

constexpr std::uint64_t kMegabyte = 1 << 20;
constexpr std::size_t kManyDeletions = 20;

std::string_view refusal_text(Refusal why) {
  const auto* found = std::ranges::find(kRefusalTexts, why, &RefusalText::why);
  return found == std::end(kRefusalTexts) ? std::string_view() : found->text;
}

std::string whole_megabytes(std::uint64_t bytes) {
  return std::to_string((bytes + kMegabyte - 1) / kMegabyte) + std::string(kMegabytes);
}

std::string space_text(std::uint64_t needed, std::uint64_t free) {
  return std::string(kSpaceShort) + "\r\r" + std::string(kSpaceNeeded) + whole_megabytes(needed) +
         "\r" + std::string(kSpaceFree) + whole_megabytes(free) + "\r\r" +
         std::string(kSpaceQuestion);
}

std::string_view unrecorded_text(state::Unrecorded why) {
  const auto* found = std::ranges::find(kUnrecordedTexts, why, &UnrecordedText::why);
  return found == std::end(kUnrecordedTexts) ? std::string_view() : found->text;
}

// Whether to go on with the deletions still listed: asked when they would
// remove at least half of the destination's files that take part, and at
// least kManyDeletions.
bool may_delete(Window& window, const WorkTables& tables, const ScanFindings& findings) {
  std::size_t deletions = 0;
  for ([[maybe_unused]] const auto& listed : tables.deleted_files.listed()) ++deletions;
  if (deletions < kManyDeletions || deletions * 2 < findings.destination_files) return true;
  const std::string text = std::string(kDeletionOf) + std::to_string(findings.destination_files) +
                           std::string(kDeletionCount) + std::to_string(deletions) +
                           std::string(kDeletionWill) + "\r\r" + std::string(kDeletionQuestion);
  return window.message_box(kDeletionCaption, text, Buttons::OkCancel, Icon::Exclamation) ==
         Answer::Ok;
}

// What makes a run fit that does not: kept runs released (the latest too
// where needed), then copies that replace without keeping.
struct RoomOffer {
  std::size_t runs = 0;         // released beyond those old enough to go anyway
  std::uint64_t released = 0;   // the room they free
  bool latest_too = false;
  UnkeptReplacements unkept;
};

std::string room_question(std::uint64_t needed, std::uint64_t free, const RoomOffer& offer) {
  std::string text = std::string(kSpaceShort) + "\r\r" + std::string(kSpaceNeeded) +
                     whole_megabytes(needed) + "\r" + std::string(kSpaceFree) +
                     whole_megabytes(free);
  if (offer.runs > 0) {
    text += "\r" + std::string(kSpaceRunsReleased) + std::to_string(offer.runs) +
            std::string(kSpaceRunsFree) + whole_megabytes(offer.released);
  }
  if (!offer.unkept.slots.empty()) {
    text += "\r" + std::to_string(offer.unkept.slots.size()) + std::string(kSpaceUnkeptFree) +
            whole_megabytes(offer.unkept.saved);
  }
  const std::string_view question = !offer.unkept.slots.empty()
                                        ? (offer.runs > 0 ? kSpaceReleaseUnkeptQuestion
                                                          : kSpaceUnkeptQuestion)
                                    : offer.latest_too ? kSpaceReleaseLatestQuestion
                                                       : kSpaceReleaseQuestion;
  return text + "\r\r" + std::string(question);
}

// Whether the copies fit, or the user wants the run anyway. Runs kept
// longer than they are kept for go as the run starts, so their room counts
// as free; where that is not enough, the one question offers what would
// make the run fit, and OK makes the plan do exactly that.
bool fits(Window& window, const WorkTables& tables, const Roots& roots,
          const VolumeFacts& destination, RoomPlan& plan) {
  const std::uint64_t unit = destination.allocation_unit;
  const std::uint64_t needed = bytes_to_add(tables, roots.direction, unit);
  const auto runs = state::kept_runs(roots.destination_root());
  const std::int64_t now = std::time(nullptr);
  const auto expired = state::runs_to_release(runs, now, unit, 0);
  const std::uint64_t free = *destination.free_bytes + expired.room;
  plan.release = {0, unit, false};
  if (needed <= free) return true;
  const std::uint64_t wanted = needed - *destination.free_bytes;
  RoomOffer offer;
  auto release = state::runs_to_release(runs, now, unit, wanted);
  if (release.room < wanted) {
    offer.latest_too = true;
    release = state::runs_to_release(runs, now, unit, wanted, true);
  }
  offer.runs = release.runs.size() - expired.runs.size();
  offer.released = release.room - expired.room;
  KeptRoom room{wanted, unit, offer.latest_too};
  if (release.room < wanted) {
    offer.unkept = replacements_to_leave_unkept(tables, roots.direction, unit,
                                                *destination.free_bytes + release.room);
    room.wanted = UINT64_MAX;
  }
  // Only what makes the run fit is offered: nothing is released for a run
  // that would fail all the same.
  const bool offered = offer.unkept.slots.empty() ? release.room >= wanted : offer.unkept.fits;
  if (!offered) {
    // Nothing makes it fit: the user may still want the run.
    return window.message_box(kDestinationCaption, space_text(needed, free), Buttons::OkCancel,
                              Icon::Exclamation) == Answer::Ok;
  }
  if (window.message_box(kDestinationCaption, room_question(needed, free, offer),
                         Buttons::OkCancel, Icon::Exclamation) != Answer::Ok) {
    return false;
  }
  plan = {room, std::move(offer.unkept.slots)};
  return true;
}

// "ドライブの時刻が N 時間ずれていました…": N in hours, a fraction where the
// clock moved by quarter hours ("0.25", "-1.5").
std::string clock_line(std::string_view side, std::int64_t seconds) {
  const std::int64_t quarters = seconds / 900;
  std::string hours = std::to_string(quarters / 4);
  if (quarters < 0 && quarters > -4) hours = "-0";
  static constexpr std::string_view kFractions[] = {"", ".25", ".5", ".75"};
  hours += kFractions[(quarters < 0 ? -quarters : quarters) % 4];
  return std::string(side) + hours + std::string(kClockMovedBy);
}

// Whether to go on with a first run of the pair that deletes or replaces
// what other folders' runs left on the drive: asked, naming those folders.
bool may_touch_other_pairs(Window& window, const WorkTables& tables, const Roots& roots,
                           const ScanFindings& findings) {
  if (findings.record.record || findings.other_records.empty() || !roots.to_drive()) return true;
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& listed : tables.deleted_files.listed()) ++files;
  for (const auto& [slot, copy] : tables.copies.listed()) files += copy.right_seen ? 1 : 0;
  if (files == 0) return true;
  std::vector<std::string> folders;
  for (const state::RunRecord& other : findings.other_records) {
    const std::string folder(other.folder_path());
    if (std::ranges::find(folders, folder) == folders.end()) folders.push_back(folder);
  }
  std::string text(kOtherPairsLead);
  for (std::size_t i = 0; i < folders.size() && i < kOtherPairsShown; ++i) text += "\r" + folders[i];
  if (folders.size() > kOtherPairsShown) {
    text += "\r" + std::string(kOtherPairsMore) + std::to_string(folders.size() - kOtherPairsShown) +
            std::string(kOtherPairsCount);
  }
  text += "\r\r" + std::to_string(files) + std::string(kOtherPairsQuestion);
  return window.message_box(kOtherPairsCaption, text, Buttons::OkCancel, Icon::Exclamation) ==
         Answer::Ok;
}

// A root scanned on a volume that is gone now, or is another one.
bool moved_away(const std::optional<VolumeFacts>& scanned, const std::optional<VolumeFacts>& now) {
  return scanned && (!now || now->identity != scanned->identity);
}

}  // namespace

void withdraw_before_the_review(Window& window, WorkTables& tables, const Roots& roots,
                                const ScanFindings& findings) {
  const state::RecordReading& record = findings.record;
  const auto& volume = findings.destination_volume(roots);
  const DestinationRules rules =
      rules_for(volume ? volume->file_system : "", kWindowsNamesEverywhere,
                findings.destination_ignores_case);
  std::vector<std::string> refused;
  for (const auto& entry : withdraw_refused_entries(tables, roots, rules)) {
    refused.push_back(entry.path + std::string(refusal_text(entry.why)));
  }
  std::vector<std::string> protected_lines;
  const state::RecordProtection protection(record.record ? &*record.record : nullptr,
                                           findings.other_records, roots);
  for (const auto& entry : withdraw_what_the_record_protects(tables, roots, protection)) {
    protected_lines.push_back(entry.path + std::string(unrecorded_text(entry.why)));
  }
  std::vector<std::string> same_names;
  for (const std::string& path : findings.same_names) {
    same_names.push_back(path + std::string(kSameNameTwice));
  }
  std::vector<std::string> clocks;
  if (findings.drive_shift != 0) clocks.push_back(clock_line(kDriveClockMoved, findings.drive_shift));
  if (findings.folder_shift != 0) {
    clocks.push_back(clock_line(kFolderClockMoved, findings.folder_shift));
  }
  const bool moves = record.record && findings.trees &&
                     find_moves(tables, roots, *record.record,
                                roots.source(findings.trees->folder, findings.trees->drive)
                                    .identity_volume) > 0;
  if (refused.empty() && protected_lines.empty() && same_names.empty() && !record.damaged &&
      clocks.empty()) {
    if (moves) {
      fill_list1(window, tables, roots);
      fill_list2(window, tables);
    }
    return;
  }
  fill_list1(window, tables, roots);
  fill_list2(window, tables);
  std::string text;
  const auto add = [&](std::string part) {
    if (!text.empty()) text += "\r\r";
    text += part;
  };
  if (!refused.empty()) add(listed_message(kRefusedHeading, refused));
  if (!same_names.empty()) add(listed_message(kSameNamesHeading, same_names));
  if (record.damaged) add(std::string(kRecordUnreadable));
  for (const std::string& clock : clocks) add(clock);
  if (!protected_lines.empty()) add(listed_message(kRecordHeading, protected_lines));
  const bool names = !refused.empty() || !same_names.empty();
  window.message_box(names ? kDestinationCaption : kRecordCaption, text, Buttons::Ok,
                     Icon::Exclamation);
}

Readiness ready_to_execute(Window& window, const WorkTables& tables, const Roots& roots,
                           const ScanFindings& findings, RoomPlan& plan) {
  plan = {};
  const auto folder_now = volume_facts(roots.folder_root);
  const auto drive_now = volume_facts(roots.drive_root);
  if (moved_away(findings.folder_volume, folder_now) ||
      moved_away(findings.drive_volume, drive_now)) {
    window.message_box(kDriveCaption, kDriveChanged, Buttons::Ok, Icon::Stop);
    return Readiness::EndNow;
  }
  if (!window.is_checked(Control::Check1) && !may_delete(window, tables, findings)) {
    return Readiness::Review;
  }
  if (!may_touch_other_pairs(window, tables, roots, findings)) return Readiness::Review;
  const auto& destination = roots.destination(folder_now, drive_now);
  if (!destination || !destination->free_bytes) return Readiness::Execute;
  return fits(window, tables, roots, *destination, plan) ? Readiness::Execute : Readiness::Review;
}

}  // namespace tav
