#include "shell/settings.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "shell/ini_file.h"
#include "support/file_numbers.h"

namespace lumacet {

namespace {

struct TNamedColour {
  std::string_view Name;
  uint32_t Colour;
};

// First match wins when a colour is written, so the order decides which name a colour gets.
constexpr std::array<TNamedColour, 20> kColourNames = {{
    {"Black", 0x000000},  {"Maroon", 0x000080},     {"Green", 0x008000},   {"Olive", 0x008080},   {"Navy", 0x800000},
    {"Purple", 0x800080}, {"Teal", 0x808000},       {"Gray", 0x808080},    {"Silver", 0xC0C0C0},  {"Red", 0x0000FF},
    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},     {"Blue", 0xFF0000},    {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},  {"MoneyGreen", 0xC0DCC0}, {"SkyBlue", 0xF0CAA6}, {"Cream", 0xF0FBFF},   {"MedGray", 0xA4A0A0},
}};

// Cuts at every comma, keeping empty fields, so that each field keeps its position.
std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  while (true) {
    size_t comma = text.find(',');
    fields.push_back(TrimBlanks(text.substr(0, comma)));
    if (comma == text.npos) return fields;
    text.remove_prefix(comma + 1);
  }
}

// Words separated by blanks and commas ("0 0", "200, 300, 100").
std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    size_t start = text.find_first_not_of(" \t,", i);
    if (start == text.npos) break;
    size_t end = text.find_first_of(" \t,", start);
    if (end == text.npos) end = text.size();
    words.push_back(text.substr(start, end - start));
    i = end;
  }
  return words;
}

std::optional<int> IntInRange(std::string_view text, int lo, int hi) {
  auto value = ParseFileInt(text);
  if (!value || *value < lo || *value > hi) return std::nullopt;
  return *value;
}

std::optional<uint32_t> ColourNumber(std::string_view text) {
  auto value = IntInRange(text, 0, static_cast<int>(kColourWhite));
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

std::string ColourNumberText(uint32_t colour) { return std::to_string(colour & kColourWhite); }

std::string BoolText(bool value) { return value ? "1" : "0"; }

// ---- composite values -------------------------------------------------------------------

// Positional: the values present replace those in front, a value that does not read ends.
template <size_t N>
void ParseIntArray(std::string_view text, std::array<int, N>& values, int lo, int hi) {
  auto words = SplitWords(text);
  for (size_t i = 0; i < N && i < words.size(); ++i) {
    auto value = IntInRange(words[i], lo, hi);
    if (!value) return;
    values[i] = *value;
  }
}

template <size_t N>
std::string FormatIntArray(const std::array<int, N>& values, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < N; ++i) text += (i ? std::string(separator) : "") + std::to_string(values[i]);
  return text;
}

void ParseRemind(std::string_view text, std::array<bool, 3>& remind) {
  auto words = SplitWords(text);
  for (size_t i = 0; i < remind.size() && i < words.size(); ++i) remind[i] = words[i] != "0";
}

std::string FormatRemind(const std::array<bool, 3>& remind) {
  return BoolText(remind[0]) + " " + BoolText(remind[1]) + " " + BoolText(remind[2]);
}

void ParsePageOffset(std::string_view text, TPageOffset& offset) {
  std::array<int, 2> xy = {offset.X, offset.Y};
  ParseIntArray(text, xy, INT_MIN, INT_MAX);
  offset = {xy[0], xy[1]};
}

std::string FormatPageOffset(const TPageOffset& offset) {
  return std::to_string(offset.X) + " " + std::to_string(offset.Y);
}

void ParsePositionPen(std::string_view text, TPositionPen& pen) {
  auto words = SplitWords(text);
  words.resize(3);  // a missing word reads as nothing and ends the parse
  auto colour = ColourNumber(words[0]);
  if (!colour) return;
  pen.Colour = *colour;
  auto style = IntInRange(words[1], 0, 5);
  if (!style) return;
  pen.Style = *style;
  if (auto width = IntInRange(words[2], 0, INT_MAX)) pen.Width = *width;
}

std::string FormatPositionPen(const TPositionPen& pen) {
  return ColourNumberText(pen.Colour) + " " + std::to_string(pen.Style) + " " + std::to_string(pen.Width);
}

// All or nothing: the list has no fixed length to keep positions in.
void ParseSections(std::string_view text, std::vector<int>& sections) {
  std::vector<int> parsed;
  for (std::string_view word : SplitWords(text)) {
    auto code = IntInRange(word, 0, 5);
    if (!code) return;
    parsed.push_back(*code);
  }
  sections = std::move(parsed);
}

std::string FormatSections(const std::vector<int>& sections) {
  std::string text;
  for (size_t i = 0; i < sections.size(); ++i) text += (i ? " " : "") + std::to_string(sections[i]);
  return text;
}

