// The display's two measuring tools: the ruler (also the magnification tool's) and the
// protractor, with the read-outs written beside them and in the status bar, and the
// arithmetic of the magnification dialog that the magnification tool opens. The tools hold
// integer tracing positions of the drag; the window moves them and asks them to draw.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/canvas.h"
#include "graphics/shapes.h"

namespace lumacet {


struct TRulerLook {
  std::uint32_t Colour = 0x0000FF;
  bool TickMarks = true;
};
// Where a read-out stands, cycled by a right click during the drag: the moving end plus
// the offset, the moving end minus it, the start plus it, the start minus it; the offset
// points from the start towards the moving end.
inline constexpr int kReadOutPlaces = 4;

struct TRuler {
  TIntPoint Start;
  TIntPoint End;  // the moving end
  bool MagnificationTool = false;
  int ReadOutPlace = 0;

  void NextReadOutPlace() { ReadOutPlace = (ReadOutPlace + 1) % kReadOutPlaces; }
  // Tracing units.
  double Length() const;
};

// "23.46 mm"; for the magnification tool followed by " (4.0%)", the excess over the
// length rounded down to whole 5 mm (nothing added under 5 mm).
std::string RulerReadOut(double lengthUnits, bool magnificationTool, char decimalSeparator);
// The status bar: "dx: 1.5 mm", "dy: -2 mm", "dist: 2.5 mm" (y positive downwards).
std::array<std::string, 3> RulerStatus(TIntPoint start, TIntPoint end, char decimalSeparator);
// The measured length the magnification dialog receives: millimetres in "0.##".
std::string RulerMeasuredText(double lengthUnits, char decimalSeparator);

// The centre of a read-out `offset` units from the chosen end along the line.
TFloatPoint ReadOutCentre(TIntPoint start, TIntPoint end, int place, double offset);

// The ruler's double arrow, thin and solid in the ruler colour, with tick marks when the
// look asks for them (the magnification tool always has fitted ticks), and its read-out:
// 45 screen pixels from the chosen end, centred, on white, 20 screen pixels high.
void DrawRuler(TCanvas& canvas, const TRuler& ruler, const TRulerLook& look, char decimalSeparator);

// The protractor: the first line stays while the second is dragged.
struct TProtractor {
  std::optional<TIntSegment> First;
  std::optional<TIntSegment> Second;  // From is the start of the drag
  int ReadOutPlace = 0;

  void NextReadOutPlace() { ReadOutPlace = (ReadOutPlace + 1) % kReadOutPlaces; }
  // Degrees between the lines, 0..180; nothing until both are there.
  std::optional<double> Angle() const;
};

// "30.0° (150.0°)": the angle and its supplement.
std::string ProtractorReadOut(double degrees, char decimalSeparator);
// " angle: 30.0° supplemental: 150.0°".
std::string ProtractorStatus(double degrees, char decimalSeparator);
// The first line solid, the second dotted, in the ruler colour, and beside the second its
// read-out 30 screen pixels from the chosen end.
void DrawProtractor(TCanvas& canvas, const TProtractor& protractor, const TRulerLook& look, char decimalSeparator);

// The magnification dialog. Life size on opening: the measured length rounded down to a
// whole multiple of 5 mm; nothing under 5 mm, where no magnification could be derived.
std::optional<int> InitialLifeSize(double measuredMillimetres);
// (measured - life size) / life size x 100; nothing unless both are finite and the life
// size is positive.
std::optional<double> DialogMagnification(double measuredMillimetres, double lifeSizeMillimetres);
// The Magnification field: "0.##", empty without a value.
std::string MagnificationText(std::optional<double> magnification, char decimalSeparator);
// "<< &Set this Magnification" is enabled only for a magnification a radiograph can take:
// greater than -100 and at most 1000.
bool CanSetMagnification(std::optional<double> magnification);

}  // namespace lumacet
