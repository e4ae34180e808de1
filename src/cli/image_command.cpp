// lumacet-cli image: reads an image as the program does when it links one (frame N of a
// multi-frame DICOM file), describes it, and writes its raw samples at full depth.
#include <QImage>

#include <algorithm>
#include <cstring>

#include "cli/argument_parser.h"
#include "cli/commands.h"
#include "imaging/dicom_reader.h"
#include "imaging/image_file.h"
#include "platform/qpainter_canvas.h"
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
// sample, most significant first, above 8 bits. The image is tens of megabytes: the bytes
// are written in place, row by row, in loops the compiler can vectorize.
std::string NetpbmBytes(const TRawImage& raw, bool colour) {
  const std::size_t channels = colour ? 3 : 1;
  const std::uint32_t maximum = (1u << raw.BitsPerSample) - 1;
  const std::string header = std::string(colour ? "P6" : "P5") + "\n" + std::to_string(raw.Width) + " " +
                             std::to_string(raw.Height) + "\n" + std::to_string(maximum) + "\n";
  const std::size_t width = static_cast<std::size_t>(raw.Width);
  const std::size_t spp = static_cast<std::size_t>(raw.SamplesPerPixel);
  const std::size_t sampleBytes = static_cast<std::size_t>(raw.BytesPerSample());
  std::string bytes(header.size() + PixelCount(raw) * channels * sampleBytes, '\0');
  std::memcpy(bytes.data(), header.data(), header.size());
  auto* out = reinterpret_cast<std::uint8_t*>(bytes.data() + header.size());
  const std::uint8_t* in = raw.Samples.data();
  const std::size_t values = width * channels;  // per row
  for (int y = 0; y < raw.Height; ++y, in += width * spp * sampleBytes, out += values * sampleBytes) {
    // Samples are blue, green, red; a grey sample serves all three channels.
    const auto source = [&](std::size_t i) {
      const std::size_t c = i % channels;
      return i / channels * spp + (spp >= 3 ? 2 - c : 0);
    };
    if (sampleBytes == 1 && spp == channels && spp == 1) {
      std::memcpy(out, in, width);  // 8-bit grey: maximum 255, nothing to clip
    } else if (sampleBytes == 1) {
      for (std::size_t i = 0; i < values; ++i) out[i] = in[source(i)];
    } else if (spp == 1 && channels == 1) {
      for (std::size_t i = 0; i < values; ++i) {
        const std::uint32_t v = std::min<std::uint32_t>(in[2 * i] | static_cast<std::uint32_t>(in[2 * i + 1]) << 8, maximum);
        out[2 * i] = static_cast<std::uint8_t>(v >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(v);
      }
    } else {
      for (std::size_t i = 0; i < values; ++i) {
        const std::size_t k = source(i);
        const std::uint32_t v = std::min<std::uint32_t>(in[2 * k] | static_cast<std::uint32_t>(in[2 * k + 1]) << 8, maximum);
        out[2 * i] = static_cast<std::uint8_t>(v >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(v);
      }
    }
  }
  return bytes;
}

// The samples as a Qt image for the PNG writer: grey, RGB or RGBA at 8 or 16 bits per
// channel. Grey rows are copied whole; Qt's grey formats hold samples as the raw image does.
QImage PngImage(const TRawImage& raw) {
  const bool wide = raw.BitsPerSample > 8;
  const int spp = raw.SamplesPerPixel;
  QImage::Format format = spp == 1   ? (wide ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8)
                          : spp == 3 ? (wide ? QImage::Format_RGBX64 : QImage::Format_RGB888)
                                     : (wide ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
  QImage image(raw.Width, raw.Height, format);
  if (image.isNull()) return image;
  const std::size_t rowBytes = static_cast<std::size_t>(raw.Width) * static_cast<std::size_t>(spp * raw.BytesPerSample());
  const int stored = spp == 1 ? 1 : spp == 3 && !wide ? 3 : 4;
  for (int y = 0; y < raw.Height; ++y) {
    uchar* line = image.scanLine(y);
    const std::size_t first = static_cast<std::size_t>(y) * static_cast<std::size_t>(raw.Width) * static_cast<std::size_t>(spp);
    if (spp == 1) {
      std::memcpy(line, raw.Samples.data() + first * static_cast<std::size_t>(raw.BytesPerSample()), rowBytes);
      continue;
    }
    for (int x = 0; x < raw.Width; ++x) {
      const std::size_t base = first + static_cast<std::size_t>(x) * static_cast<std::size_t>(spp);
      for (int c = 0; c < stored; ++c) {
        // Qt wants red, green, blue, alpha; the samples are blue, green, red, alpha.
        const std::uint32_t v = c < 3 ? SampleAt(raw, base + static_cast<std::size_t>(2 - c))
                                : spp == 4 ? SampleAt(raw, base + 3) : 0xFFFF;
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
  return image;
}

}  // namespace

int ImageCommand(TArgumentParser& arguments, std::ostream& out, std::ostream& err) {
  std::string path;
  std::string outPath;
  bool info = false;
  std::optional<int> frameAsked;
  arguments.Operand("FILE", "the image file", path);
  arguments.Flag("--info", "describe the image even when --out writes it", info);
  arguments.Option("--frame", "N", "read frame N of a multi-frame DICOM file", frameAsked, PositiveUpTo(INT32_MAX));
  arguments.Option("--out", "OUT", "write the raw samples at full depth to OUT.pgm, OUT.ppm or OUT.png", outPath,
                   TValueKind::File);
  if (std::optional<int> exit = arguments.Parse()) return *exit;
  const std::string format = UpperExtension(outPath);
  if (!outPath.empty() && format != ".PGM" && format != ".PPM" && format != ".PNG")
    return arguments.Fail("invalid value for --out: '" + outPath + "' (the name must end in .pgm, .ppm or .png)");
  const int frame = frameAsked.value_or(0);  // 0: none asked for

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
  if (format == ".PGM" && raw.SamplesPerPixel != 1) {
    err << "A colour image is written as .ppm or .png.\n";
    return kExitFailure;
  }
  TWriteResult written;
  if (format == ".PNG") {
    const QImage image = PngImage(raw);
    if (image.isNull()) {
      err << "The image cannot be encoded as PNG.\n";
      return kExitFailure;
    }
    written = WritePngImage(outPath, image);
  } else {
    written = WriteFileAtomically(outPath, NetpbmBytes(raw, format == ".PPM"));
  }
  if (!written.Ok) {
    err << "Could not write " << outPath << ": " << TerminalText(written.Error) << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace lumacet::cli
