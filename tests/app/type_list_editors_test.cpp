// The list editors of a type driven through their widgets: members included, removed,
// exchanged, ticked and rearranged as the user does it, and the refusals every editor gives
// with the type left as it was.
#include "app/type_list_editors.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "model/kind_codes.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

QStringList Texts(const QListWidget* list) {
  QStringList texts;
  for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
  return texts;
}

std::vector<std::string> Names(const TMemberList& elements) {
  std::vector<std::string> names;
  for (const TXRayElement* e : elements) names.push_back(e->Name);
  return names;
}

void Select(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  list->setCurrentItem(found.front());
}

// Picks `name` on the left and clicks "&Include".
void Include(TMemberPicker* picker, const QString& name) {
  Select(picker->Available(), name);
  test::ClickButton(picker, "&Include");
}

void Tick(QListWidget* list, const QString& text, bool on) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  found.front()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

// A type with four points named in mixed case, a snake, two variables and two drawings.
struct TTypeFixture {
  TTypeFixture() {
    for (const char* name : {"b2", "A_1", "c", "D"}) edits.Add(ekDigPoint, name);
    edits.Add(ekSnake, "chin");
    for (const char* name : {"V2", "V1"}) edits.Add(ekVariable, name);
    for (const char* name : {"G2", "G1"}) edits.Add(ekGraphic, name);
    edits.Clear();
  }
  TXRayElement* E(const char* name, int code) const { return type.FindElement(name, code); }
  TXRayType type;
  TTypeEdits edits{type};
  test::TRecordingPrompts prompts;
};

TEST(TypeListEditorsTest, ProtocolMembersAreIncludedRemovedAndExchangedWhereTheUserSays) {
  test::Application();
  TTypeFixture f;
  f.edits.Add(ekProtocol, "Lateral");
  TProtocolsForm protocols(f.edits, f.prompts);
  TMemberPicker* picker = protocols.Members();
  // Points and snakes sorted together without regard to case.
  EXPECT_EQ(Texts(picker->Available()), (QStringList{"A_1", "b2", "c", "chin", "D"}));
  for (const char* name : {"A_1", "b2", "c"}) Include(picker, name);
  // With the third member selected, the next one becomes the third.
  picker->Members()->setCurrentRow(2);
  Include(picker, "chin");
  auto* protocol = static_cast<TXRProtocol*>(f.E("Lateral", ekProtocol));
  EXPECT_EQ(Names(protocol->Points), (std::vector<std::string>{"A_1", "b2", "chin", "c"}));
  EXPECT_EQ(picker->Members()->currentRow(), 3) << "the selection keeps its member";
  // A blank clears the selection: the next inclusion appends, and the same point may come twice.
  QTest::keyClick(picker->Members(), Qt::Key_Space);
  Include(picker, "A_1");
  EXPECT_EQ(Names(protocol->Points), (std::vector<std::string>{"A_1", "b2", "chin", "c", "A_1"}));
  // "Sho&w Remaining" offers only what is not yet in the protocol.
  picker->ShowRemaining()->setChecked(true);
  EXPECT_EQ(Texts(picker->Available()), (QStringList{"D"}));
  // Removing, then dragging the first member onto the third.
  picker->Members()->setCurrentRow(4);
  test::ClickButton(picker, "Remo&ve");
  picker->Exchange(0, 2);
  EXPECT_EQ(Names(protocol->Points), (std::vector<std::string>{"chin", "b2", "A_1", "c"}));
  EXPECT_EQ(Texts(picker->Members()), (QStringList{"chin", "b2", "A_1", "c"}));
  // The other fields, each a change with its history text.
  QTest::keyClicks(protocols.ErrorMargin(), "x");
  EXPECT_DOUBLE_EQ(protocol->ErrorMargin, 2.0);
  protocols.ErrorMargin()->clear();
  QTest::keyClicks(protocols.ErrorMargin(), "0.5");
  EXPECT_DOUBLE_EQ(protocol->ErrorMargin, 0.5);
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Protocol: Lateral");
  // Every step is undone in turn, back to the empty protocol.
  while (f.edits.CanUndo() && !protocol->Points.empty()) ASSERT_TRUE(protocols.Undo());
  EXPECT_TRUE(protocol->Points.empty());
  EXPECT_TRUE(f.prompts.Shown.empty());
}

