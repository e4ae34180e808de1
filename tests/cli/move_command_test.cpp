#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

// The example patients copied, so that --save has a file of its own to rewrite.
class MoveCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(kExamples + "/PATIENT.CSV", data);
    original = ReadBytes(data);
  }
  TRun Run(const std::string& verb, const std::string& options) {
    return RunCli(folder, verb + " '" + data + "' --types '" + kExamples + "' " + options);
  }

  TTempFolder folder;
  const std::string data = folder.File("patients.csv");
  std::string original;
};

TEST_F(MoveCommandTest, MovesPointsPrintsWhatChangedAndSavesOnlyWhenTold) {
  TRun run = Run("move", "--records 1 --translate 2,1 --points Me");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), "Translate: dx: 2, dy: 1: Me");
  EXPECT_NE(run.Out.find("\nFMA: 36.7 -> 36.3\n"), std::string::npos) << run.Out;
  EXPECT_EQ(ReadBytes(data), original);

  // A rigid movement of the whole tracing changes no angle or distance.
  run = Run("move", "--records 1 --rotate 5 --save");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "Rotate: angle: 5, center at: 1220, 1347: <All Points>\n");
  EXPECT_NE(ReadBytes(data), original);
  run = Run("move", "--records 1 --rotate -5,122,134.7 --save");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  run = Run("measure", "--records 1 --raw --format csv");
  EXPECT_EQ(run.Exit, 0) << run.Err;

  run = Run("move", "--records 1 --flip h --points \"U1,L1\"");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("IMPA: "), std::string::npos) << run.Out;
}

TEST_F(MoveCommandTest, RefusesBadMovementsWithoutTouchingTheFile) {
  struct TCase {
    std::string Options;
    int Exit;
    std::string Error;
  };
  for (const TCase& c : std::vector<TCase>{
           {"--records 1 --translate abc,1", 2, ""},
           {"--records 1 --translate 1,2 --scale 2", 2, ""},
           {"--records 1 --rotate 5,1", 2, ""},
           {"--records 1 --flip x", 2, ""},
           {"--records 1 --scale 0 --save", 1, "The movement cannot be performed: nothing was moved.\nthe scale factor is not positive\n"},
           {"--records 1 --translate 1e308,0 --save", 1,
            "The movement cannot be performed: nothing was moved.\na parameter is not a finite number\n"},
           {"--records 1 --translate 0,1e7 --save", 1,
            "The movement cannot be performed: nothing was moved.\na point would be moved beyond 100 m\n"},
           {"--records 1 --translate 1,1 --points Nowhere --save", 1,
            "The type Lateral Ceph has no point or area named 'Nowhere'.\n"},
       }) {
    const TRun run = Run("move", c.Options);
    EXPECT_EQ(run.Exit, c.Exit) << c.Options;
    if (!c.Error.empty()) {
      EXPECT_EQ(run.Err, c.Error) << c.Options;
    }
  }
  EXPECT_EQ(ReadBytes(data), original);
}

// The x coordinates, in millimetres, before and after the arrow of "name: x, y -> x, y".
std::pair<double, double> MovedX(const std::string& out, const std::string& name) {
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(name + ": ", 0) != 0) continue;
    const size_t arrow = line.find(" -> ");
    double from = NAN, to = NAN;
    std::from_chars(line.data() + name.size() + 2, line.data() + line.size(), from);
    std::from_chars(line.data() + arrow + 4, line.data() + line.size(), to);
    return {from, to};
  }
  return {NAN, NAN};
}

TEST_F(MoveCommandTest, VtoMovesTheSoftTissueOfAMovedMasterPointAndPrintsIt) {
  TRun run = Run("move", "--records 1 --translate 4,0 --points U1 --vto");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.substr(0, run.Out.find('\n', run.Out.find('\n') + 1)),
            "Translate: dx: 4, dy: 0: U1\nTranslate: dx: 2.8, dy: 0: Ls, Stms")
      << run.Out;
  for (const char* lip : {"Ls", "Stms"}) {
    const auto [from, to] = MovedX(run.Out, lip);
    EXPECT_NEAR(to - from, 2.8, 1e-9) << lip << "\n" << run.Out;
  }
  EXPECT_TRUE(std::isnan(MovedX(run.Out, "Pog'").first)) << run.Out;  // its master stayed
  EXPECT_EQ(ReadBytes(data), original);

  // Without the switch nothing follows; moving the whole tracing induces nothing.
  run = Run("move", "--records 1 --translate 4,0 --points U1");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.find("Ls"), std::string::npos) << run.Out;
  run = Run("move", "--records 1 --translate 4,0 --vto");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out.find("Translate", 1), std::string::npos) << run.Out;
  const auto [from, to] = MovedX(run.Out, "Ls");
  EXPECT_NEAR(to - from, 4, 1e-9) << run.Out;
}

TEST_F(MoveCommandTest, RenderAndMeasureSuperimposeAndOrientByName) {
  const std::string svg = folder.File("serial.svg");
  TRun run = Run("render", "--records 1,2 --superimpose 'Cranial base best fit' --out '" + svg + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::string superimposed = ReadBytes(svg);
  run = Run("render", "--records 1,2 --out '" + svg + "'");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(ReadBytes(svg), superimposed);
  run = Run("render", "--records 2 --reference 1 --superimpose 'Cranial base best fit' --orient 'S-N horizontal' --out '" + svg + "'");
  EXPECT_EQ(run.Exit, 0) << run.Err;

  run = Run("measure", "--records 1,2 --superimpose 'S-N registered at S' --orient 'S-N horizontal' --format csv");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const TRun plain = Run("measure", "--records 1,2 --format csv");
  EXPECT_EQ(run.Out, plain.Out);  // superimposing moves the tracing as a whole: no measurement changes

  run = Run("measure", "--records 1,2 --superimpose Nowhere");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "Record 1: The type Lateral Ceph has no superimposition named Nowhere.\n");
  run = Run("render", "--records 1 --orient Nowhere --out '" + svg + "'");
  EXPECT_EQ(run.Err, "Record 1: The type Lateral Ceph has no orientation named Nowhere.\n");
}

}  // namespace
}  // namespace lumacet
