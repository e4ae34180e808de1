#include "graphics/print_pages.h"

#include <algorithm>
#include <cmath>

namespace lumacet {

namespace {

constexpr double kUnitsPerInch = 254;

int Dots(double inches, double dpi) { return RoundSaturated(inches * dpi); }

bool UsableZoom(double zoom) { return zoom > 0 && std::isfinite(zoom); }

// The header at the top of its band and the footer at the bottom of its own, in style 12.
void DrawHeaderAndFooter(TCanvas& canvas, const TTextStyle& style, double dpiY, const TIntRect& header,
                         const TIntRect& footer, const std::string& headerText, const std::string& footerText,
                         int headerPosition, int footerPosition) {
  canvas.SetFont(StyleFont(style, dpiY));
  canvas.SetTextColour(style.Colour);
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  DrawBandText(canvas, header, headerText, headerPosition, false);
  DrawBandText(canvas, footer, footerText, footerPosition, true);
}

TResult CheckCodes(const std::string& header, const std::string& footer, const TPageCodeValues& codes) {
  for (const std::string* text : {&header, &footer})
    if (TResultOf<std::string> expanded = ExpandPageCodes(*text, codes, 1); !expanded) return expanded.Outcome();
  return {};
}

}  // namespace

void DrawTracingInBox(TCanvas& canvas, const TIntRect& box, double dpi, const TTracingBox& tracing) {
  if (!UsableZoom(tracing.Zoom)) return;
  canvas.Save();
  canvas.IntersectClip(box);
  const TFloatPoint corner =
      canvas.LogicalToDevice(TFloatPoint{static_cast<double>(box.Left), static_cast<double>(box.Top)});
  const TFloatPoint offset{static_cast<double>(tracing.Offset.X), static_cast<double>(tracing.Offset.Y)};
  if (auto mapping = TIsotropicMapping::FromScale(offset, canvas.Mapping().Scale() * dpi * tracing.Zoom / kUnitsPerInch,
                                                  corner)) {
    canvas.SetMapping(*mapping);
    TDisplayScene scene = tracing.Scene;
    if (scene.Images) scene.Images(canvas);
    if (tracing.Display.GridShown) DrawGrid(canvas, tracing.Display.GridDensity, tracing.Display.GridColour);
    DrawTracings(canvas, scene, tracing.Display);
    if (tracing.RotationPoint && scene.RotationCentre) DrawRotationCentre(canvas, *scene.RotationCentre);
  }
  canvas.Restore();
}

TIntSize PrintAreaExtent(double widthInches, double heightInches, double zoom) {
  if (!UsableZoom(zoom)) return {};
  return {RoundSaturated(widthInches * kUnitsPerInch / zoom), RoundSaturated(heightInches * kUnitsPerInch / zoom)};
}

TResult DrawTracingPage(TCanvas& canvas, const TPaper& paper, const TTracingPage& page) {
  const TPrintSettings& p = page.Print;
  if (!UsableZoom(p.TracingZoom)) return TResult::Failure(kZoomNotPositiveMessage);
  TResultOf<TPageFrame> frame = PageFrame(paper, {p.TracingLeftMargin, p.TracingTopMargin, p.TracingRightMargin,
                                                  p.TracingBottomMargin, p.TracingHeaderMargin, p.TracingFooterMargin});
  if (!frame) return frame.Outcome();
  if (TResult codes = CheckCodes(p.TracingHeader, p.TracingFooter, page.Codes); !codes) return codes;
  canvas.Save();
  TTracingBox tracing = page.Tracing;
  tracing.Offset = p.TracingPage;
  tracing.Zoom = p.TracingZoom;
  DrawTracingInBox(canvas, {frame->LeftX, frame->TopY, frame->RightX, frame->BottomY}, paper.DpiX, tracing);
  canvas.SetFont(StyleFont(page.HeaderStyle, paper.DpiY));
  const int h = canvas.TextExtent("Xg").Height;
  DrawHeaderAndFooter(canvas, page.HeaderStyle, paper.DpiY, {frame->LeftX, frame->HeaderY, frame->RightX, frame->HeaderY + 2 * h},
                      {frame->LeftX, frame->FooterY - 2 * h, frame->RightX, frame->FooterY},
                      ExpandPageCodes(p.TracingHeader, page.Codes, 1).ValueOr(""),
                      ExpandPageCodes(p.TracingFooter, page.Codes, 1).ValueOr(""), p.TracingHeaderPosition,
                      p.TracingFooterPosition);
  canvas.Restore();
  return {};
}

TIntRect TextTracingBox(const TPageFrame& frame, const TPrintSettings& print) {
  const int width = Dots(print.TracingWidth, frame.Paper.DpiX);
  const int height = Dots(print.TracingHeight, frame.Paper.DpiY);
  const int position = std::clamp(print.TracingPosition, 0, 8);
  const int column = position % 3, row = position / 3;
  int x = frame.LeftX;
  if (column == 1) x = frame.LeftX + (frame.RightX - frame.LeftX - width) / 2;
  if (column == 2) x = frame.RightX - width;
  int y = frame.TopY;
  if (row == 1) y = frame.TopY + (frame.BottomY - frame.TopY - height) / 2;
  if (row == 2) y = frame.BottomY - height;
  return {x, y, x + width, y + height};
}

TIntRect TextRectangle(const TPageFrame& frame, const TPrintSettings& print, bool firstPage) {
  TIntRect rect{frame.LeftX, frame.TopY, frame.RightX, frame.BottomY};
  if (!firstPage || !print.TracingShow || print.TracingOverlap) return rect;
  const int position = std::clamp(print.TracingPosition, 0, 8);
  const TIntRect box = TextTracingBox(frame, print);
  if (position < 3) rect.Top += box.Bottom - box.Top;
  if (position == 3) rect.Left += box.Right - box.Left;
  if (position == 5) rect.Right -= box.Right - box.Left;
  // A box as wide or high as the block leaves the text no room: it then starts there all the same.
  rect.Right = std::max(rect.Right, rect.Left);
  rect.Bottom = std::max(rect.Bottom, rect.Top);
  return rect;
}

TResultOf<int> DrawTextPages(TCanvas& canvas, const TPaper& paper, const TTextPages& pages) {
  const TPrintSettings& p = pages.Print;
  if (p.TracingShow && !UsableZoom(p.TextTracingZoom)) return TResult::Failure(kZoomNotPositiveMessage);
  TResultOf<TPageFrame> frame =
      PageFrame(paper, {p.LeftMargin, p.TopMargin, p.RightMargin, p.BottomMargin, p.HeaderMargin, p.TracingMargin});
  if (!frame) return frame.Outcome();
  if (TResult codes = CheckCodes(p.PageHeader, p.PageFooter, pages.Codes); !codes) return codes;
  const TTextStyle& headerStyle = pages.Styles[kTextStyleCount - 1];
  TTracingBox tracing = pages.Tracing;
  tracing.Offset = p.TracingTextPage;
  tracing.Zoom = p.TextTracingZoom;
  const TIntRect box = TextTracingBox(*frame, p);
  const int row = std::clamp(p.TracingPosition, 0, 8) / 3;
  // Tab stops at the right edges of the five columns of the text layout, in points.
  std::vector<int> stops;
  int sum = 0;
  for (int width : pages.TextLayout) stops.push_back(Dots((sum += std::max(width, 0)) / 72.0, paper.DpiX));

  canvas.Save();
  int page = 0;
  TIntRect rect;
  int y = 0;
  auto startPage = [&] {
    if (page > 0) canvas.NewPage();
    ++page;
    canvas.SetFont(StyleFont(headerStyle, paper.DpiY));
    const int h = canvas.TextExtent("Xg").Height;
    DrawHeaderAndFooter(canvas, headerStyle, paper.DpiY, {frame->LeftX, frame->HeaderY, frame->RightX, frame->HeaderY + h},
                        {frame->LeftX, frame->FooterY - h, frame->RightX, frame->FooterY},
                        ExpandPageCodes(p.PageHeader, pages.Codes, page).ValueOr(""),
                        ExpandPageCodes(p.PageFooter, pages.Codes, page).ValueOr(""), p.PageHeaderPosition,
                        p.PageFooterPosition);
    rect = TextRectangle(*frame, p, page == 1);
    y = rect.Top;
  };
  auto boxOnFirstPage = [&] {
    if (page == 1 && p.TracingShow && row < 2) DrawTracingInBox(canvas, box, paper.DpiX, tracing);
  };
  startPage();
  for (const TAnalysisLine& line : pages.Lines) {
    const TTextStyle& style = pages.Styles[static_cast<std::size_t>(std::clamp(line.Style, 1, kTextStyleCount) - 1)];
    canvas.SetFont(StyleFont(style, paper.DpiY));
    canvas.SetTextColour(line.Colour);
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    const int height = canvas.TextExtent(line.Text).Height;
    // A line taller than the page still goes on one: every page takes at least one.
    if (y + height > rect.Bottom && y > rect.Top) {
      boxOnFirstPage();
      startPage();
      canvas.SetFont(StyleFont(style, paper.DpiY));
      canvas.SetTextColour(line.Colour);
      canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    }
    canvas.Save();
    canvas.IntersectClip({rect.Left, y, rect.Right, y + height});
    std::size_t at = 0;
    for (std::size_t field = 0;; ++field) {
      const std::size_t tab = line.Text.find('\t', at);
      const std::string text = line.Text.substr(at, tab == std::string::npos ? std::string::npos : tab - at);
      int x = rect.Left + (field == 0 ? 0 : stops[std::min(field, stops.size()) - 1]);
      if (field == 0 && tab == std::string::npos) {
        const int width = canvas.TextExtent(text).Width;
        if (style.Alignment == TTextAlignment::Center) x = rect.Left + (rect.Right - rect.Left - width) / 2;
        if (style.Alignment == TTextAlignment::Right) x = rect.Right - width;
      }
      canvas.TextOut({x, y}, text);
      if (tab == std::string::npos) break;
      at = tab + 1;
    }
    canvas.Restore();
    y += height;
  }
  boxOnFirstPage();
  if (p.TracingShow && row == 2) {
    const int height = box.Bottom - box.Top;
    TIntRect placed = box;
    if (!p.TracingOverlap) {
      if (y + height > frame->BottomY) {
        startPage();
        y = frame->TopY;
      }
      placed = {box.Left, y, box.Right, y + height};
    }
    DrawTracingInBox(canvas, placed, paper.DpiX, tracing);
  }
  canvas.Restore();
  return page;
}

}  // namespace lumacet
