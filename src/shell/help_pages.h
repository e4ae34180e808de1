// The help pages: an HTML folder beside the program (the build folder) or in its shared data
// folder (an installed program), opened in the desktop's browser.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "support/marked_text.h"

namespace lumacet {

// Where the help folder is looked for, in order, for a program in `programFolder`.
std::vector<std::filesystem::path> HelpFolders(const std::filesystem::path& programFolder);

// The page of `topic` ("population"), or the contents page when the folder lacks that topic;
// empty when no help folder holds a contents page.
std::filesystem::path HelpPage(const std::filesystem::path& programFolder, std::string_view topic);

// What to tell the user when `HelpPage` found nothing: where the pages were looked for.
TText HelpMissing(const std::filesystem::path& programFolder);

}  // namespace lumacet
