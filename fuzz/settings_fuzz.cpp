// libFuzzer target for the settings file. Whatever the bytes, reading them as a settings
// file must neither crash nor leak, and the settings read from them must always save (a
// value that could not be stored again is dropped on reading) into a file that reading and
// saving again leaves as it is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/ini_file.h"
#include "shell/settings.h"

namespace lumacet {

namespace {

// The file after reading settings from it over the defaults and saving them into it.
std::string ReadAndSave(std::string_view bytes, std::string& problem) {
  TIniFile ini = TIniFile::FromBytes(bytes);
  TSettings settings = TSettings::Defaults("/data");
  settings.Read(ini);
  if (std::string failedKey; !settings.Write(ini, failedKey))
    problem = "settings read from the file cannot be saved: " + failedKey;
  return ini.ToBytes();
}

}  // namespace

// Empty when the bytes pass; otherwise what went wrong. Values are rounded on saving, so
// the first save may change them; from then on a file must stay as it is.
std::string CheckSettingsRoundTrip(std::string_view bytes) {
  std::string problem;
  const std::string saved = ReadAndSave(bytes, problem);
  if (!problem.empty()) return problem;
  if (TIniFile::FromBytes(saved).ToBytes() != saved) return "a saved file reads back to other lines";
  if (ReadAndSave(saved, problem) != saved) return problem.empty() ? "saving a saved file changes it" : problem;
  return {};
}

}  // namespace lumacet

#ifndef LUMACET_CORPUS_REPLAY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!lumacet::CheckSettingsRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size)).empty())
    std::abort();
  return 0;
}
#endif
