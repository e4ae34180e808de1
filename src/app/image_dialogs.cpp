#include "app/image_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/qt_prompts.h"
#include "imaging/enhancement.h"
#include "imaging/image_commands.h"
#include "model/radiograph.h"
#include "model/raw_image_ops.h"
#include "platform/user_locale.h"
#include "support/user_numbers.h"

namespace lumacet {

// ---------------------------------------------------------------- JPEG options

TJpegOptionsDlg::TJpegOptionsDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("JPEG Options"));
  auto* layout = new QVBoxLayout(this);
  fQualityLabel = new QLabel;
  layout->addWidget(fQualityLabel);
  fQuality = new QSlider(Qt::Horizontal);
  fQuality->setRange(1, 100);
  auto* scale = new QHBoxLayout;
  scale->addWidget(new QLabel(tr("Highest Compression")));
  scale->addWidget(fQuality, 1);
  scale->addWidget(new QLabel(tr("Best Quality")));
  layout->addLayout(scale);
  fGrayscale = new QCheckBox(tr("Grayscale"));
  layout->addWidget(fGrayscale);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fQuality, &QSlider::valueChanged, this,
          [this](int value) { fQualityLabel->setText(tr("Compression Quality: %1").arg(value)); });
  SetOptions(TJpegOptions{});
}

TJpegOptions TJpegOptionsDlg::Options() const { return {fQuality->value(), fGrayscale->isChecked()}; }

