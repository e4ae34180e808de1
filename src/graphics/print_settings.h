// The settings of the print-outs: the tracing page, the text analysis pages and the
// extended report. They are part of the settings file; the page layouts read them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumacet {

// A print area's offset: the tracing point, in tracing units, printed at its top-left corner.
struct TPageOffset {
  int X = 0;
  int Y = 0;

  bool operator==(const TPageOffset&) const = default;
};

// Lengths in inches.
struct TPrintSettings {
  bool UseDefaultStyle = false;
  int DeviationFromMean = 0;
  int TextFormat = 0;
  bool PrintTracing = true;
  bool PrintTextAnalysis = true;
  bool PrintExtendedAnalysis = true;
  bool AllTracings = true;
  bool AllAnalyses = false;
  bool TracingPortrait = false;
  bool TextPortrait = true;
  double TracingLeftMargin = 0.5;
  double TracingRightMargin = 0.5;
  double TracingTopMargin = 0.5;
  double TracingBottomMargin = 0.5;
  bool TracingRotationPoint = false;
  double LeftMargin = 0.4;
  double RightMargin = 0.4;
  double TopMargin = 1;
  double BottomMargin = 1;
  double HeaderMargin = 0.4;
  double TracingMargin = 0.4;  // the text page footer's distance from the bottom
  double TracingHeaderMargin = 0.4;
  double TracingFooterMargin = 0.4;
  double TracingWidth = 4;
  double TracingHeight = 4;
  double TextTracingZoom = 1;
  double TracingZoom = 1;
  TPageOffset TracingPage;
  TPageOffset TracingTextPage;
  int TracingPosition = 0;  // 0..8
  bool TracingShow = false;
  bool TracingOverlap = false;
  std::string PageHeader = "@n - @c - @a";
  std::string PageFooter = "Dr. Veltrin   -   Page: @p";
  int PageHeaderPosition = 1;  // 0 left, 1 centre, 2 right
  int PageFooterPosition = 0;
  std::string TracingHeader = "@n - @c - @a";
  std::string TracingFooter = "Dr. Veltrin";
  int TracingHeaderPosition = 1;
  int TracingFooterPosition = 0;

  bool operator==(const TPrintSettings&) const = default;
};

// The extended report's layout. Lengths in inches.
struct TExtAnalysisSettings {
  TPageOffset TracingExtPage;
  std::array<int, 7> HeaderData = {1, 2, 3, 4, 5, 6, 7};  // item numbers, negative when hidden
  std::array<std::string, 7> HeaderCaptions = {
      "Radiograph: ", "Name: ", "Sex: ", "Date of Birth: ", "Age: ", "Stage: ", "Date: "};
  std::string ComparisonCaption = "Time differences: ";
  int Intervals = 2;       // 0 none, 1 sequential, 2 all
  int ArrangeHeaders = 0;  // 0 one row, 1 two rows, 2 one column
  bool GroupHeaders = true;
  int PageOrientation = 1;  // 1 portrait, 0 landscape
  std::string PageHeader = "Orthodontic Office";
  std::string PageFooter = "Your Name   -   Page: @p";
  int PageHeaderPos = 1;
  int PageFooterPos = 2;
  int ViewOption = 1;  // radiographs shown
  int TracingPos = 1;
  bool TracingBox = true;
  bool MeasurementsAlter = true;
  bool VariablesAlter = true;
  bool XRaysAlter = false;
  bool VariablesShowValue = true;
  bool XRaysShowValue = true;
  bool VariablesBreak = true;
  bool VariablesKeepSpace = false;
  bool XRaysBreak = true;
  int MeasurementsGrid = 2;    // 0..3
  int VariablesGrid = 1;       // 0..2
  int VariablesBarHeight = 4;  // mm, 1..10
  int VariablesStDev = 3;      // 1..6
  int VariablesSpacing = 50;   // percent
  int VariablesLineSpacing = 50;
  int XRaysGrid = 2;
  int XRaysBarHeight = 5;
  int XRaysStDev = 2;
  int XRaysLineSpacing = 50;
  // "@#" starts a new line.
  std::array<std::string, 5> SectionHeadings = {"Dr. John Doe@#Orthodontic Office", "Tracing", "Measurements",
                                                "Measurements Graph", "Radiograph Comparison"};
  std::array<uint32_t, 4> CephColour = {0xFF8080, 0x4080FF, 0x80FF80, 0x80FFFF};
  std::array<uint32_t, 10> MeasurementsBackColour = {0xFFFFDD, 0xFFFFDD, 0xFFFFDD, 0xFFFFDD, 0xFFFFDD,
                                                     0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  std::array<uint32_t, 4> VariablesBackColour = {0xE8FFE8, 0xE8FFE8, 0xFFFFFF, 0xFFFFFF};
  std::array<uint32_t, 10> XRaysBackColour = {0xEEEEFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                              0xFF8080, 0x80FF80, 0x80FF80, 0xFF8080, 0x80FFFF};
  std::array<int, 5> Style = {2, 2, 2, 2, 2};        // text style numbers 1..12
  std::array<int, 5> HeaderStyle = {4, 4, 4, 4, 4};  // section heading styles 1..12
  // Left, top, right, bottom, header distance from the top, footer distance from the bottom.
  std::array<double, 6> PageMargin = {0.39, 0.79, 0.39, 0.79, 0.2, 0.2};
  double TracingWidth = 7.09;
  double TracingHeight = 5.51;
  double TracingZoom = 1;
  std::vector<int> Sections = {1, 2, 0, 3, 0, 4, 0, 5};  // section codes 0..5

  bool operator==(const TExtAnalysisSettings&) const = default;
};

}  // namespace lumacet
