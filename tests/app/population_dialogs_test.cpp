// The dialogs of the population commands driven as a user would, over a copy of the bundled
// example, with scripted answers in place of message boxes.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>

#include <cmath>
#include <deque>
#include <memory>
#include <numeric>

#include "app/analysis_window.h"
#include "app/convert_type_dialog.h"
#include "app/export_dialog.h"
#include "app/mean_dialog.h"
#include "app/main_window.h"
#include "app/pca_viewer.h"
#include "app/type_list_editors.h"
#include "app/procrustes_dialog.h"
#include "app/shape_dialog.h"
#include "common/office_check.h"
#include "common/result_assertions.h"
#include "model/list_elements.h"
#include "model/type_edits.h"
#include "model/xray.h"
#include "platform/qpainter_canvas.h"
#include "population/pca_statistics.h"
#include "population/procrustes_report.h"
#include "shell/settings_options.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Messages are kept; questions are answered from a script, then with `Otherwise`.
class TScriptedPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  bool Confirm(const std::string& question) override {
    Questions.push_back(question);
    if (Answers.empty()) return Otherwise;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph&) override { return false; }

  std::string LastMessage() const { return Messages.empty() ? std::string() : Messages.back(); }

  std::vector<std::string> Messages;
  std::vector<std::string> Questions;
  std::deque<bool> Answers;
  bool Otherwise = true;
};

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

class PopulationDialogsTest : public ::testing::Test {
 protected:
  PopulationDialogsTest() {
    TWorkspaceOptions options;
    options.Folders = {example.Folder.Path().string(), example.Folder.Path().string()};
    options.DataFolder = example.Folder.Path().string();
    workspace = std::make_unique<TWorkspace>(options);
  }

  TPopulationContext Context() {
    TPopulationContext context;
    context.Workspace = workspace.get();
    context.Prompts = &prompts;
    context.Browser.DataFolder = example.Folder.Path().string();
    context.ResultsFolder = example.Folder.Path().string();
    context.Presentation = PresentationOptions(example.Settings, measuring);
    return context;
  }

  // Every line of the example data file, in file order.
  std::vector<int> AllRecords() const {
    std::vector<int> records(static_cast<size_t>(LineCount(ReadBytes(example.DataFile()))));
    std::iota(records.begin(), records.end(), 1);
    return records;
  }

  // The example type as its file holds it.
  std::unique_ptr<TXRayType> ReadType() const {
    auto type = std::make_unique<TXRayType>();
    EXPECT_TRUE(test::Succeeded(type->LoadFromTypeFile(example.Folder.File("lateral_ceph.lcr"))));
    return type;
  }

  test::TExampleFolder example;
  std::unique_ptr<TWorkspace> workspace;
  TScriptedPrompts prompts;
  TMeasuring measuring;
  TPcaMeasurer& measurer = measuring.Pca();
};

TEST_F(PopulationDialogsTest, ProcrustesChecksComeInTheirOrderAndRunNothing) {
  TProcForm dialog(Context());
  ASSERT_EQ(dialog.TypeList()->findText("Lateral Ceph") >= 0, true);
  EXPECT_TRUE(dialog.Output(TProcForm::oConsensus)->isChecked());
  EXPECT_TRUE(dialog.Output(TProcForm::oVariances)->isChecked());
  EXPECT_TRUE(dialog.Output(TProcForm::oLoadings)->isChecked());
  EXPECT_FALSE(dialog.Output(TProcForm::oScores)->isChecked());
  EXPECT_FALSE(dialog.FlipY()->isChecked());
  EXPECT_FALSE(dialog.RadiographSize()->isChecked());

  auto calculate = [&] {
    dialog.Calculate();
    return prompts.LastMessage();
  };
  EXPECT_EQ(calculate(), "No Destination file has been selected.");
  dialog.SetRecords(example.DataFile(), {1});
  dialog.SetResultsFile(example.Folder.File("./PATIENT.CSV"));
  EXPECT_EQ(calculate(), "Source and Destination files are the same.");
  const std::string results = example.Folder.File("results.txt");
  dialog.SetResultsFile(results);
  for (int i = 0; i < TProcForm::kOutputCount; ++i)
    dialog.Output(static_cast<TProcForm::TOutput>(i))->setChecked(false);
  EXPECT_EQ(calculate(), "No Output option has been selected.");
  dialog.Output(TProcForm::oDistances)->setChecked(true);
  dialog.TypeList()->setCurrentText("Frontal Ceph");
  EXPECT_EQ(dialog.PcaList()->count(), 0);
  EXPECT_EQ(calculate(), "The selected radiograph type does not contain any PCAs.");
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  ASSERT_EQ(dialog.PcaList()->currentText(), "Lateral shape");
  dialog.PcaList()->setCurrentIndex(-1);
  EXPECT_EQ(calculate(), "No PCA has been selected.");
  dialog.PcaList()->setCurrentIndex(0);
  dialog.SetRecords({}, {});
  EXPECT_EQ(calculate(), "No radiographs have been selected.");
  EXPECT_EQ(prompts.Messages.size(), 6u);
  EXPECT_TRUE(prompts.Questions.empty());
  EXPECT_FALSE(std::filesystem::exists(results));
  EXPECT_EQ(dialog.StartButton()->text(), "&Calculate");
}

