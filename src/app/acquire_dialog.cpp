#include "app/acquire_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "app/image_commands_ui.h"
#include "app/qt_prompts.h"
#include "imaging/scanned_image.h"
#include "model/raw_image_ops.h"
#include "model/xray_type.h"
#include "shell/settings.h"
#include "shell/settings_options.h"
#include "shell/workspace.h"

namespace lumacet {

namespace {

// The preview as a picture: grey or colour samples through their full range.
QImage PreviewImage(const TRawImage& raw) {
  TBitmap32 bitmap;
  RenderToBitmap(raw, bitmap);
  QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    const std::uint32_t* source = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) line[x] = source[x] | 0xFF000000u;
  }
  return image;
}

constexpr int kPreviewPixels = 400;  // the preview's longer side

}  // namespace

// Shows the preview scaled into the widget and lets a drag choose an area of it.
class TAcquireDialog::TPreviewArea : public QWidget {
 public:
  explicit TPreviewArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kPreviewPixels / 2, kPreviewPixels / 2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }

  void SetImage(QImage image) {
    fImage = std::move(image);
    fSelection = QRectF();
    update();
  }
  bool HasImage() const { return !fImage.isNull(); }
  // The selection as fractions of the picture (0..1 each way); empty: none.
  QRectF Selection() const { return fSelection; }
  void Select(const QRectF& fractions) {
    fSelection = fractions.normalized() & QRectF(0, 0, 1, 1);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (fImage.isNull()) return;
    const QRectF target = Target();
    painter.drawImage(target, fImage);
    if (fSelection.isEmpty()) return;
    painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
    painter.drawRect(QRectF(target.x() + fSelection.x() * target.width(), target.y() + fSelection.y() * target.height(),
                            fSelection.width() * target.width(), fSelection.height() * target.height()));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (fImage.isNull()) return;
    fAnchor = Fraction(event->position());
    Select(QRectF(fAnchor, fAnchor));
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!fImage.isNull() && (event->buttons() & Qt::LeftButton)) Select(QRectF(fAnchor, Fraction(event->position())));
  }

 private:
  // The picture's place: as large as fits, its proportions kept, centred.
  QRectF Target() const {
    const QSizeF size = QSizeF(fImage.size()).scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  }
  QPointF Fraction(const QPointF& at) const {
    const QRectF target = Target();
    return QPointF(std::clamp((at.x() - target.x()) / target.width(), 0.0, 1.0),
                   std::clamp((at.y() - target.y()) / target.height(), 0.0, 1.0));
  }

  QImage fImage;
  QRectF fSelection;
  QPointF fAnchor;
};

