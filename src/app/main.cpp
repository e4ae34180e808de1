// Start-up of the desktop program: settings and language, the single-session check, the
// splash window, the main window, and the patient named on the command line.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QSplashScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <string>

#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "shell/settings.h"

namespace {

// Opens the patient named on the command line after the main window's first paint: the
// window paints itself while its first expose event is handled.
class TOpenAfterFirstPaint : public QObject {
 public:
  TOpenAfterFirstPaint(lumacet::TMainWindow& window, std::string patient) : fWindow(window), fPatient(std::move(patient)) {
    if (fPatient.empty()) return;
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
    QTimer::singleShot(0, &fWindow, [this] { fWindow.OpenPatient(fPatient); });
  }

  lumacet::TMainWindow& fWindow;
  std::string fPatient;
};

// A language pack "lc3_<language>.qm" beside the program, for the user's language.
void LoadLanguagePack(QApplication& application, QTranslator& translator) {
  const QString folder = QCoreApplication::applicationDirPath();
  if (translator.load(QLocale(), QStringLiteral("lc3"), QStringLiteral("_"), folder))
    application.installTranslator(&translator);
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
  const std::string settingsPath =
      lumacet::DefaultSettingsPath(QCoreApplication::applicationFilePath().toStdString());
  lumacet::TSettings settings = lumacet::TSettings::Defaults(QDir::homePath().toStdString());
  settings.Load(settingsPath);

  QTranslator translator;
  LoadLanguagePack(application, translator);

  lumacet::TInstanceLock lock(lumacet::InstanceLockPath());
  if (!lock.Acquired()) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumacet"),
                    lumacet::DisplayText(lumacet::kAlreadyRunningQuestion), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return 0;
  }

  QApplication::setApplicationDisplayName(QStringLiteral("Lumacet"));
  QSplashScreen splash(SplashPicture());
  splash.show();
  splash.showMessage(QObject::tr("Creating windows..."), Qt::AlignBottom | Qt::AlignHCenter);
  application.processEvents();

  lumacet::TMainWindow window(std::move(settings), settingsPath);
  // Shown first: finish() waits for the window it is given to appear, which it would not
  // do before show().
  window.show();
  splash.finish(&window);

  // QApplication has taken its own options; what remains first is the patient's name. The
  // patient opens once the window has painted itself, so the user sees it at once.
  const QStringList arguments = QCoreApplication::arguments();
  TOpenAfterFirstPaint opener(window, arguments.size() > 1 ? arguments.at(1).toStdString() : std::string());
  return application.exec();
}