TEST(TypeListEditorsTest, CheckListsAppendRemoveAndInvertInTheShownOrder) {
  test::Application();
  TTypeFixture f;
  f.edits.Add(ekArea, "Chin");
  f.edits.Add(ekView, "Profile");
  TAreasForm areas(f.edits, f.prompts);
  auto* area = static_cast<TArea*>(f.E("Chin", ekArea));
  EXPECT_EQ(Texts(areas.Points()), (QStringList{"A_1", "b2", "c", "D"}));
  Tick(areas.Points(), "D", true);
  Tick(areas.Points(), "b2", true);
  EXPECT_EQ(Names(area->Points), (std::vector<std::string>{"D", "b2"})) << "ticking appends";
  Tick(areas.Points(), "D", false);
  EXPECT_EQ(Names(area->Points), (std::vector<std::string>{"b2"}));
  areas.Points()->InvertSelection();
  EXPECT_EQ(Names(area->Points), (std::vector<std::string>{"A_1", "c", "D"}));
  areas.Points()->SelectAll();
  EXPECT_EQ(Names(area->Points), (std::vector<std::string>{"A_1", "b2", "c", "D"}));
  areas.Points()->DeselectAll();
  EXPECT_TRUE(area->Points.empty());
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Area: Chin");

  TViewsForm views(f.edits, f.prompts);
  auto* view = static_cast<TXRView*>(f.E("Profile", ekView));
  // List order, not sorted.
  EXPECT_EQ(Texts(views.Graphics()), (QStringList{"G2", "G1"}));
  Tick(views.Graphics(), "G1", true);
  Tick(views.Variables(), "V1", true);
  Tick(views.Variables(), "V2", true);
  EXPECT_EQ(Names(view->Points), (std::vector<std::string>{"G1"}));
  EXPECT_EQ(Names(view->Variables), (std::vector<std::string>{"V1", "V2"}));
  views.Variables()->InvertSelection();
  EXPECT_TRUE(view->Variables.empty());
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed View: Profile");
}

TEST(TypeListEditorsTest, RearrangeMovesTheDraggedNameAndRecordsTheTypeChange) {
  test::Application();
  TTypeFixture f;
  f.type.Name = "Lateral";
  for (const char* name : {"First", "Second", "Third"}) f.edits.Add(ekAnalysis, name);
  TAnalysesForm analyses(f.edits, f.prompts);
  // Analyses keep list order, and include like protocols.
  EXPECT_EQ(analyses.ElementList()->itemText(0), "First");
  Include(analyses.Variables(), "V1");
  Include(analyses.Graphics(), "G2");
  auto* first = static_cast<TXRAnalysis*>(f.E("First", ekAnalysis));
  EXPECT_EQ(Names(first->Points), (std::vector<std::string>{"V1"}));
  EXPECT_EQ(Names(first->Graphics), (std::vector<std::string>{"G2"}));

  test::WhenModal("Rearrange", [](QWidget* modal) {
    auto* arrange = qobject_cast<TArrangeForm*>(modal);
    ASSERT_NE(arrange, nullptr);
    EXPECT_EQ(Texts(arrange->Names()), (QStringList{"First", "Second", "Third"}));
    arrange->Move(0, 2);
    EXPECT_EQ(Texts(arrange->Names()), (QStringList{"Second", "Third", "First"}));
    arrange->accept();
  });
  QTest::mouseClick(analyses.findChild<QPushButton*>("rearrange"), Qt::LeftButton);
  EXPECT_EQ(f.type.ElementNames({ekAnalysis}), (std::vector<std::string>{"Second", "Third", "First"}));
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Type: Lateral");
  EXPECT_EQ(analyses.ElementList()->itemText(0), "Second");
  ASSERT_TRUE(analyses.Undo());
  EXPECT_EQ(f.type.ElementNames({ekAnalysis}), (std::vector<std::string>{"First", "Second", "Third"}));
}

TEST(TypeListEditorsTest, DrawingFieldsStoreAsTypedAndTheKindDecidesWhatTheListHolds) {
  test::Application();
  TTypeFixture f;
  f.edits.Add(ekPCA, "Shape");
  TDrawingsForm drawings(f.edits, f.prompts);
  drawings.Choose("G1");
  auto* g = static_cast<TXRGraphic*>(f.E("G1", ekGraphic));
  for (const char* name : {"c", "A_1", "D"}) Include(drawings.Members(), name);
  drawings.Members()->Members()->setCurrentRow(0);
  test::ClickButton(&drawings, "Move D&own");
  EXPECT_EQ(Names(g->Points), (std::vector<std::string>{"A_1", "c", "D"}));
  // Size in millimetres, stored times ten; "R" and "L" give the side.
  drawings.Size()->clear();
  QTest::keyClicks(drawings.Size(), "1.5");
  EXPECT_DOUBLE_EQ(g->Size, 15);
  QTest::keyClicks(drawings.Size(), "x");
  EXPECT_DOUBLE_EQ(g->Size, 15);
  test::ClickButton(&drawings, "L");
  EXPECT_LT(g->Size, 0);
  const int red = drawings.Colour()->findText("Red");
  drawings.Colour()->setCurrentIndex(red);
  emit drawings.Colour()->activated(red);
  EXPECT_EQ(g->Colour, 0x0000FFu);
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Graphic: G1");
  // A shape-analysis kind holds shape analyses: the points go, and come back with Ctrl+Z.
  const int consensus = drawings.KindList()->findText("PCA Consensus Markers");
  drawings.KindList()->setCurrentIndex(consensus);
  emit drawings.KindList()->activated(consensus);
  EXPECT_TRUE(g->Points.empty());
  EXPECT_EQ(Texts(drawings.Members()->Available()), (QStringList{"Shape"}));
  ASSERT_TRUE(drawings.Undo());
  EXPECT_EQ(Names(g->Points), (std::vector<std::string>{"A_1", "c", "D"}));
  EXPECT_EQ(drawings.KindList()->currentText(), "Line");
}

