#include "imaging/dicom_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/dicom_codecs.h"
#include "imaging/lossless_jpeg.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

constexpr const char* kEnds = "The file ends inside an element.";
constexpr const char* kMalformed = "The file's element structure is corrupt.";
constexpr int kMaxNesting = 32;
constexpr uint32_t kUndefinedLength = 0xFFFFFFFF;

constexpr uint32_t Tag(uint32_t group, uint32_t element) { return group << 16 | element; }
constexpr uint32_t kItem = Tag(0xFFFE, 0xE000);
constexpr uint32_t kItemEnd = Tag(0xFFFE, 0xE00D);
constexpr uint32_t kSequenceEnd = Tag(0xFFFE, 0xE0DD);
constexpr uint32_t kPixelData = Tag(0x7FE0, 0x0010);

// How the elements of a data set are written.
struct TEncoding {
  bool ExplicitVr = true;
  bool BigEndian = false;
};

struct TElement {
  uint32_t Tag = 0;
  std::array<char, 2> Vr{};  // zero for implicit VR and for items
  uint64_t Length = 0;
  uint64_t ValueAt = 0;
  bool Undefined() const { return Length == kUndefinedLength; }
  bool IsVr(const char* vr) const { return Vr[0] == vr[0] && Vr[1] == vr[1]; }
};

bool IsKnownVr(char a, char b) {
  static constexpr std::string_view kVrs =
      "AEASATCSDADSDTFDFLISLOLTOBODOFOLOVOWPNSHSLSQSSSTSVTMUCUIULUNURUSUTUV";
  for (size_t i = 0; i < kVrs.size(); i += 2)
    if (kVrs[i] == a && kVrs[i + 1] == b) return true;
  return false;
}

// VRs whose length takes four bytes after two reserved ones (PS3.5 7.1.2).
bool HasLongLength(char a, char b) {
  static constexpr std::string_view kLong = "OBODOFOLOVOWSQSVUCUNURUTUV";
  for (size_t i = 0; i < kLong.size(); i += 2)
    if (kLong[i] == a && kLong[i + 1] == b) return true;
  return false;
}

class TDataSet {
 public:
  TDataSet(std::span<const uint8_t> bytes, TEncoding encoding)
      : fBytes(bytes), fIn(bytes, encoding.BigEndian), fEncoding(encoding) {}

  const TByteSource& Source() const { return fIn; }
  const TEncoding& Encoding() const { return fEncoding; }

  TElement Header(uint64_t pos) const {
    TElement element;
    element.Tag = Tag(fIn.U16(pos, kEnds), fIn.U16(pos + 2, kEnds));
    if ((element.Tag >> 16) == 0xFFFE || !fEncoding.ExplicitVr) {
      element.Length = fIn.U32(pos + 4, kEnds);
      element.ValueAt = pos + 8;
      return element;
    }
    char a = char(fIn.U8(pos + 4, kEnds)), b = char(fIn.U8(pos + 5, kEnds));
    if (!IsKnownVr(a, b)) throw TImageReadError{kMalformed};
    element.Vr = {a, b};
    if (HasLongLength(a, b)) {
      element.Length = fIn.U32(pos + 8, kEnds);
      element.ValueAt = pos + 12;
    } else {
      element.Length = fIn.U16(pos + 6, kEnds);
      element.ValueAt = pos + 8;
    }
    return element;
  }

  // The position after the element, its items and their elements included.
  uint64_t Skip(const TElement& element, int depth) const {
    if (!element.Undefined()) {
      fIn.Require(element.ValueAt, element.Length, kEnds);
      return element.ValueAt + element.Length;
    }
    // A UN value of undefined length is a sequence written in implicit VR little endian.
    if (element.IsVr("UN")) return TDataSet(fBytes, TEncoding{false, false}).SkipItems(element.ValueAt, depth + 1);
    return SkipItems(element.ValueAt, depth + 1);
  }

 private:
  uint64_t SkipItems(uint64_t pos, int depth) const {
    if (depth > kMaxNesting) throw TImageReadError{"The file's sequences are nested too deeply."};
    for (;;) {
      TElement item = Header(pos);
      if (item.Tag == kSequenceEnd) return item.ValueAt;
      if (item.Tag != kItem) throw TImageReadError{kMalformed};
      if (!item.Undefined()) {
        pos = Skip(item, depth);
        continue;
      }
      pos = item.ValueAt;
      for (;;) {
        TElement inner = Header(pos);
        if (inner.Tag == kItemEnd) {
          pos = inner.ValueAt;
          break;
        }
        pos = Skip(inner, depth);
      }
    }
  }

  std::span<const uint8_t> fBytes;
  TByteSource fIn;
  TEncoding fEncoding;
};

// The elements this reader uses, in the order they occur in a data set.
enum TField : size_t {
  kCharacterSet,
  kAcquisitionDate,
  kPatientName,
  kPatientId,
  kPatientBirthDate,
  kPatientSex,
  kImagerPixelSpacing,
  kSamplesPerPixel,
  kPhotometric,
  kPlanarConfiguration,
  kNumberOfFrames,
  kRows,
  kColumns,
  kPixelSpacing,
  kBitsAllocated,
  kBitsStored,
  kHighBit,
  kPixelRepresentation,
  kWindowCentre,
  kWindowWidth,
  kRescaleIntercept,
  kRescaleSlope,
  kRedDescriptor,
  kGreenDescriptor,
  kBlueDescriptor,
  kRedTable,
  kGreenTable,
  kBlueTable,
  kFieldCount
};

