#include "app/mean_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/xray.h"
#include "model/xray_type.h"

namespace lumacet {

TMeanForm::TMeanForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("Mean"), tr("&Calculate Mean"), parent) {
  QVBoxLayout* layout = Layout();
  QPushButton* select = AddRecordsChooser(tr("1. Select radiographs to use for calculating mean:"));
  fTypes = AddTypeChooser(tr("2. Select radiograph &Type:"));

  fSuperimpositions = AddList(tr("3. Select S&uperimposition:"));

  layout->addWidget(new QLabel(tr("4. Options:")));
  fPairwise = new QCheckBox(tr("Average &pairs of radiographs and save in file:"));
  layout->addWidget(fPairwise);
  const TFileChooser pairs = AddFileChooser({}, tr("&File..."));
  fPairsButton = pairs.Button;
  fPairsFile = pairs.Field;
  AddButtonsAndStatus();

  SetInputs({select, fTypes, fSuperimpositions, fPairwise, fPairsButton});
  connect(fPairsButton, &QPushButton::clicked, this, [this] {
    if (const std::string path = ChooseDataFile(tr("Mean")); !path.empty()) SetPairsFile(path);
  });
  connect(fTypes, &QComboBox::currentIndexChanged, this, &TMeanForm::TypeChosen);
  connect(fPairwise, &QCheckBox::toggled, this, &TMeanForm::PairwiseChosen);
  connect(StartButton(), &QPushButton::clicked, this, &TMeanForm::Calculate);
  TypeChosen();
  PairwiseChosen();
}

TMeanForm::~TMeanForm() = default;

void TMeanForm::SetPairsFile(const std::string& path) { fPairsFile->setText(QString::fromStdString(path)); }

void TMeanForm::TypeChosen() {
  fSuperimpositions->clear();
  std::unique_ptr<TXRayType> type = ReadDialogType(*fContext.Workspace, fTypes->currentText().toStdString());
  if (type == nullptr) return;
  for (const std::string& name : type->ElementNames({ekSupimp})) fSuperimpositions->addItem(QString::fromStdString(name));
}

void TMeanForm::PairwiseChosen() {
  fPairsButton->setEnabled(fPairwise->isChecked() && !Running());
  fPairsFile->setEnabled(fPairwise->isChecked());
}

TMeanRequest TMeanForm::Request() const {
  return {.DataFile = DataFile(),
          .Records = Records(),
          .TypeName = fTypes->currentText().toStdString(),
          .SuperimpositionName = fSuperimpositions->currentText().toStdString(),
          .Pairwise = fPairwise->isChecked(),
          .PairsFile = fPairsFile->text().toStdString()};
}

void TMeanForm::Calculate() {
  if (!StartRequested()) return;
  TWorkspace& workspace = *fContext.Workspace;
  const TMeanRequest request = Request();
  if (const std::string error = MeanRequestError(request, workspace.EmptyPlaceAtBelow(0) >= 0); !error.empty()) {
    fContext.Prompts->ShowMessage(error);
    return;
  }
  BeginRun();
  TMeanResult result = RunMean(request, workspace.Types().Resolver(), workspace.Options().Data,
                               [this](const std::string& status) { return Poll(status); });
  if (!result.Outcome) fContext.Prompts->ShowText(result.Outcome.TextWithReason());
  if (result.Mean != nullptr && workspace.PlaceNew(std::move(result.Mean)) < 0)
    fContext.Prompts->ShowMessage(std::string(kNoRoomMessage));
  EndRun(result.Outcome.Ok() && !result.Stopped);
  PairwiseChosen();
}

}  // namespace lumacet
