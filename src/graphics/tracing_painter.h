// Painting the display: white ground, images, grid, page outlines, the tracings of every
// shown radiograph with the current analysis, and the tools' marks, in that order, on any
// canvas whose mapping is already set (the window's back buffer, a picture, an image).
// The same routine paints the screen and every picture of it.
//
// Painting loads each shown radiograph's coordinates into its type in turn and leaves the
// current radiograph's loaded at the end; it writes nothing else into the model (label
// rectangles only when the label options ask for them). Each radiograph's values are
// computed once per paint, also for comparative labels.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/drawing_style.h"
#include "graphics/labels.h"
#include "graphics/measuring_tools.h"

namespace lumacet {

class TRadiograph;
class TXRayType;

// Drawing style: how tracings take their pens.
inline constexpr int kStyleAsDefined = 0;
inline constexpr int kStyleByPosition = 1;
inline constexpr int kStyleCurrentAsDefined = 2;  // "Current: as Defined, Others: by Position"

// Analysis mode when the analysis is shown.
inline constexpr int kAnalysisCurrentOnly = 0;
inline constexpr int kAnalysisComparative = 1;
inline constexpr int kAnalysisAll = 2;

// No grid is drawn for a density below this many millimetres.
inline constexpr int kMinimumGridDensity = 2;

// What the display's options say about painting.
struct TDisplayOptions {
  int DrawingStyle = kStyleAsDefined;
  std::array<TPositionPen, kPositionCount> PositionPens = kDefaultPositionPens;
  bool AnalysisShown = true;
  int AnalysisMode = kAnalysisCurrentOnly;
  bool GridShown = true;
  int GridDensity = 20;  // millimetres
  std::uint32_t GridColour = 0x808080;
  TLabelOptions Labels;
  TMarkerSettings SelectionMarker = DefaultSelectionMarker();
  bool MarkerSizeInScreenPixels = true;
  TRulerLook Ruler;
};
using TPaintHook = std::function<void(TCanvas&)>;

// The pen the radiograph in `slot` is drawn with when the drawing style gives it its
// position's pen; nullopt when its drawings keep their own pens.
std::optional<TPen> SlotPen(const TDisplayOptions& options, int slot, bool current);

// What is on the display besides the options: the open radiographs and the tools' state.
struct TDisplayScene {
  // The workspace's slots in order; empty slots are null. Only visible ones are painted.
  std::vector<TRadiograph*> Slots;
  int Current = -1;  // index into Slots, -1 for none
  // The image layer: paints the images of the shown radiographs, the others opaque from the
  // last slot to the first, then the current one blended. Unset: no images.
  TPaintHook Images;
  // A running movement preview's overlays, painted between the other tracings and the
  // current one.
  TPaintHook MovementPreview;
  // The selection tool's handles at the corners of the selection.
  TPaintHook SelectionHandles;
  // The image positioning tool's handles.
  TPaintHook ImageToolHandles;
  // The print areas shown as page outlines (tracing, text and extended print areas).
  std::array<std::optional<TIntRect>, 3> PageOutlines;
  int PlacedPage = -1;  // the outline being placed with the page tool, drawn wide
  std::optional<TFloatPoint> RotationCentre;
  const TProtractor* Protractor = nullptr;
  // A type whose analysis or view the type editor is editing: its analysis is not drawn
  // (the editor shows its own preview).
  const TXRayType* EditedAnalysisType = nullptr;
};

// The whole display, in order: white ground over the visible area; images; grid; page
// outlines; tracings with the analysis (labels in the label font); the current
// radiograph's selection markers and handles; the rotation centre; image-tool handles;
// the protractor.
void DrawDisplay(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options);

// The tracings alone (also what pictures of the display draw after the grid): every other
// visible radiograph from the last slot to the first with, in mode "All", its analysis;
// the movement preview; the current radiograph; its analysis, with the values of the other
// visible radiographs of a type of the same name in mode "Comparative".
void DrawTracings(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options);

// The tracing picture that leaves the program (clipboard, picture files, presentations):
// the tracing world 30 cm square, one tracing unit per device unit, drawn from (0, 0).
inline constexpr TIntSize kTracingPictureSize{3000, 3000};
// Its content: the scene's images (when it has any), the grid when shown, the tracings.
void DrawTracingPicture(TCanvas& canvas, TDisplayScene& scene, const TDisplayOptions& options);

// Thin dotted lines in the grid colour every `density` millimetres across the world.
void DrawGrid(TCanvas& canvas, int density, std::uint32_t colour);

// The markers at the selected points of the radiograph (its coordinates loaded when its
// type holds another's).
std::vector<TMarker> SelectionMarkers(TRadiograph& radiograph, const TMarkerSettings& settings,
                                      bool sizeInScreenPixels);

// The rotation centre: a grey cross 4 mm each way with a circle of 2 mm.
void DrawRotationCentre(TCanvas& canvas, TFloatPoint centre);

// The tracing rectangle a canvas shows: its device area in logical units, with a unit to
// spare on every side.
TIntRect VisibleArea(const TCanvas& canvas);

}  // namespace lumacet
