// The user's preferences: one record that every subsystem reads, filled from the settings
// file at start-up and written back at exit. Sections and keys that belong to others
// (passwords, permissions) stay in the file untouched.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/drawing_style.h"
#include "graphics/print_settings.h"
#include "measure/text_style.h"
#include "shell/digitizer_definitions.h"
#include "simulation/morph.h"
#include "support/marked_text.h"

namespace lumacet {

class TIniFile;

// The comma-separated form of a style in the file. Parsing is positional: fields that are
// missing keep the style's current values, and a field that does not read ends the parse
// with the fields before it applied. An unknown colour name leaves the colour as it is.
void ParseTextStyle(std::string_view text, TTextStyle& style);
std::string FormatTextStyle(const TTextStyle& style);

// The colour identifiers of the settings file ("Black", "Maroon", ... without their "cl"
// prefix), compared case-insensitively.
std::optional<uint32_t> ColourFromName(std::string_view name);
// Empty when the colour has no identifier.
std::string ColourName(uint32_t colour);

struct TToolbarSetting {
  std::string Caption;  // the key is the caption followed by " Toolbar"
  bool Visible = true;
  bool Floating = false;
  int X = 0;
  int Y = 0;

  bool operator==(const TToolbarSetting&) const = default;
};

struct TGeneralSettings {
  bool AutoSaveAndAdvance = false;
  std::array<bool, 3> Remind = {true, true, true};
  std::string DigitizeCursor;
  int MorphQuality = 1;      // 0 low, 1 medium, 2 high
  int WarpFunction = 0;      // 0..3
  int MorphParam1 = 100;     // 1..200
  int MorphParam2 = 100;     // 1..200
  double MorphParam3 = 8.0;  // in use; the file holds ten times this value
  int MorphParam4 = 400;     // 10..2000
  int MorphBlockSize = 10;   // 2..100
  int AdaptiveSize = 10;     // percent, 5..50
  int LevelsCutoff = 5;      // percent, 0..10
  bool AutoVto = false;
  int AutoEdgeLock = 2;  // 0 none, 1 orientation cursor only, 2 automatic
  bool LockTracing = false;
  bool AnalysisOn = true;
  int AnalysisMode = 0;  // 0 current only, 1 comparative, 2 all
  bool Compatibility = false;
  std::string LcrPath;
  std::string CsvPath;
  std::string BmpPath;
  std::string ResultsPath;
  int ResultsDelimiter = 0;  // 0 tab, 1 comma, 2 space, 3 CR LF
  int InputDevice = 3;       // 0 digitizer, 1 image file, 2 scanner, 3 ask
  bool AutoDetectResolution = true;
  bool AutoCenterDigitizing = true;
  bool ShowHintGraphic = true;
  std::string NotAvailable = "N/A";
  bool DicomWindowAdjust = true;
  int DicomPatientData = 1;  // 0 no, 1 ask first, 2 update
  int Multiscan = 1;         // 1..5
  int NoiseReduction = 0;    // 0 average, 1 median, 2 minimum, 3 central average
  double BmpScaleX = 3.9;    // tenths of a millimetre per pixel
  double BmpScaleY = 3.9;
  int IconAreaWidth = 100;
  std::string MainWindowRect = "Default";  // "Lumacet Rect"
  // The language pack chosen for the next start (shell/language_packs.h); empty: English.
  // The running program keeps the language it started with.
  std::string Language;
  // Section "Recent": the data files and types last opened, newest first, "File 1" to
  // "File 8"; empty entries are unused.
  std::array<std::string, 8> RecentFiles;

  bool operator==(const TGeneralSettings&) const = default;
};

struct TViewSettings {
  int GridDensity = 20;
  bool SnapMovements = true;
  bool ViewGrid = true;
  uint32_t GridColour = 0x808080;
  std::array<bool, 3> ViewPage = {false, false, false};  // tracing, text, extended print areas
  int RulerSide = 1;
  uint32_t RulerColour = 0x0000FF;
  bool RulerTicks = true;
  TMarkerSettings NormalMarker = DefaultSelectionMarker();
  TMarkerSettings HandleMarker{0x0000FF, 0x00FFFF, 5, "Diamond"};
  TMarkerSettings SnakeMarker{0x008000, 0xFF0000, 3, "Circle"};
  bool HandleNames = true;
  bool VariableHints = true;
  int DeviationFromMean = 0;  // 0 in colour, 1 with asterisks, 2 don't show
  bool FontTransparent = true;
  bool FontOutline = true;
  uint32_t FontOutlineColour = kColourWhite;
  // Deviation classes -3..4 at indexes 0..7.
  std::array<uint32_t, 8> DeviationColour = kDefaultDeviationColours;
  std::string FontName = "MS Sans Serif";
  int FontSize = 8;
  int FontCharset = 1;
  bool FontBold = false;
  bool FontItalic = false;
  std::vector<TToolbarSetting> Toolbars;  // in file order

  // The stored state of a toolbar, or the default state when none is stored.
  TToolbarSetting Toolbar(std::string_view caption) const;
  // Stores the state under its caption, replacing an entry of the same caption.
  void SetToolbar(const TToolbarSetting& toolbar);

