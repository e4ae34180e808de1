#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/kind_codes.h"
#include "model/type_browser.h"
#include "model/xray_type.h"

namespace lumacet {
namespace {

struct TShownRow {
  std::string Caption;
  std::string Value;
  std::string Link;  // the linked element's name
  bool Indent;
  bool operator==(const TShownRow&) const = default;
};

std::vector<TShownRow> Shown(const TXRayElement& element) {
  std::vector<TShownRow> shown;
  for (const TBrowserRow& row : PropertyRows(element))
    shown.push_back({row.Caption.English(), row.Value.English(), row.Link != nullptr ? row.Link->Name : "", row.Indent});
  return shown;
}

template <class T>
T* Add(TXRayType& type, const std::string& name, int code) {
  std::string message;
  return static_cast<T*>(type.AddElement(name, code, message));
}

TEST(TypeBrowser, RowsOfEachClassWithTheirLinks) {
  TXRayType type;
  auto* a = Add<TDigPoint>(type, "A", ekDigPoint);
  auto* b = Add<TDigPoint>(type, "B", ekDigPoint);
  b->DirectionPoint1 = a;
  b->SearchRange = -25;
  b->SearchAngle = 3.14159265358979 / 4;
  b->Description = "lower";
  auto* sweep = Add<TDerPoint>(type, "S", ekDerPoint);
  sweep->SetKind(KindNumber(TDerPointKind::SweepAngle));
  sweep->SetParameters(900, 0);
  sweep->SetOperand(0, a);
  auto* v = Add<TXRVariable>(type, "V", ekVariable);
  v->SetKind(KindNumber(TVariableKind::Distance1));
  v->SetOperand(0, a);
  v->SetOperand(1, b);
  v->ReferenceFlags[1] = true;
  v->FemaleNormals.push_back({8, 12, 81.5, 3.25});
  auto* g = Add<TXRGraphic>(type, "G", ekGraphic);
  g->SetKind(KindNumber(TGraphicKind::Markers));
  g->Points = {a, b};
  g->Colour = 0x00FF8000;  // blue 255, green 128, red 0
  auto* analysis = Add<TXRAnalysis>(type, "An", ekAnalysis);
  analysis->Points = {v};
  analysis->Graphics = {g};

  struct TCase {
    const TXRayElement* element;
    std::vector<TShownRow> expected;  // the rows listed, in order, among all the element's rows
  };
  const std::vector<TCase> cases = {
      {b,
       {{"Description", "lower", "", false},
        {"Type", "Normal", "", false},
        {"Edge Extent", "25", "", false},
        {"Edge Angle", "45", "", false},
        {"Edge Transition", "Any", "", false},
        {"Direction 1", "A", "A", false},
        {"Auto Edge Lock", "Orientation Cursor only", "", false}}},
      {sweep, {{"Type", "Sweep Angle", "", false}, {"Angle:", "90", "", true}, {"1", "A", "A", true}}},
      {v,
       {{"Type", "Distance1", "", false},
        {"1", "A", "A", true},
        {"2", "[R] B", "B", true},
        {"Female Normals", "", "", false},
        {"Age: 8  to: 12", "Mean: 81.5  St. Dev.: 3.25", "", true}}},
      {g,
       {{"Type", "Markers", "", false},
        {"Color", "#0080FF", "", false},
        {"Size", "10", "", false},
        {"Shape", "Cross", "", false},
        {"Use for Morphing", "No", "", false},
        {"Points", "", "", false},
        {"0", "A", "A", true},
        {"1", "B", "B", true}}},
      {analysis,
       {{"Variables", "", "", false}, {"0", "V", "V", true}, {"Drawings", "", "", false}, {"0", "G", "G", true}}},
  };
  for (const TCase& c : cases) {
    const std::vector<TShownRow> shown = Shown(*c.element);
    auto next = shown.begin();
    for (const TShownRow& row : c.expected) {
      next = std::find(next, shown.end(), row);
      EXPECT_NE(next, shown.end()) << c.element->Name << ": " << row.Caption << " = " << row.Value;
    }
  }
  // Derived points have no description; a variable with male norms only shows no female heading.
  for (const TShownRow& row : Shown(*sweep)) EXPECT_NE(row.Caption, "Description");
  for (const TShownRow& row : Shown(*v)) EXPECT_NE(row.Caption, "Male Normals");
  // A drawing coloured by a variable links to it instead of naming a colour.
  g->ColourVariable = v;
  const std::vector<TShownRow> coloured = Shown(*g);
  EXPECT_NE(std::find(coloured.begin(), coloured.end(), TShownRow{"Use Color of", "V", "V", false}), coloured.end());
  for (const TShownRow& row : coloured) EXPECT_NE(row.Caption, "Color");
  // The referrers: a direction point lists the point it directs.
  EXPECT_EQ(type.Referrers(a), (std::vector<TXRayElement*>{b, sweep, g, v}));
  EXPECT_EQ(type.Referrers(v), (std::vector<TXRayElement*>{g, analysis}));
}

TEST(TypeBrowser, CategoriesBackAndFind) {
  std::vector<std::string> captions;
  for (const TBrowserCategory& c : BrowserCategories()) captions.push_back(TText(c.Caption).English());
  EXPECT_EQ(captions, (std::vector<std::string>{"Digitized Points", "Derived Points", "Areas", "Drawings", "Variables",
                                                "Analyses", "Protocols", "Superimpositions", "Orientations",
                                                "Relationships", "Views", "Snakes", "PCAs"}));

  TXRayType type;
  auto* a = Add<TDigPoint>(type, "Sella", ekDigPoint);
  auto* b = Add<TDigPoint>(type, "Nasion", ekDigPoint);
  auto* c = Add<TXRVariable>(type, "SNA", ekVariable);
  TBrowserHistory history;
  history.Leaving(nullptr);  // from the root
  history.Leaving(a);
  history.Leaving(b);
  EXPECT_TRUE(history.CanGoBack());
  EXPECT_EQ(history.Back(), b);
  EXPECT_EQ(history.Back(), a);
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_EQ(history.Back(), nullptr);

  struct TFind {
    const char* text;
    const TXRayElement* found;
  };
  for (const TFind& f : std::vector<TFind>{{"SNA", c}, {"sna", c}, {"nas", b}, {"ell", a}, {"xyz", nullptr}, {"", nullptr}})
    EXPECT_EQ(FindInBrowser(type, f.text), f.found) << f.text;
}

}  // namespace
}  // namespace lumacet
