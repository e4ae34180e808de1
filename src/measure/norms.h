// Normal values and deviation: which norm applies to a patient, how far a value lies
// from it, and the colour and text graph that show it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/list_elements.h"

namespace lumacet {

class TRadiograph;
struct TMeasureContext;
struct TTextFormats;

// The class of a variable without an applicable norm or without a value.
inline constexpr int kNoDeviationClass = 4;

// The first row of the list with age from <= age < age to; no interpolation.
std::optional<TNormalValue> NormalForAge(const std::vector<TNormalValue>& normals, double age);
// For a valid variable: the female list for a female radiograph, else the male list, at
// the radiograph's age. Nothing without both dates.
std::optional<TNormalValue> ApplicableNormal(const TXRVariable& variable, const TRadiograph& radiograph);

// (value - mean) / SD of the variable's value; nothing when the value is not a number, the
// SD is 0 or the quotient is not finite.
std::optional<double> ZScore(const TXRVariable& variable, const TNormalValue& normal, const TTextFormats& formats);
// z truncated toward zero and held to -3..3 (4 for NaN).
int DeviationClassOfZ(double z);
// Computes the variable; -3..3 when it is valid and a norm with a usable SD applies, else 4.
int DeviationClass(TXRVariable& variable, TRadiograph& radiograph, const TMeasureContext& context);
// The colour of a class from the colours of classes -3..4 (settings order); a class out of
// range has the colour of class 4.
uint32_t DeviationColour(int deviationClass, const std::array<uint32_t, 8>& colours);

// ".    :    :    |    :    :    ." with "X" where the value lies, five characters per SD:
// position z x 5 + 16 rounded (ties to even) and held to 1..31.
std::string TextGraph(double z);

}  // namespace lumacet
