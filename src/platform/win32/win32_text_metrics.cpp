#include "platform/win32/win32_text_metrics.h"

#include <string>

#include "platform/components/window_layout.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

Win32TextMetrics::Win32TextMetrics(int dpi) {
  dc_.reset(CreateCompatibleDC(nullptr));
  SetDpi(dpi);
}

OwnedFont Win32TextMetrics::SetDpi(int dpi) {
  OwnedFont old = std::move(font_);
  fontInDc_ = SelectedObject();  // the old font out of the DC before the new one goes in
  font_ = MakeFont("MS Sans Serif", LayOutClipWindow(dpi).fontHeight);
  fontInDc_ = SelectedObject(dc_, font_);
  Measure();
  return old;
}

void Win32TextMetrics::Measure() {
  advances_.clear();
  // A loaded history measures 20,000 titles, one GDI call each under the
  // plain way. Adding up the characters' advances is the same number for a
  // single-byte code page and a font without kerning or overhang; checked
  // here on every character, else the plain way stays.
  CPINFO codePage{};
  TEXTMETRICA metrics{};
  std::vector<INT> advances(256);
  if (GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1 && GetTextMetricsA(dc_, &metrics) &&
      metrics.tmOverhang == 0 && GetCharWidth32A(dc_, 0, 255, advances.data())) {
    std::string all;
    int sum = 0;
    for (int c = 32; c < 256; ++c) {
      all += static_cast<char>(c);
      sum += advances[static_cast<std::size_t>(c)];
    }
    if (MeasuredWidth(all) == sum) advances_.assign(advances.begin(), advances.end());
  }
}

Win32TextMetrics::~Win32TextMetrics() = default;

int Win32TextMetrics::TextWidth(std::string_view text) {
  if (advances_.empty()) return MeasuredWidth(text);
  int width = 0;
  for (const char c : text) width += advances_[static_cast<unsigned char>(c)];
  return width;
}

int Win32TextMetrics::Utf8TextWidth(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  SIZE size{};
  if (wide.empty() || !GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size)) return 0;
  return size.cx;
}

int Win32TextMetrics::MeasuredWidth(std::string_view text) const {
  if (text.empty()) return 0;
  SIZE size{};
  if (!GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

}  // namespace solvane::win32
