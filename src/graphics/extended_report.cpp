#include "graphics/extended_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "graphics/print_pages.h"
#include "measure/norms.h"
#include "measure/variables.h"
#include "model/list_elements.h"
#include "model/kind_codes.h"
#include "model/radiograph.h"

namespace lumacet {

namespace {

constexpr int kHeaderFooterStyle = 12;
constexpr double kPreviewGapInches = 0.25;
constexpr double kPreviewShadowInches = 0.1;
constexpr TPen kThinBlack{kColourBlack, TPenStyle::Solid, 0};
constexpr TPen kDotted{kColourBlack, TPenStyle::Dot, 0};

// Halves to the even neighbour.
int Nearest(double value) { return RoundSaturated(value); }

std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (true) {
    const std::size_t found = text.find(separator, at);
    parts.emplace_back(text.substr(at, found == std::string_view::npos ? std::string_view::npos : found - at));
    if (found == std::string_view::npos) return parts;
    at = found + separator.size();
  }
}

int Clamped(int value, int low, int high) { return std::clamp(value, low, high); }

class TReportPainter {
 public:
  TReportPainter(TCanvas& canvas, const TExtendedReport& report, const TPageFrame& frame, TPageFlow flow,
                 std::vector<TReportColumn> table)
      : fCanvas(canvas), fReport(report), fSettings(report.Settings), fFrame(frame), fFlow(flow),
        fTable(std::move(table)), fBase(canvas.Mapping()), fN(static_cast<int>(report.Radiographs.size())),
        fCodes(PageCodeValues(*report.Radiographs.front(), report.Presentation.Measure.Formats)) {}

  int Run() {
    AdvancePage();
    for (int section : fSettings.Sections) {
      switch (section) {
        case kSectionPageBreak: AdvancePage(); break;
        case kSectionHeaders: Headers(); break;
        case kSectionTracing: Tracing(); break;
        case kSectionMeasurements: Measurements(); break;
        case kSectionVariableGraph: VariableGraph(); break;
        case kSectionRadiographGraph: RadiographGraph(); break;
        default: break;
      }
    }
    return fPage;
  }

 private:
  const TTextStyle& Style(int number) const {
    return fReport.Presentation.Styles[static_cast<std::size_t>(Clamped(number, 1, kTextStyleCount) - 1)];
  }
  TFont FontOf(int number) const { return StyleFont(Style(number), fFrame.Paper.DpiY); }
  void UseStyle(int number, bool bold) {
    TFont font = FontOf(number);
    if (bold) font.Bold = true;
    fCanvas.SetFont(font);
    fCanvas.SetTextColour(Style(number).Colour);
    fCanvas.SetBackgroundMode(TBackgroundMode::Transparent);
  }

  void AdvancePage() {
    if (fFlow == TPageFlow::Sheets) {
      if (fPage > 0) fCanvas.NewPage();
    } else {
      const double step = fFrame.Paper.Dots.Height + kPreviewGapInches * fFrame.Paper.DpiY;
      const TFloatPoint origin{fBase.WindowOrigin().X, fBase.WindowOrigin().Y - fPage * step};
      fCanvas.SetMapping(TIsotropicMapping::FromScale(origin, fBase.Scale(), fBase.ViewportOrigin()).value_or(fBase));
      const TIntSize size = fFrame.Paper.Dots;
      const int shadow = Nearest(kPreviewShadowInches * fFrame.Paper.DpiX);
      fCanvas.SetPen({kColourBlack, TPenStyle::Clear, 0});
      fCanvas.SetBrush({kColourBlack, TBrushStyle::Solid});
      fCanvas.Rectangle({shadow, size.Height, size.Width + shadow, size.Height + shadow});
      fCanvas.Rectangle({size.Width, shadow, size.Width + shadow, size.Height + shadow});
      fCanvas.SetBrush({kColourWhite, TBrushStyle::Solid});
      fCanvas.Rectangle({0, 0, size.Width, size.Height});
    }
    ++fPage;
    fY = fFrame.TopY;
    UseStyle(kHeaderFooterStyle, false);
    const int height = fCanvas.Font().Height > 0 ? fCanvas.TextExtent("Xg").Height : 0;
    // The texts were checked before the first page: they expand.
    const std::string header = ExpandPageCodes(fSettings.PageHeader, fCodes, fPage).ValueOr("");
    const std::string footer = ExpandPageCodes(fSettings.PageFooter, fCodes, fPage).ValueOr("");
    DrawBandText(fCanvas, {fFrame.LeftX, fFrame.HeaderY, fFrame.RightX, fFrame.HeaderY + height}, header,
                 fSettings.PageHeaderPos, false);
    DrawBandText(fCanvas, {fFrame.LeftX, fFrame.FooterY - height, fFrame.RightX, fFrame.FooterY}, footer,
                 fSettings.PageFooterPos, true);
  }

