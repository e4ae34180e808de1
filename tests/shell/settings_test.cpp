#include "shell/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <string>

#include "shell/temp_folder.h"

namespace lumacet {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every field moved away from its default to a value the file can hold exactly.
TSettings EveryFieldChanged() {
  TSettings s = TSettings::Defaults("/data");
  auto& g = s.General;
  g.AutoSaveAndAdvance = true;
  g.Remind = {false, true, false};
  g.DigitizeCursor = "/usr/share/cursors/pen.cur";
  g.Language = "de";
  g.MorphQuality = 2;
  g.WarpFunction = 3;
  g.MorphParam1 = 150;
  g.MorphParam2 = 7;
  g.MorphParam3 = 12.5;
  g.MorphParam4 = 1200;
  g.MorphBlockSize = 64;
  g.AdaptiveSize = 25;
  g.LevelsCutoff = 9;
  g.AutoVto = true;
  g.AutoEdgeLock = 1;
  g.LockTracing = true;
  g.AnalysisOn = false;
  g.AnalysisMode = 2;
  g.Compatibility = true;
  g.LcrPath = "/types";
  g.CsvPath = "/records";
  g.BmpPath = "/images";
  g.ResultsPath = "/results";
  g.ResultsDelimiter = 3;
  g.InputDevice = 1;
  g.AutoDetectResolution = false;
  g.AutoCenterDigitizing = false;
  g.ShowHintGraphic = false;
  g.NotAvailable = "--";
  g.DicomWindowAdjust = false;
  g.DicomPatientData = 2;
  g.Multiscan = 4;
  g.NoiseReduction = 1;
  g.BmpScaleX = 0.125;
  g.BmpScaleY = 12.345;
  g.IconAreaWidth = 180;
  g.MainWindowRect = "10 20 800 600";
  g.RecentFiles = {"/data/PATIENT.CSV", "/data/lateral ceph.lcr", "", "", "", "", "", "/data/last.csv"};

  auto& w = s.View;
  w.GridDensity = 33;
  w.SnapMovements = false;
  w.ViewGrid = false;
  w.GridColour = 0x123456;
  w.ViewPage = {true, false, true};
  w.RulerSide = 3;
  w.RulerColour = 0x00FF00;
  w.RulerTicks = false;
  w.NormalMarker = {0x010203, 0x040506, 6, "Triangle"};
  w.HandleMarker = {0x070809, 0x0A0B0C, 7, "Circle"};
  w.SnakeMarker = {0x0D0E0F, 0x101112, 8, "image"};
  w.HandleNames = false;
  w.VariableHints = false;
  w.DeviationFromMean = 1;
  w.FontTransparent = false;
  w.FontOutline = false;
  w.FontOutlineColour = 0x202020;
  for (int i = 0; i < 8; ++i) w.DeviationColour[i] = 0x100000 * static_cast<uint32_t>(i + 1) + 7;
  w.FontName = "DejaVu Sans";
  w.FontSize = 11;
  w.FontCharset = 0;
  w.FontBold = true;
  w.FontItalic = true;
  w.Toolbars = {{"Standard", false, true, 12, -4}, {"Tools", true, false, 0, 30}};

  auto& r = s.Radiograph;
  r.Title = 7;
  r.AgeFormat = 4;
  for (int i = 0; i < kPositionCount; ++i) r.PositionPens[i] = {static_cast<uint32_t>(i * 1000), i % 6, i};
  r.DrawingStyle = 2;
  r.DefaultType = "Lateral";
  r.DefaultName = "Mustermann, Erika";
  r.DefaultComments = "first visit";
  r.DefaultDob = "1/2/2003";
  r.DefaultDateTaken = "4/5/2016";
  r.DefaultMagnification = "8.5";
  r.DefaultSex = false;
  r.DefaultFile = "CLINIC.CSV";
  r.DefaultRemember = false;
  r.BestFitOnLoading = false;
  r.BestFitOnSelecting = false;
  r.SortFitOnLoading = true;
  r.AutoOrientate = false;
  r.ShowLifeSize = true;
  r.FullRedrawMove = false;
  r.TextFormat = 3;
  r.TextWordWrap = true;
  r.TextLayout = {10, 20, 30, 40, 50};

  auto& p = s.Print;
  p.UseDefaultStyle = true;
  p.DeviationFromMean = 2;
  p.TextFormat = 2;
  p.PrintTracing = false;
  p.PrintTextAnalysis = false;
  p.PrintExtendedAnalysis = false;
  p.AllTracings = false;
  p.AllAnalyses = true;
  p.TracingPortrait = true;
  p.TextPortrait = false;
  p.TracingLeftMargin = 0.25;
  p.TracingRightMargin = 0.75;
  p.TracingTopMargin = 1.5;
  p.TracingBottomMargin = 0.01;
  p.TracingRotationPoint = true;
  p.LeftMargin = 0.39;
  p.RightMargin = 0.41;
  p.TopMargin = 2;
  p.BottomMargin = 0;
  p.HeaderMargin = 0.3;
  p.TracingMargin = 0.6;
  p.TracingHeaderMargin = 0.7;
  p.TracingFooterMargin = 0.8;
  p.TracingWidth = 6.5;
  p.TracingHeight = 9.25;
  p.TextTracingZoom = 0.5;
  p.TracingZoom = 1.25;
  p.TracingPage = {100, -200};
  p.TracingTextPage = {-3, 4};
  p.TracingPosition = 8;
  p.TracingShow = true;
  p.TracingOverlap = true;
  p.PageHeader = "@n @d";
  p.PageFooter = "Page @p";
  p.PageHeaderPosition = 0;
  p.PageFooterPosition = 2;
  p.TracingHeader = "@b";
  p.TracingFooter = "@c";
  p.TracingHeaderPosition = 2;
  p.TracingFooterPosition = 1;

  auto& e = s.ExtAnalysis;
  e.TracingExtPage = {5, 6};
  e.HeaderData = {2, -1, 3, -4, 5, 7, -6};
  e.HeaderCaptions = {"A: ", "", "C, with comma", "D", " E", "F \"quoted\"", "G: "};
  e.ComparisonCaption = "Between: ";
  e.Intervals = 1;
  e.ArrangeHeaders = 2;
  e.GroupHeaders = false;
  e.PageOrientation = 0;
  e.PageHeader = "Clinic";
  e.PageFooter = "@p";
  e.PageHeaderPos = 0;
  e.PageFooterPos = 1;
  e.ViewOption = 2;
  e.TracingPos = 0;
  e.TracingBox = false;
  e.MeasurementsAlter = false;
  e.VariablesAlter = false;
  e.XRaysAlter = true;
  e.VariablesShowValue = false;
  e.XRaysShowValue = false;
  e.VariablesBreak = false;
  e.VariablesKeepSpace = true;
  e.XRaysBreak = false;
  e.MeasurementsGrid = 3;
  e.VariablesGrid = 0;
  e.VariablesBarHeight = 10;
  e.VariablesStDev = 6;
  e.VariablesSpacing = 10;
  e.VariablesLineSpacing = 20;
  e.XRaysGrid = 1;
  e.XRaysBarHeight = 1;
  e.XRaysStDev = 1;
  e.XRaysLineSpacing = 70;
  e.SectionHeadings = {"Dr. X@#Clinic", "T", "M", "", "R"};
  for (auto* colours : {&e.MeasurementsBackColour, &e.XRaysBackColour})
    for (size_t i = 0; i < colours->size(); ++i) (*colours)[i] = static_cast<uint32_t>(0x010101 * (i + 1));
  for (size_t i = 0; i < 4; ++i) {
    e.CephColour[i] = static_cast<uint32_t>(0x020202 * (i + 1));
    e.VariablesBackColour[i] = static_cast<uint32_t>(0x030303 * (i + 1));
  }
  e.Style = {1, 3, 5, 7, 12};
  e.HeaderStyle = {12, 11, 10, 9, 8};
  e.PageMargin = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  e.TracingWidth = 3.15;
  e.TracingHeight = 2.5;
  e.TracingZoom = 0.75;
  e.Sections = {5, 0, 5, 1};

  auto& o = s.Ole;
  o.ExcelStart = 2;
  o.ExcelCol = 256;
  o.ExcelRow = 32767;
  o.ExcelVarNames = false;
  o.ExcelNormals = false;
  o.ExcelSkipLabels = false;
  o.ExcelFile = "/docs/results.xlsx";
  o.WordVarNames = false;
  o.WordNormals = false;
  o.WordSkipLabels = false;
  o.PptStart = 1;
  o.PptFile = "/docs/talk.odp";
  o.PptSlide = 256;

  for (int i = 0; i < kTextStyleCount; ++i) {
    TTextStyle& t = s.Styles[i];
    t.FontName = "Font " + std::to_string(i);
    t.Size = 8 + i;
    t.Pitch = TFontPitch::Fixed;
    t.Bold = i % 2 == 0;
    t.Italic = true;
    t.Underline = i % 3 == 0;
    t.StrikeOut = i % 4 == 0;
    t.Colour = i % 2 ? 0x0000FF : 0x123456;
    t.Alignment = i % 2 ? TTextAlignment::Right : TTextAlignment::Center;
    t.FirstIndent = i;
    t.LeftIndent = 200;
    t.RightIndent = 199 - i;
    t.ShowAsterisks = true;
    t.UseVariableColour = false;
    t.Charset = 238;
  }
  return s;
}

TEST(SettingsLoad, MissingFileLeavesTheDefaults) {
  TTempFolder folder;
  TSettings settings = TSettings::Defaults("/data");
  EXPECT_FALSE(settings.Load(folder.File("lumacet.ini")));
  EXPECT_EQ(settings, TSettings::Defaults("/data"));
  EXPECT_EQ(settings.General.CsvPath, "/data");
  EXPECT_EQ(settings.View.GridDensity, 20);
  EXPECT_EQ(settings.View.GridColour, 8421504u);
  EXPECT_EQ(settings.View.HandleMarker.Shape, "Diamond");
  EXPECT_EQ(settings.Radiograph.DefaultFile, "PATIENT.CSV");
  EXPECT_EQ(settings.Radiograph.PositionPens[4].Colour, 16776960u);
  EXPECT_EQ(settings.General.MorphParam3, 8.0);
}

TEST(SettingsSave, WritesTheFileFormsOfTheDefaults) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  ASSERT_TRUE(TSettings::Defaults("/data").Save(path).Ok);
  std::string text = ReadBytes(path);
  for (const char* line :
       {"[General]\r\nAutoSaveAndAdvance=0\r\nRemind=1 1 1\r\n", "\r\nMorph Param 3=80\r\n", "\r\nBMP Scale X=3.9\r\n",
        "\r\nGrid Color=8421504\r\n", "\r\nDeviation Color -3=255\r\n", "\r\nDeviation Color 4=0\r\n",
        "\r\nPosition Style 0=255 0 0\r\n", "\r\nDefault DOB=31/12/70\r\n",
        "\r\nText Layout=200, 300, 100, 100, 100\r\n", "\r\nTop Margin=1\r\n", "\r\nTracing Page=0 0\r\n",
        "\r\nComparison Caption=\"Time differences: \"\r\n", "\r\nPage Margin 0=0.39\r\n",
        "\r\nSections=1 2 0 3 0 4 0 5\r\n", "\r\nPPT Slide=0\r\n",
        "[Styles]\r\nStyle 1=Arial,10,Default,,Black,Left,0,0,0,0,1,1\r\n"})
    EXPECT_TRUE(Contains(text, line)) << line;
}

