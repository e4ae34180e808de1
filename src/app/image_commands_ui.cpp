#include "app/image_commands_ui.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>

#include "app/image_dialogs.h"
#include "app/image_geometry_dialogs.h"
#include "app/qt_prompts.h"
#include "imaging/image_file.h"
#include "model/radiograph.h"
#include "shell/settings_options.h"
#include "simulation/image_geometry.h"

namespace lumacet {

namespace {

void Tell(QWidget* parent, const TText& text) {
  QMessageBox::warning(parent, QStringLiteral("Lumacet"), DisplayText(text));
}

// The busy cursor for as long as it lives.
class TBusy {
 public:
  TBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusy() { QApplication::restoreOverrideCursor(); }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;
};

// Translated when asked for: the language is installed after static initialisation.
QStringList SaveFilters() {
  return {QObject::tr("All (*.jpg *.jpeg *.bmp)"), QObject::tr("JPEG Image File (*.jpg)"),
          QObject::tr("JPEG Image File (*.jpeg)"), QObject::tr("Bitmaps (*.bmp)")};
}

}  // namespace

QString ImageOpenFilter() {
  return QObject::tr(
      "All (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.viff *.dcm);;JPEG Image files (*.jpg *.jpeg);;Bitmap files (*.bmp);;"
      "TIFF files (*.tif *.tiff);;PNG files (*.png);;Khoros VIFF files (*.viff);;DICOM files (*.dcm);;All files (*)");
}

bool SaveImageInteractively(QWidget* parent, TRadiograph& object, const std::string& folder,
                            const TUserLevels& levels) {
  if (!object.Image.HasImage()) return false;
  if (!levels.Permit("SaveImage")) {
    Tell(parent, levels.DeniedMessage());
    return false;
  }
  QFileDialog dialog(parent, QObject::tr("Save Image"), Utf8(folder));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("jpg"));
  const QStringList filters = SaveFilters();
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters[1]);
  if (!object.ImageFile.empty()) dialog.selectFile(Utf8(std::filesystem::path(object.ImageFile).filename().string()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const std::string path = dialog.selectedFiles().front().toStdString();

  TJpegOptions jpeg;
  if (UpperExtension(path) != ".BMP") {
    TJpegOptionsDlg options(parent);
    // Cancel keeps the encoder's defaults: the image is saved all the same.
    if (options.exec() == QDialog::Accepted) jpeg = options.Options();
  }
  const std::string before = object.ImageFile;
  TBusy busy;
  TResultOf<std::string> saved = DoImageSave(object, object.Image, path, jpeg);
  if (!saved) {
    Tell(parent, saved.Text());
    return false;
  }
  const QString file = Utf8(std::filesystem::path(*saved).filename().string());
  ShowOnStatusBar(parent, *saved == before ? QObject::tr("Image saved to %1").arg(file)
                                           : QObject::tr("Image saved to %1; the tracing now links to it: save the "
                                                         "tracing to keep the link.").arg(file));
  return true;
}

bool OfferImageSave(QWidget* parent, TRadiograph& object, const std::string& folder, const TUserLevels& levels) {
  if (!object.ImageModified) return true;
  const std::string line =
      object.ImageFile.empty() ? "The image has not been saved\r\nand will be lost!" : "The image has changed.";
  QMessageBox box(QMessageBox::Warning, QObject::tr("Save"), DisplayText(line), QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QObject::tr("Save &Image"), QMessageBox::AcceptRole);
  QPushButton* dontSave = box.addButton(QObject::tr("&Don't Save"), QMessageBox::DestructiveRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(save);
  box.exec();
  if (box.clickedButton() == dontSave) return true;
  if (box.clickedButton() == save) return SaveImageInteractively(parent, object, folder, levels);
  return false;
}

TImageCommands::TImageCommands(QMainWindow& window, TWorkspace& workspace, TSettings& settings,
                               std::function<void()> changed)
    : QObject(&window), fWindow(window), fWorkspace(workspace), fSettings(settings), fChanged(std::move(changed)) {}

QAction* TImageCommands::Add(QWidget& container, std::string_view id, void (TImageCommands::*handler)()) {
  return fCommands.Add(container, id, this, handler);
}

QAction* TImageCommands::Command(std::string_view id) const { return fCommands.Find(id); }

void TImageCommands::AddMenus(QMenuBar& bar) {
  QMenu& menu = *fCommands.AddMenu(bar, "image");
  Add(menu, "image.open", &TImageCommands::ActionImageOpenExecute);
  Add(menu, "image.save", &TImageCommands::ActionImageSaveExecute);
  Add(menu, "image.close", &TImageCommands::ActionImageCloseExecute);
  menu.addSeparator();
  fUndo = Add(menu, "image.undo", &TImageCommands::ActionImageUndoExecute);
  // Ctrl+Z undoes the tracing's movements; the image keeps a key of its own beside it.
  fUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
  Add(menu, "image.reset", &TImageCommands::ActionImageResetExecute);
  Add(menu, "image.visible", &TImageCommands::ActionImageVisibleExecute)->setCheckable(true);
  Add(menu, "image.copy", &TImageCommands::ActionImageCopyExecute);
  menu.addSeparator();
  Add(menu, "image.acquire");
  Add(menu, "image.select_source");
  menu.addSeparator();
  QMenu& adjust = *menu.addMenu(tr("Image Adjust"));
  const std::pair<const char*, TImageAdjustment> direct[] = {
      {"image.equalize", TImageAdjustment::Equalize},
      {"image.adaptive_equalize", TImageAdjustment::AdaptiveEqualize},
      {"image.auto_levels", TImageAdjustment::AutoLevels},
      {"image.adaptive_auto_levels", TImageAdjustment::AdaptiveAutoLevels},
      {"image.negative", TImageAdjustment::Negative}};
  for (const auto& entry : direct) {
    // A structured binding cannot be captured by clang 14, which the fuzz build uses.
    const TImageAdjustment adjustment = entry.second;
    QAction* action = Add(adjust, entry.first);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, adjustment, action] {
      fLastAdjustment = adjustment;
      fRepeat->setText(action->text());
      Adjust(adjustment);
    });
  }
  adjust.addSeparator();
  Add(adjust, "image.levels", &TImageCommands::ActionImageLevelsExecute);
  Add(adjust, "image.brightness_contrast", &TImageCommands::ActionImageBrightExecute);
  Add(adjust, "image.colorize", &TImageCommands::ActionImageColorizeExecute);

  QMenu& geometry = *menu.addMenu(tr("Image &Geometry"));
  Add(geometry, "image.position", &TImageCommands::ActionImagePositionExecute);
  Add(geometry, "image.rotate_arbitrary", &TImageCommands::ActionImageRotateExecute);
  geometry.addSeparator();
  const std::pair<const char*, int> turns[] = {{"image.rotate_left", -90}, {"image.rotate_right", 90}, {"image.rotate_half", 180}};
  for (const auto& [id, degrees] : turns) {
    QAction* action = Add(geometry, id);
    connect(action, &QAction::triggered, this, [this, turn = degrees] {
      if (TRadiograph* current = Current()) static_cast<void>(TurnImagePixels(*current, turn));
      Changed();
    });
  }
  for (const bool horizontal : {true, false}) {
    QAction* action = Add(geometry, horizontal ? "image.flip_horizontal" : "image.flip_vertical");
    action->setStatusTip(horizontal ? tr("Flip the image horizontally.") : tr("Flip the image vertically."));
    connect(action, &QAction::triggered, this, [this, horizontal] {
      if (TRadiograph* current = Current()) static_cast<void>(FlipImage(*current, horizontal));
      Changed();
    });
  }
  geometry.addSeparator();
  Add(geometry, "image.resize", &TImageCommands::ActionImageResizeExecute);
  Add(geometry, "image.align", &TImageCommands::ActionImageAlignExecute)
      ->setStatusTip(tr("Align the tracing to an image."));
  QAction* locked = Add(geometry, "image.tracing_locked");
  locked->setCheckable(true);
  locked->setEnabled(true);
  locked->setChecked(fSettings.General.LockTracing);
  locked->setStatusTip(tr("Lock tracing to the image so that they move together."));
  connect(locked, &QAction::toggled, this, [this](bool on) {
    fSettings.General.LockTracing = on;
    fWorkspace.Movements.TracingLocked = on;
    Changed();  // the Image Translate tool shows the lock
  });

  // The image-adjust button repeats the last direct enhancement; blending of the current
  // image over the others.
  QToolBar* blending = fWindow.addToolBar(tr("Image Blending"));
  blending->setObjectName(QStringLiteral("Image Blending"));  // its settings key, never translated
  fRepeat = Add(*blending, "image.adjust_again");
  connect(fRepeat, &QAction::triggered, this, [this] {
    if (fLastAdjustment) Adjust(*fLastAdjustment);
  });
  auto slider = [&](const char* hint, double TImageBlendOptions::*field) {
    auto* control = new QSlider(Qt::Horizontal);
    control->setRange(0, 100);
    control->setMaximumWidth(100);
    control->setToolTip(tr(hint).arg(0));
    connect(control, &QSlider::valueChanged, this, [this, control, hint, field](int value) {
      fBlend.*field = value / 100.0;
      control->setToolTip(tr(hint).arg(value));
      Changed();
    });
    blending->addWidget(control);
  };
  slider(QT_TR_NOOP("Transparency: %1%"), &TImageBlendOptions::Transparency);
  slider(QT_TR_NOOP("Black Transparency: %1%"), &TImageBlendOptions::BlackTransparency);
  QAction* difference = Add(*blending, "image.blend_difference");
  difference->setEnabled(true);
  difference->setCheckable(true);
  connect(difference, &QAction::toggled, this, [this](bool on) {
    fBlend.Mode = on ? TBlendMode::Difference : TBlendMode::Normal;
    Changed();
  });
  UpdateCommands();
}

