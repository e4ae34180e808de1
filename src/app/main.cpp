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

#include "app/instance_lock.h"
#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "shell/settings.h"

namespace {

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
  splash.finish(&window);
  window.show();

  // QApplication has taken its own options; what remains first is the patient's name.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    const std::string patient = arguments.at(1).toStdString();
    QTimer::singleShot(0, &window, [&window, patient] { window.OpenPatient(patient); });
  }
  return application.exec();
}
