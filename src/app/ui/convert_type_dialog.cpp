#include "app/ui/convert_type_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumacet {

TConvertTypeForm::TConvertTypeForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("&Convert"), parent) {
  setWindowTitle(tr("Convert Type"));
  auto* layout = new QVBoxLayout(this);

  auto* records = new QGridLayout;
  records->addWidget(new QLabel(tr("1. Select radiographs to convert:")), 0, 0);
  auto* select = new QPushButton(tr("&Select..."));
  records->addWidget(select, 0, 1);
  fCount = new QLabel;
  records->addWidget(fCount, 1, 0, 1, 2);
  fDataFileField = new QLineEdit;
  fDataFileField->setReadOnly(true);
  records->addWidget(fDataFileField, 2, 0, 1, 2);
  layout->addLayout(records);

  auto* sourceLabel = new QLabel(tr("2. Select original radiograph &Type:"));
  fSourceTypes = new QComboBox;
  sourceLabel->setBuddy(fSourceTypes);
  auto* targetLabel = new QLabel(tr("3. Select radiograph Type to &convert to:"));
  fTargetTypes = new QComboBox;
  targetLabel->setBuddy(fTargetTypes);
  for (const std::string& name : fContext.Workspace->TypeNames()) {
    fSourceTypes->addItem(QString::fromStdString(name));
    fTargetTypes->addItem(QString::fromStdString(name));
  }
  layout->addWidget(sourceLabel);
  layout->addWidget(fSourceTypes);
  layout->addWidget(targetLabel);
  layout->addWidget(fTargetTypes);

  layout->addWidget(new QLabel(tr("4. Set point correspondences:")));
  fGrid = new QTableWidget(0, 2);
  fGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  fGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  fGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  fGrid->verticalHeader()->hide();
  fGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  layout->addWidget(fGrid, 1);
  fChoices = new QComboBox;
  layout->addWidget(fChoices);

  auto* output = new QGridLayout;
  output->addWidget(new QLabel(tr("5. Select file to save results:")), 0, 0);
  auto* chooseTarget = new QPushButton(tr("&File..."));
  output->addWidget(chooseTarget, 0, 1);
  fTarget = new QLineEdit;
  fTarget->setReadOnly(true);
  output->addWidget(fTarget, 1, 0, 1, 2);
  layout->addLayout(output);

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

  SetInputs({select, fSourceTypes, fTargetTypes, fGrid, fChoices, chooseTarget});
  connect(select, &QPushButton::clicked, this, [this] {
    std::string file;
    std::vector<int> chosen;
    if (ChooseRecords(fContext.Browser, this, file, chosen)) SetRecords(file, std::move(chosen));
  });
  connect(chooseTarget, &QPushButton::clicked, this, [this] {
    QFileDialog dialog(this, tr("Convert Type"), QString::fromStdString(fContext.Browser.DataFolder),
                       tr("Radiographs (*.csv);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // Records are appended: an existing file is what the user wants to add to.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      SetTargetFile(dialog.selectedFiles().front().toStdString());
  });
  connect(fSourceTypes, &QComboBox::currentIndexChanged, this, &TConvertTypeForm::SourceTypeChosen);
  connect(fTargetTypes, &QComboBox::currentIndexChanged, this, &TConvertTypeForm::TargetTypeChosen);
  connect(fGrid, &QTableWidget::currentCellChanged, this, &TConvertTypeForm::RowChosen);
  connect(fChoices, &QComboBox::activated, this, &TConvertTypeForm::ChoiceMade);
  connect(StartButton(), &QPushButton::clicked, this, &TConvertTypeForm::Convert);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  SetRecords({}, {});
  SourceTypeChosen();
  TargetTypeChosen();
}

TConvertTypeForm::~TConvertTypeForm() = default;

void TConvertTypeForm::SetRecords(const std::string& dataFile, std::vector<int> records) {
  fDataFile = dataFile;
  fRecords = std::move(records);
  fCount->setText(tr("%1 radiographs from file:").arg(fRecords.size()));
  fDataFileField->setText(QString::fromStdString(fDataFile));
}

void TConvertTypeForm::SetTargetFile(const std::string& path) { fTarget->setText(QString::fromStdString(path)); }

void TConvertTypeForm::SourceTypeChosen() {
  fSourceType = ReadDialogType(*fContext.Workspace, fSourceTypes->currentText().toStdString());
  const TXRayType none;
  fTable.SetSourceType(fSourceType != nullptr ? *fSourceType : none);
  fChoices->clear();
  for (const std::string& choice : fTable.Choices()) fChoices->addItem(QString::fromStdString(choice));
  fChoices->setCurrentIndex(0);
  ShowGrid();
}

void TConvertTypeForm::TargetTypeChosen() {
  fTargetType = ReadDialogType(*fContext.Workspace, fTargetTypes->currentText().toStdString());
  const TXRayType none;
  fTable.SetTargetType(fTargetType != nullptr ? *fTargetType : none);
  ShowGrid();
}

void TConvertTypeForm::ShowGrid() {
  const std::vector<TCorrespondence>& rows = fTable.Rows();
  const int current = fGrid->currentRow();
  fGrid->setHorizontalHeaderLabels({fTargetTypes->currentText(), fSourceTypes->currentText()});
  fGrid->setRowCount(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    fGrid->setItem(static_cast<int>(i), 0, new QTableWidgetItem(QString::fromStdString(rows[i].Target)));
    fGrid->setItem(static_cast<int>(i), 1, new QTableWidgetItem(QString::fromStdString(rows[i].Source)));
  }
  if (current >= 0 && current < fGrid->rowCount()) fGrid->setCurrentCell(current, 1);
}

void TConvertTypeForm::RowChosen() {
  const int row = fGrid->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= fTable.Rows().size()) return;
  fChoices->setCurrentText(QString::fromStdString(fTable.Rows()[static_cast<size_t>(row)].Source));
}

void TConvertTypeForm::ChoiceMade(int index) {
  const int row = fGrid->currentRow();
  if (row < 0 || index < 0) return;
  if (fTable.Assign(static_cast<size_t>(row), fChoices->itemText(index).toStdString())) ShowGrid();
}

void TConvertTypeForm::Convert() {
  if (!StartRequested()) return;
  TTypeConversionOptions options;
  options.SourceFile = fDataFile;
  options.Records = fRecords;
  options.SourceType = fSourceTypes->currentText().toStdString();
  options.TargetType = fTargetTypes->currentText().toStdString();
  options.TargetFile = fTarget->text().toStdString();
  options.Correspondences = fTable.Rows();
  BeginRun();
  const TConversionResult result =
      ConvertType(options, {fContext.Workspace->Types().Resolver(), fContext.Workspace->Options().Data},
                  [this](const std::string& status) { return Poll(status); });
  ShowStatus(result.Ok ? std::string(kCompletedStatus) : std::string());
  EndRun();
  TWorkspacePrompts& prompts = *fContext.Prompts;
  for (const std::string& error : result.SaveErrors)
    prompts.ShowMessage(std::string(kSaveErrorMessage) + "\r\n\r\n" + error);
  prompts.ShowMessage(result.Reason.empty() ? result.Message : result.Message + "\r\n\r\n" + result.Reason);
}

}  // namespace lumacet