constexpr std::array<uint32_t, kFieldCount> kFieldTags = {
    Tag(0x0008, 0x0005), Tag(0x0008, 0x0022), Tag(0x0010, 0x0010), Tag(0x0010, 0x0020), Tag(0x0010, 0x0030),
    Tag(0x0010, 0x0040), Tag(0x0018, 0x1164), Tag(0x0028, 0x0002), Tag(0x0028, 0x0004), Tag(0x0028, 0x0006), Tag(0x0028, 0x0008), Tag(0x0028, 0x0010),
    Tag(0x0028, 0x0011), Tag(0x0028, 0x0030), Tag(0x0028, 0x0100), Tag(0x0028, 0x0101), Tag(0x0028, 0x0102),
    Tag(0x0028, 0x0103), Tag(0x0028, 0x1050), Tag(0x0028, 0x1051), Tag(0x0028, 0x1052), Tag(0x0028, 0x1053),
    Tag(0x0028, 0x1101), Tag(0x0028, 0x1102), Tag(0x0028, 0x1103), Tag(0x0028, 0x1201), Tag(0x0028, 0x1202),
    Tag(0x0028, 0x1203)};

struct TFields {
  std::array<std::optional<std::span<const uint8_t>>, kFieldCount> Values;
  std::optional<TElement> PixelData;
};

// A text value: up to its first zero byte, without trailing blanks; values longer than
// 256 bytes are not read.
std::optional<std::string_view> Text(const TFields& fields, TField field) {
  const auto& value = fields.Values[field];
  if (!value || value->size() > 256) return std::nullopt;
  std::string_view text(reinterpret_cast<const char*>(value->data()), value->size());
  text = text.substr(0, text.find('\0'));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<uint16_t> UnsignedShort(const TFields& fields, TField field, const TByteSource& in) {
  const auto& value = fields.Values[field];
  if (!value || value->size() != 2) return std::nullopt;
  uint16_t a = (*value)[0], b = (*value)[1];
  return uint16_t(in.BigEndian() ? a << 8 | b : b << 8 | a);
}

// The decimal strings of one value, split at backslashes; a number that does not parse
// (or is not finite) ends the list.
std::vector<double> Decimals(const TFields& fields, TField field) {
  std::vector<double> numbers;
  std::optional<std::string_view> text = Text(fields, field);
  if (!text) return numbers;
  std::string_view rest = *text;
  for (;;) {
    size_t split = rest.find('\\');
    std::string_view item = rest.substr(0, split);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    double number = 0;
    auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number, std::chars_format::general);
    if (item.empty() || error != std::errc() || end != item.data() + item.size() || !std::isfinite(number))
      return numbers;
    numbers.push_back(number);
    if (split == std::string_view::npos) return numbers;
    rest.remove_prefix(split + 1);
  }
}

// Number of Frames, an integer string; a file without it holds one frame.
int64_t FrameCount(const TFields& fields) {
  if (!fields.Values[kNumberOfFrames]) return 1;
  std::string_view text = Text(fields, kNumberOfFrames).value_or("");
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t count = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || count < 1)
    throw TImageReadError{"The number of frames is not a positive whole number."};
  return count;
}

std::optional<TDayNumber> Date(const TFields& fields, TField field) {
  std::optional<std::string_view> text = Text(fields, field);
  if (!text) return std::nullopt;
  auto number = [&](size_t at, size_t length) -> std::optional<int> {
    int value = 0;
    for (size_t i = at; i < at + length; ++i) {
      if ((*text)[i] < '0' || (*text)[i] > '9') return std::nullopt;
      value = value * 10 + ((*text)[i] - '0');
    }
    return value;
  };
  std::optional<int> year, month, day;
  if (text->size() == 8) {
    year = number(0, 4), month = number(4, 2), day = number(6, 2);
  } else if (text->size() >= 10) {
    year = number(0, 4), month = number(5, 2), day = number(8, 2);
  }
  if (!year || !month || !day || !IsValidDate(*year, *month, *day)) return std::nullopt;
  return DayNumber(*year, *month, *day);
}

// Names in UTF-8 when the file says so and they are; otherwise the bytes are taken as the
// Latin-1 superset Windows-1252.
std::optional<std::string> PersonText(const TFields& fields, TField field) {
  std::optional<std::string_view> text = Text(fields, field);
  if (!text) return std::nullopt;
  std::optional<std::string_view> charset = Text(fields, kCharacterSet);
  if (charset && charset->find("ISO_IR 192") != std::string_view::npos && IsValidUtf8(*text))
    return std::string(*text);
  return DecodeCp1252(*text);
}

std::string_view TrimUid(std::span<const uint8_t> value) {
  std::string_view uid(reinterpret_cast<const char*>(value.data()), value.size());
  while (!uid.empty() && (uid.back() == '\0' || uid.back() == ' ')) uid.remove_suffix(1);
  return uid;
}

// Where the data set starts, and how it is written: the file meta group is always explicit
// VR little endian; the data set follows its transfer syntax.
struct TLayout {
  uint64_t Start = 0;
  TEncoding Encoding;
  bool Deflated = false;     // the data set after the meta group is deflated
  bool Encapsulated = false;
  bool Lossless = false;     // process 14, by this reader's own decoder
  TDicomCodec Codec = TDicomCodec::Jpeg;  // for the other encapsulated syntaxes
  std::string Syntax;  // the transfer syntax UID, and its name when it has one; empty when the file names none
};

