#include "shell/user_levels.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <charconv>

#include "shell/ini_file.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr std::string_view kPasswordSection = "Password";
constexpr std::string_view kPermissionsSection = "Permissions";
constexpr std::string_view kHashScheme = "pbkdf2-sha256";
constexpr std::string_view kDefaultUserDenied =
    "OpenType NewType Delete SaveReplace DigitizerProperties DigitizerDelete DigitizerDefault";
constexpr std::string_view kDefaultGuestDenied = "Options OpenType NewType Delete Save CopyTo";
constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;
// Past this a stored count is taken for damage, not for a slower hash.
constexpr long kMostIterations = 10'000'000;

constexpr TTextSource kDenied =
    LcText("UserLevels", "Sorry, you don't have permission for this action.\r\n\r\nUser Level: %1");
constexpr TTextSource kUserLevelName = LcText("UserLevels", "User");
constexpr TTextSource kGuestLevelName = LcText("UserLevels", "Guest");
constexpr TTextSource kCannotHash =
    LcText("UserLevels", "The passwords in %1 could not be replaced by their hashes.");

std::string Hex(const unsigned char* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

std::optional<std::vector<unsigned char>> FromHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<unsigned char> bytes(text.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned value = 0;
    const char* first = text.data() + 2 * i;
    if (std::from_chars(first, first + 2, value, 16).ptr != first + 2) return std::nullopt;
    bytes[i] = static_cast<unsigned char>(value);
  }
  return bytes;
}

std::vector<std::string_view> Fields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    fields.push_back(text.substr(start, end == text.npos ? text.npos : end - start));
    if (end == text.npos) return fields;
    start = end + 1;
  }
}

bool Derive(std::string_view password, const std::vector<unsigned char>& salt, long iterations,
            std::array<unsigned char, kHashBytes>& hash) {
  return PKCS5_PBKDF2_HMAC(password.data(), int(password.size()), salt.data(), int(salt.size()), int(iterations),
                           EVP_sha256(), int(hash.size()), hash.data()) == 1;
}

bool IsHashed(std::string_view stored) { return stored.starts_with(std::string(kHashScheme) + ":"); }

std::vector<std::string> DeniedList(const TIniFile& settings, std::string_view key, std::string_view fallback) {
  const std::string text = settings.Read(kPermissionsSection, key).value_or(std::string(fallback));
  std::vector<std::string> names;
  for (std::string_view name : Fields(text, ' '))
    if (!name.empty()) names.emplace_back(name);
  return names;
}

}  // namespace

bool TUserLevels::Permit(std::string_view action) const {
  return fLevel == TUserLevel::Administrator || std::find(fDenied.begin(), fDenied.end(), action) == fDenied.end();
}

TText TUserLevels::DeniedMessage() const {
  return TText(kDenied, std::vector<TText>{fLevel == TUserLevel::User ? kUserLevelName : kGuestLevelName});
}

std::string HashPassword(std::string_view password, int iterations) {
  std::vector<unsigned char> salt(kSaltBytes);
  std::array<unsigned char, kHashBytes> hash{};
  if (RAND_bytes(salt.data(), int(salt.size())) != 1 || !Derive(password, salt, iterations, hash)) return {};
  return std::string(kHashScheme) + ":" + std::to_string(iterations) + ":" + Hex(salt.data(), salt.size()) + ":" +
         Hex(hash.data(), hash.size());
}

bool PasswordMatches(const std::string& stored, std::string_view entry) {
  if (!IsHashed(stored)) {
    // A plain value of an older file: compared over the longer length, so that the time
    // taken tells nothing of where the two part.
    const size_t length = std::max(stored.size(), entry.size());
    std::string a(stored), b(entry);
    a.resize(length, '\0');
    b.resize(length, '\0');
    return CRYPTO_memcmp(a.data(), b.data(), length) == 0 && stored.size() == entry.size();
  }
  const std::vector<std::string_view> fields = Fields(stored, ':');
  if (fields.size() != 4) return false;
  long iterations = 0;
  const std::string_view count = fields[1];
  if (std::from_chars(count.data(), count.data() + count.size(), iterations).ptr != count.data() + count.size() ||
      iterations < 1 || iterations > kMostIterations)
    return false;
  const auto salt = FromHex(fields[2]);
  const auto expected = FromHex(fields[3]);
  std::array<unsigned char, kHashBytes> hash{};
  if (!salt || !expected || expected->size() != hash.size() || !Derive(entry, *salt, iterations, hash)) return false;
  return CRYPTO_memcmp(hash.data(), expected->data(), hash.size()) == 0;
}

TUserLevels DetermineUserLevel(const TIniFile& settings, const TPasswordPrompt& askPassword) {
  const std::string admin = settings.Read(kPasswordSection, "Admin").value_or("");
  const std::string user = settings.Read(kPasswordSection, "User").value_or("");
  if (admin.empty() && user.empty()) return {};
  TUserLevel level = TUserLevel::Guest;
  if (const std::optional<std::string> entry = askPassword()) {
    if (!user.empty() && PasswordMatches(user, *entry)) level = TUserLevel::User;
    if (!admin.empty() && PasswordMatches(admin, *entry)) level = TUserLevel::Administrator;
  }
  switch (level) {
    case TUserLevel::Administrator: return {};
    case TUserLevel::User: return {level, DeniedList(settings, "User", kDefaultUserDenied)};
    case TUserLevel::Guest: break;
  }
  return {level, DeniedList(settings, "Guest", kDefaultGuestDenied)};
}

TResult HashPlainPasswords(const std::string& path) {
  TIniFile current;
  current.Load(path);
  const auto plain = [&](const char* key) {
    const std::string stored = current.Read(kPasswordSection, key).value_or("");
    return !stored.empty() && !IsHashed(stored);
  };
  if (!plain("Admin") && !plain("User")) return {};
  bool failed = false;
  const TWriteResult written = RewriteFile(path, [&](std::string& content, std::string& reason) {
    TIniFile settings = TIniFile::FromBytes(content);
    bool changed = false;
    for (const char* key : {"Admin", "User"}) {
      const std::string stored = settings.Read(kPasswordSection, key).value_or("");
      if (stored.empty() || IsHashed(stored)) continue;
      const std::string hashed = HashPassword(stored);
      if (hashed.empty() || !settings.Write(kPasswordSection, key, hashed)) {
        failed = true;
        reason = "no hash could be made or stored";
        return false;
      }
      changed = true;
    }
    if (changed) content = settings.ToBytes();
    return true;
  });
  if (!written.Ok || failed) return TResult::Failure(TText(kCannotHash, {path}), written.Error);
  return {};
}

}  // namespace lumacet
