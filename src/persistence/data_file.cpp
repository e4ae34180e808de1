#include "persistence/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>

#include "model/xray.h"
#include "model/xray_type.h"
#include "persistence/data_lines.h"
#include "support/atomic_file.h"
#include "support/file_numbers.h"
#include "support/text_codec.h"

namespace lumacet {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMagnificationWidth = 5;
constexpr size_t kDateWidth = 10;
constexpr double kMaxMagnification = 1000;

constexpr TTextSource kCommaInText =
    LcText("DataFile", "Bad input.\r\n\r\nCommas and double quotes cannot be used in names, dates and comments.");
constexpr TTextSource kUnstorableCharacter =
    LcText("DataFile", "Bad input.\r\n\r\nThe text holds a character that a radiograph file cannot store.");
constexpr TTextSource kTypeNameRequired = LcText("DataFile", "Bad input.\r\n\r\nA radiograph type name is required.");
constexpr TTextSource kTypeNameBlanks =
    LcText("DataFile", "Bad input.\r\n\r\nA radiograph type name cannot begin or end with a blank.");
constexpr TTextSource kTypeNameTooLong =
    LcText("DataFile", "Bad input.\r\n\r\nA radiograph type name can have at most 20 characters.");
constexpr TTextSource kNoType = LcText("DataFile", "The radiograph has no type.");
constexpr TTextSource kBadMagnification = LcText("DataFile", "Bad input.\r\n\r\nMagnification value is not a valid number.");
constexpr TTextSource kBadDate = LcText("DataFile", "Bad input.\r\n\r\nDates must lie between the years 1 and 9999.");
constexpr TTextSource kUnstorableImagePath =
    LcText("DataFile", "The image file name cannot be stored in a radiograph file: %1");
constexpr TTextSource kBadPlacement = LcText("DataFile", "The image placement is not a valid number.");

std::string PadOrCut(std::string_view s, size_t width) {
  std::string out(s.substr(0, width));
  out.resize(width, ' ');
  return out;
}

bool HasControlCharacter(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) return true;
  return false;
}

// The line break a record written after `content` needs first.
void EnsureLineBreak(std::string& content) {
  if (!EndsWithLineBreak(content)) content += "\r\n";
}

std::optional<double> ParseNumberField(std::string_view field) { return ParseFileReal(TrimField(field), false); }


// The key of a radiograph, or why a field cannot be written.
TResultOf<std::string> BuildKey(const TXRay& xray, const TDataFileOptions& options) {
  const std::string_view name = TrimField(xray.Name);
  const std::string_view comments = TrimField(xray.Comments);
  for (std::string_view text : {name, comments}) {
    TText problem = RecordTextError(text);
    if (!problem.Empty()) return TResult::Failure(std::move(problem));
  }
  if (xray.Type() == nullptr) return TResult::Failure(kNoType);
  // A cached type renamed with a leading "," (its file was saved meanwhile) is written under
  // its plain name.
  std::string_view typeName = xray.Type()->Name;
  if (typeName.starts_with(',')) typeName.remove_prefix(1);
  TText problem = TypeNameError(typeName);
  if (!problem.Empty()) return TResult::Failure(std::move(problem));
  if (!StoredMagnification(xray.Magnification)) return TResult::Failure(kBadMagnification);
  const auto dateOfBirth = FormatDataDate(xray.DateOfBirth, options.Dates);
  const auto dateTaken = FormatDataDate(xray.DateTaken, options.Dates);
  if (!dateOfBirth || !dateTaken) return TResult::Failure(kBadDate);

  std::string key;
  key.reserve(kRecordKeyLength);
  key += PadOrCut(*EncodeCp1252(name), kNameWidth);
  key += ',';
  key += PadOrCut(*dateOfBirth, kDateWidth);
  key += ',';
  key += xray.Female ? "F," : "M,";
  key += PadOrCut(*dateTaken, kDateWidth);
  key += ',';
  key += MagnificationField(xray.Magnification);
  key += ',';
  key += PadOrCut(*EncodeCp1252(comments), kCommentsWidth);
  key += ',';
  key += PadOrCut(*EncodeCp1252(typeName), kTypeNameWidth);
  return key;
}

