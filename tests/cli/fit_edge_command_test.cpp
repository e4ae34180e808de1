#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "digitize/edge_scene.h"

namespace lumacet {
namespace {

using namespace test;

// ---- edge -----------------------------------------------------------------------------

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Element(std::string& out, std::uint32_t group, std::uint32_t element, const std::string& value) {
  Put16(out, group);
  Put16(out, element);
  Put16(out, static_cast<std::uint32_t>(value.size() & 0xFFFF));
  Put16(out, static_cast<std::uint32_t>(value.size() >> 16));
  out += value;
}
std::string Us(std::uint32_t v) {
  std::string s;
  Put16(s, v);
  return s;
}

// A bare implicit little-endian DICOM data set of 12-bit samples, 0.1 mm pixels.
std::string Dicom12(const TRawImage& raw) {
  std::string data;
  Element(data, 0x0028, 0x0002, Us(1));
  Element(data, 0x0028, 0x0004, "MONOCHROME2 ");
  Element(data, 0x0028, 0x0010, Us(static_cast<std::uint32_t>(raw.Height)));
  Element(data, 0x0028, 0x0011, Us(static_cast<std::uint32_t>(raw.Width)));
  Element(data, 0x0028, 0x0030, "0.1\\0.1 ");
  Element(data, 0x0028, 0x0100, Us(16));
  Element(data, 0x0028, 0x0101, Us(12));
  Element(data, 0x0028, 0x0102, Us(11));
  Element(data, 0x0028, 0x0103, Us(0));
  Element(data, 0x7FE0, 0x0010, std::string(raw.Samples.begin(), raw.Samples.end()));
  return data;
}

// Pixel columns of the two edges: a strong rise and a weaker fall.
constexpr double kRise = 80.4;
constexpr double kFall = 130.4;

struct TEdgeLine {
  double X = 0;
  double Y = 0;
  double Strength = 0;
  bool Chosen = false;
};

double Number(std::string_view text) {
  double value = NAN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// "X<TAB>Y<TAB>STRENGTH" per edge and "chosen<TAB>X<TAB>Y". Rounding leaves zero crossings
// of no strength on flat stretches; the edges kept are those of at least 1 % of the largest.
std::vector<TEdgeLine> Edges(const std::string& out) {
  std::vector<TEdgeLine> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string_view line(out.data() + start, end - start);
    TEdgeLine edge;
    if (line.starts_with("chosen\t")) {
      edge.Chosen = true;
      line.remove_prefix(7);
    }
    const std::size_t tab = line.find('\t');
    edge.X = Number(line.substr(0, tab));
    const std::size_t second = line.find('\t', tab + 1);
    edge.Y = Number(line.substr(tab + 1, second - tab - 1));
    if (!edge.Chosen) edge.Strength = Number(line.substr(second + 1));
    lines.push_back(edge);
  }
  double largest = 0;
  for (const TEdgeLine& edge : lines) largest = std::max(largest, edge.Strength);
  std::erase_if(lines, [&](const TEdgeLine& edge) { return !edge.Chosen && edge.Strength < largest / 100; });
  return lines;
}

class EdgeCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TImageStore image = Picture(220, 100, 12, 0, 5, [](double x, double) {
      return 0.2 + 0.45 * BlurredStep(x - kRise, 1.2) - 0.2 * BlurredStep(x - kFall, 1.2);
    });
    WriteBytes(picture, Dicom12(image.Raw));
  }
  TRun Run(const std::string& options) { return RunCli(folder, "edge '" + picture + "' " + options); }

  TTempFolder folder;
  const std::string picture = folder.File("edges.dcm");
};

TEST_F(EdgeCommandTest, PrintsTheEdgesAlongTheLineAndTheOneTheChoiceNames) {
  struct TCase {
    std::string Options;
    std::vector<double> Edges;  // x of every edge printed
    double Chosen;
    double Scale;  // tracing units per pixel
  };
  const std::vector<TCase> cases = {
      {"--line 60,50,160,50 --pixels", {kRise, kFall}, kRise, 1},
      {"--line 60,50,160,50 --pixels --choice closest", {kRise, kFall}, kFall, 1},
      {"--line 60,50,160,50 --pixels --choice between-most-prominent", {kRise, kFall}, (kRise + kFall) / 2, 1},
      {"--line 60,50,160,50 --pixels --transition white-to-black", {kFall}, kFall, 1},
      {"--line 160,50,60,50 --pixels --transition white-to-black", {kRise}, kRise, 1},
      // The file's 0.1 mm pixels are one tracing unit; --pixel-size overrides them.
      {"--line 60,50,160,50", {kRise, kFall}, kRise, 1},
      {"--line 120,100,320,100 --pixel-size 0.2", {2 * kRise, 2 * kFall}, 2 * kRise, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Options);
    const TRun run = Run(c.Options);
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const std::vector<TEdgeLine> lines = Edges(run.Out);
    ASSERT_EQ(lines.size(), c.Edges.size() + 1) << run.Out;
    for (std::size_t i = 0; i < c.Edges.size(); ++i) {
      EXPECT_FALSE(lines[i].Chosen);
      // Edges are printed in the order the line meets them.
      const double expected = c.Options.starts_with("--line 160") ? c.Edges[c.Edges.size() - 1 - i] : c.Edges[i];
      EXPECT_NEAR(lines[i].X, expected, 0.5 * c.Scale) << run.Out;
      EXPECT_NEAR(lines[i].Y, 50 * c.Scale, 0.01) << run.Out;
    }
    EXPECT_TRUE(lines.back().Chosen);
    EXPECT_NEAR(lines.back().X, c.Chosen, 0.5 * c.Scale) << run.Out;
  }
}