TEST(SettingsSave, EveryKeyRoundTrips) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  const TSettings written = EveryFieldChanged();
  TSettingsSaveResult result = written.Save(path);
  ASSERT_TRUE(result.Ok) << result.Reason;

  TSettings read = TSettings::Defaults("/data");
  ASSERT_TRUE(read.Load(path));
  EXPECT_EQ(read.General, written.General);
  EXPECT_EQ(read.View, written.View);
  EXPECT_EQ(read.Radiograph, written.Radiograph);
  EXPECT_EQ(read.Print, written.Print);
  EXPECT_EQ(read.ExtAnalysis, written.ExtAnalysis);
  EXPECT_EQ(read.Ole, written.Ole);
  EXPECT_EQ(read.Styles, written.Styles);

  // A second save over the first changes nothing.
  std::string first = ReadBytes(path);
  ASSERT_TRUE(read.Save(path).Ok);
  EXPECT_EQ(ReadBytes(path), first);
}

TEST(SettingsSave, KeepsForeignSectionsKeysAndComments) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path,
             "; practice settings\n"
             "[general]\n"
             "Language=DEU\n"
             "grid density=5\n"
             "[Password]\n"
             "Admin=pbkdf2$abc\n"
             "[Permissions]\n"
             "User=OpenType NewType\n"
             "[Digitizers]\n"
             "Generic=FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0\n"
             "[Digitizer]\n"
             "digitizer=Generic\n");
  TSettings settings = TSettings::Defaults("/data");
  ASSERT_TRUE(settings.Load(path));
  ASSERT_TRUE(settings.Save(path).Ok);
  std::string text = ReadBytes(path);
  EXPECT_EQ(
      text.rfind("; practice settings\r\n[general]\r\nLanguage=DEU\r\ngrid density=5\r\nAutoSaveAndAdvance=0\r\n", 0),
      0u)
      << "a key of another section stays where it was, ours follow it";
  EXPECT_TRUE(
      Contains(text,
               "\r\n[Password]\r\nAdmin=pbkdf2$abc\r\n[Permissions]\r\nUser=OpenType NewType\r\n[Digitizers]\r\n"
               "Generic=FxxxxxSSyyyyySCL, COM2, 9600, Even, 8, 2, 3000.0, 0.0\r\n[Digitizer]\r\ndigitizer=Generic\r\n"
               "\r\n[View]\r\nGrid Density=20\r\n"))
      << text;
}

