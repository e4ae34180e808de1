#include "app/magnification_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphics/display.h"
#include "graphics/measuring_tools.h"
#include "platform/user_locale.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

std::optional<double> ReadNumber(const QLineEdit* field) {
  return ReadTypedNumber(field->text().toStdString(), LocaleDecimalSeparator());
}

}  // namespace

TMagnificationDlg::TMagnificationDlg(double measuredMillimetres, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Magnification"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  fMeasured = new QLineEdit(QString::fromStdString(
      RulerMeasuredText(measuredMillimetres * kUnitsPerMillimetre, LocaleDecimalSeparator())));
  const std::optional<int> lifeSize = InitialLifeSize(measuredMillimetres);
  fLifeSize = new QLineEdit(lifeSize ? QString::number(*lifeSize) : QString());
  fMagnification = new QLineEdit;
  fMagnification->setReadOnly(true);
  form->addRow(tr("M&easured:"), fMeasured);
  form->addRow(tr("&Life Size:"), fLifeSize);
  form->addRow(tr("&Magnification:"), fMagnification);
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  fSet = new QPushButton(tr("<< &Set this Magnification"));
  fSet->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"));
  buttons->addWidget(fSet);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(fMeasured, &QLineEdit::textChanged, this, &TMagnificationDlg::Recompute);
  connect(fLifeSize, &QLineEdit::textChanged, this, &TMagnificationDlg::Recompute);
  connect(fSet, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  Recompute();
}

std::optional<double> TMagnificationDlg::Magnification() const {
  const std::optional<double> measured = ReadNumber(fMeasured);
  const std::optional<double> lifeSize = ReadNumber(fLifeSize);
  if (!measured || !lifeSize) return std::nullopt;
  const std::optional<double> magnification = DialogMagnification(*measured, *lifeSize);
  return CanSetMagnification(magnification) ? magnification : std::nullopt;
}

void TMagnificationDlg::Recompute() {
  const std::optional<double> measured = ReadNumber(fMeasured);
  const std::optional<double> lifeSize = ReadNumber(fLifeSize);
  const std::optional<double> magnification =
      measured && lifeSize ? DialogMagnification(*measured, *lifeSize) : std::nullopt;
  fMagnification->setText(QString::fromStdString(MagnificationText(magnification, LocaleDecimalSeparator())));
  fSet->setEnabled(CanSetMagnification(magnification));
}

}  // namespace lumacet
