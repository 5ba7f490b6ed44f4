#pragma once
// PersistentForm: a form that restores its geometry and the stored
// properties of its components from the settings file when it is built, and
// writes them back when it is destroyed. Which properties are kept is a
// list of names ("Text", "Checked", ...), open to derived forms.

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_types.h"
#include "platform/file_system.h"
#include "platform/ini_files.h"

namespace solvane {

// One published property of a component, in the kinds that can be kept.
struct PublishedProperty {
  enum class Kind { Integer, Character, Enumeration, Boolean, Float, String };
  std::string name;
  Kind kind;
  std::function<std::string()> text;                    // the text form; "" for kinds never stored
  std::function<void(const std::string& text)> assign;  // from a stored text; may throw
  // An empty text is written over a stored one. Otherwise an empty text
  // writes nothing, and what the file holds comes back at the next start.
  bool clearable = false;
};

struct PersistentComponent {
  std::string name;       // "ComboBox1"
  std::string className;  // "TComboBox"
  std::vector<PublishedProperty> properties;
};

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

class PersistentForm {
 public:
  // With `files`, a save goes to a copy of the settings file that replaces
  // it at the end, so a save cut short leaves the old file whole.
  PersistentForm(IniFiles& ini, std::string name, FileSystem* files = nullptr);
  virtual ~PersistentForm() = default;

  // Construction's restoring steps; `settingsFile` is the program folder +
  // the application title + ".ini". The components must exist by then.
  void RestoreState(const std::string& settingsFile);
  // Destruction's saving steps. Throws AppError "Unable to write to %s" when
  // a write is refused; the rest is then not written (and, with `files`,
  // the file stays as it was).
  void SaveState();

  virtual void SaveComponentState();
  virtual void LoadComponentState();
  virtual bool IsPropertyStored(const std::string& className, const std::string& propertyName) const;
  virtual void RegisterStoredProperties();

  const std::string& SettingsLocation() const { return settingsLocation_; }
  const std::string& name() const { return name_; }

 protected:
  // The owned components in creation order.
  virtual std::vector<PersistentComponent> Components() = 0;
  // The form's place and size on the screen.
  virtual Placement Geometry() const = 0;
  virtual void SetTop(int top) = 0;
  virtual void SetLeft(int left) = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;

  std::set<std::string, NoCaseLess> storedProperties_;

 private:
  void WriteValue(const std::string& key, const std::string& value);
  void WriteState();
  // The copy a save writes to: the settings file's contents so far.
  void StartCopy(const std::string& copy);
  [[noreturn]] void RefuseWrite();
  int ReadInteger(const std::string& key);

  IniFiles& ini_;
  std::string name_;
  FileSystem* files_;
  std::string settingsLocation_;
  std::string writeLocation_;  // the settings file, or the copy being saved
  std::string sectionName_;
};

// Text forms of property values.
std::string BooleanText(bool value);
// Exactly "TRUE" or "FALSE"; anything else leaves the value unchanged.
void AssignBoolean(bool& value, const std::string& text);
// A whole decimal number, else unchanged.
void AssignInteger(int& value, const std::string& text);
// Any UTF-8 text (a path) as a value the profile functions keep exactly:
// printable ASCII, with '%', '"', control characters and spaces at either
// end as %XX, and every other character as %uXXXX (UTF-16, as JavaScript's
// escape() writes it). Bytes that are no UTF-8 are kept as %XX too.
std::string EscapedText(std::string_view text);
// The text back. A '%' that starts no escape stands for itself.
std::string UnescapedText(std::string_view text);

}  // namespace solvane
