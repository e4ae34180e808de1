// The image geometry dialogs driven through their widgets: placing and turning the image
// with the tracing locked to it and Cancel putting both back, the resampled rotation from
// its kept image with OK leaving an undo step, and "Scale Image" refusing bad values.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <functional>
#include <numbers>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/image_geometry_dialogs.h"
#include "model/kind_codes.h"
#include "population/population_fixture.h"
#include "simulation/image_geometry.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

struct TImageGeometryDialogsTest : ::testing::Test {
  TImageGeometryDialogsTest() {
    test::Application();
    xray->Image.Display.Resize(30, 20);
    xray->PixelWidth = 2;
    xray->PixelHeight = 2;
  }
  TFloatPoint At(const char* name) {
    const TLoadedRadiograph loaded = xray->Load();
    return loaded.Position(type->FindElement(name, ekDigPoint)).value_or(TFloatPoint{NAN, NAN});
  }
  void Type(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
  }
  std::unique_ptr<TXRayType> type = test::PointType("T", {"A", "B"});
  std::unique_ptr<TXRay> xray = test::Radiograph(*type, "X", {{{100, 200}}, {{300, 260}}});
};

TEST_F(TImageGeometryDialogsTest, PositionAndRotationCarryTheLockedTracingAndCancelPutsBack) {
  TImagePositionDlg dialog(*xray, true, {0, 0});
  Type(dialog.XField(), "100");
  Type(dialog.YField(), "50");
  QTest::mouseClick(dialog.SetPositionButton(), Qt::LeftButton);
  EXPECT_EQ(xray->ImageOriginX, 100);
  EXPECT_EQ(At("A").X, 200);
  EXPECT_EQ(At("A").Y, 250);
  Type(dialog.XField(), "ten");  // ignored
  QTest::mouseClick(dialog.SetPositionButton(), Qt::LeftButton);
  EXPECT_EQ(xray->ImageOriginX, 100);
  Type(dialog.AngleField(), "90");
  QTest::mouseClick(dialog.SetRotationButton(), Qt::LeftButton);
  EXPECT_NEAR(xray->ImageRotation, std::numbers::pi / 2, 1e-12);
  EXPECT_NEAR(At("A").X, -250, 1e-9);
  dialog.reject();
  EXPECT_NEAR(xray->ImageOriginX, 0, 1e-9);
  EXPECT_NEAR(xray->ImageRotation, 0, 1e-12);
  EXPECT_NEAR(At("A").X, 100, 1e-9);
  EXPECT_NEAR(At("A").Y, 200, 1e-9);

  TImagePositionDlg unlocked(*xray, false, {0, 0});
  Type(unlocked.XField(), "-40");
  QTest::mouseClick(unlocked.SetPositionButton(), Qt::LeftButton);
  unlocked.accept();
  EXPECT_EQ(xray->ImageOriginX, -40);
  EXPECT_EQ(At("A").X, 100);
  EXPECT_EQ(xray->ChangeHistory.back(), "Image Repositioned.");
}

TEST_F(TImageGeometryDialogsTest, ResampledRotationStartsFromTheKeptImageAndOkLeavesAnUndo) {
  const TBitmap32 original = xray->Image.Display;
  {
    TImageRotationDlg dialog(*xray, false, {30, 20});
    Type(dialog.AngleField(), "90");
    QTest::mouseClick(dialog.SetAtButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.SetAtButton(), Qt::LeftButton);  // still 90, not 180
    EXPECT_EQ(xray->Image.Display.Width, 20);
    EXPECT_EQ(xray->Image.Display.Height, 30);
    dialog.reject();
    EXPECT_EQ(xray->Image.Display, original);
  }
  TImageRotationDlg dialog(*xray, false, {30, 20});
  Type(dialog.AngleField(), "90");
  QTest::mouseClick(dialog.SetAtButton(), Qt::LeftButton);
  const double origin = xray->ImageOriginX;
  dialog.accept();
  EXPECT_EQ(xray->ChangeHistory.back(), "Image Rotated.");
  SwapImageUndo(*xray);
  EXPECT_EQ(xray->Image.Display, original);
  EXPECT_EQ(xray->ImageOriginX, 0);
  SwapImageUndo(*xray);
  EXPECT_EQ(xray->ImageOriginX, origin);
}

