#include "graphics/image_layer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <span>

#include "imaging/image_frame.h"
#include "model/radiograph.h"

namespace lumacet {

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFFu;
constexpr std::uint32_t kOutside = 0xFF000000u;
constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;

struct TDeviceBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;  // exclusive
  int Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

TDeviceBox Union(const TDeviceBox& a, const TDeviceBox& b) {
  if (a.Empty()) return b;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

// Image pixel coordinates as an affine function of the device pixel (x, y): the pixel under
// the centre of device pixel (x, y) is (floor(U0 + x Ux + y Uy), floor(V0 + x Vx + y Vy)).
struct TDeviceToPixel {
  double U0, Ux, Uy, V0, Vx, Vy;
};

// One image as placed on the device.
struct TPlacedImage {
  const TBitmap32* Bitmap = nullptr;
  TDeviceToPixel Map{};
  // The device pixels the image may cover; for an upright image exactly those it covers.
  TDeviceBox Box;
  // Image columns follow the device column alone and rows the device row alone, so that
  // one table of columns serves every row and the box is exact.
  bool Upright = false;
  std::vector<int> Columns;  // upright: the image column under each device column of Box
};

std::optional<TPlacedImage> Place(const TCanvas& canvas, const TRadiograph& radiograph) {
  const TBitmap32& bitmap = radiograph.Image.Display;
  const TImageFrame frame = ImageFrameOf(radiograph);
  if (bitmap.Empty() || !(frame.PixelWidth > 0) || !(frame.PixelHeight > 0) || !std::isfinite(frame.PixelWidth) ||
      !std::isfinite(frame.PixelHeight))
    return std::nullopt;

  const TIntSize device = canvas.DeviceSize();
  double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
  for (TFloatPoint corner : ImageCorners(frame, bitmap.Width, bitmap.Height)) {
    const TFloatPoint d = canvas.LogicalToDevice(corner);
    left = std::min(left, d.X);
    top = std::min(top, d.Y);
    right = std::max(right, d.X);
    bottom = std::max(bottom, d.Y);
  }
  if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom))
    return std::nullopt;
  TPlacedImage placed;
  placed.Bitmap = &bitmap;
  // Held to the device before the conversion, so that no zoom can overflow an int.
  auto within = [](double v, int size) { return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(size))); };
  placed.Box = {within(std::floor(left), device.Width), within(std::floor(top), device.Height),
                within(std::ceil(right), device.Width), within(std::ceil(bottom), device.Height)};
  if (placed.Box.Empty()) return std::nullopt;

  auto pixelAt = [&](double x, double y) { return TracingToPixel(frame, canvas.DeviceToLogical(TFloatPoint{x, y})); };
  const std::optional<TFloatPoint> origin = pixelAt(0.5, 0.5);
  const std::optional<TFloatPoint> alongX = pixelAt(1.5, 0.5);
  const std::optional<TFloatPoint> alongY = pixelAt(0.5, 1.5);
  if (!origin || !alongX || !alongY) return std::nullopt;
  const TDeviceToPixel m{origin->X, alongX->X - origin->X, alongY->X - origin->X,
                         origin->Y, alongX->Y - origin->Y, alongY->Y - origin->Y};
  placed.Map = m;
  placed.Upright = m.Uy == 0 && m.Vx == 0;
  if (!placed.Upright) return placed;

  // Both coordinates are monotonic along their axis, so the covered columns and rows are
  // each one run: the box shrinks to them.
  auto inside = [](double p, int size) { return p >= 0 && p < size; };
  TDeviceBox exact;
  for (int x = placed.Box.Left; x < placed.Box.Right; ++x) {
    const double u = m.U0 + x * m.Ux;
    if (!inside(u, bitmap.Width)) continue;
    if (placed.Columns.empty()) exact.Left = x;
    exact.Right = x + 1;
    placed.Columns.push_back(static_cast<int>(u));
  }
  for (int y = placed.Box.Top; y < placed.Box.Bottom; ++y) {
    if (!inside(m.V0 + y * m.Vy, bitmap.Height)) continue;
    if (exact.Bottom == 0) exact.Top = y;
    exact.Bottom = y + 1;
  }
  if (exact.Empty()) return std::nullopt;
  placed.Box = exact;
  return placed;
}

bool Contains(const TDeviceBox& outer, const TDeviceBox& inner) {
  return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right &&
         outer.Bottom >= inner.Bottom;
}

// Device row y of the image into row[0 .. box width): the pixel whose centre lies on each
// screen pixel, or `outside` where the image does not cover it.
void SampleRow(const TPlacedImage& image, int y, std::uint32_t* row, std::uint32_t outside) {
  const TBitmap32& bitmap = *image.Bitmap;
  const TDeviceToPixel& m = image.Map;
  const int n = image.Box.Right - image.Box.Left;
  if (image.Upright) {
    const std::uint32_t* source = bitmap.Row(static_cast<int>(m.V0 + y * m.Vy));
    const int* columns = image.Columns.data();
    for (int i = 0; i < n; ++i) row[i] = source[columns[i]] & kColourBytes;
    return;
  }
  const double u0 = m.U0 + y * m.Uy;
  const double v0 = m.V0 + y * m.Vy;
  const double width = bitmap.Width;
  const double height = bitmap.Height;
  for (int i = 0; i < n; ++i) {
    const int x = image.Box.Left + i;
    const double u = u0 + x * m.Ux;
    const double v = v0 + x * m.Vx;
    // floor(u) lies in [0, width) exactly when u does, and then truncation is the floor.
    row[i] = u >= 0 && v >= 0 && u < width && v < height
                 ? bitmap.Row(static_cast<int>(v))[static_cast<int>(u)] & kColourBytes
                 : outside;
  }
}