  // Starts a new page first when `height` more dots do not fit above the block's bottom.
  void Ensure(int height) {
    if (fY + height > fFrame.BottomY && fY > fFrame.TopY) AdvancePage();
  }

  void Fill(const TIntRect& box, std::uint32_t colour) {
    fCanvas.SetPen({colour, TPenStyle::Clear, 0});
    fCanvas.SetBrush({colour, TBrushStyle::Solid});
    fCanvas.Rectangle(box);
  }
  void Outlined(const TIntRect& box, std::uint32_t colour) {
    fCanvas.SetPen(kThinBlack);
    fCanvas.SetBrush({colour, TBrushStyle::Solid});
    fCanvas.Rectangle(box);
  }
  void Line(TIntPoint a, TIntPoint b, const TPen& pen) {
    fCanvas.SetPen(pen);
    fCanvas.SetBackgroundMode(TBackgroundMode::Transparent);
    fCanvas.MoveTo(a);
    fCanvas.LineTo(b);
  }
  // Text centred in the box (both ways), clipped to it.
  void Centred(const TIntRect& box, std::string_view text) {
    const TIntSize extent = fCanvas.TextExtent(text);
    fCanvas.Save();
    fCanvas.IntersectClip(box);
    fCanvas.TextOut({box.Left + (box.Right - box.Left - extent.Width) / 2, box.Top + (box.Bottom - box.Top - extent.Height) / 2},
                    text);
    fCanvas.Restore();
  }
  // " name " right-aligned and vertically centred in the label cell, shortened to fit.
  void LabelText(const TIntRect& cell, const std::string& name) {
    const std::string text = Ellipsized(fCanvas, " " + name + " ", cell.Right - cell.Left);
    const TIntSize extent = fCanvas.TextExtent(text);
    fCanvas.Save();
    fCanvas.IntersectClip(cell);
    fCanvas.TextOut({cell.Right - extent.Width, cell.Top + (cell.Bottom - cell.Top - extent.Height) / 2}, text);
    fCanvas.Restore();
  }

  void SectionHeading(int section) {
    const std::string& heading = fSettings.SectionHeadings[static_cast<std::size_t>(section - 1)];
    if (heading.empty()) return;
    const int style = fSettings.HeaderStyle[static_cast<std::size_t>(section - 1)];
    UseStyle(style, false);
    const int lineHeight = Nearest(1.3 * fCanvas.Font().Height);
    int position = 0;
    if (Style(style).Alignment == TTextAlignment::Center) position = 1;
    if (Style(style).Alignment == TTextAlignment::Right) position = 2;
    for (const std::string& line : SplitAt(heading, "@#")) {
      Ensure(lineHeight);
      DrawBandText(fCanvas, {fFrame.LeftX, fY, fFrame.RightX, fY + lineHeight}, line, position, false);
      fY += lineHeight;
    }
    fY += lineHeight;
  }

  int Columns() const { return fN == 1 ? 2 : fN; }

