#include "app/image_geometry_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qt_prompts.h"
#include "digitize/image_alignment.h"
#include "geometry/plane_geometry.h"
#include "imaging/image_frame.h"
#include "measure/number_format.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/xray_type.h"
#include "model/radiograph.h"
#include "platform/user_locale.h"
#include "simulation/image_geometry.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

std::optional<double> Typed(const QLineEdit* field) {
  return ReadTypedNumber(field->text().trimmed().toStdString(), LocaleDecimalSeparator());
}

QString Shown(double value, const char* pattern) {
  return Utf8(FormatNumber(value, pattern, LocaleDecimalSeparator()));
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

// The drawing a list of the type's drawings has chosen; null when it has none.
const TXRGraphic* ChosenDrawing(const QComboBox* list) {
  return reinterpret_cast<const TXRGraphic*>(list->currentData().value<quintptr>());
}

void Tell(QWidget* parent, const TResult& result) {
  if (!result) QMessageBox::information(parent, QStringLiteral("Lumacet"), DisplayText(result.Text()));
}

}  // namespace

// ---- position and rotation -------------------------------------------------------------

TImagePositionDlg::TImagePositionDlg(TRadiograph& radiograph, bool locked, TFloatPoint centre, QWidget* parent)
    : QDialog(parent), fRadiograph(radiograph), fLocked(locked), fCentre(centre), fKept(ImageFrameOf(radiograph)) {
  setWindowTitle(tr("Image Position / Rotation"));
  fX = new QLineEdit;
  fY = new QLineEdit;
  fAngle = new QLineEdit;
  fSetPosition = new QPushButton(tr("&Set Position ->"));
  auto* origin = new QPushButton(tr("Reset at &Origin (0, 0)"));
  fSetRotation = new QPushButton(tr("S&et Rotation ->"));
  auto* noRotation = new QPushButton(tr("Reset &Rotation (0 degrees)"));
  auto* grid = new QGridLayout;
  grid->addWidget(fSetPosition, 0, 0);
  grid->addWidget(new QLabel(tr("&X:")), 0, 1);
  grid->addWidget(fX, 0, 2);
  grid->addWidget(new QLabel(tr("&Y:")), 1, 1);
  grid->addWidget(fY, 1, 2);
  grid->addWidget(origin, 2, 0, 1, 3);
  grid->addWidget(fSetRotation, 3, 0);
  grid->addWidget(new QLabel(tr("&A:")), 3, 1);
  grid->addWidget(fAngle, 3, 2);
  grid->addWidget(noRotation, 4, 0, 1, 3);
  for (int row : {0, 1, 3}) static_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget())->setBuddy(grid->itemAtPosition(row, 2)->widget());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(OkCancel(this));
  connect(fSetPosition, &QPushButton::clicked, this, [this] {
    const std::optional<double> x = Typed(fX), y = Typed(fY);
    if (x && y) Position(*x, *y);
  });
  connect(origin, &QPushButton::clicked, this, [this] { Position(0, 0); });
  connect(fSetRotation, &QPushButton::clicked, this, [this] {
    if (const std::optional<double> degrees = Typed(fAngle)) Rotation(DegToRad(*degrees));
  });
  connect(noRotation, &QPushButton::clicked, this, [this] { Rotation(0); });
  Show();
}

void TImagePositionDlg::Show() {
  fX->setText(Shown(fRadiograph.ImageOriginX, "0.###"));
  fY->setText(Shown(fRadiograph.ImageOriginY, "0.###"));
  fAngle->setText(Shown(RadToDeg(fRadiograph.ImageRotation), "0.###"));
}

void TImagePositionDlg::Position(double x, double y) {
  // Text that does not make a sensible place is ignored, as text that does not parse.
  if (SetImagePosition(fRadiograph, fLocked, x, y)) emit Moved();
  Show();
}

void TImagePositionDlg::Rotation(double radians) {
  if (SetImageRotation(fRadiograph, fLocked, fCentre, radians)) emit Moved();
  Show();
}

void TImagePositionDlg::accept() {
  fRadiograph.RecordChange(true, "Image Repositioned.");
  QDialog::accept();
}