// A data set without a transfer syntax: explicit when its first element carries a VR, big
// endian when its first group read little endian is out of range. (Elements above 0xFF are
// common, (0008,1140) for one, so they say nothing about the byte order.)
TEncoding GuessEncoding(std::span<const uint8_t> bytes, uint64_t start) {
  TByteSource in(bytes, false);
  TEncoding encoding;
  encoding.BigEndian = in.U16(start, kEnds) > 0xFF;
  encoding.ExplicitVr = IsKnownVr(char(in.U8(start + 4, kEnds)), char(in.U8(start + 5, kEnds)));
  return encoding;
}

TLayout FindDataSet(std::span<const uint8_t> bytes) {
  TLayout layout;
  TByteSource in(bytes, false);
  if (in.Has(128, 4) && bytes[128] == 'D' && bytes[129] == 'I' && bytes[130] == 'C' && bytes[131] == 'M')
    layout.Start = 132;
  if (!in.Has(layout.Start, 8)) throw TImageReadError{"The file is too short to be a DICOM file."};

  std::optional<std::string_view> syntax;
  if (in.U16(layout.Start, kEnds) == 0x0002) {
    // Some writers put the meta group in implicit VR; the VR of its first element tells.
    TEncoding metaEncoding{IsKnownVr(char(bytes[layout.Start + 4]), char(bytes[layout.Start + 5])), false};
    TDataSet meta(bytes, metaEncoding);
    uint64_t pos = layout.Start;
    while (in.Has(pos, 8) && in.U16(pos, kEnds) == 0x0002) {
      TElement element = meta.Header(pos);
      uint64_t next = meta.Skip(element, 0);
      if (element.Tag == Tag(0x0002, 0x0010) && !element.Undefined())
        syntax = TrimUid(bytes.subspan(element.ValueAt, element.Length));
      pos = next;
    }
    layout.Start = pos;
  }
  if (!in.Has(layout.Start, 8)) throw TImageReadError{"The file holds no data set."};
  if (!syntax || syntax->empty()) {
    layout.Encoding = GuessEncoding(bytes, layout.Start);
    return layout;
  }
  enum TKind { kNative, kDeflate, kLossless, kCodec, kRefused };
  struct TSyntax {
    std::string_view Uid;
    const char* Name;
    TKind Kind;
    TEncoding Encoding;
    TDicomCodec Codec;
  };
  constexpr TEncoding kLe{true, false};
  static constexpr std::array<TSyntax, 16> kSyntaxes = {{
      {"1.2.840.10008.1.2", "", kNative, {false, false}, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.1", "", kNative, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.2", "", kNative, {true, true}, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.57", "", kLossless, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.70", "", kLossless, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.1.99", "deflate", kDeflate, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.50", "baseline JPEG", kCodec, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.51", "extended JPEG", kCodec, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.80", "JPEG-LS", kCodec, kLe, TDicomCodec::JpegLs},
      {"1.2.840.10008.1.2.4.81", "JPEG-LS near-lossless", kCodec, kLe, TDicomCodec::JpegLs},
      {"1.2.840.10008.1.2.4.90", "JPEG 2000", kCodec, kLe, TDicomCodec::Jpeg2000},
      {"1.2.840.10008.1.2.4.91", "JPEG 2000 lossy", kCodec, kLe, TDicomCodec::Jpeg2000},
      {"1.2.840.10008.1.2.5", "RLE", kCodec, kLe, TDicomCodec::Rle},
      {"1.2.840.10008.1.2.4.201", "high-throughput JPEG 2000", kRefused, kLe, TDicomCodec::Jpeg},
      {"1.2.840.10008.1.2.4.203", "high-throughput JPEG 2000", kRefused, kLe, TDicomCodec::Jpeg},
      {"1.2.840.113619.5.2", "a private big-endian pixel layout", kRefused, kLe, TDicomCodec::Jpeg},
  }};
  for (const TSyntax& known : kSyntaxes) {
    if (known.Uid != *syntax) continue;
    if (known.Kind == kRefused)
      throw TImageReadError{"The image is compressed or stored as " + std::string(known.Name) +
                            " (transfer syntax " + std::string(*syntax) + "), which cannot be read."};
    layout.Encoding = known.Encoding;
    layout.Deflated = known.Kind == kDeflate;
    layout.Lossless = known.Kind == kLossless;
    layout.Encapsulated = known.Kind == kLossless || known.Kind == kCodec;
    layout.Codec = known.Codec;
    layout.Syntax = std::string(*syntax);
    if (*known.Name) layout.Syntax += " " + std::string(known.Name);
    return layout;
  }
  throw TImageReadError{"The transfer syntax " + std::string(*syntax) + " cannot be read."};
}

TFields CollectFields(const TDataSet& dataSet, uint64_t pos) {
  TFields fields;
  const TByteSource& in = dataSet.Source();
  while (in.Has(pos, 8)) {
    TElement element = dataSet.Header(pos);
    if (element.Tag >= kPixelData) {
      if (element.Tag == kPixelData) fields.PixelData = element;
      break;
    }
    uint64_t next = dataSet.Skip(element, 0);
    if (!element.Undefined()) {
      for (size_t field = 0; field < kFieldCount; ++field)
        if (kFieldTags[field] == element.Tag && !fields.Values[field])
          fields.Values[field] = in.Span(element.ValueAt, element.Length, kEnds);
    }
    pos = next;
  }
  return fields;
}

