#include "imaging/dicom_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "imaging/medical_test_support.h"

namespace lumacet {
namespace {

const char* kImplicitLittle = "1.2.840.10008.1.2";
const char* kExplicitLittle = "1.2.840.10008.1.2.1";
const char* kExplicitBig = "1.2.840.10008.1.2.2";
const char* kLossless = "1.2.840.10008.1.2.4.70";

bool LongLength(std::string_view vr) {
  for (std::string_view candidate : {"OB", "OD", "OF", "OL", "OV", "OW", "SQ", "SV", "UC", "UN", "UR", "UT", "UV"})
    if (vr == candidate) return true;
  return false;
}

// A data set written element by element in one of the encodings.
class TDataSetWriter {
 public:
  TDataSetWriter(bool explicitVr, bool bigEndian) : fOut(bigEndian), fExplicit(explicitVr) {}

  TDataSetWriter& Header(uint16_t group, uint16_t element, std::string_view vr, uint32_t length) {
    fOut.U16(group).U16(element);
    if (!fExplicit || group == 0xFFFE) {
      fOut.U32(length);
    } else if (LongLength(vr)) {
      fOut.Text(vr).U16(0).U32(length);
    } else {
      fOut.Text(vr).U16(length);
    }
    return *this;
  }
  TDataSetWriter& Element(uint16_t group, uint16_t element, std::string_view vr, std::span<const uint8_t> value) {
    Header(group, element, vr, uint32_t(value.size()));
    fOut.Bytes(value);
    return *this;
  }
  // Texts are padded to even length with a blank (UIDs with a zero byte).
  TDataSetWriter& Text(uint16_t group, uint16_t element, std::string_view vr, std::string_view text) {
    std::string padded(text);
    if (padded.size() % 2) padded += vr == "UI" ? '\0' : ' ';
    return Element(group, element, vr, std::span(reinterpret_cast<const uint8_t*>(padded.data()), padded.size()));
  }
  TDataSetWriter& Short(uint16_t group, uint16_t element, uint32_t value) {
    Header(group, element, "US", 2);
    fOut.U16(value);
    return *this;
  }
  TDataSetWriter& Raw(std::span<const uint8_t> bytes) {
    fOut.Bytes(bytes);
    return *this;
  }
  test::TByteWriter& Out() { return fOut; }
  const std::vector<uint8_t>& Data() const { return fOut.Data(); }

