// Digitizing a radiograph in the real windows: File > New on the example type and image, a
// click for every point of the protocol, Ctrl+Z on a slip, the end of digitizing and the
// save; what the Digitize window does with clicks it cannot place as asked; and the
// prediction of the point to place next from the collection's shape model.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/digitize_window.h"
#include "app/drawing_area.h"
#include "app/main_window.h"
#include "app/radiograph_dialogs.h"
#include "app/zoom_box.h"
#include "measure/variables.h"
#include "model/list_elements.h"
#include "model/point_elements.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "shell/digitizing_input.h"
#include "graphics/recording_canvas.h"
#include "population/landmark_model.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

using test::ClickButton;
using test::WhenModal;

void Fill(QWidget* dialog, const char* name, const QString& text) {
  auto* field = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
  ASSERT_NE(field, nullptr) << name;
  field->setText(text);
}

// File > New for "Test Patient" on the example's 2018 film, chosen through "Select
// Digitizing Input" and the image file dialog; filed in `dataFile` unless it is empty.
void NewRadiographOnExampleImage(TMainWindow& window, const std::string& image, const std::string& dataFile = {}) {
  WhenModal("New Radiograph", [dataFile](QWidget* modal) {
    if (!dataFile.empty()) Fill(modal, "dataFile", QString::fromStdString(dataFile));
    Fill(modal, "name", QStringLiteral("Test Patient"));
    Fill(modal, "dateOfBirth", QStringLiteral("1/2/2010"));
    Fill(modal, "dateTaken", QStringLiteral("15/6/2021"));
    Fill(modal, "magnification", QStringLiteral("10"));
    static_cast<QDialog*>(modal)->accept();
  });
  WhenModal("Select Digitizing Input", [](QWidget* modal) { ClickButton(modal, "&File"); });
  WhenModal("Open Image", [image](QWidget* modal) { test::ChooseFile(modal, image); });
  window.Command("file.new")->trigger();
}

std::optional<double> Measure(TXRay& xray, const std::string& name) {
  auto* variable = static_cast<TXRVariable*>(xray.Type()->FindElement(name, ekVariable));
  if (variable == nullptr) return std::nullopt;
  const TMeasureContext context;
  xray.LoadCoordinates();
  ComputeVariable(*variable, xray, context);
  return VariableNumber(*variable, context.Formats);
}

double AngleDegrees(TFloatPoint vertex, TFloatPoint a, TFloatPoint b) {
  const double ax = a.X - vertex.X, ay = a.Y - vertex.Y, bx = b.X - vertex.X, by = b.Y - vertex.Y;
  return std::acos((ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by))) * 180 / M_PI;
}

// Emma's lateral radiographs and her frontal one are opened; the first lateral one with its
// film becomes current.
TXRay* OpenLateralWithFilm(TMainWindow& window) {
  if (window.OpenPatient("Emma Lindqvist") < 1) return nullptr;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    auto* xray = dynamic_cast<TXRay*>(window.Workspace().Slot(slot));
    if (xray != nullptr && xray->Type()->Name == "Lateral Ceph" && xray->Image.HasImage()) {
      window.Workspace().SetCurrent(xray);
      window.Refresh();
      return xray;
    }
  }
  return nullptr;
}

class DigitizeWindowTest : public ::testing::Test {
 protected:
  DigitizeWindowTest() {
    example.Settings.Radiograph.DefaultType = "Lateral Ceph";
    example.Settings.General.AutoEdgeLock = 1;  // the orientation cursor, but clicks stay where they are
  }
  test::TExampleFolder example;
};