// Splits a record line into the fields the reader takes one after another: each is the text
// after the current comma up to the next one.
class TFieldScanner {
 public:
  explicit TFieldScanner(std::string_view line) : fLine(line), fComma(line.find(',')) {}
  std::string_view Next() {
    if (fComma == std::string_view::npos) return {};
    const size_t start = fComma + 1;
    fComma = fLine.find(',', start);
    return fLine.substr(start, (fComma == std::string_view::npos ? fLine.size() : fComma) - start);
  }
  // The text after the current comma; nullopt when no comma is left.
  std::optional<std::string_view> Rest() const {
    if (fComma == std::string_view::npos) return std::nullopt;
    return fLine.substr(fComma + 1);
  }

 private:
  std::string_view fLine;
  size_t fComma;
};

// The text of a field up to the next comma, and the position after that comma (npos when
// none follows).
std::string_view FieldAt(std::string_view text, size_t start, size_t& next) {
  const size_t comma = text.find(',', start);
  next = comma == std::string_view::npos ? comma : comma + 1;
  return text.substr(start, (comma == std::string_view::npos ? text.size() : comma) - start);
}

// The image part of a version 2 record. `rest` starts after the comma that follows the type
// name; on success `coordinates` is the text after the placement numbers (nullopt when
// nothing follows them).
bool ReadImagePart(TXRay& xray, std::string_view rest, const TDataFileOptions& options,
                   std::optional<std::string_view>& coordinates) {
  const size_t quote = rest.find('"');
  std::string_view rotation = TrimField(rest.substr(0, std::min(quote, rest.find(','))));
  if (!rotation.empty()) {
    auto value = ParseNumberField(rotation);
    if (!value) return false;
    xray.ImageRotation = *value;
  }
  const size_t closing = rest.find('"', quote + 1);
  if (closing == std::string_view::npos) return false;
  const std::string stored = DecodeCp1252(TrimField(rest.substr(quote + 1, closing - quote - 1)));
  xray.ImageFile = ResolveImagePath(stored, options.ImageFolder);

  size_t position = closing + 1;
  if (position >= rest.size() || rest[position] != ',') return false;
  ++position;
  std::array<double*, 4> placement = {&xray.ImageOriginX, &xray.ImageOriginY, &xray.PixelWidth, &xray.PixelHeight};
  for (double* target : placement) {
    if (position == std::string_view::npos) return false;
    size_t next = 0;
    auto value = ParseNumberField(FieldAt(rest, position, next));
    if (!value) return false;
    *target = *value;
    position = next;
  }
  coordinates = position == std::string_view::npos ? std::nullopt : std::optional(rest.substr(position));
  return true;
}

// The coordinate pairs of a record; false when there are more pairs than the type has
// digitized points.
bool ReadCoordinates(TXRay& xray, std::string_view text) {
  size_t position = 0;
  for (size_t i = 0;; ++i) {
    size_t afterX = 0;
    const std::string_view xField = FieldAt(text, position, afterX);
    size_t afterY = std::string_view::npos;
    const std::string_view yField = afterX == std::string_view::npos ? std::string_view() : FieldAt(text, afterX, afterY);
    if (i >= xray.Coordinates.size()) return false;
    auto x = ParseNumberField(xField);
    auto y = ParseNumberField(yField);
    TDigPoint& point = *xray.Coordinates[i];
    if (x && y) {
      point.SetRaw(*x, *y, true, true);
      point.NeedsPlacing = false;
    } else {
      point.SetValid(false);
    }
    if (afterY == std::string_view::npos) break;
    position = afterY;
  }
  return true;
}

}  // namespace

std::string_view LineKey(std::string_view line) { return line.substr(0, std::min(line.size(), kRecordKeyLength)); }

std::string FillIn(std::string_view message, std::string_view argument) {
  std::string out(message);
  size_t at = out.find("%s");
  if (at == std::string::npos) at = out.find("%d");
  if (at != std::string::npos) out.replace(at, 2, argument);
  return out;
}

TText RecordTextError(std::string_view text) {
  if (text.find_first_of(",\"") != std::string_view::npos) return kCommaInText;
  if (HasControlCharacter(text) || !FitsCp1252(text)) return kUnstorableCharacter;
  return {};
}

TText TypeNameError(std::string_view name) {
  if (TrimField(name).empty()) return kTypeNameRequired;
  if (TrimField(name).size() != name.size()) return kTypeNameBlanks;
  TText problem = RecordTextError(name);
  if (!problem.Empty()) return problem;
  if (EncodeCp1252(name)->size() > kTypeNameWidth) return kTypeNameTooLong;
  return {};
}

