#include "app/type_editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QRegularExpressionValidator>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/command_table.h"
#include "app/qt_prompts.h"
#include "digitize/type_preview.h"
#include "model/kind_tables.h"
#include "model/list_elements.h"
#include "model/type_browser.h"
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

// The rows a field was added to, on whichever page.
QFormLayout* RowsOf(QWidget* field) { return qobject_cast<QFormLayout*>(field->parentWidget()->layout()); }

}  // namespace

std::optional<std::string> AskElementName(QWidget* parent, const std::string& initial, bool* copy) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QObject::tr("Input"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(QObject::tr("Type a new &name:"));
  auto* name = new QLineEdit(QString::fromStdString(initial));
  name->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), name));
  label->setBuddy(name);
  layout->addWidget(label);
  layout->addWidget(name);
  QCheckBox* copyBox = nullptr;
  if (copy != nullptr) {
    copyBox = new QCheckBox(QObject::tr("Create a &Copy"));
    layout->addWidget(copyBox);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (copyBox != nullptr) *copy = copyBox->isChecked();
  return name->text().toStdString();
}

TRollUpForm::TRollUpForm(TTypeEdits& edits, TWorkspacePrompts& prompts, int code, const QString& title, QWidget* parent)
    : QDialog(parent), fType(edits.Type()), fEdits(edits), fPrompts(prompts), fCode(code) {
  setWindowTitle(title);
  for (const TBrowserCategory& category : BrowserCategories())
    if (category.Code == code) setWindowIcon(ThemeIcon(category.Picture));
  fElements = new QComboBox;
  fElements->setObjectName(QStringLiteral("elements"));
  fNew = new QPushButton(tr("&New..."));
  fRename = new QPushButton(tr("&Rename..."));
  fDelete = new QPushButton(tr("&Delete"));
  fButtons = new QHBoxLayout;
  fButtons->addWidget(fNew);
  fButtons->addWidget(fRename);
  fButtons->addWidget(fDelete);
  fFields = new QWidget;
  fPage = new QFormLayout(fFields);
  fPage->setContentsMargins(0, 0, 0, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fElements);
  layout->addLayout(fButtons);
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
    for (const auto& show : fShows) show(*chosen);
    fUpdating = false;
  }
  // An analysis or view chosen here is what the tracing shows while it is chosen.
  if (fCode == ekAnalysis) fType.CurrentAnalysis = static_cast<TXRAnalysis*>(chosen);
  if (fCode == ekView) {
    fType.CurrentView = static_cast<TXRView*>(chosen);
    fType.CurrentAnalysis = nullptr;
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

void TRollUpForm::DrawPreview(TCanvas&, double) {}

void TRollUpForm::Detach() {
  fUpdating = true;
  fElements->clear();
  fFields->setEnabled(false);
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

void TRollUpForm::AddParameterRows(int count, const std::function<void(TXRayElement&, int, double)>& store,
                                   double scale) {
  for (int i = 0; i < count; ++i) {
    auto* field = new QLineEdit;
    fParameters.push_back(field);
    Page()->addRow(QStringLiteral(" "), field);
    ConnectNumber(field, scale, [i, store](TXRayElement& e, double value) { store(e, i, value); });
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

void TRollUpForm::AddTab(const QString& caption) {
  if (fTabs == nullptr) {
    fTabs = new QTabWidget;
    fPage->addRow(fTabs);
  }
  auto* page = new QWidget;
  fPage = new QFormLayout(page);
  fTabs->addTab(page, caption);
}

void TRollUpForm::ShowParameter(int i, std::string_view caption, double stored, double scale) {
  QLineEdit* field = Parameter(i);
  QFormLayout* rows = RowsOf(field);
  rows->setRowVisible(field, !caption.empty());
  if (auto* label = qobject_cast<QLabel*>(rows->labelForField(field))) label->setText(PlainCaption(caption));
  ShowNumber(field, stored, scale);
}

void TRollUpForm::ShowOperand(int slot, int slotClass, bool used, const TXRayElement* operand, bool withNone) {
  QComboBox* list = OperandList(slot);
  QFormLayout* rows = RowsOf(list);
  rows->setRowVisible(list, used);
  if (auto* label = qobject_cast<QLabel*>(rows->labelForField(list))) label->setText(SlotCaption(slotClass, slot));
  if (used) FillOperands(list, slotClass, operand, withNone);
}

TMemberList TRollUpForm::ElementsOf(int code, bool sorted) const {
  std::vector<const TXRayElement*> elements;
  for (const auto& e : fType.ElementList(code)) elements.push_back(e.get());
  if (sorted) SortNames(elements);
  TMemberList list;
  for (const TXRayElement* e : elements) list.push_back(const_cast<TXRayElement*>(e));
  return list;
}

TApplyList TRollUpForm::ListStore(std::function<TMemberList&(TXRayElement&)> members) {
  return [this, members](const TListEdit& edit) {
    // A list change is refused or kept as a whole; the lists are filled again either way.
    ApplyField([&](TXRayElement& e) { edit(members(e)); });
  };
}

TCheckList* TRollUpForm::AddCheckList(std::function<TMemberList()> shown,
                                      std::function<TMemberList&(TXRayElement&)> members) {
  auto* list = new TCheckList(std::move(shown), ListStore(members));
  AddShow([list, members](TXRayElement& e) { list->Show(members(e)); });
  return list;
}

TMemberPicker* TRollUpForm::AddMemberPicker(const QString& available, const QString& inList,
                                            std::function<TMemberList()> candidates,
                                            std::function<TMemberList&(TXRayElement&)> members,
                                            bool offerRemaining) {
  auto* picker = new TMemberPicker(available, inList, std::move(candidates), ListStore(members), offerRemaining);
  AddShow([picker, members](TXRayElement& e) { picker->Show(members(e)); });
  return picker;
}

bool TRollUpForm::DigitizeAt(double x, double y) {
  TXRayElement* chosen = CurrentElement();
  if (chosen == nullptr) return false;
  const TResult placed = fEdits.DigitizeAt(*chosen, x, y);
  if (!placed) fPrompts.ShowText(placed.Text());
  ShowChosen();
  return placed.Ok();
}

bool TRollUpForm::Rearrange(const TMemberList& order) {
  const TResult reordered = fEdits.Reorder(fCode, order);
  if (!reordered) fPrompts.ShowText(reordered.Text());
  Refresh();
  return reordered.Ok();
}

void TRollUpForm::AddRearrangeButton() {
  auto* button = new QPushButton(QIcon::fromTheme(QStringLiteral("view-sort")), QString());
  button->setToolTip(tr("Rearrange"));
  button->setObjectName(QStringLiteral("rearrange"));
  fButtons->addWidget(button);
  connect(button, &QPushButton::clicked, this, [this] {
    TArrangeForm arrange(ElementsOf(fCode, false), this);
    if (arrange.exec() == QDialog::Accepted) Rearrange(arrange.Order());
  });
}

QCheckBox* TRollUpForm::AddCheck(const QString& caption, std::function<bool(const TXRayElement&)> shown,
                                 std::function<void(TXRayElement&, bool)> store) {
  auto* box = new QCheckBox(caption);
  Page()->addRow(box);
  connect(box, &QCheckBox::toggled, this, [this, store](bool on) {
    if (!fUpdating) ApplyField([&](TXRayElement& e) { store(e, on); });
  });
  AddShow([box, shown](TXRayElement& e) { box->setChecked(shown(e)); });
  return box;
}

QSpinBox* TRollUpForm::AddSpin(const QString& caption, int low, int high, int step,
                                std::function<int(const TXRayElement&)> shown,
                                std::function<void(TXRayElement&, int)> store) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setSingleStep(step);
  Page()->addRow(caption, box);
  connect(box, &QSpinBox::editingFinished, this, [this, box, shown, store] {
    const int value = box->value();
    if (const TXRayElement* chosen = CurrentElement(); chosen != nullptr && shown(*chosen) != value)
      ApplyField([&](TXRayElement& e) { store(e, value); });
  });
  AddShow([box, shown](TXRayElement& e) { box->setValue(shown(e)); });
  return box;
}

QComboBox* TRollUpForm::AddChoice(const QString& caption, const QStringList& entries,
                                  std::function<int(const TXRayElement&)> shown,
                                  std::function<void(TXRayElement&, int)> store) {
  auto* list = new QComboBox;
  list->addItems(entries);
  Page()->addRow(caption, list);
  connect(list, &QComboBox::activated, this, [this, store](int index) {
    ApplyField([&](TXRayElement& e) { store(e, index); });
  });
  AddShow([list, shown](TXRayElement& e) { list->setCurrentIndex(shown(e)); });
  return list;
}

// ---- lists of members ------------------------------------------------------------------

void TDropList::dropEvent(QDropEvent* event) {
  const int from = currentRow();
  const int to = indexAt(event->position().toPoint()).row();
  // The owner changes the element; the list is filled again from it.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (from >= 0 && to >= 0 && from != to && Dropped) Dropped(from, to);
}

namespace {

void AddElementItem(QListWidget* list, const TXRayElement* e) {
  auto* item = new QListWidgetItem(Utf8(e->Name), list);
  item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(e)));
}

TXRayElement* ListElement(const QListWidgetItem* item) {
  return item == nullptr ? nullptr : reinterpret_cast<TXRayElement*>(item->data(Qt::UserRole).value<quintptr>());
}

// "Points and &Snakes: %1" with the count; captions without a place for it stay as they are.
QString Counted(const QString& caption, size_t count) {
  return caption.contains(QStringLiteral("%1")) ? caption.arg(count) : caption;
}

void MakeDraggable(QListWidget* list) {
  list->setDragEnabled(true);
  list->setAcceptDrops(true);
  list->setDragDropMode(QAbstractItemView::InternalMove);
  list->setDefaultDropAction(Qt::MoveAction);
}

}  // namespace

TCheckList::TCheckList(std::function<TMemberList()> shown, TApplyList apply)
    : fShown(std::move(shown)), fApply(std::move(apply)) {
  connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (fFilling) return;
    TXRayElement* element = ListElement(item);
    const bool on = item->checkState() == Qt::Checked;
    fApply([&](TMemberList& members) { SetMember(members, element, on); });
  });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    const auto add = [&](const char* caption, void (TCheckList::*command)()) {
      connect(menu.addAction(QCoreApplication::translate("lumacet::TRollUpForm", caption)), &QAction::triggered, this,
              command);
    };
    add(QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "Select &All"), &TCheckList::SelectAll);
    add(QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "&Deselect All"), &TCheckList::DeselectAll);
    add(QT_TRANSLATE_NOOP("lumacet::TRollUpForm", "&Invert Selection"), &TCheckList::InvertSelection);
    menu.exec(mapToGlobal(at));
  });
}

