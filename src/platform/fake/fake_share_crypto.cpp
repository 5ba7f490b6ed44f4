#include "platform/fake/fake_share_crypto.h"

#include <initializer_list>

namespace solvane::fake {

namespace {

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// A hash of the parts, each told apart from the next by its length.
std::uint64_t Hash(std::uint64_t seed, std::initializer_list<std::string_view> parts) {
  std::uint64_t h = Mix(seed);
  for (const std::string_view part : parts) {
    h = Mix(h ^ part.size());
    for (const char c : part) h = Mix(h ^ static_cast<unsigned char>(c));
  }
  return h;
}

std::string Bytes(std::uint64_t seed, std::initializer_list<std::string_view> parts, std::size_t count) {
  std::string out;
  for (std::uint64_t block = 0; out.size() < count; ++block) {
    std::uint64_t h = Hash(seed + block * 0x100000001ull, parts);
    for (int i = 0; i < 8 && out.size() < count; ++i, h >>= 8) out.push_back(static_cast<char>(h & 0xFF));
  }
  return out;
}

std::string Xor(std::string_view text, std::string_view stream) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ stream[i]);
  return out;
}

constexpr std::string_view kProtected = "protected:";

}  // namespace

std::optional<std::string> FakeShareCrypto::Random(std::size_t count) {
  if (failRandom) return std::nullopt;
  return Bytes(++counter_ + (stream << 32), {"random"}, count);
}

std::optional<std::string> FakeShareCrypto::DeriveKey(std::string_view passphrase, std::string_view salt,
                                                      std::uint32_t iterations) {
  ++derivations;
  lastIterations = iterations;
  return Bytes(iterations, {passphrase, salt}, kShareKeyBytes);
}

std::optional<std::string> FakeShareCrypto::Seal(std::string_view key, std::string_view nonce,
                                                 std::string_view associated, std::string_view plain) {
  if (key.size() != kShareKeyBytes || nonce.size() != kShareNonceBytes) return std::nullopt;
  std::string sealed = Xor(plain, Bytes(1, {key, nonce}, plain.size()));
  sealed += Bytes(2, {key, nonce, associated, sealed}, kShareTagBytes);
  return sealed;
}

std::optional<std::string> FakeShareCrypto::Open(std::string_view key, std::string_view nonce,
                                                 std::string_view associated, std::string_view sealed) {
  if (key.size() != kShareKeyBytes || nonce.size() != kShareNonceBytes || sealed.size() < kShareTagBytes) {
    return std::nullopt;
  }
  const std::string_view cipher = sealed.substr(0, sealed.size() - kShareTagBytes);
  if (Bytes(2, {key, nonce, associated, cipher}, kShareTagBytes) != sealed.substr(cipher.size())) {
    return std::nullopt;
  }
  return Xor(cipher, Bytes(1, {key, nonce}, cipher.size()));
}

std::optional<std::string> FakeShareCrypto::Protect(std::string_view secret) {
  if (failProtect) return std::nullopt;
  return std::string(kProtected) + Xor(secret, std::string(secret.size(), '\x5A'));
}

std::optional<std::string> FakeShareCrypto::Unprotect(std::string_view blob) {
  if (!blob.starts_with(kProtected)) return std::nullopt;
  blob.remove_prefix(kProtected.size());
  return Xor(blob, std::string(blob.size(), '\x5A'));
}

}  // namespace solvane::fake
