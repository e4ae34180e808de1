#include "graphics/measuring_tools.h"

#include <cmath>

#include "geometry/plane_geometry.h"
#include "measure/number_format.h"
#include "measure/text_style.h"

namespace lumacet {

namespace {

constexpr double kUnitsPerMm = 10;
constexpr double kRulerReadOutOffset = 45;       // screen pixels
constexpr double kProtractorReadOutOffset = 30;  // screen pixels
constexpr double kReadOutHeight = 20;            // screen pixels
constexpr const char* kDegree = "\u00B0";

TFloatPoint Real(TIntPoint p) { return {static_cast<double>(p.X), static_cast<double>(p.Y)}; }

std::string Millimetres(double units, const char* pattern, char separator) {
  return FormatNumber(units / kUnitsPerMm, pattern, separator);
}

// The text centred on `centre`, on an opaque white ground, in a font of the given screen
// pixel height.
void DrawReadOut(TCanvas& canvas, TFloatPoint centre, const std::string& text, std::uint32_t colour) {
  TFont font;
  font.Height = canvas.ScreenPixelsToLogical(kReadOutHeight);
  canvas.SetFont(font);
  canvas.SetTextColour(colour);
  canvas.SetBackgroundColour(kColourWhite);
  canvas.SetBackgroundMode(TBackgroundMode::Opaque);
  const TIntSize extent = canvas.TextExtent(text);
  canvas.TextOut(RoundSaturated(TFloatPoint{centre.X - extent.Width / 2.0, centre.Y - extent.Height / 2.0}), text);
}

}  // namespace

double TRuler::Length() const { return Distance(Real(Start), Real(End)); }

std::string RulerReadOut(double lengthUnits, bool magnificationTool, char decimalSeparator) {
  std::string text = Millimetres(lengthUnits, "0.00", decimalSeparator) + " mm";
  if (!magnificationTool) return text;
  const double length = lengthUnits / kUnitsPerMm;
  const double lifeSize = std::floor(length / 5) * 5;
  if (lifeSize > 0) {
    text += " (" + FormatNumber((length - lifeSize) / lifeSize * 100, "0.0", decimalSeparator) + "%)";
  }
  return text;
}

std::array<std::string, 3> RulerStatus(TIntPoint start, TIntPoint end, char decimalSeparator) {
  const double dx = static_cast<double>(end.X) - start.X;
  const double dy = static_cast<double>(end.Y) - start.Y;
  return {"dx: " + Millimetres(dx, "0.##", decimalSeparator) + " mm",
          "dy: " + Millimetres(dy, "0.##", decimalSeparator) + " mm",
          "dist: " + Millimetres(std::hypot(dx, dy), "0.##", decimalSeparator) + " mm"};
}

std::string RulerMeasuredText(double lengthUnits, char decimalSeparator) {
  return Millimetres(lengthUnits, "0.##", decimalSeparator);
}

TFloatPoint ReadOutCentre(TIntPoint start, TIntPoint end, int place, double offset) {
  const TFloatPoint from = Real(start);
  const TFloatPoint to = Real(end);
  const double length = Distance(from, to);
  const double ux = length > 0 ? (to.X - from.X) / length * offset : 0;
  const double uy = length > 0 ? (to.Y - from.Y) / length * offset : 0;
  const int at = ((place % kReadOutPlaces) + kReadOutPlaces) % kReadOutPlaces;
  const TFloatPoint base = at < 2 ? to : from;
  const double sign = at % 2 == 0 ? 1 : -1;
  return {base.X + sign * ux, base.Y + sign * uy};
}

void DrawRuler(TCanvas& canvas, const TRuler& ruler, const TRulerLook& look, char decimalSeparator) {
  TRulerDoubleArrow arrow;
  arrow.X1 = ruler.Start.X;
  arrow.Y1 = ruler.Start.Y;
  arrow.X2 = ruler.End.X;
  arrow.Y2 = ruler.End.Y;
  arrow.Pen = {look.Colour, TPenStyle::Solid, 0};
  arrow.Brush = {look.Colour, TBrushStyle::Clear};
  arrow.TickMarks = look.TickMarks || ruler.MagnificationTool;
  arrow.FitTicks = ruler.MagnificationTool;
  arrow.Draw(canvas);
  const TFloatPoint centre =
      ReadOutCentre(ruler.Start, ruler.End, ruler.ReadOutPlace, canvas.ScreenPixelsToLogical(kRulerReadOutOffset));
  DrawReadOut(canvas, centre, RulerReadOut(ruler.Length(), ruler.MagnificationTool, decimalSeparator), look.Colour);
}

std::optional<double> TProtractor::Angle() const {
  if (!First || !Second) return std::nullopt;
  return std::fabs(RadToDeg(PixelAngleBetweenLines(First->From, First->To, Second->From, Second->To)));
}

std::string ProtractorReadOut(double degrees, char decimalSeparator) {
  return FormatNumber(degrees, "0.0", decimalSeparator) + kDegree + " (" +
         FormatNumber(180 - degrees, "0.0", decimalSeparator) + kDegree + ")";
}

std::string ProtractorStatus(double degrees, char decimalSeparator) {
  return std::string(" angle: ") + FormatNumber(degrees, "0.0", decimalSeparator) + kDegree +
         " supplemental: " + FormatNumber(180 - degrees, "0.0", decimalSeparator) + kDegree;
}

void DrawProtractor(TCanvas& canvas, const TProtractor& protractor, const TRulerLook& look, char decimalSeparator) {
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  if (protractor.First) {
    canvas.SetPen({look.Colour, TPenStyle::Solid, 0});
    canvas.MoveTo(protractor.First->From);
    canvas.LineTo(protractor.First->To);
  }
  if (!protractor.Second) return;
  canvas.SetPen({look.Colour, TPenStyle::Dot, 0});
  canvas.MoveTo(protractor.Second->From);
  canvas.LineTo(protractor.Second->To);
  if (std::optional<double> angle = protractor.Angle()) {
    const TFloatPoint centre = ReadOutCentre(protractor.Second->From, protractor.Second->To, protractor.ReadOutPlace,
                                             canvas.ScreenPixelsToLogical(kProtractorReadOutOffset));
    DrawReadOut(canvas, centre, ProtractorReadOut(*angle, decimalSeparator), look.Colour);
  }
}

std::optional<int> InitialLifeSize(double measuredMillimetres) {
  if (!std::isfinite(measuredMillimetres) || measuredMillimetres < 5 || measuredMillimetres > 1e9) return std::nullopt;
  return static_cast<int>(std::floor(measuredMillimetres / 5)) * 5;
}

std::optional<double> DialogMagnification(double measuredMillimetres, double lifeSizeMillimetres) {
  if (!std::isfinite(measuredMillimetres) || !std::isfinite(lifeSizeMillimetres) || !(lifeSizeMillimetres > 0)) {
    return std::nullopt;
  }
  const double magnification = (measuredMillimetres - lifeSizeMillimetres) / lifeSizeMillimetres * 100;
  if (!std::isfinite(magnification)) return std::nullopt;
  return magnification;
}

std::string MagnificationText(std::optional<double> magnification, char decimalSeparator) {
  return magnification ? FormatNumber(*magnification, "0.##", decimalSeparator) : std::string();
}

bool CanSetMagnification(std::optional<double> magnification) {
  return magnification && *magnification > -100 && *magnification <= 1000;
}

}  // namespace lumacet