// How stored pixel cells become samples of the raw image.
struct TPixelFormat {
  int BitsAllocated = 0;
  int BitsStored = 0;
  int Shift = 0;          // HighBit - BitsStored + 1
  uint32_t Mask = 0;      // 2^BitsStored - 1
  uint32_t Flip = 0;      // XOR: the sign bit turns two's complement into offset binary; all bits mirror MONOCHROME1
  int OutputBytes = 0;
  int SampleBits = 0;     // the raw image's bits per sample: as stored, at least 8
};

// Writes `count` samples from the `first` on, each made from the next stored cell.
template <typename NextCell>
void WriteSamples(TRawImage& image, int64_t first, int64_t count, const TPixelFormat& format, NextCell&& next) {
  if (format.OutputBytes == 1) {
    uint8_t* out = image.Samples.data() + first;
    for (int64_t i = 0; i < count; ++i) out[i] = uint8_t(((next() >> format.Shift) & format.Mask) ^ format.Flip);
    return;
  }
  uint8_t* out = image.Samples.data() + 2 * first;
  for (int64_t i = 0; i < count; ++i) {
    uint32_t value = ((next() >> format.Shift) & format.Mask) ^ format.Flip;
    out[2 * i] = uint8_t(value);
    out[2 * i + 1] = uint8_t(value >> 8);
  }
}

// Native pixel data: cells of BitsAllocated bits packed from the least significant bit of
// each 16-bit word on (PS3.5 8.1.1), frame after frame without gaps. Big-endian files
// store the words byte-swapped, except for OB data, which is a plain byte stream. All
// `frames` must be present; the one at `frame` (from 0) is read.
void ReadNativePixels(const TDataSet& dataSet, const TElement& pixels, int32_t rows, int32_t columns,
                      const TPixelFormat& format, int64_t frames, int64_t frame, TRawImage& image) {
  const int64_t count = int64_t(rows) * columns;
  if (pixels.Undefined()) throw TImageReadError{"The pixel data are encapsulated, but the transfer syntax is uncompressed."};
  const bool swapPairs = dataSet.Encoding().BigEndian && !pixels.IsVr("OB");
  const uint64_t frameBits = uint64_t(count) * uint64_t(format.BitsAllocated);
  // Compared by division first: a hostile frame count must not overflow the product.
  if (pixels.Length * 8 / frameBits < uint64_t(frames)) throw TImageReadError{"The pixel data are shorter than the image."};
  uint64_t needed = (uint64_t(frames) * frameBits + 7) / 8;
  if (swapPairs) needed += needed % 2;
  if (pixels.Length < needed) throw TImageReadError{"The pixel data are shorter than the image."};
  const uint8_t* data = dataSet.Source().Span(pixels.ValueAt, needed, "The file ends inside the pixel data.").data();
  const uint64_t firstBit = uint64_t(frame) * frameBits;
  SizeRawImage(image, columns, rows, 1, format.SampleBits);
  if (format.BitsAllocated == 8 && !swapPairs) {
    const uint8_t* cell = data + firstBit / 8;
    WriteSamples(image, 0, count, format, [&] { return uint32_t(*cell++); });
  } else if (format.BitsAllocated == 16) {
    const uint8_t* cell = data + firstBit / 8;
    WriteSamples(image, 0, count, format, [&] {
      uint32_t value = swapPairs ? uint32_t(cell[0] << 8 | cell[1]) : uint32_t(cell[1] << 8 | cell[0]);
      cell += 2;
      return value;
    });
  } else {
    // A frame of packed cells may begin inside a byte.
    uint64_t byteIndex = firstBit / 8;
    const int skipped = int(firstBit % 8);
    uint64_t buffer = 0;
    int bits = 0;
    if (skipped > 0) {
      buffer = uint64_t(data[swapPairs ? byteIndex ^ 1 : byteIndex]) >> skipped;
      bits = 8 - skipped;
      ++byteIndex;
    }
    const int cellBits = format.BitsAllocated;
    WriteSamples(image, 0, count, format, [&] {
      while (bits < cellBits) {
        buffer |= uint64_t(data[swapPairs ? byteIndex ^ 1 : byteIndex]) << bits;
        ++byteIndex;
        bits += 8;
      }
      uint32_t value = uint32_t(buffer & ((uint64_t{1} << cellBits) - 1));
      buffer >>= cellBits;
      bits -= cellBits;
      return value;
    });
  }
}

// One fragment of encapsulated pixel data and where its item starts, counted from the
// first item after the offset table (the origin of the table's offsets).
struct TFragment {
  uint64_t Offset = 0;
  std::span<const uint8_t> Bytes;
};

bool StartsJpeg(const TFragment& fragment) {
  return fragment.Bytes.size() >= 2 && fragment.Bytes[0] == 0xFF && fragment.Bytes[1] == 0xD8;
}

