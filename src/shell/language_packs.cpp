#include "shell/language_packs.h"

#include <algorithm>
#include <system_error>

#include "shell/ini_file.h"

namespace lumacet {

namespace {

constexpr std::string_view kPackPrefix = "lc3_";
constexpr std::string_view kPackExtension = ".qm";

std::string PackFileName(std::string_view language) {
  return std::string(kPackPrefix) + std::string(language) + std::string(kPackExtension);
}

}  // namespace

bool IsLanguageName(std::string_view language) {
  return !language.empty() && language.size() <= 32 && std::all_of(language.begin(), language.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
}

std::vector<std::filesystem::path> LanguagePackFolders(const std::filesystem::path& programFolder) {
  return {programFolder / "translations", programFolder.parent_path() / "share" / "lumacet" / "translations"};
}

std::filesystem::path FindLanguagePack(const std::filesystem::path& programFolder, std::string_view language) {
  if (!IsLanguageName(language)) return {};
  for (const std::filesystem::path& folder : LanguagePackFolders(programFolder)) {
    std::error_code error;
    const std::filesystem::path pack = folder / PackFileName(language);
    if (std::filesystem::is_regular_file(pack, error)) return pack;
  }
  return {};
}

std::vector<std::string> InstalledLanguages(const std::filesystem::path& programFolder) {
  std::vector<std::string> languages;
  for (const std::filesystem::path& folder : LanguagePackFolders(programFolder)) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
      const std::string name = entry->path().filename().string();
      if (name.size() <= kPackPrefix.size() + kPackExtension.size() || !name.starts_with(kPackPrefix) ||
          !name.ends_with(kPackExtension))
        continue;
      const std::string language = name.substr(kPackPrefix.size(), name.size() - kPackPrefix.size() - kPackExtension.size());
      std::error_code fileError;
      if (IsLanguageName(language) && std::filesystem::is_regular_file(entry->path(), fileError))
        languages.push_back(language);
    }
  }
  std::sort(languages.begin(), languages.end());
  languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
  return languages;
}

std::string ChosenLanguage(const std::string& settingsPath) {
  TIniFile ini;
  ini.Load(settingsPath);
  return ini.Read("General", "Language").value_or(std::string());
}

TText LanguagePackMissing(const std::filesystem::path& programFolder, std::string_view language) {
  std::string folders;
  for (const std::filesystem::path& folder : LanguagePackFolders(programFolder))
    folders += "\n" + folder.lexically_normal().string();
  return TText(kLanguagePackMissingMessage, {language, folders});
}

}  // namespace lumacet
