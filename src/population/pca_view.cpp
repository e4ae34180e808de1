#include "population/pca_view.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>

#include "geometry/procrustes.h"
#include "graphics/canvas.h"
#include "model/list_elements.h"
#include "model/radiograph.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "population/pca_statistics.h"
#include "population/procrustes_report.h"

namespace lumacet {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Logical units per unit of the consensus frame: the canvas draws in whole units.
constexpr double kGraphUnits = 10000;
constexpr double kGridStep = 0.1;
constexpr int kMarkerPixels = 4;

// Colours 0x00BBGGRR.
constexpr std::uint32_t kGridColour = 0x00E0E0E0;
constexpr std::uint32_t kAxisColour = 0x00404040;
constexpr std::uint32_t kLineColour = 0x00A0A0A0;
constexpr std::uint32_t kConsensusColour = 0x00C00000;
constexpr std::uint32_t kCurrentColour = 0x000000D0;
constexpr std::uint32_t kExtremeColour = 0x00008000;

// "%*.*f" with "." whatever the locale.
std::string Fixed(double value, int decimals, size_t width) {
  std::array<char, 64> buffer{};
  auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0, std::chars_format::fixed, decimals);
  std::string text = error == std::errc() ? std::string(buffer.data(), end) : std::string();
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string Padded(int number, size_t width) {
  std::string text = std::to_string(number);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// The report's sections of the element's data, as a calculation would have written them.
std::vector<std::string> ReportSection(const TXRPCA& pca, TReportOptions options) {
  TShapeAnalysis analysis;
  analysis.SampleCount = 0;  // no per-radiograph sections are asked for
  analysis.PointCount = static_cast<int>(pca.Points.size());
  analysis.ComponentCount = static_cast<int>(pca.Variances.size());
  analysis.Consensus = pca.Consensus;
  analysis.Variances = pca.Variances;
  for (const std::vector<double>& row : pca.Loadings)
    analysis.Loadings.insert(analysis.Loadings.end(), row.begin(), row.end());
  const std::string report = ProcrustesReport(analysis, {}, options);
  std::vector<std::string> lines;
  for (size_t start = 0; start < report.size();) {
    const size_t end = report.find(kLineBreak, start);
    lines.push_back(report.substr(start, end - start));
    start = end == std::string::npos ? report.size() : end + kLineBreak.size();
  }
  // The eight summary lines come first in every report.
  constexpr size_t kSummaryLines = 8;
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(kSummaryLines, lines.size())));
  return lines;
}

TReportOptions OnlySection(bool TReportOptions::*section) {
  TReportOptions options{false, false, false, false, false, false, false, false};
  options.*section = true;
  return options;
}

TIntPoint Logical(TFloatPoint point) {
  return {static_cast<int>(std::nearbyint(point.X * kGraphUnits)),
          static_cast<int>(std::nearbyint(point.Y * kGraphUnits))};
}

enum class TMark { Circle, Diamond, Square };

void DrawMarkers(TCanvas& canvas, const std::vector<TFloatPoint>& points, TMark mark, std::uint32_t colour) {
  canvas.SetPen({colour, TPenStyle::Solid, 0});
  canvas.SetBrush({colour, TBrushStyle::Clear});
  const int r = std::max(1, static_cast<int>(std::nearbyint(canvas.ScreenPixelsToLogical(kMarkerPixels))));
  for (TFloatPoint point : points) {
    const TIntPoint p = Logical(point);
    switch (mark) {
      case TMark::Circle:
        canvas.Ellipse({p.X - r, p.Y - r, p.X + r, p.Y + r});
        break;
      case TMark::Square:
        canvas.Rectangle({p.X - r, p.Y - r, p.X + r, p.Y + r});
        break;
      case TMark::Diamond: {
        const std::array<TIntPoint, 4> corners{{{p.X, p.Y - r}, {p.X + r, p.Y}, {p.X, p.Y + r}, {p.X - r, p.Y}}};
        canvas.Polygon(corners);
        break;
      }
    }
  }
}