 private:
  test::TByteWriter fOut;
  bool fExplicit;
};

// Preamble, "DICM" and the meta group (explicit VR little endian), then the data set.
std::vector<uint8_t> Part10(std::string_view syntax, const std::vector<uint8_t>& dataSet) {
  TDataSetWriter meta(true, false);
  meta.Text(0x0002, 0x0010, "UI", syntax);
  TDataSetWriter file(true, false);
  file.Out().Zeros(128).Text("DICM");
  file.Header(0x0002, 0x0000, "UL", 4).Out().U32(uint32_t(meta.Data().size()));
  file.Raw(meta.Data()).Raw(dataSet);
  return file.Data();
}

struct TImageLayout {
  int Rows = 2;
  int Columns = 3;
  int Allocated = 16;
  int Stored = 16;
  int HighBit = 15;
  int Representation = 0;
  std::string Photometric = "MONOCHROME2";
  std::string Frames;  // Number of Frames as written; empty: absent
};

// Group 0028 of a grey image (with `extra` elements of that group in between, in order),
// then the pixel data.
void WriteImage(TDataSetWriter& out, const TImageLayout& layout, std::span<const uint8_t> pixels,
                const std::function<void(TDataSetWriter&)>& window = {}) {
  out.Short(0x0028, 0x0002, 1);
  out.Text(0x0028, 0x0004, "CS", layout.Photometric);
  if (!layout.Frames.empty()) out.Text(0x0028, 0x0008, "IS", layout.Frames);
  out.Short(0x0028, 0x0010, uint32_t(layout.Rows));
  out.Short(0x0028, 0x0011, uint32_t(layout.Columns));
  out.Short(0x0028, 0x0100, uint32_t(layout.Allocated));
  out.Short(0x0028, 0x0101, uint32_t(layout.Stored));
  out.Short(0x0028, 0x0102, uint32_t(layout.HighBit));
  out.Short(0x0028, 0x0103, uint32_t(layout.Representation));
  if (window) window(out);
  out.Element(0x7FE0, 0x0010, layout.Allocated > 8 ? "OW" : "OB", pixels);
}

std::vector<uint8_t> Words(std::initializer_list<uint16_t> values, bool bigEndian = false) {
  test::TByteWriter out(bigEndian);
  for (uint16_t value : values) out.U16(value);
  return out.Data();
}

std::vector<uint16_t> SamplesOf(const TRawImage& image) {
  std::vector<uint16_t> samples;
  if (image.BitsPerSample == 8) return {image.Samples.begin(), image.Samples.end()};
  for (size_t i = 0; i + 1 < image.Samples.size(); i += 2) samples.push_back(uint16_t(image.Samples[i] | image.Samples[i + 1] << 8));
  return samples;
}

struct TDicomRead {
  bool Ok = false;
  TRawImage Image;
  TDicomInfo Info;
  std::string Message;
};

TDicomRead Read(const std::vector<uint8_t>& file) {
  TDicomRead result;
  const TResult read = ReadDicomBytes(file, "ceph.dcm", result.Image, result.Info);
  result.Ok = read.Ok();
  result.Message = read.Text().English();
  return result;
}

void ExpectRefused(const std::vector<uint8_t>& file, const std::string& reason) {
  TDicomRead result = Read(file);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "Error loading DICOM file.\r\n\r\nceph.dcm\r\n" + reason);
  EXPECT_FALSE(result.Image.HasData());
  EXPECT_FALSE(result.Info.HasPatientData());
}

TEST(DicomReader, EveryNativeEncodingReadsTheSameSamples) {
  const std::vector<uint16_t> cells = {0, 1, 4095, 300, 65535, 32768};
  struct TCase {
    const char* Syntax;  // null: a bare data set without preamble or meta group
    bool Explicit, BigEndian;
  };
  for (TCase encoding : {TCase{kExplicitLittle, true, false}, TCase{kImplicitLittle, false, false},
                         TCase{kExplicitBig, true, true}, TCase{nullptr, false, false}, TCase{nullptr, true, false}}) {
    SCOPED_TRACE(testing::Message() << (encoding.Syntax ? encoding.Syntax : "bare") << " explicit " << encoding.Explicit);
    TDataSetWriter dataSet(encoding.Explicit, encoding.BigEndian);
    dataSet.Text(0x0008, 0x0060, "CS", "DX");
    test::TByteWriter pixels(encoding.BigEndian);
    for (uint16_t cell : cells) pixels.U16(cell);
    WriteImage(dataSet, TImageLayout{}, pixels.Data());
    TDicomRead result = Read(encoding.Syntax ? Part10(encoding.Syntax, dataSet.Data()) : dataSet.Data());
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(result.Image.Width, 3);
    EXPECT_EQ(result.Image.Height, 2);
    EXPECT_EQ(result.Image.BitsPerSample, 16);
    EXPECT_EQ(SamplesOf(result.Image), cells);
  }

  // 8-bit cells in big-endian OW words come byte-swapped; in OB they do not.
  for (const char* vr : {"OW", "OB"}) {
    TDataSetWriter dataSet(true, true);
    TImageLayout layout;
    layout.Allocated = layout.Stored = 8;
    layout.HighBit = 7;
    WriteImage(dataSet, layout, {});
    std::vector<uint8_t> data = dataSet.Data();
    data.resize(data.size() - 12);  // the empty pixel data element, written again below
    TDataSetWriter pixels(true, true);
    pixels.Element(0x7FE0, 0x0010, vr, std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
    data.insert(data.end(), pixels.Data().begin(), pixels.Data().end());
    TDicomRead result = Read(Part10(kExplicitBig, data));
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(result.Image.Samples, vr == std::string("OW") ? (std::vector<uint8_t>{2, 1, 4, 3, 6, 5})
                                                            : (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  }
}

TEST(DicomReader, StoredBitsAreUnpackedShiftedAndMasked) {
  // Twelve bits allocated: four cells in three words, from the low bits up.
  TImageLayout packed;
  packed.Rows = 1;
  packed.Columns = 2;
  packed.Allocated = packed.Stored = 12;
  packed.HighBit = 11;
  TDataSetWriter dataSet(true, false);
  WriteImage(dataSet, packed, std::vector<uint8_t>{0xBC, 0x3A, 0x12, 0x00});
  TDicomRead result = Read(Part10(kExplicitLittle, dataSet.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{0x0ABC, 0x0123}));

  // Twelve bits stored at the top of sixteen, with other bits set around them.
  TImageLayout high;
  high.Rows = 1;
  high.Stored = 12;
  high.HighBit = 15;
  TDataSetWriter shifted(true, false);
  WriteImage(shifted, high, Words({0xABC0, 0x123F, 0xFFFF}));
  result = Read(Part10(kExplicitLittle, shifted.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{0x0ABC, 0x0123, 0x0FFF}));

  // Twelve bits at the bottom, with overlay bits above them.
  TImageLayout low;
  low.Rows = 1;
  low.Stored = 12;
  low.HighBit = 11;
  TDataSetWriter masked(true, false);
  WriteImage(masked, low, Words({0xF123, 0x8FFF, 0x0001}));
  result = Read(Part10(kExplicitLittle, masked.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{0x0123, 0x0FFF, 0x0001}));
  EXPECT_EQ(result.Image.WindowHigh, 4095);

  // Eight bits stored in sixteen give one byte per sample.
  TImageLayout narrow;
  narrow.Rows = 1;
  narrow.Stored = 8;
  narrow.HighBit = 7;
  TDataSetWriter bytes(true, false);
  WriteImage(bytes, narrow, Words({0x0112, 0x00FF, 0x0080}));
  result = Read(Part10(kExplicitLittle, bytes.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Image.BitsPerSample, 8);
  EXPECT_EQ(result.Image.Samples, (std::vector<uint8_t>{0x12, 0xFF, 0x80}));
}

auto Window(const char* centre, const char* width, const char* intercept = nullptr, const char* slope = nullptr) {
  return [=](TDataSetWriter& out) {
    out.Text(0x0028, 0x1050, "DS", centre);
    out.Text(0x0028, 0x1051, "DS", width);
    if (intercept) out.Text(0x0028, 0x1052, "DS", intercept);
    if (slope) out.Text(0x0028, 0x1053, "DS", slope);
  };
}

TEST(DicomReader, MonochromeOneAndSignedDataAreShownAsGreyLevels) {
  // MONOCHROME1: the samples and the window centre are mirrored within the stored range.
  TImageLayout mono1;
  mono1.Rows = 1;
  mono1.Allocated = mono1.Stored = 8;
  mono1.HighBit = 7;
  mono1.Photometric = "MONOCHROME1";
  TDataSetWriter inverted(true, false);
  WriteImage(inverted, mono1, std::vector<uint8_t>{0, 100, 255}, Window("100", "50"));
  TDicomRead result = Read(Part10(kExplicitLittle, inverted.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Image.Samples, (std::vector<uint8_t>{255, 155, 0}));
  EXPECT_EQ(result.Info.WindowCentre, 155);
  EXPECT_EQ(result.Image.WindowLow, 155 - 25);

  // Signed 16 bits: offset binary, and the window centre moves with the samples.
  TImageLayout signed16;
  signed16.Rows = 1;
  signed16.Representation = 1;
  TDataSetWriter offset(true, false);
  WriteImage(offset, signed16, Words({uint16_t(-1000), 0, 0x7FFF}), Window("40", "400"));
  result = Read(Part10(kExplicitLittle, offset.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{31768, 32768, 65535}));
  EXPECT_EQ(result.Info.WindowCentre, 32808);

  // Signed 12 bits in 16, with or without the sign extended: offset by 2048.
  TImageLayout signed12 = signed16;
  signed12.Stored = 12;
  signed12.HighBit = 11;
  TDataSetWriter twelve(true, false);
  WriteImage(twelve, signed12, Words({uint16_t(-1000), uint16_t(-1000) & 0x0FFF, 2047}), Window("-1000", "10"));
  result = Read(Part10(kExplicitLittle, twelve.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{1048, 1048, 4095}));
  EXPECT_EQ(result.Info.WindowCentre, 1048);
  EXPECT_EQ(result.Image.WindowHigh, 1048 + 5);

  // Signed 8 bits.
  TImageLayout signed8 = signed16;
  signed8.Allocated = signed8.Stored = 8;
  signed8.HighBit = 7;
  TDataSetWriter eight(true, false);
  WriteImage(eight, signed8, std::vector<uint8_t>{0x80, 0xFF, 0x00});
  result = Read(Part10(kExplicitLittle, eight.Data()));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Image.Samples, (std::vector<uint8_t>{0, 127, 128}));
  EXPECT_FALSE(result.Info.HasWindow);
  EXPECT_EQ(result.Image.WindowHigh, 255);
}

TEST(DicomReader, WindowsAreConvertedToStoredValues) {
  TImageLayout layout;
  layout.Rows = 1;
  layout.Columns = 1;
  auto windowOf = [&](auto window) {
    TDataSetWriter dataSet(true, false);
    WriteImage(dataSet, layout, Words({0}), window);
    return Read(Part10(kExplicitLittle, dataSet.Data()));
  };
  TDicomRead result = windowOf(Window("1000.5\\300", "2000\\10", "-1024"));
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Info.WindowCentre, 2024);  // 2024.5 rounds to even
  EXPECT_EQ(result.Info.WindowWidth, 2000);
  EXPECT_EQ(result.Image.WindowLow, 1024);
  EXPECT_EQ(result.Image.WindowHigh, 3024);
  EXPECT_EQ(result.Image.LoadedWindowLow, 1024);

  result = windowOf(Window(" +500 ", "1e3", "100", "0.5"));
  EXPECT_EQ(result.Info.WindowCentre, 800);
  EXPECT_EQ(result.Info.WindowWidth, 2000);

  // No width, a width of 0, or numbers that do not parse: no window; the stored range.
  for (auto window : {Window("100", "0"), Window("100", "-5"), Window("abc", "10"), Window("100", "nan"),
                      Window("1e999", "10")}) {
    result = windowOf(window);
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_FALSE(result.Info.HasWindow);
    EXPECT_EQ(result.Image.WindowLow, 0);
    EXPECT_EQ(result.Image.WindowHigh, 65535);
  }

  // The caller may ask for the stored range instead of the file's window.
  result = windowOf(Window("100", "50"));
  SetDicomWindow(result.Info, false, result.Image);
  EXPECT_EQ(result.Image.WindowLow, 0);
  EXPECT_EQ(result.Image.WindowHigh, 65535);
  EXPECT_EQ(result.Image.LoadedWindowHigh, 65535);
  SetDicomWindow(result.Info, true, result.Image);
  EXPECT_EQ(result.Image.WindowLow, 75);
}

TEST(DicomReader, PatientParticularsAndPixelSpacing) {
  auto read = [](const std::function<void(TDataSetWriter&)>& particulars, const char* charset = nullptr) {
    TDataSetWriter dataSet(true, false);
    if (charset) dataSet.Text(0x0008, 0x0005, "CS", charset);
    particulars(dataSet);
    WriteImage(dataSet, TImageLayout{}, Words({1, 2, 3, 4, 5, 6}));
    return Read(Part10(kExplicitLittle, dataSet.Data()));
  };
  TDicomRead result = read([](TDataSetWriter& out) {
    out.Text(0x0008, 0x0022, "DA", "2024.03.15");
    out.Text(0x0010, 0x0010, "PN", "M\xFCller^Anna  ");
    out.Text(0x0010, 0x0020, "LO", "ID 7");
    out.Text(0x0010, 0x0030, "DA", "19800131");
    out.Text(0x0010, 0x0040, "CS", "M");
    out.Text(0x0018, 0x1164, "DS", "0.139\\0.15");
  });
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Info.AcquisitionDate, DayNumber(2024, 3, 15));
  EXPECT_EQ(result.Info.PatientName, "M\xC3\xBCller^Anna");
  EXPECT_EQ(result.Info.PatientId, "ID 7");
  EXPECT_EQ(result.Info.PatientBirthDate, DayNumber(1980, 1, 31));
  EXPECT_EQ(result.Info.Female, false);
  EXPECT_TRUE(result.Info.HasPixelSpacing);
  EXPECT_DOUBLE_EQ(result.Info.PixelHeight, 1.39);
  EXPECT_DOUBLE_EQ(result.Info.PixelWidth, 1.5);

  // UTF-8 names stay as they are; PixelSpacing overrides; unusable values are left out.
  result = read(
      [](TDataSetWriter& out) {
        out.Text(0x0008, 0x0022, "DA", "2024031");
        out.Text(0x0010, 0x0010, "PN", "M\xC3\xBCller");
        out.Text(0x0010, 0x0030, "DA", "19800230");
        out.Text(0x0010, 0x0040, "CS", "F");
        out.Text(0x0018, 0x1164, "DS", "0.139\\0.15");
        out.Text(0x0028, 0x0030, "DS", "0.1\\0.2");
      },
      "ISO_IR 192");
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Info.PatientName, "M\xC3\xBCller");
  EXPECT_FALSE(result.Info.AcquisitionDate);
  EXPECT_FALSE(result.Info.PatientBirthDate);
  EXPECT_EQ(result.Info.Female, true);
  EXPECT_DOUBLE_EQ(result.Info.PixelHeight, 1.0);
  EXPECT_DOUBLE_EQ(result.Info.PixelWidth, 2.0);

  for (const char* spacing : {"0.1", "0\\0.1", "-0.1\\0.1", "0.1\\inf", "x\\y"}) {
    SCOPED_TRACE(spacing);
    result = read([&](TDataSetWriter& out) { out.Text(0x0028, 0x0030, "DS", spacing); });
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_FALSE(result.Info.HasPixelSpacing);
  }

  // Texts longer than 256 bytes are not read.
  result = read([](TDataSetWriter& out) { out.Text(0x0010, 0x0010, "PN", std::string(258, 'A')); });
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_FALSE(result.Info.PatientName);
  EXPECT_FALSE(result.Info.HasPatientData());
}

TEST(DicomReader, SkipsSequencesAndLongValuesBeforeTheImage) {
  for (bool explicitVr : {true, false}) {
    SCOPED_TRACE(explicitVr ? "explicit" : "implicit");
    TDataSetWriter out(explicitVr, false);
    const std::vector<uint8_t> filler(10, 'x');
    // A sequence of undefined length holding an item of defined length and an item of
    // undefined length, itself holding a sequence.
    out.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF);
    out.Header(0xFFFE, 0xE000, "", 10).Raw(filler);
    out.Header(0xFFFE, 0xE000, "", 0xFFFFFFFF);
    out.Text(0x0008, 0x1150, "UI", "1.2.3");
    out.Header(0x0008, 0x1199, "SQ", 0xFFFFFFFF);
    out.Header(0xFFFE, 0xE000, "", 0xFFFFFFFF).Text(0x0008, 0x1155, "UI", "1.2").Header(0xFFFE, 0xE00D, "", 0);
    out.Header(0xFFFE, 0xE0DD, "", 0);
    out.Header(0xFFFE, 0xE00D, "", 0);
    out.Header(0xFFFE, 0xE0DD, "", 0);
    // A sequence of defined length.
    TDataSetWriter item(explicitVr, false);
    item.Header(0xFFFE, 0xE000, "", 0xFFFFFFFF).Text(0x0010, 0x0010, "PN", "Hidden").Header(0xFFFE, 0xE00D, "", 0);
    out.Element(0x0008, 0x2112, "SQ", item.Data());
    out.Text(0x0010, 0x0010, "PN", "Shown");
    if (explicitVr) {
      // Values with four-byte lengths, some of them longer than 65535 bytes.
      out.Element(0x0010, 0x4000, "UT", std::vector<uint8_t>(70000, ' '));
      out.Element(0x0018, 0x0010, "UC", filler);
      out.Element(0x0018, 0x0011, "UR", filler);
      out.Element(0x0018, 0x0012, "OF", std::vector<uint8_t>(8, 0));
      out.Element(0x0018, 0x0013, "OD", std::vector<uint8_t>(8, 0));
      out.Element(0x0018, 0x0014, "OL", std::vector<uint8_t>(8, 0));
      out.Element(0x0018, 0x0015, "UN", filler);
      // A UN value of undefined length is a sequence in implicit VR.
      out.Header(0x0019, 0x1010, "UN", 0xFFFFFFFF);
      TDataSetWriter implicitItem(false, false);
      implicitItem.Header(0xFFFE, 0xE000, "", 0xFFFFFFFF).Text(0x0019, 0x0001, "LO", "private");
      implicitItem.Header(0xFFFE, 0xE00D, "", 0).Header(0xFFFE, 0xE0DD, "", 0);
      out.Raw(implicitItem.Data());
    }
    WriteImage(out, TImageLayout{}, Words({1, 2, 3, 4, 5, 6}));
    TDicomRead result = Read(Part10(explicitVr ? kExplicitLittle : kImplicitLittle, out.Data()));
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(result.Info.PatientName, "Shown");
    EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6}));
  }
}

