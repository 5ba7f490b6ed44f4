// The faces Wine draws text with: the face, and the file, that a font name
// the program asks for comes out in. The tests measure the program's text
// and lines in pixels, so they check this before anything else (lib.sh).

#include <windows.h>

#include <string>
#include <vector>

#include "driver.h"

namespace driver {
namespace {

// NOTE: GetFontRealizationInfo and GetFontFileInfo are gdi32 exports that
// the SDK headers do not declare; Wine has both. The records are as gdi32
// fills them.
struct FontRealizationInfo {
  DWORD size;
  DWORD flags;
  DWORD cacheNumber;
  DWORD instanceId;
  DWORD unknown;
  WORD faceIndex;
  WORD simulations;
};
struct FontFileInfo {
  FILETIME writeTime;
  LARGE_INTEGER size;
  WCHAR path[MAX_PATH];
};

// The file of the font selected into DC, or "?" when gdi32 cannot say.
std::string font_file(HDC dc) {
  using RealizationInfo = BOOL(WINAPI*)(HDC, FontRealizationInfo*);
  using FileInfo = BOOL(WINAPI*)(DWORD, DWORD, FontFileInfo*, SIZE_T, SIZE_T*);
  HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
  const auto realization =
      reinterpret_cast<RealizationInfo>(reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontRealizationInfo")));
  const auto file = reinterpret_cast<FileInfo>(reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontFileInfo")));
  if (!realization || !file) return "?";
  FontRealizationInfo info{};
  info.size = sizeof info;
  FontFileInfo fileInfo{};
  SIZE_T needed = 0;
  if (!realization(dc, &info) || !file(info.instanceId, 0, &fileInfo, sizeof fileInfo, &needed)) return "?";
  std::string path = narrow(fileInfo.path);
  // Wine names an NT path (\??\Z:\usr\share\fonts\...); its drive path reads better.
  if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
  return path;
}

}  // namespace

int cmd_font_face(const Args& args) {
  const int height = static_cast<int>(parse_number(args[2], "height"));
  HDC screen = GetDC(nullptr);
  if (!screen) throw Failure("GetDC(NULL) failed");
  // As the program makes its fonts: a character height in pixels, nothing
  // else asked for.
  HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, args[1].c_str());
  if (!font) {
    ReleaseDC(nullptr, screen);
    throw Failure("CreateFontA failed for " + args[1]);
  }
  HGDIOBJ old = SelectObject(screen, font);
  char face[LF_FACESIZE] = {};
  const int length = GetTextFaceA(screen, LF_FACESIZE, face);
  const std::string file = font_file(screen);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  if (length <= 0) throw Failure("GetTextFaceA failed for " + args[1]);
  print_line(std::string(face) + "\t" + file);
  return 0;
}

int cmd_icon_sizes(const Args& args) {
  HMODULE exe = LoadLibraryExA(args[1].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) throw Failure("cannot load " + args[1] + " as data");
  std::vector<int> sizes;
  // Each RT_ICON resource starts with its image's bitmap header.
  EnumResourceNamesA(
      exe, RT_ICON,
      [](HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found) -> BOOL {
        HRSRC resource = FindResourceA(module, name, type);
        const void* data = resource ? LockResource(LoadResource(module, resource)) : nullptr;
        if (data && SizeofResource(module, resource) >= sizeof(BITMAPINFOHEADER)) {
          reinterpret_cast<std::vector<int>*>(found)->push_back(static_cast<const BITMAPINFOHEADER*>(data)->biWidth);
        }
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&sizes));
  FreeLibrary(exe);
  std::string line;
  for (int size : sizes) line += (line.empty() ? "" : " ") + std::to_string(size);
  print_line(line);
  return 0;
}

}  // namespace driver
