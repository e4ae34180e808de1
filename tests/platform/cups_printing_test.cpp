// The print-outs through a real CUPS scheduler: a private cupsd on its own folder and
// socket, with a queue whose backend writes every job it is handed into a file.
#include "platform/printer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QPrinter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <span>
#include <thread>

#include "common/example_paths.h"
#include "graphics/extended_report.h"
#include "graphics/recording_canvas.h"
#include "model/xray.h"
#include "persistence/data_file.h"
#include "persistence/type_finder.h"
#include "platform/gui_application.h"
#include "platform/qpainter_canvas.h"
#include "shell/temp_folder.h"

extern char** environ;

namespace lumacet {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

constexpr const char* kQueue = "lumacet-test";
constexpr auto kPatience = std::chrono::seconds(60);  // a loaded machine is slow, never this slow

bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

int Shell(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Output(const std::string& command) {
  const std::string file = fs::temp_directory_path() / ("lumacet-cups-" + std::to_string(::getpid()) + ".txt");
  (void)std::system((command + " >'" + file + "' 2>/dev/null").c_str());
  std::string text = ReadBytes(file);
  fs::remove(file);
  return text;
}

// cupsd on a folder of its own: its socket is the only way in, and CUPS_SERVER points this
// process (Qt's printer support) and lpadmin at it.
class TPrivateCups {
 public:
  TPrivateCups() {
    const fs::path base = fOwn.Path();
    for (const char* folder : {"bin/backend", "spool/temp", "log", "cache", "state", "out"})
      fs::create_directories(base / folder);
    // The scheduler's helpers are the system's; the backend is ours.
    for (const char* helper : {"filter", "cgi-bin", "daemon", "notifier", "monitor", "driver"})
      if (fs::exists(fs::path("/usr/lib/cups") / helper))
        fs::create_directory_symlink(fs::path("/usr/lib/cups") / helper, base / "bin" / helper);
    const std::string out = (base / "out").string();
    WriteBytes((base / "bin/backend/lumacettest").string(),
               "#!/bin/sh\n"
               "[ $# -eq 0 ] && { echo 'direct lumacettest \"Unknown\" \"Lumacet test\"'; exit 0; }\n"
               "out='" + out + "'\n"
               "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"$out/job-$1.part\" && "
               "mv \"$out/job-$1.part\" \"$out/job-$1.pdf\"\n");
    // Run by the scheduler's own user: as root it would hand a world-readable backend to lp.
    fs::permissions(base / "bin/backend/lumacettest", fs::perms::owner_all);
    fs::permissions(base / "spool", fs::perms::owner_all);
    std::string files = "FileDevice Yes\nServerRoot " + base.string() + "\nStateDir " + (base / "state").string() +
                        "\nServerBin " + (base / "bin").string() + "\nCacheDir " + (base / "cache").string() +
                        "\nDataDir /usr/share/cups\nRequestRoot " + (base / "spool").string() + "\nTempDir " +
                        (base / "spool/temp").string() + "\nAccessLog " + (base / "log/access_log").string() +
                        "\nErrorLog " + (base / "log/error_log").string() + "\nPageLog " +
                        (base / "log/page_log").string() + "\n";
    // cupsd refuses to run as root by a User line; any other user runs it as itself.
    if (::getuid() != 0) files += "User " + std::string(::getenv("USER") ? ::getenv("USER") : "") + "\n";
    WriteBytes((base / "cups-files.conf").string(), files);
    fSocket = (base / "sock").string();
    WriteBytes((base / "cupsd.conf").string(), "Listen " + fSocket +
                                                   "\nBrowsing Off\nLogLevel warn\nDefaultAuthType None\n"
                                                   "<Policy default>\n<Limit All>\nOrder Deny,Allow\n</Limit>\n"
                                                   "</Policy>\n");
    if (!fs::exists("/usr/sbin/cupsd")) {
      fProblem = "cupsd is not installed (scripts/bootstrap.sh installs cups)";
      return;
    }
    const std::string config = (base / "cupsd.conf").string(), filesConfig = (base / "cups-files.conf").string();
    std::vector<std::string> args = {"/usr/sbin/cupsd", "-f", "-c", config, "-s", filesConfig};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&fPid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      fPid = -1;
      fProblem = "cupsd cannot be started";
      return;
    }
    ::setenv("CUPS_SERVER", fSocket.c_str(), 1);
    const bool up = WaitFor([&] {
      int status = 0;
      if (::waitpid(fPid, &status, WNOHANG) == fPid) {
        fPid = -1;
        return true;
      }
      return fs::exists(fSocket) && Shell("lpstat -r") == 0;
    });
    if (!up || fPid < 0) fProblem = "cupsd does not start on this machine: " + ReadBytes((base / "log/error_log").string());
  }
  ~TPrivateCups() {
    if (fPid > 0) {
      ::kill(fPid, SIGTERM);
      int status = 0;
      ::waitpid(fPid, &status, 0);
    }
    ::unsetenv("CUPS_SERVER");
  }
  TPrivateCups(const TPrivateCups&) = delete;
  TPrivateCups& operator=(const TPrivateCups&) = delete;

  const std::string& Problem() const { return fProblem; }
  std::string Log() const { return ReadBytes((fOwn.Path() / "log/error_log").string()); }
  bool AddQueue() { return Shell(std::string("lpadmin -p ") + kQueue + " -E -v lumacettest:/ -m raw") == 0; }
  bool RemoveQueue() { return Shell(std::string("lpadmin -x ") + kQueue) == 0; }
  fs::path OutFolder() const { return fOwn.Path() / "out"; }
  // The jobs' files in the order they came, once `count` have arrived.
  std::vector<std::string> Arrived(std::size_t count) const {
    std::vector<std::string> files;
    WaitFor([&] {
      files.clear();
      for (const auto& entry : fs::directory_iterator(OutFolder()))
        if (entry.path().extension() == ".pdf") files.push_back(entry.path().string());
      return files.size() >= count;
    });
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
      return std::stoi(fs::path(a).stem().string().substr(4)) < std::stoi(fs::path(b).stem().string().substr(4));
    });
    return files;
  }

 private:
  TTempFolder fOwn;
  std::string fSocket;
  std::string fProblem;
  pid_t fPid = -1;
};

