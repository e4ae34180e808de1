#include "simulation/morph.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "graphics/drawings.h"
#include "imaging/image_frame.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/radiograph.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

// Loading coordinates changes what the type holds, never the radiograph itself.
TLoadedRadiograph LoadOf(const TRadiograph& r) { return const_cast<TRadiograph&>(r).Load(); }

std::vector<TXRGraphic*> MorphDrawings(const TXRayType& type) {
  std::vector<TXRGraphic*> drawings;
  for (const auto& element : type.ElementList(ekGraphic)) {
    auto* graphic = static_cast<TXRGraphic*>(element.get());
    if (graphic->UseForMorphing) drawings.push_back(graphic);
  }
  return drawings;
}

// One character per point of every morph drawing: whether it is valid.
std::string ValidityPattern(const TRadiograph& r) {
  const TLoadedRadiograph loaded = LoadOf(r);
  std::string pattern;
  for (TXRGraphic* graphic : MorphDrawings(*r.Type()))
    for (TXRayElement* entry : graphic->Points) pattern += loaded.IsValid(entry) ? '1' : '0';
  return pattern;
}

// ---- Sampling ------------------------------------------------------------------------

// Positions this close beyond the last row or column are rounding noise of the frame, and
// count as on it.
constexpr double kEdge = 1e-6;

// The source pixel at (x, y): bilinear inside the image (negative coordinates taken as 0),
// black beyond the right or bottom edge and for positions that are not numbers.
struct TSampler {
  const TBitmapView Display;
  const TRawImage* Raw;  // null: no samples to warp

  bool Outside(double& x, double& y) const {
    if (!(x <= Display.Width - 1 + kEdge) || !(y <= Display.Height - 1 + kEdge)) return true;  // NaN too
    x = std::clamp(x, 0.0, Display.Width - 1.0);
    y = std::clamp(y, 0.0, Display.Height - 1.0);
    return false;
  }

  // Writes pixel `column` of `row` of the outputs from source position (x, y).
  void Put(double x, double y, std::uint32_t* displayRow, std::uint8_t* rawRow, int column) const {
    if (Outside(x, y)) {
      displayRow[column] = 0;
      if (Raw) {
        const std::size_t bytes = static_cast<std::size_t>(Raw->SamplesPerPixel * Raw->BytesPerSample());
        std::memset(rawRow + bytes * static_cast<std::size_t>(column), 0, bytes);
      }
      return;
    }
    PutInside(x, y, displayRow, rawRow, column);
  }

  // The same for a position already clamped into the image: each byte of the display and
  // each sample blended from the four pixels around it and rounded to the nearest, ties to
  // even, as BilinearSample does.
  void PutInside(double x, double y, std::uint32_t* displayRow, std::uint8_t* rawRow, int column) const {
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, Display.Width - 1);
    const int y1 = std::min(y0 + 1, Display.Height - 1);
    const double fx = x - x0;
    const double fy = y - y0;
    const double w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
    const std::uint32_t p00 = Display.At(x0, y0), p10 = Display.At(x1, y0), p01 = Display.At(x0, y1),
                        p11 = Display.At(x1, y1);
    std::uint32_t pixel = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const double v = w00 * ((p00 >> shift) & 0xFF) + w10 * ((p10 >> shift) & 0xFF) +
                       w01 * ((p01 >> shift) & 0xFF) + w11 * ((p11 >> shift) & 0xFF);
      pixel |= Rounded(v, 255) << shift;
    }
    displayRow[column] = pixel;
    if (!Raw) return;
    const int channels = Raw->SamplesPerPixel;
    const std::size_t width = static_cast<std::size_t>(Raw->Width);
    const std::size_t i00 = (static_cast<std::size_t>(y0) * width + static_cast<std::size_t>(x0)) * channels;
    const std::size_t i10 = (static_cast<std::size_t>(y0) * width + static_cast<std::size_t>(x1)) * channels;
    const std::size_t i01 = (static_cast<std::size_t>(y1) * width + static_cast<std::size_t>(x0)) * channels;
    const std::size_t i11 = (static_cast<std::size_t>(y1) * width + static_cast<std::size_t>(x1)) * channels;
    const std::size_t out = static_cast<std::size_t>(column) * channels;
    const std::uint8_t* s = Raw->Samples.data();
    if (Raw->BytesPerSample() == 1) {
      for (int c = 0; c < channels; ++c) {
        const double v = w00 * s[i00 + c] + w10 * s[i10 + c] + w01 * s[i01 + c] + w11 * s[i11 + c];
        rawRow[out + c] = static_cast<std::uint8_t>(Rounded(v, 255));
      }
      return;
    }
    auto at = [s](std::size_t sample) { return static_cast<double>(s[2 * sample] | (s[2 * sample + 1] << 8)); };
    for (int c = 0; c < channels; ++c) {
      const double v = w00 * at(i00 + c) + w10 * at(i10 + c) + w01 * at(i01 + c) + w11 * at(i11 + c);
      const std::uint32_t sample = Rounded(v, 65535);
      rawRow[2 * (out + c)] = static_cast<std::uint8_t>(sample & 0xFF);
      rawRow[2 * (out + c) + 1] = static_cast<std::uint8_t>(sample >> 8);
    }
  }

  // A blend of values 0..top, rounded to the nearest with ties to even (std::nearbyint is a
  // library call on the baseline instruction set, and this runs for every sample).
  static std::uint32_t Rounded(double v, std::uint32_t top) {
    if (!(v > 0)) return 0;
    auto r = static_cast<std::uint32_t>(v + 0.5);
    if (r - v == 0.5 && (r & 1) != 0) --r;
    return std::min(r, top);
  }
};

