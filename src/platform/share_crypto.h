#pragma once
// The cryptography the shared history needs, as the operating system ships
// it: random bytes, a key derived from a passphrase, authenticated
// encryption of each entry, and a secret kept under the user's own
// protection on this machine.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane {

inline constexpr std::size_t kShareKeyBytes = 32;    // AES-256
inline constexpr std::size_t kShareNonceBytes = 12;  // GCM's 96-bit nonce
inline constexpr std::size_t kShareTagBytes = 16;    // GCM's full tag
inline constexpr std::uint32_t kShareKeyIterations = 600000;

class ShareCrypto {
 public:
  virtual ~ShareCrypto() = default;
  // `count` bytes from the system's generator; nullopt when it fails.
  virtual std::optional<std::string> Random(std::size_t count) = 0;
  // PBKDF2 with HMAC-SHA256: kShareKeyBytes bytes; nullopt on failure.
  virtual std::optional<std::string> DeriveKey(std::string_view passphrase, std::string_view salt,
                                               std::uint32_t iterations) = 0;
  // AES-256-GCM: the ciphertext followed by its kShareTagBytes tag.
  virtual std::optional<std::string> Seal(std::string_view key, std::string_view nonce, std::string_view associated,
                                          std::string_view plain) = 0;
  // The plain text of what Seal made; nullopt when the tag does not
  // authenticate the bytes, the associated data or the key.
  virtual std::optional<std::string> Open(std::string_view key, std::string_view nonce, std::string_view associated,
                                          std::string_view sealed) = 0;
  // A secret wrapped so that only this user on this machine unwraps it;
  // nullopt on failure, and for a blob that is not this user's.
  virtual std::optional<std::string> Protect(std::string_view secret) = 0;
  virtual std::optional<std::string> Unprotect(std::string_view blob) = 0;
};

}  // namespace solvane
