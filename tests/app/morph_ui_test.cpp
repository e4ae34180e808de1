// Image morphing through the main window: the commands and their drop-down, the "Morphing"
// window with its Cancel, the save prompt before an image is replaced, the options page, and
// the interactive window as the offscreen platform draws it (without OpenGL).
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "app/morph_window.h"
#include "app/options_dialog.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::Child;

// Emma's 2018 radiograph (with its image) as the morph source in slot 0, and a copy of it,
// without image, current.
struct MorphUiTest : ::testing::Test {
  MorphUiTest() {
    example.Settings.Radiograph.AutoOrientate = false;
    window = std::make_unique<TMainWindow>(example.Settings, example.Folder.File("lumacet.ini"));
    window->resize(1100, 800);
    window->show();
    EXPECT_EQ(window->OpenPatient("Emma Lindqvist"), 3);
    TWorkspace& workspace = window->Workspace();
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (TRadiograph* r = workspace.Slot(slot); r != nullptr && r->ImageFile.ends_with("emma_lindqvist_2018.jpg"))
        source = r;
    if (source == nullptr) return;
    workspace.MoveToPosition(workspace.XRayPosition(source), 0);
    workspace.SetCurrent(source);
    EXPECT_TRUE(source->Image.HasImage());
    EXPECT_GE(workspace.Duplicate(), 0);
    copy = workspace.Current();
    window->Refresh();
  }
  void SetUp() override { ASSERT_NE(source, nullptr) << "Emma's 2018 radiograph did not open"; }

  // Every drawing of the type steers the morph.
  void MorphOnEveryDrawing() {
    for (const auto& e : source->Type()->ElementList(ekGraphic)) static_cast<TXRGraphic*>(e.get())->UseForMorphing = true;
  }
  // The copy's whole tracing shifted by (dx, dy).
  void ShiftCopy(double dx, double dy) {
    for (auto& point : static_cast<TXRay*>(copy)->Coordinates)
      if (point->IsValid()) point->SetXY(point->RawX() + dx, point->RawY() + dy);
  }
  QString Run(const char* id) {
    QString shown;
    test::WhenModal("Lumacet", [&shown](QWidget* box) {
      shown = static_cast<QMessageBox*>(box)->text();
      box->close();
    });
    window->Command(id)->trigger();
    return shown;
  }

  test::TExampleFolder example;
  std::unique_ptr<TMainWindow> window;
  TRadiograph* source = nullptr;
  TRadiograph* copy = nullptr;
};

TEST_F(MorphUiTest, AnUnchangedCopyGetsTheSourceImageInItsFrameAndARecordedChange) {
  for (const char* function : {"tracing.warp_linear", "tracing.warp_triangles"}) {
    SCOPED_TRACE(function);
    window->Command(function)->trigger();
    copy->Image.CloseImage();
    EXPECT_EQ(Run("tracing.morph"), "");
    ASSERT_TRUE(copy->Image.HasImage());
    EXPECT_EQ(copy->Image.Display, source->Image.Display);
    EXPECT_DOUBLE_EQ(copy->PixelWidth, source->PixelWidth);
    EXPECT_DOUBLE_EQ(copy->ImageOriginX, source->ImageOriginX);
    EXPECT_TRUE(copy->ImageFile.empty());
    EXPECT_EQ(copy->ChangeHistory.back().find("Image Morph."), copy->ChangeHistory.back().size() - 12);
  }
}

TEST_F(MorphUiTest, APairThatIsNotReadyIsToldAndNothingChanges) {
  window->Workspace().SetAsMorphSource();  // the copy itself
  window->Refresh();
  EXPECT_EQ(Run("tracing.morph"), "Cannot perform morphing:\nCurrent is Morph Source.");
  EXPECT_FALSE(copy->Image.HasImage());
}

