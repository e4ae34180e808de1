#include "shell/help_pages.h"

#include <string>
#include <system_error>

namespace lumacet {

namespace {

bool IsPage(const std::filesystem::path& page) {
  std::error_code error;
  return std::filesystem::is_regular_file(page, error);
}

}  // namespace

std::vector<std::filesystem::path> HelpFolders(const std::filesystem::path& programFolder) {
  return {programFolder / "help", programFolder.parent_path() / "share" / "lumacet" / "help"};
}

std::filesystem::path HelpPage(const std::filesystem::path& programFolder, std::string_view topic) {
  const std::string file = std::string(topic.empty() ? "index" : topic) + ".html";
  for (const std::filesystem::path& folder : HelpFolders(programFolder)) {
    if (!IsPage(folder / "index.html")) continue;
    return IsPage(folder / file) ? folder / file : folder / "index.html";
  }
  return {};
}

TText HelpMissing(const std::filesystem::path& programFolder) {
  std::string folders;
  for (const std::filesystem::path& folder : HelpFolders(programFolder))
    folders += "\n" + folder.lexically_normal().string();
  return TText(LcText("Help", "The help pages are not installed. They were looked for in:%1"), {folders});
}

}  // namespace lumacet