std::string MagnificationField(double magnification) {
  // Four significant digits, left-aligned in 5 characters, and a point when there is none.
  auto field = [](double value) {
    if (value == 0 || !std::isfinite(value)) value = 0;  // never "-0"
    std::array<char, 32> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 4);
    std::string text = PadOrCut(ec == std::errc() ? std::string_view(buffer.data(), end - buffer.data()) : "0",
                                kMagnificationWidth);
    if (text.find('.') == std::string::npos) {
      while (!text.empty() && text.back() == ' ') text.pop_back();
      text = PadOrCut(text + ".", kMagnificationWidth);
    }
    return text;
  };
  // A value cut to fit ("-0.2001" to "-0.20") is written as that value itself would be
  // ("-0.2 "), so that a record read back and written again keeps its key.
  std::string text = field(magnification);
  std::string_view number = TrimField(text);
  if (number.ends_with('.')) number.remove_suffix(1);
  const auto stored = ParseFileReal(number, false);
  return stored ? field(*stored) : text;
}

std::optional<double> StoredMagnification(double magnification) {
  if (!std::isfinite(magnification) || magnification <= -100 || magnification > kMaxMagnification)
    return std::nullopt;
  const std::string text = MagnificationField(magnification);
  std::string_view field = TrimField(text);
  if (field.ends_with('.')) field.remove_suffix(1);
  auto stored = ParseFileReal(field, false);
  if (!stored || *stored <= -100) return std::nullopt;
  return *stored;
}

std::string StoredImagePath(const std::string& imageFile, const std::string& imageFolder) {
  if (imageFile.empty() || imageFolder.empty()) return imageFile;
  // Whole path components are compared, so that "/data/img2/a.jpg" is not taken to lie
  // below "/data/img".
  const fs::path file = fs::path(imageFile).lexically_normal();
  fs::path folder = fs::path(imageFolder).lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  if (file.parent_path() == folder) return file.filename().string();
  const fs::path relative = file.lexically_relative(folder);
  if (relative.empty() || *relative.begin() == ".." || *relative.begin() == ".") return imageFile;
  std::string stored;
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name.find('\\') != std::string::npos) return imageFile;
    stored += '\\';
    stored += name;
  }
  return stored;
}

std::string ResolveImagePath(const std::string& stored, const std::string& imageFolder) {
  if (stored.empty()) return {};
  if (stored.front() == '\\') {
    std::string relative = stored.substr(1);
    for (char& c : relative)
      if (c == '\\') c = '/';
    return (fs::path(imageFolder) / relative).string();
  }
  if (stored.find_first_of("/\\") == std::string::npos) return (fs::path(imageFolder) / stored).string();
  return stored;
}

std::string RecordKey(const TXRay& xray, const TDataFileOptions& options) {
  TResultOf<std::string> key = BuildKey(xray, options);
  return key ? std::move(*key) : std::string();
}

TResultOf<std::string> FormatDataRecord(const TXRay& xray, const TDataFileOptions& options) {
  TResultOf<std::string> key = BuildKey(xray, options);
  if (!key) return key;
  const std::string imagePath = StoredImagePath(xray.ImageFile, options.ImageFolder);
  auto encodedPath = EncodeCp1252(imagePath);
  if (!encodedPath || imagePath.find('"') != std::string::npos || HasControlCharacter(imagePath))
    return TResult::Failure(TText(kUnstorableImagePath, {imagePath}));
  const std::array<double, 5> placement = {xray.ImageRotation, xray.ImageOriginX, xray.ImageOriginY, xray.PixelWidth,
                                           xray.PixelHeight};
  for (double value : placement)
    if (!std::isfinite(value)) return TResult::Failure(kBadPlacement);

  std::string record = std::move(*key);
  record += ',';
  record += FormatRounded(xray.ImageRotation, 5);
  record += ",\"";
  record += *encodedPath;
  record += '"';
  for (size_t i = 1; i < placement.size(); ++i) {
    record += ',';
    record += FormatRounded(placement[i], 3);
  }
  // Files always hold coordinates as measured on the film.
  const double factor = xray.MagnificationCorrected ? (xray.Magnification + 100) / 100 : 1.0;
  const size_t pointCount = xray.Type()->Count(ekDigPoint);
  for (size_t i = 0; i < pointCount; ++i) {
    const TDigPoint* point = i < xray.Coordinates.size() ? xray.Coordinates[i].get() : nullptr;
    const double x = point != nullptr ? point->RawX() * factor : 0;
    const double y = point != nullptr ? point->RawY() * factor : 0;
    if (point != nullptr && point->XSet() && point->YSet() && std::isfinite(x) && std::isfinite(y)) {
      record += ',';
      record += FormatRounded(x, 3);
      record += ',';
      record += FormatRounded(y, 3);
    } else {
      record += ",nil,nil";
    }
  }
  record += "\r\n";
  return record;
}

