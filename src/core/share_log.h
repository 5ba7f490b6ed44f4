#pragma once
// The shared history's files. Each machine appends to a file of its own in
// the shared folder and never rewrites a byte of it, so that a file-sync
// program has only ever one writer per file and nothing to make conflict.
//
// A file is a run of frames: "SCF1", a kind byte, the body's length (32
// bits, little-endian), the body, and a CRC-32 of kind, length and body.
// The first frame names the machine; every later one is an entry: its
// position in the file (64 bits), a nonce and the sealed event. A reader
// takes every whole frame whose checksum holds and steps over the rest, so a
// file cut short by a sync in progress, or damaged in the middle, gives
// every whole entry it still holds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/share_crypto.h"

namespace solvane {

// What one entry says. Clips are known by their text (UTF-8): the same text
// copied on two machines is one clip.
enum class ShareEventKind : std::uint8_t {
  kCapture = 1,  // copied
  kUse = 2,      // pasted: it moves to the top
  kRemove = 3,
  kKeep = 4,
  kUnkeep = 5,
  kClear = 6,  // Clear Clips: every clip not kept at that moment (no text)
};

struct ShareEvent {
  ShareEventKind kind = ShareEventKind::kCapture;
  std::int64_t time = 0;  // milliseconds since 1970, UTC
  std::string text;
  // Where it was written: which machine, its entry's place in that file.
  std::string machine;
  std::uint64_t position = 0;
};

// An entry as its file holds it, not yet opened: parts of the bytes read,
// which must outlive it.
struct SealedEntry {
  std::uint64_t position = 0;
  std::string_view nonce;
  std::string_view sealed;
};

struct ShareLogRead {
  std::string machine;  // empty when the file has no whole first frame
  std::vector<SealedEntry> entries;
  int damaged = 0;  // frames stepped over: bad checksum, unknown kind
  // Bytes up to the end of the last whole frame; a sync in progress may
  // still be writing what lies after.
  std::size_t wholeBytes = 0;
};

ShareLogRead ReadShareLog(std::string_view bytes);

// The first frame of a machine's file.
std::string ShareLogHeader(std::string_view machine);

// One event, sealed under the key with a fresh nonce, framed at its
// position; nullopt when the system's random source or cipher fails.
std::optional<std::string> SealShareEvent(ShareCrypto& crypto, std::string_view key, std::string_view machine,
                                          std::uint64_t position, const ShareEvent& event);
// The event an entry holds; nullopt when it does not authenticate under
// the key for that machine and position, or is not an event.
std::optional<ShareEvent> OpenShareEntry(ShareCrypto& crypto, std::string_view key, std::string_view machine,
                                         const SealedEntry& entry);

// The shared folder's salt file: the salt every machine derives its key
// with, and a check value that tells a wrong passphrase from damage.
inline constexpr char kShareSaltFileName[] = "Shared.salt";
struct ShareSalt {
  std::string salt;
  std::string checkNonce;
  std::string checkSealed;
};
std::string ShareSaltBytes(const ShareSalt& salt);
std::optional<ShareSalt> ParseShareSalt(std::string_view bytes);
// Whether a key is the one the salt's check was sealed with.
bool KeyFitsSalt(ShareCrypto& crypto, std::string_view key, const ShareSalt& salt);
// The salt with a fresh check sealed under the key derived from it.
std::optional<ShareSalt> SealSaltCheck(ShareCrypto& crypto, std::string_view key, std::string salt);

std::uint32_t Crc32(std::string_view bytes);
// The lines of a small text file, ended by CR LF or LF; a final break
// starts none.
std::vector<std::string_view> LinesOf(std::string_view bytes);

std::string ToHex(std::string_view bytes);
std::optional<std::string> FromHex(std::string_view hex);

}  // namespace solvane
