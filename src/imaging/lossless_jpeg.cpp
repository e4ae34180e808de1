#include "imaging/lossless_jpeg.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr int kLookBits = 12;

// What the first kLookBits bits of a difference tell: the code's length and category, and
// when the extra bits fit as well, the whole difference.
struct TLookEntry {
  uint8_t CodeLength = 0;  // 0: the code is longer than kLookBits, or invalid
  uint8_t Category = 0;
  uint8_t Total = 0;       // code and extra bits; 0 when the extra bits do not fit
  int32_t Difference = 0;  // valid when Total is not 0
};

// One DC Huffman table: a direct look-up of the first kLookBits bits, and the canonical
// limits per length (as T.81 Annex F builds them) for the longer codes.
struct THuffmanTable {
  bool Defined = false;
  std::array<TLookEntry, 1 << kLookBits> Look{};
  std::array<int32_t, 17> MaxCode{};      // per length, -1 when none has it
  std::array<int32_t, 17> ValueOffset{};  // value index = code + offset
  std::array<uint8_t, 256> Values{};
};

// T.81 H.1.2.2: category s and s further bits give the difference; category 16 is 32768.
inline int32_t Extend(uint32_t bits, int category) {
  if (category == 0) return 0;
  if (category == 16) return 32768;
  int32_t value = int32_t(bits);
  return value < (1 << (category - 1)) ? value - (1 << category) + 1 : value;
}

void BuildTable(std::span<const uint8_t> counts, std::span<const uint8_t> values, THuffmanTable& table) {
  table = THuffmanTable{};
  table.Defined = true;
  std::copy(values.begin(), values.end(), table.Values.begin());
  int32_t code = 0;
  int32_t index = 0;
  for (int length = 1; length <= 16; ++length) {
    int count = counts[length - 1];
    table.ValueOffset[length] = index - code;
    for (int i = 0; i < count; ++i, ++code, ++index) {
      // Canonical codes of one length are consecutive; running out of them means the
      // counts promise more codes than the code space holds.
      if (code >= (int32_t{1} << length)) throw TImageReadError{"The JPEG data hold an invalid Huffman table."};
      if (length > kLookBits) continue;
      const int category = values[size_t(index)];
      const int shift = kLookBits - length;
      for (uint32_t rest = 0; rest < (1u << shift); ++rest) {
        TLookEntry& entry = table.Look[size_t((uint32_t(code) << shift) | rest)];
        entry.CodeLength = uint8_t(length);
        entry.Category = uint8_t(category);
        const int extra = category == 16 ? 0 : category;
        if (category <= 16 && length + extra <= kLookBits) {
          entry.Total = uint8_t(length + extra);
          entry.Difference = Extend(rest >> (shift - extra), category);
        }
      }
    }
    table.MaxCode[length] = count > 0 ? code - 1 : -1;
    code <<= 1;
  }
}

// The entropy-coded bits of a scan, most significant first, with stuffed zero bytes
// removed. Reading stops at a marker; bits asked for beyond it read as 0 and are counted,
// so that a scan that needed them is known to have ended early.
class TBitReader {
 public:
  TBitReader(std::span<const uint8_t> data, size_t position) : fData(data), fPos(position) {}

  // Makes at least 57 bits available.
  void Fill() {
    while (fBits <= 56) {
      uint64_t byte = 0;
      if (fAtMarker || fPos >= fData.size()) {
        fPadBits += 8;
      } else if (fData[fPos] != 0xFF) {
        byte = fData[fPos++];
      } else if (fPos + 1 < fData.size() && fData[fPos + 1] == 0x00) {
        byte = 0xFF;
        fPos += 2;
      } else {
        fAtMarker = true;
        fPadBits += 8;
      }
      fBuffer = (fBuffer << 8) | byte;
      fBits += 8;
    }
  }
  int Available() const { return fBits; }
  uint32_t Peek(int count) const { return uint32_t(fBuffer >> (fBits - count)) & ((1u << count) - 1); }
  void Skip(int count) { fBits -= count; }
  // True once bits that were not in the data have been consumed.
  bool Overrun() const { return fPadBits > fBits; }

