#include "core/share_log.h"

#include <array>
#include <utility>

namespace solvane {

namespace {

constexpr std::string_view kFrameMagic = "SCF1";
constexpr char kHeaderFrame = 'H';
constexpr char kEntryFrame = 'E';
constexpr std::size_t kFrameOverhead = 4 + 1 + 4 + 4;
// No event comes near this; a length beyond it is damage, not a clip.
constexpr std::uint32_t kMaxBody = 64u << 20;
constexpr std::string_view kSaltFirstLine = "Solvane Clips shared folder 1";
constexpr std::string_view kCheckText = "Solvane Clips key check";

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLe(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint64_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
  return value;
}

std::string Frame(char kind, std::string_view body) {
  std::string frame(kFrameMagic);
  frame.push_back(kind);
  PutLe(frame, body.size(), 4);
  frame.append(body);
  PutLe(frame, Crc32(std::string_view(frame).substr(kFrameMagic.size())), 4);
  return frame;
}

// Binds an entry to its machine and place: moved to another file or place,
// it no longer authenticates.
std::string Associated(std::string_view machine, std::uint64_t position) {
  std::string associated(machine);
  associated.push_back('\0');
  PutLe(associated, position, 8);
  return associated;
}

}  // namespace

// Eight bytes a step (slicing-by-8): a long history's file is read whole at
// every change, and a byte at a time its checksums took longer than the read.
std::uint32_t Crc32(std::string_view bytes) {
  using Table = std::array<std::array<std::uint32_t, 256>, 8>;
  static const Table tables = [] {
    Table t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
      for (std::size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    }
    return t;
  }();
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
  std::uint32_t crc = 0xFFFFFFFFu;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    crc ^= std::uint32_t{byte(at)} | std::uint32_t{byte(at + 1)} << 8 | std::uint32_t{byte(at + 2)} << 16 |
           std::uint32_t{byte(at + 3)} << 24;
    crc = tables[7][crc & 0xFF] ^ tables[6][(crc >> 8) & 0xFF] ^ tables[5][(crc >> 16) & 0xFF] ^ tables[4][crc >> 24] ^
          tables[3][byte(at + 4)] ^ tables[2][byte(at + 5)] ^ tables[1][byte(at + 6)] ^ tables[0][byte(at + 7)];
  }
  for (; at < bytes.size(); ++at) crc = tables[0][(crc ^ byte(at)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

ShareLogRead ReadShareLog(std::string_view bytes) {
  ShareLogRead read;
  std::size_t at = 0;
  bool stepping = false;  // inside damage: the next good frame ends it
  while (at < bytes.size()) {
    const bool fits = bytes.size() - at >= kFrameOverhead;
    const bool framed = fits && bytes.substr(at, kFrameMagic.size()) == kFrameMagic;
    const std::uint64_t length = framed ? GetLe(bytes, at + 5, 4) : 0;
    const bool complete = framed && length <= kMaxBody && bytes.size() - at >= kFrameOverhead + length;
    if (!complete || GetLe(bytes, at + 9 + length, 4) != Crc32(bytes.substr(at + 4, 5 + length))) {
      // A frame cut short at the end is one a sync is still writing; one
      // followed by more frames is damage to step over.
      const std::size_t next = bytes.find(kFrameMagic, at + 1);
      if (next == std::string_view::npos) break;
      if (!stepping) ++read.damaged;
      stepping = true;
      at = next;
      continue;
    }
    stepping = false;
    const char kind = bytes[at + 4];
    const std::string_view body = bytes.substr(at + 9, length);
    if (kind == kHeaderFrame && read.machine.empty() && !body.empty()) {
      read.machine = std::string(body);
    } else if (kind == kEntryFrame && body.size() >= 8 + kShareNonceBytes + kShareTagBytes) {
      read.entries.push_back({GetLe(body, 0, 8), body.substr(8, kShareNonceBytes), body.substr(8 + kShareNonceBytes)});
    } else {
      ++read.damaged;
    }
    at += kFrameOverhead + length;
    read.wholeBytes = at;
  }
  return read;
}

std::string ShareLogHeader(std::string_view machine) { return Frame(kHeaderFrame, machine); }

std::optional<std::string> SealShareEvent(ShareCrypto& crypto, std::string_view key, std::string_view machine,
                                          std::uint64_t position, const ShareEvent& event) {
  auto nonce = crypto.Random(kShareNonceBytes);
  if (!nonce || nonce->size() != kShareNonceBytes) return std::nullopt;
  std::string plain;
  plain.push_back(static_cast<char>(event.kind));
  PutLe(plain, static_cast<std::uint64_t>(event.time), 8);
  plain.append(event.text);
  auto sealed = crypto.Seal(key, *nonce, Associated(machine, position), plain);
  if (!sealed) return std::nullopt;
  std::string body;
  PutLe(body, position, 8);
  body.append(*nonce);
  body.append(*sealed);
  return Frame(kEntryFrame, body);
}

std::optional<ShareEvent> OpenShareEntry(ShareCrypto& crypto, std::string_view key, std::string_view machine,
                                         const SealedEntry& entry) {
  auto plain = crypto.Open(key, entry.nonce, Associated(machine, entry.position), entry.sealed);
  if (!plain || plain->size() < 9) return std::nullopt;
  const auto kind = static_cast<unsigned char>((*plain)[0]);
  if (kind < 1 || kind > 6) return std::nullopt;
  ShareEvent event;
  event.kind = static_cast<ShareEventKind>(kind);
  event.time = static_cast<std::int64_t>(GetLe(*plain, 1, 8));
  plain->erase(0, 9);  // the text in place: no copy of every entry's text
  event.text = std::move(*plain);
  event.machine = std::string(machine);
  event.position = entry.position;
  return event;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char b : bytes) {
    hex.push_back(kDigits[static_cast<unsigned char>(b) >> 4]);
    hex.push_back(kDigits[static_cast<unsigned char>(b) & 15]);
  }
  return hex;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::string ShareSaltBytes(const ShareSalt& salt) {
  return std::string(kSaltFirstLine) + "\r\nsalt " + ToHex(salt.salt) + "\r\ncheck " + ToHex(salt.checkNonce) + " " +
         ToHex(salt.checkSealed) + "\r\n";
}

std::vector<std::string_view> LinesOf(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return lines;
}

std::optional<ShareSalt> ParseShareSalt(std::string_view bytes) {
  const std::vector<std::string_view> lines = LinesOf(bytes);
  if (lines.size() < 3 || lines[0] != kSaltFirstLine || !lines[1].starts_with("salt ") ||
      !lines[2].starts_with("check ")) {
    return std::nullopt;
  }
  const std::string_view check = lines[2].substr(6);
  const std::size_t space = check.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  auto salt = FromHex(lines[1].substr(5));
  auto nonce = FromHex(check.substr(0, space));
  auto sealed = FromHex(check.substr(space + 1));
  if (!salt || salt->empty() || !nonce || nonce->size() != kShareNonceBytes || !sealed) return std::nullopt;
  return ShareSalt{*salt, *nonce, *sealed};
}

bool KeyFitsSalt(ShareCrypto& crypto, std::string_view key, const ShareSalt& salt) {
  auto plain = crypto.Open(key, salt.checkNonce, salt.salt, salt.checkSealed);
  return plain && *plain == kCheckText;
}

std::optional<ShareSalt> SealSaltCheck(ShareCrypto& crypto, std::string_view key, std::string salt) {
  auto nonce = crypto.Random(kShareNonceBytes);
  if (!nonce || nonce->size() != kShareNonceBytes) return std::nullopt;
  auto sealed = crypto.Seal(key, *nonce, salt, kCheckText);
  if (!sealed) return std::nullopt;
  return ShareSalt{std::move(salt), *nonce, *sealed};
}

}  // namespace solvane
