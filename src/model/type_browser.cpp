#include "model/type_browser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "model/kind_tables.h"
#include "model/xray_type.h"
#include "support/file_numbers.h"

namespace lumacet {

namespace {

TText Verbatim(std::string text) { return TText::Verbatim(std::move(text)); }

template <size_t N>
TText Named(const TTextSource (&names)[N], int value) {
  if (value < 0 || static_cast<size_t>(value) >= N) return Verbatim(std::to_string(value));
  return TText(names[value]);
}

TText YesNo(bool value) { return value ? TText(LcText("TypeBrowser", "Yes")) : TText(LcText("TypeBrowser", "No")); }

// Shortest general form with six significant digits, as "%g" writes it, always with ".".
std::string General(double value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

// An editor caption without its "&" characters.
std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (char c : caption)
    if (c != '&') plain += c;
  return plain;
}

class TRows {
 public:
  void Add(TTextSource caption, TText value) { fRows.push_back({TText(caption), std::move(value)}); }
  void Heading(TTextSource caption) { fRows.push_back({TText(caption), {}}); }
  void Link(TTextSource caption, const TXRayElement* element) {
    if (element != nullptr) fRows.push_back({TText(caption), Verbatim(element->Name), element});
  }
  void Type(std::string_view kindName, int icon) {
    TBrowserRow row{LcText("TypeBrowser", "Type"), Verbatim(std::string(kindName))};
    row.Tall = icon >= 0;
    row.Picture = icon;
    fRows.push_back(std::move(row));
  }
  void Parameter(std::string_view caption, const std::string& value) {
    if (!caption.empty()) fRows.push_back({Verbatim(PlainCaption(caption)), Verbatim(value), nullptr, true});
  }
  // One linked, indented row per filled slot, captioned with the slot number from 1.
  void Operand(int slot, const TXRayElement* element, bool reference = false) {
    if (element == nullptr) return;
    fRows.push_back(
        {Verbatim(std::to_string(slot + 1)), Verbatim((reference ? "[R] " : "") + element->Name), element, true});
  }
  // One linked, indented row per member, captioned with its position from 0.
  void Members(const std::vector<TXRayElement*>& members) {
    for (size_t i = 0; i < members.size(); ++i)
      if (members[i] != nullptr)
        fRows.push_back({Verbatim(std::to_string(i)), Verbatim(members[i]->Name), members[i], true});
  }
  void Norms(TTextSource heading, const std::vector<TNormalValue>& norms) {
    if (norms.empty()) return;
    Heading(heading);
    for (const TNormalValue& n : norms)
      fRows.push_back(
          {TText(LcText("TypeBrowser", "Age: %1  to: %2"), {General(n.AgeFrom), General(n.AgeTo)}),
           TText(LcText("TypeBrowser", "Mean: %1  St. Dev.: %2"), {General(n.Mean), General(n.StandardDeviation)}),
           nullptr, true});
  }
  std::vector<TBrowserRow> Take() { return std::move(fRows); }