TEST(SettingsLoad, NamesAreCaseInsensitiveAndQuotesAreStripped) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path,
             "[VIEW]\n"
             "  grid DENSITY = 40 \n"
             "Grid Density=41\n"
             "FONT NAME=\"  Wide Font  \"\n"
             "[radiograph]\n"
             "default file='CLINIC.CSV'\n");
  TSettings settings;
  ASSERT_TRUE(settings.Load(path));
  EXPECT_EQ(settings.View.GridDensity, 40);
  EXPECT_EQ(settings.View.FontName, "  Wide Font  ");
  EXPECT_EQ(settings.Radiograph.DefaultFile, "CLINIC.CSV");
}

TEST(SettingsLoad, ValuesThatDoNotReadKeepTheirDefaults) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path,
             "[General]\n"
             "Morph Param 3=125\n"
             "Morph Param 1=0\n"
             "Warp Function=x\n"
             "Analysis On=yes\n"
             "Lock Tracing=7\n"
             "BMP Scale X=0\n"
             "BMP Scale Y=3,5\n"
             "Noise Reduction=3\n"
             "[View]\n"
             "Grid Color=-16777208\n"
             "Ruler Color=16777216\n"
             "Deviation Color 0=65280\n"
             "[Radiograph]\n"
             "Title=8\n"
             "Default Magnification=-100\n"
             "Position Style 2=32768 9 2\n"
             "Text Layout=50, x, 70\n"
             "[Print]\n"
             "Tracing Zoom=-1\n"
             "Left Margin=0.25\n"
             "Tracing Page=12\n"
             "[ExtAnalysis]\n"
             "Sections=1 2 9\n"
             "Header Captions=\"First: \",Second\n");
  TSettings settings;
  ASSERT_TRUE(settings.Load(path));
  const TSettings defaults;
  EXPECT_EQ(settings.General.MorphParam3, 12.5);
  EXPECT_EQ(settings.General.MorphParam1, 100);
  EXPECT_EQ(settings.General.WarpFunction, 0);
  EXPECT_TRUE(settings.General.AnalysisOn);
  EXPECT_TRUE(settings.General.LockTracing) << "any number but 0 is on";
  EXPECT_EQ(settings.General.BmpScaleX, 3.9);
  EXPECT_EQ(settings.General.BmpScaleY, 3.9);
  EXPECT_EQ(settings.General.Multiscan, 3) << "central averaging needs three scans";
  EXPECT_EQ(settings.View.GridColour, defaults.View.GridColour);
  EXPECT_EQ(settings.View.RulerColour, defaults.View.RulerColour);
  EXPECT_EQ(settings.View.DeviationColour[3], 65280u);
  EXPECT_EQ(settings.Radiograph.Title, 0);
  EXPECT_EQ(settings.Radiograph.DefaultMagnification, "10");
  EXPECT_EQ(settings.Radiograph.PositionPens[2], (TPositionPen{32768, 0, 0})) << "fields after a bad one keep theirs";
  EXPECT_EQ(settings.Radiograph.TextLayout, (std::array<int, 5>{50, 300, 100, 100, 100}));
  EXPECT_EQ(settings.Print.TracingZoom, 1);
  EXPECT_EQ(settings.Print.LeftMargin, 0.25);
  EXPECT_EQ(settings.Print.TracingPage, (TPageOffset{12, 0}));
  EXPECT_EQ(settings.ExtAnalysis.Sections, defaults.ExtAnalysis.Sections);
  EXPECT_EQ(settings.ExtAnalysis.HeaderCaptions[0], "First: ");
  EXPECT_EQ(settings.ExtAnalysis.HeaderCaptions[1], "Second");
  EXPECT_EQ(settings.ExtAnalysis.HeaderCaptions[2], "Sex: ");
}

