#include "model/raw_image.h"

namespace lumacet {

void ClearRawImage(TRawImage& image) { image = TRawImage{}; }

}  // namespace lumacet