TEST(TypeListEditorsTest, EveryListEditorRefusesWithTheMessageAndChangesNothing) {
  test::Application();
  TTypeFixture f;
  f.edits.Add(ekAnalysis, "Mine");
  f.edits.Add(ekArea, "Chin");
  f.edits.Add(ekProtocol, "Lateral");
  f.edits.Add(ekView, "Profile");
  f.edits.Add(ekSupimp, "On S");
  f.edits.Add(ekOrient, "Level");
  auto* snake = static_cast<TDigSnake*>(f.E("chin", ekSnake));
  f.edits.Change(*snake, [](TXRayElement& e) {
    for (int i = 0; i < 4; ++i) static_cast<TDigSnake&>(e).AddPoint(10.0 * i, 0, true);
  });
  static_cast<TXRAnalysis*>(f.E("Mine", ekAnalysis))->Graphics.push_back(f.E("G1", ekGraphic));
  static_cast<TXRGraphic*>(f.E("G2", ekGraphic))->Points.push_back(snake->Points[2].get());
  static_cast<TXROrient*>(f.E("Level", ekOrient))->AffectedArea = f.E("Chin", ekArea);
  TDrawingsForm drawings(f.edits, f.prompts);
  TAnalysesForm analyses(f.edits, f.prompts);
  TAreasForm areas(f.edits, f.prompts);
  TProtocolsForm protocols(f.edits, f.prompts);
  TSnakesForm snakes(f.edits, f.prompts);
  TSupimpsForm supimps(f.edits, f.prompts);
  TOrientsForm orients(f.edits, f.prompts);
  TViewsForm views(f.edits, f.prompts);
  TPCAsForm pcas(f.edits, f.prompts);
  struct TCase {
    const char* what;
    TRollUpForm* editor;
    std::function<void()> act;
    std::string message;
  };
  const std::vector<TCase> cases = {
      {"drawing renamed to a used name", &drawings,
       [&] {
         drawings.Choose("G1");
         drawings.RenameElement("G2");
       },
       "'G2' : This name is already used."},
      {"drawing in an analysis deleted", &drawings,
       [&] {
         drawings.Choose("G1");
         drawings.DeleteElement();
       },
       "Cannot delete 'G1'.\r\n\r\nReferenced in Analysis: 'Mine'."},
      {"analysis added under a used name", &analyses, [&] { analyses.NewElement("Mine", false); },
       "'Mine' : This name is already used."},
      {"area an orientation moves deleted", &areas, [&] { areas.DeleteElement(); },
       "Cannot delete 'Chin'.\r\n\r\nReferenced in Orientation: 'Level'."},
      {"protocol renamed to a used name", &protocols,
       [&] {
         protocols.NewElement("Other", false);
         protocols.RenameElement("Lateral");
       },
       "'Lateral' : This name is already used."},
      {"snake cleared while a drawing uses its point", &snakes, [&] { snakes.ClearAll()->click(); },
       "'chin' cannot lose its points: 'G2' refers to them."},
      {"snake with a used point deleted", &snakes, [&] { snakes.DeleteElement(); },
       "Cannot delete 'chin'.\r\n\r\nReferenced in Graphic: 'G2'."},
      {"superimposition renamed to a used name", &supimps,
       [&] {
         supimps.NewElement("On N", false);
         supimps.RenameElement("On S");
       },
       "'On S' : This name is already used."},
      {"orientation renamed to a used name", &orients,
       [&] {
         orients.NewElement("Upright", false);
         orients.RenameElement("Level");
       },
       "'Level' : This name is already used."},
      {"view renamed to a used name", &views,
       [&] {
         views.NewElement("Front", false);
         views.RenameElement("Profile");
       },
       "'Profile' : This name is already used."},
      {"shape analysis renamed to a used name", &pcas,
       [&] {
         pcas.NewElement("One", false);
         pcas.NewElement("Two", false);
         pcas.RenameElement("One");
       },
       "'One' : This name is already used."},
  };
  for (const TCase& c : cases) {
    f.prompts.Shown.clear();
    const std::vector<std::string> names = f.type.ElementNames({ekGraphic, ekAnalysis, ekArea, ekSnake});
    const size_t points = snake->Points.size();
    c.act();
    ASSERT_FALSE(f.prompts.Shown.empty()) << c.what;
    EXPECT_EQ(f.prompts.Shown.back(), c.message) << c.what;
    EXPECT_EQ(f.type.ElementNames({ekGraphic, ekAnalysis, ekArea, ekSnake}), names) << c.what;
    EXPECT_EQ(snake->Points.size(), points) << c.what;
  }
  // A kind change that empties operands is a kept step, undone with Ctrl+Z.
  supimps.Choose("On S");
  auto* onS = static_cast<TXRSupimp*>(f.E("On S", ekSupimp));
  f.edits.SetOperand(*onS, 0, f.E("c", ekDigPoint));
  supimps.Choose("On S");
  const int bestFit = supimps.KindList()->findText("Best fit");
  supimps.KindList()->setCurrentIndex(bestFit);
  emit supimps.KindList()->activated(bestFit);
  EXPECT_EQ(onS->Operand(0), nullptr);
  ASSERT_TRUE(supimps.Undo());
  EXPECT_EQ(onS->Operand(0), f.E("c", ekDigPoint));
}

