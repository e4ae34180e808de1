// DICOM files with preamble and meta group, and bare data sets without them: one grey
// frame, native (implicit or explicit VR, little or big endian) or encapsulated lossless
// JPEG (process 14). Patient particulars, pixel spacing and the display window come along.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/medical_readers.h"

namespace lumacet {

// Reads a whole DICOM file held in memory; `fileName` only names it in the message. On
// failure `info` is reset as well.
bool ReadDicomBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image,
                    TDicomInfo& info, std::string& message);

}  // namespace lumacet
