#include "settings/persistent_form.h"

#include <algorithm>

#include "base/app_error.h"
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
      const std::string text = property.text ? property.text() : std::string();
      if (!text.empty()) WriteValue(component.name + "." + property.name, text);
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