  bool operator==(const TViewSettings&) const = default;
};

struct TRadiographSettings {
  int Title = 0;      // 0..7
  int AgeFormat = 0;  // 0..4
  std::array<TPositionPen, kPositionCount> PositionPens = kDefaultPositionPens;
  int DrawingStyle = 0;  // 0 as defined, 1 by position, 2 current as defined, others by position
  std::string DefaultType;
  std::string DefaultName;
  std::string DefaultComments;
  // The dates and the magnification stay text as typed; they are read when a new
  // radiograph takes them.
  std::string DefaultDob = "31/12/70";
  std::string DefaultDateTaken = "31/1/97";
  std::string DefaultMagnification = "10";
  bool DefaultSex = true;
  std::string DefaultFile = "PATIENT.CSV";
  bool DefaultRemember = true;
  bool BestFitOnLoading = true;
  bool BestFitOnSelecting = true;
  bool SortFitOnLoading = false;
  bool AutoOrientate = true;
  bool ShowLifeSize = false;
  bool FullRedrawMove = true;
  int TextFormat = 1;
  bool TextWordWrap = false;
  std::array<int, 5> TextLayout = {200, 300, 100, 100, 100};

  bool operator==(const TRadiographSettings&) const = default;
};

struct TOleSettings {
  int ExcelStart = 0;  // 0 current, 1 new, 2 open the file
  int ExcelCol = 1;    // 1..256
  int ExcelRow = 1;    // 1..32767
  bool ExcelVarNames = true;
  bool ExcelNormals = true;
  bool ExcelSkipLabels = true;
  std::string ExcelFile;
  bool WordVarNames = true;
  bool WordNormals = true;
  bool WordSkipLabels = true;
  int PptStart = 0;
  std::string PptFile;
  int PptSlide = 0;  // 0 current slide, 1..256

  bool operator==(const TOleSettings&) const = default;
};

inline constexpr TTextSource kSettingsDroppedMessage =
    LcText("Settings", "These settings in %1 held characters a settings file cannot store and keep their defaults: %2");
inline constexpr TTextSource kSettingsSaveError = LcText("Settings", "File Error.\r\nLumacet settings could not be saved.");
inline constexpr TTextSource kRemindersResetMessage = LcText("Settings", "All reminders now set to ON.");

struct TSettingsSaveResult {
  bool Ok = false;
  TText Message;  // for the user: kSettingsSaveError
  std::string Reason;   // what went wrong underneath, for a log
};

struct TSettings {
  TGeneralSettings General;
  TViewSettings View;
  TRadiographSettings Radiograph;
  TPrintSettings Print;
  TExtAnalysisSettings ExtAnalysis;
  TOleSettings Ole;
  std::array<TTextStyle, kTextStyleCount> Styles;  // "Style 1" at index 0
  TDigitizerDefinitions Digitizers;

  // The built-in defaults, with the type, data, image and results folders set to `folder`.
  static TSettings Defaults(const std::string& folder);

  // Reads the file over the current values: a key that is absent or does not read keeps
  // the value it has. False when there is no file to read; the record is then unchanged.
  // A value holding a NUL or a line break is dropped the same way, since no line of the
  // file could store it again and every later save would fail; `dropped`, when given,
  // then says which keys, and is left empty otherwise.
  bool Load(const std::string& path, TText* dropped = nullptr);
  // Writes every key of the record into the file at `path`, keeping whatever else the file
  // holds, in one atomic replacement. The folder is created when missing. On failure the
  // file is unchanged.
  TSettingsSaveResult Save(const std::string& path) const;
  // Load and Save over a settings file in memory: Read gives "Section/Key" of every value
  // it dropped; Write is false, naming the first key it could not store, when a value
  // cannot stand in a line of the file.
  std::vector<std::string> Read(const TIniFile& ini);
  bool Write(TIniFile& ini, std::string& failedKey) const;

  // "Reset Reminders": turns all three reminders on; the text is what the user is told.
  TText ResetReminders();

  bool operator==(const TSettings&) const = default;
};

// The morph settings as the warp takes them: "Warp Function", "Morph Quality", "Morph Param
// 1..4" and "Morph Block Size", each kept inside its range.
TMorphOptions MorphOptionsFrom(const TSettings& settings);

// Puts `path` first among the recent files, once, dropping the oldest when all are used.
void RememberRecentFile(TGeneralSettings& general, const std::string& path);

// Where the settings live: "lumacet.ini" beside the executable when that file exists and
// can be rewritten there (a portable installation); otherwise
// $XDG_CONFIG_HOME/lumacet/lumacet.ini, with $HOME/.config standing in for an unset or
// relative XDG_CONFIG_HOME. `getEnv` looks up environment variables (null when unset).
using TEnvironmentLookup = std::function<const char*(const char*)>;
const char* SystemEnvironment(const char* name);
std::string DefaultSettingsPath(const std::string& executablePath,
                                const TEnvironmentLookup& getEnv = SystemEnvironment);

}  // namespace lumacet
