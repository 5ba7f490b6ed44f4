#include "platform/win32/win32_share_crypto.h"

#include <wincrypt.h>

#include <limits>

namespace solvane::win32 {

namespace {

// CNG's sizes are ULONGs, DPAPI's DWORDs: larger inputs fail rather than
// being cut short.
bool Fits(std::size_t size) { return size <= std::numeric_limits<ULONG>::max(); }

// CNG takes its input buffers as non-const pointers but does not write
// them. An empty buffer still gets a real address: a null output buffer
// asks BCryptEncrypt and BCryptDecrypt only for the size, so an empty plain
// text would get no tag computed or checked.
UCHAR* In(std::string_view bytes) {
  static UCHAR none = 0;
  return bytes.empty() ? &none : reinterpret_cast<UCHAR*>(const_cast<char*>(bytes.data()));
}
UCHAR* Out(char* bytes, std::size_t size) {
  static UCHAR none = 0;
  return size == 0 ? &none : reinterpret_cast<UCHAR*>(bytes);
}

BCRYPT_ALG_HANDLE OpenAlgorithm(const wchar_t* name, ULONG flags) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, flags))) return nullptr;
  return algorithm;
}

// The GCM parameters of one call; the tag is written by Seal and read by
// Open. No associated data is passed as a null pointer, as CNG documents it.
BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO GcmInfo(std::string_view nonce, std::string_view associated, UCHAR* tag) {
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
  BCRYPT_INIT_AUTH_MODE_INFO(info);
  info.pbNonce = In(nonce);
  info.cbNonce = static_cast<ULONG>(nonce.size());
  info.pbAuthData = associated.empty() ? nullptr : In(associated);
  info.cbAuthData = static_cast<ULONG>(associated.size());
  info.pbTag = tag;
  info.cbTag = static_cast<ULONG>(kShareTagBytes);
  return info;
}

bool SealArgumentsFit(std::string_view key, std::string_view nonce, std::string_view associated, std::size_t text) {
  return key.size() == kShareKeyBytes && nonce.size() == kShareNonceBytes && Fits(associated.size()) &&
         Fits(text + kShareTagBytes);
}

}  // namespace

Win32ShareCrypto::Win32ShareCrypto()
    : hmac_(OpenAlgorithm(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG)),
      aesGcm_(OpenAlgorithm(BCRYPT_AES_ALGORITHM, 0)) {
  // Keys made from this handle take its chaining mode.
  if (aesGcm_ != nullptr &&
      !BCRYPT_SUCCESS(BCryptSetProperty(aesGcm_, BCRYPT_CHAINING_MODE,
                                        reinterpret_cast<UCHAR*>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM)),
                                        sizeof BCRYPT_CHAIN_MODE_GCM, 0))) {
    BCryptCloseAlgorithmProvider(aesGcm_, 0);
    aesGcm_ = nullptr;
  }
}

Win32ShareCrypto::~Win32ShareCrypto() {
  DropKey();
  if (hmac_ != nullptr) BCryptCloseAlgorithmProvider(hmac_, 0);
  if (aesGcm_ != nullptr) BCryptCloseAlgorithmProvider(aesGcm_, 0);
}

// The key object's memory is CNG's own (no buffer passed), which Windows 7
// allows. Each call passes its own nonce and no chaining flag, so one key
// object serves every entry.
BCRYPT_KEY_HANDLE Win32ShareCrypto::KeyFor(std::string_view key) {
  if (key_ != nullptr && key == keyBytes_) return key_;
  DropKey();
  if (!BCRYPT_SUCCESS(
          BCryptGenerateSymmetricKey(aesGcm_, &key_, nullptr, 0, In(key), static_cast<ULONG>(key.size()), 0))) {
    key_ = nullptr;
    return nullptr;
  }
  keyBytes_ = std::string(key);
  return key_;
}

void Win32ShareCrypto::DropKey() {
  if (key_ != nullptr) BCryptDestroyKey(key_);
  key_ = nullptr;
  SecureZeroMemory(keyBytes_.data(), keyBytes_.size());
  keyBytes_.clear();
}

