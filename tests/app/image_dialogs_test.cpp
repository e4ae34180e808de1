#include "app/image_dialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>

#include <QAction>
#include <QCheckBox>
#include <QMainWindow>
#include <QStatusBar>
#include <filesystem>
#include <fstream>

#include "app/image_commands_ui.h"
#include "app/main_window.h"
#include "app/ui_test_support.h"
#include "model/kind_codes.h"
#include "model/raw_image_ops.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "shell/settings_options.h"

namespace lumacet {
namespace {

// A radiograph whose image is 4 x 2 pixels: grey 128, or 16-bit samples 0..7000 when wide.
void GiveImage(TRadiograph& radiograph, bool wide = false) {
  TRawImage raw;
  raw.Width = 4;
  raw.Height = 2;
  raw.SamplesPerPixel = 1;
  raw.BitsPerSample = wide ? 16 : 8;
  for (int i = 0; i < 8; ++i) {
    if (wide) {
      const int v = 1000 * i;
      raw.Samples.push_back(static_cast<std::uint8_t>(v & 0xFF));
      raw.Samples.push_back(static_cast<std::uint8_t>(v >> 8));
    } else {
      raw.Samples.push_back(128);
    }
  }
  radiograph.Image.SetImage(std::move(raw));
  radiograph.ChangeHistory.clear();
}

std::uint32_t Blue(const TRadiograph& radiograph, int pixel = 0) {
  return PixelBlue(radiograph.Image.Display.Pixels[static_cast<std::size_t>(pixel)]);
}

class ImageDialogsTest : public ::testing::Test {
 protected:
  ImageDialogsTest() {
    test::Application();
    GiveImage(xray);
  }
  TXRay xray;
};

TEST_F(ImageDialogsTest, JpegOptionsStartAtQualityNinetyInColourAndStayInRange) {
  TJpegOptionsDlg dialog;
  EXPECT_EQ(dialog.Options().Quality, 90);
  EXPECT_FALSE(dialog.Options().Grayscale);
  dialog.SetOptions({0, true});
  EXPECT_EQ(dialog.Options().Quality, 1);
  EXPECT_TRUE(dialog.Options().Grayscale);
  dialog.SetOptions({250, false});
  EXPECT_EQ(dialog.Options().Quality, 100);
}

TEST_F(ImageDialogsTest, LevelsInEightBitsApplyTheTableAndTheGammaBoxIsChecked) {
  int changes = 0;
  THistoAdjDlg dialog(xray, [&] { ++changes; });
  EXPECT_GT(changes, 0);  // opening applies
  dialog.SetMode(THistoAdjDlg::TMode::Current8Bit);
  EXPECT_EQ(dialog.Histogram()[128], 8u);
  dialog.EnterGamma("2");
  EXPECT_EQ(dialog.Gamma(), 2.0);
  EXPECT_EQ(Blue(xray), 64u);
  dialog.EnterGamma("two");  // unreadable: ignored
  EXPECT_EQ(dialog.Gamma(), 2.0);
  dialog.EnterGamma("50");
  EXPECT_EQ(dialog.Gamma(), 10.0);
  dialog.EnterGamma("1");
  dialog.SetBlackWhite(100, 150);
  EXPECT_EQ(Blue(xray), 143u);  // round(255 * 28 / 50)
  // Moving the grey arrow to the white end gives gamma 10, to the black end 0.1.
  dialog.SetGreyArrow(150);
  EXPECT_DOUBLE_EQ(dialog.Gamma(), 10);
  EXPECT_EQ(dialog.GreyArrow(), 150);
  dialog.SetGreyArrow(100);
  EXPECT_DOUBLE_EQ(dialog.Gamma(), 0.1);
  // Effects never accumulate and Cancel puts the image back.
  dialog.reject();
  EXPECT_EQ(Blue(xray), 128u);
  EXPECT_FALSE(xray.ImageModified);
  EXPECT_TRUE(xray.ChangeHistory.empty());
}

TEST_F(ImageDialogsTest, LevelsInOriginalModeRewindowTheRawSamplesAndOkCanBeUndone) {
  GiveImage(xray, /*wide=*/true);
  const TBitmap32 before = xray.Image.Display;
  THistoAdjDlg dialog(xray);
  EXPECT_EQ(dialog.Mode(), THistoAdjDlg::TMode::Original);
  dialog.SetRange(0, 51);                  // 0 .. 13107 of 65535
  EXPECT_EQ(dialog.Histogram()[0], 1u);    // sample 0
  EXPECT_EQ(dialog.Histogram()[136], 1u);  // sample 7000
  dialog.SetBlackWhite(0, 255);
  EXPECT_EQ(xray.Image.Raw.WindowLow, 0);
  EXPECT_EQ(xray.Image.Raw.WindowHigh, 13107);
  EXPECT_EQ(Blue(xray, 7), 136u);  // 7000 of 13107
  dialog.accept();
  EXPECT_TRUE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory, (std::vector<std::string>{"Image Levels Adjusted."}));
  xray.Image.SwapImageUndo();
  EXPECT_EQ(xray.Image.Display, before);
}

TEST_F(ImageDialogsTest, LevelsCancelRestoresTheRawWindow) {
  GiveImage(xray, /*wide=*/true);
  xray.Image.Raw.WindowLow = 100;
  xray.Image.Raw.WindowHigh = 5000;
  RenderToBitmap(xray.Image.Raw, xray.Image.Display);
  const TBitmap32 before = xray.Image.Display;
  THistoAdjDlg dialog(xray);
  dialog.SetBlackWhite(10, 20);
  dialog.reject();
  EXPECT_EQ(xray.Image.Raw.WindowLow, 100);
  EXPECT_EQ(xray.Image.Raw.WindowHigh, 5000);
  EXPECT_EQ(xray.Image.Display, before);
}

TEST_F(ImageDialogsTest, BrightnessContrastGammaPreviewsWithoutAccumulating) {
  TConBrightAdjDlg dialog(xray);
  TBrightnessContrastGamma values;
  values.Brightness = 50;
  dialog.SetValues(values);
  EXPECT_EQ(Blue(xray), 178u);
  dialog.SetValues(values);
  EXPECT_EQ(Blue(xray), 178u);
  values.UseBrightness = false;
  dialog.SetValues(values);
  EXPECT_EQ(Blue(xray), 128u);
  values.UseBrightness = true;
  dialog.SetValues(values);
  const TBitmap32 snapshot = [] {
    TXRay original;
    GiveImage(original);
    return original.Image.Display;
  }();
  dialog.accept();
  EXPECT_EQ(xray.ChangeHistory, (std::vector<std::string>{"Image Brightness/Contrast Changed."}));
  EXPECT_EQ(xray.Image.UndoImage, snapshot);
}

TEST_F(ImageDialogsTest, ColorizeListsTheTablesAlphabeticallyAndMapsLuminance) {
  test::TTempFolder folder;
  std::string table(768, '\0');
  for (int i = 0; i < 256; ++i) {
    table[static_cast<std::size_t>(i)] = static_cast<char>(i);              // red
    table[static_cast<std::size_t>(512 + i)] = static_cast<char>(255 - i);  // blue
  }
  std::ofstream(folder.File("warm.lut"), std::ios::binary) << table;
  std::ofstream(folder.File("Blue.LUT"), std::ios::binary) << std::string(768, '\x40');
  TColorizeDlg dialog(xray, {folder.Path().string()});
  ASSERT_TRUE(dialog.HasTables());
  ASSERT_EQ(dialog.Files().size(), 2u);
  EXPECT_EQ(std::filesystem::path(dialog.Files()[0]).filename(), "Blue.LUT");
  // The first table is applied on showing.
  EXPECT_EQ(xray.Image.Display.Pixels[0] & 0xFFFFFF, 0x404040u);
  dialog.Select(1);
  EXPECT_EQ(xray.Image.Display.Pixels[0] & 0xFFFFFF, PackPixel(127, 0, 128));
  dialog.reject();
  EXPECT_EQ(Blue(xray), 128u);

  test::TTempFolder empty;
  TColorizeDlg none(xray, {empty.Path().string()});
  EXPECT_FALSE(none.HasTables());
}

TEST_F(ImageDialogsTest, DicomPatientDataOffersOnlyWhatTheFileHolds) {
  TDicomInfo info;
  info.PatientId = "P123";
  info.Female = true;
  TUpdataDICMDlg dialog(xray, info, {});
  EXPECT_EQ(dialog.windowTitle(), "Updata from DICOM data");
  EXPECT_FALSE(dialog.Box(0)->isEnabled());
  EXPECT_TRUE(dialog.Box(1)->isEnabled());
  EXPECT_EQ(dialog.Box(1)->text(), "Update to: P123");
  EXPECT_EQ(dialog.Box(3)->text(), "Update to: ");
  EXPECT_FALSE(dialog.Box(3)->isEnabled());
}

// The image menu on a window with one radiograph of the example type.
class ImageCommandsTest : public ::testing::Test {
 protected:
  ImageCommandsTest() {
    TWorkspaceOptions options;
    options.Folders.TypeFolder = example.Folder.Path().string();
    workspace = std::make_unique<TWorkspace>(options);
    test::TNoPrompts prompts;
    EXPECT_GE(workspace->NewXRayBasic("Lateral Ceph", false, prompts), 0);
    commands = new TImageCommands(window, *workspace, example.Settings, [this] { ++changes; });
    commands->AddMenus(*window.menuBar());
  }
  TRadiograph& Current() { return *workspace->Current(); }