TEST_F(EdgeCommandTest, RefusesBadInputWithAMessage) {
  const std::string flat = folder.File("flat.dcm");
  WriteBytes(flat, Dicom12(Picture(100, 100, 12, 0, 1, [](double, double) { return 0.5; }).Raw));
  struct TCase {
    std::string Arguments;
    int Exit;
    std::string Error;  // the start of stderr, when it is ours
  };
  const std::vector<TCase> cases = {
      {"'" + flat + "' --line 10,50,90,50 --pixels", 1, "No edge found along the line.\n"},
      {"'" + picture + "' --line 500,50,600,50 --pixels", 1, "No edge found along the line.\n"},
      {"'" + folder.File("missing.dcm") + "' --line 1,2,3,4", 1, ""},
      {"'" + picture + "' --line 1,2,3", 2, ""},
      {"'" + picture + "' --line 1,2,3,x", 2, ""},
      {"'" + picture + "'", 2, ""},
      {"'" + picture + "' --line 1,2,3,4 --pixel-size 0", 2, ""},
      {"'" + picture + "' --line 1,2,3,4 --choice nearest", 2, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const TRun run = RunCli(folder, "edge " + c.Arguments);
    EXPECT_EQ(run.Exit, c.Exit) << run.Err;
    EXPECT_TRUE(run.Out.empty()) << run.Out;
    EXPECT_FALSE(run.Err.empty());
    if (!c.Error.empty()) {
      EXPECT_EQ(run.Err, c.Error);
    }
  }
}

// ---- fit ------------------------------------------------------------------------------

// The example patients and their films copied, so that --save has a file of its own.
class FitCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"PATIENT.CSV", "emma_lindqvist_2018.jpg", "emma_lindqvist_2022.jpg"})
      std::filesystem::copy_file(kExamples + "/" + name, folder.File(name));
    original = ReadBytes(data);
  }
  TRun Run(const std::string& options) {
    return RunCli(folder, "fit '" + data + "' --types '" + kExamples + "' " + options);
  }

  TTempFolder folder;
  const std::string data = folder.File("PATIENT.CSV");
  std::string original;
};

TEST_F(FitCommandTest, FitsTheNamedSnakesPrintsHowFarEachPointMovedAndSavesOnlyWhenTold) {
  TRun run = Run("--records 1 --snakes Symphysis,Maxilla");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_TRUE(run.Out.starts_with("Symphysis: 16 points, mean ")) << run.Out;
  EXPECT_NE(run.Out.find("\nMaxilla: 10 points, mean "), std::string::npos) << run.Out;
  EXPECT_EQ(run.Out.find("Mandibular border"), std::string::npos) << run.Out;
  // The automatic points on the fitted snakes follow them, each to a place of its own.
  auto movedTo = [&](const std::string& point) {
    const std::size_t at = run.Out.find("\n" + point + ": ");
    if (at == std::string::npos) return std::string();
    const std::size_t line = run.Out.find('\n', at + 1);
    return run.Out.substr(run.Out.find("-> ", at), line - run.Out.find("-> ", at));
  };
  EXPECT_FALSE(movedTo("Pog").empty()) << run.Out;
  EXPECT_NE(movedTo("Pog"), movedTo("Me")) << run.Out;
  EXPECT_NE(movedTo("Pog"), movedTo("B")) << run.Out;
  EXPECT_EQ(ReadBytes(data), original);

  run = Run("--records 1 --save");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Soft tissue profile: "), std::string::npos) << run.Out;
  const std::string saved = ReadBytes(data);
  EXPECT_NE(saved, original);
  // The fitted record still reads and measures.
  run = RunCli(folder, "measure '" + data + "' --types '" + kExamples + "' --records 1");
  EXPECT_EQ(run.Exit, 0) << run.Err;
}

TEST_F(FitCommandTest, RefusesWithoutTouchingTheFile) {
  std::filesystem::remove(folder.File("emma_lindqvist_2018.jpg"));
  struct TCase {
    std::string Options;
    int Exit;
    std::string Error;
  };
  const std::vector<TCase> cases = {
      {"--records 2 --snakes Nope", 1, "The type has no snake named 'Nope'.\n"},
      {"--records 1", 1, ""},  // its film is gone
      {"--records 99", 1, ""},
      {"", 2, ""},
      {"--records 0", 2, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Options);
    const TRun run = Run(c.Options + " --save");
    EXPECT_EQ(run.Exit, c.Exit) << run.Out;
    EXPECT_FALSE(run.Err.empty());
    if (!c.Error.empty()) {
      EXPECT_EQ(run.Err, c.Error);
    }
    EXPECT_EQ(ReadBytes(data), original);
  }
}

}  // namespace
}  // namespace lumacet
