#include "imaging/jpeg_codec.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/image_store_samples.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::ReadPnm;
using test::SamplePath;

TRawImage Decode(const std::string& bytes) {
  TRawImage image;
  TImageReadError error;
  EXPECT_TRUE(DecodeJpeg(bytes, image, error)) << error.Reason;
  return image;
}

// A smooth picture, as photographs and radiographs are; JPEG keeps it closely.
TBitmap32 SmoothBitmap(int width, int height) {
  TBitmap32 bitmap;
  bitmap.Resize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.Row(y)[x] = PackPixel(static_cast<std::uint32_t>(40 + x * 2), static_cast<std::uint32_t>(30 + y * 3),
                                   static_cast<std::uint32_t>(100 + (x + y)), 0x5A);
  return bitmap;
}

std::size_t FindMarker(const std::string& bytes, unsigned char marker) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (static_cast<unsigned char>(bytes[i]) == 0xFF && static_cast<unsigned char>(bytes[i + 1]) == marker) return i;
  return std::string::npos;
}

TEST(JpegDecode, MatchesTheLibraryToolsAccurateDecodeByteForByte) {
  for (const char* name : {"grey", "colour420", "colour444", "progressive"}) {
    SCOPED_TRACE(name);
    const TRawImage image = Decode(ReadBytes(SamplePath(std::string("jpeg/") + name + ".jpg")));
    const TRawImage reference = ReadPnm(SamplePath(std::string("jpeg/") + name + ".pnm"));
    EXPECT_EQ(image.Width, reference.Width);
    EXPECT_EQ(image.Height, reference.Height);
    EXPECT_EQ(image.SamplesPerPixel, reference.SamplesPerPixel);  // 1 for grey files, 3 for colour
    EXPECT_EQ(image.BitsPerSample, 8);
    EXPECT_EQ(image.Samples, reference.Samples);
  }
}

TEST(JpegDecode, CmykFilesBecomeColour) {
  const TRawImage image = Decode(ReadBytes(SamplePath("jpeg/cmyk.jpg")));
  const TRawImage source = ReadPnm(SamplePath("jpeg/wide.ppm"));
  ASSERT_EQ(image.SamplesPerPixel, 3);
  ASSERT_EQ(image.Samples.size(), source.Samples.size());
  double difference = 0;
  for (std::size_t i = 0; i < image.Samples.size(); ++i) difference += std::abs(image.Samples[i] - source.Samples[i]);
  EXPECT_LT(difference / static_cast<double>(image.Samples.size()), 6.0);
}

TEST(JpegEncode, ColourAndGreyRoundTrips) {
  const TBitmap32 bitmap = SmoothBitmap(37, 21);
  std::string bytes;
  std::string reason;
  ASSERT_TRUE(EncodeJpeg(bitmap, {100, false}, bytes, reason)) << reason;
  TRawImage image = Decode(bytes);
  ASSERT_EQ(image.SamplesPerPixel, 3);
  ASSERT_EQ(image.Width, 37);
  ASSERT_EQ(image.Height, 21);
  for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p) {
    EXPECT_NEAR(image.Samples[3 * p], PixelBlue(bitmap.Pixels[p]), 3);
    EXPECT_NEAR(image.Samples[3 * p + 1], PixelGreen(bitmap.Pixels[p]), 3);
    EXPECT_NEAR(image.Samples[3 * p + 2], PixelRed(bitmap.Pixels[p]), 3);
  }

  ASSERT_TRUE(EncodeJpeg(bitmap, {100, true}, bytes, reason)) << reason;
  image = Decode(bytes);
  ASSERT_EQ(image.SamplesPerPixel, 1);
  for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p)
    EXPECT_NEAR(image.Samples[p], PixelLuminance(bitmap.Pixels[p]), 3);
}

