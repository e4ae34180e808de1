// Start-up of the desktop program: settings and language, the single-session check, the
// splash window, the main window, and the patient named on the command line.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSplashScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <string>

#include "app/instance_lock.h"
#include "app/language_pack.h"
#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "platform/automation_service.h"
#include "platform/instance_service.h"
#include "shell/ini_file.h"
#include "shell/language_packs.h"
#include "shell/settings.h"
#include "shell/user_levels.h"

namespace {

// Opens what the command line names after the main window's first paint (the window paints
// itself while its first expose event is handled): the files a file manager or the desktop's
// menu entry hands over, or else a patient of the default data file.
class TOpenAfterFirstPaint : public QObject {
 public:
  TOpenAfterFirstPaint(lumacet::TMainWindow& window, QStringList arguments)
      : fWindow(window), fArguments(std::move(arguments)) {
    if (fArguments.isEmpty()) return;
    if (QWindow* handle = fWindow.windowHandle(); handle && !handle->isExposed())
      handle->installEventFilter(this);
    else
      Open();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      Open();
    }
    return false;
  }

 private:
  void Open() {
    // Queued: it runs once the event at hand, the first paint with it, is done.
    QTimer::singleShot(0, &fWindow, [this] {
      const bool files = std::all_of(fArguments.begin(), fArguments.end(),
                                     [](const QString& argument) { return QFileInfo(argument).isFile(); });
      if (files)
        fWindow.FilesDropped(fArguments, -1);
      else
        fWindow.OpenPatient(fArguments.front().toStdString());
    });
  }

  lumacet::TMainWindow& fWindow;
  QStringList fArguments;
};

// The password dialog when the settings hold passwords; plain ones an older file holds are
// replaced by their hashes at once, which only the administrator is told about if it fails.
lumacet::TUserLevels DetermineLevel(const std::string& settingsPath) {
  lumacet::TIniFile ini;
  ini.Load(settingsPath);
  const lumacet::TUserLevels levels = lumacet::DetermineUserLevel(ini, []() -> std::optional<std::string> {
    bool entered = false;
    const QString entry = QInputDialog::getText(nullptr, lumacet::DisplayText(lumacet::kPasswordTitle),
                                                lumacet::DisplayText(lumacet::kPasswordPrompt), QLineEdit::Password,
                                                QString(), &entered);
    if (!entered) return std::nullopt;
    return entry.toStdString();
  });
  if (const lumacet::TResult hashed = lumacet::HashPlainPasswords(settingsPath);
      !hashed && levels.Level() == lumacet::TUserLevel::Administrator)
    QMessageBox::warning(nullptr, QStringLiteral("Lumacet"), lumacet::DisplayText(hashed.TextWithReason()));
  return levels;
}

QPixmap SplashPicture() {
  QPixmap picture(360, 160);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  QFont font = painter.font();
  font.setPointSize(28);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Lumacet"));
  return picture;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The desktop finds the menu entry, and with it the icon, under the program's own name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.lumacet.Lumacet"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/lumacet/org.lumacet.Lumacet.svg")));
  const std::string settingsPath =
      lumacet::DefaultSettingsPath(QCoreApplication::applicationFilePath().toStdString());
  // The chosen language holds from the first text shown; a pack that cannot be used leaves
  // English, which the user is told in it.
  if (const lumacet::TText unusable =
          lumacet::InstallLanguage(application, lumacet::ChosenLanguage(settingsPath),
                                   QCoreApplication::applicationDirPath().toStdString());
      !unusable.Empty())
    QMessageBox::warning(nullptr, QStringLiteral("Lumacet"), lumacet::DisplayText(unusable));
  // The level is decided before the settings are read, and holds until the program ends.
  const lumacet::TUserLevels levels = DetermineLevel(settingsPath);
  lumacet::TSettings settings = lumacet::TSettings::Defaults(QDir::homePath().toStdString());
  lumacet::TText dropped;
  settings.Load(settingsPath, &dropped);
  if (!dropped.Empty()) QMessageBox::warning(nullptr, QStringLiteral("Lumacet"), lumacet::DisplayText(dropped));

  // Started by the automation service (D-Bus activation): no splash, and the window stays
  // hidden until a client shows it.
  QStringList arguments = QCoreApplication::arguments().mid(1);
  const bool automated = arguments.removeAll(QStringLiteral("--automation")) > 0;

  lumacet::TInstanceLock lock(lumacet::InstanceLockPath());
  if (!lock.Acquired() && automated) return 1;  // the running session holds the bus name
  if (!lock.Acquired()) {
    // The running window comes forward first, so the user sees where the work already is.
    lumacet::RaiseRunningInstance();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumacet"),
                    lumacet::DisplayText(lumacet::kAlreadyRunningQuestion), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return 0;
  }

  QApplication::setApplicationDisplayName(QStringLiteral("Lumacet"));
  std::optional<QSplashScreen> splash;
  if (!automated) {
    splash.emplace(SplashPicture());
    splash->show();
    splash->showMessage(QObject::tr("Creating windows..."), Qt::AlignBottom | Qt::AlignHCenter);
    application.processEvents();
  }

  lumacet::TMainWindow window(std::move(settings), settingsPath);
  window.Workspace().SetUserLevels(levels);
  if (splash) {
    // Shown first: finish() waits for the window it is given to appear, which it would not
    // do before show().
    window.show();
    splash->finish(&window);
  }

  // The objects are on the bus before the name is taken, so that a client whose call
  // started the program finds them.
  lumacet::TAutomationService automation(window);
  automation.Register();

  lumacet::TInstanceService instance;
  QObject::connect(&instance, &lumacet::TInstanceService::RaiseRequested, &window, [&window] {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
  });
  // A second session started anyway leaves the name to the first.
  instance.Register();

  // QApplication has taken its own options; what remains are files or the patient's name.
  // They open once the window has painted itself, so the user sees them at once.
  TOpenAfterFirstPaint opener(window, arguments);
  return application.exec();
}
