// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumacet::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-app-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    fPath = pattern;
  }
  ~TTempFolder() {
    std::error_code ec;
    // Folders made read-only by a test must become writable again to be removed.
    for (auto& entry : std::filesystem::recursive_directory_iterator(fPath, ec))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ec);
    std::filesystem::remove_all(fPath, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string File(const std::string& name) const { return (fPath / name).string(); }
  const std::filesystem::path& Path() const { return fPath; }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (auto& entry : std::filesystem::directory_iterator(fPath)) names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path fPath;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace lumacet::test