void TCheckList::Show(const TMemberList& members) {
  fFilling = true;
  clear();
  for (TXRayElement* e : fShown()) {
    AddElementItem(this, e);
    item(count() - 1)->setCheckState(IsMember(members, e) ? Qt::Checked : Qt::Unchecked);
  }
  fFilling = false;
}

void TCheckList::SelectAll() {
  const TMemberList shown = fShown();
  fApply([&](TMemberList& members) { members = shown; });
}

void TCheckList::DeselectAll() {
  fApply([](TMemberList& members) { members.clear(); });
}

void TCheckList::InvertSelection() {
  const TMemberList shown = fShown();
  fApply([&](TMemberList& members) { members = NonMembers(shown, members); });
}

TMemberPicker::TMemberPicker(const QString& available, const QString& inList, std::function<TMemberList()> candidates,
                             TApplyList apply, bool offerRemaining)
    : fCandidates(std::move(candidates)), fApply(std::move(apply)), fAvailableCaption(available),
      fMembersCaption(inList) {
  fAvailable = new QListWidget;
  fMembers = new TDropList;
  MakeDraggable(fMembers);
  fAvailableLabel = new QLabel;
  fAvailableLabel->setBuddy(fAvailable);
  fMembersLabel = new QLabel;
  fMembersLabel->setBuddy(fMembers);
  auto* include = new QPushButton(QCoreApplication::translate("lumacet::TRollUpForm", "&Include"));
  auto* remove = new QPushButton(QCoreApplication::translate("lumacet::TRollUpForm", "Remo&ve"));
  auto* left = new QVBoxLayout;
  left->addWidget(fAvailableLabel);
  left->addWidget(fAvailable);
  if (offerRemaining) {
    fRemaining = new QCheckBox(QCoreApplication::translate("lumacet::TRollUpForm", "Sho&w Remaining"));
    left->addWidget(fRemaining);
    connect(fRemaining, &QCheckBox::toggled, this, [this] { FillAvailable(); });
  }
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(include);
  middle->addWidget(remove);
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(fMembersLabel);
  right->addWidget(fMembers);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(left);
  layout->addLayout(middle);
  layout->addLayout(right);
  connect(include, &QPushButton::clicked, this, &TMemberPicker::Include);
  connect(remove, &QPushButton::clicked, this, &TMemberPicker::Remove);
  connect(fAvailable, &QListWidget::itemDoubleClicked, this, &TMemberPicker::Include);
  connect(fMembers, &QListWidget::itemDoubleClicked, this, &TMemberPicker::Remove);
  fMembers->Dropped = [this](int from, int to) { Exchange(from, to); };
  fMembers->installEventFilter(this);
}