TEST_F(DigitizeWindowTest, AWholeRadiographIsDigitizedByClicksSavedAndReopenedWithItsPointsAndMeasurements) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.resize(1200, 860);
  window.show();
  NewRadiographOnExampleImage(window, example.Folder.File("emma_lindqvist_2018.jpg"));
  auto* xray = dynamic_cast<TXRay*>(window.Workspace().Current());
  ASSERT_NE(xray, nullptr);
  ASSERT_TRUE(xray->Image.HasImage());
  EXPECT_EQ(xray->InputDevice, kInputImageFile);
  TDigitizeWindow* digitize = window.DigitizeWindow(xray);
  ASSERT_NE(digitize, nullptr);
  EXPECT_TRUE(digitize->isVisible());
  EXPECT_TRUE(window.Command("tools.digitizer")->isChecked());
  int beeps = 0;
  digitize->SetBeeper([&beeps] { ++beeps; });

  TDrawingArea& drawing = window.Drawing();
  QWidget* viewport = drawing.viewport();
  TDigitizing& digitizing = digitize->Digitizing();
  const std::vector<TXRayElement*> elements = digitizing.Elements();
  ASSERT_GT(elements.size(), 50U);
  std::map<std::string, TFloatPoint> clicked;
  int clicks = 0;
  bool slipped = false;
  // Each click lands near the point's template position, wherever the display has scrolled to.
  auto clickAt = [&](TDigPoint& point, double shift) {
    const TXRayType& type = *xray->Type();
    const int index = type.IndexOf(&point);
    TXRPoint& where = *type.TemplatePoints[static_cast<std::size_t>(index)];
    const std::optional<TFloatPoint> pixel =
        drawing.Mapping().ToPixel({where.GetX() + shift + index % 5, where.GetY() - index % 3});
    ASSERT_TRUE(pixel);
    const QPoint at(std::clamp(static_cast<int>(pixel->X), 5, viewport->width() - 5),
                    std::clamp(static_cast<int>(pixel->Y), 5, viewport->height() - 5));
    QTest::mouseMove(viewport, at);
    // Before the click: the next point's guess scrolls the display on.
    clicked[point.Name] = *drawing.Mapping().ToTracing({static_cast<double>(at.x()), static_cast<double>(at.y())});
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    ++clicks;
  };
  for (std::size_t step = 0; step < elements.size(); ++step) {
    TXRayElement* selected = digitizing.Selected();
    ASSERT_NE(selected, nullptr);
    if (selected->KindCode() == ekSnake) {
      QTest::keyClick(&window, Qt::Key_PageDown);
      continue;
    }
    auto& point = static_cast<TDigPoint&>(*selected);
    if (!slipped && step == 7) {
      // A slip of the mouse: Ctrl+Z takes it back and the same point is asked for again.
      clickAt(point, 300);
      ASSERT_NE(digitizing.Selected(), &point);
      QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
      EXPECT_EQ(digitizing.Selected(), &point);
      EXPECT_FALSE(xray->Load().IsValid(&point));
      clicked.erase(point.Name);
      slipped = true;
    }
    clickAt(point, 0);
  }
  EXPECT_TRUE(slipped);
  EXPECT_EQ(beeps, clicks);  // the protocol beeps once a placement, and no spread exceeds its margin
  EXPECT_EQ(digitizing.Selected(), elements.front());  // auto advance went round to the first

  QString statistics;
  WhenModal("Statistics", [&statistics](QWidget* modal) {
    statistics = static_cast<QMessageBox*>(modal)->text();
    ClickButton(modal, "&Yes");
  });
  bool reminded = false;
  WhenModal("Reminder", [&reminded](QWidget* modal) {
    reminded = static_cast<QMessageBox*>(modal)->text().startsWith("Please remember to set the magnification");
    static_cast<QMessageBox*>(modal)->accept();
  });
  digitize->findChild<QPushButton*>("end")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(reminded);
  EXPECT_TRUE(statistics.contains(QStringLiteral("Points digitized: %1<").arg(clicked.size()))) << statistics.toStdString();
  EXPECT_FALSE(xray->Digitizing);
  EXPECT_EQ(window.DigitizeWindow(xray), nullptr);
  EXPECT_TRUE(window.Command("tools.none")->isChecked());
  window.Command("file.save")->trigger();

  TMainWindow reopened(example.Settings, example.Folder.File("lumacet.ini"));
  ASSERT_EQ(reopened.OpenPatient("Test Patient"), 1);
  auto* saved = dynamic_cast<TXRay*>(reopened.Workspace().Current());
  ASSERT_NE(saved, nullptr);
  EXPECT_TRUE(QString::fromStdString(saved->ImageFile).endsWith("emma_lindqvist_2018.jpg")) << saved->ImageFile;
  const TLoadedRadiograph loaded = saved->Load();
  std::map<std::string, TFloatPoint> found;
  for (const auto& [name, at] : clicked) {
    const std::optional<TFloatPoint> position = loaded.Position(loaded.Find(name, ekDigPoint));
    ASSERT_TRUE(position) << name;
    EXPECT_NEAR(position->X, at.X, 1e-3) << name;
    EXPECT_NEAR(position->Y, at.Y, 1e-3) << name;
    found[name] = *position;
  }
  ASSERT_TRUE(clicked.count("S") && clicked.count("N") && clicked.count("A"));
  const std::optional<double> sna = Measure(*saved, "SNA");
  ASSERT_TRUE(sna);
  EXPECT_NEAR(*sna, AngleDegrees(clicked["N"], clicked["S"], clicked["A"]), 0.051);
}