TAcquireDialog::TAcquireDialog(int passes, TNoiseReduction reduction, QWidget* parent)
    : QDialog(parent), fSession(std::make_unique<TSaneSession>()) {
  setWindowTitle(tr("Acquire"));
  fDevices = new QComboBox;
  fDevices->setObjectName(QStringLiteral("devices"));
  fResolution = new QSpinBox;
  fResolution->setObjectName(QStringLiteral("resolution"));
  fResolution->setSuffix(tr(" dpi"));
  fResolution->setRange(1, 9600);
  fResolution->setValue(300);
  fMode = new QComboBox;
  fMode->setObjectName(QStringLiteral("mode"));
  fMode->addItems({tr("Grey"), tr("Colour")});
  fDepth = new QComboBox;
  fDepth->setObjectName(QStringLiteral("depth"));
  fDepth->addItems({tr("8 bits"), tr("16 bits")});
  fPasses = new QSpinBox;
  fPasses->setObjectName(QStringLiteral("passes"));
  fReduction = new QComboBox;
  fReduction->setObjectName(QStringLiteral("reduction"));
  fReduction->addItems({tr("Average"), tr("Median"), tr("Minimum"), tr("Central Average")});
  fReduction->setCurrentIndex(std::clamp(int(reduction), 0, 3));
  // The central average leaves out two of the scans, so it needs three at least.
  auto passesRange = [this] { fPasses->setRange(fReduction->currentIndex() == 3 ? 3 : 1, 5); };
  passesRange();
  fPasses->setValue(passes);
  connect(fReduction, &QComboBox::currentIndexChanged, this, passesRange);

  fPreview = new TPreviewArea(this);
  fPreview->setObjectName(QStringLiteral("preview"));
  fStatus = new QLabel;
  fStatus->setObjectName(QStringLiteral("status"));
  fStatus->setWordWrap(true);
  fPreviewButton = new QPushButton(tr("&Preview"));
  fScanButton = new QPushButton(tr("&Scan"));
  fScanButton->setDefault(true);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(fPreviewButton, QDialogButtonBox::ActionRole);
  buttons->addButton(fScanButton, QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(fPreviewButton, &QPushButton::clicked, this, &TAcquireDialog::Preview);
  connect(fScanButton, &QPushButton::clicked, this, &TAcquireDialog::Scan);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(tr("Scanner:"), fDevices);
  form->addRow(tr("Resolution:"), fResolution);
  form->addRow(tr("Mode:"), fMode);
  form->addRow(tr("Depth:"), fDepth);
  form->addRow(tr("Scans:"), fPasses);
  form->addRow(tr("Noise reduction:"), fReduction);
  auto* columns = new QHBoxLayout;
  columns->addLayout(form);
  columns->addWidget(fPreview, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(fStatus);
  layout->addWidget(buttons);

  std::vector<TScanDevice> devices;
  std::string message;
  if (!fSession->Ok()) {
    SetStatus(Utf8(fSession->Message()));
  } else if (!fSession->Devices(devices, message)) {
    SetStatus(Utf8(message));
  } else if (devices.empty()) {
    SetStatus(tr("No scanner was found."));
  }
  for (const TScanDevice& device : devices) fDevices->addItem(Utf8(device.Description()), Utf8(device.Name));
  connect(fDevices, &QComboBox::currentIndexChanged, this, &TAcquireDialog::OpenDevice);
  OpenDevice();
}

// The scanner goes before the session that holds the library.
TAcquireDialog::~TAcquireDialog() { fScanner.reset(); }

int TAcquireDialog::Passes() const { return fPasses->value(); }

TNoiseReduction TAcquireDialog::Reduction() const { return TNoiseReduction(fReduction->currentIndex()); }

QString TAcquireDialog::Status() const { return fStatus->text(); }

void TAcquireDialog::SetStatus(const QString& text) { fStatus->setText(text); }

void TAcquireDialog::OpenDevice() {
  fScanner.reset();
  fCapabilities = TScanCapabilities{};
  fArea.reset();
  fPreview->SetImage(QImage());
  if (fDevices->currentIndex() >= 0) {
    std::string message;
    fScanner = fSession->Open(fDevices->currentData().toString().toStdString(), message);
    if (fScanner) {
      fCapabilities = fScanner->Capabilities();
      SetStatus(tr("Choose the settings, then Preview or Scan."));
    } else {
      SetStatus(Utf8(message));
    }
  }
  UpdateControls();
}

void TAcquireDialog::UpdateControls() {
  const bool open = fScanner != nullptr;
  if (fCapabilities.MaxResolution > 0)
    fResolution->setRange(int(std::ceil(fCapabilities.MinResolution)), int(std::floor(fCapabilities.MaxResolution)));
  fResolution->setEnabled(open && fCapabilities.MaxResolution > 0);
  fMode->setEnabled(open && fCapabilities.HasGray && fCapabilities.HasColour);
  if (open && !fCapabilities.HasGray) fMode->setCurrentIndex(1);
  if (open && !fCapabilities.HasColour) fMode->setCurrentIndex(0);
  fDepth->setEnabled(open && fCapabilities.Has16Bit);
  if (!fCapabilities.Has16Bit) fDepth->setCurrentIndex(0);
  fPreviewButton->setEnabled(open && fCapabilities.Bed.has_value());
  fScanButton->setEnabled(open);
}

TScanSettings TAcquireDialog::Settings() const {
  TScanSettings settings;
  settings.Mode = fMode->currentIndex() == 1 ? TScanMode::Colour : TScanMode::Gray;
  settings.Depth = fDepth->currentIndex() == 1 ? 16 : 8;
  if (fResolution->isEnabled()) settings.Resolution = fResolution->value();
  // The drawn area, else the whole bed: the device must not keep an area from earlier.
  const QRectF selection = fPreview->Selection();
  if (fCapabilities.Bed && !selection.isEmpty()) {
    const TScanArea& bed = *fCapabilities.Bed;
    const double width = bed.Right - bed.Left, height = bed.Bottom - bed.Top;
    settings.Area = TScanArea{bed.Left + selection.left() * width, bed.Top + selection.top() * height,
                              bed.Left + selection.right() * width, bed.Top + selection.bottom() * height};
  } else {
    settings.Area = fCapabilities.Bed;
  }
  return settings;
}

bool TAcquireDialog::RunScan(const TScanSettings& settings, int passes, TScan& scan) {
  std::string message;
  if (!fScanner->Configure(settings, message)) {
    SetStatus(Utf8(message));
    return false;
  }
  SetStatus(tr("Acquiring Image..."));
  QProgressDialog progress(tr("Acquiring Image..."), tr("Cancel"), 0, 1000, this);
  progress.setWindowTitle(tr("Acquire"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  TScanControl control;
  connect(&progress, &QProgressDialog::canceled, this, [&control] { control.Cancel(); });

  bool ok = false;
  const TNoiseReduction reduction = Reduction();
  QThread* worker = QThread::create([&] { ok = fScanner->Scan(passes, reduction, scan, control, message); });
  QEventLoop loop;
  connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, this, [&] {
    const int64_t expected = control.BytesExpected;
    const int pass = std::max(1, control.Pass.load());
    if (passes > 1) progress.setLabelText(tr("Acquiring Image... (scan %1 of %2)").arg(pass).arg(passes));
    if (expected > 0) {
      const double done = (pass - 1 + std::min(1.0, double(control.BytesRead) / double(expected))) / passes;
      progress.setValue(int(done * 1000));
    }
  });
  ticker.start(50);
  progress.show();
  worker->start();
  loop.exec();
  worker->wait();
  delete worker;
  ticker.stop();
  progress.close();
  SetStatus(ok ? QString() : Utf8(message));
  return ok;
}

void TAcquireDialog::Preview() {
  if (!fScanner || !fCapabilities.Bed) return;
  TScanSettings settings = Settings();
  settings.Preview = true;
  settings.Depth = 8;
  settings.Area = fCapabilities.Bed;
  // About kPreviewPixels across the longer side of the bed.
  const TScanArea& bed = *fCapabilities.Bed;
  const double inches = std::max(bed.Right - bed.Left, bed.Bottom - bed.Top) / 25.4;
  if (fCapabilities.MaxResolution > 0 && inches > 0)
    settings.Resolution = std::clamp(kPreviewPixels / inches, fCapabilities.MinResolution, fCapabilities.MaxResolution);
  TScan scan;
  if (!RunScan(settings, 1, scan)) return;
  fPreview->SetImage(PreviewImage(scan.Raw));
  SetStatus(tr("Drag over the preview to choose the area to scan."));
}

void TAcquireDialog::Scan() {
  if (!fScanner) return;
  TScanSettings settings = Settings();
  fArea = fPreview->Selection().isEmpty() ? std::nullopt : settings.Area;
  TScan scan;
  if (!RunScan(settings, Passes(), scan)) return;
  fResult = std::move(scan);
  accept();
}

bool AcquireImage(QWidget* parent, TRadiograph& object, TSettings& settings, const TUserLevels& levels) {
  if (!OfferImageSave(parent, object, settings.General.BmpPath, levels)) return false;
  TAcquireDialog dialog(settings.General.Multiscan, TNoiseReduction(settings.General.NoiseReduction), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.General.Multiscan = dialog.Passes();
  settings.General.NoiseReduction = int(dialog.Reduction());

  TScanInstallSettings install;
  install.Load = ImageLoadSettingsFor(object, ImageLoadSettings(settings));
  const TXRayType* type = object.IsType() ? static_cast<const TXRayType*>(&object) : object.Type();
  install.DetectResolution =
      DetectsScanResolution(type != nullptr ? type->AutoDetectResolution : 2, settings.General.AutoDetectResolution);
  TScan scan = dialog.Result();
  InstallScannedImage(object, object.Image, std::move(scan.Raw), scan.XResolution, scan.YResolution, install);
  return true;
}

}  // namespace lumacet
