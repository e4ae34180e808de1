#include "platform/sane_scanner.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

#include "imaging/scanned_image.h"
#include "platform/sane_test_config.h"

namespace lumacet {
namespace {

using test::TSaneTestConfig;

uint32_t Sample(const TRawImage& image, size_t k) {
  return image.BitsPerSample > 8 ? uint32_t(image.Samples[2 * k] | image.Samples[2 * k + 1] << 8) : image.Samples[k];
}

bool AllSamplesAre(const TRawImage& image, uint32_t value) {
  const size_t count = image.Samples.size() / size_t(image.BytesPerSample());
  for (size_t k = 0; k < count; ++k)
    if (Sample(image, k) != value) return false;
  return count > 0;
}

// Opens test:0 in a session over `config`, configures it and scans once.
struct TScanRun {
  bool Ok = false;
  std::string Message;
  TScan Result;
};

TScanRun ScanOnce(const TScanSettings& settings, bool configure = true) {
  TScanRun run;
  TSaneSession session;
  EXPECT_TRUE(session.Ok()) << session.Message();
  std::unique_ptr<TSaneScanner> scanner = session.Open("test:0", run.Message);
  if (!scanner) return run;
  if (configure && !scanner->Configure(settings, run.Message)) return run;
  TScanControl control;
  run.Ok = scanner->Scan(run.Result, control, run.Message);
  return run;
}

TScanSettings Settings(TScanMode mode, int depth, double resolution, std::optional<TScanArea> area = std::nullopt) {
  TScanSettings settings;
  settings.Mode = mode;
  settings.Depth = depth;
  settings.Resolution = resolution;
  settings.Area = area;
  return settings;
}

TEST(SaneSessionTest, ListsTheDevicesAndExplainsAFailedOpen) {
  TSaneTestConfig config;
  TSaneSession session;
  ASSERT_TRUE(session.Ok()) << session.Message();
  std::vector<TScanDevice> devices;
  std::string message;
  ASSERT_TRUE(session.Devices(devices, message)) << message;
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].Name, "test:0");
  EXPECT_EQ(devices[1].Name, "test:1");
  EXPECT_EQ(devices[0].Description(), devices[0].Vendor + " " + devices[0].Model + " (test:0)");

  EXPECT_EQ(session.Open("test:7", message), nullptr);
  EXPECT_NE(message.find("Could not open the scanner \"test:7\"."), std::string::npos) << message;
  EXPECT_NE(message.find("the device is unknown"), std::string::npos) << message;

  // SANE is process-wide: a second session must not re-initialise it under the first.
  TSaneSession second;
  EXPECT_FALSE(second.Ok());
  EXPECT_EQ(second.Message(), "The scanner library is already in use.");
}

TEST(SaneScannerTest, OffersTheTestDevicesChoices) {
  TSaneTestConfig config;
  TSaneSession session;
  std::string message;
  std::unique_ptr<TSaneScanner> scanner = session.Open("test:1", message);
  ASSERT_TRUE(scanner) << message;
  const TScanCapabilities capabilities = scanner->Capabilities();
  EXPECT_EQ(capabilities.MinResolution, 1);
  EXPECT_EQ(capabilities.MaxResolution, 1200);
  EXPECT_TRUE(capabilities.HasGray);
  EXPECT_TRUE(capabilities.HasColour);
  EXPECT_TRUE(capabilities.Has16Bit);
  ASSERT_TRUE(capabilities.Bed);
  EXPECT_EQ(*capabilities.Bed, (TScanArea{0, 0, 200, 200}));
}

