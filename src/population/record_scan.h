// What the population commands share: picking the records of one radiograph type out of a
// data file, telling whether two paths name one file, and the progress callback through
// which their dialogs and the command line follow a run and stop it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_file.h"

namespace lumacet {

class TXRay;
class TXRayType;

inline constexpr std::string_view kNoDestinationMessage = "No Destination file has been selected.";
inline constexpr std::string_view kSameFilesMessage = "Source and Destination files are the same.";
inline constexpr std::string_view kNoRoomMessage = "No room for more radiographs in Lumacet.";
inline constexpr std::string_view kNoRadiographsMessage = "No radiographs have been selected.";
inline constexpr std::string_view kCompletedStatus = "Completed.";
inline constexpr std::string_view kTypeMissingMessage = "The radiograph type '%s' could not be found.";
inline constexpr std::string_view kUnreadableSuffix = "; %d records could not be read";

// Called with the status text before each record a run works on; false asks the run to
// stop before that record.
using TProgress = std::function<bool(const std::string& status)>;

// Field `index` (from 0) of a record line's key (its first 112 characters), comma-separated,
// without the blanks around it; empty when the key has fewer fields.
inline constexpr size_t kKeyNameField = 0;
inline constexpr size_t kKeyTypeField = 6;
std::string RecordKeyField(std::string_view line, size_t index);

// The type name a record line holds: the seventh comma-separated field of its key (the
// first 112 characters), trailing blanks removed. Lines that are not records give a name
// no type has (usually empty).
std::string RecordTypeName(std::string_view line);

// True when both paths reach the same file: the same device and inode when both exist
// (symbolic and hard links, "./a" and "a"), otherwise the same normalized absolute path.
bool IsSameFile(const std::string& first, const std::string& second);

// The final total of a run, with how many records of the type could not be read when any
// could not: a study must not lose radiographs without a word.
std::string TotalMessage(std::string_view total, int count, int unreadable);

// Research data leave the clinic without the patient: the radiograph read for such an
// output is called by its record number ("Record 12") and loses its comments, so that no
// name or comment reaches a table, a label or a picture's title. Its dates stay, for ages
// and norms; outputs that would write the date of birth leave it out themselves.
std::string AnonymousName(size_t record);
void Anonymize(TXRay& xray, size_t record);

// Mirrors the digitized points loaded into the type top to bottom about the middle of their
// bounds, as Flip Vertical does with every point selected, and lets constructed points and
// variables follow.
void FlipVertical(TXRayType& type);

// Every line number of the data file, for a run over all its records; nothing when it
// cannot be read.
std::optional<std::vector<int>> AllRecords(const std::string& path);

// What ForEachRecordOfType met.
struct TRecordScan {
  bool ReadFailed = false;  // the file could not be read (to its end)
  bool Stopped = false;     // `visit` asked to stop
  int Unreadable = 0;       // records of the type that did not load
};

// Loads every record of the named type, in file order, each into a fresh radiograph that
// lives for the call of `visit` (given the radiograph and its line number, from 1). Lines
// of other types are passed over without being loaded. `visit` gives false to stop. The
// file is read once, front to back, however large it is.
TRecordScan ForEachRecordOfType(const std::string& path, const std::string& typeName, const TTypeResolver& types,
                                const TDataFileOptions& options,
                                const std::function<bool(TXRay& xray, size_t line)>& visit);

// Loads the chosen records (line numbers from 1) of the named type in the order given, as
// ForEachRecordOfType does: lines of other types and numbers past the end are passed over.
// `visit` may keep the radiograph by taking it out of the pointer.
TRecordScan ForEachChosenRecord(const std::string& path, const std::vector<int>& records, const std::string& typeName,
                                const TTypeResolver& types, const TDataFileOptions& options,
                                const std::function<bool(std::unique_ptr<TXRay>& xray, int record)>& visit);

}  // namespace lumacet
