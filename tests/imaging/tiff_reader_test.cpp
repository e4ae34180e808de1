#include "imaging/tiff_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/medical_test_support.h"

namespace lumacet {
namespace {

constexpr uint16_t kByte = 1, kShort = 3, kLong = 4;

// A TIFF file made field by field: image data first, out-of-line arrays next, the single
// directory last.
class TTiffBuilder {
 public:
  explicit TTiffBuilder(bool bigEndian) : fFile(bigEndian), fBigEndian(bigEndian) {
    fFile.Text(bigEndian ? "MM" : "II").U16(42).U32(0);
  }

  uint32_t Data(std::span<const uint8_t> bytes) {
    uint32_t at = uint32_t(fFile.Size());
    fFile.Bytes(bytes);
    return at;
  }
  // Values as the type stores them: in the entry when they fit in four bytes. A field given
  // again replaces the earlier one.
  void Field(uint16_t tag, uint16_t type, std::vector<uint32_t> values) {
    std::erase_if(fEntries, [&](const TEntry& entry) { return entry.Tag == tag; });
    test::TByteWriter packed(fBigEndian);
    for (uint32_t value : values) {
      if (type == kByte) packed.U8(value);
      else if (type == kShort) packed.U16(value);
      else packed.U32(value);
    }
    if (packed.Size() <= 4) {
      packed.Zeros(4 - packed.Size());
      fEntries.push_back({tag, type, uint32_t(values.size()), packed.Data()});
    } else {
      uint32_t at = Data(packed.Data());
      test::TByteWriter field(fBigEndian);
      field.U32(at);
      fEntries.push_back({tag, type, uint32_t(values.size()), field.Data()});
    }
  }
  // An entry written as given, whatever it claims.
  void RawField(uint16_t tag, uint16_t type, uint32_t count, uint32_t valueField) {
    test::TByteWriter field(fBigEndian);
    field.U32(valueField);
    fEntries.push_back({tag, type, count, field.Data()});
  }
  std::vector<uint8_t> Build() {
    std::stable_sort(fEntries.begin(), fEntries.end(), [](const TEntry& a, const TEntry& b) { return a.Tag < b.Tag; });
    test::TByteWriter file = fFile;
    file.PutU32(4, uint32_t(file.Size()));
    file.U16(uint32_t(fEntries.size()));
    for (const TEntry& entry : fEntries) file.U16(entry.Tag).U16(entry.Type).U32(entry.Count).Bytes(entry.ValueField);
    file.U32(0);
    return file.Data();
  }