  void Headers() {
    SectionHeading(kSectionHeaders);
    const TTextFormats& formats = fReport.Presentation.Measure.Formats;
    UseStyle(fSettings.Style[0], false);
    TFont normal = fCanvas.Font();
    normal.Bold = false;
    fCanvas.SetFont(normal);
    const int lineHeight = Nearest(1.2 * normal.Height);
    TFont big = normal;
    big.Bold = true;
    big.Height = normal.Height * 2;
    fCanvas.SetFont(big);
    const int boxWidth = fCanvas.TextExtent("8:8").Width;
    const int boxHeight = Nearest(1.2 * big.Height);
    const int textStart = fCanvas.TextExtent("8:88").Width;
    fCanvas.SetFont(normal);
    const int textEndGap = fCanvas.TextExtent("XX").Width;

    std::vector<int> items;
    for (int item : fSettings.HeaderData)
      if (item >= 1 && item <= 7) items.push_back(item);
    const std::vector<TRadiograph*>& xrays = fReport.Radiographs;
    auto caption = [&](int item) { return fSettings.HeaderCaptions[static_cast<std::size_t>(item - 1)]; };
    auto field = [&](int index, int item) { return xrays[static_cast<std::size_t>(index)]->FieldText(item - 1, formats); };

    if (fSettings.GroupHeaders) {
      bool samePatient = true;
      for (int i = 1; i < fN; ++i)
        for (int f = 1; f <= 3; ++f) samePatient = samePatient && field(i, f + 1) == field(0, f + 1);
      if (samePatient) {
        int written = 0;
        std::vector<int> kept;
        for (int item : items) {
          if (item < 2 || item > 4) {
            kept.push_back(item);
            continue;
          }
          Ensure(lineHeight);
          DrawBandText(fCanvas, {fFrame.LeftX, fY, fFrame.RightX, fY + lineHeight}, caption(item) + field(0, item), 0,
                       false);
          fY += lineHeight;
          ++written;
        }
        if (written > 0 && fN > 1) fY += lineHeight;
        items = kept;
      }
    }

    // Rows of blocks: which radiographs each row holds, left to right.
    std::vector<std::vector<int>> rows;
    int perRow = fN;
    if (fSettings.ArrangeHeaders == 1) perRow = 2;
    if (fSettings.ArrangeHeaders == 2) perRow = 1;
    for (int i = 0; i < fN; i += perRow) {
      std::vector<int> row;
      for (int j = i; j < std::min(fN, i + perRow); ++j) row.push_back(j);
      rows.push_back(row);
    }
    const int blockWidth = (fFrame.RightX - fFrame.LeftX) / perRow;
    int firstTextColumn = fFrame.LeftX + textStart;
    for (const std::vector<int>& row : rows) {
      Ensure(std::max(boxHeight, lineHeight));
      const int rowTop = fY;
      for (std::size_t b = 0; b < row.size(); ++b) {
        const int left = fFrame.LeftX + static_cast<int>(b) * blockWidth;
        const TIntRect box{left, rowTop, left + boxWidth, rowTop + boxHeight};
        Outlined(box, fSettings.CephColour[static_cast<std::size_t>(row[b])]);
        fCanvas.SetFont(big);
        fCanvas.SetTextColour(kColourBlack);
        Centred(box, std::to_string(row[b] + 1) + ":");
      }
      fCanvas.SetFont(normal);
      fCanvas.SetTextColour(Style(fSettings.Style[0]).Colour);
      for (int item : items) {
        Ensure(lineHeight);
        for (std::size_t b = 0; b < row.size(); ++b) {
          const int left = fFrame.LeftX + static_cast<int>(b) * blockWidth;
          const TIntRect column{left + textStart, fY, left + blockWidth - textEndGap, fY + lineHeight};
          DrawBandText(fCanvas, column, caption(item) + field(row[b], item), 0, false);
        }
        fY += lineHeight;
      }
      // The next row starts below this one's number boxes.
      fY = std::max(fY, rowTop + boxHeight) + lineHeight;
    }

    if (fSettings.Intervals != 0 && fN > 1) {
      std::vector<std::pair<int, int>> pairs;
      for (int i = 0; i + 1 < fN; ++i) pairs.emplace_back(i, i + 1);
      if (fSettings.Intervals == 2) {
        if (fN > 2) pairs.emplace_back(0, 2);
        if (fN > 3) {
          pairs.emplace_back(0, 3);
          pairs.emplace_back(1, 3);
        }
      }
      TFont bold = normal;
      bold.Bold = true;
      Ensure(lineHeight);
      fCanvas.SetFont(bold);
      fCanvas.TextOut({fFrame.LeftX, fY}, fSettings.ComparisonCaption);
      fY += lineHeight;
      for (auto [a, b] : pairs) {
        Ensure(lineHeight);
        const std::string numbers = std::to_string(a + 1) + " - " + std::to_string(b + 1) + ": ";
        fCanvas.SetFont(bold);
        fCanvas.TextOut({firstTextColumn, fY}, numbers);
        const int after = firstTextColumn + fCanvas.TextExtent(numbers).Width;
        const TDayNumber first = xrays[static_cast<std::size_t>(a)]->DateTaken;
        const TDayNumber second = xrays[static_cast<std::size_t>(b)]->DateTaken;
        fCanvas.SetFont(normal);
        fCanvas.TextOut({after, fY}, AgeTextBetween(std::min(first, second), std::max(first, second), formats));
        fY += lineHeight;
      }
    }
    fY += lineHeight;
  }

