#include "app/pca_viewer.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>

#include "app/qt_prompts.h"
#include "geometry/procrustes.h"
#include "model/list_elements.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "platform/qpainter_canvas.h"
#include "population/pca_statistics.h"
#include "population/procrustes_report.h"

namespace lumacet {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Logical units per unit of the consensus frame: the canvas draws in whole units.
constexpr double kGraphUnits = 10000;
constexpr double kGridStep = 0.1;
constexpr int kMarkerPixels = 4;
constexpr int kSliderSteps = 10;  // slider steps per standard deviation

// Colours 0x00BBGGRR.
constexpr std::uint32_t kGridColour = 0x00E0E0E0;
constexpr std::uint32_t kAxisColour = 0x00404040;
constexpr std::uint32_t kLineColour = 0x00A0A0A0;
constexpr std::uint32_t kConsensusColour = 0x00C00000;
constexpr std::uint32_t kCurrentColour = 0x000000D0;
constexpr std::uint32_t kExtremeColour = 0x00008000;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// "%*.*f" with "." whatever the locale.
std::string Fixed(double value, int decimals, size_t width) {
  std::array<char, 64> buffer{};
  auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0, std::chars_format::fixed, decimals);
  std::string text = error == std::errc() ? std::string(buffer.data(), end) : std::string();
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string Padded(int number, size_t width) {
  std::string text = std::to_string(number);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// The report's sections of the element's data, as a calculation would have written them.
std::vector<std::string> ReportSection(const TXRPCA& pca, TReportOptions options) {
  TShapeAnalysis analysis;
  analysis.SampleCount = 0;  // no per-radiograph sections are asked for
  analysis.PointCount = static_cast<int>(pca.Points.size());
  analysis.ComponentCount = static_cast<int>(pca.Variances.size());
  analysis.Consensus = pca.Consensus;
  analysis.Variances = pca.Variances;
  for (const std::vector<double>& row : pca.Loadings)
    analysis.Loadings.insert(analysis.Loadings.end(), row.begin(), row.end());
  const std::string report = ProcrustesReport(analysis, {}, options);
  std::vector<std::string> lines;
  for (size_t start = 0; start < report.size();) {
    const size_t end = report.find(kLineBreak, start);
    lines.push_back(report.substr(start, end - start));
    start = end == std::string::npos ? report.size() : end + kLineBreak.size();
  }
  // The eight summary lines come first in every report.
  constexpr size_t kSummaryLines = 8;
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(kSummaryLines, lines.size())));
  return lines;
}

TReportOptions OnlySection(bool TReportOptions::*section) {
  TReportOptions options{false, false, false, false, false, false, false, false};
  options.*section = true;
  return options;
}

std::vector<TFloatPoint> Points(const std::vector<double>& coordinates) {
  std::vector<TFloatPoint> points;
  for (size_t j = 0; j + 1 < coordinates.size(); j += 2) points.push_back({coordinates[j], coordinates[j + 1]});
  return points;
}

TIntPoint Logical(TFloatPoint point) {
  return {static_cast<int>(std::nearbyint(point.X * kGraphUnits)),
          static_cast<int>(std::nearbyint(point.Y * kGraphUnits))};
}

enum class TMark { Circle, Diamond, Square };

void DrawMarkers(TCanvas& canvas, const std::vector<TFloatPoint>& points, TMark mark, std::uint32_t colour) {
  canvas.SetPen({colour, TPenStyle::Solid, 0});
  canvas.SetBrush({colour, TBrushStyle::Clear});
  const int r = std::max(1, static_cast<int>(std::nearbyint(canvas.ScreenPixelsToLogical(kMarkerPixels))));
  for (TFloatPoint point : points) {
    const TIntPoint p = Logical(point);
    switch (mark) {
      case TMark::Circle:
        canvas.Ellipse({p.X - r, p.Y - r, p.X + r, p.Y + r});
        break;
      case TMark::Square:
        canvas.Rectangle({p.X - r, p.Y - r, p.X + r, p.Y + r});
        break;
      case TMark::Diamond: {
        const std::array<TIntPoint, 4> corners{{{p.X, p.Y - r}, {p.X + r, p.Y}, {p.X, p.Y + r}, {p.X - r, p.Y}}};
        canvas.Polygon(corners);
        break;
      }
    }
  }
}

