#include "app/ui/analysis_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "platform/qpainter_canvas.h"

namespace lumacet {

namespace {

QTextCharFormat CharFormat(const TTextStyle& style, uint32_t colour) {
  QTextCharFormat format;
  QFont font(QString::fromStdString(style.FontName), style.Size);
  font.setBold(style.Bold);
  font.setItalic(style.Italic);
  font.setUnderline(style.Underline);
  font.setStrikeOut(style.StrikeOut);
  format.setFont(font);
  format.setForeground(ToQColor(colour));
  return format;
}

}  // namespace

TAnalysisWindow::TAnalysisWindow(TSource source, TPresentationOptions options, std::array<int, 5> layout,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), fSource(std::move(source)), fOptions(std::move(options)), fLayout(layout) {
  setWindowTitle(tr("Detailed Analysis"));
  resize(560, 420);
  auto* vertical = new QVBoxLayout(this);
  fCaption = new QLabel;
  vertical->addWidget(fCaption);
  fText = new QTextEdit;
  fText->setReadOnly(true);
  fText->setLineWrapMode(QTextEdit::NoWrap);
  vertical->addWidget(fText, 1);
  auto* buttons = new QHBoxLayout;
  auto* update = new QPushButton(tr("&Update"));
  auto* wrap = new QCheckBox(tr("&Word Wrap"));
  buttons->addWidget(update);
  buttons->addWidget(wrap);
  buttons->addStretch();
  vertical->addLayout(buttons);
  connect(update, &QPushButton::clicked, this, &TAnalysisWindow::Update);
  connect(wrap, &QCheckBox::toggled, this,
          [this](bool on) { fText->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap); });
  Update();
}

void TAnalysisWindow::Update() {
  fText->clear();
  TRadiograph* radiograph = fSource();
  if (radiograph == nullptr) {
    fCaption->clear();
    return;
  }
  fCaption->setText(QString::fromStdString(AnalysisCaption(*radiograph, fOptions.Measure.Formats)));
  // Tab stops at the layout's column widths (pixels), one after the other.
  QList<QTextOption::Tab> tabs;
  qreal at = 0;
  for (int width : fLayout) {
    at += width;
    tabs.append(QTextOption::Tab(at, QTextOption::LeftTab));
  }
  QTextCursor cursor(fText->document());
  bool first = true;
  for (const TAnalysisLine& line : AnalysisLines(*radiograph, kTextLineNormals, fOptions)) {
    const TTextStyle& style = fOptions.Styles[static_cast<size_t>(std::clamp(line.Style, 1, kTextStyleCount) - 1)];
    QTextBlockFormat block;
    block.setTabPositions(tabs);
    block.setAlignment(style.Alignment == TTextAlignment::Right    ? Qt::AlignRight
                       : style.Alignment == TTextAlignment::Center ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft);
    block.setLeftMargin(style.LeftIndent);
    block.setRightMargin(style.RightIndent);
    block.setTextIndent(style.FirstIndent);
    if (first) {
      cursor.setBlockFormat(block);
      first = false;
    } else {
      cursor.insertBlock(block);
    }
    cursor.insertText(QString::fromStdString(line.Text), CharFormat(style, line.Colour));
  }
}

QString TAnalysisWindow::PlainText() const { return fText->toPlainText(); }

}  // namespace lumacet
