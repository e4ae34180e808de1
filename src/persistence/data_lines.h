// The lines of a data file. Lines end in CR LF (as written) or LF alone (files edited on
// Linux); a UTF-8 byte order mark before the first line is ignored. The last line may
// lack its line break.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumacet {

struct TLineSpan {
  std::string_view Text;  // without its line break (and, on line 1, without a byte order mark)
  std::string_view Raw;   // exactly as in the file, line break included
};

// Walks the lines of a file held in memory.
class TLineCursor {
 public:
  explicit TLineCursor(std::string_view bytes) : fBytes(bytes) {}
  bool Next(TLineSpan& line);
  // The number of the line Next gave last, counted from 1.
  size_t Number() const { return fNumber; }

 private:
  std::string_view fBytes;
  size_t fPosition = 0;
  size_t fNumber = 0;
};

// A field of a line without the blanks (and control characters) around it.
std::string_view TrimField(std::string_view field);

// True when the bytes are empty or end with a line break: a record can be added after them.
bool EndsWithLineBreak(std::string_view bytes);

// Removes, in place, every line that `keep` refuses (given its number from 1 and its text);
// the lines kept stay byte for byte as they were.
void KeepLines(std::string& bytes, const std::function<bool(size_t number, std::string_view text)>& keep);

// Reads lines of a data file by number. The file is scanned once, front to back, as far as
// the lines asked for, and the start of every line seen is kept, so reading every record of
// a file in turn costs time in proportion to the file's size. The open file is a snapshot:
// a rewrite that replaces the file by renaming does not disturb a reader that has it open.
class TDataFileIndex {
 public:
  TDataFileIndex() = default;
  ~TDataFileIndex();
  TDataFileIndex(const TDataFileIndex&) = delete;
  TDataFileIndex& operator=(const TDataFileIndex&) = delete;

  bool Open(const std::string& path);
  // Line n, counted from 1, without its line break. False past the last line or when the
  // file cannot be read (then Failed() is true).
  bool ReadLine(size_t n, std::string& line);
  // Hands every line, from the first, to `visit` (its number from 1 and its text without
  // line break) until `visit` gives false. Reads the file in pieces, however large it is.
  // False when the file cannot be read.
  bool ForEachLine(const std::function<bool(size_t number, std::string_view text)>& visit);
  // The whole content of the open file.
  bool ReadAll(std::string& bytes);
  bool Failed() const { return fFailed; }
  // Why the file could not be opened or read, for the user's message.
  const std::string& Problem() const { return fProblem; }

  // Far past any real record: a longer line means the file is no data file at all, and
  // reading on would take memory without end.
  static constexpr size_t kMaxLineLength = 1 << 20;

 private:
  bool Fail(std::string problem);
  bool TooLong(size_t number);
  // Records line starts until line n + 1 is known to start or the file ends.
  bool ScanTo(size_t n);

  int fFd = -1;
  std::vector<uint64_t> fStarts;
  uint64_t fScanned = 0;
  bool fComplete = false;
  bool fFailed = false;
  std::string fProblem;
};

}  // namespace lumacet