  test::TExampleFolder example;
  QMainWindow window;
  std::unique_ptr<TWorkspace> workspace;
  TImageCommands* commands = nullptr;
  int changes = 0;
};

TEST_F(ImageCommandsTest, CommandsChangeTheImageRecordTheirHistoryAndResetReturnsIt) {
  EXPECT_FALSE(commands->Command("image.equalize")->isEnabled());
  EXPECT_FALSE(commands->Command("image.save")->isEnabled());
  ASSERT_TRUE(commands->LoadImageFile(example.Folder.File("emma_lindqvist_2018.jpg")));
  TRadiograph& xray = Current();
  ASSERT_TRUE(xray.Image.HasImage());
  EXPECT_EQ(xray.Image.Display.Width, 800);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Loaded.");
  EXPECT_TRUE(commands->Command("image.equalize")->isEnabled());
  EXPECT_FALSE(commands->Command("image.undo")->isEnabled());
  const TBitmap32 loaded = xray.Image.Display;

  commands->Command("image.negative")->trigger();
  EXPECT_GT(changes, 0);
  EXPECT_NE(xray.Image.Display, loaded);
  EXPECT_EQ(PixelBlue(xray.Image.Display.Pixels[0]), 255 - PixelBlue(loaded.Pixels[0]));
  EXPECT_TRUE(xray.ImageModified);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Inverted.");

  // Undo shows "&Undo Image", then "&Redo Image".
  QAction* undo = commands->Command("image.undo");
  ASSERT_NE(undo, nullptr);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "&Undo Image");
  undo->trigger();
  EXPECT_EQ(xray.Image.Display, loaded);
  EXPECT_EQ(undo->text(), "&Redo Image");
  undo->trigger();
  EXPECT_NE(xray.Image.Display, loaded);

