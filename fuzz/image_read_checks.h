// What every image reader must do, whatever the bytes: a failure leaves nothing behind and
// names the file; a success describes exactly the samples it holds and renders.
#pragma once

#include <string>

#include "model/raw_image_ops.h"
#include "support/result.h"

namespace lumacet {

inline std::string CheckFailedRead(bool leftSomething, const TResult& failure, const std::string& fileName) {
  if (leftSomething) return "a failure left data behind";
  const std::string message = failure.Text().English();
  if (message.find(fileName) == std::string::npos) return "the message does not name the file: " + message;
  return {};
}

inline std::string CheckRendering(const TRawImage& image) {
  TBitmap32 shown;
  RenderToBitmap(image, shown);
  if (shown.Width != image.Width || shown.Height != image.Height) return "the rendered bitmap has another size";
  return {};
}

// For readers whose success needs nothing beyond a consistent raw image.
inline std::string CheckPlainRead(const TResult& read, const TRawImage& image, const std::string& fileName) {
  if (!read) return CheckFailedRead(image.HasData(), read, fileName);
  if (!RawImageIsConsistent(image)) return "the image read is not consistent";
  return CheckRendering(image);
}

}  // namespace lumacet
