// Radiograph data files: one radiograph per line, many radiographs of any types per file.
// A record starts with a 112-character key of fixed columns (name, date of birth, sex, date
// taken, magnification, comments, type) that identifies the radiograph within its file,
// followed by the image link and placement and the coordinates of every digitized point of
// its type. Files are Windows-1252 on disk; keys and lines handed out here are the bytes on
// disk, the radiograph's fields are UTF-8 in memory.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/data_dates.h"
#include "support/atomic_file.h"
#include "support/result.h"

namespace lumacet {

class TXRay;
class TXRayType;
class TDataFileIndex;

// What a record needs from the settings.
struct TDataFileOptions {
  std::string ImageFolder;     // "BMP Path": image links are stored relative to it
  bool ShowLifeSize = false;   // coordinates are corrected for magnification as they are read
  TDataDateFormat Dates;       // "Compatibility" and the user's short date format
};

// Finds a radiograph's type by name without telling the user anything; null when there is
// none (the workspace's type cache answers this).
using TTypeResolver = std::function<TXRayType*(const std::string& name)>;

// What LoadFromDataFile reports: 0, or the stage at which reading failed. Stages 3 to 6, 8
// and 12 are kept for the numbering's sake; nothing fails there.
enum TLoadStage : int {
  lsLoaded = 0,
  lsReadLine = 2,
  lsName = 3,
  lsDateOfBirth = 4,
  lsSex = 5,
  lsDateTaken = 6,
  lsMagnification = 7,
  lsComments = 8,
  lsType = 9,
  lsImage = 10,
  lsCoordinates = 11,
  lsAnalysis = 12,
};

// The field a record refused at `stage` failed at and why, for the user: "the magnification
// is not a number above -100", not the stage's number.
TText LoadStageProblem(int stage);

inline constexpr size_t kRecordKeyLength = 112;
inline constexpr size_t kNameWidth = 30;
inline constexpr size_t kCommentsWidth = 30;
inline constexpr size_t kTypeNameWidth = 20;

inline constexpr TTextSource kNoFileNameMessage = LcText("DataFile", "No file name.");
inline constexpr TTextSource kSaveErrorMessage = LcText("DataFile", "Error saving radiograph.");
inline constexpr TTextSource kDeleteErrorMessage = LcText("DataFile", "Error deleting radiograph.");
inline constexpr TTextSource kFileReadErrorMessage = LcText("DataFile", "File error reading %1");

// The message with its first "%s" or "%d" replaced by the argument.
std::string FillIn(std::string_view message, std::string_view argument);

// Empty when a name, comment or date text can go into a record; otherwise why not. Commas
// and double quotes would shift the fields of the line, control characters would break it,
// and the file can only hold what Windows-1252 holds. Every way a text reaches a record
// (dialog, image import, automation, defaults) checks it with this.
TText RecordTextError(std::string_view text);
// Empty when a type name can be written into the key and found again when read: not empty,
// at most 20 characters, no blanks around it, and RecordTextError's rules.
TText TypeNameError(std::string_view name);

// The 5-character magnification field: 4 significant digits, left-aligned, a point added
// when there is none ("10.  ", "12.5 "). A value that must be cut to fit is written as the
// value it is cut to would be, so the field reads back and writes again unchanged.
std::string MagnificationField(double magnification);
// The magnification a record gives back for `magnification`; nullopt when a record cannot
// hold it (it must be greater than -100 and at most 1000). Entry points keep this value, so
// that the radiograph in memory and its record agree.
std::optional<double> StoredMagnification(double magnification);

// The image link as written: the file name alone when the image lies in the image folder,
// "\" and the path below it when it lies deeper (the form version 1 files use, so that it
// cannot be mistaken for an absolute path), otherwise the full path.
std::string StoredImagePath(const std::string& imageFile, const std::string& imageFolder);
// The image file a stored link names.
std::string ResolveImagePath(const std::string& stored, const std::string& imageFolder);

// The key of a record line: its first 112 characters, or the whole of a shorter line.
std::string_view LineKey(std::string_view line);

// The 112-character key built from the radiograph's current fields, as it stands on disk;
// empty when a field cannot be written (see FormatDataRecord). Name and comments are taken
// without surrounding blanks, as reading gives them back.
std::string RecordKey(const TXRay& xray, const TDataFileOptions& options);
// The whole record, line break included; a failure saying why when the radiograph cannot
// be written (a field the rules above refuse, no type, an image path that cannot be stored).
TResultOf<std::string> FormatDataRecord(const TXRay& xray, const TDataFileOptions& options);

// Reads record `line` (counted from 1) of a data file into a new radiograph: 0 or the
// failure stage. The radiograph remembers the path as its data file. A failed read leaves a
// radiograph the caller discards.
int LoadFromDataFile(TXRay& xray, const std::string& path, int line, const TTypeResolver& types,
                     const TDataFileOptions& options);
// The same through an open index, for commands that read a whole file record by record.
int LoadFromDataFile(TXRay& xray, TDataFileIndex& file, const std::string& path, int line,
                     const TTypeResolver& types, const TDataFileOptions& options);
// Reads one record line (without its line break).
int LoadFromDataLine(TXRay& xray, std::string_view line, const TTypeResolver& types,
                     const TDataFileOptions& options);

// The whole line n (counted from 1) as on disk, without its line break. The failure says
// "File error reading %1" with the path.
TResultOf<std::string> ReadDataLine(const std::string& path, int line);
// The number (from 1) of the first line whose first 112 characters equal the key (cut to
// 112; a shorter line is compared whole); 0 when there is none or the file does not exist.
// A read failure fails as ReadDataLine does.
TResultOf<int> FindKeyLine(const std::string& path, std::string_view key);
// The 0-based index of the radiograph's record in the file, or -1.
int FindInDataFile(const TXRay& xray, const std::string& path, const TDataFileOptions& options);

// Adds the record at the end of the file (created when missing), after a line break when
// the last line lacks one. Records "Saved to file." on success.
TResult AppendToDataFile(TXRay& xray, const std::string& path, const TDataFileOptions& options);
// Rewrites the file with every line whose key matches replaced by the record; when no line
// matches (the record went since it was found), the record is appended instead. Records
// "Saved to file." on success.
TResult ReplaceInDataFile(TXRay& xray, const std::string& path, const TDataFileOptions& options);

// A line to delete: its number (from 1) and the key it had when it was listed.
struct TLineKey {
  int Line = 0;
  std::string Key;
};
// Removes the given lines. When a line no longer holds the key it was listed with (the file
// changed meanwhile), nothing is deleted and the result says so.
TResult DeleteFromFile(const std::string& path, const std::vector<TLineKey>& lines);

// A read-only file: no write permission bit set, or not writable by this process. Data
// files so marked are never rewritten.
bool IsReadOnlyFile(const std::string& path);

// One read-modify-write of a data file (see RewriteFile): the lock every writer of data
// files takes, the content rewritten in place, the file replaced atomically where a link
// leads. On failure the result carries `failureMessage` and the reason.
TResult RewriteDataFile(const std::string& path, const TText& failureMessage, const TRewrite& rewrite);

}  // namespace lumacet