void DrawLines(TCanvas& canvas, const std::vector<TFloatPoint>& points,
               const std::vector<std::pair<size_t, size_t>>& lines) {
  canvas.SetPen({kLineColour, TPenStyle::Solid, 0});
  for (auto [from, to] : lines) {
    if (from >= points.size() || to >= points.size()) continue;
    canvas.MoveTo(Logical(points[from]));
    canvas.LineTo(Logical(points[to]));
  }
}

}  // namespace

std::vector<double> DeformedShape(const TXRPCA& pca, const std::vector<double>& deviations) {
  std::vector<double> shape = pca.Consensus;
  for (size_t i = 0; i < deviations.size() && i < pca.Variances.size(); ++i) {
    if (deviations[i] == 0 || !(pca.Variances[i] > 0)) continue;
    const double scale = deviations[i] * std::sqrt(pca.Variances[i]);
    for (size_t j = 0; j < shape.size() && j < pca.Loadings.size(); ++j) shape[j] += scale * pca.Loadings[j][i];
  }
  return shape;
}

std::string PcaViewText(TXRPCA& pca, TPcaStatistics& statistics) {
  if (!UsablePcaData(pca)) return std::string(kPcaDataMissingMessage) + std::string(kLineBreak);
  std::string text;
  auto line = [&text](const std::string& content) {
    text += content;
    text += kLineBreak;
  };
  const int components = static_cast<int>(pca.Variances.size());

  line("------------ Current Radiograph ------------");
  const std::optional<double> size = statistics.PCAMeasure(pca, 0, 0);
  const std::optional<double> normalized = statistics.PCAMeasure(pca, 1, 0);
  const std::optional<double> distance = statistics.PCAMeasure(pca, 2, 0);
  if (size && normalized && distance) {
    line("Centroid size:");
    line(FormatReportReal(*size));
    line("Normalized centroid size:");
    line(FormatReportReal(*normalized));
    line("Procrustes distance:");
    line(FormatReportReal(*distance));
    line("Scores (absolute, z-value):");
    for (int c = 1; c <= components; ++c) {
      const std::optional<double> score = statistics.PCAMeasure(pca, 3, c);
      const std::optional<double> z = statistics.PCAMeasure(pca, 4, c);
      line("PC " + Padded(c, 2) + ":  " + (score ? FormatReportReal(*score) : std::string(16, ' ')) + "  " +
           (z ? Fixed(*z, 3, 7) : std::string()));
    }
  } else {
    line(std::string(kPcaDataMissingMessage));
  }

  line("------------ PCA ------------");
  line(FillIn("Data from %d samples.", std::to_string(pca.SampleCount)));
  line("Points:");
  for (size_t i = 0; i < pca.Points.size(); ++i)
    line(Padded(static_cast<int>(i + 1), 2) + ":  " + (pca.Points[i] != nullptr ? pca.Points[i]->Name : std::string()));
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Variances))) line(l);
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Consensus))) line(l);
  line("Sum of Procrustes distances:");
  line(FormatReportReal(pca.SumDistances));
  line("Sum of Squared Procrustes distances:");
  line(FormatReportReal(pca.SumSquaredDistances));
  line("RMS of Procrustes distances:");
  const double rms = pca.SampleCount > 0 ? std::sqrt(pca.SumSquaredDistances / pca.SampleCount) : 0;
  line(std::isfinite(rms) ? FormatReportReal(rms) : std::string());
  for (const std::string& l : ReportSection(pca, OnlySection(&TReportOptions::Loadings))) line(l);
  return text;
}