bool TMemberPicker::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fMembers && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
    // A blank clears the selection, so that the next inclusion appends.
    fMembers->setCurrentRow(-1);
    fMembers->clearSelection();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TMemberPicker::FillAvailable() {
  const int row = fAvailable->currentRow();
  TMemberList offered = fCandidates();
  if (fRemaining != nullptr && fRemaining->isChecked()) offered = NonMembers(offered, fShown);
  fAvailable->clear();
  for (const TXRayElement* e : offered) AddElementItem(fAvailable, e);
  fAvailableLabel->setText(Counted(fAvailableCaption, offered.size()));
  fAvailable->setCurrentRow(std::min(row, fAvailable->count() - 1));
}

void TMemberPicker::Show(const TMemberList& members) {
  const QListWidgetItem* selected = fMembers->currentItem();
  const int row = selected != nullptr && selected->isSelected() ? fMembers->currentRow() : -1;
  fShown = members;
  fMembers->clear();
  for (const TXRayElement* e : members) AddElementItem(fMembers, e);
  fMembersLabel->setText(Counted(fMembersCaption, members.size()));
  fMembers->setCurrentRow(row < fMembers->count() ? row : -1);
  if (fMembers->currentRow() < 0) fMembers->clearSelection();
  FillAvailable();
}

