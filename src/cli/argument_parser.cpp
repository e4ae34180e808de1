#include "cli/argument_parser.h"

#include <algorithm>

#include "cli/commands.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

constexpr size_t kHelpColumn = 28;
constexpr size_t kLineWidth = 79;

// Words of `text` filled into lines of `width` characters after `indent` spaces, the first
// line continuing `line`.
void Wrapped(std::ostream& stream, std::string line, const std::string& text, size_t indent) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (line.size() > indent && line.size() + 1 + word.size() > kLineWidth) {
      stream << line << '\n';
      line = std::string(indent, ' ');
    } else if (line.size() > indent) {
      line += ' ';
    }
    line += word;
    start = end + 1;
  }
  stream << line << '\n';
}

}  // namespace

void PrintHelpEntry(std::ostream& stream, const std::string& left, const std::string& help) {
  std::string line = "  " + left;
  if (line.size() + 2 > kHelpColumn) {
    stream << line << '\n';
    line.clear();
  }
  line.resize(kHelpColumn, ' ');
  Wrapped(stream, line, help, kHelpColumn);
}

TArgumentParser::TArgumentParser(std::string verb, std::string summary, std::vector<std::string> args,
                                 std::ostream& out, std::ostream& err, bool describing)
    : fVerb(std::move(verb)), fSummary(std::move(summary)), fArgs(std::move(args)), fOut(out), fErr(err),
      fDescribing(describing) {}

TArgumentParser::TArgumentParser(std::string verb, std::string summary, std::vector<std::string> args,
                                 std::ostream& out, std::ostream& err)
    : TArgumentParser(std::move(verb), std::move(summary), std::move(args), out, err, false) {}

TArgumentParser TArgumentParser::Describer(std::string verb, std::string summary, std::ostream& out,
                                           std::ostream& err) {
  return TArgumentParser(std::move(verb), std::move(summary), {}, out, err, true);
}

TArgumentParser::TOptionInfo& TArgumentParser::Declare(TOptionInfo info, std::function<bool(std::string_view)> apply) {
  fApply.push_back(std::move(apply));
  return fOptions.emplace_back(std::move(info));
}

void TArgumentParser::Operand(std::string name, std::string help, std::string& target, bool required,
                              TValueKind kind) {
  fOperands.push_back({std::move(name), std::move(help), required, kind});
  fOperandTargets.push_back(&target);
}

TArgumentParser::TOptionInfo& TArgumentParser::Flag(std::string name, std::string help, bool& target, bool value) {
  return Declare({std::move(name), {}, std::move(help)}, [&target, value](std::string_view) {
    target = value;
    return true;
  });
}

TArgumentParser::TOptionInfo& TArgumentParser::Option(std::string name, std::string valueName, std::string help, std::string& target,
                             TValueKind kind) {
  return Declare({std::move(name), std::move(valueName), std::move(help), kind}, [&target](std::string_view text) {
    target = text;
    return !text.empty();
  });
}

TArgumentParser::TOptionInfo& TArgumentParser::Option(std::string name, std::string valueName, std::string help,
                             std::optional<std::string>& target, TValueKind kind) {
  return Declare({std::move(name), std::move(valueName), std::move(help), kind}, [&target](std::string_view text) {
    target = std::string(text);
    return !text.empty();
  });
}

TArgumentParser::TOptionInfo& TArgumentParser::Repeated(std::string name, std::string valueName, std::string help,
                               std::function<bool(std::string_view)> add) {
  TOptionInfo info{std::move(name), std::move(valueName), std::move(help)};
  info.Repeatable = true;
  return Declare(std::move(info), std::move(add));
}

void TArgumentParser::Exclusive(std::vector<std::string> names) { fExclusive.push_back(std::move(names)); }

bool TArgumentParser::Given(std::string_view name) const {
  return std::find(fGiven.begin(), fGiven.end(), name) != fGiven.end();
}

int TArgumentParser::Fail(const std::string& message) const {
  fErr << "lumacet-cli " << fVerb << ": " << message << "\nTry 'lumacet-cli " << fVerb << " --help'.\n";
  return kExitUsage;
}

