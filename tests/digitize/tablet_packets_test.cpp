// A recorded pen tablet session (input events as the kernel hands them out) turned into
// packets: only presses make one, at the position of their report, in 0.1 mm.
#include <gtest/gtest.h>

#include <vector>

#include "digitize/tablet_packets.h"

namespace lumacet {
namespace {

input_event Event(unsigned short type, unsigned short code, int value) {
  input_event event{};
  event.type = type;
  event.code = code;
  event.value = value;
  return event;
}

input_absinfo Axis(int minimum, int maximum, int resolution) {
  input_absinfo axis{};
  axis.minimum = minimum;
  axis.maximum = maximum;
  axis.resolution = resolution;
  return axis;
}

TEST(TTabletPackets, OnlyPressesMakePacketsInTenthsOfAMillimetreFromTheTopLeft) {
  // 200 units per millimetre, X from 100.
  TTabletPackets packets(Axis(100, 60100, 200), Axis(0, 40000, 100));
  const input_event session[] = {
      // A move of the puck, then pressure changes: no packet.
      Event(EV_ABS, ABS_X, 2100), Event(EV_ABS, ABS_Y, 1000), Event(EV_ABS, ABS_PRESSURE, 30),
      Event(EV_SYN, SYN_REPORT, 0),
      // The first button goes down where the report also moves the puck.
      Event(EV_KEY, BTN_LEFT, 1), Event(EV_ABS, ABS_X, 4100), Event(EV_SYN, SYN_REPORT, 0),
      // Its release, and a move with no button: nothing.
      Event(EV_KEY, BTN_LEFT, 0), Event(EV_SYN, SYN_REPORT, 0), Event(EV_ABS, ABS_Y, 25000),
      Event(EV_SYN, SYN_REPORT, 0),
      // A keyboard-range key and an auto-repeat (value 2) are not buttons being pressed.
      Event(EV_KEY, KEY_A, 1), Event(EV_KEY, BTN_STYLUS, 2), Event(EV_SYN, SYN_REPORT, 0),
      // Another button, at the last position.
      Event(EV_KEY, BTN_STYLUS2, 1), Event(EV_SYN, SYN_REPORT, 0),
      // A press in a report the kernel dropped the end of.
      Event(EV_KEY, BTN_LEFT, 1), Event(EV_SYN, SYN_DROPPED, 0), Event(EV_SYN, SYN_REPORT, 0),
  };
  for (const input_event& event : session) packets.Feed(event);
  const std::optional<TFloatPoint> first = packets.Take();
  ASSERT_TRUE(first);
  EXPECT_DOUBLE_EQ(first->X, 200);  // (4100 - 100) / 200 mm
  EXPECT_DOUBLE_EQ(first->Y, 100);
  const std::optional<TFloatPoint> second = packets.Take();
  ASSERT_TRUE(second);
  EXPECT_DOUBLE_EQ(second->X, 200);
  EXPECT_DOUBLE_EQ(second->Y, 2500);
  EXPECT_FALSE(packets.Take());
}

}  // namespace
}  // namespace lumacet
