// The Type Browser over the example lateral type, used as a user would: everything in the
// tree, every link followed, the referrers compared with what the command line reports.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <set>
#include <sstream>

#include "app/type_browser_form.h"
#include "cli/cli_runner.h"
#include "model/xray_type.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

TEST(TypeBrowserFormTest, EveryElementIsReachableAndEveryLinkLeadsToTheElementNamed) {
  test::Application();
  TXRayType type;
  ASSERT_TRUE(type.LoadFromTypeFile(test::kExample));
  const std::vector<std::string> historyBefore = type.ChangeHistory;
  TTypeBrowserForm browser(type);
  QTreeWidget* tree = browser.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0).toStdString(), type.Name);
  ASSERT_EQ(root->childCount(), 13);
  EXPECT_EQ(root->child(11)->text(0), "Snakes");
  // Each kind has a picture of its own, from the shipped theme.
  std::set<QByteArray> pictures;
  for (int c = 0; c < root->childCount(); ++c) {
    const QImage picture = root->child(c)->icon(0).pixmap(16, 16).toImage();
    ASSERT_FALSE(picture.isNull()) << root->child(c)->text(0).toStdString();
    pictures.insert(QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()));
  }
  EXPECT_EQ(pictures.size(), 13u);

  std::set<const TXRayElement*> inTree;
  size_t elements = 0;
  size_t links = 0;
  for (int code = 0; code < kElementListCount; ++code)
    for (const auto& e : type.ElementList(code)) {
      ++elements;
      browser.GoTo(e.get());
      ASSERT_EQ(browser.Selected(), e.get()) << e->Name;
      inTree.insert(e.get());
      EXPECT_EQ(browser.Header()->text().toStdString(), e->Name);
      // Every link row names its element, and clicking it goes there.
      const int rows = browser.Properties()->topLevelItemCount();
      for (int row = 0; row < rows; ++row) {
        const TXRayElement* link = browser.RowLink(row);
        if (link == nullptr) continue;
        ++links;
        std::string shown = browser.Properties()->topLevelItem(row)->text(1).toStdString();
        if (shown.starts_with("[R] ")) shown = shown.substr(4);
        EXPECT_EQ(shown, link->Name) << e->Name << " row " << row;
        browser.FollowRow(row);
        EXPECT_EQ(browser.Selected(), link) << e->Name << " -> " << link->Name;
        browser.GoBack();
        ASSERT_EQ(browser.Selected(), e.get()) << "back from " << link->Name;
      }
      // The referrers as the list shows them.
      const std::vector<TXRayElement*> referrers = type.Referrers(e.get());
      ASSERT_EQ(browser.Referrers()->count(), static_cast<int>(referrers.size())) << e->Name;
      for (int i = 0; i < browser.Referrers()->count(); ++i) EXPECT_EQ(browser.ReferrerLink(i), referrers[i]);
    }
  EXPECT_EQ(inTree.size(), elements);
  EXPECT_GT(links, 500u);
  // Browsing changes nothing.
  EXPECT_EQ(type.ChangeHistory, historyBefore);
  EXPECT_FALSE(type.Modified);
}

TEST(TypeBrowserFormTest, ReferrersMatchTheCommandLineAndBackRetracesTheWay) {
  test::Application();
  TXRayType type;
  ASSERT_TRUE(type.LoadFromTypeFile(test::kExample));
  TTypeBrowserForm browser(type);
  test::TTempFolder folder;
  // One element of each kind that has any, the first of its list.
  for (int code = 0; code < kElementListCount; ++code) {
    if (type.ElementList(code).empty()) continue;
    const TXRayElement* element = type.ElementList(code).front().get();
    if (type.ElementsNamed(element->Name).size() != 1) continue;  // the command line refuses shared names
    browser.GoTo(element);
    std::string listed;
    for (int i = 0; i < browser.Referrers()->count(); ++i)
      listed += browser.Referrers()->item(i)->text().toStdString() + "\n";
    const test::TRun run = test::RunCli(folder, "type '" + test::kExample + "' --refs '" + element->Name + "'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    std::string names;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) names += line.substr(line.find('\t') + 1) + "\n";
    EXPECT_EQ(listed, names) << element->Name;
  }

  // A, then B, then C in a browser just shown; back twice is A, and Back is then disabled.
  TTypeBrowserForm fresh(type);
  EXPECT_FALSE(fresh.BackButton()->isEnabled());
  const TXRayElement* a = type.FindElement("S", ekDigPoint);
  const TXRayElement* b = type.FindElement("N", ekDigPoint);
  const TXRayElement* c = type.ElementList(ekVariable).front().get();
  fresh.GoTo(a);
  fresh.GoTo(b);
  fresh.GoTo(c);
  EXPECT_TRUE(fresh.BackButton()->isEnabled());
  QTest::mouseClick(fresh.BackButton(), Qt::LeftButton);
  QTest::mouseClick(fresh.BackButton(), Qt::LeftButton);
  EXPECT_EQ(fresh.Selected(), a);
  EXPECT_FALSE(fresh.BackButton()->isEnabled());

  // "Find" takes a name as typed, in any case.
  QTest::keyClicks(browser.FindField(), "sna");
  QTest::keyClick(browser.FindField(), Qt::Key_Return);
  ASSERT_NE(browser.Selected(), nullptr);
  EXPECT_EQ(browser.Selected()->Name, "SNA");
}

}  // namespace
}  // namespace lumacet