int PdfPages(const std::string& file) {
  const std::string info = Output("pdfinfo '" + file + "'");
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string PdfPageSize(const std::string& file) {
  const std::string info = Output("pdfinfo '" + file + "'");
  const std::size_t at = info.find("Page size:");
  if (at == std::string::npos) return {};
  std::string size = info.substr(at + 10, info.find(" pts", at) - at - 10);
  size.erase(0, size.find_first_not_of(' '));
  return size;
}

// One scheduler for the suite: the CUPS library reads CUPS_SERVER once per process.
class CupsPrintingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::EnsureGuiApplication();
    fCups = new TPrivateCups();
  }
  static void TearDownTestSuite() {
    delete fCups;
    fCups = nullptr;
  }
  void SetUp() override {
    if (!fCups->Problem().empty()) GTEST_SKIP() << fCups->Problem();
    for (const auto& entry : fs::directory_iterator(fCups->OutFolder())) fs::remove(entry.path());
    ASSERT_TRUE(fCups->AddQueue());
    fTypes = std::make_unique<TTypeCache>(TFileFolders{"", test::kExamples});
    ASSERT_EQ(LoadFromDataFile(fXRay, test::kExampleData, 1, fTypes->Resolver(), {}), lsLoaded);
    // The tracing in a pen of its own, alone on the page, so that its colour can be found.
    fSettings.View.ViewGrid = false;
    fSettings.Radiograph.DrawingStyle = kStyleByPosition;
    fSettings.Radiograph.PositionPens[0] = {0x0000C0, 0, 0};  // red
  }

  TPrintoutJob Job(TPrintout printout) { return PrintoutJob(printout, fSettings, fMeasuring, {&fXRay}, false); }

  void TearDown() override {
    if (fCups->Problem().empty()) (void)fCups->RemoveQueue();
  }

  static inline TPrivateCups* fCups = nullptr;
  std::unique_ptr<TTypeCache> fTypes;
  TXRay fXRay;
  TSettings fSettings = TSettings::Defaults(".");
  TMeasuring fMeasuring;
};

bool Reddish(QRgb pixel) { return qRed(pixel) > 120 && qGreen(pixel) < 100 && qBlue(pixel) < 100; }

