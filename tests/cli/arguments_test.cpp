// The conventions every verb shares: generated help, --version, and usage errors that name
// what is wrong, point at the verb's help and exit with 2.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

const char* const kVerbs[] = {"type", "image", "list", "copy", "measure", "render", "procrustes", "export", "convert"};

TEST(CliArguments, EveryVerbHasHelpWithALinePerOption) {
  TTempFolder folder;
  for (const char* verb : kVerbs) {
    const TRun help = RunCli(folder, std::string(verb) + " --help");
    ASSERT_EQ(help.Exit, 0) << verb << help.Err;
    EXPECT_EQ(help.Err, "") << verb;
    EXPECT_EQ(help.Out.find(std::string("Usage: lumacet-cli ") + verb + ' '), 0u) << help.Out;
    EXPECT_EQ(RunCli(folder, std::string("help ") + verb).Out, help.Out) << verb;
    // Each option's entry says what it does, on its own line or the next.
    std::istringstream lines(help.Out);
    std::string line;
    std::string previous;
    int options = 0;
    while (std::getline(lines, line)) {
      if (previous.starts_with("  --") && previous.size() < 28) {
        EXPECT_TRUE(line.starts_with(std::string(28, ' ')) && line.size() > 30) << verb << ": " << previous;
      }
      if (line.starts_with("  --")) ++options;
      EXPECT_LE(line.size(), 79u) << verb << ": " << line;
      previous = line;
    }
    EXPECT_GT(options, 0) << verb;
  }
  const TRun overview = RunCli(folder, "help");
  EXPECT_EQ(overview.Exit, 0);
  for (const char* verb : kVerbs) EXPECT_NE(overview.Out.find(std::string("\n  ") + verb + ' '), std::string::npos);
  const TRun version = RunCli(folder, "--version");
  EXPECT_EQ(version.Exit, 0);
  EXPECT_EQ(version.Out.find("lumacet-cli "), 0u);
}

TEST(CliArguments, UsageErrorsNameTheFaultAndPointAtTheHelp) {
  struct TCase {
    const char* Arguments;
    const char* Message;
  };
  const TCase kCases[] = {
      {"render d.csv --records 1 --out p.png --dpi 0", "lumacet-cli render: invalid value for --dpi: '0'"},
      {"render d.csv --records 1 --out p.png --dpi=1201", "lumacet-cli render: invalid value for --dpi: '1201'"},
      {"render d.csv --records 1 --out p.jpg", "lumacet-cli render: invalid value for --out: 'p.jpg'"},
      {"list d.csv --bogus", "lumacet-cli list: unrecognized option '--bogus'"},
      {"list d.csv -x", "lumacet-cli list: unrecognized option '-x'"},
      {"measure d.csv --format xml",
       "lumacet-cli measure: invalid value for --format: 'xml' (choose text, csv, tsv or json)"},
      {"measure d.csv --records 1 --name A", "lumacet-cli measure: --records and --name cannot be given together"},
      {"copy a.csv", "lumacet-cli copy: missing DEST"},
      {"copy a.csv b.csv", "lumacet-cli copy: missing --records LIST"},
      {"export d.csv --type T", "lumacet-cli export: missing --out FILE"},
      {"type a.lcr --write", "lumacet-cli type: option '--write' requires an argument"},
      {"type a.lcr --write x --write y", "lumacet-cli type: option '--write' given more than once"},
      {"type a.lcr b.lcr", "lumacet-cli type: unexpected argument 'b.lcr'"},
      {"image a.bmp --info=yes", "lumacet-cli image: option '--info' doesn't allow an argument"},
      {"convert s.csv --from A --to B --out o.csv --map =x", "lumacet-cli convert: invalid value for --map: '=x'"},
      {"procrustes d.csv --type T --pca P --import --output scores",
       "lumacet-cli procrustes: --import needs consensus, variances and loadings in --output"},
  };
  TTempFolder folder;
  for (const TCase& c : kCases) {
    const TRun run = RunCli(folder, c.Arguments);
    const std::string verb = std::string(c.Arguments).substr(0, std::string(c.Arguments).find(' '));
    EXPECT_EQ(run.Exit, 2) << c.Arguments;
    EXPECT_EQ(run.Out, "") << c.Arguments;
    EXPECT_EQ(run.Err.find(c.Message), 0u) << c.Arguments << "\n" << run.Err;
    EXPECT_TRUE(run.Err.ends_with("\nTry 'lumacet-cli " + verb + " --help'.\n")) << run.Err;
  }
  for (const char* arguments : {"", "frobnicate", "help frobnicate"}) {
    const TRun run = RunCli(folder, arguments);
    EXPECT_EQ(run.Exit, 2) << arguments;
    EXPECT_TRUE(run.Err.ends_with("Try 'lumacet-cli --help'.\n")) << run.Err;
  }
}

TEST(CliArguments, AMissingFileIsSaidToBeMissing) {
  TTempFolder folder;
  // "--write" after "--" is a file named like an option.
  for (const char* verb : {"list", "type", "type --"}) {
    const std::string name = std::string(verb) == "type --" ? "--write" : "absent.csv";
    const TRun run = RunCli(folder, std::string(verb) + " " + name);
    EXPECT_EQ(run.Exit, 1) << verb;
    EXPECT_EQ(run.Out, "") << verb;
    EXPECT_NE(run.Err.find(name + ": no such file\n"), std::string::npos) << run.Err;
  }
}

}  // namespace
}  // namespace lumacet