// A value no line of the file can store again (a NUL, a lone CR) would make every later save
// fail: it is dropped with a message naming it, and the rest reads and saves as before.
TEST(SettingsLoad, ValuesHoldingANulOrACarriageReturnAreDroppedAndTheRestStillSaves) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path, std::string("[General]\nCSV Path=/da\0ta\nLCR Path=/types\n[Print]\nPage Header=one\rtwo\n"
                               "Page Footer=Clinic\n", 89));
  TSettings settings = TSettings::Defaults("/home");
  TText dropped;
  ASSERT_TRUE(settings.Load(path, &dropped));
  EXPECT_EQ(dropped.English(), "These settings in " + path +
                                   " held characters a settings file cannot store and keep their defaults: "
                                   "General/CSV Path, Print/Page Header");
  EXPECT_EQ(settings.General.CsvPath, "/home");
  EXPECT_EQ(settings.General.LcrPath, "/types");
  EXPECT_EQ(settings.Print.PageHeader, TSettings().Print.PageHeader);
  EXPECT_EQ(settings.Print.PageFooter, "Clinic");
  settings.Print.PageFooter = "Clinic 2";
  ASSERT_TRUE(settings.Save(path).Ok);
  TSettings read;
  ASSERT_TRUE(read.Load(path, &dropped));
  EXPECT_TRUE(dropped.Empty());
  EXPECT_EQ(read.Print.PageFooter, "Clinic 2");
  EXPECT_EQ(read.General.CsvPath, "/home");
}