TEST_F(PopulationDialogsTest, ProcrustesRunAppendsAReportThatImportsIntoTheType) {
  TProcForm dialog(Context());
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  dialog.SetRecords(example.DataFile(), AllRecords());
  const std::string results = example.Folder.File("results.txt");
  dialog.SetResultsFile(results);
  dialog.Names()->setChecked(true);
  dialog.Output(TProcForm::oDistances)->setChecked(true);

  std::vector<QString> statuses;
  bool cancelShown = true;
  bool inputsDisabled = true;
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& status) {
    statuses.push_back(status);
    if (status == "Completed.") return;
    cancelShown = cancelShown && dialog.StartButton()->text() == "Cancel";
    inputsDisabled = inputsDisabled && !dialog.TypeList()->isEnabled() && !dialog.PcaList()->isEnabled();
  });
  dialog.Calculate();

  ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastMessage();
  ASSERT_FALSE(prompts.Questions.empty());
  EXPECT_EQ(prompts.Questions.back(), "Radiographs processed: 26\r\n\r\nContinue?");
  EXPECT_TRUE(cancelShown);
  EXPECT_TRUE(inputsDisabled);
  ASSERT_GE(statuses.size(), 5u);
  EXPECT_EQ(statuses.front(), "Reading...");
  EXPECT_TRUE(statuses[1].startsWith("Reading: "));
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Calculating..."), statuses.end());
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Writing..."), statuses.end());
  EXPECT_EQ(dialog.StatusText(), "Completed.");
  EXPECT_EQ(dialog.StartButton()->text(), "&Calculate");
  EXPECT_TRUE(dialog.TypeList()->isEnabled());

  const std::string report = ReadBytes(results);
  EXPECT_EQ(report.rfind("Total samples:\r\n26\r\nTotal points:\r\n12\r\n", 0), 0u);
  EXPECT_NE(report.find("Procrustes Distances:\r\nEmma Lindqvist"), std::string::npos);

  // The report belongs to the type's own PCA: the editor imports it.
  std::unique_ptr<TXRayType> type = ReadType();
  TTypeEdits edits(*type);
  TPCAsForm editor(edits, prompts);
  ASSERT_EQ(editor.ElementList()->currentText(), "Lateral shape");
  editor.ImportData(results);
  EXPECT_EQ(prompts.LastMessage(), "Data successfully imported.");
  EXPECT_TRUE(editor.ChosenPca()->HasData);
  EXPECT_EQ(editor.ChosenPca()->SampleCount, 26);
  EXPECT_EQ(type->ChangeHistory.back(), "Changed PCA: Lateral shape");
  EXPECT_TRUE(editor.DataNotValid()->isHidden());
}

TEST_F(PopulationDialogsTest, AnAnonymousProcrustesReportNamesRecordsByNumberInFileOrder) {
  TProcForm dialog(Context());
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  std::vector<int> records = AllRecords();
  std::reverse(records.begin(), records.end());  // the browser's order need not be the file's
  dialog.SetRecords(example.DataFile(), records);
  const std::string results = example.Folder.File("results.txt");
  dialog.SetResultsFile(results);
  dialog.Names()->setChecked(true);
  dialog.Anonymize()->setChecked(true);
  dialog.Output(TProcForm::oDistances)->setChecked(true);
  dialog.Calculate();
  const std::string report = ReadBytes(results);
  EXPECT_NE(report.find("Procrustes Distances:\r\nRecord 1 "), std::string::npos) << report.substr(0, 200);
  EXPECT_EQ(report.find("Emma"), std::string::npos);
  EXPECT_NE(report.find("\r\nRadiographs in data file order (record numbers):\r\n1 2 4 "), std::string::npos);
}

