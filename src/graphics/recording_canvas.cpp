#include "graphics/recording_canvas.h"

namespace lumacet {

TCanvasCall& TRecordingCanvas::Record(TCanvasCallKind kind) {
  TCanvasCall& call = Calls.emplace_back();
  call.Kind = kind;
  call.Pen = Pen();
  call.Brush = Brush();
  call.Font = Font();
  call.TextColour = TextColour();
  call.BackgroundMode = BackgroundMode();
  call.BackgroundColour = BackgroundColour();
  call.Mapping = Mapping();
  call.Clip = DeviceClip();
  return call;
}

bool TRecordingCanvas::NewPage() {
  Record(TCanvasCallKind::NewPage);
  return true;
}

void TRecordingCanvas::Polyline(std::span<const TIntPoint> points) {
  Record(TCanvasCallKind::Polyline).Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::Polygon(std::span<const TIntPoint> points) {
  Record(TCanvasCallKind::Polygon).Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::Rectangle(const TIntRect& box) { Record(TCanvasCallKind::Rectangle).Box = box; }

void TRecordingCanvas::Ellipse(const TIntRect& box) { Record(TCanvasCallKind::Ellipse).Box = box; }

void TRecordingCanvas::Arc(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) {
  TCanvasCall& call = Record(TCanvasCallKind::Arc);
  call.Box = box;
  call.Points = {startRadial, endRadial};
}

void TRecordingCanvas::Pie(const TIntRect& box, TIntPoint startRadial, TIntPoint endRadial) {
  TCanvasCall& call = Record(TCanvasCallKind::Pie);
  call.Box = box;
  call.Points = {startRadial, endRadial};
}

void TRecordingCanvas::TextOut(TIntPoint topLeft, std::string_view utf8) {
  TCanvasCall& call = Record(TCanvasCallKind::Text);
  call.Points = {topLeft};
  call.Text = utf8;
}

TIntSize TRecordingCanvas::TextExtent(std::string_view utf8) const {
  int characters = 0;
  for (char c : utf8) {
    // Continuation bytes 10xxxxxx belong to the character before them.
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  double height = Font().Height;
  return {RoundSaturated(characters * height / 2), RoundSaturated(1.2 * height)};
}

void TRecordingCanvas::StretchImage(const TIntRect& target, const TBitmapView& image,
                                    const TIntRect& source, TStretchMode mode) {
  TCanvasCall& call = Record(TCanvasCallKind::StretchImage);
  call.Box = target;
  call.Source = source;
  call.Stretch = mode;
  call.ImageSize = {image.Width, image.Height};
}

void TRecordingCanvas::BlitDevice(TIntPoint deviceTopLeft, const TBitmapView& image) {
  TCanvasCall& call = Record(TCanvasCallKind::BlitDevice);
  call.Points = {deviceTopLeft};
  call.ImageSize = {image.Width, image.Height};
}

}  // namespace lumacet