void DrawLines(TCanvas& canvas, const std::vector<TFloatPoint>& points,
               const std::vector<std::pair<size_t, size_t>>& lines) {
  canvas.SetPen({kLineColour, TPenStyle::Solid, 0});
  for (auto [from, to] : lines) {
    if (from >= points.size() || to >= points.size()) continue;
    canvas.MoveTo(Logical(points[from]));
    canvas.LineTo(Logical(points[to]));
  }
}

// A marker and its meaning a line each, from the device's top left corner: the markers
// are drawn in the graph's frame, so the corner is taken back into it.
void DrawLegend(TCanvas& canvas, const TPcaGraph& graph) {
  struct TEntry {
    TMark Mark;
    std::uint32_t Colour;
    std::string Text;
  };
  std::vector<TEntry> entries;
  if (graph.ShowConsensus) entries.push_back({TMark::Circle, kConsensusColour, "Consensus"});
  if (graph.ShowCurrent && !graph.Current.empty())
    entries.push_back({TMark::Diamond, kCurrentColour, "Current radiograph"});
  if (!graph.Extremes.empty()) entries.push_back({TMark::Square, kExtremeColour, graph.ExtremesCaption});
  TFont font;
  font.Height = canvas.ScreenPixelsToLogical(12);
  const double line = canvas.ScreenPixelsToLogical(16);
  const double margin = canvas.ScreenPixelsToLogical(12);
  const TFloatPoint corner = canvas.DeviceToLogical(TFloatPoint{0, 0});
  for (size_t i = 0; i < entries.size(); ++i) {
    const TFloatPoint at{corner.X + margin, corner.Y + margin + line * (static_cast<double>(i) + 0.5)};
    DrawMarkers(canvas, {TFloatPoint{at.X / kGraphUnits, at.Y / kGraphUnits}}, entries[i].Mark, entries[i].Colour);
    canvas.SetFont(font);
    canvas.SetTextColour(0);
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.TextOut({static_cast<int>(at.X + margin), static_cast<int>(at.Y - font.Height / 2)}, entries[i].Text);
  }
}

}  // namespace

std::vector<TFloatPoint> ShapePoints(const std::vector<double>& coordinates) {
  std::vector<TFloatPoint> points;
  for (size_t j = 0; j + 1 < coordinates.size(); j += 2) points.push_back({coordinates[j], coordinates[j + 1]});
  return points;
}

std::vector<double> DeformedShape(const TXRPCA& pca, const std::vector<double>& deviations) {
  std::vector<double> shape = pca.Consensus;
  for (size_t i = 0; i < deviations.size() && i < pca.Variances.size(); ++i) {
    if (deviations[i] == 0 || !(pca.Variances[i] > 0)) continue;
    const double scale = deviations[i] * std::sqrt(pca.Variances[i]);
    for (size_t j = 0; j < shape.size() && j < pca.Loadings.size(); ++j) shape[j] += scale * pca.Loadings[j][i];
  }
  return shape;
}

