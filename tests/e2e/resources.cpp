// What the program holds: its GDI and USER objects and its private bytes,
// read from outside so a long run can tell whether they grow.

#include <windows.h>

#include <algorithm>

#include <psapi.h>

#include "driver.h"

namespace driver {
namespace {

// NOTE: Wine's GetGuiResources is a stub (0, ERROR_CALL_NOT_IMPLEMENTED).
// There the GDI objects are counted in the process's own handle table,
// which its PEB points to (GdiSharedHandleTable, as on Windows): an entry
// in use has a type. Stock objects count too; only changes matter.
long gdi_table_count(HANDLE process) {
  static_assert(sizeof(void*) == 8, "the PEB offset and entry layout are those of 64-bit processes");
  constexpr ULONG_PTR kPebGdiHandleTable = 0xF8;
  constexpr size_t kGdiHandles = 0x10000;
  struct BasicInformation {
    LONG_PTR exitStatus;
    ULONG_PTR peb;
    ULONG_PTR affinity, priority, pid, parentPid;
  } basic{};
  struct Entry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    BYTE type, flags;
    unsigned long long user;
  };
  static_assert(sizeof(Entry) == 24, "a GDI handle entry is 24 bytes");
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(process, 0 /* ProcessBasicInformation */, &basic, sizeof basic, nullptr) != 0)
    throw Failure("cannot find the program's PEB");
  ULONG_PTR table = 0;
  std::vector<Entry> entries(kGdiHandles);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(basic.peb + kPebGdiHandleTable), &table, sizeof table,
                         nullptr) ||
      !table ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size() * sizeof(Entry),
                         nullptr))
    throw Failure("cannot read the program's GDI handle table");
  return std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.type != 0; });
}

// The windows of process PID: top-level, message-only and their children.
long window_count(DWORD pid) {
  struct Count {
    DWORD pid;
    long windows;
  } count{pid, 0};
  const WNDENUMPROC child = [](HWND hwnd, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Count*>(lp);
    if (process_of(hwnd) == c->pid) ++c->windows;
    return TRUE;
  };
  const auto tree = [&](HWND top) {
    if (process_of(top) != pid) return;
    ++count.windows;
    EnumChildWindows(top, child, reinterpret_cast<LPARAM>(&count));
  };
  std::vector<HWND> tops = top_windows();
  for (HWND hwnd = nullptr; (hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) != nullptr;)
    tops.push_back(hwnd);
  for (HWND top : tops) tree(top);
  return count.windows;
}

// "GDI USER": the program's GDI and USER objects.
std::string gui_resources() {
  const HWND main = require_main();
  const DWORD pid = process_of(main);
  HANDLE process = open_program(main, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  SetLastError(0);
  long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  try {
    if (gdi == 0 && user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
      gdi = gdi_table_count(process);
      user = window_count(pid);
    }
  } catch (...) {
    CloseHandle(process);
    throw;
  }
  CloseHandle(process);
  if (gdi == 0 || user == 0) throw Failure("the program's GDI or USER objects cannot be counted");
  return std::to_string(gdi) + " " + std::to_string(user);
}

// The program's private bytes.
// NOTE: Wine 8 reports the Linux process's swap as PrivateUsage, 0 with no
// swap. There the committed private pages are added up instead, which is
// what PrivateUsage counts on Windows.
SIZE_T private_bytes() {
  HANDLE process = open_program(require_main(), PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  SIZE_T bytes = 0;
  if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
    bytes = counters.PrivateUsage;
  if (bytes == 0) {
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
      if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
    }
  }
  CloseHandle(process);
  if (bytes == 0) throw Failure("the program's private bytes cannot be read");
  return bytes;
}

}  // namespace

int cmd_private_bytes(const Args&) {
  print_line(std::to_string(private_bytes()));
  return 0;
}

int cmd_gui_resources(const Args&) {
  print_line(gui_resources());
  return 0;
}

}  // namespace driver
