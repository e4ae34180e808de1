#include "imaging/viff_reader.h"

#include <gtest/gtest.h>

#include "imaging/medical_test_support.h"

namespace lumacet {
namespace {

struct TViffHeader {
  bool BigEndian = true;
  int32_t Width = 3;
  int32_t Height = 2;
  int32_t Bands = 1;
  int32_t Storage = 1;  // 1 byte, 2 short
  int32_t Encoding = 0;
  int32_t MapScheme = 0;
  int32_t LocationType = 1;
};

std::vector<uint8_t> MakeViff(const TViffHeader& header, std::span<const uint8_t> data) {
  test::TByteWriter file(header.BigEndian);
  file.U8(0xAB).U8(1).U8(1).U8(3).U8(header.BigEndian ? 2 : 8).Zeros(1024 - 5);
  file.PutU32(520, uint32_t(header.Width));
  file.PutU32(524, uint32_t(header.Height));
  file.PutU32(548, uint32_t(header.LocationType));
  file.PutU32(556, 1);
  file.PutU32(560, uint32_t(header.Bands));
  file.PutU32(564, uint32_t(header.Storage));
  file.PutU32(568, uint32_t(header.Encoding));
  file.PutU32(572, uint32_t(header.MapScheme));
  file.Bytes(data);
  return file.Data();
}

bool Read(const std::vector<uint8_t>& file, TRawImage& image, std::string& message) {
  const TResult read = ReadViffBytes(file, "scan.viff", image);
  message = read.Text().English();
  return read.Ok();
}

TEST(ViffReader, OneGreyBandOf8Or16BitsInEitherByteOrder) {
  const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (bool bigEndian : {true, false}) {
    TViffHeader header;
    header.BigEndian = bigEndian;
    TRawImage image;
    std::string message;
    ASSERT_TRUE(Read(MakeViff(header, std::span(data).first(6)), image, message)) << message;
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.SamplesPerPixel, 1);
    EXPECT_EQ(image.BitsPerSample, 8);
    EXPECT_EQ(image.Samples, std::vector<uint8_t>(data.begin(), data.begin() + 6));

    header.Storage = 2;
    ASSERT_TRUE(Read(MakeViff(header, data), image, message)) << message;
    EXPECT_EQ(image.BitsPerSample, 16);
    std::vector<uint8_t> expected = data;
    if (bigEndian)
      for (size_t i = 0; i < expected.size(); i += 2) std::swap(expected[i], expected[i + 1]);
    EXPECT_EQ(image.Samples, expected);
  }
}

TEST(ViffReader, ThreeBandsAreStoredOneAfterTheOther) {
  // Red plane, green plane, blue plane of a 2 x 1 image.
  TViffHeader header;
  header.Width = 2;
  header.Height = 1;
  header.Bands = 3;
  TRawImage image;
  std::string message;
  ASSERT_TRUE(Read(MakeViff(header, std::vector<uint8_t>{10, 11, 20, 21, 30, 31}), image, message)) << message;
  EXPECT_EQ(image.SamplesPerPixel, 3);
  EXPECT_EQ(image.Samples, (std::vector<uint8_t>{30, 20, 10, 31, 21, 11}));

  // 16-bit bands of a big-endian file are byte-swapped like grey ones.
  header.Width = 1;
  header.Storage = 2;
  ASSERT_TRUE(Read(MakeViff(header, std::vector<uint8_t>{0x10, 0x01, 0x20, 0x02, 0x30, 0x03}), image, message))
      << message;
  EXPECT_EQ(image.Samples, (std::vector<uint8_t>{0x03, 0x30, 0x02, 0x20, 0x01, 0x10}));
}

TEST(ViffReader, RefusesWhatItCannotShow) {
  auto refused = [](const std::vector<uint8_t>& file, const std::string& reason) {
    TRawImage image;
    std::string message;
    EXPECT_FALSE(Read(file, image, message));
    EXPECT_EQ(message, "Error loading VIFF file.\r\n\r\nscan.viff\r\n" + reason);
    EXPECT_FALSE(image.HasData());
  };
  const std::vector<uint8_t> data(64, 7);
  auto with = [&](auto change) {
    TViffHeader header;
    change(header);
    return MakeViff(header, data);
  };
  std::vector<uint8_t> file = with([](TViffHeader&) {});
  file[0] = 0xAA;
  refused(file, "The file is not a VIFF file.");
  file[0] = 0xAB;
  file[4] = 4;
  refused(file, "The byte order of the VIFF file is unknown.");
  refused(std::vector<uint8_t>(file.begin(), file.begin() + 600), "The byte order of the VIFF file is unknown.");
  file[4] = 2;
  refused(std::vector<uint8_t>(file.begin(), file.begin() + 600), "The file ends inside its header.");
  const std::string storage = "Only VIFF files of 8 or 16 bits per sample can be read.";
  // Bit storage would give rows of no bytes for images narrower than 8 pixels.
  refused(with([](TViffHeader& h) { h.Storage = 0; }), storage);
  refused(with([](TViffHeader& h) { h.Storage = 3; }), storage);
  refused(with([](TViffHeader& h) { h.Storage = 4; }), storage);
  refused(with([](TViffHeader& h) { h.Storage = 9; }), storage);
  refused(with([](TViffHeader& h) { h.Encoding = 1; }), "Compressed VIFF files cannot be read.");
  refused(with([](TViffHeader& h) { h.MapScheme = 1; }), "VIFF files with a colour map cannot be read.");
  refused(with([](TViffHeader& h) { h.LocationType = 2; }), "VIFF files with explicit pixel locations cannot be read.");
  refused(with([](TViffHeader& h) { h.Bands = 2; }), "Only VIFF files of one or three bands can be read.");
  refused(with([](TViffHeader& h) { h.Bands = 0; }), "Only VIFF files of one or three bands can be read.");
  refused(with([](TViffHeader& h) { h.Width = -3; }), "The image has no pixels.");
  refused(with([](TViffHeader& h) { h.Height = 0; }), "The image has no pixels.");
  refused(with([](TViffHeader& h) { h.Width = 9; h.Height = 8; }), "The image data end before the last row.");
  // Sizes far beyond the data are refused before anything is allocated.
  refused(with([](TViffHeader& h) { h.Width = 60000; h.Height = 4000; }), "The image data end before the last row.");

  TRawImage image;
  std::string message;
  EXPECT_FALSE(Read(with([](TViffHeader& h) { h.Width = 0x7FFFFFFF; h.Height = 0x7FFFFFFF; }), image, message));
  EXPECT_EQ(message, "Image is too large to load. Memory insufficient.\r\n\r\nscan.viff");
}

}  // namespace
}  // namespace lumacet