std::string PcaViewText(TXRPCA& pca, TPcaStatistics& statistics) {
  if (!UsablePcaData(pca)) return std::string(kPcaDataMissingMessage) + std::string(kLineBreak);
  std::string text;
  auto line = [&text](const std::string& content) {
    text += content;
    text += kLineBreak;
  };
  const int components = static_cast<int>(pca.Variances.size());

  line("------------ Current Radiograph ------------");
  const std::optional<double> size = statistics.PCAMeasure(pca, 0, 0);
  const std::optional<double> normalized = statistics.PCAMeasure(pca, 1, 0);
  const std::optional<double> distance = statistics.PCAMeasure(pca, 2, 0);
  if (size && normalized && distance) {
    line("Centroid size:");
    line(FormatReportReal(*size));
    line("Normalized centroid size:");
    line(FormatReportReal(*normalized));
    line("Procrustes distance:");
    line(FormatReportReal(*distance));
    line("Scores (absolute, z-value):");
    for (int c = 1; c <= components; ++c) {
      const std::optional<double> score = statistics.PCAMeasure(pca, 3, c);
      const std::optional<double> z = statistics.PCAMeasure(pca, 4, c);
      line("PC " + Padded(c, 2) + ":  " + (score ? FormatReportReal(*score) : std::string(16, ' ')) + "  " +
           (z ? Fixed(*z, 3, 7) : std::string()));
    }
  } else {
    line(std::string(kPcaDataMissingMessage));
  }

  line("------------ PCA ------------");
  line(FillIn("Data from %d samples.", std::to_string(pca.SampleCount)));
  line("Points:");
  for (size_t i = 0; i < pca.Points.size(); ++i)
    line(Padded(static_cast<int>(i + 1), 2) + ":  " + (pca.Points[i] != nullptr ? pca.Points[i]->Name : std::string()));
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Variances))) line(l);
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Consensus))) line(l);
  line("Sum of Procrustes distances:");
  line(FormatReportReal(pca.SumDistances));
  line("Sum of Squared Procrustes distances:");
  line(FormatReportReal(pca.SumSquaredDistances));
  line("RMS of Procrustes distances:");
  const double rms = pca.SampleCount > 0 ? std::sqrt(pca.SumSquaredDistances / pca.SampleCount) : 0;
  line(std::isfinite(rms) ? FormatReportReal(rms) : std::string());
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Loadings))) line(l);
  return text;
}

std::vector<std::pair<size_t, size_t>> DrawingLinks(const TXRPCA& pca, const TXRGraphic& drawing) {
  std::map<const TXRayElement*, size_t> index;
  for (size_t i = 0; i < pca.Points.size(); ++i) index.emplace(pca.Points[i], i);
  std::vector<std::pair<size_t, size_t>> links;
  for (size_t i = 1; i < drawing.Points.size(); ++i) {
    auto from = index.find(drawing.Points[i - 1]);
    auto to = index.find(drawing.Points[i]);
    if (from != index.end() && to != index.end()) links.emplace_back(from->second, to->second);
  }
  return links;
}

TPcaGraph PcaGraph(TRadiograph& current, TXRPCA& pca, const std::vector<double>& deviations,
                   std::optional<size_t> mirrored, const std::string& drawing) {
  TPcaGraph graph;
  graph.Consensus = ShapePoints(pca.Consensus);
  for (TXRayElement* point : pca.Points) graph.Labels.push_back(point != nullptr ? point->Name : std::string());
  current.LoadCoordinates();
  if (std::optional<std::vector<double>> shape = PcaShape(pca)) {
    std::vector<double> consensus = pca.Consensus;
    if (ProcrustesFit(*shape, consensus, 0)) graph.Current = ShapePoints(*shape);
  }
  graph.Extremes.push_back(ShapePoints(DeformedShape(pca, deviations)));
  if (mirrored && *mirrored < deviations.size()) {
    std::vector<double> other = deviations;
    other[*mirrored] = -other[*mirrored];
    graph.Extremes.push_back(ShapePoints(DeformedShape(pca, other)));
    graph.ExtremesCaption = "Extremes: PC " + std::to_string(*mirrored + 1) + " \xC2\xB1" +
                            Fixed(std::abs(deviations[*mirrored]), 1, 0) + " SD";
  }
  if (TXRayType* type = current.Type())
    if (auto* lines = dynamic_cast<TXRGraphic*>(type->FindElement(drawing, ekGraphic)))
      graph.Lines = DrawingLinks(pca, *lines);
  return graph;
}

