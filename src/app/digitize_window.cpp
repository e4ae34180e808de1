#include "app/digitize_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "app/command_table.h"
#include "app/qt_prompts.h"
#include "graphics/element_drawing.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "platform/user_locale.h"
#include "shell/digitizing_input.h"

namespace lumacet {

namespace {

// The marker column of the element list: "S" for a snake, the number of placements, "+." for
// a point that is already there.
QIcon MarkerIcon(const QString& text, const QColor& colour, const QFont& font) {
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  QPixmap picture(metrics.horizontalAdvance(QStringLiteral("88.")) + 2, metrics.height());
  picture.fill(Qt::transparent);
  if (!text.isEmpty()) {
    QPainter painter(&picture);
    painter.setFont(bold);
    painter.setPen(colour);
    painter.drawText(picture.rect(), Qt::AlignRight | Qt::AlignVCenter, text);
  }
  return QIcon(picture);
}

QString ModeText(int mode) {
  switch (mode) {
    case dmFirstOrientation: return QObject::tr("Enter:\nFirst Orientation Point");
    case dmSecondOrientation: return QObject::tr("Enter:\nSecond Orientation Point");
    case dmOriented: return QObject::tr("Proceed with Digitization?");
    default: return {};
  }
}

}  // namespace

// The placements of the selected point, with a millimetre grid.
class TDigitizeWindow::TPlacementsBox : public QWidget {
 public:
  explicit TPlacementsBox(QWidget* parent) : QWidget(parent) {
    setMinimumSize(120, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
  void Show(std::vector<TFloatPoint> placements) {
    fPlacements = std::move(placements);
    update();
  }
  QSize sizeHint() const override { return {160, 140}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const int labelHeight = fontMetrics().height() + 2;
    const double side = std::min(width(), height() - labelHeight);
    const TPlacementView view = PlacementView(fPlacements, side, LocaleDecimalSeparator());
    const double left = (width() - side) / 2;
    painter.setPen(QPen(Qt::gray, 0, Qt::DotLine));
    for (double at : view.GridLines) {
      painter.drawLine(QPointF(left + at, 0), QPointF(left + at, side));
      painter.drawLine(QPointF(left, at), QPointF(left + side, at));
    }
    for (const TPlacementView::TCross& cross : view.Crosses) {
      painter.setPen(QPen(cross.Last ? Qt::red : palette().text().color(), 0));
      const QPointF c(left + cross.X, cross.Y);
      painter.drawLine(c - QPointF(view.CrossHalf, 0), c + QPointF(view.CrossHalf, 0));
      painter.drawLine(c - QPointF(0, view.CrossHalf), c + QPointF(0, view.CrossHalf));
    }
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(0, side, width(), labelHeight), Qt::AlignCenter, QString::fromStdString(view.Label));
  }

 private:
  std::vector<TFloatPoint> fPlacements;
};

// The profile along the search line: black, with the zero level in green and the middle in red.
class TDigitizeWindow::TProfileBox : public QWidget {
 public:
  explicit TProfileBox(QWidget* parent) : QWidget(parent) {
    setMinimumSize(120, 60);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
  void Show(std::vector<double> values) {
    fValues = std::move(values);
    update();
  }
  QSize sizeHint() const override { return {160, 70}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (fValues.empty()) {
      painter.fillRect(rect(), palette().button());
      return;
    }
    painter.fillRect(rect(), palette().base());
    const TProfileGraph graph = ProfileGraph(fValues, width(), height());
    if (graph.Line.empty()) return;
    if (graph.ZeroY) {
      painter.setPen(QPen(Qt::darkGreen, 0));
      painter.drawLine(QPointF(0, *graph.ZeroY), QPointF(width(), *graph.ZeroY));
    }
    painter.setPen(QPen(Qt::red, 0));
    painter.drawLine(QPointF(graph.MiddleX, 0), QPointF(graph.MiddleX, height()));
    QPolygonF line;
    for (TFloatPoint p : graph.Line) line << QPointF(p.X, p.Y);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPolyline(line);
  }

 private:
  std::vector<double> fValues;
};

TDigitizeWindow::TDigitizeWindow(std::unique_ptr<TDigitizing> digitizing, TEnvironment environment,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool),
      fDigitizing(std::move(digitizing)),
      fEnvironment(std::move(environment)),
      fBeep([] { QApplication::beep(); }) {
  fTool.SetModel(std::move(fEnvironment.Model));
  setObjectName(QStringLiteral("digitizeWindow"));
  setWindowTitle(tr("Digitize"));
  Build();
  Update();
}

TDigitizeWindow::~TDigitizeWindow() = default;

void TDigitizeWindow::Build() {
  auto* layout = new QVBoxLayout(this);
  fMode = new QLabel;
  fMode->setObjectName(QStringLiteral("mode"));
  QFont bold = fMode->font();
  bold.setBold(true);
  fMode->setFont(bold);
  layout->addWidget(fMode);

  auto* form = new QFormLayout;
  fProtocol = new QComboBox;
  fProtocol->setObjectName(QStringLiteral("protocol"));
  for (TXRProtocol* protocol : fDigitizing->Protocols()) fProtocol->addItem(Utf8(protocol->Name));
  form->addRow(tr("Pro&tocol:"), fProtocol);
  fElement = new QComboBox;
  fElement->setObjectName(QStringLiteral("element"));
  fElement->setMaxVisibleItems(24);
  form->addRow(tr("&Element:"), fElement);
  layout->addLayout(form);
  connect(fProtocol, &QComboBox::activated, this, [this](int index) {
    if (const TResult chosen = fDigitizing->SelectProtocol(static_cast<std::size_t>(index)); !chosen) {
      QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(chosen.Text()));
    }
    FillElements();
    ShowSelection();
  });
  connect(fElement, &QComboBox::activated, this, [this](int index) {
    fDigitizing->Select(static_cast<std::size_t>(index));
    ShowSelection();
    Changes();
  });