TEST_F(MorphUiTest, AnImageNotSavedIsOfferedForSavingAndCancelKeepsIt) {
  copy->Image.Display = source->Image.Display;
  copy->Image.Display.Pixels[0] ^= 0xFFFFFF;
  copy->ImageModified = true;
  const TBitmap32 before = copy->Image.Display;
  bool asked = false;
  test::WhenModal("Save", [&asked](QWidget* box) {
    asked = static_cast<QMessageBox*>(box)->text().contains("will be lost");
    static_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
  });
  window->Command("tracing.morph")->trigger();
  EXPECT_TRUE(asked);
  EXPECT_EQ(copy->Image.Display, before);
}

TEST_F(MorphUiTest, CancelStopsBetweenRowsLeavingTheRestAsTheCopiedSource) {
  MorphOnEveryDrawing();
  ShiftCopy(40, 25);
  window->Command("tracing.morph_high")->trigger();
  window->Command("tracing.warp_exponential")->trigger();
  QString details;
  bool progressShown = false;
  test::WhenModal("Morphing", [&](QWidget* dialog) {
    details = Child<QLabel>(dialog, "morphDetails")->text();
    progressShown = window->findChild<QWidget*>("morphProgress") != nullptr;
    test::ClickButton(dialog, "Cancel");
  });
  window->Command("tracing.morph")->trigger();
  EXPECT_EQ(details, "Warping function: Exponential\nQuality: High");
  EXPECT_TRUE(progressShown);
  EXPECT_EQ(window->findChild<QWidget*>("morphProgress"), nullptr);
  ASSERT_TRUE(copy->Image.HasImage());
  const TBitmap32& morphed = copy->Image.Display;
  const TBitmap32& original = source->Image.Display;
  ASSERT_EQ(morphed.Height, original.Height);
  // The first rows are warped, the last still the copy.
  EXPECT_NE(std::vector<uint32_t>(morphed.Row(0), morphed.Row(0) + morphed.Width * 4),
            std::vector<uint32_t>(original.Row(0), original.Row(0) + original.Width * 4));
  const int last = morphed.Height - 1;
  EXPECT_EQ(std::vector<uint32_t>(morphed.Row(last), morphed.Row(last) + morphed.Width),
            std::vector<uint32_t>(original.Row(last), original.Row(last) + original.Width));
  EXPECT_EQ(copy->ChangeHistory.back().find("Image Morph."), copy->ChangeHistory.back().size() - 12);
}

TEST_F(MorphUiTest, TheDropDownListsFunctionsQualityAndOptionsAndKeepsTheSettings) {
  auto* button = Child<QToolButton>(window.get(), "morphButton");
  ASSERT_NE(button->menu(), nullptr);
  QStringList entries;
  for (QAction* action : button->menu()->actions()) entries << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(entries, QStringList({"Linear", "S-curve", "Exponential", "Triangle interpolation", "-", "Morph &Quality",
                                  "Morph &Options..."}));
  window->Command("tracing.morph_low")->trigger();
  EXPECT_EQ(window->Settings().General.MorphQuality, 0);
  window->Command("tracing.warp_triangles")->trigger();
  EXPECT_EQ(window->Settings().General.WarpFunction, 3);
  for (const char* id : {"tracing.morph_low", "tracing.morph_medium", "tracing.morph_high"})
    EXPECT_FALSE(window->Command(id)->isEnabled()) << id;
  window->Command("tracing.warp_s_curve")->trigger();
  EXPECT_TRUE(window->Command("tracing.morph_medium")->isEnabled());
  EXPECT_TRUE(window->Command("tracing.morph_low")->isChecked());

  QString page;
  test::WhenModal("Options", [&page](QWidget* dialog) {
    auto* pages = dialog->findChild<QTabWidget*>();
    page = pages->tabText(pages->currentIndex());
    static_cast<QDialog*>(dialog)->reject();
  });
  window->Command("tracing.morph_options")->trigger();
  EXPECT_EQ(page, "&Morph");
}

