// The icon column: rows dragged onto rows move objects between column as the workspace
// allows, dropped files open, and the row pictures show pens and marks.
#include "app/slot_list.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDropEvent>
#include <QMenu>
#include <QTimer>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

#include "app/drawing_area.h"
#include "app/main_window.h"
#include "app/record_browser_dialog.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

class SlotListTest : public ::testing::Test {
 protected:
  SlotListTest() : window(example.Settings, example.Folder.File("lumacet.ini")) {
    column = window.findChild<TSlotList*>();
    window.resize(900, 640);
    window.show();
  }

  // Drops `data` on the row as a drag from elsewhere would; whether it was taken.
  bool DropOnRow(QMimeData& data, int row) {
    const QPoint at = column->visualItemRect(column->item(row)).center();
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(column->viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(column->viewport(), &drop);
    return drop.isAccepted();
  }

  bool DragRow(int from, int to) {
    QMimeData data;
    data.setData(kSlotMimeType, QByteArray::number(from));
    return DropOnRow(data, to);
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < kSlotCount; ++i)
      names.push_back(window.Workspace().Slot(i) != nullptr ? window.Workspace().Slot(i)->Name : "");
    return names;
  }

  test::TExampleFolder example;
  TMainWindow window;
  TSlotList* column = nullptr;
};

TEST_F(SlotListTest, DraggingARowMovesItsObjectWhereTheWorkspaceAllows) {
  ASSERT_NE(column, nullptr);
  test::TNoPrompts prompts;
  for (const char* name : {"A", "B", "C"}) {
    const int slot = window.Workspace().NewXRayBasic("Lateral Ceph", false, prompts);
    window.Workspace().Slot(slot)->Name = name;
  }
  window.Refresh();
  EXPECT_TRUE(DragRow(2, 0));
  EXPECT_EQ(Names(), (std::vector<std::string>{"C", "A", "B", "", "", "", "", "", "", ""}));
  EXPECT_EQ(column->item(0)->text(), "C");
  EXPECT_FALSE(DragRow(1, 1));  // onto itself
  EXPECT_TRUE(DragRow(0, 5));   // down to a free row
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "A", "B", "", "", "C", "", "", "", ""}));

  for (int i = 0; i < 7; ++i) window.Workspace().NewXRayBasic("Lateral Ceph", false, prompts);
  window.Refresh();
  EXPECT_FALSE(DragRow(1, 8));  // no free row at or below the target
  EXPECT_EQ(window.Workspace().Slot(1)->Name, "A");
}

TEST_F(SlotListTest, DroppedTypeFilesOpenInFreeSlots) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(example.Folder.File("lateral_ceph.lcr"))),
                QUrl(QStringLiteral("https://example.org/remote.lcr"))});
  EXPECT_TRUE(DropOnRow(data, 3));
  ASSERT_NE(window.Workspace().Slot(0), nullptr);
  EXPECT_TRUE(window.Workspace().Slot(0)->IsType());
  EXPECT_EQ(window.Workspace().Slot(1), nullptr);

  QMimeData remote;
  remote.setUrls({QUrl(QStringLiteral("https://example.org/remote.lcr"))});
  EXPECT_FALSE(DropOnRow(remote, 3));
}

TEST_F(SlotListTest, ADroppedDataFileIsListedForOpening) {
  const std::string other = example.Folder.File("other.csv");
  std::filesystem::copy_file(example.DataFile(), other);
  std::string listed;
  test::WhenModal("File: ", [&](QWidget* modal) {
    auto* browser = dynamic_cast<TOpenXRayDlg*>(modal);
    ASSERT_NE(browser, nullptr);
    listed = browser->Browser().ListedFile();
    browser->reject();
  });
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
  EXPECT_TRUE(DropOnRow(data, 0));
  EXPECT_EQ(listed, other);
  EXPECT_FALSE(window.Workspace().AnyOccupied());
}