 private:
  std::vector<TBrowserRow> fRows;
};

// The colour as the web writes it: "#RRGGBB" (stored as 0x00BBGGRR).
std::string ColourText(uint32_t colour) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string text = "#";
  for (int shift : {0, 8, 16}) {
    const unsigned byte = (colour >> shift) & 0xFFu;
    text += kHex[byte >> 4];
    text += kHex[byte & 0xFu];
  }
  return text;
}

void DigPointRows(const TDigPoint& p, TRows& rows) {
  const TDigPointKindInfo& kind = DigPointKind(p.Kind());
  rows.Add(LcText("TypeBrowser", "Description"), Verbatim(p.Description));
  rows.Type(kind.Token, p.IconIndex());
  rows.Parameter(kind.Caption1, FormatRounded(p.Parameter1 / 10, 2));
  rows.Parameter(kind.Caption2, FormatRounded(p.Parameter2 / 10, 2));
  for (int slot = 0; slot < TDigPoint::kOperandCount; ++slot) rows.Operand(slot, p.Operand(slot));
  rows.Add(LcText("TypeBrowser", "Edge Extent"), Verbatim(FormatRounded(std::fabs(p.SearchRange), 3)));
  rows.Add(LcText("TypeBrowser", "Edge Angle"), Verbatim(FormatRounded(p.SearchAngle * 180 / std::numbers::pi, 1)));
  rows.Add(LcText("TypeBrowser", "Edge Transition"), TransitionName(p.Transition));
  rows.Link(LcText("TypeBrowser", "Direction 1"), p.DirectionPoint1);
  rows.Link(LcText("TypeBrowser", "Direction 2"), p.DirectionPoint2);
  rows.Add(LcText("TypeBrowser", "Auto Edge Lock"),
           p.CursorOnly ? TText(LcText("TypeBrowser", "Orientation Cursor only"))
                        : TText(LcText("TypeBrowser", "Orientation Cursor and Edge Lock")));
  rows.Link(LcText("TypeBrowser", "Hint Graphic"), p.HintDrawing);
}

void GraphicRows(const TXRGraphic& g, TRows& rows) {
  const int kind = g.Kind();
  rows.Type(GraphicKind(kind).Token, g.IconIndex());
  rows.Add(LcText("TypeBrowser", "Draw"), Verbatim(std::to_string(g.DrawOption)));
  if (g.ColourVariable != nullptr)
    rows.Link(LcText("TypeBrowser", "Use Color of"), g.ColourVariable);
  else
    rows.Add(LcText("TypeBrowser", "Color"), Verbatim(ColourText(g.Colour)));
  rows.Add(LcText("TypeBrowser", "Style"), PenStyleName(g.PenStyle));
  rows.Add(LcText("TypeBrowser", "Fill Style"), BrushStyleName(g.BrushStyle));
  rows.Add(LcText("TypeBrowser", "Pen Width"), Verbatim(std::to_string(g.LineWidth)));
  const bool markers =
      kind == KindNumber(TGraphicKind::Markers) || kind == KindNumber(TGraphicKind::PcaConsensusMarkers);
  const bool sized = markers || kind == KindNumber(TGraphicKind::Pie) || kind == KindNumber(TGraphicKind::Arc);
  const bool tooth = kind >= KindNumber(TGraphicKind::UpperIncisor);
  if (sized) rows.Add(LcText("TypeBrowser", "Size"), Verbatim(FormatRounded(g.Size / 10, 3)));
  if (tooth)
    rows.Add(LcText("TypeBrowser", "Orientation"),
             g.Size >= 0 ? TText(LcText("TypeBrowser", "Right")) : TText(LcText("TypeBrowser", "Left")));
  if (markers) rows.Add(LcText("TypeBrowser", "Shape"), MarkerShapeName(g.MarkerShape));
  rows.Add(LcText("TypeBrowser", "Use for Morphing"), YesNo(g.UseForMorphing));
  rows.Heading(LcText("TypeBrowser", "Points"));
  rows.Members(g.Points);
}

void VariableRows(const TXRVariable& v, TRows& rows) {
  const TVariableKindInfo& kind = VariableKind(v.Kind());
  rows.Type(v.KindDisplayName(), v.IconIndex());
  for (int slot = 0; slot < v.OperandCount(); ++slot)
    rows.Operand(slot, v.Operand(slot), v.ReferenceFlags[static_cast<size_t>(slot)]);
  rows.Link(LcText("TypeBrowser", "Anchor"), v.Anchor);
  rows.Add(LcText("TypeBrowser", "Anchor Offset (x, y)"),
           Verbatim(std::to_string(v.LabelOffsetX) + ", " + std::to_string(v.LabelOffsetY)));
  rows.Add(LcText("TypeBrowser", "Alignment"), AlignmentName(v.Alignment));
  rows.Add(LcText("TypeBrowser", "Display Mode"), ShowInName(v.ShowIn));
  rows.Add(LcText("TypeBrowser", "Show Name"), YesNo(v.ShowName));
  rows.Add(LcText("TypeBrowser", "Text Before"), Verbatim(v.TextBefore));
  rows.Add(LcText("TypeBrowser", "Number Format"), Verbatim(v.NumberFormat));
  rows.Add(LcText("TypeBrowser", "Text After"), Verbatim(v.TextAfter));
  if (!kind.Caption1.empty()) rows.Parameter(kind.Caption1, General(v.AuxiliaryValue));
  rows.Norms(LcText("TypeBrowser", "Female Normals"), v.FemaleNormals);
  rows.Norms(LcText("TypeBrowser", "Male Normals"), v.MaleNormals);
}

}  // namespace

