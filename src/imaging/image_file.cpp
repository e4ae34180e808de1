#include "imaging/image_file.h"

#include <new>
#include <utility>

#include "imaging/bmp_codec.h"
#include "imaging/jpeg_codec.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr TTextSource kCannotRead = LcText("Image", "Error loading image file:\r\n   %1");

// The contents on success, else the failure.
TResultOf<TImageFileContents> Outcome(const TResult& read, TImageFileContents& contents) {
  if (!read) return read;
  return std::move(contents);
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
  const std::string extension = UpperExtension(path);
  TImageFileContents contents;
  try {
    if (extension == ".TIF" || extension == ".TIFF") return Outcome(ReadTiff(path, contents.Raw), contents);
    if (extension == ".VIFF") return Outcome(ReadViff(path, contents.Raw), contents);
    if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG") {
      if (TResult read = ReadDicom(path, contents.Raw, contents.Dicom, dicomFrame); !read) return read;
      contents.IsDicom = true;
      if (!dicomWindowAdjust) SetDicomWindow(contents.Dicom, false, contents.Raw);
      return contents;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return TResult::Failure(TText(kCannotRead, {path}), "cannot read " + path);
    TImageReadError error;
    const bool decoded = extension == ".BMP" ? DecodeBmp(bytes, contents.Raw, error) : DecodeJpeg(bytes, contents.Raw, error);
    if (!decoded) return ImageReadFailure(kImageReadFailure, path, error);
    return contents;
  } catch (const std::bad_alloc&) {
    return ImageReadFailure(kImageReadFailure, path, TImageReadError{});
  }
}

}  // namespace lumacet
