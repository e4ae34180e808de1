// The tablet definitions of the settings file: each under its name in "Digitizers", its
// settings string as the value, and the name of the one in use under "Digitizer"/"digitizer".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/result.h"

namespace lumacet {

inline constexpr TTextSource kDigitizerAlreadyInstalled =
    LcText("Digitizer", "Digitizer already installed\r\n\r\nPlease use another name.");
inline constexpr TTextSource kCannotDeleteDefaultDigitizer = LcText("Digitizer", "Cannot Delete the Default Digitizer.");
inline constexpr TTextSource kDigitizerNotInitialized =
    LcText("Digitizer", "Could not initialize Digitizer data from .INI file.\r\n\r\nDigitizer cannot be used.");
inline constexpr TTextSource kDigitizerOpenFailed =
    LcText("Digitizer", "Error opening Digitizer.\r\n\r\nDigitizer cannot be used.");

struct TDigitizerDefinitions {
  std::vector<std::pair<std::string, std::string>> Entries;  // name, settings string; file order
  std::string Default;                                       // empty: none

  // Names compare as the settings file's keys do, without regard to case.
  const std::string* Find(std::string_view name) const;
  // Under the default settings string; refused for a name in use or one the file cannot hold
  // as a key.
  TResult Add(const std::string& name);
  // Refused for the default definition.
  TResult Delete(std::string_view name);
  // Replaces the definition's settings string, or adds the definition.
  void Store(const std::string& name, std::string settings);
  // The default definition's settings string; refused when there is none to use.
  TResultOf<std::string> DefaultSettings() const;

  bool operator==(const TDigitizerDefinitions&) const = default;
};

}  // namespace lumacet
