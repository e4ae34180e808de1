#include "measure/constructions.h"

#include "model/point_elements.h"

namespace lumacet {

bool ConstructDerivedPoint(TDerPoint& point, double& x, double& y) {
  switch (point.Kind()) {
    case 0:  // "Fixed"
      x = point.Parameter1();
      y = point.Parameter2();
      return true;
    default:
      // The remaining constructions come with the measurement engine.
      return false;
  }
}

bool PlaceAutomaticPoint(TDigPoint&, double&, double&) { return false; }

}  // namespace lumacet