void PaintPcaGraph(TCanvas& canvas, const TPcaGraph& graph) {
  const TIntSize device = canvas.DeviceSize();
  canvas.SetMapping({});
  canvas.SetPen({kPcaGraphBackground, TPenStyle::Clear, 0});
  canvas.SetBrush({kPcaGraphBackground, TBrushStyle::Solid});
  canvas.Rectangle({0, 0, device.Width, device.Height});
  if (device.Width <= 0 || device.Height <= 0) return;
  if (graph.Consensus.empty()) {
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.SetTextColour(0);
    canvas.TextOut({10, 10}, kPcaDataMissingMessage);
    return;
  }

  // The frame holds every shape shown, centred, with a margin.
  double extent = 0.05;
  auto widen = [&extent](const std::vector<TFloatPoint>& points) {
    for (TFloatPoint p : points) extent = std::max({extent, std::abs(p.X), std::abs(p.Y)});
  };
  widen(graph.Consensus);
  if (graph.ShowCurrent) widen(graph.Current);
  for (const auto& shape : graph.Extremes) widen(shape);
  const double scale = 0.45 * std::min(device.Width, device.Height) / (extent * kGraphUnits);
  const std::optional<TIsotropicMapping> mapping =
      TIsotropicMapping::FromScale({0, 0}, scale, {device.Width / 2.0, device.Height / 2.0});
  if (!mapping) return;
  canvas.SetMapping(*mapping);

  const TFloatPoint topLeft = canvas.DeviceToLogical(TFloatPoint{0, 0});
  const TFloatPoint bottomRight =
      canvas.DeviceToLogical(TFloatPoint{static_cast<double>(device.Width), static_cast<double>(device.Height)});
  const double step = kGridStep * kGraphUnits;
  canvas.SetPen({kGridColour, TPenStyle::Solid, 0});
  for (double x = std::ceil(topLeft.X / step) * step; x <= bottomRight.X; x += step) {
    canvas.MoveTo({static_cast<int>(x), static_cast<int>(topLeft.Y)});
    canvas.LineTo({static_cast<int>(x), static_cast<int>(bottomRight.Y)});
  }
  for (double y = std::ceil(topLeft.Y / step) * step; y <= bottomRight.Y; y += step) {
    canvas.MoveTo({static_cast<int>(topLeft.X), static_cast<int>(y)});
    canvas.LineTo({static_cast<int>(bottomRight.X), static_cast<int>(y)});
  }
  if (graph.ShowAxes) {
    canvas.SetPen({kAxisColour, TPenStyle::Solid, 0});
    canvas.MoveTo({static_cast<int>(topLeft.X), 0});
    canvas.LineTo({static_cast<int>(bottomRight.X), 0});
    canvas.MoveTo({0, static_cast<int>(topLeft.Y)});
    canvas.LineTo({0, static_cast<int>(bottomRight.Y)});
  }

  if (graph.ShowLines) {
    if (graph.ShowConsensus) DrawLines(canvas, graph.Consensus, graph.Lines);
    if (graph.ShowCurrent) DrawLines(canvas, graph.Current, graph.Lines);
    for (const auto& shape : graph.Extremes) DrawLines(canvas, shape, graph.Lines);
  }
  if (graph.ShowConsensus) DrawMarkers(canvas, graph.Consensus, TMark::Circle, kConsensusColour);
  if (graph.ShowCurrent) DrawMarkers(canvas, graph.Current, TMark::Diamond, kCurrentColour);
  for (const auto& shape : graph.Extremes) DrawMarkers(canvas, shape, TMark::Square, kExtremeColour);
  if (graph.ShowLabels) {
    TFont font;
    font.Height = canvas.ScreenPixelsToLogical(12);
    canvas.SetFont(font);
    canvas.SetTextColour(0);
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    const int offset = static_cast<int>(canvas.ScreenPixelsToLogical(kMarkerPixels + 2));
    for (size_t i = 0; i < graph.Labels.size() && i < graph.Consensus.size(); ++i) {
      const TIntPoint p = Logical(graph.Consensus[i]);
      canvas.TextOut({p.X + offset, p.Y + offset}, graph.Labels[i]);
    }
  }
  if (graph.ShowLegend) DrawLegend(canvas, graph);
}

}  // namespace lumacet
