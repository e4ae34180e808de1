// One automation round trip over the session bus: a client reads a radiograph's particular
// from the service, as a script would. Needs a session bus (dbus-run-session); without one
// the benchmark says so and skips.
#include <benchmark/benchmark.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <string>

#include "bench_support.h"
#include "platform/automation_service.h"
#include "shell/automation.h"

namespace lumacet {
namespace {

class TSilentPrompts : public TWorkspacePrompts {
 public:
  void ShowMessage(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  TAnswer AskYesNoCancel(const std::string&) override { return TAnswer::Cancel; }
  bool OfferSave(TRadiograph&) override { return true; }
};

// The program's side without a window.
class TBenchHost : public TAutomationHost {
 public:
  TBenchHost() : fWorkspace([] {
      TWorkspaceOptions options;
      options.Folders.TypeFolder = ExamplesFolder().string();
      return options;
    }()) {}
  TWorkspace& Workspace() override { return fWorkspace; }
  const TSettings& Settings() const override { return fSettings; }
  void ChangeSettings(const std::function<void(TSettings&)>& change) override { change(fSettings); }
  TResult SaveSettingsQuietly() override { return {}; }
  TRecordBrowserOptions BrowserOptions() override { return {}; }
  TWorkspacePrompts& Prompts() override { return fPrompts; }
  void Opened(int) override {}
  void Refresh() override {}
  bool RunCommand(std::string_view) override { return false; }
  bool SetCommandChecked(std::string_view, bool) override { return false; }
  void SetVisible(bool) override {}
  bool Busy() const override { return false; }

 private:
  TSilentPrompts fPrompts;
  TWorkspace fWorkspace;
  TSettings fSettings = TSettings::Defaults(".");
};

void BM_ReadAParticularOverTheBus(benchmark::State& state) {
  EnsureGuiApplication();
  QDBusConnection server = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench-server"));
  QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench-client"));
  if (!server.isConnected() || !client.isConnected()) {
    state.SkipWithError("no session bus: run the benchmark under dbus-run-session");
    return;
  }
  TBenchHost host;
  TAutomationService service(host, server);
  if (!service.Register()) {
    state.SkipWithError("the automation objects could not be put on the bus");
    return;
  }
  TAutomation& automation = service.Automation();
  const int slot = *automation.CreateRadiograph("Lateral Ceph").Value;
  static_cast<void>(automation.SetText(*automation.Item(slot), TParticular::Name, "Emma Lindqvist"));
  const QString path = TAutomationService::RadiographPath(automation.Item(slot)).path();
  QDBusMessage call = QDBusMessage::createMethodCall(server.baseService(), path,
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("Get"));
  call << QString::fromLatin1(kAutomationRadiographInterface) << QStringLiteral("Name");
  for (auto _ : state) {
    // The server runs on this thread too: the client's wait lets it answer.
    const QDBusMessage reply = client.call(call, QDBus::BlockWithGui, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage ||
        reply.arguments().value(0).value<QDBusVariant>().variant().toString() != QLatin1String("Emma Lindqvist")) {
      state.SkipWithError("the service did not answer with the name");
      break;
    }
  }
}
BENCHMARK(BM_ReadAParticularOverTheBus)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