void TMemberPicker::Include() {
  TXRayElement* element = ListElement(fAvailable->currentItem());
  if (element == nullptr) return;
  const QListWidgetItem* selected = fMembers->currentItem();
  const size_t before = selected != nullptr && selected->isSelected() ? static_cast<size_t>(fMembers->currentRow())
                                                                         : fShown.size();
  // The selected member keeps its place in the list, one further down.
  fApply([&](TMemberList& members) { IncludeMember(members, element, before); });
  if (before < fShown.size()) fMembers->setCurrentRow(static_cast<int>(before) + 1);
}

void TMemberPicker::Remove() {
  const int row = fMembers->currentRow();
  if (row < 0) return;
  fApply([&](TMemberList& members) { RemoveMember(members, static_cast<size_t>(row)); });
}

void TMemberPicker::Exchange(int from, int to) {
  fApply([&](TMemberList& members) { ExchangeMembers(members, static_cast<size_t>(from), static_cast<size_t>(to)); });
}

void TMemberPicker::Shift(int step) {
  const int row = fMembers->currentRow();
  if (row < 0 || row + step < 0 || row + step >= fMembers->count()) return;
  fApply([&](TMemberList& members) {
    ExchangeMembers(members, static_cast<size_t>(row), static_cast<size_t>(row + step));
  });
  fMembers->setCurrentRow(row + step);
}

