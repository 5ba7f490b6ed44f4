#pragma once
// Owners of Win32 handles. Each frees its handle exactly once, when it goes
// out of scope or is reset; none can be copied, all can be moved. A member
// of a class is destroyed in reverse declaration order, so declare what a
// handle depends on (a font, a brush) before the window that uses it.

#include <windows.h>

#include <cstddef>
#include <new>
#include <utility>

namespace solvane::win32 {

// Memory straight from the system, given back whole when freed: the heap
// keeps freed blocks of a few hundred KB for itself. Throws std::bad_alloc
// when the system has none.
class OwnedPages {
 public:
  explicit OwnedPages(std::size_t size)
      : data_(static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))), size_(size) {
    if (data_ == nullptr) throw std::bad_alloc();
  }
  ~OwnedPages() {
    if (data_ != nullptr) VirtualFree(data_, 0, MEM_RELEASE);
  }
  OwnedPages(const OwnedPages&) = delete;
  OwnedPages& operator=(const OwnedPages&) = delete;
  OwnedPages(OwnedPages&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  OwnedPages& operator=(OwnedPages&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  char* data_;
  std::size_t size_;
};

template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  operator Handle() const { return handle_; }
  // Gives the handle up; the caller (or whoever it is passed to) frees it.
  Handle release() { return std::exchange(handle_, nullptr); }
  // Resetting to the handle already held keeps it.
  void reset(Handle handle = nullptr) {
    const Handle old = std::exchange(handle_, handle);
    if (old != nullptr && old != handle) Free(old);
  }

 private:
  Handle handle_ = nullptr;
};

namespace owned_detail {
inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }
template <typename T>
inline BOOL WINAPI DeleteTyped(T object) {
  return DeleteGdiObject(object);
}
inline BOOL WINAPI FreeGlobal(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }
// A window that something else destroyed first (its parent, its owner, a
// WM_CLOSE that destroyed it on purpose) is not destroyed again.
inline BOOL WINAPI DestroyLiveWindow(HWND window) { return IsWindow(window) && DestroyWindow(window); }
}  // namespace owned_detail

// GDI objects: DeleteObject.
using OwnedBrush = Owned<HBRUSH, &owned_detail::DeleteTyped<HBRUSH>>;
using OwnedFont = Owned<HFONT, &owned_detail::DeleteTyped<HFONT>>;
using OwnedPen = Owned<HPEN, &owned_detail::DeleteTyped<HPEN>>;
using OwnedBitmap = Owned<HBITMAP, &owned_detail::DeleteTyped<HBITMAP>>;
// A memory DC from CreateCompatibleDC: DeleteDC.
using OwnedMemoryDc = Owned<HDC, &DeleteDC>;
using OwnedWindow = Owned<HWND, &owned_detail::DestroyLiveWindow>;
using OwnedMenu = Owned<HMENU, &DestroyMenu>;
using OwnedIcon = Owned<HICON, &DestroyIcon>;
using OwnedHook = Owned<HHOOK, &UnhookWindowsHookEx>;
// Memory from GlobalAlloc: GlobalFree.
using OwnedGlobal = Owned<HGLOBAL, &owned_detail::FreeGlobal>;

// A window's DC (or the screen's, for nullptr) from GetDC: ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;

  HDC get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC; the one it replaced is selected back when
// this goes. It does not own the object: declare the object's owner before
// this, so the object is deselected before it is deleted.
class SelectedObject {
 public:
  SelectedObject() = default;
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { Restore(); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&& other) noexcept {
    if (this != &other) {
      Restore();
      dc_ = std::exchange(other.dc_, nullptr);
      old_ = std::exchange(other.old_, nullptr);
    }
    return *this;
  }

 private:
  void Restore() {
    if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
    dc_ = nullptr;
    old_ = nullptr;
  }
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace solvane::win32
