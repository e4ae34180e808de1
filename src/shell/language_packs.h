// Language packs: the translations of every user text, one Qt message file
// "lc3_<language>.qm" per language, in a "translations" folder beside the program (the build
// folder) or in its shared data folder (an installed program). The language is a Qt locale
// name ("de", "pt_BR"); empty stands for the built-in English texts.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/marked_text.h"

namespace lumacet {

inline constexpr TTextSource kEnglishLanguageEntry = LcText("Language", "English US (default)");
inline constexpr TTextSource kLanguageChangedMessage =
    LcText("Language", "Selected Language: %1\r\n\r\nChange of language will be affected after you restart Lumacet.");
inline constexpr TTextSource kLanguagePackUnusableMessage =
    LcText("Language", "The language pack %1 cannot be used. Lumacet shows its texts in English.");
inline constexpr TTextSource kLanguagePackMissingMessage =
    LcText("Language",
           "No language pack for \"%1\" was found, so Lumacet shows its texts in English; choose the language "
           "again in Options. It was looked for in:%2");

// True for a name that can stand in a pack's file name: letters, digits, "_" and "-", at
// most 32 of them. The setting comes from a file the user can edit, so nothing else may
// reach a path.
bool IsLanguageName(std::string_view language);

// Where packs are looked for, in order, for a program in `programFolder`.
std::vector<std::filesystem::path> LanguagePackFolders(const std::filesystem::path& programFolder);

// The first pack file of `language` in those folders; empty when there is none or the name
// is not a language name.
std::filesystem::path FindLanguagePack(const std::filesystem::path& programFolder, std::string_view language);

// The languages that have a pack in those folders, each once, sorted.
std::vector<std::string> InstalledLanguages(const std::filesystem::path& programFolder);

// The language chosen in the settings file at `settingsPath` ("General"/"Language"), read
// on its own: the pack is installed before anything else of the settings is read.
std::string ChosenLanguage(const std::string& settingsPath);

// What the user is told when the chosen language has no pack.
TText LanguagePackMissing(const std::filesystem::path& programFolder, std::string_view language);

}  // namespace lumacet
