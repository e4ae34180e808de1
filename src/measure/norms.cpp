#include "measure/norms.h"

#include <algorithm>
#include <cmath>

#include "measure/variables.h"
#include "model/radiograph.h"

namespace lumacet {

std::optional<TNormalValue> NormalForAge(const std::vector<TNormalValue>& normals, double age) {
  for (const TNormalValue& normal : normals)
    if (normal.AgeFrom <= age && age < normal.AgeTo) return normal;
  return std::nullopt;
}

std::optional<TNormalValue> ApplicableNormal(const TXRVariable& variable, const TRadiograph& radiograph) {
  if (!variable.Valid) return std::nullopt;
  std::optional<double> age = PatientAge(radiograph);
  if (!age) return std::nullopt;
  return NormalForAge(radiograph.Female ? variable.FemaleNormals : variable.MaleNormals, *age);
}

std::optional<double> ZScore(const TXRVariable& variable, const TNormalValue& normal, const TTextFormats& formats) {
  std::optional<double> value = VariableNumber(variable, formats);
  if (!value || normal.StandardDeviation == 0) return std::nullopt;
  double z = (*value - normal.Mean) / normal.StandardDeviation;
  if (!std::isfinite(z)) return std::nullopt;
  return z;
}

int DeviationClassOfZ(double z) {
  if (std::isnan(z)) return kNoDeviationClass;
  return static_cast<int>(std::clamp(std::trunc(z), -3.0, 3.0));
}

int DeviationClass(TXRVariable& variable, TRadiograph& radiograph, const TMeasureContext& context) {
  ComputeVariable(variable, radiograph, context);
  std::optional<TNormalValue> normal = ApplicableNormal(variable, radiograph);
  if (!normal) return kNoDeviationClass;
  std::optional<double> z = ZScore(variable, *normal, context.Formats);
  return z ? DeviationClassOfZ(*z) : kNoDeviationClass;
}

uint32_t DeviationColour(int deviationClass, const std::array<uint32_t, 8>& colours) {
  if (deviationClass < -3 || deviationClass > kNoDeviationClass) deviationClass = kNoDeviationClass;
  return colours[static_cast<size_t>(deviationClass + 3)];
}

std::string TextGraph(double z) {
  std::string graph = ".    :    :    |    :    :    .";
  // Held in range before the conversion: a huge z must not overflow the integer.
  double position = std::isnan(z) ? 16 : std::nearbyint(std::clamp(z * 5 + 16, 1.0, 31.0));
  graph[static_cast<size_t>(position) - 1] = 'X';
  return graph;
}

}  // namespace lumacet
