#include "app/movement_window.h"

#include <QAction>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

#include "app/qt_prompts.h"
#include "model/radiograph.h"
#include "simulation/movement_log.h"
#include "support/atomic_file.h"
#include "support/text_codec.h"

namespace lumacet {

namespace {

QListWidget* List(const char* name) {
  auto* list = new QListWidget;
  list->setObjectName(QString::fromLatin1(name));
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return list;
}

QPushButton* Button(const QString& caption, const char* name) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QToolButton* ToolButton(QAction* action) {
  auto* button = new QToolButton;
  button->setDefaultAction(action);
  return button;
}

QLabel* Panel(const char* name) {
  auto* panel = new QLabel;
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameShape(QFrame::StyledPanel);
  return panel;
}

// A file's lines end CR LF, as every file the program writes.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

TMovementForm::TMovementForm(TCommands commands, TMovementOptions& options, std::function<TRadiograph*()> current,
                             QWidget* parent)
    : QDialog(parent, Qt::Tool), fCommands(commands), fOptions(options), fCurrent(std::move(current)) {
  setWindowTitle(tr("Movements"));
  setObjectName(QStringLiteral("movements"));
  resize(520, 420);
  fUndo = List("undo");
  fRedo = List("redo");
  fReverse = Button(tr("Re&verse Selected"), "reverse");
  fRepeat = Button(tr("R&epeat Selected"), "repeat");
  fDelete = Button(tr("&Delete"), "delete");
  fClearUndo = Button(tr("&Clear Undo List"), "clear_undo");
  fClearRedo = Button(tr("C&lear Redo List"), "clear_redo");
  fSelectArea = Button(tr("Select &Area"), "select_area");
  fSave = Button(tr("&Save..."), "save");
  QPushButton* close = Button(tr("&Close"), "close");

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  // Undo and Redo by their icons: their captions name whole movements, as wide as the lists,
  // and a button that wide would widen the window and with it the lines once more.
  for (auto [action, icon, fallback] : {std::tuple{commands.Undo, "edit-undo", QStyle::SP_ArrowBack},
                                        std::tuple{commands.Redo, "edit-redo", QStyle::SP_ArrowForward}}) {
    action->setIcon(QIcon::fromTheme(QString::fromLatin1(icon), style()->standardIcon(fallback)));
    QToolButton* button = ToolButton(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    top->addWidget(button);
  }
  top->addStretch();
  for (QAction* action : {commands.Connected, commands.Compile, commands.OriginalArea, commands.CurrentArea})
    top->addWidget(ToolButton(action));
  layout->addLayout(top);
  layout->addWidget(new QLabel(tr("Undo:")));
  layout->addWidget(fUndo, 1);
  layout->addWidget(new QLabel(tr("Redo:")));
  layout->addWidget(fRedo, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {fReverse, fRepeat, fDelete, fSelectArea}) buttons->addWidget(b);
  layout->addLayout(buttons);
  auto* more = new QHBoxLayout;
  for (QPushButton* b : {fClearUndo, fClearRedo, fSave, close}) more->addWidget(b);
  layout->addLayout(more);
  auto* panels = new QHBoxLayout;
  fConnectedPanel = Panel("connected_panel");
  fCompilePanel = Panel("compile_panel");
  fAreaPanel = Panel("area_panel");
  for (QLabel* panel : {fConnectedPanel, fCompilePanel, fAreaPanel}) {
    panel->installEventFilter(this);
    panels->addWidget(panel);
  }
  layout->addLayout(panels);

  // Only one list has a selection, so that every command knows which list it acts on.
  connect(fUndo, &QListWidget::itemSelectionChanged, this, [this] {
    if (!fUndo->selectedItems().isEmpty()) fRedo->clearSelection();
    UpdateActionsMenus();
  });
  connect(fRedo, &QListWidget::itemSelectionChanged, this, [this] {
    if (!fRedo->selectedItems().isEmpty()) fUndo->clearSelection();
    UpdateActionsMenus();
  });
  connect(fUndo, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { EntryActivated(true, fUndo->row(item)); });
  connect(fRedo, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { EntryActivated(false, fRedo->row(item)); });
  connect(fReverse, &QPushButton::clicked, this, &TMovementForm::Reverse);
  connect(fRepeat, &QPushButton::clicked, this, &TMovementForm::Repeat);
  connect(fDelete, &QPushButton::clicked, this, &TMovementForm::Delete);
  connect(fSelectArea, &QPushButton::clicked, this, &TMovementForm::SelectArea);
  connect(fSave, &QPushButton::clicked, this, &TMovementForm::Save);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  connect(fClearUndo, &QPushButton::clicked, this, [this] {
    if (fShown == nullptr) return;
    ClearEntries(*fShown, TMovementList::Undo);
    emit Changed();
  });
  connect(fClearRedo, &QPushButton::clicked, this, [this] {
    if (fShown == nullptr) return;
    ClearEntries(*fShown, TMovementList::Redo);
    emit Changed();
  });
  GetMovements(nullptr);
}

int TMovementForm::LineWidth() const {
  // Hidden, the lists have no width of their own yet: the captions take a menu's width.
  if (!isVisible()) return 80;
  const int divisor = std::max(1, fUndo->fontMetrics().averageCharWidth() - 2);
  return std::max(5, fUndo->viewport()->width() / divisor);
}

void TMovementForm::GetMovements(TRadiograph* radiograph) {
  fShown = radiograph;
  const int width = LineWidth();
  for (auto [box, list] : {std::pair{fUndo, TMovementList::Undo}, std::pair{fRedo, TMovementList::Redo}}) {
    const QSignalBlocker block(box);
    std::vector<int> selected;
    for (QListWidgetItem* item : box->selectedItems()) selected.push_back(box->row(item));
    box->clear();
    if (radiograph == nullptr) continue;
    for (const std::string& line : MovementLines(*radiograph, list, width, fOptions.OriginalArea))
      box->addItem(Utf8(line));
    for (int row : selected)
      if (row < box->count()) box->item(row)->setSelected(true);
  }
  ShowOptions();
  UpdateActionsMenus();
}

void TMovementForm::ShowOptions() {
  fConnectedPanel->setText(fOptions.Connected ? tr(" Connected") : tr(" Disconnected"));
  fCompilePanel->setText(fOptions.Compile ? tr(" Compile On") : tr(" Compile Off"));
  fAreaPanel->setText(fOptions.OriginalArea ? tr(" Move Original") : tr(" Move Current"));
}

void TMovementForm::UpdateActionsMenus() {
  const bool canMove = fShown != nullptr && fShown == fCurrent();
  const int chosen = static_cast<int>(fUndo->selectedItems().size() + fRedo->selectedItems().size());
  fReverse->setEnabled(canMove && chosen > 0);
  fRepeat->setEnabled(canMove && chosen > 0);
  fSelectArea->setEnabled(canMove && chosen == 1);
  fDelete->setEnabled(chosen > 0);
  fClearUndo->setEnabled(fUndo->count() > 0);
  fClearRedo->setEnabled(fRedo->count() > 0);
  fSave->setEnabled(fShown != nullptr);
}

bool TMovementForm::ChosenUndo() const { return !fUndo->selectedItems().isEmpty(); }

std::vector<std::size_t> TMovementForm::ChosenRows() const {
  const QListWidget* box = ChosenUndo() ? fUndo : fRedo;
  std::vector<std::size_t> rows;
  for (QListWidgetItem* item : box->selectedItems()) rows.push_back(static_cast<std::size_t>(box->row(item)));
  return rows;
}

void TMovementForm::AfterMovement(const TResult& done) {
  if (!done) QMessageBox::warning(this, windowTitle(), DisplayText(done.Text()));
  emit Changed();
}

void TMovementForm::Reverse() {
  if (fShown == nullptr) return;
  const auto list = ChosenUndo() ? TMovementList::Undo : TMovementList::Redo;
  AfterMovement(ReverseEntries(*fShown, list, ChosenRows(), fOptions));
}

void TMovementForm::Repeat() {
  if (fShown == nullptr) return;
  const auto list = ChosenUndo() ? TMovementList::Undo : TMovementList::Redo;
  AfterMovement(RepeatEntries(*fShown, list, ChosenRows(), fOptions));
}

void TMovementForm::Delete() {
  if (fShown == nullptr) return;
  const auto list = ChosenUndo() ? TMovementList::Undo : TMovementList::Redo;
  const std::vector<std::size_t> rows = ChosenRows();
  fUndo->clearSelection();
  fRedo->clearSelection();
  DeleteEntries(*fShown, list, rows);
  emit Changed();
}

void TMovementForm::SelectArea() {
  const std::vector<std::size_t> rows = ChosenRows();
  if (fShown == nullptr || rows.size() != 1) return;
  SelectEntryElements(*fShown, ChosenUndo() ? TMovementList::Undo : TMovementList::Redo, rows.front());
  emit Changed();
}

void TMovementForm::EntryActivated(bool undo, int row) {
  if (fShown == nullptr || fShown != fCurrent() || row < 0) return;
  fUndo->clearSelection();
  fRedo->clearSelection();
  const auto index = static_cast<std::size_t>(row);
  AfterMovement(undo ? UndoFrom(*fShown, index, fOptions) : RedoFrom(*fShown, index, fOptions));
}

void TMovementForm::Save() {
  if (fShown == nullptr) return;
  QString path = QFileDialog::getSaveFileName(this, tr("Save Movement Log"), QString(),
                                              tr("Text Files (*.txt);;All Files (*)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
  const std::optional<std::string> bytes = EncodeCp1252(WithCrLf(MovementLogText(*fShown, fOptions.OriginalArea)));
  if (!bytes) {
    QMessageBox::warning(this, windowTitle(), tr("The movement log holds characters a text file cannot keep."));
    return;
  }
  const TWriteResult written = WriteFileAtomically(path.toStdString(), *bytes);
  if (!written.Ok)
    QMessageBox::warning(this, windowTitle(), tr("Could not write %1: %2").arg(path, Utf8(written.Error)));
}

void TMovementForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  GetMovements(fShown);
}

bool TMovementForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == fConnectedPanel) fCommands.Connected->trigger();
    if (watched == fCompilePanel) fCommands.Compile->trigger();
    if (watched == fAreaPanel) (fOptions.OriginalArea ? fCommands.CurrentArea : fCommands.OriginalArea)->trigger();
    return watched == fConnectedPanel || watched == fCompilePanel || watched == fAreaPanel;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lumacet
