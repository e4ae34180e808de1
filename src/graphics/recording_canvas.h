// A canvas that paints nothing and keeps a list of every call with the state it was drawn
// in (the clip too), so that tests can check what a painting routine draws. Text is measured with fixed
// fake metrics so that label layouts come out the same everywhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/canvas.h"

namespace lumacet {

enum class TCanvasCallKind : std::uint8_t {
  Polyline, Polygon, Rectangle, Ellipse, Arc, Pie, Text, StretchImage, BlitDevice, NewPage
};

struct TCanvasCall {
  TCanvasCallKind Kind = TCanvasCallKind::Polyline;
  // Polyline and polygon vertices; the start and end radial points of arcs and pies; the
  // position of text and blits. Logical units, except the device position of a blit.
  std::vector<TIntPoint> Points;
  // The box of rectangles, ellipses, arcs and pies; the target of stretched images.
  TIntRect Box;
  TIntRect Source;  // stretched images
  TStretchMode Stretch = TStretchMode::Nearest;
  TIntSize ImageSize;
  std::string Text;
  TPen Pen;
  TBrush Brush;
  TFont Font;
  std::uint32_t TextColour = 0;
  TBackgroundMode BackgroundMode = TBackgroundMode::Opaque;
  std::uint32_t BackgroundColour = 0;
  TIsotropicMapping Mapping;
  std::optional<TIntRect> Clip;  // device pixels
};

class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(TIntSize deviceSize = {1000, 1000}, double devicePixelsPerScreenPixel = 1)
      : fDeviceSize(deviceSize), fScreenPixel(devicePixelsPerScreenPixel) {}

  TIntSize DeviceSize() const override { return fDeviceSize; }
  double DevicePixelsPerScreenPixel() const override { return fScreenPixel; }

  void Polyline(std::span<const TIntPoint> points) override;
  void Polygon(std::span<const TIntPoint> points) override;
  void Rectangle(const TIntRect& box) override;
  void Ellipse(const TIntRect& box) override;
  void Arc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) override;
  void Pie(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) override;
  void TextOut(TIntPoint topLeft, std::string_view utf8) override;
  // Each character (UTF-8 code point) is half the font height wide; the cell is 1.2 times
  // the font height, rounded.
  TIntSize TextExtent(std::string_view utf8) const override;
  void StretchImage(const TIntRect& target, const TBitmapView& image, const TIntRect& source,
                    TStretchMode mode) override;
  void BlitDevice(TIntPoint deviceTopLeft, const TBitmapView& image) override;
  // Recorded as a call: the recording stands for a surface of pages.
  bool NewPage() override;

  std::vector<TCanvasCall> Calls;

 protected:
  void ApplyClip(const std::optional<TIntRect>&) override {}

 private:
  TCanvasCall& Record(TCanvasCallKind kind);

  TIntSize fDeviceSize;
  double fScreenPixel;
};

}  // namespace lumacet