TEST_F(MorphUiTest, TheInteractiveWindowShowsTheReasonOrTheMeshAndClosingClearsTheCheck) {
  window->Command("tracing.interactive_morph")->trigger();
  auto* morph = window->findChild<TMorphInteractive*>();
  ASSERT_NE(morph, nullptr);
  EXPECT_TRUE(morph->isVisible());
  EXPECT_EQ(morph->Status(), "Ready.");
  EXPECT_TRUE(morph->Display()->isVisible());
  // The image's corner lies at (300, 300) on the tracing: 100 pixels in at the starting zoom.
  const QImage picture = morph->Picture();
  EXPECT_EQ(picture.pixel(60, 60), qRgb(255, 255, 255));
  EXPECT_NE(picture.pixel(150, 150), qRgb(255, 255, 255));

  window->Workspace().SetAsMorphSource();
  window->Refresh();
  EXPECT_EQ(morph->Status(), "Cannot morph: Current is Morph Source.");
  EXPECT_FALSE(morph->Display()->isVisible());
  EXPECT_FALSE(morph->findChild<QAction*>("morphOn")->isEnabled());

  morph->close();
  EXPECT_FALSE(window->Command("tracing.interactive_morph")->isChecked());
}

TEST(MorphOptionsPageTest, SlidersShowTheFunctionsParametersAndStoreTheirScaledValues) {
  test::TExampleFolder example;
  TSettings settings = example.Settings;
  test::TRecordingPrompts prompts;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {"Lateral Ceph"}, {});
  dialog.ShowPage("&Morph");
  dialog.show();
  auto* function = Child<QComboBox>(&dialog, "warpFunction");
  auto slider = [&](const char* name) { return Child<QSlider>(&dialog, name); };
  EXPECT_EQ(slider("morphExponent")->value(), 80);
  EXPECT_EQ(slider("morphSmoothness")->value(), 40);

  struct TCase {
    int function;
    std::vector<const char*> shown;
  };
  const TCase cases[] = {{0, {"morphLimit"}},
                         {1, {"morphFallOff"}},
                         {2, {"morphExponent", "morphSmoothness"}},
                         {3, {}}};
  for (const TCase& c : cases) {
    function->setCurrentIndex(c.function);
    for (const char* name : {"morphLimit", "morphFallOff", "morphExponent", "morphSmoothness"}) {
      const bool expected = std::find_if(c.shown.begin(), c.shown.end(), [name](const char* s) {
                              return std::string_view(s) == name;
                            }) != c.shown.end();
      EXPECT_EQ(slider(name)->isVisible(), expected) << c.function << " " << name;
    }
    EXPECT_TRUE(slider("morphBlockSize")->isVisible());
  }

  // The linear weight runs from the preview's corner (5, 5) down to (limit + 5, 105).
  function->setCurrentIndex(0);
  slider("morphLimit")->setValue(50);
  const QImage preview = Child<QWidget>(&dialog, "morphPreview")->grab().toImage();
  EXPECT_NE(preview.pixel(30, 55), qRgb(255, 255, 255));
  EXPECT_EQ(preview.pixel(70, 55), qRgb(255, 255, 255));

  function->setCurrentIndex(2);
  slider("morphExponent")->setValue(125);
  slider("morphSmoothness")->setValue(37);
  slider("morphBlockSize")->setValue(7);
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(settings.General.WarpFunction, 2);
  EXPECT_EQ(settings.General.MorphParam1, 50);
  EXPECT_DOUBLE_EQ(settings.General.MorphParam3, 12.5);
  EXPECT_EQ(settings.General.MorphParam4, 370);
  EXPECT_EQ(settings.General.MorphBlockSize, 7);
  // Loaded again, the stored values show as they were set.
  slider("morphExponent")->setValue(1);
  dialog.Load();
  EXPECT_EQ(slider("morphExponent")->value(), 125);
  EXPECT_EQ(slider("morphSmoothness")->value(), 37);
}

}  // namespace
}  // namespace lumacet
