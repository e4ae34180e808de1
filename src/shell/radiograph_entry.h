// The particulars of a radiograph as the user types them ("New Radiograph", "Properties"
// and the defaults of the options): the checks they must pass, in the order the user
// meets them, and what an accepted entry changes. Bad input is refused with its message
// and the field it concerns, and nothing changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings.h"
#include "shell/workspace.h"
#include "support/dates.h"
#include "support/marked_text.h"

namespace lumacet {

class TXRay;

inline constexpr TTextSource kIncorrectDateMessage =
    LcText("RadiographEntry", "Incorrect date format.\r\n\r\nDate format should be, for example: %1");
inline constexpr TTextSource kIncompatibleDatesMessage =
    LcText("RadiographEntry", "Incompatible dates.\r\n\r\nDate Taken must be later than Date of Birth.");
inline constexpr TTextSource kBadMagnificationMessage =
    LcText("RadiographEntry", "Bad input.\r\n\r\nMagnification value is not a valid number.");
inline constexpr TTextSource kNameRequiredMessage =
    LcText("RadiographEntry", "Bad input.\r\n\r\nA patient name is required.");
// Kept in the radiograph's history, which the data file stores: never translated.
inline constexpr std::string_view kChangedPropertiesText = "Changed Properties.";

// The radiograph dialog's fields as typed.
struct TRadiographEntry {
  std::string Name;
  std::string DateOfBirth;
  std::string DateTaken;
  std::string Magnification;
  std::string Comments;
  bool Female = false;
  std::string DataFile;
  std::string TypeName;
};

enum class TEntryField { None, DateOfBirth, DateTaken, Magnification, Name, Comments };

// The outcome of checking an entry: the first refusal and its field, or the values read.
struct TEntryCheck {
  TText Message;  // empty when the entry is good
  TEntryField Field = TEntryField::None;
  TDayNumber DateOfBirth = 0;
  TDayNumber DateTaken = 0;
  double Magnification = 0;
};

// A date typed by the user: in the short date format's order, else as d/m/y (the form the
// stored defaults have); a two-digit year is one of the hundred years up to next year.
std::optional<TDayNumber> ParseUserDate(std::string_view text, const TTextFormats& formats);
// A magnification typed with the user's decimal separator or ".", as a record keeps it;
// nothing unless it is greater than -100 and at most 1000.
std::optional<double> ParseMagnification(std::string_view text, const TTextFormats& formats);
// The refusal of a date that does not read, with today's date as the example.
TText IncorrectDateMessage(const TTextFormats& formats);
// The checks in the order the user meets them.
TEntryCheck CheckRadiographEntry(const TRadiographEntry& entry, const TTextFormats& formats);

// An accepted entry's particulars: name (without surrounding blanks), sex, dates,
// magnification, comments and data file.
void ApplyRadiographEntry(const TRadiographEntry& entry, const TEntryCheck& accepted, TXRay& xray);
// With "Default Remember" on, an accepted entry's type, magnification and data file become
// the next defaults of "&New..."; an empty data file keeps the default's.
void RememberRadiographEntry(const TRadiographEntry& entry, TRadiographSettings& defaults);

// What the radiograph dialog needs from the program.
struct TRadiographDialogContext {
  TWorkspacePrompts* Prompts = nullptr;  // refusals are shown here
  TTextFormats Formats;
  std::vector<std::string> TypeNames;  // the types a new radiograph can have
  std::string DataFolder;              // where the data file chooser starts
  std::string TypeFolder;              // named when there is no type to choose
};

}  // namespace lumacet