TEST_F(PopulationDialogsTest, CancelWhileReadingWritesNoReport) {
  TProcForm dialog(Context());
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  dialog.SetRecords(example.DataFile(), AllRecords());
  const std::string results = example.Folder.File("results.txt");
  dialog.SetResultsFile(results);
  int read = 0;
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& status) {
    if (status.startsWith("Reading: ") && ++read == 3) dialog.StartButton()->click();
  });
  dialog.Calculate();
  EXPECT_EQ(read, 3);
  EXPECT_TRUE(prompts.Questions.empty());
  EXPECT_TRUE(prompts.Messages.empty());
  EXPECT_FALSE(std::filesystem::exists(results));
  EXPECT_EQ(dialog.StatusText(), "Completed.");
  EXPECT_EQ(dialog.StartButton()->text(), "&Calculate");

  // "No" at the question stops as well.
  prompts.Otherwise = false;
  dialog.Calculate();
  EXPECT_FALSE(std::filesystem::exists(results));
}

TEST_F(PopulationDialogsTest, PcaEditorChecksRebuildThePointsAndInvalidateTheData) {
  std::unique_ptr<TXRayType> type = ReadType();
  TTypeEdits edits(*type);
  TPCAsForm editor(edits, prompts);
  TXRPCA* pca = editor.ChosenPca();
  ASSERT_NE(pca, nullptr);
  ASSERT_TRUE(pca->HasData);
  EXPECT_TRUE(editor.DataNotValid()->isHidden());
  QListWidget* points = editor.PointList();
  ASSERT_EQ(static_cast<size_t>(points->count()), type->Count(ekDigPoint) + type->Count(ekDerPoint));
  EXPECT_EQ(points->item(0)->text().toStdString(), type->ElementList(ekDigPoint).front()->Name);
  int checked = 0;
  for (int row = 0; row < points->count(); ++row) checked += points->item(row)->checkState() == Qt::Checked ? 1 : 0;
  EXPECT_EQ(checked, 12);

  const std::vector<TXRayElement*> before = pca->Points;
  QListWidgetItem* first = nullptr;
  for (int row = 0; row < points->count() && first == nullptr; ++row)
    if (points->item(row)->checkState() == Qt::Checked) first = points->item(row);
  first->setCheckState(Qt::Unchecked);
  EXPECT_EQ(pca->Points, std::vector<TXRayElement*>(before.begin() + 1, before.end()));
  EXPECT_FALSE(pca->HasData);
  EXPECT_TRUE(type->Modified);
  EXPECT_EQ(type->ChangeHistory.back(), "Changed PCA: Lateral shape");
  EXPECT_FALSE(editor.DataNotValid()->isHidden());

  editor.PointList()->InvertSelection();
  EXPECT_EQ(pca->Points.size(), static_cast<size_t>(points->count()) - 11);
  EXPECT_NE(std::find(pca->Points.begin(), pca->Points.end(), before.front()), pca->Points.end());
  editor.PointList()->SelectAll();
  EXPECT_EQ(pca->Points.size(), static_cast<size_t>(points->count()));
  editor.PointList()->DeselectAll();
  EXPECT_TRUE(pca->Points.empty());

  editor.ImportData(example.DataFile());
  EXPECT_EQ(prompts.LastMessage(), "Not enough points: at least 3 points are required.");
  for (TXRayElement* point : before) {
    const auto found = points->findItems(QString::fromStdString(point->Name), Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty());
    found.front()->setCheckState(Qt::Checked);
  }
  EXPECT_EQ(pca->Points.size(), before.size());
  const std::string garbage = example.Folder.File("garbage.txt");
  WriteBytes(garbage, "Total samples:\r\nmany\r\n");
  editor.ImportData(garbage);
  EXPECT_EQ(prompts.LastMessage(), "Error loading PCA file.");
  EXPECT_FALSE(pca->HasData);
  EXPECT_FALSE(editor.DataNotValid()->isHidden());
}

TEST_F(PopulationDialogsTest, PcaEditorAddsRenamesAndDeletesElements) {
  std::unique_ptr<TXRayType> type = ReadType();
  TTypeEdits edits(*type);
  TPCAsForm editor(edits, prompts);
  ASSERT_TRUE(editor.NewElement("Copy of shape", true));
  EXPECT_EQ(editor.ElementList()->currentText(), "Copy of shape");
  EXPECT_EQ(editor.ChosenPca()->Points.size(), 12u);
  EXPECT_FALSE(editor.NewElement("Lateral shape", false));
  EXPECT_NE(prompts.LastMessage().find("This name is already used."), std::string::npos);
  ASSERT_TRUE(editor.RenameElement("Renamed"));
  EXPECT_NE(type->FindElement("Renamed", ekPCA), nullptr);
  EXPECT_EQ(editor.ElementList()->currentText(), "Renamed");
  EXPECT_EQ(type->ChangeHistory.back(), "Renamed: \"Copy of shape\" to: \"Renamed\".");
  ASSERT_TRUE(editor.DeleteElement());
  EXPECT_EQ(type->FindElement("Renamed", ekPCA), nullptr);
  EXPECT_EQ(editor.ElementList()->count(), 1);
  EXPECT_EQ(type->ChangeHistory.back(), "Deleted: Renamed.");
}

