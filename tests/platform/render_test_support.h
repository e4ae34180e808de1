// What the rendering tests share: comparing pictures with a tolerance, golden pictures
// kept beside the tests, and radiographs of the example type in a data file.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"

namespace lumacet::test {

inline const std::string kGoldenFolder = std::string(LUMACET_SOURCE_DIR) + "/tests/platform/golden";
inline const std::string kExampleType = std::string(LUMACET_SOURCE_DIR) + "/examples/lateral_ceph.lcr";

// How far two pictures of the same size are apart: the share of pixels of either whose
// colour differs by more than `threshold` in some channel from every pixel of the other
// within `radius` pixels (a radius of 1 forgives strokes that one rasteriser places a pixel
// off from another).
inline double DifferentShare(const QImage& a, const QImage& b, int threshold, int radius = 0) {
  if (a.size() != b.size() || a.isNull()) return 1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  auto near = [&](QRgb p, QRgb q) {
    return std::abs(qRed(p) - qRed(q)) <= threshold && std::abs(qGreen(p) - qGreen(q)) <= threshold &&
           std::abs(qBlue(p) - qBlue(q)) <= threshold;
  };
  auto unmatched = [&](const QImage& from, const QImage& in) {
    long count = 0;
    for (int row = 0; row < from.height(); ++row) {
      for (int col = 0; col < from.width(); ++col) {
        const QRgb p = reinterpret_cast<const QRgb*>(from.constScanLine(row))[col];
        bool found = false;
        for (int dy = -radius; dy <= radius && !found; ++dy) {
          const int r = row + dy;
          if (r < 0 || r >= in.height()) continue;
          const auto* line = reinterpret_cast<const QRgb*>(in.constScanLine(r));
          for (int dx = -radius; dx <= radius && !found; ++dx) {
            const int c = col + dx;
            found = c >= 0 && c < in.width() && near(p, line[c]);
          }
        }
        count += !found;
      }
    }
    return count;
  };
  const double pixels = static_cast<double>(x.width()) * x.height();
  return static_cast<double>(std::max(unmatched(x, y), unmatched(y, x))) / pixels;
}

// Compares with tests/platform/golden/<name>.png: at most `share` of the pixels may differ
// by more than 48 in a channel (font rasterisers differ a little between releases). With
// LUMACET_UPDATE_GOLDEN set the picture becomes the new golden one.
inline void ExpectGolden(const QImage& image, const std::string& name, double share = 0.002) {
  const QString path = QString::fromStdString(kGoldenFolder + "/" + name + ".png");
  if (std::getenv("LUMACET_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(image.save(path, "png"));
    return;
  }
  const QImage golden(path);
  ASSERT_FALSE(golden.isNull()) << "no golden picture " << path.toStdString()
                                << " (run once with LUMACET_UPDATE_GOLDEN=1 and look at it)";
  ASSERT_EQ(image.size(), golden.size()) << name;
  EXPECT_LE(DifferentShare(image, golden, 48), share) << name;
}

// Appends radiographs of the example type, landmarks where the type's template puts them,
// scaled about the origin and shifted; false when the type does not load.
inline bool AppendExampleRadiograph(TXRayType& type, const std::string& data, const std::string& name, double scale,
                                    double shift) {
  TXRay xray;
  xray.SetType(&type);
  xray.Name = name;
  xray.Female = true;
  xray.DateOfBirth = DayNumber(2000, 1, 1);
  xray.DateTaken = DayNumber(2012, 1, 1);
  for (std::size_t i = 0; i < xray.Coordinates.size(); ++i) {
    const TXRPoint& at = *type.TemplatePoints[i];
    xray.Coordinates[i]->SetXY(at.RawX() * scale + shift, at.RawY() * scale);
  }
  return AppendToDataFile(xray, data, {}).Ok();
}

}  // namespace lumacet::test