std::vector<uint8_t> Encapsulated(const std::vector<uint8_t>& stream, size_t fragmentSize, const TImageLayout& layout,
                                  std::string_view syntax = kLossless) {
  TDataSetWriter out(true, false);
  WriteImage(out, layout, {});
  std::vector<uint8_t> data = out.Data();
  data.resize(data.size() - 12);
  TDataSetWriter pixels(true, false);
  pixels.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Header(0xFFFE, 0xE000, "", 0);
  for (size_t at = 0; at < stream.size(); at += fragmentSize) {
    std::vector<uint8_t> fragment(stream.begin() + long(at), stream.begin() + long(std::min(stream.size(), at + fragmentSize)));
    if (fragment.size() % 2) fragment.push_back(0);
    pixels.Element(0xFFFE, 0xE000, "", fragment);
  }
  pixels.Header(0xFFFE, 0xE0DD, "", 0);
  data.insert(data.end(), pixels.Data().begin(), pixels.Data().end());
  return Part10(syntax, data);
}

TEST(DicomReader, LosslessJpegPixelDataInOneOrManyFragments) {
  TImageLayout layout;
  layout.Rows = 20;
  layout.Columns = 30;
  layout.Stored = 12;
  layout.HighBit = 11;
  std::vector<uint16_t> samples = test::TestSamples(30, 20, 12, 1);
  test::TLosslessJpegOptions options;
  options.Precision = 12;
  std::vector<uint8_t> stream = test::EncodeLosslessJpeg(samples, 30, 20, options);
  for (size_t fragment : {stream.size() + 1, size_t(100), size_t(8)}) {
    TDicomRead result = Read(Encapsulated(stream, fragment, layout));
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(SamplesOf(result.Image), samples);
  }

  // A stream whose size or depth differs from the data set's is refused.
  TImageLayout taller = layout;
  taller.Rows = 21;
  ExpectRefused(Encapsulated(stream, 64, taller), "The compressed image's size differs from the image's rows and columns.");
  TImageLayout shorter = layout;
  shorter.Rows = 19;
  ExpectRefused(Encapsulated(stream, 64, shorter), "The compressed image's size differs from the image's rows and columns.");
  TImageLayout wider = layout;
  wider.Columns = 60;
  wider.Rows = 10;
  ExpectRefused(Encapsulated(stream, 64, wider), "The compressed image's size differs from the image's rows and columns.");
  TImageLayout eight = layout;
  eight.Allocated = eight.Stored = 8;
  eight.HighBit = 7;
  ExpectRefused(Encapsulated(stream, 64, eight), "The compressed image has more bits per sample than the image allocates.");
  std::vector<uint8_t> cut = stream;
  cut.resize(cut.size() / 2);
  ExpectRefused(Encapsulated(cut, 64, layout), "The JPEG data end early.");
}