 private:
  struct TEntry {
    uint16_t Tag, Type;
    uint32_t Count;
    std::vector<uint8_t> ValueField;
  };
  test::TByteWriter fFile;
  bool fBigEndian;
  std::vector<TEntry> fEntries;
};

std::vector<uint8_t> Ramp(size_t count, uint32_t step = 7) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(i * step + 3);
  return bytes;
}

// A grey image of 8 or 16 bits in one strip, with the basic fields; `configure` may add
// or override fields before the directory is written.
template <typename Configure>
std::vector<uint8_t> GreyTiff(bool bigEndian, int width, int height, int bits, std::span<const uint8_t> data,
                              Configure&& configure) {
  TTiffBuilder tiff(bigEndian);
  uint32_t at = tiff.Data(data);
  tiff.Field(256, kShort, {uint32_t(width)});
  tiff.Field(257, kShort, {uint32_t(height)});
  tiff.Field(258, kShort, {uint32_t(bits)});
  tiff.Field(259, kShort, {1});
  tiff.Field(262, kShort, {1});
  tiff.Field(277, kShort, {1});
  tiff.Field(273, kLong, {at});
  tiff.Field(279, kLong, {uint32_t(data.size())});
  configure(tiff);
  return tiff.Build();
}

std::vector<uint8_t> GreyTiff(bool bigEndian, int width, int height, int bits, std::span<const uint8_t> data) {
  return GreyTiff(bigEndian, width, height, bits, data, [](TTiffBuilder&) {});
}

bool Read(const std::vector<uint8_t>& file, TRawImage& image, std::string& message) {
  const TResult read = ReadTiffBytes(file, "scan.tif", image);
  message = read.Text().English();
  return read.Ok();
}

TEST(TiffReader, GreyImagesInEitherByteOrder) {
  std::vector<uint8_t> data = Ramp(6 * 4);
  for (bool bigEndian : {false, true}) {
    TRawImage image;
    std::string message;
    ASSERT_TRUE(Read(GreyTiff(bigEndian, 6, 4, 8, data), image, message)) << message;
    EXPECT_EQ(image.Width, 6);
    EXPECT_EQ(image.Height, 4);
    EXPECT_EQ(image.SamplesPerPixel, 1);
    EXPECT_EQ(image.BitsPerSample, 8);
    EXPECT_EQ(image.Samples, data);

    // 16-bit samples come out little-endian whatever the file's order.
    ASSERT_TRUE(Read(GreyTiff(bigEndian, 3, 4, 16, data), image, message)) << message;
    EXPECT_EQ(image.BitsPerSample, 16);
    for (size_t i = 0; i < 12; ++i) {
      uint32_t stored = bigEndian ? data[2 * i] << 8 | data[2 * i + 1] : data[2 * i] | data[2 * i + 1] << 8;
      EXPECT_EQ(image.Samples[2 * i] | image.Samples[2 * i + 1] << 8, stored);
    }
  }
}

// Packed samples, first bit highest, every row starting on a byte: each depth read sample
// by sample against a bit-by-bit reading, with widths whose rows end mid-byte and, for 12
// bits, on half of a pair.
TEST(TiffReader, PackedSamplesOfEveryDepthReadExactly) {
  for (int bits : {1, 2, 4, 9, 10, 12, 15}) {
    for (int width : {4, 5, 7}) {
      SCOPED_TRACE("bits " + std::to_string(bits) + ", width " + std::to_string(width));
      const int height = 3;
      const size_t rowBytes = (size_t(width) * size_t(bits) + 7) / 8;
      const std::vector<uint8_t> data = Ramp(rowBytes * height, 37);
      TRawImage image;
      std::string message;
      ASSERT_TRUE(Read(GreyTiff(false, width, height, bits, data), image, message)) << message;
      ASSERT_EQ(image.BitsPerSample, bits > 8 ? bits : 8);
      const uint32_t maximum = (1u << bits) - 1;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          uint32_t stored = 0;
          for (int b = 0; b < bits; ++b) {
            const size_t bit = size_t(x) * size_t(bits) + size_t(b);
            stored = stored << 1 | ((data[size_t(y) * rowBytes + bit / 8] >> (7 - bit % 8)) & 1);
          }
          const size_t at = size_t(y) * size_t(width) + size_t(x);
          const uint32_t got = bits > 8 ? uint32_t(image.Samples[2 * at] | image.Samples[2 * at + 1] << 8)
                                        : image.Samples[at];
          ASSERT_EQ(got, bits > 8 ? stored : stored * 255 / maximum) << "at " << x << ", " << y;
        }
    }
  }
}

TEST(TiffReader, SizesMayBeShortOrLongInEitherByteOrder) {
  std::vector<uint8_t> data = Ramp(6 * 4);
  auto widthAsLong = [](TTiffBuilder& tiff) { tiff.Field(256, kLong, {6}); };
  for (bool bigEndian : {false, true}) {
    TRawImage image;
    std::string message;
    ASSERT_TRUE(Read(GreyTiff(bigEndian, 6, 4, 8, data, widthAsLong), image, message)) << message;
    EXPECT_EQ(image.Samples, data);
  }
}

TEST(TiffReader, StripLayouts) {
  const int width = 5, height = 9;
  std::vector<uint8_t> data = Ramp(width * height);
  TRawImage image;
  std::string message;

  // Strips of 2 rows, offsets as LONG and byte counts as SHORT, both out of line; the last
  // strip is shorter.
  for (bool bigEndian : {false, true}) {
    TTiffBuilder tiff(bigEndian);
    std::vector<uint32_t> offsets, counts;
    for (int row = 0; row < height; row += 2) {
      int rows = std::min(2, height - row);
      offsets.push_back(tiff.Data(std::span(data).subspan(size_t(row * width), size_t(rows * width))));
      tiff.Data(std::vector<uint8_t>(3, 0xEE));  // gaps between strips are not image data
      counts.push_back(uint32_t(rows * width));
    }
    tiff.Field(256, kShort, {width});
    tiff.Field(257, kShort, {height});
    tiff.Field(258, kShort, {8});
    tiff.Field(262, kShort, {1});
    tiff.Field(278, kShort, {2});
    tiff.Field(273, kLong, offsets);
    tiff.Field(279, kShort, counts);
    ASSERT_TRUE(Read(tiff.Build(), image, message)) << message;
    EXPECT_EQ(image.Samples, data);
  }

  // Zero byte counts, or byte counts missing for some strips or altogether, leave the
  // strips' sizes unknown: refused.
  for (int counts : {3, 1, 0}) {
    TTiffBuilder tiff(false);
    uint32_t at = tiff.Data(data);
    tiff.Field(256, kShort, {width});
    tiff.Field(257, kShort, {height});
    tiff.Field(258, kShort, {8});
    tiff.Field(262, kShort, {1});
    tiff.Field(278, kShort, {4});
    tiff.Field(273, kLong, {at, at + 4 * width, at + 8 * width});
    if (counts == 3) tiff.Field(279, kLong, {0, 0, 0});
    if (counts == 1) tiff.Field(279, kLong, {4 * width});
    EXPECT_FALSE(Read(tiff.Build(), image, message));
    EXPECT_FALSE(image.HasData());
  }

  // Byte counts that promise more rows than the image has stop at its last row.
  std::vector<uint8_t> file = GreyTiff(false, width, height, 8, data, [&](TTiffBuilder& tiff) {
    tiff.Data(std::vector<uint8_t>(500, 0));
    tiff.Field(279, kLong, {width * height + 500});
  });
  ASSERT_TRUE(Read(file, image, message)) << message;
  EXPECT_EQ(image.Samples, data);
}

