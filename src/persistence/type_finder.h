// Radiograph types loaded on behalf of radiographs. A type is found by its exact name among
// the cached ones, or loaded from the ".lcr" file of the type folder whose first line is
// that name; the cache owns it from then on and every radiograph of the type shares it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/xray_type.h"
#include "persistence/data_file.h"

namespace lumacet {

inline constexpr TTextSource kTypeNotFoundMessage = LcText(
    "TypeCache",
    "Could not find file for '%1'\r\nin Directory: %2\r\n\r\nMake sure the Default Directory for LCR files is correct.");

// The type file in `folder` whose first line is `name`: of several, the one whose file name
// sorts last (byte order), so the choice never depends on the order the folder is listed
// in. Files ending in ".lcr" in any letter case count. Empty when there is none.
std::string FindTypeFile(const std::string& folder, const std::string& name);

class TTypeCache {
 public:
  // `folders.TypeFolder` is searched for type files ("LCR Path"); both folders are used to
  // read the types' image links.
  explicit TTypeCache(TFileFolders folders) : fFolders(std::move(folders)) {}

  // The cached type of that name, else the type loaded from its file; a failure saying why
  // when there is no such file or it does not load.
  TResultOf<TXRayType*> GetOrLoadType(const std::string& name);
  // The cached type of exactly that name, or null.
  TXRayType* Find(const std::string& name) const;
  // The quiet lookup radiograph records use.
  TTypeResolver Resolver();

  const TFileFolders& Folders() const { return fFolders; }

 private:
  TFileFolders fFolders;
  std::vector<std::unique_ptr<TXRayType>> fTypes;
};

}  // namespace lumacet
