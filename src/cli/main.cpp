// lumacet-cli: the engine's operations from the command line, one command per source file.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/generated_docs.h"
#include "imaging/image_commands.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"
#include "persistence/type_finder.h"
#include "population/record_scan.h"
#include "shell/settings_options.h"
#include "support/version.h"

namespace lumacet::cli {

namespace {

constexpr TCommand kCommands[] = {
    {"type", "Load a radiograph type, list its elements and what refers to them, rename or delete one, save it again.", TypeCommand},
    {"image", "Read an image as the program does, describe it, optionally write its raw samples.", ImageCommand},
    {"list", "List the records of a data file as the record browser does, one per line, fields separated by TAB.",
     ListCommand},
    {"copy", "Copy records into another data file.", CopyCommand},
    {"measure", "Measure the chosen records: their analysis text, or a table of their values.", MeasureCommand},
    {"render", "Paint the tracings of records superimposed, with their analysis labels, into a picture.",
     RenderCommand},
    {"procrustes",
     "Superimpose the points of a PCA over the records of a type and report the principal components.",
     ProcrustesCommand},
    {"export",
     "Append a table of every record of a type (an analysis's measurements or a drawing's point coordinates), "
     "or write their landmarks (a drawing's, a PCA's or all digitized points) as TPS or MorphoJ.",
     ExportCommand},
    {"move", "Apply one movement (millimetres, degrees) to a record and print the measurements it changed.",
     MoveCommand},
    {"convert",
     "Rewrite records as records of another type, point by point by name, and append them to another data file.",
     ConvertCommand},
    {"fit", "Fit the snakes of a record to the edges of its image and print how far each point moved.", FitCommand},
    {"mean",
     "Average the tracings of records superimposed on the first, into one mean radiograph or pair by pair.",
     MeanCommand},
    {"sort", "Order records by how much their shape is like one record's, and print or append the best or worst.",
     SortCommand},
    {"predict",
     "Predict the landmarks of records not yet placed from those placed, by the shape model of a data file.",
     PredictCommand},
    {"morph", "Warp the image of one record so that it follows the tracing of another, as the Morph command does.",
     MorphCommand},
    {"edge", "Print the edges the edge lock finds along a line of an image.", EdgeCommand},
    {"report",
     "Lay out the extended report of up to four records (headers, tracings, measurements with norms, deviation "
     "graphs) as a PDF or SVG.",
     ReportCommand},
    {"print",
     "Print records as the program prints them (the tracing page, the text analysis, the extended report) on a "
     "printer or into a PDF file.",
     PrintCommand},
};

const TCommand* FindCommand(std::string_view name) {
  for (const TCommand& command : kCommands)
    if (name == command.Name) return &command;
  return nullptr;
}

void PrintOverview(std::ostream& stream) {
  stream << "Usage: lumacet-cli COMMAND [ARGUMENT]...\n"
            "       lumacet-cli help COMMAND | --help | --version | --man-page | --completion bash|zsh\n\n"
            "Commands:\n";
  for (const TCommand& command : kCommands) PrintHelpEntry(stream, command.Name, command.Summary);
  stream << "\nRun 'lumacet-cli COMMAND --help' for the options of a command.\n";
}

int Run(const TCommand& command, std::vector<std::string> args) {
  TArgumentParser parser(command.Name, command.Summary, std::move(args), std::cout, std::cerr);
  return command.Run(parser, std::cout, std::cerr);
}

// Every verb's declarations, collected by running it with a parser that only describes.
std::vector<TArgumentParser> Declarations() {
  static std::ostringstream ignored;
  std::vector<TArgumentParser> verbs;
  for (const TCommand& command : kCommands) {
    verbs.push_back(TArgumentParser::Describer(command.Name, command.Summary, ignored, ignored));
    command.Run(verbs.back(), ignored, ignored);
  }
  return verbs;
}

int Unknown(std::string_view name) {
  std::cerr << "lumacet-cli: unknown command '" << name << "'\nTry 'lumacet-cli --help'.\n";
  return kExitUsage;
}

}  // namespace

std::string TerminalText(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

TXRayElement* MatchElement(const TXRayType& type, const std::string& name, int code, std::string_view what,
                           std::string& error) {
  if (TXRayElement* exact = type.FindElement(name, code)) return exact;
  auto folded = [](std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
  };
  std::vector<TXRayElement*> matches;
  std::string names;
  std::string matching;
  for (const auto& element : type.ElementList(code)) {
    names += (names.empty() ? "'" : ", '") + element->Name + "'";
    if (folded(element->Name) != folded(name)) continue;
    matches.push_back(element.get());
    matching += (matching.empty() ? "'" : ", '") + element->Name + "'";
  }
  if (matches.size() == 1) return matches.front();
  error = matches.empty() ? "the type '" + type.Name + "' has no " + std::string(what) + " '" + name + "' (it has " +
                                (names.empty() ? std::string("none") : names) + ")"
                          : "'" + name + "' could be any of " + matching + " of the type '" + type.Name +
                                "': give the name exactly";
  return nullptr;
}

std::optional<std::vector<int>> ChosenRecords(const std::optional<std::vector<int>>& chosen, const std::string& path,
                                              std::ostream& err) {
  if (chosen) return chosen;
  std::optional<std::vector<int>> all = AllRecords(path);
  if (!all) err << TText(kFileReadErrorMessage, {path}).English() << '\n';
  return all;
}

bool LoadRecord(TXRay& xray, const std::string& dataFile, int record, const TTypeResolver& types, std::ostream& err) {
  const int stage = LoadFromDataFile(xray, dataFile, record, types, {});
  if (stage == lsLoaded) return true;
  err << "Record " << record << " of " << dataFile << " cannot be read: " << LoadStageProblem(stage).English() << ".\n";
  return false;
}

std::optional<std::vector<std::unique_ptr<TXRay>>> LoadRecords(const std::string& dataFile, const std::vector<int>& records,
                                                               TTypeCache& types, const TSettings& settings, bool images,
                                                               std::ostream& err) {
  const TTypeResolver resolver = types.Resolver();
  std::vector<std::unique_ptr<TXRay>> loaded;
  for (int record : records) {
    auto xray = std::make_unique<TXRay>();
    if (!LoadRecord(*xray, dataFile, record, resolver, err)) return std::nullopt;
    if (images && !xray->ImageFile.empty()) {
      TImageLoadSettings imageSettings = ImageLoadSettings(settings);
      imageSettings.DefaultFolder = std::filesystem::path(dataFile).parent_path().string();
      if (TResultOf<TLoadedImage> image = LoadImageWithTracing(*xray, xray->Image, imageSettings); !image) {
        err << "Record " << record << ": " << TerminalText(image.Text().English()) << '\n';
        return std::nullopt;
      }
    }
    loaded.push_back(std::move(xray));
  }
  return loaded;
}

bool SaveRecordBack(TXRay& xray, const std::string& dataFile, std::ostream& err) {
  const TResult saved = ReplaceInDataFile(xray, dataFile, {});
  const TText& said = saved ? saved.Notice() : saved.TextWithReason();
  if (!said.Empty()) err << TerminalText(said.English()) << '\n';
  return saved.Ok();
}

std::string TypeFolder(const std::optional<std::string>& types, const std::string& dataFile) {
  std::string folder = types.value_or(std::filesystem::path(dataFile).parent_path().string());
  return folder.empty() ? "." : folder;
}

TXRayType* NeedType(TTypeCache& types, const std::string& name, const std::string& folder, std::ostream& err) {
  if (FindTypeFile(folder, name).empty()) {
    err << "lumacet-cli: no type file of the type '" << name << "' in " << folder << " (set --types)\n";
    return nullptr;
  }
  TResultOf<TXRayType*> type = types.GetOrLoadType(name);
  if (!type) err << TerminalText(type.Text().English()) << '\n';
  return type ? *type : nullptr;
}

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << "lumacet-cli: missing command\nTry 'lumacet-cli --help'.\n";
    return kExitUsage;
  }
  if (args[0] == "--version") {
    std::cout << "lumacet-cli " << ProgramVersion() << '\n';
    return kExitOk;
  }
  // What the build installs: the man page and the completions of bash and zsh.
  if (args[0] == "--man-page" && args.size() == 1) {
    std::cout << ManPage(Declarations(), std::string(ProgramVersion()));
    return kExitOk;
  }
  if (args[0] == "--completion" && args.size() == 2 && (args[1] == "bash" || args[1] == "zsh")) {
    std::cout << (args[1] == "bash" ? BashCompletion(Declarations()) : ZshCompletion(Declarations()));
    return kExitOk;
  }
  if (args[0] == "--help" || args[0] == "-h" || (args[0] == "help" && args.size() == 1)) {
    PrintOverview(std::cout);
    return kExitOk;
  }
  if (args[0] == "help") {
    const TCommand* command = FindCommand(args[1]);
    return command == nullptr || args.size() > 2 ? Unknown(args[1]) : Run(*command, {"--help"});
  }
  const TCommand* command = FindCommand(args[0]);
  if (command == nullptr) return Unknown(args[0]);
  return Run(*command, {args.begin() + 1, args.end()});
}

}  // namespace lumacet::cli

int main(int argc, char** argv) { return lumacet::cli::Main(argc, argv); }