std::optional<int> TArgumentParser::Parse() {
  if (fDescribing) return kExitOk;
  size_t operand = 0;
  bool optionsEnded = false;
  for (size_t i = 0; i < fArgs.size(); ++i) {
    const std::string& arg = fArgs[i];
    if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
      if (operand == fOperands.size()) return Fail("unexpected argument '" + arg + "'");
      *fOperandTargets[operand++] = arg;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      PrintHelp(fOut);
      return kExitOk;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    auto found = std::find_if(fOptions.begin(), fOptions.end(), [&](const TOptionInfo& o) { return o.Name == name; });
    if (!name.starts_with("--") || found == fOptions.end()) return Fail("unrecognized option '" + name + "'");
    const TOptionInfo& option = *found;
    if (!option.Repeatable && Given(name)) return Fail("option '" + name + "' given more than once");
    std::string value;
    if (option.ValueName.empty()) {
      if (equals != std::string::npos) return Fail("option '" + name + "' doesn't allow an argument");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < fArgs.size()) {
      value = fArgs[++i];
    } else {
      return Fail("option '" + name + "' requires an argument");
    }
    fGiven.push_back(name);
    if (!fApply[static_cast<size_t>(found - fOptions.begin())](value)) {
      std::string message = "invalid value for " + name + ": '" + value + "'";
      if (!option.Choices.empty()) {
        message += " (choose ";
        for (size_t c = 0; c < option.Choices.size(); ++c)
          message += (c == 0 ? "" : c + 1 == option.Choices.size() ? " or " : ", ") + option.Choices[c];
        message += ')';
      }
      return Fail(message);
    }
  }
  for (size_t k = operand; k < fOperands.size(); ++k)
    if (fOperands[k].Required) return Fail("missing " + fOperands[k].Name);
  for (const TOptionInfo& option : fOptions)
    if (option.Required && !Given(option.Name)) return Fail("missing " + option.Name + ' ' + option.ValueName);
  for (const std::vector<std::string>& group : fExclusive) {
    std::vector<std::string> given;
    for (const std::string& name : group)
      if (Given(name)) given.push_back(name);
    if (given.size() > 1) return Fail(given[0] + " and " + given[1] + " cannot be given together");
  }
  return std::nullopt;
}

std::string TArgumentParser::UsageLine() const {
  std::string line = "lumacet-cli " + fVerb;
  for (const TOperandInfo& operand : fOperands) line += ' ' + (operand.Required ? operand.Name : '[' + operand.Name + ']');
  for (const TOptionInfo& option : fOptions)
    if (option.Required) line += ' ' + option.Name + ' ' + option.ValueName;
  return line + " [OPTION]...";
}

void TArgumentParser::PrintHelp(std::ostream& stream) const {
  Wrapped(stream, "Usage: ", UsageLine(), 7);
  Wrapped(stream, "", fSummary, 0);
  stream << '\n';
  for (const TOperandInfo& operand : fOperands) PrintHelpEntry(stream, operand.Name, operand.Help);
  stream << "\nOptions:\n";
  for (const TOptionInfo& option : fOptions)
    PrintHelpEntry(stream, option.Name + (option.ValueName.empty() ? "" : ' ' + option.ValueName),
              option.Help + (option.Repeatable ? " (may be given more than once)" : ""));
  PrintHelpEntry(stream, "-h, --help", "print this help and exit");
}

TConvert<int> PositiveUpTo(int maximum) {
  return [maximum](std::string_view text) -> std::optional<int> {
    std::optional<int32_t> value = ParseFileInt(text);
    if (!value || *value < 1 || *value > maximum) return std::nullopt;
    return *value;
  };
}

TConvert<std::string> AnyText() {
  return [](std::string_view text) { return std::optional<std::string>(std::string(text)); };
}

TConvert<std::vector<int>> RecordList() {
  return [](std::string_view text) -> std::optional<std::vector<int>> {
    const TConvert<int> positive = PositiveUpTo(INT32_MAX);
    std::vector<int> records;
    while (true) {
      const size_t comma = text.find(',');
      std::optional<int> record = positive(text.substr(0, comma));
      if (!record) return std::nullopt;
      records.push_back(*record);
      if (comma == std::string_view::npos) return records;
      text.remove_prefix(comma + 1);
    }
  };
}

}  // namespace lumacet::cli