class PcaViewerTest : public PopulationDialogsTest {
 protected:
  PcaViewerTest() {
    EXPECT_EQ(workspace->OpenRecords(example.DataFile(), {1}, true, prompts), 1);
    current = workspace->Current();
  }

  TXRPCA& Pca() const { return *static_cast<TXRPCA*>(current->Type()->FindElement("Lateral shape", ekPCA)); }

  TRadiograph* current = nullptr;
};

// Pixels of one colour (0x00BBGGRR) in the painted graph.
int CountColour(const TPcaGraph& graph, std::uint32_t colour) {
  QImage image;
  EXPECT_TRUE(PaintImage(
                  {400, 400}, 0x00FFFFFF, [&](TCanvas& canvas) { PaintPcaGraph(canvas, graph); }, image)
                  .Ok);
  const QRgb wanted = ToQColor(colour).rgb();
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted ? 1 : 0;
  return count;
}

TEST_F(PcaViewerTest, TextPageListsTheCurrentRadiographAndThePopulation) {
  ASSERT_NE(current, nullptr);
  TPCAViewForm viewer(*current, measurer);
  ASSERT_EQ(viewer.PcaList()->currentText(), "Lateral shape");
  const std::string text = viewer.TextPage()->toPlainText().toStdString();
  current->LoadCoordinates();
  const std::optional<double> size = measurer.PCAMeasure(Pca(), 0, 0);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(text.rfind("------------ Current Radiograph ------------\nCentroid size:\n" + FormatReportReal(*size) +
                           "\nNormalized centroid size:\n",
                       0),
            0u)
      << text;
  const std::optional<double> score = measurer.PCAMeasure(Pca(), 3, 1);
  ASSERT_TRUE(score.has_value());
  EXPECT_NE(text.find("Scores (absolute, z-value):\nPC  1:  " + FormatReportReal(*score) + "  "), std::string::npos);
  EXPECT_NE(text.find("\nPC 20:  "), std::string::npos);
  EXPECT_NE(text.find("------------ PCA ------------\nData from 26 samples.\nPoints:\n 1:  " + Pca().Points[0]->Name),
            std::string::npos);
  EXPECT_NE(text.find("\nVariance, %variance, %cumulative variance:\nPC  1:   1.91059470e-03   83.5%   83.5%\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nConsensus (X, Y):\n -1.79826970e-01  -2.46125390e-01\n"), std::string::npos);
  EXPECT_NE(text.find("\nSum of Procrustes distances:\n  1.09008710e+00\n"), std::string::npos);
  EXPECT_NE(text.find("\nRMS of Procrustes distances:\n" + FormatReportReal(std::sqrt(5.9472695e-2 / 26)) + "\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nPC Loadings:\n  3.27773120e-02"), std::string::npos);
  EXPECT_NE(text.find("100.0%"), std::string::npos);
}