  // Ends a restart interval: the rest of the current byte is padding, and the marker RSTn
  // with n = `index` must follow at once.
  void Restart(int index) {
    if (Overrun()) throw TImageReadError{"The JPEG data end early."};
    if (fBits - fBits % 8 != fPadBits) throw TImageReadError{"The JPEG data are corrupt before a restart marker."};
    if (fPos >= fData.size() || fData[fPos] != 0xFF) throw TImageReadError{"A JPEG restart marker is missing."};
    while (fPos < fData.size() && fData[fPos] == 0xFF) ++fPos;
    if (fPos >= fData.size() || fData[fPos] != 0xD0 + index) throw TImageReadError{"A JPEG restart marker is missing."};
    ++fPos;
    fBuffer = 0;
    fBits = 0;
    fPadBits = 0;
    fAtMarker = false;
  }

 private:
  std::span<const uint8_t> fData;
  size_t fPos;
  uint64_t fBuffer = 0;
  int fBits = 0;
  int fPadBits = 0;
  bool fAtMarker = false;
};

[[noreturn]] void Corrupt() { throw TImageReadError{"The JPEG data are corrupt."}; }

// Data that make no sense once the bits have run out were cut short, not corrupted.
[[noreturn]] void Corrupt(const TBitReader& bits) {
  if (bits.Overrun()) throw TImageReadError{"The JPEG data end early."};
  Corrupt();
}

int DecodeLongCode(TBitReader& bits, const THuffmanTable& table) {
  for (int length = kLookBits + 1; length <= 16; ++length) {
    int32_t code = int32_t(bits.Peek(length));
    if (code <= table.MaxCode[length]) {
      bits.Skip(length);
      return table.Values[size_t(code + table.ValueOffset[length])];
    }
  }
  Corrupt(bits);
}

// The next difference: most often one look-up; otherwise the code, then its extra bits.
inline int32_t DecodeDifference(TBitReader& bits, const THuffmanTable& table) {
  if (bits.Available() < 32) bits.Fill();
  const TLookEntry& entry = table.Look[bits.Peek(kLookBits)];
  if (entry.Total != 0) {
    bits.Skip(entry.Total);
    return entry.Difference;
  }
  int category;
  if (entry.CodeLength != 0) {
    bits.Skip(entry.CodeLength);
    category = entry.Category;
  } else {
    category = DecodeLongCode(bits, table);
  }
  if (category > 16) Corrupt(bits);
  if (category == 16 || category == 0) return Extend(0, category);
  uint32_t extra = bits.Peek(category);
  bits.Skip(category);
  return Extend(extra, category);
}

// Decodes one line into `line`, predicted from `above` (null for the first line of the
// image or of a restart interval, T.81 H.1.2.1).
template <int Predictor>
void DecodeLine(TBitReader& bits, const THuffmanTable& table, int32_t width, uint32_t limit, const uint16_t* above,
                uint16_t* line) {
  auto store = [&](uint16_t* sample, int32_t prediction) {
    uint32_t value = uint32_t(prediction + DecodeDifference(bits, table)) & 0xFFFF;
    // A lossless coder never makes a sample beyond its precision.
    if (value > limit) Corrupt(bits);
    *sample = uint16_t(value);
    return int32_t(value);
  };
  if (!above) {
    int32_t left = store(line, int32_t(limit / 2 + 1));
    for (int32_t x = 1; x < width; ++x) left = store(line + x, left);
    return;
  }
  int32_t left = store(line, above[0]);
  for (int32_t x = 1; x < width; ++x) {
    int32_t a = left;
    int32_t b = above[x];
    int32_t c = above[x - 1];
    int32_t prediction;
    if constexpr (Predictor == 1) prediction = a;
    if constexpr (Predictor == 2) prediction = b;
    if constexpr (Predictor == 3) prediction = c;
    if constexpr (Predictor == 4) prediction = a + b - c;
    if constexpr (Predictor == 5) prediction = a + ((b - c) >> 1);
    if constexpr (Predictor == 6) prediction = b + ((a - c) >> 1);
    if constexpr (Predictor == 7) prediction = (a + b) >> 1;
    left = store(line + x, prediction);
  }
}