// Texts as a comma list in which a field that starts with a double quote runs to the next
// one. Fields are kept by position, so empty texts keep their place.
template <size_t N>
void ParseTextArray(std::string_view text, std::array<std::string, N>& values) {
  size_t i = 0;
  for (size_t index = 0; index < N; ++index) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size() && index > 0) break;
    std::string_view field;
    if (i < text.size() && text[i] == '"') {
      size_t close = text.find('"', i + 1);
      if (close == text.npos) break;
      field = text.substr(i + 1, close - i - 1);
      i = text.find(',', close + 1);
    } else {
      size_t comma = text.find(',', i);
      field = TrimBlanks(text.substr(i, comma == text.npos ? text.npos : comma - i));
      i = comma;
    }
    values[index] = std::string(field);
    if (i == text.npos) break;
    ++i;
  }
}

// Nullopt when a text needs quoting and holds a quote itself: the list could not hold it.
template <size_t N>
std::optional<std::string> FormatTextArray(const std::array<std::string, N>& values) {
  std::string text;
  for (size_t i = 0; i < N; ++i) {
    const std::string& v = values[i];
    bool quote = v.empty() || v.find(',') != v.npos || v.front() == '"' || v.front() == ' ' || v.back() == ' ' ||
                 v.front() == '\t' || v.back() == '\t';
    if (quote && v.find('"') != v.npos) return std::nullopt;
    text += (i ? "," : "") + (quote ? "\"" + v + "\"" : v);
  }
  return text;
}

void ParseToolbar(std::string_view text, TToolbarSetting& toolbar) {
  auto words = SplitWords(text);
  words.resize(4);  // a missing word reads as nothing and ends the parse
  bool visible = SameIniName(words[0], "Visible");
  if (!visible && !SameIniName(words[0], "Hidden")) return;
  toolbar.Visible = visible;
  bool floating = SameIniName(words[1], "Floating");
  if (!floating && !SameIniName(words[1], "Anchored")) return;
  toolbar.Floating = floating;
  auto x = ParseFileInt(words[2]);
  if (!x) return;
  toolbar.X = *x;
  if (auto y = ParseFileInt(words[3])) toolbar.Y = *y;
}

std::string FormatToolbar(const TToolbarSetting& toolbar) {
  return std::string(toolbar.Visible ? "Visible" : "Hidden") + (toolbar.Floating ? " Floating " : " Anchored ") +
         std::to_string(toolbar.X) + " " + std::to_string(toolbar.Y);
}

constexpr std::string_view kToolbarSuffix = " Toolbar";

// Text the file keeps as typed, as long as it reads as a magnification above -100; the
// decimal comma of a typed value is accepted as well.
void ParseMagnification(std::string_view text, std::string& magnification) {
  std::string normal(text);
  std::replace(normal.begin(), normal.end(), ',', '.');
  auto value = ParseFileReal(normal, false);
  if (value && *value > -100) magnification = std::string(text);
}
std::string FormatMagnification(const std::string& magnification) { return magnification; }

void ParseTextLayout(std::string_view text, std::array<int, 5>& widths) { ParseIntArray(text, widths, 0, INT_MAX); }
std::string FormatTextLayout(const std::array<int, 5>& widths) { return FormatIntArray(widths, ", "); }

// Item numbers 1..7, negative when the item is hidden.
void ParseHeaderData(std::string_view text, std::array<int, 7>& items) { ParseIntArray(text, items, -7, 7); }
std::string FormatHeaderData(const std::array<int, 7>& items) { return FormatIntArray(items, " "); }

// ---- the key table ----------------------------------------------------------------------

class TReader {
 public:
  explicit TReader(const TIniFile& ini) : fIni(ini) {}

