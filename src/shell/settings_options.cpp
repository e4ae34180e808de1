#include "shell/settings_options.h"

#include <array>
#include <sstream>

#include "graphics/image_layer.h"
#include "support/file_numbers.h"

namespace lumacet {

namespace {

// The label size when the settings give none.
constexpr int kDefaultLabelPoints = 8;

}  // namespace

TPresentationOptions PresentationOptions(const TSettings& settings, TMeasuring& measuring) {
  TPresentationOptions options;
  options.Measure = measuring.Context();
  options.DeviationMode = settings.View.DeviationFromMean;
  options.NotAvailable = settings.General.NotAvailable;
  options.DeviationColours = settings.View.DeviationColour;
  options.Styles = settings.Styles;
  options.ResultsDelimiter = settings.General.ResultsDelimiter;
  return options;
}

TFont LabelFont(const TViewSettings& view) {
  TFont font;
  font.Name = view.FontName;
  const int points = view.FontSize > 0 ? view.FontSize : kDefaultLabelPoints;
  font.Height = points * kTracingUnitsPerPoint;
  font.Bold = view.FontBold;
  font.Italic = view.FontItalic;
  return font;
}

TLabelOptions LabelOptions(const TSettings& settings, TMeasuring& measuring) {
  TLabelOptions options;
  options.Presentation = PresentationOptions(settings, measuring);
  options.Font = LabelFont(settings.View);
  options.Transparent = settings.View.FontTransparent;
  options.Outline = settings.View.FontOutline;
  options.OutlineColour = settings.View.FontOutlineColour;
  return options;
}

TDisplayOptions DisplayOptions(const TSettings& settings, TMeasuring& measuring) {
  TDisplayOptions options;
  options.DrawingStyle = settings.Radiograph.DrawingStyle;
  options.PositionPens = settings.Radiograph.PositionPens;
  options.AnalysisShown = settings.General.AnalysisOn;
  options.AnalysisMode = settings.General.AnalysisMode;
  options.GridShown = settings.View.ViewGrid;
  options.GridDensity = settings.View.GridDensity;
  options.GridColour = settings.View.GridColour;
  options.Labels = LabelOptions(settings, measuring);
  options.SelectionMarker = settings.View.NormalMarker;
  options.Ruler = RulerLook(settings.View);
  return options;
}

TExtendedReport ExtendedReport(const TSettings& settings, TMeasuring& measuring, std::vector<TRadiograph*> radiographs,
                               bool images) {
  TExtendedReport report;
  report.Settings = settings.ExtAnalysis;
  report.Presentation = PresentationOptions(settings, measuring);
  report.Display = DisplayOptions(settings, measuring);
  if (images) report.Images = ImageLayer(radiographs, 0);
  report.Radiographs = std::move(radiographs);
  return report;
}

TImageLoadSettings ImageLoadSettings(const TSettings& settings) {
  TImageLoadSettings images;
  images.DefaultFolder = settings.General.BmpPath;
  images.DefaultPixelWidth = settings.General.BmpScaleX;
  images.DefaultPixelHeight = settings.General.BmpScaleY;
  images.DicomWindowAdjust = settings.General.DicomWindowAdjust;
  images.TypeFolder = settings.General.LcrPath;
  return images;
}

TRulerLook RulerLook(const TViewSettings& view) { return {view.RulerColour, view.RulerTicks}; }

TWorkspaceOptions WorkspaceOptions(const TSettings& settings) {
  TWorkspaceOptions options;
  options.Folders = {settings.General.BmpPath, settings.General.LcrPath};
  options.DataFolder = settings.General.CsvPath;
  options.Data.ImageFolder = settings.General.BmpPath;
  options.Data.ShowLifeSize = settings.Radiograph.ShowLifeSize;
  options.Data.Dates.Compatibility = settings.General.Compatibility;
  options.Formats.RadiographTitle = settings.Radiograph.Title;
  options.Formats.AgeFormat = settings.Radiograph.AgeFormat;
  options.SortOnLoading = settings.Radiograph.SortFitOnLoading;
  options.AutoOrientate = settings.Radiograph.AutoOrientate;
  options.Images = ImageLoadSettings(settings);
  options.RemindImageNotSaved = settings.General.Remind[1];
  return options;
}

std::optional<TIntRect> MainWindowRect(const std::string& text) {
  constexpr int kSmallest = 200;
  std::istringstream words(text);
  std::array<int32_t, 4> values{};
  std::string word;
  for (int32_t& value : values) {
    if (!(words >> word)) return std::nullopt;
    const std::optional<int32_t> parsed = ParseFileInt(word);
    if (!parsed) return std::nullopt;
    value = *parsed;
  }
  if (words >> word) return std::nullopt;
  const auto [left, top, width, height] = values;
  if (width < kSmallest || height < kSmallest || width > 100000 || height > 100000) return std::nullopt;
  if (left < -100000 || left > 100000 || top < -100000 || top > 100000) return std::nullopt;
  return TIntRect{left, top, left + width, top + height};
}

std::string MainWindowRectText(const TIntRect& rect) {
  return std::to_string(rect.Left) + " " + std::to_string(rect.Top) + " " + std::to_string(rect.Right - rect.Left) +
         " " + std::to_string(rect.Bottom - rect.Top);
}

}  // namespace lumacet
