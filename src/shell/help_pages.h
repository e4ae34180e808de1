// The help pages: an HTML folder beside the program (the build folder) or in its shared data
// folder (an installed program), opened in the desktop's browser.
#pragma once

#include <filesystem>
#include <span>
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

// The page and section that explain a window. `Key` is the window's class ("TLCOptions") or
// the object name of the window or of a part of it that has a section of its own (a mode of
// a dialog, a page of the options).
struct THelpTopic {
  std::string_view Key;
  std::string_view Page;     // file name without ".html"
  std::string_view Section;  // an element id of the page; empty for its top
};

// Every window and dialog with its help, one row each.
std::span<const THelpTopic> HelpTopics();
// The row of `key`; nullptr when it has none.
const THelpTopic* FindHelpTopic(std::string_view key);

}  // namespace lumacet