TArrangeForm::TArrangeForm(const TMemberList& elements, QWidget* parent) : QDialog(parent), fOrder(elements) {
  setWindowTitle(tr("Rearrange"));
  fNames = new TDropList;
  MakeDraggable(fNames);
  fNames->Dropped = [this](int from, int to) { Move(from, to); };
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Rearrange the items by dragging them up or down:")));
  layout->addWidget(fNames);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Fill();
}

void TArrangeForm::Fill() {
  fNames->clear();
  for (const TXRayElement* e : fOrder) AddElementItem(fNames, e);
}

void TArrangeForm::Move(int from, int to) {
  if (MoveMember(fOrder, static_cast<size_t>(from), static_cast<size_t>(to))) Fill();
  fNames->setCurrentRow(to);
}

QPixmap TransitionPicture(int transition) {
  QPixmap picture(16, 12);
  picture.fill(Qt::gray);
  QPainter painter(&picture);
  if (transition != 1) {
    painter.fillRect(0, 0, 8, 12, transition == 0 ? Qt::white : Qt::black);
    painter.fillRect(8, 0, 8, 12, transition == 0 ? Qt::black : Qt::white);
  }
  return picture;
}

// ---- digitized points ------------------------------------------------------------------

TDigPointsForm::TDigPointsForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekDigPoint, tr("Digitized Points"), parent) {
  AddTab(tr("De&finition"));
  AddKindRow(kDigPointKindCount, [](int k) { return DigPointKind(k).Token; });
  AddParameterRows(2, [](TXRayElement& e, int i, double value) {
    auto& point = static_cast<TDigPoint&>(e);
    (i == 0 ? point.Parameter1 : point.Parameter2) = value;
    point.Invalidate();
  });
  AddOperandRows(TDigPoint::kOperandCount);
  fRecalculate = new QPushButton(tr("Recalculate position."));
  Page()->addRow(fRecalculate);
  // The point is placed again from its operands the next time it is read.
  connect(fRecalculate, &QPushButton::clicked, this,
          [this] { ApplyField([](TXRayElement& e) { static_cast<TDigPoint&>(e).Invalidate(); }); });
  AddEdgeLockRows();
  AddTab(tr("Description"));
  fDescription = new QPlainTextEdit;
  Page()->addRow(tr("De&scription:"), fDescription);
  fDescription->installEventFilter(this);
  Choose({});
}

bool TDigPointsForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fDescription && event->type() == QEvent::FocusOut) {
    // The description is one line: the memo's lines are joined as they stand.
    const std::string text = fDescription->toPlainText().remove(QLatin1Char('\n')).toStdString();
    if (auto* chosen = static_cast<TDigPoint*>(CurrentElement()); chosen != nullptr && chosen->Description != text)
      ApplyField([&](TXRayElement& e) { static_cast<TDigPoint&>(e).Description = text; });
  }
  return TRollUpForm::eventFilter(watched, event);
}