TText LoadStageProblem(int stage) {
  switch (stage) {
    case lsReadLine: return LcText("DataFile", "the record cannot be read from the file");
    case lsMagnification: return LcText("DataFile", "the magnification is not a number above -100");
    case lsType: return LcText("DataFile", "its radiograph type is not among the type files");
    case lsImage: return LcText("DataFile", "the image part (file name, placement) is damaged");
    case lsCoordinates:
      return LcText("DataFile", "the coordinates are not numbers, or not as many as its type has points");
    default: return TText::Verbatim("stage " + std::to_string(stage));
  }
}

int LoadFromDataLine(TXRay& xray, std::string_view line, const TTypeResolver& types, const TDataFileOptions& options) {
  xray.Name = DecodeCp1252(TrimField(line.substr(0, std::min(line.size(), kNameWidth))));
  TFieldScanner fields(line);
  if (auto day = ParseDataDate(fields.Next().substr(0, 30), options.Dates)) xray.DateOfBirth = *day;
  const std::string_view sex = fields.Next();
  xray.Female = sex.empty() || sex.front() != 'M';
  if (auto day = ParseDataDate(fields.Next().substr(0, 30), options.Dates)) xray.DateTaken = *day;

  std::string_view magnificationText = TrimField(fields.Next());
  if (magnificationText.ends_with('.')) magnificationText.remove_suffix(1);
  auto magnification = ParseFileReal(magnificationText, false);
  if (!magnification || *magnification <= -100) return lsMagnification;
  xray.Magnification = *magnification;

  xray.Comments = DecodeCp1252(TrimField(TrimField(fields.Next()).substr(0, kCommentsWidth)));

  const std::string typeName = DecodeCp1252(TrimField(fields.Next()));
  TXRayType* type = types ? types(typeName) : nullptr;
  if (type == nullptr) return lsType;
  xray.SetType(type);

  xray.ImageFile.clear();
  xray.ImageRotation = 0;
  std::optional<std::string_view> coordinates = fields.Rest();
  if (coordinates && coordinates->find('"') != std::string_view::npos) {
    if (!ReadImagePart(xray, *coordinates, options, coordinates)) return lsImage;
  }
  // A record of a type without digitized points ends with its image part.
  if (coordinates && !coordinates->empty() && !ReadCoordinates(xray, *coordinates)) return lsCoordinates;
  // Files hold coordinates as measured on the film; "Show Life Size" works on them at life size.
  if (options.ShowLifeSize) xray.CorrectMagnification();
  xray.RecordChange(false, "Loaded from File.");
  return lsLoaded;
}

int LoadFromDataFile(TXRay& xray, TDataFileIndex& file, const std::string& path, int line, const TTypeResolver& types,
                     const TDataFileOptions& options) {
  xray.DataFile = path;
  std::string text;
  if (line < 1 || !file.ReadLine(static_cast<size_t>(line), text)) return lsReadLine;
  return LoadFromDataLine(xray, text, types, options);
}

int LoadFromDataFile(TXRay& xray, const std::string& path, int line, const TTypeResolver& types,
                     const TDataFileOptions& options) {
  TDataFileIndex file;
  if (!file.Open(path)) {
    xray.DataFile = path;
    return lsReadLine;
  }
  return LoadFromDataFile(xray, file, path, line, types, options);
}

TResultOf<std::string> ReadDataLine(const std::string& path, int line) {
  TDataFileIndex file;
  std::string text;
  if (line >= 1 && file.Open(path) && file.ReadLine(static_cast<size_t>(line), text)) return text;
  return TResult::Failure(TText(kFileReadErrorMessage, {path}), "no line " + std::to_string(line) + " can be read");
}

