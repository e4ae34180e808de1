// libFuzzer target for reading a Procrustes report back into a PCA element. Whatever the
// bytes, the import must neither crash nor leak; a failure leaves the element's data as
// they were and marks them not valid; a success leaves arrays of the sizes the element's
// points call for, holding finite numbers only.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/list_elements.h"
#include "model/xray_type.h"
#include "population/pca_import.h"

namespace lumacet {

namespace {

// A type whose PCA elements hold 3 and 12 points, the smallest and a real element's count.
std::vector<TXRPCA*>& FuzzElements() {
  static std::unique_ptr<TXRayType> type = std::make_unique<TXRayType>();
  static std::vector<TXRPCA*> elements = [] {
    std::string message;
    std::vector<TXRayElement*> points;
    for (int i = 1; i <= 12; ++i) points.push_back(type->AddElement("P" + std::to_string(i), ekDigPoint, message));
    std::vector<TXRPCA*> made;
    for (int count : {3, 12}) {
      auto* pca = static_cast<TXRPCA*>(type->AddElement("PCA " + std::to_string(count), ekPCA, message));
      pca->Points.assign(points.begin(), points.begin() + count);
      made.push_back(pca);
    }
    return made;
  }();
  return elements;
}

bool AllFinite(const std::vector<double>& values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

// Empty when the bytes pass; otherwise what went wrong.
std::string CheckPcaImport(std::string_view bytes) {
  for (TXRPCA* pca : FuzzElements()) {
    // Data that a failed import must leave as they are.
    pca->Consensus = {1.5};
    pca->Variances = {2.5};
    pca->Loadings = {{3.5}};
    pca->SampleCount = 7;
    pca->HasData = true;
    const TPcaImportResult result = ImportPcaReport(*pca, bytes);
    if (!result.Ok) {
      if (result.Message != kPcaImportErrorMessage) return "unexpected failure message: " + result.Message;
      if (pca->HasData) return "a failed import left the data marked valid";
      if (pca->Consensus != std::vector<double>{1.5} || pca->Variances != std::vector<double>{2.5} ||
          pca->Loadings != std::vector<std::vector<double>>{{3.5}} || pca->SampleCount != 7)
        return "a failed import changed the data";
      continue;
    }
    if (result.Message != kPcaImportedMessage) return "unexpected success message: " + result.Message;
    if (!pca->HasData || !pca->HasConsistentSizes()) return "imported arrays have the wrong sizes";
    if (!AllFinite(pca->Consensus) || !AllFinite(pca->Variances)) return "imported numbers are not finite";
    for (const std::vector<double>& row : pca->Loadings)
      if (!AllFinite(row)) return "imported loadings are not finite";
    if (!std::isfinite(pca->SumDistances) || !std::isfinite(pca->SumSquaredDistances))
      return "imported sums are not finite";
  }
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckPcaImport(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) std::abort();
  return 0;
}
#endif