  commands->Command("image.auto_levels")->trigger();
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Levels Adjusted.");
  // The tool button repeats the last enhancement.
  QAction* repeat = nullptr;
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text() == "Auto &Levels" && action != commands->Command("image.auto_levels")) repeat = action;
  ASSERT_NE(repeat, nullptr);
  EXPECT_TRUE(repeat->isEnabled());
  const std::size_t entries = xray.ChangeHistory.size();
  repeat->trigger();
  EXPECT_EQ(xray.ChangeHistory.size(), entries + 1);
  commands->Command("image.reset")->trigger();
  EXPECT_EQ(xray.Image.Display, loaded);
}

TEST_F(ImageCommandsTest, QuarterTurnsFlipsAndTheLockThroughTheMenu) {
  EXPECT_FALSE(commands->Command("image.rotate_right")->isEnabled());
  ASSERT_TRUE(commands->LoadImageFile(example.Folder.File("emma_lindqvist_2018.jpg")));
  TRadiograph& xray = Current();
  const TBitmap32 loaded = xray.Image.Display;
  ASSERT_TRUE(commands->Command("image.rotate_right")->isEnabled());
  commands->Command("image.rotate_right")->trigger();
  EXPECT_EQ(xray.Image.Display.Width, loaded.Height);
  EXPECT_EQ(xray.Image.Raw.Width, loaded.Height);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Rotated 90 degrees.");
  commands->Command("image.undo")->trigger();
  EXPECT_EQ(xray.Image.Display, loaded);
  commands->Command("image.flip_horizontal")->trigger();
  EXPECT_EQ(xray.Image.Display.Pixels[0], loaded.Pixels[static_cast<std::size_t>(loaded.Width - 1)]);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Flipped.");
  // Reset renders the samples, which were flipped with the picture.
  commands->Command("image.reset")->trigger();
  EXPECT_EQ(xray.Image.Display.Pixels[0], loaded.Pixels[static_cast<std::size_t>(loaded.Width - 1)]);

  QAction* locked = commands->Command("image.tracing_locked");
  EXPECT_FALSE(locked->isChecked());
  locked->trigger();
  EXPECT_TRUE(example.Settings.General.LockTracing);
  EXPECT_TRUE(workspace->Movements.TracingLocked);
}

