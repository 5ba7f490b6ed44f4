#pragma once
#include <windows.h>

#include <vector>

#include "platform/text_metrics.h"
#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// Measures in "MS Sans Serif" 8 point (height -11 at 96 DPI), the clip
// list's font, at the clip window's DPI.
class Win32TextMetrics : public TextMetrics {
 public:
  explicit Win32TextMetrics(int dpi);
  ~Win32TextMetrics() override;
  Win32TextMetrics(const Win32TextMetrics&) = delete;
  Win32TextMetrics& operator=(const Win32TextMetrics&) = delete;
  int TextWidth(std::string_view text) override;
  int Utf8TextWidth(std::string_view utf8) override;
  HFONT font() const { return font_.get(); }
  // The font at another DPI from now on. The old one is handed back, to be
  // deleted once no window uses it any more.
  OwnedFont SetDpi(int dpi);

 private:
  void Measure();
  int MeasuredWidth(std::string_view text) const;

  // Destroyed in reverse: the font is deselected, then deleted, then the DC.
  OwnedMemoryDc dc_;
  OwnedFont font_;
  SelectedObject fontInDc_;
  // Each byte's advance, when adding them up gives what the system
  // measures; empty otherwise.
  std::vector<int> advances_;
};

}  // namespace solvane::win32
