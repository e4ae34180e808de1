#include "app/export_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <ctime>

#include "model/list_elements.h"
#include "population/send_to.h"

namespace lumacet {

TExportForm::TExportForm(TPopulationContext context, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("Export"), tr("&Export"), parent) {
  QVBoxLayout* layout = Layout();

  const TFileChooser source = AddFileChooser(tr("1. Select file where radiographs are stored:"), tr("&File..."));
  fSource = source.Field;
  fTypes = AddTypeChooser(tr("2. Select radiograph &Type:"));

  layout->addWidget(new QLabel(tr("3. Select data to Export:")));
  fPages = new QTabWidget;
  auto* measurements = new QWidget;
  auto* measurementLayout = new QVBoxLayout(measurements);
  auto* analysisLabel = new QLabel(tr("Select &Analysis:"));
  fAnalyses = new QComboBox;
  analysisLabel->setBuddy(fAnalyses);
  measurementLayout->addWidget(analysisLabel);
  measurementLayout->addWidget(fAnalyses);
  fFullPrecision = new QCheckBox(tr("Full Precision"));
  fSkipLabels = new QCheckBox(tr("Skip Labels"));
  fSkipLabels->setChecked(true);
  measurementLayout->addWidget(fFullPrecision);
  measurementLayout->addWidget(fSkipLabels);
  auto* variables = new QGroupBox(tr("Export Variables:"));
  auto* variablesLayout = new QVBoxLayout(variables);
  auto* inText = new QRadioButton(tr("In Text Analysis"));
  fAllVariables = new QRadioButton(tr("All Variables"));
  inText->setChecked(true);
  variablesLayout->addWidget(inText);
  variablesLayout->addWidget(fAllVariables);
  measurementLayout->addWidget(variables);
  fPages->addTab(measurements, tr("Measurements"));

  auto* coordinates = new QWidget;
  auto* coordinateLayout = new QVBoxLayout(coordinates);
  auto* drawingLabel = new QLabel(tr("Select &Drawing:"));
  fDrawings = new QComboBox;
  drawingLabel->setBuddy(fDrawings);
  fPointCount = new QLabel;
  coordinateLayout->addWidget(drawingLabel);
  coordinateLayout->addWidget(fDrawings);
  coordinateLayout->addWidget(fPointCount);
  fReflect = new QCheckBox(tr("Reflect Y-axis (Flip Vertical)."));
  fSkipMissing = new QCheckBox(tr("Skip radiographs with missing points."));
  fPointPerLine = new QCheckBox(tr("Each point on a new line."));
  for (QCheckBox* box : {fReflect, fSkipMissing, fPointPerLine}) {
    box->setChecked(true);
    coordinateLayout->addWidget(box);
  }
  fPages->addTab(coordinates, tr("Point Coordinates"));
  layout->addWidget(fPages);

  // The scale the main window measures at, so that an export repeats what the user read there.
  const TScaleChoice scale = AddScaleChoice(
      tr("Export measurements at:"), fContext.Workspace != nullptr && fContext.Workspace->Options().Data.ShowLifeSize);
  fLifeSize = scale.LifeSize;

  auto* headers = new QGroupBox(tr("First line contains Headers:"));
  auto* headersLayout = new QHBoxLayout(headers);
  fHeaders = new QCheckBox(tr("&Variable or Point names"));
  // A table without names is an unlabelled block of numbers to whoever reads it next.
  fHeaders->setChecked(true);
  fAbbreviated = new QCheckBox(tr("Abb&reviated (8 chars)"));
  headersLayout->addWidget(fHeaders);
  headersLayout->addWidget(fAbbreviated);
  layout->addWidget(headers);

  auto* include = new QGroupBox(tr("Include:"));
  auto* includeLayout = new QGridLayout(include);
  const QString captions[kIncludeCount] = {tr("&Name"),          tr("A&ge"),         tr("Date of &Birth"),
                                           tr("&Sex (F - M)"),   tr("Se&x (1 - 0)"), tr("&Comments"),
                                           tr("&Magnification"), tr("Date Ta&ken")};
  for (int i = 0; i < kIncludeCount; ++i) {
    fInclude[i] = new QCheckBox(captions[i]);
    includeLayout->addWidget(fInclude[i], i / 4, i % 4);
  }
  fInclude[iName]->setChecked(true);
  fAnonymize = new QCheckBox(tr("An&onymize"));
  fAnonymize->setToolTip(tr("No name, date of birth or comment: radiographs are called by their record numbers"));
  includeLayout->addWidget(fAnonymize, 2, 0, 1, 4);
  fInclude[iAge]->setToolTip(tr("Age as Years (in decimal fractions)"));
  fInclude[iSex]->setToolTip(tr("Sex as F(emale) or M(ale)"));
  fInclude[iSexNum]->setToolTip(tr("Sex as 1(=Female) or 0(=Male)"));
  layout->addWidget(include);

  auto* target = new QGroupBox(tr("4. Send data to:"));
  auto* targetLayout = new QGridLayout(target);
  fWorkbook = new QRadioButton(tr("New spreadsheet"));
  fWorkbook->setToolTip(tr("A new workbook in the results folder, opened when the export is done"));
  auto* toFile = new QRadioButton(tr("File:"));
  toFile->setChecked(true);
  auto* chooseTarget = new QPushButton(tr("F&ile..."));
  fTarget = new QLineEdit;
  targetLayout->addWidget(fWorkbook, 0, 0);
  targetLayout->addWidget(toFile, 1, 0);
  targetLayout->addWidget(chooseTarget, 1, 1);
  targetLayout->addWidget(fTarget, 2, 0, 1, 2);
  auto* delimiter = new QGroupBox(tr(" &Delimiter "));
  auto* delimiterLayout = new QHBoxLayout(delimiter);
  const QString delimiterCaptions[kDelimiterCount] = {tr("Tab"), tr("Comma"), tr("Space"), tr("Other:")};
  auto* delimiterGroup = new QButtonGroup(this);
  for (int i = 0; i < kDelimiterCount; ++i) {
    fDelimiters[i] = new QRadioButton(delimiterCaptions[i]);
    delimiterGroup->addButton(fDelimiters[i]);
    delimiterLayout->addWidget(fDelimiters[i]);
  }
  fDelimiters[dTab]->setChecked(true);
  fOther = new QLineEdit;
  fOther->setMaximumWidth(60);
  delimiterLayout->addWidget(fOther);
  targetLayout->addWidget(delimiter, 3, 0, 1, 2);
  auto* encodingLabel = new QLabel(tr("E&ncoding:"));
  fEncoding = new QComboBox;
  fEncoding->addItem(tr("Windows-1252"), static_cast<int>(TTextEncoding::Windows1252));
  fEncoding->addItem(tr("UTF-8"), static_cast<int>(TTextEncoding::Utf8));
  encodingLabel->setBuddy(fEncoding);
  fByteOrderMark = new QCheckBox(tr("Byte-order &mark"));
  auto* missingLabel = new QLabel(tr("Missing va&lues:"));
  fMissing = new QLineEdit;
  fMissing->setPlaceholderText(tr("N/A, nil"));
  fMissing->setToolTip(tr("What a value that cannot be measured reads as; NA or nothing for R and pandas"));
  missingLabel->setBuddy(fMissing);
  auto* format = new QWidget;
  auto* formatLayout = new QHBoxLayout(format);
  formatLayout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{encodingLabel, fEncoding, fByteOrderMark, missingLabel, fMissing})
    formatLayout->addWidget(widget);
  targetLayout->addWidget(format, 4, 0, 1, 2);
  layout->addWidget(target);

