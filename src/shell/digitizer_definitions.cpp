#include "shell/digitizer_definitions.h"

#include <algorithm>

#include "digitize/digitizer.h"
#include "shell/ini_file.h"

namespace lumacet {

namespace {

constexpr TTextSource kBadDigitizerName =
    LcText("Digitizer", "A digitizer name must not be empty, hold \"=\" or a line break, or begin with \"[\" or \";\".");

}  // namespace

const std::string* TDigitizerDefinitions::Find(std::string_view name) const {
  const auto found = std::find_if(Entries.begin(), Entries.end(), [&](const auto& e) { return SameIniName(e.first, name); });
  return found == Entries.end() ? nullptr : &found->second;
}

TResult TDigitizerDefinitions::Add(const std::string& name) {
  const std::string_view trimmed = TrimBlanks(name);
  if (trimmed.empty() || trimmed != name || name.find_first_of("=\r\n") != std::string::npos || name[0] == '[' ||
      name[0] == ';')
    return TResult::Failure(TText(kBadDigitizerName));
  if (Find(name) != nullptr) return TResult::Failure(TText(kDigitizerAlreadyInstalled));
  Entries.emplace_back(name, TDigitizer::DefaultSettings());
  return {};
}

TResult TDigitizerDefinitions::Delete(std::string_view name) {
  if (SameIniName(name, Default)) return TResult::Failure(TText(kCannotDeleteDefaultDigitizer));
  std::erase_if(Entries, [&](const auto& e) { return SameIniName(e.first, name); });
  return {};
}

void TDigitizerDefinitions::Store(const std::string& name, std::string settings) {
  const auto found = std::find_if(Entries.begin(), Entries.end(), [&](const auto& e) { return SameIniName(e.first, name); });
  if (found == Entries.end())
    Entries.emplace_back(name, std::move(settings));
  else
    found->second = std::move(settings);
}

TResultOf<std::string> TDigitizerDefinitions::DefaultSettings() const {
  const std::string* settings = Default.empty() ? nullptr : Find(Default);
  if (settings == nullptr || TrimBlanks(*settings).empty()) return TResult::Failure(TText(kDigitizerNotInitialized));
  return *settings;
}

}  // namespace lumacet
