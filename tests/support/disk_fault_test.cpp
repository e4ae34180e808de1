// A disk that fails under a save: the kernel reports the loss only through fsync, and a
// save told so must not be reported as done. The fault comes from a stand-in for fsync that
// this test program puts before the C library's, so no real disk has to fail.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "support/atomic_file.h"

namespace {

// Which descriptors fail with EIO: none, or those of folders.
std::atomic<bool> gFolderSyncFails = false;

}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  struct stat info {};
  if (gFolderSyncFails && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}

namespace lumacet {
namespace {

namespace fs = std::filesystem;

TEST(DiskFaultTest, AFolderThatCannotBeSyncedFailsTheSave) {
  const fs::path folder = fs::temp_directory_path() / ("lumacet-disk-fault-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "data.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old").Ok);

  gFolderSyncFails = true;
  const TWriteResult written = WriteFileAtomically(path, "new");
  const TWriteResult appended = RewriteFile(path, [](std::string& content, std::string&) {
    content += " record";
    return true;
  });
  gFolderSyncFails = false;
  EXPECT_FALSE(written.Ok);
  EXPECT_FALSE(appended.Ok);
  for (const TWriteResult& result : {written, appended}) {
    EXPECT_NE(result.Error.find("could not be written to the disk"), std::string::npos) << result.Error;
  }
  EXPECT_TRUE(WriteFileAtomically(path, "again").Ok);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lumacet