  void Tracing() {
    SectionHeading(kSectionTracing);
    const int width = Nearest(fSettings.TracingWidth * fFrame.Paper.DpiX);
    const int height = Nearest(fSettings.TracingHeight * fFrame.Paper.DpiY);
    Ensure(std::min(height, fFrame.BottomY - fFrame.TopY));
    int left = fFrame.LeftX;
    if (fSettings.TracingPos == 1) left = fFrame.LeftX + (fFrame.RightX - fFrame.LeftX - width) / 2;
    if (fSettings.TracingPos == 2) left = fFrame.RightX - width;
    const TIntRect box{left, fY, left + width, std::min(fY + height, fFrame.BottomY)};

    TTracingBox tracing;
    tracing.Scene.Slots = fReport.Radiographs;
    tracing.Scene.Current = 0;
    tracing.Scene.Images = fReport.Images;
    tracing.Display = fReport.Display;
    tracing.Offset = fSettings.TracingExtPage;
    tracing.Zoom = fSettings.TracingZoom;
    DrawTracingInBox(fCanvas, box, fFrame.Paper.DpiX, tracing);
    if (fSettings.TracingBox) {
      fCanvas.SetPen(kThinBlack);
      fCanvas.SetBrush({kColourWhite, TBrushStyle::Clear});
      fCanvas.Rectangle(box);
    }
    fY = box.Bottom + Nearest(fFrame.Paper.DpiY / 2.54);
  }

