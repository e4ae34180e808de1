#include "digitize/tablet_packets.h"

namespace lumacet {

TTabletPackets::TTabletPackets(const input_absinfo& x, const input_absinfo& y)
    : fX(x), fY(y), fValueX(x.value), fValueY(y.value) {}

void TTabletPackets::Feed(const input_event& event) {
  if (event.type == EV_ABS && event.code == ABS_X) {
    fValueX = event.value;
  } else if (event.type == EV_ABS && event.code == ABS_Y) {
    fValueY = event.value;
  } else if (event.type == EV_KEY && event.code >= BTN_MISC && event.value == 1) {
    fPressed = true;
  } else if (event.type == EV_SYN && event.code == SYN_REPORT && fPressed) {
    fPressed = false;
    fPackets.push_back({(static_cast<double>(fValueX) - fX.minimum) * 10.0 / fX.resolution,
                        (static_cast<double>(fValueY) - fY.minimum) * 10.0 / fY.resolution});
  } else if (event.type == EV_SYN && event.code == SYN_DROPPED) {
    // The kernel lost events: a press in the lost part is gone, and one half-seen is not trusted.
    fPressed = false;
  }
}

std::optional<TFloatPoint> TTabletPackets::Take() {
  if (fPackets.empty()) return std::nullopt;
  const TFloatPoint packet = fPackets.front();
  fPackets.pop_front();
  return packet;
}

}  // namespace lumacet
