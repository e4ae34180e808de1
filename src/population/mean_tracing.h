// "Mean": the average tracing of radiographs of one type. Every radiograph is brought onto
// the first usable one by a superimposition of the type and its digitized points are
// averaged point by point; in the pairwise mode consecutive pairs are averaged instead and
// appended to a data file. The dialog and the command line run the same code.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/coordinates.h"
#include "persistence/data_file.h"
#include "population/record_scan.h"
#include "simulation/movements.h"
#include "support/result.h"

namespace lumacet {

class TXRSupimp;

inline constexpr std::string_view kMeanName = "Mean Radiograph";
inline constexpr std::string_view kMeanComment = "Mean of %d radiographs";
inline constexpr std::string_view kCalculatingRecordStatus = "Calculating: %s";

// One digitized point summed over many radiographs.
struct TMultiPoint {
  int Count = 0;  // radiographs that contributed; the sum means nothing while it is 0
  TFloatPoint Sum;

  void Add(TFloatPoint at) {
    Sum = {Sum.X + at.X, Sum.Y + at.Y};
    ++Count;
  }
  TFloatPoint Mean() const { return {Sum.X / Count, Sum.Y / Count}; }
};

// The running mean of one range of radiographs: the first one given becomes the reference
// the others are superimposed on, and the result.
class TMeanAccumulator {
 public:
  TMeanAccumulator(TXRSupimp& superimposition, const TMovementOptions& options)
      : fSuperimposition(superimposition), fOptions(options) {}

  // Takes the radiograph (the first becomes the reference and is kept), after moving every
  // later one onto the reference. Refused, with nothing added, when the superimposition is
  // not valid on it or on the reference.
  TResult Add(std::unique_ptr<TXRay> xray);
  int Count() const { return fCount; }
  // The reference with the averaged coordinates: a point valid on no radiograph stays
  // invalid, its snakes are the reference's own, the comment gives the largest count, the
  // image link is cleared and it is marked modified. Null when nothing was added.
  std::unique_ptr<TXRay> Finish();

 private:
  void Accumulate(TXRay& xray);

  TXRSupimp& fSuperimposition;
  TMovementOptions fOptions;
  std::unique_ptr<TXRay> fReference;
  std::vector<TMultiPoint> fPoints;
  int fCount = 0;
};

struct TMeanRequest {
  std::string DataFile;
  std::vector<int> Records;  // line numbers from 1, in selection order
  std::string TypeName;
  std::string SuperimpositionName;
  bool Pairwise = false;
  std::string PairsFile;  // where the pairwise means are appended
};

// The first of the dialog's checks that fails; empty when the run may start. `freeSlot`
// tells whether the workspace has room for the mean (the command line always has).
std::string MeanRequestError(const TMeanRequest& request, bool freeSlot);

struct TMeanResult {
  // Success; or why the run ended before its end, "Completed." never being said then (a
  // radiograph the superimposition is not valid on, a file that cannot be read or written).
  TResult Outcome;
  bool Stopped = false;          // cancelled through the progress callback
  std::unique_ptr<TXRay> Mean;   // without the pairwise mode: "Mean Radiograph"
  int PairsWritten = 0;
  int Unreadable = 0;            // records of the type that did not load
};

// Averages the chosen records of the type (others are passed over silently). `types` finds a
// record's type, `progress` is told "Calculating: <name>" before every radiograph and stops
// the run when it gives false. Pairs already appended stay in the file when a later pair fails.
TMeanResult RunMean(const TMeanRequest& request, const TTypeResolver& types, const TDataFileOptions& fileOptions,
                    const TProgress& progress);

}  // namespace lumacet