  void Measurements() {
    SectionHeading(kSectionMeasurements);
    const int style = fSettings.Style[2];
    UseStyle(style, false);
    const TFont normal = fCanvas.Font();
    TFont bold = normal;
    bold.Bold = true;
    const int rowHeight = 2 * normal.Height;
    const int u = Nearest(static_cast<double>(fFrame.RightX - fFrame.LeftX) / (4 * Columns() + 4));
    const int labelRight = fFrame.LeftX + 4 * u;
    const int tableRight = labelRight + 4 * u * fN;
    int lastPage = -1;
    for (std::size_t r = 0; r < fTable.size(); ++r) {
      const TReportColumn& column = fTable[r];
      Ensure(rowHeight);
      const bool firstOnPage = lastPage != fPage;
      lastPage = fPage;
      const std::size_t set = fSettings.MeasurementsAlter && r % 2 == 1 ? 5 : 0;
      const int top = fY, bottom = fY + rowHeight;
      const TIntRect labelCell{fFrame.LeftX, top, labelRight, bottom};
      Fill(labelCell, fSettings.MeasurementsBackColour[set]);
      fCanvas.SetFont(bold);
      LabelText(labelCell, column.Name);
      for (int i = 0; i < fN; ++i) {
        const TReportEntry& entry = column.Entries[static_cast<std::size_t>(i)];
        const std::array<const std::string*, 4> texts{&entry.Text, &entry.Marks, &entry.Mean, &entry.SD};
        for (int j = 0; j < 4; ++j) {
          const int left = labelRight + 4 * u * i + u * j;
          const TIntRect cell{left, top, left + u, bottom};
          Fill(cell, fSettings.MeasurementsBackColour[set + 1 + static_cast<std::size_t>(j)]);
          fCanvas.SetFont(j == 0 ? bold : normal);
          Centred(cell, *texts[static_cast<std::size_t>(j)]);
        }
      }
      const int grid = fSettings.MeasurementsGrid;
      if (grid != 0) {
        Line({fFrame.LeftX, top}, {fFrame.LeftX, bottom}, kThinBlack);
        Line({tableRight, top}, {tableRight, bottom}, kThinBlack);
        if (grid >= 2 || firstOnPage) Line({fFrame.LeftX, top}, {tableRight, top}, kThinBlack);
        if (grid >= 2 || r + 1 == fTable.size()) Line({fFrame.LeftX, bottom}, {tableRight, bottom}, kThinBlack);
        for (int i = 0; i < fN && grid >= 2; ++i) {
          const int left = labelRight + 4 * u * i;
          Line({left, top}, {left, bottom}, kThinBlack);
          for (int j = 1; j < 4 && grid == 3; ++j) Line({left + u * j, top}, {left + u * j, bottom}, kThinBlack);
        }
      }
      fY = bottom;
    }
    fY += rowHeight;
  }

  // Dots of a length in millimetres scaled by a percentage.
  int MillimetreDots(int millimetres, int percent) const {
    return Nearest(millimetres * percent / 100.0 / 25.4 * fFrame.Paper.DpiY);
  }

  // The deviation in standard deviations, held to the scale; -100 (and so no bar) where
  // there is no value, mean or SD, or the SD is 0.
  static double ZOf(const TReportEntry& entry, int k, bool& bar) {
    bar = entry.Value && entry.MeanValue && entry.SdValue && *entry.SdValue != 0;
    const double z = bar ? (*entry.Value - *entry.MeanValue) / *entry.SdValue : -100;
    const double limit = k + 0.5;
    return std::isfinite(z) ? std::clamp(z, -limit, limit) : -limit;
  }

  // A bar from the centre to the deviation in the band, and its value beside its end
  // within [areaLeft, areaRight].
  void Bar(const TReportEntry& entry, int i, int centre, int sdDots, int k, int bandTop, int bandHeight, int areaLeft,
           int areaRight, bool showValue, std::uint32_t areaColour) {
    bool bar = false;
    const double z = ZOf(entry, k, bar);
    const int end = centre + Nearest(sdDots * z);
    if (bar) Outlined({std::min(centre, end), bandTop, std::max(centre, end), bandTop + bandHeight},
                      fSettings.CephColour[static_cast<std::size_t>(i)]);
    if (!showValue) return;
    const int w = fCanvas.TextExtent("X").Width + fCanvas.TextExtent(entry.Text).Width;
    TIntRect box{end - w, bandTop, end, bandTop + bandHeight};
    if (z > 0 ? areaRight - end > w : end - areaLeft < w) box = {end, bandTop, end + w, bandTop + bandHeight};
    if (!bar) {
      fCanvas.SetBackgroundMode(TBackgroundMode::Opaque);
      fCanvas.SetBackgroundColour(areaColour);
    } else {
      fCanvas.SetBackgroundMode(TBackgroundMode::Transparent);
    }
    const TIntSize extent = fCanvas.TextExtent(entry.Text);
    fCanvas.TextOut({box.Left + (box.Right - box.Left - extent.Width) / 2, box.Top + (box.Bottom - box.Top - extent.Height) / 2},
                    entry.Text);
    fCanvas.SetBackgroundMode(TBackgroundMode::Transparent);
  }

  void ScaleLines(int centre, int sdDots, int k, int top, int bottom) {
    for (int j = 1; j <= k; ++j) {
      Line({centre - j * sdDots, top}, {centre - j * sdDots, bottom}, kDotted);
      Line({centre + j * sdDots, top}, {centre + j * sdDots, bottom}, kDotted);
    }
    Line({centre, top}, {centre, bottom}, kThinBlack);
  }