TEST_F(PcaViewerTest, GraphShowsTheShapesAndFollowsSliderHoldAndToggles) {
  ASSERT_NE(current, nullptr);
  TPCAViewForm viewer(*current, measurer);
  TPcaGraph graph = viewer.Graph();
  ASSERT_EQ(graph.Consensus.size(), 12u);
  ASSERT_EQ(graph.Current.size(), 12u);
  ASSERT_EQ(graph.Extremes.size(), 1u);
  EXPECT_FALSE(graph.Lines.empty());
  EXPECT_GT(CountColour(graph, 0x00C00000), 0);  // consensus circles
  EXPECT_GT(CountColour(graph, 0x000000D0), 0);  // current diamonds
  EXPECT_GT(CountColour(graph, 0x00008000), 0);  // extremes squares

  // Landmark names at the consensus points, and the slider in standard deviations.
  EXPECT_TRUE(graph.ShowLabels);
  EXPECT_EQ(graph.Labels.front(), Pca().Points[0]->Name);
  EXPECT_EQ(viewer.SliderValue()->text(), QLocale().toString(0.0, 'f', 1) + " SD");
  EXPECT_EQ(viewer.Slider()->minimum(), -40);
  EXPECT_EQ(viewer.Slider()->maximum(), 40);
  viewer.Slider()->setValue(20);
  EXPECT_EQ(viewer.SliderValue()->text(), QLocale().toString(2.0, 'f', 1) + " SD");
  const TXRPCA& pca = Pca();
  graph = viewer.Graph();
  EXPECT_NEAR(graph.Extremes[0][0].X, pca.Consensus[0] + 2 * std::sqrt(pca.Variances[0]) * pca.Loadings[0][0], 1e-12);
  EXPECT_NEAR(graph.Extremes[0][0].Y, pca.Consensus[1] + 2 * std::sqrt(pca.Variances[0]) * pca.Loadings[1][0], 1e-12);

  // A value held on PC 1 stays while PC 2 is moved; both add up.
  viewer.Hold();
  EXPECT_TRUE(viewer.ComponentList()->itemText(0).endsWith(" *"));
  viewer.ComponentList()->setCurrentIndex(1);
  viewer.Slider()->setValue(-10);
  graph = viewer.Graph();
  const std::vector<double> both = DeformedShape(pca, {2.0, -1.0});
  EXPECT_NEAR(graph.Extremes[0][3].X, both[6], 1e-12);
  viewer.Toggle("&Extremes")->setChecked(true);
  graph = viewer.Graph();
  ASSERT_EQ(graph.Extremes.size(), 2u);
  EXPECT_EQ(graph.ExtremesCaption, "Extremes: PC 2 \xC2\xB1" "1.0 SD");
  const std::vector<double> other = DeformedShape(pca, {2.0, 1.0});
  EXPECT_NEAR(graph.Extremes[1][3].Y, other[7], 1e-12);
  viewer.ResetAll();
  EXPECT_FALSE(viewer.ComponentList()->itemText(0).endsWith(" *"));

  viewer.Toggle("C&onsensus")->setChecked(false);
  EXPECT_EQ(CountColour(viewer.Graph(), 0x00C00000), 0);
  viewer.SetDrawing("No such drawing");
  EXPECT_TRUE(viewer.Graph().Lines.empty());

  viewer.CopyPicture();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_TRUE(copied->data("image/svg+xml").contains("<svg"));
  EXPECT_TRUE(copied->hasImage());

  const std::string svg = example.Folder.File("graph.svg");
  ASSERT_TRUE(viewer.SavePicture(svg));
  EXPECT_NE(ReadBytes(svg).find("<svg"), std::string::npos);
}

TEST_F(PcaViewerTest, MissingDataIsSaid) {
  ASSERT_NE(current, nullptr);
  Pca().HasData = false;
  TPCAViewForm viewer(*current, measurer);
  EXPECT_EQ(viewer.TextPage()->toPlainText(), "Data is missing or invalid.\n");
  EXPECT_TRUE(viewer.Graph().Consensus.empty());
  EXPECT_EQ(viewer.ComponentList()->count(), 0);
}

TEST_F(PopulationDialogsTest, ExportWritesOneRecordPerRadiographOfTheType) {
  TExportForm dialog(Context());
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  EXPECT_GT(dialog.AnalysisList()->count(), 0);
  EXPECT_TRUE(dialog.PointCount()->text().startsWith("Points: "));
  dialog.Headers()->setChecked(false);
  EXPECT_FALSE(dialog.Abbreviated()->isEnabled());
  dialog.Headers()->setChecked(true);
  EXPECT_TRUE(dialog.Abbreviated()->isEnabled());
  EXPECT_FALSE(dialog.OtherDelimiter()->isEnabled());
  dialog.Delimiter(TExportForm::dOther)->setChecked(true);
  EXPECT_TRUE(dialog.OtherDelimiter()->isEnabled());
  dialog.Delimiter(TExportForm::dTab)->setChecked(true);

  dialog.Export();
  EXPECT_EQ(prompts.LastMessage(), "Source and Destination files have not been selected.");
  dialog.SetSourceFile(example.DataFile());
  const std::string target = example.Folder.File("export.txt");
  dialog.SetTargetFile(target);
  dialog.Include(TExportForm::iName)->setChecked(true);
  dialog.Export();
  EXPECT_EQ(prompts.LastMessage(), "Total radiographs exported to file: 26\r\nRadiograph size (XRAY)");
  EXPECT_EQ(dialog.StatusText(), "Completed.");
  EXPECT_EQ(dialog.StartButton()->text(), "&Export");
  const std::string written = ReadBytes(target);
  EXPECT_EQ(LineCount(written), 27);
  EXPECT_EQ(written.rfind("Name\t", 0), 0u);
  EXPECT_NE(written.find("\r\nEmma Lindqvist\t"), std::string::npos);

  // Point coordinates, appended after what is there.
  dialog.DataPages()->setCurrentIndex(1);
  dialog.Headers()->setChecked(false);
  dialog.Export();
  EXPECT_TRUE(prompts.LastMessage().starts_with("Total radiographs exported to file: "));
  EXPECT_EQ(ReadBytes(target).rfind(written, 0), 0u);
  EXPECT_GT(LineCount(ReadBytes(target)), 27);
}

