// The extended report: a header block per radiograph, a picture of their tracings, a table
// of the measurements with their norms and two bar graphs of the deviations, for one to four
// radiographs of one radiograph type, laid out on sheets through the canvas. The same
// routine paints the preview (sheets one under another), a PDF, an SVG and the printer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "graphics/page_layout.h"
#include "graphics/print_settings.h"
#include "graphics/tracing_painter.h"

namespace lumacet {

class TRadiograph;

inline constexpr int kMaximumReportRadiographs = 4;

// Section codes of the section list.
inline constexpr int kSectionPageBreak = 0;
inline constexpr int kSectionHeaders = 1;
inline constexpr int kSectionTracing = 2;
inline constexpr int kSectionMeasurements = 3;
inline constexpr int kSectionVariableGraph = 4;
inline constexpr int kSectionRadiographGraph = 5;

inline constexpr TTextSource kNoReportRadiographsMessage =
    LcText("Extended Report", "The report needs one to four radiographs.");

// One radiograph's entries for one variable: the texts printed and, beside them, the
// numbers the bars are drawn from (the mean and SD unrounded, so that a norm whose number
// format rounds its SD to 0 still gives its bar).
struct TReportEntry {
  std::string General;  // the value in general 15-digit form; empty when not valid
  std::string Text;     // text before + value + text after, or the not-available text
  std::string Mean;
  std::string SD;
  std::string Marks;
  std::optional<double> Value;
  std::optional<double> MeanValue;
  std::optional<double> SdValue;
};

// One variable of the report: its name, whether it is a label (a heading row in the
// graphs) and its text style, with an entry per radiograph.
struct TReportColumn {
  std::string Name;
  bool Label = false;
  int Style = 1;
  std::vector<TReportEntry> Entries;
};

// The variables of the first radiograph's current analysis that are shown in the text
// window, in analysis order, each measured on every radiograph (through the variable of
// the same name in its type). Leaves the last radiograph's coordinates loaded.
std::vector<TReportColumn> BuildReportTable(const std::vector<TRadiograph*>& radiographs,
                                            const TPresentationOptions& options);

// Everything the report is drawn from. The radiographs' order is the report's: the first
// is the one whose analysis is shown.
struct TExtendedReport {
  std::vector<TRadiograph*> Radiographs;
  TExtAnalysisSettings Settings;
  TPresentationOptions Presentation;  // the text styles and formats
  TDisplayOptions Display;            // how the tracing section paints
  TPaintHook Images;                  // the images under the tracings; unset for none
};

// Sheets: each page a sheet of the canvas (NewPage). Preview: the pages one under another on
// one surface, each a white sheet with a shadow, a quarter of an inch apart.
enum class TPageFlow { Sheets, Preview };

// The surface a preview needs for `pages` pages, in dots.
TIntSize PreviewSize(const TPaper& paper, int pages);

// Checks the settings and draws the report; the number of pages drawn. The canvas's mapping
// must take the paper's dots to its device (the identity for a surface at the paper's
// resolution). Refuses, drawing nothing: no radiograph or more than four, margins that
// leave no room, a zoom not greater than 0, an unknown header or footer code.
TResultOf<int> DrawExtendedReport(TCanvas& canvas, const TExtendedReport& report, const TPaper& paper,
                                  TPageFlow flow);

}  // namespace lumacet
