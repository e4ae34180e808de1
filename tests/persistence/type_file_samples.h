// Types and files shared by the type file tests.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/kind_tables.h"
#include "model/xray_type.h"
#include "persistence/type_file.h"

namespace lumacet::test {

template <class T>
T* Add(TXRayType& type, int code, const std::string& name) {
  std::string message;
  auto* element = static_cast<T*>(type.AddElement(name, code, message));
  return element;
}

inline int VariableKindNumber(std::string_view token) { return FindKindToken(VariableKind, kVariableKindCount, token); }

// A type with at least one element of every kind, every field away from its default, and
// references running forwards and backwards through the record sequence.
inline std::unique_ptr<TXRayType> EveryKindType() {
  auto type = std::make_unique<TXRayType>();
  TXRayType& t = *type;
  t.Name = "Every Kind";
  t.ImageFile = "/films/ceph 1.jpg";
  t.ImageOriginX = -12.5;
  t.ImageOriginY = 30.25;
  t.PixelWidth = 0.85;
  t.PixelHeight = 0.875;
  t.ScaleOverride = true;
  t.AutoDetectResolution = 1;
  t.ImageRotation = 0.015;
  t.IconIsIcon = false;
  for (int i = 0; i < 40; ++i) t.IconData.push_back(static_cast<uint8_t>(i * 7));

  auto* s = Add<TDigPoint>(t, ekDigPoint, "S");
  s->SetRaw(600, 800, true, true);
  s->Description = "sella turcica centre";
  auto* n = Add<TDigPoint>(t, ekDigPoint, "N");
  n->SetRaw(1250.5, 700.25, true, true);
  n->SearchRange = 50;
  n->CursorOnly = false;
  n->SearchAngle = 1.570796;
  n->Transition = 2;
  n->LockBias = -30;
  n->DirectionPoint1 = s;
  auto* unplaced = Add<TDigPoint>(t, ekDigPoint, "Or");
  unplaced->SearchRange = 20;

  auto* profile = Add<TDigSnake>(t, ekSnake, "Profile");
  profile->Description = "soft tissue";
  profile->HotZone = 30;
  profile->Transition = 1;
  profile->LockBias = 20;
  for (int i = 0; i < 23; ++i) profile->AddPoint(1300 + i * 0.5, 600 + i * 40.25, true);
  profile->AddPoint(0, -0.5, true);

  auto* pog = Add<TDigPoint>(t, ekDigPoint, "Pog");
  pog->SetRaw(1190, 1900, true, true);
  pog->SetKind(2);  // "Extreme"
  pog->SetOperand(0, profile);
  pog->SetOperand(1, s);
  pog->SetOperand(3, n);
  pog->Parameter1 = 900;
  pog->Parameter2 = 0.125;

  auto* mid = Add<TDerPoint>(t, ekDerPoint, "Mid SN");
  mid->SetKind(1);  // "Midpoint"
  mid->SetOperand(0, s);
  mid->SetOperand(1, n);
  auto* fixed = Add<TDerPoint>(t, ekDerPoint, "Fixed");
  fixed->SetParameters(100.5, -200.25);

  auto* area = Add<TArea>(t, ekArea, "Cranial base");
  area->Points = {s, n, mid};

  auto* line = Add<TXRGraphic>(t, ekGraphic, "SN line");
  line->Points = {s, n};
  line->Colour = 0x0000FF;
  line->PenStyle = 2;
  line->LineWidth = 3;
  line->BrushStyle = 4;
  line->Opaque = true;
  line->Size = 120.5;
  line->UseForMorphing = true;
  line->DrawOption = 1;
  auto* markers = Add<TXRGraphic>(t, ekGraphic, "Markers");
  markers->SetKind(7);
  markers->MarkerShape = 3;
  markers->BrushStyle = 0;
  for (int i = 0; i < 20; ++i) markers->Points.push_back(i % 2 == 0 ? static_cast<TXRayElement*>(s) : n);
  pog->HintDrawing = markers;

  auto* sna = Add<TXRVariable>(t, ekVariable, "SNA");
  sna->SetKind(VariableKindNumber("Angle 180"));
  sna->SetOperand(0, n);
  sna->SetOperand(1, pog);
  sna->SetOperand(2, n);
  sna->SetOperand(3, s);
  sna->Anchor = n;
  sna->LabelOffsetX = 25;
  sna->LabelOffsetY = -40;
  sna->Alignment = 1;
  sna->ShowIn = 0;
  sna->ShowName = true;
  sna->TextBefore = "SNA = ";
  sna->NumberFormat = "0.0";
  sna->TextAfter = " deg";
  sna->Style = 3;
  sna->FemaleNormals = {{0, 12, 81.5, 3.25}, {12, 99, 82, 3.5}};
  sna->MaleNormals = {{0, 99, 82.5, 3.75}};
  line->ColourVariable = sna;

  auto* compare = Add<TXRVariable>(t, ekVariable, "Ref distance");
  compare->SetKind(VariableKindNumber("[R] Distance1"));
  compare->SetOperand(0, s);
  compare->SetOperand(1, n);
  compare->ReferenceFlags[1] = true;

  auto* analysis = Add<TXRAnalysis>(t, ekAnalysis, "Steiner");
  analysis->Points = {sna, compare};
  analysis->Graphics = {line};

  auto* protocol = Add<TXRProtocol>(t, ekProtocol, "Tracing order");
  protocol->Points = {s, n, profile};
  protocol->AutoAdvance = false;
  protocol->ErrorMargin = 1.5;

  auto* supimp = Add<TXRSupimp>(t, ekSupimp, "On SN at S");
  supimp->SetKind(1);
  supimp->SetOperand(0, s);
  supimp->SetOperand(1, n);
  supimp->SetOperand(2, s);

  auto* orient = Add<TXROrient>(t, ekOrient, "SN at 7");
  orient->SetKind(2);
  orient->SetOperand(0, s);
  orient->SetOperand(1, n);
  orient->Parameter1 = 7;
  orient->Affect = 2;
  orient->AffectedArea = area;

  auto* relation = Add<TXRHardSoft>(t, ekHardSoft, "Chin");
  relation->Points = {n};
  relation->MasterPoint = pog;
  relation->AxisPoint1 = s;
  relation->AxisPoint2 = n;
  relation->PercentXPlus = 90;
  relation->PercentXMinus = 80.5;
  relation->PercentYPlus = 70;
  relation->PercentYMinus = 60;
  relation->PercentRotation = 50.5;
  relation->RotationAsTranslation = true;

  auto* view = Add<TXRView>(t, ekView, "Lines only");
  view->Points = {line, markers};
  view->Variables = {sna};

  auto* pca = Add<TXRPCA>(t, ekPCA, "Shape");
  pca->Points = {s, n, pog};
  pca->HasData = true;
  pca->Consensus = {-0.5, 0.25, 0.125, -0.375, 0.375, 0.125};
  pca->Variances = {1.5, 0.25};
  pca->Loadings = {{0.1, 0.2}, {0.3, 0.4}, {-0.5, 0.6}, {0.7, -0.8}, {0.9, 1.0}, {-1.1, 1.2}};
  pca->SampleCount = 25;
  pca->SumDistances = 1234.5;
  pca->SumSquaredDistances = -0.0625;
  auto* small = Add<TXRPCA>(t, ekPCA, "Too small");
  small->Points = {s, n};

  auto* consensus = Add<TXRGraphic>(t, ekGraphic, "Consensus");
  consensus->SetKind(8);
  consensus->Points = {pca};
  t.RecordChange(false, {});
  return type;
}

// The smallest valid file: a name, the picture section and the given records.
inline std::string MinimalFile(std::string_view records, std::string_view name = "T") {
  std::string text(name);
  text += "\r\nVersion 3.1\r\nImageFile \"\" 0 0 0 0 0 0 2 0\r\nImage\r\nIcon\r\n\r\nImage end\r\n";
  text += records;
  return text;
}

}  // namespace lumacet::test