  void Section(std::string_view section) { fSection = section; }
  void Bool(const std::string& key, bool& value) {
    if (auto text = Value(key))
      if (auto n = ParseFileInt(*text)) value = *n != 0;
  }
  void Int(const std::string& key, int& value, int lo = INT_MIN, int hi = INT_MAX) {
    if (auto text = Value(key))
      if (auto n = IntInRange(*text, lo, hi)) value = *n;
  }
  void Colour(const std::string& key, uint32_t& value) {
    if (auto text = Value(key))
      if (auto c = ColourNumber(*text)) value = *c;
  }
  // Reals that divide or scale something must be positive.
  void Real(const std::string& key, double& value, int /*decimals*/, bool positive = false) {
    if (auto text = Value(key))
      if (auto r = ParseFileReal(*text, false); r && (!positive || *r > 0)) value = *r;
  }
  // Stored as ten times its value, as a whole number.
  void Tenths(const std::string& key, double& value, int lo, int hi) {
    if (auto text = Value(key))
      if (auto n = IntInRange(*text, lo, hi)) value = *n / 10.0;
  }
  void Text(const std::string& key, std::string& value) {
    if (auto text = Value(key)) value = *text;
  }
  template <class T, class Format>
  void Field(const std::string& key, T& value, void (*parse)(std::string_view, T&), Format) {
    if (auto text = Value(key)) parse(*text, value);
  }
  void Toolbars(std::vector<TToolbarSetting>& toolbars) {
    for (const std::string& key : fIni.Keys(fSection)) {
      if (key.size() <= kToolbarSuffix.size() ||
          !SameIniName(std::string_view(key).substr(key.size() - kToolbarSuffix.size()), kToolbarSuffix))
        continue;
      TToolbarSetting toolbar;
      toolbar.Caption = key.substr(0, key.size() - kToolbarSuffix.size());
      const std::optional<std::string> text = Value(key);
      if (!text) continue;
      ParseToolbar(*text, toolbar);
      toolbars.erase(std::remove_if(toolbars.begin(), toolbars.end(),
                                    [&](const TToolbarSetting& t) { return SameIniName(t.Caption, toolbar.Caption); }),
                     toolbars.end());
      toolbars.push_back(toolbar);
    }
  }

  void Definitions(std::vector<std::pair<std::string, std::string>>& entries) {
    entries.clear();
    for (const std::string& key : fIni.Keys(fSection))
      if (std::optional<std::string> text = Value(key)) entries.emplace_back(key, std::move(*text));
  }

 // "Section/Key" of each value dropped as unstorable.
  const std::vector<std::string>& Dropped() const { return fDropped; }

 private:
  std::optional<std::string> Value(const std::string& key) {
    std::optional<std::string> text = fIni.Read(fSection, key);
    if (text && text->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      fDropped.push_back(fSection + "/" + key);
      return std::nullopt;
    }
    return text;
  }

  const TIniFile& fIni;
  std::string fSection;
  std::vector<std::string> fDropped;
};

class TWriter {
 public:
  explicit TWriter(TIniFile& ini) : fIni(ini) {}

  bool Ok() const { return fOk; }
  const std::string& FailedKey() const { return fFailedKey; }

  void Section(std::string_view section) { fSection = section; }
  void Bool(const std::string& key, bool value) { Put(key, BoolText(value)); }
  void Int(const std::string& key, int value, int = 0, int = 0) { Put(key, std::to_string(value)); }
  void Colour(const std::string& key, uint32_t value) { Put(key, ColourNumberText(value)); }
  void Real(const std::string& key, double value, int decimals, bool = false) {
    Put(key, FormatRounded(value, decimals));
  }
  void Tenths(const std::string& key, double value, int, int) { Put(key, FormatRoundedInt(value * 10)); }
  void Text(const std::string& key, const std::string& value) { Put(key, value); }
  template <class T, class Parse>
  void Field(const std::string& key, const T& value, Parse, std::string (*format)(const T&)) {
    Put(key, format(value));
  }
  template <class T, class Parse>
  void Field(const std::string& key, const T& value, Parse, std::optional<std::string> (*format)(const T&)) {
    auto text = format(value);
    if (text)
      Put(key, *text);
    else
      Fail(key);
  }
  void Toolbars(const std::vector<TToolbarSetting>& toolbars) {
    for (const TToolbarSetting& toolbar : toolbars)
      Put(toolbar.Caption + std::string(kToolbarSuffix), FormatToolbar(toolbar));
  }
  // The section holds the entries and nothing else: a definition deleted goes from the file.
  void Definitions(const std::vector<std::pair<std::string, std::string>>& entries) {
    for (const std::string& key : fIni.Keys(fSection))
      if (std::none_of(entries.begin(), entries.end(), [&](const auto& e) { return SameIniName(e.first, key); }))
        fIni.DeleteKey(fSection, key);
    for (const auto& [name, settings] : entries) Put(name, settings);
  }

 private:
  void Put(const std::string& key, const std::string& value) {
    if (!fIni.Write(fSection, key, value)) Fail(key);
  }
  void Fail(const std::string& key) {
    if (fOk) fFailedKey = fSection + "/" + key;
    fOk = false;
  }

  TIniFile& fIni;
  std::string fSection;
  bool fOk = true;
  std::string fFailedKey;
};

std::string Numbered(std::string_view prefix, int n) { return std::string(prefix) + std::to_string(n); }

