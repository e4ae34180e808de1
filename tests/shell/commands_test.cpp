#include "shell/commands.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

namespace lumacet {
namespace {

TEST(CommandsTest, MenusAreUniqueAndMarked) {
  std::set<std::string_view> ids;
  for (const TMenu& menu : Menus()) {
    EXPECT_TRUE(std::regex_match(std::string(menu.Id), std::regex("[a-z_]+"))) << menu.Id;
    EXPECT_TRUE(ids.insert(menu.Id).second) << menu.Id;
    EXPECT_EQ(FindMenu(menu.Id), &menu) << menu.Id;
    EXPECT_TRUE(TText(menu.Caption).IsMarked()) << menu.Id;
    EXPECT_FALSE(TText(menu.Caption).Source().empty()) << menu.Id;
  }
}

// Each command is "menu.command" of a known menu, found by its identifier, and captioned
// under its menu's context with a caption no other command of that menu shows.
TEST(CommandsTest, IdentifiersAreUniqueWellFormedAndNameTheirMenu) {
  const std::regex form("([a-z_]+)\\.[a-z_]+");
  std::set<std::string_view> ids;
  std::map<std::string, std::set<std::string>> captions;
  ASSERT_FALSE(Commands().empty());
  for (const TCommand& command : Commands()) {
    const std::string id(command.Id);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(id, parts, form)) << id;
    EXPECT_TRUE(ids.insert(command.Id).second) << id;
    EXPECT_EQ(FindCommand(id), &command) << id;
    const TMenu* menu = FindMenu(parts[1].str());
    ASSERT_NE(menu, nullptr) << id;
    const TText caption(command.Caption);
    EXPECT_TRUE(caption.IsMarked()) << id;
    EXPECT_EQ(caption.Context(), menu->Caption.Context) << id;
    EXPECT_FALSE(caption.Source().empty()) << id;
    EXPECT_TRUE(captions[parts[1].str()].insert(caption.Source()).second) << id << " repeats " << caption.Source();
  }
}

// Released identifiers keep naming the same commands; anything else names none.
TEST(CommandsTest, FindCommandGivesTheCaptionOfAReleasedIdentifier) {
  const std::pair<const char*, const char*> cases[] = {
      {"file.save", "&Save"},
      {"file.open", "&Open..."},
      {"image.open", "&Open..."},
      {"image.undo", "U&ndo / Redo Image"},
      {"type.browser", "&Type Browser..."},
      {"type.variables", "Variables..."},
      {"tracing.set_reference", "Set as Re&ference"},
      {"view.zoom_in", "&Zoom In"},
      {"tools.none", "None"},
      {"tools.procrustes", "&Procrustes and PCA..."},
      {"help.about", "&About..."},
      {"file.savee", nullptr},
      {"FILE.SAVE", nullptr},
      {"file", nullptr},
      {"&Save", nullptr},
      {"", nullptr},
  };
  for (const auto& [id, caption] : cases) {
    const TCommand* command = FindCommand(id);
    if (caption == nullptr) {
      EXPECT_EQ(command, nullptr) << id;
    } else {
      ASSERT_NE(command, nullptr) << id;
      EXPECT_STREQ(command->Caption.Source, caption) << id;
    }
  }
  EXPECT_EQ(FindMenu("save"), nullptr);
  EXPECT_STREQ(FindMenu("image")->Caption.Source, "&Image");
}

}  // namespace
}  // namespace lumacet
