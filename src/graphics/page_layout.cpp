#include "graphics/page_layout.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/radiograph.h"

namespace lumacet {

namespace {

// A4 and Letter in millimetres, portrait.
constexpr double kA4Width = 210, kA4Height = 297;
constexpr double kLetterWidth = 215.9, kLetterHeight = 279.4;
constexpr double kMinimumBlockInches = 1 / 2.54;

int Dots(double inches, double dpi) { return RoundSaturated(inches * dpi); }

}  // namespace

TPageCodeValues PageCodeValues(const TRadiograph& radiograph, const TTextFormats& formats) {
  return {radiograph.Name, radiograph.Comments, radiograph.FieldText(6, formats), radiograph.FieldText(3, formats),
          radiograph.AgeText(formats)};
}

TResultOf<std::string> ExpandPageCodes(std::string_view text, const TPageCodeValues& values, int page) {
  std::string expanded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char code = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c != '@' || !std::isalpha(static_cast<unsigned char>(code))) {
      expanded += c;
      continue;
    }
    switch (code) {
      case 'n': expanded += values.Name; break;
      case 'c': expanded += values.Comments; break;
      case 'd': expanded += values.DateTaken; break;
      case 'b': expanded += values.DateOfBirth; break;
      case 'a': expanded += values.Age; break;
      case 'p': expanded += std::to_string(page); break;
      default:
        return TResult::Failure(TText(kUnknownPageCodeMessage, {text, std::string{'@', code}}));
    }
    ++i;
  }
  return expanded;
}

TPaper MakePaper(TPaperKind kind, bool portrait, double dpi) {
  const double w = kind == TPaperKind::Letter ? kLetterWidth : kA4Width;
  const double h = kind == TPaperKind::Letter ? kLetterHeight : kA4Height;
  TIntSize dots{Dots(w / 25.4, dpi), Dots(h / 25.4, dpi)};
  if (!portrait) std::swap(dots.Width, dots.Height);
  return {dots, dpi, dpi};
}

TResultOf<TPageFrame> PageFrame(const TPaper& paper, const TPageMargins& margins) {
  auto atLeastZero = [](double inches) { return std::isfinite(inches) ? std::max(inches, 0.0) : 0.0; };
  TPageFrame frame;
  frame.Paper = paper;
  frame.LeftX = Dots(atLeastZero(margins.Left), paper.DpiX);
  frame.TopY = Dots(atLeastZero(margins.Top), paper.DpiY);
  frame.RightX = paper.Dots.Width - Dots(atLeastZero(margins.Right), paper.DpiX);
  frame.BottomY = paper.Dots.Height - Dots(atLeastZero(margins.Bottom), paper.DpiY);
  frame.HeaderY = Dots(atLeastZero(margins.Header), paper.DpiY);
  frame.FooterY = paper.Dots.Height - Dots(atLeastZero(margins.Footer), paper.DpiY);
  if (frame.RightX - frame.LeftX < kMinimumBlockInches * paper.DpiX ||
      frame.BottomY - frame.TopY < kMinimumBlockInches * paper.DpiY)
    return TResult::Failure(kMarginsTooLargeMessage);
  return frame;
}

TFont StyleFont(const TTextStyle& style, double dpiY) {
  TFont font;
  font.Name = style.FontName;
  font.Height = std::max(1, RoundSaturated(style.Size * dpiY / 72));
  font.Bold = style.Bold;
  font.Italic = style.Italic;
  font.Underline = style.Underline;
  font.StrikeOut = style.StrikeOut;
  return font;
}

void DrawBandText(TCanvas& canvas, const TIntRect& band, std::string_view text, int position, bool bottom) {
  if (text.empty()) return;
  const TIntSize extent = canvas.TextExtent(text);
  int x = band.Left;
  if (position == 1) x = band.Left + (band.Right - band.Left - extent.Width) / 2;
  if (position == 2) x = band.Right - extent.Width;
  const int y = bottom ? band.Bottom - extent.Height : band.Top;
  canvas.Save();
  canvas.IntersectClip(band);
  canvas.TextOut({x, y}, text);
  canvas.Restore();
}

std::string Ellipsized(const TCanvas& canvas, std::string_view text, int width) {
  if (canvas.TextExtent(text).Width <= width) return std::string(text);
  std::string cut(text);
  while (!cut.empty()) {
    // Whole UTF-8 characters only: the continuation bytes, then the first byte.
    while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
    if (!cut.empty()) cut.pop_back();
    if (canvas.TextExtent(cut + "...").Width <= width) return cut + "...";
  }
  return "";
}

}  // namespace lumacet
