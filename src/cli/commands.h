// The commands of lumacet-cli. Each command is one function in a source file of its own,
// listed once in the table of main.cpp.
#pragma once

#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumacet::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;  // main then prints the command's usage line

// `args` are the arguments after the command's name.
using TCommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct TCommand {
  const char* Name;
  const char* Arguments;  // shown after the name in the usage text
  const char* Summary;
  TCommandFunction Run;
};

// Messages are written with CR LF in the model; a terminal wants plain line breaks.
std::string TerminalText(std::string text);
// A whole number of at least 1.
std::optional<int> ParsePositive(std::string_view text);
// "3,1,7": record numbers as `list` prints them, in the order given.
std::optional<std::vector<int>> ParseRecords(std::string_view text);

int TypeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CopyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int MeasureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ProcrustesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int MoveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lumacet::cli