void TDigPointsForm::AddEdgeLockRows() {
  AddTab(tr("&Edge Lock"));
  using P = TDigPoint;
  fRange = AddSpin(
      tr("Search &Range:"), 0, 200, 1,
      [](const TXRayElement& e) { return static_cast<int>(std::lround(static_cast<const P&>(e).SearchRange / 10)); },
      [](TXRayElement& e, int mm) { static_cast<P&>(e).SearchRange = mm * 10.0; });
  fRange->setSuffix(tr(" mm"));
  fAngle = AddSpin(
      tr("Search &Angle:"), 0, 360, 5,
      [](const TXRayElement& e) {
        return static_cast<int>(std::lround(static_cast<const P&>(e).SearchAngle * 180 / M_PI));
      },
      [](TXRayElement& e, int degrees) { static_cast<P&>(e).SearchAngle = degrees * M_PI / 180; });
  fAngle->setSuffix(QStringLiteral("\u00B0"));
  Page()->addRow(new QLabel(tr("Direction:")));
  auto direction = [this](QComboBox*& list, const QString& caption, const QString& hint, bool second) {
    list = new QComboBox;
    Page()->addRow(caption, list);
    Page()->addRow(new QLabel(hint));
    connect(list, &QComboBox::activated, this, [this, list, second] {
      TXRayElement* point = ChosenOperand(list);
      ApplyField([&](TXRayElement& e) {
        (second ? static_cast<TDigPoint&>(e).DirectionPoint2 : static_cast<TDigPoint&>(e).DirectionPoint1) = point;
      });
    });
  };
  direction(fDirection1, tr("Point &1:"), tr("(set Point 1 to <none> for Absolute):"), false);
  direction(fDirection2, tr("Point &2:"), tr("(set Point 2 to <Digitizer> for Dynamic):"), true);
  fCursorOnly = new QCheckBox(tr("Orientation Cursor only"));
  Page()->addRow(fCursorOnly);
  connect(fCursorOnly, &QCheckBox::toggled, this, [this](bool on) {
    if (!fUpdating) ApplyField([on](TXRayElement& e) { static_cast<TDigPoint&>(e).CursorOnly = on; });
  });
  fTransition = new QComboBox;
  const char* const transitions[] = {QT_TR_NOOP("White to Black"), QT_TR_NOOP("Any"), QT_TR_NOOP("Black to White")};
  for (int t = 0; t < 3; ++t) fTransition->addItem(TransitionPicture(t), tr(transitions[t]));
  Page()->addRow(tr("&Transition:"), fTransition);
  connect(fTransition, &QComboBox::activated, this, [this](int transition) {
    ApplyField([transition](TXRayElement& e) { static_cast<TDigPoint&>(e).Transition = transition; });
  });
  fBias = AddSpin(
      tr("Lock &Bias:"), -100, 100, 10, [](const TXRayElement& e) { return static_cast<const P&>(e).LockBias; },
      [](TXRayElement& e, int bias) { static_cast<P&>(e).LockBias = bias; });
  fHint = new QComboBox;
  Page()->addRow(tr("&Hint Drawing:"), fHint);
  connect(fHint, &QComboBox::activated, this, [this] {
    TXRayElement* drawing = ChosenOperand(fHint);
    ApplyField([&](TXRayElement& e) { static_cast<TDigPoint&>(e).HintDrawing = drawing; });
  });
}

void TDigPointsForm::DrawPreview(TCanvas& canvas, double unitsPerPixel) {
  DrawPointPreview(canvas, fType, static_cast<TDigPoint*>(CurrentElement()), unitsPerPixel);
}

void TDigPointsForm::MainCBChange(TXRayElement& chosen) {
  auto& point = static_cast<TDigPoint&>(chosen);
  const TDigPointKindInfo& kind = DigPointKind(point.Kind());
  KindList()->setCurrentIndex(point.Kind());
  ShowParameter(0, kind.Caption1, point.Parameter1);
  ShowParameter(1, kind.Caption2, point.Parameter2);
  for (int slot = 0; slot < TDigPoint::kOperandCount; ++slot)
    ShowOperand(slot, point.SlotClass(slot), point.SlotClass(slot) != ekNone, point.Operand(slot), true);
  fDescription->setPlainText(Utf8(point.Description));
  FillOperands(fDirection1, ekAnyPoint, point.DirectionPoint1, true);
  FillOperands(fDirection2, ekAnyPoint, point.DirectionPoint2, true);
  fDirection2->setItemText(0, tr("<Digitizer>"));
  fCursorOnly->setChecked(point.CursorOnly);
  fTransition->setCurrentIndex(point.Transition);
  fTransition->setEnabled(!point.CursorOnly);
  FillOperands(fHint, ekGraphic, point.HintDrawing, true);
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
