// The committed corpora: files made by real tools (scripts/make_image_corpus.sh) with the
// tools' own decodings beside them, and what the reader fuzzers kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#define LUMACET_CORPUS_REPLAY
#include "../../fuzz/dicom_codec_fuzz.cpp"
#include "../../fuzz/dicom_fuzz.cpp"
#include "../../fuzz/lossless_jpeg_fuzz.cpp"
#include "../../fuzz/png_fuzz.cpp"
#include "../../fuzz/tiff_fuzz.cpp"
#include "../../fuzz/viff_fuzz.cpp"
#include "common/corpus_replay.h"
#include "common/result_assertions.h"
#include "imaging/image_file.h"
#include "imaging/medical_readers.h"
#include "imaging/medical_test_support.h"

namespace lumacet {
namespace {

const std::string kCorpus = std::string(LUMACET_SOURCE_DIR) + "/tests/imaging/corpus/";

struct TCorpusEntry {
  std::string File;
  std::string Expected;  // empty: the reader must refuse the file
};

std::vector<TCorpusEntry> ReadManifest() {
  std::vector<TCorpusEntry> entries;
  std::ifstream in(kCorpus + "manifest.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    TCorpusEntry entry;
    fields >> entry.File >> entry.Expected;
    if (entry.Expected == "refused") entry.Expected.clear();
    entries.push_back(entry);
  }
  return entries;
}

// As the program reads a file it links: by extension, else by its own first bytes.
TResult ReadByExtension(const std::string& path, TRawImage& image, TDicomInfo& info) {
  TResultOf<TImageFileContents> read = ReadImageFile(path, true);
  ClearRawImage(image);
  if (!read) return read.Outcome();
  image = read.Value().Raw;
  info = read.Value().Dicom;
  return {};
}

TEST(MedicalCorpus, EveryFileDecodesToTheToolsOwnSamplesOrIsRefused) {
  std::vector<TCorpusEntry> entries = ReadManifest();
  ASSERT_GT(entries.size(), 60u);
  for (const TCorpusEntry& entry : entries) {
    SCOPED_TRACE(entry.File);
    const std::string path = kCorpus + entry.File;
    TRawImage image;
    TDicomInfo info;
    const TResult read = ReadByExtension(path, image, info);
    if (entry.Expected.empty()) {
      EXPECT_FALSE(read.Ok());
      EXPECT_FALSE(image.HasData());
      EXPECT_NE(read.Text().English().find(path), std::string::npos) << read.Text().English();
      continue;
    }
    ASSERT_TRUE(test::Succeeded(read));
    test::TPnmImage expected;
    ASSERT_TRUE(test::ReadPnm(kCorpus + entry.Expected, expected)) << entry.Expected;
    EXPECT_EQ(image.Width, expected.Width);
    EXPECT_EQ(image.Height, expected.Height);
    EXPECT_EQ(image.SamplesPerPixel, expected.Depth);
    EXPECT_EQ(image.BytesPerSample(), expected.MaxValue > 255 ? 2 : 1);
    std::vector<uint32_t> samples = test::SamplesInRgbOrder(image);
    ASSERT_EQ(samples.size(), expected.Samples.size());
    size_t differing = 0, first = 0;
    for (size_t i = samples.size(); i-- > 0;)
      if (samples[i] != expected.Samples[i]) ++differing, first = i;
    EXPECT_EQ(differing, 0u) << "first at sample " << first << ": " << samples[first] << " instead of "
                             << expected.Samples[first];
  }
}

TEST(MedicalCorpus, EveryCorpusFileIsInTheManifest) {
  std::set<std::string> listed;
  for (const TCorpusEntry& entry : ReadManifest()) listed.insert(entry.File);
  for (const char* folder : {"dicom", "tiff", "viff", "png", "jpeg"})
    for (const auto& file : std::filesystem::directory_iterator(kCorpus + folder))
      EXPECT_TRUE(listed.count(std::string(folder) + "/" + file.path().filename().string())) << file.path();
}

TEST(MedicalCorpus, DicomParticularsSpacingAndWindow) {
  TRawImage image;
  TDicomInfo info;
  for (const char* name : {"dicom/d12-exle.dcm", "dicom/d12-exbe.dcm", "dicom/d12-imle-nometa.dcm", "dicom/d12-sv1.dcm"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(test::Succeeded(ReadDicom(kCorpus + name, image, info)));
    EXPECT_EQ(info.PatientName, "Test^Ceph");
    EXPECT_EQ(info.PatientId, "ID0001");
    EXPECT_EQ(info.Female, true);
    EXPECT_EQ(info.PatientBirthDate, DayNumber(1980, 1, 31));
    EXPECT_EQ(info.AcquisitionDate, DayNumber(2024, 3, 15));
    EXPECT_TRUE(info.HasPatientData());
    // PixelSpacing (0.1 mm between rows, 0.12 mm between columns) wins over ImagerPixelSpacing.
    EXPECT_TRUE(info.HasPixelSpacing);
    EXPECT_DOUBLE_EQ(info.PixelHeight, 1.0);
    EXPECT_DOUBLE_EQ(info.PixelWidth, 1.2);
    EXPECT_TRUE(info.HasWindow);
    EXPECT_EQ(info.WindowCentre, 2048);
    EXPECT_EQ(info.WindowWidth, 4096);
    EXPECT_EQ(image.WindowLow, 0);
    EXPECT_EQ(image.WindowHigh, 4096);
    EXPECT_EQ(image.LoadedWindowHigh, 4096);
    EXPECT_EQ(info.BitsStored, 12);
  }

  // Centre 30000.5 and width 40000 after a rescale of slope 2 and intercept -1024.
  ASSERT_TRUE(test::Succeeded(ReadDicom(kCorpus + "dicom/d16-exle.dcm", image, info)));
  EXPECT_EQ(info.WindowCentre, 15512);
  EXPECT_EQ(info.WindowWidth, 20000);
  EXPECT_EQ(image.WindowLow, 15512 - 10000);

  ASSERT_TRUE(test::Succeeded(ReadDicom(kCorpus + "dicom/d8-mono1.dcm", image, info)));
  EXPECT_EQ(info.WindowCentre, 155);

  ASSERT_TRUE(test::Succeeded(ReadDicom(kCorpus + "dicom/d16-signed.dcm", image, info)));
  EXPECT_EQ(info.WindowCentre, 32808);
  EXPECT_EQ(info.WindowWidth, 400);

  // Without a window of its own the image spans its stored bits.
  ASSERT_TRUE(test::Succeeded(ReadDicom(kCorpus + "dicom/d12-restart.dcm", image, info)));
  EXPECT_FALSE(info.HasWindow);
  EXPECT_FALSE(info.HasPatientData());
  EXPECT_EQ(image.WindowLow, 0);
  EXPECT_EQ(image.WindowHigh, 4095);
}

// Every input the fuzzers kept, through the fuzz targets' own checks.
TEST(MedicalCorpus, FuzzCorporaReplayCleanly) {
  struct TTarget {
    const char* Folder;
    std::string (*Check)(std::span<const uint8_t>);
  };
  const auto asBytes = [](std::string_view text) {
    return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  };
  for (TTarget target : {TTarget{"tiff", CheckTiffRead}, TTarget{"viff", CheckViffRead},
                         TTarget{"dicom", CheckDicomRead}, TTarget{"lossless_jpeg", CheckLosslessJpegDecode},
                         TTarget{"png", CheckPngRead}})
    test::ReplayCorpus(target.Folder, 5, [&](std::string_view bytes) { return target.Check(asBytes(bytes)); });
  for (auto [folder, codec] : {std::pair{"dicom_jpeg", TDicomCodec::Jpeg}, std::pair{"dicom_jpegls", TDicomCodec::JpegLs},
                               std::pair{"dicom_j2k", TDicomCodec::Jpeg2000}, std::pair{"dicom_rle", TDicomCodec::Rle}})
    test::ReplayCorpus(folder, 3, [&](std::string_view bytes) { return CheckDicomFrameDecode(codec, asBytes(bytes)); });
}

}  // namespace
}  // namespace lumacet
