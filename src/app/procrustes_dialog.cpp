#include "app/procrustes_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/list_elements.h"

namespace lumacet {

TProcForm::TProcForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("Procrustes & PCA"), tr("&Calculate"), parent) {
  QVBoxLayout* layout = Layout();

  QPushButton* select = AddRecordsChooser(tr("1. Select radiographs to use for calculating:"));
  fTypes = AddTypeChooser(tr("2. Select radiograph &Type:"));

  fPcas = AddList(tr("3. Select &PCA:"));

  const TFileChooser results =
      AddFileChooser(tr("4. Select file for results (data will be appended to the file): "), tr("F&ile..."));
  fResults = results.Field;

  fFlip = new QCheckBox(tr("Flip &Y-axis (do not use for radiograph type)."));
  layout->addWidget(fFlip);

  auto* outputs = new QGroupBox(tr("Output"));
  auto* outputLayout = new QGridLayout(outputs);
  const QString captions[kOutputCount] = {tr("&Consensus (mean)*"), tr("&Residuals"),    tr("Sc&ores"),   tr("Si&zes"),
                                          tr("PC &Variances*"),     tr("PC &Loadings*"), tr("&Distances")};
  for (int i = 0; i < kOutputCount; ++i) {
    fOutputs[i] = new QCheckBox(captions[i]);
    outputLayout->addWidget(fOutputs[i], i % 4, i / 4);
  }
  const TReportOptions defaults;
  fOutputs[oConsensus]->setChecked(defaults.Consensus);
  fOutputs[oVariances]->setChecked(defaults.Variances);
  fOutputs[oLoadings]->setChecked(defaults.Loadings);
  outputLayout->addWidget(new QLabel(tr("(* required for Type)")), 3, 1);
  layout->addWidget(outputs);

  fNames = new QCheckBox(tr("Include Radiograph &Names"));
  fAnonymize = new QCheckBox(tr("An&onymize"));
  fAnonymize->setToolTip(tr("Radiographs are named by their record numbers"));
  auto* names = new QHBoxLayout;
  names->addWidget(fNames);
  names->addWidget(fAnonymize);
  layout->addLayout(names);

  const TScaleChoice scale = AddScaleChoice(tr("Calculate at:"), true);
  fLifeSize = scale.LifeSize;
  fXRaySize = scale.XRaySize;

  AddButtonsAndStatus();

  SetInputs({select, fTypes, fPcas, results.Button, fFlip, outputs, fNames, fAnonymize, scale.Box});
  connect(results.Button, &QPushButton::clicked, this, [this] {
    if (const std::string path = ChooseResultsFile(tr("Results File")); !path.empty()) SetResultsFile(path);
  });
  connect(fTypes, &QComboBox::currentIndexChanged, this, &TProcForm::TypeChosen);
  connect(StartButton(), &QPushButton::clicked, this, &TProcForm::Calculate);
  TypeChosen();
}

TProcForm::~TProcForm() = default;

void TProcForm::SetResultsFile(const std::string& path) { fResults->setText(QString::fromStdString(path)); }

void TProcForm::TypeChosen() {
  fPcas->clear();
  fType = ReadDialogType(*fContext.Workspace, fTypes->currentText().toStdString());
  if (fType == nullptr) return;
  for (const std::string& name : fType->ElementNames({ekPCA})) fPcas->addItem(QString::fromStdString(name));
}

TProcrustesRequest TProcForm::Request() const {
  TProcrustesRequest request;
  request.DataFile = DataFile();
  request.Records = Records();
  request.TypeName = fTypes->currentText().toStdString();
  request.PcaName = fPcas->currentText().toStdString();
  // The points as the type file defines them: a run over a type changed since is refused.
  if (fType) request.PcaPoints = PcaPointNames(*fType, request.PcaName);
  request.ResultsFile = fResults->text().toStdString();
  request.FlipY = fFlip->isChecked();
  request.LifeSize = fLifeSize->isChecked();
  TReportOptions& report = request.Report;
  report.Consensus = fOutputs[oConsensus]->isChecked();
  report.Residuals = fOutputs[oResiduals]->isChecked();
  report.Scores = fOutputs[oScores]->isChecked();
  report.Sizes = fOutputs[oSizes]->isChecked();
  report.Variances = fOutputs[oVariances]->isChecked();
  report.Loadings = fOutputs[oLoadings]->isChecked();
  report.Distances = fOutputs[oDistances]->isChecked();
  report.Names = fNames->isChecked();
  request.Anonymize = fAnonymize->isChecked();
  return request;
}

void TProcForm::Calculate() {
  if (!StartRequested()) return;
  TWorkspacePrompts& prompts = *fContext.Prompts;
  const TProcrustesRequest request = Request();
  const std::vector<std::string> pcaNames =
      fType != nullptr ? fType->ElementNames({ekPCA}) : std::vector<std::string>{};
  if (const std::string error = ProcrustesRequestError(request, pcaNames); !error.empty()) {
    prompts.ShowMessage(error);
    return;
  }

  BeginRun();
  TProcrustesPrompts runPrompts;
  runPrompts.Status = [this](const std::string& status) { return Poll(status); };
  runPrompts.Skip = [&prompts](const std::string& message) { return prompts.ConfirmOkCancel(message); };
  runPrompts.Proceed = [&prompts](const std::string& message) { return prompts.Confirm(message); };
  const TProcrustesResult result =
      RunProcrustes(request, fContext.Workspace->Types().Resolver(), fContext.Workspace->Options().Data, runPrompts);
  if (result.Outcome == TProcrustesOutcome::Refused || result.Outcome == TProcrustesOutcome::Failed)
    prompts.ShowMessage(result.Message);
  // A run that could not read or write has not completed, whatever else it did.
  EndRun(result.Outcome != TProcrustesOutcome::Failed);
}

}  // namespace lumacet
