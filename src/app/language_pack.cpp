#include "app/language_pack.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/qt_prompts.h"
#include "shell/language_packs.h"

namespace lumacet {

TText InstallLanguage(QCoreApplication& application, const std::string& language,
                      const std::filesystem::path& programFolder) {
  if (language.empty()) return {};
  const std::filesystem::path pack = FindLanguagePack(programFolder, language);
  if (pack.empty()) return LanguagePackMissing(programFolder, language);
  auto* translator = new QTranslator(&application);
  // A file that is not a message file, or one that holds no message, fails here alike.
  if (!translator->load(QString::fromStdString(pack.string())) || translator->isEmpty()) {
    delete translator;
    return TText(kLanguagePackUnusableMessage, {pack.string()});
  }
  QCoreApplication::installTranslator(translator);
  auto* qtTranslator = new QTranslator(&application);
  if (qtTranslator->load(QLocale(QString::fromStdString(language)), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtTranslator);
  else
    delete qtTranslator;
  return {};
}

QString LanguageDisplayName(const std::string& language) {
  if (language.empty()) return DisplayText(TText(kEnglishLanguageEntry));
  const QLocale locale(QString::fromStdString(language));
  const QString name = locale.nativeLanguageName();
  // A name Qt does not know maps to the C locale; its file name is all the user can go by.
  if (locale.language() == QLocale::C || name.isEmpty()) return QString::fromStdString(language);
  return name.left(1).toUpper() + name.mid(1);
}

}  // namespace lumacet