// The affine map between pixels and tracing positions of the image frame. Displacements
// are carried through the linear part only, so that a pixel that is not moved lands on
// itself exactly.
struct TFrameMap {
  double X0, Y0;
  double ColX, ColY;  // tracing step of one column
  double RowX, RowY;  // tracing step of one row
  double InvXx, InvXy, InvYx, InvYy;  // tracing displacement -> pixel displacement

  explicit TFrameMap(const TImageFrame& f) {
    const double c = std::cos(f.Rotation);
    const double s = std::sin(f.Rotation);
    X0 = f.OriginX;
    Y0 = f.OriginY;
    ColX = f.PixelWidth * c;
    ColY = f.PixelWidth * s;
    RowX = -f.PixelHeight * s;
    RowY = f.PixelHeight * c;
    InvXx = c / f.PixelWidth;
    InvXy = s / f.PixelWidth;
    InvYx = -s / f.PixelHeight;
    InvYy = c / f.PixelHeight;
  }
  TFloatPoint At(double column, double row) const {
    return {X0 + column * ColX + row * RowX, Y0 + column * ColY + row * RowY};
  }
  TFloatPoint PixelStep(double dx, double dy) const { return {dx * InvXx + dy * InvXy, dx * InvYx + dy * InvYy}; }
};

// ---- Rows shared between the cores ---------------------------------------------------

// Runs work(unit) for units 0..count-1 on worker threads, reporting progress(done units)
// from the calling thread as units finish; a false answer stops the workers before their
// next unit. The workers stay at most a few units ahead of what was reported, so that a
// cancel leaves the rest undone however fast the units go. False when stopped.
template <typename Work, typename Report>
bool ShareUnits(int count, const Work& work, const Report& report) {
  const int cores = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  const int window = 2 * cores;
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable finished, allowed;
  int done = 0;
  int acknowledged = 0;
  bool stop = false;
  auto worker = [&](bool alone) {
    for (;;) {
      const int unit = next.fetch_add(1);
      if (unit >= count) return;
      {
        std::unique_lock lock(mutex);
        if (!alone) allowed.wait(lock, [&] { return stop || unit < acknowledged + window; });
        if (stop) return;
      }
      work(unit);
      {
        const std::lock_guard lock(mutex);
        ++done;
      }
      finished.notify_one();
      if (alone) {
        const int reported = done;
        if (!report(reported)) {
          stop = true;
          return;
        }
      }
    }
  };
  std::vector<std::jthread> workers;
  for (int k = 0; k < std::min(cores, count); ++k) {
    try {
      workers.emplace_back(worker, false);
    } catch (const std::system_error&) {
      break;
    }
  }
  if (workers.empty()) {  // no thread to be had: the caller works alone
    worker(true);
    return !stop;
  }
  std::unique_lock lock(mutex);
  for (int reported = 0; reported < count;) {
    finished.wait(lock, [&] { return done > reported; });
    reported = done;
    lock.unlock();
    const bool goOn = report(reported);
    lock.lock();
    if (goOn) {
      acknowledged = reported;
    } else {
      stop = true;
    }
    allowed.notify_all();
    if (stop) break;
  }
  lock.unlock();
  workers.clear();  // joins
  return !stop;
}

