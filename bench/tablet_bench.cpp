// A tablet report from the line to the tracing: a 16-byte report of the default template
// written into a pseudo-terminal (the tablet's end of the serial line), read by the 10 ms
// poll's Poll on the port, turned into tracing units and placed with DigitizeAt on the
// example lateral type (56 points). The figure must stay well under the poll interval.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "bench_support.h"
#include "digitize/digitizer.h"
#include "digitize/digitizing.h"
#include "model/point_elements.h"

namespace lumacet {
namespace {

void BM_SerialReportToDigitizeAt(benchmark::State& state) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    state.SkipWithError("no pseudo-terminals on this machine");
    return;
  }
  TDigitizer digitizer;
  digitizer.Port = ::ptsname(master);
  digitizer.Resolution = 40;
  digitizer.YOrigin = 2400;
  if (const TDigitizerOpen opened = digitizer.Open(); !opened.Outcome)
    throw std::runtime_error(opened.Outcome.Text().English());

  TXRayType type;
  LoadExampleType(type);
  TXRay xray;
  xray.SetType(&type);
  TResultOf<std::unique_ptr<TDigitizing>> started = TDigitizing::Start(xray, dmDigitizing);
  if (!started) throw std::runtime_error(started.Outcome().Text().English());
  TDigitizing& digitizing = **started;

  int report = 0;
  int placed = 0;
  for (auto _ : state) {
    char bytes[17];
    std::snprintf(bytes, sizeof bytes, "F%05d  %05d \r\n", 20000 + report % 500, 20000 + report % 300);
    ++report;
    if (::write(master, bytes, 16) != 16) throw std::runtime_error("the report could not be written");
    TPollResult result;
    while ((result = digitizer.Poll()).Code == kPollNothing) {
    }
    if (result.Code != kPollReport) throw std::runtime_error(result.Message.English());
    while (digitizing.Selected()->KindCode() != ekDigPoint) digitizing.Next();
    placed += digitizing.DigitizeAt(digitizer.X, digitizer.Y).Placed ? 1 : 0;
  }
  state.counters["placed"] = placed;
  digitizer.Close();
  ::close(master);
}
BENCHMARK(BM_SerialReportToDigitizeAt)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumacet
