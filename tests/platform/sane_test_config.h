// SANE's "test" backend set up for one test: a configuration folder that loads only that
// backend (or none), with the given lines added to its settings. SANE takes SANE_CONFIG_DIR once per
// process and keeps it, so every test of the process shares one folder and rewrites its
// test.conf, which the backend reads again at every sane_init.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lumacet::test {

class TSaneTestConfig {
 public:
  // `backends` is what dll.conf loads: "" for a system without scanners.
  explicit TSaneTestConfig(const std::vector<std::string>& lines = {}, const std::string& backends = "test") {
    const std::filesystem::path& folder = Folder();
    std::ofstream(folder / "dll.conf", std::ios::trunc) << backends << "\n";
    std::ofstream conf(folder / "test.conf", std::ios::trunc);
    // Later lines win, so a test's own lines override these defaults. The backend cancels
    // its reader thread asynchronously when the last byte is read, which deadlocks when
    // that thread is still inside free(); reads of one byte keep the pipe's last 64 KB
    // draining long after the thread has finished, so tests scan small areas.
    conf << "number_of_devices 2\nmode Gray\ndepth 8\nresolution 50\ntest-picture \"Solid white\"\n"
            "tl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\nread-limit true\nread-limit-size 1\n";
    for (const std::string& line : lines) conf << line << '\n';
  }
  TSaneTestConfig(const TSaneTestConfig&) = delete;
  TSaneTestConfig& operator=(const TSaneTestConfig&) = delete;

 private:
  struct TFolder {
    TFolder() {
      std::string pattern = (std::filesystem::temp_directory_path() / "lumacet-sane-XXXXXX").string();
      if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
      Path = pattern;
      ::setenv("SANE_CONFIG_DIR", Path.c_str(), 1);
    }
    ~TFolder() {
      std::error_code ec;
      std::filesystem::remove_all(Path, ec);
    }
    std::filesystem::path Path;
  };
  static const std::filesystem::path& Folder() {
    static TFolder folder;
    return folder.Path;
  }
};

}  // namespace lumacet::test
