// lumacet-cli predict: landmark prediction. The shape model is built from the records of
// the type in the data file on which every digitized point of the type is valid (or taken
// from the data imported into --pca); then, for each record chosen by --records (all of
// them otherwise), the landmarks named by --from are placed and the others predicted. One
// line per prediction, fields separated by TAB: record, name, landmark, x and y
// (millimetres), the half axes of the 99 % ellipse (millimetres) and the direction of its
// major axis (degrees, counter-clockwise as displayed); where the record holds the landmark,
// also how far it lies from the prediction and "far" when it lies outside the ellipse, which
// stderr then names as a point to check.
// With --cross-validate K the model is checked instead: K-fold mean radial error per
// landmark and overall, in millimetres, and how often a placement is flagged as far from
// its prediction (from all other landmarks) when it is 5 mm off and when it is not.
#include <algorithm>
#include <cmath>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "geometry/plane_geometry.h"
#include "model/list_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/type_finder.h"
#include "population/landmark_model.h"
#include "simulation/movements.h"

namespace lumacet::cli {

namespace {

struct TPredictArguments {
  std::string DataFile;
  std::string TypeName;
  std::vector<std::string> From;
  std::optional<std::string> Types;
  std::optional<std::string> Pca;
  std::optional<std::vector<int>> Records;
  std::optional<int> Folds;
};

std::optional<std::vector<std::string>> NameList(std::string_view text) {
  std::vector<std::string> names;
  while (true) {
    const size_t comma = text.find(',');
    if (text.substr(0, comma).empty()) return std::nullopt;
    names.emplace_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return names;
    text.remove_prefix(comma + 1);
  }
}

void Declare(TArgumentParser& arguments, TPredictArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--type", "NAME", "the radiograph type of the records", parsed.TypeName).Required = true;
  arguments
      .Repeated("--from", "LIST", "the landmarks placed, names separated by commas (S,N,Me)",
                [&parsed](std::string_view text) {
                  std::optional<std::vector<std::string>> names = NameList(text);
                  if (!names) return false;
                  parsed.From.insert(parsed.From.end(), names->begin(), names->end());
                  return true;
                })
      .Required = true;
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--pca", "NAME", "take the model from the data imported into this PCA of the type", parsed.Pca);
  arguments.Option("--records", "LIST", "the records to predict (all); the model is built from all", parsed.Records,
                   RecordList());
  arguments.Option("--cross-validate", "K", "print the K-fold mean radial error instead of predictions",
                   parsed.Folds, PositiveUpTo(1 << 20));
  arguments.Exclusive({"--pca", "--cross-validate"});
}

std::string Millimetres(double units) { return FormatSignificant(units / 10, 6); }

int CrossValidation(const TPredictArguments& arguments, const std::vector<int>& records, TXRayType& type,
                    TTypeCache& types, std::ostream& out, std::ostream& err) {
  std::vector<std::string> points;
  for (const auto& element : type.ElementList(ekDigPoint)) points.push_back(element->Name);
  int skipped = 0;
  TProgressLine progress;
  TResultOf<TShapeSamples> samples =
      ReadLandmarkSamples(arguments.DataFile, records, type.Name, points, types.Resolver(), {},
                          [&](const std::string& s) { return progress.Show(s); }, skipped);
  progress.Finish();
  if (!samples) {
    err << TerminalText(samples.Text().English()) << '\n';
    return kExitFailure;
  }
  if (skipped > 0) err << skipped << " records lack a digitized point and were left out.\n";
  std::vector<int> placed;
  for (const std::string& name : arguments.From) {
    const auto found = std::find(points.begin(), points.end(), name);
    if (found == points.end()) {
      err << "The type '" << type.Name << "' has no digitized point '" << name << "'.\n";
      return kExitFailure;
    }
    placed.push_back(static_cast<int>(found - points.begin()));
  }
  TResultOf<TCrossValidation> result = CrossValidate(*samples, placed, *arguments.Folds);
  if (!result) {
    err << TerminalText(result.Text().English()) << '\n';
    return kExitFailure;
  }
  out << "landmark\tmean radial error (mm)\n";
  for (size_t j = 0; j < points.size(); ++j)
    if (std::find(placed.begin(), placed.end(), static_cast<int>(j)) == placed.end())
      out << points[j] << '\t' << Millimetres(result->MeanError[j]) << '\n';
  out << "overall\t" << Millimetres(result->Overall) << '\n';
  // How often the 99 % ellipse flags a placement 5 mm off, and one as placed.
  TResultOf<TFlagRates> flags = CheckFlags(*samples, *arguments.Folds, 50, 1);
  if (flags)
    out << "flagged 5 mm off (%)\t" << FormatSignificant(100 * flags->Displaced, 3) << "\nflagged in place (%)\t"
        << FormatSignificant(100 * flags->InPlace, 3) << '\n';
  return kExitOk;
}

}  // namespace

int PredictCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TPredictArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;