TEST(SettingsLoad, DefaultMagnificationAcceptsEitherDecimalSeparator) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path, "[Radiograph]\nDefault Magnification=12,5\n");
  TSettings settings;
  ASSERT_TRUE(settings.Load(path));
  EXPECT_EQ(settings.Radiograph.DefaultMagnification, "12,5");
}

TEST(TextStyle, ParsesPositionallyAndKeepsMissingFields) {
  TTextStyle style;
  style.Colour = 0x123456;
  style.Charset = 161;
  ParseTextStyle("Times New Roman,12,Variable,Bold Italic ,Navy,Center,5,10,15,1,0", style);
  EXPECT_EQ(style.FontName, "Times New Roman");
  EXPECT_EQ(style.Size, 12);
  EXPECT_EQ(style.Pitch, TFontPitch::Variable);
  EXPECT_TRUE(style.Bold && style.Italic && !style.Underline && !style.StrikeOut);
  EXPECT_EQ(style.Colour, 0x800000u);
  EXPECT_EQ(style.Alignment, TTextAlignment::Center);
  EXPECT_EQ(style.FirstIndent, 5);
  EXPECT_EQ(style.LeftIndent, 10);
  EXPECT_EQ(style.RightIndent, 15);
  EXPECT_TRUE(style.ShowAsterisks);
  EXPECT_FALSE(style.UseVariableColour);
  EXPECT_EQ(style.Charset, 161) << "a missing trailing field keeps its value";

  TTextStyle shortStyle;
  ParseTextStyle("Courier,9", shortStyle);
  TTextStyle expected;
  expected.FontName = "Courier";
  expected.Size = 9;
  EXPECT_EQ(shortStyle, expected);
}

