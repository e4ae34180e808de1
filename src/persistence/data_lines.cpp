#include "persistence/data_lines.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumacet {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kScanChunk = 1 << 20;
constexpr size_t kRecordRoom = 64 << 10;

std::string_view LineText(std::string_view raw, bool first) {
  if (!raw.empty() && raw.back() == '\n') raw.remove_suffix(1);
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  if (first && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
  return raw;
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
  size_t end = fBytes.find('\n', fPosition);
  end = end == std::string_view::npos ? fBytes.size() : end + 1;
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

bool EndsWithLineBreak(std::string_view bytes) { return bytes.empty() || bytes.back() == '\n'; }

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
  fFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return fFd >= 0;
}

bool TDataFileIndex::ScanTo(size_t n) {
  if (fFd < 0 || fFailed) return false;
  std::string chunk;
  while (!fComplete && fStarts.size() < n + 1) {
    chunk.resize(kScanChunk);
    ssize_t got = ReadAt(fFd, chunk.data(), chunk.size(), fScanned);
    if (got < 0) {
      fFailed = true;
      return false;
    }
    if (got == 0) {
      fComplete = true;
      // A start recorded at the very end belongs to no line.
      if (fStarts.back() == fScanned) fStarts.pop_back();
      break;
    }
    const char* data = chunk.data();
    const char* end = data + got;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p)
      fStarts.push_back(fScanned + static_cast<uint64_t>(p - data) + 1);
    fScanned += static_cast<uint64_t>(got);
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
    if (got < 0) {
      fFailed = true;
      return false;
    }
    if (got == 0) break;
    offset += static_cast<uint64_t>(got);
    std::string_view piece(chunk.data(), static_cast<size_t>(got));
    for (size_t end; (end = piece.find('\n')) != std::string_view::npos; piece.remove_prefix(end + 1)) {
      std::string_view raw = piece.substr(0, end + 1);
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
    if (got < 0) {
      fFailed = true;
      return false;
    }
    if (got == 0) return true;
    bytes.append(chunk.data(), static_cast<size_t>(got));
    offset += static_cast<uint64_t>(got);
  }
}

}  // namespace lumacet