std::vector<std::pair<size_t, size_t>> DrawingLinks(const TXRPCA& pca, const TXRGraphic& drawing) {
  std::map<const TXRayElement*, size_t> index;
  for (size_t i = 0; i < pca.Points.size(); ++i) index.emplace(pca.Points[i], i);
  std::vector<std::pair<size_t, size_t>> links;
  for (size_t i = 1; i < drawing.Points.size(); ++i) {
    auto from = index.find(drawing.Points[i - 1]);
    auto to = index.find(drawing.Points[i]);
    if (from != index.end() && to != index.end()) links.emplace_back(from->second, to->second);
  }
  return links;
}

void PaintPcaGraph(TCanvas& canvas, const TPcaGraph& graph) {
  const TIntSize device = canvas.DeviceSize();
  canvas.SetMapping({});
  canvas.SetPen({kWhite, TPenStyle::Clear, 0});
  canvas.SetBrush({kWhite, TBrushStyle::Solid});
  canvas.Rectangle({0, 0, device.Width, device.Height});
  if (device.Width <= 0 || device.Height <= 0) return;
  if (graph.Consensus.empty()) {
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    canvas.SetTextColour(0);
    canvas.TextOut({10, 10}, kPcaDataMissingMessage);
    return;
  }

  // The frame holds every shape shown, centred, with a margin.
  double extent = 0.05;
  auto widen = [&extent](const std::vector<TFloatPoint>& points) {
    for (TFloatPoint p : points) extent = std::max({extent, std::abs(p.X), std::abs(p.Y)});
  };
  widen(graph.Consensus);
  if (graph.ShowCurrent) widen(graph.Current);
  for (const auto& shape : graph.Extremes) widen(shape);
  const double scale = 0.45 * std::min(device.Width, device.Height) / (extent * kGraphUnits);
  const std::optional<TIsotropicMapping> mapping =
      TIsotropicMapping::FromScale({0, 0}, scale, {device.Width / 2.0, device.Height / 2.0});
  if (!mapping) return;
  canvas.SetMapping(*mapping);

  const TFloatPoint topLeft = canvas.DeviceToLogical(TFloatPoint{0, 0});
  const TFloatPoint bottomRight =
      canvas.DeviceToLogical(TFloatPoint{static_cast<double>(device.Width), static_cast<double>(device.Height)});
  const double step = kGridStep * kGraphUnits;
  canvas.SetPen({kGridColour, TPenStyle::Solid, 0});
  for (double x = std::ceil(topLeft.X / step) * step; x <= bottomRight.X; x += step) {
    canvas.MoveTo({static_cast<int>(x), static_cast<int>(topLeft.Y)});
    canvas.LineTo({static_cast<int>(x), static_cast<int>(bottomRight.Y)});
  }
  for (double y = std::ceil(topLeft.Y / step) * step; y <= bottomRight.Y; y += step) {
    canvas.MoveTo({static_cast<int>(topLeft.X), static_cast<int>(y)});
    canvas.LineTo({static_cast<int>(bottomRight.X), static_cast<int>(y)});
  }
  if (graph.ShowAxes) {
    canvas.SetPen({kAxisColour, TPenStyle::Solid, 0});
    canvas.MoveTo({static_cast<int>(topLeft.X), 0});
    canvas.LineTo({static_cast<int>(bottomRight.X), 0});
    canvas.MoveTo({0, static_cast<int>(topLeft.Y)});
    canvas.LineTo({0, static_cast<int>(bottomRight.Y)});
  }

  if (graph.ShowLines) {
    if (graph.ShowConsensus) DrawLines(canvas, graph.Consensus, graph.Lines);
    if (graph.ShowCurrent) DrawLines(canvas, graph.Current, graph.Lines);
    for (const auto& shape : graph.Extremes) DrawLines(canvas, shape, graph.Lines);
  }
  if (graph.ShowConsensus) DrawMarkers(canvas, graph.Consensus, TMark::Circle, kConsensusColour);
  if (graph.ShowCurrent) DrawMarkers(canvas, graph.Current, TMark::Diamond, kCurrentColour);
  for (const auto& shape : graph.Extremes) DrawMarkers(canvas, shape, TMark::Square, kExtremeColour);
  if (graph.ShowLabels) {
    TFont font;
    font.Height = canvas.ScreenPixelsToLogical(12);
    canvas.SetFont(font);
    canvas.SetTextColour(0);
    canvas.SetBackgroundMode(TBackgroundMode::Transparent);
    const int offset = static_cast<int>(canvas.ScreenPixelsToLogical(kMarkerPixels + 2));
    for (size_t i = 0; i < graph.Labels.size() && i < graph.Consensus.size(); ++i) {
      const TIntPoint p = Logical(graph.Consensus[i]);
      canvas.TextOut({p.X + offset, p.Y + offset}, graph.Labels[i]);
    }
  }
}