TEST(TextStyle, ABadFieldEndsTheParseButAnUnknownColourDoesNot) {
  TTextStyle stopped;
  ParseTextStyle("Verdana,11,Fixed,Bold Heavy ,Red,Right", stopped);
  EXPECT_EQ(stopped.FontName, "Verdana");
  EXPECT_EQ(stopped.Pitch, TFontPitch::Fixed);
  EXPECT_FALSE(stopped.Bold) << "the font styles field did not read";
  EXPECT_EQ(stopped.Colour, kColourBlack);
  EXPECT_EQ(stopped.Alignment, TTextAlignment::Left);

  TTextStyle indent;
  ParseTextStyle("Verdana,11,Default,,Red,Left,201,4", indent);
  EXPECT_EQ(indent.Colour, 0x0000FFu);
  EXPECT_EQ(indent.FirstIndent, 0);
  EXPECT_EQ(indent.LeftIndent, 0);

  TTextStyle unknown;
  unknown.Colour = 0x00AA00;
  ParseTextStyle("Verdana,11,Default,,clPink,Right,3", unknown);
  EXPECT_EQ(unknown.Colour, 0x00AA00u);
  EXPECT_EQ(unknown.Alignment, TTextAlignment::Right);
  EXPECT_EQ(unknown.FirstIndent, 3);
}

TEST(TextStyle, ColoursWithoutANameAreWrittenAsNumbers) {
  TTextStyle style;
  style.Colour = 0x336699;
  style.Underline = style.StrikeOut = true;
  std::string text = FormatTextStyle(style);
  EXPECT_EQ(text, "Arial,10,Default,Underline StrikeOut ,3368601,Left,0,0,0,0,1,1");
  TTextStyle back;
  ParseTextStyle(text, back);
  EXPECT_EQ(back, style);
}

TEST(ColourNames, NamesAndValues) {
  EXPECT_EQ(ColourFromName("Black"), 0x000000u);
  EXPECT_EQ(ColourFromName("maroon"), 0x000080u);
  EXPECT_EQ(ColourFromName("Red"), 255u);
  EXPECT_EQ(ColourFromName("Green"), 32768u);
  EXPECT_EQ(ColourFromName("Blue"), 16711680u);
  EXPECT_EQ(ColourFromName("FUCHSIA"), 0xFF00FFu);
  EXPECT_EQ(ColourFromName("SkyBlue"), 0xF0CAA6u);
  EXPECT_EQ(ColourFromName("clRed"), std::nullopt);
  EXPECT_EQ(ColourFromName("Pink"), std::nullopt);
  EXPECT_EQ(ColourName(0xFFFFFF), "White");
  EXPECT_EQ(ColourName(0x808080), "Gray");
  EXPECT_EQ(ColourName(0x808081), "");
}