std::optional<std::string> Win32ShareCrypto::Random(std::size_t count) {
  if (!Fits(count)) return std::nullopt;
  std::string bytes(count, '\0');
  if (count != 0 && !BCRYPT_SUCCESS(BCryptGenRandom(nullptr, Out(bytes.data(), count), static_cast<ULONG>(count),
                                                    BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return std::nullopt;
  return bytes;
}

std::optional<std::string> Win32ShareCrypto::DeriveKey(std::string_view passphrase, std::string_view salt,
                                                       std::uint32_t iterations) {
  if (hmac_ == nullptr || !Fits(passphrase.size()) || !Fits(salt.size())) return std::nullopt;
  std::string key(kShareKeyBytes, '\0');
  if (!BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac_, In(passphrase), static_cast<ULONG>(passphrase.size()), In(salt),
                                            static_cast<ULONG>(salt.size()), iterations, Out(key.data(), key.size()),
                                            static_cast<ULONG>(key.size()), 0)))
    return std::nullopt;
  return key;
}

std::optional<std::string> Win32ShareCrypto::Seal(std::string_view key, std::string_view nonce,
                                                  std::string_view associated, std::string_view plain) {
  if (aesGcm_ == nullptr || !SealArgumentsFit(key, nonce, associated, plain.size())) return std::nullopt;
  const BCRYPT_KEY_HANDLE aes = KeyFor(key);
  if (aes == nullptr) return std::nullopt;
  std::string sealed(plain.size() + kShareTagBytes, '\0');
  auto* tag = reinterpret_cast<UCHAR*>(sealed.data() + plain.size());
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info = GcmInfo(nonce, associated, tag);
  ULONG written = 0;
  if (!BCRYPT_SUCCESS(BCryptEncrypt(aes, In(plain), static_cast<ULONG>(plain.size()), &info, nullptr, 0,
                                    Out(sealed.data(), plain.size()), static_cast<ULONG>(plain.size()), &written, 0)) ||
      written != plain.size())
    return std::nullopt;
  return sealed;
}

std::optional<std::string> Win32ShareCrypto::Open(std::string_view key, std::string_view nonce,
                                                  std::string_view associated, std::string_view sealed) {
  if (aesGcm_ == nullptr || sealed.size() < kShareTagBytes) return std::nullopt;
  const std::string_view text = sealed.substr(0, sealed.size() - kShareTagBytes);
  if (!SealArgumentsFit(key, nonce, associated, text.size())) return std::nullopt;
  const BCRYPT_KEY_HANDLE aes = KeyFor(key);
  if (aes == nullptr) return std::nullopt;
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info = GcmInfo(nonce, associated, In(sealed.substr(text.size())));
  std::string plain(text.size(), '\0');
  ULONG written = 0;
  // A tag that does not match is STATUS_AUTH_TAG_MISMATCH; whatever was
  // decrypted before the check is wiped, never handed out.
  if (!BCRYPT_SUCCESS(BCryptDecrypt(aes, In(text), static_cast<ULONG>(text.size()), &info, nullptr, 0,
                                    Out(plain.data(), plain.size()), static_cast<ULONG>(plain.size()), &written, 0)) ||
      written != plain.size()) {
    SecureZeroMemory(plain.data(), plain.size());
    return std::nullopt;
  }
  return plain;
}

std::optional<std::string> Win32ShareCrypto::Protect(std::string_view secret) {
  if (!Fits(secret.size())) return std::nullopt;
  DATA_BLOB in{static_cast<DWORD>(secret.size()), In(secret)};
  DATA_BLOB out{};
  if (!CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return std::nullopt;
  std::string blob(reinterpret_cast<const char*>(out.pbData), out.cbData);
  LocalFree(out.pbData);
  return blob;
}

std::optional<std::string> Win32ShareCrypto::Unprotect(std::string_view blob) {
  if (blob.empty() || !Fits(blob.size())) return std::nullopt;
  DATA_BLOB in{static_cast<DWORD>(blob.size()), In(blob)};
  DATA_BLOB out{};
  if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
    return std::nullopt;
  std::string secret(reinterpret_cast<const char*>(out.pbData), out.cbData);
  SecureZeroMemory(out.pbData, out.cbData);  // the system's copy of the secret
  LocalFree(out.pbData);
  return secret;
}

}  // namespace solvane::win32