void TImageCommands::UpdateCommands() {
  if (fCommands.Empty()) return;
  TRadiograph* current = Current();
  const bool hasImage = current != nullptr && current->Image.HasImage();
  const bool adjustable = hasImage && current->Visible && current->Image.ImageVisible;
  Command("image.open")->setEnabled(current != nullptr);
  Command("image.save")->setEnabled(hasImage);
  Command("image.position")->setEnabled(current != nullptr);
  for (const char* id : {"image.rotate_arbitrary", "image.rotate_left", "image.rotate_right", "image.rotate_half",
                         "image.flip_horizontal", "image.flip_vertical", "image.resize"})
    Command(id)->setEnabled(hasImage);
  Command("image.tracing_locked")->setChecked(fSettings.General.LockTracing);
  Command("image.align")->setEnabled(current != nullptr && current->Type() != nullptr && !current->Aligning);
  // A radiograph closed while aligning takes its dialog with it.
  if (fAlign) {
    bool open = false;
    for (int slot = 0; slot < kSlotCount; ++slot) open = open || fWorkspace.Slot(slot) == &fAlign->Radiograph();
    if (!open) {
      fAlign->disconnect(this);
      fAlign->deleteLater();
      fAlign = nullptr;
    }
  }
  Command("image.close")->setEnabled(hasImage);
  fUndo->setEnabled(hasImage && current->Image.CanUndo());
  fUndo->setText(current != nullptr ? Utf8(current->Image.UndoCaption()) : CommandCaption("image.undo"));
  Command("image.reset")->setEnabled(hasImage && current->Image.Raw.HasData());
  Command("image.visible")->setEnabled(current != nullptr);
  Command("image.visible")->setChecked(current != nullptr && current->Image.ImageVisible);
  Command("image.copy")->setEnabled(hasImage);
  for (const char* id : {"image.equalize", "image.adaptive_equalize", "image.auto_levels", "image.adaptive_auto_levels",
                         "image.negative", "image.levels", "image.brightness_contrast", "image.colorize"})
    Command(id)->setEnabled(adjustable);
  fRepeat->setEnabled(adjustable && fLastAdjustment.has_value());
}

