#include "app/type_browser_form.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "app/qt_prompts.h"
#include "model/type_browser.h"
#include "model/xray_type.h"

namespace lumacet {

namespace {

constexpr int kElementRole = Qt::UserRole;

const TXRayElement* ElementOf(const QTreeWidgetItem* item) {
  return item == nullptr ? nullptr
                         : reinterpret_cast<const TXRayElement*>(item->data(0, kElementRole).value<quintptr>());
}

void MarkAsLink(QTreeWidgetItem& item, int column) {
  item.setForeground(column, QColor(Qt::blue));
  QFont font = item.font(column);
  font.setUnderline(true);
  item.setFont(column, font);
}

}  // namespace

TTypeBrowserForm::TTypeBrowserForm(const TXRayType& type, QWidget* parent)
    : QDialog(parent), fType(type), fHistory(std::make_unique<TBrowserHistory>()) {
  setWindowTitle(tr("Type Browser"));
  setModal(true);
  fTree = new QTreeWidget;
  fTree->setHeaderHidden(true);
  fHeader = new QLabel;
  QFont bold = fHeader->font();
  bold.setBold(true);
  fHeader->setFont(bold);
  fProperties = new QTreeWidget;
  fProperties->setColumnCount(2);
  fProperties->setHeaderHidden(true);
  fProperties->setRootIsDecorated(false);
  fProperties->setMouseTracking(true);
  fProperties->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  fReferrers = new QListWidget;
  auto* referrersLabel = new QLabel(tr("&Referenced by"));
  referrersLabel->setBuddy(fReferrers);
  fBack = new QPushButton(tr("Back"));
  fFind = new QLineEdit;
  fFind->setPlaceholderText(tr("Name"));
  auto* findLabel = new QLabel(tr("&Find:"));
  findLabel->setBuddy(fFind);
  fFindNote = new QLabel;

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(fHeader);
  rightLayout->addWidget(fProperties, 3);
  rightLayout->addWidget(referrersLabel);
  rightLayout->addWidget(fReferrers, 1);
  auto* splitter = new QSplitter;
  splitter->addWidget(fTree);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 2);

  auto* findRow = new QHBoxLayout;
  findRow->addWidget(findLabel);
  findRow->addWidget(fFind, 1);
  findRow->addWidget(fFindNote);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->addButton(fBack, QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(findRow);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);
  resize(760, 520);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fBack, &QPushButton::clicked, this, &TTypeBrowserForm::GoBack);
  connect(fFind, &QLineEdit::returnPressed, this, [this] { Find(fFind->text()); });
  connect(fTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
    if (!fQuiet) {
      fHistory->Leaving(ElementOf(before));
      fBack->setEnabled(fHistory->CanGoBack());
    }
    Show(ElementOf(now));
  });
  connect(fProperties, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 1) FollowRow(fProperties->indexOfTopLevelItem(item));
  });
  connect(fProperties, &QTreeWidget::itemEntered, this, [this](QTreeWidgetItem* item, int column) {
    const bool link = column == 1 && ElementOf(item) != nullptr;
    fProperties->viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
  });
  connect(fReferrers, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { FollowReferrer(fReferrers->row(item)); });
  Build();
}

TTypeBrowserForm::~TTypeBrowserForm() = default;

void TTypeBrowserForm::Build() {
  fQuiet = true;
  fTree->clear();
  auto* root = new QTreeWidgetItem(fTree, {Utf8(fType.Name)});
  for (const TBrowserCategory& category : BrowserCategories()) {
    auto* node = new QTreeWidgetItem(root, {DisplayText(TText(category.Caption))});
    const QIcon picture = ThemeIcon(category.Picture);
    node->setIcon(0, picture);
    for (const auto& element : fType.ElementList(category.Code)) {
      auto* item = new QTreeWidgetItem(node, {Utf8(element->Name)});
      item->setIcon(0, picture);
      item->setData(0, kElementRole, QVariant::fromValue(reinterpret_cast<quintptr>(element.get())));
    }
  }
  root->setExpanded(true);
  fTree->setCurrentItem(root);
  fHistory->Clear();
  fBack->setEnabled(false);
  fQuiet = false;
}

void TTypeBrowserForm::Show(const TXRayElement* element) {
  fShown = element;
  fProperties->clear();
  fReferrers->clear();
  fHeader->clear();
  if (element == nullptr) return;
  fHeader->setText(Utf8(element->Name));
  for (const TBrowserRow& row : PropertyRows(*element)) {
    auto* item = new QTreeWidgetItem(
        fProperties,
        {(row.Indent ? QStringLiteral("    ") : QString()) + DisplayText(row.Caption), DisplayText(row.Value)});
    if (row.Value.Empty()) {
      QFont heading = item->font(0);
      heading.setBold(true);
      item->setFont(0, heading);
    }
    if (row.Link != nullptr) {
      item->setData(0, kElementRole, QVariant::fromValue(reinterpret_cast<quintptr>(row.Link)));
      MarkAsLink(*item, 1);
    }
  }
  for (TXRayElement* referrer : fType.Referrers(element)) {
    auto* item = new QListWidgetItem(Utf8(referrer->Name), fReferrers);
    item->setData(kElementRole, QVariant::fromValue(reinterpret_cast<quintptr>(referrer)));
    item->setForeground(QColor(Qt::blue));
  }
}

void TTypeBrowserForm::GoTo(const TXRayElement* element) {
  if (element == nullptr) return;
  QTreeWidgetItem* root = fTree->topLevelItem(0);
  for (int c = 0; c < root->childCount(); ++c) {
    QTreeWidgetItem* category = root->child(c);
    for (int e = 0; e < category->childCount(); ++e)
      if (ElementOf(category->child(e)) == element) {
        fTree->setCurrentItem(category->child(e));
        fTree->scrollToItem(category->child(e));
        fTree->setFocus();
        return;
      }
  }
}

const TXRayElement* TTypeBrowserForm::Selected() const { return ElementOf(fTree->currentItem()); }

const TXRayElement* TTypeBrowserForm::RowLink(int row) const { return ElementOf(fProperties->topLevelItem(row)); }

const TXRayElement* TTypeBrowserForm::ReferrerLink(int row) const {
  const QListWidgetItem* item = fReferrers->item(row);
  return item == nullptr ? nullptr : reinterpret_cast<const TXRayElement*>(item->data(kElementRole).value<quintptr>());
}

void TTypeBrowserForm::FollowRow(int row) { GoTo(RowLink(row)); }

void TTypeBrowserForm::FollowReferrer(int row) { GoTo(ReferrerLink(row)); }

void TTypeBrowserForm::GoBack() {
  const TXRayElement* back = fHistory->Back();
  fQuiet = true;
  GoTo(back);
  fQuiet = false;
  fBack->setEnabled(fHistory->CanGoBack());
}

void TTypeBrowserForm::Find(const QString& text) {
  const TXRayElement* found = FindInBrowser(fType, text.trimmed().toStdString());
  fFindNote->setText(found == nullptr && !text.trimmed().isEmpty() ? tr("Not found.") : QString());
  GoTo(found);
}

}  // namespace lumacet
