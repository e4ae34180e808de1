// The fixed tables that give each element kind its file token, operand slot classes,
// editor captions and icon. Operand slot classes use the element kind codes (13 any
// point, 14 unused).
#pragma once

#include <array>
#include <string_view>

namespace lumacet {

struct TKindInfo {
  std::string_view Token;           // file token and editor label
  std::array<int, 5> Slots;         // accepted class per operand slot; 14 = unused
  std::string_view Caption1;        // editor caption of parameter 1 (empty: hidden)
  std::string_view Caption2;        // editor caption of parameter 2
  int Icon;                         // editor image index, -1 none
};

// Digitized-point kinds 0..11 ("Normal" ... "Walk (mm)"), five operand slots.
inline constexpr int kDigPointKindCount = 12;
const TKindInfo& DigPointKind(int kind);

// Derived-point kinds 0..15 ("Fixed" ... "Interpolation"), four operand slots.
inline constexpr int kDerPointKindCount = 16;
const TKindInfo& DerPointKind(int kind);

// Variable kinds 0..65; reference kinds carry "[R] " in their token.
inline constexpr int kVariableKindCount = 66;
const TKindInfo& VariableKind(int kind);
bool IsReferenceVariableKind(int kind);

// Superimposition and orientation kinds 0..5.
inline constexpr int kSupimpKindCount = 6;
const TKindInfo& SupimpKind(int kind);
inline constexpr int kOrientKindCount = 6;
const TKindInfo& OrientKind(int kind);

// Drawing kinds 0..27 ("Line" ... "Lower Molar Frontal").
inline constexpr int kGraphicKindCount = 28;
std::string_view GraphicKindToken(int kind);
// Kinds 8 and 9 draw shape analyses; all others draw points.
bool IsPcaGraphicKind(int kind);

// Index of `token` in a kind table, or -1.
int FindKindToken(const TKindInfo& (*table)(int), int count, std::string_view token);
int FindGraphicKindToken(std::string_view token);

// Leading slots whose class is not 14.
int CountUsedSlots(const std::array<int, 5>& slots, int slotCount);

}  // namespace lumacet
