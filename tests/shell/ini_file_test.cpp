#include "shell/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/temp_folder.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

TEST(IniFileRead, FollowsWindowsRules) {
  TIniFile ini = TIniFile::FromBytes(
      "orphan=before any section\r\n"
      "[General]\r\n"
      "  Grid Density  =  20  \r\n"
      "; Grid Color=1\r\n"
      "Quoted=\"  padded  \"\r\n"
      "Single='x'\r\n"
      "Twice=\"\"a\"\"\r\n"
      "Unbalanced=\"a'\r\n"
      "Empty=\r\n"
      "Equals=a=b\r\n"
      "grid density=99\r\n"
      "[ general ]\r\n"
      "Late=1\r\n");
  EXPECT_EQ(ini.Read("GENERAL", "grid DENSITY"), "20");
  EXPECT_EQ(ini.Read("General", "Grid Color"), std::nullopt) << "comment lines hold no keys";
  EXPECT_EQ(ini.Read("General", "Quoted"), "  padded  ");
  EXPECT_EQ(ini.Read("General", "Single"), "x");
  EXPECT_EQ(ini.Read("General", "Twice"), "\"a\"") << "only one pair of quotes goes";
  EXPECT_EQ(ini.Read("General", "Unbalanced"), "\"a'");
  EXPECT_EQ(ini.Read("General", "Empty"), "");
  EXPECT_EQ(ini.Read("General", "Equals"), "a=b");
  EXPECT_EQ(ini.Read("General", "Late"), std::nullopt) << "the first section of a name is the one read";
  EXPECT_EQ(ini.Read("", "orphan"), std::nullopt);
  EXPECT_EQ(ini.Read("Missing", "Grid Density"), std::nullopt);
  EXPECT_EQ(ini.Keys("general"),
            (std::vector<std::string>{"Grid Density", "Quoted", "Single", "Twice", "Unbalanced", "Empty", "Equals"}));
}

TEST(IniFileRead, AcceptsLfLineEndsAndByteOrderMark) {
  TIniFile ini = TIniFile::FromBytes("\xEF\xBB\xBF[View]\nFont Name=MS Sans Serif\nFont Size=8");
  EXPECT_EQ(ini.Read("View", "Font Name"), "MS Sans Serif");
  EXPECT_EQ(ini.Read("View", "Font Size"), "8");
  EXPECT_EQ(ini.ToBytes(), "[View]\r\nFont Name=MS Sans Serif\r\nFont Size=8\r\n");
}

TEST(IniFileWrite, UpdatesInPlaceAndKeepsEverythingElse) {
  const std::string original =
      "; written by hand\r\n"
      "[General]\r\n"
      "Language=DEU\r\n"
      "grid density = 5\r\n"
      "\r\n"
      "; digitizers follow\r\n"
      "[Digitizers]\r\n"
      "Generic=FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0\r\n"
      "just a line\r\n";
  TIniFile ini = TIniFile::FromBytes(original);
  ASSERT_TRUE(ini.Write("GENERAL", "Grid Density", "20"));
  ASSERT_TRUE(ini.Write("General", "View Grid", "1"));
  ASSERT_TRUE(ini.Write("Styles", "Style 1", "Arial,10"));
  EXPECT_EQ(ini.ToBytes(),
            "; written by hand\r\n"
            "[General]\r\n"
            "Language=DEU\r\n"
            "grid density=20\r\n"
            "View Grid=1\r\n"
            "\r\n"
            "; digitizers follow\r\n"
            "[Digitizers]\r\n"
            "Generic=FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0\r\n"
            "just a line\r\n"
            "\r\n"
            "[Styles]\r\n"
            "Style 1=Arial,10\r\n");
}

TEST(IniFileWrite, QuotesValuesThatReadingWouldChange) {
  TIniFile ini;
  for (std::string value : {"Time differences: ", " lead", "\"quoted\"", "'single'", "\"", "a \"b\" c", ""}) {
    ASSERT_TRUE(ini.Write("S", "K", value));
    EXPECT_EQ(TIniFile::FromBytes(ini.ToBytes()).Read("S", "K"), value);
  }
}

