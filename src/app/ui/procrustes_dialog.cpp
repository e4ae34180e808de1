#include "app/ui/procrustes_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/qt_prompts.h"
#include "model/list_elements.h"

namespace lumacet {

TProcForm::TProcForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("&Calculate"), parent) {
  setWindowTitle(tr("Procrustes & PCA"));
  auto* layout = new QVBoxLayout(this);

  auto* records = new QGridLayout;
  records->addWidget(new QLabel(tr("1. Select radiographs to use for calculating:")), 0, 0);
  auto* select = new QPushButton(tr("&Select..."));
  records->addWidget(select, 0, 1);
  fCount = new QLabel;
  records->addWidget(fCount, 1, 0, 1, 2);
  fDataFileField = new QLineEdit;
  fDataFileField->setReadOnly(true);
  records->addWidget(fDataFileField, 2, 0, 1, 2);
  layout->addLayout(records);

  auto* typeLabel = new QLabel(tr("2. Select radiograph &Type:"));
  fTypes = new QComboBox;
  typeLabel->setBuddy(fTypes);
  for (const std::string& name : fContext.Workspace->TypeNames()) fTypes->addItem(QString::fromStdString(name));
  layout->addWidget(typeLabel);
  layout->addWidget(fTypes);

  auto* pcaLabel = new QLabel(tr("3. Select &PCA:"));
  fPcas = new QComboBox;
  pcaLabel->setBuddy(fPcas);
  layout->addWidget(pcaLabel);
  layout->addWidget(fPcas);

  auto* results = new QGridLayout;
  results->addWidget(new QLabel(tr("4. Select file for results (data will be appended to the file): ")), 0, 0);
  auto* chooseResults = new QPushButton(tr("F&ile..."));
  results->addWidget(chooseResults, 0, 1);
  fResults = new QLineEdit;
  fResults->setReadOnly(true);
  results->addWidget(fResults, 1, 0, 1, 2);
  layout->addLayout(results);

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
  layout->addWidget(fNames);

  auto* scale = new QGroupBox(tr("Calculate at:"));
  auto* scaleLayout = new QHBoxLayout(scale);
  fLifeSize = new QRadioButton(tr("Life size (LIFE)"));
  fXRaySize = new QRadioButton(tr("Radiograph size (XRAY)"));
  fLifeSize->setChecked(true);
  scaleLayout->addWidget(fLifeSize);
  scaleLayout->addWidget(fXRaySize);
  layout->addWidget(scale);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(StartButton());
  auto* close = new QPushButton(tr("Close"));
  buttons->addWidget(close);
  auto* help = new QPushButton(tr("&Help"));
  help->setEnabled(false);  // there are no help pages yet
  buttons->addWidget(help);
  layout->addLayout(buttons);
  layout->addWidget(StatusPanel());

  SetInputs({select, fTypes, fPcas, chooseResults, fFlip, outputs, fNames, scale});
  connect(select, &QPushButton::clicked, this, &TProcForm::ChooseRecords);
  connect(chooseResults, &QPushButton::clicked, this, &TProcForm::ChooseResultsFile);
  connect(fTypes, &QComboBox::currentIndexChanged, this, &TProcForm::TypeChosen);
  connect(StartButton(), &QPushButton::clicked, this, &TProcForm::Calculate);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  SetRecords({}, {});
  TypeChosen();
}

TProcForm::~TProcForm() = default;

void TProcForm::SetRecords(const std::string& dataFile, std::vector<int> records) {
  fDataFile = dataFile;
  fRecords = std::move(records);
  fCount->setText(tr("%1 radiographs from file:").arg(fRecords.size()));
  fDataFileField->setText(QString::fromStdString(fDataFile));
}

void TProcForm::SetResultsFile(const std::string& path) { fResults->setText(QString::fromStdString(path)); }

void TProcForm::TypeChosen() {
  fPcas->clear();
  fType = ReadDialogType(*fContext.Workspace, fTypes->currentText().toStdString());
  if (fType == nullptr) return;
  for (const std::string& name : fType->ElementNames({ekPCA})) fPcas->addItem(QString::fromStdString(name));
}

void TProcForm::ChooseRecords() {
  std::string file;
  std::vector<int> records;
  if (lumacet::ChooseRecords(fContext.Browser, this, file, records)) SetRecords(file, std::move(records));
}

void TProcForm::ChooseResultsFile() {
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Results File"), QString::fromStdString(fContext.ResultsFolder),
                                   tr("Text files (*.txt);;All files (*)"), nullptr, QFileDialog::DontConfirmOverwrite);
  if (!path.isEmpty()) SetResultsFile(path.toStdString());
}

TProcrustesRequest TProcForm::Request() const {
  TProcrustesRequest request;
  request.DataFile = fDataFile;
  request.Records = fRecords;
  request.TypeName = fTypes->currentText().toStdString();
  request.PcaName = fPcas->currentText().toStdString();
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
  // OK / Cancel and Yes / No: the answer that goes on is the first.
  runPrompts.Skip = [&prompts](const std::string& message) { return prompts.Confirm(message); };
  runPrompts.Proceed = [&prompts](const std::string& message) { return prompts.Confirm(message); };
  const TProcrustesResult result =
      RunProcrustes(request, fContext.Workspace->Types().Resolver(), fContext.Workspace->Options().Data, runPrompts);
  if (result.Outcome == TProcrustesOutcome::Refused || result.Outcome == TProcrustesOutcome::Failed)
    prompts.ShowMessage(result.Message);
  // A run that could not read or write has not completed, whatever else it did.
  ShowStatus(result.Outcome == TProcrustesOutcome::Failed ? std::string() : std::string(kCompletedStatus));
  EndRun();
}

}  // namespace lumacet