namespace {

// The drawing area of the "&Graph" page.
class TGraphArea : public QWidget {
 public:
  explicit TGraphArea(std::function<TPcaGraph()> graph) : fGraph(std::move(graph)) { setMinimumSize(320, 320); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TQPainterCanvas canvas(painter);
    PaintPcaGraph(canvas, fGraph());
  }

 private:
  std::function<TPcaGraph()> fGraph;
};

}  // namespace

TPCAViewForm::TPCAViewForm(TRadiograph& current, TPcaStatistics& statistics, QWidget* parent)
    : QDialog(parent), fCurrent(current), fStatistics(statistics) {
  setWindowTitle(tr("PCA Viewer"));
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QMenuBar;
  layout->setMenuBar(bar);
  QMenu* options = bar->addMenu(tr("&Options"));
  const std::pair<QString, bool> toggles[] = {{tr("&Current"), true},   {tr("C&onsensus"), true}, {tr("&Lines"), true},
                                              {tr("&Extremes"), false}, {tr("La&bels"), false},   {tr("&Axes"), true}};
  for (const auto& [caption, on] : toggles) {
    QAction* action = options->addAction(caption);
    action->setCheckable(true);
    action->setChecked(on);
    connect(action, &QAction::toggled, this, &TPCAViewForm::Redraw);
    fToggles.push_back(action);
  }
  options->addSeparator();
  connect(options->addAction(tr("&Drawing...")), &QAction::triggered, this, &TPCAViewForm::ChooseDrawing);
  options->addSeparator();
  connect(options->addAction(tr("&Copy")), &QAction::triggered, this, &TPCAViewForm::CopyPicture);
  connect(options->addAction(tr("&Save as SVG...")), &QAction::triggered, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), QString(), tr("SVG pictures (*.svg)"));
    if (!path.isEmpty())
      SavePicture(path.endsWith(QLatin1String(".svg")) ? path.toStdString() : (path + ".svg").toStdString());
  });

  auto* top = new QHBoxLayout;
  auto* pcaLabel = new QLabel(tr("PC&A:"));
  fPcas = new QComboBox;
  pcaLabel->setBuddy(fPcas);
  top->addWidget(pcaLabel);
  top->addWidget(fPcas, 1);
  layout->addLayout(top);

  auto* pages = new QTabWidget;
  auto* graphPage = new QWidget;
  auto* graphLayout = new QVBoxLayout(graphPage);
  fArea = new TGraphArea([this] { return Graph(); });
  graphLayout->addWidget(fArea, 1);
  auto* controls = new QHBoxLayout;
  auto* componentLabel = new QLabel(tr("&PC:"));
  fComponents = new QComboBox;
  componentLabel->setBuddy(fComponents);
  controls->addWidget(componentLabel);
  controls->addWidget(fComponents);
  fSlider = new QSlider(Qt::Horizontal);
  fSlider->setRange(-40, 40);
  fSlider->setTickInterval(5);
  fSlider->setTickPosition(QSlider::TicksBelow);
  controls->addWidget(fSlider, 1);
  fValue = new QLabel;
  controls->addWidget(fValue);
  auto* hold = new QPushButton(tr("&Hold"));
  auto* reset = new QPushButton(tr("&Reset All"));
  controls->addWidget(hold);
  controls->addWidget(reset);
  graphLayout->addLayout(controls);
  pages->addTab(graphPage, tr("&Graph"));
  fText = new QPlainTextEdit;
  fText->setReadOnly(true);
  fText->setLineWrapMode(QPlainTextEdit::NoWrap);
  fText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  pages->addTab(fText, tr("&Text"));
  layout->addWidget(pages, 1);
  auto* close = new QPushButton(tr("Close"));
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(close);
  layout->addLayout(bottom);

  connect(fPcas, &QComboBox::currentIndexChanged, this, &TPCAViewForm::PcaChosen);
  connect(fComponents, &QComboBox::activated, this, &TPCAViewForm::ComponentChosen);
  connect(fSlider, &QSlider::valueChanged, this, &TPCAViewForm::SliderMoved);
  connect(hold, &QPushButton::clicked, this, &TPCAViewForm::Hold);
  connect(reset, &QPushButton::clicked, this, &TPCAViewForm::ResetAll);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  if (TXRayType* type = fCurrent.Type())
    for (const std::string& name : type->ElementNames({ekPCA})) fPcas->addItem(QString::fromStdString(name));
  SliderMoved();
  PcaChosen();
}

