// Image morphing: the readiness reasons, the control lists, the influence of a control line,
// the three warps (identity, known rigid and affine maps, block layout, edges, cancel), the
// samples warped at full depth, and the Delaunay triangulation's properties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "geometry/delaunay.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "population/population_fixture.h"
#include "simulation/morph.h"

namespace lumacet {
namespace {

using test::AddDrawing;
using test::PointType;
using test::Radiograph;
using TPointsList = std::vector<std::optional<TFloatPoint>>;

// A smooth grey picture with 12-bit samples of 16 times its grey level.
double Grey(double x, double y) { return 128 + 90 * std::sin(x / 17.0) * std::cos(y / 23.0); }

void SetPicture(TRadiograph& r, int w, int h, double (*grey)(double, double) = Grey) {
  r.Image.Display.Resize(w, h);
  r.Image.Raw = TRawImage{};
  r.Image.Raw.Width = w;
  r.Image.Raw.Height = h;
  r.Image.Raw.SamplesPerPixel = 1;
  r.Image.Raw.BitsPerSample = 12;
  r.Image.Raw.Samples.resize(static_cast<std::size_t>(w) * h * 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto g = static_cast<std::uint32_t>(std::lround(grey(x, y)));
      r.Image.Display.Row(y)[x] = PackPixel(g, g, g, 0xFF);
      const auto s = static_cast<std::uint16_t>(16 * g);
      std::memcpy(&r.Image.Raw.Samples[static_cast<std::size_t>(y * w + x) * 2], &s, 2);
    }
  r.PixelWidth = r.PixelHeight = 1;
  r.ImageOriginX = r.ImageOriginY = 0;
  r.ImageRotation = 0;
}

std::uint16_t RawAt(const TRawImage& raw, int x, int y) {
  std::uint16_t v;
  std::memcpy(&v, &raw.Samples[static_cast<std::size_t>(y * raw.Width + x) * 2], 2);
  return v;
}

std::vector<std::string> Names(int n) {
  std::vector<std::string> names;
  for (int k = 0; k < n; ++k) names.push_back("P" + std::to_string(k));
  return names;
}

// A type whose morph drawings are lines joining consecutive pairs of its points, and a
// source and a current radiograph of it.
struct TMorphScene {
  explicit TMorphScene(const std::vector<TFloatPoint>& sourcePoints, int kind = static_cast<int>(TGraphicKind::LinePairs))
      : type(PointType("Lateral", Names(static_cast<int>(sourcePoints.size())))) {
    AddDrawing(*type, "Outline", Names(static_cast<int>(sourcePoints.size())));
    Drawing().SetKind(kind);
    Drawing().UseForMorphing = true;
    source = Radiograph(*type, "S", Coordinates(sourcePoints));
    current = Radiograph(*type, "C", Coordinates(sourcePoints));
  }
  static test::TPoints Coordinates(const std::vector<TFloatPoint>& points) {
    test::TPoints coordinates;
    for (TFloatPoint p : points) coordinates.emplace_back(std::pair{p.X, p.Y});
    return coordinates;
  }
  TXRGraphic& Drawing() const { return *type->Element<TXRGraphic>(ekGraphic, 0); }
  void Move(const std::vector<TFloatPoint>& points) {
    for (std::size_t k = 0; k < points.size(); ++k) current->Coordinates[k]->SetXY(points[k].X, points[k].Y);
  }
  std::unique_ptr<TXRayType> type;
  std::unique_ptr<TXRay> source;
  std::unique_ptr<TXRay> current;
};

// Short lines on a grid inside a W x H image: n x n pairs of points.
std::vector<TFloatPoint> LineGrid(int n, double left, double top, double side) {
  std::vector<TFloatPoint> points;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = left + side * (i + 0.5) / n;
      const double y = top + side * (j + 0.5) / n;
      points.push_back({x - 4, y - 3});
      points.push_back({x + 4, y + 3});
    }
  return points;
}

TFloatPoint Rigid(TFloatPoint p, double degrees, TFloatPoint centre, TFloatPoint shift) {
  const double a = degrees * std::numbers::pi / 180;
  const double dx = p.X - centre.X, dy = p.Y - centre.Y;
  return {centre.X + dx * std::cos(a) - dy * std::sin(a) + shift.X, centre.Y + dx * std::sin(a) + dy * std::cos(a) + shift.Y};
}

std::vector<TFloatPoint> Mapped(const std::vector<TFloatPoint>& points, const std::function<TFloatPoint(TFloatPoint)>& f) {
  std::vector<TFloatPoint> out;
  for (TFloatPoint p : points) out.push_back(f(p));
  return out;
}

struct TMethod {
  TWarpFunction Function;
  TMorphQuality Quality;
};
constexpr TMethod kMethods[] = {
    {TWarpFunction::Linear, TMorphQuality::Low},      {TWarpFunction::Linear, TMorphQuality::Medium},
    {TWarpFunction::Linear, TMorphQuality::High},     {TWarpFunction::SCurve, TMorphQuality::Low},
    {TWarpFunction::SCurve, TMorphQuality::Medium},   {TWarpFunction::SCurve, TMorphQuality::High},
    {TWarpFunction::Exponential, TMorphQuality::Low}, {TWarpFunction::Exponential, TMorphQuality::High},
    {TWarpFunction::Triangle, TMorphQuality::Medium},
};

TEST(MorphImage, AnUnchangedCopyReproducesTheSourceExactlyWithEveryMethod) {
  for (int kind : {static_cast<int>(TGraphicKind::LinePairs), static_cast<int>(TGraphicKind::SplineClosed)}) {
    TMorphScene scene({{20, 20}, {60, 30}, {70, 70}, {30, 60}}, kind);
    SetPicture(*scene.source, 97, 83);
    scene.source->ImageOriginX = 3.3;
    scene.source->ImageOriginY = -7.1;
    scene.source->PixelWidth = 0.9;
    scene.source->PixelHeight = 1.1;
    scene.source->ImageRotation = 0.3;
    for (const TMethod& m : kMethods) {
      SCOPED_TRACE(std::to_string(static_cast<int>(m.Function)) + "/" + std::to_string(static_cast<int>(m.Quality)));
      ASSERT_TRUE(MorphImage(*scene.current, *scene.source, {.Function = m.Function, .Quality = m.Quality}, {}));
      EXPECT_TRUE(scene.current->Image.Display == scene.source->Image.Display);
      EXPECT_EQ(scene.current->Image.Raw.Samples, scene.source->Image.Raw.Samples);
      EXPECT_EQ(scene.current->Image.Raw.BitsPerSample, 12);
      EXPECT_EQ(scene.current->ImageRotation, 0.3);
      EXPECT_EQ(scene.current->PixelHeight, 1.1);
    }
  }
}

TEST(MorphImage, RefusesWithTheReasonInOrderAndChangesNothing) {
  TMorphScene scene({{20, 20}, {60, 30}});
  auto stranger = PointType("Frontal", Names(2));
  AddDrawing(*stranger, "Outline", Names(2));
  stranger->Element<TXRGraphic>(ekGraphic, 0)->UseForMorphing = true;
  auto strangerXray = Radiograph(*stranger, "F", {{{1, 1}}, {{2, 2}}});
  SetPicture(*strangerXray, 10, 10);
  auto noImage = Radiograph(*scene.type, "N", {{{20, 20}}, {{60, 30}}});
  auto invalid = Radiograph(*scene.type, "I", {{{20, 20}}});
  SetPicture(*scene.source, 10, 10);
  SetPicture(*invalid, 10, 10);
  struct TCase {
    const TRadiograph* Source;
    const TRadiograph* Current;
    const char* Reason;
  };
  const TCase cases[] = {
      {nullptr, scene.current.get(), "No radiographs."},
      {scene.source.get(), nullptr, "No radiographs."},
      {scene.current.get(), scene.current.get(), "Current is Morph Source."},
      {scene.type.get(), scene.current.get(), "Cannot morph Types."},
      {strangerXray.get(), scene.current.get(), "Not the same Type."},
      {noImage.get(), scene.current.get(), "No image."},
      {invalid.get(), scene.current.get(), "Some points not valid."},
      {scene.source.get(), invalid.get(), "Some points not valid."},
      {scene.source.get(), scene.current.get(), ""},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(MorphReadiness(c.Source, c.Current).English(), c.Reason);
    if (!c.Source || !c.Current || *c.Reason == 0) continue;
    auto& current = const_cast<TRadiograph&>(*c.Current);
    current.ImageFile = "kept.jpg";
    const std::vector<std::string> history = current.ChangeHistory;
    const TBitmap32 before = current.Image.Display;
    const TResult result = MorphImage(current, *c.Source, {}, {});
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Text().English(), std::string("Cannot perform morphing:\r\n") + c.Reason);
    EXPECT_EQ(current.ImageFile, "kept.jpg");
    EXPECT_EQ(current.ChangeHistory, history);
    EXPECT_TRUE(current.Image.Display == before);
  }
}

