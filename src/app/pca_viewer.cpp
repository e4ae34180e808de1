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
#include <cmath>

#include "app/qt_prompts.h"
#include "model/list_elements.h"
#include "model/xray_type.h"
#include "platform/qpainter_canvas.h"
#include "population/pca_statistics.h"

namespace lumacet {

namespace {

constexpr int kSliderSteps = 10;  // slider steps per standard deviation

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
                                              {tr("&Extremes"), false}, {tr("La&bels"), true},    {tr("&Axes"), true}};
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
  fSlider->setToolTip(tr("Standard deviations along the component"));
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
  fValue->setText(tr("%1 SD").arg(QLocale().toString(fSlider->value() / static_cast<double>(kSliderSteps), 'f', 1)));
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
  if (TXRPCA* pca = CurrentPca(); pca != nullptr && UsablePcaData(*pca)) {
    std::vector<double> deviations = fHeld;
    std::optional<size_t> mirrored;
    if (const int c = fComponents->currentIndex(); c >= 0 && static_cast<size_t>(c) < deviations.size()) {
      deviations[static_cast<size_t>(c)] = fSlider->value() / static_cast<double>(kSliderSteps);
      if (fToggles[3]->isChecked()) mirrored = static_cast<size_t>(c);
    }
    graph = PcaGraph(fCurrent, *pca, deviations, mirrored, fDrawing);
  }
  const auto on = [this](int index) { return fToggles[static_cast<size_t>(index)]->isChecked(); };
  graph.ShowCurrent = on(0);
  graph.ShowConsensus = on(1);
  graph.ShowLines = on(2);
  graph.ShowLabels = on(4);
  graph.ShowAxes = on(5);
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
  PaintImage({std::max(fArea->width(), 320), std::max(fArea->height(), 320)}, kPcaGraphBackground, paint, image);
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
