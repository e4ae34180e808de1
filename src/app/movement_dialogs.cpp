#include "app/movement_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/qt_prompts.h"
#include "model/xray_type.h"
#include "platform/user_locale.h"
#include "simulation/movement_tool.h"

namespace lumacet {

namespace {

QLineEdit* Field(const char* name, const QString& text = QStringLiteral("0")) {
  auto* field = new QLineEdit(text);
  field->setObjectName(QString::fromLatin1(name));
  return field;
}

QString Whole(double value) { return QString::number(value, 'g', 15); }

}  // namespace

TMoveDetailedForm::TMoveDetailedForm(TMovementTool& tool, std::function<TRadiograph*()> current,
                                     std::function<void(const TMovement&)> perform, QWidget* parent)
    : QDialog(parent, Qt::Tool), fTool(tool), fCurrent(std::move(current)), fPerform(std::move(perform)) {
  setWindowTitle(tr("Move"));
  auto* grid = new QGridLayout(this);
  fDx = Field("dx");
  fDy = Field("dy");
  fAngle = Field("angle");
  fX = Field("x");
  fY = Field("y");
  fPoints = new QComboBox;
  fPoints->setObjectName(QStringLiteral("points"));
  fTranslate = new QPushButton(tr("&Translate"));
  fRotate = new QPushButton(tr("&Rotate"));
  auto* setCentre = new QPushButton(tr("&Set To ->"));
  fSetToPoint = new QPushButton(tr("S&et To ->"));
  fMessage = new QLabel;
  fMessage->setObjectName(QStringLiteral("message"));
  fMessage->setStyleSheet(QStringLiteral("color: #b00000"));
  fMessage->setWordWrap(true);

  grid->addWidget(new QLabel(tr("dX (mm):")), 0, 0);
  grid->addWidget(fDx, 0, 1);
  grid->addWidget(new QLabel(tr("dY (mm):")), 1, 0);
  grid->addWidget(fDy, 1, 1);
  grid->addWidget(fTranslate, 0, 2, 2, 1);
  grid->addWidget(new QLabel(tr("Angle (degrees):")), 2, 0);
  grid->addWidget(fAngle, 2, 1);
  grid->addWidget(fRotate, 2, 2);
  grid->addWidget(new QLabel(tr("Rotation centre")), 3, 0, 1, 3);
  grid->addWidget(new QLabel(tr("X:")), 4, 0);
  grid->addWidget(fX, 4, 1);
  grid->addWidget(new QLabel(tr("Y:")), 5, 0);
  grid->addWidget(fY, 5, 1);
  grid->addWidget(setCentre, 4, 2, 2, 1);
  grid->addWidget(fPoints, 6, 0, 1, 2);
  grid->addWidget(fSetToPoint, 6, 2);
  grid->addWidget(fMessage, 7, 0, 1, 3);

  connect(fTranslate, &QPushButton::clicked, this, &TMoveDetailedForm::Translate);
  connect(fRotate, &QPushButton::clicked, this, &TMoveDetailedForm::Rotate);
  connect(setCentre, &QPushButton::clicked, this, &TMoveDetailedForm::SetCentre);
  connect(fSetToPoint, &QPushButton::clicked, this, &TMoveDetailedForm::SetCentreToPoint);
  Update();
}

void TMoveDetailedForm::Update() {
  fX->setText(Whole(fTool.RotationCentre.X));
  fY->setText(Whole(fTool.RotationCentre.Y));
  TRadiograph* radiograph = fCurrent();
  const bool enabled = radiograph != nullptr && radiograph->Type() != nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{fTranslate, fRotate, fPoints, fSetToPoint}) w->setEnabled(enabled);
  const QString chosen = fPoints->currentText();
  fPoints->clear();
  if (!enabled) return;
  std::vector<std::string> names = radiograph->Type()->ElementNames({ekDigPoint, ekDerPoint});
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) fPoints->addItem(Utf8(name));
  if (const int at = fPoints->findText(chosen); at >= 0) fPoints->setCurrentIndex(at);
}