TEST_F(PopulationDialogsTest, ConvertAppendsRecordsOfTheTypeAndLeavesTheSource) {
  TConvertTypeForm dialog(Context());
  dialog.SourceTypeList()->setCurrentText("Lateral Ceph");
  dialog.TargetTypeList()->setCurrentText("Lateral Ceph");
  QTableWidget* grid = dialog.Grid();
  ASSERT_GT(grid->rowCount(), 0);
  for (int row = 0; row < grid->rowCount(); ++row) EXPECT_EQ(grid->item(row, 0)->text(), grid->item(row, 1)->text());
  EXPECT_EQ(dialog.Choices()->itemText(0), "<none>");
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Lateral Ceph");

  // A target point can be left without a source through the list below the grid.
  grid->setCurrentCell(0, 1);
  emit dialog.Choices()->activated(0);
  EXPECT_EQ(grid->item(0, 1)->text(), "<none>");

  const std::string source = ReadBytes(example.DataFile());
  dialog.SetRecords(example.DataFile(), {1, 2, 3});
  dialog.SetTargetFile(example.DataFile());
  dialog.Convert();
  EXPECT_EQ(prompts.LastMessage(), "Source and Destination files are the same.");
  const std::string target = example.Folder.File("converted.csv");
  dialog.SetTargetFile(target);
  dialog.Convert();
  EXPECT_EQ(prompts.LastMessage(), "Total radiographs converted: 2");
  EXPECT_EQ(dialog.StatusText(), "Completed.");
  EXPECT_EQ(dialog.StartButton()->text(), "&Convert");
  const std::string first = ReadBytes(target);
  EXPECT_EQ(LineCount(first), 2);
  dialog.Convert();
  EXPECT_EQ(LineCount(ReadBytes(target)), 4);
  EXPECT_EQ(ReadBytes(target).rfind(first, 0), 0u);
  EXPECT_EQ(ReadBytes(example.DataFile()), source);

  // The first point went without a source: the record no longer holds its position.
  const std::string sourceLine = source.substr(0, source.find("\r\n"));
  const std::string convertedLine = first.substr(0, first.find("\r\n"));
  EXPECT_NE(sourceLine, convertedLine);
}

TEST_F(PopulationDialogsTest, ClosingWhileRunningStopsTheRunFirst) {
  TConvertTypeForm dialog(Context());
  dialog.SourceTypeList()->setCurrentText("Lateral Ceph");
  dialog.TargetTypeList()->setCurrentText("Lateral Ceph");
  dialog.SetRecords(example.DataFile(), AllRecords());
  const std::string target = example.Folder.File("converted.csv");
  dialog.SetTargetFile(target);
  dialog.show();
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& status) {
    if (status.startsWith("Converting: ")) dialog.reject();
  });
  dialog.Convert();
  EXPECT_FALSE(dialog.Running());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(PopulationDialogsTest, MainWindowMeasuresShapeVariablesAndOffersTheCommands) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  for (const char* id : {"tools.procrustes", "tools.export", "tools.convert_type", "tools.mean"})
    EXPECT_TRUE(window.Command(id)->isEnabled()) << id;
  EXPECT_FALSE(window.Command("tools.pca_viewer")->isEnabled());
  EXPECT_FALSE(window.Command("tools.sort_by_shape")->isEnabled());
  ASSERT_EQ(window.OpenPatient("Olivia Marchetti"), 1);
  EXPECT_TRUE(window.Command("tools.pca_viewer")->isEnabled());
  EXPECT_TRUE(window.Command("tools.sort_by_shape")->isEnabled());
  // Only a type opened for editing can keep what the editor changes.
  EXPECT_FALSE(window.Command("tools.pcas")->isEnabled());

  window.Workspace().Current()->SelectAnalysis("Shape (Procrustes)");
  window.Command("view.detailed_analysis")->trigger();
  auto* analysis = window.findChild<TAnalysisWindow*>();
  ASSERT_NE(analysis, nullptr);
  const QString text = analysis->PlainText();
  const qsizetype at = text.indexOf("PC1 z-score");
  ASSERT_GE(at, 0) << text.toStdString();
  const QString line = text.mid(at, text.indexOf('\n', at) - at);
  EXPECT_FALSE(line.contains("N/A")) << line.toStdString();
  EXPECT_TRUE(line.contains(QRegularExpression("[0-9]"))) << line.toStdString();
  analysis->close();
}

