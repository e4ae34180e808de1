// DICOM files with preamble and meta group, and bare data sets without them: grey, RGB, YBR
// and palette colour images, native (implicit or explicit VR, little or big endian, or
// deflated) or encapsulated (lossless JPEG by this program's own decoder, every other
// codec through dicom_codecs), of one frame or of several, of which one is read. Patient
// particulars, pixel spacing and the display window come along.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/medical_readers.h"

namespace lumacet {

// Which frame of a multi-frame file to read, and how many the file holds.
struct TDicomFrames {
  int32_t Frame = 1;  // numbered from 1, as DICOM numbers frames
  int32_t Count = 0;  // set on success: the file's Number of Frames (1 when it has none)
};

// Reads a whole DICOM file held in memory; `fileName` only names it in the failure. On
// failure `info` is reset as well. The first overload reads the first frame.
TResult ReadDicomBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                       TDicomInfo& info);
TResult ReadDicomBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                       TDicomInfo& info, TDicomFrames& frames);

}  // namespace lumacet
