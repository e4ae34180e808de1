#include "persistence/data_lines.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "support/atomic_file.h"

namespace lumacet {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kScanChunk = 1 << 20;
constexpr size_t kRecordRoom = 64 << 10;

// A save killed part-way leaves its temporary file, a full copy of a patient file, beside the
// data file. The first opening of a data file in each folder clears what is left there;
// later openings in the same run need not list the folder again.
void RemoveLeftoversOnce(const std::string& path) {
  static std::mutex mutex;
  static std::set<std::string> cleared;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
  if (error) return;
  const std::lock_guard lock(mutex);
  if (cleared.insert(folder.lexically_normal().string()).second) RemoveStaleTempFiles(folder.string());
}

std::string_view LineText(std::string_view raw, bool first) {
  if (!raw.empty() && raw.back() == '\n') raw.remove_suffix(1);
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  if (first && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
  return raw;
}

// Where the line starting at `from` ends, its break included: after "\n", "\r\n" or a
// lone "\r" (a hand edit on another system), so that no record hides behind another.
// npos when the bytes hold no break.
size_t LineEnd(std::string_view bytes, size_t from) {
  const char* begin = bytes.data() + from;
  const size_t rest = bytes.size() - from;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', rest));
  const size_t upTo = lf ? static_cast<size_t>(lf - begin) : rest;
  const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', upTo));
  if (cr != nullptr && cr + 1 != lf) return static_cast<size_t>(cr - bytes.data()) + 1;
  return lf ? static_cast<size_t>(lf - bytes.data()) + 1 : std::string_view::npos;
}

// A piece read from the middle of a file that ends in "\r" leaves that byte to the next
// piece, which shows whether a "\n" belongs to it.
size_t DecidedLength(const std::string& chunk, ssize_t got) {
  const auto length = static_cast<size_t>(got);
  return length == chunk.size() && chunk[length - 1] == '\r' ? length - 1 : length;
}

// pread until `size` bytes arrived, the file ended or an error occurred.
ssize_t ReadAt(int fd, char* buffer, size_t size, uint64_t offset) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// Reserves room for a large file's content. Such a buffer is asked to be backed by huge
// pages: touching tens of megabytes page by page costs more than reading them.
void ReserveLarge(std::string& bytes, size_t size) {
  bytes.reserve(size);
  constexpr uintptr_t kHugePage = 2 << 20;
  if (size < 4 * kHugePage) return;
  const auto begin = (reinterpret_cast<uintptr_t>(bytes.data()) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(bytes.data()) + bytes.capacity()) & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

bool TLineCursor::Next(TLineSpan& line) {
  if (fPosition >= fBytes.size()) return false;
  size_t end = LineEnd(fBytes, fPosition);
  if (end == std::string_view::npos) end = fBytes.size();
  line.Raw = fBytes.substr(fPosition, end - fPosition);
  line.Text = LineText(line.Raw, fPosition == 0);
  fPosition = end;
  ++fNumber;
  return true;
}

std::string_view TrimField(std::string_view field) {
  while (!field.empty() && static_cast<unsigned char>(field.front()) <= ' ') field.remove_prefix(1);
  while (!field.empty() && static_cast<unsigned char>(field.back()) <= ' ') field.remove_suffix(1);
  return field;
}

bool EndsWithLineBreak(std::string_view bytes) { return bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r'; }

void KeepLines(std::string& bytes, const std::function<bool(size_t number, std::string_view text)>& keep) {
  // Lines only ever move towards the front, so the cursor reads ahead of what is written.
  size_t kept = 0;
  TLineCursor cursor(bytes);
  TLineSpan line;
  while (cursor.Next(line)) {
    if (!keep(cursor.Number(), line.Text)) continue;
    const size_t from = static_cast<size_t>(line.Raw.data() - bytes.data());
    if (from != kept) std::memmove(bytes.data() + kept, line.Raw.data(), line.Raw.size());
    kept += line.Raw.size();
  }
  bytes.resize(kept);
}

TDataFileIndex::~TDataFileIndex() {
  if (fFd >= 0) ::close(fFd);
}

bool TDataFileIndex::Open(const std::string& path) {
  if (fFd >= 0) ::close(fFd);
  fStarts.assign(1, 0);
  fScanned = 0;
  fComplete = false;
  fFailed = false;
  fProblem.clear();
  // Not blocking: a FIFO given as a data file must not wait for a writer.
  fFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fFd < 0) {
    fProblem = path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fFd, &info) != 0 || !S_ISREG(info.st_mode)) {
    // A device or a pipe would be read for ever.
    ::close(fFd);
    fFd = -1;
    fProblem = path + " is not a regular file";
    return false;
  }
  RemoveLeftoversOnce(path);
  return true;
}

bool TDataFileIndex::Fail(std::string problem) {
  fFailed = true;
  fProblem = std::move(problem);
  return false;
}

bool TDataFileIndex::TooLong(size_t number) {
  return Fail("line " + std::to_string(number) + " is longer than " + std::to_string(kMaxLineLength >> 20) +
              " MB: this is not a radiograph file");
}

bool TDataFileIndex::ScanTo(size_t n) {
  if (fFd < 0 || fFailed) return false;
  std::string chunk;
  while (!fComplete && fStarts.size() < n + 1) {
    chunk.resize(kScanChunk);
    ssize_t got = ReadAt(fFd, chunk.data(), chunk.size(), fScanned);
    if (got < 0) return Fail(std::strerror(errno));
    if (got == 0) {
      fComplete = true;
      // A start recorded at the very end belongs to no line.
      if (fStarts.back() == fScanned) fStarts.pop_back();
      break;
    }
    const std::string_view piece(chunk.data(), DecidedLength(chunk, got));
    for (size_t p = 0; (p = LineEnd(piece, p)) != std::string_view::npos;) {
      if (fScanned + p - fStarts.back() > kMaxLineLength) return TooLong(fStarts.size());
      fStarts.push_back(fScanned + p);
    }
    fScanned += piece.size();
    if (fScanned - fStarts.back() > kMaxLineLength) return TooLong(fStarts.size());
  }
  return true;
}

bool TDataFileIndex::ReadLine(size_t n, std::string& line) {
  if (n == 0 || !ScanTo(n) || n > fStarts.size()) return false;
  const uint64_t begin = fStarts[n - 1];
  const uint64_t end = n < fStarts.size() ? fStarts[n] : fScanned;
  line.resize(static_cast<size_t>(end - begin));
  ssize_t got = ReadAt(fFd, line.data(), line.size(), begin);
  if (got < 0) {
    fFailed = true;
    return false;
  }
  line.resize(static_cast<size_t>(got));
  std::string_view text = LineText(line, n == 1);
  line = std::string(text);
  return true;
}

bool TDataFileIndex::ForEachLine(const std::function<bool(size_t number, std::string_view text)>& visit) {
  if (fFd < 0) return false;
  std::string chunk(kScanChunk, '\0');
  std::string pending;  // the start of a line that runs on into the next piece
  size_t number = 0;
  for (uint64_t offset = 0;;) {
    ssize_t got = ReadAt(fFd, chunk.data(), chunk.size(), offset);
    if (got < 0) return Fail(std::strerror(errno));
    if (got == 0) break;
    std::string_view piece(chunk.data(), DecidedLength(chunk, got));
    offset += piece.size();
    for (size_t end; (end = LineEnd(piece, 0)) != std::string_view::npos; piece.remove_prefix(end)) {
      std::string_view raw = piece.substr(0, end);
      if (!pending.empty()) {
        pending.append(raw);
        raw = pending;
      }
      ++number;
      const bool goOn = visit(number, LineText(raw, number == 1));
      pending.clear();
      if (!goOn) return true;
    }
    pending.append(piece);
    if (pending.size() > kMaxLineLength) return TooLong(number + 1);
  }
  if (!pending.empty()) {
    ++number;
    visit(number, LineText(pending, number == 1));
  }
  return true;
}

bool TDataFileIndex::ReadAll(std::string& bytes) {
  struct stat info {};
  if (fFd < 0 || ::fstat(fFd, &info) != 0) return false;
  bytes.clear();
  // Room for the record a rewrite adds, so that adding it moves nothing.
  ReserveLarge(bytes, static_cast<size_t>(info.st_size) + kRecordRoom);
  std::string chunk(kScanChunk, '\0');
  for (uint64_t offset = 0;;) {
    ssize_t got = ReadAt(fFd, chunk.data(), chunk.size(), offset);
    if (got < 0) return Fail(std::strerror(errno));
    if (got == 0) return true;
    bytes.append(chunk.data(), static_cast<size_t>(got));
    offset += static_cast<uint64_t>(got);
  }
}

}  // namespace lumacet
