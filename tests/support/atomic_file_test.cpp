#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <filesystem>
#include <thread>

#include "support/atomic_file.h"

namespace lumacet {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("lumacet-atomic-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
  }

  fs::path folder;
};

TEST_F(AtomicFileTest, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
  std::string path = (folder / "data.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old\r\n").Ok);
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new\r\n").Ok);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "new\r\n");
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"data.csv"});
}

TEST_F(AtomicFileTest, AWholeReadTakesWhatTheFileHoldsWhateverSizeItClaimed) {
  // Exactly a page, many pages, nothing: the end found after the claimed size is read.
  for (const size_t size : {size_t{0}, size_t{4096}, size_t{3 * 65536 + 7}}) {
    const std::string path = (folder / "sized").string();
    ASSERT_TRUE(WriteFileAtomically(path, std::string(size, 'x')).Ok);
    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content.size(), size);
  }
  // The kernel's own files claim no size at all and still have content.
  std::string status;
  ASSERT_TRUE(ReadWholeFile("/proc/self/status", status));
  EXPECT_TRUE(status.starts_with("Name:")) << status.substr(0, 40);
  EXPECT_NE(status.find("VmRSS"), std::string::npos);
}

TEST_F(AtomicFileTest, AReadOnlyTargetIsRefusedAndUnchangedEvenForTheSuperuser) {
  std::string path = (folder / "type.lcr").string();
  ASSERT_TRUE(WriteFileAtomically(path, "keep").Ok);
  ::chmod(path.c_str(), 0444);
  TWriteResult result = WriteFileAtomically(path, "lost");
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("read-only"), std::string::npos);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "keep");
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(AtomicFileTest, AMissingFolderFailsWithAReason) {
  TWriteResult result = WriteFileAtomically((folder / "missing" / "x.csv").string(), "x");
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.Error.empty());
}

// A co-user of a shared folder who sees the temporary file appear (through inotify, as fast
// as an attacker can) and swaps it for a link to a file of the saving user outside the
// folder: the save must neither write through the link nor put the link in place of the
// data file. Every name seen must come from the 36^8 space.
TEST_F(AtomicFileTest, ATemporaryFileSwappedForALinkDuringTheSaveChangesNothingOutsideIt) {
  const fs::path outside = folder / "outside";
  fs::create_directory(outside);
  const std::string victim = (outside / "private.txt").string();
  ASSERT_TRUE(WriteFileAtomically(victim, "private").Ok);
  const fs::path shared = folder / "shared";
  fs::create_directory(shared);
  const std::string path = (shared / "data.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old").Ok);

  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, shared.c_str(), IN_CREATE), 0);
  std::atomic<bool> done{false};
  std::atomic<int> swapped{0};
  std::vector<std::string> names;
  std::thread attacker([&] {
    alignas(inotify_event) char buffer[4096];
    while (!done) {
      ssize_t n = ::read(watch, buffer, sizeof buffer);
      if (n <= 0) {
        std::this_thread::yield();
        continue;
      }
      for (char* p = buffer; p < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        const std::string name = event->len > 0 ? event->name : "";
        p += sizeof(inotify_event) + event->len;
        // The link put in place raises an event of its own.
        if (!name.starts_with("~lc") || std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        const std::string temp = (shared / name).string();
        if (::unlink(temp.c_str()) == 0 && ::symlink(victim.c_str(), temp.c_str()) == 0) ++swapped;
      }
    }
  });
  // On a busy machine the attacker may lose every race of a few hundred saves: the saves
  // go on until it has swapped at least once, so the test always meets the attack.
  for (int i = 0; i < 20000 && (i < 300 || swapped == 0); ++i) WriteFileAtomically(path, "new " + std::to_string(i));
  done = true;
  attacker.join();
  ::close(watch);

  std::string content;
  ASSERT_TRUE(ReadWholeFile(victim, content));
  EXPECT_EQ(content, "private");
  EXPECT_FALSE(fs::is_symlink(path));
  // A co-user who may unlink names in the folder may take the data file away outright, and a
  // save that loses every race gives up without its file; it never writes through the link.
  if (fs::exists(path)) {
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_TRUE(content == "old" || content.starts_with("new ")) << content;
  }
  EXPECT_GT(swapped, 0) << "the attacker never swapped a temporary file";
  for (const std::string& name : names) {
    ASSERT_EQ(name.size(), 15u) << name;
    EXPECT_TRUE(name.ends_with(".tmp")) << name;
    EXPECT_EQ(name.substr(3, 8).find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
  }
}

TEST_F(AtomicFileTest, ARewriteKeepsOwnerGroupAndAccessListOfTheOldFile) {
  const std::string path = (folder / "clinic.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old").Ok);
  ::chmod(path.c_str(), 0640);
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another owner and group needs the superuser";
  ASSERT_EQ(::chown(path.c_str(), 4321, 1234), 0);
  const bool withAcl = std::system(("setfacl -m u:5678:rw " + path + " 2>/dev/null").c_str()) == 0;
  std::vector<char> aclBefore(256);
  ssize_t aclSize = withAcl ? ::getxattr(path.c_str(), "system.posix_acl_access", aclBefore.data(), aclBefore.size()) : 0;
  ASSERT_TRUE(WriteFileAtomically(path, "new").Ok);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 1234u);
  EXPECT_EQ(info.st_mode & 0777, withAcl ? 0660u : 0640u);  // with an ACL the group bits show its mask
  if (!withAcl) GTEST_SKIP() << "the test folder's file system refuses access control lists";
  std::vector<char> aclAfter(256);
  ASSERT_EQ(::getxattr(path.c_str(), "system.posix_acl_access", aclAfter.data(), aclAfter.size()), aclSize);
  aclBefore.resize(static_cast<size_t>(aclSize));
  aclAfter.resize(static_cast<size_t>(aclSize));
  EXPECT_EQ(aclAfter, aclBefore);
}

