// The language of the user interface: the chosen pack installed at start-up, before the
// first window, and the languages offered in Options by the names their speakers use.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <filesystem>
#include <string>

#include "support/marked_text.h"

namespace lumacet {

// Installs the pack of `language` (empty: none) into `application`, and with it Qt's own
// translations of its standard buttons and dialogs where Qt has them. The translators live
// as long as the application. A pack that is missing, unreadable or empty leaves the
// built-in English texts in use; the result then says what the user is to be told, and is
// empty otherwise.
TText InstallLanguage(QCoreApplication& application, const std::string& language,
                      const std::filesystem::path& programFolder);

// "Deutsch" for "de"; the English entry for the empty name.
QString LanguageDisplayName(const std::string& language);

}  // namespace lumacet