TEST_F(DigitizeWindowTest, ClicksWithoutAnImageOrOutsideItOrWithoutAPixelSizeLandWhereTheyWereMade) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.resize(1000, 760);
  window.show();
  TXRay* xray = OpenLateralWithFilm(window);
  ASSERT_NE(xray, nullptr);
  window.Command("tools.edge_auto")->trigger();  // every left click looks for an edge
  ASSERT_TRUE(window.StartDigitizing(*xray, dmDigitizing));
  TDigitizeWindow& digitize = *window.DigitizeWindow(xray);
  TDigitizing& digitizing = digitize.Digitizing();
  // A point of the protocol that searches for edges, so that the clicks below do search.
  auto& point = static_cast<TDigPoint&>(*digitizing.Selected());
  point.SearchRange = 50;
  point.CursorOnly = false;
  struct TCase {
    const char* what;
    std::function<void()> prepare;
    TFloatPoint click;
  };
  const std::vector<TCase> cases = {
      {"no image", [&] { xray->Image.CloseImage(); }, {800, 900}},
      {"far outside the image", [&] {}, {-2000, 50000}},
      {"an image with no pixel size", [&] { xray->PixelWidth = xray->PixelHeight = 0; }, {805, 902}},
  };
  for (const TCase& c : cases) {
    c.prepare();
    digitizing.Select(0);
    digitize.PointerMoved(c.click);
    digitize.Clicked(c.click, true);
    const std::optional<TFloatPoint> at = xray->Load().Position(&point);
    ASSERT_TRUE(at) << c.what;
    EXPECT_TRUE(std::isfinite(at->X) && std::isfinite(at->Y)) << c.what;
    // The point is the mean of its placements: the old position and every click so far.
    const std::vector<TFloatPoint>& placements = digitizing.Placements(static_cast<std::size_t>(xray->Type()->IndexOf(&point)));
    EXPECT_DOUBLE_EQ(placements.back().X, c.click.X) << c.what;
    EXPECT_DOUBLE_EQ(placements.back().Y, c.click.Y) << c.what;
    ASSERT_TRUE(digitize.Tool().Lock()) << c.what;
    EXPECT_FALSE(digitize.Tool().Lock()->Locked) << c.what;
  }
}

TEST_F(DigitizeWindowTest, ATypeWithoutProtocolIsRefusedAndMarginsThatAreNoNumberCheckNothing) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TXRay* xray = OpenLateralWithFilm(window);
  ASSERT_NE(xray, nullptr);
  TXRProtocol& protocol = *xray->Type()->Element<TXRProtocol>(ekProtocol, 0);

  // A protocol naming an element that is gone is digitized without it.
  protocol.Points.insert(protocol.Points.begin(), nullptr);
  for (double margin : {0.0, -1.0}) {
    protocol.ErrorMargin = margin;
    ASSERT_TRUE(window.StartDigitizing(*xray, dmDigitizing));
    TDigitizeWindow& digitize = *window.DigitizeWindow(xray);
    EXPECT_EQ(digitize.findChild<QComboBox*>("element")->count(), static_cast<int>(digitize.Digitizing().Elements().size()));
    EXPECT_EQ(digitize.findChild<QComboBox*>("element")->itemText(0), "S");
    int beeps = 0;
    digitize.SetBeeper([&beeps] { ++beeps; });
    protocol.AutoAdvance = false;
    digitize.Clicked({100, 100}, false);
    digitize.Clicked({900, 900}, false);
    EXPECT_EQ(beeps, 2) << margin;  // one a placement, none for the spread
    WhenModal("Statistics", [](QWidget* modal) { ClickButton(modal, "&Yes"); });
    WhenModal("Reminder", [](QWidget* modal) { static_cast<QMessageBox*>(modal)->accept(); });
    ASSERT_TRUE(digitize.End());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    protocol.AutoAdvance = true;
  }

  // Without a protocol there is nothing to digitize: the user is told, and nothing starts.
  std::vector<TXRayElement*> members = protocol.Points;
  protocol.Points.clear();
  QString told;
  WhenModal("Lumacet", [&told](QWidget* modal) {
    told = static_cast<QMessageBox*>(modal)->text();
    static_cast<QMessageBox*>(modal)->accept();
  });
  EXPECT_FALSE(window.StartDigitizing(*xray, dmDigitizing));
  EXPECT_FALSE(told.isEmpty());
  EXPECT_FALSE(xray->Digitizing);
  EXPECT_EQ(window.DigitizeWindow(xray), nullptr);
  protocol.Points = members;
}

// The example's lateral film being digitized in `window`, shown, with its first snake selected.
TDigitizeWindow* DigitizingFirstSnake(TMainWindow& window) {
  window.resize(1100, 800);
  window.show();
  TXRay* xray = OpenLateralWithFilm(window);
  if (xray == nullptr || !window.StartDigitizing(*xray, dmDigitizing)) return nullptr;
  TDigitizing& digitizing = window.DigitizeWindow(xray)->Digitizing();
  while (digitizing.Selected()->KindCode() != ekSnake) digitizing.Next();
  return window.DigitizeWindow(xray);
}