  AddButtonsAndStatus();

  SetInputs({source.Button, fTypes, fPages, scale.Box, headers, include, fWorkbook, toFile, chooseTarget, fTarget,
             delimiter, format});
  fFileOnly = {chooseTarget, fTarget, delimiter, format};
  connect(source.Button, &QPushButton::clicked, this, [this] {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Radiographs"), QString::fromStdString(fContext.Browser.DataFolder),
                                     tr("Radiographs (*.csv);;All files (*)"));
    if (!path.isEmpty()) SetSourceFile(path.toStdString());
  });
  connect(chooseTarget, &QPushButton::clicked, this, [this] {
    if (const std::string path = ChooseResultsFile(tr("Export"), TargetFilter()); !path.empty()) SetTargetFile(path);
  });
  connect(fTypes, &QComboBox::currentIndexChanged, this, &TExportForm::TypeChosen);
  connect(fDrawings, &QComboBox::currentIndexChanged, this, &TExportForm::DrawingChosen);
  connect(fHeaders, &QCheckBox::toggled, this, &TExportForm::UpdateEnabling);
  connect(delimiterGroup, &QButtonGroup::buttonToggled, this, &TExportForm::UpdateEnabling);
  connect(fEncoding, &QComboBox::currentIndexChanged, this, &TExportForm::UpdateEnabling);
  connect(fWorkbook, &QRadioButton::toggled, this, &TExportForm::UpdateEnabling);
  connect(StartButton(), &QPushButton::clicked, this, &TExportForm::Export);
  TypeChosen();
  UpdateEnabling();
}

TExportForm::~TExportForm() = default;

void TExportForm::SetSourceFile(const std::string& path) { fSource->setText(QString::fromStdString(path)); }

void TExportForm::SetTargetFile(const std::string& path) { fTarget->setText(QString::fromStdString(path)); }

void TExportForm::TypeChosen() {
  fAnalyses->clear();
  fDrawings->clear();
  fType = ReadDialogType(*fContext.Workspace, fTypes->currentText().toStdString());
  if (fType != nullptr) {
    for (const std::string& name : fType->ElementNames({ekAnalysis})) fAnalyses->addItem(QString::fromStdString(name));
    if (fType->CurrentAnalysis != nullptr)
      fAnalyses->setCurrentText(QString::fromStdString(fType->CurrentAnalysis->Name));
    for (const std::string& name : fType->ElementNames({ekGraphic})) fDrawings->addItem(QString::fromStdString(name));
  }
  DrawingChosen();
}

