// A small grey DICOM data set of several frames, for the tests of the frame choice: frame f
// (from 1) has every sample equal to 10 * f.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumacet::test {

inline std::string MultiFrameDicom(int frames, int rows = 2, int columns = 3) {
  std::string out;
  auto u16 = [&](uint32_t value) {
    out += char(value & 0xFF);
    out += char(value >> 8 & 0xFF);
  };
  auto header = [&](uint32_t group, uint32_t element, uint32_t length) {
    u16(group);
    u16(element);
    u16(length & 0xFFFF);
    u16(length >> 16);
  };
  auto us = [&](uint32_t element, uint32_t value) {
    header(0x0028, element, 2);
    u16(value);
  };
  auto text = [&](uint32_t element, std::string value) {
    if (value.size() % 2 != 0) value += ' ';
    header(0x0028, element, static_cast<uint32_t>(value.size()));
    out += value;
  };
  // Implicit VR little endian, without preamble or meta group.
  us(0x0002, 1);
  text(0x0004, "MONOCHROME2");
  text(0x0008, std::to_string(frames));
  us(0x0010, static_cast<uint32_t>(rows));
  us(0x0011, static_cast<uint32_t>(columns));
  us(0x0100, 8);
  us(0x0101, 8);
  us(0x0102, 7);
  us(0x0103, 0);
  const int frameSize = rows * columns;
  const int size = frames * frameSize + (frames * frameSize) % 2;
  header(0x7FE0, 0x0010, static_cast<uint32_t>(size));
  for (int f = 1; f <= frames; ++f) out += std::string(static_cast<size_t>(frameSize), char(10 * f));
  if (static_cast<int>(out.size()) % 2 != 0) out += '\0';
  return out;
}

}  // namespace lumacet::test
