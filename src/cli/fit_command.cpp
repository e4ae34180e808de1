// lumacet-cli fit: the snakes of a record fitted to its image edges as "&Fit" of the
// Digitize window does, each snake that is not placed first put where the digitized points
// say it lies. Prints how far each snake point moved and the automatic points that moved
// with the snakes; --save writes the record back (rewritten whole or not at all).
#include <cmath>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "digitize/digitizing.h"
#include "imaging/image_commands.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

struct TFitArguments {
  std::string DataFile;
  std::optional<int> Record;
  std::optional<std::string> Snakes;
  std::optional<std::string> Types;
  bool Save = false;
};

std::vector<std::string> Names(const std::optional<std::string>& list) {
  std::vector<std::string> names;
  if (!list) return names;
  std::string_view rest = *list;
  while (true) {
    const size_t comma = rest.find(',');
    names.emplace_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) return names;
    rest.remove_prefix(comma + 1);
  }
}

std::vector<std::optional<TFloatPoint>> Points(TXRay& xray) {
  std::vector<std::optional<TFloatPoint>> points;
  const TLoadedRadiograph loaded = xray.Load();
  for (const auto& e : loaded.Type()->ElementList(ekDigPoint)) points.push_back(loaded.Position(e.get()));
  return points;
}

std::string Millimetres(double units) { return FormatFixed(units / 10, 2); }

}  // namespace

int FitCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TFitArguments arguments;
  parser.Operand("DATAFILE", "the data file (.csv)", arguments.DataFile);
  parser.Option("--records", "N", "the record to fit, its number as 'list' prints it", arguments.Record,
                PositiveUpTo(INT32_MAX))
      .Required = true;
  parser.Option("--snakes", "NAMES", "the snakes to fit, names separated by commas (every snake)", arguments.Snakes);
  parser.Option("--types", "DIR", "the folder of the type files (the data file's folder)", arguments.Types,
                TValueKind::Folder);
  parser.Flag("--save", "write the record with the points placed from the fitted snakes back into the data file",
              arguments.Save);
  if (std::optional<int> exit = parser.Parse()) return *exit;

  TTypeCache types({"", TypeFolder(arguments.Types, arguments.DataFile)});
  TXRay xray;
  if (!LoadRecord(xray, arguments.DataFile, *arguments.Record, types.Resolver(), err)) return kExitFailure;
  if (xray.ImageFile.empty()) {
    err << "Record " << *arguments.Record << " has no image to fit its snakes to.\n";
    return kExitFailure;
  }
  TImageLoadSettings imageSettings;
  imageSettings.DefaultFolder = TypeFolder(std::nullopt, arguments.DataFile);
  if (TResultOf<TLoadedImage> loaded = LoadImageWithTracing(xray, xray.Image, imageSettings); !loaded) {
    err << "Record " << *arguments.Record << ": " << TerminalText(loaded.Outcome().TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  const auto before = Points(xray);
  const TResultOf<std::vector<TFittedSnake>> fitted =
      FitSnakes(xray, TGreyPlane::FromImage(xray.Image), Names(arguments.Snakes));
  if (!fitted) {
    err << TerminalText(fitted.Outcome().TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  for (const TFittedSnake& snake : *fitted) {
    double largest = 0, sum = 0;
    for (double moved : snake.Moved) {
      largest = std::max(largest, moved);
      sum += moved;
    }
    out << snake.Name << ": " << snake.Moved.size() << " points, mean " << Millimetres(snake.Moved.empty() ? 0 : sum / static_cast<double>(snake.Moved.size()))
        << " mm, largest " << Millimetres(largest) << " mm\n";
    for (size_t i = 0; i < snake.Moved.size(); ++i) out << "  " << i << '\t' << Millimetres(snake.Moved[i]) << '\n';
  }
  const auto after = Points(xray);
  const auto& points = xray.Type()->ElementList(ekDigPoint);
  for (size_t i = 0; i < points.size() && i < before.size() && i < after.size(); ++i) {
    if (before[i] == after[i]) continue;
    auto text = [](const std::optional<TFloatPoint>& p) {
      return p ? Millimetres(p->X) + "," + Millimetres(p->Y) : std::string("invalid");
    };
    out << points[i]->Name << ": " << text(before[i]) << " -> " << text(after[i]) << '\n';
  }
  if (arguments.Save && !SaveRecordBack(xray, arguments.DataFile, err)) return kExitFailure;
  return kExitOk;
}

}  // namespace lumacet::cli
