#include "platform/win32/win32_folder_watch.h"

#include "platform/win32/win32_text.h"

namespace solvane::win32 {

namespace {

constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                          FILE_NOTIFY_CHANGE_CREATION;

}  // namespace

bool Win32FolderWatch::Watch(const std::string& folder) {
  Stop();
  if (folder.empty()) return true;
  HANDLE handle =
      CreateFileW(Widen(folder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  folder_.reset(handle);
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  started_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  watching_ = false;
  if (stop_.get() != nullptr && started_.get() != nullptr)
    thread_.reset(CreateThread(nullptr, 0, &Win32FolderWatch::Run, this, 0, nullptr));
  if (thread_.get() == nullptr) {
    Stop();
    return false;
  }
  // A folder the system cannot report changes of (some network shares)
  // fails at the first read: that is a folder that cannot be watched.
  WaitForSingleObject(started_.get(), INFINITE);
  if (!watching_) {
    Stop();
    return false;
  }
  return true;
}

void Win32FolderWatch::Stop() {
  if (thread_.get() != nullptr) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  thread_.reset();
  folder_.reset();
  stop_.reset();
  started_.reset();
  watching_ = false;
}

DWORD WINAPI Win32FolderWatch::Run(void* self) {
  static_cast<Win32FolderWatch*>(self)->Loop();
  return 0;
}

void Win32FolderWatch::Loop() {
  OwnedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  // The names of the changes are not read: any change means "check the
  // folder", and an overflowing buffer (0 bytes back) means it as well.
  alignas(DWORD) BYTE changes[4096];
  OVERLAPPED overlapped{};
  overlapped.hEvent = done.get();
  const auto read = [&] {
    ResetEvent(done.get());
    return done.get() != nullptr && ReadDirectoryChangesW(folder_.get(), changes, sizeof changes, FALSE, kFilter,
                                                          nullptr, &overlapped, nullptr) != FALSE;
  };
  watching_ = read();
  SetEvent(started_.get());
  if (!watching_) return;
  const HANDLE events[] = {stop_.get(), done.get()};
  for (;;) {
    DWORD bytes = 0;
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
    if (!GetOverlappedResult(folder_.get(), &overlapped, &bytes, FALSE)) return;  // the folder went away
    PostMessageW(window_, message_, 0, 0);
    // Changes that come meanwhile wait in the handle's own buffer and end
    // the next read at once: a file written in many pieces is one post
    // per pause, not one per piece.
    if (WaitForSingleObject(stop_.get(), kSettleMs) == WAIT_OBJECT_0) return;
    if (!read()) return;
  }
  // The read still pending writes into `changes` and `overlapped`, both on
  // this stack: cancel it and wait until the system is done with them.
  DWORD bytes = 0;
  CancelIo(folder_.get());
  GetOverlappedResult(folder_.get(), &overlapped, &bytes, TRUE);
}

}  // namespace solvane::win32
