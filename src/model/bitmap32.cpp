#include "model/bitmap32.h"

namespace lumacet {

void TBitmap32::Resize(int width, int height) {
  if (width <= 0 || height <= 0) {
    Clear();
    return;
  }
  Width = width;
  Height = height;
  Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

}  // namespace lumacet
