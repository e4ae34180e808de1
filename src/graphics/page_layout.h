// Pages of the print-outs: paper sizes in device dots, the printable block inside the
// margins, the header and footer codes, and the fonts of the text styles at a device's
// resolution. Every print-out is laid out in device dots on a canvas whose mapping takes
// dots to the surface's pixels, so that one layout goes to the printer, a PDF, an SVG and
// the preview alike.
#pragma once

#include <string>
#include <string_view>

#include "graphics/canvas.h"
#include "measure/text_style.h"
#include "support/result.h"

namespace lumacet {

class TRadiograph;
struct TTextFormats;

inline constexpr TTextSource kUnknownPageCodeMessage =
    LcText("Printing", "The header or footer \"%1\" holds the unknown code \"%2\". The codes are @n (name), @c "
                       "(comments), @d (date taken), @b (date of birth), @a (age) and @p (page number).");
inline constexpr TTextSource kMarginsTooLargeMessage =
    LcText("Printing", "The page margins leave less than 1 cm of the page to print on.");
inline constexpr TTextSource kZoomNotPositiveMessage = LcText("Printing", "The zoom must be greater than 0.");

// What the header and footer codes stand for.
struct TPageCodeValues {
  std::string Name;
  std::string Comments;
  std::string DateTaken;    // short date format
  std::string DateOfBirth;  // short date format
  std::string Age;
};
TPageCodeValues PageCodeValues(const TRadiograph& radiograph, const TTextFormats& formats);

// The text with "@n", "@c", "@d", "@b", "@a" and "@p" (the page number) replaced in one pass,
// so that what a replacement inserts is never read for codes. An "@" before any other
// letter is refused with kUnknownPageCodeMessage; before anything else it stays as it is.
TResultOf<std::string> ExpandPageCodes(std::string_view text, const TPageCodeValues& values, int page);

enum class TPaperKind { A4, Letter };

// A sheet in device dots at a resolution.
struct TPaper {
  TIntSize Dots;
  double DpiX = 254;
  double DpiY = 254;
};
TPaper MakePaper(TPaperKind kind, bool portrait, double dpi);

// Margins and band distances in inches.
struct TPageMargins {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  double Header = 0;  // the header band's distance from the top of the sheet
  double Footer = 0;  // the footer band's distance from the bottom
};

// The printable block and the header and footer lines of a sheet, in dots.
struct TPageFrame {
  TPaper Paper;
  int LeftX = 0;
  int TopY = 0;
  int RightX = 0;
  int BottomY = 0;
  int HeaderY = 0;
  int FooterY = 0;
};
// Refused with kMarginsTooLargeMessage when the block would be narrower or lower than 1 cm
// (negative margins count as 0).
TResultOf<TPageFrame> PageFrame(const TPaper& paper, const TPageMargins& margins);

// The style's font with its height in dots at the vertical resolution, rounded.
TFont StyleFont(const TTextStyle& style, double dpiY);

// One line of text in the band, left (0), centred (1) or right (2) aligned, at the band's
// top or, with `bottom`, ending at its bottom; clipped to the band.
void DrawBandText(TCanvas& canvas, const TIntRect& band, std::string_view text, int position, bool bottom);

// The text cut at its end with "..." so that it fits the width; the whole text when it fits.
std::string Ellipsized(const TCanvas& canvas, std::string_view text, int width);

}  // namespace lumacet