  auto* moves = new QHBoxLayout;
  auto button = [](QBoxLayout* row, const QString& caption, const char* name, const QString& hint) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
  };
  connect(button(moves, tr("&Previous"), "previous", tr("Select the previous element. (Page Up)")),
          &QPushButton::clicked, this, &TDigitizeWindow::Previous);
  connect(button(moves, tr("&Next"), "next", tr("Select the next element. (Page Down)")), &QPushButton::clicked,
          this, &TDigitizeWindow::Next);
  layout->addLayout(moves);

  // The point panel and the snake panel, one at a time.
  fPanels = new QStackedWidget;
  auto* pointPanel = new QWidget;
  auto* pointLayout = new QVBoxLayout(pointPanel);
  pointLayout->setContentsMargins(0, 0, 0, 0);
  fPlacements = new TPlacementsBox(pointPanel);
  fPlacements->setObjectName(QStringLiteral("placements"));
  pointLayout->addWidget(fPlacements);
  auto* pointButtons = new QHBoxLayout;
  connect(button(pointButtons, tr("&Delete"), "delete", tr("Delete selected point. (Backspace)")),
          &QPushButton::clicked, this, &TDigitizeWindow::DeleteLast);
  connect(button(pointButtons, tr("Ne&xt Placement"), "selectNext", tr("Select next point.")),
          &QPushButton::clicked, this, [this] {
            fDigitizing->RotatePlacements();
            ShowSelection();
          });
  fGoToPrediction = button(pointButtons, tr("Go to prediction"), "goToPrediction",
                           tr("Move the pointer to the predicted position. (G)"));
  fGoToPrediction->setVisible(fTool.HasModel());
  connect(fGoToPrediction, &QPushButton::clicked, this, &TDigitizeWindow::GoToPrediction);
  connect(button(pointButtons, tr("&Get [R]"), "getReference", tr("Get Coordinates from Reference.")),
          &QPushButton::clicked, this, [this] {
            const TResult got = fDigitizing->GetFromReference(fEnvironment.Reference ? fEnvironment.Reference() : nullptr);
            if (!got) {
              QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(got.Text()));
              return;
            }
            fDigitizing->Radiograph().RecordChange(true, "Digitized Point.");
            Changes();
          });
  pointLayout->addLayout(pointButtons);
  // The profile along the search line, the graph chooser and the edge choice.
  auto* edgeRow = new QHBoxLayout;
  fGraph = new QToolButton;
  fGraph->setObjectName(QStringLiteral("graph"));
  fGraph->setPopupMode(QToolButton::InstantPopup);
  auto* graphMenu = new QMenu(fGraph);
  auto* graphs = new QActionGroup(graphMenu);
  const std::pair<QString, QString> graphItems[] = {
      {tr("Show &brightness (smooth)"), tr("Show brightness graph.")},
      {tr("Show &first derivative"), tr("Show first derivative of brightness graph.")},
      {tr("Show &second derivative"), tr("Show second derivative of brightness graph.")},
      {tr("Show &pixels values"), tr("Show pixels values (raw).")}};
  for (int i = 0; i < 4; ++i) {
    QAction* item = graphMenu->addAction(graphItems[i].first);
    item->setCheckable(true);
    item->setChecked(i == static_cast<int>(fGraphShown));
    graphs->addAction(item);
    connect(item, &QAction::triggered, this, [this, i, hint = graphItems[i].second] {
      fGraphShown = static_cast<TEdgeGraph>(i);
      fGraph->setToolTip(hint);
      fGraph->setText(QString::number(i));
      ShowSelection();
    });
  }
  fGraph->setMenu(graphMenu);
  fGraph->setText(QStringLiteral("2"));
  fGraph->setToolTip(graphItems[2].second);
  edgeRow->addWidget(fGraph);
  auto* choices = new QButtonGroup(this);
  const QString choiceHints[] = {tr("Most prominent."), tr("Closest."), tr("Between most prominent."),
                                 tr("Between closest.")};
  // Each picture shows a brightness profile with its steps, the cursor under it, and the
  // place the choice locks to in blue, between the green edges it lies between.
  const char* choiceIcons[] = {"lumacet-edge-most-prominent", "lumacet-edge-closest",
                               "lumacet-edge-between-most-prominent", "lumacet-edge-between-closest"};
  for (int i = 0; i < 4; ++i) {
    auto* choice = new QToolButton;
    choice->setObjectName(QStringLiteral("edgeChoice%1").arg(i));
    choice->setCheckable(true);
    choice->setIcon(ThemeIcon(choiceIcons[i]));
    choice->setIconSize(QSize(24, 24));
    choice->setText(choiceHints[i]);
    choice->setToolTip(choiceHints[i]);
    choices->addButton(choice, i);
    edgeRow->addWidget(choice);
  }
  choices->button(0)->setChecked(true);
  connect(choices, &QButtonGroup::idClicked, this, [this](int id) {
    if (fEnvironment.Choice != nullptr) *fEnvironment.Choice = static_cast<TEdgeChoice>(id);
  });
  connect(this, &TDigitizeWindow::OverlayChanged, this, [choices, this] {
    if (fEnvironment.Choice != nullptr) choices->button(static_cast<int>(*fEnvironment.Choice))->setChecked(true);
  });
  edgeRow->addStretch();
  pointLayout->addLayout(edgeRow);
  fProfile = new TProfileBox(pointPanel);
  fProfile->setObjectName(QStringLiteral("profile"));
  pointLayout->addWidget(fProfile);
  fPanels->addWidget(pointPanel);

