#include "app/analysis_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>

#include "app/main_window.h"
#include "shell/settings_options.h"
#include "support/atomic_file.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

class AnalysisWindowTest : public ::testing::Test {
 protected:
  AnalysisWindowTest() : window(example.Settings, example.Folder.File("lumacet.ini")) {
    EXPECT_EQ(window.OpenPatient("Emma Lindqvist"), 3);
    current = window.Workspace().Current();
    measuring.Formats = window.Workspace().Options().Formats;
    presentation = PresentationOptions(example.Settings, measuring);
  }

  QPushButton* Button(const TAnalysisWindow& analysis, const QString& caption) {
    for (QPushButton* button : analysis.findChildren<QPushButton*>())
      if (button->text() == caption) return button;
    ADD_FAILURE() << caption.toStdString();
    return nullptr;
  }

  test::TExampleFolder example;
  TMainWindow window;
  TRadiograph* current = nullptr;
  TMeasuring measuring;
  TPresentationOptions presentation;
};

TEST_F(AnalysisWindowTest, HiddenColumnsCollapseTheirHeadersAndTheTextAndComeBackAtTheirWidth) {
  ASSERT_NE(current, nullptr);
  TAnalysisLayout layout;
  layout.Format = kTextLineNormals + kTextLineGraph;
  TAnalysisWindow analysis([&] { return current; }, presentation, layout);
  EXPECT_TRUE(analysis.Caption().endsWith(": " + QString::fromStdString(current->CurrentAnalysis->Name)));
  const QString full = analysis.PlainText();
  ASSERT_FALSE(full.isEmpty());
  EXPECT_TRUE(full.contains('X')) << "the text graph";

  analysis.GraphBox()->setChecked(false);
  analysis.NormalsBox()->setChecked(false);
  EXPECT_TRUE(analysis.Header()->isSectionHidden(1));
  EXPECT_TRUE(analysis.Header()->isSectionHidden(3));
  EXPECT_TRUE(analysis.Header()->isSectionHidden(4));
  const QString bare = analysis.PlainText();
  EXPECT_LT(bare.count('\t'), full.count('\t'));
  EXPECT_FALSE(bare.contains(".    :")) << "no graph left";

  analysis.GraphBox()->setChecked(true);
  EXPECT_FALSE(analysis.Header()->isSectionHidden(1));
  EXPECT_EQ(analysis.Header()->sectionSize(1), layout.Widths[1]);
  EXPECT_EQ(analysis.Layout().Widths, layout.Widths);
  EXPECT_EQ(analysis.Layout().Format, kTextLineGraph);

  // No radiograph: no text and no caption.
  current = nullptr;
  analysis.Update();
  EXPECT_TRUE(analysis.PlainText().isEmpty());
  EXPECT_TRUE(analysis.Caption().isEmpty());
}

TEST_F(AnalysisWindowTest, SaveWritesTheTextAsPlainTextHtmlOrOpenDocument) {
  TAnalysisWindow analysis([&] { return current; }, presentation, TAnalysisLayout{});
  const std::string text = example.Folder.File("analysis.txt");
  ASSERT_TRUE(analysis.SaveTo(QString::fromStdString(text)).Ok);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(text, bytes));
  QString expected = analysis.PlainText();
  expected.replace('\n', "\r\n");
  EXPECT_EQ(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())), expected + "\r\n");

  ASSERT_TRUE(analysis.SaveTo(QString::fromStdString(example.Folder.File("analysis.html"))).Ok);
  ASSERT_TRUE(ReadWholeFile(example.Folder.File("analysis.html"), bytes));
  EXPECT_NE(bytes.find("<html"), std::string::npos);
  ASSERT_TRUE(analysis.SaveTo(QString::fromStdString(example.Folder.File("analysis.odt"))).Ok);
  ASSERT_TRUE(ReadWholeFile(example.Folder.File("analysis.odt"), bytes));
  EXPECT_EQ(bytes.substr(0, 2), "PK");

  // A folder that is not there: refused, nothing written.
  EXPECT_FALSE(analysis.SaveTo(QString::fromStdString(example.Folder.File("missing/analysis.txt"))).Ok);
}

TEST_F(AnalysisWindowTest, SaveLayoutKeepsWidthsAndOptionsThroughTheSettingsFile) {
  TAnalysisWindow analysis([&] { return current; }, presentation, AnalysisLayout(example.Settings.Radiograph));
  analysis.Header()->resizeSection(0, 260);
  analysis.GraphBox()->setChecked(true);
  analysis.WrapBox()->setChecked(true);
  TSettings settings = example.Settings;
  QObject::connect(&analysis, &TAnalysisWindow::LayoutSaved,
                   [&](const TAnalysisLayout& layout) { StoreAnalysisLayout(layout, settings.Radiograph); });
  Button(analysis, "&Save Layout")->click();
  ASSERT_TRUE(settings.Save(example.Folder.File("layout.ini")).Ok);

  TSettings read = TSettings::Defaults("/elsewhere");
  ASSERT_TRUE(read.Load(example.Folder.File("layout.ini")));
  const TAnalysisLayout layout = AnalysisLayout(read.Radiograph);
  EXPECT_EQ(layout, analysis.Layout());
  EXPECT_EQ(layout.Widths[0], 260);
  EXPECT_TRUE(layout.WordWrap);

  TAnalysisWindow again([&] { return current; }, presentation, layout);
  EXPECT_EQ(again.Header()->sectionSize(0), 260);
  EXPECT_TRUE(again.GraphBox()->isChecked());
  EXPECT_TRUE(again.WrapBox()->isChecked());
}

TEST_F(AnalysisWindowTest, AnOpenWindowTakesANewLayoutAndWritesItsTextAgain) {
  ASSERT_NE(current, nullptr);
  TAnalysisLayout plain;
  plain.Format = 0;
  TAnalysisWindow analysis([&] { return current; }, presentation, plain);
  const QString bare = analysis.PlainText();
  TAnalysisLayout layout;
  layout.Widths[0] = 240;
  layout.Format = kTextLineNormals + kTextLineGraph;
  layout.WordWrap = true;
  analysis.SetLayout(layout);
  EXPECT_EQ(analysis.Layout(), layout);
  EXPECT_EQ(analysis.Header()->sectionSize(0), 240);
  EXPECT_FALSE(analysis.Header()->isSectionHidden(1));
  EXPECT_FALSE(analysis.Header()->isSectionHidden(3));
  EXPECT_GT(analysis.PlainText().count('\t'), bare.count('\t'));
  analysis.SetLayout(plain);
  EXPECT_TRUE(analysis.Header()->isSectionHidden(3));
  EXPECT_EQ(analysis.PlainText(), bare);
}

TEST_F(AnalysisWindowTest, SavedResultsAreTheValuesEachFollowedByTheDelimiter) {
  ASSERT_NE(current, nullptr);
  presentation.ResultsDelimiter = 1;  // comma
  const std::string path = example.Folder.File("results.txt");
  ASSERT_TRUE(WriteResults(path, *current, presentation).Ok);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, ResultsText(*current, presentation));
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), ',');
  int values = 0;
  for (TXRayElement* element : current->CurrentAnalysis->Points)
    if (auto* variable = dynamic_cast<TXRVariable*>(element); variable != nullptr && variable->ShowIn != 0) ++values;
  EXPECT_EQ(static_cast<int>(std::count(bytes.begin(), bytes.end(), ',')), values);

  EXPECT_FALSE(WriteResults(example.Folder.File("missing/results.txt"), *current, presentation).Ok);
}

}  // namespace
}  // namespace lumacet
