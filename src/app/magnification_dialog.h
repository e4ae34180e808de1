// "Magnification": opened by the magnification tool with the length its ruler measured; the
// user gives the life size the ruler spans and sets the magnification that follows.
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace lumacet {

class TMagnificationDlg : public QDialog {
  Q_OBJECT

 public:
  TMagnificationDlg(double measuredMillimetres, QWidget* parent = nullptr);

  // The magnification the fields give, when the button may set it.
  std::optional<double> Magnification() const;

  QLineEdit* MeasuredField() const { return fMeasured; }
  QLineEdit* LifeSizeField() const { return fLifeSize; }
  QPushButton* SetButton() const { return fSet; }

 private:
  void Recompute();

  QLineEdit* fMeasured = nullptr;
  QLineEdit* fLifeSize = nullptr;
  QLineEdit* fMagnification = nullptr;
  QPushButton* fSet = nullptr;
};

}  // namespace lumacet