TDicomFrameDlg::TDicomFrameDlg(int32_t count, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("DICOM Frame"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("The image file holds %1 frames.").arg(count)));
  auto* row = new QHBoxLayout;
  fFrame = new QSpinBox;
  fFrame->setRange(1, std::max(count, 1));
  auto* label = new QLabel(tr("&Frame:"));
  label->setBuddy(fFrame);
  row->addWidget(label);
  row->addWidget(fFrame, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int32_t TDicomFrameDlg::Frame() const { return fFrame->value(); }

void TJpegOptionsDlg::SetOptions(const TJpegOptions& options) {
  fQuality->setValue(std::clamp(options.Quality, 1, 100));
  fQualityLabel->setText(tr("Compression Quality: %1").arg(fQuality->value()));
  fGrayscale->setChecked(options.Grayscale);
}

// ---------------------------------------------------------------- shared pattern

TImageAdjustDialog::TImageAdjustDialog(TRadiograph& radiograph, TImageDialog kind, TImageChanged changed,
                                       QWidget* parent)
    : QDialog(parent),
      fRadiograph(radiograph),
      fSnapshot(radiograph.Image.Display),
      fRawBefore(),
      fKind(kind),
      fChanged(std::move(changed)) {
  // Only the window and gamma can change: the samples themselves are not copied.
  fRawBefore.WindowLow = radiograph.Image.Raw.WindowLow;
  fRawBefore.WindowHigh = radiograph.Image.Raw.WindowHigh;
  fRawBefore.Gamma = radiograph.Image.Raw.Gamma;
}

void TImageAdjustDialog::accept() {
  CommitImageDialog(fRadiograph, fRadiograph.Image, fKind, fSnapshot);
  QDialog::accept();
  Changed();
}

void TImageAdjustDialog::reject() {
  TRawImage& raw = fRadiograph.Image.Raw;
  raw.WindowLow = fRawBefore.WindowLow;
  raw.WindowHigh = fRawBefore.WindowHigh;
  raw.Gamma = fRawBefore.Gamma;
  Restore();
  QDialog::reject();
  Changed();
}

void TImageAdjustDialog::Restore() { fRadiograph.Image.Display = fSnapshot; }

void TImageAdjustDialog::Changed() {
  if (fChanged) fChanged();
}

// ---------------------------------------------------------------- histogram strip

class THistogramStrip : public QWidget {
 public:
  struct TArrow {
    double Position = 0;  // 0 .. 255
    QColor Colour;
  };
  // Which arrow a press takes, given the distances; -1 for none.
  using TPick = std::function<int(const std::vector<double>& distances, int lastTaken)>;

  THistogramStrip(int height, QWidget* parent = nullptr) : QWidget(parent) {
    setMinimumSize(2 * kMargin + 256, height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }

  void SetHistogram(const std::array<std::uint32_t, 256>& counts) {
    fCounts = counts;
    update();
  }
  std::vector<TArrow> Arrows;
  TPick Pick;
  std::function<void(int arrow, double position)> Drag;
  std::function<void()> Release;
  std::function<void()> DoubleClick;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const int barsBottom = height() - kArrowHeight - 2;
    const std::uint32_t highest = std::max<std::uint32_t>(1, *std::max_element(fCounts.begin(), fCounts.end()));
    painter.setPen(palette().color(QPalette::Text));
    for (int i = 0; i < 256; ++i) {
      const double share = static_cast<double>(fCounts[static_cast<std::size_t>(i)]) / highest;
      const int x = static_cast<int>(std::lround(ToPixel(i)));
      painter.drawLine(x, barsBottom, x, barsBottom - static_cast<int>(std::lround(share * (barsBottom - 2))));
    }
    for (const TArrow& arrow : Arrows) {
      const double x = ToPixel(arrow.Position);
      const QPointF triangle[] = {{x, static_cast<double>(barsBottom + 1)},
                                  {x - kArrowHeight / 2.0, static_cast<double>(height() - 1)},
                                  {x + kArrowHeight / 2.0, static_cast<double>(height() - 1)}};
      painter.setPen(Qt::black);
      painter.setBrush(arrow.Colour);
      painter.drawPolygon(triangle, 3);
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || Arrows.empty()) return;
    std::vector<double> distances;
    const double at = ToPosition(event->position().x());
    for (const TArrow& arrow : Arrows) distances.push_back(std::abs(arrow.Position - at));
    fTaken = Pick ? Pick(distances, fLastTaken) : -1;
    if (fTaken >= 0) fLastTaken = fTaken;
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (fTaken < 0 || !Drag) return;
    Drag(fTaken, std::clamp(ToPosition(event->position().x()), 0.0, 255.0));
  }
  void mouseReleaseEvent(QMouseEvent*) override {
    if (fTaken < 0) return;
    fTaken = -1;
    if (Release) Release();
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (DoubleClick) DoubleClick();
  }

 private:
  static constexpr int kMargin = 8;
  static constexpr int kArrowHeight = 10;
  double Span() const { return std::max(1, width() - 2 * kMargin) / 255.0; }
  double ToPixel(double position) const { return kMargin + position * Span(); }
  double ToPosition(double x) const { return (x - kMargin) / Span(); }

  std::array<std::uint32_t, 256> fCounts{};
  int fTaken = -1;
  int fLastTaken = -1;
};

namespace {

constexpr int kBlackArrow = 0;
constexpr int kWhiteArrow = 1;
constexpr int kGreyArrow = 2;

// The nearest arrow; on a tie the one taken last stays taken when it is among the nearest,
// and the grey arrow (when there is one) wins a tie with either of the others.
int PickNearest(const std::vector<double>& distances, int lastTaken, bool greyWins) {
  const double nearest = *std::min_element(distances.begin(), distances.end());
  std::vector<int> tied;
  for (std::size_t i = 0; i < distances.size(); ++i)
    if (distances[i] == nearest) tied.push_back(static_cast<int>(i));
  if (greyWins && std::find(tied.begin(), tied.end(), kGreyArrow) != tied.end()) return kGreyArrow;
  if (std::find(tied.begin(), tied.end(), lastTaken) != tied.end()) return lastTaken;
  return tied.front();
}

}  // namespace

// ---------------------------------------------------------------- levels

THistoAdjDlg::THistoAdjDlg(TRadiograph& radiograph, TImageChanged changed, QWidget* parent)
    : TImageAdjustDialog(radiograph, TImageDialog::Levels, std::move(changed), parent) {
  setWindowTitle(tr("Adjust Levels"));
  auto* layout = new QVBoxLayout(this);
  auto* modeBox = new QGroupBox(tr("&Image:"));
  auto* modeLayout = new QHBoxLayout(modeBox);
  fModes = new QButtonGroup(this);
  auto* original = new QRadioButton(tr("Original"));
  auto* current = new QRadioButton(tr("Current (8-bit)"));
  fModes->addButton(original, static_cast<int>(TMode::Original));
  fModes->addButton(current, static_cast<int>(TMode::Current8Bit));
  modeLayout->addWidget(original);
  modeLayout->addWidget(current);
  layout->addWidget(modeBox);

  fRawStrip = new THistogramStrip(50);
  fRangeLabel = new QLabel;
  layout->addWidget(fRawStrip);
  layout->addWidget(fRangeLabel);
  fLevelsStrip = new THistogramStrip(140);
  fLevelsLabel = new QLabel;
  layout->addWidget(fLevelsStrip);
  layout->addWidget(fLevelsLabel);
  auto* gammaRow = new QHBoxLayout;
  auto* gammaLabel = new QLabel(tr("&gamma:"));
  fGammaBox = new QLineEdit;
  gammaLabel->setBuddy(fGammaBox);
  gammaRow->addWidget(gammaLabel);
  gammaRow->addWidget(fGammaBox);
  gammaRow->addStretch();
  layout->addLayout(gammaRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  // Enter in the gamma box sets the gamma, it does not close the dialog.
  for (QAbstractButton* button : buttons->buttons())
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fGammaBox, &QLineEdit::returnPressed, this, [this] { EnterGamma(fGammaBox->text()); });
  connect(fModes, &QButtonGroup::idClicked, this, [this](int id) { SetMode(static_cast<TMode>(id)); });

  fRawStrip->Arrows = {{0, Qt::black}, {255, Qt::white}};
  fRawStrip->Pick = [](const std::vector<double>& d, int last) { return PickNearest(d, last, false); };
  fRawStrip->Drag = [this](int arrow, double x) {
    const int position = static_cast<int>(std::lround(x));
    if (arrow == 0) fRangeLow = std::min(position, fRangeHigh);
    if (arrow == 1) fRangeHigh = std::max(position, fRangeLow);
    UpdateTexts();
  };
  fRawStrip->Release = [this] {
    UpdateHistogram();
    Apply();
  };

  fLevelsStrip->Arrows = {{0, Qt::black}, {255, Qt::white}, {127, Qt::gray}};
  fLevelsStrip->Pick = [](const std::vector<double>& d, int last) { return PickNearest(d, last, true); };
  fLevelsStrip->Drag = [this](int arrow, double x) {
    const int position = static_cast<int>(std::lround(x));
    if (arrow == kBlackArrow) fBlack = std::clamp(position, 0, fWhite);
    if (arrow == kWhiteArrow) fWhite = std::clamp(position, fBlack, 255);
    if (arrow == kGreyArrow && fWhite > fBlack)
      fGamma = LevelsGammaAt(fBlack, fWhite, std::clamp<double>(x, fBlack, fWhite));
    UpdateTexts();
  };
  fLevelsStrip->Release = [this] { Apply(); };
  fLevelsStrip->DoubleClick = [this] {
    fGamma = 1.0;
    UpdateTexts();
    Apply();
  };

  // Without raw samples there is nothing to re-window: only the 8-bit mode can work.
  const bool hasRaw = radiograph.Image.Raw.HasData();
  original->setEnabled(hasRaw);
  SetMode(hasRaw ? TMode::Original : TMode::Current8Bit);
}

int THistoAdjDlg::MaxSample() const {
  const int bits = fRadiograph.Image.Raw.BitsPerSample;
  return bits > 0 && bits <= 16 ? (1 << bits) - 1 : 255;
}

void THistoAdjDlg::SetMode(TMode mode) {
  fMode = mode;
  fModes->button(static_cast<int>(mode))->setChecked(true);
  fRawStrip->setVisible(mode == TMode::Original);
  fRangeLabel->setVisible(mode == TMode::Original);
  if (mode == TMode::Original) {
    const TRawImage& raw = fRadiograph.Image.Raw;
    fRawStrip->SetHistogram(Histogram256(raw, 0, MaxSample() + 1));
  }
  UpdateHistogram();
  Apply();
}

void THistoAdjDlg::SetBlackWhite(int black, int white) {
  fBlack = std::clamp(black, 0, 255);
  fWhite = std::clamp(white, fBlack, 255);
  UpdateTexts();
  Apply();
}

void THistoAdjDlg::SetRange(int low, int high) {
  fRangeLow = std::clamp(low, 0, 255);
  fRangeHigh = std::clamp(high, fRangeLow, 255);
  UpdateHistogram();
  Apply();
}

void THistoAdjDlg::EnterGamma(const QString& text) {
  if (std::optional<double> value = ReadTypedNumber(text.toStdString(), LocaleDecimalSeparator()))
    fGamma = std::clamp(*value, 0.1, 10.0);
  UpdateTexts();
  Apply();
}

void THistoAdjDlg::SetGreyArrow(double position) {
  if (fWhite > fBlack) fGamma = LevelsGammaAt(fBlack, fWhite, std::clamp<double>(position, fBlack, fWhite));
  UpdateTexts();
  Apply();
}

int THistoAdjDlg::GreyArrow() const { return LevelsGreyArrow(fBlack, fWhite, fGamma); }

void THistoAdjDlg::UpdateHistogram() {
  if (fMode == TMode::Original) {
    const int m = MaxSample();
    fHistogram = Histogram256(fRadiograph.Image.Raw, static_cast<int>(std::lround(m * fRangeLow / 255.0)),
                              static_cast<int>(std::lround(m * fRangeHigh / 255.0)));
  } else {
    fHistogram = LuminanceHistogram(fSnapshot);
  }
  fLevelsStrip->SetHistogram(fHistogram);
  UpdateTexts();
}

void THistoAdjDlg::UpdateTexts() {
  const int m = MaxSample();
  auto raw = [m](double position) { return static_cast<int>(std::nearbyint(m * position / 255.0)); };
  fRangeLabel->setText(
      tr("%1 - %2 (%3)").arg(raw(fRangeLow)).arg(raw(fRangeHigh)).arg(raw(fRangeHigh) - raw(fRangeLow)));
  int low = fBlack;
  int high = fWhite;
  if (fMode == TMode::Original) {
    low = LevelsRawValue(m, fRangeLow, fRangeHigh, fBlack);
    high = LevelsRawValue(m, fRangeLow, fRangeHigh, fWhite);
  }
  fLevelsLabel->setText(tr("%1 - %2 (%3)").arg(low).arg(high).arg(high - low));
  fGammaBox->setText(QLocale().toString(fGamma, 'f', 2));
  fRawStrip->Arrows[0].Position = fRangeLow;
  fRawStrip->Arrows[1].Position = fRangeHigh;
  fRawStrip->update();
  fLevelsStrip->Arrows[kBlackArrow].Position = fBlack;
  fLevelsStrip->Arrows[kWhiteArrow].Position = fWhite;
  fLevelsStrip->Arrows[kGreyArrow].Position = GreyArrow();
  fLevelsStrip->update();
}

void THistoAdjDlg::Apply() {
  TImageStore& image = fRadiograph.Image;
  if (fMode == TMode::Original) {
    ApplyLevelsToRaw(image.Raw, image.Display, fRangeLow, fRangeHigh, fBlack, fWhite, fGamma);
  } else {
    // The raw window stays as it was when the dialog opened; only the bitmap changes.
    image.Raw.WindowLow = fRawBefore.WindowLow;
    image.Raw.WindowHigh = fRawBefore.WindowHigh;
    image.Raw.Gamma = fRawBefore.Gamma;
    Restore();
    ApplyLevelTable(image.Display, LevelsTable(fBlack, fWhite, fGamma));
  }
  Changed();
}

// ---------------------------------------------------------------- brightness / contrast / gamma

namespace {
constexpr int kBrightness = 0;
constexpr int kContrast = 1;
constexpr int kGamma = 2;
}  // namespace

TConBrightAdjDlg::TConBrightAdjDlg(TRadiograph& radiograph, TImageChanged changed, QWidget* parent)
    : TImageAdjustDialog(radiograph, TImageDialog::BrightnessContrastGamma, std::move(changed), parent) {
  setWindowTitle(tr("Brightness - Contrast - Gamma"));
  auto* layout = new QGridLayout(this);
  const std::array<std::pair<int, int>, 3> ranges = {{{-126, 126}, {-45, 44}, {-90, 90}}};
  for (int i = 0; i < 3; ++i) {
    auto& bar = fBars[static_cast<std::size_t>(i)];
    auto& box = fBoxes[static_cast<std::size_t>(i)];
    box = new QCheckBox;
    box->setChecked(true);
    bar = new QScrollBar(Qt::Horizontal);
    bar->setRange(ranges[static_cast<std::size_t>(i)].first, ranges[static_cast<std::size_t>(i)].second);
    bar->setValue(0);
    bar->setMinimumWidth(256);
    layout->addWidget(box, i, 0);
    layout->addWidget(bar, i, 1);
    connect(bar, &QScrollBar::valueChanged, this, [this, bar] {
      UpdateCaptions();
      if (!bar->isSliderDown()) Apply();
    });
    connect(bar, &QScrollBar::sliderReleased, this, &TConBrightAdjDlg::Apply);
    connect(box, &QCheckBox::clicked, this, [this, bar, box] {
      bar->setEnabled(box->isChecked());
      Apply();
    });
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons, 3, 0, 1, 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdateCaptions();
}

TBrightnessContrastGamma TConBrightAdjDlg::Values() const {
  TBrightnessContrastGamma values;
  values.Brightness = fBars[kBrightness]->value();
  values.Contrast = fBars[kContrast]->value();
  values.GammaPosition = fBars[kGamma]->value();
  values.UseBrightness = fBoxes[kBrightness]->isChecked();
  values.UseContrast = fBoxes[kContrast]->isChecked();
  values.UseGamma = fBoxes[kGamma]->isChecked();
  return values;
}

void TConBrightAdjDlg::SetValues(const TBrightnessContrastGamma& values) {
  const QSignalBlocker blockers[] = {QSignalBlocker(fBars[0]), QSignalBlocker(fBars[1]), QSignalBlocker(fBars[2])};
  fBars[kBrightness]->setValue(values.Brightness);
  fBars[kContrast]->setValue(values.Contrast);
  fBars[kGamma]->setValue(values.GammaPosition);
  const bool use[] = {values.UseBrightness, values.UseContrast, values.UseGamma};
  for (std::size_t i = 0; i < 3; ++i) {
    fBoxes[i]->setChecked(use[i]);
    fBars[i]->setEnabled(use[i]);
  }
  UpdateCaptions();
  Apply();
}

void TConBrightAdjDlg::UpdateCaptions() {
  fBoxes[kBrightness]->setText(tr("&Brightness: %1").arg(fBars[kBrightness]->value()));
  fBoxes[kContrast]->setText(tr("&Contrast: %1").arg(fBars[kContrast]->value()));
  fBoxes[kGamma]->setText(tr("&Gamma: %1").arg(QLocale().toString(GammaFromPosition(fBars[kGamma]->value()), 'f', 2)));
}

void TConBrightAdjDlg::Apply() {
  Restore();
  ApplyBrightnessContrastGamma(fRadiograph.Image.Display, Values());
  Changed();
}

// ---------------------------------------------------------------- colorize

TColorizeDlg::TColorizeDlg(TRadiograph& radiograph, const std::vector<std::string>& folders, TImageChanged changed,
                           QWidget* parent)
    : TImageAdjustDialog(radiograph, TImageDialog::Colorize, std::move(changed), parent) {
  setWindowTitle(tr("Colorize"));
  // A name found in an earlier folder hides the same name in a later one.
  std::vector<std::string> names;
  for (const std::string& folder : folders) {
    for (const std::string& file : ListLutFiles(folder)) {
      const std::string name = std::filesystem::path(file).filename().string();
      if (std::find(names.begin(), names.end(), name) != names.end()) continue;
      names.push_back(name);
      fFiles.push_back(file);
    }
  }
  std::vector<std::size_t> order(fFiles.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
  std::vector<std::string> sorted;
  for (std::size_t i : order) sorted.push_back(fFiles[i]);
  fFiles = std::move(sorted);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Select color scheme:")));
  fList = new QListWidget;
  for (const std::string& file : fFiles)
    fList->addItem(QString::fromStdString(std::filesystem::path(file).stem().string()));
  layout->addWidget(fList);
  fBar = new QLabel;
  fBar->setFixedHeight(32);
  fBar->setMinimumWidth(256);
  fBar->setScaledContents(true);
  layout->addWidget(fBar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fList, &QListWidget::currentRowChanged, this, &TColorizeDlg::Select);
  if (!fFiles.empty()) fList->setCurrentRow(0);
}

int TColorizeDlg::exec() {
  if (fFiles.empty()) {
    QMessageBox::information(parentWidget(), QStringLiteral("Lumacet"), DisplayText(kNoLutFilesMessage));
    return QDialog::Rejected;
  }
  return QDialog::exec();
}

void TColorizeDlg::Select(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= fFiles.size()) return;
  if (fList->currentRow() != row) {
    fList->setCurrentRow(row);  // comes back here through the list's signal
    return;
  }
  Restore();
  TColourLut lut{};
  if (ReadLutFile(fFiles[static_cast<std::size_t>(row)], lut)) Colorize(fRadiograph.Image.Display, lut);
  // The table as a colour bar above a grey bar.
  QImage bar(256, 2, QImage::Format_RGB32);
  for (int i = 0; i < 256; ++i) {
    bar.setPixel(i, 0, (lut[static_cast<std::size_t>(i)] & 0x00FFFFFFu) | 0xFF000000u);
    bar.setPixel(i, 1, qRgb(i, i, i));
  }
  fBar->setPixmap(QPixmap::fromImage(bar));
  Changed();
}

// ---------------------------------------------------------------- DICOM patient data

TUpdataDICMDlg::TUpdataDICMDlg(const TRadiograph& radiograph, const TDicomInfo& info, const TTextFormats& formats,
                               QWidget* parent)
    : QDialog(parent), fAll(AllDicomItems(info)) {
  setWindowTitle(tr("Updata from DICOM data"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(DisplayText("The following information was read from the DICOM file.\r\n"
                             "Do you want to update the Radiograph's properties?")));
  auto* group = new QGroupBox(tr("Update:"));
  auto* grid = new QGridLayout(group);
  auto date = [&](TDayNumber day) { return QString::fromStdString(FormatDate(day, formats.ShortDateFormat)); };
  auto sex = [](bool female) { return female ? tr("Female") : tr("Male"); };
  const QString name = QString::fromStdString(radiograph.Name);
  const std::array<QString, 5> labels = {tr("Name: %1").arg(name), QString(), tr("Sex: ") + sex(radiograph.Female),
                                         tr("Date of Birth: %1").arg(date(radiograph.DateOfBirth)),
                                         tr("Date Taken: %1").arg(date(radiograph.DateTaken))};
  const std::array<std::optional<QString>, 5> offered = {
      info.PatientName ? std::optional<QString>(QString::fromStdString(*info.PatientName)) : std::nullopt,
      info.PatientId ? std::optional<QString>(QString::fromStdString(*info.PatientId)) : std::nullopt,
      info.Female ? std::optional<QString>(sex(*info.Female)) : std::nullopt,
      info.PatientBirthDate ? std::optional<QString>(date(*info.PatientBirthDate)) : std::nullopt,
      info.AcquisitionDate ? std::optional<QString>(date(*info.AcquisitionDate)) : std::nullopt};
  for (int i = 0; i < 5; ++i) {
    const auto k = static_cast<std::size_t>(i);
    auto* label = new QLabel(labels[k]);
    // The name label serves both the name and the ID.
    label->setEnabled(i == 0 ? (offered[0] || offered[1]) : offered[k].has_value());
    fBoxes[k] = new QCheckBox(tr("Update to: %1").arg(offered[k].value_or(QString())));
    fBoxes[k]->setEnabled(offered[k].has_value());
    grid->addWidget(label, i, 0);
    grid->addWidget(fBoxes[k], i, 1);
  }
  layout->addWidget(group);
  auto* buttons = new QDialogButtonBox;
  QPushButton* update = buttons->addButton(tr("&Update"), QDialogButtonBox::AcceptRole);
  QPushButton* all = buttons->addButton(tr("Update &All"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(update, &QPushButton::clicked, this, [this] {
    fChosen = {fBoxes[0]->isChecked(), fBoxes[1]->isChecked(), fBoxes[2]->isChecked(), fBoxes[3]->isChecked(),
               fBoxes[4]->isChecked()};
    accept();
  });
  connect(all, &QPushButton::clicked, this, [this] {
    fChosen = fAll;
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

}  // namespace lumacet