const std::vector<TBrowserCategory>& BrowserCategories() {
  static const std::vector<TBrowserCategory> kCategories = {
      {LcText("TypeBrowser", "Digitized Points"), ekDigPoint, "lumacet-kind-digitized-points"},
      {LcText("TypeBrowser", "Derived Points"), ekDerPoint, "lumacet-kind-derived-points"},
      {LcText("TypeBrowser", "Areas"), ekArea, "lumacet-kind-areas"},
      {LcText("TypeBrowser", "Drawings"), ekGraphic, "lumacet-kind-drawings"},
      {LcText("TypeBrowser", "Variables"), ekVariable, "lumacet-kind-variables"},
      {LcText("TypeBrowser", "Analyses"), ekAnalysis, "lumacet-kind-analyses"},
      {LcText("TypeBrowser", "Protocols"), ekProtocol, "lumacet-kind-protocols"},
      {LcText("TypeBrowser", "Superimpositions"), ekSupimp, "lumacet-kind-superimpositions"},
      {LcText("TypeBrowser", "Orientations"), ekOrient, "lumacet-kind-orientations"},
      {LcText("TypeBrowser", "Relationships"), ekHardSoft, "lumacet-kind-relationships"},
      {LcText("TypeBrowser", "Views"), ekView, "lumacet-kind-views"},
      {LcText("TypeBrowser", "Snakes"), ekSnake, "lumacet-kind-snakes"},
      {LcText("TypeBrowser", "PCAs"), ekPCA, "lumacet-kind-pcas"},
  };
  return kCategories;
}

TText TransitionName(int transition) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "White to Black"), LcText("TypeBrowser", "Any"),
                                       LcText("TypeBrowser", "Black to White")};
  return Named(kNames, transition);
}

TText PenStyleName(int style) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "Solid"),        LcText("TypeBrowser", "Dash"),
                                       LcText("TypeBrowser", "Dot"),          LcText("TypeBrowser", "Dash Dot"),
                                       LcText("TypeBrowser", "Dash Dot Dot"), LcText("TypeBrowser", "Clear")};
  return Named(kNames, style);
}

TText BrushStyleName(int style) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "Solid"),
                                       LcText("TypeBrowser", "No Fill"),
                                       LcText("TypeBrowser", "Horizontal"),
                                       LcText("TypeBrowser", "Vertical"),
                                       LcText("TypeBrowser", "Forward Diagonal"),
                                       LcText("TypeBrowser", "Backward Diagonal"),
                                       LcText("TypeBrowser", "Cross"),
                                       LcText("TypeBrowser", "Diagonal Cross")};
  return Named(kNames, style);
}

TText MarkerShapeName(int shape) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "Cross"), LcText("TypeBrowser", "Square"),
                                       LcText("TypeBrowser", "Circle"), LcText("TypeBrowser", "Diamond"),
                                       LcText("TypeBrowser", "Triangle")};
  return Named(kNames, shape);
}

TText AlignmentName(int alignment) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "Left"), LcText("TypeBrowser", "Center"),
                                       LcText("TypeBrowser", "Right")};
  return Named(kNames, alignment);
}

TText ShowInName(int showIn) {
  static const TTextSource kNames[] = {LcText("TypeBrowser", "Display"), LcText("TypeBrowser", "Text Window"),
                                       LcText("TypeBrowser", "Both")};
  return Named(kNames, showIn);
}