TEST(DicomReader, RefusesWhatItCannotShow) {
  auto image = [](const TImageLayout& layout, std::span<const uint8_t> pixels, const char* syntax = kExplicitLittle) {
    TDataSetWriter out(true, false);
    WriteImage(out, layout, pixels);
    return Part10(syntax, out.Data());
  };
  const std::vector<uint8_t> six = Words({1, 2, 3, 4, 5, 6});
  TImageLayout layout;
  ExpectRefused(image(layout, six, "1.2.840.10008.1.2.4.201"),
                "The image is compressed or stored as high-throughput JPEG 2000 (transfer syntax "
                "1.2.840.10008.1.2.4.201), which cannot be read.");
  // A compressed syntax over native pixel data, a deflated one over data that are not.
  ExpectRefused(image(layout, six, "1.2.840.10008.1.2.4.50"),
                "The pixel data are not encapsulated, but the transfer syntax is compressed.");
  ExpectRefused(image(layout, six, "1.2.840.10008.1.2.1.99"), "The deflated data set is damaged or ends early.");
  ExpectRefused(image(layout, six, "1.2.3.4"), "The transfer syntax 1.2.3.4 cannot be read.");
  ExpectRefused(image(layout, std::span(six).first(10)), "The pixel data are shorter than the image.");

  auto bits = [&](int allocated, int stored, int high) {
    TImageLayout changed;
    changed.Allocated = allocated;
    changed.Stored = stored;
    changed.HighBit = high;
    return image(changed, std::vector<uint8_t>(100, 0));
  };
  for (auto [allocated, stored, high] : std::vector<std::array<int, 3>>{
           {16, 12, 10}, {16, 12, 16}, {16, 17, 16}, {32, 32, 31}, {4, 4, 3}, {24, 24, 23}}) {
    SCOPED_TRACE(testing::Message() << allocated << " " << stored << " " << high);
    ExpectRefused(bits(allocated, stored, high),
                  "Pixels of " + std::to_string(allocated) + " bits allocated, " + std::to_string(stored) +
                      " stored, high bit " + std::to_string(high) + " cannot be read.");
  }
  ExpectRefused(bits(16, 0, 15), "The file does not say how its pixels are stored (bits allocated, stored, high bit).");

  TImageLayout rgb;
  rgb.Photometric = "RGB";
  ExpectRefused(image(rgb, six), "The photometric interpretation RGB does not go with 1 samples per pixel.");
  TImageLayout empty;
  empty.Rows = 0;
  ExpectRefused(image(empty, six), "The image has no rows or no columns.");

  TDataSetWriter colour(true, false);
  colour.Short(0x0028, 0x0002, 3);
  ExpectRefused(Part10(kExplicitLittle, colour.Data()), "The photometric interpretation MONOCHROME2 does not go with 3 samples per pixel.");

  TDataSetWriter noPixels(true, false);
  WriteImage(noPixels, layout, six);
  std::vector<uint8_t> data = noPixels.Data();
  data.resize(data.size() - 12 - 12);
  ExpectRefused(Part10(kExplicitLittle, data), "The file holds no pixel data.");

  // Native pixel data of undefined length, and encapsulated data in a native syntax.
  TDataSetWriter undefined(true, false);
  WriteImage(undefined, layout, {});
  data = undefined.Data();
  data.resize(data.size() - 12);
  TDataSetWriter header(true, false);
  header.Header(0x7FE0, 0x0010, "OW", 0xFFFFFFFF).Header(0xFFFE, 0xE0DD, "", 0);
  data.insert(data.end(), header.Data().begin(), header.Data().end());
  ExpectRefused(Part10(kExplicitLittle, data), "The pixel data are encapsulated, but the transfer syntax is uncompressed.");
}

