// One Lumacet session per user: a lock file in the runtime folder, held for the life of
// the process; a lock left by a crashed session is recognised as stale and taken over.
#pragma once

#include <QLockFile>
#include <QString>

#include <string_view>

namespace lumacet {

inline constexpr std::string_view kAlreadyRunningQuestion =
    "Lumacet is already running.\r\nAre you sure you want to start another Lumacet session? (not recommended)";

// "Lumacet3.lock" in $XDG_RUNTIME_DIR (Qt's runtime location).
QString InstanceLockPath();

class TInstanceLock {
 public:
  explicit TInstanceLock(const QString& path);
  // False when another living session holds the lock.
  bool Acquired() const { return fAcquired; }

 private:
  QLockFile fLock;
  bool fAcquired = false;
};

}  // namespace lumacet
