// lumacet-cli move: performs one movement on a record, as
// the movement commands of the program do, and prints every measurement of its analysis
// that changed ("name: before -> after"). Distances are in millimetres, angles in degrees
// (positive turns clockwise as displayed) about CX,CY, or about the centroid of the
// digitized points. --points names the points and areas to move (comma-separated);
// without it translations and rotations move the whole tracing but its preset points and
// flips mirror every digitized point. --save writes the record back into the data file,
// which is rewritten whole or not at all. --vto lets the type's VTO relationships move the
// soft tissue with the hard: each induced movement is printed after the movement itself,
// then every soft-tissue point that moved ("name: x, y -> x, y" in millimetres).
#include <algorithm>
#include <filesystem>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "geometry/plane_geometry.h"
#include "measure/analysis_text.h"
#include "measure/number_format.h"
#include "model/point_geometry.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "shell/measuring.h"
#include "shell/settings_options.h"
#include "simulation/movement_log.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

struct TMoveArguments {
  std::string DataFile;
  std::optional<int> Record;
  std::optional<std::string> Types;
  std::optional<std::string> Points;
  std::optional<std::vector<double>> Translate, Rotate;
  std::optional<double> Scale;
  std::optional<bool> FlipVertical;
  bool Save = false;
  bool Vto = false;
};

// "DX,DY": between `least` and `most` numbers separated by commas.
TConvert<std::vector<double>> Numbers(size_t least, size_t most) {
  return [least, most](std::string_view text) -> std::optional<std::vector<double>> {
    std::vector<double> numbers;
    while (true) {
      const size_t comma = text.find(',');
      std::optional<double> value = ParseFileReal(text.substr(0, comma));
      if (!value) return std::nullopt;
      numbers.push_back(*value);
      if (comma == std::string_view::npos) break;
      text.remove_prefix(comma + 1);
    }
    if (numbers.size() < least || numbers.size() > most) return std::nullopt;
    return numbers;
  };
}

void Declare(TArgumentParser& arguments, TMoveArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--records", "N", "the record to move, its number as 'list' prints it", parsed.Record,
                   PositiveUpTo(INT32_MAX))
      .Required = true;
  arguments.Option("--translate", "DX,DY", "move by DX, DY millimetres", parsed.Translate, Numbers(2, 2));
  arguments.Option("--rotate", "DEG[,CX,CY]",
                   "turn by DEG degrees (clockwise as displayed) about CX,CY, or about the centroid of the "
                   "digitized points",
                   parsed.Rotate, Numbers(1, 3));
  arguments.Option("--scale", "F", "scale by F about the centroid", parsed.Scale,
                   [](std::string_view text) { return ParseFileReal(text); });
  arguments.Choice("--flip", "mirror horizontally (h) or vertically (v)", parsed.FlipVertical,
                   {{"h", false}, {"v", true}});
  arguments.Exclusive({"--translate", "--rotate", "--scale", "--flip"});
  arguments.Option("--points", "LIST",
                   "the points and areas to move, names separated by commas (the whole tracing but its preset "
                   "points; flips mirror every digitized point)",
                   parsed.Points);
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Flag("--save", "write the moved record back into the data file", parsed.Save);
  arguments.Flag("--vto",
                 "let the type's VTO relationships move the soft tissue of a moved master point, and print "
                 "its changes",
                 parsed.Vto);
}

// The named points and areas; false, with the name, when one is not in the type.
bool Select(TXRay& xray, const std::optional<std::string>& names, std::string& missing) {
  xray.Selection.clear();
  const TXRayType& type = *xray.Type();
  if (!names) {
    for (const auto& e : type.ElementList(ekDigPoint)) xray.Selection.push_back(e.get());
    return true;
  }
  std::string_view rest = *names;
  while (true) {
    const size_t comma = rest.find(',');
    const std::string name(rest.substr(0, comma));
    TXRayElement* element = type.FindElement(name, ekAnyPoint);
    if (element == nullptr) element = type.FindElement(name, ekArea);
    if (element == nullptr) {
      missing = name;
      return false;
    }
    xray.Selection.push_back(element);
    if (comma == std::string_view::npos) return true;
    rest.remove_prefix(comma + 1);
  }
}

std::vector<std::pair<std::string, std::string>> Measurements(TXRay& xray, const TPresentationOptions& options) {
  std::vector<std::pair<std::string, std::string>> values;
  if (xray.CurrentAnalysis == nullptr) return values;
  const TLoadedRadiograph loaded = xray.Load();
  for (TXRayElement* element : xray.CurrentAnalysis->Points)
    if (auto* variable = dynamic_cast<TXRVariable*>(element))
      values.emplace_back(variable->Name, TextLine(*variable, loaded.Radiograph(), kTextLineFormatted, options));
  return values;
}

