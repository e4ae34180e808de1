// The measuring of one program run, shared by every path that measures: the analysis text,
// the table export, the pictures, the desktop program's windows. The PCA variable kinds
// (centroid size, Procrustes distance, component scores) are measured through the PCA
// statistics it holds; a path given a bare context would read them all as not available.
#pragma once

#include "measure/variables.h"
#include "population/pca_statistics.h"

namespace lumacet {

class TMeasuring {
 public:
  // The workspace's reference radiograph, for the "[R]" kinds; may be null.
  TRadiograph* Reference = nullptr;
  // Decimal separator of value texts, date and age formats of the patient kinds.
  TTextFormats Formats;

  TMeasureContext Context() { return {Reference, Formats, &fPca}; }
  // For the PCA viewer, which measures the same components.
  TPcaMeasurer& Pca() { return fPca; }

 private:
  TPcaMeasurer fPca;
};

}  // namespace lumacet