template <int Predictor>
void DecodeScan(TBitReader& bits, const THuffmanTable& table, const TLosslessJpegFrame& frame, int32_t restartLines,
                const TLosslessJpegLineSink& sink) {
  const int32_t width = frame.Width;
  const uint32_t limit = (uint32_t{1} << (frame.Precision - frame.PointTransform)) - 1;
  const size_t lineSamples = size_t(width);
  std::vector<uint16_t> above(lineSamples), current(lineSamples), shown(lineSamples);
  int restartIndex = 0;
  for (int32_t row = 0; row < frame.Height; ++row) {
    bool first = row == 0;
    if (restartLines > 0 && row > 0 && row % restartLines == 0) {
      bits.Restart(restartIndex);
      restartIndex = (restartIndex + 1) % 8;
      first = true;
    }
    DecodeLine<Predictor>(bits, table, width, limit, first ? nullptr : above.data(), current.data());
    if (bits.Overrun()) throw TImageReadError{"The JPEG data end early."};
    if (frame.PointTransform == 0) {
      sink(row, current);
    } else {
      for (int32_t x = 0; x < width; ++x) shown[size_t(x)] = uint16_t(current[size_t(x)] << frame.PointTransform);
      sink(row, shown);
    }
    std::swap(above, current);
  }
}