TEST_F(PopulationDialogsTest, TheExportsScaleStartsAtTheScaleTheWindowMeasuresAt) {
  for (const bool lifeSize : {false, true}) {
    SCOPED_TRACE(lifeSize);
    TWorkspaceOptions options = workspace->Options();
    options.Data.ShowLifeSize = lifeSize;
    workspace->SetOptions(options);
    TExportForm dialog(Context());
    int found = 0;
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
      if (button->text() == "Life size (LIFE)") {
        EXPECT_EQ(button->isChecked(), lifeSize);
        ++found;
      } else if (button->text() == "Radiograph size (XRAY)") {
        EXPECT_EQ(button->isChecked(), !lifeSize);
        ++found;
      }
    }
    EXPECT_EQ(found, 2);
  }
}

TEST_F(PopulationDialogsTest, ExportStartsWithALabelledTableAndWritesWhatResearchNeeds) {
  TExportForm dialog(Context());
  // Headers and names on: a table is never an unlabelled block of numbers.
  EXPECT_TRUE(dialog.Headers()->isChecked());
  EXPECT_TRUE(dialog.Include(TExportForm::iName)->isChecked());
  EXPECT_FALSE(dialog.TargetField()->isReadOnly());
  EXPECT_FALSE(dialog.ByteOrderMark()->isEnabled());
  struct TFilter {
    TExportForm::TDelimiterButton Button;
    const char* Filter;
  };
  for (const TFilter& f : {TFilter{TExportForm::dComma, "Comma-separated values (*.csv)"},
                           TFilter{TExportForm::dTab, "Tab-separated values (*.tsv)"},
                           TFilter{TExportForm::dSpace, "Text files (*.txt)"}}) {
    dialog.Delimiter(f.Button)->setChecked(true);
    EXPECT_EQ(dialog.TargetFilter().toStdString(), f.Filter);
  }

  dialog.TypeList()->setCurrentText("Lateral Ceph");
  dialog.SetSourceFile(example.DataFile());
  const std::string target = example.Folder.File("typed.csv");
  dialog.TargetField()->setText(QString::fromStdString(target));  // typed, not chosen
  dialog.Delimiter(TExportForm::dComma)->setChecked(true);
  dialog.Include(TExportForm::iComments)->setChecked(true);
  dialog.Include(TExportForm::iDateOfBirth)->setChecked(true);
  dialog.Encoding()->setCurrentIndex(dialog.Encoding()->findText("UTF-8"));
  EXPECT_TRUE(dialog.ByteOrderMark()->isEnabled());
  dialog.ByteOrderMark()->setChecked(true);
  dialog.Missing()->setText("NA");
  dialog.Anonymize()->setChecked(true);
  dialog.Export();
  EXPECT_EQ(prompts.LastMessage(), "Total radiographs exported to file: 26\r\nRadiograph size (XRAY)");
  const std::string written = ReadBytes(target);
  EXPECT_TRUE(written.starts_with("\xEF\xBB\xBFName,Date of Birth,Comments,")) << written.substr(0, 80);
  EXPECT_NE(written.find("\r\nRecord 1,,,"), std::string::npos) << written.substr(0, 300);
  EXPECT_EQ(written.find("Emma Lindqvist"), std::string::npos);
  EXPECT_EQ(written.find("N/A"), std::string::npos);
}

TEST_F(PopulationDialogsTest, ExportToANewSpreadsheetWritesAWorkbookInTheResultsFolderAndOpensIt) {
  if (!test::OfficeReadersPresent()) GTEST_SKIP() << "python3-openpyxl or python3-odf is not installed";
  TExportForm dialog(Context());
  std::vector<std::string> opened;
  dialog.SetDocumentOpener([&](const std::string& path) {
    opened.push_back(path);
    return false;  // no application: the user is told where the workbook is
  });
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  dialog.SetSourceFile(example.DataFile());
  dialog.Workbook()->setChecked(true);
  EXPECT_FALSE(dialog.TargetField()->isEnabled());
  EXPECT_FALSE(dialog.Delimiter(TExportForm::dComma)->isEnabled());
  dialog.Export();
  ASSERT_EQ(opened.size(), 1u) << prompts.LastMessage();
  EXPECT_EQ(std::filesystem::path(opened[0]).parent_path(), example.Folder.Path());
  EXPECT_EQ(std::filesystem::path(opened[0]).extension(), ".xlsx");
  EXPECT_TRUE(prompts.LastMessage().ends_with("was written, but no application could be started to open it."))
      << prompts.LastMessage();
  const std::string read = test::ReadOffice("xlsx", opened[0], example.Folder);
  EXPECT_TRUE(read.starts_with("Measurements 1 1 27 ")) << read;
  EXPECT_NE(read.find("\nstr:Name|"), std::string::npos) << read;
}