constexpr int kRowsPerUnit = 4;

// ---- Influence ----------------------------------------------------------------------------

double Weight(const TMorphOptions& o, double d2) {
  switch (o.Function) {
    case TWarpFunction::Linear:
      return 1 - std::sqrt(d2) / o.DistanceLimit;
    case TWarpFunction::SCurve:
      return std::exp(-d2 / (o.FallOff * o.FallOff));
    default:
      return std::pow(1 / (std::sqrt(d2) + o.Smoothness), o.Exponent);
  }
}

// Beyond this distance from a segment its weight is 0 or below, so the segment can be left
// out wholesale; infinite when every distance counts.
double CutOff(const TMorphOptions& o) {
  switch (o.Function) {
    case TWarpFunction::Linear:
      return o.DistanceLimit;
    case TWarpFunction::SCurve:
      return o.FallOff * std::sqrt(746.0);  // exp(-746) is 0 in double
    default:
      return HUGE_VAL;
  }
}

// The sums of one position over the given segments.
struct TSums {
  double W = 0, Dx = 0, Dy = 0;
};

inline void Accumulate(const TMorphField::TSegment& g, const TMorphOptions& o, double x, double y, TSums& sums) {
  const double ex = x - g.Px;
  const double ey = y - g.Py;
  const double u = ex * g.Ux + ey * g.Uy;
  const double v = ex * g.Nx + ey * g.Ny;
  double d2;
  if (u <= 0) {
    d2 = ex * ex + ey * ey;
  } else if (u >= 1) {
    d2 = (x - g.Qx) * (x - g.Qx) + (y - g.Qy) * (y - g.Qy);
  } else {
    d2 = v * v;
  }
  const double w = Weight(o, d2);
  if (!(w > 0)) return;
  const double dx = g.Sx + u * g.SUx + v * g.SVx - x;
  const double dy = g.Sy + u * g.SUy + v * g.SVy - y;
  const double k = o.Function == TWarpFunction::Exponential ? w : w * w;
  sums.W += w;
  sums.Dx += k * dx;
  sums.Dy += k * dy;
}

// Adds the influence of segment g on the n positions a + i s, i = 0..n-1, to sums[i]. The
// S-curve weight exp(-d^2 / f^2) along a row is a Gaussian in i on each of the three parts
// (before P, beside the segment, beyond Q), so it follows from its neighbour by two
// multiplications; it is taken afresh from exp at the start of each part, every 16 pixels,
// and wherever the product has run out of range.
void AccumulateRow(const TMorphField::TSegment& g, const TMorphOptions& o, TFloatPoint a, TFloatPoint s, int n,
                   TSums* sums) {
  if (o.Function != TWarpFunction::SCurve) {
    for (int i = 0; i < n; ++i) Accumulate(g, o, a.X + i * s.X, a.Y + i * s.Y, sums[i]);
    return;
  }
  constexpr int kFreshEvery = 16;
  const double f2 = o.FallOff * o.FallOff;
  // Along the row u, v and the displacement are linear in i.
  const double ex0 = a.X - g.Px, ey0 = a.Y - g.Py;
  const double u0 = ex0 * g.Ux + ey0 * g.Uy, du = s.X * g.Ux + s.Y * g.Uy;
  const double v0 = ex0 * g.Nx + ey0 * g.Ny, dv = s.X * g.Nx + s.Y * g.Ny;
  const double dx0 = g.Sx + u0 * g.SUx + v0 * g.SVx - a.X, ddx = du * g.SUx + dv * g.SVx - s.X;
  const double dy0 = g.Sy + u0 * g.SUy + v0 * g.SVy - a.Y, ddy = du * g.SUy + dv * g.SVy - s.Y;
  const double besideRatio = std::exp(-2 * dv * dv / f2);
  const double endRatio = std::exp(-2 * (s.X * s.X + s.Y * s.Y) / f2);
  int part = -1, fresh = 0;
  double w = 0, ratio = 0;
  for (int i = 0; i < n; ++i) {
    const double u = u0 + i * du;
    const int here = u <= 0 ? 0 : (u >= 1 ? 2 : 1);
    if (here != part || fresh == kFreshEvery || !(w > 0) || !(ratio < HUGE_VAL)) {
      double d2, next;
      if (here == 1) {
        const double v = v0 + i * dv;
        d2 = v * v;
        next = (v + dv) * (v + dv);
      } else {
        const double ex = ex0 + i * s.X, ey = ey0 + i * s.Y;
        const double cx = here == 0 ? ex : ex + g.Px - g.Qx, cy = here == 0 ? ey : ey + g.Py - g.Qy;
        d2 = cx * cx + cy * cy;
        next = (cx + s.X) * (cx + s.X) + (cy + s.Y) * (cy + s.Y);
      }
      w = std::exp(-d2 / f2);
      ratio = std::exp(-(next - d2) / f2);
      part = here;
      fresh = 0;
    } else {
      w *= ratio;
      ratio *= part == 1 ? besideRatio : endRatio;
    }
    ++fresh;
    if (!(w > 0)) continue;
    const double k = w * w;
    sums[i].W += w;
    sums[i].Dx += k * (dx0 + i * ddx);
    sums[i].Dy += k * (dy0 + i * ddy);
  }
}

