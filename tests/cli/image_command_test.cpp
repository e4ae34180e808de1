#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/cli_runner.h"
#include "imaging/bmp_codec.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::TRun;
using test::TTempFolder;
using test::WriteBytes;

TRun RunImage(const TTempFolder& folder, const std::string& arguments) {
  return test::RunCli(folder, "image " + arguments);
}

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 3 x 2 little-endian TIFF of 16-bit grey samples in one strip.
std::string Tiff16(const std::vector<std::uint16_t>& samples) {
  std::string file = "II";
  Put16(file, 42);
  Put32(file, 8);
  const std::vector<std::array<std::uint32_t, 4>> entries = {
      {256, 3, 1, 3}, {257, 3, 1, 2}, {258, 3, 1, 16}, {259, 3, 1, 1}, {262, 3, 1, 1},
      {273, 4, 1, 8 + 2 + 9 * 12 + 4}, {277, 3, 1, 1}, {278, 3, 1, 2}, {279, 4, 1, 12}};
  Put16(file, static_cast<std::uint32_t>(entries.size()));
  for (const auto& [tag, type, count, value] : entries) {
    Put16(file, tag);
    Put16(file, type);
    Put32(file, count);
    Put32(file, value);
  }
  Put32(file, 0);
  for (std::uint16_t s : samples) Put16(file, s);
  return file;
}

// One implicit-VR little-endian DICOM element.
void Element(std::string& out, std::uint32_t group, std::uint32_t element, const std::string& value) {
  Put16(out, group);
  Put16(out, element);
  Put32(out, static_cast<std::uint32_t>(value.size()));
  out += value;
}
std::string Us(std::uint32_t v) {
  std::string s;
  Put16(s, v);
  return s;
}

// A bare 2 x 1 data set with particulars, spacing and window: 12 bits stored in 16.
std::string Dicom12() {
  std::string data;
  Element(data, 0x0008, 0x0022, "20240315");
  Element(data, 0x0010, 0x0010, "Test^Ceph ");
  Element(data, 0x0010, 0x0020, "ID0001");
  Element(data, 0x0010, 0x0030, "19800131");
  Element(data, 0x0010, 0x0040, "F ");
  Element(data, 0x0028, 0x0002, Us(1));
  Element(data, 0x0028, 0x0004, "MONOCHROME2 ");
  Element(data, 0x0028, 0x0010, Us(1));
  Element(data, 0x0028, 0x0011, Us(2));
  Element(data, 0x0028, 0x0030, "0.1\\0.2 ");
  Element(data, 0x0028, 0x0100, Us(16));
  Element(data, 0x0028, 0x0101, Us(12));
  Element(data, 0x0028, 0x0102, Us(11));
  Element(data, 0x0028, 0x0103, Us(0));
  Element(data, 0x0028, 0x1050, "2048");
  Element(data, 0x0028, 0x1051, "1000");
  std::string pixels;
  Put16(pixels, 100);
  Put16(pixels, 4000);
  Element(data, 0x7FE0, 0x0010, pixels);
  return data;
}

class ImageCommandTest : public ::testing::Test {
 protected:
  std::string Quoted(const std::string& name) const { return "'" + folder.File(name) + "'"; }
  TTempFolder folder;
};

TEST_F(ImageCommandTest, InfoDescribesABitmap) {
  TBitmap32 bitmap;
  bitmap.Resize(3, 2);
  std::string bytes;
  ASSERT_TRUE(EncodeBmp(bitmap, {24, false}, bytes));
  WriteBytes(folder.File("a.bmp"), bytes);
  const TRun run = RunImage(folder, Quoted("a.bmp") + " --info");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "Size: 3 x 2\nSamples per pixel: 3\nBits per sample: 8\nEncoding: BMP\nPixel size: not given by the file\n"
            "Window: full range\n");
}

TEST_F(ImageCommandTest, InfoGivesDicomParticularsAndWindow) {
  WriteBytes(folder.File("ceph.dcm"), Dicom12());
  const TRun run = RunImage(folder, Quoted("ceph.dcm") + " --info");
  ASSERT_EQ(run.Exit, 0) << run.Err;
  for (const char* line : {"Size: 2 x 1\n", "Samples per pixel: 1\n", "Bits per sample: 12\n",
                           "Pixel size: 0.2 x 0.1 mm\n", "Window: 1548 .. 2548\n", "Patient name: Test^Ceph\n",
                           "Patient ID: ID0001\n", "Sex: female\n", "Date of birth: 1980-01-31\n",
                           "Date taken: 2024-03-15\n"})
    EXPECT_NE(run.Out.find(line), std::string::npos) << line << " in\n" << run.Out;
}