// The fragments that hold frame `frame` (from 0) of `frames` (PS3.5 A.4): located by the
// basic offset table when it has one, else one fragment per frame when the counts agree,
// else split where a JPEG stream starts.
std::vector<std::span<const uint8_t>> FrameFragments(const TByteSource& in, const TElement& offsetTable,
                                                     const std::vector<TFragment>& fragments, int64_t frames,
                                                     int64_t frame) {
  const char* unclear = "The compressed frames cannot be told apart.";
  std::vector<size_t> starts;  // index of each frame's first fragment
  if (frames == 1) {
    starts = {0};
  } else if (offsetTable.Length > 0) {
    if (offsetTable.Length != uint64_t(frames) * 4) throw TImageReadError{unclear};
    for (int64_t i = 0; i < frames; ++i) {
      const uint32_t offset = in.U32(offsetTable.ValueAt + uint64_t(i) * 4, kEnds);
      auto found = std::find_if(fragments.begin(), fragments.end(),
                                [&](const TFragment& fragment) { return fragment.Offset == offset; });
      if (found == fragments.end()) throw TImageReadError{unclear};
      const size_t index = size_t(found - fragments.begin());
      if (!starts.empty() && index <= starts.back()) throw TImageReadError{unclear};
      starts.push_back(index);
    }
    if (starts.front() != 0) throw TImageReadError{unclear};
  } else if (fragments.size() == uint64_t(frames)) {
    for (size_t i = 0; i < fragments.size(); ++i) starts.push_back(i);
  } else {
    for (size_t i = 0; i < fragments.size(); ++i)
      if (i == 0 || StartsJpeg(fragments[i])) starts.push_back(i);
    if (starts.size() != uint64_t(frames)) throw TImageReadError{unclear};
  }
  if (starts.size() != uint64_t(frames)) throw TImageReadError{unclear};
  const size_t first = starts[size_t(frame)];
  const size_t last = size_t(frame) + 1 < starts.size() ? starts[size_t(frame) + 1] : fragments.size();
  std::vector<std::span<const uint8_t>> chosen;
  for (size_t i = first; i < last; ++i) chosen.push_back(fragments[i].Bytes);
  return chosen;
}

