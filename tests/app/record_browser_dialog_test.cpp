#include "app/record_browser_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

#include <algorithm>

#include "ui_test_support.h"

namespace lumacet {
namespace {

class RecordBrowserDialogTest : public ::testing::Test {
 protected:
  RecordBrowserDialogTest() : dialog(Options()) { dialog.show(); }

  TRecordBrowserOptions Options() {
    TRecordBrowserOptions options;
    options.DefaultFile = example.DataFile();
    options.DataFolder = example.Folder.Path().string();
    return options;
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(dialog.Table(), &event);
  }

  void ClickHeader(int column) {
    QHeaderView* header = dialog.Table()->horizontalHeader();
    const QPointF at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2.0,
                     header->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(header->viewport(), &event);
    }
  }

  std::vector<size_t> Selected() {
    std::vector<size_t> rows;
    for (size_t row = 0; row < dialog.Browser().Rows().size(); ++row)
      if (dialog.Browser().IsSelected(row)) rows.push_back(row);
    return rows;
  }

  test::TExampleFolder example;
  TOpenXRayDlg dialog;
};

TEST_F(RecordBrowserDialogTest, KeysMoveTheFocusAndSelectAsTheListingSays) {
  const size_t rows = dialog.Browser().Rows().size();
  ASSERT_GT(rows, 8u);
  EXPECT_EQ(dialog.Table()->rowCount(), static_cast<int>(rows));
  EXPECT_TRUE(dialog.windowTitle().startsWith("File: "));

  Key(Qt::Key_Home);
  EXPECT_EQ(Selected(), (std::vector<size_t>{0}));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  EXPECT_EQ(dialog.FocusRow(), 2);
  EXPECT_EQ(Selected(), (std::vector<size_t>{2}));
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), (std::vector<size_t>{2, 3, 4}));
  // Ctrl moves the focus alone; Space toggles the focused row.
  Key(Qt::Key_Down, Qt::ControlModifier);
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(dialog.FocusRow(), 6);
  EXPECT_EQ(Selected(), (std::vector<size_t>{2, 3, 4}));
  Key(Qt::Key_Space);
  EXPECT_EQ(Selected(), (std::vector<size_t>{2, 3, 4, 6}));
  Key(Qt::Key_Space);
  EXPECT_EQ(Selected(), (std::vector<size_t>{2, 3, 4}));
  Key(Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(dialog.Browser().SelectedCount(), 4u) << "Ctrl+Shift adds the range from the anchor";

  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(dialog.Browser().SelectedCount(), rows);
  Key(Qt::Key_End);
  EXPECT_EQ(Selected(), (std::vector<size_t>{rows - 1}));
  Key(Qt::Key_Down);  // nothing below the last row
  EXPECT_EQ(Selected(), (std::vector<size_t>{rows - 1}));

  // The table shows the browser's selection.
  const QColor highlight = dialog.palette().color(QPalette::Highlight);
  EXPECT_EQ(dialog.Table()->item(static_cast<int>(rows - 1), 1)->background().color(), highlight);
  EXPECT_NE(dialog.Table()->item(0, 1)->background().color(), highlight);
}

TEST_F(RecordBrowserDialogTest, TheNameHeaderTurnsBetweenNameOrderAndFileOrder) {
  auto names = [&] {
    std::vector<std::string> list;
    for (const TRecordRow& row : dialog.Browser().Rows()) list.push_back(row.Name);
    return list;
  };
  auto records = [&] {
    std::vector<int> list;
    for (const TRecordRow& row : dialog.Browser().Rows()) list.push_back(row.Record);
    return list;
  };
  ASSERT_EQ(dialog.Browser().Order, TRecordOrder::SortByName);
  EXPECT_FALSE(std::is_sorted(records().begin(), records().end()));

  ClickHeader(1);
  EXPECT_EQ(dialog.Browser().Order, TRecordOrder::NoSort);
  const std::vector<int> fileOrder = records();
  EXPECT_TRUE(std::is_sorted(fileOrder.begin(), fileOrder.end()));
  EXPECT_EQ(dialog.Table()->item(0, 0)->text(), QString::number(fileOrder.front()));

  // Another header leaves the order alone.
  ClickHeader(2);
  EXPECT_EQ(records(), fileOrder);

  ClickHeader(1);
  EXPECT_EQ(dialog.Browser().Order, TRecordOrder::SortByName);
  const std::vector<std::string> byName = names();
  EXPECT_TRUE(std::is_sorted(byName.begin(), byName.end(), [](const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
  }));
  EXPECT_EQ(dialog.Table()->item(0, 1)->text(), QString::fromStdString(byName.front()));
}

TEST_F(RecordBrowserDialogTest, TheImageColumnHidesWhileImagesAreNotLoaded) {
  QCheckBox* loadImage = nullptr;
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
    if (box->text() == "&Load Image with tracing") loadImage = box;
  ASSERT_NE(loadImage, nullptr);
  EXPECT_FALSE(dialog.Table()->isColumnHidden(5));
  loadImage->setChecked(false);
  EXPECT_TRUE(dialog.Table()->isColumnHidden(5));
  EXPECT_FALSE(dialog.Browser().LoadImage);
}

}  // namespace
}  // namespace lumacet