QAction* TPCAViewForm::Toggle(const QString& caption) const {
  for (QAction* action : fToggles)
    if (action->text() == caption) return action;
  return nullptr;
}

TXRPCA* TPCAViewForm::CurrentPca() const {
  TXRayType* type = fCurrent.Type();
  if (type == nullptr) return nullptr;
  return dynamic_cast<TXRPCA*>(type->FindElement(fPcas->currentText().toStdString(), ekPCA));
}

void TPCAViewForm::PcaChosen() {
  TXRPCA* pca = CurrentPca();
  // Lines at first from the first drawing that joins points of this element.
  const auto* chosen =
      pca != nullptr ? dynamic_cast<TXRGraphic*>(fCurrent.Type()->FindElement(fDrawing, ekGraphic)) : nullptr;
  if (pca != nullptr && (chosen == nullptr || DrawingLinks(*pca, *chosen).empty())) {
    for (const auto& element : fCurrent.Type()->ElementList(ekGraphic)) {
      if (!DrawingLinks(*pca, static_cast<const TXRGraphic&>(*element)).empty()) {
        fDrawing = element->Name;
        break;
      }
    }
  }
  fHeld.assign(pca != nullptr && UsablePcaData(*pca) ? pca->Variances.size() : 0, 0.0);
  ShowComponents();
  fComponents->setCurrentIndex(fHeld.empty() ? -1 : 0);
  ComponentChosen();
  fCurrent.LoadCoordinates();
  fText->setPlainText(pca != nullptr ? DisplayText(PcaViewText(*pca, fStatistics))
                                     : DisplayText(kPcaDataMissingMessage));
  Redraw();
}

void TPCAViewForm::ShowComponents() {
  const int chosen = fComponents->currentIndex();
  fComponents->clear();
  for (size_t c = 0; c < fHeld.size(); ++c)
    fComponents->addItem(tr("PC %1").arg(c + 1) + (fHeld[c] != 0 ? QStringLiteral(" *") : QString()));
  if (chosen >= 0 && chosen < fComponents->count()) fComponents->setCurrentIndex(chosen);
}

void TPCAViewForm::ComponentChosen() {
  const int c = fComponents->currentIndex();
  fSlider->setValue(c >= 0 ? static_cast<int>(std::nearbyint(fHeld[static_cast<size_t>(c)] * kSliderSteps)) : 0);
  Redraw();
}

void TPCAViewForm::SliderMoved() {
  fValue->setText(QLocale().toString(fSlider->value() / static_cast<double>(kSliderSteps), 'f', 1));
  Redraw();
}

void TPCAViewForm::Hold() {
  const int c = fComponents->currentIndex();
  if (c < 0) return;
  fHeld[static_cast<size_t>(c)] = fSlider->value() / static_cast<double>(kSliderSteps);
  ShowComponents();
  Redraw();
}

void TPCAViewForm::ResetAll() {
  std::fill(fHeld.begin(), fHeld.end(), 0.0);
  ShowComponents();
  Redraw();
}

void TPCAViewForm::SetDrawing(const std::string& name) {
  fDrawing = name;
  Redraw();
}