void TImageCommands::Changed() {
  UpdateCommands();
  if (fChanged) fChanged();
}

void TImageCommands::ActionImageOpenExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !OfferImageSave(&fWindow, *current, fSettings.General.BmpPath, fWorkspace.UserLevels())) return;
  QFileDialog dialog(&fWindow, tr("Open Image"),
                     Utf8(fLastOpenFolder.empty() ? fSettings.General.BmpPath : fLastOpenFolder), ImageOpenFilter());
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!current->ImageFile.empty()) dialog.selectFile(Utf8(current->ImageFile));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().front();
  fLastOpenFolder = QFileInfo(chosen).absolutePath().toStdString();
  LoadImageFile(chosen.toStdString());
}

bool TImageCommands::LoadImageFile(const std::string& path) {
  TRadiograph* current = Current();
  if (current == nullptr) return false;
  TResultOf<TLoadedImage> loaded = [&] {
    TBusy busy;
    return LoadDigBitmapFileName(*current, current->Image, path,
                                 ImageLoadSettingsFor(*current, ImageLoadSettings(fSettings)));
  }();
  if (!loaded) {
    if (!loaded.Text().Empty()) Tell(&fWindow, loaded.Text());
    Changed();
    return false;
  }
  const TLoadedImage& result = *loaded;
  if (result.IsDicom && result.Dicom.FrameCount > 1) {
    // The link cannot name a frame: another frame than the first is an image the link does
    // not give back, unsaved like a scanned one.
    TDicomFrameDlg chooser(result.Dicom.FrameCount, &fWindow);
    if (chooser.exec() == QDialog::Accepted && chooser.Frame() != 1) {
      TResultOf<TImageFileContents> read = [&] {
        TBusy busy;
        return ReadImageFile(current->ImageFile, ImageLoadSettings(fSettings).DicomWindowAdjust, chooser.Frame());
      }();
      if (read) {
        current->Image.SetImage(std::move(read->Raw));
        current->RecordImageChange(true, "");
      } else {
        Tell(&fWindow, read.Text());
      }
    }
  }
  if (result.IsDicom && result.Dicom.HasPatientData() && fSettings.General.DicomPatientData != 0) {
    TDicomUpdate chosen = AllDicomItems(result.Dicom);
    bool take = fSettings.General.DicomPatientData == 2;
    if (!take) {
      TUpdataDICMDlg question(*current, result.Dicom, fWorkspace.Options().Formats, &fWindow);
      take = question.exec() == QDialog::Accepted;
      chosen = question.Chosen();
    }
    if (take && ApplyDicomPatientData(*current, result.Dicom, chosen))
      current->RecordChange(true, "Changed Properties.");
  }
  Changed();
  return true;
}

