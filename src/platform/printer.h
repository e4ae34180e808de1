// The print-outs on paper through QPrinter: a CUPS printer, or "Print to PDF" into a file.
// Each print-out goes to a printer as a job of its own, titled and oriented as the settings
// say; into a PDF file they all go, one after another, as pages of one document.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "shell/printouts.h"
#include "support/result.h"

class QPrinter;

namespace lumacet {

inline constexpr TTextSource kPrinterMissingMessage =
    LcText("Printing", "The printer \"%1\" is not available. Choose another printer or print to a PDF file.");
inline constexpr TTextSource kNoPrinterMessage =
    LcText("Printing", "No printer is set up. Choose a printer or print to a PDF file.");
inline constexpr TTextSource kPrinterGoneMessage =
    LcText("Printing", "The printer \"%1\" went away while \"%2\" was being printed; the print job was cancelled.");
inline constexpr TTextSource kPrintFailedMessage =
    LcText("Printing", "\"%1\" could not be sent to the printer \"%2\".");
inline constexpr TTextSource kPrintFileFailedMessage =
    LcText("Printing", "The print-out could not be written to %1.");

// The printers the platform offers, and its default one (empty when there is none).
std::vector<std::string> AvailablePrinters();
std::string DefaultPrinter();

// Where the sheets go: the named printer or, with `PdfFile` set, that file.
struct TPrintTarget {
  std::string Printer;
  std::string PdfFile;
};
// A printer set up for the target (the default printer when the name is empty).
TResult SetUpPrinter(QPrinter& printer, const TPrintTarget& target);

// Sends the print-outs to the printer as it is set up (by SetUpPrinter or a print dialog).
// Bad settings are refused before anything is printed. A printer that is missing, or gone
// before a job is handed over, cancels that job and stops. The printer's orientation is
// restored after each job. A PDF file is written whole or not at all.
TResult Print(QPrinter& printer, std::span<const TPrintoutJob> jobs);

// The sheet of the printer as it is oriented now, in its device pixels.
TPaper PrinterPaper(const QPrinter& printer);

}  // namespace lumacet
