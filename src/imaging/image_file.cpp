#include "imaging/image_file.h"

#include <array>
#include <cstring>
#include <fstream>
#include <string_view>
#include <new>
#include <utility>

#include "imaging/bmp_codec.h"
#include "imaging/jpeg12_codec.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_reader.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr TTextSource kCannotRead = LcText("Image", "Error loading image file:\r\n   %1");

// The contents on success, else the failure.
TResultOf<TImageFileContents> Outcome(const TResult& read, TImageFileContents& contents) {
  if (!read) return read;
  return std::move(contents);
}

// The extension a file's own first bytes call for, when they plainly name a format other
// than DICOM; empty otherwise. A DICOM preamble may hold anything, so "DICM" wins.
std::string ExtensionBySignature(const std::string& path) {
  std::array<char, 132> head{};
  std::ifstream in(path, std::ios::binary);
  in.read(head.data(), head.size());
  const auto got = size_t(in.gcount());
  const auto* bytes = reinterpret_cast<const uint8_t*>(head.data());
  auto starts = [&](std::string_view magic) { return got >= magic.size() && std::memcmp(bytes, magic.data(), magic.size()) == 0; };
  if (got == head.size() && std::memcmp(bytes + 128, "DICM", 4) == 0) return {};
  if (HasPngSignature({bytes, got})) return ".PNG";
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4)) || starts(std::string_view("II+\0", 4)) ||
      starts(std::string_view("MM\0+", 4)))
    return ".TIF";
  if (starts("\xFF\xD8\xFF")) return ".JPG";
  if (starts("BM")) return ".BMP";
  if (starts("\xAB\x01")) return ".VIFF";
  return {};
}

}  // namespace

std::string UpperExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t separator = path.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return extension;
}

TResultOf<TImageFileContents> ReadImageFile(const std::string& path, bool dicomWindowAdjust, int32_t dicomFrame) {
  std::string extension = UpperExtension(path);
  TImageFileContents contents;
  try {
    const bool known = extension == ".TIF" || extension == ".TIFF" || extension == ".VIFF" || extension == ".PNG" ||
                       extension == ".BMP" || extension == ".JPG" || extension == ".JPEG";
    if (!known) extension = ExtensionBySignature(path);
    if (extension == ".TIF" || extension == ".TIFF") return Outcome(ReadTiff(path, contents.Raw, &contents.Encoding), contents);
    if (extension == ".VIFF") return Outcome(ReadViff(path, contents.Raw), contents);
    if (extension == ".PNG") {
      contents.Encoding = "PNG";
      return Outcome(ReadPng(path, contents.Raw), contents);
    }
    if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG") {
      if (TResult read = ReadDicom(path, contents.Raw, contents.Dicom, dicomFrame); !read) return read;
      contents.IsDicom = true;
      contents.Encoding = contents.Dicom.TransferSyntax;
      if (!dicomWindowAdjust) SetDicomWindow(contents.Dicom, false, contents.Raw);
      return contents;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return TResult::Failure(TText(kCannotRead, {path}), "cannot read " + path);
    TImageReadError error;
    contents.Encoding = extension == ".BMP" ? "BMP" : "JPEG";
    const std::span<const uint8_t> stored(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (extension != ".BMP" && JpegFrameKind(stored).Precision == 12) {
      contents.Encoding = "JPEG, 12 bits";
      try {
        DecodeJpeg12(stored, kMaxImagePixels, contents.Raw);
      } catch (const TImageReadError& refusal) {
        return ImageReadFailure(kImageReadFailure, path, refusal);
      }
      return contents;
    }
    const bool decoded = extension == ".BMP" ? DecodeBmp(bytes, contents.Raw, error) : DecodeJpeg(bytes, contents.Raw, error);
    if (!decoded) return ImageReadFailure(kImageReadFailure, path, error);
    return contents;
  } catch (const std::bad_alloc&) {
    return ImageReadFailure(kImageReadFailure, path, TImageReadError{});
  }
}

}  // namespace lumacet