struct TBox {
  double MinX, MinY, MaxX, MaxY;
};

TBox BoxOf(std::initializer_list<TFloatPoint> points) {
  TBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (TFloatPoint p : points) {
    box.MinX = std::min(box.MinX, p.X);
    box.MinY = std::min(box.MinY, p.Y);
    box.MaxX = std::max(box.MaxX, p.X);
    box.MaxY = std::max(box.MaxY, p.Y);
  }
  return box;
}

// Whether any point of the segment lies nearer the box than `limit`.
bool Near(const TMorphField::TSegment& g, const TBox& box, double limit) {
  const double dx = std::max({0.0, std::min(g.Px, g.Qx) - box.MaxX, box.MinX - std::max(g.Px, g.Qx)});
  const double dy = std::max({0.0, std::min(g.Py, g.Qy) - box.MaxY, box.MinY - std::max(g.Py, g.Qy)});
  return dx * dx + dy * dy < limit * limit;
}

// ---- The three methods ------------------------------------------------------------------

struct TWarpTarget {
  TSampler Sampler;
  TFrameMap Map;
  TBitmap32& Display;
  TRawImage* Raw;

  std::uint8_t* RawRow(int row) const {
    if (!Raw) return nullptr;
    return Raw->Samples.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(Raw->Width) *
                                     static_cast<std::size_t>(Raw->SamplesPerPixel * Raw->BytesPerSample());
  }
};

constexpr int kTileColumns = 64;

bool FieldWarp(const TWarpTarget& t, const TMorphField& field, const TMorphProgress& progress) {
  const int w = t.Display.Width;
  const int h = t.Display.Height;
  const TMorphOptions& o = field.Options();
  const double cutOff = CutOff(o);
  const int units = (h + kRowsPerUnit - 1) / kRowsPerUnit;
  auto work = [&](int unit) {
    const int row0 = unit * kRowsPerUnit;
    const int row1 = std::min(h, row0 + kRowsPerUnit);
    std::vector<const TMorphField::TSegment*> near;
    for (int c0 = 0; c0 < w; c0 += kTileColumns) {
      const int c1 = std::min(w, c0 + kTileColumns);
      const TBox box = BoxOf({t.Map.At(c0, row0), t.Map.At(c1 - 1, row0), t.Map.At(c0, row1 - 1),
                              t.Map.At(c1 - 1, row1 - 1)});
      near.clear();
      for (const TMorphField::TSegment& g : field.Segments())
        if (Near(g, box, cutOff)) near.push_back(&g);
      for (int row = row0; row < row1; ++row) {
        std::uint32_t* displayRow = t.Display.Row(row);
        std::uint8_t* rawRow = t.RawRow(row);
        std::array<TSums, kTileColumns> sums{};
        for (const TMorphField::TSegment* g : near)
          AccumulateRow(*g, o, t.Map.At(c0, row), {t.Map.ColX, t.Map.ColY}, c1 - c0, sums.data());
        for (int column = c0; column < c1; ++column) {
          const TSums& sum = sums[static_cast<std::size_t>(column - c0)];
          TFloatPoint step{0, 0};
          if (sum.W > 0) step = t.Map.PixelStep(sum.Dx / sum.W, sum.Dy / sum.W);
          if (step.X == 0 && step.Y == 0) continue;  // the copied source pixel stays
          t.Sampler.Put(std::max(0.0, column + step.X), std::max(0.0, row + step.Y), displayRow, rawRow, column);
        }
      }
    }
  };
  return ShareUnits(units, work, [&](int done) { return !progress || progress(std::min(h, done * kRowsPerUnit), h); });
}