TEST_F(DigitizeWindowTest, ASnakePointIsDraggedByItsHandleAndARightClickMovesTheWholeSnake) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TDigitizeWindow* started = DigitizingFirstSnake(window);
  ASSERT_NE(started, nullptr);
  TDigitizeWindow& digitize = *started;
  TXRay* xray = &digitize.Radiograph();
  TDigitizing& digitizing = digitize.Digitizing();
  auto& snake = static_cast<TDigSnake&>(*digitizing.Selected());
  auto position = [&](std::size_t i) {
    [[maybe_unused]] const TLoadedRadiograph loaded = xray->Load();
    return TFloatPoint{snake.Points[i]->GetX(), snake.Points[i]->GetY()};
  };
  const TFloatPoint second = position(1), third = position(2);
  TDrawingArea& drawing = window.Drawing();
  drawing.Mapping().ZoomCenterInDisplay(1000, second.X, second.Y);
  drawing.MappingChanged();
  auto pixel = [&](TFloatPoint p) {
    const TFloatPoint at = *drawing.Mapping().ToPixel(p);
    return QPoint(static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y)));
  };
  const QPoint from = pixel(second), to = from + QPoint(12, -7);
  const TFloatPoint target = *drawing.Mapping().ToTracing({static_cast<double>(to.x()), static_cast<double>(to.y())});
  QTest::mousePress(drawing.viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(drawing.viewport(), to);
  QTest::mouseRelease(drawing.viewport(), Qt::LeftButton, {}, to);
  EXPECT_NEAR(position(1).X, target.X, 1e-9);
  EXPECT_NEAR(position(1).Y, target.Y, 1e-9);
  EXPECT_EQ(position(2), third);  // only the handle held moved
  EXPECT_TRUE(snake.Placed);
  EXPECT_EQ(xray->ChangeHistory.back(), "Digitized Point.");
  // Away from every handle a right click takes the snake's first point there, and the rest along.
  const TFloatPoint first = position(0);
  digitize.Clicked({first.X + 300, first.Y + 200}, false);
  EXPECT_NEAR(position(0).X, first.X + 300, 1e-9);
  EXPECT_NEAR(position(2).Y, third.Y + 200, 1e-9);
}

