#include "platform/user_locale.h"

#include <QLocale>
#include <QString>

namespace lumacet {

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point.at(0).unicode() < 0x80 ? static_cast<char>(point.at(0).unicode()) : '.';
}

}  // namespace lumacet
