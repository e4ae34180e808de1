// lumacet-cli: the engine's operations from the command line, one command per source file.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

constexpr TCommand kCommands[] = {
    {"type", "FILE [--write OUT]", "load a radiograph type, list its elements, optionally save it again", TypeCommand},
    {"image", "FILE [--info] [--frame N] [--out OUT.pgm|OUT.ppm|OUT.png]",
     "read an image as the program does, describe it, optionally write its raw samples", ImageCommand},
    {"list", "DATAFILE [--filter-field Name|Date|Type|Comments --filter TEXT] [--no-sort]",
     "list the records of a data file as the record browser does", ListCommand},
    {"copy", "SOURCE DEST --records LIST [--replace all|none]",
     "copy records (numbers separated by commas) into another data file", CopyCommand},
    {"measure", "DATAFILE [--types DIR] [--records LIST | --name NAME] [--analysis NAME] [--reference N] "
                "[--format text|csv|tsv|json] [--raw] [--graph] [--orient NAME] [--superimpose NAME]",
     "measure the chosen records: their analysis text, or a table of their values", MeasureCommand},
    {"render",
     "DATAFILE --records LIST --out FILE.svg|png|pdf [--analysis NAME] [--view NAME] [--dpi N] [--size WxH] "
     "[--types FOLDER] [--mode current|comparative|all] [--style defined|position|mixed] [--no-grid] [--images] "
     "[--orient NAME] [--superimpose NAME [--reference N]]",
     "paint the tracings of records superimposed, with their analysis labels, into a picture", RenderCommand},
    {"procrustes",
     "DATAFILE --type NAME --pca NAME [--types DIR] [--records LIST] [--report FILE] [--import] [--flip] "
     "[--size life|xray] [--output consensus,variances,loadings,scores,residuals,sizes,distances] [--names] "
     "[--scores-table FILE]",
     "superimpose the points of a PCA over the records of a type, report the principal components", ProcrustesCommand},
    {"export",
     "DATAFILE --type NAME --out FILE [--analysis NAME | --drawing NAME | --pca NAME] [--format table|tps|morphoj] "
     "[--types DIR] [--delimiter tab|comma|space|TEXT] [--headers] [--abbreviated] "
     "[--include name,age,sex,sexnum,dob,taken,magnification,comments] [--full-precision] [--all-variables] "
     "[--keep-labels] [--size life|xray] [--no-reflect] [--keep-incomplete] [--same-line] "
     "[--decimal-separator C] [--date-format PATTERN]",
     "append a table of every record of a type (an analysis's measurements or a drawing's point coordinates), "
     "or write their landmarks (a drawing's, a PCA's or all digitized points) as TPS or MorphoJ",
     ExportCommand},
    {"move",
     "DATAFILE --records N --translate DX,DY | --rotate DEG[,CX,CY] | --scale F | --flip h|v [--points LIST] "
     "[--types DIR] [--save]",
     "apply one movement (millimetres, degrees) to a record and print the measurements it changed", MoveCommand},
    {"convert", "SOURCE --from TYPE --to TYPE --out DATAFILE [--types DIR] [--records LIST] [--map TARGET=SOURCE ...]",
     "rewrite records as records of another type, point by point by name, and append them to another data file",
     ConvertCommand},
};

void PrintUsage(std::ostream& stream, const TCommand* only = nullptr) {
  stream << "Usage:\n";
  for (const TCommand& command : kCommands)
    if (only == nullptr || only == &command)
      stream << "  lumacet-cli " << command.Name << ' ' << command.Arguments << "\n      " << command.Summary << '\n';
}

}  // namespace

std::string TerminalText(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

std::optional<int> ParsePositive(std::string_view text) {
  std::optional<int32_t> value = ParseFileInt(text);
  if (!value || *value < 1) return std::nullopt;
  return *value;
}

std::optional<std::vector<int>> ParseRecords(std::string_view text) {
  std::vector<int> records;
  while (true) {
    const std::size_t comma = text.find(',');
    std::optional<int> record = ParsePositive(text.substr(0, comma));
    if (!record) return std::nullopt;
    records.push_back(*record);
    if (comma == std::string_view::npos) return records;
    text.remove_prefix(comma + 1);
  }
}

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(std::cout);
    return kExitOk;
  }
  for (const TCommand& command : kCommands) {
    if (args[0] != command.Name) continue;
    int result = command.Run({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (result == kExitUsage) PrintUsage(std::cerr, &command);
    return result;
  }
  std::cerr << "lumacet-cli: unknown command '" << args[0] << "'\n";
  PrintUsage(std::cerr);
  return kExitUsage;
}

}  // namespace lumacet::cli

int main(int argc, char** argv) { return lumacet::cli::Main(argc, argv); }
