// The "VTO Relationships" editor driven through its widgets: points included and removed,
// the master chosen, both refusals, percentages typed (a bad one turns red and keeps the
// stored value), and one history entry per stored change.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/vto_relationships_form.h"
#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "population/population_fixture.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

void Highlight(QListWidget* list, const QString& text) {
  const auto items = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1) << text.toStdString();
  list->setCurrentItem(items.front());
}

void ChooseMaster(THardSoftForm& form, const QString& text) {
  const int index = form.MasterList()->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  form.MasterList()->setCurrentIndex(index);
  emit form.MasterList()->activated(index);
}

QStringList Texts(QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

TEST(VtoRelationshipsFormTest, PointsPercentagesAndRefusalsThroughTheWidgets) {
  test::Application();
  std::unique_ptr<TXRayType> type = test::PointType("T", {"U1", "Ls", "Stms", "Pog"});
  std::string message;
  auto* lip = static_cast<TXRHardSoft*>(type->AddElement("Lip", ekHardSoft, message));
  ASSERT_NE(lip, nullptr) << message;
  lip->PercentXPlus = 70;
  lip->PercentRotation = 12.5;
  TTypeEdits edits(*type);
  test::TRecordingPrompts prompts;
  THardSoftForm form(edits, prompts);
  EXPECT_EQ(form.windowTitle(), "VTO Relationships");
  EXPECT_EQ(form.Percent(0)->text(), "70");
  EXPECT_EQ(form.Percent(4)->text(), QLocale().toString(12.5, 'f', 1));
  EXPECT_EQ(Texts(form.AllPoints()), (QStringList{"Ls", "Pog", "Stms", "U1"}));

  const size_t history = type->ChangeHistory.size();
  ChooseMaster(form, "U1");
  EXPECT_EQ(lip->MasterPoint, type->FindElement("U1", ekDigPoint));
  // Appended when nothing is highlighted, then inserted before the highlighted entry.
  Highlight(form.AllPoints(), "Stms");
  QTest::mouseClick(form.IncludeButton(), Qt::LeftButton);
  form.AffectedPoints()->setCurrentRow(0);
  Highlight(form.AllPoints(), "Ls");
  QTest::mouseClick(form.IncludeButton(), Qt::LeftButton);
  EXPECT_EQ(Texts(form.AffectedPoints()), (QStringList{"Ls", "Stms"}));
  EXPECT_EQ(form.AffectedPoints()->currentItem()->text(), "Ls");
  ASSERT_EQ(lip->Points.size(), 2u);
  EXPECT_EQ(lip->Points[0]->Name, "Ls");

  // The master point cannot be affected, nor an affected point master.
  Highlight(form.AllPoints(), "U1");
  QTest::mouseClick(form.IncludeButton(), Qt::LeftButton);
  ChooseMaster(form, "Stms");
  ASSERT_EQ(prompts.Shown.size(), 2u);
  EXPECT_EQ(prompts.Shown[0], "Cannot include this point.\r\n\r\nIt is used as the Master Point.");
  EXPECT_EQ(prompts.Shown[1], "Cannot use this point as Master Point.\r\n\r\nIt is included in the Affected Points.");
  EXPECT_EQ(lip->Points.size(), 2u);
  EXPECT_EQ(form.MasterList()->currentText(), "U1");

  // A percentage that does not parse turns red and keeps what is stored.
  QLineEdit* yMinus = form.Percent(3);
  yMinus->clear();
  QTest::keyClicks(yMinus, "45");
  EXPECT_EQ(lip->PercentYMinus, 45);
  QTest::keyClicks(yMinus, "%");
  EXPECT_EQ(lip->PercentYMinus, 45);
  EXPECT_FALSE(yMinus->styleSheet().isEmpty());
  form.RotationAsTranslation()->setChecked(true);
  EXPECT_TRUE(lip->RotationAsTranslation);

  form.AffectedPoints()->setCurrentRow(1);
  QTest::mouseClick(form.RemoveButton(), Qt::LeftButton);
  EXPECT_EQ(Texts(form.AffectedPoints()), (QStringList{"Ls"}));

  // Master, two includes, "4" and "45" (each stored as typed), the flag and the removal:
  // one entry each; the refusals and the red text none.
  ASSERT_EQ(type->ChangeHistory.size(), history + 7);
  for (size_t i = history; i < type->ChangeHistory.size(); ++i) EXPECT_EQ(type->ChangeHistory[i], "Changed VTO Rels: Lip");
}

}  // namespace
}  // namespace lumacet