  auto* snakePanel = new QWidget;
  auto* snakeForm = new QFormLayout(snakePanel);
  fHotZone = new QSpinBox;
  fHotZone->setObjectName(QStringLiteral("hotZone"));
  fHotZone->setRange(1, 10);
  snakeForm->addRow(tr("Hot &zone (mm):"), fHotZone);
  fPointCount = new QSpinBox;
  fPointCount->setObjectName(QStringLiteral("pointCount"));
  fPointCount->setRange(3, 100);
  snakeForm->addRow(tr("Nu&mber of points:"), fPointCount);
  connect(fHotZone, &QSpinBox::editingFinished, this, [this] {
    if (fDigitizing->SetHotZone(fHotZone->value())) Changes();
  });
  connect(fPointCount, &QSpinBox::editingFinished, this, [this] {
    if (fDigitizing->SetPointCount(fPointCount->value())) Changes();
  });
  auto* snakeButtons = new QHBoxLayout;
  connect(button(snakeButtons, tr("&Fit"), "fit", tr("Fit the snake to the edges of the image.")),
          &QPushButton::clicked, this, &TDigitizeWindow::FitSnake);
  connect(button(snakeButtons, tr("&Reset"), "reset", tr("Back to the type's template snake.")),
          &QPushButton::clicked, this, &TDigitizeWindow::ResetSnake);
  snakeForm->addRow(snakeButtons);
  fPanels->addWidget(snakePanel);
  layout->addWidget(fPanels);