TEST(IniFileWrite, RefusesWhatALineCannotHold) {
  TIniFile ini = TIniFile::FromBytes("[S]\r\nK=old\r\n");
  EXPECT_FALSE(ini.Write("S", "K", "two\nlines"));
  EXPECT_FALSE(ini.Write("S", "K", "two\rlines"));
  EXPECT_FALSE(ini.Write("S", "A=B", "x"));
  EXPECT_FALSE(ini.Write("S", ";K", "x"));
  EXPECT_FALSE(ini.Write("S", "[K", "x"));
  EXPECT_FALSE(ini.Write("S", "", "x"));
  EXPECT_FALSE(ini.Write("S]", "K", "x"));
  EXPECT_FALSE(ini.Write("S", "K", "\xFF\xFE"));
  EXPECT_EQ(ini.ToBytes(), "[S]\r\nK=old\r\n");
}

TEST(IniFileWrite, DeleteKeyRemovesEveryOccurrence) {
  TIniFile ini = TIniFile::FromBytes("[Digitizers]\r\nA=1\r\nB=2\r\na=3\r\n[Other]\r\nA=4\r\n");
  ini.DeleteKey("digitizers", "A");
  EXPECT_EQ(ini.ToBytes(), "[Digitizers]\r\nB=2\r\n[Other]\r\nA=4\r\n");
}

TEST(IniFileEncoding, Windows1252FilesRoundTripByteForByte) {
  // "é" and a byte the code page leaves undefined: not valid UTF-8, so read as Windows-1252.
  const std::string bytes = "[Radiograph]\r\nDefault Name=Jos\xE9 \x81\r\n";
  TIniFile ini = TIniFile::FromBytes(bytes);
  EXPECT_EQ(ini.Read("Radiograph", "Default Name"), "Jos\xC3\xA9 \xC2\x81");
  EXPECT_EQ(ini.ToBytes(), bytes);
}

TEST(IniFileEncoding, Utf8IsReadAndKeptWhenWindows1252CannotHoldIt) {
  TIniFile fits = TIniFile::FromBytes("[General]\r\nBMP Path=/home/j\xC3\xBCrgen\r\n");
  EXPECT_EQ(fits.Read("General", "BMP Path"), "/home/j\xC3\xBCrgen");
  EXPECT_EQ(fits.ToBytes(), "[General]\r\nBMP Path=/home/j\xFCrgen\r\n");

  const std::string greek = "[General]\r\nBMP Path=/home/\xCE\xB1\r\n";
  TIniFile wide = TIniFile::FromBytes(greek);
  EXPECT_EQ(wide.Read("General", "BMP Path"), "/home/\xCE\xB1");
  EXPECT_EQ(wide.ToBytes(), greek);
}

TEST(IniFileStorage, LoadDistinguishesMissingFromUnreadable) {
  TTempFolder folder;
  TIniFile ini;
  EXPECT_EQ(ini.Load(folder.File("none.ini")), TIniLoadResult::Missing);
  EXPECT_EQ(ini.Load(folder.Path().string()), TIniLoadResult::Unreadable);
  WriteBytes(folder.File("a.ini"), "[A]\nK=V\n");
  EXPECT_EQ(ini.Load(folder.File("a.ini")), TIniLoadResult::Loaded);
  EXPECT_EQ(ini.Read("a", "k"), "V");
}

TEST(IniFileStorage, SaveReplacesTheFileAndLeavesNoTemporaryFiles) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path, "[A]\nK=old\n");
  ::chmod(path.c_str(), 0640);
  TIniFile ini;
  ASSERT_EQ(ini.Load(path), TIniLoadResult::Loaded);
  ASSERT_TRUE(ini.Write("A", "K", "new"));
  ASSERT_TRUE(ini.Save(path).Ok);
  EXPECT_EQ(ReadBytes(path), "[A]\r\nK=new\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"lumacet.ini"});
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace lumacet
