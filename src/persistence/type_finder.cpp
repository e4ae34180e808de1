#include "persistence/type_finder.h"

#include <algorithm>
#include <filesystem>

#include "persistence/type_file.h"

namespace lumacet {

namespace fs = std::filesystem;

namespace {

bool HasTypeFileExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == ".lcr";
}

}  // namespace

std::string FindTypeFile(const std::string& folder, const std::string& name) {
  std::error_code error;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error))
    if (HasTypeFileExtension(it->path()) && it->is_regular_file(error)) files.push_back(it->path());
  // Folder listings come in no particular order here; sorting makes "the last file that
  // holds the name" the same on every run.
  std::sort(files.begin(), files.end());
  for (auto it = files.rbegin(); it != files.rend(); ++it)
    if (ReadTypeName(it->string()) == name) return it->string();
  return {};
}

TXRayType* TTypeCache::Find(const std::string& name) const {
  for (const auto& type : fTypes)
    if (type->Name == name) return type.get();
  return nullptr;
}

TResultOf<TXRayType*> TTypeCache::GetOrLoadType(const std::string& name) {
  if (TXRayType* cached = Find(name)) return cached;
  const std::string path = FindTypeFile(fFolders.TypeFolder, name);
  if (path.empty())
    return TResult::Failure(TText(kTypeNotFoundMessage, {name, fFolders.TypeFolder}), "no type file for " + name);
  auto type = std::make_unique<TXRayType>();
  type->DataFile = path;
  TResult loaded = type->LoadFromTypeFile(path, fFolders);
  if (!loaded) return loaded;
  fTypes.push_back(std::move(type));
  return fTypes.back().get();
}

TTypeResolver TTypeCache::Resolver() {
  return [this](const std::string& name) { return GetOrLoadType(name).ValueOr(nullptr); };
}

}  // namespace lumacet
