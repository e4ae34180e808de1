// Who may do what: a practice may keep chosen commands behind passwords held in the settings
// file. The level is decided once at start-up and holds until the program ends. Passwords
// are kept as salted PBKDF2-SHA256 hashes; a plain value an older file holds is still
// accepted and is replaced by its hash as soon as the file can be written.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/marked_text.h"
#include "support/result.h"

namespace lumacet {

class TIniFile;

enum class TUserLevel { Administrator = 0, User = 1, Guest = 2 };

inline constexpr TTextSource kPasswordTitle = LcText("UserLevels", "Password");
inline constexpr TTextSource kPasswordPrompt = LcText("UserLevels", "Enter your password:");

class TUserLevels {
 public:
  // No passwords set: everything is allowed.
  TUserLevels() = default;
  TUserLevels(TUserLevel level, std::vector<std::string> denied) : fLevel(level), fDenied(std::move(denied)) {}

  TUserLevel Level() const { return fLevel; }
  const std::vector<std::string>& Denied() const { return fDenied; }
  // Whether the action of that name ("Save", "OpenType"...) may go ahead; names compare
  // exactly, as the settings file lists them.
  bool Permit(std::string_view action) const;
  // What the user is told when Permit refuses.
  TText DeniedMessage() const;

 private:
  TUserLevel fLevel = TUserLevel::Administrator;
  std::vector<std::string> fDenied;
};

// Asks for the password once; nullopt when the user cancels.
using TPasswordPrompt = std::function<std::optional<std::string>()>;

// The level the settings (sections "Password" and "Permissions") give: the administrator's
// when no password is set, without asking; otherwise the one whose password is entered
// (the administrator's when the entry matches both), else the guest's. An empty
// administrator password never grants the administrator's level.
TUserLevels DetermineUserLevel(const TIniFile& settings, const TPasswordPrompt& askPassword);

// The stored form of a password: "pbkdf2-sha256:<iterations>:<salt>:<hash>", salt and hash
// in hexadecimal, the salt fresh from the system's random source.
std::string HashPassword(std::string_view password, int iterations = 210000);
// Whether `entry` is the password `stored` holds, hashed or (from an older file) plain; in
// time independent of where the two differ.
bool PasswordMatches(const std::string& stored, std::string_view entry);

// Replaces plain passwords in the settings file at `path` by their hashes, in one atomic
// rewrite; nothing to do when every password is hashed already.
TResult HashPlainPasswords(const std::string& path);

}  // namespace lumacet