TEST(SettingsView, ToolbarsKeepTheirCaptionsAndDefaultToVisibleAnchored) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  WriteBytes(path, "[View]\nStandard Toolbar=Hidden Floating 40 -8\nTools toolbar=Visible Sideways 1 1\n");
  TSettings settings;
  ASSERT_TRUE(settings.Load(path));
  EXPECT_EQ(settings.View.Toolbar("standard"), (TToolbarSetting{"Standard", false, true, 40, -8}));
  EXPECT_EQ(settings.View.Toolbar("Tools"), (TToolbarSetting{"Tools", true, false, 0, 0}));
  EXPECT_EQ(settings.View.Toolbar("Morph"), (TToolbarSetting{"Morph", true, false, 0, 0}));

  settings.View.SetToolbar({"Morph", true, true, 5, 6});
  ASSERT_TRUE(settings.Save(path).Ok);
  std::string text = ReadBytes(path);
  EXPECT_TRUE(Contains(text, "\r\nStandard Toolbar=Hidden Floating 40 -8\r\n"));
  EXPECT_TRUE(Contains(text, "\r\nTools toolbar=Visible Anchored 0 0\r\n"));
  EXPECT_TRUE(Contains(text, "\r\nMorph Toolbar=Visible Floating 5 6\r\n"));
}

TEST(SettingsSave, RealsUseAPointWhateverTheLocale) {
  std::string previous = std::setlocale(LC_ALL, nullptr);
  bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  TSettings written;
  written.General.BmpScaleX = 4.125;
  written.Print.LeftMargin = 0.39;
  TSettingsSaveResult result = written.Save(path);
  TSettings read;
  bool loaded = read.Load(path);
  std::setlocale(LC_ALL, previous.c_str());

  ASSERT_TRUE(result.Ok);
  ASSERT_TRUE(loaded);
  std::string text = ReadBytes(path);
  EXPECT_TRUE(Contains(text, "\r\nBMP Scale X=4.125\r\n"));
  EXPECT_TRUE(Contains(text, "\r\nLeft Margin=0.39\r\n"));
  EXPECT_EQ(read.General.BmpScaleX, 4.125);
  EXPECT_EQ(read.Print.LeftMargin, 0.39);
  if (!comma) GTEST_SKIP() << "no de_DE.UTF-8 locale here; checked under the environment's locale only";
}

TEST(SettingsSave, FailureGivesTheMessageAndLeavesTheFile) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  const std::string original = "[General]\r\nLanguage=DEU\r\n";

  // Text the file cannot hold refuses the whole save.
  WriteBytes(path, original);
  TSettings settings;
  settings.Print.PageHeader = "two\nlines";
  TSettingsSaveResult refused = settings.Save(path);
  EXPECT_FALSE(refused.Ok);
  EXPECT_EQ(refused.Message.English(), "File Error.\r\nLumacet settings could not be saved.");
  EXPECT_EQ(ReadBytes(path), original);

  // A folder that cannot be made.
  TSettingsSaveResult noFolder = TSettings().Save(folder.File("lumacet.ini/sub/lumacet.ini"));
  EXPECT_FALSE(noFolder.Ok);
  EXPECT_EQ(noFolder.Message.English(), "File Error.\r\nLumacet settings could not be saved.");
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"lumacet.ini"});
}