TEST_F(DigitizeWindowTest, TheSnakeIconsMoveAndTurnTheSnakeAndCtrlZTakesEachDragBackExactly) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TDigitizeWindow* started = DigitizingFirstSnake(window);
  ASSERT_NE(started, nullptr);
  TDigitizeWindow& digitize = *started;
  TXRay* xray = &digitize.Radiograph();
  // The edge choices are pictures from the program's own icons.
  for (const char* choice : {"edgeChoice0", "edgeChoice1", "edgeChoice2", "edgeChoice3"})
    EXPECT_FALSE(test::Child<QToolButton>(&digitize, choice)->icon().pixmap(24).isNull()) << choice;
  TDigitizing& digitizing = digitize.Digitizing();
  auto& snake = static_cast<TDigSnake&>(*digitizing.Selected());
  auto points = [&] {
    [[maybe_unused]] const TLoadedRadiograph loaded = xray->Load();
    std::vector<TFloatPoint> at;
    for (const auto& p : snake.Points) at.push_back({p->GetX(), p->GetY()});
    return at;
  };
  TDrawingArea& drawing = window.Drawing();
  QWidget* viewport = drawing.viewport();
  const std::vector<TFloatPoint> start = points();
  double left = start[0].X, right = left, top = start[0].Y, bottom = top;
  for (TFloatPoint p : start) {
    left = std::min(left, p.X), right = std::max(right, p.X), top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
  }
  const TFloatPoint centre{(left + right) / 2, (top + bottom) / 2};
  drawing.Mapping().CenterInDisplayRobust(centre.X, centre.Y);
  drawing.MappingChanged();
  const double pixel = drawing.PixelsToUnits(1);
  auto iconAt = [&](TSnakeHandleKind kind) {
    [[maybe_unused]] const TLoadedRadiograph loaded = xray->Load();
    for (const TSnakeHandle& handle : SnakeHandles(snake, true, pixel))
      if (handle.Kind == kind) {
        const TFloatPoint at = *drawing.Mapping().ToPixel(handle.At);
        return QPoint(static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y)));
      }
    return QPoint(-1, -1);
  };
  auto tracing = [&](QPoint at) {
    return *drawing.Mapping().ToTracing({static_cast<double>(at.x()), static_cast<double>(at.y())});
  };
  auto drag = [&](QPoint from, QPoint to) {
    ASSERT_TRUE(viewport->rect().contains(from) && viewport->rect().contains(to));
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
  };
  auto undo = [&] {
    // The keys are the main window's: it must be the active one.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(points(), start);  // exactly, not nearly
  };

  // "Translate": every point moves by the pointer's way in tracing units.
  const QPoint grip = iconAt(TSnakeHandleKind::Translate), moved = grip + QPoint(37, -21);
  drag(grip, moved);
  const TFloatPoint way{tracing(moved).X - tracing(grip).X, tracing(moved).Y - tracing(grip).Y};
  std::vector<TFloatPoint> after = points();
  for (std::size_t i = 0; i < start.size(); ++i) {
    EXPECT_NEAR(after[i].X, start[i].X + way.X, 1e-9) << i;
    EXPECT_NEAR(after[i].Y, start[i].Y + way.Y, 1e-9) << i;
  }
  EXPECT_TRUE(snake.Placed);
  window.Refresh();
  EXPECT_EQ(window.Command("tracing.undo")->text(), "&Undo Snake Change");
  undo();

  // "Rotate": the snake turns about the centre of its box by the angle the pointer swept.
  const QPoint handle = iconAt(TSnakeHandleKind::Rotate), swept = handle + QPoint(-25, 60);
  drag(handle, swept);
  const TFloatPoint from = tracing(handle), to = tracing(swept);
  const double angle = std::atan2(to.Y - centre.Y, to.X - centre.X) - std::atan2(from.Y - centre.Y, from.X - centre.X);
  after = points();
  for (std::size_t i = 0; i < start.size(); ++i) {
    const double u = start[i].X - centre.X, v = start[i].Y - centre.Y;
    EXPECT_NEAR(after[i].X, centre.X + u * std::cos(angle) - v * std::sin(angle), 1e-6) << i;
    EXPECT_NEAR(after[i].Y, centre.Y + u * std::sin(angle) + v * std::cos(angle), 1e-6) << i;
  }
  undo();

  // A point handle's drag is a step of its own too.
  const TFloatPoint second = *drawing.Mapping().ToPixel(start[1]);
  const QPoint on(static_cast<int>(std::lround(second.X)), static_cast<int>(std::lround(second.Y)));
  drag(on, on + QPoint(9, 9));
  EXPECT_NE(points()[1], start[1]);
  EXPECT_EQ(points()[2], start[2]);
  undo();

  // "NextPoint" is a click: the protocol's next element is selected.
  const std::size_t selected = digitizing.SelectedIndex();
  const QPoint next = iconAt(TSnakeHandleKind::NextPoint);
  QTest::mouseClick(viewport, Qt::LeftButton, {}, next);
  EXPECT_EQ(digitizing.SelectedIndex(), (selected + 1) % digitizing.Elements().size());
  digitizing.Select(selected);

  // With "&Snake Icons" off the icons are gone: a drag from where "Translate" stood moves nothing.
  QAction* icons = window.Command("tools.snake_icons");
  ASSERT_TRUE(icons->isCheckable() && icons->isChecked());
  const QPoint gone = iconAt(TSnakeHandleKind::Translate);
  icons->trigger();
  drag(gone, gone + QPoint(37, -21));
  EXPECT_EQ(points(), start);
  icons->trigger();
}

TEST_F(DigitizeWindowTest, ClosingARadiographBeingDigitizedTakesItsWindowWithIt) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TXRay* xray = OpenLateralWithFilm(window);
  ASSERT_NE(xray, nullptr);
  ASSERT_TRUE(window.StartDigitizing(*xray, dmDigitizing));
  window.DigitizeWindow(xray)->Clicked({500, 500}, true);
  WhenModal("Save", [](QWidget* prompt) { ClickButton(prompt, "&Don't Save"); });
  window.Command("file.close")->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.Workspace().Current(), nullptr);
  EXPECT_EQ(window.DigitizeWindow(xray), nullptr);
  EXPECT_FALSE(window.Command("tools.digitizer")->isEnabled());

  // Two being digitized, both closed at once: neither window stays behind.
  std::vector<TXRay*> both;
  ASSERT_GE(window.OpenPatient("Emma Lindqvist"), 2);
  for (int slot = 0; slot < kSlotCount && both.size() < 2; ++slot)
    if (auto* open = dynamic_cast<TXRay*>(window.Workspace().Slot(slot)); open != nullptr && open->Type()->Name == "Lateral Ceph")
      both.push_back(open);
  ASSERT_EQ(both.size(), 2u);
  for (TXRay* open : both) {
    ASSERT_TRUE(window.StartDigitizing(*open, dmDigitizing));
    window.DigitizeWindow(open)->Clicked({500, 500}, true);
  }
  for (int prompt = 0; prompt < 2; ++prompt)
    WhenModal("Save", [](QWidget* save) { ClickButton(save, "&Don't Save"); });
  window.Command("file.close_all")->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (TXRay* open : both) EXPECT_EQ(window.DigitizeWindow(open), nullptr);
  EXPECT_TRUE(window.findChildren<TDigitizeWindow*>().empty());
}

