// Decoding an image file by its extension, as the program does whenever it links or opens
// an image: ".BMP" and ".JPG"/".JPEG" by the codecs, ".TIF"/".TIFF", ".PNG" and ".VIFF" by
// their readers, anything else as DICOM, unless its first bytes plainly say it is one of
// the others.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/medical_readers.h"
#include "model/raw_image.h"
#include "support/result.h"

namespace lumacet {

struct TImageFileContents {
  TRawImage Raw;       // window and gamma as they are to be shown first
  bool IsDicom = false;
  TDicomInfo Dicom;    // what a DICOM file said besides its pixels
  std::string Encoding;  // how the pixels were stored: a TIFF compression, a transfer syntax, "PNG"
};

// The file's extension in upper case with its dot (".JPG"); empty when it has none.
std::string UpperExtension(const std::string& path);

// Reads and decodes the file. A DICOM image opens with its own window when
// `dicomWindowAdjust` is set and the file has one, otherwise with its stored bit range.
// `dicomFrame` (from 1) chooses the frame of a DICOM file; other files have only one.
// A failure is the reader's own; a file that cannot be read at all fails with "Error
// loading image file:" and its path.
TResultOf<TImageFileContents> ReadImageFile(const std::string& path, bool dicomWindowAdjust, int32_t dicomFrame = 1);

}  // namespace lumacet