TEST(SettingsSave, ReadOnlyFileIsRefusedAndUnchanged) {
  TTempFolder folder;
  std::string path = folder.File("lumacet.ini");
  const std::string original = "[General]\r\nLanguage=DEU\r\n";
  WriteBytes(path, original);
  ::chmod(path.c_str(), 0444);
  TSettingsSaveResult result = TSettings().Save(path);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message.English(), "File Error.\r\nLumacet settings could not be saved.");
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"lumacet.ini"});
}

TEST(SettingsSave, CreatesTheConfigFolderAndLeavesNoTemporaryFiles) {
  TTempFolder folder;
  std::string path = folder.File("config/lumacet/lumacet.ini");
  ASSERT_TRUE(TSettings().Save(path).Ok);
  ASSERT_TRUE(TSettings().Save(path).Ok);
  std::vector<std::string> names;
  for (auto& entry : std::filesystem::directory_iterator(folder.Path() / "config/lumacet"))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"lumacet.ini"});
}

TEST(Settings, ARecentFileComesFirstOnceAndTheOldestMakesRoom) {
  TGeneralSettings general;
  for (int i = 1; i <= 9; ++i) RememberRecentFile(general, "f" + std::to_string(i));
  EXPECT_EQ(general.RecentFiles, (std::array<std::string, 8>{"f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2"}));
  RememberRecentFile(general, "f5");
  EXPECT_EQ(general.RecentFiles, (std::array<std::string, 8>{"f5", "f9", "f8", "f7", "f6", "f4", "f3", "f2"}));
  RememberRecentFile(general, "");
  EXPECT_EQ(general.RecentFiles.front(), "f5");

  TGeneralSettings fresh;
  RememberRecentFile(fresh, "a");
  RememberRecentFile(fresh, "b");
  RememberRecentFile(fresh, "a");
  EXPECT_EQ(fresh.RecentFiles, (std::array<std::string, 8>{"a", "b", "", "", "", "", "", ""}));
}

TEST(Settings, ResetRemindersTurnsAllOn) {
  TSettings settings;
  settings.General.Remind = {false, true, false};
  EXPECT_EQ(settings.ResetReminders().English(), "All reminders now set to ON.");
  EXPECT_EQ(settings.General.Remind, (std::array<bool, 3>{true, true, true}));
}

TEST(DefaultSettingsPath, PortableFileBesideTheProgramElseXdgConfig) {
  TTempFolder folder;
  std::filesystem::create_directories(folder.Path() / "bin");
  std::string exe = folder.File("bin/lumacet");
  auto env = [](const char* xdg, const char* home) {
    return [=](const char* name) -> const char* {
      if (std::string(name) == "XDG_CONFIG_HOME") return xdg;
      if (std::string(name) == "HOME") return home;
      return nullptr;
    };
  };

  EXPECT_EQ(DefaultSettingsPath(exe, env("/xdg", "/home/u")), "/xdg/lumacet/lumacet.ini");
  EXPECT_EQ(DefaultSettingsPath(exe, env(nullptr, "/home/u")), "/home/u/.config/lumacet/lumacet.ini");
  EXPECT_EQ(DefaultSettingsPath(exe, env("relative/dir", "/home/u")), "/home/u/.config/lumacet/lumacet.ini");
  EXPECT_EQ(DefaultSettingsPath(exe, env("", "/home/u")), "/home/u/.config/lumacet/lumacet.ini");

  std::string beside = folder.File("bin/lumacet.ini");
  EXPECT_EQ(DefaultSettingsPath(exe, env(nullptr, nullptr)), beside) << "no other place to go";
  WriteBytes(beside, "");
  EXPECT_EQ(DefaultSettingsPath(exe, env("/xdg", "/home/u")), beside);
  if (::geteuid() != 0) {
    ::chmod(beside.c_str(), 0444);
    EXPECT_EQ(DefaultSettingsPath(exe, env("/xdg", "/home/u")), "/xdg/lumacet/lumacet.ini");
  }
}

}  // namespace
}  // namespace lumacet