TEST(DicomReader, HostileStructuresFailWithoutHangingOrOverrunning) {
  const std::string ends = "The file ends inside an element.";
  ExpectRefused({}, "The file is too short to be a DICOM file.");
  ExpectRefused(std::vector<uint8_t>(132, 0), "The image has no rows or no columns.");

  // An element length that points far beyond the file, or wraps a 32-bit position.
  for (uint32_t length : {0xFFFFFFF0u, 0x7FFFFFFFu, 200u}) {
    TDataSetWriter out(false, false);
    out.Header(0x0008, 0x0060, "", length).Raw(Words({1, 2, 3}));
    ExpectRefused(out.Data(), ends);
  }

  // Sequences nested a thousand deep.
  TDataSetWriter deep(false, false);
  for (int i = 0; i < 1000; ++i) deep.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Header(0xFFFE, 0xE000, "", 0xFFFFFFFF);
  ExpectRefused(deep.Data(), "The file's sequences are nested too deeply.");

  // A sequence that never ends, and one whose items are not items.
  TDataSetWriter open(false, false);
  open.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Header(0xFFFE, 0xE000, "", 4).Raw(Words({1, 2}));
  ExpectRefused(open.Data(), ends);
  TDataSetWriter stray(false, false);
  stray.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Header(0x0008, 0x0001, "", 0).Header(0xFFFE, 0xE0DD, "", 0);
  ExpectRefused(stray.Data(), "The file's element structure is corrupt.");

  // An explicit element whose VR is no VR.
  TDataSetWriter garbage(true, false);
  garbage.Raw(std::vector<uint8_t>{0x08, 0x00, 0x60, 0x00, 'z', 'z', 2, 0, 'D', 'X'});
  ExpectRefused(Part10(kExplicitLittle, garbage.Data()), "The file's element structure is corrupt.");

  // A meta group that ends the file.
  ExpectRefused(Part10(kExplicitLittle, {}), "The file holds no data set.");

  // The largest image the header can describe, in a small file.
  TImageLayout huge;
  huge.Rows = huge.Columns = 65535;
  TDataSetWriter large(true, false);
  WriteImage(large, huge, Words({1, 2, 3}));
  TDicomRead result = Read(Part10(kExplicitLittle, large.Data()));
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "Image is too large to load. Memory insufficient.\r\n\r\nceph.dcm");
  huge.Rows = 4000;
  TDataSetWriter big(true, false);
  WriteImage(big, huge, Words({1, 2, 3}));
  ExpectRefused(Part10(kExplicitLittle, big.Data()), "The pixel data are shorter than the image.");
}

