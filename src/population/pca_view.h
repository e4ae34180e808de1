// What the PCA viewer shows of a PCA element: the consensus deformed along the principal
// components, the current radiograph's shape statistics as text, and the graph of the
// shapes in the consensus frame, painted through the abstract canvas.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "geometry/coordinates.h"

namespace lumacet {

class TCanvas;
class TPcaStatistics;
class TRadiograph;
class TXRGraphic;
class TXRPCA;

inline constexpr std::string_view kPcaDataMissingMessage = "Data is missing or invalid.";
inline constexpr std::uint32_t kPcaGraphBackground = 0x00FFFFFF;  // 0x00BBGGRR

// Coordinates x1, y1, x2, y2, ... as points.
std::vector<TFloatPoint> ShapePoints(const std::vector<double>& coordinates);

// The consensus deformed along the components: consensus_j + sum over i of
// deviations[i] sqrt(variance i) loading[j][i], deviations in standard deviations (one per
// component, missing ones 0). The element's data must be usable.
std::vector<double> DeformedShape(const TXRPCA& pca, const std::vector<double>& deviations);

// The "&Text" page for the radiograph whose coordinates are loaded in the element's type;
// lines end "\r\n".
std::string PcaViewText(TXRPCA& pca, TPcaStatistics& statistics);

// What the graph shows, in consensus coordinates (unit centroid size about the origin).
struct TPcaGraph {
  std::vector<TFloatPoint> Consensus;
  std::vector<TFloatPoint> Current;  // empty when the radiograph cannot be measured
  // The deformed shape; with "&Extremes" also the shape deformed the other way.
  std::vector<std::vector<TFloatPoint>> Extremes;
  std::vector<std::string> Labels;               // one per point
  std::vector<std::pair<size_t, size_t>> Lines;  // point index pairs joined by the drawing
  bool ShowCurrent = true;
  bool ShowConsensus = true;
  bool ShowLines = true;
  bool ShowLabels = false;
  bool ShowAxes = true;
  // Which marker is which, in the top left corner.
  bool ShowLegend = true;
  std::string ExtremesCaption = "Deformed consensus";  // what the squares stand for
};

// The graph of the element, whose data must be usable, for the radiograph (its coordinates
// are loaded): the consensus, the radiograph's shape fitted onto it, the consensus deformed
// by `deviations` and, for a `mirrored` component, deformed with that component's deviation
// the other way; the lines of the type's drawing of that name. The toggles stay as they are.
TPcaGraph PcaGraph(TRadiograph& current, TXRPCA& pca, const std::vector<double>& deviations,
                   std::optional<size_t> mirrored, const std::string& drawing);

// The graph fitted into the canvas's whole device area: grid, axes, lines, markers, labels
// at the consensus points, and the legend.
void PaintPcaGraph(TCanvas& canvas, const TPcaGraph& graph);

// Pairs of the element's point indices that consecutive points of the drawing join.
std::vector<std::pair<size_t, size_t>> DrawingLinks(const TXRPCA& pca, const TXRGraphic& drawing);

}  // namespace lumacet
