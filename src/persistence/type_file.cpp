#include "persistence/type_file.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "persistence/element_records.h"
#include "support/atomic_file.h"
#include "support/file_numbers.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

constexpr std::string_view kVersionLine = "Version 3.1";
constexpr TTextSource kLoadFailure = LcText("TypeFile", "Could not load radiograph type.\r\n\r\nError reading %1.");
constexpr TTextSource kImageData = LcText("TypeFile", "image data");
constexpr TTextSource kSaveFailure = LcText("TypeFile", "Could not save radiograph type.\r\n\r\n%1.");
constexpr TTextSource kSavedWithChanges =
    LcText("TypeFile",
           "Saved with changes: double quotes, control characters and characters outside Windows-1252 "
           "were replaced in %1.");
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kPerLine = 20;          // references or coordinate pairs per block line
constexpr size_t kPictureBytesPerLine = 32;

// Keywords by element kind code.
constexpr std::array<std::string_view, kElementListCount> kKeywords = {
    "DigPoint", "DigSnake", "DerPoint",    "Area",         "Drawing", "Variable", "Analysis",
    "Protocol", "Superimposition", "Orientation", "Relationship", "View",    "PCA"};

// The order in which kinds follow each other in the file.
constexpr std::array<int, kElementListCount> kRecordOrder = {ekDigPoint, ekDerPoint, ekArea,   ekGraphic, ekVariable,
                                                            ekAnalysis, ekProtocol, ekSupimp, ekOrient,  ekHardSoft,
                                                            ekView,     ekSnake,    ekPCA};

int KindOfKeyword(std::string_view keyword) {
  for (int code = 0; code < kElementListCount; ++code)
    if (kKeywords[code] == keyword) return code;
  return -1;
}

// The folder part of a path as text, without trailing separators.
std::string_view WithoutTrailingSlash(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  return folder;
}

// The image path as the file stores it: the bare name when the image lies in the image
// folder or the type folder.
std::string StoredImagePath(const std::string& image, const TFileFolders& folders) {
  size_t slash = image.rfind('/');
  if (slash == std::string::npos) return image;
  std::string_view folder = WithoutTrailingSlash(std::string_view(image).substr(0, slash == 0 ? 1 : slash));
  for (const std::string& setting : {folders.ImageFolder, folders.TypeFolder})
    if (!setting.empty() && WithoutTrailingSlash(setting) == folder) return image.substr(slash + 1);
  return image;
}

// A bare name is looked for in the type folder, then in the image folder; when it is in
// neither it stays as the file has it.
std::string ResolvedImagePath(const std::string& stored, const TFileFolders& folders) {
  if (stored.empty() || stored.find_first_of("/\\") != std::string::npos) return stored;
  for (const std::string& folder : {folders.TypeFolder, folders.ImageFolder}) {
    if (folder.empty()) continue;
    std::filesystem::path candidate = std::filesystem::path(folder) / stored;
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return stored;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A file written by an editor that saves UTF-8 announces itself with a byte order mark;
// everything else is Windows-1252.
std::string DecodeFileText(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
    if (FitsCp1252(bytes)) return std::string(bytes);
  }
  return DecodeCp1252(bytes);
}

// Lines without their line ends (LF or CR LF); empty lines at the very end are dropped.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

// ---- writing -----------------------------------------------------------------------

TTypeFileWriter::TTypeFileWriter(const TXRayType& type) {
  for (int code : kRecordOrder)
    for (const auto& element : type.ElementList(code)) {
      fRecords.push_back(element.get());
      fNumbers.emplace(element.get(), static_cast<int>(fRecords.size()));
    }
  fBytes.reserve(fRecords.size() * 96 + 1024);
}

int TTypeFileWriter::RecordNumber(const TXRayElement* element) const {
  auto it = fNumbers.find(element);
  return it == fNumbers.end() ? 0 : it->second;
}

void TTypeFileWriter::AppendText(std::string_view utf8, bool quoted) {
  bool changed = false;
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      char c = static_cast<char>(lead);
      if (lead < 0x20 || lead == 0x7F) {
        c = ' ';
        changed = true;
      } else if (quoted && c == '"') {
        c = '\'';
        changed = true;
      }
      fBytes += c;
      ++i;
      continue;
    }
    size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
    length = std::min(length, utf8.size() - i);
    std::optional<std::string> encoded = EncodeCp1252(utf8.substr(i, length));
    if (encoded && encoded->size() == 1) {
      fBytes += *encoded;
    } else {
      fBytes += '?';
      changed = true;
    }
    i += length;
  }
  if (changed && (fAdjusted.empty() || fAdjusted.back() != fCurrentName)) fAdjusted.push_back(fCurrentName);
}

