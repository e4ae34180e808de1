#include "shell/population_context.h"

#include "model/xray_type.h"
#include "persistence/type_finder.h"

namespace lumacet {

std::unique_ptr<TXRayType> ReadDialogType(const TWorkspace& workspace, const std::string& name) {
  const TFileFolders& folders = workspace.Options().Folders;
  const std::string path = FindTypeFile(folders.TypeFolder, name);
  if (path.empty()) return nullptr;
  auto type = std::make_unique<TXRayType>();
  if (!type->LoadFromTypeFile(path, folders)) return nullptr;
  return type;
}

}  // namespace lumacet
