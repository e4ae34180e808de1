// Every rewrite of a user file goes through a temporary file in the same folder that is
// flushed, synced and renamed over the target: a crash leaves the old or the new file,
// never a mixture. Data folders are shared by several workstations and users, so the
// temporary file is written only through the descriptor that created it, and every
// read-append-rewrite of a file takes the one lock all writers of that file take.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "support/marked_text.h"

namespace lumacet {

struct TWriteResult {
  bool Ok = false;
  std::string Error;  // why it failed, for the user's message
  // On success: the new file could not keep the old one's group or access control list,
  // because this user may not give them to a file.
  bool LostGroup = false;
  bool LostAccessList = false;
};

// What the user is told after a save of `path` that could not keep its group or access
// control list (a clinic folder's co-workers may have lost access); empty when it kept both.
TText KeepingNotice(const TWriteResult& written, const std::string& path);

// The file a rewrite of `path` replaces: where a symbolic link (or a chain of them) leads,
// or `path` itself. Every rewrite resolves links this way, so that a file shared through a
// link is changed where it lies and the link stays.
std::string RewriteTarget(const std::string& path);

// Writes `bytes` as the new content of `path` (through links, see RewriteTarget). A target
// that exists keeps its permission bits, its group and its access control list where the
// user may set them; a read-only target is refused. Nothing is changed when the write fails.
TWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// The advisory lock on "<target>.lock" that every writer of a file takes for one
// read-modify-write. Waits a while for another writer to finish, then gives up rather than
// hang the program. The lock file goes when the lock is released.
class TFileLock {
 public:
  explicit TFileLock(const std::string& target);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;
  bool Held() const { return fFd >= 0; }
  // Why the lock was not taken, for the user's message.
  const std::string& Problem() const { return fProblem; }

 private:
  std::string fPath;
  int fFd = -1;
  std::string fProblem;
};

// One read-modify-write of a file under its lock: `rewrite` turns the current content
// (empty when the file does not exist) into the new content in place, or gives false and a
// reason to change nothing. The result replaces the file as WriteFileAtomically does.
using TRewrite = std::function<bool(std::string& content, std::string& reason)>;
TWriteResult RewriteFile(const std::string& path, const TRewrite& rewrite);

// Removes the temporary files a crashed save left in `folder` (full copies of the file it
// was saving): names "~lc" + four or eight letters or digits + ".tmp", older than an hour,
// regular, and not held by a save still running.
void RemoveStaleTempFiles(const std::string& folder);

// The whole content of a regular file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace lumacet