void TImagePositionDlg::reject() {
  static_cast<void>(SetImageRotation(fRadiograph, fLocked, fCentre, fKept.Rotation));
  static_cast<void>(SetImagePosition(fRadiograph, fLocked, fKept.OriginX, fKept.OriginY));
  emit Moved();
  QDialog::reject();
}

// ---- resampled rotation ----------------------------------------------------------------

TImageRotationDlg::TImageRotationDlg(TRadiograph& radiograph, bool locked, TFloatPoint centre, QWidget* parent)
    : QDialog(parent), fRotation(std::make_unique<TImageRotation>(radiograph, centre, locked)) {
  setWindowTitle(tr("Image Rotation (Resample)"));
  fAngle = new QLineEdit(QStringLiteral("0"));
  fSetAt = new QPushButton(tr("&Set at ->"));
  fConvert = new QPushButton(tr("&Convert Image to Current Rotation"));
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(tr("&Angle:"));
  label->setBuddy(fAngle);
  row->addWidget(fSetAt);
  row->addWidget(label);
  row->addWidget(fAngle);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Image will be rotated around the Rotation Point.")));
  layout->addLayout(row);
  layout->addWidget(fConvert);
  layout->addWidget(OkCancel(this));
  connect(fSetAt, &QPushButton::clicked, this, [this] {
    // Text that does not parse is ignored.
    if (const std::optional<double> degrees = Typed(fAngle)) {
      Tell(this, fRotation->SetAt(*degrees));
      emit Moved();
    }
  });
  connect(fConvert, &QPushButton::clicked, this, [this] {
    Tell(this, fRotation->ConvertToCurrentRotation());
    emit Moved();
  });
}

TImageRotationDlg::~TImageRotationDlg() = default;

void TImageRotationDlg::accept() {
  fRotation->Ok();
  QDialog::accept();
}

void TImageRotationDlg::reject() {
  fRotation->Cancel();
  emit Moved();
  QDialog::reject();
}

// ---- resize ----------------------------------------------------------------------------

TImageScaleDlg::TImageScaleDlg(TRadiograph& radiograph, double defaultWidth, double defaultHeight, QWidget* parent)
    : QDialog(parent), fRadiograph(radiograph) {
  setWindowTitle(tr("Scale Image"));
  const int w = radiograph.Image.Display.Width;
  const int h = radiograph.Image.Display.Height;
  fPixelWidth = new QLineEdit(Shown(radiograph.PixelWidth, "0.###"));
  fPixelHeight = new QLineEdit(Shown(radiograph.PixelHeight, "0.###"));
  fWidth = new QLineEdit(Shown(w * radiograph.PixelWidth / 10, "0.###"));
  fHeight = new QLineEdit(Shown(h * radiograph.PixelHeight / 10, "0.###"));
  fResolution = new QLineEdit(radiograph.PixelWidth != 0 ? Shown(254 / radiograph.PixelWidth, "0") : QString());
  fDownsample = new QCheckBox(tr("D&ownsample"));
  fKeepAspect = new QCheckBox(tr("&Keep Aspect Ratio"));
  fApplySize = new QPushButton(tr("&Apply ->"));
  fApplyPixelSize = new QPushButton(tr("A&pply ->"));
  fApplyResolution = new QPushButton(tr("App&ly ->"));
  fDefault = new QPushButton(tr("&Default"));
  auto* form = new QFormLayout;
  form->addRow(new QLabel(tr("Image Size: %1 x %2 pixels.").arg(w).arg(h)));
  form->addRow(tr("&Width in mm (X):"), fWidth);
  form->addRow(tr("&Height in mm (Y):"), fHeight);
  form->addRow(fKeepAspect, fApplySize);
  form->addRow(tr("Pixel size, 10ths mm (&X):"), fPixelWidth);
  form->addRow(tr("(&Y):"), fPixelHeight);
  form->addRow(fApplyPixelSize);
  form->addRow(tr("&Resolution (dpi):"), fResolution);
  form->addRow(fDownsample, fApplyResolution);
  form->addRow(fDefault);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(fWidth, &QLineEdit::editingFinished, this, [this] { KeepAspect(fWidth, fHeight, true); });
  connect(fHeight, &QLineEdit::editingFinished, this, [this] { KeepAspect(fHeight, fWidth, false); });
  connect(fApplySize, &QPushButton::clicked, this,
          [this] { Finish(ApplyImageSize(fRadiograph, Typed(fWidth), Typed(fHeight))); });
  connect(fApplyPixelSize, &QPushButton::clicked, this,
          [this] { Finish(ApplyPixelSize(fRadiograph, Typed(fPixelWidth), Typed(fPixelHeight))); });
  connect(fApplyResolution, &QPushButton::clicked, this,
          [this] { Finish(ApplyResolution(fRadiograph, Typed(fResolution), fDownsample->isChecked())); });
  connect(fDefault, &QPushButton::clicked, this,
          [this, defaultWidth, defaultHeight] { Finish(ApplyPixelSize(fRadiograph, defaultWidth, defaultHeight)); });
}