void TImageCommands::ActionImageSaveExecute() {
  if (TRadiograph* current = Current()) SaveImageInteractively(&fWindow, *current, fSettings.General.BmpPath, fWorkspace.UserLevels());
  Changed();
}

void TImageCommands::ActionImageUndoExecute() {
  if (TRadiograph* current = Current(); current != nullptr && current->Image.CanUndo()) {
    SwapImageUndo(*current);
  }
  Changed();
}

void TImageCommands::ActionImagePositionExecute() {
  TRadiograph* current = Current();
  if (current == nullptr) return;
  TImagePositionDlg dialog(*current, fSettings.General.LockTracing, fRotationCentre(), &fWindow);
  connect(&dialog, &TImagePositionDlg::Moved, this, &TImageCommands::Changed);
  dialog.exec();
  Changed();
}

void TImageCommands::ActionImageRotateExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  TImageRotationDlg dialog(*current, fSettings.General.LockTracing, fRotationCentre(), &fWindow);
  connect(&dialog, &TImageRotationDlg::Moved, this, &TImageCommands::Changed);
  dialog.exec();
  Changed();
}

void TImageCommands::ActionImageAlignExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || current->Aligning || current->Type() == nullptr) return;
  if (fAlign) fAlign->close();
  current->Aligning = true;
  fAlign = new TAlignTracingDlg(*current, fWorkspace.Movements, &fWindow);
  connect(fAlign, &QDialog::finished, this, [this, dialog = fAlign.data()] {
    // The radiograph may have been closed while its dialog was open.
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (fWorkspace.Slot(slot) == &dialog->Radiograph()) dialog->Radiograph().Aligning = false;
    if (fAlign == dialog) fAlign = nullptr;
    dialog->deleteLater();
    Changed();
  });
  connect(fAlign, &TAlignTracingDlg::Aligned, this, &TImageCommands::Changed);
  fAlign->show();
  Changed();
}

