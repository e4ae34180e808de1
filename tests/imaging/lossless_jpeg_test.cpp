#include "imaging/lossless_jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/medical_test_support.h"

namespace lumacet {
namespace {

using test::EncodeLosslessJpeg;
using test::TLosslessJpegOptions;
using test::TestSamples;

constexpr int64_t kNoLimit = int64_t{1} << 30;

bool Decode(const std::vector<uint8_t>& stream, TLosslessJpegImage& image, std::string& reason,
            int64_t maxSamples = kNoLimit) {
  return DecodeLosslessJpeg(stream, maxSamples, image, reason);
}

// Offset of the first marker FF `code` in a stream.
size_t MarkerAt(const std::vector<uint8_t>& stream, uint8_t code) {
  for (size_t i = 0; i + 1 < stream.size(); ++i)
    if (stream[i] == 0xFF && stream[i + 1] == code) return i;
  ADD_FAILURE() << "no marker " << int(code);
  return 0;
}

std::vector<uint16_t> DropLowBits(std::vector<uint16_t> samples, int bits) {
  for (uint16_t& sample : samples) sample = uint16_t(sample >> bits << bits);
  return samples;
}

TEST(LosslessJpeg, EveryPredictorPrecisionAndPointTransformDecodesExactly) {
  const int width = 37, height = 23;
  for (int precision : {2, 8, 12, 16}) {
    for (int predictor = 1; predictor <= 7; ++predictor) {
      for (int pt : {0, 1, precision - 1}) {
        SCOPED_TRACE(testing::Message() << "P " << precision << " Ss " << predictor << " Pt " << pt);
        std::vector<uint16_t> samples =
            DropLowBits(TestSamples(width, height, precision, uint32_t(predictor * 31 + precision)), pt);
        TLosslessJpegOptions options;
        options.Precision = precision;
        options.Predictor = predictor;
        options.PointTransform = pt;
        TLosslessJpegImage image;
        std::string reason;
        ASSERT_TRUE(Decode(EncodeLosslessJpeg(samples, width, height, options), image, reason)) << reason;
        EXPECT_EQ(image.Frame.Width, width);
        EXPECT_EQ(image.Frame.Height, height);
        EXPECT_EQ(image.Frame.Precision, precision);
        EXPECT_EQ(image.Frame.Predictor, predictor);
        EXPECT_EQ(image.Frame.PointTransform, pt);
        EXPECT_EQ(image.Samples, samples);
      }
    }
  }
}

TEST(LosslessJpeg, RestartIntervalsStartAfreshAndWrapTheirNumbers) {
  const int width = 19, height = 41;
  std::vector<uint16_t> samples = TestSamples(width, height, 12, 5);
  // One line per interval numbers RST0 to RST7 five times over; 7 leaves a short last one.
  for (int rows : {1, 3, 7}) {
    for (int predictor : {1, 4, 6}) {
      SCOPED_TRACE(testing::Message() << rows << " lines per interval, Ss " << predictor);
      TLosslessJpegOptions options;
      options.Precision = 12;
      options.Predictor = predictor;
      options.RestartRows = rows;
      TLosslessJpegImage image;
      std::string reason;
      ASSERT_TRUE(Decode(EncodeLosslessJpeg(samples, width, height, options), image, reason)) << reason;
      EXPECT_EQ(image.Samples, samples);
    }
  }
}

TEST(LosslessJpeg, CodesBeyondTheLookAheadDecode) {
  const int width = 40, height = 30;
  std::vector<uint16_t> samples = TestSamples(width, height, 16, 9);
  TLosslessJpegOptions options;
  options.Predictor = 7;
  // One code of each length 1 to 15 and two of 16: the rarest categories take 13 to 16 bits.
  options.Counts = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2};
  TLosslessJpegImage image;
  std::string reason;
  ASSERT_TRUE(Decode(EncodeLosslessJpeg(samples, width, height, options), image, reason)) << reason;
  EXPECT_EQ(image.Samples, samples);
}

TEST(LosslessJpeg, DifferencesOfHalfTheRangeUseCategorySixteen) {
  std::vector<uint16_t> samples = {0, 32768, 0, 65535, 32768, 32768};
  TLosslessJpegOptions options;
  TLosslessJpegImage image;
  std::string reason;
  ASSERT_TRUE(Decode(EncodeLosslessJpeg(samples, 3, 2, options), image, reason)) << reason;
  EXPECT_EQ(image.Samples, samples);
}

// SOI, a lossless frame of 16 bits, one Huffman code "0" for category 0, a scan with
// predictor `predictor`, then `dataBytes` zero bytes.
std::vector<uint8_t> ZeroDifferenceStream(int width, int height, int predictor, size_t dataBytes) {
  test::TByteWriter out(true);
  out.U16(0xFFD8);
  out.U16(0xFFC3).U16(11).U8(16).U16(uint32_t(height)).U16(uint32_t(width)).U8(1).U8(1).U8(0x11).U8(0);
  out.U16(0xFFC4).U16(2 + 17 + 1).U8(0).U8(1).Zeros(15).U8(0);
  out.U16(0xFFDA).U16(8).U8(1).U8(1).U8(0).U8(uint32_t(predictor)).U8(0).U8(0);
  out.Zeros(dataBytes);
  return out.Data();
}

TEST(LosslessJpeg, AllZeroDifferencesGiveAConstantHalfRangeImage) {
  TLosslessJpegImage image;
  std::string reason;
  ASSERT_TRUE(Decode(ZeroDifferenceStream(10, 8, 1, 10), image, reason)) << reason;
  EXPECT_EQ(image.Samples, std::vector<uint16_t>(80, 32768));
}

TEST(LosslessJpeg, RefusesStreamsItCannotDecodeExactly) {
  const int width = 16, height = 12;
  std::vector<uint16_t> samples = TestSamples(width, height, 12, 3);
  TLosslessJpegOptions options;
  options.Precision = 12;
  options.RestartRows = 3;
  const std::vector<uint8_t> good = EncodeLosslessJpeg(samples, width, height, options);
  const size_t frame = MarkerAt(good, 0xC3);
  const size_t huffman = MarkerAt(good, 0xC4);
  const size_t restart = MarkerAt(good, 0xDD);
  const size_t scan = MarkerAt(good, 0xDA);

  auto refused = [&](const std::vector<uint8_t>& stream, const std::string& expected) {
    TLosslessJpegImage image;
    std::string reason;
    EXPECT_FALSE(Decode(stream, image, reason));
    EXPECT_EQ(reason, expected);
    EXPECT_TRUE(image.Samples.empty());
  };
  auto patched = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> stream = good;
    stream[at] = value;
    return stream;
  };
  const std::string corrupt = "The JPEG data are corrupt.";
  refused(std::vector<uint8_t>(good.begin() + 2, good.end()), "The data are not a JPEG stream.");
  refused(patched(frame + 1, 0xC0), "The JPEG data are not lossless (process 14).");
  refused(patched(frame + 1, 0xC7), "The JPEG data are not lossless (process 14).");
  refused(patched(frame + 9, 3), "Only grey lossless JPEG images can be read.");
  refused(patched(frame + 4, 1), corrupt);      // precision 1
  refused(patched(frame + 4, 17), corrupt);     // precision 17
  refused(patched(scan + 7, 0), corrupt);       // predictor 0
  refused(patched(scan + 7, 8), corrupt);       // predictor 8
  refused(patched(scan + 9, 12), corrupt);      // point transform as large as the precision
  refused(patched(scan + 6, 0x10), "The JPEG data lack a Huffman table.");
  // Two codes of one bit fill the code space; the longer ones that follow cannot exist.
  std::vector<uint8_t> oversubscribed = patched(huffman + 5, 2);
  oversubscribed[huffman + 6] = 0;
  refused(oversubscribed, "The JPEG data hold an invalid Huffman table.");
  refused(patched(restart + 5, uint8_t(good[restart + 5] + 1)), "The JPEG restart interval does not span whole lines.");
  // The frame header turned into a comment: no frame at all.
  refused(patched(frame + 1, 0xFE), "The JPEG data hold no lossless frame.");

