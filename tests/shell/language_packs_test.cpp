// Language packs are found beside the program or in its shared data folder, by a name that
// can never reach outside those folders, and the choice is kept by the settings' own writer.
#include "shell/language_packs.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "temp_folder.h"

namespace lumacet {
namespace {

using test::TTempFolder;
using test::WriteBytes;

void Pack(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  WriteBytes(file.string(), "pack");
}

TEST(LanguagePacksTest, OnlyPlainNamesCanNameAPack) {
  struct TCase {
    const char* Name;
    bool Accepted;
  };
  for (const TCase& sight : {TCase{"de", true}, TCase{"pt_BR", true}, TCase{"sr-Latn", true}, TCase{"", false},
                             TCase{"../de", false}, TCase{"de/x", false}, TCase{"de.qm", false}, TCase{"d e", false},
                             TCase{"äö", false}, TCase{"abcdefghijklmnopqrstuvwxyz0123456", false}})
    EXPECT_EQ(IsLanguageName(sight.Name), sight.Accepted) << sight.Name;
}

TEST(LanguagePacksTest, PacksAreFoundBesideTheProgramFirstThenInstalled) {
  TTempFolder folder;
  const std::filesystem::path build = folder.Path() / "build";
  const std::filesystem::path program = folder.Path() / "usr" / "bin";
  const std::filesystem::path installed = folder.Path() / "usr" / "share" / "lumacet" / "translations";
  Pack(build / "translations" / "lc3_de.qm");
  Pack(installed / "lc3_de.qm");
  Pack(installed / "lc3_fr.qm");
  Pack(installed / "lc3_.qm");
  Pack(installed / "notes.txt");
  Pack(folder.Path() / "usr" / "share" / "lumacet" / "lc3_evil.qm");
  std::filesystem::create_directories(installed / "lc3_dir.qm");

  EXPECT_EQ(FindLanguagePack(build, "de"), build / "translations" / "lc3_de.qm");
  EXPECT_EQ(FindLanguagePack(program, "de"), installed / "lc3_de.qm");
  EXPECT_EQ(FindLanguagePack(program, "fr"), installed / "lc3_fr.qm");
  for (const char* unusable : {"it", "", "dir", "../evil", "../lumacet/lc3_evil"})
    EXPECT_TRUE(FindLanguagePack(program, unusable).empty()) << unusable;

  EXPECT_EQ(InstalledLanguages(build), std::vector<std::string>{"de"});
  EXPECT_EQ(InstalledLanguages(program), (std::vector<std::string>{"de", "fr"}));
  EXPECT_TRUE(InstalledLanguages(folder.Path() / "nowhere").empty());

  const std::string missing = LanguagePackMissing(program, "it").English();
  EXPECT_NE(missing.find("\"it\""), std::string::npos) << missing;
  EXPECT_NE(missing.find(installed.string()), std::string::npos) << missing;
}

TEST(LanguagePacksTest, TheChoiceIsReadOnItsOwnAndSurvivesTheSettingsWriter) {
  TTempFolder folder;
  const std::string path = folder.File("lumacet.ini");
  EXPECT_EQ(ChosenLanguage(path), "");
  WriteBytes(path, "[general]\r\nlanguage=de\r\n[Password]\r\nAdmin=x\r\n");
  EXPECT_EQ(ChosenLanguage(path), "de");

  // Chosen in Options, written at exit with everything else; the start after it reads it.
  TSettings settings = TSettings::Defaults("/data");
  ASSERT_TRUE(settings.Load(path));
  EXPECT_EQ(settings.General.Language, "de");
  settings.General.Language = "fr";
  ASSERT_TRUE(settings.Save(path).Ok);
  EXPECT_EQ(ChosenLanguage(path), "fr");
  // English is the empty value.
  settings.General.Language.clear();
  ASSERT_TRUE(settings.Save(path).Ok);
  EXPECT_EQ(ChosenLanguage(path), "");
  EXPECT_NE(test::ReadBytes(path).find("Admin=x"), std::string::npos);
}

}  // namespace
}  // namespace lumacet
