// A writer killed at any moment must leave a data file that holds exactly its old or its
// new content, every record in it. A child process rewrites the file in a loop (replace,
// append, delete) and is killed with SIGKILL at random moments; after every kill the file
// is checked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "persistence/data_test_support.h"

namespace lumacet {
namespace {

using test::PointType;
using test::Radiograph;
using test::ReadBytes;
using test::Record;
using test::TTempFolder;
using test::WriteBytes;

constexpr int kKills = 200;
constexpr int kRecords = 50;

// The writing loop: replace the target by its second version and back, append a record
// and delete it again. Each kill lets the loop start at another step, so that the kills fall
// on every step although each lasts only milliseconds.
struct TWriter {
  TXRay& First;
  TXRay& Second;
  TXRay& Extra;
  std::string Path;

  bool Step(int step) const {
    switch (step % 4) {
      case 0: return ReplaceInDataFile(Second, Path, {}).Ok();
      case 1: return ReplaceInDataFile(First, Path, {}).Ok();
      case 2: return AppendToDataFile(Extra, Path, {}).Ok();
      default: return DeleteFromFile(Path, {{kRecords + 1, std::string(LineKey(Record(Extra)))}}).Ok();
    }
  }
  [[noreturn]] void RunFrom(int step) const {
    for (;; ++step)
      if (!Step(step)) ::_exit(1);
  }
};

TEST(DataFileKillTest, AKilledWriterLeavesTheOldOrTheNewContent) {
  TTempFolder folder;
  auto type = PointType("Lateral", 40);
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 40; ++i) points.emplace_back(100.125 * i, -50.5 * i);
  std::string others;
  for (int i = 0; i < kRecords - 1; ++i)
    others += Record(*Radiograph(*type, "Patient " + std::to_string(i), DayNumber(2000, 1, 1), points));
  auto first = Radiograph(*type, "Target", DayNumber(2001, 1, 1), points);
  auto second = Radiograph(*type, "Target", DayNumber(2001, 1, 1));
  auto extra = Radiograph(*type, "Extra", DayNumber(2002, 1, 1), points);
  const TWriter writer{*first, *second, *extra, folder.File("PATIENT.CSV")};

  // The only contents the loop may leave, and the one each step starts from.
  const std::string withFirst = others + Record(*first);
  const std::string withSecond = others + Record(*second);
  const std::string withExtra = withFirst + Record(*extra);
  const std::vector<std::string> states = {withFirst, withSecond, withExtra};
  const std::vector<std::string> startOfStep = {withFirst, withSecond, withFirst, withExtra};

  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
  std::vector<int> seen(states.size(), 0);
  for (int kill = 0; kill < kKills; ++kill) {
    WriteBytes(writer.Path, startOfStep[kill % 4]);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) writer.RunFrom(kill % 4);
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own after " << kill << " kills";

    const std::string content = ReadBytes(writer.Path);
    const auto state = std::find(states.begin(), states.end(), content);
    ASSERT_NE(state, states.end()) << "after kill " << kill << " the file holds " << content.size() << " bytes";
    ++seen[state - states.begin()];
  }
  for (int count : seen) EXPECT_GT(count, 0);
  // Temporary files left behind show that kills fell in the middle of rewrites.
  size_t interrupted = 0;
  for (const std::string& name : folder.Names()) interrupted += name.starts_with("~lc");
  EXPECT_GT(interrupted, 0u);
}

}  // namespace
}  // namespace lumacet
