#include "app/preview_checks.h"

#include <algorithm>

#include "app/check_texts.h"
#include "app/listed_message.h"
#include "platform/volume_facts.h"
#include "worklist/destination_check.h"
#include "worklist/list_lines.h"
#include "worklist/space_needed.h"

namespace tav {

namespace {

using namespace check_text;

constexpr std::uint64_t kMegabyte = 1 << 20;

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

// A root scanned on a volume that is gone now, or is another one.
bool moved_away(const std::optional<VolumeFacts>& scanned, const std::optional<VolumeFacts>& now) {
  return scanned && (!now || now->identity != scanned->identity);
}

}  // namespace

void withdraw_what_the_destination_refuses(Window& window, WorkTables& tables, const Roots& roots,
                                           const ScanFindings& findings) {
  const auto& volume = findings.destination_volume(roots);
  const DestinationRules rules =
      rules_for(volume ? volume->file_system : "", kWindowsNamesEverywhere,
                findings.destination_ignores_case);
  const std::vector<RefusedEntry> refused = withdraw_refused_entries(tables, roots, rules);
  if (refused.empty()) return;
  fill_list1(window, tables, roots);
  std::vector<std::string> lines;
  for (const auto& entry : refused) {
    lines.push_back(entry.path + std::string(refusal_text(entry.why)));
  }
  window.message_box(kDestinationCaption, listed_message(kRefusedHeading, lines), Buttons::Ok,
                     Icon::Exclamation);
}

Readiness ready_to_execute(Window& window, const WorkTables& tables, const Roots& roots,
                           const ScanFindings& findings) {
  const auto folder_now = volume_facts(roots.folder_root);
  const auto drive_now = volume_facts(roots.drive_root);
  if (moved_away(findings.folder_volume, folder_now) ||
      moved_away(findings.drive_volume, drive_now)) {
    window.message_box(kDriveCaption, kDriveChanged, Buttons::Ok, Icon::Stop);
    return Readiness::EndNow;
  }
  const auto& destination = roots.direction == Direction::FolderToDrive ? drive_now : folder_now;
  if (!destination || !destination->free_bytes) return Readiness::Execute;
  const std::uint64_t needed = bytes_to_add(tables, roots.direction, destination->allocation_unit);
  if (needed <= *destination->free_bytes) return Readiness::Execute;
  const Answer answer =
      window.message_box(kDestinationCaption, space_text(needed, *destination->free_bytes),
                         Buttons::OkCancel, Icon::Exclamation);
  return answer == Answer::Ok ? Readiness::Execute : Readiness::Review;
}

}  // namespace tav