bool TImageCommands::AlignClick(TFloatPoint at) {
  if (!fAlign || Current() != &fAlign->Radiograph()) return false;
  fAlign->AddPoint(at);
  Changed();
  return true;
}

std::vector<TFloatPoint> TImageCommands::AlignMarks() const {
  if (!fAlign || Current() != &fAlign->Radiograph()) return {};
  return fAlign->Marks();
}

void TImageCommands::ActionImageResizeExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  TImageScaleDlg dialog(*current, fSettings.General.BmpScaleX, fSettings.General.BmpScaleY, &fWindow);
  dialog.exec();
  Changed();
}

void TImageCommands::ActionImageResetExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  const TBitmap32 before = current->Image.Display;
  current->Image.ResetImageFromRaw();
  if (!(current->Image.Display == before)) current->RecordImageChange(true, "");
  Changed();
}

void TImageCommands::ActionImageCloseExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  if ((current->ImageFile.empty() || current->ImageModified) &&
      !OfferImageSave(&fWindow, *current, fSettings.General.BmpPath, fWorkspace.UserLevels()))
    return;
  if (QMessageBox::question(&fWindow, QStringLiteral("Lumacet"), DisplayText(kBreakLinkQuestion),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    return;
  CloseImage(*current, current->Image);
  Changed();
}

void TImageCommands::ActionImageVisibleExecute() {
  if (TRadiograph* current = Current()) current->Image.ImageVisible = !current->Image.ImageVisible;
  Changed();
}

void TImageCommands::ActionImageCopyExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  const TBitmap32& bitmap = current->Image.Display;
  QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
  if (image.isNull()) return;
  for (int y = 0; y < bitmap.Height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    const std::uint32_t* source = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) row[x] = source[x] | 0xFF000000u;
  }
  QApplication::clipboard()->setImage(image);
}

void TImageCommands::Adjust(TImageAdjustment adjustment) {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  const TEnhancementSettings settings{fSettings.General.AdaptiveSize, fSettings.General.LevelsCutoff};
  QProgressBar* progress = nullptr;
  if (adjustment == TImageAdjustment::AdaptiveEqualize || adjustment == TImageAdjustment::AdaptiveAutoLevels) {
    progress = new QProgressBar;
    fWindow.statusBar()->addWidget(progress, 1);
  }
  {
    TBusy busy;
    AdjustImage(*current, current->Image, adjustment, settings, [progress](int position, int maximum) {
      if (progress == nullptr) return;
      progress->setMaximum(maximum);
      progress->setValue(position);
      progress->repaint();
    });
  }
  delete progress;
  Changed();
}

void TImageCommands::ActionImageLevelsExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  THistoAdjDlg dialog(*current, fChanged, &fWindow);
  dialog.exec();
  Changed();
}

void TImageCommands::ActionImageBrightExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  TConBrightAdjDlg dialog(*current, fChanged, &fWindow);
  dialog.exec();
  Changed();
}

void TImageCommands::ActionImageColorizeExecute() {
  TRadiograph* current = Current();
  if (current == nullptr || !current->Image.HasImage()) return;
  TColorizeDlg dialog(*current, LutFolders(), fChanged, &fWindow);
  dialog.exec();
  Changed();
}

std::vector<std::string> TImageCommands::LutFolders() {
  std::vector<std::string> folders{QCoreApplication::applicationDirPath().toStdString()};
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
    folders.push_back(folder.toStdString());
  return folders;
}

}  // namespace lumacet
