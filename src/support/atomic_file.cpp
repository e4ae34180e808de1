#include "support/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace lumacet {

namespace fs = std::filesystem;

namespace {

constexpr auto kLockTimeout = std::chrono::seconds(10);
constexpr auto kStaleAge = std::chrono::hours(1);
constexpr std::string_view kTempPrefix = "~lc";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kTempAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr size_t kTempNameLetters = 8;
constexpr char kAccessAcl[] = "system.posix_acl_access";
// Room for the record a rewrite adds, so that adding it moves nothing.
constexpr size_t kRewriteRoom = 64 << 10;

// Read once before main: asking the kernel later means setting it for a moment, and a file
// another thread creates in that moment would be writable by everybody.
const mode_t kProcessUmask = [] {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}();

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool ReadOpenFile(int fd, std::string& bytes, size_t spare) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::string content;
  content.reserve(static_cast<size_t>(info.st_size) + spare);
  content.resize(static_cast<size_t>(info.st_size));
  size_t filled = 0;
  for (;;) {
    // Once the size fstat gave is read, the end is told from a file that grew meanwhile by a
    // small read aside: growing the buffer itself would copy the whole file to twice its room.
    std::array<char, 4096> aside;
    const bool atSize = filled == content.size();
    ssize_t n = atSize ? ::read(fd, aside.data(), aside.size()) : ::read(fd, content.data() + filled, content.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    if (atSize) content.append(aside.data(), static_cast<size_t>(n));
    filled += static_cast<size_t>(n);
  }
  content.resize(filled);  // the file shrank meanwhile
  bytes = std::move(content);
  return true;
}

// Why an existing target must not be replaced, or empty.
std::string TargetProblem(const std::string& path, const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return path + " is not a regular file";
  // The permission bits decide, not access(): root may write anything, but a file marked
  // read-only is the user's way of saying it must not change.
  if ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return path + " is read-only";
  return {};
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool IsTempName(std::string_view name) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  const std::string_view letters = name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  return (letters.size() == 4 || letters.size() == kTempNameLetters) &&
         letters.find_first_not_of(kTempAlphabet) == std::string_view::npos;
}

// A new, empty temporary file in the folder, created with O_EXCL under a random name from
// 36^8 and locked while the save runs (see RemoveStaleTempFiles). -1 on failure.
int CreateTempFile(int dirFd, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Straight from the kernel: a generator's state would be shared by forked processes,
    // which would then all try the same names.
    unsigned char random[kTempNameLetters];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
    name = kTempPrefix;
    for (unsigned char byte : random) name += kTempAlphabet[byte % kTempAlphabet.size()];
    name += kTempSuffix;
    int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Gives the new file the old one's owner and group, or at least its group; false when the
// user may not.
bool KeepOwner(int fd, const struct stat& old) {
  return ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Copies the old file's access control list (which also carries its permission bits);
// false when it has one that cannot be set.
bool KeepAccessList(int fd, const std::string& target) {
  ssize_t size = ::lgetxattr(target.c_str(), kAccessAcl, nullptr, 0);
  if (size <= 0) return true;
  std::vector<char> acl(static_cast<size_t>(size));
  size = ::lgetxattr(target.c_str(), kAccessAcl, acl.data(), acl.size());
  return size <= 0 || ::fsetxattr(fd, kAccessAcl, acl.data(), static_cast<size_t>(size), 0) == 0;
}

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fFd(fd) {}
  ~TDescriptor() {
    if (fFd >= 0) ::close(fFd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fFd; }

 private:
  int fFd;
};

}  // namespace

std::string RewriteTarget(const std::string& path) {
  fs::path target(path);
  std::error_code error;
  // As many hops as the kernel follows; a longer chain is a loop, and the write refuses it.
  for (int hop = 0; hop < 40 && fs::is_symlink(target, error); ++hop) {
    fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.lexically_normal().string();
}

TWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = RewriteTarget(path);
  struct stat targetInfo {};
  const bool targetExists = ::lstat(target.c_str(), &targetInfo) == 0;
  mode_t mode = 0666 & ~kProcessUmask;
  if (targetExists) {
    if (std::string problem = TargetProblem(target, targetInfo); !problem.empty()) return {false, problem};
    mode = targetInfo.st_mode & 07777;
  }

  const fs::path targetPath(target);
  const std::string folder = targetPath.has_parent_path() ? targetPath.parent_path().string() : std::string(".");
  const std::string targetName = targetPath.filename().string();
  TDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() < 0) return {false, SystemError("cannot open the folder " + folder)};
  // Only the file this save created may replace the target. A co-user of the folder who
  // swaps the temporary name for a link or a file of their own gets it refused before the
  // rename, or, when the swap falls just before the rename, sees it undone by the next try.
  // The target was resolved above, so a link under its name now was put there by a race
  // this save lost; a save that gives up takes it away rather than leave it to be followed.
  const auto failed = [&](std::string error) -> TWriteResult {
    struct stat named {};
    if (::fstatat(dir.Get(), targetName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(named.st_mode))
      ::unlinkat(dir.Get(), targetName.c_str(), 0);
    return {false, std::move(error)};
  };
  bool lostGroup = false;
  bool lostAccessList = false;
  for (int attempt = 0;; ++attempt) {
    if (attempt == 10) return failed("another program kept replacing the temporary files of the save in " + folder);
    std::string temp;
    TDescriptor file(CreateTempFile(dir.Get(), temp));
    if (file.Get() < 0) return failed(SystemError("cannot create a temporary file in " + folder));
    bool ok = WriteAll(file.Get(), bytes);
    lostGroup = ok && targetExists && !KeepOwner(file.Get(), targetInfo);
    // The mode after the owner, which clears the set-id bits; the access list after the mode,
    // whose mask it would otherwise overwrite.
    ok = ok && ::fchmod(file.Get(), mode) == 0;
    lostAccessList = ok && targetExists && !KeepAccessList(file.Get(), target);
    ok = ok && ::fsync(file.Get()) == 0;
    struct stat written {};
    ok = ok && ::fstat(file.Get(), &written) == 0;
    if (!ok) {
      const std::string error = SystemError("cannot write " + (fs::path(folder) / temp).string());
      ::unlinkat(dir.Get(), temp.c_str(), 0);
      return failed(error);
    }
    const auto isOurs = [&](const std::string& name) {
      struct stat named {};
      return ::fstatat(dir.Get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(written, named);
    };
    if (!isOurs(temp)) {
      ::unlinkat(dir.Get(), temp.c_str(), 0);
      continue;
    }
    if (::renameat(dir.Get(), temp.c_str(), dir.Get(), targetName.c_str()) != 0) {
      // The temporary name taken away just before the rename: another try.
      if (errno == ENOENT) continue;
      const std::string error = SystemError("cannot replace " + target);
      ::unlinkat(dir.Get(), temp.c_str(), 0);
      return failed(error);
    }
    if (isOurs(targetName)) break;
  }
  // The rename itself must reach the disk too, or a crash could bring the old file back.
  if (::fsync(dir.Get()) != 0)
    return {false, SystemError("the folder " + folder + " could not be written to the disk; the save may be lost")};
  return {true, {}, lostGroup, lostAccessList};
}

TText KeepingNotice(const TWriteResult& written, const std::string& path) {
  static constexpr TTextSource kLostGroup =
      LcText("Files", "%1 was saved, but it now belongs to your own group: you may not give it the group it had, "
                      "so its group may have lost access to it.");
  static constexpr TTextSource kLostAccessList =
      LcText("Files", "%1 was saved, but without the access control list it had: you may not set it, "
                      "so the people it named may have lost access to it.");
  static constexpr TTextSource kLostBoth =
      LcText("Files", "%1 was saved, but it now belongs to your own group and without the access control list it "
                      "had: you may not set them, so others may have lost access to it.");
  if (!written.Ok || (!written.LostGroup && !written.LostAccessList)) return {};
  const TTextSource source = written.LostGroup && written.LostAccessList ? kLostBoth
                             : written.LostGroup                        ? kLostGroup
                                                                        : kLostAccessList;
  return TText(source, {path});
}

TFileLock::TFileLock(const std::string& target) : fPath(target + ".lock") {
  const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
  for (;;) {
    int fd = ::open(fPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      const bool denied = errno == EACCES || errno == EPERM || errno == EROFS;
      const std::string folder = fs::path(target).parent_path().string();
      fProblem = denied ? SystemError("cannot lock " + target + ": this user may not create files in the folder " +
                                      (folder.empty() ? std::string(".") : folder))
                        : SystemError("cannot lock " + target);
      return;
    }
    bool locked = false;
    while (!(locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0) && (errno == EWOULDBLOCK || errno == EINTR) &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!locked) {
      ::close(fd);
      fProblem = "cannot lock " + target + ": another program may be writing it";
      return;
    }
    // The writer before may have removed the lock file when it let go: the lock then guards
    // nothing, and the one under the name now is taken instead.
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::stat(fPath.c_str(), &named) == 0 && SameFile(held, named)) {
      fFd = fd;
      return;
    }
    ::close(fd);
  }
}

TFileLock::~TFileLock() {
  if (fFd < 0) return;
  // Removed while still held, so that a writer waiting on it notices and takes a new one.
  ::unlink(fPath.c_str());
  ::close(fFd);
}

TWriteResult RewriteFile(const std::string& path, const TRewrite& rewrite) {
  const std::string target = RewriteTarget(path);
  struct stat info {};
  const bool exists = ::lstat(target.c_str(), &info) == 0;
  if (exists) {
    if (std::string problem = TargetProblem(target, info); !problem.empty()) return {false, problem};
  }
  TFileLock lock(target);
  if (!lock.Held()) return {false, lock.Problem()};
  std::string content;
  if (::lstat(target.c_str(), &info) == 0) {
    TDescriptor file(::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (file.Get() < 0 || !ReadOpenFile(file.Get(), content, kRewriteRoom)) return {false, "cannot read " + target};
  }
  std::string reason;
  if (!rewrite(content, reason)) return {false, reason};
  return WriteFileAtomically(target, content);
}

void RemoveStaleTempFiles(const std::string& folder) {
  TDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() < 0) return;
  DIR* listing = ::fdopendir(::dup(dir.Get()));
  if (listing == nullptr) return;
  std::vector<std::string> stale;
  const auto now = std::chrono::system_clock::now();
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat info {};
    if (::fstatat(dir.Get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - std::chrono::system_clock::from_time_t(info.st_mtime) > kStaleAge) stale.emplace_back(entry->d_name);
  }
  ::closedir(listing);
  for (const std::string& name : stale) {
    TDescriptor file(::openat(dir.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() >= 0 && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(dir.Get(), name.c_str(), 0);
  }
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  TDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  return file.Get() >= 0 && ReadOpenFile(file.Get(), bytes, 0);
}

}  // namespace lumacet
