// The running session on the user's D-Bus session bus: a second start asks it to bring its
// window forward instead of leaving the user to find it. Without a bus (a bare console, a
// container) both sides simply report that nothing was done.
#pragma once

#include <QDBusConnection>
#include <QObject>

namespace lumacet {

inline constexpr const char* kInstanceServiceName = "org.lumacet.Lumacet";
inline constexpr const char* kInstanceObjectPath = "/org/lumacet/Lumacet";

class TInstanceService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.lumacet.Lumacet.Instance")

 public:
  explicit TInstanceService(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
  // Takes the service name and offers Raise(); false without a bus or when another session
  // holds the name already.
  bool Register();

 public slots:
  Q_SCRIPTABLE void Raise();

 signals:
  void RaiseRequested();

 private:
  QDBusConnection fBus;
};

// Asks the session holding the service name to raise its window; false when none answered
// within two seconds. It blocks the calling thread, so a service in the same process must
// live on another thread (or run its events while the call waits) to answer.
bool RaiseRunningInstance(const QDBusConnection& bus = QDBusConnection::sessionBus());

}  // namespace lumacet