  auto* orientation = new QHBoxLayout;
  fBack = button(orientation, tr("&Back"), "back", tr("Take back the last orientation point."));
  fProceed = button(orientation, tr("Proc&eed"), "proceed", tr("Digitize the points."));
  connect(fBack, &QPushButton::clicked, this, [this] {
    if (const TResult back = fDigitizing->Back(); !back)
      QMessageBox::information(this, QStringLiteral("Lumacet"), DisplayText(back.Text()));
    Update();
    Changes();
  });
  connect(fProceed, &QPushButton::clicked, this, [this] {
    fDigitizing->Proceed();
    Update();
    Changes();
  });
  layout->addLayout(orientation);

  auto* ending = new QHBoxLayout;
  connect(button(ending, tr("A&uto..."), "auto", tr("Auto-locate points.")), &QPushButton::clicked, this,
          &TDigitizeWindow::ChoosePointsToUpdate);
  QPushButton* autoAll = button(ending, tr("&Auto All"), "autoAll", tr("Auto-locate all points. Right-click for options."));
  connect(autoAll, &QPushButton::clicked, this, &TDigitizeWindow::AutoAll);
  autoAll->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(autoAll, &QWidget::customContextMenuRequested, this, [this, autoAll](const QPoint& at) {
    QMenu menu;
    connect(menu.addAction(tr("&Reset Points linked to Snakes")), &QAction::triggered, this, [this] {
      fDigitizing->ResetPointsLinkedToSnakes();
      Changes();
    });
    menu.exec(autoAll->mapToGlobal(at));
  });
  connect(button(ending, tr("&End Digitization"), "end", tr("End digitizing this radiograph.")),
          &QPushButton::clicked, this, &TDigitizeWindow::End);
  layout->addLayout(ending);
}

