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
  TDeviceBox Box;
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
  placed.Map = {origin->X, alongX->X - origin->X, alongY->X - origin->X,
                origin->Y, alongX->Y - origin->Y, alongY->Y - origin->Y};
  return placed;
}

// One device row of the image into `row` (device columns box.Left ..), from column `from`
// to `to`: pixels the image covers get its colour, the others `outside`.
void SampleRow(const TPlacedImage& image, int y, int from, int to, std::uint32_t* row, std::uint32_t outside) {
  const TBitmap32& bitmap = *image.Bitmap;
  const TDeviceToPixel& m = image.Map;
  const double u0 = m.U0 + y * m.Uy;
  const double v0 = m.V0 + y * m.Vy;
  for (int x = from; x < to; ++x) {
    const double u = std::floor(u0 + x * m.Ux);
    const double v = std::floor(v0 + x * m.Vx);
    if (u >= 0 && v >= 0 && u < bitmap.Width && v < bitmap.Height) {
      row[x - from] = bitmap.Row(static_cast<int>(v))[static_cast<int>(u)] & kColourBytes;
    } else {
      row[x - from] = outside;
    }
  }
}

bool Shown(const TRadiograph* radiograph) {
  return radiograph != nullptr && radiograph->Visible && radiograph->Image.ImageVisible && radiograph->Image.HasImage();
}

}  // namespace

void DrawImages(TCanvas& canvas, const std::vector<TRadiograph*>& slots, int current, const TImageBlendOptions& blend) {
  const TRadiograph* currentRadiograph = current >= 0 && static_cast<std::size_t>(current) < slots.size()
                                             ? slots[static_cast<std::size_t>(current)]
                                             : nullptr;
  std::vector<TPlacedImage> others;
  for (auto slot = slots.rbegin(); slot != slots.rend(); ++slot) {
    if (*slot == currentRadiograph || !Shown(*slot)) continue;
    if (std::optional<TPlacedImage> placed = Place(canvas, **slot)) others.push_back(*placed);
  }
  std::optional<TPlacedImage> top;
  if (Shown(currentRadiograph)) top = Place(canvas, *currentRadiograph);

  TDeviceBox region = top ? top->Box : TDeviceBox{};
  for (const TPlacedImage& image : others) region = Union(region, image.Box);
  if (region.Empty()) return;

  const int width = region.Right - region.Left;
  const int height = region.Bottom - region.Top;
  std::vector<std::uint32_t> layer(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kWhite);
  auto layerRow = [&](int y) {
    return layer.data() + static_cast<std::size_t>(y - region.Top) * static_cast<std::size_t>(width);
  };

  // The others are opaque: where one covers a pixel it replaces what is there.
  std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
  for (const TPlacedImage& image : others) {
    for (int y = image.Box.Top; y < image.Box.Bottom; ++y) {
      const int n = image.Box.Right - image.Box.Left;
      SampleRow(image, y, image.Box.Left, image.Box.Right, row.data(), kOutside);
      std::uint32_t* target = layerRow(y) + (image.Box.Left - region.Left);
      for (int i = 0; i < n; ++i)
        if (row[static_cast<std::size_t>(i)] != kOutside) target[i] = row[static_cast<std::size_t>(i)];
    }
  }

  if (top) {
    const auto tables = std::make_unique<TBlendTables>(blend.Transparency, blend.BlackTransparency);
    for (int y = top->Box.Top; y < top->Box.Bottom; ++y) {
      const auto n = static_cast<std::size_t>(top->Box.Right - top->Box.Left);
      SampleRow(*top, y, top->Box.Left, top->Box.Right, row.data(), kOutside);
      BlendImage(std::span<std::uint32_t>(layerRow(y) + (top->Box.Left - region.Left), n),
                 std::span<const std::uint32_t>(row.data(), n), *tables, blend.Mode);
    }
  }
  canvas.BlitDevice({region.Left, region.Top}, TBitmapView{layer, width, height});
}

TPaintHook ImageLayer(std::vector<TRadiograph*> slots, int current, TImageBlendOptions blend) {
  return [slots = std::move(slots), current, blend](TCanvas& canvas) { DrawImages(canvas, slots, current, blend); };
}

}  // namespace lumacet