  bool IsLabelRow(std::size_t r, bool breakAtLabel) const {
    return breakAtLabel && r < fTable.size() && fTable[r].Label;
  }

  struct TGraphRow {
    std::size_t Index = 0;
    int Top = 0;
    int Bottom = 0;
    bool FirstOnPage = false;
    std::size_t Set = 0;  // the first colour of the row's colour set
  };

  // The rows of a graph, one per variable: a row `barRow` high with its label cell filled and
  // then its bars drawn, or (with break at label) a label's heading row of its name alone.
  // With alternating lines every other row takes the colours from `setSize` on.
  void GraphRows(int barRow, bool breakAtLabel, bool alternate, std::size_t setSize, int x0, const TFont& normal,
                 const TFont& bold, const std::function<std::uint32_t(std::size_t)>& labelColour,
                 const std::function<void(const TGraphRow&)>& drawBars) {
    int lastPage = -1;
    for (std::size_t r = 0; r < fTable.size(); ++r) {
      const bool label = IsLabelRow(r, breakAtLabel);
      const int rowHeight = label ? 2 * normal.Height : barRow;
      Ensure(rowHeight);
      TGraphRow row{r, fY, fY + rowHeight, lastPage != fPage, alternate && r % 2 == 1 ? setSize : 0};
      lastPage = fPage;
      const TIntRect labelCell{fFrame.LeftX, row.Top, x0, row.Bottom};
      if (!label) Fill(labelCell, labelColour(row.Set));
      fCanvas.SetFont(bold);
      LabelText(labelCell, fTable[r].Name);
      if (!label) {
        fCanvas.SetFont(normal);
        drawBars(row);
      }
      fY = row.Bottom;
    }
    fY += barRow;
  }

  // The line above a row with "Grid", on a page's first row and after a label row; the line
  // below with "Grid", on the last row and before a label row.
  void RowLines(const TGraphRow& row, bool grid, int right, bool breakAtLabel) {
    const std::size_t r = row.Index;
    if (grid || row.FirstOnPage || (r > 0 && IsLabelRow(r - 1, breakAtLabel)))
      Line({fFrame.LeftX, row.Top}, {right, row.Top}, kThinBlack);
    if (grid || r + 1 == fTable.size() || IsLabelRow(r + 1, breakAtLabel))
      Line({fFrame.LeftX, row.Bottom}, {right, row.Bottom}, kThinBlack);
  }

  void VariableGraph() {
    SectionHeading(kSectionVariableGraph);
    UseStyle(fSettings.Style[3], false);
    const TFont normal = fCanvas.Font();
    TFont bold = normal;
    bold.Bold = true;
    const int k = Clamped(fSettings.VariablesStDev, 1, 6);
    const int barMm = Clamped(fSettings.VariablesBarHeight, 1, 10);
    const int u = Nearest(static_cast<double>(fFrame.RightX - fFrame.LeftX) / (4 * Columns() + 5));
    const int x0 = fFrame.LeftX + 5 * u;
    const int centre = x0 + Nearest((fFrame.RightX - x0) / 2.0);
    const int sdDots = Nearest(static_cast<double>(fFrame.RightX - x0) / (2 * k + 1));
    const int b = std::max(1, MillimetreDots(barMm, 100));
    const int g = MillimetreDots(barMm, std::max(0, fSettings.VariablesSpacing));
    const int m = MillimetreDots(barMm, std::max(0, fSettings.VariablesLineSpacing));
    const int bars = fSettings.VariablesKeepSpace ? 4 : fN;
    const bool breakAtLabel = fSettings.VariablesBreak;
    const auto& colours = fSettings.VariablesBackColour;
    GraphRows(bars * b + (bars - 1) * g + 2 * m, breakAtLabel, fSettings.VariablesAlter, 2, x0, normal, bold,
              [&](std::size_t set) { return colours[set]; }, [&](const TGraphRow& row) {
                Fill({x0, row.Top, fFrame.RightX, row.Bottom}, colours[row.Set + 1]);
                ScaleLines(centre, sdDots, k, row.Top, row.Bottom);
                const int grid = fSettings.VariablesGrid;
                if (grid != 0) {
                  Line({fFrame.LeftX, row.Top}, {fFrame.LeftX, row.Bottom}, kThinBlack);
                  Line({fFrame.RightX, row.Top}, {fFrame.RightX, row.Bottom}, kThinBlack);
                  if (grid == 2) Line({x0, row.Top}, {x0, row.Bottom}, kThinBlack);
                  RowLines(row, grid == 2, fFrame.RightX, breakAtLabel);
                }
                for (int i = 0; i < fN; ++i)
                  Bar(fTable[row.Index].Entries[static_cast<std::size_t>(i)], i, centre, sdDots, k,
                      row.Top + m + i * (b + g), b, x0, fFrame.RightX, fSettings.VariablesShowValue, colours[row.Set + 1]);
              });
  }

