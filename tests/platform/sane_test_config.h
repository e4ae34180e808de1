// SANE's "test" backend set up for one test: a configuration folder that loads only that
// backend (or none), with the given lines added to its settings. SANE takes SANE_CONFIG_DIR once per
// process and keeps it, so every test of the process shares one folder and rewrites its
// test.conf, which the backend reads again at every sane_init.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sane/sane.h>

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
    // Later lines win, so a test's own lines override these defaults. The backend stays
    // loaded between tests (below) and keeps what the last test.conf set, so every option
    // a test sets is set back here first. The backend cancels its reader thread
    // asynchronously when the last byte is read, which deadlocks when that thread is still
    // inside free(); reads of one byte keep the pipe's last 64 KB draining long after the
    // thread has finished, so tests scan small areas.
    conf << "number_of_devices 2\nmode Gray\ndepth 8\nresolution 50\ntest-picture \"Solid white\"\n"
            "tl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\nread-limit true\nread-limit-size 1\n"
            "three-pass false\nthree-pass-order RGB\nhand-scanner false\nppl-loss 0\nread-delay false\n"
            "read-delay-duration 1000\n";
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
      KeepTestBackendLoaded();
    }
    ~TFolder() {
      std::error_code ec;
      std::filesystem::remove_all(Path, ec);
    }
    std::filesystem::path Path;
  };
  // The backend frees its reader thread's buffer in that thread, which a cancelled scan
  // does not wait for, so LeakSanitizer may see the buffer at exit. lsan.supp suppresses
  // that by the backend's module, and a module has a name only while it is loaded: SANE
  // unloads its backends in sane_exit, so the test backend is held loaded for good.
  static void KeepTestBackendLoaded() {
    Dl_info sane{};
    if (::dladdr(reinterpret_cast<void*>(&::sane_init), &sane) == 0 || sane.dli_fname == nullptr) return;
    const std::filesystem::path backend =
        std::filesystem::path(sane.dli_fname).parent_path() / "sane" / "libsane-test.so.1";
    ::dlopen(backend.c_str(), RTLD_LAZY | RTLD_NODELETE);
  }
  static const std::filesystem::path& Folder() {
    static TFolder folder;
    return folder.Path;
  }
};

}  // namespace lumacet::test