bool BlockWarp(const TWarpTarget& t, const TMorphField& field, int blockSize, const TMorphProgress& progress) {
  const int w = t.Display.Width;
  const int h = t.Display.Height;
  const int b = std::max(1, blockSize);
  std::vector<int> starts;
  for (int y0 = 0; y0 < h - 1; y0 += b) starts.push_back(y0);
  const int total = h / b;
  // Corner (column, row) mapped to a whole source pixel.
  auto corner = [&](int column, int row) {
    const TFloatPoint x = t.Map.At(column, row);
    const TFloatPoint s = field.SourcePosition(x);
    const TFloatPoint step = t.Map.PixelStep(s.X - x.X, s.Y - x.Y);
    return TFloatPoint{std::nearbyint(column + step.X), std::nearbyint(row + step.Y)};
  };
  auto work = [&](int unit) {
    const int y0 = starts[static_cast<std::size_t>(unit)];
    const int y1 = std::min(y0 + b, h - 1);
    // The corners of this block row, each mapped once.
    std::vector<TFloatPoint> top, bottom;
    for (int x0 = 0;; x0 = std::min(x0 + b, w - 1)) {
      top.push_back(corner(x0, y0));
      bottom.push_back(corner(x0, y1));
      if (x0 >= w - 1) break;
    }
    for (int x0 = 0, block = 0; x0 < w - 1; x0 += b, ++block) {
      const int x1 = std::min(x0 + b, w - 1);
      const auto at = static_cast<std::size_t>(block);
      const TFloatPoint a = top[at], bb = top[at + 1], c = bottom[at], d = bottom[at + 1];
      for (int q = 0; q <= y1 - y0; ++q) {
        const double tt = static_cast<double>(q) / (y1 - y0);
        std::uint32_t* displayRow = t.Display.Row(y0 + q);
        std::uint8_t* rawRow = t.RawRow(y0 + q);
        for (int p = 0; p <= x1 - x0; ++p) {
          const double s = static_cast<double>(p) / (x1 - x0);
          const double x = (1 - tt) * ((1 - s) * a.X + s * bb.X) + tt * ((1 - s) * c.X + s * d.X);
          const double y = (1 - tt) * ((1 - s) * a.Y + s * bb.Y) + tt * ((1 - s) * c.Y + s * d.Y);
          if (!std::isfinite(x) || !std::isfinite(y)) continue;
          // The block warp clamps on every side.
          t.Sampler.PutInside(std::clamp(x, 0.0, w - 1.0), std::clamp(y, 0.0, h - 1.0), displayRow, rawRow, x0 + p);
        }
      }
    }
  };
  // Neighbouring blocks share their border rows: two workers may write one row, always
  // the same values, but not at the same time, so block rows go in two passes.
  const int count = static_cast<int>(starts.size());
  int finished = 0;
  auto report = [&](int done) { return !progress || progress(std::min(total, finished + done), total); };
  const bool even = ShareUnits((count + 1) / 2, [&](int unit) { work(2 * unit); }, report);
  if (!even) return false;
  finished = (count + 1) / 2;
  return ShareUnits(count / 2, [&](int unit) { work(2 * unit + 1); }, report);
}

