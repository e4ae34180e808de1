#include "graphics/display.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumacet {

std::string ZoomText(int zoom) { return std::to_string(zoom / 10) + "%"; }

std::array<std::string, kZoomPresets.size() + 2> ZoomBoxEntries() {
  std::array<std::string, kZoomPresets.size() + 2> entries;
  for (std::size_t i = 0; i < kZoomPresets.size(); ++i) entries[i] = ZoomText(kZoomPresets[i]);
  entries[kZoomPresets.size()] = kFitAllEntry;
  entries[kZoomPresets.size() + 1] = kBestFitEntry;
  return entries;
}

namespace {

// Whole percent at the start of the text, before an optional "%" that ends it.
std::optional<int> Percent(std::string_view text) {
  if (text.ends_with('%')) text.remove_suffix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || text.front() == '-') {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int> TypedZoom(std::string_view text) {
  std::optional<int> percent = Percent(text);
  if (!percent || *percent < kMinimumZoom / 10 || *percent > kMaximumZoom / 10) return std::nullopt;
  return *percent * 10;
}

bool ZoomBoxAcceptsKey(char key) {
  return (key >= '0' && key <= '9') || key == '%' || key == '/' || key == '\b' || key == '\r';
}

void TDisplayMapping::SetAreaSize(TIntSize pixels) { fArea = {std::max(pixels.Width, 0), std::max(pixels.Height, 0)}; }

void TDisplayMapping::SetScroll(TIntPoint position) {
  const TIntSize extent = WindowExtent();
  fScroll = {ClampedPosition(position.X, extent.Width), ClampedPosition(position.Y, extent.Height)};
}

TIntSize TDisplayMapping::WindowExtent() const {
  auto extent = [this](int pixels) {
    const double units = pixels / kNominalPixelsPerMillimetre * kUnitsPerMillimetre / (fZoom / 1000.0);
    return std::max(1, RoundSaturated(units));
  };
  return {extent(fArea.Width), extent(fArea.Height)};
}

std::optional<TIsotropicMapping> TDisplayMapping::Mapping() const {
  if (!CanPaint()) return std::nullopt;
  return TIsotropicMapping::Make(fScroll, WindowExtent(), {0, 0}, fArea);
}

std::optional<TFloatPoint> TDisplayMapping::ToTracing(TFloatPoint pixel) const {
  std::optional<TIsotropicMapping> mapping = Mapping();
  if (!mapping) return std::nullopt;
  return mapping->ToLogical(pixel);
}

std::optional<TFloatPoint> TDisplayMapping::ToPixel(TFloatPoint tracing) const {
  std::optional<TIsotropicMapping> mapping = Mapping();
  if (!mapping) return std::nullopt;
  return mapping->ToDevice(tracing);
}

TFloatPoint TDisplayMapping::Centre() const {
  const TIntSize extent = WindowExtent();
  return {fScroll.X + extent.Width / 2.0, fScroll.Y + extent.Height / 2.0};
}

TScrollBar TDisplayMapping::Bar(int position, int extent) {
  if (extent >= kWorldExtent) return {false, extent, 0};
  return {true, extent, ClampedPosition(position, extent)};
}

// A world no larger than the visible extent cannot scroll: the bar stays at 0.
int TDisplayMapping::ClampedPosition(double position, int extent) {
  if (extent >= kWorldExtent || !std::isfinite(position)) return 0;
  return std::clamp(RoundSaturated(position), 0, kWorldExtent - extent);
}

void TDisplayMapping::ZoomCenterInDisplay(int zoom, double x, double y) {
  fZoom = std::max(1, zoom);
  const TIntSize extent = WindowExtent();
  fScroll = {ClampedPosition(x - extent.Width / 2.0, extent.Width),
             ClampedPosition(y - extent.Height / 2.0, extent.Height)};
}

bool TDisplayMapping::CenterInDisplayRobust(double x, double y) {
  const TIntSize extent = WindowExtent();
  const TFloatPoint centre = Centre();
  if (std::fabs(x - centre.X) <= 0.7 * extent.Width / 2.0 && std::fabs(y - centre.Y) <= 0.7 * extent.Height / 2.0) {
    return false;
  }
  ZoomCenterInDisplay(fZoom, x, y);
  return true;
}

void TDisplayMapping::ZoomRect(const TIntRect& rectangle) {
  const TIntRect r = Normalised(rectangle);
  const double w = static_cast<double>(r.Right) - r.Left;
  const double h = static_cast<double>(r.Bottom) - r.Top;
  if (w == 0 || h == 0 || !CanPaint()) return;
  const double zoom = fArea.Width / w > fArea.Height / h ? kWorldExtent * fArea.Height / h
                                                          : kWorldExtent * fArea.Width / w;
  ZoomCenterInDisplay(std::clamp(RoundSaturated(zoom), kMinimumZoom, kMaximumZoom),
                      (static_cast<double>(r.Left) + r.Right) / 2, (static_cast<double>(r.Top) + r.Bottom) / 2);
}

void TDisplayMapping::ZoomInAt(TFloatPoint centre) {
  int next = kZoomPresets.front();
  for (int preset : kZoomPresets) {
    if (preset > fZoom) next = preset;
  }
  ZoomCenterInDisplay(next, centre.X, centre.Y);
}

void TDisplayMapping::ZoomStepAbout(TFloatPoint cursor, bool in) {
  const std::optional<TFloatPoint> before = ToTracing(cursor);
  if (!before) return;
  if (in) {
    ZoomIn();
  } else {
    ZoomOut();
  }
  const std::optional<TFloatPoint> after = ToTracing(cursor);
  if (!after) return;
  SetScroll({RoundSaturated(fScroll.X + before->X - after->X), RoundSaturated(fScroll.Y + before->Y - after->Y)});
}

void TDisplayMapping::PanFrom(TIntPoint pressedAt, TFloatPoint pixels) {
  // The mapping is linear: the drag's length in tracing units does not depend on the scroll.
  const std::optional<TFloatPoint> origin = ToTracing({0, 0});
  const std::optional<TFloatPoint> moved = ToTracing(pixels);
  if (!origin || !moved) return;
  SetScroll({RoundSaturated(pressedAt.X - (moved->X - origin->X)), RoundSaturated(pressedAt.Y - (moved->Y - origin->Y))});
}

void TDisplayMapping::ZoomOutAt(TFloatPoint centre) {
  int next = kZoomPresets.back();
  for (auto it = kZoomPresets.rbegin(); it != kZoomPresets.rend(); ++it) {
    if (*it < fZoom) next = *it;
  }
  ZoomCenterInDisplay(next, centre.X, centre.Y);
}

void TDisplayMapping::ZoomToolRelease(const TIntRect& band) {
  const TIntRect r = Normalised(band);
  if (static_cast<double>(r.Right) - r.Left >= 2 || static_cast<double>(r.Bottom) - r.Top >= 2) {
    ZoomRect(r);
  } else {
    ZoomInAt({static_cast<double>(band.Left), static_cast<double>(band.Top)});
  }
}

void TDisplayMapping::FitAll() {
  if (!CanPaint()) return;
  fZoom = std::max(1, std::min(fArea.Width, fArea.Height) - 1);
  fScroll = {0, 0};
}

void TDisplayMapping::ChooseZoomBoxEntry(std::string_view entry, const TIntRect& bestFitBounds) {
  if (entry == kFitAllEntry) {
    FitAll();
  } else if (entry == kBestFitEntry) {
    BestFit(bestFitBounds);
  } else {
    const TFloatPoint centre = Centre();
    const int percent = Percent(entry).value_or(kNominalZoom / 10);
    ZoomCenterInDisplay(std::clamp(percent, kMinimumZoom / 10, kMaximumZoom / 10) * 10, centre.X, centre.Y);
  }
}

}  // namespace lumacet