TEST_F(PopulationDialogsTest, MeanPutsTheMeanRadiographInTheWorkspaceOrPairsIntoAFile) {
  TMeanForm dialog(Context());
  dialog.TypeList()->setCurrentText("Lateral Ceph");
  EXPECT_EQ(dialog.SuperimpositionList()->currentText(), "S-N registered at S");
  EXPECT_FALSE(dialog.PairsFileButton()->isEnabled());
  dialog.Calculate();
  EXPECT_EQ(prompts.LastMessage(), "No radiographs have been selected.");

  dialog.SetRecords(example.DataFile(), AllRecords());
  std::vector<QString> statuses;
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& s) { statuses.push_back(s); });
  dialog.Calculate();
  ASSERT_NE(workspace->Current(), nullptr);
  EXPECT_EQ(workspace->Current()->Name, "Mean Radiograph");
  EXPECT_EQ(workspace->Current()->Comments, "Mean of 26 radiographs");
  EXPECT_EQ(dialog.StatusText(), "Completed.");
  EXPECT_TRUE(statuses.front().startsWith("Calculating: ")) << statuses.front().toStdString();
  EXPECT_EQ(dialog.StartButton()->text(), "&Calculate Mean");

  // Pairwise: the file controls follow the box; the pairs go to the file, not the workspace.
  dialog.Pairwise()->setChecked(true);
  EXPECT_TRUE(dialog.PairsFileButton()->isEnabled());
  dialog.Calculate();
  EXPECT_EQ(prompts.LastMessage(), "No Destination file has been selected.");
  const std::string pairs = example.Folder.File("pairs.csv");
  dialog.SetPairsFile(pairs);
  dialog.SetRecords(example.DataFile(), {15, 20, 23, 14, 6});
  dialog.Calculate();
  EXPECT_EQ(LineCount(ReadBytes(pairs)), 2);

  // Cancel stops before the next radiograph: nothing more is written.
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& s) {
    if (s.startsWith("Calculating: ") && dialog.Running()) dialog.StartButton()->click();
  });
  dialog.Calculate();
  EXPECT_FALSE(dialog.Running());
  EXPECT_EQ(LineCount(ReadBytes(pairs)), 2);
  EXPECT_NE(dialog.StatusText(), "Completed.");
}

TEST_F(PopulationDialogsTest, SortByShapeOpensTheBestMatchesOrWritesThem) {
  ASSERT_EQ(workspace->OpenRecords(example.DataFile(), {15}, true, prompts), 1);
  TRadiograph& current = *workspace->Current();
  TShapeForm dialog(Context(), current, measuring.Context());
  EXPECT_EQ(dialog.PcaList()->currentText(), "Lateral shape");
  dialog.SuperimpositionList()->setCurrentText("Cranial base best fit");
  EXPECT_EQ(dialog.DrawingList()->currentText(), "Cranial base points");
  EXPECT_TRUE(dialog.Option(TShapeOutput::LoadBest)->isChecked());
  EXPECT_FALSE(dialog.OutputFileButton()->isEnabled());
  dialog.Option(TShapeOutput::WriteAll)->setChecked(true);
  EXPECT_FALSE(dialog.NumberField()->isEnabled());
  EXPECT_TRUE(dialog.OutputFileButton()->isEnabled());
  dialog.Option(TShapeOutput::LoadBest)->setChecked(true);
  dialog.NumberField()->setText("250");
  emit dialog.NumberField()->editingFinished();
  EXPECT_EQ(dialog.NumberField()->text(), "100");
  dialog.NumberField()->setText("3");

  dialog.SetRecords(example.DataFile(), AllRecords());
  dialog.Scan();
  ASSERT_FALSE(prompts.Questions.empty());
  EXPECT_EQ(prompts.Questions.back().rfind("Radiographs processed: ", 0), 0u) << prompts.Questions.back();
  int open = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) open += workspace->Slot(slot) != nullptr;
  EXPECT_EQ(open, 4);  // the current radiograph and its three best matches
  EXPECT_EQ(dialog.StatusText(), "Completed.");

  // Stopping the scan goes on to the question with what was scanned; then writing.
  const std::string out = example.Folder.File("best.csv");
  dialog.Option(TShapeOutput::WriteBest)->setChecked(true);
  dialog.SetOutputFile(out);
  QObject::connect(&dialog, &TPopulationDialog::StatusShown, [&](const QString& s) {
    if (s.startsWith("3: Scanning...")) dialog.StartButton()->click();
  });
  dialog.Scan();
  EXPECT_EQ(prompts.Questions.back().rfind("Radiographs processed: 2", 0), 0u) << prompts.Questions.back();
  EXPECT_EQ(LineCount(ReadBytes(out)), 2);
  EXPECT_EQ(dialog.StartButton()->text(), "S&can");
}

}  // namespace
}  // namespace lumacet