  void RadiographGraph() {
    SectionHeading(kSectionRadiographGraph);
    UseStyle(fSettings.Style[4], false);
    const TFont normal = fCanvas.Font();
    TFont bold = normal;
    bold.Bold = true;
    const int k = Clamped(fSettings.XRaysStDev, 1, 6);
    const int barMm = Clamped(fSettings.XRaysBarHeight, 1, 10);
    const int n = Columns();
    const int w = Nearest(static_cast<double>(fFrame.RightX - fFrame.LeftX) / (4 * n + 5) * 4);
    const int x0 = fFrame.RightX - n * w;
    const int sdDots = Nearest(static_cast<double>(w) / (2 * k + 1));
    const int b = std::max(1, MillimetreDots(barMm, 100));
    const int m = MillimetreDots(barMm, std::max(0, fSettings.XRaysLineSpacing));
    const int edgeGap = Nearest(fFrame.Paper.DpiX / 63.5);
    const bool breakAtLabel = fSettings.XRaysBreak;
    const auto& colours = fSettings.XRaysBackColour;
    auto columnColour = [&](std::size_t set, int i) { return colours[set + 1 + static_cast<std::size_t>(i)]; };
    GraphRows(b + 2 * m, breakAtLabel, fSettings.XRaysAlter, 5, x0, normal, bold,
              [&](std::size_t set) { return colours[set]; }, [&](const TGraphRow& row) {
                for (int i = 0; i < fN; ++i) Fill({x0 + i * w, row.Top, x0 + (i + 1) * w, row.Bottom}, columnColour(row.Set, i));
                const int grid = fSettings.XRaysGrid;
                if (grid != 0) {
                  Line({fFrame.LeftX, row.Top}, {fFrame.LeftX, row.Bottom}, kThinBlack);
                  Line({x0, row.Top}, {x0, row.Bottom}, kThinBlack);
                  for (int i = 0; i < fN; ++i) {
                    Line({x0 + i * w + edgeGap, row.Top}, {x0 + i * w + edgeGap, row.Bottom}, kThinBlack);
                    Line({x0 + (i + 1) * w, row.Top}, {x0 + (i + 1) * w, row.Bottom}, kThinBlack);
                  }
                  RowLines(row, grid == 2, x0 + fN * w, breakAtLabel);
                }
                for (int i = 0; i < fN; ++i) {
                  const int left = x0 + i * w;
                  const int centre = left + Nearest(w / 2.0);
                  ScaleLines(centre, sdDots, k, row.Top, row.Bottom);
                  Bar(fTable[row.Index].Entries[static_cast<std::size_t>(i)], i, centre, sdDots, k, row.Top + m, b, left,
                      left + w, fSettings.XRaysShowValue, columnColour(row.Set, i));
                }
              });
  }