TEST(MorphControlPoints, DrawingsInTypeOrderWithBreaksThenTheSourceFrame) {
  auto type = PointType("T", Names(5));
  AddDrawing(*type, "Skipped", {"P0", "P1"});
  AddDrawing(*type, "Profile", {"P0", "P1", "P2"});
  AddDrawing(*type, "Jaw", {"P2", "P3", "P4", "P0"});
  AddDrawing(*type, "Pairs", {"P0", "P1", "P2", "P3"});
  auto drawing = [&](int k) { return type->Element<TXRGraphic>(ekGraphic, static_cast<std::size_t>(k)); };
  drawing(1)->SetKind(static_cast<int>(TGraphicKind::Line));
  drawing(2)->SetKind(static_cast<int>(TGraphicKind::Spline));
  drawing(3)->SetKind(static_cast<int>(TGraphicKind::LinePairs));
  for (int k = 1; k <= 3; ++k) drawing(k)->UseForMorphing = true;
  // P1 not digitized: a break in the line, the pair (P0, P1) left out, the spline unsampled.
  auto r = Radiograph(*type, "R", {{{0, 0}}, std::nullopt, {{20, 0}}, {{30, 10}}, {{40, 0}}});
  auto frame = Radiograph(*type, "F");
  SetPicture(*frame, 10, 5);
  frame->ImageOriginX = 100;
  frame->PixelWidth = 2;
  const TPointsList expected = {TFloatPoint{0, 0},   std::nullopt,       TFloatPoint{20, 0}, std::nullopt,
                                TFloatPoint{20, 0},  TFloatPoint{30, 10}, TFloatPoint{40, 0}, TFloatPoint{0, 0},
                                std::nullopt,        TFloatPoint{20, 0}, TFloatPoint{30, 10}, std::nullopt,
                                std::nullopt,        TFloatPoint{100, 0}, TFloatPoint{120, 0}, TFloatPoint{120, 5},
                                TFloatPoint{100, 5}, TFloatPoint{100, 0}};
  EXPECT_EQ(MorphControlPoints(*r, *frame, false), expected);
  // With every point valid, High quality samples the spline: fifths of each chord.
  r->Coordinates[1]->SetXY(10, 5);
  const std::size_t plain = MorphControlPoints(*r, *frame, false).size();
  const std::size_t sampled = MorphControlPoints(*r, *frame, true).size();
  EXPECT_GT(sampled, plain + 10);
  EXPECT_TRUE(MorphSamplesCurves({.Function = TWarpFunction::SCurve, .Quality = TMorphQuality::High}));
  EXPECT_FALSE(MorphSamplesCurves({.Function = TWarpFunction::Triangle, .Quality = TMorphQuality::High}));
  EXPECT_FALSE(MorphSamplesCurves({.Function = TWarpFunction::Linear, .Quality = TMorphQuality::Medium}));
}