void TDigitizeWindow::ChoosePointsToUpdate() {
  QDialog dialog(this);
  dialog.setWindowTitle(tr("Select Points to Update"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget;
  list->setObjectName(QStringLiteral("points"));
  const std::vector<TDigPoint*> points = fDigitizing->AutomaticPoints();
  for (TDigPoint* point : points) {
    auto* item = new QListWidgetItem(Utf8(point->Name), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  layout->addWidget(list);
  auto* buttons = new QHBoxLayout;
  auto add = [&](const QString& caption, auto handler) {
    auto* b = new QPushButton(caption);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, &dialog, handler);
  };
  add(tr("Select &All"), [list] {
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Checked);
  });
  add(tr("Select &Inverse"), [list] {
    for (int i = 0; i < list->count(); ++i)
      list->item(i)->setCheckState(list->item(i)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  });
  add(tr("&Update"), [this, list, &points] {
    std::vector<TDigPoint*> ticked;
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->checkState() == Qt::Checked) ticked.push_back(points[static_cast<std::size_t>(i)]);
    fDigitizing->AutoLocate(ticked);
    Changes();
  });
  add(tr("Close"), [&dialog] { dialog.accept(); });
  layout->addLayout(buttons);
  dialog.exec();
}

TDigitizeToolOptions TDigitizeWindow::Options() const {
  TDigitizeToolOptions options = fEnvironment.Options ? fEnvironment.Options() : TDigitizeToolOptions{};
  if (fEnvironment.Choice != nullptr) options.Choice = *fEnvironment.Choice;
  return options;
}

const TGreyPlane& TDigitizeWindow::Plane() {
  // The picture is made again only when it changed: the search runs on every mouse move.
  const TBitmap32& display = Radiograph().Image.Display;
  const std::size_t size = display.Pixels.size();
  std::uint32_t probe = 0;
  for (std::size_t i = 0; i < size; i += std::max<std::size_t>(1, size / 61)) probe = probe * 31 + display.Pixels[i];
  if (display.Pixels.data() != fPlaneOf || size != fPlaneSize || probe != fPlaneProbe) {
    fPlane = TGreyPlane::FromImage(Radiograph().Image);
    fPlaneOf = display.Pixels.data();
    fPlaneSize = size;
    fPlaneProbe = probe;
  }
  return fPlane;
}

void TDigitizeWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (fEnvironment.Choice != nullptr) *fEnvironment.Choice = TEdgeChoice::MostProminent;
  fGraphShown = TEdgeGraph::SecondDerivative;
  emit OverlayChanged();
}

void TDigitizeWindow::PointerMoved(TFloatPoint at) {
  fTool.Move(*fDigitizing, Plane(), at, Options());
  fProfile->Show(fTool.Lock() ? fTool.Lock()->Profile.Graph(fGraphShown) : std::vector<double>{});
  emit OverlayChanged();
}

void TDigitizeWindow::PointerLeft() {
  fTool.Leave();
  emit OverlayChanged();
}

void TDigitizeWindow::Clicked(TFloatPoint at, bool left) {
  if (fEnded) return;
  const TXRayElement* selected = fDigitizing->Selected();
  if (!left && selected != nullptr && selected->KindCode() == ekSnake) {
    if (fDigitizing->MoveSnakeTo(at.X, at.Y)) {
      fDigitizing->Radiograph().RecordChange(true, "Digitized Point.");
      Changes();
    }
    return;
  }
  Place(fTool.ClickPosition(*fDigitizing, Plane(), at, left, Options()));
}

void TDigitizeWindow::TabletAt(TFloatPoint at) {
  if (!fEnded) Place(at);
}

void TDigitizeWindow::Place(TFloatPoint position) {
  // Before the placement: afterwards the selection has moved on.
  const std::optional<TPredictedLandmark> expected = fTool.Prediction(*fDigitizing);
  const TPlacement placement = fDigitizing->DigitizeAt(position.X, position.Y);
  if (placement.Placed && expected)
    emit PlacementChecked(expected->Outside(position) ? DisplayText(TText(kFarFromExpectedMessage)) : QString());
  Placed(placement);
}

void TDigitizeWindow::GoToPrediction() {
  if (fEnded) return;
  const std::optional<TPredictedLandmark> expected = fTool.Prediction(*fDigitizing);
  if (!expected) return;
  emit PointerRequested(expected->At.X, expected->At.Y);
  // The search follows at once, whether or not the window system reports the move.
  PointerMoved(expected->At);
}

void TDigitizeWindow::FitSnake() {
  if (fDigitizing->FitSnake(Plane())) Changes();
}

void TDigitizeWindow::ResetSnake() {
  fDigitizing->ResetSnake();
  ShowSelection();
  Changes();
}

void TDigitizeWindow::AutoAll() {
  fDigitizing->AutoAll();
  Changes();
}

std::optional<TSnakeHandle> TDigitizeWindow::HandleUnder(TFloatPoint at, double pixel) const {
  const TXRayElement* selected = fDigitizing->Selected();
  if (fEnded || fDigitizing->Mode() != dmDigitizing || selected == nullptr || selected->KindCode() != ekSnake)
    return std::nullopt;
  // The snake's points are the radiograph's only while its coordinates are loaded.
  [[maybe_unused]] const TLoadedRadiograph loaded = Radiograph().Load();
  const std::vector<TSnakeHandle> handles =
      SnakeHandles(*static_cast<const TDigSnake*>(selected), Options().SnakeIcons, pixel);
  return SnakeHandleAt(handles, at, pixel, 5 * pixel);
}

bool TDigitizeWindow::Pressed(TFloatPoint at, bool left, double pixel) {
  const std::optional<TSnakeHandle> handle = HandleUnder(at, pixel);
  if (!handle) return false;
  if (!left) return true;  // the right click that moves the snake is one off its handles
  switch (handle->Kind) {
    case TSnakeHandleKind::Point: fDigitizing->BeginSnakeDrag(TSnakeDrag::Point, handle->Point, at); break;
    case TSnakeHandleKind::Translate: fDigitizing->BeginSnakeDrag(TSnakeDrag::Translate, 0, at); break;
    case TSnakeHandleKind::Rotate: fDigitizing->BeginSnakeDrag(TSnakeDrag::Rotate, 0, at); break;
    case TSnakeHandleKind::PreviousPoint: Previous(); break;
    case TSnakeHandleKind::Fit: FitSnake(); break;
    case TSnakeHandleKind::Reset: ResetSnake(); break;
    case TSnakeHandleKind::AutoAll: AutoAll(); break;
    case TSnakeHandleKind::NextPoint: Next(); break;
  }
  return true;
}

bool TDigitizeWindow::Dragged(TFloatPoint at) {
  if (!fDigitizing->DragSnake(at)) return false;
  emit Changed();
  return true;
}

bool TDigitizeWindow::Released(TFloatPoint at) {
  if (!fDigitizing->EndSnakeDrag(at)) return false;
  Changes();
  return true;
}

void TDigitizeWindow::Accept() {
  if (fDigitizing->Mode() == dmOriented) {
    fProceed->click();
    return;
  }
  if (!fTool.Lock()) return;
  Clicked(fTool.Lock()->Cursor, true);
}

void TDigitizeWindow::Placed(const TPlacement& placement) {
  if (!placement.Placed) return;
  for (int i = 0; i < placement.Beeps; ++i) fBeep();
  Update();
  Changes();
}

bool TDigitizeWindow::Undo() {
  if (!fDigitizing->Undo()) return false;
  Update();
  Changes();
  return true;
}

void TDigitizeWindow::DeleteLast() {
  if (!fDigitizing->DeletePlacement()) return;
  ShowSelection();
  Changes();
}

void TDigitizeWindow::Next() {
  fDigitizing->Next();
  ShowSelection();
  Changes();
}

void TDigitizeWindow::Previous() {
  fDigitizing->Previous();
  ShowSelection();
  Changes();
}

void TDigitizeWindow::Changes() {
  FillElements();
  emit Changed();
}

void TDigitizeWindow::FillElements() {
  const std::vector<TXRayElement*> elements = fDigitizing->Elements();
  const TLoadedRadiograph loaded = Radiograph().Load();
  const auto& points = loaded.Type()->ElementList(ekDigPoint);
  fElement->blockSignals(true);
  fElement->clear();
  for (TXRayElement* element : elements) {
    QString marker;
    QColor colour = Qt::red;
    if (element->KindCode() == ekSnake) {
      marker = QStringLiteral("S");
      colour = static_cast<TDigSnake*>(element)->Placed ? Qt::darkGreen : Qt::red;
    } else {
      const int index = loaded.Type()->IndexOf(element);
      const std::size_t placed = index >= 0 ? fDigitizing->Placements(static_cast<std::size_t>(index)).size() : 0;
      if (placed > 0) {
        marker = QStringLiteral("%1.").arg(placed);
      } else if (index >= 0 && static_cast<std::size_t>(index) < points.size() && loaded.IsValid(element)) {
        marker = QStringLiteral("+.");
        colour = Qt::darkGreen;
      }
    }
    fElement->addItem(MarkerIcon(marker, colour, fElement->font()), Utf8(element->Name));
  }
  fElement->setCurrentIndex(static_cast<int>(fDigitizing->SelectedIndex()));
  fElement->blockSignals(false);
}

void TDigitizeWindow::ShowSelection() {
  fElement->setCurrentIndex(static_cast<int>(fDigitizing->SelectedIndex()));
  TXRayElement* selected = fDigitizing->Selected();
  const bool snake = selected != nullptr && selected->KindCode() == ekSnake;
  fPanels->setCurrentIndex(snake ? 1 : 0);
  if (selected != nullptr) {
    if (auto* point = dynamic_cast<TDigPoint*>(selected)) fElement->setToolTip(Utf8(point->Description));
    if (snake) fElement->setToolTip(Utf8(static_cast<TDigSnake*>(selected)->Description));
  }
  const bool centre = fEnvironment.Options && fEnvironment.Options().AutoCenter;
  if (snake) {
    auto* s = static_cast<TDigSnake*>(selected);
    fHotZone->setValue(static_cast<int>(std::lround(s->HotZone / 10.0)));
    fPointCount->setValue(static_cast<int>(s->Points.size()));
    // The snake's points are the radiograph's only while its coordinates are loaded.
    const std::vector<TFloatPoint> outline = [&] {
      [[maybe_unused]] const TLoadedRadiograph loaded = Radiograph().Load();
      return SnakeOutline(*s);
    }();
    if (centre && !outline.empty()) {
      double x = 0, y = 0;
      for (TFloatPoint p : outline) {
        x += p.X;
        y += p.Y;
      }
      emit CentreRequested(x / static_cast<double>(outline.size()), y / static_cast<double>(outline.size()));
    }
  } else if (selected != nullptr) {
    const int index = Radiograph().Type()->IndexOf(selected);
    fPlacements->Show(index >= 0 ? fDigitizing->Placements(static_cast<std::size_t>(index)) : std::vector<TFloatPoint>{});
    if (centre)
      if (const std::optional<TFloatPoint> guess = fDigitizing->GuessedPosition()) emit CentreRequested(guess->X, guess->Y);
  }
  fProfile->Show(fTool.Lock() ? fTool.Lock()->Profile.Graph(fGraphShown) : std::vector<double>{});
  fGoToPrediction->setEnabled(fTool.Prediction(*fDigitizing).has_value());
}

void TDigitizeWindow::Update() {
  const int mode = fDigitizing->Mode();
  fMode->setText(ModeText(mode));
  fMode->setVisible(mode != dmDigitizing);
  fBack->setVisible(mode != dmDigitizing);
  fProceed->setVisible(mode != dmDigitizing);
  fBack->setEnabled(mode == dmSecondOrientation || mode == dmOriented);
  fProceed->setEnabled(mode == dmOriented);
  if (TXRProtocol* protocol = fDigitizing->Protocol()) {
    const std::vector<TXRProtocol*> protocols = fDigitizing->Protocols();
    const auto at = std::find(protocols.begin(), protocols.end(), protocol);
    fProtocol->setCurrentIndex(static_cast<int>(at - protocols.begin()));
  }
  FillElements();
  ShowSelection();
}

void TDigitizeWindow::DrawOverlay(TCanvas& canvas) const {
  if (fEnded) return;
  fTool.Draw(canvas, *fDigitizing, Options(), TRenderOptions{});
}

bool TDigitizeWindow::End() {
  if (fEnded) return true;
  const TDigitizeStatistics statistics = fDigitizing->Statistics();
  QString pairs;
  for (const std::string& pair : statistics.CoincidentPairs) pairs += QStringLiteral("<br>") + Utf8(pair).toHtmlEscaped();
  const QString count = QString::number(statistics.CoincidentPairs.size());
  // The box goes before the window may: ending releases the window.
  bool ended = false;
  {
    QMessageBox box(QMessageBox::Question, tr("Statistics"), QString(), QMessageBox::NoButton, this);
    box.setTextFormat(Qt::RichText);
    box.setText(tr("<b>End Digitization?</b><br><br>Total points: %1<br>Points digitized: %2<br>"
                   "Points auto-located: %3<br>Points missing: %4<br>Pairs of coincident points: %5%6")
                    .arg(statistics.Total)
                    .arg(statistics.Digitized)
                    .arg(statistics.AutoLocated)
                    .arg(statistics.Missing)
                    .arg(statistics.CoincidentPairs.empty() ? count : QStringLiteral("<b>%1</b>").arg(count), pairs));
    QPushButton* yes = box.addButton(tr("&Yes"), QMessageBox::YesRole);
    box.addButton(tr("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    ended = box.clickedButton() == yes;
  }
  if (!ended) return false;
  fDigitizing->End(fEnvironment.ShowLifeSize && fEnvironment.ShowLifeSize());
  fEnded = true;
  hide();
  emit Ended();
  return true;
}

void TDigitizeWindow::Abandon() {
  fDigitizing->Detach();
  fEnded = true;
  hide();
}

void TDigitizeWindow::closeEvent(QCloseEvent* event) {
  if (fEnded || End()) {
    event->accept();
  } else {
    event->ignore();
  }
}

TDigitizingInputDlg::TDigitizingInputDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Select Digitizing Input"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Select the input source for the radiograph:")));
  auto* buttons = new QDialogButtonBox;
  const std::pair<QString, int> choices[] = {
      {tr("&Scanner"), kInputScanner}, {tr("&Digitizer"), kInputDigitizer}, {tr("&File"), kInputImageFile}};
  for (const auto& [caption, input] : choices) {
    QPushButton* button = buttons->addButton(caption, QDialogButtonBox::AcceptRole);
    connect(button, &QPushButton::clicked, this, [this, input = input] {
      fInput = input;
      accept();
    });
    if (input == kInputImageFile) button->setDefault(true);
    if (input == kInputDigitizer) button->setToolTip(tr("Digitize a film on the default digitizer tablet."));
  }
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  fRemember = new QCheckBox(tr("&Use the same selection in the future without asking."));
  layout->addWidget(buttons);
  layout->addWidget(fRemember);
}

bool TDigitizingInputDlg::Remember() const { return fRemember->isChecked(); }

}  // namespace lumacet