void TTypeFileWriter::BeginRecord(const TXRayElement& element) {
  fCurrentName = element.Name;
  fBytes += ' ';
  fBytes += std::to_string(RecordNumber(&element));
  fBytes += ' ';
  fBytes += kKeywords[element.KindCode() <= ekPCA ? element.KindCode() : ekDigPoint];
  Text(element.Name);
}

void TTypeFileWriter::Text(std::string_view utf8) {
  fBytes += " \"";
  AppendText(utf8, true);
  fBytes += '"';
}

void TTypeFileWriter::Real(double value, int decimals) {
  fBytes += ' ';
  fBytes += FormatRounded(value, decimals);
}

void TTypeFileWriter::Fixed(double value, int decimals) {
  fBytes += ' ';
  fBytes += FormatFixed(value, decimals);
}

void TTypeFileWriter::Int(int64_t value) {
  fBytes += ' ';
  fBytes += std::to_string(value);
}

void TTypeFileWriter::RoundedInt(double value) {
  fBytes += ' ';
  fBytes += FormatRoundedInt(value);
}

void TTypeFileWriter::Bool(bool value) { fBytes += value ? " 1" : " 0"; }

void TTypeFileWriter::Hex8(uint32_t value) {
  fBytes += ' ';
  fBytes += FormatHex8(value);
}

void TTypeFileWriter::Ref(const TXRayElement* element, bool negate) {
  int number = RecordNumber(element);
  Int(negate ? -number : number);
}

void TTypeFileWriter::EndLine() { fBytes += "\r\n"; }

void TTypeFileWriter::Line(std::string_view text) {
  fBytes += '\t';
  fBytes += text;
  EndLine();
}

void TTypeFileWriter::Raw(std::string_view ascii) { fBytes += ascii; }

void TTypeFileWriter::ReferenceBlock(const std::vector<TXRayElement*>& list) {
  fBytes += '\t';
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0 && i % kPerLine == 0) fBytes += "\r\n\t";
    Ref(list[i]);
  }
  if (!list.empty() && list.size() % kPerLine == 0) fBytes += "\r\n\t";
  fBytes += " end\r\n";
}

void TTypeFileWriter::CoordinateBlock(const std::vector<std::pair<double, double>>& points) {
  fBytes += '\t';
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0 && i % kPerLine == 0) fBytes += "\r\n\t";
    Real(points[i].first, 2);
    Real(points[i].second, 2);
  }
  if (!points.empty() && points.size() % kPerLine == 0) fBytes += "\r\n\t";
  fBytes += " end\r\n";
}

void TTypeFileWriter::WritePreamble(const TXRayType& type, const TFileFolders& folders) {
  fCurrentName = type.Name;
  AppendText(type.Name, false);
  // A name whose bytes begin like a byte order mark would lose them when read back.
  if (fBytes.starts_with(kUtf8Bom)) {
    while (fBytes.starts_with(kUtf8Bom)) fBytes.erase(0, kUtf8Bom.size());
    if (fAdjusted.empty()) fAdjusted.push_back(fCurrentName);
  }
  EndLine();
  Raw(kVersionLine);
  EndLine();
  Raw("ImageFile");
  Text(StoredImagePath(type.ImageFile, folders));
  Real(type.ImageOriginX, 3);
  Real(type.ImageOriginY, 3);
  Real(type.PixelWidth, 3);
  Real(type.PixelHeight, 3);
  Bool(type.ScaleOverride);
  Bool(type.PositionOverride);
  Int(type.AutoDetectResolution);
  Real(type.ImageRotation, 3);
  EndLine();
  Raw("Image");
  EndLine();
  Raw(type.IconIsIcon ? "Icon" : "Bitmap");
  EndLine();
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto& data = type.IconData;
  for (size_t i = 0; i < data.size(); ++i) {
    fBytes += kDigits[data[i] >> 4];
    fBytes += kDigits[data[i] & 0x0F];
    if ((i + 1) % kPictureBytesPerLine == 0 && i + 1 < data.size()) EndLine();
  }
  EndLine();
  Raw("Image end");
  EndLine();
}