TEST(SaneScannerTest, GreyScansHaveTheAreasSizeAtTheResolution) {
  TSaneTestConfig config;
  // 50 x 20 mm at 5 pixels per millimetre (the backend's area moves in whole millimetres).
  TScanRun eight = ScanOnce(Settings(TScanMode::Gray, 8, 127, TScanArea{10, 20, 60, 40}));
  ASSERT_TRUE(eight.Ok) << eight.Message;
  EXPECT_EQ(eight.Result.Raw.Width, 250);
  EXPECT_EQ(eight.Result.Raw.Height, 100);
  EXPECT_EQ(eight.Result.Raw.SamplesPerPixel, 1);
  EXPECT_EQ(eight.Result.Raw.BitsPerSample, 8);
  EXPECT_TRUE(AllSamplesAre(eight.Result.Raw, 255));
  EXPECT_EQ(eight.Result.XResolution, 127);
  EXPECT_EQ(eight.Result.YResolution, 127);
  EXPECT_DOUBLE_EQ(ScanPixelSize(eight.Result.XResolution), 2.0);

  TScanRun sixteen = ScanOnce(Settings(TScanMode::Gray, 16, 254, TScanArea{0, 0, 10, 5}));
  ASSERT_TRUE(sixteen.Ok) << sixteen.Message;
  EXPECT_EQ(sixteen.Result.Raw.Width, 100);
  EXPECT_EQ(sixteen.Result.Raw.Height, 50);
  EXPECT_EQ(sixteen.Result.Raw.BitsPerSample, 16);
  EXPECT_EQ(sixteen.Result.Raw.Samples.size(), 100u * 50u * 2u);
  EXPECT_TRUE(AllSamplesAre(sixteen.Result.Raw, 0xFFFF));
  EXPECT_DOUBLE_EQ(ScanPixelSize(sixteen.Result.XResolution), 1.0);
}

TEST(SaneScannerTest, SixteenBitSamplesAreReadInHostOrder) {
  // Row 40 of the backend's grey pattern rises by 256 from pixel to pixel; read in the
  // wrong byte order it would rise by 1.
  TSaneTestConfig config({"test-picture \"Color pattern\""});
  TScanRun run = ScanOnce(Settings(TScanMode::Gray, 16, 100, TScanArea{0, 0, 80, 20}));
  ASSERT_TRUE(run.Ok) << run.Message;
  const size_t row = 40 * size_t(run.Result.Raw.Width);
  for (size_t x = 4; x < 30; ++x)
    EXPECT_EQ((Sample(run.Result.Raw, row + x + 1) - Sample(run.Result.Raw, row + x)) & 0xFFFF, 256u) << x;
}

TEST(SaneScannerTest, ColourComesAsBlueGreenRedInOneOrThreePasses) {
  TScanRun single;
  {
    TSaneTestConfig config({"test-picture \"Color pattern\""});
    single = ScanOnce(Settings(TScanMode::Colour, 8, 100, TScanArea{0, 0, 80, 12}));
  }
  ASSERT_TRUE(single.Ok) << single.Message;
  const TRawImage& raw = single.Result.Raw;
  EXPECT_EQ(raw.Width, 314);
  EXPECT_EQ(raw.Height, 47);
  EXPECT_EQ(raw.SamplesPerPixel, 3);
  // The pattern's red band starts at row 6, its blue band at row 26.
  auto pixel = [&](int x, int y) {
    const size_t at = (size_t(y) * size_t(raw.Width) + size_t(x)) * 3;
    return std::array<uint8_t, 3>{raw.Samples[at], raw.Samples[at + 1], raw.Samples[at + 2]};
  };
  EXPECT_EQ(pixel(1, 6), (std::array<uint8_t, 3>{0, 0, 255}));
  EXPECT_EQ(pixel(1, 26), (std::array<uint8_t, 3>{255, 0, 0}));

  for (const char* order : {"RGB", "BGR", "GRB"}) {
    TSaneTestConfig config({"test-picture \"Color pattern\"", "three-pass true", std::string("three-pass-order ") + order});
    TScanRun threePass = ScanOnce(Settings(TScanMode::Colour, 8, 100, TScanArea{0, 0, 80, 12}));
    ASSERT_TRUE(threePass.Ok) << order << ": " << threePass.Message;
    EXPECT_EQ(threePass.Result.Raw.Samples, raw.Samples) << order;
  }
}

TEST(SaneScannerTest, LinesAreAssembledFromShortReadsWithoutTheirPadding) {
  TScanRun plain;
  {
    TSaneTestConfig config({"test-picture Grid"});
    plain = ScanOnce(Settings(TScanMode::Gray, 8, 50));
  }
  ASSERT_TRUE(plain.Ok) << plain.Message;
  TSaneTestConfig config({"test-picture Grid", "ppl-loss 5", "read-limit true", "read-limit-size 7"});
  TScanRun padded = ScanOnce(Settings(TScanMode::Gray, 8, 50));
  ASSERT_TRUE(padded.Ok) << padded.Message;
  ASSERT_EQ(padded.Result.Raw.Width, plain.Result.Raw.Width - 5);
  ASSERT_EQ(padded.Result.Raw.Height, plain.Result.Raw.Height);
  for (int y = 0; y < padded.Result.Raw.Height; ++y)
    for (int x = 0; x < padded.Result.Raw.Width; ++x)
      ASSERT_EQ(padded.Result.Raw.Samples[size_t(y * padded.Result.Raw.Width + x)],
                plain.Result.Raw.Samples[size_t(y * plain.Result.Raw.Width + x)])
          << x << "," << y;
}

