#include "app/shape_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/list_elements.h"
#include "model/xray_type.h"
#include "population/procrustes_run.h"

namespace lumacet {

TShapeForm::TShapeForm(TPopulationContext context, TRadiograph& current, TMeasureContext measure, QWidget* parent)
    : TPopulationDialog(std::move(context), tr("Sort by Shape"), tr("S&can"), parent),
      fCurrent(current),
      fMeasure(measure) {
  QVBoxLayout* layout = Layout();
  QPushButton* select = AddRecordsChooser(tr("1. Select radiographs:"));

  fPages = new QTabWidget;
  auto page = [this](const QString& title) {
    auto* widget = new QWidget;
    auto* pageLayout = new QVBoxLayout(widget);
    pageLayout->setAlignment(Qt::AlignTop);
    fPages->addTab(widget, title);
    return pageLayout;
  };
  fPcas = AddList(tr("2. Select &Procrustes from PCA:"), page(tr("&Procrustes")));
  QVBoxLayout* superimposition = page(tr("&Superimposition"));
  fSuperimpositions = AddList(tr("2. Select S&uperimposition:"), superimposition);
  fDrawings = AddList(tr("and &Graphic (Shape similarity will be based on this):"), superimposition);
  fAnalyses = AddList(tr("2. Select &Analysis:"), page(tr("&Analysis")));
  layout->addWidget(fPages);

  auto* options = new QGroupBox(tr("Options"));
  auto* optionsLayout = new QVBoxLayout(options);
  auto* group = new QButtonGroup(this);
  const QString captions[] = {tr("Load the best matches."), tr("Load the worst matches."),
                              tr("Write all to file (sorted)."), tr("Write best matches to file."),
                              tr("Write worst matches to file.")};
  for (size_t i = 0; i < fOptions.size(); ++i) {
    fOptions[i] = new QRadioButton(captions[i]);
    group->addButton(fOptions[i]);
    optionsLayout->addWidget(fOptions[i]);
  }
  fOptions[0]->setChecked(true);
  auto* numberRow = new QHBoxLayout;
  auto* numberLabel = new QLabel(tr("&Number to load, or write to file:"));
  fNumber = new QLineEdit(QStringLiteral("5"));
  numberLabel->setBuddy(fNumber);
  numberRow->addWidget(numberLabel);
  numberRow->addWidget(fNumber);
  optionsLayout->addLayout(numberRow);
  fExclude = new QCheckBox(tr("&Exclude same patient."));
  fExclude->setChecked(true);
  optionsLayout->addWidget(fExclude);
  layout->addWidget(options);

  const TFileChooser output =
      AddFileChooser(tr("3. Select file to write results (data will be appended to the file): "), tr("F&ile..."));
  fOutputButton = output.Button;
  fOutputFile = output.Field;
  AddButtonsAndStatus();

  SetInputs({select, fPages, options, fOutputButton});
  connect(fOutputButton, &QPushButton::clicked, this, [this] {
    if (const std::string path = ChooseDataFile(tr("Sort by Shape")); !path.empty()) SetOutputFile(path);
  });
  connect(group, &QButtonGroup::buttonToggled, this, &TShapeForm::UpdateEnabling);
  connect(fNumber, &QLineEdit::editingFinished, this,
          [this] { fNumber->setText(QString::number(MatchCount(fNumber->text().toStdString()))); });
  connect(fSuperimpositions, &QComboBox::currentIndexChanged, this, &TShapeForm::SuperimpositionChosen);
  connect(StartButton(), &QPushButton::clicked, this, &TShapeForm::Scan);
  FillLists();
  UpdateEnabling();
}

TShapeForm::~TShapeForm() = default;

void TShapeForm::SetOutputFile(const std::string& path) { fOutputFile->setText(QString::fromStdString(path)); }

void TShapeForm::FillLists() {
  const TXRayType* type = fCurrent.Type();
  if (type == nullptr) return;
  auto fill = [type](QComboBox* list, int code) {
    for (const std::string& name : type->ElementNames({code})) list->addItem(QString::fromStdString(name));
  };
  fill(fPcas, ekPCA);
  fill(fSuperimpositions, ekSupimp);
  fill(fDrawings, ekGraphic);
  fill(fAnalyses, ekAnalysis);
  SuperimpositionChosen();
}

// A superimposition on a drawing suggests that drawing for the comparison.
void TShapeForm::SuperimpositionChosen() {
  const TXRayType* type = fCurrent.Type();
  const auto* superimposition =
      type != nullptr ? dynamic_cast<const TXRSupimp*>(
                            type->FindElement(fSuperimpositions->currentText().toStdString(), ekSupimp))
                      : nullptr;
  if (superimposition == nullptr || superimposition->Operand(0) == nullptr ||
      superimposition->Operand(0)->KindCode() != ekGraphic)
    return;
  const int index = fDrawings->findText(QString::fromStdString(superimposition->Operand(0)->Name));
  if (index >= 0) fDrawings->setCurrentIndex(index);
}

void TShapeForm::UpdateEnabling() {
  const TShapeSortRequest request = Request();
  const bool idle = !Running();
  fNumber->setEnabled(idle && request.Output != TShapeOutput::WriteAll);
  fOutputButton->setEnabled(idle && Writes(request.Output));
  fOutputFile->setEnabled(Writes(request.Output));
}

TShapeSortRequest TShapeForm::Request() const {
  TShapeSortRequest request;
  request.DataFile = DataFile();
  request.Records = Records();
  request.Measure = static_cast<TShapeMeasure>(std::max(0, fPages->currentIndex()));
  request.PcaName = fPcas->currentText().toStdString();
  request.SuperimpositionName = fSuperimpositions->currentText().toStdString();
  request.DrawingName = fDrawings->currentText().toStdString();
  request.AnalysisName = fAnalyses->currentText().toStdString();
  for (size_t i = 0; i < fOptions.size(); ++i)
    if (fOptions[i]->isChecked()) request.Output = static_cast<TShapeOutput>(i);
  request.Number = MatchCount(fNumber->text().toStdString());
  request.ExcludeSamePatient = fExclude->isChecked();
  request.OutputFile = fOutputFile->text().toStdString();
  return request;
}

void TShapeForm::Scan() {
  if (!StartRequested()) return;
  TWorkspace& workspace = *fContext.Workspace;
  TWorkspacePrompts& prompts = *fContext.Prompts;
  const TShapeSortRequest request = Request();
  if (const std::string error = ShapeSortRequestError(request, fCurrent, workspace.EmptyPlaceAtBelow(0) >= 0);
      !error.empty()) {
    prompts.ShowMessage(error);
    return;
  }
  BeginRun();
  BeginStage(tr("Stop Scanning"));
  const TTypeResolver types = workspace.Types().Resolver();
  TShapeScan scan = ScanShapes(request, fCurrent, types, workspace.Options().Data, fMeasure,
                               [this](const std::string& status) { return Poll(status); });
  bool completed = scan.Outcome.Ok();
  if (!scan.Outcome) prompts.ShowText(scan.Outcome.TextWithReason());
  if (completed && (completed = prompts.ConfirmOkCancel(ScanQuestion(scan)))) {
    SortScores(scan.Scores);
    const std::vector<TShapeScore> matches = ChosenMatches(scan.Scores, request.Output, request.Number);
    BeginStage(tr("Stop writing"));
    if (Writes(request.Output)) {
      TResultOf<int> written = WriteMatches(matches, request, types, workspace.Options().Data,
                                            [this](const std::string& status) { return Poll(status); });
      if (!written) prompts.ShowText(written.Outcome().TextWithReason());
      completed = written.Ok();
    } else {
      for (const TShapeScore& match : matches) {
        if (workspace.EmptyPlaceAtBelow(0) < 0 || !Poll(std::string(kWritingStatus) + " " + match.Name)) break;
        workspace.OpenRecords(request.DataFile, {match.Record}, false, prompts);
      }
    }
  }
  EndRun(completed);
  UpdateEnabling();
}

}  // namespace lumacet
