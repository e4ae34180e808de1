// Qt painting needs one QGuiApplication in the process (fonts, the offscreen platform).
#pragma once

#include <QGuiApplication>

namespace lumacet::test {

inline void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "test_platform";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace lumacet::test
