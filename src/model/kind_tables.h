// The fixed tables behind the element kinds: one row per kind with its file token, operand
// slot classes, editor captions and icon, and the facts the code decides by kind. Every
// lookup takes the stored kind number; a number outside its table reads the first row.
#pragma once

#include <string_view>

#include "model/kind_codes.h"
#include "model/operand_slots.h"

namespace lumacet {

// What a row says about its kind besides slots and captions.
enum TKindFlag : unsigned {
  kfReference = 1u << 0,       // variables: flagged operands come from the reference radiograph ("[R]")
  kfText = 1u << 1,            // variables: the value is text, never re-formatted as a number
  kfDrawingMeasure = 1u << 2,  // variables: measures its drawing operand
  kfConstruction = 1u << 3,    // variables: the measurement visual draws the construction of its points
  kfSpline = 1u << 4,          // drawings: the outline is a spline
  kfClosed = 1u << 5,          // drawings: the outline closes back onto its first point
  kfShapeAnalysis = 1u << 6,   // drawings: the list holds shape analyses instead of points
};

struct TDigPointKindInfo {
  TDigPointKind Kind;
  std::string_view Token;     // file token and editor label
  TSlotClasses Slots;
  std::string_view Caption1;  // editor caption of parameter 1 (empty: hidden)
  std::string_view Caption2;  // editor caption of parameter 2
  int Icon;                   // editor image index, -1 none
  int SampleStep;             // spacing of the snake samples an automatic kind works on; 0 none
};
const TDigPointKindInfo& DigPointKind(int kind);

struct TDerPointKindInfo {
  TDerPointKind Kind;
  std::string_view Token;
  TSlotClasses Slots;
  std::string_view Caption1;
  std::string_view Caption2;
  int Icon;
};
const TDerPointKindInfo& DerPointKind(int kind);

struct TVariableKindInfo {
  TVariableKind Kind;
  std::string_view Token;     // "[R] " and the base kind's token for the reference kinds
  TSlotClasses Slots;
  std::string_view Caption1;  // editor caption of the auxiliary value (empty: hidden)
  TVariableKind Base;         // the kind whose formula applies: the kind itself, or the one a reference kind repeats
  unsigned Flags;
  constexpr bool Has(TKindFlag flag) const { return (Flags & flag) != 0; }
};
const TVariableKindInfo& VariableKind(int kind);
bool IsReferenceVariableKind(int kind);
// Kinds whose text is never re-formatted as a number: patient name, age text, comments
// and their reference forms.
bool IsTextVariableKind(int kind);

struct TSupimpKindInfo {
  TSupimpKind Kind;
  std::string_view Token;
  TSlotClasses Slots;
};
const TSupimpKindInfo& SupimpKind(int kind);

struct TOrientKindInfo {
  TOrientKind Kind;
  std::string_view Token;
  TSlotClasses Slots;
  std::string_view Caption1;
  std::string_view Caption2;
};
const TOrientKindInfo& OrientKind(int kind);

struct TGraphicKindInfo {
  TGraphicKind Kind;
  std::string_view Token;
  int Entries;  // least number of list entries, valid or not, below which nothing is drawn
  unsigned Flags;
  constexpr bool Has(TKindFlag flag) const { return (Flags & flag) != 0; }
};
const TGraphicKindInfo& GraphicKind(int kind);
// "PCA Consensus Markers" and "PCA Join Points" draw shape analyses; all others draw points.
bool IsPcaGraphicKind(int kind);

// The kind number of `token` in a table, or -1.
template <class TInfo>
int FindKindToken(const TInfo& (*table)(int), int count, std::string_view token) {
  for (int k = 0; k < count; ++k)
    if (table(k).Token == token) return k;
  return -1;
}

}  // namespace lumacet
