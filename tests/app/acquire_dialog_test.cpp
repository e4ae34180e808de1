#include "app/acquire_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <functional>

#include "app/ui_test_support.h"
#include "model/xray.h"
#include "platform/sane_test_config.h"
#include "shell/settings.h"

namespace lumacet {
namespace {

using test::TSaneTestConfig;

// Runs `step` once the event loop is running, polling until it says it is done, so the
// test can act inside modal windows.
void WhenRunning(std::function<bool()> step) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
    if (step()) timer->deleteLater();
  });
  timer->start(10);
}

// A mouse drag with a device of the test's own: Qt's default device would outlive the
// application and fail when the program exits.
void Drag(QWidget* widget, QPointF from, QPointF to) {
  const QPointingDevice mouse(QStringLiteral("test mouse"), 1, QInputDevice::DeviceType::Mouse,
                              QPointingDevice::PointerType::Generic, QInputDevice::Capability::Position, 1, 3);
  QMouseEvent press(QEvent::MouseButtonPress, from, from, widget->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier, &mouse);
  QApplication::sendEvent(widget, &press);
  QMouseEvent move(QEvent::MouseMove, to, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier,
                   &mouse);
  QApplication::sendEvent(widget, &move);
}

class AcquireDialogTest : public ::testing::Test {
 protected:
  AcquireDialogTest() { test::Application(); }
};

TEST_F(AcquireDialogTest, ScansTheChosenDeviceAtTheChosenSettings) {
  TSaneTestConfig config;
  TAcquireDialog dialog(1, TNoiseReduction::Average);
  auto* devices = dialog.findChild<QComboBox*>("devices");
  ASSERT_EQ(devices->count(), 2);
  EXPECT_EQ(devices->itemData(1).toString(), "test:1");
  devices->setCurrentIndex(1);
  dialog.findChild<QSpinBox*>("resolution")->setValue(25);
  dialog.findChild<QComboBox*>("depth")->setCurrentIndex(1);
  dialog.Scan();
  EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.Status().toStdString();
  // The whole bed, 200 mm square.
  EXPECT_EQ(dialog.Result().Raw.Width, 196);
  EXPECT_EQ(dialog.Result().Raw.Height, 196);
  EXPECT_EQ(dialog.Result().Raw.BitsPerSample, 16);
  EXPECT_EQ(dialog.Result().XResolution, 25);
  EXPECT_FALSE(dialog.Area());
}

TEST_F(AcquireDialogTest, AnAreaDrawnOnThePreviewIsScanned) {
  TSaneTestConfig config({"test-picture Grid"});
  TAcquireDialog dialog(1, TNoiseReduction::Average);
  auto* preview = dialog.findChild<QWidget*>("preview");
  preview->resize(400, 400);
  dialog.Preview();
  ASSERT_TRUE(dialog.Status().contains("Drag")) << dialog.Status().toStdString();
  // The left half of the bed, its top quarter.
  Drag(preview, QPointF(0, 0), QPointF(200, 100));
  dialog.findChild<QSpinBox*>("resolution")->setValue(127);
  dialog.Scan();
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << dialog.Status().toStdString();
  ASSERT_TRUE(dialog.Area());
  EXPECT_EQ(*dialog.Area(), (TScanArea{0, 0, 100, 50}));
  EXPECT_EQ(dialog.Result().Raw.Width, 500);
  EXPECT_EQ(dialog.Result().Raw.Height, 250);
}

TEST_F(AcquireDialogTest, CancelInTheProgressWindowStopsTheScan) {
  TSaneTestConfig config({"read-delay true", "read-delay-duration 20000", "read-limit true", "read-limit-size 64"});
  TAcquireDialog dialog(1, TNoiseReduction::Average);
  bool cancelled = false;
  WhenRunning([&] {
    auto* progress = dialog.findChild<QProgressDialog*>();
    if (progress == nullptr || !progress->isVisible()) return false;
    progress->findChild<QPushButton*>()->click();
    cancelled = true;
    return true;
  });
  dialog.Scan();
  EXPECT_TRUE(cancelled);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Status(), "Scan cancelled.");
  EXPECT_FALSE(dialog.Result().Raw.HasData());
}

TEST_F(AcquireDialogTest, ProblemsAreShownInThePanel) {
  {
    TSaneTestConfig config({}, "");
    TAcquireDialog dialog(1, TNoiseReduction::Average);
    EXPECT_EQ(dialog.Status(), "No scanner was found.");
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == "&Scan" || button->text() == "&Preview") {
        EXPECT_FALSE(button->isEnabled());
      }
    }
  }
  // SANE is the process's: while another session holds it, the dialog says so.
  TSaneTestConfig config;
  TSaneSession other;
  TAcquireDialog dialog(1, TNoiseReduction::CentralAverage);
  EXPECT_EQ(dialog.Status(), "The scanner library is already in use.");
  // The central average needs three scans.
  EXPECT_EQ(dialog.Passes(), 3);
}

TEST_F(AcquireDialogTest, AcquireMakesTheScanTheRadiographsImage) {
  TSaneTestConfig config;
  TSettings settings;
  settings.General.Multiscan = 2;
  settings.General.NoiseReduction = 1;
  TXRay xray;
  xray.ChangeHistory.clear();
  WhenRunning([] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<TAcquireDialog*>(window); dialog != nullptr && dialog->isVisible()) {
        dialog->findChild<QSpinBox*>("resolution")->setValue(25);
        dialog->findChild<QComboBox*>("mode")->setCurrentIndex(1);
        dialog->findChild<QSpinBox*>("passes")->setValue(3);
        dialog->Scan();
        return true;
      }
    return false;
  });
  ASSERT_TRUE(AcquireImage(nullptr, xray, settings, TUserLevels()));
  EXPECT_TRUE(xray.Image.HasImage());
  EXPECT_EQ(xray.Image.Raw.SamplesPerPixel, 3);
  EXPECT_EQ(xray.Image.Raw.Width, 196);  // 200 mm at 25 dpi
  EXPECT_DOUBLE_EQ(xray.PixelWidth, 10.16);
  EXPECT_DOUBLE_EQ(xray.PixelHeight, 10.16);
  EXPECT_TRUE(xray.ImageFile.empty());
  EXPECT_TRUE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Scanned.");
  EXPECT_EQ(settings.General.Multiscan, 3);
  EXPECT_EQ(settings.General.NoiseReduction, 1);
}

}  // namespace
}  // namespace lumacet