void TMoveDetailedForm::Show(const QString& message) { fMessage->setText(message); }

void TMoveDetailedForm::Translate() {
  TRadiograph* radiograph = fCurrent();
  if (radiograph == nullptr) return;
  TResultOf<TMovement> m =
      TypedTranslation(fDx->text().toStdString(), fDy->text().toStdString(), LocaleDecimalSeparator());
  if (!m) return Show(DisplayText(m.Text()));
  if (radiograph->Selection.empty()) return Show(tr("No points selected."));
  Show({});
  m->Elements = radiograph->Selection;
  fPerform(*m);
}

void TMoveDetailedForm::Rotate() {
  TRadiograph* radiograph = fCurrent();
  if (radiograph == nullptr) return;
  TResultOf<TMovement> m = TypedRotation(fAngle->text().toStdString(), fTool.RotationCentre, LocaleDecimalSeparator());
  if (!m) return Show(DisplayText(m.Text()));
  if (radiograph->Selection.empty()) return Show(tr("No points selected."));
  Show({});
  m->Elements = radiograph->Selection;
  fPerform(*m);
}

void TMoveDetailedForm::SetCentre() {
  TResultOf<TFloatPoint> centre = TypedCentre(fX->text().toStdString(), fY->text().toStdString(), LocaleDecimalSeparator());
  if (!centre) return Show(DisplayText(centre.Text()));
  Show({});
  fTool.RotationCentre = *centre;
  Update();
  emit CentreChanged();
}

void TMoveDetailedForm::SetCentreToPoint() {
  TRadiograph* radiograph = fCurrent();
  if (radiograph == nullptr || radiograph->Type() == nullptr) return;
  const TLoadedRadiograph loaded = radiograph->Load();
  const std::optional<TFloatPoint> at =
      loaded.Position(loaded.Find(fPoints->currentText().toStdString(), ekAnyPoint));
  if (!at) return Show(tr("The point %1 is not valid.").arg(fPoints->currentText()));
  Show({});
  const TIntPoint rounded = RoundSaturated(*at);
  fTool.RotationCentre = {static_cast<double>(rounded.X), static_cast<double>(rounded.Y)};
  Update();
  emit CentreChanged();
}

TScaleDlg::TScaleDlg(double magnification, QWidget* parent) : QDialog(parent), fMagnification(magnification) {
  setWindowTitle(tr("Scale by..."));
  auto* layout = new QVBoxLayout(this);
  fReduce = new QRadioButton(tr("&Reduce to Life Size"));
  fEnlarge = new QRadioButton(tr("&Enlarge to Radiograph Size"));
  fOther = new QRadioButton(tr("&Other:"));
  fOtherFactor = Field("factor", QStringLiteral("1"));
  fOtherFactor->setEnabled(false);
  fReduce->setChecked(true);
  layout->addWidget(fReduce);
  layout->addWidget(fEnlarge);
  auto* other = new QHBoxLayout;
  other->addWidget(fOther);
  other->addWidget(fOtherFactor);
  layout->addLayout(other);
  connect(fOther, &QRadioButton::toggled, fOtherFactor, &QLineEdit::setEnabled);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

double TScaleDlg::Factor() const {
  if (fReduce->isChecked()) return ReduceToLifeSizeFactor(fMagnification);
  if (fEnlarge->isChecked()) return EnlargeToRadiographSizeFactor(fMagnification);
  return TypedScaleFactor(fOtherFactor->text().toStdString(), LocaleDecimalSeparator()).ValueOr(1.0);
}

void TScaleDlg::accept() {
  if (fOther->isChecked()) {
    const TResultOf<double> factor = TypedScaleFactor(fOtherFactor->text().toStdString(), LocaleDecimalSeparator());
    if (!factor) {
      QMessageBox::warning(this, windowTitle(), DisplayText(factor.Text()));
      fOtherFactor->setFocus();
      return;
    }
  }
  QDialog::accept();
}

}  // namespace lumacet
