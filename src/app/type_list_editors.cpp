#include "app/type_list_editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/qt_prompts.h"
#include "digitize/grey_plane.h"
#include "digitize/snake_fit.h"
#include "imaging/image_frame.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "population/pca_import.h"
#include "population/pca_statistics.h"
#include "shell/workspace.h"

namespace lumacet {

namespace {

template <class T>
std::function<TMemberList&(TXRayElement&)> MembersOf(TMemberList T::*list) {
  return [list](TXRayElement& e) -> TMemberList& { return static_cast<T&>(e).*list; };
}

QStringList Captions(std::initializer_list<const char*> texts) {
  QStringList list;
  for (const char* text : texts) list << QCoreApplication::translate("lumacet::TRollUpForm", text);
  return list;
}

// The colours the drawing editor offers, 0x00BBGGRR as stored.
struct TNamedColour {
  const char* Name;
  uint32_t Value;
};
constexpr TNamedColour kColours[] = {
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Black"), 0x000000},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Maroon"), 0x000080},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Green"), 0x008000},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Light Green"), 0xC0DCC0},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Olive"), 0x008080},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Navy"), 0x800000},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Purple"), 0x800080},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Teal"), 0x808000},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Gray"), 0x808080},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Silver"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Red"), 0x0000FF},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Lime"), 0x00FF00},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Blue"), 0xFF0000},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Fuchsia"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Aqua"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Yellow"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "White"), 0xFFFFFF},
};
constexpr int kLineWidths[] = {0, 1, 2, 3, 4, 5, 10, 20};

QPixmap Swatch(uint32_t bgr) {
  QPixmap swatch(16, 12);
  swatch.fill(
      QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF)));
  return swatch;
}

// The elements of several kinds in one list, sorted by name without regard to case.
TMemberList SortedTogether(std::initializer_list<TMemberList> lists) {
  TMemberList all;
  for (const TMemberList& list : lists) all.insert(all.end(), list.begin(), list.end());
  std::stable_sort(all.begin(), all.end(), [](const TXRayElement* a, const TXRayElement* b) {
    return QString::compare(Utf8(a->Name), Utf8(b->Name), Qt::CaseInsensitive) < 0;
  });
  return all;
}

// Kept from the list of other kinds: the element a choice list shows, or null.
TXRayElement* ChoiceElement(const QComboBox* list) {
  return list->currentIndex() < 0 ? nullptr : reinterpret_cast<TXRayElement*>(list->currentData().value<quintptr>());
}

void FillChoice(QComboBox* list, const TMemberList& elements, const TXRayElement* chosen, const QString& none) {
  list->clear();
  list->addItem(none, QVariant::fromValue(quintptr{0}));
  for (const TXRayElement* e : elements)
    list->addItem(Utf8(e->Name), QVariant::fromValue(reinterpret_cast<quintptr>(e)));
  const int index = list->findData(QVariant::fromValue(reinterpret_cast<quintptr>(chosen)));
  list->setCurrentIndex(std::max(index, 0));
}

}  // namespace

// ---- areas -----------------------------------------------------------------------------

TAreasForm::TAreasForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekArea, tr("Areas"), parent) {
  fPoints = AddCheckList([this] { return ElementsOf(ekDigPoint, true); }, MembersOf(&TArea::Points));
  Page()->addRow(tr("&Points:"), fPoints);
  Choose({});
}

// ---- protocols -------------------------------------------------------------------------

TProtocolsForm::TProtocolsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekProtocol, tr("Protocols"), parent) {
  AddRearrangeButton();
  fMembers = AddMemberPicker(
      tr("Points and &Snakes: %1"), tr("P&oints In Protocol: %1"),
      [this] {
        return SortedTogether({ElementsOf(ekDigPoint, false), ElementsOf(ekSnake, false)});
      },
      MembersOf(&TXRProtocol::Points), true);
  Page()->addRow(fMembers);
  AddCheck(
      tr("&Auto Advance"), [](const TXRayElement& e) { return static_cast<const TXRProtocol&>(e).AutoAdvance; },
      [](TXRayElement& e, bool on) { static_cast<TXRProtocol&>(e).AutoAdvance = on; });
  AddCheck(
      tr("&Beep on Advance"), [](const TXRayElement& e) { return static_cast<const TXRProtocol&>(e).BeepOnAdvance; },
      [](TXRayElement& e, bool on) { static_cast<TXRProtocol&>(e).BeepOnAdvance = on; });
  fMargin = new QLineEdit;
  Page()->addRow(tr("Error &Margin (mm):"), fMargin);
  ConnectNumber(fMargin, 1, [](TXRayElement& e, double mm) { static_cast<TXRProtocol&>(e).ErrorMargin = mm; });
  Choose({});
}