TEST_F(DigitizeWindowTest, RedigitizingAsksAboutAMovedFilmAndTwoClicksBringTheTracingBack) {
  example.Settings.General.InputDevice = kInputImageFile;  // the film is there already: nothing is asked for it
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.show();
  TXRay* xray = OpenLateralWithFilm(window);
  ASSERT_NE(xray, nullptr);
  const TLoadedRadiograph loaded = xray->Load();
  TXRayElement* sella = loaded.Find("S", ekDigPoint);
  TXRayElement* nasion = loaded.Find("N", ekDigPoint);
  const TFloatPoint s = *loaded.Position(sella), n = *loaded.Position(nasion);
  QString asked;
  WhenModal("", [&asked](QWidget* modal) {
    asked = static_cast<QMessageBox*>(modal)->text();
    ClickButton(modal, "&Yes");
  });
  window.Command("tracing.digitize")->trigger();
  EXPECT_TRUE(asked.startsWith("If the radiograph has changed position since the last digitization")) << asked.toStdString();
  TDigitizeWindow* digitize = window.DigitizeWindow(xray);
  ASSERT_NE(digitize, nullptr);
  // The keyboard stays with the film, not with the floating window.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  TDigitizing& digitizing = digitize->Digitizing();
  EXPECT_EQ(digitizing.Mode(), dmFirstOrientation);
  EXPECT_EQ(digitize->findChild<QLabel*>("mode")->text(), "Enter:\nFirst Orientation Point");
  // The film moved by (10, 5): S is clicked there, then N (the protocol's fifth element).
  digitizing.Select(0);
  digitize->Clicked({s.X + 10, s.Y + 5}, true);
  EXPECT_EQ(digitizing.Mode(), dmSecondOrientation);
  // Ctrl+Z while orienting is "&Back".
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(digitizing.Mode(), dmFirstOrientation);
  EXPECT_NEAR(xray->Load().Position(sella)->X, s.X, 1e-9);
  digitizing.Select(0);
  digitize->Clicked({s.X + 10, s.Y + 5}, true);
  const std::vector<TXRayElement*> elements = digitizing.Elements();
  digitizing.Select(static_cast<std::size_t>(std::find(elements.begin(), elements.end(), nasion) - elements.begin()));
  digitize->Clicked({n.X + 10, n.Y + 5}, true);
  EXPECT_EQ(digitizing.Mode(), dmOriented);
  EXPECT_NEAR(xray->Load().Position(nasion)->X, n.X + 10, 1e-6);
  EXPECT_NEAR(xray->Load().Position(nasion)->Y, n.Y + 5, 1e-6);
  // Enter proceeds; every point starts from where it now is.
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_EQ(digitizing.Mode(), dmDigitizing);
  EXPECT_EQ(digitizing.Placements(static_cast<std::size_t>(xray->Type()->IndexOf(sella))).size(), 1u);
  // Enter in a box being typed in confirms the box, and places nothing.
  digitize->PointerMoved({s.X, s.Y});
  const std::size_t selected = digitizing.SelectedIndex();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* typing = window.findChild<TZoomBox*>();
  ASSERT_NE(typing, nullptr);
  typing->setFocus();
  typing->setEditText(QString());
  QTest::keyClicks(typing, "150");
  QTest::keyClick(typing, Qt::Key_Return);
  EXPECT_EQ(digitizing.SelectedIndex(), selected);
  EXPECT_EQ(window.Drawing().Mapping().Zoom(), 1500);
  window.Drawing().setFocus();
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_NE(digitizing.SelectedIndex(), selected);  // placed, and on to the next point
}

TEST_F(DigitizeWindowTest, SavingANumberedFilmAdvancesToTheNextOfTheSeries) {
  example.Settings.General.AutoSaveAndAdvance = true;
  const std::filesystem::path folder = example.Folder.Path();
  std::filesystem::copy_file(folder / "emma_lindqvist_2018.jpg", folder / "ceph007.jpg");
  std::filesystem::copy_file(folder / "emma_lindqvist_2022.jpg", folder / "ceph008.jpg");
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TXRay* xray = OpenLateralWithFilm(window);
  ASSERT_NE(xray, nullptr);
  xray->ImageFile = (folder / "ceph007.jpg").string();
  xray->RecordChange(true, "Linked.");
  // Emma's record is in the file already: it is replaced.
  WhenModal("Lumacet", [](QWidget* modal) { ClickButton(modal, "&Yes"); });
  window.Command("file.save")->trigger();
  EXPECT_EQ(xray->Name, "008");
  EXPECT_TRUE(QString::fromStdString(xray->ImageFile).endsWith("ceph008.jpg")) << xray->ImageFile;
  EXPECT_TRUE(xray->Image.HasImage());
  // No ceph009.jpg: the series ends there, and the radiograph stays as it was saved.
  window.Command("file.save")->trigger();
  EXPECT_EQ(xray->Name, "008");
}