void TImageScaleDlg::KeepAspect(QLineEdit* left, QLineEdit* other, bool widthLeft) {
  const std::optional<double> value = Typed(left);
  const TBitmap32& image = fRadiograph.Image.Display;
  if (!fKeepAspect->isChecked() || !value || image.Empty()) return;
  other->setText(Shown(widthLeft ? *value * image.Height / image.Width : *value * image.Width / image.Height, "0.###"));
}

void TImageScaleDlg::Finish(const TResult& result) {
  if (!result) {
    Tell(this, result);
    return;
  }
  accept();
}

// ---- alignment -------------------------------------------------------------------------

TAlignTracingDlg::TAlignTracingDlg(TRadiograph& radiograph, const TMovementOptions& movements, QWidget* parent)
    : QDialog(parent),
      fRadiograph(radiograph),
      fMovements(movements),
      fAlignment(std::make_unique<TTwoPointAlignment>()) {
  setWindowTitle(tr("Align Tracing"));
  setModal(false);
  fFirst = new QComboBox;
  fSecond = new QComboBox;
  fOrientation = new QComboBox;
  fRefine = new QComboBox;
  fAdjust = new QComboBox;
  QStringList points;
  if (const TXRayType* type = radiograph.Type()) {
    for (int code : {ekDigPoint, ekDerPoint})
      for (const auto& e : type->ElementList(code)) points << Utf8(e->Name);
    for (const auto& e : type->ElementList(ekOrient))
      if (static_cast<const TXROrient&>(*e).Kind() == KindNumber(TOrientKind::AlignToImage))
        fOrientation->addItem(Utf8(e->Name), QVariant::fromValue(reinterpret_cast<quintptr>(e.get())));
    for (const auto& e : type->ElementList(ekGraphic))
      for (QComboBox* list : {fRefine, fAdjust})
        list->addItem(Utf8(e->Name), QVariant::fromValue(reinterpret_cast<quintptr>(e.get())));
  }
  points.sort(Qt::CaseInsensitive);
  fFirst->addItems(points);
  fSecond->addItems(points);
  fSecond->setEnabled(false);
  fOrientation->setCurrentIndex(-1);
  fHotZone = new QLineEdit(QStringLiteral("5"));
  connect(fHotZone, &QLineEdit::editingFinished, this, [this] { fHotZone->setText(QString::number(HotZoneMm())); });
  fInterpolate = new QSpinBox;
  fInterpolate->setRange(0, 10);
  fInterpolate->setValue(3);
  fRepeat = new QSpinBox;
  fRepeat->setRange(1, 10);
  fRepeat->setValue(5);
  const QStringList choices[] = {{tr("None"), tr("Image"), tr("Tracing")}, {tr("Image"), tr("Tracing")},
                                 {tr("Image"), tr("Tracing")}};
  const QString captions[] = {tr("Re&size:"), tr("&Translate:"), tr("&Rotate:")};
  auto* options = new QFormLayout;
  for (int i = 0; i < 3; ++i) {
    fOptions[static_cast<size_t>(i)] = new QComboBox;
    fOptions[static_cast<size_t>(i)]->addItems(choices[i]);
    fOptions[static_cast<size_t>(i)]->setCurrentIndex(i == 0 ? 1 : 0);
    options->addRow(captions[i], fOptions[static_cast<size_t>(i)]);
  }
  auto* refine = new QPushButton(tr("&Auto Refine"));
  auto* adjust = new QPushButton(tr("Adjust &Points"));
  adjust->setToolTip(tr("Adjust points to Photo."));
  connect(refine, &QPushButton::clicked, this, &TAlignTracingDlg::Refine);
  connect(adjust, &QPushButton::clicked, this, &TAlignTracingDlg::AdjustPoints);
  auto* close = new QPushButton(tr("Close"));
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  auto* form = new QFormLayout;
  form->addRow(new QLabel(tr("Use the Digitize tool to mark two points on the image:")));
  form->addRow(fFirst);
  form->addRow(fSecond);
  form->addRow(tr("Aligning &Orientation:"), fOrientation);
  form->addRow(tr("Refine drawing:"), fRefine);
  form->addRow(tr("Adjust drawing:"), fAdjust);
  form->addRow(tr("&Hot zone (mm):"), fHotZone);
  form->addRow(tr("&Interpolate points:"), fInterpolate);
  form->addRow(tr("R&epeat:"), fRepeat);
  form->addRow(new QLabel(tr("Options:")));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(options);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(refine);
  buttons->addWidget(adjust);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(fOrientation, &QComboBox::activated, this, &TAlignTracingDlg::ChooseOrientation);
}

