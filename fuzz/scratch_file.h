// A file for the readers that take a path: each call replaces it with the given bytes.
// It lies in a folder of its own, made once per process and removed at exit.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace lumacet {

class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    fPath = pattern;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(fPath, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  // The path of `name` in the folder, holding exactly `bytes`.
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::string path = (fPath / name).string();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) abort();
    return path;
  }

 private:
  std::filesystem::path fPath;
};

inline const TScratchFolder& ScratchFolder() {
  static const TScratchFolder folder;
  return folder;
}

}  // namespace lumacet
