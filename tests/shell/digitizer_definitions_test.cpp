// The tablet definitions of the settings: added, deleted and chosen as the options page does
// it, and written to the settings file so that a deleted definition leaves it.
#include <gtest/gtest.h>

#include "digitize/digitizer.h"
#include "shell/ini_file.h"
#include "shell/settings.h"

namespace lumacet {
namespace {

TEST(DigitizerDefinitions, AddDeleteAndTheDefault) {
  TDigitizerDefinitions definitions;
  EXPECT_EQ(definitions.DefaultSettings().Text().English(),
            "Could not initialize Digitizer data from .INI file.\r\n\r\nDigitizer cannot be used.");
  ASSERT_TRUE(definitions.Add("Generic"));
  ASSERT_NE(definitions.Find("GENERIC"), nullptr);
  EXPECT_EQ(*definitions.Find("generic"), TDigitizer::DefaultSettings());
  for (const char* taken : {"Generic", "generic"})
    EXPECT_EQ(definitions.Add(taken).Text().English(), "Digitizer already installed\r\n\r\nPlease use another name.");
  for (const char* unstorable : {"", " Calcomp", "A=B", "[Tablet", ";x", "two\nlines"}) EXPECT_FALSE(definitions.Add(unstorable));
  ASSERT_TRUE(definitions.Add("Calcomp"));

  definitions.Default = "Calcomp";
  EXPECT_EQ(*definitions.DefaultSettings(), TDigitizer::DefaultSettings());
  EXPECT_EQ(definitions.Delete("calcomp").Text().English(), "Cannot Delete the Default Digitizer.");
  ASSERT_TRUE(definitions.Delete("Generic"));
  EXPECT_EQ(definitions.Entries.size(), 1u);

  // A default whose definition is gone, or empty, cannot be used.
  definitions.Store("Calcomp", "  ");
  EXPECT_FALSE(definitions.DefaultSettings());
  definitions.Default = "Summa";
  EXPECT_FALSE(definitions.DefaultSettings());
}

TEST(DigitizerDefinitions, TheSettingsFileHoldsExactlyTheDefinitions) {
  TIniFile ini = TIniFile::FromBytes(
      "[Digitizers]\r\nGeneric=FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0\r\n"
      "Old=WinTAB, xy, COM1, 9600, None, 8, 1, 10.0, 0.0\r\n[Digitizer]\r\ndigitizer=Old\r\n");
  TSettings settings;
  settings.Read(ini);
  EXPECT_EQ(settings.Digitizers.Default, "Old");
  ASSERT_EQ(settings.Digitizers.Entries.size(), 2u);
  EXPECT_EQ(settings.Digitizers.Entries[1].second, "WinTAB, xy, COM1, 9600, None, 8, 1, 10.0, 0.0");

  settings.Digitizers.Default = "Generic";
  ASSERT_TRUE(settings.Digitizers.Delete("Old"));
  settings.Digitizers.Store("Pen", "xxyy, /dev/ttyUSB0, 19200, Odd, 7, 1, 40.0, 0.0, <ESC>B");
  std::string failed;
  ASSERT_TRUE(settings.Write(ini, failed)) << failed;
  EXPECT_EQ(ini.Keys("Digitizers"), (std::vector<std::string>{"Generic", "Pen"}));
  TSettings again;
  again.Read(ini);
  EXPECT_EQ(again.Digitizers, settings.Digitizers);
}

}  // namespace
}  // namespace lumacet
