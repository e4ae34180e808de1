// A second start finds the running session on a real D-Bus bus: a private dbus-daemon the
// test starts, so that neither the desktop's bus nor another test's service is touched.
#include "platform/instance_service.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>

#include "platform/gui_application.h"

namespace lumacet {
namespace {

class InstanceServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
      GTEST_SKIP() << "dbus-daemon is not installed (scripts/bootstrap.sh installs it)";
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForStarted()) << daemon.errorString().toStdString();
    ASSERT_TRUE(daemon.waitForReadyRead(5000));
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
  }
  void TearDown() override {
    for (const QString& name : {QStringLiteral("first"), QStringLiteral("second")})
      QDBusConnection::disconnectFromBus(name);
    daemon.kill();
    daemon.waitForFinished();
  }
  QDBusConnection Connect(const QString& name) { return QDBusConnection::connectToBus(address, name); }

  QProcess daemon;
  QString address;
};

TEST_F(InstanceServiceTest, ASecondStartRaisesTheRunningSessionAndOnlyOneHoldsTheName) {
  QDBusConnection first = Connect(QStringLiteral("first"));
  QDBusConnection second = Connect(QStringLiteral("second"));
  ASSERT_TRUE(first.isConnected() && second.isConnected());

  EXPECT_FALSE(RaiseRunningInstance(second));  // nobody runs yet

  TInstanceService running(first);
  ASSERT_TRUE(running.Register());
  int raised = 0;
  QObject::connect(&running, &TInstanceService::RaiseRequested, [&raised] { ++raised; });
  // The second start is another program that blocks while it asks; this one keeps its events
  // flowing meanwhile, as the running session's main loop does.
  auto answered = std::async(std::launch::async, [&second] { return RaiseRunningInstance(second); });
  while (answered.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_TRUE(answered.get());
  QCoreApplication::processEvents();
  EXPECT_EQ(raised, 1);

  TInstanceService another(second);
  EXPECT_FALSE(another.Register());
}

TEST_F(InstanceServiceTest, WithoutABusNothingIsDoneAndNothingIsClaimed) {
  const QDBusConnection none = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "first");
  ASSERT_FALSE(none.isConnected());
  EXPECT_FALSE(RaiseRunningInstance(none));
  TInstanceService service(none);
  EXPECT_FALSE(service.Register());
}

}  // namespace
}  // namespace lumacet