TEST(MorphField, InfluenceOfControlLines) {
  const TPointsList source = {TFloatPoint{0, 0}, TFloatPoint{100, 0}, std::nullopt, TFloatPoint{0, 300},
                              TFloatPoint{100, 300}};
  // The first line moved right by 10, the second down by 20.
  const TPointsList target = {TFloatPoint{10, 0}, TFloatPoint{110, 0}, std::nullopt, TFloatPoint{0, 320},
                              TFloatPoint{100, 320}};
  struct TCase {
    const char* What;
    TMorphOptions Options;
    TFloatPoint At;
    TFloatPoint Expected;
  };
  const double wa = std::pow(1 / (50.0 + 400), 8), wb = std::pow(1 / (270.0 + 400), 8);
  const double la = 1 - 30 / 100.0;
  const TCase cases[] = {
      {"linear, 150 from every line: unmoved", {}, {60, 150}, {60, 150}},
      // The perpendicular side keeps its distance: 30 below the first line maps 30 below
      // the source line, 10 to the left.
      {"linear, beside the first line: the displacement faded by its weight", {}, {60, 30}, {60 - 10 * la, 30}},
      {"linear, beyond the end uses the end distance", {}, {150, 0}, {150 - 10 * 0.6, 0}},
      {"exponential, weighted mean",
       {.Function = TWarpFunction::Exponential},
       {60, 50},
       {60 - 10 * wa / (wa + wb), 50 - 20 * wb / (wa + wb)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const TFloatPoint got = TMorphField(source, target, c.Options).SourcePosition(c.At);
    EXPECT_NEAR(got.X, c.Expected.X, 1e-9);
    EXPECT_NEAR(got.Y, c.Expected.Y, 1e-9);
  }
  // Lines of length 0 on either side have no influence at all.
  const TPointsList dot = {TFloatPoint{50, 50}, TFloatPoint{50, 50}, std::nullopt, TFloatPoint{0, 0}, TFloatPoint{9, 0}};
  const TPointsList moved = {TFloatPoint{10, 0}, TFloatPoint{90, 0}, std::nullopt, TFloatPoint{5, 5}, TFloatPoint{5, 5}};
  for (TWarpFunction f : {TWarpFunction::Linear, TWarpFunction::SCurve, TWarpFunction::Exponential}) {
    EXPECT_TRUE(TMorphField(dot, moved, {.Function = f}).Segments().empty());
    EXPECT_EQ(TMorphField(dot, moved, {.Function = f}).SourcePosition({51, 52}), (TFloatPoint{51, 52}));
  }
}

// Mean and largest grey difference between the morphed image and `expected` grey levels,
// over the pixels `where` chooses.
struct TError {
  double Mean = 0, Max = 0;
  int Count = 0;
};
TError Compare(const TBitmap32& image, const std::function<std::optional<double>(int, int)>& expected) {
  TError e;
  double sum = 0;
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) {
      const std::optional<double> g = expected(x, y);
      if (!g) continue;
      const double diff = std::abs(PixelBlue(image.Row(y)[x]) - *g);
      sum += diff;
      e.Max = std::max(e.Max, diff);
      ++e.Count;
    }
  e.Mean = e.Count ? sum / e.Count : 0;
  return e;
}

TEST(MorphImage, KnownMapsAreReproduced) {
  constexpr int kW = 240, kH = 200;
  const TFloatPoint centre{120, 100};
  // Triangle interpolation reproduces an affine map inside the moved points' hull.
  {
    const std::vector<TFloatPoint> grid = LineGrid(4, 60, 50, 100);
    TMorphScene scene(grid);
    SetPicture(*scene.source, kW, kH);
    auto affine = [&](TFloatPoint p) {
      return TFloatPoint{centre.X + 1.08 * (p.X - centre.X) + 0.05 * (p.Y - centre.Y) + 4,
                         centre.Y - 0.04 * (p.X - centre.X) + 0.95 * (p.Y - centre.Y) - 3};
    };
    scene.Move(Mapped(grid, affine));
    ASSERT_TRUE(MorphImage(*scene.current, *scene.source, {.Function = TWarpFunction::Triangle}, {}));
    const double det = 1.08 * 0.95 + 0.05 * 0.04;
    const TError e = Compare(scene.current->Image.Display, [&](int x, int y) -> std::optional<double> {
      // Well inside the hull of the moved grid.
      const TFloatPoint a = affine({75, 63}), b = affine({145, 137});
      if (x < a.X + 8 || x > b.X - 8 || y < a.Y + 8 || y > b.Y - 8) return std::nullopt;
      const double dx = x - 4 - centre.X, dy = y + 3 - centre.Y;
      const double sx = centre.X + (0.95 * dx - 0.05 * dy) / det, sy = centre.Y + (0.04 * dx + 1.08 * dy) / det;
      return std::lround(Grey(sx, sy));
    });
    EXPECT_GT(e.Count, 3000);
    EXPECT_LE(e.Max, 1.0);
  }
  // The exponential field averages the lines' displacements, so a rigid move is approached
  // as the moved lines outnumber the unmoved image frame.
  auto rigid = [&](TFloatPoint p) { return Rigid(p, 4, centre, {5, -3}); };
  auto fieldError = [&](int n) {
    const std::vector<TFloatPoint> grid = LineGrid(n, 60, 50, 120);
    TMorphScene scene(grid);
    SetPicture(*scene.source, kW, kH);
    scene.Move(Mapped(grid, rigid));
    EXPECT_TRUE(MorphImage(*scene.current, *scene.source, {.Function = TWarpFunction::Exponential}, {}));
    return Compare(scene.current->Image.Display, [&](int x, int y) -> std::optional<double> {
      if (std::abs(x - centre.X) > 40 || std::abs(y - centre.Y) > 40) return std::nullopt;
      const TFloatPoint s = Rigid({x - 5.0, y + 3.0}, -4, centre, {0, 0});
      return std::lround(Grey(s.X, s.Y));
    });
  };
  const double sparse = fieldError(2).Mean;
  const double dense = fieldError(8).Mean;
  EXPECT_LT(dense, sparse / 2);
}

TEST(MorphImage, SourcePositionsBeyondTheImageSampleBlackAtEveryDepth) {
  // Two vertical lines moved left: one from beyond the right edge to x = 70, one from 45 to 25.
  TMorphScene scene({{130, 20}, {130, 80}, {45, 20}, {45, 80}});
  SetPicture(*scene.source, 100, 100);
  scene.Move({{70, 20}, {70, 80}, {25, 20}, {25, 80}});
  const TBitmap32& in = scene.source->Image.Display;
  const TBitmap32& out = scene.current->Image.Display;
  const TRawImage& raw = scene.current->Image.Raw;
  ASSERT_TRUE(MorphImage(*scene.current, *scene.source, {.DistanceLimit = 20}, {}));
  EXPECT_EQ(out.Row(50)[70], 0u);
  EXPECT_EQ(RawAt(raw, 70, 50), 0);
  EXPECT_EQ(out.Row(50)[25], in.Row(50)[45]);
  EXPECT_EQ(RawAt(raw, 25, 50), RawAt(scene.source->Image.Raw, 45, 50));
  EXPECT_EQ(raw.BitsPerSample, 12);
  // The block warp clamps on every side instead.
  ASSERT_TRUE(MorphImage(*scene.current, *scene.source, {.Quality = TMorphQuality::Low, .DistanceLimit = 20}, {}));
  EXPECT_EQ(out.Row(50)[70], in.Row(50)[99]);
  EXPECT_EQ(RawAt(raw, 70, 50), RawAt(scene.source->Image.Raw, 99, 50));
  EXPECT_EQ(out.Row(50)[20], in.Row(50)[35]);
}

TEST(MorphImage, BlockWarpOnTwentyFiveByTwentyFiveUsesCornersAtZeroTenTwentyAndTwentyFour) {
  TMorphScene scene({{0, 12}, {24, 12}});
  SetPicture(*scene.source, 25, 25, [](double x, double) { return 10.0 * x; });
  scene.Move({{3, 12}, {27, 12}});
  const TMorphOptions options{.Quality = TMorphQuality::Low, .DistanceLimit = 30};
  ASSERT_TRUE(MorphImage(*scene.current, *scene.source, options, {}));
  const TPointsList from = MorphControlPoints(*scene.source, *scene.source, false);
  const TPointsList to = MorphControlPoints(*scene.current, *scene.source, false);
  const TMorphField field(from, to, options);
  auto cornerX = [&](int x, int y) {
    return std::nearbyint(field.SourcePosition({double(x), double(y)}).X);
  };
  for (int y : {0, 10, 20, 24}) {
    for (int x = 0; x < 25; ++x) {
      const int x0 = x == 24 ? 20 : x / 10 * 10;
      const int x1 = std::min(x0 + 10, 24);
      const double s = double(x - x0) / (x1 - x0);
      // Corners are rounded, not clamped; the blended position is clamped when sampled.
      const double expected = 10 * std::clamp((1 - s) * cornerX(x0, y) + s * cornerX(x1, y), 0.0, 24.0);
      EXPECT_NEAR(PixelBlue(scene.current->Image.Display.Row(y)[x]), expected, 0.5)
          << x << "," << y;
    }
  }
}

TEST(MorphImage, CancelKeepsTheRowsDoneAndTheCopiedSourceBelow) {
  const std::vector<TFloatPoint> grid = LineGrid(3, 0, 0, 120);
  TMorphScene scene(grid);
  SetPicture(*scene.source, 120, 120);
  scene.Move(Mapped(grid, [](TFloatPoint p) { return TFloatPoint{p.X + 7, p.Y}; }));
  for (TMethod m : {TMethod{TWarpFunction::Linear, TMorphQuality::Medium}, TMethod{TWarpFunction::Triangle, TMorphQuality::Medium},
                    TMethod{TWarpFunction::SCurve, TMorphQuality::Low}}) {
    const TMorphOptions options{.Function = m.Function, .Quality = m.Quality, .DistanceLimit = 200};
    auto full = Radiograph(*scene.type, "Full");
    for (std::size_t k = 0; k < grid.size(); ++k) full->Coordinates[k]->SetXY(grid[k].X + 7, grid[k].Y);
    ASSERT_TRUE(MorphImage(*full, *scene.source, options, {}));
    std::vector<int> reports;
    scene.current->ImageFile = "old.png";
    const bool low = m.Quality == TMorphQuality::Low;
    const int k = low ? 2 : 8;
    ASSERT_TRUE(MorphImage(*scene.current, *scene.source, options, [&](int done, int total) {
      EXPECT_EQ(total, low ? 12 : 120);
      reports.push_back(done);
      return done < k;
    }));
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(scene.current->ChangeHistory.back(), "Image Morph.");
    EXPECT_EQ(scene.current->ImageFile, "");
    int warped = 0;
    for (int y = 0; y < 120; ++y) {
      const std::uint32_t* row = scene.current->Image.Display.Row(y);
      const bool asFull = std::equal(row, row + 120, full->Image.Display.Row(y));
      const bool asSource = std::equal(row, row + 120, scene.source->Image.Display.Row(y));
      EXPECT_TRUE(asFull || asSource) << y;
      warped += asFull && !asSource;
    }
    EXPECT_GE(warped, low ? 2 * 10 - 1 : k - 1);  // the top row may not move
    EXPECT_LT(warped, 100);
  }
}

TEST(MorphImage, ZeroAreaTargetTrianglesAreSkipped) {
  TMorphScene scene({{40, 40}, {80, 40}, {60, 80}});
  scene.Drawing().SetKind(static_cast<int>(TGraphicKind::Polygon));
  SetPicture(*scene.source, 120, 120);
  // The triangle collapses onto the line y = 40.
  scene.Move({{40, 40}, {80, 40}, {60, 40}});
  ASSERT_TRUE(MorphImage(*scene.current, *scene.source, {.Function = TWarpFunction::Triangle}, {}));
  EXPECT_EQ(scene.current->Image.Display.Row(0)[0], scene.source->Image.Display.Row(0)[0]);
}

TEST(Delaunay, Properties) {
  struct TCase {
    const char* What;
    TPointsList Points;
    std::vector<TDelTriangle> Expected;
  };
  const TCase cases[] = {
      {"four on a circle: all four triangles",
       {TFloatPoint{0, 0}, TFloatPoint{10, 0}, TFloatPoint{10, 10}, TFloatPoint{0, 10}},
       {{{0, 1, 2}}, {{0, 1, 3}}, {{0, 2, 3}}, {{1, 2, 3}}}},
      {"three points: one triangle, even collinear",
       {TFloatPoint{0, 0}, TFloatPoint{5, 0}, TFloatPoint{10, 0}},
       {{{0, 1, 2}}}},
      {"breaks, non-numbers and repeats dropped, indices kept",
       {std::nullopt, TFloatPoint{0, 0}, TFloatPoint{NAN, 1}, TFloatPoint{10, 0}, TFloatPoint{0, 0},
        TFloatPoint{4, 8}},
       {{{1, 3, 5}}}},
      {"collinear triples never",
       {TFloatPoint{0, 0}, TFloatPoint{5, 0}, TFloatPoint{10, 0}, TFloatPoint{5, 5}},
       {{{0, 1, 3}}, {{1, 2, 3}}}},
      {"fewer than three", {TFloatPoint{0, 0}, TFloatPoint{1, 1}}, {}},
  };
  for (const TCase& c : cases) EXPECT_EQ(DelaunayTriangulate(c.Points), c.Expected) << c.What;

  EXPECT_TRUE(InCircumcircle({0, 0}, {10, 0}, {0, 10}, {5, 5}));
  EXPECT_FALSE(InCircumcircle({0, 0}, {10, 0}, {0, 10}, {10, 10}));  // on the circle
  EXPECT_TRUE(InCircumcircle({0, 0}, {1, 1}, {2, 2}, {50, -50}));     // collinear
  EXPECT_TRUE(InCircumcircle({0, 0}, {10, 0}, {0, 10}, {NAN, 0}));

  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(0, 1000);
  for (int n : {4, 12, 40}) {
    TPointsList points;
    std::vector<TFloatPoint> plain;
    for (int k = 0; k < n; ++k) {
      plain.push_back({coordinate(random), coordinate(random)});
      points.emplace_back(plain.back());
    }
    const std::vector<TDelTriangle> triangles = DelaunayTriangulate(points);
    for (const TDelTriangle& t : triangles)
      for (int l = 0; l < n; ++l) {
        if (l == t.Vertex[0] || l == t.Vertex[1] || l == t.Vertex[2]) continue;
        EXPECT_FALSE(InCircumcircle(plain[t.Vertex[0]], plain[t.Vertex[1]], plain[t.Vertex[2]], plain[l]));
      }
    // Hull size by gift wrapping's simpler cousin: a point is on the hull when some line
    // through it has every other point on one side.
    int hull = 0;
    for (int i = 0; i < n; ++i) {
      bool on = false;
      for (int j = 0; j < n && !on; ++j) {
        if (j == i) continue;
        bool left = true, right = true;
        for (int k = 0; k < n; ++k) {
          if (k == i || k == j) continue;
          const double cross = (plain[j].X - plain[i].X) * (plain[k].Y - plain[i].Y) -
                               (plain[j].Y - plain[i].Y) * (plain[k].X - plain[i].X);
          left = left && cross > 0;
          right = right && cross < 0;
        }
        on = left || right;
      }
      hull += on;
    }
    EXPECT_EQ(static_cast<int>(triangles.size()), 2 * n - hull - 2) << n;
  }
}

}  // namespace
}  // namespace lumacet
