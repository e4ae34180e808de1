// The one argument parser of every lumacet-cli verb. A verb declares its operands and options,
// each bound to the variable it fills and with a line of help, and then parses:
//
//   TRenderArguments a;
//   parser.Operand("DATAFILE", "the data file", a.DataFile);
//   parser.Option("--dpi", "N", "resolution of a PNG", a.Dpi, PositiveUpTo(1200));
//   parser.Flag("--no-grid", "leave the grid out", a.NoGrid);
//   parser.Option("--out", "FILE", "the picture", a.Out, TValueKind::File).Required = true;
//   if (std::optional<int> exit = parser.Parse()) return *exit;
//
// Help, the usage line, the man page and the shell completions are generated from these
// declarations: `lumacet-cli help VERB` runs the verb with a parser that only collects them,
// so a verb declares everything before its first Parse() and does nothing else before it.
// Errors follow the GNU wording on stderr, followed by "Try 'lumacet-cli VERB --help'.", exit 2.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace lumacet::cli {

// What completion offers for a value.
enum class TValueKind { Text, File, Folder, Choice };

// Turns an option's text into its value; nullopt when the text is not a valid value.
template <typename T>
using TConvert = std::function<std::optional<T>(std::string_view)>;

class TArgumentParser {
 public:
  struct TOptionInfo {
    std::string Name;       // "--dpi"
    std::string ValueName;  // "N"; empty for a flag
    std::string Help;
    TValueKind Kind = TValueKind::Text;
    std::vector<std::string> Choices;
    bool Required = false;  // set on what a declaration returns: the option must be given
    bool Repeatable = false;
  };
  struct TOperandInfo {
    std::string Name;  // "DATAFILE"
    std::string Help;
    bool Required = true;
    TValueKind Kind = TValueKind::File;
  };

  // Parses `args` (what follows the verb's name) for the verb; help goes to `out`, errors to `err`.
  TArgumentParser(std::string verb, std::string summary, std::vector<std::string> args, std::ostream& out,
                  std::ostream& err);
  // Collects the declarations only: Parse() then returns kExitOk at once.
  static TArgumentParser Describer(std::string verb, std::string summary, std::ostream& out, std::ostream& err);

  // A word on the command line that is not an option, in the order declared.
  void Operand(std::string name, std::string help, std::string& target, bool required = true,
               TValueKind kind = TValueKind::File);
  // --name: sets `target` to `value`.
  TOptionInfo& Flag(std::string name, std::string help, bool& target, bool value = true);
  // --name VALUE taken as it is (a non-empty text).
  TOptionInfo& Option(std::string name, std::string valueName, std::string help, std::string& target,
              TValueKind kind = TValueKind::Text);
  TOptionInfo& Option(std::string name, std::string valueName, std::string help, std::optional<std::string>& target,
              TValueKind kind = TValueKind::Text);
  // --name VALUE converted; an invalid value is a usage error naming it.
  template <typename T>
  TOptionInfo& Option(std::string name, std::string valueName, std::string help, std::optional<T>& target,
              std::type_identity_t<TConvert<T>> convert) {
    return Declare({std::move(name), std::move(valueName), std::move(help)}, [&target, convert](std::string_view text) {
      target = convert(text);
      return target.has_value();
    });
  }
  // --name CHOICE, one of the names listed, each standing for a value.
  template <typename T>
  TOptionInfo& Choice(std::string name, std::string help, T& target,
              std::vector<std::pair<std::string, std::type_identity_t<T>>> choices) {
    TOptionInfo info{std::move(name), {}, std::move(help), TValueKind::Choice};
    for (const auto& choice : choices) {
      info.ValueName += (info.ValueName.empty() ? "" : "|") + choice.first;
      info.Choices.push_back(choice.first);
    }
    return Declare(std::move(info), [&target, choices = std::move(choices)](std::string_view text) {
      for (const auto& choice : choices)
        if (choice.first == text) {
          target = choice.second;
          return true;
        }
      return false;
    });
  }
  // --name VALUE that may be given more than once; `add` takes each and says whether it is valid.
  TOptionInfo& Repeated(std::string name, std::string valueName, std::string help, std::function<bool(std::string_view)> add);

  // At most one of these options may be given.
  void Exclusive(std::vector<std::string> names);

  // Nullopt: go on with the values filled in. Otherwise the verb ends with the exit status
  // returned: after --help (its help printed, 0), or after a usage error (reported, 2).
  std::optional<int> Parse();
  // Whether the option was on the command line (after Parse()).
  bool Given(std::string_view name) const;
  // A usage error the verb finds after parsing (options that do not go together).
  int Fail(const std::string& message) const;

  const std::string& Verb() const { return fVerb; }
  const std::string& Summary() const { return fSummary; }
  const std::vector<TOptionInfo>& Options() const { return fOptions; }
  const std::vector<TOperandInfo>& Operands() const { return fOperands; }
  // "lumacet-cli render DATAFILE --records LIST --out FILE [OPTION]..."
  std::string UsageLine() const;
  void PrintHelp(std::ostream& stream) const;

 private:
  TArgumentParser(std::string verb, std::string summary, std::vector<std::string> args, std::ostream& out,
                  std::ostream& err, bool describing);
  TOptionInfo& Declare(TOptionInfo info, std::function<bool(std::string_view)> apply);

  std::string fVerb;
  std::string fSummary;
  std::vector<std::string> fArgs;
  std::ostream& fOut;
  std::ostream& fErr;
  bool fDescribing;
  std::vector<TOptionInfo> fOptions;
  std::vector<std::function<bool(std::string_view)>> fApply;
  std::vector<TOperandInfo> fOperands;
  std::vector<std::string*> fOperandTargets;
  std::vector<std::vector<std::string>> fExclusive;
  std::vector<std::string> fGiven;
};

// "  NAME   help wrapped into the help column": one entry of a help text.
void PrintHelpEntry(std::ostream& stream, const std::string& left, const std::string& help);

// Converters for TArgumentParser::Option.
// A whole number from 1 to `maximum`.
TConvert<int> PositiveUpTo(int maximum);
// Any text, the empty one too.
TConvert<std::string> AnyText();
// "3,1,7": record numbers as `list` prints them, in the order given.
TConvert<std::vector<int>> RecordList();

}  // namespace lumacet::cli
