// Movements performed on a radiograph: the seven kinds, their inverses, how two of them
// combine, and the line of text that stands for one in the movement log.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/movement.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;

// The options of the Movements window and the image lock, which the program keeps for all
// radiographs alike.
struct TMovementOptions {
  bool Connected = true;      // movements are logged
  bool Compile = true;        // a movement like the last logged one adds to it
  bool OriginalArea = true;   // a logged movement performed again acts on its own elements
  bool TracingLocked = false; // the image follows whole-tracing movements and scaling
  bool AutoVto = false;       // VTO relationships add their induced movements
};

// Performs the movement on the radiograph's tracing: only valid points move, derived points,
// variables and drawings are computed afresh, and the change history records the kind's text
// (naming the points that could not move). Refused, with nothing moved, when a parameter is
// not finite, a scale factor is not positive, or a point would leave the finite plane.
TResult ApplyMovement(const TMovement& movement, TRadiograph& radiograph, const TMovementOptions& options);
// Performs the inverse.
TResult RevertMovement(const TMovement& movement, TRadiograph& radiograph, const TMovementOptions& options);
TMovement InverseMovement(const TMovement& movement);
// True when performing the movement changes nothing (tolerance 1e-10); flips never are.
bool IsNullMovement(const TMovement& movement);
// The one movement that does what `last` and then `next` do, when both are translations or
// both rotations of the same kind, on the same elements and about the same centre.
std::optional<TMovement> CompileMovements(const TMovement& next, const TMovement& last);

// A flip of the radiograph's selection about the middle of its bounds as they are now;
// refused when nothing valid is selected.
TResultOf<TMovement> FlipMovement(TRadiograph& radiograph, bool vertical);
// "Scale by..." factors from the magnification in percent; an entered factor that is not a
// positive finite number gives 1.
double ReduceToLifeSizeFactor(double magnification);
double EnlargeToRadiographSizeFactor(double magnification);
double EnteredScaleFactor(std::optional<double> entered);

// The log line: kind, parameters in millimetres and degrees and what it moved, shortened to
// `width` characters in the middle.
std::string MovementText(const TMovement& movement, int width, bool originalArea);
// Longer texts keep their first (width - 3) / 2 and last (width - 3) / 2 + 1 characters
// around "..."; widths below 5 count as 5.
std::string AbbreviateMiddle(std::string_view text, int width);
// The number as C's "%.Ng" writes it, whatever the locale.
std::string FormatSignificant(double value, int digits);

}  // namespace lumacet