TEST_F(ImageCommandTest, WritesSixteenBitSamplesAtFullDepth) {
  WriteBytes(folder.File("a.tif"), Tiff16({0, 1, 4095, 4096, 40000, 65535}));
  TRun run = RunImage(folder, Quoted("a.tif") + " --out " + Quoted("a.pgm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadBytes(folder.File("a.pgm")),
            std::string("P5\n3 2\n65535\n") + std::string("\x00\x00\x00\x01\x0F\xFF\x10\x00\x9C\x40\xFF\xFF", 12));

  run = RunImage(folder, Quoted("a.tif") + " --out " + Quoted("a.png"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::string png = ReadBytes(folder.File("a.png"));
  ASSERT_GT(png.size(), 26u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(static_cast<int>(png[24]), 16);  // bit depth
  EXPECT_EQ(static_cast<int>(png[25]), 0);   // grey
}

// A 12-bit image keeps its depth: maxval 4095, and the same samples as PGM, grey PPM and PNG.
TEST_F(ImageCommandTest, TwelveBitDicomKeepsItsDepth) {
  WriteBytes(folder.File("ceph.dcm"), Dicom12());
  TRun run = RunImage(folder, Quoted("ceph.dcm") + " --out " + Quoted("c.pgm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(folder.File("c.pgm")), std::string("P5\n2 1\n4095\n\x00\x64\x0F\xA0", 16));
  run = RunImage(folder, Quoted("ceph.dcm") + " --out " + Quoted("c.ppm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(folder.File("c.ppm")),
            std::string("P6\n2 1\n4095\n\x00\x64\x00\x64\x00\x64\x0F\xA0\x0F\xA0\x0F\xA0", 24));
  run = RunImage(folder, Quoted("ceph.dcm") + " --out " + Quoted("c.png"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  const std::string png = ReadBytes(folder.File("c.png"));
  ASSERT_GT(png.size(), 26u);
  EXPECT_EQ(static_cast<int>(png[24]), 16);  // two bytes a sample, as stored
}

TEST_F(ImageCommandTest, ColourGoesToPpmInRedGreenBlueOrder) {
  TBitmap32 bitmap;
  bitmap.Resize(2, 1);
  bitmap.Pixels = {PackPixel(1, 2, 3), PackPixel(200, 100, 50)};
  std::string bytes;
  ASSERT_TRUE(EncodeBmp(bitmap, {24, true}, bytes));
  WriteBytes(folder.File("c.bmp"), bytes);
  TRun run = RunImage(folder, Quoted("c.bmp") + " --info --out " + Quoted("c.ppm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Size: 2 x 1\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder.File("c.ppm")), std::string("P6\n2 1\n255\n\x03\x02\x01\x32\x64\xC8", 17));

  run = RunImage(folder, Quoted("c.bmp") + " --out " + Quoted("c.pgm"));
  EXPECT_NE(run.Exit, 0);
  EXPECT_EQ(run.Err, "A colour image is written as .ppm or .png.\n");
}

TEST_F(ImageCommandTest, UnreadableFilesGiveTheReadersMessageAndNoOutput) {
  WriteBytes(folder.File("broken.jpg"), "not a JPEG at all");
  TRun run = RunImage(folder, Quoted("broken.jpg") + " --out " + Quoted("x.pgm"));
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err.rfind("Error loading image.\n\n" + folder.File("broken.jpg") + "\n", 0), 0u) << run.Err;
  EXPECT_EQ(run.Err.find('\r'), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.pgm")));

  run = RunImage(folder, Quoted("missing.bmp"));
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Err, "Error loading image file:\n   " + folder.File("missing.bmp") + "\n");
}

TEST_F(ImageCommandTest, BadArgumentsShowTheUsage) {
  for (const char* arguments : {"", "a.bmp --out x.gif", "a.bmp --bogus", "a.bmp b.bmp", "a.bmp --out"}) {
    const TRun run = RunImage(folder, arguments);
    EXPECT_EQ(run.Exit, 2) << arguments;
    EXPECT_NE(run.Err.find("Try 'lumacet-cli image --help'."), std::string::npos) << arguments;
  }
}

TEST_F(ImageCommandTest, FrameChoosesOneFrameOfAMultiFrameDicomFile) {
  // Two 2 x 1 frames of 8-bit samples.
  std::string data;
  Element(data, 0x0008, 0x0022, "20240315");
  Element(data, 0x0028, 0x0002, Us(1));
  Element(data, 0x0028, 0x0004, "MONOCHROME2 ");
  Element(data, 0x0028, 0x0008, "2 ");
  Element(data, 0x0028, 0x0010, Us(1));
  Element(data, 0x0028, 0x0011, Us(2));
  Element(data, 0x0028, 0x0100, Us(8));
  Element(data, 0x0028, 0x0101, Us(8));
  Element(data, 0x0028, 0x0102, Us(7));
  Element(data, 0x7FE0, 0x0010, std::string("\x0A\x0B\x14\x15", 4));
  WriteBytes(folder.File("cine.dcm"), data);

  TRun run = RunImage(folder, Quoted("cine.dcm") + " --frame 2 --info --out " + Quoted("f2.pgm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_NE(run.Out.find("Frame: 2 of 2\n"), std::string::npos) << run.Out;
  EXPECT_EQ(ReadBytes(folder.File("f2.pgm")), std::string("P5\n2 1\n255\n\x14\x15", 13));
  run = RunImage(folder, Quoted("cine.dcm") + " --out " + Quoted("f1.pgm"));
  ASSERT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(ReadBytes(folder.File("f1.pgm")), std::string("P5\n2 1\n255\n\x0A\x0B", 13));

  run = RunImage(folder, Quoted("cine.dcm") + " --frame 3");
  EXPECT_EQ(run.Exit, 1);
  EXPECT_NE(run.Err.find("The file holds 2 frames; there is no frame 3."), std::string::npos) << run.Err;
  for (const char* frame : {"0", "x", "-1", "2 --frame 1"}) {
    run = RunImage(folder, Quoted("cine.dcm") + " --frame " + frame);
    EXPECT_EQ(run.Exit, 2) << frame;
  }
}

}  // namespace
}  // namespace lumacet
