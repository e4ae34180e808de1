#include "support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace lumacet {

namespace {

std::string FolderOf(const std::string& path) {
  std::filesystem::path p(path);
  auto parent = p.parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

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

}  // namespace

std::string TempFileName(const std::string& folder) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFF);
  for (int attempt = 0; attempt < 256; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~lc%04X.tmp", digits(generator));
    std::string path = (std::filesystem::path(folder) / name).string();
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

TWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  struct stat targetInfo {};
  bool targetExists = ::stat(path.c_str(), &targetInfo) == 0;
  mode_t mode = 0644;
  if (targetExists) {
    if (!S_ISREG(targetInfo.st_mode)) return {false, path + " is not a regular file"};
    // The permission bits decide, not access(): root may write anything, but a file
    // marked read-only is the user's way of saying it must not change.
    if ((targetInfo.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
      return {false, path + " is read-only"};
    mode = targetInfo.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  std::string folder = FolderOf(path);
  std::string temp = TempFileName(folder);
  if (temp.empty()) return {false, SystemError("cannot create a temporary file in " + folder)};

  int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    TWriteResult r{false, SystemError("cannot open " + temp)};
    ::unlink(temp.c_str());
    return r;
  }
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  std::string error = ok ? std::string() : SystemError("cannot write " + temp);
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = SystemError("cannot close " + temp);
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    error = SystemError("cannot replace " + path);
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return {false, error};
  }
  // The rename itself must reach the disk too, or a crash could bring the old name back.
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return {true, {}};
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string content(static_cast<size_t>(info.st_size), '\0');
  size_t filled = 0;
  bool ok = true;
  while (ok) {
    if (filled == content.size()) content.resize(content.size() + 65536);  // the file grew meanwhile
    ssize_t n = ::read(fd, content.data() + filled, content.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    filled += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) return false;
  content.resize(filled);
  bytes = std::move(content);
  return true;
}

}  // namespace lumacet
