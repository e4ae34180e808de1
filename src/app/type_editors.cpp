#include "app/type_editors.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/pcas_dialog.h"
#include "app/qt_prompts.h"
#include "model/kind_tables.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "shell/workspace.h"

namespace lumacet {

namespace {

// The name lists of these kinds are sorted; the others keep the type's order.
bool SortedKind(int code) { return code == ekDigPoint || code == ekDerPoint || code == ekArea; }

void SortNames(std::vector<const TXRayElement*>& elements) {
  std::stable_sort(elements.begin(), elements.end(), [](const TXRayElement* a, const TXRayElement* b) {
    return QString::compare(Utf8(a->Name), Utf8(b->Name), Qt::CaseInsensitive) < 0;
  });
}

TXRayElement* ItemElement(const QComboBox* list, int index) {
  return reinterpret_cast<TXRayElement*>(list->itemData(index).value<quintptr>());
}

// A number as typed: in the user's notation first, then with "." whatever the locale.
std::optional<double> ParseTyped(const QString& text) {
  bool ok = false;
  double value = QLocale().toDouble(text.trimmed(), &ok);
  if (!ok) value = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

void MarkInvalid(QWidget* field, bool invalid) {
  field->setStyleSheet(invalid ? QStringLiteral("background-color: #ff8080;") : QString());
}

// "Point &1:", "Snake &1:": the class's kind name and the slot number.
QString SlotCaption(int slotClass, int slot) {
  return QStringLiteral("%1 &%2:")
      .arg(Utf8(ElementKindName(slotClass == kDigPointOrSnake ? ekDigPoint : slotClass)))
      .arg(slot + 1);
}

QString PlainCaption(std::string_view caption) { return Utf8(std::string(caption)); }

}  // namespace

TRollUpForm::TRollUpForm(TTypeEdits& edits, TWorkspacePrompts& prompts, int code, const QString& title, QWidget* parent)
    : QDialog(parent), fType(edits.Type()), fEdits(edits), fPrompts(prompts), fCode(code) {
  setWindowTitle(title);
  fElements = new QComboBox;
  fElements->setObjectName(QStringLiteral("elements"));
  fNew = new QPushButton(tr("&New..."));
  fRename = new QPushButton(tr("&Rename..."));
  fDelete = new QPushButton(tr("&Delete"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(fNew);
  buttons->addWidget(fRename);
  buttons->addWidget(fDelete);
  fFields = new QWidget;
  fPage = new QFormLayout(fFields);
  fPage->setContentsMargins(0, 0, 0, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fElements);
  layout->addLayout(buttons);
  layout->addWidget(fFields, 1);

  connect(fElements, &QComboBox::currentIndexChanged, this, [this] {
    if (!fUpdating) ShowChosen();
  });
  connect(fNew, &QPushButton::clicked, this, &TRollUpForm::AskNew);
  connect(fRename, &QPushButton::clicked, this, &TRollUpForm::AskRename);
  connect(fDelete, &QPushButton::clicked, this, &TRollUpForm::AskDelete);
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  connect(undo, &QShortcut::activated, this, &TRollUpForm::Undo);
  auto* redo = new QShortcut(QKeySequence::Redo, this);
  connect(redo, &QShortcut::activated, this, &TRollUpForm::Redo);
}

TXRayElement* TRollUpForm::CurrentElement() const {
  if (fElements->currentIndex() < 0) return nullptr;
  return ItemElement(fElements, fElements->currentIndex());
}

void TRollUpForm::FillElements(const std::string& chosen) {
  fUpdating = true;
  std::vector<const TXRayElement*> elements;
  for (const auto& e : fType.ElementList(fCode)) elements.push_back(e.get());
  if (SortedKind(fCode)) SortNames(elements);
  fElements->clear();
  int index = elements.empty() ? -1 : 0;
  for (const TXRayElement* e : elements) {
    if (e->Name == chosen) index = fElements->count();
    fElements->addItem(Utf8(e->Name), QVariant::fromValue(reinterpret_cast<quintptr>(e)));
  }
  fElements->setCurrentIndex(index);
  fUpdating = false;
}

void TRollUpForm::ShowChosen() {
  TXRayElement* chosen = CurrentElement();
  fFields->setEnabled(chosen != nullptr);
  fRename->setEnabled(chosen != nullptr);
  fDelete->setEnabled(chosen != nullptr);
  if (chosen != nullptr) {
    fUpdating = true;
    MainCBChange(*chosen);
    fUpdating = false;
  }
  // The chosen element is marked on the tracing: its points are the type's selection.
  fType.Selection.clear();
  if (chosen != nullptr) {
    if (dynamic_cast<TXRPoint*>(chosen) != nullptr)
      fType.Selection.push_back(chosen);
    else
      static_cast<const TXRayElement&>(*chosen).VisitReferences([&](TXRayElement* const& slot, int) {
        if (dynamic_cast<TXRPoint*>(slot) != nullptr) fType.Selection.push_back(slot);
      });
  }
  emit Changed();
}

void TRollUpForm::Refresh() {
  TXRayElement* chosen = CurrentElement();
  FillElements(chosen != nullptr ? chosen->Name : std::string());
  ShowChosen();
}

void TRollUpForm::Choose(const std::string& name) {
  FillElements(name);
  ShowChosen();
}

bool TRollUpForm::NewElement(const std::string& name, bool copyChosen) {
  TResultOf<TXRayElement*> added = fEdits.Add(fCode, name, copyChosen ? CurrentElement() : nullptr);
  if (!added) {
    fPrompts.ShowText(added.Text());
    return false;
  }
  Choose((*added)->Name);
  return true;
}

bool TRollUpForm::RenameElement(const std::string& name) {
  TXRayElement* chosen = CurrentElement();
  if (chosen == nullptr) return false;
  if (TResult renamed = fEdits.Rename(*chosen, name); !renamed) {
    fPrompts.ShowText(renamed.Text());
    return false;
  }
  Choose(name);
  return true;
}

bool TRollUpForm::DeleteElement() {
  TXRayElement* chosen = CurrentElement();
  if (chosen == nullptr) return false;
  if (TResult deleted = fEdits.Delete(*chosen); !deleted) {
    fPrompts.ShowText(deleted.Text());
    return false;
  }
  FillElements({});
  ShowChosen();
  return true;
}

bool TRollUpForm::Undo() {
  TResult undone = fEdits.Undo();
  if (!undone) fPrompts.ShowText(undone.Text());
  Refresh();
  return undone.Ok();
}

bool TRollUpForm::Redo() {
  TResult redone = fEdits.Redo();
  if (!redone) fPrompts.ShowText(redone.Text());
  Refresh();
  return redone.Ok();
}

void TRollUpForm::AskNew() {
  bool copy = false;
  const bool offerCopy = CurrentElement() != nullptr;
  if (std::optional<std::string> name = AskElementName(this, {}, offerCopy ? &copy : nullptr)) NewElement(*name, copy);
}

void TRollUpForm::AskRename() {
  if (TXRayElement* chosen = CurrentElement())
    if (std::optional<std::string> name = AskElementName(this, chosen->Name, nullptr)) RenameElement(*name);
}

void TRollUpForm::AskDelete() {
  TXRayElement* chosen = CurrentElement();
  if (chosen == nullptr) return;
  // Radiographs hold digitized coordinates by position.
  if (fCode == ekDigPoint &&
      !fPrompts.ConfirmOkCancel("It is strongly recommended not to delete digitized points,\r\nbecause you will not be "
                                "able to load any radiographs\r\nthat have been digitized before the deletion.\r\n\r\n"
                                "Are you sure you want to continue?"))
    return;
  if (fPrompts.ConfirmOkCancel("Delete: '" + chosen->Name + "' ?")) DeleteElement();
}

bool TRollUpForm::Apply(const std::function<TResult(TTypeEdits&, TXRayElement&)>& edit) {
  TXRayElement* chosen = CurrentElement();
  if (chosen == nullptr || fUpdating) return false;
  const TResult result = edit(fEdits, *chosen);
  if (!result) fPrompts.ShowText(result.Text());
  ShowChosen();
  return result.Ok();
}

bool TRollUpForm::ApplyField(const std::function<void(TXRayElement&)>& change, const std::string& field) {
  return Apply([&](TTypeEdits& edits, TXRayElement& chosen) { return edits.Change(chosen, change, field); });
}

void TRollUpForm::ShowNumber(QLineEdit* field, double stored, double scale) {
  field->setText(QLocale().toString(stored / scale, 'g', 12));
  MarkInvalid(field, false);
}

void TRollUpForm::ConnectNumber(QLineEdit* field, double scale,
                                const std::function<void(TXRayElement&, double)>& store) {
  connect(field, &QLineEdit::textEdited, this, [this, field, scale, store](const QString& text) {
    const std::optional<double> typed = ParseTyped(text);
    const bool valid = typed.has_value() && std::isfinite(*typed * scale);
    MarkInvalid(field, !valid);
    if (!valid) return;
    // The field keeps the text as typed while it is being typed.
    const QString keep = field->text();
    // Typed key by key, one value: one undo step.
    ApplyField([&](TXRayElement& e) { store(e, *typed * scale); }, std::to_string(reinterpret_cast<quintptr>(field)));
    field->setText(keep);
  });
}

void TRollUpForm::FillOperands(QComboBox* list, int slotClass, const TXRayElement* chosen, bool withNone) const {
  list->clear();
  if (withNone) list->addItem(tr("<none>"), QVariant::fromValue(quintptr{0}));
  std::vector<const TXRayElement*> candidates;
  for (int code = 0; code < kElementListCount; ++code)
    for (const auto& e : fType.ElementList(code))
      if (FitsSlot(e.get(), slotClass)) candidates.push_back(e.get());
  SortNames(candidates);
  int index = -1;
  if (withNone && chosen == nullptr) index = 0;
  for (const TXRayElement* e : candidates) {
    if (e == chosen) index = list->count();
    list->addItem(Utf8(e->Name), QVariant::fromValue(reinterpret_cast<quintptr>(e)));
  }
  list->setCurrentIndex(index);
}

TXRayElement* TRollUpForm::ChosenOperand(const QComboBox* list) {
  return list->currentIndex() < 0 ? nullptr : ItemElement(list, list->currentIndex());
}

void TRollUpForm::AddKindRow(int count, const std::function<std::string_view(int)>& name) {
  fKind = new QComboBox;
  for (int k = 0; k < count; ++k) fKind->addItem(PlainCaption(name(k)));
  Page()->addRow(tr("&Type:"), fKind);
  connect(fKind, &QComboBox::activated, this,
          [this](int kind) { Apply([&](TTypeEdits& e, TXRayElement& chosen) { return e.SetKind(chosen, kind); }); });
}

void TRollUpForm::AddParameterRows(int count, const std::function<void(TXRayElement&, int, double)>& store) {
  for (int i = 0; i < count; ++i) {
    auto* field = new QLineEdit;
    fParameters.push_back(field);
    Page()->addRow(QStringLiteral(" "), field);
    ConnectNumber(field, 10, [i, store](TXRayElement& e, double value) { store(e, i, value); });
  }
}

void TRollUpForm::AddOperandRows(int count) {
  for (int slot = 0; slot < count; ++slot) {
    auto* list = new QComboBox;
    fOperands.push_back(list);
    Page()->addRow(QStringLiteral(" "), list);
    connect(list, &QComboBox::activated, this, [this, list, slot] {
      Apply([&](TTypeEdits& edits, TXRayElement& chosen) { return edits.SetOperand(chosen, slot, ChosenOperand(list)); });
    });
  }
}

void TRollUpForm::ShowParameter(int i, std::string_view caption, double stored) {
  QLineEdit* field = Parameter(i);
  Page()->setRowVisible(field, !caption.empty());
  if (auto* label = qobject_cast<QLabel*>(Page()->labelForField(field))) label->setText(PlainCaption(caption));
  ShowNumber(field, stored, 10);
}

void TRollUpForm::ShowOperand(int slot, int slotClass, bool used, const TXRayElement* operand, bool withNone) {
  QComboBox* list = OperandList(slot);
  Page()->setRowVisible(list, used);
  if (auto* label = qobject_cast<QLabel*>(Page()->labelForField(list))) label->setText(SlotCaption(slotClass, slot));
  if (used) FillOperands(list, slotClass, operand, withNone);
}

// ---- digitized points ------------------------------------------------------------------

TDigPointsForm::TDigPointsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekDigPoint, tr("Digitized Points"), parent) {
  AddKindRow(kDigPointKindCount, [](int k) { return DigPointKind(k).Token; });
  AddParameterRows(2, [](TXRayElement& e, int i, double value) {
    auto& point = static_cast<TDigPoint&>(e);
    (i == 0 ? point.Parameter1 : point.Parameter2) = value;
    point.Invalidate();
  });
  AddOperandRows(TDigPoint::kOperandCount);
  fDescription = new QLineEdit;
  Page()->addRow(tr("De&scription:"), fDescription);
  connect(fDescription, &QLineEdit::editingFinished, this, [this] {
    const std::string text = fDescription->text().toStdString();
    if (auto* chosen = static_cast<TDigPoint*>(CurrentElement()); chosen != nullptr && chosen->Description != text)
      ApplyField([&](TXRayElement& e) { static_cast<TDigPoint&>(e).Description = text; });
  });
  Choose({});
}

void TDigPointsForm::MainCBChange(TXRayElement& chosen) {
  auto& point = static_cast<TDigPoint&>(chosen);
  const TDigPointKindInfo& kind = DigPointKind(point.Kind());
  KindList()->setCurrentIndex(point.Kind());
  ShowParameter(0, kind.Caption1, point.Parameter1);
  ShowParameter(1, kind.Caption2, point.Parameter2);
  for (int slot = 0; slot < TDigPoint::kOperandCount; ++slot)
    ShowOperand(slot, point.SlotClass(slot), point.SlotClass(slot) != ekNone, point.Operand(slot), true);
  fDescription->setText(Utf8(point.Description));
}

// ---- derived points --------------------------------------------------------------------

TDerPointsForm::TDerPointsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekDerPoint, tr("Derived Points"), parent) {
  AddKindRow(kDerPointKindCount, [](int k) { return DerPointKind(k).Token; });
  AddParameterRows(2, [](TXRayElement& e, int i, double value) {
    auto& point = static_cast<TDerPoint&>(e);
    point.SetParameters(i == 0 ? value : point.Parameter1(), i == 1 ? value : point.Parameter2());
  });
  AddOperandRows(TDerPoint::kOperandCount);
  Choose({});
}

void TDerPointsForm::MainCBChange(TXRayElement& chosen) {
  auto& point = static_cast<TDerPoint&>(chosen);
  const TDerPointKindInfo& kind = DerPointKind(point.Kind());
  KindList()->setCurrentIndex(point.Kind());
  ShowParameter(0, kind.Caption1, point.Parameter1());
  ShowParameter(1, kind.Caption2, point.Parameter2());
  // No "<none>": a derived point needs every operand its kind uses.
  for (int slot = 0; slot < TDerPoint::kOperandCount; ++slot)
    ShowOperand(slot, point.SlotClass(slot), slot < point.OperandCount(), point.Operand(slot), false);
}

// ---- variables -------------------------------------------------------------------------

TVariablesForm::TVariablesForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekVariable, tr("Variables"), parent) {
  AddKindRow(kVariableKindCount, [](int k) { return VariableKind(k).Token; });
  AddOperandRows(TXRPointKindElement::kSlotCount);
  auto connectText = [this](QLineEdit* field, std::string TXRVariable::*member) {
    connect(field, &QLineEdit::editingFinished, this, [this, field, member] {
      const std::string text = field->text().toStdString();
      if (auto* chosen = static_cast<TXRVariable*>(CurrentElement()); chosen != nullptr && chosen->*member != text)
        ApplyField([&](TXRayElement& e) { static_cast<TXRVariable&>(e).*member = text; });
    });
  };
  fBefore = new QLineEdit;
  Page()->addRow(tr("Text &Before:"), fBefore);
  connectText(fBefore, &TXRVariable::TextBefore);
  fFormat = new QLineEdit;
  Page()->addRow(tr("&Number Format:"), fFormat);
  connectText(fFormat, &TXRVariable::NumberFormat);
  fAfter = new QLineEdit;
  Page()->addRow(tr("Text &After:"), fAfter);
  connectText(fAfter, &TXRVariable::TextAfter);
  const std::array<QString, 2> captions{tr("&Female Normals:"), tr("&Male Normals:")};
  for (int sex = 0; sex < 2; ++sex) {
    auto* table = new QTableWidget(0, 4);
    table->setHorizontalHeaderLabels({tr("Age from"), tr("Age to"), tr("Mean"), tr("St. Dev.")});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setMinimumHeight(90);
    fNorms[static_cast<size_t>(sex)] = table;
    auto* add = new QPushButton(sex == 0 ? tr("Add Female Norm") : tr("Add Male Norm"));
    auto* box = new QWidget;
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->addWidget(table);
    boxLayout->addWidget(add);
    Page()->addRow(captions[static_cast<size_t>(sex)], box);
    connect(add, &QPushButton::clicked, this, [this, sex] { AddNorm(sex); });
    connect(table, &QTableWidget::cellChanged, this, [this, sex](int row, int column) {
      if (!fUpdating) NormEdited(sex, row, column);
    });
  }
  Choose({});
}

void TVariablesForm::AddNorm(int sex) {
  ApplyField([sex](TXRayElement& e) {
    auto& v = static_cast<TXRVariable&>(e);
    (sex == 0 ? v.FemaleNormals : v.MaleNormals).push_back({});
  });
}

void TVariablesForm::NormEdited(int sex, int row, int column) {
  QTableWidgetItem* item = fNorms[static_cast<size_t>(sex)]->item(row, column);
  const std::optional<double> typed = item != nullptr ? ParseTyped(item->text()) : std::nullopt;
  if (!typed) {
    // Not a number: the cell shows what is stored again.
    fUpdating = true;
    if (item != nullptr) item->setBackground(QColor(0xff, 0x80, 0x80));
    fUpdating = false;
    return;
  }
  ApplyField([&](TXRayElement& e) {
    auto& v = static_cast<TXRVariable&>(e);
    auto& norms = sex == 0 ? v.FemaleNormals : v.MaleNormals;
    if (row < 0 || static_cast<size_t>(row) >= norms.size()) return;
    TNormalValue& n = norms[static_cast<size_t>(row)];
    double* fields[] = {&n.AgeFrom, &n.AgeTo, &n.Mean, &n.StandardDeviation};
    *fields[column] = column == 3 ? std::fabs(*typed) : *typed;
  });
}

void TVariablesForm::MainCBChange(TXRayElement& chosen) {
  auto& v = static_cast<TXRVariable&>(chosen);
  KindList()->setCurrentIndex(v.Kind());
  for (int slot = 0; slot < TXRPointKindElement::kSlotCount; ++slot)
    ShowOperand(slot, v.SlotClass(v.Kind(), slot), slot < v.OperandCount(), v.Operand(slot), false);
  fBefore->setText(Utf8(v.TextBefore));
  fFormat->setText(Utf8(v.NumberFormat));
  fAfter->setText(Utf8(v.TextAfter));
  for (int sex = 0; sex < 2; ++sex) {
    QTableWidget* table = fNorms[static_cast<size_t>(sex)];
    const auto& norms = sex == 0 ? v.FemaleNormals : v.MaleNormals;
    table->setRowCount(static_cast<int>(norms.size()));
    for (size_t row = 0; row < norms.size(); ++row) {
      const double values[] = {norms[row].AgeFrom, norms[row].AgeTo, norms[row].Mean, norms[row].StandardDeviation};
      for (int column = 0; column < 4; ++column)
        table->setItem(static_cast<int>(row), column,
                       new QTableWidgetItem(QLocale().toString(values[column], 'g', 12)));
    }
  }
}

}  // namespace lumacet
