// The main window reads the default tablet while the current radiograph is digitized from
// it: each report places the selected point, a tablet that cannot be used or vanishes is
// told once, and polling stops.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "app/digitize_window.h"
#include "app/main_window.h"
#include "digitize/digitizing.h"
#include "model/kind_codes.h"
#include "model/xray.h"
#include "model/xray_type.h"
#include "shell/digitizing_input.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

// Answers the message boxes: "No" to the question about a moved film, OK to each tablet
// error, whose text is kept.
void AnswerMessages(std::vector<QString>& texts) {
  test::WhenModal("Lumacet", [&texts](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    if (QAbstractButton* no = box->button(QMessageBox::No)) {
      no->click();
    } else {
      texts.push_back(box->text());
      box->button(QMessageBox::Ok)->click();
    }
    AnswerMessages(texts);
  });
}

// "Digiti&ze..." with the tablet as the input every radiograph gets.
void Redigitize(TMainWindow& window) { window.Command("tracing.digitize")->trigger(); }

TXRay* FirstLateral(TMainWindow& window) {
  if (window.OpenPatient("Emma Lindqvist") < 1) return nullptr;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (auto* xray = dynamic_cast<TXRay*>(window.Workspace().Slot(slot)); xray != nullptr && xray->Type()->Name == "Lateral Ceph") {
      window.Workspace().SetCurrent(xray);
      window.Refresh();
      return xray;
    }
  return nullptr;
}

TEST(TabletPollingTest, WithoutADefinitionTheTabletIsRefusedAndDigitizingGoesOn) {
  test::TExampleFolder example;
  example.Settings.General.InputDevice = kInputDigitizer;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TXRay* xray = FirstLateral(window);
  ASSERT_NE(xray, nullptr);
  std::vector<QString> messages;
  AnswerMessages(messages);
  Redigitize(window);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Could not initialize Digitizer data from .INI file.\n\nDigitizer cannot be used.");
  EXPECT_NE(window.DigitizeWindow(xray), nullptr);
}

TEST(TabletPollingTest, ReportsPlaceTheSelectedPointUntilTheTabletVanishes) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminals";
  test::TExampleFolder example;
  example.Settings.Digitizers.Entries = {
      {"Puck", std::string("FxxxxxSSyyyyySCL, ") + ::ptsname(master) + ", 9600, Even, 8, 2, 40.0, 1000.0"}};
  example.Settings.Digitizers.Default = "Puck";
  example.Settings.General.InputDevice = kInputDigitizer;
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  TXRay* xray = FirstLateral(window);
  ASSERT_NE(xray, nullptr);
  std::vector<QString> messages;
  AnswerMessages(messages);
  Redigitize(window);
  ASSERT_NE(window.DigitizeWindow(xray), nullptr);
  EXPECT_TRUE(messages.empty());
  TDigitizing& digitizing = window.DigitizeWindow(xray)->Digitizing();
  const TXRayElement* first = digitizing.Selected();
  const auto& points = xray->Type()->ElementList(ekDigPoint);
  std::size_t index = 0;
  while (index < points.size() && points[index].get() != first) ++index;
  ASSERT_LT(index, points.size());

  ASSERT_EQ(::write(master, "F01000  02000 \r\n", 16), 16);
  // Placed, and on to the next point.
  ASSERT_TRUE(QTest::qWaitFor([&] { return digitizing.Selected() != first; }, 5000));
  ASSERT_FALSE(digitizing.Placements(index).empty());
  EXPECT_EQ(digitizing.Placements(index).back(), (TFloatPoint{250, 500}));

  ::close(master);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 5000));
  QTest::qWait(100);  // a poll going on would bring the message again
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith("Read Error: ")) << messages[0].toStdString();
}

}  // namespace
}  // namespace lumacet
