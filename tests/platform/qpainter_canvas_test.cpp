#include "platform/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gui_application.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

class QPainterCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureGuiApplication(); }

  // A 200 x 200 white image painted by `paint`, two pixels per logical unit.
  QImage Paint(const TPaintRoutine& paint, TIntSize size = {200, 200}) {
    QImage image;
    TPaintResult result = PaintImage(size, 0xFFFFFF, [&](TCanvas& canvas) {
      canvas.SetMapping(*TIsotropicMapping::FromScale({0, 0}, 2));
      paint(canvas);
    }, image);
    EXPECT_TRUE(result.Ok) << result.Error;
    return image;
  }

  static std::uint32_t At(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

TEST(QtColours, ModelColoursHaveRedInTheLowByte) {
  EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
  EXPECT_EQ(ToQColor(0x80336699), QColor(0x99, 0x66, 0x33));  // the top byte is not a colour
  EXPECT_EQ(FromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699u);
  EXPECT_EQ(FromQColor(ToQColor(0x00ABCDEF)), 0x00ABCDEFu);
}

TEST_F(QPainterCanvasTest, LinesAndFillsLandWhereTheMappingPutsThem) {
  QImage image = Paint([](TCanvas& canvas) {
    canvas.SetPen({kRed, TPenStyle::Solid, 3});  // 6 pixels wide
    canvas.MoveTo({10, 20});
    canvas.LineTo({90, 20});
    canvas.SetPen({kBlue, TPenStyle::Clear, 0});
    canvas.SetBrush({kBlue, TBrushStyle::Solid});
    std::vector<TIntPoint> square{{10, 60}, {40, 60}, {40, 90}, {10, 90}};
    canvas.Polygon(square);
  });
  EXPECT_EQ(At(image, 100, 40), kRed);
  EXPECT_EQ(At(image, 100, 37), kRed);
  EXPECT_EQ(At(image, 100, 34), kWhite);
  EXPECT_EQ(At(image, 100, 44), kWhite);
  EXPECT_EQ(At(image, 50, 150), kBlue);
  EXPECT_EQ(At(image, 90, 150), kWhite);
}

TEST_F(QPainterCanvasTest, PiesRunCounterClockwiseAsDisplayed) {
  QImage image = Paint([](TCanvas& canvas) {
    canvas.SetPen({kRed, TPenStyle::Clear, 0});
    canvas.SetBrush({kRed, TBrushStyle::Solid});
    canvas.Pie({10, 10, 90, 90}, {100, 50}, {50, 0});  // from the right to the top
  });
  EXPECT_EQ(At(image, 130, 70), kRed);     // upper right
  EXPECT_EQ(At(image, 70, 70), kWhite);    // upper left
  EXPECT_EQ(At(image, 130, 130), kWhite);  // lower right
}

TEST_F(QPainterCanvasTest, OpaqueHatchesPaintTheirGapsInTheBackgroundColour) {
  auto hatched = [](TBackgroundMode mode) {
    return [mode](TCanvas& canvas) {
      canvas.SetPen({0, TPenStyle::Clear, 0});
      canvas.SetBrush({kRed, TBrushStyle::Solid});
      canvas.Rectangle({0, 0, 100, 100});
      canvas.SetBackgroundMode(mode);
      canvas.SetBackgroundColour(kWhite);
      canvas.SetBrush({kBlue, TBrushStyle::Horizontal});
      canvas.Rectangle({0, 0, 100, 100});
    };
  };
  auto count = [](const QImage& image, std::uint32_t colour) {
    int n = 0;
    for (int y = 20; y < 180; ++y) n += At(image, 100, y) == colour;
    return n;
  };
  QImage opaque = Paint(hatched(TBackgroundMode::Opaque));
  QImage transparent = Paint(hatched(TBackgroundMode::Transparent));
  EXPECT_GT(count(opaque, kBlue), 0);
  EXPECT_GT(count(opaque, kWhite), 100);
  EXPECT_EQ(count(opaque, kRed), 0);
  EXPECT_GT(count(transparent, kRed), 100);
  EXPECT_EQ(count(transparent, kWhite), 0);
}

TEST_F(QPainterCanvasTest, TextIsMeasuredAndDrawnInsideItsCell) {
  TIntSize extent;
  TIntSize longer;
  QImage image = Paint([&](TCanvas& canvas) {
    canvas.SetFont({"MS Sans Serif", 10});
    canvas.SetTextColour(kRed);
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    extent = canvas.TextExtent("Lumacet");
    longer = canvas.TextExtent("Lumacet & more");
    canvas.TextOut({10, 10}, "Lumacet");
  });
  EXPECT_GT(extent.Width, 10);
  EXPECT_GE(extent.Height, 10);
  EXPECT_GT(longer.Width, extent.Width);
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (At(image, x, y) == kWhite) continue;
      bool in = x >= 20 && x < 20 + 2 * extent.Width + 2 && y >= 20 && y < 20 + 2 * extent.Height + 2;
      (in ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(QPainterCanvasTest, ImagesStretchMirroredAndBlitPastTheMapping) {
  const std::vector<std::uint32_t> pixels{0x00FF0000, 0x000000FF};  // red, blue (0xAARRGGBB)
  const TBitmapView bitmap{pixels, 2, 1};
  QImage image = Paint([&](TCanvas& canvas) {
    canvas.StretchImage({50, 0, 0, 10}, bitmap, {0, 0, 2, 1}, TStretchMode::Nearest);  // mirrored
    canvas.BlitDevice({150, 150}, bitmap);
  });
  EXPECT_EQ(At(image, 10, 10), kBlue);
  EXPECT_EQ(At(image, 90, 10), kRed);
  EXPECT_EQ(At(image, 150, 150), kRed);
  EXPECT_EQ(At(image, 151, 150), kBlue);
  EXPECT_EQ(At(image, 152, 150), kWhite);
}

TEST_F(QPainterCanvasTest, FarAwayGeometryNeitherHangsNorHidesTheVisiblePart) {
  QImage image = Paint([](TCanvas& canvas) {
    canvas.SetPen({kRed, TPenStyle::DashDot, 5});
    canvas.SetBrush({kBlue, TBrushStyle::Cross});
    std::vector<TIntPoint> huge{{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    canvas.Polygon(huge);
    canvas.SetPen({kRed, TPenStyle::Dash, 0});
    canvas.MoveTo({INT_MIN, 60});
    canvas.LineTo({INT_MAX, 60});
    canvas.SetPen({kRed, TPenStyle::Solid, 0});
    canvas.SetBrush({kRed, TBrushStyle::Clear});
    canvas.MoveTo({INT_MIN, 50});
    canvas.LineTo({INT_MAX, 50});
    canvas.Ellipse({-2000000000, -2000000000, 2000000000, 2000000000});
    canvas.Arc({-2000000000, -2000000000, 2000000000, 2000000000}, {0, 0}, {1, 1});
  });
  EXPECT_EQ(At(image, 20, 100), kRed);
  EXPECT_EQ(At(image, 180, 100), kRed);
}

TEST_F(QPainterCanvasTest, PicturesAreWrittenWholeAsSvgAndPdf) {
  test::TTempFolder folder;
  auto paint = [](TCanvas& canvas) {
    EXPECT_NEAR(canvas.DevicePixelsPerScreenPixel(), 254.0 / 96, 1e-9);
    canvas.SetPen({kRed, TPenStyle::Dash, 5});
    canvas.SetBrush({kBlue, TBrushStyle::Cross});
    canvas.Ellipse({100, 100, 900, 500});
    canvas.SetFont({"DejaVu Sans", 8 * kTracingUnitsPerPoint});
    canvas.TextOut({100, 550}, "Sella & Nasion");
  };
  const std::string svg = folder.File("tracing.svg");
  TWriteResult written = WriteSvgPicture(svg, {1000, 600}, "Tracing", paint);
  ASSERT_TRUE(written.Ok) << written.Error;
  QFile svgFile(QString::fromStdString(svg));
  ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&svgFile);
  bool sized = false;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg")) {
      sized = xml.attributes().value("width") == QLatin1String("100mm") &&
              xml.attributes().value("height") == QLatin1String("60mm");
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(sized);

  const std::string pdf = folder.File("tracing.pdf");
  written = WritePdfPicture(pdf, {1000, 600}, "Tracing", paint);
  ASSERT_TRUE(written.Ok) << written.Error;
  std::string bytes = test::ReadBytes(pdf);
  EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
  EXPECT_NE(bytes.find("%%EOF", bytes.size() - 8), std::string::npos);
  // 100 mm by 60 mm, rounded up to whole points.
  EXPECT_NE(bytes.find("/MediaBox [0 0 284.000000 171.000000]"), std::string::npos);
  // Nothing left behind but the two pictures.
  EXPECT_EQ(folder.Names().size(), 2u);
}

TEST_F(QPainterCanvasTest, ClipsHoldUntilRestoredAndPdfPagesBreak) {
  QImage image = Paint([](TCanvas& canvas) {
    canvas.SetPen({kRed, TPenStyle::Clear, 0});
    canvas.SetBrush({kRed, TBrushStyle::Solid});
    canvas.Save();
    canvas.IntersectClip({20, 20, 60, 60});
    canvas.Rectangle({0, 0, 100, 100});
    EXPECT_FALSE(canvas.NewPage());  // an image has one page
    canvas.Restore();
    canvas.SetBrush({kBlue, TBrushStyle::Solid});
    canvas.Rectangle({80, 80, 100, 100});
  });
  EXPECT_EQ(At(image, 41, 41), kRed);
  EXPECT_EQ(At(image, 119, 119), kRed);
  EXPECT_EQ(At(image, 121, 121), kWhite);
  EXPECT_EQ(At(image, 39, 39), kWhite);
  EXPECT_EQ(At(image, 170, 170), kBlue);  // unclipped after the restore

  test::TTempFolder folder;
  const std::string pdf = folder.File("pages.pdf");
  int pagesStarted = 0;
  const TWriteResult written = WritePdfPicture(pdf, {1000, 600}, "Pages", [&](TCanvas& canvas) {
    canvas.TextOut({100, 100}, "one");
    pagesStarted += canvas.NewPage();
    canvas.TextOut({100, 100}, "two");
    pagesStarted += canvas.NewPage();
    canvas.TextOut({100, 100}, "three");
  });
  ASSERT_TRUE(written.Ok) << written.Error;
  EXPECT_EQ(pagesStarted, 2);
  const std::string bytes = test::ReadBytes(pdf);
  EXPECT_NE(bytes.find("/Count 3"), std::string::npos);
}

TEST_F(QPainterCanvasTest, FailedWritesAreReportedAndLeaveNoFile) {
  test::TTempFolder folder;
  const std::string missing = folder.File("no-such-folder/tracing.svg");
  TWriteResult written = WriteSvgPicture(missing, {100, 100}, "", [](TCanvas&) {});
  EXPECT_FALSE(written.Ok);
  EXPECT_FALSE(written.Error.empty());
  EXPECT_FALSE(WritePdfPicture(folder.File("empty.pdf"), {0, 100}, "", [](TCanvas&) {}).Ok);
  EXPECT_FALSE(WritePngImage(folder.File("null.png"), QImage()).Ok);
  QImage image;
  EXPECT_FALSE(PaintImage({-5, 10}, kWhite, [](TCanvas&) {}, image).Ok);
  EXPECT_TRUE(image.isNull());
  EXPECT_TRUE(folder.Names().empty());

  QImage painted = Paint([](TCanvas&) {});
  const std::string png = folder.File("tracing.png");
  ASSERT_TRUE(WritePngImage(png, painted).Ok);
  QImage read(QString::fromStdString(png));
  EXPECT_EQ(read.size(), painted.size());
}

// Every image format the PNG writer meets reads back with the same pixels, at full depth.
TEST_F(QPainterCanvasTest, PngKeepsEveryFormatsPixels) {
  test::TTempFolder folder;
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_Grayscale8,
                                QImage::Format_Grayscale16, QImage::Format_RGB888, QImage::Format_RGBA8888,
                                QImage::Format_RGBX64, QImage::Format_RGBA64}) {
    SCOPED_TRACE(static_cast<int>(format));
    QImage image(7, 5, format);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.setPixelColor(x, y, QColor::fromRgba64(static_cast<quint16>(x * 9000 + y * 77), static_cast<quint16>(y * 13000),
                                                     static_cast<quint16>(65535 - x * 5000), static_cast<quint16>(40000 + x * y * 300)));
    const std::string png = folder.File("f.png");
    ASSERT_TRUE(WritePngImage(png, image).Ok);
    const QImage read(QString::fromStdString(png));
    ASSERT_EQ(read.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) EXPECT_EQ(read.pixelColor(x, y).rgba64(), image.pixelColor(x, y).rgba64());
  }
}

}  // namespace
}  // namespace lumacet