bool TriangleWarp(const TWarpTarget& t, std::span<const std::optional<TFloatPoint>> source,
                  std::span<const std::optional<TFloatPoint>> target, const TMorphProgress& progress) {
  const int w = t.Display.Width;
  const int h = t.Display.Height;
  struct TTriangle {
    TFloatPoint T[3];  // target vertices
    TFloatPoint S[3];  // source vertices
    double Area2;      // twice the signed area of the target triangle
    TFloatPoint Pixel[3];  // target vertices in pixels of the new image
    double MinRow, MaxRow;
    // The columns the triangle may hold in the band of rows [row - 1, row + 1].
    std::pair<int, int> Columns(int row, int width) const {
      double low = HUGE_VAL, high = -HUGE_VAL;
      for (int e = 0; e < 3; ++e) {
        const TFloatPoint a = Pixel[e], b = Pixel[(e + 1) % 3];
        double t0 = 0, t1 = 1;
        if (a.Y != b.Y) {
          t0 = (row - 1 - a.Y) / (b.Y - a.Y);
          t1 = (row + 1 - a.Y) / (b.Y - a.Y);
          if (t0 > t1) std::swap(t0, t1);
          t0 = std::max(t0, 0.0);
          t1 = std::min(t1, 1.0);
          if (t0 > t1) continue;
        } else if (std::abs(a.Y - row) > 1) {
          continue;
        }
        for (double t : {t0, t1}) {
          const double x = a.X + t * (b.X - a.X);
          low = std::min(low, x);
          high = std::max(high, x);
        }
      }
      if (!(low <= high)) return {0, -1};
      return {static_cast<int>(std::max(0.0, std::floor(low) - 1)),
              static_cast<int>(std::min(width - 1.0, std::ceil(high) + 1))};
    }
  };
  std::vector<TTriangle> triangles;
  const TFloatPoint origin = t.Map.At(0, 0);
  for (const TDelTriangle& d : DelaunayTriangulate(source)) {
    TTriangle tri{};
    bool present = true;
    for (int k = 0; k < 3; ++k) {
      const auto index = static_cast<std::size_t>(d.Vertex[static_cast<std::size_t>(k)]);
      if (index >= target.size() || !target[index]) {
        present = false;
        break;
      }
      tri.S[k] = *source[index];
      tri.T[k] = *target[index];
    }
    if (!present) continue;
    tri.Area2 = (tri.T[1].X - tri.T[0].X) * (tri.T[2].Y - tri.T[0].Y) -
                (tri.T[1].Y - tri.T[0].Y) * (tri.T[2].X - tri.T[0].X);
    // A target triangle without area would take every position on its line, with no
    // barycentric coordinates to give.
    if (tri.Area2 == 0 || !std::isfinite(tri.Area2)) continue;
    tri.MinRow = HUGE_VAL;
    tri.MaxRow = -HUGE_VAL;
    for (int k = 0; k < 3; ++k) {
      tri.Pixel[k] = t.Map.PixelStep(tri.T[k].X - origin.X, tri.T[k].Y - origin.Y);
      tri.MinRow = std::min(tri.MinRow, tri.Pixel[k].Y);
      tri.MaxRow = std::max(tri.MaxRow, tri.Pixel[k].Y);
    }
    triangles.push_back(tri);
  }
  auto cross = [](TFloatPoint a, TFloatPoint b, TFloatPoint x) {
    return (b.X - a.X) * (x.Y - a.Y) - (b.Y - a.Y) * (x.X - a.X);
  };
  const int units = (h + kRowsPerUnit - 1) / kRowsPerUnit;
  auto work = [&](int unit) {
    const int row0 = unit * kRowsPerUnit;
    const int row1 = std::min(h, row0 + kRowsPerUnit);
    std::vector<const TTriangle*> crossing;
    std::vector<char> taken(static_cast<std::size_t>(w));
    for (int row = row0; row < row1; ++row) {
      crossing.clear();
      for (const TTriangle& tri : triangles)
        if (tri.MinRow - 1 <= row && row <= tri.MaxRow + 1) crossing.push_back(&tri);
      std::fill(taken.begin(), taken.end(), 0);
      std::uint32_t* displayRow = t.Display.Row(row);
      std::uint8_t* rawRow = t.RawRow(row);
      // In list order, each pixel going to the first triangle that holds it.
      for (const TTriangle* tri : crossing) {
        const auto [first, last] = tri->Columns(row, w);
        for (int column = first; column <= last; ++column) {
          if (taken[static_cast<std::size_t>(column)]) continue;
          const TFloatPoint x = t.Map.At(column, row);
          const double c0 = cross(tri->T[1], tri->T[2], x);
          const double c1 = cross(tri->T[2], tri->T[0], x);
          const double c2 = cross(tri->T[0], tri->T[1], x);
          if (!((c0 >= 0 && c1 >= 0 && c2 >= 0) || (c0 <= 0 && c1 <= 0 && c2 <= 0))) continue;
          taken[static_cast<std::size_t>(column)] = 1;
          const double l0 = c0 / tri->Area2, l1 = c1 / tri->Area2, l2 = c2 / tri->Area2;
          const double sx = l0 * tri->S[0].X + l1 * tri->S[1].X + l2 * tri->S[2].X;
          const double sy = l0 * tri->S[0].Y + l1 * tri->S[1].Y + l2 * tri->S[2].Y;
          const TFloatPoint step = t.Map.PixelStep(sx - x.X, sy - x.Y);
          if (step.X == 0 && step.Y == 0) continue;
          t.Sampler.Put(std::max(0.0, column + step.X), std::max(0.0, row + step.Y), displayRow, rawRow, column);
        }
      }
    }
  };
  return ShareUnits(units, work, [&](int done) { return !progress || progress(std::min(h, done * kRowsPerUnit), h); });
}

}  // namespace