TEST(SaneScannerTest, UnknownHeightsAndLineArtAreRead) {
  {
    // A hand scanner announces no height; the backend then sends 110 x 170 mm.
    TSaneTestConfig config({"hand-scanner true"});
    TScanRun run = ScanOnce(Settings(TScanMode::Gray, 8, 50));
    ASSERT_TRUE(run.Ok) << run.Message;
    EXPECT_EQ(run.Result.Raw.Width, 216);
    EXPECT_EQ(run.Result.Raw.Height, 334);
  }
  for (const char* picture : {"Solid white", "Solid black"}) {
    TSaneTestConfig config({"depth 1", std::string("test-picture \"") + picture + "\""});
    TScanRun run = ScanOnce({}, false);
    ASSERT_TRUE(run.Ok) << run.Message;
    EXPECT_EQ(run.Result.Raw.BitsPerSample, 8);
    EXPECT_TRUE(AllSamplesAre(run.Result.Raw, std::string(picture) == "Solid white" ? 255 : 0)) << picture;
  }
}

TEST(SaneScannerTest, RefusedSettingsGiveMessages) {
  TSaneTestConfig config;
  TScanRun twelve = ScanOnce(Settings(TScanMode::Gray, 12, 50));
  EXPECT_FALSE(twelve.Ok);
  EXPECT_EQ(twelve.Message, "Scans are taken with 8 or 16 bits per sample.");
  TScanRun empty = ScanOnce(Settings(TScanMode::Gray, 8, 50, TScanArea{30, 30, 30, 40}));
  EXPECT_FALSE(empty.Ok);
  EXPECT_EQ(empty.Message, "The scan area is empty.");
}

TEST(SaneScannerTest, CancelStopsARunningScanAndTheDeviceScansAgain) {
  // Slow, small reads: the scan takes seconds unless it is cancelled.
  TSaneTestConfig config({"read-delay true", "read-delay-duration 20000", "read-limit true", "read-limit-size 64"});
  TSaneSession session;
  std::string message;
  std::unique_ptr<TSaneScanner> scanner = session.Open("test:0", message);
  ASSERT_TRUE(scanner) << message;
  ASSERT_TRUE(scanner->Configure(Settings(TScanMode::Gray, 8, 100), message)) << message;

  TScanControl control;
  TScan scan;
  bool ok = true;
  std::thread worker([&] { ok = scanner->Scan(scan, control, message); });
  while (control.BytesRead == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GT(control.BytesExpected, 0);
  control.Cancel();
  worker.join();
  EXPECT_FALSE(ok);
  EXPECT_EQ(message, "Scan cancelled.");
  EXPECT_FALSE(scan.Raw.HasData());
  EXPECT_LT(control.BytesRead, control.BytesExpected);

  // A small area scans quickly even with the delay.
  ASSERT_TRUE(scanner->Configure(Settings(TScanMode::Gray, 8, 50, TScanArea{0, 0, 5, 5}), message)) << message;
  TScanControl again;
  EXPECT_TRUE(scanner->Scan(scan, again, message)) << message;
  EXPECT_EQ(scan.Raw.Width, 9);
}

TEST(SaneScannerTest, SeveralPassesAreCombined) {
  TSaneTestConfig config({"test-picture Grid"});
  TSaneSession session;
  std::string message;
  std::unique_ptr<TSaneScanner> scanner = session.Open("test:0", message);
  ASSERT_TRUE(scanner) << message;
  ASSERT_TRUE(scanner->Configure(Settings(TScanMode::Gray, 8, 50), message)) << message;
  TScanControl control;
  TScan single, combined;
  ASSERT_TRUE(scanner->Scan(single, control, message)) << message;
  TScanControl passes;
  ASSERT_TRUE(scanner->Scan(3, TNoiseReduction::Median, combined, passes, message)) << message;
  EXPECT_EQ(passes.Pass, 3);
  // The backend's picture is the same every time, so any combination is that picture.
  EXPECT_EQ(combined.Raw.Samples, single.Raw.Samples);
  EXPECT_EQ(combined.XResolution, 50);
}

}  // namespace
}  // namespace lumacet
