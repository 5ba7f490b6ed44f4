// The shared folder as a sync program changes it: the frames of a machine's
// file (so a test can cut it between entries, or in the middle of one), and
// the time from a file's arrival to its clip on top of the list.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "driver.h"

namespace driver {

namespace {

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return value;
}

// As a sync program puts a file in place: written beside it, then renamed
// over it in one step.
void arrive(const std::string& bytes, const std::string& path) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw Failure("cannot write " + part);
  }
  // A sync program retries a replace that a reader holds up for a moment.
  // Wine refuses a rename over a file that the program has open for reading
  // at that instant, though it opens it sharing deletion.
  for (int tries = 1; !MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING); ++tries) {
    const DWORD error = GetLastError();
    if (tries >= 2000 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
      throw Failure("cannot rename " + part + " (error " + std::to_string(error) + ")");
    }
    Sleep(1);
  }
}

}  // namespace

// Each frame: "SCF1", kind, 32-bit length, body, 32-bit checksum.
int cmd_share_frames(const Args& args) {
  const std::string bytes = read_bytes(args[1]);
  for (std::size_t at = 0; at + 13 <= bytes.size() && bytes.compare(at, 4, "SCF1") == 0;) {
    const std::size_t end = at + 13 + le32(bytes, at + 5);
    if (end > bytes.size()) break;
    std::printf("%zu\n", end);
    at = end;
  }
  return 0;
}

int cmd_time_arrival(const Args& args) {
  const std::string bytes = read_bytes(args[1]);
  const std::string want = decode_escapes(args[3]);
  const DWORD timeout = parse_number(args[4], "timeout");
  const HWND list = require_list(require_main());
  const double start = now_ms();
  arrive(bytes, args[2]);
  std::string last = "(no clip)";
  wait_or_fail(
      timeout,
      [&] {
        if (list_count(list) == 0) return false;
        last = title_of(list_item(list, 0), 0);
        return last == want;
      },
      [&] { return "line 0 shows \"" + encode_escapes(last) + "\" after " + args[4] + " ms"; });
  std::printf("%.1f\n", now_ms() - start);
  return 0;
}

}  // namespace driver
