#include "platform/instance_service.h"

#include <QDBusMessage>

namespace lumacet {

namespace {

constexpr int kRaiseTimeoutMs = 2000;

}  // namespace

TInstanceService::TInstanceService(QDBusConnection bus, QObject* parent) : QObject(parent), fBus(std::move(bus)) {}

bool TInstanceService::Register() {
  if (!fBus.isConnected()) return false;
  if (!fBus.registerObject(QString::fromLatin1(kInstanceObjectPath), this, QDBusConnection::ExportScriptableSlots))
    return false;
  if (fBus.registerService(QString::fromLatin1(kInstanceServiceName))) return true;
  fBus.unregisterObject(QString::fromLatin1(kInstanceObjectPath));
  return false;
}

void TInstanceService::Raise() { emit RaiseRequested(); }

bool RaiseRunningInstance(const QDBusConnection& bus) {
  if (!bus.isConnected()) return false;
  const QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kInstanceServiceName), QString::fromLatin1(kInstanceObjectPath),
      QStringLiteral("org.lumacet.Lumacet.Instance"), QStringLiteral("Raise"));
  // Plain blocking: the caller is a start-up with no window yet, and waiting with events flowing
  // (BlockWithGui) can miss a reply that comes back before its watcher is set up, then waits for ever.
  const QDBusMessage reply = QDBusConnection(bus).call(call, QDBus::Block, kRaiseTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace lumacet