TDicomRead ReadFrame(const std::vector<uint8_t>& file, int32_t frame, TDicomFrames& frames) {
  TDicomRead result;
  frames.Frame = frame;
  const TResult read = ReadDicomBytes(file, "ceph.dcm", result.Image, result.Info, frames);
  result.Ok = read.Ok();
  result.Message = read.Text().English();
  return result;
}

TEST(DicomReader, MultiFrameNativeDataReadsTheChosenFrame) {
  TImageLayout layout;
  layout.Frames = "3";
  // Three 2 x 3 frames, each sample telling its frame.
  std::vector<uint8_t> pixels = Words({10, 11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25, 30, 31, 32, 33, 34, 35});
  auto file = [&](const TImageLayout& written, std::span<const uint8_t> data) {
    TDataSetWriter out(true, false);
    WriteImage(out, written, data);
    return Part10(kExplicitLittle, out.Data());
  };
  for (int32_t frame = 1; frame <= 3; ++frame) {
    TDicomFrames frames;
    TDicomRead result = ReadFrame(file(layout, pixels), frame, frames);
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(frames.Count, 3);
    EXPECT_EQ(result.Image.Width, 3);
    EXPECT_EQ(result.Image.Height, 2);
    const uint16_t base = uint16_t(frame * 10);
    EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{base, uint16_t(base + 1), uint16_t(base + 2),
                                                              uint16_t(base + 3), uint16_t(base + 4), uint16_t(base + 5)}));
  }
  // The overload without a choice reads the first frame; a file without the element has one.
  TDicomRead first = Read(file(layout, pixels));
  ASSERT_TRUE(first.Ok) << first.Message;
  EXPECT_EQ(SamplesOf(first.Image)[0], 10);
  TImageLayout single;
  TDicomFrames frames;
  ASSERT_TRUE(ReadFrame(file(single, std::span(pixels).first(12)), 1, frames).Ok);
  EXPECT_EQ(frames.Count, 1);

  const std::string prefix = "Error loading DICOM file.\r\n\r\nceph.dcm\r\n";
  for (int32_t missing : {0, 4}) {
    TDicomRead result = ReadFrame(file(layout, pixels), missing, frames);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, prefix + "The file holds 3 frames; there is no frame " + std::to_string(missing) + ".");
    EXPECT_EQ(frames.Count, 0);
  }
  // Every frame the file announces must be there, also when an earlier one is asked for.
  ExpectRefused(file(layout, std::span(pixels).first(24)), "The pixel data are shorter than the image.");
  TImageLayout huge = layout;
  huge.Frames = "2147483647";
  ExpectRefused(file(huge, pixels), "The pixel data are shorter than the image.");
  for (const char* bad : {"0", "-2", "2.5", "x"}) {
    TImageLayout wrong = layout;
    wrong.Frames = bad;
    ExpectRefused(file(wrong, pixels), "The number of frames is not a positive whole number.");
  }
}

TEST(DicomReader, PackedFramesMayStartInsideAByte) {
  // Twelve bits allocated, three cells a frame: the second frame starts at bit 36.
  TImageLayout layout;
  layout.Rows = 1;
  layout.Allocated = layout.Stored = 12;
  layout.HighBit = 11;
  layout.Frames = "2";
  const std::vector<uint16_t> cells = {0x123, 0x456, 0x789, 0xABC, 0xDEF, 0x0F1};
  std::vector<uint8_t> packed(10, 0);
  for (size_t i = 0; i < cells.size(); ++i)
    for (int bit = 0; bit < 12; ++bit)
      if (cells[i] >> bit & 1) packed[(i * 12 + size_t(bit)) / 8] |= uint8_t(1 << ((i * 12 + size_t(bit)) % 8));
  for (bool bigEndian : {false, true}) {
    std::vector<uint8_t> data = packed;
    if (bigEndian)
      for (size_t i = 0; i + 1 < data.size(); i += 2) std::swap(data[i], data[i + 1]);
    TDataSetWriter out(true, bigEndian);
    WriteImage(out, layout, data);
    TDicomFrames frames;
    TDicomRead result = ReadFrame(Part10(bigEndian ? kExplicitBig : kExplicitLittle, out.Data()), 2, frames);
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(SamplesOf(result.Image), (std::vector<uint16_t>{0xABC, 0xDEF, 0x0F1})) << bigEndian;
  }
}