void TProtocolsForm::MainCBChange(TXRayElement& chosen) {
  fMargin->setText(QLocale().toString(static_cast<TXRProtocol&>(chosen).ErrorMargin, 'f', 1));
}

// ---- analyses --------------------------------------------------------------------------

TAnalysesForm::TAnalysesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekAnalysis, tr("Analyses"), parent) {
  AddRearrangeButton();
  auto* pages = new QTabWidget;
  fVariables = AddMemberPicker(
      tr("Avai&lable Variables:"), tr("Variable&s In Analysis:"), [this] { return ElementsOf(ekVariable, true); },
      MembersOf(&TXRAnalysis::Points), false);
  fGraphics = AddMemberPicker(
      tr("Avai&lable Graphics:"), tr("Graphic&s In Analysis:"), [this] { return ElementsOf(ekGraphic, true); },
      MembersOf(&TXRAnalysis::Graphics), false);
  pages->addTab(fVariables, tr("Varia&bles"));
  pages->addTab(fGraphics, tr("&Graphics"));
  Page()->addRow(pages);
  Choose({});
}

// ---- views -----------------------------------------------------------------------------

TViewsForm::TViewsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekView, tr("Views"), parent) {
  AddRearrangeButton();
  fGraphics = AddCheckList([this] { return ElementsOf(ekGraphic, false); }, MembersOf(&TXRView::Points));
  Page()->addRow(tr("&Graphics:"), fGraphics);
  fVariables = AddCheckList([this] { return ElementsOf(ekVariable, false); }, MembersOf(&TXRView::Variables));
  Page()->addRow(tr("V&ariables:"), fVariables);
  Choose({});
}

// ---- drawings --------------------------------------------------------------------------

