#include "app/vto_relationships_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/list_elements.h"
#include "model/type_edits.h"
#include "model/xray_type.h"
#include "simulation/vto.h"

namespace lumacet {

namespace {

TXRHardSoft& Relationship(TXRayElement& e) { return static_cast<TXRHardSoft&>(e); }

double& PercentOf(TXRHardSoft& r, int i) {
  switch (i) {
    case 0: return r.PercentXPlus;
    case 1: return r.PercentXMinus;
    case 2: return r.PercentYPlus;
    case 3: return r.PercentYMinus;
    default: return r.PercentRotation;
  }
}

TXRayElement* ItemPoint(const QListWidgetItem* item) {
  return item == nullptr ? nullptr : reinterpret_cast<TXRayElement*>(item->data(Qt::UserRole).value<quintptr>());
}

QListWidgetItem* PointItem(const TXRayElement* point) {
  auto* item = new QListWidgetItem(QString::fromStdString(point->Name));
  item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(point)));
  return item;
}

// Percentages show as the type file holds them: at most one decimal.
QString PercentText(double value) {
  QString text = QLocale().toString(value, 'f', 1);
  const QString zero = QLocale().decimalPoint() + QStringLiteral("0");
  if (text.endsWith(zero)) text.chop(zero.size());
  return text;
}

}  // namespace

THardSoftForm::THardSoftForm(TTypeEdits& edits, TWorkspacePrompts& prompts, QWidget* parent)
    : TRollUpForm(edits, prompts, ekHardSoft, tr("VTO Relationships"), parent) {
  auto* pages = new QTabWidget;

  auto* points = new QWidget;
  fMaster = new QComboBox;
  fMaster->setObjectName(QStringLiteral("master"));
  fAll = new QListWidget;
  fAffected = new QListWidget;
  fInclude = new QPushButton(tr("&Include"));
  fRemove = new QPushButton(tr("Remo&ve"));
  auto* masterLabel = new QLabel(tr("M&aster Point:"));
  masterLabel->setBuddy(fMaster);
  auto* allLabel = new QLabel(tr("A&ll Points:"));
  allLabel->setBuddy(fAll);
  auto* affectedLabel = new QLabel(tr("Points A&ffected:"));
  affectedLabel->setBuddy(fAffected);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(fInclude);
  buttons->addWidget(fRemove);
  buttons->addStretch();
  auto* grid = new QGridLayout(points);
  grid->addWidget(masterLabel, 0, 0);
  grid->addWidget(fMaster, 0, 1, 1, 3);
  grid->addWidget(allLabel, 1, 0, 1, 2);
  grid->addWidget(affectedLabel, 1, 3);
  grid->addWidget(fAll, 2, 0, 1, 2);
  grid->addLayout(buttons, 2, 2);
  grid->addWidget(fAffected, 2, 3);
  pages->addTab(points, tr("&Points"));

  auto* movement = new QWidget;
  auto* cross = new QGridLayout;
  const char* const names[] = {"x_plus", "x_minus", "y_plus", "y_minus", "rotation"};
  for (int i = 0; i < 5; ++i) {
    fPercents[static_cast<size_t>(i)] = new QLineEdit;
    fPercents[static_cast<size_t>(i)]->setObjectName(QString::fromLatin1(names[i]));
    fPercents[static_cast<size_t>(i)]->setMaximumWidth(80);
  }
  // Placed as the directions lie on the display: -Y above, -X left, +X right, +Y below.
  cross->addWidget(new QLabel(tr("-Y")), 0, 1, Qt::AlignCenter);
  cross->addWidget(fPercents[3], 1, 1);
  cross->addWidget(new QLabel(tr("-X")), 2, 0, Qt::AlignRight);
  cross->addWidget(fPercents[1], 2, 1, Qt::AlignLeft);
  cross->addWidget(fPercents[0], 2, 2);
  cross->addWidget(new QLabel(tr("+X")), 2, 3);
  cross->addWidget(fPercents[2], 3, 1);
  cross->addWidget(new QLabel(tr("+Y")), 4, 1, Qt::AlignCenter);
  auto* rotation = new QFormLayout;
  rotation->addRow(tr("% R&otation:"), fPercents[4]);
  fAsTranslation = new QCheckBox(tr("Treat Rotation as &Translation"));
  auto* movementLayout = new QVBoxLayout(movement);
  movementLayout->addWidget(new QLabel(tr("Percent Translation:")));
  movementLayout->addLayout(cross);
  movementLayout->addLayout(rotation);
  movementLayout->addWidget(fAsTranslation);
  movementLayout->addStretch();
  pages->addTab(movement, tr("&Movement"));
  Page()->addRow(pages);

  for (int i = 0; i < 5; ++i)
    ConnectNumber(fPercents[static_cast<size_t>(i)], 1,
                  [i](TXRayElement& e, double value) { PercentOf(Relationship(e), i) = value; });
  connect(fAsTranslation, &QCheckBox::toggled, this, [this](bool on) {
    if (!fUpdating) ApplyField([on](TXRayElement& e) { Relationship(e).RotationAsTranslation = on; });
  });
  connect(fMaster, &QComboBox::activated, this, &THardSoftForm::ChooseMaster);
  connect(fInclude, &QPushButton::clicked, this, &THardSoftForm::Include);
  connect(fRemove, &QPushButton::clicked, this, &THardSoftForm::Remove);
  connect(fAll, &QListWidget::itemDoubleClicked, this, &THardSoftForm::Include);
  connect(fAffected, &QListWidget::itemDoubleClicked, this, &THardSoftForm::Remove);
  Choose({});
}