// What the Digitize window draws of the prediction: the centre of its orange outline.
std::optional<TFloatPoint> DrawnPrediction(const TDigitizeWindow& digitize) {
  TRecordingCanvas canvas;
  digitize.DrawOverlay(canvas);
  for (const TCanvasCall& call : canvas.Calls) {
    if (call.Kind != TCanvasCallKind::Polyline || call.Pen.Colour != 0x008CFF || call.Points.size() < 8) continue;
    // The outline is closed: its first point is drawn twice.
    double x = 0, y = 0;
    for (std::size_t i = 1; i < call.Points.size(); ++i) {
      x += call.Points[i].X;
      y += call.Points[i].Y;
    }
    const double n = static_cast<double>(call.Points.size() - 1);
    return TFloatPoint{x / n, y / n};
  }
  return std::nullopt;
}

// A left click over the display at a tracing point.
void ClickOnFilm(TMainWindow& window, TFloatPoint at) {
  const std::optional<TFloatPoint> pixel = window.Drawing().Mapping().ToPixel(at);
  ASSERT_TRUE(pixel);
  const QPoint where(static_cast<int>(std::lround(pixel->X)), static_cast<int>(std::lround(pixel->Y)));
  QTest::mouseMove(window.Drawing().viewport(), where);
  QTest::mouseClick(window.Drawing().viewport(), Qt::LeftButton, {}, where);
}

// The selected point placed where the type's template has it, if the display shows it.
void PlaceAtTemplate(TMainWindow& window, TDigitizing& digitizing) {
  const TXRayType& type = *digitizing.Radiograph().Type();
  const int index = type.IndexOf(digitizing.Selected());
  ASSERT_GE(index, 0);
  TXRPoint& where = *type.TemplatePoints[static_cast<std::size_t>(index)];
  const std::optional<TFloatPoint> pixel = window.Drawing().Mapping().ToPixel({where.GetX(), where.GetY()});
  if (!pixel || !window.Drawing().viewport()->rect().contains(QPoint(static_cast<int>(pixel->X), static_cast<int>(pixel->Y)))) {
    window.Drawing().Mapping().CenterInDisplayRobust(where.GetX(), where.GetY());
    window.Drawing().MappingChanged();
  }
  ClickOnFilm(window, {where.GetX(), where.GetY()});
}

const QString kFar = QStringLiteral("Far from the expected position: check this point.");