// Encapsulated frames: each frame's stream cut into fragments of `fragmentSize`, with or
// without a basic offset table.
std::vector<uint8_t> EncapsulatedFrames(const std::vector<std::vector<uint8_t>>& streams, size_t fragmentSize,
                                        bool offsetTable, const TImageLayout& layout) {
  TDataSetWriter out(true, false);
  WriteImage(out, layout, {});
  std::vector<uint8_t> data = out.Data();
  data.resize(data.size() - 12);
  TDataSetWriter items(true, false);
  std::vector<uint32_t> offsets;
  for (const std::vector<uint8_t>& stream : streams) {
    offsets.push_back(uint32_t(items.Data().size()));
    for (size_t at = 0; at < stream.size(); at += fragmentSize) {
      std::vector<uint8_t> fragment(stream.begin() + long(at), stream.begin() + long(std::min(stream.size(), at + fragmentSize)));
      if (fragment.size() % 2) fragment.push_back(0);
      items.Element(0xFFFE, 0xE000, "", fragment);
    }
  }
  TDataSetWriter pixels(true, false);
  pixels.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Header(0xFFFE, 0xE000, "", offsetTable ? uint32_t(4 * offsets.size()) : 0);
  if (offsetTable)
    for (uint32_t offset : offsets) pixels.Out().U32(offset);
  pixels.Raw(items.Data()).Header(0xFFFE, 0xE0DD, "", 0);
  data.insert(data.end(), pixels.Data().begin(), pixels.Data().end());
  return Part10(kLossless, data);
}

TEST(DicomReader, MultiFrameLosslessJpegFindsEachFramesFragments) {
  TImageLayout layout;
  layout.Rows = 10;
  layout.Columns = 12;
  layout.Stored = 12;
  layout.HighBit = 11;
  layout.Frames = "2";
  test::TLosslessJpegOptions options;
  options.Precision = 12;
  std::vector<std::vector<uint16_t>> samples;
  std::vector<std::vector<uint8_t>> streams;
  for (uint32_t seed : {7u, 8u}) {
    samples.push_back(test::TestSamples(12, 10, 12, seed));
    streams.push_back(test::EncodeLosslessJpeg(samples.back(), 12, 10, options));
  }
  // One fragment a frame; several located by the offset table; several found by their
  // JPEG start marker.
  const std::pair<size_t, bool> layouts[] = {{100000, false}, {40, true}, {40, false}};
  for (const auto& [fragmentSize, table] : layouts)
    for (int32_t frame : {1, 2}) {
      TDicomFrames frames;
      TDicomRead result = ReadFrame(EncapsulatedFrames(streams, fragmentSize, table, layout), frame, frames);
      ASSERT_TRUE(result.Ok) << fragmentSize << " " << table << " " << frame << ": " << result.Message;
      EXPECT_EQ(SamplesOf(result.Image), samples[size_t(frame - 1)]);
      EXPECT_EQ(frames.Count, 2);
    }

  TImageLayout three = layout;
  three.Frames = "3";
  ExpectRefused(EncapsulatedFrames(streams, 100000, false, three),
                "The compressed pixel data hold fewer frames than the file says.");
  ExpectRefused(EncapsulatedFrames(streams, 40, false, three), "The compressed frames cannot be told apart.");
  // An offset table that does not fit the frames.
  std::vector<std::vector<uint8_t>> one = {streams[0], streams[1], streams[0]};
  ExpectRefused(EncapsulatedFrames(one, 40, true, layout), "The compressed frames cannot be told apart.");
}