std::string WriteTypeFileText(const TXRayType& type, const TFileFolders& folders, std::vector<std::string>* adjusted) {
  TTypeFileWriter writer(type);
  writer.WritePreamble(type, folders);
  for (const TXRayElement* element : writer.Records()) WriteElementRecord(writer, *element);
  if (adjusted != nullptr) *adjusted = writer.Adjusted();
  return std::move(writer.Bytes());
}

TResultOf<TText> TXRayType::SaveToTypeFile(const std::string& path, const TFileFolders& folders) {
  std::vector<std::string> adjusted;
  std::string bytes = WriteTypeFileText(*this, folders, &adjusted);
  TWriteResult result = WriteFileAtomically(path, bytes);
  if (!result.Ok) return TResult::Failure(TText(kSaveFailure, {result.Error}), result.Error);
  std::vector<TText> notes;
  if (!adjusted.empty()) {
    std::string names;
    for (const std::string& name : adjusted) names += (names.empty() ? "" : ", ") + name;
    notes.emplace_back(kSavedWithChanges, std::initializer_list<std::string_view>{names});
  }
  if (TText kept = KeepingNotice(result, path); !kept.Empty()) notes.push_back(std::move(kept));
  const TText note = notes.empty()       ? TText()
                     : notes.size() == 1 ? notes.front()
                                         : TText::Joined(std::move(notes), "\r\n\r\n");
  DataFile = path;
  RecordChange(false, "Saved to file.");
  return note;
}

// ---- reading -----------------------------------------------------------------------

struct TTypeFileReader::TPreamble {
  std::string Name;
  std::string ImageFile;
  double ImageOriginX = 0;
  double ImageOriginY = 0;
  double PixelWidth = 0;
  double PixelHeight = 0;
  bool ScaleOverride = false;
  bool PositionOverride = false;
  int AutoDetectResolution = 2;
  double ImageRotation = 0;
  bool IconIsIcon = true;
  std::vector<uint8_t> IconData;
};

void TTypeFileReader::Tokenize(std::string_view line, std::vector<std::string_view>& tokens) {
  tokens.clear();
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) return;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) close = n;
      tokens.push_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      size_t end = i;
      while (end < n && line[end] != ' ' && line[end] != '\t') ++end;
      tokens.push_back(line.substr(i, end - i));
      i = end;
    }
  }
}

void TTypeFileReader::Require(size_t count) const {
  if (fTokens.size() < count) Fail();
}

std::string TTypeFileReader::Text(size_t index, const std::string& fallback) const {
  return Has(index) ? std::string(fTokens[index]) : fallback;
}

std::optional<double> TTypeFileReader::RealIf(size_t index) const {
  if (!Has(index)) return std::nullopt;
  return ParseFileReal(fTokens[index]);
}

bool TTypeFileReader::Bool(size_t index, bool fallback) const {
  return Has(index) ? fTokens[index] == "1" : fallback;
}

int TTypeFileReader::Int(size_t index, int fallback) const {
  if (!Has(index)) return fallback;
  std::optional<int32_t> value = ParseFileInt(fTokens[index]);
  if (!value) Fail();
  return *value;
}

int TTypeFileReader::Choice(size_t index, int low, int high, int fallback) const {
  int value = Int(index, fallback);
  return (value >= low && value <= high) ? value : fallback;
}