// Every key of the file, once, for reading and writing alike.
template <class S, class V>
void VisitSettings(S& s, V& v) {
  auto& g = s.General;
  v.Section("General");
  v.Bool("AutoSaveAndAdvance", g.AutoSaveAndAdvance);
  v.Field("Remind", g.Remind, ParseRemind, FormatRemind);
  v.Text("DigitizeCursor", g.DigitizeCursor);
  v.Int("Morph Quality", g.MorphQuality, 0, 2);
  v.Int("Warp Function", g.WarpFunction, 0, 3);
  v.Int("Morph Param 1", g.MorphParam1, 1, 200);
  v.Int("Morph Param 2", g.MorphParam2, 1, 200);
  v.Tenths("Morph Param 3", g.MorphParam3, 1, 200);
  v.Int("Morph Param 4", g.MorphParam4, 10, 2000);
  v.Int("Morph Block Size", g.MorphBlockSize, 2, 100);
  v.Int("Adaptive Size", g.AdaptiveSize, 5, 50);
  v.Int("Levels Cutoff", g.LevelsCutoff, 0, 10);
  v.Bool("Auto VTO", g.AutoVto);
  v.Int("Auto Edge Lock", g.AutoEdgeLock, 0, 2);
  v.Bool("Lock Tracing", g.LockTracing);
  v.Bool("Analysis On", g.AnalysisOn);
  v.Int("Analysis Mode", g.AnalysisMode, 0, 2);
  v.Bool("Compatibility", g.Compatibility);
  v.Text("LCR Path", g.LcrPath);
  v.Text("CSV Path", g.CsvPath);
  v.Text("BMP Path", g.BmpPath);
  v.Text("Results Path", g.ResultsPath);
  v.Int("Results Delimiter", g.ResultsDelimiter, 0, 3);
  v.Int("Input Device", g.InputDevice, 0, 3);
  v.Bool("Auto Detect Resolution", g.AutoDetectResolution);
  v.Bool("Auto Center Digitizing", g.AutoCenterDigitizing);
  v.Bool("Show Hint Graphic", g.ShowHintGraphic);
  v.Text("Not Available", g.NotAvailable);
  v.Bool("DICOM Window Adjust", g.DicomWindowAdjust);
  v.Int("DICOM Patient Data", g.DicomPatientData, 0, 2);
  v.Int("Multiscan", g.Multiscan, 1, 5);
  v.Int("Noise Reduction", g.NoiseReduction, 0, 3);
  v.Real("BMP Scale X", g.BmpScaleX, 3, true);
  v.Real("BMP Scale Y", g.BmpScaleY, 3, true);
  v.Int("IconArea Width", g.IconAreaWidth, 0);
  v.Text("Lumacet Rect", g.MainWindowRect);
  v.Text("Language", g.Language);

  auto& w = s.View;
  v.Section("View");
  v.Int("Grid Density", w.GridDensity, 1);
  v.Bool("Snap Movements", w.SnapMovements);
  v.Bool("View Grid", w.ViewGrid);
  v.Colour("Grid Color", w.GridColour);
  for (int i = 0; i < 3; ++i) v.Bool(Numbered("View Page ", i), w.ViewPage[i]);
  v.Int("Ruler Side", w.RulerSide);
  v.Colour("Ruler Color", w.RulerColour);
  v.Bool("Ruler Ticks", w.RulerTicks);
  for (auto [name, marker] : {std::pair{"Normal", &w.NormalMarker}, std::pair{"Handle", &w.HandleMarker},
                              std::pair{"Snake", &w.SnakeMarker}}) {
    std::string prefix = std::string("Marker ") + name;
    v.Colour(prefix + " Line", marker->LineColour);
    v.Colour(prefix + " Fill", marker->FillColour);
    v.Int(prefix + " Size", marker->Size, 0);
    v.Text(prefix + " Shape", marker->Shape);
  }
  v.Bool("Handle Names", w.HandleNames);
  v.Bool("Variable Hints", w.VariableHints);
  v.Int("Deviation from Mean", w.DeviationFromMean, 0, 2);
  v.Bool("Font Transparent", w.FontTransparent);
  v.Bool("Font Outline", w.FontOutline);
  v.Colour("Font Outline Color", w.FontOutlineColour);
  for (int i = 0; i < 8; ++i) v.Colour(Numbered("Deviation Color ", i - 3), w.DeviationColour[i]);
  v.Text("Font Name", w.FontName);
  v.Int("Font Size", w.FontSize, 1);
  v.Int("Font Charset", w.FontCharset, 0, 255);
  v.Bool("Font Bold", w.FontBold);
  v.Bool("Font Italic", w.FontItalic);
  v.Toolbars(w.Toolbars);

  auto& r = s.Radiograph;
  v.Section("Radiograph");
  v.Int("Title", r.Title, 0, 7);
  v.Int("Age Format", r.AgeFormat, 0, 4);
  for (int i = 0; i < kPositionCount; ++i)
    v.Field(Numbered("Position Style ", i), r.PositionPens[i], ParsePositionPen, FormatPositionPen);
  v.Int("Drawing Style", r.DrawingStyle, 0, 2);
  v.Text("Default Type", r.DefaultType);
  v.Text("Default Name", r.DefaultName);
  v.Text("Default Comments", r.DefaultComments);
  v.Text("Default DOB", r.DefaultDob);
  v.Text("Default Date Taken", r.DefaultDateTaken);
  v.Field("Default Magnification", r.DefaultMagnification, ParseMagnification, FormatMagnification);
  v.Bool("Default Sex", r.DefaultSex);
  v.Text("Default File", r.DefaultFile);
  v.Bool("Default Remember", r.DefaultRemember);
  v.Bool("Best Fit on Loading", r.BestFitOnLoading);
  v.Bool("Best Fit on Selecting", r.BestFitOnSelecting);
  v.Bool("Sort Fit on Loading", r.SortFitOnLoading);
  v.Bool("Auto Orientate", r.AutoOrientate);
  v.Bool("Show Life Size", r.ShowLifeSize);
  v.Bool("Full Redraw Move", r.FullRedrawMove);
  v.Int("Text Format", r.TextFormat);
  v.Bool("Text Word Wrap", r.TextWordWrap);
  v.Field("Text Layout", r.TextLayout, ParseTextLayout, FormatTextLayout);

  auto& p = s.Print;
  v.Section("Print");
  v.Bool("Use Default Style", p.UseDefaultStyle);
  v.Int("Deviation from Mean", p.DeviationFromMean, 0, 2);
  v.Int("Text Format", p.TextFormat);
  v.Bool("Print Tracing", p.PrintTracing);
  v.Bool("Print Text Analysis", p.PrintTextAnalysis);
  v.Bool("Print Extended Analysis", p.PrintExtendedAnalysis);
  v.Bool("All Tracings", p.AllTracings);
  v.Bool("All Analyses", p.AllAnalyses);
  v.Bool("Tracing Portrait", p.TracingPortrait);
  v.Bool("Text Portrait", p.TextPortrait);
  v.Real("Tracing Left Margin", p.TracingLeftMargin, 2);
  v.Real("Tracing Right Margin", p.TracingRightMargin, 2);
  v.Real("Tracing Top Margin", p.TracingTopMargin, 2);
  v.Real("Tracing Bottom Margin", p.TracingBottomMargin, 2);
  v.Bool("Tracing Rotation Point", p.TracingRotationPoint);
  v.Real("Left Margin", p.LeftMargin, 2);
  v.Real("Right Margin", p.RightMargin, 2);
  v.Real("Top Margin", p.TopMargin, 2);
  v.Real("Bottom Margin", p.BottomMargin, 2);
  v.Real("Header Margin", p.HeaderMargin, 2);
  v.Real("Tracing Margin", p.TracingMargin, 2);
  v.Real("Tracing Header Margin", p.TracingHeaderMargin, 2);
  v.Real("Tracing Footer Margin", p.TracingFooterMargin, 2);
  v.Real("Tracing Width", p.TracingWidth, 2, true);
  v.Real("Tracing Height", p.TracingHeight, 2, true);
  v.Real("Text Tracing Zoom", p.TextTracingZoom, 2, true);
  v.Real("Tracing Zoom", p.TracingZoom, 2, true);
  v.Field("Tracing Page", p.TracingPage, ParsePageOffset, FormatPageOffset);
  v.Field("Tracing Text Page", p.TracingTextPage, ParsePageOffset, FormatPageOffset);
  v.Int("Tracing Position", p.TracingPosition, 0, 8);
  v.Bool("Tracing Show", p.TracingShow);
  v.Bool("Tracing Overlap", p.TracingOverlap);
  v.Text("Page Header", p.PageHeader);
  v.Text("Page Footer", p.PageFooter);
  v.Int("Page Header Position", p.PageHeaderPosition, 0, 2);
  v.Int("Page Footer Position", p.PageFooterPosition, 0, 2);
  v.Text("Tracing Header", p.TracingHeader);
  v.Text("Tracing Footer", p.TracingFooter);
  v.Int("Tracing Header Position", p.TracingHeaderPosition, 0, 2);
  v.Int("Tracing Footer Position", p.TracingFooterPosition, 0, 2);

  auto& e = s.ExtAnalysis;
  v.Section("ExtAnalysis");
  v.Field("Tracing Ext Page", e.TracingExtPage, ParsePageOffset, FormatPageOffset);
  v.Field("Header Data", e.HeaderData, ParseHeaderData, FormatHeaderData);
  v.Field("Header Captions", e.HeaderCaptions, ParseTextArray<7>, FormatTextArray<7>);
  v.Text("Comparison Caption", e.ComparisonCaption);
  v.Int("Intervals", e.Intervals, 0, 2);
  v.Int("Arrange Headers", e.ArrangeHeaders, 0, 2);
  v.Bool("Group Headers", e.GroupHeaders);
  v.Int("Page Orientation", e.PageOrientation, 0, 1);
  v.Text("Page Header", e.PageHeader);
  v.Text("Page Footer", e.PageFooter);
  v.Int("Page Header Pos", e.PageHeaderPos, 0, 2);
  v.Int("Page Footer Pos", e.PageFooterPos, 0, 2);
  v.Int("View Option", e.ViewOption, 0, 2);
  v.Int("Tracing Pos", e.TracingPos, 0, 2);
  v.Bool("Tracing Box", e.TracingBox);
  v.Bool("Measurements Alter", e.MeasurementsAlter);
  v.Bool("Variables Alter", e.VariablesAlter);
  v.Bool("XRays Alter", e.XRaysAlter);
  v.Bool("Variables Show Value", e.VariablesShowValue);
  v.Bool("XRays Show Value", e.XRaysShowValue);
  v.Bool("Variables Break", e.VariablesBreak);
  v.Bool("Variables Keep Space", e.VariablesKeepSpace);
  v.Bool("XRays Break", e.XRaysBreak);
  v.Int("Measurements Grid", e.MeasurementsGrid, 0, 3);
  v.Int("Variables Grid", e.VariablesGrid, 0, 2);
  v.Int("Variables Bar Height", e.VariablesBarHeight, 1, 10);
  v.Int("Variables StDev", e.VariablesStDev, 1, 6);
  v.Int("Variables Spacing", e.VariablesSpacing, 0);
  v.Int("Variables Line Spacing", e.VariablesLineSpacing, 0);
  v.Int("XRays Grid", e.XRaysGrid, 0, 2);
  v.Int("XRays Bar Height", e.XRaysBarHeight, 1, 10);
  v.Int("XRays StDev", e.XRaysStDev, 1, 6);
  v.Int("XRays Line Spacing", e.XRaysLineSpacing, 0);
  v.Field("Section Headings", e.SectionHeadings, ParseTextArray<5>, FormatTextArray<5>);
  for (int i = 0; i < 4; ++i) v.Colour(Numbered("Ceph Color ", i), e.CephColour[i]);
  for (int i = 0; i < 10; ++i) v.Colour(Numbered("Measurements Back Color ", i), e.MeasurementsBackColour[i]);
  for (int i = 0; i < 4; ++i) v.Colour(Numbered("Variables Back Color ", i), e.VariablesBackColour[i]);
  for (int i = 0; i < 10; ++i) v.Colour(Numbered("XRays Back Color ", i), e.XRaysBackColour[i]);
  for (int i = 0; i < 5; ++i) v.Int(Numbered("Style ", i), e.Style[i], 1, kTextStyleCount);
  for (int i = 0; i < 5; ++i) v.Int(Numbered("Header Style ", i), e.HeaderStyle[i], 1, kTextStyleCount);
  for (int i = 0; i < 6; ++i) v.Real(Numbered("Page Margin ", i), e.PageMargin[i], 2);
  v.Real("Tracing Width", e.TracingWidth, 2, true);
  v.Real("Tracing Height", e.TracingHeight, 2, true);
  v.Real("Tracing Zoom", e.TracingZoom, 2, true);
  v.Field("Sections", e.Sections, ParseSections, FormatSections);

  auto& o = s.Ole;
  v.Section("OLE");
  v.Int("Excel Start", o.ExcelStart, 0, 2);
  v.Int("Excel Col", o.ExcelCol, 1, 256);
  v.Int("Excel Row", o.ExcelRow, 1, 32767);
  v.Bool("Excel Var Names", o.ExcelVarNames);
  v.Bool("Excel Normals", o.ExcelNormals);
  v.Bool("Excel Skip Labels", o.ExcelSkipLabels);
  v.Text("Excel File", o.ExcelFile);
  v.Bool("Word Var Names", o.WordVarNames);
  v.Bool("Word Normals", o.WordNormals);
  v.Bool("Word Skip Labels", o.WordSkipLabels);
  v.Int("PPT Start", o.PptStart, 0, 2);
  v.Text("PPT File", o.PptFile);
  v.Int("PPT Slide", o.PptSlide, 0, 256);

  v.Section("Styles");
  for (int i = 0; i < kTextStyleCount; ++i)
    v.Field(Numbered("Style ", i + 1), s.Styles[i], ParseTextStyle, FormatTextStyle);

  v.Section("Digitizer");
  v.Text("digitizer", s.Digitizers.Default);
  v.Section("Digitizers");
  v.Definitions(s.Digitizers.Entries);

  v.Section("Recent");
  for (size_t i = 0; i < g.RecentFiles.size(); ++i) v.Text(Numbered("File ", static_cast<int>(i) + 1), g.RecentFiles[i]);
}

