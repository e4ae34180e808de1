// What the population commands (Procrustes and PCA, export, type conversion) take from the
// program, and their own copies of radiograph types read from the type folder.
#pragma once

#include <memory>
#include <string>

#include "measure/analysis_text.h"
#include "persistence/record_browser.h"
#include "shell/workspace.h"

namespace lumacet {

struct TPopulationContext {
  TWorkspace* Workspace = nullptr;       // type cache, folders and data file options
  TWorkspacePrompts* Prompts = nullptr;  // every message and question
  TRecordBrowserOptions Browser;         // "&Select..." lists records with these
  std::string ResultsFolder;             // where result files are offered first
  TPresentationOptions Presentation;     // texts and measuring context of exported values
};

// The type of that name read from its file in the type folder into an object of the
// caller's own; null when there is no such file or it does not read.
std::unique_ptr<TXRayType> ReadDialogType(const TWorkspace& workspace, const std::string& name);

}  // namespace lumacet
