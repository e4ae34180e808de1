#include "graphics/image_layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "graphics/recording_canvas.h"
#include "model/raw_image_ops.h"
#include "model/xray.h"

namespace lumacet {
namespace {

// A device of white pixels that keeps what is blitted onto it; nothing else is drawn.
class TPixelCanvas : public TCanvas {
 public:
  TPixelCanvas(int width, int height) : fWidth(width), fHeight(height), Pixels(std::size_t(width * height), 0xFFFFFF) {}

  std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y * fWidth + x)] & 0xFFFFFF; }
  TIntSize DeviceSize() const override { return {fWidth, fHeight}; }
  void Polyline(std::span<const TIntPoint>) override {}
  void Polygon(std::span<const TIntPoint>) override {}
  void Rectangle(const TIntRect&) override {}
  void Ellipse(const TIntRect&) override {}
  void Arc(const TIntRect&, TIntPoint, TIntPoint) override {}
  void Pie(const TIntRect&, TIntPoint, TIntPoint) override {}
  void TextOut(TIntPoint, std::string_view) override {}
  TIntSize TextExtent(std::string_view) const override { return {}; }
  void StretchImage(const TIntRect&, const TBitmapView&, const TIntRect&, TStretchMode) override {}
  void BlitDevice(TIntPoint at, const TBitmapView& image) override {
    ++Blits;
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) {
        const int dx = at.X + x;
        const int dy = at.Y + y;
        if (dx >= 0 && dy >= 0 && dx < fWidth && dy < fHeight) Pixels[std::size_t(dy * fWidth + dx)] = image.At(x, y);
      }
  }

  int fWidth;
  int fHeight;
  std::vector<std::uint32_t> Pixels;
  int Blits = 0;

 protected:
  void ApplyClip(const std::optional<TIntRect>&) override {}
};

// A radiograph whose image is `columns` x `rows` pixels of one grey, or a left-to-right
// ramp when `ramp` is set, placed at `origin` with `pixelSize` units per pixel.
void GiveImage(TXRay& xray, int columns, int rows, std::uint8_t grey, TFloatPoint origin, double pixelSize,
               bool ramp = false) {
  TRawImage raw;
  raw.Width = columns;
  raw.Height = rows;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = 8;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) raw.Samples.push_back(ramp ? static_cast<std::uint8_t>(x) : grey);
  xray.Image.SetImage(std::move(raw));
  xray.ImageOriginX = origin.X;
  xray.ImageOriginY = origin.Y;
  xray.PixelWidth = pixelSize;
  xray.PixelHeight = pixelSize;
}

std::uint32_t Grey(std::uint32_t g) { return g | (g << 8) | (g << 16); }

class ImageLayerTest : public ::testing::Test {
 protected:
  // One device pixel per tracing unit, the world's origin at the device's top left.
  ImageLayerTest() : canvas(100, 80) { canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 1)); }

  void Paint(int current, TImageBlendOptions blend = {}) { DrawImages(canvas, {&a, &b}, current, blend); }

  TPixelCanvas canvas;
  TXRay a;
  TXRay b;
};

TEST_F(ImageLayerTest, AnImageLiesWhereItsOriginAndPixelSizePutIt) {
  GiveImage(a, 10, 5, 0, {20, 10}, 2, /*ramp=*/true);  // covers x 20..40, y 10..20
  Paint(0);
  EXPECT_EQ(canvas.Blits, 1);
  EXPECT_EQ(canvas.At(20, 10), Grey(0));
  EXPECT_EQ(canvas.At(21, 10), Grey(0));  // one image pixel is two device pixels wide
  EXPECT_EQ(canvas.At(22, 12), Grey(1));
  EXPECT_EQ(canvas.At(39, 19), Grey(9));
  EXPECT_EQ(canvas.At(40, 15), Grey(255));  // beyond the image: the white ground
  EXPECT_EQ(canvas.At(30, 20), Grey(255));
  EXPECT_EQ(canvas.At(19, 15), Grey(255));
}

TEST_F(ImageLayerTest, ARotatedImageTurnsClockwiseAboutItsOrigin) {
  GiveImage(a, 10, 4, 0, {50, 10}, 2, /*ramp=*/true);
  a.ImageRotation = std::numbers::pi / 2;  // columns now run downwards, rows to the left
  Paint(0);
  EXPECT_EQ(canvas.At(49, 10), Grey(0));
  EXPECT_EQ(canvas.At(49, 29), Grey(9));
  EXPECT_EQ(canvas.At(43, 25), Grey(7));
  EXPECT_EQ(canvas.At(51, 20), Grey(255));  // right of the origin is outside now
}

TEST_F(ImageLayerTest, ScaleFollowsTheMapping) {
  GiveImage(a, 4, 4, 0, {10, 10}, 1, /*ramp=*/true);
  canvas.SetMapping(*TIsotropicMapping::FromScale({10, 10}, 5));  // five device pixels per unit
  Paint(0);
  EXPECT_EQ(canvas.At(0, 0), Grey(0));
  EXPECT_EQ(canvas.At(4, 19), Grey(0));
  EXPECT_EQ(canvas.At(5, 0), Grey(1));
  EXPECT_EQ(canvas.At(19, 19), Grey(3));
  EXPECT_EQ(canvas.At(20, 10), Grey(255));
}