std::vector<TBrowserRow> PropertyRows(const TXRayElement& element) {
  TRows rows;
  if (auto* d = dynamic_cast<const TDigPoint*>(&element)) {
    DigPointRows(*d, rows);
  } else if (auto* s = dynamic_cast<const TDigSnake*>(&element)) {
    rows.Add(LcText("TypeBrowser", "Description"), Verbatim(s->Description));
    rows.Add(LcText("TypeBrowser", "Hot Zone"), Verbatim(std::to_string(s->HotZone)));
    rows.Add(LcText("TypeBrowser", "Edge Transition"), Verbatim(std::to_string(s->Transition)));
  } else if (auto* p = dynamic_cast<const TDerPoint*>(&element)) {
    const TDerPointKindInfo& kind = DerPointKind(p->Kind());
    rows.Type(kind.Token, p->IconIndex());
    rows.Parameter(kind.Caption1, FormatRounded(p->Parameter1() / 10, 2));
    rows.Parameter(kind.Caption2, FormatRounded(p->Parameter2() / 10, 2));
    for (int slot = 0; slot < p->OperandCount(); ++slot) rows.Operand(slot, p->Operand(slot));
  } else if (auto* g = dynamic_cast<const TXRGraphic*>(&element)) {
    GraphicRows(*g, rows);
  } else if (auto* v = dynamic_cast<const TXRVariable*>(&element)) {
    VariableRows(*v, rows);
  } else if (auto* a = dynamic_cast<const TXRAnalysis*>(&element)) {
    rows.Heading(LcText("TypeBrowser", "Variables"));
    rows.Members(a->Points);
    rows.Heading(LcText("TypeBrowser", "Drawings"));
    rows.Members(a->Graphics);
  } else if (auto* pr = dynamic_cast<const TXRProtocol*>(&element)) {
    rows.Add(LcText("TypeBrowser", "Auto Advance"), YesNo(pr->AutoAdvance));
    rows.Add(LcText("TypeBrowser", "Beep On Error"), YesNo(pr->BeepOnAdvance));
    rows.Add(LcText("TypeBrowser", "Error Margin"), Verbatim(FormatFixed(pr->ErrorMargin, 1)));
    rows.Members(pr->Points);
  } else if (auto* o = dynamic_cast<const TXROrient*>(&element)) {
    const TOrientKindInfo& kind = OrientKind(o->Kind());
    rows.Type(kind.Token, o->IconIndex());
    rows.Parameter(kind.Caption1, FormatRounded(o->Parameter1, 3));
    rows.Parameter(kind.Caption2, FormatRounded(o->Parameter2, 3));
    for (int slot = 0; slot < o->OperandCount(); ++slot) rows.Operand(slot, o->Operand(slot));
    rows.Add(LcText("TypeBrowser", "Affect"), Verbatim(std::to_string(o->Affect)));
    rows.Link(LcText("TypeBrowser", "Affect Area"), o->AffectedArea);
  } else if (auto* si = dynamic_cast<const TXRSupimp*>(&element)) {
    rows.Type(SupimpKind(si->Kind()).Token, si->IconIndex());
    for (int slot = 0; slot < si->OperandCount(); ++slot) rows.Operand(slot, si->Operand(slot));
  } else if (auto* h = dynamic_cast<const TXRHardSoft*>(&element)) {
    rows.Link(LcText("TypeBrowser", "Master"), h->MasterPoint);
    rows.Add(LcText("TypeBrowser", "X+ direction"), Verbatim(FormatRounded(h->PercentXPlus, 1)));
    rows.Add(LcText("TypeBrowser", "X- direction"), Verbatim(FormatRounded(h->PercentXMinus, 1)));
    rows.Add(LcText("TypeBrowser", "Y+ direction"), Verbatim(FormatRounded(h->PercentYPlus, 1)));
    rows.Add(LcText("TypeBrowser", "Y- direction"), Verbatim(FormatRounded(h->PercentYMinus, 1)));
    rows.Add(LcText("TypeBrowser", "Rotation as Translation"), YesNo(h->RotationAsTranslation));
    rows.Add(LcText("TypeBrowser", "Rotation"), Verbatim(FormatRounded(h->PercentRotation, 1)));
    rows.Members(h->Points);
  } else if (auto* view = dynamic_cast<const TXRView*>(&element)) {
    rows.Heading(LcText("TypeBrowser", "Drawings"));
    rows.Members(view->Points);
    rows.Heading(LcText("TypeBrowser", "Variables"));
    rows.Members(view->Variables);
  } else if (auto* list = dynamic_cast<const TXRPointElement*>(&element)) {
    // Areas and shape analyses: their points.
    rows.Heading(LcText("TypeBrowser", "Points"));
    rows.Members(list->Points);
  }
  return rows.Take();
}

void TBrowserHistory::Leaving(const TXRayElement* previous) {
  if (previous != nullptr) fTrail.push_back(previous);
}

const TXRayElement* TBrowserHistory::Back() {
  if (fTrail.empty()) return nullptr;
  const TXRayElement* last = fTrail.back();
  fTrail.pop_back();
  return last;
}

const TXRayElement* FindInBrowser(const TXRayType& type, std::string_view text) {
  if (text.empty()) return nullptr;
  auto lower = [](std::string_view s) {
    std::string l(s);
    std::transform(l.begin(), l.end(), l.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return l;
  };
  const std::string wanted = lower(text);
  const auto first = [&](auto matches) -> const TXRayElement* {
    for (const TBrowserCategory& category : BrowserCategories())
      for (const auto& e : type.ElementList(category.Code))
        if (matches(*e)) return e.get();
    return nullptr;
  };
  if (const TXRayElement* exact = first([&](const TXRayElement& e) { return e.Name == text; })) return exact;
  if (const TXRayElement* prefix = first([&](const TXRayElement& e) { return lower(e.Name).starts_with(wanted); }))
    return prefix;
  return first([&](const TXRayElement& e) { return lower(e.Name).find(wanted) != std::string::npos; });
}

}  // namespace lumacet
