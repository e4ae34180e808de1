#include "app/pcas_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

#include "model/list_elements.h"
#include "model/xray_type.h"
#include "persistence/data_file.h"
#include "population/pca_import.h"
#include "population/pca_statistics.h"
#include "shell/workspace.h"

namespace lumacet {

namespace {

constexpr int kElementRole = Qt::UserRole;

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

TPCAsForm::TPCAsForm(TXRayType& type, TWorkspacePrompts& prompts, QWidget* parent)
    : QDialog(parent), fType(type), fPrompts(prompts) {
  setWindowTitle(tr("PCAs"));
  auto* layout = new QVBoxLayout(this);
  fElements = new QComboBox;
  layout->addWidget(fElements);
  auto* commands = new QHBoxLayout;
  auto* add = new QPushButton(tr("&New..."));
  fRename = new QPushButton(tr("&Rename..."));
  fDelete = new QPushButton(tr("&Delete"));
  commands->addWidget(add);
  commands->addWidget(fRename);
  commands->addWidget(fDelete);
  layout->addLayout(commands);

  auto* pointsLabel = new QLabel(tr("Point&s:"));
  fPoints = new QListWidget;
  pointsLabel->setBuddy(fPoints);
  fPoints->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(pointsLabel);
  layout->addWidget(fPoints);
  for (int code : {ekDigPoint, ekDerPoint}) {
    for (const auto& element : fType.ElementList(code)) {
      auto* item = new QListWidgetItem(QString::fromStdString(element->Name), fPoints);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
      item->setData(kElementRole, QVariant::fromValue(static_cast<void*>(element.get())));
    }
  }

  auto* bottom = new QHBoxLayout;
  fImport = new QPushButton(tr("Import &Data..."));
  bottom->addWidget(fImport);
  fNotValid = new QLabel(tr("Data Not Valid!"));
  fNotValid->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  bottom->addWidget(fNotValid);
  bottom->addStretch();
  auto* close = new QPushButton(tr("Close"));
  bottom->addWidget(close);
  layout->addLayout(bottom);

  connect(fElements, &QComboBox::currentIndexChanged, this, &TPCAsForm::ShowElement);
  connect(add, &QPushButton::clicked, this, &TPCAsForm::AskNew);
  connect(fRename, &QPushButton::clicked, this, &TPCAsForm::AskRename);
  connect(fDelete, &QPushButton::clicked, this, [this] {
    if (CurrentElement() != nullptr && fPrompts.ConfirmOkCancel(FillIn("Delete: '%s' ?", CurrentElement()->Name)))
      DeleteElement();
  });
  connect(fImport, &QPushButton::clicked, this, &TPCAsForm::AskImport);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(fPoints, &QListWidget::itemChanged, this, [this] {
    if (!fUpdating) PointsChanged();
  });
  connect(fPoints, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (CurrentElement() == nullptr) return;
    QMenu menu;
    connect(menu.addAction(tr("Select &All")), &QAction::triggered, this, &TPCAsForm::SelectAll);
    connect(menu.addAction(tr("&Deselect All")), &QAction::triggered, this, &TPCAsForm::DeselectAll);
    connect(menu.addAction(tr("&Invert Selection")), &QAction::triggered, this, &TPCAsForm::InvertSelection);
    menu.exec(fPoints->viewport()->mapToGlobal(at));
  });
  FillElements({});
}

TXRPCA* TPCAsForm::CurrentElement() const {
  return dynamic_cast<TXRPCA*>(fType.FindElement(fElements->currentText().toStdString(), ekPCA));
}

void TPCAsForm::FillElements(const std::string& chosen) {
  fUpdating = true;
  fElements->clear();
  for (const std::string& name : fType.ElementNames({ekPCA})) fElements->addItem(QString::fromStdString(name));
  if (!chosen.empty()) fElements->setCurrentText(QString::fromStdString(chosen));
  fUpdating = false;
  ShowElement();
}

void TPCAsForm::ShowElement() {
  if (fUpdating) return;
  TXRPCA* pca = CurrentElement();
  fUpdating = true;
  for (int row = 0; row < fPoints->count(); ++row) {
    QListWidgetItem* item = fPoints->item(row);
    const auto* element = static_cast<TXRayElement*>(item->data(kElementRole).value<void*>());
    const bool member =
        pca != nullptr && std::find(pca->Points.begin(), pca->Points.end(), element) != pca->Points.end();
    item->setCheckState(member ? Qt::Checked : Qt::Unchecked);
  }
  fUpdating = false;
  for (QWidget* field : {static_cast<QWidget*>(fRename), static_cast<QWidget*>(fDelete), static_cast<QWidget*>(fImport),
                         static_cast<QWidget*>(fPoints)})
    field->setEnabled(pca != nullptr);
  fNotValid->setVisible(pca != nullptr && !UsablePcaData(*pca));
}

void TPCAsForm::PointsChanged() {
  TXRPCA* pca = CurrentElement();
  if (pca == nullptr) return;
  pca->Points.clear();
  for (int row = 0; row < fPoints->count(); ++row) {
    QListWidgetItem* item = fPoints->item(row);
    if (item->checkState() == Qt::Checked)
      pca->Points.push_back(static_cast<TXRayElement*>(item->data(kElementRole).value<void*>()));
  }
  pca->HasData = false;
  fType.RecordChange(true, FillIn(kChangedPcaChange, pca->Name));
  fNotValid->setVisible(true);
  emit Changed();
}

void TPCAsForm::SetAllChecks(const std::function<bool(bool)>& state) {
  if (CurrentElement() == nullptr) return;
  fUpdating = true;
  for (int row = 0; row < fPoints->count(); ++row) {
    QListWidgetItem* item = fPoints->item(row);
    item->setCheckState(state(item->checkState() == Qt::Checked) ? Qt::Checked : Qt::Unchecked);
  }
  fUpdating = false;
  PointsChanged();
}

void TPCAsForm::SelectAll() {
  SetAllChecks([](bool) { return true; });
}

void TPCAsForm::DeselectAll() {
  SetAllChecks([](bool) { return false; });
}

void TPCAsForm::InvertSelection() {
  SetAllChecks([](bool checked) { return !checked; });
}

bool TPCAsForm::NewElement(const std::string& name, bool copyChosen) {
  TXRPCA* chosen = CurrentElement();
  std::string message;
  TXRayElement* added = fType.AddElement(name, ekPCA, message);
  if (added == nullptr) {
    fPrompts.ShowMessage(message);
    return false;
  }
  if (copyChosen && chosen != nullptr) {
    // The copy takes the definition, not the name.
    added->Assign(*chosen);
    added->Name = name;
  }
  FillElements(name);
  emit Changed();
  return true;
}

bool TPCAsForm::RenameElement(const std::string& name) {
  TXRPCA* pca = CurrentElement();
  if (pca == nullptr) return false;
  std::string message;
  // A copy: the type renames and records through the name it is given.
  const std::string oldName = pca->Name;
  if (!fType.RenameElement(oldName, name, ekPCA, message)) {
    fPrompts.ShowMessage(message);
    return false;
  }
  FillElements(name);
  emit Changed();
  return true;
}

bool TPCAsForm::DeleteElement() {
  TXRPCA* pca = CurrentElement();
  if (pca == nullptr) return false;
  std::string message;
  // A copy: the element, and its name with it, is gone before the change is recorded.
  const std::string name = pca->Name;
  if (!fType.DeleteElement(name, ekPCA, message)) {
    if (!message.empty()) fPrompts.ShowMessage(message);
    return false;
  }
  FillElements({});
  emit Changed();
  return true;
}

void TPCAsForm::ImportData(const std::string& path) {
  TXRPCA* pca = CurrentElement();
  if (pca == nullptr) return;
  const TPcaImportResult result = ImportPcaFile(fType, *pca, path);
  ShowElement();
  emit Changed();
  if (result.Ok) {
    fPrompts.Inform(result.Message);
  } else {
    fPrompts.ShowMessage(result.Message);
  }
}

void TPCAsForm::AskNew() {
  bool copy = false;
  const std::optional<std::string> name = AskElementName(this, {}, CurrentElement() != nullptr ? &copy : nullptr);
  if (name) NewElement(*name, copy);
}

void TPCAsForm::AskRename() {
  if (TXRPCA* pca = CurrentElement())
    if (const std::optional<std::string> name = AskElementName(this, pca->Name, nullptr)) RenameElement(*name);
}

void TPCAsForm::AskImport() {
  if (CurrentElement() == nullptr) return;
  const QString path = QFileDialog::getOpenFileName(this, tr("Import Data"), QString(),
                                                    tr("Text files (*.txt);;Data files (*.dat);;All files (*)"));
  if (!path.isEmpty()) ImportData(path.toStdString());
}

}  // namespace lumacet