// The first fragment of a tool-made corpus file: the offset table skipped, nothing parsed
// beyond the item headers.
std::vector<uint8_t> FirstFragment(const std::string& name) {
  const std::vector<uint8_t> file = test::ReadFileBytes(std::string(LUMACET_SOURCE_DIR) + "/tests/imaging/corpus/dicom/" + name);
  static constexpr uint8_t kPixelTag[] = {0xE0, 0x7F, 0x10, 0x00, 'O', 'B', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  auto at = std::search(file.begin(), file.end(), std::begin(kPixelTag), std::end(kPixelTag));
  if (at == file.end()) return {};
  size_t pos = size_t(at - file.begin()) + 12;
  auto length = [&](size_t item) { return size_t(file[item + 4] | file[item + 5] << 8 | file[item + 6] << 16 | file[item + 7] << 24); };
  pos += 8 + length(pos);
  return {file.begin() + long(pos + 8), file.begin() + long(pos + 8 + length(pos))};
}

// Each codec's stream checked against the data set before memory is taken: another size,
// a header patched to a huge image the stream could never hold, and truncation.
TEST(DicomReader, CodecStreamsThatAreNotTheDeclaredImageAreRefused) {
  const std::string wrong = "The compressed image's size or components differ from the image's own.";
  const std::string tooSmall = "The file is far too small for the image it describes.";
  TImageLayout real;
  real.Rows = 72;
  real.Columns = 96;
  real.Stored = 12;
  real.HighBit = 11;
  TImageLayout taller = real;
  taller.Rows = 73;
  TImageLayout huge = real;
  huge.Rows = huge.Columns = 16000;
  // Within the bound for every codec, but more than RLE's two segments could hold.
  TImageLayout large = real;
  large.Rows = large.Columns = 700;
  TImageLayout huge8 = huge;
  huge8.Allocated = huge8.Stored = 8;
  huge8.HighBit = 7;
  // Width and height in the frame header of a JPEG or JPEG-LS stream.
  auto patchSize = [](std::vector<uint8_t> stream, uint8_t marker) {
    for (size_t i = 0; i + 9 < stream.size(); ++i)
      if (stream[i] == 0xFF && stream[i + 1] == marker) {
        stream[i + 5] = stream[i + 7] = 16000 >> 8;
        stream[i + 6] = stream[i + 8] = 16000 & 0xFF;
        break;
      }
    return stream;
  };
  auto half = [](std::vector<uint8_t> stream) {
    stream.resize(stream.size() / 2);
    return stream;
  };
  const std::vector<uint8_t> jpegLs = FirstFragment("d12-jpegls.dcm"), j2k = FirstFragment("d12-j2k.dcm"),
                             extended = FirstFragment("d12-extended.dcm"), rle = FirstFragment("d12-gdcm-rle.dcm"),
                             baseline = FirstFragment("d8-baseline.dcm");
  ASSERT_FALSE(jpegLs.empty() || j2k.empty() || extended.empty() || rle.empty() || baseline.empty());
  std::vector<uint8_t> rleOneSegment = rle;
  rleOneSegment[0] = 1;
  struct TCase {
    const char* What;
    std::vector<uint8_t> Stream;
    const char* Syntax;
    TImageLayout Layout;
    std::string Reason;  // the start of the refusal's reason
  };
  const std::vector<TCase> cases = {
      {"JPEG-LS taller", jpegLs, "1.2.840.10008.1.2.4.80", taller, wrong},
      {"JPEG-LS huge", patchSize(jpegLs, 0xF7), "1.2.840.10008.1.2.4.80", huge, tooSmall},
      {"JPEG-LS cut", half(jpegLs), "1.2.840.10008.1.2.4.80", real, "The JPEG-LS data cannot be decoded: "},
      {"JPEG 2000 taller", j2k, "1.2.840.10008.1.2.4.90", taller, wrong},
      {"JPEG 2000 cut", half(j2k), "1.2.840.10008.1.2.4.90", real, "The JPEG 2000 data cannot be decoded: "},
      {"12-bit JPEG taller", extended, "1.2.840.10008.1.2.4.51", taller, wrong},
      {"12-bit JPEG huge", patchSize(extended, 0xC1), "1.2.840.10008.1.2.4.51", huge, tooSmall},
      {"12-bit JPEG cut", half(extended), "1.2.840.10008.1.2.4.51", real, "The JPEG data are damaged or end early."},
      {"JPEG 2000 huge", j2k, "1.2.840.10008.1.2.4.90", huge, tooSmall},
      {"8-bit JPEG huge", patchSize(baseline, 0xC0), "1.2.840.10008.1.2.4.50", huge8, tooSmall},
      {"RLE huge", rle, "1.2.840.10008.1.2.5", huge, tooSmall},
      {"RLE large", rle, "1.2.840.10008.1.2.5", large, tooSmall},
      {"RLE cut", half(rle), "1.2.840.10008.1.2.5", real, "The RLE data"},
      {"RLE segments", rleOneSegment, "1.2.840.10008.1.2.5", real,
       "The RLE data hold another number of segments than the image needs."},
  };
  for (const TCase& refused : cases) {
    SCOPED_TRACE(refused.What);
    TDicomRead result = Read(Encapsulated(refused.Stream, refused.Stream.size() + 1, refused.Layout, refused.Syntax));
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Image.HasData());
    const std::string prefix = "Error loading DICOM file.\r\n\r\nceph.dcm\r\n" + refused.Reason;
    EXPECT_EQ(result.Message.substr(0, prefix.size()), prefix);
  }
  // The same streams, untouched, decode.
  for (auto [stream, syntax] : {std::pair{jpegLs, "1.2.840.10008.1.2.4.80"}, std::pair{j2k, "1.2.840.10008.1.2.4.90"},
                                std::pair{extended, "1.2.840.10008.1.2.4.51"}, std::pair{rle, "1.2.840.10008.1.2.5"}}) {
    SCOPED_TRACE(syntax);
    TDicomRead result = Read(Encapsulated(stream, stream.size() + 1, real, syntax));
    EXPECT_TRUE(result.Ok) << result.Message;
  }
}

// Native colour of one row of two pixels, as blue, green, red: by pixel, by plane, and
// YBR_FULL_422's pair (two lumas, then the pair's Cb and Cr) converted with DICOM's
// coefficients, clamped to the stored range.
TEST(DicomReader, NativeColourByPixelByPlaneAndSubsampledYbr) {
  struct TCase {
    const char* Photometric;
    int Planar;
    std::vector<uint8_t> Cells;
    std::vector<uint16_t> Expected;
  };
  const std::vector<TCase> cases = {
      {"RGB", 0, {10, 30, 50, 20, 40, 60}, {50, 30, 10, 60, 40, 20}},
      {"RGB", 1, {10, 20, 30, 40, 50, 60}, {50, 30, 10, 60, 40, 20}},
      // R = Y + 1.402 (Cr - 128) = Y + 101, G = Y - 0.71414 (Cr - 128) = Y - 51, B = Y.
      {"YBR_FULL_422", 0, {100, 50, 128, 200}, {100, 49, 201, 50, 0, 151}},
      {"YBR_FULL", 0, {100, 128, 200, 50, 128, 128}, {100, 49, 201, 50, 50, 50}},
  };
  for (const TCase& colour : cases) {
    SCOPED_TRACE(std::string(colour.Photometric) + " " + std::to_string(colour.Planar));
    TDataSetWriter out(true, false);
    out.Short(0x0028, 0x0002, 3);
    out.Text(0x0028, 0x0004, "CS", colour.Photometric);
    out.Short(0x0028, 0x0006, uint32_t(colour.Planar));
    out.Short(0x0028, 0x0010, 1).Short(0x0028, 0x0011, 2);
    out.Short(0x0028, 0x0100, 8).Short(0x0028, 0x0101, 8).Short(0x0028, 0x0102, 7).Short(0x0028, 0x0103, 0);
    out.Element(0x7FE0, 0x0010, "OB", colour.Cells);
    TDicomRead result = Read(Part10(kExplicitLittle, out.Data()));
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(result.Image.SamplesPerPixel, 3);
    EXPECT_EQ(SamplesOf(result.Image), colour.Expected);
  }
}

}  // namespace
}  // namespace lumacet
