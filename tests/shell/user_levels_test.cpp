#include "shell/user_levels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "shell/ini_file.h"
#include "shell/temp_folder.h"

namespace lumacet {
namespace {

constexpr int kFewIterations = 1000;  // enough to exercise the hash, quick for the tests

TIniFile Settings(const std::string& text) { return TIniFile::FromBytes(text); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The start-up decision for each way a practice may set its passwords: which level the
// entry (or Cancel, nullopt) gives, which actions that level is refused, and whether the
// password dialog was shown at all.
TEST(UserLevels, TheLevelFollowsThePasswordEnteredAndTheLists) {
  const std::string hashedAdmin = HashPassword("boss", kFewIterations);
  const std::string hashedUser = HashPassword("staff", kFewIterations);
  struct TCase {
    const char* Name;
    std::string Ini;
    std::optional<std::string> Entry;
    TUserLevel Level;
    std::vector<std::string> Denied;
    bool Asked;
  };
  const std::vector<std::string> guest = {"Options", "OpenType", "NewType", "Delete", "Save", "CopyTo"};
  const std::vector<std::string> user = {"OpenType",  "NewType",         "Delete",        "SaveReplace",
                                         "DigitizerProperties", "DigitizerDelete", "DigitizerDefault"};
  const std::vector<TCase> cases = {
      {"no settings at all", "", "x", TUserLevel::Administrator, {}, false},
      {"an empty Password section", "[Password]\r\nAdmin=\r\nUser=\r\n", "x", TUserLevel::Administrator, {}, false},
      {"only Admin, Cancel", "[Password]\r\nAdmin=boss\r\n", std::nullopt, TUserLevel::Guest, guest, true},
      {"only Admin, wrong entry", "[Password]\r\nAdmin=boss\r\n", "Boss", TUserLevel::Guest, guest, true},
      {"plain Admin entered", "[Password]\r\nAdmin=boss\r\nUser=staff\r\n", "boss", TUserLevel::Administrator, {},
       true},
      {"plain User entered", "[Password]\r\nAdmin=boss\r\nUser=staff\r\n", "staff", TUserLevel::User, user, true},
      {"one text for both is the administrator's", "[Password]\r\nAdmin=same\r\nUser=same\r\n", "same",
       TUserLevel::Administrator, {}, true},
      {"hashed Admin entered", "[Password]\r\nAdmin=" + hashedAdmin + "\r\nUser=" + hashedUser + "\r\n", "boss",
       TUserLevel::Administrator, {}, true},
      {"hashed User entered", "[Password]\r\nAdmin=" + hashedAdmin + "\r\nUser=" + hashedUser + "\r\n", "staff",
       TUserLevel::User, user, true},
      {"the hash itself is no password", "[Password]\r\nAdmin=" + hashedAdmin + "\r\n", hashedAdmin,
       TUserLevel::Guest, guest, true},
      // An empty administrator password never grants the administrator's level.
      {"empty Admin, empty entry", "[Password]\r\nAdmin=\r\nUser=staff\r\n", "", TUserLevel::Guest, guest, true},
      {"the practice's own lists, split at spaces",
       "[Password]\r\nUser=staff\r\n[Permissions]\r\nUser=Save  SaveImage\r\nGuest=Options\r\n", "staff",
       TUserLevel::User, {"Save", "SaveImage"}, true},
      {"a damaged hash matches nothing", "[Password]\r\nAdmin=pbkdf2-sha256:0:zz:11\r\n", "", TUserLevel::Guest,
       guest, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    bool asked = false;
    const TUserLevels levels = DetermineUserLevel(Settings(c.Ini), [&] {
      asked = true;
      return c.Entry;
    });
    EXPECT_EQ(levels.Level(), c.Level);
    EXPECT_EQ(levels.Denied(), c.Denied);
    EXPECT_EQ(asked, c.Asked);
  }
}

TEST(UserLevels, ARefusalNamesTheLevelAndUnlistedActionsAreAllowedEverywhere) {
  const TUserLevels administrator;
  const TUserLevels user(TUserLevel::User, {"OpenType"});
  const TUserLevels guest(TUserLevel::Guest, {"Save", "OpenType"});
  for (const TUserLevels* levels : {&administrator, &user, &guest}) {
    EXPECT_TRUE(levels->Permit("SaveImage"));
    EXPECT_TRUE(levels->Permit("opentype"));  // names compare exactly
  }
  EXPECT_TRUE(administrator.Permit("OpenType"));
  EXPECT_FALSE(user.Permit("OpenType"));
  EXPECT_FALSE(guest.Permit("Save"));
  EXPECT_EQ(user.DeniedMessage().English(), "Sorry, you don't have permission for this action.\r\n\r\nUser Level: User");
  EXPECT_EQ(guest.DeniedMessage().English(),
            "Sorry, you don't have permission for this action.\r\n\r\nUser Level: Guest");
}

// An older settings file keeps its passwords in plain text: they still work, and the file
// holds only their hashes afterwards, everything else in it as it was.
TEST(UserLevels, PlainPasswordsAreReplacedByHashesThatStillMatch) {
  test::TTempFolder folder;
  const std::string path = folder.File("lumacet.ini");
  {
    std::ofstream out(path, std::ios::binary);
    out << "[General]\r\nCSV Path=/clinic\r\n[Password]\r\nAdmin=boss\r\nUser=staff\r\n";
  }
  ASSERT_TRUE(HashPlainPasswords(path).Ok());
  const std::string text = ReadText(path);
  EXPECT_EQ(text.find("boss"), std::string::npos) << text;
  EXPECT_EQ(text.find("staff"), std::string::npos) << text;
  EXPECT_NE(text.find("CSV Path=/clinic"), std::string::npos) << text;
  TIniFile ini;
  ini.Load(path);
  const std::string admin = ini.Read("Password", "Admin").value_or("");
  EXPECT_TRUE(admin.starts_with("pbkdf2-sha256:210000:")) << admin;
  EXPECT_TRUE(PasswordMatches(admin, "boss"));
  EXPECT_FALSE(PasswordMatches(admin, "staff"));
  EXPECT_EQ(DetermineUserLevel(ini, [] { return std::optional<std::string>("staff"); }).Level(), TUserLevel::User);
  // Each hash has a salt of its own: the same password stored twice differs.
  EXPECT_NE(HashPassword("boss", kFewIterations), HashPassword("boss", kFewIterations));

  // Nothing plain left: the file is not written again.
  const auto written = std::filesystem::last_write_time(path);
  ASSERT_TRUE(HashPlainPasswords(path).Ok());
  EXPECT_EQ(std::filesystem::last_write_time(path), written);
  EXPECT_EQ(ReadText(path), text);
}

}  // namespace
}  // namespace lumacet
