// Every textual form of a variable: the value as presented, the codes of its label texts,
// the label value with its deviation mark, the line of the analysis text, results and
// exports, and the measurement hint; and the analysis-wide texts built from them.
//
// The functions that take a single variable load the radiograph's coordinates only when
// its type holds another's; those that walk the radiograph's current analysis load them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "measure/text_style.h"
#include "measure/variables.h"

namespace lumacet {

class TXRayElement;
class TXRAnalysis;
class TXRVariable;

// The presentation settings the texts depend on, with the measuring context.
struct TPresentationOptions {
  TMeasureContext Measure;
  int DeviationMode = 0;  // 0 in colour, 1 with asterisks, 2 not shown
  std::string NotAvailable = "N/A";
  std::array<uint32_t, 8> DeviationColours = kDefaultDeviationColours;  // classes -3..4
  std::array<TTextStyle, kTextStyleCount> Styles{};                           // "Style 1" first
  int ResultsDelimiter = 0;  // tab, comma, space, CR LF
};

// TextLine flags: the general 15-digit value alone, the formatted value alone; or any sum
// of the mean-and-SD columns and the graph column.
// The scale distances and coordinates are given at, as the window, reports, exports and
// pictures all name it.
inline constexpr std::string_view kLifeSizeScale = "Life size (LIFE)";
inline constexpr std::string_view kXRaySizeScale = "Radiograph size (XRAY)";
inline constexpr std::string_view ScaleName(bool lifeSize) { return lifeSize ? kLifeSizeScale : kXRaySizeScale; }

inline constexpr int kTextLineGeneral = -2;
inline constexpr int kTextLineFormatted = -1;
inline constexpr int kTextLineNormals = 1;
inline constexpr int kTextLineGraph = 2;

struct TColouredText {
  std::string Text;
  uint32_t Colour = 0;
};

// The variables of the radiograph's current analysis in analysis order; none without one.
std::vector<TXRVariable*> AnalysisVariables(const TRadiograph& radiograph);

// The variable's text style number, 1..12; a number out of range from a hand-edited type
// file selects style 1.
int VariableStyleNumber(const TXRVariable& variable);

// The value as the user sees it: the not-available text when invalid; a number in the
// variable's number format; text as computed (patient name, age text and comments are
// never read as numbers).
std::string PresentationValue(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options);

// The text before (or after) with "@m" (mean), "@g" (text graph), "@s" (SD with one more
// decimal) and "@z" (z-score, "0.##") replaced at their first occurrences, in that order;
// after each replacement what follows the code is cut to 255 characters. Codes without a
// norm to fill them become empty. Text without "@" is returned as it is.
std::string ExpandCodes(TXRVariable& variable, bool after, TRadiograph& radiograph,
                        const TPresentationOptions& options);

// The label's value with "-" and one "*" per SD of deviation appended in the asterisk
// mode; coloured by its deviation class in the colour mode, else in the class-4 colour.
TColouredText DisplayValue(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options);

// The variable's line: empty when it is shown on the display only; the value alone for
// negative flags and for "Label" variables; otherwise "name:", [tab graph], tab value,
// [tab mean tab SD], [tab asterisks when the variable's style shows them].
std::string TextLine(TXRVariable& variable, TRadiograph& radiograph, int flags, const TPresentationOptions& options);

// The measurement hint: name, norm block, kind, parameter and operands, with "|" turned
// into "\" and one "|" at the end.
std::string HintText(TXRVariable& variable, TRadiograph& radiograph, const TPresentationOptions& options);

// Tab, ",", " " or CR LF by the results delimiter setting (tab for any other value).
std::string ResultsDelimiter(int choice);
// "Copy Results": the formatted value of every variable of the current analysis not
// shown on the display only, each followed by the delimiter.
std::string ResultsText(TRadiograph& radiograph, const TPresentationOptions& options);

// One paragraph of the Detailed Analysis text.
struct TAnalysisLine {
  std::string Text;
  int Style = 1;        // 1..12
  uint32_t Colour = 0;  // the deviation colour when the style uses it, else the style's
};
// The non-empty text lines of the current analysis's variables, in order.
std::vector<TAnalysisLine> AnalysisLines(TRadiograph& radiograph, int flags, const TPresentationOptions& options);
// The radiograph's caption, ": " and the analysis name, or ": No analysis selected".
std::string AnalysisCaption(const TRadiograph& radiograph, const TTextFormats& formats);

// True when the radiograph's current view lets the drawing or variable be shown: always
// without a view ("<all>"), never with the empty view ("<none>"), else when it is listed.
bool PassesView(const TRadiograph& radiograph, const TXRayElement& element);
// The last variable of the analysis, in list order, that passes the view, has a label on
// the display and whose label rectangle (left, top, right, bottom) strictly contains the
// point; null when there is none.
TXRVariable* LabelAt(const TXRAnalysis& analysis, const TRadiograph& radiograph, int x, int y);

}  // namespace lumacet