TEST(JpegEncode, QualityIsHeldToItsRange) {
  const TBitmap32 bitmap = test::RandomBitmap(40, 40, 7);
  std::string low, high, below, above, reason;
  ASSERT_TRUE(EncodeJpeg(bitmap, {10, false}, low, reason));
  ASSERT_TRUE(EncodeJpeg(bitmap, {90, false}, high, reason));
  EXPECT_LT(low.size(), high.size());
  ASSERT_TRUE(EncodeJpeg(bitmap, {1, false}, low, reason));
  ASSERT_TRUE(EncodeJpeg(bitmap, {-5, false}, below, reason));
  EXPECT_EQ(below, low);
  ASSERT_TRUE(EncodeJpeg(bitmap, {100, false}, high, reason));
  ASSERT_TRUE(EncodeJpeg(bitmap, {250, false}, above, reason));
  EXPECT_EQ(above, high);
  EXPECT_FALSE(EncodeJpeg(TBitmap32{}, {}, high, reason));
}

TEST(JpegDecode, CorruptFilesGiveTheDecodersReasonAndChangeNothing) {
  const std::string valid = ReadBytes(SamplePath("jpeg/colour420.jpg"));
  std::string noWidth = valid;
  const std::size_t frame = FindMarker(valid, 0xC0);
  ASSERT_NE(frame, std::string::npos);
  noWidth[frame + 7] = 0;
  noWidth[frame + 8] = 0;
  std::string badTable = valid;
  badTable[FindMarker(valid, 0xC4) + 5] = static_cast<char>(0xFF);  // impossible Huffman code counts

  for (const std::string& bytes : {std::string(), std::string("BM not a picture"), valid.substr(0, 2),
                                   valid.substr(0, 120), noWidth, badTable}) {
    TRawImage image;
    image.Width = 5;
    TImageReadError error;
    EXPECT_FALSE(DecodeJpeg(bytes, image, error));
    EXPECT_FALSE(error.Reason.empty());
    EXPECT_EQ(image.Width, 5);
  }
}

// A file cut inside its compressed data (here by head(1), as an interrupted copy leaves it)
// or one whose frame claims more rows than its data hold would show the missing part in the
// decoder's grey: it is refused with the reason. Stray bytes before a marker, which files
// that display well often carry, are passed over.
TEST(JpegDecode, DamagedFilesAreRefusedNotFilledWithGrey) {
  const std::string sample = SamplePath("jpeg/colour420.jpg");
  const std::string valid = ReadBytes(sample);
  const std::string cut = (std::filesystem::temp_directory_path() / ("lumacet-cut-" + std::to_string(::getpid()) +
                                                                      ".jpg")).string();
  const std::string command =
      "head -c " + std::to_string(valid.size() - 300) + " '" + sample + "' > '" + cut + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string truncated = ReadBytes(cut);
  std::filesystem::remove(cut);
  ASSERT_EQ(truncated.size(), valid.size() - 300);
  std::string taller = valid;
  const std::size_t frame = FindMarker(valid, 0xC0);
  taller[frame + 5] = 0x02;  // 17 rows become 529
  std::string huge = valid;
  huge[frame + 5] = static_cast<char>(0xF0);  // 61457 rows from a few hundred bytes

  for (const std::string& bytes : {truncated, taller}) {
    TRawImage image;
    image.Width = 5;
    TImageReadError error;
    EXPECT_FALSE(DecodeJpeg(bytes, image, error));
    EXPECT_NE(error.Reason.find("damaged or incomplete"), std::string::npos) << error.Reason;
    EXPECT_EQ(image.Width, 5);
  }

  TRawImage image;
  TImageReadError error;
  EXPECT_FALSE(DecodeJpeg(huge, image, error));
  EXPECT_EQ(error.Reason, "The file is too short for the picture its header claims.");

  std::string stray = valid;
  stray.insert(FindMarker(valid, 0xD9), "\x12\x34");
  image = Decode(stray);
  EXPECT_EQ(image.Width, 33);
  EXPECT_EQ(image.Samples.size(), 33u * 17u * 3u);
}

TEST(JpegDecode, HugeFramesAreTooLargeBeforeDecoding) {
  std::string bytes = ReadBytes(SamplePath("jpeg/colour420.jpg"));
  const std::size_t frame = FindMarker(bytes, 0xC0);
  for (std::size_t i : {frame + 5, frame + 6, frame + 7, frame + 8}) bytes[i] = static_cast<char>(0xFD);
  TRawImage image;
  TImageReadError error{"unset"};
  EXPECT_FALSE(DecodeJpeg(bytes, image, error));
  EXPECT_TRUE(error.Reason.empty());
}

}  // namespace
}  // namespace lumacet
