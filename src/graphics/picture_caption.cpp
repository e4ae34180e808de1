#include "graphics/picture_caption.h"

#include <algorithm>
#include <functional>

namespace lumacet {

namespace {

constexpr double kTitlePoints = 14;
constexpr double kLinePoints = 9;
constexpr int kStrokeLength = 80;  // 8 mm
constexpr int kGap = 20;           // 2 mm between the stroke and the text, and under the title

TFont CaptionFont(double points, bool bold) {
  TFont font;
  font.Height = points * kTracingUnitsPerPoint;
  font.Bold = bold;
  return font;
}

// Walks the caption's lines, each with the top left of its text and its size.
void Layout(TCanvas& canvas, TIntPoint topLeft, const TPictureCaption& caption,
            const std::function<void(const TCaptionLine*, const std::string&, const TFont&, TIntPoint, TIntSize)>&
                visit) {
  const TFont saved = canvas.Font();
  int y = topLeft.Y;
  if (!caption.Title.empty()) {
    const TFont font = CaptionFont(kTitlePoints, true);
    canvas.SetFont(font);
    const TIntSize size = canvas.TextExtent(caption.Title);
    visit(nullptr, caption.Title, font, {topLeft.X, y}, size);
    y += size.Height + kGap;
  }
  const TFont font = CaptionFont(kLinePoints, false);
  const bool anyStroke = std::any_of(caption.Lines.begin(), caption.Lines.end(),
                                     [](const TCaptionLine& line) { return line.Pen.has_value(); });
  const int textLeft = topLeft.X + (anyStroke ? kStrokeLength + kGap : 0);
  for (const TCaptionLine& line : caption.Lines) {
    canvas.SetFont(font);
    const TIntSize size = canvas.TextExtent(line.Text);
    visit(&line, line.Text, font, {textLeft, y}, size);
    y += size.Height;
  }
  canvas.SetFont(saved);
}

}  // namespace

TIntRect CaptionBox(TCanvas& canvas, TIntPoint topLeft, const TPictureCaption& caption) {
  TIntRect box{topLeft.X, topLeft.Y, topLeft.X, topLeft.Y};
  Layout(canvas, topLeft, caption,
         [&](const TCaptionLine*, const std::string&, const TFont&, TIntPoint at, TIntSize size) {
    box.Right = std::max(box.Right, at.X + size.Width);
    box.Bottom = std::max(box.Bottom, at.Y + size.Height);
  });
  return box;
}

void DrawCaption(TCanvas& canvas, TIntPoint topLeft, const TPictureCaption& caption) {
  canvas.SetBackgroundMode(TBackgroundMode::Transparent);
  canvas.SetTextColour(0x000000);
  Layout(canvas, topLeft, caption, [&](const TCaptionLine* line, const std::string& text, const TFont& font,
                                       TIntPoint at, TIntSize size) {
    if (line != nullptr && line->Pen) {
      TPen pen = *line->Pen;
      // A hairline stroke would hardly show the colour it stands for.
      pen.Width = std::max(pen.Width, 3);
      canvas.SetPen(pen);
      const int middle = at.Y + size.Height / 2;
      canvas.MoveTo({topLeft.X, middle});
      canvas.LineTo({topLeft.X + kStrokeLength, middle});
    }
    canvas.SetFont(font);
    canvas.TextOut(at, text);
  });
}

}  // namespace lumacet
