// TTypeBrowserForm, "Type Browser": a read-only window over one radiograph type, with the
// elements by kind in a tree, the chosen element's properties (links lead to the elements
// they name), the elements that refer to it, "Back" along the elements chosen before, and
// "Find" by name. What it shows comes from the engine's browser rows.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lumacet {

class TXRayElement;
class TXRayType;
class TBrowserHistory;

class TTypeBrowserForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTypeBrowserForm(const TXRayType& type, QWidget* parent = nullptr);
  ~TTypeBrowserForm() override;

  // Selects the element's node; nothing when it is null or not in the tree.
  void GoTo(const TXRayElement* element);
  // The element of the selected node, or null (root, category or nothing).
  const TXRayElement* Selected() const;
  // The element a property row (counted from 0) or a referrer links to, or null.
  const TXRayElement* RowLink(int row) const;
  const TXRayElement* ReferrerLink(int row) const;
  // What clicking the value of a property row or a referrer does.
  void FollowRow(int row);
  void FollowReferrer(int row);
  void GoBack();
  // "Find": goes to the element FindInBrowser gives, or says nothing was found.
  void Find(const QString& text);

  QTreeWidget* Tree() const { return fTree; }
  QTreeWidget* Properties() const { return fProperties; }
  QListWidget* Referrers() const { return fReferrers; }
  QPushButton* BackButton() const { return fBack; }
  QLineEdit* FindField() const { return fFind; }
  QLabel* Header() const { return fHeader; }

 private:
  void Build();
  void Show(const TXRayElement* element);

  const TXRayType& fType;
  std::unique_ptr<TBrowserHistory> fHistory;
  QTreeWidget* fTree = nullptr;
  QLabel* fHeader = nullptr;
  QTreeWidget* fProperties = nullptr;
  QListWidget* fReferrers = nullptr;
  QPushButton* fBack = nullptr;
  QLineEdit* fFind = nullptr;
  QLabel* fFindNote = nullptr;
  const TXRayElement* fShown = nullptr;
  bool fQuiet = false;  // building the tree or going back: the trail stays as it is
};

}  // namespace lumacet