TEST_F(ImageLayerTest, OthersAreOpaqueTheCurrentIsBlendedOverThem) {
  GiveImage(a, 20, 20, 200, {0, 0}, 1);
  GiveImage(b, 20, 20, 0, {10, 0}, 1);
  // Current b (black) at half transparency over a (200) and over the white ground.
  Paint(1, {0.5, 0, TBlendMode::Normal});
  EXPECT_EQ(canvas.At(5, 5), Grey(200));   // a alone
  EXPECT_EQ(canvas.At(15, 5), Grey(100));  // half of a shows through b
  EXPECT_EQ(canvas.At(25, 5), Grey(127));  // half of the white ground, truncated
  // Opaque: the current image hides the other one.
  Paint(1);
  EXPECT_EQ(canvas.At(15, 5), Grey(0));
  // Difference mode shows |b - a|.
  Paint(1, {0, 0, TBlendMode::Difference});
  EXPECT_EQ(canvas.At(15, 5), Grey(200));
}

TEST_F(ImageLayerTest, TheOtherImagesGoFromTheLastSlotToTheFirst) {
  GiveImage(a, 20, 20, 50, {0, 0}, 1);
  GiveImage(b, 20, 20, 90, {10, 0}, 1);
  TXRay current;
  DrawImages(canvas, {&a, &b, &current}, 2, {});
  EXPECT_EQ(canvas.At(15, 5), Grey(50));  // slot 0 painted last, on top
}

TEST_F(ImageLayerTest, OnlyAnOpaqueImageHidesWhatLiesWhollyUnderIt) {
  GiveImage(a, 10, 10, 90, {5, 5}, 1);
  GiveImage(b, 40, 40, 0, {0, 0}, 1);
  // The current b, half transparent over all of a: a still shows through it.
  Paint(1, {0.5, 0, TBlendMode::Normal});
  EXPECT_EQ(canvas.At(7, 7), Grey(45));
  EXPECT_EQ(canvas.At(30, 30), Grey(127));
  // Opaque, b hides a; a smaller image on top of a larger one still shows.
  Paint(1);
  EXPECT_EQ(canvas.At(7, 7), Grey(0));
  TXRay current;
  DrawImages(canvas, {&a, &b, &current}, 2, {});
  EXPECT_EQ(canvas.At(7, 7), Grey(90));
  EXPECT_EQ(canvas.At(30, 30), Grey(0));
}

TEST_F(ImageLayerTest, AnotherPatientsFilmIsNeverPaintedUnderTheCurrentTracing) {
  GiveImage(a, 20, 20, 50, {0, 0}, 1);
  TXRay current;  // no image of its own
  struct TCase {
    std::string Name;
    bool Female;
    TDayNumber Born;
    bool Painted;
  };
  for (const TCase& c : std::vector<TCase>{{"", false, 0, true},
                                           {"Hannah", false, 0, false},
                                           {"", true, 0, false},
                                           {"", false, 7, false}}) {
    current.Name = c.Name;
    current.Female = c.Female;
    current.DateOfBirth = c.Born;
    canvas.Blits = 0;
    DrawImages(canvas, {&a, &current}, 1, {});
    EXPECT_EQ(canvas.Blits, c.Painted ? 1 : 0) << c.Name << ' ' << c.Female << ' ' << c.Born;
  }
  canvas.Blits = 0;
  DrawImages(canvas, {&a, &current}, -1, {});  // no current radiograph: no film either
  EXPECT_EQ(canvas.Blits, 0);
}

TEST_F(ImageLayerTest, HiddenOrUnplacedImagesAreNotPainted) {
  GiveImage(a, 20, 20, 0, {0, 0}, 1);
  a.Image.ImageVisible = false;
  Paint(0);
  EXPECT_EQ(canvas.Blits, 0);
  a.Image.ImageVisible = true;
  a.Visible = false;  // the radiograph is out of view
  Paint(0);
  EXPECT_EQ(canvas.Blits, 0);
  a.Visible = true;
  a.PixelWidth = 0;  // no pixel size yet: no placement
  Paint(0);
  EXPECT_EQ(canvas.Blits, 0);
  a.PixelWidth = std::nan("");
  Paint(0);
  EXPECT_EQ(canvas.Blits, 0);
}

TEST_F(ImageLayerTest, OnlyTheVisiblePartIsComposed) {
  GiveImage(a, 1000, 1000, 0, {-500, -500}, 1);  // far larger than the device
  TRecordingCanvas recording({100, 80});
  recording.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 1));
  DrawImages(recording, {&a}, 0, {});
  ASSERT_EQ(recording.Calls.size(), 1u);
  EXPECT_EQ(recording.Calls[0].Points[0], (TIntPoint{0, 0}));
  EXPECT_EQ(recording.Calls[0].ImageSize, (TIntSize{100, 80}));
  // Zoomed in beyond any int: the one image pixel under the device fills it.
  GiveImage(a, 4, 4, 0, {0, 0}, 1, /*ramp=*/true);
  canvas.SetMapping(*TIsotropicMapping::FromScale({1.5, 0.5}, 1e12));
  DrawImages(canvas, {&a}, 0, {});
  EXPECT_EQ(canvas.At(0, 0), Grey(1));
  EXPECT_EQ(canvas.At(99, 79), Grey(1));
  GiveImage(a, 10, 10, 0, {500, 500}, 1);  // wholly outside: nothing at all
  recording.Calls.clear();
  DrawImages(recording, {&a}, 0, {});
  EXPECT_TRUE(recording.Calls.empty());
}

TEST_F(ImageLayerTest, TheSceneHookPaintsUnderTheTracings) {
  GiveImage(a, 10, 10, 30, {0, 0}, 1);
  TDisplayScene scene;
  scene.Slots = {&a};
  scene.Current = 0;
  scene.Images = ImageLayer(scene.Slots, scene.Current);
  TDisplayOptions options;
  options.GridShown = false;
  DrawDisplay(canvas, scene, options);
  EXPECT_EQ(canvas.At(5, 5), Grey(30));
}

}  // namespace
}  // namespace lumacet
