// The packets of a tablet read as an input event device: one for each button press, at the
// position the device reports with it, in tracing units (0.1 mm) from the axes' own
// resolution, y downwards from the tablet's top-left corner, as a film lies on it.
#pragma once

#include <linux/input.h>

#include <deque>
#include <optional>

#include "geometry/coordinates.h"

namespace lumacet {

class TTabletPackets {
 public:
  // Both axes need a resolution (units per millimetre) above 0.
  TTabletPackets(const input_absinfo& x, const input_absinfo& y);

  // A press of any button makes a packet at the end of its report (SYN_REPORT), after the
  // coordinates the same report moves to. Moves, releases and pressure make none.
  void Feed(const input_event& event);
  // The oldest packet not yet taken.
  std::optional<TFloatPoint> Take();

 private:
  input_absinfo fX;
  input_absinfo fY;
  int fValueX;
  int fValueY;
  bool fPressed = false;
  std::deque<TFloatPoint> fPackets;
};

}  // namespace lumacet
