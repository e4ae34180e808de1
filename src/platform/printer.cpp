#include "platform/printer.h"

#include <cmath>

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include "graphics/recording_canvas.h"
#include "platform/qpainter_canvas.h"
#include "support/atomic_file.h"

namespace lumacet {

namespace {

bool PrinterAvailable(const QString& name) { return !name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name); }

void Orient(QPrinter& printer, bool portrait) {
  printer.setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
}

// Laid out once without painting, so that a print-out with bad settings is refused before
// a sheet leaves the printer.
TResult CheckSheets(QPrinter& printer, std::span<const TPrintoutJob> jobs) {
  const QPageLayout::Orientation kept = printer.pageLayout().orientation();
  TResult outcome;
  for (const TPrintoutJob& job : jobs) {
    Orient(printer, job.Portrait);
    const TPaper paper = PrinterPaper(printer);
    TRecordingCanvas dryRun(paper.Dots);
    if (TResultOf<int> sheets = job.Paint(dryRun, paper); !sheets) {
      outcome = sheets.Outcome();
      break;
    }
  }
  printer.setPageOrientation(kept);
  return outcome;
}

std::string JobTitles(std::span<const TPrintoutJob> jobs) {
  std::string titles;
  for (const TPrintoutJob& job : jobs) titles += (titles.empty() ? "" : ", ") + job.Title;
  return titles;
}

// One job: the print-outs one after another, each on sheets of its own orientation.
TResult PrintJob(QPrinter& printer, std::span<const TPrintoutJob> jobs) {
  const bool native = printer.outputFormat() == QPrinter::NativeFormat;
  const QString name = printer.printerName();
  const std::string titles = JobTitles(jobs);
  if (native && !PrinterAvailable(name)) return TResult::Failure(TText(kPrinterMissingMessage, {name.toStdString()}));
  const QPageLayout::Orientation kept = printer.pageLayout().orientation();
  printer.setDocName(QString::fromStdString(jobs.size() == 1 ? jobs.front().Title : "Lumacet"));
  printer.setCreator("Lumacet");
  Orient(printer, jobs.front().Portrait);
  QPainter painter;
  TResult outcome;
  if (!painter.begin(&printer)) {
    outcome = native ? TResult::Failure(TText(kPrintFailedMessage, {titles, name.toStdString()}))
                     : TResult::Failure(TText(kPrintFileFailedMessage, {printer.outputFileName().toStdString()}));
  } else {
    for (std::size_t i = 0; i < jobs.size() && outcome; ++i) {
      if (i > 0) {
        Orient(printer, jobs[i].Portrait);
        printer.newPage();
      }
      painter.save();
      {
        TQPainterCanvas canvas(painter);
        if (TResultOf<int> sheets = jobs[i].Paint(canvas, PrinterPaper(printer)); !sheets) outcome = sheets.Outcome();
      }
      painter.restore();
    }
    // CUPS is handed the job only when the painter ends, and says nothing when the queue
    // has gone by then: ask first, and cancel rather than report a print that never comes.
    if (outcome && native && !PrinterAvailable(name))
      outcome = TResult::Failure(TText(kPrinterGoneMessage, {name.toStdString(), titles}));
    if (!outcome) printer.abort();
    if (!painter.end() && outcome) outcome = TResult::Failure(TText(kPrintFailedMessage, {titles, name.toStdString()}));
    if (outcome && printer.printerState() == QPrinter::Error)
      outcome = TResult::Failure(TText(kPrintFailedMessage, {titles, name.toStdString()}));
  }
  printer.setPageOrientation(kept);
  return outcome;
}

}  // namespace

std::vector<std::string> AvailablePrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
  return names;
}

std::string DefaultPrinter() { return QPrinterInfo::defaultPrinterName().toStdString(); }

TResult SetUpPrinter(QPrinter& printer, const TPrintTarget& target) {
  printer.setFullPage(true);
  if (!target.PdfFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(target.PdfFile));
    return {};
  }
  const std::string name = target.Printer.empty() ? DefaultPrinter() : target.Printer;
  if (name.empty()) return TResult::Failure(kNoPrinterMessage);
  if (!PrinterAvailable(QString::fromStdString(name))) return TResult::Failure(TText(kPrinterMissingMessage, {name}));
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(QString::fromStdString(name));
  // Qt takes a queue that does not say it prints in colour for a grey one; the deviation
  // colours and the pens of several tracings carry meaning, so colour is asked for.
  printer.setColorMode(QPrinter::Color);
  if (!printer.isValid()) return TResult::Failure(TText(kPrinterMissingMessage, {name}));
  return {};
}

TPaper PrinterPaper(const QPrinter& printer) {
  const QRectF sheet = printer.paperRect(QPrinter::DevicePixel);
  TPaper paper;
  paper.Dots = {static_cast<int>(std::lround(sheet.width())), static_cast<int>(std::lround(sheet.height()))};
  paper.DpiX = printer.resolution();
  paper.DpiY = printer.resolution();
  return paper;
}

TResult Print(QPrinter& printer, std::span<const TPrintoutJob> jobs) {
  if (jobs.empty()) return {};
  // The pages are laid out from the sheet's corner, not the printable area's.
  printer.setFullPage(true);
  if (TResult checked = CheckSheets(printer, jobs); !checked) return checked;
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    for (std::size_t i = 0; i < jobs.size(); ++i)
      if (TResult printed = PrintJob(printer, jobs.subspan(i, 1)); !printed) return printed;
    return {};
  }
  // QPrinter writes its file as it goes: it writes a temporary one, copied whole when done.
  const QString target = printer.outputFileName();
  QTemporaryFile temporary;
  if (!temporary.open()) return TResult::Failure(TText(kPrintFileFailedMessage, {target.toStdString()}));
  temporary.close();
  printer.setOutputFileName(temporary.fileName());
  TResult printed = PrintJob(printer, jobs);
  printer.setOutputFileName(target);
  if (!printed) return printed;
  QFile file(temporary.fileName());
  if (!file.open(QIODevice::ReadOnly)) return TResult::Failure(TText(kPrintFileFailedMessage, {target.toStdString()}));
  const QByteArray bytes = file.readAll();
  const TWriteResult written =
      WriteFileAtomically(target.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!written.Ok) return TResult::Failure(TText(kPrintFileFailedMessage, {target.toStdString()}), written.Error);
  return {};
}

}  // namespace lumacet
