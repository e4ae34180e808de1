// lumacet-cli morph: warps the image of record N (the morph source) so that it follows the
// tracing of record M, as the "&Morph" command does with the program's morph settings, and
// saves the result as the program saves an image (.bmp, or JPEG). With --save, record M
// is written back linked to the new image. --controls writes the control points the warp
// used, each source point and its target in pixels of the source image ("x y x' y'", an
// empty line for a break), for comparing the warp with other tools.
#include <filesystem>
#include <optional>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "imaging/image_commands.h"
#include "imaging/image_frame.h"
#include "model/xray.h"
#include "persistence/type_finder.h"
#include "shell/settings.h"
#include "simulation/morph.h"
#include "support/atomic_file.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

struct TMorphArguments {
  std::string DataFile;
  std::optional<int> Source, Target;
  std::string Out;
  std::optional<TWarpFunction> Function;
  std::optional<TMorphQuality> Quality;
  std::optional<std::string> Types;
  std::optional<std::string> Controls;
  bool Save = false;
};

void Declare(TArgumentParser& arguments, TMorphArguments& parsed) {
  arguments.Operand("DATAFILE", "the data file (.csv)", parsed.DataFile);
  arguments.Option("--source", "N", "the record whose image is warped, its number as 'list' prints it",
                   parsed.Source, PositiveUpTo(INT32_MAX))
      .Required = true;
  arguments.Option("--target", "M", "the record whose tracing the image is to follow", parsed.Target,
                   PositiveUpTo(INT32_MAX))
      .Required = true;
  arguments.Option("--out", "IMAGE", "the morphed image: .bmp, or JPEG (.jpg is added to other names)", parsed.Out,
                   TValueKind::File)
      .Required = true;
  arguments.Choice("--function", "the warping function (the program's setting, linear)", parsed.Function,
                   {{"linear", TWarpFunction::Linear},
                    {"scurve", TWarpFunction::SCurve},
                    {"exponential", TWarpFunction::Exponential},
                    {"triangle", TWarpFunction::Triangle}});
  arguments.Choice("--quality", "the morph quality (the program's setting, medium)", parsed.Quality,
                   {{"low", TMorphQuality::Low}, {"medium", TMorphQuality::Medium}, {"high", TMorphQuality::High}});
  arguments.Option("--types", "DIR", "the folder of the type files (the data file's folder)", parsed.Types,
                   TValueKind::Folder);
  arguments.Option("--controls", "FILE", "write the control points, source and target, in pixels of the source image",
                   parsed.Controls, TValueKind::File);
  arguments.Flag("--save", "write the target record back into the data file, linked to the new image", parsed.Save);
}

// One line per control point: its source and target positions in pixels of the source
// image; an empty line for a break.
std::string ControlLines(const TRadiograph& source, const TRadiograph& target, const TMorphOptions& options) {
  const bool sample = MorphSamplesCurves(options);
  const auto from = MorphControlPoints(source, source, sample);
  const auto to = MorphControlPoints(target, source, sample);
  const TImageFrame frame = ImageFrameOf(source);
  std::string lines;
  for (std::size_t k = 0; k < from.size() && k < to.size(); ++k) {
    std::optional<TFloatPoint> a, b;
    if (from[k] && to[k]) {
      a = TracingToPixel(frame, *from[k]);
      b = TracingToPixel(frame, *to[k]);
    }
    if (a && b)
      lines += FormatRounded(a->X, 6) + ' ' + FormatRounded(a->Y, 6) + ' ' + FormatRounded(b->X, 6) + ' ' +
               FormatRounded(b->Y, 6);
    lines += '\n';
  }
  return lines;
}

}  // namespace

int MorphCommand(TArgumentParser& parser, std::ostream& out, std::ostream& err) {
  TMorphArguments arguments;
  Declare(parser, arguments);
  if (std::optional<int> exit = parser.Parse()) return *exit;
  TTypeCache types({"", TypeFolder(arguments.Types, arguments.DataFile)});
  TXRay source, target;
  if (!LoadRecord(source, arguments.DataFile, *arguments.Source, types.Resolver(), err) ||
      !LoadRecord(target, arguments.DataFile, *arguments.Target, types.Resolver(), err))
    return kExitFailure;
  if (!source.ImageFile.empty()) {
    TImageLoadSettings imageSettings;
    imageSettings.DefaultFolder = std::filesystem::path(arguments.DataFile).parent_path().string();
    if (TResultOf<TLoadedImage> loaded = LoadImageWithTracing(source, source.Image, imageSettings); !loaded) {
      const std::string failure = TerminalText(loaded.Outcome().TextWithReason().English());
      err << "Record " << *arguments.Source << ": " << (failure.empty() ? "its image cannot be loaded." : failure)
          << '\n';
      return kExitFailure;
    }
  }
  TMorphOptions options = MorphOptionsFrom(TSettings::Defaults("."));
  if (arguments.Function) options.Function = *arguments.Function;
  if (arguments.Quality) options.Quality = *arguments.Quality;

  TProgressLine progressLine;
  // The same record given twice is one radiograph, as in the program.
  const TXRay& from = *arguments.Source == *arguments.Target ? target : source;
  const TResult morphed = MorphImage(target, from, options, [&](int done, int total) {
    return progressLine.Show("Morphing... " + std::to_string(total > 0 ? 100 * done / total : 100) + "%");
  });
  progressLine.Finish();
  if (!morphed) {
    err << TerminalText(morphed.TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  TResultOf<std::string> saved = DoImageSave(target, target.Image, arguments.Out, {});
  if (!saved) {
    err << TerminalText(saved.Outcome().TextWithReason().English()) << '\n';
    return kExitFailure;
  }
  out << "Morphed image written to " << *saved << '\n';
  if (arguments.Controls) {
    if (const TWriteResult written = WriteFileAtomically(*arguments.Controls, ControlLines(from, target, options));
        !written.Ok) {
      err << "Could not write " << *arguments.Controls << ": " << TerminalText(written.Error) << '\n';
      return kExitFailure;
    }
  }
  if (arguments.Save && !SaveRecordBack(target, arguments.DataFile, err)) return kExitFailure;
  return kExitOk;
}

}  // namespace lumacet::cli
