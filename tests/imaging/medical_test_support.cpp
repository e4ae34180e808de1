#include "imaging/medical_test_support.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lumacet::test {

TByteWriter& TByteWriter::U8(uint32_t value) {
  fData.push_back(uint8_t(value));
  return *this;
}

TByteWriter& TByteWriter::U16(uint32_t value) {
  fData.resize(fData.size() + 2);
  PutU16(fData.size() - 2, value);
  return *this;
}

TByteWriter& TByteWriter::U32(uint32_t value) {
  fData.resize(fData.size() + 4);
  PutU32(fData.size() - 4, value);
  return *this;
}

TByteWriter& TByteWriter::Text(std::string_view text) {
  fData.insert(fData.end(), text.begin(), text.end());
  return *this;
}

TByteWriter& TByteWriter::Bytes(std::span<const uint8_t> bytes) {
  fData.insert(fData.end(), bytes.begin(), bytes.end());
  return *this;
}

TByteWriter& TByteWriter::Zeros(size_t count) {
  fData.resize(fData.size() + count, 0);
  return *this;
}

void TByteWriter::PutU16(size_t at, uint32_t value) {
  fData[at + (fBigEndian ? 1 : 0)] = uint8_t(value);
  fData[at + (fBigEndian ? 0 : 1)] = uint8_t(value >> 8);
}

void TByteWriter::PutU32(size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) fData[at + size_t(fBigEndian ? 3 - i : i)] = uint8_t(value >> (8 * i));
}

namespace {

class TBitWriter {
 public:
  void Put(uint32_t value, int length) {
    for (int i = length - 1; i >= 0; --i) {
      fAccumulator = (fAccumulator << 1) | ((value >> i) & 1);
      if (++fBits == 8) {
        Bytes.push_back(uint8_t(fAccumulator));
        if (fAccumulator == 0xFF) Bytes.push_back(0);
        fAccumulator = 0;
        fBits = 0;
      }
    }
  }
  // Pads the last byte with one bits, as T.81 asks before a marker.
  void Flush() {
    if (fBits > 0) Put((1u << (8 - fBits)) - 1, 8 - fBits);
  }
  std::vector<uint8_t> Bytes;

 private:
  uint32_t fAccumulator = 0;
  int fBits = 0;
};

int Category(int32_t difference) {
  if (difference == -32768) return 16;
  int magnitude = difference < 0 ? -difference : difference;
  int bits = 0;
  while (magnitude > 0) ++bits, magnitude >>= 1;
  return bits;
}

}  // namespace

std::vector<uint8_t> EncodeLosslessJpeg(std::span<const uint16_t> samples, int width, int height,
                                        const TLosslessJpegOptions& options) {
  const int pt = options.PointTransform;
  auto at = [&](int row, int column) { return int32_t(samples[size_t(row * width + column)] >> pt); };
  const int interval = options.RestartRows > 0 ? options.RestartRows : height;
  std::vector<std::vector<int32_t>> intervals;
  for (int top = 0; top < height; top += interval) {
    std::vector<int32_t>& differences = intervals.emplace_back();
    for (int row = top; row < std::min(top + interval, height); ++row) {
      for (int column = 0; column < width; ++column) {
        int32_t prediction;
        if (row == top) {
          prediction = column == 0 ? 1 << (options.Precision - pt - 1) : at(row, column - 1);
        } else if (column == 0) {
          prediction = at(row - 1, 0);
        } else {
          int32_t a = at(row, column - 1), b = at(row - 1, column), c = at(row - 1, column - 1);
          const std::array<int32_t, 8> predictions = {0, a, b, c, a + b - c, a + ((b - c) >> 1), b + ((a - c) >> 1),
                                                      (a + b) >> 1};
          prediction = predictions[size_t(options.Predictor)];
        }
        int32_t difference = (at(row, column) - prediction) & 0xFFFF;
        differences.push_back(difference >= 32768 ? difference - 65536 : difference);
      }
    }
  }
  std::array<int, 17> frequency{};
  for (const auto& differences : intervals)
    for (int32_t difference : differences) ++frequency[size_t(Category(difference))];
  std::array<int, 17> symbols{};
  for (int i = 0; i < 17; ++i) symbols[size_t(i)] = i;
  std::stable_sort(symbols.begin(), symbols.end(),
                   [&](int a, int b) { return frequency[size_t(a)] > frequency[size_t(b)]; });
  std::array<std::pair<uint32_t, int>, 17> codes{};
  uint32_t code = 0;
  size_t index = 0;
  size_t total = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int i = 0; i < options.Counts[size_t(length - 1)]; ++i, ++code, ++index)
      if (index < 17) codes[size_t(symbols[index])] = {code, length};
    total += options.Counts[size_t(length - 1)];
    code <<= 1;
  }

  TByteWriter out(true);
  out.U16(0xFFD8);
  out.U16(0xFFC3).U16(11).U8(uint32_t(options.Precision)).U16(uint32_t(height)).U16(uint32_t(width));
  out.U8(1).U8(1).U8(0x11).U8(0);
  out.U16(0xFFC4).U16(uint32_t(2 + 17 + total)).U8(0x00);
  out.Bytes(options.Counts);
  for (size_t i = 0; i < total; ++i) out.U8(uint32_t(i < 17 ? symbols[i] : 0));
  if (options.RestartRows > 0) out.U16(0xFFDD).U16(4).U16(uint32_t(options.RestartRows * width));
  out.U16(0xFFDA).U16(8).U8(1).U8(1).U8(0).U8(uint32_t(options.Predictor)).U8(0).U8(uint32_t(pt));
  for (size_t n = 0; n < intervals.size(); ++n) {
    TBitWriter bits;
    for (int32_t difference : intervals[n]) {
      int category = Category(difference);
      bits.Put(codes[size_t(category)].first, codes[size_t(category)].second);
      if (category > 0 && category < 16)
        bits.Put(uint32_t(difference > 0 ? difference : difference + (1 << category) - 1), category);
    }
    bits.Flush();
    out.Bytes(bits.Bytes);
    if (n + 1 < intervals.size()) out.U8(0xFF).U8(uint32_t(0xD0 + n % 8));
  }
  out.U16(0xFFD9);
  return out.Data();
}

