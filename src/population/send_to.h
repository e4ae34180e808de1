// "Send To": the current radiograph's analysis as a spreadsheet or a text document, each a
// new document of its own that the desktop then opens. Both take the analysis's text lines
// (name, value, mean and SD) of the variables the text window shows.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "measure/analysis_text.h"
#include "population/workbook.h"

namespace lumacet {

class TRadiograph;

// The "OLE" settings of one kind of document.
struct TSendToOptions {
  bool VarNames = true;    // the variable's name before its value
  bool Normals = true;     // the mean and SD after it
  bool SkipLabels = true;  // no "Label" variables
  int Row = 1;             // where a spreadsheet's first variable goes, from 1
  int Column = 1;
};

// A sheet with one row per variable of the current analysis that the text window shows:
// the name as text, then the value, the mean and the SD, each a number where it reads as
// one. An empty mean leaves its cell empty and the SD keeps its column.
TWorkbookSheet SendToSheet(TRadiograph& radiograph, const TSendToOptions& options,
                           const TPresentationOptions& presentation);

// One paragraph per such variable: name, value, mean and SD as asked, separated by tabs.
std::vector<std::string> SendToParagraphs(TRadiograph& radiograph, const TSendToOptions& options,
                                          const TPresentationOptions& presentation);

// A new document's path in `folder`: the radiograph's name (characters a file name cannot
// hold replaced by "_"), the local time as "-YYYYMMDD-HHMMSS" and `extension`; "-2", "-3"...
// before the extension while the name is taken. A document is never written over.
std::string NewDocumentPath(const std::string& folder, const std::string& name, const std::string& extension,
                            std::time_t now);

}  // namespace lumacet
