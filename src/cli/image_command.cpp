// lumacet-cli image FILE [--info] [--frame N] [--out OUT.pgm|OUT.ppm|OUT.png]: reads an
// image as the program does when it links one (frame N of a multi-frame DICOM file),
// describes it, and writes its raw samples at full depth.
#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "cli/commands.h"
#include "imaging/dicom_reader.h"
#include "imaging/image_file.h"
#include "support/atomic_file.h"
#include "support/dates.h"
#include "support/file_numbers.h"

namespace lumacet::cli {

namespace {

std::uint32_t SampleAt(const TRawImage& image, std::size_t k) {
  if (image.BitsPerSample <= 8) return image.Samples[k];
  return image.Samples[2 * k] | (static_cast<std::uint32_t>(image.Samples[2 * k + 1]) << 8);
}

std::size_t PixelCount(const TRawImage& image) {
  return static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
}

void PrintInfo(const TImageFileContents& contents, std::ostream& out) {
  const TRawImage& raw = contents.Raw;
  out << "Size: " << raw.Width << " x " << raw.Height << '\n';
  out << "Samples per pixel: " << raw.SamplesPerPixel << '\n';
  out << "Bits per sample: " << raw.BitsPerSample << '\n';
  if (!contents.Encoding.empty()) out << "Encoding: " << contents.Encoding << '\n';
  if (contents.IsDicom && contents.Dicom.HasPixelSpacing)
    out << "Pixel size: " << FormatRounded(contents.Dicom.PixelWidth / 10, 6) << " x "
        << FormatRounded(contents.Dicom.PixelHeight / 10, 6) << " mm\n";
  else
    out << "Pixel size: not given by the file\n";
  if (raw.WindowLow == 0 && raw.WindowHigh == 0)
    out << "Window: full range\n";
  else
    out << "Window: " << raw.WindowLow << " .. " << raw.WindowHigh << '\n';
  if (!contents.IsDicom) return;
  const TDicomInfo& dicom = contents.Dicom;
  if (dicom.PatientName) out << "Patient name: " << *dicom.PatientName << '\n';
  if (dicom.PatientId) out << "Patient ID: " << *dicom.PatientId << '\n';
  if (dicom.Female) out << "Sex: " << (*dicom.Female ? "female" : "male") << '\n';
  if (dicom.PatientBirthDate) out << "Date of birth: " << FormatDate(*dicom.PatientBirthDate, "yyyy-MM-dd") << '\n';
  if (dicom.AcquisitionDate) out << "Date taken: " << FormatDate(*dicom.AcquisitionDate, "yyyy-MM-dd") << '\n';
  if (dicom.HasWindow)
    out << "File window: centre " << dicom.WindowCentre << ", width " << dicom.WindowWidth << '\n';
}

// Binary PGM (grey) or PPM (red, green, blue; a fourth sample is left out), two bytes per
// sample, most significant first, above 8 bits.
std::string NetpbmBytes(const TRawImage& raw, bool colour) {
  const int channels = colour ? 3 : 1;
  const std::uint32_t maximum = (1u << raw.BitsPerSample) - 1;
  std::string bytes = std::string(colour ? "P6" : "P5") + "\n" + std::to_string(raw.Width) + " " +
                      std::to_string(raw.Height) + "\n" + std::to_string(maximum) + "\n";
  const std::size_t spp = static_cast<std::size_t>(raw.SamplesPerPixel);
  for (std::size_t p = 0; p < PixelCount(raw); ++p)
    for (int c = 0; c < channels; ++c) {
      // Samples are blue, green, red; a grey sample serves all three channels.
      const std::size_t k = p * spp + (spp >= 3 ? static_cast<std::size_t>(2 - c) : 0);
      const std::uint32_t v = std::min(SampleAt(raw, k), maximum);
      if (raw.BitsPerSample > 8) bytes.push_back(static_cast<char>(v >> 8));
      bytes.push_back(static_cast<char>(v & 0xFF));
    }
  return bytes;
}

// PNG through Qt's image writer: grey, RGB or RGBA at 8 or 16 bits per channel.
bool PngBytes(const TRawImage& raw, std::string& bytes) {
  const bool wide = raw.BitsPerSample > 8;
  const int spp = raw.SamplesPerPixel;
  QImage::Format format = spp == 1   ? (wide ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8)
                          : spp == 3 ? (wide ? QImage::Format_RGBX64 : QImage::Format_RGB888)
                                     : (wide ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
  QImage image(raw.Width, raw.Height, format);
  if (image.isNull()) return false;
  const int channels = spp == 1 ? 1 : 4;
  const int stored = spp == 3 && !wide ? 3 : channels;
  for (int y = 0; y < raw.Height; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < raw.Width; ++x) {
      const std::size_t base = (static_cast<std::size_t>(y) * static_cast<std::size_t>(raw.Width) + static_cast<std::size_t>(x)) *
                               static_cast<std::size_t>(spp);
      for (int c = 0; c < stored; ++c) {
        // Qt wants red, green, blue, alpha; the samples are blue, green, red, alpha.
        std::uint32_t v;
        if (spp == 1)
          v = SampleAt(raw, base);
        else if (c < 3)
          v = SampleAt(raw, base + static_cast<std::size_t>(2 - c));
        else
          v = spp == 4 ? SampleAt(raw, base + 3) : 0xFFFF;
        const std::size_t at = static_cast<std::size_t>(x * stored + c);
        if (wide) {
          const auto word = static_cast<std::uint16_t>(v);
          std::memcpy(line + 2 * at, &word, 2);
        } else {
          line[at] = static_cast<uchar>(v);
        }
      }
    }
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return false;
  bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
  return true;
}

}  // namespace

int ImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string outPath;
  bool info = false;
  int32_t frame = 0;  // none asked for
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--info" && !info)
      info = true;
    else if (args[i] == "--frame" && i + 1 < args.size() && frame == 0) {
      const std::string& number = args[++i];
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), frame);
      if (error != std::errc() || end != number.data() + number.size() || frame < 1) return kExitUsage;
    }
    else if (args[i] == "--out" && i + 1 < args.size() && outPath.empty())
      outPath = args[++i];
    else if (path.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0)
      path = args[i];
    else
      return kExitUsage;
  }
  const std::string format = UpperExtension(outPath);
  if (path.empty() || (!outPath.empty() && format != ".PGM" && format != ".PPM" && format != ".PNG")) return kExitUsage;

  TResultOf<TImageFileContents> read = ReadImageFile(path, true, std::max(frame, 1));
  if (!read) {
    err << TerminalText(read.Text().English()) << '\n';
    return kExitFailure;
  }
  const TImageFileContents& contents = *read;
  if (frame > 1 && !contents.IsDicom) {
    err << path << ": only DICOM files hold more than one frame.\n";
    return kExitFailure;
  }
  if (info || outPath.empty()) {
    PrintInfo(contents, out);
    if (frame > 0) out << "Frame: " << frame << " of " << contents.Dicom.FrameCount << '\n';
  }
  if (outPath.empty()) return kExitOk;

  const TRawImage& raw = contents.Raw;
  std::string bytes;
  if (format == ".PGM" && raw.SamplesPerPixel != 1) {
    err << "A colour image is written as .ppm or .png.\n";
    return kExitFailure;
  }
  if (format == ".PNG") {
    if (!PngBytes(raw, bytes)) {
      err << "The image cannot be encoded as PNG.\n";
      return kExitFailure;
    }
  } else {
    bytes = NetpbmBytes(raw, format == ".PPM");
  }
  const TWriteResult written = WriteFileAtomically(outPath, bytes);
  if (!written.Ok) {
    err << "Could not write " << outPath << ": " << TerminalText(written.Error) << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace lumacet::cli