TEST_F(CupsPrintingTest, TheThreePrintoutsArriveAsJobsOfTheirOwnWithTheirPagesTextsAndPen) {
  const std::vector<TPrintoutJob> jobs = {Job(TPrintout::Tracing), Job(TPrintout::Analysis), Job(TPrintout::Report)};
  QPrinter printer(QPrinter::HighResolution);
  ASSERT_TRUE(SetUpPrinter(printer, {kQueue, {}}));
  const TResult printed = Print(printer, jobs);
  ASSERT_TRUE(printed) << printed.Text().English();
  const std::vector<std::string> files = fCups->Arrived(3);
  ASSERT_EQ(files.size(), 3u) << Output("ls -la '" + fCups->OutFolder().string() + "'");

  // The report has as many sheets as it lays out on the printer's paper.
  QPrinter portrait(QPrinter::HighResolution);
  portrait.setFullPage(true);
  const TPaper paper = PrinterPaper(portrait);
  TRecordingCanvas dryRun(paper.Dots);
  const TResultOf<int> reportPages = jobs[2].Paint(dryRun, paper);
  ASSERT_TRUE(reportPages);

  struct TExpected {
    int Pages;
    std::string Size;
    std::vector<std::string> Texts;
  };
  const TExpected expected[] = {
      {1, "842 x 595", {"Emma Lindqvist - Class II before treatment - 9:6", "Dr. Veltrin", "SNA: 82.4"}},
      {1, "595 x 842", {"Emma Lindqvist - Class II before treatment - 9:6", "Page: 1", "SNA", "ANB"}},
      {*reportPages, "595 x 842", {"Dr. John Doe", "Name: Emma Lindqvist", "Date of Birth: 14/03/2009", "Tracing"}},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(jobs[i].Title);
    EXPECT_EQ(PdfPages(files[i]), expected[i].Pages);
    EXPECT_EQ(PdfPageSize(files[i]), expected[i].Size);
    const std::string text = Output("pdftotext -layout '" + files[i] + "' -");
    for (const std::string& wanted : expected[i].Texts) EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
  }

  // Where the engine paints the tracing's pen on the page, the printed sheet shows it too.
  constexpr double kDpi = 72;
  const TPaper landscape = MakePaper(TPaperKind::A4, false, kDpi);
  QImage painted;
  ASSERT_TRUE(PaintImage(landscape.Dots, 0xFFFFFF, [&](TCanvas& canvas) { (void)jobs[0].Paint(canvas, landscape); },
                         painted)
                  .Ok);
  TTempFolder raster;
  ASSERT_EQ(Shell("pdftoppm -r 72 -png -singlefile '" + files[0] + "' '" + raster.File("tracing") + "'"), 0);
  const QImage sheet(QString::fromStdString(raster.File("tracing.png")));
  ASSERT_FALSE(sheet.isNull());
  int pen = 0, found = 0;
  for (int y = 0; y < painted.height(); ++y)
    for (int x = 0; x < painted.width(); ++x) {
      if (!Reddish(painted.pixel(x, y))) continue;
      ++pen;
      bool near = false;
      for (int dy = -2; dy <= 2 && !near; ++dy)
        for (int dx = -2; dx <= 2 && !near; ++dx)
          near = sheet.valid(x + dx, y + dy) && Reddish(sheet.pixel(x + dx, y + dy));
      found += near ? 1 : 0;
    }
  ASSERT_GT(pen, 200);
  EXPECT_GT(found, pen * 9 / 10) << found << " of " << pen << " pen pixels printed";
}

TEST_F(CupsPrintingTest, APrinterThatIsMissingOrGoesAwayCancelsTheJob) {
  QPrinter printer(QPrinter::HighResolution);
  ASSERT_TRUE(SetUpPrinter(printer, {kQueue, {}}));

  // The queue goes while the sheets are being painted: nothing may be handed over.
  TPrintoutJob vanishing = Job(TPrintout::Tracing);
  int painted = 0;
  vanishing.Paint = [&, paint = vanishing.Paint](TCanvas& canvas, const TPaper& paper) {
    if (dynamic_cast<TRecordingCanvas*>(&canvas) == nullptr && painted++ == 0) {
      EXPECT_TRUE(fCups->RemoveQueue());
    }
    return paint(canvas, paper);
  };
  const TResult gone = Print(printer, std::span(&vanishing, 1));
  ASSERT_FALSE(gone);
  EXPECT_EQ(gone.Text().Source(), kPrinterGoneMessage.Source);
  EXPECT_EQ(painted, 1);

  // Missing from the start: refused before anything is painted, and by the setup alike.
  const TPrintoutJob tracing = Job(TPrintout::Tracing);
  const TResult missing = Print(printer, std::span(&tracing, 1));
  EXPECT_EQ(missing.Text().Source(), kPrinterMissingMessage.Source);
  QPrinter another;
  EXPECT_EQ(SetUpPrinter(another, {kQueue, {}}).Text().Source(), kPrinterMissingMessage.Source);

  // Back again, the next print arrives alone: the cancelled job never reached the queue.
  ASSERT_TRUE(fCups->AddQueue());
  ASSERT_TRUE(SetUpPrinter(printer, {kQueue, {}}));
  ASSERT_TRUE(Print(printer, std::span(&tracing, 1)));
  EXPECT_EQ(fCups->Arrived(1).size(), 1u);
  EXPECT_EQ(std::distance(fs::directory_iterator(fCups->OutFolder()), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace lumacet