void TPCAViewForm::ChooseDrawing() {
  TXRayType* type = fCurrent.Type();
  if (type == nullptr) return;
  QStringList names;
  for (const std::string& name : type->ElementNames({ekGraphic})) names << QString::fromStdString(name);
  bool ok = false;
  const QString name =
      QInputDialog::getItem(this, tr("Drawing"), tr("&Drawing:"), names,
                            std::max<qsizetype>(0, names.indexOf(QString::fromStdString(fDrawing))), false, &ok);
  if (ok) SetDrawing(name.toStdString());
}

void TPCAViewForm::Redraw() { fArea->update(); }

TPcaGraph TPCAViewForm::Graph() const {
  TPcaGraph graph;
  const auto on = [this](int index) { return fToggles[static_cast<size_t>(index)]->isChecked(); };
  graph.ShowCurrent = on(0);
  graph.ShowConsensus = on(1);
  graph.ShowLines = on(2);
  graph.ShowLabels = on(4);
  graph.ShowAxes = on(5);
  TXRPCA* pca = CurrentPca();
  if (pca == nullptr || !UsablePcaData(*pca)) return graph;

  graph.Consensus = Points(pca->Consensus);
  for (TXRayElement* point : pca->Points) graph.Labels.push_back(point != nullptr ? point->Name : std::string());
  fCurrent.LoadCoordinates();
  if (std::optional<std::vector<double>> shape = PcaShape(*pca)) {
    std::vector<double> consensus = pca->Consensus;
    if (ProcrustesFit(*shape, consensus, 0)) graph.Current = Points(*shape);
  }
  std::vector<double> deviations = fHeld;
  const int c = fComponents->currentIndex();
  const double shown = fSlider->value() / static_cast<double>(kSliderSteps);
  if (c >= 0 && static_cast<size_t>(c) < deviations.size()) deviations[static_cast<size_t>(c)] = shown;
  graph.Extremes.push_back(Points(DeformedShape(*pca, deviations)));
  if (on(3) && c >= 0 && static_cast<size_t>(c) < deviations.size()) {
    deviations[static_cast<size_t>(c)] = -shown;
    graph.Extremes.push_back(Points(DeformedShape(*pca, deviations)));
  }
  if (auto* drawing = dynamic_cast<TXRGraphic*>(fCurrent.Type()->FindElement(fDrawing, ekGraphic)))
    graph.Lines = DrawingLinks(*pca, *drawing);
  return graph;
}

namespace {

// The picture in tracing units at 254 dpi, the area's shape at screen size.
TIntSize PictureSize(const QWidget& area) {
  const double units = 254.0 / 96;
  return {static_cast<int>(std::max(area.width(), 320) * units),
          static_cast<int>(std::max(area.height(), 320) * units)};
}

}  // namespace

void TPCAViewForm::CopyPicture() {
  const TPcaGraph graph = Graph();
  const TPaintRoutine paint = [&graph](TCanvas& canvas) { PaintPcaGraph(canvas, graph); };
  QImage image;
  PaintImage({std::max(fArea->width(), 320), std::max(fArea->height(), 320)}, kWhite, paint, image);
  const TIntSize size = PictureSize(*fArea);
  QByteArray svg;
  QBuffer buffer(&svg);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(254);
  generator.setSize(QSize(size.Width, size.Height));
  generator.setViewBox(QRect(0, 0, size.Width, size.Height));
  generator.setTitle(windowTitle());
  {
    QPainter painter(&generator);
    TQPainterCanvas canvas(painter);
    paint(canvas);
  }
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("image/svg+xml"), svg);
  if (!image.isNull()) mime->setImageData(image);
  QApplication::clipboard()->setMimeData(mime);
}

bool TPCAViewForm::SavePicture(const std::string& path) {
  const TPcaGraph graph = Graph();
  const TWriteResult result = WriteSvgPicture(path, PictureSize(*fArea), windowTitle().toStdString(),
                                              [&graph](TCanvas& canvas) { PaintPcaGraph(canvas, graph); });
  if (!result.Ok) QMessageBox::critical(this, QStringLiteral("Lumacet"), DisplayText(result.Error));
  return result.Ok;
}

}  // namespace lumacet