// Where each affected point of the type's relationships stands, each point once, in the
// order the relationships name them.
std::vector<std::pair<std::string, std::optional<TFloatPoint>>> SoftTissue(TXRay& xray) {
  std::vector<std::pair<std::string, std::optional<TFloatPoint>>> points;
  const TLoadedRadiograph loaded = xray.Load();
  for (const auto& e : loaded.Type()->ElementList(ekHardSoft))
    for (TXRayElement* point : static_cast<const TXRHardSoft&>(*e).Points) {
      if (point == nullptr) continue;
      const bool listed = std::any_of(points.begin(), points.end(), [&](const auto& p) { return p.first == point->Name; });
      if (!listed) points.emplace_back(point->Name, loaded.Position(point));
    }
  return points;
}

std::string Millimetres(TFloatPoint p) {
  return FormatNumber(p.X / 10, "0.##", '.') + ", " + FormatNumber(p.Y / 10, "0.##", '.');
}

}  // namespace

int MoveCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TMoveArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  if (!arguments.Translate && !arguments.Rotate && !arguments.Scale && !arguments.FlipVertical)
    return parser.Fail("missing a movement: --translate, --rotate, --scale or --flip");
  if (arguments.Rotate && arguments.Rotate->size() == 2)
    return parser.Fail("invalid value for --rotate: give DEG or DEG,CX,CY");
  std::string typeFolder = arguments.Types.value_or(std::filesystem::path(arguments.DataFile).parent_path().string());
  if (typeFolder.empty()) typeFolder = ".";
  TTypeCache types({"", typeFolder});
  TXRay xray;
  if (!LoadRecord(xray, arguments.DataFile, *arguments.Record, types.Resolver(), err)) return kExitFailure;
  std::string missing;
  if (!Select(xray, arguments.Points, missing)) {
    err << "The type " << xray.Type()->Name << " has no point or area named '" << missing << "'.\n";
    return kExitFailure;
  }
  const bool selection = arguments.Points.has_value();
  TMovement movement;
  if (arguments.Translate) {
    movement = {.Kind = selection ? mkTranslate : mkTranslateAll, .Dx = 10 * (*arguments.Translate)[0],
                .Dy = 10 * (*arguments.Translate)[1]};
  } else if (arguments.Rotate) {
    const std::vector<double>& r = *arguments.Rotate;
    TFloatPoint centre;
    if (r.size() == 3) {
      centre = {10 * r[1], 10 * r[2]};
    } else {
      const TLoadedRadiograph loaded = xray.Load();
      std::vector<TXRPoint*> digitized;
      for (const auto& e : loaded.Type()->ElementList(ekDigPoint)) digitized.push_back(static_cast<TXRPoint*>(e.get()));
      centre = Centroid(digitized).value_or(TFloatPoint{});
    }
    movement = {.Kind = selection ? mkRotate : mkRotateAll, .Angle = DegToRad(r[0]), .Centre = centre};
  } else if (arguments.Scale) {
    movement = {.Kind = mkScale, .Dx = *arguments.Scale};
  } else {
    TResultOf<TMovement> flip = FlipMovement(xray, *arguments.FlipVertical);
    if (!flip) {
      err << flip.Text().English() << '\n';
      return kExitFailure;
    }
    movement = *flip;
  }
  if (selection && movement.Kind != mkScale) movement.Elements = xray.Selection;

  TSettings settings = TSettings::Defaults(".");
  TMeasuring measuring;
  const TPresentationOptions options = PresentationOptions(settings, measuring);
  const auto before = Measurements(xray, options);
  const auto softBefore = SoftTissue(xray);
  const TMovementOptions movementOptions{.Compile = false, .AutoVto = arguments.Vto};
  if (TResult done = DoTheMovement(xray, movement, movementOptions); !done) {
    err << TerminalText(done.TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  for (const TMovement& logged : xray.UndoMovements) out << MovementText(logged, 200, true) << '\n';
  const auto after = Measurements(xray, options);
  for (size_t i = 0; i < before.size() && i < after.size(); ++i)
    if (before[i].second != after[i].second)
      out << before[i].first << ": " << before[i].second << " -> " << after[i].second << '\n';
  if (arguments.Vto) {
    const auto softAfter = SoftTissue(xray);
    for (size_t i = 0; i < softBefore.size() && i < softAfter.size(); ++i) {
      const auto& [name, from] = softBefore[i];
      const std::optional<TFloatPoint>& to = softAfter[i].second;
      if (from && to && (from->X != to->X || from->Y != to->Y))
        out << name << ": " << Millimetres(*from) << " -> " << Millimetres(*to) << '\n';
    }
  }
  if (arguments.Save && !SaveRecordBack(xray, arguments.DataFile, err)) return kExitFailure;
  return kExitOk;
}

}  // namespace lumacet::cli
