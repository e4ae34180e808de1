// One patient's radiograph: particulars, the coordinates of every digitized point of its
// type and its own copies of the type's snakes.
#pragma once

#include <memory>
#include <vector>

#include "model/point_elements.h"
#include "model/radiograph.h"
#include "model/tracked_list.h"

namespace lumacet {

class TXRay : public TRadiograph {
 public:
  TXRay();
  ~TXRay() override;

  bool IsType() const override { return false; }

  // Sets the type, builds the coordinate and snake lists for it, and makes its first
  // analysis current.
  void SetType(TXRayType* type);
  // One invalid "Normal" point per digitized point of the type, and a copy of every
  // template snake (not placed).
  void CreateLists();
  void LoadCoordinates() override;
  void StoreCoordinates() override;
  std::string Caption(const TTextFormats& formats) const override;
  // Multiplies every valid coordinate and snake point by `factor` about the origin.
  void ScaleCoordinates(double factor) override;
  bool SetMagnification(double percent) override;
  // Life-size correction: divides the coordinates by (100 + magnification) / 100 and
  // marks them corrected; Uncorrect undoes it. Nothing happens for magnifications not
  // greater than -100, which cannot be corrected.
  void CorrectMagnification();
  void UncorrectMagnification();
  // Copies the selected points' coordinates from `reference`, a radiograph of the same type.
  void TransferCoordinates(const TXRay& reference);
  // Copy for "Duplicate": type, particulars and tracing, not the image or history.
  void AssignFrom(const TXRay& source);

  // Changed through non-const access only, so that the type can tell when the copy it
  // holds is no longer this radiograph's.
  TTrackedList<TDigPoint> Coordinates{fVersion};
  TTrackedList<TDigSnake> Snakes{fVersion};

 private:
  void ScaleAll(double factor);
};

// Copies coordinates, both set flags and the needs-placing flag.
void CopyPointState(const TDigPoint& from, TDigPoint& to);

}  // namespace lumacet
