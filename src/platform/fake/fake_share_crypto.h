#pragma once
// A stand-in for the system's cryptography in tests: it keeps the shape of
// the real thing (a wrong key, nonce, associated data or any changed byte
// fails to open) but offers no secrecy at all. Never for real files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/folder_watch.h"
#include "platform/share_crypto.h"

namespace solvane::fake {

class FakeShareCrypto : public ShareCrypto {
 public:
  std::optional<std::string> Random(std::size_t count) override;
  std::optional<std::string> DeriveKey(std::string_view passphrase, std::string_view salt,
                                       std::uint32_t iterations) override;
  std::optional<std::string> Seal(std::string_view key, std::string_view nonce, std::string_view associated,
                                  std::string_view plain) override;
  std::optional<std::string> Open(std::string_view key, std::string_view nonce, std::string_view associated,
                                  std::string_view sealed) override;
  std::optional<std::string> Protect(std::string_view secret) override;
  std::optional<std::string> Unprotect(std::string_view blob) override;

  // Told apart per machine: each draws its own random bytes.
  std::uint64_t stream = 0;
  bool failRandom = false;
  bool failProtect = false;
  int derivations = 0;
  std::uint32_t lastIterations = 0;

 private:
  std::uint64_t counter_ = 0;
};

// Remembers what is watched; tests raise the changes themselves.
class FakeFolderWatch : public FolderWatch {
 public:
  bool Watch(const std::string& folder) override {
    watched = folder;
    return !fails;
  }
  std::string watched;
  bool fails = false;
};

}  // namespace solvane::fake