void THardSoftForm::MainCBChange(TXRayElement& chosen) {
  const TXRHardSoft& r = Relationship(chosen);
  FillOperands(fMaster, ekDigPoint, r.MasterPoint, false);
  const QString highlighted = fAll->currentItem() != nullptr ? fAll->currentItem()->text() : QString();
  fAll->clear();
  for (int i = 0; i < fMaster->count(); ++i) {
    fAll->addItem(PointItem(reinterpret_cast<TXRayElement*>(fMaster->itemData(i).value<quintptr>())));
    if (fAll->item(i)->text() == highlighted) fAll->setCurrentRow(i);
  }
  const int affectedRow = fAffected->currentRow();
  fAffected->clear();
  for (const TXRayElement* point : r.Points)
    if (point != nullptr) fAffected->addItem(PointItem(point));
  if (affectedRow >= 0 && affectedRow < fAffected->count()) fAffected->setCurrentRow(affectedRow);
  for (int i = 0; i < 5; ++i) {
    fPercents[static_cast<size_t>(i)]->setText(PercentText(PercentOf(Relationship(chosen), i)));
    fPercents[static_cast<size_t>(i)]->setStyleSheet({});
  }
  fAsTranslation->setChecked(r.RotationAsTranslation);
}

void THardSoftForm::ChooseMaster() {
  TXRayElement* point = ChosenOperand(fMaster);
  Apply([point](TTypeEdits& edits, TXRayElement& chosen) {
    if (TResult refused = CheckMasterPoint(Relationship(chosen), point); !refused) return refused;
    return edits.Change(chosen, [point](TXRayElement& e) { Relationship(e).MasterPoint = point; });
  });
}

void THardSoftForm::Include() {
  TXRayElement* point = ItemPoint(fAll->currentItem());
  if (point == nullptr || CurrentElement() == nullptr) return;
  const int before = fAffected->currentRow();
  const int at = before < 0 ? fAffected->count() : before;
  const bool included = Apply([point, at](TTypeEdits& edits, TXRayElement& chosen) {
    if (TResult refused = CheckAffectedPoint(Relationship(chosen), point); !refused) return refused;
    return edits.Change(chosen, [point, at](TXRayElement& e) {
      auto& list = Relationship(e).Points;
      list.insert(list.begin() + std::min<std::ptrdiff_t>(at, static_cast<std::ptrdiff_t>(list.size())), point);
    });
  });
  if (included) fAffected->setCurrentRow(at);
}

void THardSoftForm::Remove() {
  const int row = fAffected->currentRow();
  if (row < 0 || CurrentElement() == nullptr) return;
  ApplyField([row](TXRayElement& e) {
    auto& list = Relationship(e).Points;
    if (row < static_cast<int>(list.size())) list.erase(list.begin() + row);
  });
}

}  // namespace lumacet