bool Shown(const TRadiograph* radiograph) {
  return radiograph != nullptr && radiograph->Visible && radiograph->Image.ImageVisible && radiograph->Image.HasImage();
}

// The layer's pixels, kept from one paint to the next so that a repaint neither allocates
// nor touches fresh pages; a layer far larger than a screen (a print) is let go afterwards.
struct TScratch {
  std::vector<std::uint32_t> Layer;
  std::vector<std::uint32_t> Row;
};
constexpr std::size_t kKeptPixels = std::size_t{4096} * 2304;

}  // namespace

void DrawImages(TCanvas& canvas, const std::vector<TRadiograph*>& slots, int current, const TImageBlendOptions& blend) {
  const TRadiograph* currentRadiograph = current >= 0 && static_cast<std::size_t>(current) < slots.size()
                                             ? slots[static_cast<std::size_t>(current)]
                                             : nullptr;
  // From the bottom up: the others from the last slot to the first, then the current one.
  // Another patient's film is never shown under the current tracing, even where the current
  // radiograph has no image of its own.
  std::vector<TPlacedImage> images;
  for (auto slot = slots.rbegin(); slot != slots.rend(); ++slot) {
    if (*slot == currentRadiograph || !Shown(*slot)) continue;
    if (currentRadiograph == nullptr || !currentRadiograph->SamePatient(**slot)) continue;
    if (std::optional<TPlacedImage> placed = Place(canvas, **slot)) images.push_back(std::move(*placed));
  }
  const std::size_t others = images.size();
  if (Shown(currentRadiograph))
    if (std::optional<TPlacedImage> placed = Place(canvas, *currentRadiograph)) images.push_back(std::move(*placed));

  TDeviceBox region;
  for (const TPlacedImage& image : images) region = Union(region, image.Box);
  if (region.Empty()) return;

  const auto tables = std::make_unique<TBlendTables>(blend.Transparency, blend.BlackTransparency);
  const bool currentOpaque = blend.Mode == TBlendMode::Normal && tables->Opaque();
  auto opaque = [&](std::size_t i) { return i < others || currentOpaque; };
  // An opaque image wholly under an upright opaque one above it never shows.
  auto hidden = [&](std::size_t i) {
    if (!opaque(i)) return false;
    for (std::size_t j = i + 1; j < images.size(); ++j)
      if (opaque(j) && images[j].Upright && Contains(images[j].Box, images[i].Box)) return true;
    return false;
  };

  const int width = region.Right - region.Left;
  const int height = region.Bottom - region.Top;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  thread_local TScratch scratch;
  scratch.Layer.resize(std::max(scratch.Layer.size(), pixels));
  scratch.Row.resize(std::max(scratch.Row.size(), static_cast<std::size_t>(width)));
  std::uint32_t* const layer = scratch.Layer.data();
  std::uint32_t* const row = scratch.Row.data();
  auto layerRow = [&](const TPlacedImage& image, int y) {
    return layer + static_cast<std::size_t>(y - region.Top) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(image.Box.Left - region.Left);
  };

  bool covered = false;  // one upright opaque image fills the whole layer: no white ground
  for (std::size_t i = 0; i < images.size(); ++i)
    covered = covered || (opaque(i) && images[i].Upright && Contains(images[i].Box, region));
  if (!covered) std::fill_n(layer, pixels, kWhite);

  for (std::size_t i = 0; i < images.size(); ++i) {
    const TPlacedImage& image = images[i];
    if (hidden(i)) continue;
    const auto n = static_cast<std::size_t>(image.Box.Right - image.Box.Left);
    for (int y = image.Box.Top; y < image.Box.Bottom; ++y) {
      std::uint32_t* target = layerRow(image, y);
      if (opaque(i) && image.Upright) {
        SampleRow(image, y, target, kOutside);  // an upright image covers its whole box
      } else if (opaque(i)) {
        SampleRow(image, y, row, kOutside);
        for (std::size_t p = 0; p < n; ++p)
          if (row[p] != kOutside) target[p] = row[p];
      } else {
        SampleRow(image, y, row, kOutside);
        BlendImage(std::span<std::uint32_t>(target, n), std::span<const std::uint32_t>(row, n), *tables, blend.Mode);
      }
    }
  }
  canvas.BlitDevice({region.Left, region.Top},
                    TBitmapView{std::span<const std::uint32_t>(layer, pixels), width, height});
  if (scratch.Layer.size() > kKeptPixels) scratch = {};
}

TPaintHook ImageLayer(std::vector<TRadiograph*> slots, int current, TImageBlendOptions blend) {
  return [slots = std::move(slots), current, blend](TCanvas& canvas) { DrawImages(canvas, slots, current, blend); };
}

}  // namespace lumacet
