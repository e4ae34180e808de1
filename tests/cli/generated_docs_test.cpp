// The man page and the completions come from the verbs' declarations and are installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace lumacet {
namespace {

using namespace test;

// What bash completes after `line` (words separated by spaces, the last one being completed).
std::string BashCompletes(const TTempFolder& folder, const std::string& script, const std::string& line) {
  WriteBytes(folder.File("completion.bash"), script);
  const std::string program = "source '" + folder.File("completion.bash") + "'; COMP_WORDS=(" + line +
                              "); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _lumacet_cli; printf '%s\\n' \"${COMPREPLY[@]}\"";
  WriteBytes(folder.File("complete.sh"), program);
  const std::string command = "cd '" + folder.Path().string() + "' && bash complete.sh > out.txt 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return ReadBytes(folder.File("out.txt"));
}

TEST(GeneratedDocs, BashCompletesVerbsOptionsAndChoices) {
  TTempFolder folder;
  const TRun bash = RunCli(folder, "--completion bash");
  ASSERT_EQ(bash.Exit, 0) << bash.Err;
  EXPECT_EQ(BashCompletes(folder, bash.Out, "lumacet-cli ren"), "render\n");
  EXPECT_EQ(BashCompletes(folder, bash.Out, "lumacet-cli render x --mo"), "--mode\n");
  EXPECT_EQ(BashCompletes(folder, bash.Out, "lumacet-cli render x --mode c"), "current\ncomparative\n");
  EXPECT_EQ(BashCompletes(folder, bash.Out, "lumacet-cli measure x --format j"), "json\n");
  const TRun zsh = RunCli(folder, "--completion zsh");
  ASSERT_EQ(zsh.Exit, 0);
  EXPECT_EQ(zsh.Out.find("#compdef lumacet-cli\n"), 0u);
  EXPECT_NE(zsh.Out.find("'--dpi[pixels per inch of a PNG (150), up to 1200]:N: '"), std::string::npos);
  EXPECT_EQ(RunCli(folder, "--completion fish").Exit, 2);
}

TEST(GeneratedDocs, TheManPageDescribesEveryOptionAndIsInstalled) {
  TTempFolder folder;
  const TRun page = RunCli(folder, "--man-page");
  ASSERT_EQ(page.Exit, 0);
  for (const char* option : {"\\-\\-dpi", "\\-\\-scores\\-table", "\\-\\-decimal\\-separator", "\\-\\-map"})
    EXPECT_NE(page.Out.find(std::string(".B ") + option), std::string::npos) << option;
  if (std::system("command -v groff > /dev/null") == 0) {
    WriteBytes(folder.File("lumacet-cli.1"), page.Out);
    const std::string check = "groff -man -Tutf8 -ww -z '" + folder.File("lumacet-cli.1") + "' 2> '" +
                              folder.File("groff.txt") + "'";
    EXPECT_EQ(std::system(check.c_str()), 0);
    EXPECT_EQ(ReadBytes(folder.File("groff.txt")), "");
  }

  // The build made the same files from the same program; the install puts them where man,
  // bash-completion and zsh look.
  const std::filesystem::path build = std::filesystem::path(LUMACET_CLI).parent_path();
  EXPECT_EQ(ReadBytes((build / "lumacet-cli.1").string()), page.Out);
  const std::string install = "cmake --install '" + build.string() + "' --prefix '" + folder.File("prefix") +
                              "' --component Unspecified > /dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  for (const char* installed : {"share/man/man1/lumacet-cli.1", "share/bash-completion/completions/lumacet-cli",
                                "share/zsh/vendor-completions/_lumacet-cli", "bin/lumacet-cli"})
    EXPECT_TRUE(std::filesystem::exists(folder.File("prefix") + "/" + installed)) << installed;
}

}  // namespace
}  // namespace lumacet