TEST(TiffReader, WhiteIsZeroIsShownInverted) {
  std::vector<uint8_t> data = Ramp(8);
  auto whiteIsZero = [](TTiffBuilder& tiff) { tiff.Field(262, kShort, {0}); };
  TRawImage image;
  std::string message;
  ASSERT_TRUE(Read(GreyTiff(false, 4, 2, 8, data, whiteIsZero), image, message)) << message;
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(image.Samples[i], 255 - data[i]);
  ASSERT_TRUE(Read(GreyTiff(true, 2, 2, 16, data, whiteIsZero), image, message)) << message;
  EXPECT_EQ(image.Samples[0] | image.Samples[1] << 8, 65535 - (data[0] << 8 | data[1]));
}

TEST(TiffReader, ColourBecomesBlueGreenRedAndKeepsAlpha) {
  const std::vector<uint8_t> rgba = {10, 20, 30, 40, 50, 60, 70, 80};
  for (int samples : {3, 4}) {
    TTiffBuilder tiff(false);
    uint32_t at = tiff.Data(std::span(rgba).first(size_t(2 * samples)));
    tiff.Field(256, kShort, {2});
    tiff.Field(257, kShort, {1});
    tiff.Field(258, kShort, std::vector<uint32_t>(size_t(samples), 8));
    tiff.Field(262, kShort, {2});
    tiff.Field(277, kShort, {uint32_t(samples)});
    tiff.Field(273, kLong, {at});
    tiff.Field(279, kLong, {uint32_t(2 * samples)});
    TRawImage image;
    std::string message;
    ASSERT_TRUE(Read(tiff.Build(), image, message)) << message;
    EXPECT_EQ(image.SamplesPerPixel, samples);
    if (samples == 3) EXPECT_EQ(image.Samples, (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
    else EXPECT_EQ(image.Samples, (std::vector<uint8_t>{30, 20, 10, 40, 70, 60, 50, 80}));
  }

  // 16-bit colour from a big-endian file.
  TTiffBuilder tiff(true);
  uint32_t at = tiff.Data(std::vector<uint8_t>{0x01, 0x02, 0x03, 0x04, 0x05, 0x06});
  tiff.Field(256, kShort, {1});
  tiff.Field(257, kShort, {1});
  tiff.Field(258, kShort, {16, 16, 16});
  tiff.Field(262, kShort, {2});
  tiff.Field(277, kShort, {3});
  tiff.Field(273, kLong, {at});
  tiff.Field(279, kLong, {6});
  TRawImage image;
  std::string message;
  ASSERT_TRUE(Read(tiff.Build(), image, message)) << message;
  EXPECT_EQ(image.Samples, (std::vector<uint8_t>{0x06, 0x05, 0x04, 0x03, 0x02, 0x01}));
}

TEST(TiffReader, RefusesWhatItCannotShow) {
  std::vector<uint8_t> data = Ramp(16);
  auto with = [&](auto configure) { return GreyTiff(false, 4, 4, 8, data, configure); };
  struct TCase {
    std::vector<uint8_t> File;
    std::string Reason;  // the start of the reason
  };
  const std::vector<TCase> cases = {
      {{'I', 'X', 42, 0, 8, 0, 0, 0}, "The file is not a TIFF file."},
      {{'I', 'I', 42}, "The file is not a TIFF file."},
      {{'I', 'I', 42, 0, 0xF0, 0, 0, 0}, "The file is not a TIFF file that can be read: "},
      {{'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0, 0, 1, 3, 0}, "The file is not a TIFF file that can be read: "},
      {with([](TTiffBuilder& t) { t.Field(259, kShort, {60000}); }),
       "The image is compressed in a way that cannot be read (compression 60000)."},
      {with([](TTiffBuilder& t) { t.Field(262, kShort, {5}); }), "Photometric interpretation 5 cannot be read."},
      {with([](TTiffBuilder& t) { t.Field(258, kShort, {32}); }),
       "Images of 32 bits per sample cannot be read; only 1 to 16 bits."},
      {with([](TTiffBuilder& t) { t.Field(339, kShort, {3}); }), "Only unsigned integer samples can be read."},
      {with([](TTiffBuilder& t) { t.Field(339, kShort, {2}); }), "Only unsigned integer samples can be read."},
      {with([](TTiffBuilder& t) { t.Field(262, kShort, {2}); }),
       "1 samples per pixel cannot be read for this kind of image."},
      // A strip that lies outside the file.
      {with([](TTiffBuilder& t) { t.Field(273, kLong, {0xFFFFFF00}); }), "The file is far too small for the image it describes."},
      // Sizes past the limits, in a file of a few hundred bytes: refused before anything
      // is allocated for them.
      {GreyTiff(false, 30001, 2, 8, data), "The image is larger than 30,000 pixels a side or 2 GiB of samples."},
      {GreyTiff(false, 20000, 20000, 16, data), "The file is far too small for the image it describes."},
  };
  for (const TCase& refused : cases) {
    SCOPED_TRACE(refused.Reason);
    TRawImage image;
    std::string message;
    EXPECT_FALSE(Read(refused.File, image, message));
    EXPECT_EQ(message.rfind("Error loading TIFF file.\r\n\r\nscan.tif\r\n" + refused.Reason, 0), 0u) << message;
    EXPECT_FALSE(image.HasData());
  }

  // Without the photometric interpretation, or without strip offsets.
  for (uint16_t missing : {262, 273}) {
    TTiffBuilder tiff(false);
    uint32_t at = tiff.Data(data);
    for (auto [tag, value] : std::vector<std::pair<uint16_t, uint32_t>>{
             {256, 4}, {257, 4}, {258, 8}, {262, 1}, {273, at}, {279, 16}})
      if (tag != missing) tiff.Field(tag, tag == 273 ? kLong : kShort, {value});
    TRawImage image;
    std::string message;
    EXPECT_FALSE(Read(tiff.Build(), image, message));
    EXPECT_FALSE(image.HasData());
  }
}

// A small file whose strips all point at the same stored row claims a large image: its
// bytes are counted once, so it is refused before memory is taken; the same rows stored
// one after another read.
TEST(TiffReader, StripsSharingTheirBytesCannotPassForALargeImage) {
  const uint32_t width = 1000, height = 1000;
  // PackBits: seven runs of 128 and one of 104 make a row of zeros in 16 bytes.
  std::vector<uint8_t> packedRow;
  for (int run = 0; run < 7; ++run) packedRow.insert(packedRow.end(), {0x81, 0});
  packedRow.insert(packedRow.end(), {uint8_t(1 - 104), 0});
  const std::vector<uint8_t> plainRow(width, 9);
  for (auto [compression, row] : {std::pair{1u, plainRow}, std::pair{32773u, packedRow}}) {
    SCOPED_TRACE(compression);
    auto strips = [&, compression = compression, row = row](bool shared) {
      TTiffBuilder tiff(false);
      std::vector<uint32_t> offsets;
      for (uint32_t r = 0; r < (shared ? 1 : height); ++r) offsets.push_back(tiff.Data(row));
      offsets.resize(height, offsets.front());
      for (auto [tag, value] : std::vector<std::pair<uint16_t, uint32_t>>{
               {256, width}, {257, height}, {258, 8}, {259, compression}, {262, 1}, {277, 1}, {278, 1}})
        tiff.Field(tag, kShort, {value});
      tiff.Field(273, kLong, offsets);
      tiff.Field(279, kLong, std::vector<uint32_t>(height, uint32_t(row.size())));
      return tiff.Build();
    };
    TRawImage image;
    std::string message;
    EXPECT_FALSE(Read(strips(true), image, message));
    EXPECT_EQ(message.rfind("Error loading TIFF file.\r\n\r\nscan.tif\r\nThe file is far too small for the image it describes.", 0), 0u) << message;
    EXPECT_FALSE(image.HasData());
    ASSERT_TRUE(Read(strips(false), image, message)) << message;
    EXPECT_EQ(image.Samples, std::vector<uint8_t>(width * height, compression == 1 ? 9 : 0));
  }
}

}  // namespace
}  // namespace lumacet
