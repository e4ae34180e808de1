// Populations of landmark configurations for the Procrustes tests, drawn from a fixed seed.
#pragma once

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "population/procrustes_analysis.h"

namespace lumacet::test {

struct TSimilarity {
  double Angle = 0;  // radians
  double Scale = 1;
  double Dx = 0;
  double Dy = 0;
};

inline std::vector<double> Transformed(const std::vector<double>& shape, const TSimilarity& t) {
  std::vector<double> out(shape.size());
  const double c = std::cos(t.Angle) * t.Scale;
  const double s = std::sin(t.Angle) * t.Scale;
  for (size_t j = 0; j < shape.size(); j += 2) {
    out[j] = shape[j] * c - shape[j + 1] * s + t.Dx;
    out[j + 1] = shape[j] * s + shape[j + 1] * c + t.Dy;
  }
  return out;
}

// A mean face-like outline of k points (tracing units) bent along two modes of different
// strength plus small independent noise, each sample placed, sized and turned at random
// (within +-maxTurn radians) as radiographs are.
inline TShapeSamples Population(int n, int k, unsigned seed, double maxTurn = 0.3) {
  std::mt19937 engine(seed);
  std::normal_distribution<double> normal(0, 1);
  std::uniform_real_distribution<double> uniform(-1, 1);
  std::vector<double> mean;
  for (int i = 0; i < k; ++i) {
    const double a = 2 * std::numbers::pi * i / k;
    mean.push_back(600 * std::cos(a) + 90 * std::cos(3 * a));
    mean.push_back(450 * std::sin(a) + 40 * std::sin(2 * a));
  }
  TShapeSamples samples;
  samples.PointCount = k;
  for (int r = 0; r < n; ++r) {
    const double mode1 = 25 * normal(engine);
    const double mode2 = 10 * normal(engine);
    std::vector<double> shape = mean;
    for (int i = 0; i < k; ++i) {
      shape[2 * i] += mode1 * (i < k / 2 ? 1.0 : -1.0) + 2 * normal(engine);
      shape[2 * i + 1] += mode2 * std::sin(4.0 * i) + 2 * normal(engine);
    }
    const TSimilarity t{maxTurn * uniform(engine), 1 + 0.1 * uniform(engine), 2000 + 300 * uniform(engine),
                        1500 + 300 * uniform(engine)};
    samples.Add(Transformed(shape, t), "Patient " + std::to_string(r + 1));
  }
  return samples;
}

}  // namespace lumacet::test