TEST_F(ImageCommandsTest, AlignTracingTakesTwoMarksWhileItsDialogIsOpen) {
  ASSERT_TRUE(commands->LoadImageFile(example.Folder.File("emma_lindqvist_2018.jpg")));
  TRadiograph& xray = Current();
  {
    const TLoadedRadiograph loaded = xray.Load();
    for (auto [name, x] : {std::pair{"S", 200.0}, std::pair{"N", 800.0}})
      static_cast<TXRPoint*>(loaded.Type()->FindElement(name, ekDigPoint))->SetXY(x, 300);
    xray.StoreCoordinates();
  }
  EXPECT_FALSE(commands->AlignClick({0, 0}));
  commands->Command("image.align")->trigger();
  EXPECT_TRUE(xray.Aligning);
  EXPECT_FALSE(commands->Command("image.align")->isEnabled());
  auto* dialog = window.findChild<QDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Align Tracing");
  auto lists = dialog->findChildren<QComboBox*>();
  ASSERT_GE(lists.size(), 2);
  lists[0]->setCurrentText("S");
  lists[1]->setCurrentText("N");
  const double origin = xray.ImageOriginX;
  EXPECT_TRUE(commands->AlignClick({100, 100}));
  ASSERT_EQ(commands->AlignMarks().size(), 1u);  // drawn as a red cross until the second
  EXPECT_FALSE(lists[0]->isEnabled());
  EXPECT_TRUE(lists[1]->isEnabled());
  EXPECT_TRUE(commands->AlignClick({700, 120}));
  EXPECT_TRUE(commands->AlignMarks().empty());
  EXPECT_NE(xray.ImageOriginX, origin);
  EXPECT_EQ(xray.ChangeHistory.back(), "Image Repositioned.");
  EXPECT_TRUE(lists[0]->isEnabled());
  dialog->reject();
  QCoreApplication::processEvents();
  EXPECT_FALSE(xray.Aligning);
  EXPECT_FALSE(commands->AlignClick({0, 0}));
}

TEST_F(ImageCommandsTest, TheVisibleCommandHidesTheImageAndDisablesTheEnhancements) {
  ASSERT_TRUE(commands->LoadImageFile(example.Folder.File("emma_lindqvist_2022.jpg")));
  QAction* visible = commands->Command("image.visible");
  EXPECT_TRUE(visible->isChecked());
  visible->trigger();
  EXPECT_FALSE(Current().Image.ImageVisible);
  EXPECT_FALSE(visible->isChecked());
  EXPECT_FALSE(commands->Command("image.adaptive_equalize")->isEnabled());
}

TEST_F(ImageCommandsTest, TheSettingsGiveTheImageFolderAndDefaultPixelSize) {
  example.Settings.General.BmpScaleX = 2;
  example.Settings.General.BmpScaleY = 3;
  const TImageLoadSettings images = ImageLoadSettings(example.Settings);
  EXPECT_EQ(images.DefaultFolder, example.Folder.Path().string());
  EXPECT_EQ(images.DefaultPixelWidth, 2);
  EXPECT_EQ(images.DefaultPixelHeight, 3);
  EXPECT_FALSE(commands->Command("image.save")->isEnabled());
}

TEST(ImageWindowTest, OpeningAPatientWithImagesShowsThemUnderTheTracings) {
  test::TExampleWindow example(900, 640);
  TMainWindow& window = example.Window;
  ASSERT_EQ(window.OpenPatient("Emma Lindqvist"), 3);
  int withImage = 0;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (const TRadiograph* object = window.Workspace().Slot(slot); object != nullptr && object->Image.HasImage())
      ++withImage;
  EXPECT_EQ(withImage, 2);  // the postero-anterior one has no image
  TRadiograph& current = *window.Workspace().Current();
  // The image's greys fill much of the drawing area; without it the area is white and sparse.
  auto greys = [&] {
    const QImage picture = window.grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); y += 4)
      for (int x = picture.width() / 4; x < picture.width(); x += 4) {
        const QRgb pixel = picture.pixel(x, y);
        if (qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && qGray(pixel) < 200) ++count;
      }
    return count;
  };
  const int shown = greys();
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (TRadiograph* object = window.Workspace().Slot(slot)) object->Image.ImageVisible = false;
  window.Refresh();
  const int hidden = greys();
  EXPECT_GT(shown, 5 * hidden + 1000) << shown << " " << hidden;
  EXPECT_FALSE(current.Modified || current.ImageModified);
}

TEST_F(ImageCommandsTest, SavingTheImageUnderANewNameRelinksTheTracingAndSaysSo) {
  ASSERT_TRUE(commands->LoadImageFile(example.Folder.File("emma_lindqvist_2018.jpg")));
  TRadiograph& xray = Current();
  xray.Modified = false;
  const std::string copy = example.Folder.File("emma copy.bmp");
  test::WhenModal("Save Image", [&copy](QWidget* modal) { test::ChooseFile(modal, copy); });
  commands->Command("image.save")->trigger();
  EXPECT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(xray.ImageFile, copy);
  EXPECT_TRUE(xray.Modified);
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Image saved to emma copy.bmp; the tracing now links"));
}

}  // namespace
}  // namespace lumacet
