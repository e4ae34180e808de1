#include "shell/radiograph_entry.h"

#include "model/xray.h"
#include "persistence/data_dates.h"
#include "persistence/data_file.h"
#include "support/user_numbers.h"

namespace lumacet {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<TDayNumber> ParseUserDate(std::string_view text, const TTextFormats& formats) {
  // Birth and radiograph dates lie in the past, so a two-digit year is one of the hundred
  // years up to next year ("70" is 1970, not 2070).
  int year = 0, month = 0, day = 0;
  CivilDate(TodaysDate(), year, month, day);
  TDataDateFormat dayMonthYear;
  dayMonthYear.CenturyYear = year - 49;
  TDataDateFormat userOrder = dayMonthYear;
  userOrder.Compatibility = true;  // the user's own order, any separators
  userOrder.ShortDateFormat = formats.ShortDateFormat;
  if (std::optional<TDayNumber> parsed = ParseDataDate(text, userOrder)) return parsed;
  return ParseDataDate(text, dayMonthYear);
}

std::optional<double> ParseMagnification(std::string_view text, const TTextFormats& formats) {
  const std::optional<double> value = ReadTypedNumber(text, formats.DecimalSeparator);
  if (!value) return std::nullopt;
  return StoredMagnification(*value);
}

TText IncorrectDateMessage(const TTextFormats& formats) {
  // A day past the twelfth and a year past the thirty-first: no order of the fields can
  // read the example as another date.
  return TText(kIncorrectDateMessage, {FormatDate(DayNumber(1987, 12, 31), formats.ShortDateFormat)});
}

TEntryCheck CheckRadiographEntry(const TRadiographEntry& entry, const TTextFormats& formats) {
  TEntryCheck check;
  auto refuse = [&](TText message, TEntryField field) {
    check.Message = std::move(message);
    check.Field = field;
    return check;
  };
  const std::optional<TDayNumber> dateOfBirth = ParseUserDate(entry.DateOfBirth, formats);
  if (!dateOfBirth) return refuse(IncorrectDateMessage(formats), TEntryField::DateOfBirth);
  const std::optional<TDayNumber> dateTaken = ParseUserDate(entry.DateTaken, formats);
  if (!dateTaken) return refuse(IncorrectDateMessage(formats), TEntryField::DateTaken);
  if (*dateOfBirth > *dateTaken) return refuse(kIncompatibleDatesMessage, TEntryField::DateOfBirth);
  const std::optional<double> magnification = ParseMagnification(entry.Magnification, formats);
  if (!magnification) return refuse(kBadMagnificationMessage, TEntryField::Magnification);
  if (Trimmed(entry.Name).empty()) return refuse(kNameRequiredMessage, TEntryField::Name);
  // Pasted text or a character the file cannot hold would corrupt the record.
  if (TText error = RecordTextError(entry.Name); !error.Empty()) return refuse(error, TEntryField::Name);
  if (TText error = RecordTextError(entry.Comments); !error.Empty()) return refuse(error, TEntryField::Comments);
  check.DateOfBirth = *dateOfBirth;
  check.DateTaken = *dateTaken;
  check.Magnification = *magnification;
  return check;
}

void ApplyRadiographEntry(const TRadiographEntry& entry, const TEntryCheck& accepted, TXRay& xray) {
  xray.Name = std::string(Trimmed(entry.Name));
  xray.Female = entry.Female;
  xray.DateOfBirth = accepted.DateOfBirth;
  xray.DateTaken = accepted.DateTaken;
  xray.SetMagnification(accepted.Magnification);
  xray.Comments = entry.Comments;
  xray.DataFile = entry.DataFile;
}

void RememberRadiographEntry(const TRadiographEntry& entry, TRadiographSettings& defaults) {
  if (!defaults.DefaultRemember) return;
  // Only what a clinic's radiographs share: the patient's own fields carried over would
  // file the next patient's radiograph under the last one's name.
  defaults.DefaultType = entry.TypeName;
  defaults.DefaultMagnification = entry.Magnification;
  if (!entry.DataFile.empty()) defaults.DefaultFile = entry.DataFile;
}

}  // namespace lumacet
