// lumacet-cli edge: the edge search of edge lock along one line of an image. Prints every
// edge found on the line in order, "X<TAB>Y<TAB>STRENGTH", then "chosen<TAB>X<TAB>Y" for
// the edge the choice names. Positions are tracing units (the image's top-left corner at
// 0,0, its DICOM pixel spacing or --pixel-size per pixel) or, with --pixels, pixel
// coordinates, pixel i covering [i, i+1). No edge on the line: nothing printed, exit 1.
#include <cmath>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "digitize/edge_search.h"
#include "imaging/image_file.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

// The pixel size of images without one, as for an image linked to a new radiograph.
constexpr double kDefaultPixelSize = 3.9;

struct TEdgeArguments {
  std::string Image;
  std::optional<std::vector<double>> Line;
  std::optional<double> PixelSize;
  bool Pixels = false;
  int Transition = kAnyTransition;
  TEdgeChoice Choice = TEdgeChoice::MostProminent;
};

std::optional<std::vector<double>> FourNumbers(std::string_view text) {
  std::vector<double> numbers;
  while (true) {
    const size_t comma = text.find(',');
    const std::optional<double> value = ParseFileReal(text.substr(0, comma));
    if (!value) return std::nullopt;
    numbers.push_back(*value);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (numbers.size() != 4) return std::nullopt;
  return numbers;
}

}  // namespace

int EdgeCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TEdgeArguments arguments;
  parser.Operand("IMAGE", "the image file", arguments.Image);
  parser.Option("--line", "X1,Y1,X2,Y2", "the search line, from X1,Y1 towards X2,Y2", arguments.Line, FourNumbers)
      .Required = true;
  parser.Flag("--pixels", "the line and the positions printed in image pixels rather than tracing units",
              arguments.Pixels);
  parser.Option("--pixel-size", "MM", "the size of a pixel in millimetres (the image's own, else 0.39)",
                arguments.PixelSize, [](std::string_view text) -> std::optional<double> {
                  const std::optional<double> value = ParseFileReal(text);
                  if (!value || !(*value > 0) || *value > 1000) return std::nullopt;
                  return value;
                });
  parser.Choice("--transition", "the edges that count: brightness falling, any, or rising along the line",
                arguments.Transition,
                {{"white-to-black", kWhiteToBlack}, {"any", kAnyTransition}, {"black-to-white", kBlackToWhite}});
  parser.Choice("--choice", "the edge chosen (most-prominent)", arguments.Choice,
                {{"most-prominent", TEdgeChoice::MostProminent},
                 {"closest", TEdgeChoice::Closest},
                 {"between-most-prominent", TEdgeChoice::BetweenMostProminent},
                 {"between-closest", TEdgeChoice::BetweenClosest}});
  if (std::optional<int> exit = parser.Parse()) return *exit;

  TResultOf<TImageFileContents> contents = ReadImageFile(arguments.Image, true);
  if (!contents) {
    err << TerminalText(contents.Outcome().TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  TImageFrame frame;
  frame.PixelWidth = frame.PixelHeight = kDefaultPixelSize;
  if (contents->IsDicom && contents->Dicom.HasPixelSpacing) {
    frame.PixelWidth = contents->Dicom.PixelWidth;
    frame.PixelHeight = contents->Dicom.PixelHeight;
  }
  if (arguments.PixelSize) frame.PixelWidth = frame.PixelHeight = 10 * *arguments.PixelSize;
  TImageStore store;
  store.SetImage(std::move(contents->Raw));
  const TGreyPlane plane = TGreyPlane::FromImage(store);

  const std::vector<double>& line = *arguments.Line;
  TFloatPoint from{line[0], line[1]}, to{line[2], line[3]};
  if (arguments.Pixels) {
    from = PixelToTracing(frame, from.X, from.Y);
    to = PixelToTracing(frame, to.X, to.Y);
  }
  // As a point's search line: 2 round(r) + 1 samples over a line 2 r long.
  const double half = std::hypot(to.X - from.X, to.Y - from.Y) / 2;
  const int count = 2 * static_cast<int>(std::nearbyint(std::min(half, 5000.0))) + 1;
  const TEdgeProfile profile = SampleEdgeProfile(plane, frame, from, to, count, arguments.Transition);
  auto print = [&](TFloatPoint at) {
    if (arguments.Pixels) at = TracingToPixel(frame, at).value_or(at);
    out << FormatFixed(at.X, 2) << '\t' << FormatFixed(at.Y, 2);
  };
  const std::vector<double> candidates = EdgeCandidates(profile);
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (!(candidates[i] > 0)) continue;
    print(profile.PositionAt(RefinedEdgeIndex(profile, static_cast<int>(i))));
    out << '\t' << FormatFixed(candidates[i], 1) << '\n';
  }
  const std::optional<TEdgeIndices> chosen = ChooseEdge(profile, arguments.Choice, 0);
  if (!chosen) {
    err << "No edge found along the line.\n";
    return kExitFailure;
  }
  out << "chosen\t";
  print(profile.PositionAt(chosen->Edge));
  out << '\n';
  return kExitOk;
}

}  // namespace lumacet::cli