TEST(TypeListEditorsTest, SnakeFieldsChangeTheSnakeWithinTheirRanges) {
  test::Application();
  TTypeFixture f;
  auto* snake = static_cast<TDigSnake*>(f.E("chin", ekSnake));
  f.edits.Change(*snake, [](TXRayElement& e) {
    for (int i = 0; i < 5; ++i) static_cast<TDigSnake&>(e).AddPoint(10.0 * i, 0, true);
  });
  TSnakesForm snakes(f.edits, f.prompts);
  EXPECT_EQ(snakes.PointCount()->value(), 5);
  snakes.DeleteLast()->click();
  EXPECT_EQ(snake->Points.size(), 4u);
  snakes.PointCount()->setValue(8);
  emit snakes.PointCount()->editingFinished();
  EXPECT_EQ(snake->Points.size(), 8u);
  snakes.HotZone()->setValue(3);
  emit snakes.HotZone()->editingFinished();
  EXPECT_EQ(snake->HotZone, 30);
  snakes.LockBias()->setValue(250);
  emit snakes.LockBias()->editingFinished();
  EXPECT_EQ(snake->LockBias, 100) << "the box keeps the value in range";
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Snake: chin");
  snakes.ClearAll()->click();
  EXPECT_TRUE(snake->Points.empty());
  EXPECT_FALSE(snakes.PointCount()->isEnabled());
  ASSERT_TRUE(snakes.Undo());
  EXPECT_EQ(snake->Points.size(), 8u);
}

TEST(TypeListEditorsTest, FitPullsTheSnakeOntoTheEdgeOfTheTypesImageAsOneUndoableChange) {
  test::Application();
  TTypeFixture f;
  auto* snake = static_cast<TDigSnake*>(f.E("chin", ekSnake));
  f.edits.Change(*snake, [](TXRayElement& e) {
    auto& s = static_cast<TDigSnake&>(e);
    for (int i = 0; i < 5; ++i) s.AddPoint(40.0 + 30 * i, 95, true);
    s.HotZone = 20;
    s.Transition = 1;  // any
  });
  {
    TSnakesForm without(f.edits, f.prompts);
    EXPECT_FALSE(without.Fit()->isEnabled()) << "a type without an image has nothing to fit to";
  }
  // Dark above row 100, bright below.
  f.type.Image.Display.Resize(200, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) f.type.Image.Display.Row(y)[x] = y < 100 ? PackPixel(50, 50, 50) : PackPixel(200, 200, 200);
  f.type.PixelWidth = f.type.PixelHeight = 1;
  TSnakesForm snakes(f.edits, f.prompts);
  ASSERT_TRUE(snakes.Fit()->isEnabled());
  snakes.Fit()->click();
  for (const auto& point : snake->Points) EXPECT_NEAR(point->GetY(), 100, 1.5);
  EXPECT_EQ(f.type.ChangeHistory.back(), "Changed Snake: chin");
  ASSERT_TRUE(snakes.Undo());
  EXPECT_EQ(snake->Points.front()->GetY(), 95);
}

}  // namespace
}  // namespace lumacet