// ---- Public ----------------------------------------------------------------------------

TText WarpFunctionName(TWarpFunction function) {
  switch (function) {
    case TWarpFunction::Linear:
      return LcText("Morph", "Linear");
    case TWarpFunction::SCurve:
      return LcText("Morph", "S-curve");
    case TWarpFunction::Exponential:
      return LcText("Morph", "Exponential");
    case TWarpFunction::Triangle:
      break;
  }
  return LcText("Morph", "Triangle interpolation");
}

TText MorphQualityName(TMorphQuality quality) {
  switch (quality) {
    case TMorphQuality::Low:
      return LcText("Morph", "Low");
    case TMorphQuality::Medium:
      return LcText("Morph", "Medium");
    case TMorphQuality::High:
      break;
  }
  return LcText("Morph", "High");
}

TText MorphMethodText(const TMorphOptions& options) {
  const TText quality =
      options.Function == TWarpFunction::Triangle ? TText(LcText("Morph", "Standard")) : MorphQualityName(options.Quality);
  return TText::Joined({TText(LcText("Morph", "Warping function: %1"), {WarpFunctionName(options.Function)}),
                        TText(LcText("Morph", "Quality: %1"), {quality})},
                       "\r\n");
}

TText MorphReadiness(const TRadiograph* source, const TRadiograph* current) {
  if (!source || !current) return LcText("Morph", "No radiographs.");
  if (source == current) return LcText("Morph", "Current is Morph Source.");
  if (source->IsType()) return LcText("Morph", "Cannot morph Types.");
  if (!source->Type() || !current->Type() || source->Type()->Name != current->Type()->Name)
    return LcText("Morph", "Not the same Type.");
  if (!source->Image.HasImage()) return LcText("Morph", "No image.");
  if (ValidityPattern(*source) != ValidityPattern(*current)) return LcText("Morph", "Some points not valid.");
  return {};
}

bool MorphSamplesCurves(const TMorphOptions& options) {
  return options.Quality == TMorphQuality::High && options.Function != TWarpFunction::Triangle;
}

std::vector<std::optional<TFloatPoint>> MorphControlPoints(const TRadiograph& r, const TRadiograph& frame,
                                                           bool sampleCurves) {
  std::vector<std::optional<TFloatPoint>> points;
  if (r.Type()) {
    const TLoadedRadiograph loaded = LoadOf(r);
    for (TXRGraphic* graphic : MorphDrawings(*loaded.Type())) {
      const std::vector<std::optional<TFloatPoint>> outline = MorphOutline(*graphic, sampleCurves);
      points.insert(points.end(), outline.begin(), outline.end());
      points.emplace_back(std::nullopt);
    }
  }
  const TImageFrame f = ImageFrameOf(frame);
  const std::array<TFloatPoint, 4> corners = ImageCorners(f, frame.Image.Display.Width, frame.Image.Display.Height);
  for (const TFloatPoint& corner : corners) points.emplace_back(corner);
  points.emplace_back(corners[0]);
  return points;
}

TMorphField::TMorphField(std::span<const std::optional<TFloatPoint>> source,
                         std::span<const std::optional<TFloatPoint>> target, const TMorphOptions& options)
    : fOptions(options) {
  const std::size_t n = std::min(source.size(), target.size());
  for (std::size_t k = 0; k + 1 < n; ++k) {
    if (!source[k] || !source[k + 1] || !target[k] || !target[k + 1]) continue;
    const TFloatPoint p = *target[k], q = *target[k + 1], ps = *source[k], qs = *source[k + 1];
    const double l2 = (q.X - p.X) * (q.X - p.X) + (q.Y - p.Y) * (q.Y - p.Y);
    const double ls = std::hypot(qs.X - ps.X, qs.Y - ps.Y);
    // Degenerate on either side: no direction to carry over.
    if (!(l2 > 0) || !(ls > 0) || !std::isfinite(l2) || !std::isfinite(ls)) continue;
    const double l = std::sqrt(l2);
    TSegment g{};
    g.Px = p.X;
    g.Py = p.Y;
    g.Qx = q.X;
    g.Qy = q.Y;
    g.Ux = (q.X - p.X) / l2;
    g.Uy = (q.Y - p.Y) / l2;
    g.Nx = (p.Y - q.Y) / l;
    g.Ny = (q.X - p.X) / l;
    g.Sx = ps.X;
    g.Sy = ps.Y;
    g.SUx = qs.X - ps.X;
    g.SUy = qs.Y - ps.Y;
    g.SVx = -(qs.Y - ps.Y) / ls;
    g.SVy = (qs.X - ps.X) / ls;
    fSegments.push_back(g);
  }
}

