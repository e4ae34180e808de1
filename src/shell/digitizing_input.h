// Starting and ending the digitizing of a radiograph: where its picture comes from (the
// "Input Device" setting or the user's choice), the question before re-digitizing a
// radiograph that may have moved, the reminder after ending, and the next film of a
// numbered series after a save.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumacet {

// Values of "Input Device" and of a radiograph's input: digitizer tablet, image file,
// scanner, and (the setting only) asking every time; no input at all is -1.
inline constexpr int kInputDigitizer = 0;
inline constexpr int kInputImageFile = 1;
inline constexpr int kInputScanner = 2;
inline constexpr int kInputAsk = 3;
inline constexpr int kInputNone = -1;

// The input a radiograph gets without asking; nothing when the user must be asked (the
// setting says so, or holds a value the program does not know).
std::optional<int> InputModeFromSetting(int inputDevice);

inline constexpr std::string_view kPositionalAdjustmentQuestion =
    "If the radiograph has changed position since the last digitization,\r\nLumacet can adjust by using two "
    "reference points.\r\n\r\nDo you need positional adjustment ?";
inline constexpr std::string_view kMagnificationReminder =
    "Please remember to set the magnification using the magnification tool.";

// The radiograph after `imagePath` in a numbered series: the three digits before a
// four-character extension (".jpg") counted on by one. Nothing when the name does not end
// that way.
struct TSeriesStep {
  bool operator==(const TSeriesStep&) const = default;
  std::string Name;       // the new number, at least three digits ("008")
  std::string ImagePath;  // the old path with that number in place of the old
};
std::optional<TSeriesStep> NextInSeries(const std::string& imagePath);

}  // namespace lumacet