// Every rewrite of a file reached through a link changes the file where it lies: a type
// file or a results file shared by a link must not fork.
TEST_F(AtomicFileTest, AFileReachedThroughLinksIsRewrittenWhereItLies) {
  const std::string real = (folder / "real.lcr").string();
  ASSERT_TRUE(WriteFileAtomically(real, "old").Ok);
  fs::create_directory(folder / "elsewhere");
  fs::create_symlink("../real.lcr", folder / "elsewhere" / "first.lcr");
  fs::create_symlink(folder / "elsewhere" / "first.lcr", folder / "second.lcr");
  ASSERT_TRUE(WriteFileAtomically((folder / "second.lcr").string(), "new").Ok);
  ASSERT_TRUE(RewriteFile((folder / "elsewhere" / "first.lcr").string(), [](std::string& content, std::string&) {
                content += " appended";
                return true;
              }).Ok);
  EXPECT_TRUE(fs::is_symlink(folder / "second.lcr"));
  EXPECT_TRUE(fs::is_symlink(folder / "elsewhere" / "first.lcr"));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(real, content));
  EXPECT_EQ(content, "new appended");
  // A link to a file not there yet creates the file at the link's end.
  fs::create_symlink("made.txt", folder / "dangling.txt");
  ASSERT_TRUE(WriteFileAtomically((folder / "dangling.txt").string(), "made").Ok);
  EXPECT_TRUE(fs::is_symlink(folder / "dangling.txt"));
  ASSERT_TRUE(ReadWholeFile((folder / "made.txt").string(), content));
  EXPECT_EQ(content, "made");
}

// Four processes appending to one file at once, twenty times each: every append arrives,
// and the lock file goes with the last writer.
TEST_F(AtomicFileTest, FourProcessesAppendingAtOnceLoseNothing) {
  const std::string path = (folder / "results.txt").string();
  std::vector<pid_t> children;
  for (int writer = 0; writer < 4; ++writer) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0; i < 20; ++i) {
        const TWriteResult written = RewriteFile(path, [&](std::string& content, std::string&) {
          content += std::to_string(writer) + " " + std::to_string(i) + "\n";
          return true;
        });
        if (!written.Ok) ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 80);
  EXPECT_EQ(Names(), std::vector<std::string>{"results.txt"});
}

TEST_F(AtomicFileTest, AFolderThatRefusesTheLockFileIsNamedAsTheCause) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may create files in any folder";
  const std::string path = (folder / "data.csv").string();
  ASSERT_TRUE(WriteFileAtomically(path, "old").Ok);
  ::chmod(folder.c_str(), 0555);
  const TWriteResult written = RewriteFile(path, [](std::string&, std::string&) { return true; });
  EXPECT_FALSE(written.Ok);
  EXPECT_NE(written.Error.find("may not create files in the folder"), std::string::npos) << written.Error;
}

// Only old temporary files of this program that no save holds go; the data file, a fresh
// temporary file, one a save still holds and names of other programs stay.
TEST_F(AtomicFileTest, StaleTemporaryFilesOfACrashedSaveAreRemoved) {
  const auto make = [&](const std::string& name, bool old) {
    const std::string path = (folder / name).string();
    EXPECT_TRUE(WriteFileAtomically(path, "copy of a patient file").Ok);
    if (old) {
      const timespec times[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
      ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    return path;
  };
  make("data.csv", true);
  make("~lcA1B2.tmp", true);
  make("~lcA1B2C3D4.tmp", true);
  make("~lcFRESH123.tmp", false);
  make("~lcxyz.tmp", true);
  const int held = ::open(make("~lcHELD0000.tmp", true).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  RemoveStaleTempFiles(folder.string());
  ::close(held);
  std::vector<std::string> names = Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"data.csv", "~lcFRESH123.tmp", "~lcHELD0000.tmp", "~lcxyz.tmp"}));
}

}  // namespace
}  // namespace lumacet
