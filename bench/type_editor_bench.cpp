// The type browser and editors on a type of 2,000 elements: opening the Type Browser and an
// editor (targets: under 200 ms), and a field change with everything it feeds recomputed
// (target: under 16 ms, one frame).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/type_browser_form.h"
#include "app/type_editors.h"
#include "app/type_list_editors.h"
#include "model/kind_codes.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "shell/workspace.h"

namespace lumacet {
namespace {

QApplication& Widgets() {
  static int argc = 3;
  static char name[] = "lumacet_bench";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  static QApplication application(argc, argv);
  return application;
}

class TSilentPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph&) override { return false; }
};

// 800 digitized points, 600 derived points each built on the ones before, 400 variables,
// 150 drawings, 50 analyses, and 20 each of areas, views and protocols.
std::unique_ptr<TXRayType> LargeType() {
  auto type = std::make_unique<TXRayType>();
  std::string message;
  std::vector<TXRayElement*> points;
  for (int i = 0; i < 800; ++i) {
    auto* p = static_cast<TDigPoint*>(type->AddElement("Point " + std::to_string(i), ekDigPoint, message));
    p->SetXY(10.0 * i, 5.0 * (i % 37));
    points.push_back(p);
  }
  for (int i = 0; i < 600; ++i) {
    auto* d = static_cast<TDerPoint*>(type->AddElement("Derived " + std::to_string(i), ekDerPoint, message));
    d->SetKind(KindNumber(TDerPointKind::Midpoint));
    d->SetOperand(0, points[points.size() - 1 - static_cast<size_t>(i % 50)]);
    d->SetOperand(1, points[static_cast<size_t>(i)]);
    points.push_back(d);
  }
  std::vector<TXRayElement*> variables;
  for (int i = 0; i < 400; ++i) {
    auto* v = static_cast<TXRVariable*>(type->AddElement("Variable " + std::to_string(i), ekVariable, message));
    v->SetKind(KindNumber(TVariableKind::Distance1));
    v->SetOperand(0, points[static_cast<size_t>(i) * 3 % points.size()]);
    v->SetOperand(1, points[800 + static_cast<size_t>(i) % 600]);
    variables.push_back(v);
  }
  std::vector<TXRayElement*> drawings;
  for (int i = 0; i < 150; ++i) {
    auto* g = static_cast<TXRGraphic*>(type->AddElement("Drawing " + std::to_string(i), ekGraphic, message));
    for (int k = 0; k < 8; ++k) g->Points.push_back(points[static_cast<size_t>(i * 8 + k) % points.size()]);
    drawings.push_back(g);
  }
  for (int i = 0; i < 50; ++i) {
    auto* a = static_cast<TXRAnalysis*>(type->AddElement("Analysis " + std::to_string(i), ekAnalysis, message));
    for (int k = 0; k < 8; ++k) a->Points.push_back(variables[static_cast<size_t>(i * 8 + k)]);
    a->Graphics.push_back(drawings[static_cast<size_t>(i)]);
  }
  for (int i = 0; i < 20; ++i) {
    auto* area = static_cast<TArea*>(type->AddElement("Area " + std::to_string(i), ekArea, message));
    auto* view = static_cast<TXRView*>(type->AddElement("View " + std::to_string(i), ekView, message));
    auto* protocol = static_cast<TXRProtocol*>(type->AddElement("Protocol " + std::to_string(i), ekProtocol, message));
    for (int k = 0; k < 8; ++k) {
      area->Points.push_back(points[static_cast<size_t>(i * 8 + k)]);
      view->Points.push_back(drawings[static_cast<size_t>(i + k)]);
      view->Variables.push_back(variables[static_cast<size_t>(i * 8 + k)]);
    }
    for (int k = 0; k < 40; ++k) protocol->Points.push_back(points[static_cast<size_t>(i * 40 + k)]);
  }
  return type;
}

void BM_OpenTypeBrowser(benchmark::State& state) {
  Widgets();
  auto type = LargeType();
  const TXRayElement* first = type->ElementList(ekDigPoint).front().get();
  for (auto _ : state) {
    TTypeBrowserForm browser(*type);
    browser.GoTo(first);  // the rows and the referrers of a point many elements use
    benchmark::DoNotOptimize(browser.Selected());
  }
}
BENCHMARK(BM_OpenTypeBrowser)->Unit(benchmark::kMillisecond);

// Every editor fills its lists of the other kinds (operands, members, check lists) on opening.
template <class TForm>
void BM_OpenEditor(benchmark::State& state) {
  Widgets();
  auto type = LargeType();
  TTypeEdits edits(*type);
  TSilentPrompts prompts;
  for (auto _ : state) {
    TForm editor(edits, prompts);
    benchmark::DoNotOptimize(editor.CurrentElement());
  }
}
BENCHMARK_TEMPLATE(BM_OpenEditor, TDigPointsForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TDerPointsForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TDrawingsForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TAnalysesForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TViewsForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TAreasForm)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OpenEditor, TProtocolsForm)->Unit(benchmark::kMillisecond);

// A point included in a drawing: the change kept as an undo step, both lists filled again.
void BM_IncludeInDrawing(benchmark::State& state) {
  Widgets();
  auto type = LargeType();
  TTypeEdits edits(*type);
  TSilentPrompts prompts;
  TDrawingsForm editor(edits, prompts);
  editor.Choose("Drawing 0");
  for (auto _ : state) {
    editor.Members()->Available()->setCurrentRow(0);
    editor.Members()->Include();
    editor.Members()->Members()->setCurrentRow(0);
    editor.Members()->Remove();
  }
}
BENCHMARK(BM_IncludeInDrawing)->Unit(benchmark::kMillisecond);

// A key typed into a parameter: the change checked, kept as an undo step, the fields shown
// again, and every derived point recomputed as the preview needs them.
void BM_FieldChangeWithRecompute(benchmark::State& state) {
  Widgets();
  auto type = LargeType();
  TTypeEdits edits(*type);
  TSilentPrompts prompts;
  TDerPointsForm editor(edits, prompts);
  editor.Choose("Derived 0");
  QLineEdit* field = editor.Parameter(0);
  int key = 0;
  for (auto _ : state) {
    QTest::keyClick(field, static_cast<char>('1' + key++ % 9));
    double sum = 0;
    for (const auto& e : type->ElementList(ekDerPoint)) sum += static_cast<TDerPoint&>(*e).GetX();
    benchmark::DoNotOptimize(sum);
    if (field->text().size() > 6) field->clear();
  }
}
BENCHMARK(BM_FieldChangeWithRecompute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
