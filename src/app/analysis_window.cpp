#include "app/analysis_window.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentWriter>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/qt_prompts.h"
#include "platform/qpainter_canvas.h"

namespace lumacet {

namespace {

constexpr int kGraphColumn = 1;
constexpr int kMeanColumn = 3;
constexpr int kDeviationColumn = 4;

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

TAnalysisWindow::TAnalysisWindow(TSource source, TPresentationOptions options, TAnalysisLayout layout,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), fSource(std::move(source)), fOptions(std::move(options)), fWidths(layout.Widths) {
  setWindowTitle(tr("Detailed Analysis"));
  resize(640, 440);
  auto* vertical = new QVBoxLayout(this);
  fCaption = new QLabel;
  vertical->addWidget(fCaption);

  auto* columns = new QStandardItemModel(0, 5, this);
  columns->setHorizontalHeaderLabels({tr("Measurement"), tr("Graph"), tr("Value"), tr("Mean"), tr("St. Dev.")});
  fHeader = new QHeaderView(Qt::Horizontal);
  fHeader->setModel(columns);
  fHeader->setMinimumSectionSize(0);
  fHeader->setStretchLastSection(false);
  fHeader->setSectionResizeMode(QHeaderView::Interactive);
  vertical->addWidget(fHeader);

  fText = new QTextEdit;
  fText->setReadOnly(true);
  vertical->addWidget(fText, 1);

  auto* choices = new QHBoxLayout;
  fNormals = new QCheckBox(tr("Show &Normal Values"));
  fGraph = new QCheckBox(tr("Show &Graph"));
  fWrap = new QCheckBox(tr("&Word Wrap"));
  for (QCheckBox* box : {fNormals, fGraph, fWrap}) choices->addWidget(box);
  choices->addStretch();
  vertical->addLayout(choices);

  auto* buttons = new QHBoxLayout;
  auto* update = new QPushButton(tr("&Update"));
  auto* save = new QPushButton(tr("&Save..."));
  auto* saveLayout = new QPushButton(tr("&Save Layout"));
  for (QPushButton* button : {update, save, saveLayout}) buttons->addWidget(button);
  buttons->addStretch();
  vertical->addLayout(buttons);

  connect(fHeader, &QHeaderView::sectionResized, this,
          [this](int column, int, int width) { ColumnResized(column, width); });
  connect(fNormals, &QCheckBox::toggled, this, [this] { ShowColumns(); Update(); });
  connect(fGraph, &QCheckBox::toggled, this, [this] { ShowColumns(); Update(); });
  connect(fWrap, &QCheckBox::toggled, this,
          [this](bool on) { fText->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap); });
  connect(update, &QPushButton::clicked, this, &TAnalysisWindow::Update);
  connect(save, &QPushButton::clicked, this, &TAnalysisWindow::Save);
  connect(saveLayout, &QPushButton::clicked, this, [this] { emit LayoutSaved(Layout()); });
  SetLayout(layout);
}

void TAnalysisWindow::SetLayout(const TAnalysisLayout& layout) {
  {
    // One update for the whole change, not one per column and box.
    const QSignalBlocker header(fHeader);
    const QSignalBlocker normals(fNormals);
    const QSignalBlocker graph(fGraph);
    fWidths = layout.Widths;
    for (int column = 0; column < 5; ++column) fHeader->resizeSection(column, fWidths[static_cast<size_t>(column)]);
    fNormals->setChecked((layout.Format & kTextLineNormals) != 0);
    fGraph->setChecked((layout.Format & kTextLineGraph) != 0);
  }
  fWrap->setChecked(layout.WordWrap);
  fText->setLineWrapMode(layout.WordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  ShowColumns();
  Update();
}

void TAnalysisWindow::ShowColumns() {
  // Hidden columns collapse; Qt keeps their width for when they come back.
  fShowingColumns = true;
  fHeader->setSectionHidden(kGraphColumn, !fGraph->isChecked());
  fHeader->setSectionHidden(kMeanColumn, !fNormals->isChecked());
  fHeader->setSectionHidden(kDeviationColumn, !fNormals->isChecked());
  fShowingColumns = false;
}

void TAnalysisWindow::ColumnResized(int column, int width) {
  if (fShowingColumns || fHeader->isSectionHidden(column) || column < 0 || column >= 5) return;
  fWidths[static_cast<size_t>(column)] = width;
  Update();
}

TAnalysisLayout TAnalysisWindow::Layout() const {
  return {fWidths, (fNormals->isChecked() ? kTextLineNormals : 0) + (fGraph->isChecked() ? kTextLineGraph : 0),
          fWrap->isChecked()};
}

void TAnalysisWindow::Update() {
  fText->clear();
  TRadiograph* radiograph = fSource();
  if (radiograph == nullptr) {
    fCaption->clear();
    return;
  }
  fCaption->setText(QString::fromStdString(AnalysisCaption(*radiograph, fOptions.Measure.Formats)));
  // Tab stops at the right edges of the shown columns, and one far beyond the last.
  QList<QTextOption::Tab> tabs;
  qreal at = 0;
  for (int column = 0; column < 5; ++column) {
    if (!fHeader->isSectionHidden(column)) at += fWidths[static_cast<size_t>(column)];
    tabs.append(QTextOption::Tab(at, QTextOption::LeftTab));
  }
  const QScreen* screen = this->screen();
  const qreal dotsPerPoint = (screen != nullptr ? screen->logicalDotsPerInch() : 96.0) / 72.0;
  tabs.append(QTextOption::Tab(at + 1000 * dotsPerPoint, QTextOption::LeftTab));

  const int flags = Layout().Format;
  QTextCursor cursor(fText->document());
  bool first = true;
  for (const TAnalysisLine& line : AnalysisLines(*radiograph, flags, fOptions)) {
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

QString TAnalysisWindow::Caption() const { return fCaption->text(); }

TWriteResult TAnalysisWindow::SaveTo(const QString& path) const {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
    return WriteFileAtomically(path.toStdString(), fText->document()->toHtml().toStdString());
  }
  if (suffix == QLatin1String("odt")) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(fText->document())) return {false, "The document could not be made."};
    return WriteFileAtomically(path.toStdString(), std::string_view(buffer.data().constData(), buffer.data().size()));
  }
  std::string text;
  const QStringList lines = PlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) text += line.toStdString() + "\r\n";
  return WriteTextFile(path.toStdString(), text);
}

void TAnalysisWindow::Save() {
  QFileDialog dialog(this, tr("Save Analysis"), {},
                     tr("Text files (*.txt);;HTML files (*.html);;OpenDocument text (*.odt);;All files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter.contains(QLatin1String("*.html"))  ? QStringLiteral("html")
                            : filter.contains(QLatin1String("*.odt")) ? QStringLiteral("odt")
                                                                       : QStringLiteral("txt"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const TWriteResult result = SaveTo(dialog.selectedFiles().front());
  if (result.Ok) return;
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumacet"), DisplayText(kResultsFileError), QMessageBox::Ok,
                  this);
  box.setDetailedText(QString::fromStdString(result.Error));
  box.exec();
}

}  // namespace lumacet