TResultOf<int> FindKeyLine(const std::string& path, std::string_view key) {
  key = LineKey(key);
  std::error_code error;
  if (!fs::exists(path, error)) return 0;
  TDataFileIndex file;
  int found = 0;
  const bool read = file.Open(path) && file.ForEachLine([&](size_t number, std::string_view text) {
    if (LineKey(text) == key) found = static_cast<int>(number);
    return found == 0;
  });
  if (!read) return TResult::Failure(TText(kFileReadErrorMessage, {path}), "cannot read " + path);
  return found;
}

int FindInDataFile(const TXRay& xray, const std::string& path, const TDataFileOptions& options) {
  const std::string key = RecordKey(xray, options);
  if (key.empty()) return -1;
  const TResultOf<int> line = FindKeyLine(path, key);
  return line && *line > 0 ? *line - 1 : -1;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

TResult RewriteDataFile(const std::string& path, const TText& failureMessage, const TRewrite& rewrite) {
  if (path.empty()) return TResult::Failure(kNoFileNameMessage);
  const TWriteResult written = RewriteFile(path, rewrite);
  if (!written.Ok) return TResult::Failure(failureMessage, written.Error);
  return TResult::Success(KeepingNotice(written, path));
}

TResult AppendToDataFile(TXRay& xray, const std::string& path, const TDataFileOptions& options) {
  if (path.empty()) return TResult::Failure(kNoFileNameMessage);
  const TResultOf<std::string> record = FormatDataRecord(xray, options);
  if (!record) return TResult::Failure(TText::Joined({kSaveErrorMessage, record.Text()}, "\r\n"));
  TResult result = RewriteDataFile(path, kSaveErrorMessage, [&](std::string& content, std::string&) {
    EnsureLineBreak(content);
    content += *record;
    return true;
  });
  if (result) xray.RecordChange(false, "Saved to file.");
  return result;
}

TResult ReplaceInDataFile(TXRay& xray, const std::string& path, const TDataFileOptions& options) {
  if (path.empty()) return TResult::Failure(kNoFileNameMessage);
  const TResultOf<std::string> record = FormatDataRecord(xray, options);
  if (!record) return TResult::Failure(TText::Joined({kSaveErrorMessage, record.Text()}, "\r\n"));
  const std::string_view key = std::string_view(*record).substr(0, kRecordKeyLength);
  TResult result = RewriteDataFile(path, kSaveErrorMessage, [&](std::string& content, std::string&) {
    std::vector<std::pair<size_t, size_t>> matches;  // offset and length of each line to replace
    TLineCursor cursor(content);
    TLineSpan line;
    while (cursor.Next(line))
      if (line.Text.size() >= kRecordKeyLength && LineKey(line.Text) == key)
        matches.emplace_back(static_cast<size_t>(line.Raw.data() - content.data()), line.Raw.size());
    // From the back, so that the offsets of the lines still to replace hold.
    for (auto match = matches.rbegin(); match != matches.rend(); ++match)
      content.replace(match->first, match->second, *record);
    // The record may have gone since it was found (another session, the record browser):
    // it is added rather than lost.
    if (matches.empty()) {
      EnsureLineBreak(content);
      content += *record;
    }
    return true;
  });
  if (result) xray.RecordChange(false, "Saved to file.");
  return result;
}

TResult DeleteFromFile(const std::string& path, const std::vector<TLineKey>& lines) {
  std::map<size_t, std::string_view> keys;
  bool numbersValid = true;
  for (const TLineKey& line : lines) {
    numbersValid = numbersValid && line.Line >= 1;
    keys[static_cast<size_t>(std::max(line.Line, 1))] = LineKey(line.Key);
  }
  return RewriteDataFile(path, kDeleteErrorMessage, [&](std::string& content, std::string& reason) {
    size_t deleted = 0;
    bool unchanged = true;
    KeepLines(content, [&](size_t number, std::string_view text) {
      auto found = keys.find(number);
      if (found == keys.end()) return true;
      unchanged = unchanged && LineKey(text) == found->second;
      ++deleted;
      return false;
    });
    if (!numbersValid || !unchanged || deleted != keys.size()) {
      reason = "the file has changed since it was listed";
      return false;
    }
    return true;
  });
}

}  // namespace lumacet
