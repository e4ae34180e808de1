// The three print-outs of the shown radiographs, as the settings lay them out: the tracing
// page, the text analysis pages and the extended report. Each is a routine that draws its
// sheets on a canvas, so that the printer, a PDF file and the preview get the same pages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "graphics/page_layout.h"
#include "shell/measuring.h"
#include "shell/settings.h"

namespace lumacet {

class TRadiograph;

enum class TPrintout { Tracing, Analysis, Report };

// Draws the sheets (NewPage between them) on a canvas whose mapping takes the paper's dots
// to its device; the number of sheets, or the refusal of bad settings with nothing drawn.
using TSheetPainter = std::function<TResultOf<int>(TCanvas&, const TPaper&)>;

// A print-out ready to go to a printer: its job title, orientation and sheets.
struct TPrintoutJob {
  TPrintout Printout = TPrintout::Tracing;
  std::string Title;
  bool Portrait = true;
  TSheetPainter Paint;
};

// The print-out of the shown radiographs, the current one first. The radiographs and
// `measuring` must outlive the job. The report covers the first four radiographs; the
// others' tracings show on the tracing page with "All Tracings".
TPrintoutJob PrintoutJob(TPrintout printout, const TSettings& settings, TMeasuring& measuring,
                         std::vector<TRadiograph*> radiographs, bool images);

// The print-outs "Print" produces by the settings' three choices, in their order.
std::vector<TPrintout> ChosenPrintouts(const TPrintSettings& print);

}  // namespace lumacet