// ---- text styles --------------------------------------------------------------------------

constexpr std::array<std::string_view, 3> kPitchNames = {"Default", "Variable", "Fixed"};
constexpr std::array<std::string_view, 3> kAlignmentNames = {"Left", "Right", "Center"};

template <size_t N>
std::optional<size_t> IndexOfWord(const std::array<std::string_view, N>& names, std::string_view word) {
  for (size_t i = 0; i < N; ++i)
    if (SameIniName(names[i], word)) return i;
  return std::nullopt;
}

}  // namespace

std::optional<uint32_t> ColourFromName(std::string_view name) {
  for (const TNamedColour& c : kColourNames)
    if (SameIniName(c.Name, name)) return c.Colour;
  return std::nullopt;
}

std::string ColourName(uint32_t colour) {
  for (const TNamedColour& c : kColourNames)
    if (c.Colour == colour) return std::string(c.Name);
  return {};
}

void ParseTextStyle(std::string_view text, TTextStyle& style) {
  auto fields = SplitFields(text);
  size_t n = fields.size();

  if (n < 1 || fields[0].empty()) return;
  style.FontName = std::string(fields[0]);
  if (n < 2) return;
  auto size = IntInRange(fields[1], 1, 1000);
  if (!size) return;
  style.Size = *size;
  if (n < 3) return;
  auto pitch = IndexOfWord(kPitchNames, fields[2]);
  if (!pitch) return;
  style.Pitch = static_cast<TFontPitch>(*pitch);
  if (n < 4) return;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  for (std::string_view word : SplitWords(fields[3])) {
    if (SameIniName(word, "Bold"))
      bold = true;
    else if (SameIniName(word, "Italic"))
      italic = true;
    else if (SameIniName(word, "Underline"))
      underline = true;
    else if (SameIniName(word, "StrikeOut"))
      strikeOut = true;
    else
      return;
  }
  style.Bold = bold;
  style.Italic = italic;
  style.Underline = underline;
  style.StrikeOut = strikeOut;
  if (n < 5) return;
  // Colours are written by name where they have one and as a number otherwise; a name
  // that is no colour leaves the colour as it is without ending the parse.
  if (auto colour = ColourFromName(fields[4]))
    style.Colour = *colour;
  else if (auto number = ColourNumber(fields[4]))
    style.Colour = *number;
  if (n < 6) return;
  auto alignment = IndexOfWord(kAlignmentNames, fields[5]);
  if (!alignment) return;
  style.Alignment = static_cast<TTextAlignment>(*alignment);
  for (auto [index, indent] :
       {std::pair{6, &style.FirstIndent}, std::pair{7, &style.LeftIndent}, std::pair{8, &style.RightIndent}}) {
    if (n <= static_cast<size_t>(index)) return;
    auto value = IntInRange(fields[index], 0, 200);
    if (!value) return;
    *indent = *value;
  }
  if (n < 10) return;
  style.ShowAsterisks = fields[9] == "1";
  if (n < 11) return;
  style.UseVariableColour = fields[10] == "1";
  if (n < 12) return;
  if (auto charset = IntInRange(fields[11], 0, 255)) style.Charset = *charset;
}