TAlignTracingDlg::~TAlignTracingDlg() = default;

void TAlignTracingDlg::ChooseOrientation(int index) {
  const auto* orient = reinterpret_cast<const TXROrient*>(fOrientation->itemData(index).value<quintptr>());
  if (orient == nullptr) return;
  for (auto [slot, list] : {std::pair{0, fFirst}, std::pair{1, fSecond}})
    if (const TXRayElement* point = orient->Operand(slot)) list->setCurrentText(Utf8(point->Name));
  for (auto [slot, list] : {std::pair{2, fRefine}, std::pair{3, fAdjust}})
    if (const TXRayElement* drawing = orient->Operand(slot)) list->setCurrentText(Utf8(drawing->Name));
  fHotZone->setText(QString::number(HotZoneFromText(orient->Parameter2)));
}

TAlignOptions TAlignTracingDlg::Options() const {
  return {.Resize = static_cast<TAlignResize>(fOptions[0]->currentIndex()),
          .TranslateImage = fOptions[1]->currentIndex() == 0,
          .RotateImage = fOptions[2]->currentIndex() == 0};
}

double TAlignTracingDlg::HotZoneMm() const { return HotZoneFromText(Typed(fHotZone).value_or(NAN)); }

void TAlignTracingDlg::Refine() {
  const TRefineSettings settings{.HotZoneMm = HotZoneMm(), .Interpolate = fInterpolate->value(), .Repeat = fRepeat->value()};
  const TResult refined = AutoRefineAlignment(fRadiograph, ChosenDrawing(fRefine), settings, Options());
  if (!refined) return Tell(this, refined);
  emit Aligned();
}

void TAlignTracingDlg::AdjustPoints() {
  const TResult adjusted = AdjustPointsToImage(fRadiograph, ChosenDrawing(fAdjust), HotZoneMm(), fMovements);
  if (!adjusted) return Tell(this, adjusted);
  emit Aligned();
}

const std::vector<TFloatPoint>& TAlignTracingDlg::Marks() const { return fAlignment->Marks(); }

void TAlignTracingDlg::AddPoint(TFloatPoint at) {
  const TResultOf<bool> step = fAlignment->AddPoint(fRadiograph, at, fFirst->currentText().toStdString(),
                                                    fSecond->currentText().toStdString(), Options());
  const bool waiting = step && !*step;
  fFirst->setEnabled(!waiting);
  fSecond->setEnabled(waiting);
  if (!step) Tell(this, step.Outcome());
  if (step && *step) emit Aligned();
}

}  // namespace lumacet