  // The second interval's marker damaged or missing.
  size_t firstRestart = scan + 10;
  while (!(good[firstRestart] == 0xFF && good[firstRestart + 1] == 0xD0)) ++firstRestart;
  refused(patched(firstRestart + 1, 0xD1), "A JPEG restart marker is missing.");
  std::vector<uint8_t> unmarked = good;
  unmarked.erase(unmarked.begin() + long(firstRestart), unmarked.begin() + long(firstRestart) + 2);
  TLosslessJpegImage image;
  std::string reason;
  EXPECT_FALSE(Decode(unmarked, image, reason));

  // Cut short anywhere in the coded data: never zeros reported as an image.
  for (size_t cut = scan + 12; cut < good.size() - 2; cut += 7) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(Decode(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)), image, reason));
  }
  // A 12-bit image labelled 8 bits decodes to values an 8-bit coder cannot make.
  refused(patched(frame + 4, 8), corrupt);
}

TEST(LosslessJpeg, TheImageSizeIsCheckedBeforeAnythingIsAllocated) {
  TLosslessJpegImage image;
  std::string reason;
  // 65535 x 65535 samples would need more than 4 GiB; the stream holds one byte of data.
  EXPECT_FALSE(Decode(ZeroDifferenceStream(65535, 65535, 1, 1), image, reason, INT64_MAX));
  EXPECT_EQ(reason, "The JPEG data end early.");
  EXPECT_FALSE(Decode(ZeroDifferenceStream(10, 8, 1, 10), image, reason, 79));
  EXPECT_EQ(reason, "The JPEG image is larger than expected.");
  EXPECT_TRUE(Decode(ZeroDifferenceStream(10, 8, 1, 10), image, reason, 80)) << reason;
}

}  // namespace
}  // namespace lumacet