TFloatPoint TMorphField::SourcePosition(TFloatPoint x) const {
  TSums sums;
  for (const TSegment& g : fSegments) Accumulate(g, fOptions, x.X, x.Y, sums);
  if (!(sums.W > 0)) return x;
  return {x.X + sums.Dx / sums.W, x.Y + sums.Dy / sums.W};
}

bool MorphPixels(const TMorphImages& images, std::span<const std::optional<TFloatPoint>> source,
                 std::span<const std::optional<TFloatPoint>> target, const TMorphOptions& options,
                 const TMorphProgress& progress) {
  const TBitmap32& from = images.SourceDisplay;
  if (from.Empty() || images.Display.Width != from.Width || images.Display.Height != from.Height ||
      images.Display.Pixels.size() != from.Pixels.size() || images.Frame.PixelWidth == 0 ||
      images.Frame.PixelHeight == 0)
    return true;  // nothing that could be warped
  const TRawImage& raw = images.SourceRaw;
  // Samples are warped along when they are the same picture as the display.
  const bool withRaw = raw.HasData() && raw.Width == from.Width && raw.Height == from.Height &&
                       images.Raw.Samples.size() == raw.Samples.size() &&
                       raw.Samples.size() == static_cast<std::size_t>(raw.Width) * raw.Height *
                                                 raw.SamplesPerPixel * raw.BytesPerSample();
  const TWarpTarget t{{from.View(), withRaw ? &raw : nullptr},
                      TFrameMap(images.Frame),
                      images.Display,
                      withRaw ? &images.Raw : nullptr};
  if (options.Function == TWarpFunction::Triangle) return TriangleWarp(t, source, target, progress);
  const TMorphField field(source, target, options);
  if (options.Quality == TMorphQuality::Low) return BlockWarp(t, field, options.BlockSize, progress);
  return FieldWarp(t, field, progress);
}

TResult MorphImage(TRadiograph& current, const TRadiograph& source, const TMorphOptions& options,
                   const TMorphProgress& progress) {
  auto refuse = [](TText reason) {
    return TResult::Failure(TText(LcText("Morph", "Cannot perform morphing:\r\n%1"), {std::move(reason)}));
  };
  if (TText reason = MorphReadiness(&source, &current); !reason.Empty()) return refuse(std::move(reason));
  const bool sample = MorphSamplesCurves(options);
  const std::vector<std::optional<TFloatPoint>> from = MorphControlPoints(source, source, sample);
  const std::vector<std::optional<TFloatPoint>> to = MorphControlPoints(current, source, sample);
  if (from.size() != to.size()) return refuse(LcText("Morph", "Some points not valid."));

  TImageStore& image = current.Image;
  image.Display = source.Image.Display;
  image.Raw = source.Image.Raw;
  // The old picture goes altogether: neither Undo nor Reset may bring it back under the
  // source's frame.
  image.UndoImage.Clear();
  ClearRawImage(image.UndoRaw);
  image.UndoFrame.reset();
  image.UndoIsNext = true;
  image.ImageVisible = true;
  current.ImageFile.clear();
  current.ImageOriginX = source.ImageOriginX;
  current.ImageOriginY = source.ImageOriginY;
  current.PixelWidth = source.PixelWidth;
  current.PixelHeight = source.PixelHeight;
  current.ImageRotation = source.ImageRotation;
  MorphPixels({source.Image.Display, source.Image.Raw, ImageFrameOf(source), image.Display, image.Raw}, from, to,
              options, progress);
  current.RecordImageChange(true, "Image Morph.");
  return {};
}

}  // namespace lumacet