TDrawingsForm::TDrawingsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekGraphic, tr("Drawings"), parent) {
  using G = TXRGraphic;
  AddKindRow(kGraphicKindCount, [](int k) { return GraphicKind(k).Token; });
  AddChoice(
      tr("Dr&aw:"),
      Captions({QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Always"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "On Demand")}),
      [](const TXRayElement& e) { return static_cast<const G&>(e).DrawOption; },
      [](TXRayElement& e, int i) { static_cast<G&>(e).DrawOption = i; });
  fColour = new QComboBox;
  for (const TNamedColour& c : kColours)
    fColour->addItem(Swatch(c.Value), QCoreApplication::translate("lumacet::TRollUpForm", c.Name), c.Value);
  Page()->addRow(tr("&Colour:"), fColour);
  connect(fColour, &QComboBox::activated, this, [this](int index) {
    const auto value = fColour->itemData(index).value<uint32_t>();
    ApplyField([value](TXRayElement& e) { static_cast<G&>(e).Colour = value; });
  });
  AddChoice(
      tr("&Line Style:"),
      Captions({QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Solid"), QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Dash"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Dot"), QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Dash-Dot"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Dash-Dot-Dot"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Clear")}),
      [](const TXRayElement& e) { return static_cast<const G&>(e).PenStyle; },
      [](TXRayElement& e, int i) { static_cast<G&>(e).PenStyle = i; });
  AddChoice(
      tr("&Fill Style:"),
      Captions(
          {QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Solid"), QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "No Fill"),
           QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Horizontal"),
           QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Vertical"),
           QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "FDiagonal"),
           QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "BDiagonal"), QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Cross"),
           QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Diag. Cross")}),
      [](const TXRayElement& e) { return static_cast<const G&>(e).BrushStyle; },
      [](TXRayElement& e, int i) { static_cast<G&>(e).BrushStyle = i; });
  AddCheck(
      tr("&Transparent"), [](const TXRayElement& e) { return !static_cast<const G&>(e).Opaque; },
      [](TXRayElement& e, bool on) { static_cast<G&>(e).Opaque = !on; });
  QStringList widths;
  for (int w : kLineWidths) widths << QString::number(w);
  AddChoice(
      tr("Line &Width:"), widths,
      [](const TXRayElement& e) {
        const int* found =
            std::find(std::begin(kLineWidths), std::end(kLineWidths), static_cast<const G&>(e).LineWidth);
        return found == std::end(kLineWidths) ? -1 : static_cast<int>(found - std::begin(kLineWidths));
      },
      [](TXRayElement& e, int i) { static_cast<G&>(e).LineWidth = kLineWidths[i]; });
  fSize = new QLineEdit;
  auto* right = new QPushButton(tr("R"));
  auto* left = new QPushButton(tr("L"));
  right->setToolTip(tr("Right side"));
  left->setToolTip(tr("Left side"));
  auto* sizeRow = new QWidget;
  auto* sizeLayout = new QHBoxLayout(sizeRow);
  sizeLayout->setContentsMargins(0, 0, 0, 0);
  sizeLayout->addWidget(fSize, 1);
  sizeLayout->addWidget(right);
  sizeLayout->addWidget(left);
  sizeRow->setFocusProxy(fSize);
  Page()->addRow(tr("&Size (mm):"), sizeRow);
  ConnectNumber(fSize, 10, [](TXRayElement& e, double size) { static_cast<G&>(e).Size = size; });
  for (auto [button, side] : {std::pair{right, 1.0}, std::pair{left, -1.0}})
    connect(button, &QPushButton::clicked, this,
            [this, side] { ApplyField([side](TXRayElement& e) { static_cast<G&>(e).Size = side * 10; }); });
  AddChoice(
      tr("Marker S&hape:"),
      Captions({QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Cross"), QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Square"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Circle"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Diamond"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Triangle")}),
      [](const TXRayElement& e) { return static_cast<const G&>(e).MarkerShape; },
      [](TXRayElement& e, int i) { static_cast<G&>(e).MarkerShape = i; });
  fColourVariable = new QComboBox;
  Page()->addRow(tr("Use Color of &Variable:"), fColourVariable);
  connect(fColourVariable, &QComboBox::activated, this, [this] {
    TXRayElement* variable = ChoiceElement(fColourVariable);
    ApplyField([variable](TXRayElement& e) { static_cast<G&>(e).ColourVariable = variable; });
  });
  AddCheck(
      tr("Use for &Morphing"), [](const TXRayElement& e) { return static_cast<const G&>(e).UseForMorphing; },
      [](TXRayElement& e, bool on) { static_cast<G&>(e).UseForMorphing = on; });
  fMembers = AddMemberPicker(
      tr("Avai&lable Points: %1"), tr("Poi&nts In Drawing: %1"),
      [this] {
        // The shape-analysis kinds draw PCA elements; all others points.
        const auto* chosen = static_cast<const G*>(CurrentElement());
        if (chosen != nullptr && IsPcaGraphicKind(chosen->Kind())) return ElementsOf(ekPCA, true);
        return SortedTogether({ElementsOf(ekDigPoint, false), ElementsOf(ekDerPoint, false)});
      },
      MembersOf(&G::Points), false);
  Page()->addRow(fMembers);
  auto* up = new QPushButton(tr("Move &Up"));
  auto* down = new QPushButton(tr("Move D&own"));
  auto* moves = new QHBoxLayout;
  moves->addStretch();
  moves->addWidget(up);
  moves->addWidget(down);
  Page()->addRow(moves);
  connect(up, &QPushButton::clicked, this, [this] { fMembers->Shift(-1); });
  connect(down, &QPushButton::clicked, this, [this] { fMembers->Shift(1); });
  Choose({});
}

void TDrawingsForm::MainCBChange(TXRayElement& chosen) {
  auto& g = static_cast<TXRGraphic&>(chosen);
  KindList()->setCurrentIndex(g.Kind());
  int colour = fColour->findData(g.Colour);
  if (colour < 0) {
    // A colour from the file that is not one of the named ones stays choosable.
    fColour->addItem(Swatch(g.Colour), QStringLiteral("$%1").arg(g.Colour, 8, 16, QLatin1Char('0')).toUpper(),
                     g.Colour);
    colour = fColour->count() - 1;
  }
  fColour->setCurrentIndex(colour);
  ShowNumber(fSize, g.Size, 10);
  FillChoice(fColourVariable, ElementsOf(ekVariable, true), g.ColourVariable, tr("<none>"));
}

// ---- snakes ----------------------------------------------------------------------------

TSnakesForm::TSnakesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekSnake, tr("Snakes"), parent) {
  auto* hint = new QLabel(tr("After defining digitized snakes, don't forget to add them to a Protocol.") +
                          QLatin1Char('\n') + tr("Use the Digitize tool to add points to the snake."));
  hint->setWordWrap(true);
  Page()->addRow(hint);
  fClear = new QPushButton(tr("&Clear All"));
  fDeleteLast = new QPushButton(tr("Delete &Last"));
  auto* row = new QHBoxLayout;
  row->addWidget(fClear);
  row->addWidget(fDeleteLast);
  Page()->addRow(row);
  connect(fClear, &QPushButton::clicked, this,
          [this] { ApplyField([](TXRayElement& e) { static_cast<TDigSnake&>(e).ClearPoints(); }); });
  connect(fDeleteLast, &QPushButton::clicked, this, [this] {
    ApplyField([](TXRayElement& e) {
      auto& snake = static_cast<TDigSnake&>(e);
      if (!snake.Points.empty()) snake.Points.pop_back();
    });
  });
  using S = TDigSnake;
  fCount = AddSpin(
      tr("Nu&mber of Points:"), 3, 100, 1,
      [](const TXRayElement& e) { return static_cast<int>(static_cast<const S&>(e).Points.size()); },
      [](TXRayElement& e, int count) { static_cast<S&>(e).Resample(count); });
  fHotZone = AddSpin(
      tr("&Hot zone (mm):"), 0, 10, 1, [](const TXRayElement& e) { return static_cast<const S&>(e).HotZone / 10; },
      [](TXRayElement& e, int mm) { static_cast<S&>(e).HotZone = mm * 10; });
  fTransition = new QComboBox;
  const QStringList transitions = Captions({QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "White to Black"),
                                            QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Any"),
                                            QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Black to White")});
  for (int t = 0; t < transitions.size(); ++t) fTransition->addItem(TransitionPicture(t), transitions[t]);
  Page()->addRow(tr("&Transition:"), fTransition);
  fBias = AddSpin(
      tr("Lock &Bias:"), -100, 100, 10, [](const TXRayElement& e) { return static_cast<const S&>(e).LockBias; },
      [](TXRayElement& e, int bias) { static_cast<S&>(e).LockBias = bias; });
  fFit = new QPushButton(tr("&Fit"));
  Page()->addRow(fFit);
  connect(fFit, &QPushButton::clicked, this, [this] {
    const TXRayType& type = fType;
    const TGreyPlane plane = TGreyPlane::FromImage(type.Image);
    const TImageFrame frame = ImageFrameOf(type);
    ApplyField([&](TXRayElement& e) { FitDigSnake(static_cast<TDigSnake&>(e), plane, frame); });
  });
  fDescription = new QLineEdit;
  Page()->addRow(tr("D&escription:"), fDescription);
  connect(fTransition, &QComboBox::activated, this, [this](int transition) {
    ApplyField([transition](TXRayElement& e) { static_cast<TDigSnake&>(e).Transition = transition; });
  });
  connect(fDescription, &QLineEdit::editingFinished, this, [this] {
    const std::string text = fDescription->text().toStdString();
    if (auto* s = static_cast<TDigSnake*>(CurrentElement()); s != nullptr && s->Description != text)
      ApplyField([&](TXRayElement& e) { static_cast<TDigSnake&>(e).Description = text; });
  });
  Choose({});
}

void TSnakesForm::MainCBChange(TXRayElement& chosen) {
  auto& snake = static_cast<TDigSnake&>(chosen);
  // A snake chosen here counts as placed: the tracing draws it with its handles.
  snake.Placed = true;
  fCount->setEnabled(snake.Points.size() >= 3);
  fFit->setEnabled(fType.Image.HasImage() && !snake.Points.empty());
  fTransition->setCurrentIndex(snake.Transition);
  fDescription->setText(Utf8(snake.Description));
}

// ---- superimpositions and orientations ------------------------------------------------

TSupimpsForm::TSupimpsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekSupimp, tr("Superimpositions"), parent) {
  AddRearrangeButton();
  AddKindRow(kSupimpKindCount, [](int k) { return SupimpKind(k).Token; });
  AddOperandRows(TXRPointKindElement::kSlotCount);
  Choose({});
}

void TSupimpsForm::MainCBChange(TXRayElement& chosen) {
  auto& s = static_cast<TXRSupimp&>(chosen);
  KindList()->setCurrentIndex(s.Kind());
  for (int slot = 0; slot < TXRPointKindElement::kSlotCount; ++slot)
    ShowOperand(slot, s.SlotClass(s.Kind(), slot), slot < s.OperandCount(), s.Operand(slot), false);
}

TOrientsForm::TOrientsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekOrient, tr("Orientations"), parent) {
  AddRearrangeButton();
  AddKindRow(kOrientKindCount, [](int k) { return OrientKind(k).Token; });
  AddParameterRows(
      2,
      [](TXRayElement& e, int i, double value) {
        auto& o = static_cast<TXROrient&>(e);
        (i == 0 ? o.Parameter1 : o.Parameter2) = value;
      },
      1);
  AddOperandRows(TXRPointKindElement::kSlotCount);
  AddChoice(
      tr("A&ffect:"),
      Captions({QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "All (except Preset)"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Selected only"),
                QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Area:")}),
      [](const TXRayElement& e) { return static_cast<const TXROrient&>(e).Affect; },
      [](TXRayElement& e, int i) { static_cast<TXROrient&>(e).Affect = i; });
  fArea = new QComboBox;
  Page()->addRow(QStringLiteral(" "), fArea);
  connect(fArea, &QComboBox::activated, this, [this] {
    TXRayElement* area = ChoiceElement(fArea);
    ApplyField([area](TXRayElement& e) { static_cast<TXROrient&>(e).AffectedArea = area; });
  });
  Choose({});
}

void TOrientsForm::MainCBChange(TXRayElement& chosen) {
  auto& o = static_cast<TXROrient&>(chosen);
  const TOrientKindInfo& kind = OrientKind(o.Kind());
  KindList()->setCurrentIndex(o.Kind());
  ShowParameter(0, kind.Caption1, o.Parameter1, 1);
  ShowParameter(1, kind.Caption2, o.Parameter2, 1);
  for (int slot = 0; slot < TXRPointKindElement::kSlotCount; ++slot)
    ShowOperand(slot, o.SlotClass(o.Kind(), slot), slot < o.OperandCount(), o.Operand(slot), false);
  FillChoice(fArea, ElementsOf(ekArea, true), o.AffectedArea, tr("<none>"));
  fArea->setEnabled(o.Affect == 2);
}

// ---- shape analyses --------------------------------------------------------------------

TPCAsForm::TPCAsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekPCA, tr("PCAs"), parent) {
  fPoints = new TCheckList(
      [this] {
        TMemberList points = ElementsOf(ekDigPoint, false);
        for (TXRayElement* p : ElementsOf(ekDerPoint, false)) points.push_back(p);
        return points;
      },
      [this](const TListEdit& edit) {
        // Data belong to the point list they were computed for.
        ApplyField([&](TXRayElement& e) {
          auto& pca = static_cast<TXRPCA&>(e);
          edit(pca.Points);
          pca.HasData = false;
        });
      });
  AddShow([this](TXRayElement& e) { fPoints->Show(static_cast<TXRPCA&>(e).Points); });
  Page()->addRow(tr("Point&s:"), fPoints);
  auto* import = new QPushButton(tr("Import &Data..."));
  fNotValid = new QLabel(tr("Data Not Valid!"));
  fNotValid->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  auto* row = new QHBoxLayout;
  row->addWidget(import);
  row->addWidget(fNotValid);
  row->addStretch();
  Page()->addRow(row);
  connect(import, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, tr("Import Data"), QString(),
                                                      tr("Text files (*.txt);;Data files (*.dat);;All files (*)"));
    if (!path.isEmpty()) ImportData(path.toStdString());
  });
  Choose({});
}

TXRPCA* TPCAsForm::ChosenPca() const { return static_cast<TXRPCA*>(CurrentElement()); }

void TPCAsForm::MainCBChange(TXRayElement& chosen) {
  fNotValid->setVisible(!UsablePcaData(static_cast<TXRPCA&>(chosen)));
}

void TPCAsForm::ImportData(const std::string& path) {
  TXRPCA* pca = ChosenPca();
  if (pca == nullptr) return;
  if (pca->Points.size() < 3) {
    fPrompts.ShowMessage(std::string(kNotEnoughPointsMessage));
    return;
  }
  TPcaImportResult result;
  // An import is one undoable change of the element, recorded once.
  ApplyField([&](TXRayElement& e) {
    THistoryPause pause(fType);
    result = ImportPcaFile(fType, static_cast<TXRPCA&>(e), path);
  });
  if (result.Ok)
    fPrompts.Inform(result.Message);
  else
    fPrompts.ShowMessage(result.Message);
}

}  // namespace lumacet