TEST_F(TImageGeometryDialogsTest, ScaleImageAppliesOrSaysWhyNotAndStays) {
  struct TCase {
    const char* What;
    std::function<void(TImageScaleDlg&)> Fill;
    std::function<QPushButton*(TImageScaleDlg&)> Button;
    const char* Told;  // null: applied
  };
  const std::vector<TCase> cases = {
      {"no width", [this](TImageScaleDlg& d) { Type(d.WidthField(), "x"); }, &TImageScaleDlg::ApplySizeButton,
       "Invalid Values."},
      {"zero pixel height", [this](TImageScaleDlg& d) { Type(d.PixelHeightField(), "0"); },
       &TImageScaleDlg::ApplyPixelSizeButton, "Invalid Values."},
      {"upsampling", [this](TImageScaleDlg& d) { Type(d.ResolutionField(), "300"); d.DownsampleBox()->setChecked(true); },
       &TImageScaleDlg::ApplyResolutionButton, "Only downsampling to a lower resolution is supported."},
      {"pixel sizes", [this](TImageScaleDlg& d) { Type(d.PixelWidthField(), "2.5"); Type(d.PixelHeightField(), "3"); },
       &TImageScaleDlg::ApplyPixelSizeButton, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TImageScaleDlg dialog(*xray, 3.9, 3.9);
    EXPECT_EQ(dialog.WidthField()->text(), "6");
    c.Fill(dialog);
    QString told;
    if (c.Told != nullptr)
      test::WhenModal("Lumacet", [&told](QWidget* modal) {
        told = static_cast<QMessageBox*>(modal)->text();
        static_cast<QMessageBox*>(modal)->accept();
      });
    QTest::mouseClick(c.Button(dialog), Qt::LeftButton);
    if (c.Told != nullptr) {
      EXPECT_EQ(told, c.Told);
      EXPECT_EQ(dialog.result(), QDialog::Rejected);
      EXPECT_EQ(xray->PixelWidth, 2);
    } else {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_EQ(xray->PixelWidth, 2.5);
      EXPECT_EQ(xray->PixelHeight, 3);
    }
  }
  TImageScaleDlg aspect(*xray, 3.9, 3.9);
  aspect.KeepAspectBox()->setChecked(true);
  Type(aspect.WidthField(), "15");
  emit aspect.WidthField()->editingFinished();
  EXPECT_EQ(aspect.HeightField()->text(), "10");
}

TEST_F(TImageGeometryDialogsTest, AlignTracingOffersTheTypesDrawingsAndRefusesOneThatCannotGuideIt) {
  test::AddDrawing(*type, "Just A", {"A"});
  const TMovementOptions movements;
  TAlignTracingDlg dialog(*xray, movements);
  ASSERT_EQ(dialog.RefineDrawing()->count(), 1);
  EXPECT_EQ(dialog.AdjustDrawing()->currentText(), "Just A");
  EXPECT_EQ(dialog.Interpolate()->value(), 3);
  EXPECT_EQ(dialog.Repeat()->maximum(), 10);
  Type(dialog.HotZone(), "0.4");
  emit dialog.HotZone()->editingFinished();
  EXPECT_EQ(dialog.HotZone()->text(), "5");
  QString told;
  test::WhenModal("Lumacet", [&told](QWidget* modal) {
    told = static_cast<QMessageBox*>(modal)->text();
    static_cast<QMessageBox*>(modal)->accept();
  });
  dialog.Refine();
  EXPECT_EQ(told, "Cannot refine. Drawing has less than two points.");
  EXPECT_EQ(xray->ImageOriginX, 0);
}

}  // namespace
}  // namespace lumacet