void DecodeStream(std::span<const uint8_t> stream, const TLosslessJpegFrameCheck& check,
                  const TLosslessJpegLineSink& sink) {
  TByteSource in(stream, true);
  const char* truncated = "The JPEG data end early.";
  if (in.Size() < 2 || stream[0] != 0xFF || stream[1] != 0xD8)
    throw TImageReadError{"The data are not a JPEG stream."};
  std::array<THuffmanTable, 4> tables;
  TLosslessJpegFrame scan;
  bool haveFrame = false;
  int restartInterval = 0;
  uint64_t pos = 2;
  int tableIndex = -1;
  for (;;) {
    if (in.U8(pos, truncated) != 0xFF) Corrupt();
    while (in.U8(pos, truncated) == 0xFF) ++pos;
    uint8_t marker = stream[pos++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD8 || marker == 0x00) Corrupt();
    if (marker == 0xD9) throw TImageReadError{"The JPEG data hold no image."};
    uint64_t length = in.U16(pos, truncated);
    if (length < 2) Corrupt();
    std::span<const uint8_t> segment = in.Span(pos + 2, length - 2, truncated);
    pos += length;
    auto need = [&](size_t count) {
      if (segment.size() < count) Corrupt();
    };
    if (marker == 0xC3) {
      need(6);
      if (haveFrame) Corrupt();
      haveFrame = true;
      scan.Precision = segment[0];
      scan.Height = segment[1] << 8 | segment[2];
      scan.Width = segment[3] << 8 | segment[4];
      if (segment[5] != 1) throw TImageReadError{"Only grey lossless JPEG images can be read."};
      need(9);
    } else if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      throw TImageReadError{"The JPEG data are not lossless (process 14)."};
    } else if (marker == 0xC4) {
      size_t at = 0;
      while (at < segment.size()) {
        need(at + 17);
        int tableClass = segment[at] >> 4;
        int id = segment[at] & 0x0F;
        if (tableClass > 1 || id > 3) Corrupt();
        std::span<const uint8_t> counts = segment.subspan(at + 1, 16);
        size_t total = 0;
        for (uint8_t count : counts) total += count;
        if (total > 256) Corrupt();
        need(at + 17 + total);
        // Lossless coding uses DC tables only.
        if (tableClass == 0) BuildTable(counts, segment.subspan(at + 17, total), tables[size_t(id)]);
        at += 17 + total;
      }
    } else if (marker == 0xDD) {
      need(2);
      restartInterval = segment[0] << 8 | segment[1];
    } else if (marker == 0xDA) {
      need(1);
      if (segment[0] != 1) throw TImageReadError{"Only grey lossless JPEG images can be read."};
      need(6);
      tableIndex = segment[2] >> 4;
      scan.Predictor = segment[3];
      scan.PointTransform = segment[5] & 0x0F;
      break;
    }
  }
  if (!haveFrame) throw TImageReadError{"The JPEG data hold no lossless frame."};
  if (scan.Predictor < 1 || scan.Predictor > 7) Corrupt();
  if (scan.Precision < 2 || scan.Precision > 16 || scan.PointTransform >= scan.Precision) Corrupt();
  if (tableIndex > 3 || !tables[size_t(tableIndex)].Defined) throw TImageReadError{"The JPEG data lack a Huffman table."};
  if (scan.Width == 0 || scan.Height == 0) throw TImageReadError{"The JPEG image has no lines."};
  if (restartInterval % scan.Width != 0) throw TImageReadError{"The JPEG restart interval does not span whole lines."};
  // Every sample takes at least one bit.
  if (int64_t(scan.Width) * scan.Height > int64_t(in.Size() - pos) * 8) throw TImageReadError{truncated};
  if (std::string refusal = check(scan); !refusal.empty()) throw TImageReadError{refusal};

  TBitReader bits(stream, size_t(pos));
  const THuffmanTable& table = tables[size_t(tableIndex)];
  const int32_t restartLines = restartInterval / scan.Width;
  switch (scan.Predictor) {
    case 1: DecodeScan<1>(bits, table, scan, restartLines, sink); break;
    case 2: DecodeScan<2>(bits, table, scan, restartLines, sink); break;
    case 3: DecodeScan<3>(bits, table, scan, restartLines, sink); break;
    case 4: DecodeScan<4>(bits, table, scan, restartLines, sink); break;
    case 5: DecodeScan<5>(bits, table, scan, restartLines, sink); break;
    case 6: DecodeScan<6>(bits, table, scan, restartLines, sink); break;
    default: DecodeScan<7>(bits, table, scan, restartLines, sink); break;
  }
  if (bits.Overrun()) throw TImageReadError{truncated};
}

}  // namespace

bool DecodeLosslessJpegLines(std::span<const uint8_t> stream, const TLosslessJpegFrameCheck& check,
                             const TLosslessJpegLineSink& sink, std::string& reason) {
  try {
    DecodeStream(stream, check, sink);
    return true;
  } catch (const TImageReadError& error) {
    reason = error.Reason;
  } catch (const std::bad_alloc&) {
    reason.clear();
  }
  return false;
}

bool DecodeLosslessJpeg(std::span<const uint8_t> stream, int64_t maxSamples, TLosslessJpegImage& image,
                        std::string& reason) {
  image = TLosslessJpegImage{};
  auto check = [&](const TLosslessJpegFrame& frame) -> std::string {
    if (int64_t(frame.Width) * frame.Height > maxSamples) return "The JPEG image is larger than expected.";
    image.Frame = frame;
    image.Samples.resize(size_t(frame.Width) * size_t(frame.Height));
    return {};
  };
  auto sink = [&](int32_t row, std::span<const uint16_t> line) {
    std::copy(line.begin(), line.end(), image.Samples.begin() + int64_t(row) * image.Frame.Width);
  };
  if (DecodeLosslessJpegLines(stream, check, sink, reason)) return true;
  image = TLosslessJpegImage{};
  return false;
}

}  // namespace lumacet
