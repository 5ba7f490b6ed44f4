#pragma once
#include <windows.h>
#include <bcrypt.h>

#include "platform/share_crypto.h"

namespace solvane::win32 {

// CNG (bcrypt) for the random bytes, the key and the sealing, DPAPI
// (crypt32) for the secret kept on this machine: both are in Windows 7.
// The two algorithm providers are opened once, with the object; when one
// cannot be opened, what needs it fails. Safe to use from one thread at a
// time.
class Win32ShareCrypto : public ShareCrypto {
 public:
  Win32ShareCrypto();
  ~Win32ShareCrypto() override;
  Win32ShareCrypto(const Win32ShareCrypto&) = delete;
  Win32ShareCrypto& operator=(const Win32ShareCrypto&) = delete;

  std::optional<std::string> Random(std::size_t count) override;
  std::optional<std::string> DeriveKey(std::string_view passphrase, std::string_view salt,
                                       std::uint32_t iterations) override;
  std::optional<std::string> Seal(std::string_view key, std::string_view nonce, std::string_view associated,
                                  std::string_view plain) override;
  std::optional<std::string> Open(std::string_view key, std::string_view nonce, std::string_view associated,
                                  std::string_view sealed) override;
  std::optional<std::string> Protect(std::string_view secret) override;
  std::optional<std::string> Unprotect(std::string_view blob) override;

 private:
  // The AES key object for these key bytes, made once while the same key
  // comes again (a merge opens thousands of entries under one key); null
  // when the system refuses it.
  BCRYPT_KEY_HANDLE KeyFor(std::string_view key);
  void DropKey();

  BCRYPT_ALG_HANDLE hmac_ = nullptr;    // SHA-256 as HMAC, for PBKDF2
  BCRYPT_ALG_HANDLE aesGcm_ = nullptr;  // AES in GCM chaining mode
  std::string keyBytes_;
  BCRYPT_KEY_HANDLE key_ = nullptr;
};

}  // namespace solvane::win32
