// What the window tests share: one application for the whole program, and a folder holding
// the example type, data file and images with settings that point at it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "shell/settings.h"
#include "shell/temp_folder.h"
#include "shell/workspace.h"

namespace lumacet::test {

// Ends the application after the last test, while Qt's own globals still live: left to the
// static destructors, it would be destroyed after some of them and crash on exit.
class TApplicationEnvironment : public ::testing::Environment {
 public:
  explicit TApplicationEnvironment(QApplication* application) : fApplication(application) {}
  void TearDown() override { delete fApplication; }

 private:
  QApplication* fApplication;
};

// A modal window that nothing answers holds its test in the window's own event loop until
// ctest gives up on the whole program minutes later. One that stays the active modal window
// this long fails the test instead, and is closed so that the test runs on to its end.
inline constexpr int kModalPatienceMs = 20000;

inline void CloseStuckModals() {
  auto* watch = new QTimer(QCoreApplication::instance());
  QObject::connect(watch, &QTimer::timeout, [] {
    static QPointer<QWidget> seen;
    static QElapsedTimer since;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != seen.data()) {
      seen = modal;
      since.start();
      return;
    }
    if (modal == nullptr || since.elapsed() < kModalPatienceMs) return;
    ADD_FAILURE() << "the window \"" << modal->windowTitle().toStdString() << "\" stayed open "
                  << kModalPatienceMs / 1000 << " s with nothing to answer it";
    seen = nullptr;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  });
  watch->start(100);
}

// The widgets need an application; the test environment makes it offscreen.
inline QApplication& Application() {
  static int argc = 1;
  static char name[] = "test_app_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    auto* created = new QApplication(argc, argv);
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment(created));
    CloseStuckModals();
    return created;
  }();
  return *application;
}

// Prompts that must not be needed.
class TNoPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph&) override { return false; }
};

// Prompts that keep the messages shown and must not be asked anything.
class TRecordingPrompts : public TNoPrompts {
 public:
  void ShowMessage(const std::string& text) override { Shown.push_back(text); }
  std::vector<std::string> Shown;
};

// The child of that object name; a failure when there is none.
template <class T>
T* Child(QWidget* parent, const char* name) {
  auto* child = parent->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Acts on the next modal window with that title as soon as it is shown. A watch for a window
// that never comes ends with its test, so that it cannot act in a later one, and is freed
// with the application at the latest.
// `shown` (false: only a modal one) takes any window shown on its own, such as a type editor
// that leaves the tracing clickable.
inline void WhenModal(const QString& title, std::function<void(QWidget*)> act, bool shown = false) {
  auto* timer = new QTimer(QCoreApplication::instance());
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  QObject::connect(timer, &QTimer::timeout, [timer, test, title, shown, act = std::move(act)] {
    if (::testing::UnitTest::GetInstance()->current_test_info() != test) {
      timer->stop();
      timer->deleteLater();
      return;
    }
    QWidget* window = QApplication::activeModalWidget();
    if (shown && window == nullptr)
      for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowTitle().startsWith(title)) window = top;
    if (window == nullptr || !window->windowTitle().startsWith(title)) return;
    timer->stop();
    timer->deleteLater();
    act(window);
  });
  timer->start(10);
}

// Answers a file dialog with `path`. The name goes into the dialog's own box: selectFile
// leaves the box alone once it has the keyboard focus, so a dialog activated before its
// watch acts (as it may be on a loaded machine) would have nothing to accept and stay open.
inline void ChooseFile(QWidget* modal, const std::string& path) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  auto* name = dialog == nullptr ? nullptr : dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (name == nullptr) {
    ADD_FAILURE() << "\"" << modal->windowTitle().toStdString() << "\" is not a file dialog with a name box";
    modal->close();
    return;
  }
  const QString chosen = QString::fromStdString(path);
  dialog->selectFile(chosen);
  name->setText(chosen);
  QMetaObject::invokeMethod(dialog, "accept");
  if (dialog->isVisible()) {
    ADD_FAILURE() << "the file dialog did not take " << path;
    dialog->reject();
  }
}

inline void ClickButton(QWidget* window, const QString& caption) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == caption) {
      button->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
}

// The bundled example copied into a fresh folder, and settings whose folders are that folder.
class TExampleFolder {
 public:
  TExampleFolder() {
    Application();
    const std::filesystem::path examples = std::filesystem::path(LUMACET_SOURCE_DIR) / "examples";
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".lcr" || extension == ".CSV" || extension == ".csv" || extension == ".jpg")
        std::filesystem::copy_file(entry.path(), Folder.Path() / entry.path().filename());
    }
    Settings = TSettings::Defaults(Folder.Path().string());
  }

  std::string DataFile() const { return Folder.File("PATIENT.CSV"); }

  TTempFolder Folder;
  TSettings Settings;
};

// The main window on a copy of the example, shown at the given size.
struct TExampleWindow {
  TExampleWindow(int width, int height) : Window(Example.Settings, Example.Folder.File("lumacet.ini")) {
    Window.resize(width, height);
    Window.show();
  }
  TExampleFolder Example;
  TMainWindow Window;
};

}  // namespace lumacet::test