std::vector<uint16_t> TestSamples(int width, int height, int bits, uint32_t seed) {
  std::vector<uint16_t> samples(size_t(width) * size_t(height));
  const uint32_t maximum = (1u << bits) - 1;
  uint32_t state = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      uint32_t ramp = uint32_t(uint64_t(maximum) * uint64_t(x + y) / uint64_t(width + height));
      uint32_t noise = (state >> 16) % (maximum / 8 + 1);
      // Now and then a jump across the whole range, for the largest differences.
      uint32_t value = (state >> 8) % 23 == 0 ? (state >> 4) & maximum : std::min(maximum, ramp + noise);
      samples[size_t(y * width + x)] = uint16_t(value);
    }
  }
  return samples;
}

bool ReadPnm(const std::string& path, TPnmImage& image) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::string text(bytes.begin(), bytes.end());
  size_t pos = 0;
  auto token = [&]() {
    for (;;) {
      while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
      if (pos < text.size() && text[pos] == '#') {
        while (pos < text.size() && text[pos] != '\n') ++pos;
        continue;
      }
      break;
    }
    size_t start = pos;
    while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    return text.substr(start, pos - start);
  };
  std::string magic = token();
  if (magic == "P7") {
    for (std::string key = token(); key != "ENDHDR" && !key.empty(); key = token()) {
      if (key == "TUPLTYPE") {
        token();
        continue;
      }
      int value = std::atoi(token().c_str());
      if (key == "WIDTH") image.Width = value;
      if (key == "HEIGHT") image.Height = value;
      if (key == "DEPTH") image.Depth = value;
      if (key == "MAXVAL") image.MaxValue = value;
    }
  } else if (magic == "P5" || magic == "P6") {
    image.Width = std::atoi(token().c_str());
    image.Height = std::atoi(token().c_str());
    image.MaxValue = std::atoi(token().c_str());
    image.Depth = magic == "P6" ? 3 : 1;
  } else {
    return false;
  }
  ++pos;
  size_t count = size_t(image.Width) * size_t(image.Height) * size_t(image.Depth);
  size_t width = image.MaxValue > 255 ? 2 : 1;
  if (text.size() < pos + count * width) return false;
  image.Samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* sample = bytes.data() + pos + i * width;
    image.Samples[i] = width == 1 ? sample[0] : uint32_t(sample[0] << 8 | sample[1]);
  }
  return true;
}

std::vector<uint32_t> SamplesInRgbOrder(const TRawImage& image) {
  const size_t spp = size_t(image.SamplesPerPixel);
  const size_t bytes = size_t(image.BytesPerSample());
  const size_t count = image.Samples.size() / bytes;
  std::vector<uint32_t> samples(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* sample = image.Samples.data() + i * bytes;
    uint32_t value = bytes == 1 ? sample[0] : uint32_t(sample[0] | sample[1] << 8);
    size_t within = i % spp;
    // Blue and red change places; grey and alpha stay.
    size_t target = spp >= 3 && within < 3 ? i - within + (2 - within) : i;
    samples[target] = value;
  }
  return samples;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace lumacet::test
