#include "settings/persistent_form.h"

#include <algorithm>

#include "base/app_error.h"
#include "base/case_fold.h"
#include "core/clip_files.h"
#include "base/str_to_int.h"
#include "base/text_buffer.h"

namespace solvane {

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const { return AsciiLower(a) < AsciiLower(b); }

PersistentForm::PersistentForm(IniFiles& ini, std::string name, FileSystem* files)
    : ini_(ini), name_(std::move(name)), files_(files) {}

void PersistentForm::RegisterStoredProperties() {
  for (const char* name : {"Text", "Checked", "Position", "InitialDir", "FileName"}) storedProperties_.insert(name);
}

bool PersistentForm::IsPropertyStored(const std::string& className, const std::string& propertyName) const {
  return storedProperties_.count(propertyName) > 0 || storedProperties_.count(className + "." + propertyName) > 0;
}

namespace {

// A component's properties by name, as the walk visits them.
std::vector<PublishedProperty> SortedByName(std::vector<PublishedProperty> properties) {
  std::stable_sort(properties.begin(), properties.end(),
                   [](const auto& a, const auto& b) { return NoCaseLess()(a.name, b.name); });
  return properties;
}

}  // namespace

std::string BooleanText(bool value) { return value ? "TRUE" : "FALSE"; }

void AssignBoolean(bool& value, const std::string& text) {
  if (text == "TRUE") value = true;
  if (text == "FALSE") value = false;
}

void AssignInteger(int& value, const std::string& text) { TryStrToInt(text, value); }

// NOTE: the profile functions pass a value through the ANSI code page,
// which in a double-byte one mangles the bytes of UTF-8, and they trim
// spaces and quotes off its ends. An escape takes at most 6 characters for
// each UTF-16 one, so a path of MAX_PATH characters stays within the 2047
// that a read returns.
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendByteEscape(std::string& out, unsigned char byte) {
  out += '%';
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

void AppendUnitEscape(std::string& out, char32_t unit) {
  out += "%u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(unit >> shift) & 0xF];
}

// The number in text[at, at + digits) when all of it is hex digits, else -1.
long HexAt(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) return -1;
  long value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  const int trailing = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLeads[trailing] | (c >> (6 * trailing)));
  for (int i = trailing - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

}  // namespace

std::string EscapedText(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      const bool atAnEnd = at == 0 || at + 1 == text.size();
      if (byte < 0x20 || byte == 0x7F || byte == '%' || byte == '"' || (byte == ' ' && atAnEnd)) {
        AppendByteEscape(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
      ++at;
      continue;
    }
    const std::size_t start = at;
    const char32_t c = DecodeUtf8(text, at);
    if (c == 0xFFFD && text.substr(start, 3) != "\xEF\xBF\xBD") {
      AppendByteEscape(out, byte);  // no character: `at` moved one byte
    } else if (c < 0x10000) {
      AppendUnitEscape(out, c);
    } else {
      AppendUnitEscape(out, 0xD800 + ((c - 0x10000) >> 10));
      AppendUnitEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string UnescapedText(std::string_view text) {
  std::string out;
  char32_t high = 0;  // a high surrogate, until its low one comes
  const auto endPair = [&] {
    if (high != 0) AppendUtf8(out, 0xFFFD);
    high = 0;
  };
  for (std::size_t at = 0; at < text.size();) {
    const long unit = text[at] == '%' && at + 1 < text.size() && text[at + 1] == 'u' ? HexAt(text, at + 2, 4) : -1;
    if (unit >= 0xDC00 && unit < 0xE000 && high != 0) {
      AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
      high = 0;
      at += 6;
      continue;
    }
    endPair();
    if (unit >= 0) {
      const bool lone = unit >= 0xDC00 && unit < 0xE000;
      if (unit >= 0xD800 && unit < 0xDC00) {
        high = static_cast<char32_t>(unit);
      } else {
        AppendUtf8(out, lone ? 0xFFFD : static_cast<char32_t>(unit));
      }
      at += 6;
      continue;
    }
    const long byte = text[at] == '%' ? HexAt(text, at + 1, 2) : -1;
    if (byte >= 0) {
      out += static_cast<char>(byte);
      at += 3;
    } else {
      out += text[at++];
    }
  }
  endPair();
  return out;
}

int PersistentForm::ReadInteger(const std::string& key) {
  int value = 0;
  if (!TryStrToInt(ini_.Read(settingsLocation_, sectionName_, key, "0"), value)) value = 0;
  return value;
}

void PersistentForm::RefuseWrite() { throw AppError("Unable to write to " + settingsLocation_); }

void PersistentForm::WriteValue(const std::string& key, const std::string& value) {
  if (!ini_.Write(writeLocation_, sectionName_, key, value)) RefuseWrite();
}

void PersistentForm::StartCopy(const std::string& copy) {
  files_->Remove(copy);
  const auto current = files_->ReadAll(settingsLocation_);
  if (!current) return;  // no settings yet: the copy starts empty too
  auto file = files_->Create(copy);
  if (!file || !file->Write(*current) || !file->Close()) RefuseWrite();
}

void PersistentForm::RestoreState(const std::string& settingsFile) {
  storedProperties_.clear();
  RegisterStoredProperties();
  if (settingsLocation_.empty()) settingsLocation_ = settingsFile;
  // A copy left by a save cut short; the settings file itself is whole.
  if (files_ != nullptr) files_->Remove(settingsLocation_ + kSavingSuffix);
  writeLocation_ = settingsLocation_;
  sectionName_ = name_;
  const int top = ReadInteger("Top");
  const int left = ReadInteger("Left");
  const int width = ReadInteger("Width");
  const int height = ReadInteger("Height");
  LoadComponentState();
  if (top != 0) SetTop(top);
  if (left != 0) SetLeft(left);
  if (width != 0) SetWidth(width);
  if (height != 0) SetHeight(height);
}

void PersistentForm::SaveState() {
  if (settingsLocation_.empty()) return;
  sectionName_ = name_;
  if (files_ == nullptr) {
    writeLocation_ = settingsLocation_;
    WriteState();
    return;
  }
  const std::string copy = settingsLocation_ + kSavingSuffix;
  writeLocation_ = copy;
  try {
    StartCopy(copy);
    WriteState();
    // The profile functions leave the copy closed; its bytes reach the disk
    // before it takes the settings file's place.
    auto written = files_->OpenInPlace(copy);
    if (!written || !written->Flush() || !written->Close() || !files_->Replace(settingsLocation_, copy)) {
      RefuseWrite();
    }
  } catch (...) {
    files_->Remove(copy);
    throw;
  }
}

void PersistentForm::WriteState() {
  const Placement geometry = Geometry();
  WriteValue("Top", std::to_string(geometry.top));
  WriteValue("Left", std::to_string(geometry.left));
  WriteValue("Width", std::to_string(geometry.width));
  WriteValue("Height", std::to_string(geometry.height));
  SaveComponentState();
}

void PersistentForm::SaveComponentState() {
  for (const PersistentComponent& component : Components()) {
    for (const PublishedProperty& property : SortedByName(component.properties)) {
      if (!IsPropertyStored(component.className, property.name)) continue;
      const std::string key = component.name + "." + property.name;
      const std::string text = property.text ? property.text() : std::string();
      if (!text.empty() || (property.clearable && !ini_.Read(writeLocation_, sectionName_, key, "").empty())) {
        WriteValue(key, text);
      }
    }
  }
}

void PersistentForm::LoadComponentState() {
  for (const PersistentComponent& component : Components()) {
    for (const PublishedProperty& property : SortedByName(component.properties)) {
      if (!IsPropertyStored(component.className, property.name) || !property.assign) continue;
      const std::string text = ini_.Read(settingsLocation_, sectionName_, component.name + "." + property.name, "");
      if (text.empty()) continue;
      // A value that does not fit its property is dropped; the walk goes on.
      try {
        property.assign(text);
      } catch (...) {
      }
    }
  }
}

}  // namespace solvane