uint32_t TTypeFileReader::Hex8(size_t index, uint32_t fallback) const {
  if (!Has(index)) return fallback;
  std::string_view token = fTokens[index];
  if (token.empty() || token[0] != '$') return static_cast<uint32_t>(Int(index, 0));
  token.remove_prefix(1);
  if (token.empty() || token.size() > 8) Fail();
  uint32_t value = 0;
  for (char c : token) {
    int digit = HexValue(c);
    if (digit < 0) Fail();
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

TXRayElement* TTypeFileReader::Element(int64_t recordNumber) const {
  if (recordNumber == 0) return nullptr;
  if (recordNumber < 0 || recordNumber > static_cast<int64_t>(fOwned.size())) Fail();
  return fOwned[static_cast<size_t>(recordNumber - 1)].get();
}

TXRayElement* TTypeFileReader::Ref(size_t index) const { return Element(Int(index, 0)); }

bool TTypeFileReader::NextLine(std::string_view& line) {
  if (fNextLine >= fLines.size() || fLines[fNextLine].empty() || fLines[fNextLine][0] != '\t') return false;
  line = fLines[fNextLine++];
  return true;
}

bool TTypeFileReader::NextLineTokens(std::vector<std::string_view>& tokens) {
  std::string_view line;
  if (!NextLine(line)) return false;
  Tokenize(line, tokens);
  return true;
}

std::vector<TXRayElement*> TTypeFileReader::ReferenceBlock() {
  std::vector<TXRayElement*> list;
  std::vector<std::string_view> tokens;
  while (NextLineTokens(tokens)) {
    for (std::string_view token : tokens) {
      if (token == "end") return list;
      std::optional<int32_t> number = ParseFileInt(token);
      if (!number || *number == 0) Fail();
      list.push_back(Element(*number));
    }
  }
  return list;
}

std::vector<std::pair<double, double>> TTypeFileReader::CoordinateBlock() {
  std::vector<std::string_view> tokens;
  std::vector<double> values;  // x, y, x, y, ...
  auto pairs = [&] {
    std::vector<std::pair<double, double>> points;
    points.reserve(values.size() / 2);
    for (size_t i = 0; i + 1 < values.size(); i += 2) points.emplace_back(values[i], values[i + 1]);
    return points;
  };
  while (NextLineTokens(tokens)) {
    for (std::string_view token : tokens) {
      if (token == "end") return pairs();
      std::optional<double> value = ParseFileReal(token);
      if (!value) Fail();
      values.push_back(*value);
    }
  }
  return pairs();
}

void TTypeFileReader::SetHeader(size_t line) {
  Tokenize(fLines[line], fTokens);
  fNextLine = line + 1;
}

void TTypeFileReader::ReadPreamble(TPreamble& preamble) {
  if (fLines.empty()) Fail();
  preamble.Name = std::string(fLines[0]);
  size_t imageLine = 1;
  while (imageLine < fLines.size() && fLines[imageLine] != "Image") ++imageLine;
  if (imageLine + 1 >= fLines.size()) Fail();

  for (size_t i = 1; i < imageLine; ++i) {
    if (fLines[i].substr(0, 9) != "ImageFile") continue;
    SetHeader(i);
    // Older files stop early; every field after the first unreadable one keeps its default.
    [&] {
      if (!Has(1)) return;
      preamble.ImageFile = Text(1);
      for (auto [index, field] : {std::pair{2, &preamble.ImageOriginX}, std::pair{3, &preamble.ImageOriginY},
                                  std::pair{4, &preamble.PixelWidth}, std::pair{5, &preamble.PixelHeight}}) {
        std::optional<double> value = RealIf(index);
        if (!value) return;
        *field = *value;
      }
      if (!Has(6)) return;
      preamble.ScaleOverride = Bool(6, false);
      if (!Has(7)) return;
      preamble.PositionOverride = Bool(7, false);
      std::optional<int32_t> detect = Has(8) ? ParseFileInt(Token(8)) : std::nullopt;
      if (!detect || *detect < 0 || *detect > 2) return;
      preamble.AutoDetectResolution = *detect;
      if (std::optional<double> rotation = RealIf(9)) preamble.ImageRotation = *rotation;
    }();
    break;
  }

  preamble.IconIsIcon = fLines[imageLine + 1] == "Icon";
  size_t line = imageLine + 2;
  for (; line < fLines.size() && fLines[line] != "Image end"; ++line) {
    std::string_view hex = fLines[line];
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
      int high = HexValue(hex[i]);
      int low = HexValue(hex[i + 1]);
      if (high >= 0 && low >= 0) preamble.IconData.push_back(static_cast<uint8_t>(high << 4 | low));
    }
  }
  if (line >= fLines.size()) Fail();
  fRecordStart = line + 1;
}

void TTypeFileReader::CreateElements() {
  std::vector<std::string_view> tokens;
  for (size_t line = fRecordStart; line < fLines.size(); ++line) {
    std::string_view text = fLines[line];
    if (!text.empty() && text[0] == '\t') continue;
    std::string expected = std::to_string(fOwned.size() + 1);
    Tokenize(text, tokens);
    fFailedAt = tokens.empty() ? expected : std::string(tokens[0]);
    std::optional<int32_t> number = tokens.empty() ? std::nullopt : ParseFileInt(tokens[0]);
    if (!number || static_cast<size_t>(*number) != fOwned.size() + 1) Fail();
    int code = tokens.size() > 1 ? KindOfKeyword(tokens[1]) : -1;
    fOwned.push_back(CreateElement(code));
    fHeaderLines.push_back(line);
  }
}

void TTypeFileReader::ReadRecords() {
  for (size_t record = 0; record < fOwned.size(); ++record) {
    SetHeader(fHeaderLines[record]);
    fFailedAt = std::string(Token(0));
    if (fOwned[record] != nullptr) ReadElementRecord(*this, *fOwned[record]);
  }
}

TResult TTypeFileReader::Load(TXRayType& type, const TFileFolders& folders) {
  TPreamble preamble;
  try {
    ReadPreamble(preamble);
    CreateElements();
    ReadRecords();
  } catch (const TTypeFileFailure&) {
    if (fFailedAt.empty()) return TResult::Failure(TText(kLoadFailure, {kImageData}), "the image data");
    return TResult::Failure(TText(kLoadFailure, {fFailedAt}), "record " + fFailedAt);
  }

  type.Name = std::move(preamble.Name);
  type.ImageFile = ResolvedImagePath(preamble.ImageFile, folders);
  type.ImageOriginX = preamble.ImageOriginX;
  type.ImageOriginY = preamble.ImageOriginY;
  type.PixelWidth = preamble.PixelWidth;
  type.PixelHeight = preamble.PixelHeight;
  type.ScaleOverride = preamble.ScaleOverride;
  type.PositionOverride = preamble.PositionOverride;
  type.AutoDetectResolution = preamble.AutoDetectResolution;
  type.ImageRotation = preamble.ImageRotation;
  type.IconIsIcon = preamble.IconIsIcon;
  type.IconData = std::move(preamble.IconData);
  for (auto& element : fOwned)
    if (element != nullptr) type.AppendElement(std::move(element));

  type.SanitizeReferences();
  // Dropped entries change a shape analysis's point count, and its arrays no longer fit.
  for (const auto& element : type.ElementList(ekPCA)) {
    auto* pca = static_cast<TXRPCA*>(element.get());
    if (pca->HasData && !pca->HasConsistentSizes()) {
      pca->HasData = false;
      pca->Consensus.clear();
      pca->Variances.clear();
      pca->Loadings.clear();
    }
  }
  type.SelectDefaults();
  type.BuildTemplates();
  return {};
}

TResult ReadTypeFileText(std::string_view bytes, TXRayType& type, const TFileFolders& folders) {
  std::string text = DecodeFileText(bytes);
  TTypeFileReader reader(SplitLines(text));
  return reader.Load(type, folders);
}

TResult TXRayType::LoadFromTypeFile(const std::string& path, const TFileFolders& folders) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return TResult::Failure(TText(kLoadFailure, {kImageData}), "cannot read " + path);
  TResult read = ReadTypeFileText(bytes, *this, folders);
  if (read) DataFile = path;
  return read;
}

std::optional<std::string> ReadTypeName(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return DecodeFileText(line);
}

}  // namespace lumacet
