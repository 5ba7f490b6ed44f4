#include "platform/fake/fake_ini_files.h"

#include <vector>

#include "base/text_buffer.h"

namespace solvane::fake {

namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return AsciiLower(Trim(a)) == AsciiLower(b); }

bool IsSection(const std::string& line, std::string* name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const std::size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (name) *name = t.substr(1, close - 1);
  return true;
}

}  // namespace

std::string FakeIniFiles::Read(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& fallback) {
  const auto bytes = files_.ReadAll(path);
  if (!bytes) return fallback;
  bool inSection = false;
  for (const std::string_view view : SplitTitleFile(*bytes)) {
    const std::string line(view);
    std::string name;
    if (IsSection(line, &name)) {
      inSection = SameName(name, section);
      continue;
    }
    const std::size_t eq = line.find('=');
    if (inSection && eq != std::string::npos && SameName(line.substr(0, eq), key)) {
      return Trim(line.substr(eq + 1)).substr(0, kMaxIniValue);
    }
  }
  return fallback;
}

bool FakeIniFiles::Write(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value) {
  if (files_.readOnly || (refuseAfter >= 0 && writes >= refuseAfter)) return false;
  ++writes;
  const auto bytes = files_.ReadAll(path);
  std::vector<std::string> lines;
  if (bytes) {
    for (const std::string_view line : SplitTitleFile(*bytes)) lines.emplace_back(line);
  }
  int sectionAt = -1;
  int insertAt = -1;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    std::string name;
    if (IsSection(lines[i], &name)) {
      if (sectionAt >= 0) break;
      if (SameName(name, section)) sectionAt = insertAt = i;
      continue;
    }
    if (sectionAt < 0) continue;
    const std::size_t eq = lines[i].find('=');
    if (eq != std::string::npos && SameName(lines[i].substr(0, eq), key)) {
      lines[i] = key + "=" + value;
      files_.files[path] = JoinFileLines(lines);
      return true;
    }
    if (!Trim(lines[i]).empty()) insertAt = i;
  }
  if (sectionAt < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(key + "=" + value);
  } else {
    lines.insert(lines.begin() + insertAt + 1, key + "=" + value);
  }
  files_.files[path] = JoinFileLines(lines);
  return true;
}

}  // namespace solvane::fake
