// The radiograph type file (".lcr"): a text file of one type, first line its name, then
// the image placement, the type's picture as hexadecimal text and one record per element.
// Elements refer to each other by record number, so reading runs in two passes.
//
// On disk the text is Windows-1252 with CR LF line ends; in memory it is UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/xray_type.h"

namespace lumacet {

// The whole file as bytes, ready to be written. `adjusted`, when given, receives the names
// of the elements (or of the type) whose texts held characters the file cannot carry (a
// double quote, a control character, a character outside Windows-1252); those characters
// are replaced in the file so that it still reads back.
std::string WriteTypeFileText(const TXRayType& type, const TFileFolders& folders = {},
                              std::vector<std::string>* adjusted = nullptr);

// Reads a whole file's bytes into `type`, which must be newly created. Nothing in `type`
// changes on failure, which says where reading stopped.
TResult ReadTypeFileText(std::string_view bytes, TXRayType& type, const TFileFolders& folders = {});

// The type name a file holds (its first line), or nullopt when it cannot be read.
std::optional<std::string> ReadTypeName(const std::string& path);

// Accumulates the file's text. Element records are written through the field methods,
// each of which puts one blank before its token.
class TTypeFileWriter {
 public:
  explicit TTypeFileWriter(const TXRayType& type);

  // " <record number> <keyword> "<name>"" for an element of the type.
  void BeginRecord(const TXRayElement& element);
  void Text(std::string_view utf8);
  // R1, R2, R3, R6: rounded to at most `decimals` decimals.
  void Real(double value, int decimals);
  // F1: exactly `decimals` decimals.
  void Fixed(double value, int decimals);
  void Int(int64_t value);
  // INT0: a real rounded to the nearest integer.
  void RoundedInt(double value);
  void Bool(bool value);
  void Hex8(uint32_t value);
  // The element's record number, negated when `negate`; 0 for none.
  void Ref(const TXRayElement* element, bool negate = false);
  void EndLine();
  // A continuation line holding `text` after its TAB.
  void Line(std::string_view text);
  // Text as it stands, without a leading blank (ASCII only: numbers and separators).
  void Raw(std::string_view ascii);
  // Record numbers of a list, 20 per line, closed by " end".
  void ReferenceBlock(const std::vector<TXRayElement*>& list);
  // Coordinate pairs (R2), 20 pairs per line, closed by " end".
  void CoordinateBlock(const std::vector<std::pair<double, double>>& points);

  // 1-based position in the record sequence; 0 for null or an element the file does not hold.
  int RecordNumber(const TXRayElement* element) const;
  // The elements in record order.
  const std::vector<const TXRayElement*>& Records() const { return fRecords; }

  // The type-level part: name, version, image placement and picture.
  void WritePreamble(const TXRayType& type, const TFileFolders& folders);

  std::string& Bytes() { return fBytes; }
  const std::vector<std::string>& Adjusted() const { return fAdjusted; }

 private:
  // Appends `utf8` in Windows-1252, replacing what a field of the file cannot carry.
  void AppendText(std::string_view utf8, bool quoted);

  std::string fBytes;
  std::vector<const TXRayElement*> fRecords;
  std::unordered_map<const TXRayElement*, int> fNumbers;
  std::string fCurrentName;  // element whose record is being written, for Adjusted()
  std::vector<std::string> fAdjusted;
};

// Thrown by the reader's field accessors when a required token cannot be read; caught by
// ReadTypeFileText, which turns it into the failure message.
struct TTypeFileFailure {};

// The file's lines and the record being read. Header accessors take token positions
// (0 the record number, 1 the keyword, 2 the name). Reals, texts and Booleans are
// tolerant (a missing or malformed token keeps the fallback); integers and references
// must be readable when present, and when required also present.
class TTypeFileReader {
 public:
  // `lines` hold the decoded (UTF-8) content, line ends removed.
  explicit TTypeFileReader(std::vector<std::string_view> lines) : fLines(std::move(lines)) {}

  // Reads the whole file into `type` (see ReadTypeFileText).
  TResult Load(TXRayType& type, const TFileFolders& folders);

  bool Has(size_t index) const { return index < fTokens.size(); }
  std::string_view Token(size_t index) const { return Has(index) ? fTokens[index] : std::string_view(); }
  // Fails unless tokens 0..count-1 are present.
  void Require(size_t count) const;

  std::string Text(size_t index, const std::string& fallback = {}) const;
  std::optional<double> RealIf(size_t index) const;
  double Real(size_t index, double fallback) const { return RealIf(index).value_or(fallback); }
  bool Bool(size_t index, bool fallback) const;
  // Integers: `fallback` when absent; a malformed one fails the load. Records that need
  // a token to be present say so with Require.
  int Int(size_t index, int fallback) const;
  // An integer of an enumeration: a value outside [low, high] reads as `fallback`.
  int Choice(size_t index, int low, int high, int fallback) const;
  // "$" and hexadecimal digits, or a decimal integer.
  uint32_t Hex8(size_t index, uint32_t fallback) const;
  // A record number: none when absent, 0 or naming an unrecognised record.
  TXRayElement* Ref(size_t index) const;
  // The element at a record number; none for 0 or an empty position, failure beyond the
  // sequence or below 0.
  TXRayElement* Element(int64_t recordNumber) const;

  // Continuation lines of the current record: the lines after its header that begin with
  // TAB. False when the record has no more, so a record that lacks lines never reads into
  // the records after it.
  bool NextLine(std::string_view& line);
  // The next continuation line split into tokens (TAB counts as a blank).
  bool NextLineTokens(std::vector<std::string_view>& tokens);
  // Record numbers until "end"; each must name a record (0 fails).
  std::vector<TXRayElement*> ReferenceBlock();
  // Coordinate pairs until "end".
  std::vector<std::pair<double, double>> CoordinateBlock();

  [[noreturn]] void Fail() const { throw TTypeFileFailure{}; }

  // Splits a line: tokens are separated by blanks or TABs; a token that begins with a
  // double quote runs to the next double quote (or the end of the line), quotes removed.
  static void Tokenize(std::string_view line, std::vector<std::string_view>& tokens);

 private:
  struct TPreamble;
  // Sections of the file; all searches start at line 2 so that a type named like a
  // section marker is not taken for one.
  void ReadPreamble(TPreamble& preamble);
  // First pass: creates an element per recognised keyword, checks the numbering.
  void CreateElements();
  // Second pass: every element reads its own record.
  void ReadRecords();
  // Makes `line` the current header line and splits it.
  void SetHeader(size_t line);

  std::vector<std::string_view> fLines;
  size_t fRecordStart = 0;                            // first line after "Image end"
  std::vector<size_t> fHeaderLines;                   // line index of each record
  std::vector<std::unique_ptr<TXRayElement>> fOwned;  // by record, null for unknown keywords
  std::vector<std::string_view> fTokens;              // current header line
  size_t fNextLine = 0;                               // next continuation line to hand out
  std::string fFailedAt;                              // the record the failure names; empty: the image data
};

}  // namespace lumacet