// The stream of frame `frame` (from 0): its fragments, joined into `joined` when there are
// several.
std::span<const uint8_t> EncapsulatedFrame(const TDataSet& dataSet, const TElement& pixels, int64_t frames,
                                           int64_t frame, std::vector<uint8_t>& joined) {
  const char* broken = "The compressed pixel data are malformed.";
  if (!pixels.Undefined()) throw TImageReadError{"The pixel data are not encapsulated, but the transfer syntax is compressed."};
  const TByteSource& in = dataSet.Source();
  TElement offsetTable = dataSet.Header(pixels.ValueAt);
  if (offsetTable.Tag != kItem || offsetTable.Undefined()) throw TImageReadError{broken};
  in.Require(offsetTable.ValueAt, offsetTable.Length, kEnds);
  std::vector<TFragment> fragments;
  const uint64_t origin = offsetTable.ValueAt + offsetTable.Length;
  uint64_t pos = origin;
  while (in.Has(pos, 8)) {
    TElement item = dataSet.Header(pos);
    if (item.Tag != kItem) break;
    if (item.Undefined()) throw TImageReadError{broken};
    fragments.push_back({pos - origin, in.Span(item.ValueAt, item.Length, kEnds)});
    pos = item.ValueAt + item.Length;
  }
  if (fragments.empty()) throw TImageReadError{"The compressed pixel data hold no image."};
  if (uint64_t(frames) > fragments.size()) throw TImageReadError{"The compressed pixel data hold fewer frames than the file says."};
  const std::vector<std::span<const uint8_t>> parts = FrameFragments(in, offsetTable, fragments, frames, frame);
  if (parts.size() == 1) return parts.front();
  for (std::span<const uint8_t> part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

void ReadLosslessPixels(const TDataSet& dataSet, const TElement& pixels, int32_t rows, int32_t columns,
                        const TPixelFormat& format, int64_t frames, int64_t frame, TRawImage& image) {
  std::vector<uint8_t> joined;
  const std::span<const uint8_t> stream = EncapsulatedFrame(dataSet, pixels, frames, frame, joined);
  auto check = [&](const TLosslessJpegFrame& decoded) -> std::string {
    if (decoded.Width != columns || decoded.Height != rows)
      return "The compressed image's size differs from the image's rows and columns.";
    if (decoded.Precision > format.BitsAllocated)
      return "The compressed image has more bits per sample than the image allocates.";
    SizeRawImage(image, columns, rows, 1, format.SampleBits);
    return {};
  };
  auto sink = [&](int32_t row, std::span<const uint16_t> line) {
    const uint16_t* cell = line.data();
    WriteSamples(image, int64_t(row) * columns, columns, format, [&] { return uint32_t(*cell++); });
  };
  std::string reason;
  if (!DecodeLosslessJpegLines(stream, check, sink, reason)) throw TImageReadError{reason};
}

// How a frame's samples are meant to be seen.
enum class TColourModel { kGrey, kPalette, kRgb, kYbr };

// Native colour or palette data as a frame: 8- or 16-bit cells by pixel or by plane, or
// YBR_FULL_422's pairs of pixels (two lumas, then the pair's blue and red difference).
void ReadNativeFrame(const TDataSet& dataSet, const TElement& pixels, int32_t rows, int32_t columns,
                     int32_t samplesPerPixel, bool byPlane, bool pairs, int bitsAllocated, int64_t frames, int64_t frame,
                     TDecodedFrame& out) {
  if (pixels.Undefined()) throw TImageReadError{"The pixel data are encapsulated, but the transfer syntax is uncompressed."};
  if (bitsAllocated != 8 && bitsAllocated != 16) throw TImageReadError{"Colour pixels must take 8 or 16 bits."};
  if (pairs && columns % 2 != 0) throw TImageReadError{"YBR_FULL_422 pixel data need an even number of columns."};
  const uint64_t plane = uint64_t(rows) * uint64_t(columns);
  const uint64_t cells = pairs ? plane * 2 : plane * uint64_t(samplesPerPixel);
  const uint64_t cellBytes = uint64_t(bitsAllocated) / 8, frameBytes = cells * cellBytes;
  const bool swapPairs = dataSet.Encoding().BigEndian && !pixels.IsVr("OB");
  if (pixels.Length / frameBytes < uint64_t(frames)) throw TImageReadError{"The pixel data are shorter than the image."};
  uint64_t needed = uint64_t(frames) * frameBytes;
  if (swapPairs) needed += needed % 2;
  const uint8_t* data = dataSet.Source().Span(pixels.ValueAt, needed, "The file ends inside the pixel data.").data();
  const uint64_t first = uint64_t(frame) * frameBytes;
  auto cell = [&](uint64_t index) -> uint16_t {
    const uint64_t at = first + index * cellBytes;
    if (cellBytes == 1) return data[swapPairs ? at ^ 1 : at];
    return swapPairs ? uint16_t(data[at] << 8 | data[at + 1]) : uint16_t(data[at + 1] << 8 | data[at]);
  };
  out.Width = columns;
  out.Height = rows;
  out.Components = samplesPerPixel;
  out.Precision = bitsAllocated;
  out.ConvertedToRgb = false;
  out.Samples.resize(size_t(plane) * size_t(samplesPerPixel));
  const auto components = uint64_t(samplesPerPixel);
  for (uint64_t p = 0; p < plane; ++p) {
    for (uint64_t c = 0; c < components; ++c) {
      uint64_t index = byPlane ? c * plane + p : p * components + c;
      if (pairs) index = (p / 2) * 4 + (c == 0 ? p % 2 : c + 1);
      out.Samples[size_t(p * components + c)] = cell(index);
    }
  }
}

// A palette's three tables (PS3.3 C.7.6.3.1.5): each maps a stored index to one colour
// component of `Bits` bits.
struct TPalette {
  uint32_t Entries = 0;
  int32_t FirstIndex = 0;
  int Bits = 8;
  std::array<std::vector<uint16_t>, 3> Tables;
};

TPalette ReadPalette(const TFields& fields, const TByteSource& in) {
  const char* missing = "The palette colour image has no complete palette.";
  TPalette palette;
  for (int c = 0; c < 3; ++c) {
    const auto& descriptor = fields.Values[kRedDescriptor + size_t(c)];
    const auto& table = fields.Values[kRedTable + size_t(c)];
    if (!descriptor || descriptor->size() != 6 || !table) throw TImageReadError{missing};
    auto word = [&](std::span<const uint8_t> bytes, size_t i) {
      return uint16_t(in.BigEndian() ? bytes[2 * i] << 8 | bytes[2 * i + 1] : bytes[2 * i + 1] << 8 | bytes[2 * i]);
    };
    const uint32_t entries = word(*descriptor, 0) == 0 ? 65536 : word(*descriptor, 0);
    const uint16_t firstIndex = word(*descriptor, 1);
    const int bits = word(*descriptor, 2);
    if (bits != 8 && bits != 16) throw TImageReadError{"The palette's entries are neither 8 nor 16 bits."};
    if (c > 0 && (entries != palette.Entries || bits != palette.Bits)) throw TImageReadError{"The palette's tables differ in size."};
    palette.Entries = entries;
    palette.FirstIndex = firstIndex;
    palette.Bits = bits;
    std::vector<uint16_t>& values = palette.Tables[size_t(c)];
    // Eight-bit entries come one a byte, or one a 16-bit word.
    if (bits == 8 && table->size() == entries) {
      values.assign(table->begin(), table->end());
    } else if (table->size() == size_t(entries) * 2) {
      for (size_t i = 0; i < entries; ++i) values.push_back(bits == 8 ? word(*table, i) & 0xFF : word(*table, i));
    } else {
      throw TImageReadError{missing};
    }
  }
  return palette;
}

// Y, Cb, Cr to R, G, B with the coefficients DICOM gives for YBR_FULL, in the fixed point
// libjpeg uses, so that a converted JPEG frame and a converted native one agree exactly.
void YbrToRgb(int32_t bits, uint32_t& y, uint32_t& cb, uint32_t& cr) {
  constexpr int64_t kHalf = int64_t{1} << 15;
  constexpr auto fix = [](double x) { return int64_t(x * 65536 + 0.5); };
  const int64_t centre = int64_t{1} << (bits - 1), top = (int64_t{1} << bits) - 1;
  const int64_t b = int64_t(cb) - centre, r = int64_t(cr) - centre, luma = y;
  const int64_t red = luma + ((fix(1.40200) * r + kHalf) >> 16);
  const int64_t green = luma + ((-fix(0.34414) * b - fix(0.71414) * r + kHalf) >> 16);
  const int64_t blue = luma + ((fix(1.77200) * b + kHalf) >> 16);
  y = uint32_t(std::clamp<int64_t>(red, 0, top));
  cb = uint32_t(std::clamp<int64_t>(green, 0, top));
  cr = uint32_t(std::clamp<int64_t>(blue, 0, top));
}

// The frame into the raw image: grey through the pixel format, palette indices through
// their tables, colour (converted from YBR where the codec did not) as blue, green, red.
void StoreFrame(const TDecodedFrame& frame, const TPixelFormat& format, TColourModel model, const TPalette& palette,
                TRawImage& image) {
  const size_t pixels = size_t(frame.Width) * size_t(frame.Height);
  auto put = [&](size_t index, uint32_t value) {
    if (image.BitsPerSample > 8) {
      image.Samples[2 * index] = uint8_t(value);
      image.Samples[2 * index + 1] = uint8_t(value >> 8);
    } else {
      image.Samples[index] = uint8_t(value);
    }
  };
  auto stored = [&](uint16_t cell) { return (uint32_t(cell) >> format.Shift) & format.Mask; };
  if (model == TColourModel::kGrey) {
    SizeRawImage(image, frame.Width, frame.Height, 1, format.SampleBits);
    const uint16_t* cell = frame.Samples.data();
    WriteSamples(image, 0, int64_t(pixels), format, [&] { return uint32_t(*cell++); });
    return;
  }
  if (model == TColourModel::kPalette) {
    SizeRawImage(image, frame.Width, frame.Height, 3, palette.Bits);
    for (size_t p = 0; p < pixels; ++p) {
      const uint32_t index = stored(frame.Samples[p]);
      const auto entry = size_t(std::clamp<int64_t>(int64_t(index) - palette.FirstIndex, 0, palette.Entries - 1));
      for (int c = 0; c < 3; ++c) put(3 * p + size_t(2 - c), palette.Tables[size_t(c)][entry]);
    }
    return;
  }
  SizeRawImage(image, frame.Width, frame.Height, 3, format.SampleBits);
  const bool convert = model == TColourModel::kYbr && !frame.ConvertedToRgb;
  for (size_t p = 0; p < pixels; ++p) {
    uint32_t r = stored(frame.Samples[3 * p]), g = stored(frame.Samples[3 * p + 1]), b = stored(frame.Samples[3 * p + 2]);
    if (convert) YbrToRgb(format.BitsStored, r, g, b);
    put(3 * p, b);
    put(3 * p + 1, g);
    put(3 * p + 2, r);
  }
}

// The window as stored sample values: the rescale undone, then shifted and mirrored with
// the samples themselves.
void ReadWindow(const TFields& fields, const TPixelFormat& format, bool isSigned, bool mirrored, TDicomInfo& info) {
  std::vector<double> centre = Decimals(fields, kWindowCentre);
  std::vector<double> width = Decimals(fields, kWindowWidth);
  if (centre.empty() || width.empty() || width[0] <= 0) return;
  std::vector<double> intercept = Decimals(fields, kRescaleIntercept);
  std::vector<double> slope = Decimals(fields, kRescaleSlope);
  double b = intercept.empty() ? 0.0 : intercept[0];
  double m = slope.empty() || slope[0] <= 0 ? 1.0 : slope[0];
  double storedCentre = (centre[0] - b) / m;
  double storedWidth = width[0] / m;
  if (isSigned) storedCentre += double(uint32_t{1} << (format.BitsStored - 1));
  if (mirrored) storedCentre = double(format.Mask) - storedCentre;
  constexpr double kLimit = 1 << 30;
  if (!std::isfinite(storedCentre) || !std::isfinite(storedWidth) || std::fabs(storedCentre) > kLimit ||
      storedWidth > kLimit)
    return;
  info.HasWindow = true;
  info.WindowCentre = int32_t(std::nearbyint(storedCentre));
  info.WindowWidth = std::max<int32_t>(1, int32_t(std::nearbyint(storedWidth)));
}

void ReadParticulars(const TFields& fields, TDicomInfo& info) {
  info.AcquisitionDate = Date(fields, kAcquisitionDate);
  info.PatientName = PersonText(fields, kPatientName);
  info.PatientId = PersonText(fields, kPatientId);
  info.PatientBirthDate = Date(fields, kPatientBirthDate);
  if (std::optional<std::string_view> sex = Text(fields, kPatientSex)) info.Female = *sex == "F";
  // Row spacing first; PixelSpacing, calibrated at the patient, wins over the detector's.
  for (TField field : {kImagerPixelSpacing, kPixelSpacing}) {
    std::vector<double> spacing = Decimals(fields, field);
    if (spacing.size() < 2 || spacing[0] <= 0 || spacing[1] <= 0) continue;
    double height = 10 * spacing[0], width = 10 * spacing[1];
    if (!std::isfinite(height) || !std::isfinite(width)) continue;
    info.HasPixelSpacing = true;
    info.PixelHeight = height;
    info.PixelWidth = width;
  }
}

void DecodeDicom(std::span<const uint8_t> bytes, TRawImage& image, TDicomInfo& info, TDicomFrames& frames) {
  TLayout layout = FindDataSet(bytes);
  std::vector<uint8_t> inflated;
  if (layout.Deflated) {
    // No image this reader accepts needs more; deflate packs at most 1032 bytes into one.
    constexpr uint64_t kMostDataSetBytes = (uint64_t{2} << 30) + (uint64_t{64} << 20);
    const std::span<const uint8_t> deflated = bytes.subspan(size_t(layout.Start));
    inflated = InflateDataSet(deflated, std::min<uint64_t>(kMostDataSetBytes, 1032 * uint64_t(deflated.size()) + 1024));
    bytes = inflated;
    layout.Start = 0;
  }
  TDataSet dataSet(bytes, layout.Encoding);
  TFields fields = CollectFields(dataSet, layout.Start);
  const TByteSource& in = dataSet.Source();

  const int32_t samplesPerPixel = UnsignedShort(fields, kSamplesPerPixel, in).value_or(1);
  std::string_view photometric = Text(fields, kPhotometric).value_or("MONOCHROME2");
  const bool mirrored = photometric == "MONOCHROME1";
  TColourModel model = TColourModel::kGrey;
  if (photometric == "PALETTE COLOR") model = TColourModel::kPalette;
  else if (photometric == "RGB" || photometric == "YBR_RCT" || photometric == "YBR_ICT") model = TColourModel::kRgb;
  else if (photometric == "YBR_FULL" || photometric == "YBR_FULL_422") model = TColourModel::kYbr;
  else if (!mirrored && photometric != "MONOCHROME2")
    throw TImageReadError{"The photometric interpretation " + std::string(photometric) + " cannot be read."};
  const bool colour = model == TColourModel::kRgb || model == TColourModel::kYbr;
  if (samplesPerPixel != (colour ? 3 : 1))
    throw TImageReadError{"The photometric interpretation " + std::string(photometric) + " does not go with " +
                          std::to_string(samplesPerPixel) + " samples per pixel."};
  int32_t rows = UnsignedShort(fields, kRows, in).value_or(0);
  int32_t columns = UnsignedShort(fields, kColumns, in).value_or(0);
  int bitsAllocated = UnsignedShort(fields, kBitsAllocated, in).value_or(0);
  int bitsStored = UnsignedShort(fields, kBitsStored, in).value_or(0);
  int highBit = UnsignedShort(fields, kHighBit, in).value_or(0);
  int representation = UnsignedShort(fields, kPixelRepresentation, in).value_or(0);
  if (rows == 0 || columns == 0) throw TImageReadError{"The image has no rows or no columns."};
  if (bitsAllocated == 0 || bitsStored == 0 || highBit == 0)
    throw TImageReadError{"The file does not say how its pixels are stored (bits allocated, stored, high bit)."};
  if (bitsAllocated < 8 || bitsAllocated > 16 || bitsStored > bitsAllocated || highBit < bitsStored - 1 ||
      highBit >= bitsAllocated)
    throw TImageReadError{"Pixels of " + std::to_string(bitsAllocated) + " bits allocated, " + std::to_string(bitsStored) +
                          " stored, high bit " + std::to_string(highBit) + " cannot be read."};
  if (representation > 1) throw TImageReadError{"The pixel representation is unknown."};
  if (representation == 1 && model != TColourModel::kGrey) throw TImageReadError{"Colour pixels cannot be signed."};
  if (!fields.PixelData) throw TImageReadError{"The file holds no pixel data."};

  TPixelFormat format;
  format.BitsAllocated = bitsAllocated;
  format.BitsStored = bitsStored;
  format.Shift = highBit - bitsStored + 1;
  format.Mask = (uint32_t{1} << bitsStored) - 1;
  format.Flip = (representation == 1 ? uint32_t{1} << (bitsStored - 1) : 0) ^ (mirrored ? format.Mask : 0);
  format.OutputBytes = bitsStored > 8 ? 2 : 1;
  format.SampleBits = std::max(bitsStored, 8);

  const int64_t frameCount = FrameCount(fields);
  if (frames.Frame < 1 || frames.Frame > frameCount)
    throw TImageReadError{"The file holds " + std::to_string(frameCount) + (frameCount == 1 ? " frame" : " frames") +
                          "; there is no frame " + std::to_string(frames.Frame) + "."};
  if (int64_t(rows) * columns > kMaxImagePixels) throw TImageReadError{};
  const int64_t frame = frames.Frame - 1;
  if (model == TColourModel::kGrey && !layout.Encapsulated) {
    ReadNativePixels(dataSet, *fields.PixelData, rows, columns, format, frameCount, frame, image);
  } else if (model == TColourModel::kGrey && layout.Lossless) {
    ReadLosslessPixels(dataSet, *fields.PixelData, rows, columns, format, frameCount, frame, image);
  } else {
    if (layout.Lossless) throw TImageReadError{"Colour lossless JPEG (process 14) cannot be read."};
    const TPalette palette = model == TColourModel::kPalette ? ReadPalette(fields, in) : TPalette{};
    TDecodedFrame decoded;
    if (layout.Encapsulated) {
      std::vector<uint8_t> joined;
      const std::span<const uint8_t> stream = EncapsulatedFrame(dataSet, *fields.PixelData, frameCount, frame, joined);
      DecodeDicomFrame(layout.Codec, stream, TCodedFrame{rows, columns, samplesPerPixel, bitsAllocated}, decoded);
    } else {
      const bool byPlane = UnsignedShort(fields, kPlanarConfiguration, in).value_or(0) == 1;
      ReadNativeFrame(dataSet, *fields.PixelData, rows, columns, samplesPerPixel, byPlane,
                      photometric == "YBR_FULL_422", bitsAllocated, frameCount, frame, decoded);
    }
    StoreFrame(decoded, format, model, palette, image);
  }
  frames.Count = int32_t(std::min<int64_t>(frameCount, std::numeric_limits<int32_t>::max()));

  info.BitsStored = bitsStored;
  info.TransferSyntax = layout.Syntax;
  ReadWindow(fields, format, representation == 1, mirrored, info);
  ReadParticulars(fields, info);
  SetDicomWindow(info, true, image);
}

}  // namespace

TResult ReadDicomBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                       TDicomInfo& info) {
  TDicomFrames frames;
  return ReadDicomBytes(bytes, fileName, image, info, frames);
}

TResult ReadDicomBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                       TDicomInfo& info, TDicomFrames& frames) {
  info = TDicomInfo{};
  frames.Count = 0;
  TResult read =
      RunImageReader(kDicomReadFailure, fileName, image, [&] { DecodeDicom(bytes, image, info, frames); });
  if (!read) {
    info = TDicomInfo{};
    frames.Count = 0;
  }
  return read;
}

}  // namespace lumacet