  const std::string folder = TypeFolder(arguments.Types, arguments.DataFile);
  TTypeCache types({"", folder});
  TXRayType* type = NeedType(types, arguments.TypeName, folder, err);
  if (type == nullptr) return kExitFailure;
  std::optional<std::vector<int>> records = ChosenRecords(arguments.Records, arguments.DataFile, err);
  if (!records) return kExitFailure;
  std::optional<std::vector<int>> all = ChosenRecords(std::nullopt, arguments.DataFile, err);
  if (!all) return kExitFailure;
  if (arguments.Folds) return CrossValidation(arguments, *all, *type, types, out, err);

  TResultOf<TLandmarkModel> model = [&]() -> TResultOf<TLandmarkModel> {
    if (!arguments.Pca) {
      TProgressLine progress;
      return BuildLandmarkModel(arguments.DataFile, *all, *type, types.Resolver(), {},
                                [&](const std::string& s) { return progress.Show(s); });
    }
    auto* pca = dynamic_cast<TXRPCA*>(type->FindElement(*arguments.Pca, ekPCA));
    if (pca == nullptr)
      return TResult::Failure(TText::Verbatim("The type '" + type->Name + "' has no PCA '" + *arguments.Pca + "'."));
    return LandmarkModelFromPca(*pca);
  }();
  if (!model) {
    err << TerminalText(model.Text().English()) << '\n';
    return kExitFailure;
  }
  TResultOf<std::vector<int>> from = LandmarkIndices(*model, arguments.From);
  if (!from) {
    err << TerminalText(from.Text().English()) << '\n';
    return kExitFailure;
  }

  out << "record\tname\tlandmark\tx\ty\tmajor\tminor\tangle\toff\n";
  int failures = 0;
  const TRecordScan scan = ForEachChosenRecord(
      arguments.DataFile, *records, type->Name, types.Resolver(), {}, [&](std::unique_ptr<TXRay>& xray, int record) {
        TResultOf<std::vector<TPredictedLandmark>> predicted =
            model->Model.Predict(PlacedLandmarks(*model, *xray, *from));
        if (!predicted) {
          err << "Record " << record << " (" << xray->Name << "): " << TerminalText(predicted.Text().English()) << '\n';
          ++failures;
          return true;
        }
        const TLoadedRadiograph loaded = xray->Load();
        for (const TPredictedLandmark& p : *predicted) {
          const std::string& name = model->Points[static_cast<size_t>(p.Index)];
          const TEllipse ellipse = UncertaintyEllipse(p);
          out << record << '\t' << xray->Name << '\t' << name << '\t' << Millimetres(p.At.X) << '\t'
              << Millimetres(p.At.Y) << '\t' << Millimetres(ellipse.Major) << '\t' << Millimetres(ellipse.Minor) << '\t'
              << FormatSignificant(RadToDeg(ellipse.Angle), 4) << '\t';
          if (std::optional<TFloatPoint> at = loaded.Position(loaded.Find(name, ekAnyPoint))) {
            out << Millimetres(std::hypot(at->X - p.At.X, at->Y - p.At.Y));
            if (p.Outside(*at)) {
              out << " far";
              err << "Record " << record << " (" << xray->Name << "), " << name << ": "
                  << TText(kFarFromExpectedMessage).English() << '\n';
            }
          }
          out << '\n';
        }
        return true;
      });
  if (scan.ReadFailed) {
    err << TText(kFileReadErrorMessage, {arguments.DataFile}).English() << '\n';
    return kExitFailure;
  }
  return failures == 0 ? kExitOk : kExitFailure;
}

}  // namespace lumacet::cli
