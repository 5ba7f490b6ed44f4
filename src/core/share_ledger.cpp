#include "core/share_ledger.h"

#include <algorithm>
#include <utility>

namespace solvane {

bool ShareLedger::Holds(const std::string& machine, std::uint64_t position) const {
  const auto found = held_.find(machine);
  return found != held_.end() && found->second.count(position) > 0;
}

std::size_t ShareLedger::EventCount() const {
  std::size_t count = 0;
  for (const auto& [machine, positions] : held_) count += positions.size();
  return count;
}

bool ShareLedger::Add(ShareEvent event, TextSeen* seen) {
  if (seen) *seen = {};
  auto machine = held_.find(event.machine);
  if (machine == held_.end()) machine = held_.emplace(event.machine, std::unordered_set<std::uint64_t>()).first;
  if (!machine->second.insert(event.position).second) return false;
  latest_ = std::max(latest_, event.time);
  ShareStamp stamp = ShareStamp::Of(event);
  if (event.kind == ShareEventKind::kClear) {
    clears_.insert(std::move(stamp));
    return true;
  }
  // One hash of the text, found or put in; a text found is left where it is.
  const auto [found, put] = texts_.try_emplace(std::move(event.text));
  const bool knew = !put && found->second.lastUse.has_value();
  if (seen) *seen = {knew, found->first};
  Texts& texts = found->second;
  switch (event.kind) {
    case ShareEventKind::kCapture:
    case ShareEventKind::kUse:
      if (!texts.lastUse || *texts.lastUse < stamp) texts.lastUse = std::move(stamp);
      break;
    case ShareEventKind::kRemove:
      if (!texts.removed || *texts.removed < stamp) texts.removed = std::move(stamp);
      break;
    case ShareEventKind::kKeep:
    case ShareEventKind::kUnkeep:
      texts.marks[std::move(stamp)] = event.kind == ShareEventKind::kKeep;
      break;
    case ShareEventKind::kClear:
      break;
  }
  return true;
}

bool ShareLedger::KeptAt(const Texts& texts, const ShareStamp& at) const {
  auto after = texts.marks.upper_bound(at);
  if (after == texts.marks.begin()) return false;
  return std::prev(after)->second;
}

bool ShareLedger::IsShown(const Texts& texts) const {
  if (!texts.lastUse) return false;
  const ShareStamp& lastUse = *texts.lastUse;
  if (texts.removed && lastUse < *texts.removed) return false;
  // Only the clears after the last use can have taken it.
  for (auto clear = clears_.upper_bound(lastUse); clear != clears_.end(); ++clear) {
    if (!KeptAt(texts, *clear)) return false;
  }
  return true;
}

bool ShareLedger::Knows(std::string_view text) const {
  auto found = texts_.find(text);
  return found != texts_.end() && found->second.lastUse.has_value();
}

std::optional<ShareLedger::Clip> ShareLedger::Find(std::string_view text) const {
  auto found = texts_.find(text);
  if (found == texts_.end() || !IsShown(found->second)) return std::nullopt;
  const Texts& texts = found->second;
  return Clip{found->first, *texts.lastUse, !texts.marks.empty() && texts.marks.rbegin()->second};
}

std::vector<ShareLedger::Clip> ShareLedger::Shown() const {
  std::vector<Clip> shown;
  shown.reserve(texts_.size());
  for (const auto& [text, texts] : texts_) {
    if (IsShown(texts)) shown.push_back({text, *texts.lastUse, !texts.marks.empty() && texts.marks.rbegin()->second});
  }
  std::sort(shown.begin(), shown.end(), [](const Clip& a, const Clip& b) { return b.lastUse < a.lastUse; });
  return shown;
}

}  // namespace solvane