void TExportForm::DrawingChosen() {
  const auto* drawing =
      fType != nullptr
          ? dynamic_cast<TXRGraphic*>(fType->FindElement(fDrawings->currentText().toStdString(), ekGraphic))
          : nullptr;
  fPointCount->setText(tr("Points: %1").arg(drawing != nullptr ? drawing->Points.size() : 0));
}

void TExportForm::UpdateEnabling() {
  if (Running()) return;
  fAbbreviated->setEnabled(fHeaders->isChecked());
  fOther->setEnabled(fDelimiters[dOther]->isChecked());
  fByteOrderMark->setEnabled(fEncoding->currentData().toInt() == static_cast<int>(TTextEncoding::Utf8));
  for (QWidget* input : fFileOnly) input->setEnabled(!fWorkbook->isChecked());
}

void TExportForm::SetDocumentOpener(TDocumentOpener opener) { fOpener = std::move(opener); }

QString TExportForm::TargetFilter() const {
  const std::string extension = TableExtension(Options().Delimiter);
  const QString kind = extension == "csv"   ? tr("Comma-separated values")
                       : extension == "tsv" ? tr("Tab-separated values")
                                            : tr("Text files");
  return kind + " (*." + QString::fromStdString(extension) + ")";
}

TMeasurementExportOptions TExportForm::Options() const {
  TMeasurementExportOptions options;
  options.SourceFile = fSource->text().toStdString();
  options.TargetFile = fTarget->text().toStdString();
  options.TypeName = fTypes->currentText().toStdString();
  options.Data = fPages->currentIndex() == 0 ? TExportData::Measurements : TExportData::PointCoordinates;
  options.Analysis = fAnalyses->currentText().toStdString();
  options.FullPrecision = fFullPrecision->isChecked();
  options.SkipLabels = fSkipLabels->isChecked();
  options.Variables = fAllVariables->isChecked() ? TExportVariables::All : TExportVariables::InTextAnalysis;
  options.Drawing = fDrawings->currentText().toStdString();
  options.ReflectY = fReflect->isChecked();
  options.SkipMissingPoints = fSkipMissing->isChecked();
  options.PointPerLine = fPointPerLine->isChecked();
  options.LifeSize = fLifeSize->isChecked();
  options.Headers = fHeaders->isChecked();
  options.AbbreviatedHeaders = fHeaders->isChecked() && fAbbreviated->isChecked();
  TPatientFields& include = options.Include;
  include.Name = fInclude[iName]->isChecked();
  include.Age = fInclude[iAge]->isChecked();
  include.Sex = fInclude[iSex]->isChecked();
  include.SexNum = fInclude[iSexNum]->isChecked();
  include.DateOfBirth = fInclude[iDateOfBirth]->isChecked();
  include.DateTaken = fInclude[iDateTaken]->isChecked();
  include.Magnification = fInclude[iMagnification]->isChecked();
  include.Comments = fInclude[iComments]->isChecked();
  const TDelimiterChoice choices[kDelimiterCount] = {TDelimiterChoice::Tab, TDelimiterChoice::Comma,
                                                     TDelimiterChoice::Space, TDelimiterChoice::Other};
  for (int i = 0; i < kDelimiterCount; ++i)
    if (fDelimiters[i]->isChecked()) options.Delimiter = DelimiterText(choices[i], fOther->text().toStdString());
  options.Encoding = static_cast<TTextEncoding>(fEncoding->currentData().toInt());
  options.ByteOrderMark = options.Encoding == TTextEncoding::Utf8 && fByteOrderMark->isChecked();
  if (!fMissing->text().isEmpty()) options.Missing = fMissing->text().toStdString();
  options.Anonymize = fAnonymize->isChecked();
  return options;
}

void TExportForm::Export() {
  if (!StartRequested()) return;
  TExportContext context;
  context.Types = fContext.Workspace->Types().Resolver();
  context.Presentation = fContext.Presentation;
  context.Data = fContext.Workspace->Options().Data;
  TMeasurementExportOptions options = Options();
  const bool workbook = fWorkbook->isChecked();
  if (workbook) {
    const std::string folder = fContext.ResultsFolder.empty() ? QDir::homePath().toStdString() : fContext.ResultsFolder;
    options.TargetFile = NewDocumentPath(folder, options.TypeName, "xlsx", std::time(nullptr));
  }
  BeginRun();
  const TProgress progress = [this](const std::string& status) { return Poll(status); };
  const TExportResult result =
      workbook ? ExportDataWorkbook(options, context, progress) : ExportDataFile(options, context, progress);
  EndRun(result.Ok);
  UpdateEnabling();
  ShowResult(result.Ok, result.Message, result.Reason);
  if (workbook && result.Ok && !result.Cancelled && !fOpener(options.TargetFile))
    ShowResult(true, tr("%1 was written, but no application could be started to open it.")
                         .arg(QString::fromStdString(options.TargetFile))
                         .toStdString(),
               {});
}

}  // namespace lumacet
