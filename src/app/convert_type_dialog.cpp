#include "app/convert_type_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumacet {

TConvertTypeForm::TConvertTypeForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("Convert Type"), tr("&Convert"), parent) {
  QVBoxLayout* layout = Layout();

  QPushButton* select = AddRecordsChooser(tr("1. Select radiographs to convert:"));
  fSourceTypes = AddTypeChooser(tr("2. Select original radiograph &Type:"));
  fTargetTypes = AddTypeChooser(tr("3. Select radiograph Type to &convert to:"));

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

  const TFileChooser target = AddFileChooser(tr("5. Select file to save results:"), tr("&File..."));
  fTarget = target.Field;
  AddButtonsAndStatus();

  SetInputs({select, fSourceTypes, fTargetTypes, fGrid, fChoices, target.Button});
  connect(target.Button, &QPushButton::clicked, this, [this] {
    if (const std::string path = ChooseDataFile(tr("Convert Type")); !path.empty()) SetTargetFile(path);
  });
  connect(fSourceTypes, &QComboBox::currentIndexChanged, this, &TConvertTypeForm::SourceTypeChosen);
  connect(fTargetTypes, &QComboBox::currentIndexChanged, this, &TConvertTypeForm::TargetTypeChosen);
  connect(fGrid, &QTableWidget::currentCellChanged, this, &TConvertTypeForm::RowChosen);
  connect(fChoices, &QComboBox::activated, this, &TConvertTypeForm::ChoiceMade);
  connect(StartButton(), &QPushButton::clicked, this, &TConvertTypeForm::Convert);
  SourceTypeChosen();
  TargetTypeChosen();
}

TConvertTypeForm::~TConvertTypeForm() = default;

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
  options.SourceFile = DataFile();
  options.Records = Records();
  options.SourceType = fSourceTypes->currentText().toStdString();
  options.TargetType = fTargetTypes->currentText().toStdString();
  options.TargetFile = fTarget->text().toStdString();
  options.Correspondences = fTable.Rows();
  BeginRun();
  const TConversionResult result =
      ConvertType(options, {fContext.Workspace->Types().Resolver(), fContext.Workspace->Options().Data},
                  [this](const std::string& status) { return Poll(status); });
  EndRun(result.Ok);
  for (const std::string& error : result.SaveErrors) ShowResult(false, TText(kSaveErrorMessage).English(), error);
  ShowResult(result.Ok, result.Message, result.Reason);
}

}  // namespace lumacet
