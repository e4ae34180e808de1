#include "imaging/image_link.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumacet {

namespace fs = std::filesystem;

namespace {

constexpr TTextSource kMissingInBothFolders =
    LcText("Image",
           "Tried to load image file:\r\n   %1\r\n\r\nbut could not find it in the specified folder:\r\n   %2"
           "\r\n\r\nor in the default image folder:\r\n   %3\r\n\r\nDo you want to search for the file yourself?");
constexpr TTextSource kMissingInDefaultFolder =
    LcText("Image",
           "Tried to load image file:\r\n   %1\r\n\r\nbut could not find it in the default image folder:\r\n   %2"
           "\r\n\r\nDo you want to search for the file yourself?");
constexpr TTextSource kNotFound = LcText("Image", "Could not find image file:\r\n   %1");
constexpr TTextSource kDefaultFolderQuestion =
    LcText("Image", "Do you want this folder:\r\n   %1\r\n\r\nto be the default image folder?");

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string WithSlashes(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return IsSeparator(folder.back()) ? folder + name : folder + "/" + name;
}

// The path itself when it names a file; else a file in the same folder whose name differs
// only in letter case (links written on Windows); else empty.
std::string ExistingFile(const std::string& path) {
  std::error_code error;
  const fs::path target(path);
  if (fs::is_regular_file(target, error)) return path;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string wanted = LowerAscii(target.filename().string());
  if (wanted.empty()) return {};
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (LowerAscii(it->path().filename().string()) == wanted && it->is_regular_file(error)) return it->path().string();
  }
  return {};
}

fs::path NormalFolder(const std::string& folder) {
  fs::path normal = fs::path(folder).lexically_normal();
  if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path()) normal = normal.parent_path();
  return normal;
}

std::string FolderOf(const std::string& path) {
  const auto at = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  if (at == path.rend()) return {};
  const std::size_t length = static_cast<std::size_t>(path.rend() - at) - 1;
  return length == 0 ? path.substr(0, 1) : path.substr(0, length);
}

}  // namespace

std::string ImagePathFromLink(const std::string& link, const std::string& defaultFolder) {
  if (link.empty()) return {};
  if (link.front() == '\\') return JoinPath(defaultFolder, WithSlashes(link.substr(1)));
  if (std::none_of(link.begin(), link.end(), IsSeparator)) return JoinPath(defaultFolder, link);
  return link;
}

TImageSearch FindImageFile(const std::string& link, const std::string& defaultFolder) {
  TImageSearch search;
  const auto lastSeparator = std::find_if(link.rbegin(), link.rend(), IsSeparator);
  search.Name = std::string(lastSeparator.base(), link.end());
  search.Folder = std::string(link.begin(), lastSeparator.base());
  if (search.Name.empty()) return search;

  if (!search.Folder.empty()) {
    search.TriedPath = WithSlashes(ImagePathFromLink(link, defaultFolder));
    search.Path = ExistingFile(search.TriedPath);
    if (!search.Path.empty()) return search;
  }
  search.TriedPath = JoinPath(defaultFolder, search.Name);
  search.Path = ExistingFile(search.TriedPath);
  return search;
}

TText MissingImageQuestion(const TImageSearch& search, const std::string& defaultFolder) {
  if (search.Folder.empty()) return TText(kMissingInDefaultFolder, {search.Name, defaultFolder});
  const std::string specified = FolderOf(WithSlashes(ImagePathFromLink(search.Folder + search.Name, defaultFolder)));
  return TText(kMissingInBothFolders, {search.Name, specified, defaultFolder});
}

TText ImageNotFoundMessage(const std::string& path) { return TText(kNotFound, {path}); }

TText DefaultFolderQuestion(const std::string& folder) { return TText(kDefaultFolderQuestion, {folder}); }

std::string RadiographImageLink(const std::string& path, const std::string& defaultFolder) {
  if (path.empty()) return {};
  if (defaultFolder.empty()) return path;
  const fs::path relative = fs::path(path).lexically_normal().lexically_relative(NormalFolder(defaultFolder));
  if (relative.empty() || *relative.begin() == ".." || relative.is_absolute()) return path;
  const std::string text = relative.string();
  if (text.find('/') == std::string::npos) return text;
  std::string link = "\\" + text;
  std::replace(link.begin(), link.end(), '/', '\\');
  return link;
}

std::string TypeImageLink(const std::string& path, const std::string& defaultFolder, const std::string& typeFolder) {
  if (path.empty()) return {};
  const fs::path normal = fs::path(path).lexically_normal();
  for (const std::string& folder : {defaultFolder, typeFolder})
    if (!folder.empty() && normal.parent_path() == NormalFolder(folder)) return normal.filename().string();
  return path;
}

}  // namespace lumacet
