#include "imaging/image_file.h"

#include <new>

#include "imaging/bmp_codec.h"
#include "imaging/jpeg_codec.h"
#include "support/atomic_file.h"

namespace lumacet {

std::string UpperExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t separator = path.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return extension;
}

bool ReadImageFile(const std::string& path, bool dicomWindowAdjust, TImageFileContents& contents,
                   std::string& message, int32_t dicomFrame) {
  const std::string extension = UpperExtension(path);
  contents = TImageFileContents{};
  try {
    if (extension == ".TIF" || extension == ".TIFF") return ReadTiff(path, contents.Raw, message);
    if (extension == ".VIFF") return ReadViff(path, contents.Raw, message);
    if (extension != ".BMP" && extension != ".JPG" && extension != ".JPEG") {
      if (!ReadDicom(path, contents.Raw, contents.Dicom, message, dicomFrame)) return false;
      contents.IsDicom = true;
      if (!dicomWindowAdjust) SetDicomWindow(contents.Dicom, false, contents.Raw);
      return true;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
      message = "Error loading image file:\r\n   " + path;
      return false;
    }
    TImageReadError error;
    const bool decoded = extension == ".BMP" ? DecodeBmp(bytes, contents.Raw, error) : DecodeJpeg(bytes, contents.Raw, error);
    if (!decoded) message = ImageReadMessage("Error loading image.", path, error);
    return decoded;
  } catch (const std::bad_alloc&) {
    message = ImageReadMessage("Error loading image.", path, TImageReadError{});
    return false;
  }
}

}  // namespace lumacet