std::string FormatTextStyle(const TTextStyle& style) {
  std::string fontStyles;
  if (style.Bold) fontStyles += "Bold ";
  if (style.Italic) fontStyles += "Italic ";
  if (style.Underline) fontStyles += "Underline ";
  if (style.StrikeOut) fontStyles += "StrikeOut ";
  std::string colour = ColourName(style.Colour);
  if (colour.empty()) colour = ColourNumberText(style.Colour);
  return style.FontName + "," + std::to_string(style.Size) + "," +
         std::string(kPitchNames[static_cast<size_t>(style.Pitch)]) + "," + fontStyles + "," + colour + "," +
         std::string(kAlignmentNames[static_cast<size_t>(style.Alignment)]) + "," + std::to_string(style.FirstIndent) +
         "," + std::to_string(style.LeftIndent) + "," + std::to_string(style.RightIndent) + "," +
         BoolText(style.ShowAsterisks) + "," + BoolText(style.UseVariableColour) + "," + std::to_string(style.Charset);
}

TToolbarSetting TViewSettings::Toolbar(std::string_view caption) const {
  for (const TToolbarSetting& t : Toolbars)
    if (SameIniName(t.Caption, caption)) return t;
  TToolbarSetting fresh;
  fresh.Caption = std::string(caption);
  return fresh;
}