  TCanvas& fCanvas;
  const TExtendedReport& fReport;
  const TExtAnalysisSettings& fSettings;
  const TPageFrame fFrame;
  const TPageFlow fFlow;
  const std::vector<TReportColumn> fTable;
  const TIsotropicMapping fBase;
  const int fN;
  const TPageCodeValues fCodes;
  int fPage = 0;
  int fY = 0;
};

}  // namespace

std::vector<TReportColumn> BuildReportTable(const std::vector<TRadiograph*>& radiographs,
                                            const TPresentationOptions& options) {
  std::vector<TReportColumn> columns;
  if (radiographs.empty()) return columns;
  {
    const TLoadedRadiograph first = radiographs.front()->Load();
    for (TXRVariable* variable : AnalysisVariables(first.Radiograph())) {
      if (variable->ShowIn == 0) continue;
      TReportColumn column;
      column.Name = variable->Name;
      column.Label = variable->Kind() == static_cast<int>(TVariableKind::Label);
      column.Style = VariableStyleNumber(*variable);
      columns.push_back(std::move(column));
    }
  }
  for (TRadiograph* radiograph : radiographs) {
    const TLoadedRadiograph loaded = radiograph->Load();
    for (TReportColumn& column : columns) {
      TReportEntry& entry = column.Entries.emplace_back();
      TXRVariable* variable = loaded.Variable(column.Name);
      if (variable == nullptr) {
        entry.Text = options.NotAvailable;
        continue;
      }
      ComputeVariable(*variable, *radiograph, options.Measure);
      const std::vector<std::string> fields = SplitAt(TextLine(*variable, *radiograph, kTextLineNormals, options), "\t");
      auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string(); };
      entry.Text = field(1);
      entry.Mean = field(2);
      entry.SD = field(3);
      entry.Marks = field(4);
      if (variable->Valid) {
        entry.General = TextLine(*variable, *radiograph, kTextLineGeneral, options);
        entry.Value = VariableNumber(*variable, options.Measure.Formats);
        if (std::optional<TNormalValue> normal = ApplicableNormal(*variable, *radiograph)) {
          entry.MeanValue = normal->Mean;
          entry.SdValue = normal->StandardDeviation;
        }
      }
    }
  }
  return columns;
}

TIntSize PreviewSize(const TPaper& paper, int pages) {
  const int step = paper.Dots.Height + Nearest(kPreviewGapInches * paper.DpiY);
  const int shadow = Nearest(kPreviewShadowInches * paper.DpiX);
  return {paper.Dots.Width + shadow, std::max(1, pages) * step - Nearest(kPreviewGapInches * paper.DpiY) + shadow};
}

TResultOf<int> DrawExtendedReport(TCanvas& canvas, const TExtendedReport& report, const TPaper& paper,
                                  TPageFlow flow) {
  const std::size_t count = report.Radiographs.size();
  if (count == 0 || count > static_cast<std::size_t>(kMaximumReportRadiographs) ||
      std::find(report.Radiographs.begin(), report.Radiographs.end(), nullptr) != report.Radiographs.end())
    return TResult::Failure(kNoReportRadiographsMessage);
  const TExtAnalysisSettings& s = report.Settings;
  if (!(s.TracingZoom > 0) || !std::isfinite(s.TracingZoom)) return TResult::Failure(kZoomNotPositiveMessage);
  TResultOf<TPageFrame> frame =
      PageFrame(paper, {s.PageMargin[0], s.PageMargin[1], s.PageMargin[2], s.PageMargin[3], s.PageMargin[4], s.PageMargin[5]});
  if (!frame) return frame.Outcome();
  const TPageCodeValues codes = PageCodeValues(*report.Radiographs.front(), report.Presentation.Measure.Formats);
  for (const std::string* text : {&s.PageHeader, &s.PageFooter})
    if (TResultOf<std::string> expanded = ExpandPageCodes(*text, codes, 1); !expanded) return expanded.Outcome();
  std::vector<TReportColumn> table = BuildReportTable(report.Radiographs, report.Presentation);
  canvas.Save();
  TReportPainter painter(canvas, report, *frame, flow, std::move(table));
  const int pages = painter.Run();
  canvas.Restore();
  return pages;
}

}  // namespace lumacet
