// lumacet-cli convert SOURCE --from TYPE --to TYPE --out DATAFILE [--types DIR]
// [--records LIST] [--map TARGET=SOURCE ...]: rewrites records of one radiograph type as
// records of another and appends them to DATAFILE; SOURCE is never changed. Every point of
// the target type takes the source point of the same name unless --map names another
// ("<none>" leaves it undigitized). Without --records every record of SOURCE is taken;
// records of other types are passed over. Types are looked up in SOURCE's folder unless
// --types names another. The total is printed on stdout; progress goes to stderr while it
// is a terminal.
#include <filesystem>
#include <optional>

#include "cli/commands.h"
#include "cli/progress_line.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "population/type_conversion.h"

namespace lumacet::cli {

namespace {

struct TConvertArguments {
  std::string Source;
  std::string From;
  std::string To;
  std::string Out;
  std::optional<std::string> Types;
  std::optional<std::vector<int>> Records;
  std::vector<TCorrespondence> Map;
};

std::optional<TConvertArguments> ParseArguments(const std::vector<std::string>& args) {
  TConvertArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (!arg.starts_with("--")) {
      if (!parsed.Source.empty() || arg.empty()) return std::nullopt;
      parsed.Source = arg;
    } else if (!hasValue) {
      return std::nullopt;
    } else if (arg == "--from" && parsed.From.empty()) {
      parsed.From = args[++i];
    } else if (arg == "--to" && parsed.To.empty()) {
      parsed.To = args[++i];
    } else if (arg == "--out" && parsed.Out.empty()) {
      parsed.Out = args[++i];
    } else if (arg == "--types" && !parsed.Types) {
      parsed.Types = args[++i];
    } else if (arg == "--records" && !parsed.Records) {
      parsed.Records = ParseRecords(args[++i]);
      if (!parsed.Records) return std::nullopt;
    } else if (arg == "--map") {
      const std::string& pair = args[++i];
      const size_t equals = pair.find('=');
      if (equals == std::string::npos || equals == 0) return std::nullopt;
      parsed.Map.push_back({pair.substr(0, equals), pair.substr(equals + 1)});
    } else {
      return std::nullopt;
    }
  }
  if (parsed.Source.empty() || parsed.From.empty() || parsed.To.empty() || parsed.Out.empty()) return std::nullopt;
  return parsed;
}

// Every line number of the file, for a run over all its records.
std::optional<std::vector<int>> AllRecords(const std::string& path) {
  TDataFileIndex file;
  std::vector<int> records;
  if (!file.Open(path) || !file.ForEachLine([&](size_t number, std::string_view) {
        records.push_back(static_cast<int>(number));
        return true;
      }))
    return std::nullopt;
  return records;
}

}  // namespace

int ConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<TConvertArguments> arguments = ParseArguments(args);
  if (!arguments) return kExitUsage;

  std::string typeFolder = arguments->Types.value_or(std::filesystem::path(arguments->Source).parent_path().string());
  if (typeFolder.empty()) typeFolder = ".";
  TTypeCache types({"", typeFolder});
  TResultOf<TXRayType*> source = types.GetOrLoadType(arguments->From);
  TResultOf<TXRayType*> target = source ? types.GetOrLoadType(arguments->To) : source;
  if (!target) {
    err << TerminalText(target.Text().English()) << '\n';
    return kExitFailure;
  }
  TCorrespondenceTable table;
  table.SetSourceType(**source);
  table.SetTargetType(**target);
  for (const TCorrespondence& pair : arguments->Map) {
    if (!table.Assign(pair.Target, pair.Source)) {
      err << "Cannot map '" << pair.Target << "' to '" << pair.Source << "': '" << arguments->To
          << "' needs a digitized point of its own on the left and '" << arguments->From
          << "' one of its digitized points (or " << kNoCorrespondence << ") on the right.\n";
      return kExitFailure;
    }
  }

  TTypeConversionOptions options;
  options.SourceFile = arguments->Source;
  options.SourceType = arguments->From;
  options.TargetType = arguments->To;
  options.TargetFile = arguments->Out;
  options.Correspondences = table.Rows();
  if (arguments->Records) {
    options.Records = *arguments->Records;
  } else if (std::optional<std::vector<int>> all = AllRecords(arguments->Source)) {
    options.Records = std::move(*all);
  } else {
    err << TText(kFileReadErrorMessage, {arguments->Source}).English() << '\n';
    return kExitFailure;
  }

  TProgressLine progressLine;
  const TConversionResult result = ConvertType(options, {types.Resolver(), {}},
                                               [&](const std::string& status) { return progressLine.Show(status); });
  progressLine.Finish();
  for (const std::string& error : result.SaveErrors) err << TText(kSaveErrorMessage).English() << ' ' << error << '\n';
  if (!result.Ok) {
    err << TerminalText(result.Message) << (result.Reason.empty() ? "" : " (" + result.Reason + ")") << '\n';
    return kExitFailure;
  }
  out << TerminalText(result.Message) << '\n';
  return result.SaveErrors.empty() ? kExitOk : kExitFailure;
}

}  // namespace lumacet::cli
