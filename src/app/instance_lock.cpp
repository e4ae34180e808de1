#include "app/instance_lock.h"

#include <QDir>
#include <QStandardPaths>

namespace lumacet {

QString InstanceLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/Lumacet3.lock");
}

TInstanceLock::TInstanceLock(const QString& path) : fLock(path) {
  // A lock whose owner process is gone is stale at once; a living owner's never is.
  fLock.setStaleLockTime(0);
  fAcquired = fLock.tryLock(0);
}

}  // namespace lumacet