TEST_F(SlotListTest, PropertiesOnARowsMenuShowTheRowsRadiograph) {
  test::TNoPrompts prompts;
  for (const char* name : {"A", "B"}) {
    const int slot = window.Workspace().NewXRayBasic("Lateral Ceph", false, prompts);
    window.Workspace().Slot(slot)->Name = name;
  }
  window.Refresh();
  ASSERT_EQ(window.Workspace().Current()->Name, "B");
  bool shown = false;
  test::WhenModal("Properties", [&](QWidget* modal) {
    shown = true;
    static_cast<QDialog*>(modal)->reject();
  });
  // The row's menu is a pop-up, not a modal window: it is found and worked once it shows.
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    timer->stop();
    timer->deleteLater();
    for (QAction* action : menu->actions()) {
      if (action->text() != "P&roperties...") continue;
      menu->close();
      action->trigger();
      return;
    }
    ADD_FAILURE() << "no Properties on the row's menu";
    menu->close();
  });
  timer->start(10);
  emit column->customContextMenuRequested(column->visualItemRect(column->item(0)).center());
  EXPECT_TRUE(shown);
  EXPECT_EQ(window.Workspace().Current()->Name, "A");
}

TEST_F(SlotListTest, RowPicturesShowTheSlotPenAndTheModifiedMark) {
  test::TNoPrompts prompts;
  const int slot = window.Workspace().NewXRayBasic("Lateral Ceph", false, prompts);
  window.Workspace().Slot(slot)->Modified = false;  // as if just saved
  TSettings settings = example.Settings;
  settings.Radiograph.DrawingStyle = 0;  // "As Defined": no slot pen
  const QImage plain = TSlotList::RowPicture(window.Workspace(), settings, slot).toImage();
  settings.Radiograph.DrawingStyle = 1;
  settings.Radiograph.PositionPens[static_cast<size_t>(slot)] = {0x0000FF, 0, 3};
  const QImage pen = TSlotList::RowPicture(window.Workspace(), settings, slot).toImage();
  EXPECT_EQ(plain.pixelColor(50, 16).alpha(), 0);
  EXPECT_EQ(pen.pixelColor(50, 16), QColor(255, 0, 0));
  settings.Radiograph.DrawingStyle = 2;  // the current object keeps its own pens
  EXPECT_EQ(TSlotList::RowPicture(window.Workspace(), settings, slot).toImage().pixelColor(50, 16).alpha(), 0);

  window.Workspace().Slot(slot)->Modified = true;
  EXPECT_NE(TSlotList::RowPicture(window.Workspace(), settings, slot).toImage(), plain);
  EXPECT_TRUE(TSlotList::RowPicture(window.Workspace(), settings, slot + 1).toImage().pixelColor(5, 5).alpha() == 0);
}

TEST_F(SlotListTest, FilesDroppedOnTheDrawingAreaOpenAsOnTheColumn) {
  QWidget* drawing = window.findChild<TDrawingArea*>();
  ASSERT_NE(drawing, nullptr);
  auto drop = [drawing](QMimeData& data) {
    const QPoint at = drawing->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(drawing, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(drawing, &dropped);
    return dropped.isAccepted();
  };
  QMimeData remote;
  remote.setUrls({QUrl(QStringLiteral("https://example.org/remote.lcr"))});
  EXPECT_FALSE(drop(remote));
  EXPECT_FALSE(window.Workspace().AnyOccupied());

  QMimeData type;
  type.setUrls({QUrl::fromLocalFile(QString::fromStdString(example.Folder.File("lateral_ceph.lcr")))});
  EXPECT_TRUE(drop(type));
  ASSERT_NE(window.Workspace().Slot(0), nullptr);
  EXPECT_TRUE(window.Workspace().Slot(0)->IsType());
}

TEST_F(SlotListTest, ARowsTipNamesThePatientTheDateTakenAndTheTypeInFull) {
  test::TNoPrompts prompts;
  ASSERT_EQ(window.Workspace().OpenRecords(example.DataFile(), {1}, true, prompts), 1);
  window.Refresh();
  const TRadiograph& opened = *window.Workspace().Slot(0);
  const QString firstLine = column->item(0)->toolTip().section(QLatin1Char('\n'), 0, 0);
  EXPECT_EQ(firstLine.toStdString(), window.Workspace().Heading(opened));
  EXPECT_TRUE(firstLine.startsWith(QString::fromStdString(opened.Name) + ", "));
  EXPECT_TRUE(firstLine.endsWith(", Lateral Ceph"));
  EXPECT_EQ(firstLine.count(QLatin1Char(',')), 2);
}

}  // namespace
}  // namespace lumacet
