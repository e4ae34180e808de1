// Tablets for real: a pseudo-terminal stands in for the serial line, so the port is opened,
// set and read by the same system calls as a tablet's, and recorded report streams are
// played into it. The definitions' settings strings are read and written as the settings
// file holds them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "digitize/digitizer.h"

namespace lumacet {
namespace {

using namespace std::chrono_literals;

// The tablet's end of the line: what is written here arrives at the port the digitizer opens.
class TPseudoTerminal {
 public:
  TPseudoTerminal() {
    fMaster = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fMaster >= 0 && ::grantpt(fMaster) == 0 && ::unlockpt(fMaster) == 0) fSlave = ::ptsname(fMaster);
  }
  ~TPseudoTerminal() { CloseMaster(); }
  bool Ready() const { return !fSlave.empty(); }
  const std::string& Slave() const { return fSlave; }
  void Send(std::string_view bytes) const {
    ASSERT_EQ(::write(fMaster, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    // The line discipline passes the bytes on a moment later.
    std::this_thread::sleep_for(20ms);
  }
  // What the digitizer wrote to the tablet.
  std::string Received() const {
    std::this_thread::sleep_for(20ms);
    std::string bytes;
    char buffer[256];
    ::fcntl(fMaster, F_SETFL, ::fcntl(fMaster, F_GETFL) | O_NONBLOCK);
    for (ssize_t got; (got = ::read(fMaster, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(got));
    return bytes;
  }
  void CloseMaster() {
    if (fMaster >= 0) ::close(fMaster);
    fMaster = -1;
  }

 private:
  int fMaster = -1;
  std::string fSlave;
};

struct TDigitizerFixture : ::testing::Test {
  void SetUp() override {
    if (!tablet.Ready()) GTEST_SKIP() << "no pseudo-terminals on this machine";
    digitizer.Port = tablet.Slave();
    digitizer.Resolution = 40;
  }
  void Open() {
    const TDigitizerOpen opened = digitizer.Open();
    ASSERT_TRUE(opened.Outcome) << opened.Outcome.Text().English();
    ASSERT_TRUE(opened.WriteErrors.empty());
  }
  TPseudoTerminal tablet;
  TDigitizer digitizer;
};

// The system's text for an errno, in the user's language as the messages give it.
std::string SystemText(int error) { return std::strerror(error); }

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST_F(TDigitizerFixture, ReportsOfEachTemplateArriveAtTheirTracingCoordinates) {
  struct TCase {
    const char* Template;
    std::string Report;
    double YOrigin;
    double X, Y;  // tracing units at 40 counts per millimetre
  };
  const TCase cases[] = {
      {"FxxxxxSSyyyyySCL", "F01000  02000 \r\n", 0, 250, -500},
      {"FxxxxxSSyyyyySCL", "F\xb1\x30\x30\x30\x30  00400 \r\n", 2000, 2500, 1900},  // top bit cleared: 0xB1 is "1"
      {"xxxx,yyyy\r", "  -8,  12\r", 0, -2, -3},
      {"FX.Y.", Bytes({70, 16, 39, 32, 78}), 0, 2500, -5000},  // 10000 and 20000 counts
      {"XxYy", Bytes({40, 0, 80, 0}), 0, 10, -20},              // high bytes of 0 within a report
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Template);
    digitizer.Close();
    digitizer.ControlString = c.Template;
    digitizer.YOrigin = c.YOrigin;
    Open();
    tablet.Send(c.Report);
    const TPollResult result = digitizer.Poll();
    ASSERT_EQ(result.Code, kPollReport) << result.Message.English();
    EXPECT_DOUBLE_EQ(digitizer.X, c.X);
    EXPECT_DOUBLE_EQ(digitizer.Y, c.Y);
    EXPECT_EQ(digitizer.Poll().Code, kPollNothing);
  }
}

TEST_F(TDigitizerFixture, ReportsAreCutByCountAcrossReads) {
  Open();
  EXPECT_EQ(digitizer.Poll().Code, kPollNothing);  // a silent tablet: no wait, no error
  tablet.Send("F01000  0");
  tablet.Send("2");
  EXPECT_EQ(digitizer.Poll().Code, kPollNothing);
  tablet.Send("000 \r\n");
  ASSERT_EQ(digitizer.Poll().Code, kPollReport);
  EXPECT_EQ(digitizer.LastReport, "F01000  02000 \r\n");

  // Twenty bytes: one report now, four kept for the next.
  tablet.Send("F00040  00080 \r\nF000");
  ASSERT_EQ(digitizer.Poll().Code, kPollReport);
  EXPECT_DOUBLE_EQ(digitizer.X, 10);
  EXPECT_EQ(digitizer.Poll().Code, kPollNothing);
  tablet.Send("80  00040 \r\n");
  ASSERT_EQ(digitizer.Poll().Code, kPollReport);
  EXPECT_DOUBLE_EQ(digitizer.X, 20);
  EXPECT_DOUBLE_EQ(digitizer.Y, -10);

  // Opening again empties what was kept.
  tablet.Send("F0004");
  EXPECT_EQ(digitizer.Poll().Code, kPollNothing);
  digitizer.Close();
  Open();
  tablet.Send("F00080  00040 \r\n");
  ASSERT_EQ(digitizer.Poll().Code, kPollReport);
  EXPECT_DOUBLE_EQ(digitizer.X, 20);
}

TEST_F(TDigitizerFixture, MalformedReportsAreRefusedAndTheNextStartsAfterThem) {
  struct TCase {
    const char* Template;
    std::string Stream;
    std::string Message;
  };
  const TCase cases[] = {
      {"FxxxxxSSyyyyySCL", std::string("\0F0100  02000 \r\n", 16), "Digitizer Error.\r\n\r\nNull character received."},
      {"FxxxxxSSyyyyySCL", "\x80" "F0100  02000 \r\n", "Digitizer Error.\r\n\r\nNull character received."},
      {"FxxxxxSSyyyyySCL", "F01\r00  02000 \r\n", "Digitizer Error.\r\n\r\nControl character received."},
      {"FxxxxxSSyyyyySCL", "F01A00  02000 \r\n",
       "Digitizer Error.\r\nF01A00  02000 \r\n\r\n01A00\r\nCannot convert to number."},
      {"FYxxX", "F1234", "Digitizer Error.\r\n\r\nInvalid binary."},  // "X" with no byte after it
      {"FX.", "F12", "Digitizer Error.\r\n\r\nInvalid binary."},      // no "Y" at all
      {"F--", "F12", "Digitizer Error.\r\nF12\r\n\r\nCannot convert to number."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Template + (" " + c.Message));
    digitizer.Close();
    digitizer.ControlString = c.Template;
    Open();
    tablet.Send(c.Stream);
    const TPollResult result = digitizer.Poll();
    EXPECT_EQ(result.Code, kPollMalformed);
    EXPECT_EQ(result.Message.English(), c.Message);
  }
  // No resynchronising: after a bad report the next bytes are the next report.
  digitizer.Close();
  digitizer.ControlString = "FxxxxxSSyyyyySCL";
  Open();
  tablet.Send("F0100?  02000 \r\nF00040  00080 \r\n");
  EXPECT_EQ(digitizer.Poll().Code, kPollMalformed);
  EXPECT_EQ(digitizer.Poll().Code, kPollReport);
  EXPECT_DOUBLE_EQ(digitizer.X, 10);
}

TEST_F(TDigitizerFixture, OpenSetsTheLineAndSendsTheCommands) {
  struct TCase {
    const char* Baud;
    int Parity, DataBits, StopBits;
    speed_t Speed;
    tcflag_t ParityFlags, Stop;
  };
  const TCase cases[] = {
      {"9600", 2, 8, 2, B9600, PARENB, CSTOPB},
      {"19200", 1, 7, 0, B19200, PARENB | PARODD, 0},
      {"1200", 3, 5, 0, B1200, PARENB | PARODD | CMSPAR, 0},
      {"2400", 4, 6, 2, B2400, PARENB | CMSPAR, CSTOPB},
      {"300", 0, 8, 0, B300, 0, 0},
  };
  // A descriptor of the test's own, opened before the port is locked, to read the settings.
  const int observer = ::open(tablet.Slave().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(observer, 0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Baud);
    digitizer.Close();
    digitizer.BaudRate = c.Baud;
    digitizer.Parity = c.Parity;
    digitizer.DataBits = c.DataBits;
    digitizer.StopBits = c.StopBits;
    Open();
    termios line{};
    ASSERT_EQ(::tcgetattr(observer, &line), 0);
    EXPECT_EQ(::cfgetispeed(&line), c.Speed);
    EXPECT_EQ(::cfgetospeed(&line), c.Speed);
    // A pseudo-terminal forces eight bits and clears the parity enable whatever it is
    // given, so only the kind of parity (odd, mark, space) can be seen there.
    EXPECT_EQ(line.c_cflag & (PARODD | CMSPAR), c.ParityFlags & (PARODD | CMSPAR));
    EXPECT_EQ(line.c_cflag & CSTOPB, c.Stop);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
  }
  ::close(observer);

  // A rate outside the standard list is set as it stands.
  digitizer.Close();
  digitizer.BaudRate = "14400";
  Open();

  digitizer.Close();
  digitizer.InitCommands = {"<ESC>B", "M<CR>1"};
  Open();
  EXPECT_EQ(tablet.Received(), Bytes({27, 66, 13, 10, 'M', 13, '1', 13, 10}));
}

TEST_F(TDigitizerFixture, OpenFailuresSayWhyAndLeaveThePortClosed) {
  struct TCase {
    const char* Name;
    std::function<void(TDigitizer&)> Change;
    std::string Message;
    bool CanRetry;
  };
  const TCase cases[] = {
      {"missing port", [](TDigitizer& d) { d.Port = "/dev/lumacet-no-such-port"; },
       "Unable to Connect with Digitizer.\r\n\r\nError: " + SystemText(ENOENT), true},
      {"1.5 stop bits", [](TDigitizer& d) { d.StopBits = 1; }, "Unable to Set Comm State.\r\n\r\n" + SystemText(EINVAL),
       false},
      {"baud not a number", [](TDigitizer& d) { d.BaudRate = "fast"; },
       "Unable to Set Comm State.\r\n\r\n" + SystemText(EINVAL), false},
      {"nine data bits", [](TDigitizer& d) { d.DataBits = 9; }, "Unable to Set Comm State.\r\n\r\n" + SystemText(EINVAL),
       false},
      {"resolution 0", [](TDigitizer& d) { d.Resolution = 0; },
       "The resolution must be a number of tablet counts per millimetre above 0.", false},
      {"no template", [](TDigitizer& d) { d.ControlString.clear(); },
       "The control string must have from 1 to 64 characters.", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDigitizer bad;
    bad.Port = tablet.Slave();
    c.Change(bad);
    const TDigitizerOpen opened = bad.Open();
    EXPECT_FALSE(opened.Outcome);
    EXPECT_EQ(opened.Outcome.Text().English(), c.Message);
    EXPECT_EQ(opened.CanRetry, c.CanRetry);
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_EQ(bad.Poll().Message.English(), "Digitizer not open.");
  }

  Open();
  EXPECT_EQ(digitizer.Open().Outcome.Text().English(), "Digitizer already open.");
  // Another definition on the same port is kept out while this one has it.
  TDigitizer second;
  second.Port = tablet.Slave();
  const TDigitizerOpen refused = second.Open();
  EXPECT_EQ(refused.Outcome.Text().English(), "Unable to Connect with Digitizer.\r\n\r\nError: " + SystemText(EBUSY));
  digitizer.Close();
  EXPECT_FALSE(digitizer.IsOpen());
  EXPECT_TRUE(second.Open().Outcome);
}

TEST_F(TDigitizerFixture, CommandsThatCannotBeSentAreReportedAndTheRestGoOut) {
  digitizer.InitCommands = {std::string(63, 'A'), "B"};
  const TDigitizerOpen opened = digitizer.Open();
  ASSERT_TRUE(opened.Outcome);
  ASSERT_EQ(opened.WriteErrors.size(), 1u);
  EXPECT_EQ(opened.WriteErrors[0].English().rfind("Write Error: the command \"AAA", 0), 0u);
  EXPECT_EQ(tablet.Received(), "B\r\n");
  EXPECT_FALSE(digitizer.Check());
}

TEST_F(TDigitizerFixture, AVanishedTabletIsAReadError) {
  Open();
  tablet.Send("F000");
  tablet.CloseMaster();
  const TPollResult result = digitizer.Poll();
  EXPECT_EQ(result.Code, kPollReadError);
  EXPECT_EQ(result.Message.English(), "Read Error: " + SystemText(EIO));
}

TEST(TDigitizerSettings, StringsReadAndWriteAsTheSettingsFileHoldsThem) {
  TDigitizer digitizer;
  EXPECT_EQ(digitizer.SettingsString(), TDigitizer::DefaultSettings());
  for (const std::string& text :
       {TDigitizer::DefaultSettings(), "WinTAB, " + TDigitizer::DefaultSettings(),
        std::string("xxxxyyyyCL, /dev/ttyUSB0, 19200, Mark, 7, 1.5, 39.4, -12.5, <ESC>B,\"a,b\"")}) {
    SCOPED_TRACE(text);
    TDigitizer read;
    ASSERT_TRUE(read.LoadSettings(text));
    EXPECT_EQ(read.SettingsString(), text);
  }

  TDigitizer read;
  ASSERT_TRUE(read.LoadSettings(",,WinTAB ,\"x,y\"  , 4800,, Odd , 6, 1, 12.0, 3.0,, cmd one ,\"two, three\""));
  EXPECT_FALSE(read.UseWinTab);  // "WinTAB " is not "WinTAB"
  EXPECT_EQ(read.ControlString, "WinTAB");
  EXPECT_EQ(read.Port, "x,y");
  EXPECT_EQ(read.BaudRate, "4800");
  EXPECT_EQ(read.Parity, 1);
  EXPECT_EQ(read.DataBits, 6);
  EXPECT_EQ(read.StopBits, 0);
  EXPECT_EQ(read.Resolution, 12.0);
  EXPECT_EQ(read.YOrigin, 3.0);
  EXPECT_EQ(read.InitCommands, (std::vector<std::string>{"cmd one", "two, three"}));

  // Values that do not read keep their own, one by one.
  TDigitizer kept;
  ASSERT_TRUE(kept.LoadSettings("xy, COM3, 2400, even, 8x, 3, 0, north"));
  EXPECT_EQ(kept.ControlString, "xy");
  EXPECT_EQ(kept.Port, "COM3");
  EXPECT_EQ(kept.Parity, 2);
  EXPECT_EQ(kept.DataBits, 8);
  EXPECT_EQ(kept.StopBits, 2);
  EXPECT_EQ(kept.Resolution, 3000.0);
  EXPECT_EQ(kept.YOrigin, 0.0);
  ASSERT_TRUE(kept.LoadSettings("a, b, c, Space, 256, 1, -5, 1"));
  EXPECT_EQ(kept.Parity, 4);
  EXPECT_EQ(kept.DataBits, 8);
  EXPECT_EQ(kept.StopBits, 0);
  EXPECT_EQ(kept.Resolution, 3000.0);
  ASSERT_TRUE(kept.LoadSettings(std::string(65, 'x') + ", b, c, None, 5, 1, 1, 1"));
  EXPECT_EQ(kept.ControlString, "a");

  TDigitizer missing;
  const TResult result = missing.LoadSettings("WinTAB, x, COM1, 9600, None, 8, 1, 10.0");
  EXPECT_EQ(result.Text().English(),
            "Digitizer Initialization Error\r\n\r\nParameters missing from Lumacet.ini file. Default values used.");
  EXPECT_EQ(missing.SettingsString(), TDigitizer::DefaultSettings());
}

}  // namespace
}  // namespace lumacet