void TViewSettings::SetToolbar(const TToolbarSetting& toolbar) {
  for (TToolbarSetting& t : Toolbars) {
    if (SameIniName(t.Caption, toolbar.Caption)) {
      t = toolbar;
      return;
    }
  }
  Toolbars.push_back(toolbar);
}

TSettings TSettings::Defaults(const std::string& folder) {
  TSettings s;
  s.General.LcrPath = s.General.CsvPath = s.General.BmpPath = s.General.ResultsPath = folder;
  return s;
}

std::vector<std::string> TSettings::Read(const TIniFile& ini) {
  TReader reader(ini);
  VisitSettings(*this, reader);
  // Central averaging needs at least three scans to choose from.
  if (General.NoiseReduction == 3) General.Multiscan = std::max(General.Multiscan, 3);
  return reader.Dropped();
}

bool TSettings::Write(TIniFile& ini, std::string& failedKey) const {
  TWriter writer(ini);
  VisitSettings(*this, writer);
  failedKey = writer.FailedKey();
  return writer.Ok();
}

bool TSettings::Load(const std::string& path, TText* dropped) {
  if (dropped != nullptr) *dropped = {};
  TIniFile ini;
  if (ini.Load(path) != TIniLoadResult::Loaded) return false;
  const std::vector<std::string> droppedKeys = Read(ini);
  if (dropped != nullptr && !droppedKeys.empty()) {
    std::string keys;
    for (const std::string& key : droppedKeys) keys += (keys.empty() ? "" : ", ") + key;
    *dropped = TText(kSettingsDroppedMessage, {path, keys});
  }
  return true;
}

TSettingsSaveResult TSettings::Save(const std::string& path) const {
  auto fail = [](std::string reason) { return TSettingsSaveResult{false, kSettingsSaveError, reason}; };

  // What the file holds besides our keys must survive, so a file that exists but cannot
  // be read is not replaced.
  TIniFile ini;
  if (ini.Load(path) == TIniLoadResult::Unreadable) return fail(path + " cannot be read");
  if (std::string failedKey; !Write(ini, failedKey)) return fail(failedKey + " holds text that cannot be stored");

  auto folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return fail("cannot create " + folder.string() + ": " + ec.message());
  TWriteResult written = ini.Save(path);
  if (!written.Ok) return fail(written.Error);
  return {true, {}, {}};
}

void RememberRecentFile(TGeneralSettings& general, const std::string& path) {
  if (path.empty()) return;
  auto& files = general.RecentFiles;
  // The entry's old place, or the last one, makes room at the front.
  auto from = std::find(files.begin(), files.end(), path);
  if (from == files.end()) from = files.end() - 1;
  std::rotate(files.begin(), from, from + 1);
  files.front() = path;
}

TText TSettings::ResetReminders() {
  General.Remind = {true, true, true};
  return kRemindersResetMessage;
}

const char* SystemEnvironment(const char* name) { return std::getenv(name); }

std::string DefaultSettingsPath(const std::string& executablePath, const TEnvironmentLookup& getEnv) {
  namespace fs = std::filesystem;
  constexpr std::string_view kFileName = "lumacet.ini";
  fs::path beside = fs::path(executablePath).parent_path() / kFileName;
  // The file is replaced through a temporary file in its folder, so both must be writable.
  std::error_code ec;
  std::string folder = beside.parent_path().empty() ? "." : beside.parent_path().string();
  if (fs::is_regular_file(beside, ec) && ::access(beside.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0)
    return beside.string();

  fs::path config;
  const char* xdg = getEnv("XDG_CONFIG_HOME");
  if (xdg && fs::path(xdg).is_absolute()) {
    config = xdg;
  } else if (const char* home = getEnv("HOME"); home && *home) {
    config = fs::path(home) / ".config";
  } else {
    return beside.string();
  }
  return (config / "lumacet" / kFileName).string();
}

TMorphOptions MorphOptionsFrom(const TSettings& settings) {
  const TGeneralSettings& g = settings.General;
  TMorphOptions options;
  options.Function = static_cast<TWarpFunction>(std::clamp(g.WarpFunction, 0, 3));
  options.Quality = static_cast<TMorphQuality>(std::clamp(g.MorphQuality, 0, 2));
  options.DistanceLimit = std::clamp(g.MorphParam1, 1, 200);
  options.FallOff = std::clamp(g.MorphParam2, 1, 200);
  options.Exponent = std::clamp(g.MorphParam3, 0.1, 20.0);
  options.Smoothness = std::clamp(g.MorphParam4, 10, 2000);
  options.BlockSize = std::clamp(g.MorphBlockSize, 2, 100);
  return options;
}

}  // namespace lumacet
