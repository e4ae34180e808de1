#include "shell/ini_file.h"

#include <filesystem>
#include <system_error>

#include "support/text_codec.h"

namespace lumacet {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool HasLineBreak(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

// Reading strips blanks and one pair of enclosing quotes, so a value that has either would
// come back changed unless it is wrapped in quotes of its own.
std::string StoredValue(std::string_view value) {
  bool edgeBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  bool enclosed = value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
  if (edgeBlank || enclosed) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

TIniFile::TLine TIniFile::ClassifyLine(std::string text) {
  TLine line;
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '[') {
    size_t close = t.find(']');
    if (close != t.npos) {
      line.Kind = TLineKind::Section;
      line.Name = std::string(TrimBlanks(t.substr(1, close - 1)));
    }
  } else if (!t.empty() && t.front() != ';') {
    size_t eq = t.find('=');
    if (eq != t.npos && !TrimBlanks(t.substr(0, eq)).empty()) {
      line.Kind = TLineKind::Key;
      line.Name = std::string(TrimBlanks(t.substr(0, eq)));
    }
  }
  line.Text = std::move(text);
  return line;
}

TIniFile TIniFile::FromBytes(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
  std::string text = IsValidUtf8(bytes) ? std::string(bytes) : DecodeCp1252(bytes);

  TIniFile ini;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == text.npos) end = text.size();
    size_t stop = (end > start && text[end - 1] == '\r') ? end - 1 : end;
    ini.fLines.push_back(ClassifyLine(text.substr(start, stop - start)));
    start = end + 1;
  }
  return ini;
}

std::string TIniFile::ToBytes() const {
  std::string text;
  for (const TLine& line : fLines) {
    text += line.Text;
    text += "\r\n";
  }
  if (auto encoded = EncodeCp1252(text)) return *encoded;
  return text;
}

TIniLoadResult TIniFile::Load(const std::string& path) {
  fLines.clear();
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return TIniLoadResult::Missing;
  std::string bytes;
  if (ec || !std::filesystem::is_regular_file(status) || !ReadWholeFile(path, bytes)) return TIniLoadResult::Unreadable;
  *this = FromBytes(bytes);
  return TIniLoadResult::Loaded;
}

TWriteResult TIniFile::Save(const std::string& path) const { return WriteFileAtomically(path, ToBytes()); }

std::optional<TIniFile::TRange> TIniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < fLines.size(); ++i) {
    if (fLines[i].Kind != TLineKind::Section || !SameIniName(fLines[i].Name, section)) continue;
    size_t end = i + 1;
    while (end < fLines.size() && fLines[end].Kind != TLineKind::Section) ++end;
    return TRange{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> TIniFile::FindKey(const TRange& range, std::string_view key) const {
  for (size_t i = range.Begin + 1; i < range.End; ++i)
    if (fLines[i].Kind == TLineKind::Key && SameIniName(fLines[i].Name, key)) return i;
  return std::nullopt;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  auto index = FindKey(*range, key);
  if (!index) return std::nullopt;
  const std::string& text = fLines[*index].Text;
  std::string_view value = TrimBlanks(std::string_view(text).substr(text.find('=') + 1));
  if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  auto range = FindSection(section);
  if (!range) return keys;
  for (size_t i = range->Begin + 1; i < range->End; ++i) {
    if (fLines[i].Kind != TLineKind::Key) continue;
    bool seen = false;
    for (const std::string& k : keys) seen = seen || SameIniName(k, fLines[i].Name);
    if (!seen) keys.push_back(fLines[i].Name);
  }
  return keys;
}

bool TIniFile::HasSection(std::string_view section) const { return FindSection(section).has_value(); }

bool TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  bool sectionOk = !section.empty() && TrimBlanks(section) == section && section.find(']') == section.npos &&
                   !HasLineBreak(section) && IsValidUtf8(section);
  bool keyOk = !key.empty() && TrimBlanks(key) == key && key.find('=') == key.npos && key.front() != '[' &&
               key.front() != ';' && !HasLineBreak(key) && IsValidUtf8(key);
  if (!sectionOk || !keyOk || HasLineBreak(value) || !IsValidUtf8(value)) return false;

  auto range = FindSection(section);
  if (!range) {
    if (!fLines.empty() && !TrimBlanks(fLines.back().Text).empty()) fLines.push_back(ClassifyLine(""));
    fLines.push_back(ClassifyLine("[" + std::string(section) + "]"));
    fLines.push_back(ClassifyLine(std::string(key) + "=" + StoredValue(value)));
    return true;
  }
  if (auto index = FindKey(*range, key)) {
    TLine& line = fLines[*index];
    line.Text = line.Name + "=" + StoredValue(value);
    return true;
  }
  size_t insertAt = range->Begin + 1;
  for (size_t i = range->Begin + 1; i < range->End; ++i)
    if (fLines[i].Kind == TLineKind::Key) insertAt = i + 1;
  fLines.insert(fLines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                ClassifyLine(std::string(key) + "=" + StoredValue(value)));
  return true;
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  auto range = FindSection(section);
  if (!range) return;
  for (size_t i = range->End; i-- > range->Begin + 1;)
    if (fLines[i].Kind == TLineKind::Key && SameIniName(fLines[i].Name, key))
      fLines.erase(fLines.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace lumacet