TEST_F(DigitizeWindowTest, TheNextPointIsPredictedGoneToAndAPlacementFarFromItIsFlaggedButKept) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  window.resize(1200, 860);
  window.show();
  NewRadiographOnExampleImage(window, example.Folder.File("emma_lindqvist_2018.jpg"), example.DataFile());
  auto* xray = dynamic_cast<TXRay*>(window.Workspace().Current());
  ASSERT_NE(xray, nullptr);
  TDigitizeWindow* digitize = window.DigitizeWindow(xray);
  ASSERT_NE(digitize, nullptr);
  digitize->SetBeeper([] {});
  TDigitizing& digitizing = digitize->Digitizing();
  auto* go = digitize->findChild<QPushButton*>("goToPrediction");
  ASSERT_NE(go, nullptr);
  EXPECT_TRUE(go->isVisibleTo(digitize));
  // Nothing is predicted from a single point.
  EXPECT_FALSE(DrawnPrediction(*digitize));
  EXPECT_FALSE(go->isEnabled());
  PlaceAtTemplate(window, digitizing);
  EXPECT_FALSE(DrawnPrediction(*digitize));
  // The type's shape model (its PCA's points) predicts the points it holds once two of them
  // are placed; the others are placed without a prediction.
  const TResultOf<TLandmarkModel> model = DigitizingModel(*xray, window.Workspace().Types().Resolver(), {});
  ASSERT_TRUE(model);
  auto expectedNext = [&] { return PredictLandmark(*model, *xray, digitizing.Selected()->Name); };
  for (int i = 0; i < 40 && !expectedNext(); ++i) {
    EXPECT_FALSE(DrawnPrediction(*digitize)) << digitizing.Selected()->Name;
    if (digitizing.Selected()->KindCode() == ekSnake)
      digitize->Next();
    else
      PlaceAtTemplate(window, digitizing);
  }
  // Its prediction is drawn where the engine puts it, not far from where the template has it.
  auto* next = static_cast<TDigPoint*>(digitizing.Selected());
  const std::optional<TPredictedLandmark> expected = expectedNext();
  ASSERT_TRUE(expected) << next->Name;
  const std::optional<TFloatPoint> drawn = DrawnPrediction(*digitize);
  ASSERT_TRUE(drawn) << next->Name;
  EXPECT_NEAR(drawn->X, expected->At.X, 1.5);
  EXPECT_NEAR(drawn->Y, expected->At.Y, 1.5);
  TXRPoint& templatePoint = *xray->Type()->TemplatePoints[static_cast<std::size_t>(xray->Type()->IndexOf(next))];
  EXPECT_LT(std::hypot(expected->At.X - templatePoint.GetX(), expected->At.Y - templatePoint.GetY()), 100) << next->Name;

  // The button and the key take the pointer there, over the display.
  auto pointerAt = [&]() -> std::optional<TFloatPoint> {
    const QPoint local = window.Drawing().viewport()->mapFromGlobal(QCursor::pos());
    return window.Drawing().Mapping().ToTracing({static_cast<double>(local.x()), static_cast<double>(local.y())});
  };
  ASSERT_TRUE(go->isEnabled());
  QCursor::setPos(window.Drawing().viewport()->mapToGlobal(QPoint(3, 3)));
  go->click();
  std::optional<TFloatPoint> pointer = pointerAt();
  ASSERT_TRUE(pointer);
  const double pixel = window.Drawing().Mapping().ToTracing({1, 0})->X - window.Drawing().Mapping().ToTracing({0, 0})->X;
  EXPECT_NEAR(pointer->X, expected->At.X, 2 * pixel);
  EXPECT_NEAR(pointer->Y, expected->At.Y, 2 * pixel);
  QCursor::setPos(window.Drawing().viewport()->mapToGlobal(QPoint(3, 3)));
  QTest::keyClick(&window, Qt::Key_G);
  pointer = pointerAt();
  ASSERT_TRUE(pointer);
  EXPECT_NEAR(pointer->X, expected->At.X, 2 * pixel);
  EXPECT_NEAR(pointer->Y, expected->At.Y, 2 * pixel);

  // 3 cm off: flagged on the status bar, and placed all the same.
  const TFloatPoint far{expected->At.X + 300, expected->At.Y};
  ASSERT_TRUE(expected->Outside(far));
  digitize->Clicked(far, true);
  EXPECT_EQ(window.statusBar()->currentMessage(), kFar);
  const std::optional<TFloatPoint> placed = xray->Load().Position(next);
  ASSERT_TRUE(placed);
  EXPECT_DOUBLE_EQ(placed->X, far.X);
  EXPECT_NE(digitizing.Selected(), next);
  // The next point placed where it is expected clears the flag.
  for (int i = 0; i < 40 && !expectedNext(); ++i) digitize->Next();
  const std::optional<TPredictedLandmark> following = expectedNext();
  ASSERT_TRUE(following);
  digitize->Clicked(following->At, true);
  EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty()) << window.statusBar()->currentMessage().toStdString();
}

TEST_F(DigitizeWindowTest, WithoutAShapeModelNothingIsPredictedOrFlagged) {
  // The frontal type has no PCA: its model comes from the records of the radiograph's data
  // file, three in the example's, and none from a file with a single record or none.
  const std::string single = example.Folder.File("single.csv");
  {
    std::ifstream in(example.DataFile());
    std::ofstream out(single);
    for (std::string line; std::getline(in, line);)
      if (line.find("Frontal Ceph") != std::string::npos) {
        out << line << '\n';
        break;
      }
  }
  struct TCase {
    std::string dataFile;
    bool predicted;
  };
  for (const TCase& c : {TCase{single, false}, TCase{example.Folder.File("missing.csv"), false},
                         TCase{example.DataFile(), true}}) {
    TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
    window.show();
    ASSERT_GE(window.OpenPatient("Emma Lindqvist"), 1);
    TXRay* xray = nullptr;
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (auto* open = dynamic_cast<TXRay*>(window.Workspace().Slot(slot)); open != nullptr && open->Type()->Name == "Frontal Ceph")
        xray = open;
    ASSERT_NE(xray, nullptr);
    window.Workspace().SetCurrent(xray);
    xray->DataFile = c.dataFile;
    ASSERT_TRUE(window.StartDigitizing(*xray, dmDigitizing)) << c.dataFile;
    TDigitizeWindow* digitize = window.DigitizeWindow(xray);
    ASSERT_NE(digitize, nullptr) << c.dataFile;
    digitize->SetBeeper([] {});
    TDigitizing& digitizing = digitize->Digitizing();
    EXPECT_EQ(DrawnPrediction(*digitize).has_value(), c.predicted) << c.dataFile;
    EXPECT_EQ(digitize->findChild<QPushButton*>("goToPrediction")->isVisibleTo(digitize), c.predicted) << c.dataFile;
    if (c.predicted) continue;
    // A wild click is placed without a word.
    TXRayElement* selected = digitizing.Selected();
    digitize->Clicked({-500, -500}, true);
    EXPECT_TRUE(xray->Load().IsValid(selected)) << c.dataFile;
    EXPECT_NE(window.statusBar()->currentMessage(), kFar) << c.dataFile;
  }
}

}  // namespace
}  // namespace lumacet
