// F1 and the "&Help" buttons open the page of the window they are pressed in, in the browser
// that the desktop hands file addresses to; here a text browser stands in for it.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <string>
#include <vector>

#include "app/magnification_dialog.h"
#include "app/main_window.h"
#include "app/mean_dialog.h"
#include "app/movement_dialogs.h"
#include "app/options_dialog.h"
#include "app/radiograph_dialogs.h"
#include "app/qt_prompts.h"
#include "ui_test_support.h"

namespace lumacet {
namespace {

class ContextHelpTest : public ::testing::Test {
 protected:
  // The desktop hands file addresses to a handler that it calls by name; a signal can be such
  // a handler, and the test keeps what it carries.
  ContextHelpTest() {
    InstallContextHelp();
    QObject::connect(&fHandler, &QTextBrowser::anchorClicked, [this](const QUrl& url) { fOpened.push_back(url); });
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &fHandler, "anchorClicked");
  }
  ~ContextHelpTest() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  // The page and section of the one help request since the last call ("options.html#image").
  std::string Opened() {
    std::vector<QUrl> opened;
    opened.swap(fOpened);
    if (opened.size() != 1) return std::to_string(opened.size()) + " pages opened";
    const std::string page = opened[0].fileName().toStdString();
    return opened[0].hasFragment() ? page + "#" + opened[0].fragment().toStdString() : page;
  }

  static void PressF1(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << window->windowTitle().toStdString();
    QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keyClick(focus, Qt::Key_F1);
  }

  test::TExampleFolder example;
  QTextBrowser fHandler;
  std::vector<QUrl> fOpened;
};

TEST_F(ContextHelpTest, F1OpensTheSectionOfTheWindowItIsPressedIn) {
  TMainWindow window(example.Settings, example.Folder.File("lumacet.ini"));
  PressF1(&window);
  EXPECT_EQ(Opened(), "index.html") << "F1 in the main window is Help > Contents";

  TMagnificationDlg magnification(52, &window);
  PressF1(&magnification);
  EXPECT_EQ(Opened(), "magnification.html");
  magnification.hide();

  // A tool window of the main window, too, answers F1 itself, not through the main window's Contents.
  TScaleDlg scale(1.1, &window);
  scale.setWindowFlag(Qt::Tool);
  PressF1(&scale);
  EXPECT_EQ(Opened(), "movement-window.html#scale");
  scale.hide();

  // A dialog without help of its own explains itself by the window it was opened from; one
  // opened from nothing with help shows the contents.
  QDialog question(&magnification);
  PressF1(&question);
  EXPECT_EQ(Opened(), "magnification.html");
  question.hide();
  QDialog orphan;
  PressF1(&orphan);
  EXPECT_EQ(Opened(), "index.html");
}

TEST_F(ContextHelpTest, EachPageOfTheOptionsHasItsOwnSection) {
  test::TRecordingPrompts prompts;
  TSettings settings = example.Settings;
  TLCOptions dialog(settings, prompts, TTextFormats{}, {"Lateral Ceph"}, [] {});
  auto* pages = dialog.findChild<QTabWidget*>();
  ASSERT_NE(pages, nullptr);
  const char* sections[] = {"view", "radiograph", "general", "image", "results", "styles", "input", "morph"};
  ASSERT_EQ(pages->count(), static_cast<int>(std::size(sections)));
  for (int page = pages->count() - 1; page >= 0; --page) {
    pages->setCurrentIndex(page);
    PressF1(&dialog);
    EXPECT_EQ(Opened(), std::string("options.html#") + sections[page]) << page;
  }
  // The Help button opens the section of the page shown.
  pages->setCurrentIndex(7);
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
  EXPECT_EQ(Opened(), "options.html#morph");
}

TEST_F(ContextHelpTest, EachModeOfTheParticularsDialogHasItsOwnSection) {
  test::TRecordingPrompts prompts;
  TRadiographDialogContext context;
  context.Prompts = &prompts;
  context.TypeNames = {"Lateral Ceph"};
  for (const auto& [mode, opened] : {std::pair{TNewXRayDlg::TMode::New, "radiograph-dialogs.html#new"},
                                     std::pair{TNewXRayDlg::TMode::Properties, "radiograph-dialogs.html#properties"}}) {
    TNewXRayDlg dialog(mode, context);
    PressF1(&dialog);
    EXPECT_EQ(Opened(), opened);
  }
}

TEST_F(ContextHelpTest, TheHelpButtonOfACollectionDialogOpensItsSection) {
  TWorkspaceOptions options;
  options.Folders = {example.Folder.Path().string(), example.Folder.Path().string()};
  TWorkspace workspace(options);
  test::TRecordingPrompts prompts;
  TPopulationContext context;
  context.Workspace = &workspace;
  context.Prompts = &prompts;
  TMeanForm dialog(context);
  dialog.show();
  test::Child<QPushButton>(&dialog, "help")->click();
  EXPECT_EQ(Opened(), "mean-and-shape-sort.html#mean");
  PressF1(&dialog);
  EXPECT_EQ(Opened(), "mean-and-shape-sort.html#mean");
}

}  // namespace
}  // namespace lumacet
